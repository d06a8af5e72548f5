// The hierarchy pane's events: a click runs a node's command or opens its page, hovering
// shows what a click would run, the right button opens the context menu, names are edited
// in place, nodes are dragged inside the tree and out of it, and links and commands are
// dropped in.
#include "gui/catalogues/TreePaneEvents.h"

#include "core/program/ProgramContext.h"
#include "gui/catalogues/TreeEntries.h"
#include "gui/catalogues/TreeMenu.h"
#include "gui/catalogues/TreeViews.h"
#include "gui/frame/ListDocument.h"
#include "gui/frame/AddressBar.h"
#include "gui/frame/Navigation.h"
#include "gui/frame/PageBrowser.h"
#include "gui/frame/RecordLoading.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/WindowFrame.h"

#include "core/catalogues/ListLines.h"
#include "core/catalogues/TreeEdits.h"
#include "core/catalogues/TreeNodes.h"
#include "core/commands/CommandRoute.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "platform/DataObject.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/MsgBox.h"
#include "platform/widgets/StatusBar.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/TreeImages.h"
#include "platform/Twips.h"
#include "platform/widgets/WebBrowser.h"

#include <QComboBox>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>

using NodeId = ListTree::NodeId;
using Place = ListTree::Place;

namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;
const QString kAlertTitle = QStringLiteral("Quorvantile Alert");
const QString kUntitled = QStringLiteral("Untitled");
// Hover texts longer than this are cut: the status bar shows a line, not a document.
constexpr qsizetype kLongestHoverText = 2000;

bool holdsWebAddress(const QString& tag) {
    return tag.contains(QLatin1String("http://"), ci) || tag.contains(QLatin1String("https://"), ci);
}

bool isFolderImage(int image) {
    return image == platform::kImageFolder || image == platform::kImageOpenFolder ||
           image == platform::kImageSchemeFolder;
}

// What was dropped: a link dragged from a page carries its words as text and its address
// in the address list, and the address is what counts; else the text, else the first file.
QString droppedText(const platform::DataObject& data) {
    const QMimeData* mime = data.mimeData();
    if (mime && mime->hasFormat(QStringLiteral("text/uri-list"))) {
        // Read as the page wrote it: a command never goes through QUrl.
        const QString list = QString::fromUtf8(mime->data(QStringLiteral("text/uri-list")));
        for (const QString& line : list.split(QLatin1Char('\n'))) {
            const QString address = line.trimmed();
            if (address.isEmpty() || address.startsWith(QLatin1Char('#'))) continue;
            if (address.startsWith(QLatin1String("mtp://"), ci) || address.startsWith(QLatin1String("http://"), ci) ||
                address.startsWith(QLatin1String("https://"), ci))
                return address;
            break;
        }
    }
    if (data.HasText()) return data.GetText();
    return data.HasFiles() ? data.Files().first() : QString();
}

// What the user dropped, as one line: a drop of several lines (a list of addresses, say)
// gives its first; a command is cleaned as browsers clean an address.
QString droppedLine(const QString& raw) {
    const QString text = raw.trimmed();
    if (text.startsWith(QLatin1String("mtp://"), ci)) return modMTP::cleanPageCommand(text);
    qsizetype end = text.indexOf(QLatin1Char('\n'));
    if (const qsizetype cr = text.indexOf(QLatin1Char('\r')); cr >= 0 && (end < 0 || cr < end)) end = cr;
    return end < 0 ? text : text.left(end).trimmed();
}

// A drop onto a folder goes inside it (and opens it); onto anything else, beside it.
NodeId dropParent(ListTree& tree, NodeId target) {
    if (isFolderImage(tree.image(target)) || TreeEdits::isListRoot(tree, target)) {
        tree.setExpanded(target, true);
        return target;
    }
    return tree.parent(target);
}

TreeEdits::TreeError plainFailure(const char* description) {
    return {TreeEdits::TreeError::Kind::Other, QLatin1String(description)};
}

void reportDropFailure(UserDialogs& user, const TreeEdits::TreeError& error, const QString& name) {
    if (error.kind == TreeEdits::TreeError::Kind::NameTaken) {
        user.MsgBox(name == kUntitled
                        ? QStringLiteral("Rename the Untitled link before dropping another link without a title")
                        : QStringLiteral("Rename the ") + name + QStringLiteral(" link before dropping this link"));
    } else {
        user.MsgBox(QStringLiteral("Drag Drop failed: ") + error.description);
    }
}

// What a tree's view asks, handed to the pane's handlers with the tree's index.
class TreeHandlers final : public ListTreeView::Handlers {
public:
    TreeHandlers(TreePaneEvents& pane, int index) : pane_(pane), index_(index) {}
    bool beforeLabelEdit() override { return pane_.TreeView1_BeforeLabelEdit(index_); }
    bool afterLabelEdit(const QString& newString) override { return pane_.TreeView1_AfterLabelEdit(index_, newString); }
    void setData(platform::DataObject& data) override { pane_.TreeView1_OLESetData(index_, data); }
    int dragOver(const platform::DataObject& data, int effect, int button, int shift, int x, int y, int state) override {
        return pane_.TreeView1_OLEDragOver(index_, data, effect, button, shift, x, y, state);
    }
    void dragDrop(const platform::DataObject& data, int button, int shift, int x, int y) override {
        pane_.TreeView1_OLEDragDrop(index_, data, button, shift, x, y);
    }

private:
    TreePaneEvents& pane_;
    int index_;
};

}  // namespace

TreePaneEvents::TreePaneEvents(ProgramContext& context, WindowFrame& frame, const TreeNeighbours& around,
                               TreeViews& views, ListDocument& list, TreeMenu& menu, QObject* parent)
    : QObject(parent), context(context), frame(frame), around(around), views(views), list(list), menu(menu) {
    ScrollTimer = new QTimer(this);
    ScrollTimer->setObjectName(QStringLiteral("ScrollTimer"));
    ScrollTimer->setInterval(200);
    connectViews();
}

TreePaneEvents::~TreePaneEvents() {
    for (ListTreeView* view : views.all()) view->setHandlers(nullptr);
}

void TreePaneEvents::reset() {
    dragSessionTag = QString::number(QRandomGenerator::global()->generateDouble(), 'g', 17);
    ScrollTimer->stop();
    ScrollTimer->setInterval(200);
}

void TreePaneEvents::connectViews() {
    for (int index = 0; index < int(views.all().size()); ++index) {
        ListTreeView* tree = &views.view(index);
        treeHandlers_[size_t(index)] = std::make_unique<TreeHandlers>(*this, index);
        tree->setHandlers(treeHandlers_[size_t(index)].get());
        const auto direct = Qt::DirectConnection;
        connect(tree, &ListTreeView::NodeClick, this, [this, index] { TreeView1_NodeClick(index); }, direct);
        connect(tree, &ListTreeView::MouseDown, this,
                [this, index](int b, int s, int x, int y) { TreeView1_MouseDown(index, b, s, x, y); }, direct);
        connect(tree, &ListTreeView::MouseMove, this,
                [this, index](int b, int s, int x, int y) { TreeView1_MouseMove(index, b, s, x, y); }, direct);
        connect(tree, &ListTreeView::MouseUp, this,
                [this, index](int b, int s, int x, int y) { TreeView1_MouseUp(index, b, s, x, y); }, direct);
        connect(tree, &ListTreeView::OLECompleteDrag, this, [this, index](int) { TreeView1_OLECompleteDrag(index); });
    }
    connect(ScrollTimer, &QTimer::timeout, this, &TreePaneEvents::ScrollTimer_Timer);
}

// ---- clicks and hovering ---------------------------------------------------------------

namespace {

// The repository catalogue's command that files the record under the node, in the first
// scheme the repository serves.
QString subjectCommandOf(const MacroState& macros, const ListTree& tree, NodeId node) {
    return TreeNodes::subjectCommand(tree.fullPath(node), macros.repositorySchemes.section(QLatin1Char('|'), 0, 0));
}

// What a click on the node runs: its tag, or in the repository's catalogue a subject
// command for anything that is not a web address.
QString clickCommand(const MacroState& macros, int index, const ListTree& tree, NodeId node) {
    return index == 1 && !holdsWebAddress(tree.tag(node)) ? subjectCommandOf(macros, tree, node) : tree.tag(node);
}

}  // namespace

void TreePaneEvents::TreeView1_NodeClick(int index) {
    ListTree& tree = views.view(index).tree();
    const NodeId node = tree.selected();
    if (!node) return;
    const QString command = clickCommand(context.macros, index, tree, node);
    if (command.isEmpty()) {
        tree.setExpanded(node, true);
        tree.select(node);
        if (tree.selectedImage(node) == platform::kImageFolder) tree.setSelectedImage(node, platform::kImageOpenFolder);
        return;
    }
    if (command.contains(QLatin1String("mtp:/"), ci)) {
        if (context.document.modified(DocumentState::Document::List) &&
            list.saveListCheck(QStringLiteral("Save List before modifying metadata record?")) == platform::kAnswerCancel)
            return;
        modMTP::runMtpCommand(context, command);
        return;
    }
    if (TreeEdits::isListRoot(tree, node) || around.address.addressText() == command) return;
    around.address.setAddressText(command);
    // The repository's record stands in for the page's own only where a repository is set up.
    around.recordLoading.setOpenRecordOnLoad(!context.macros.openRecordMacro.isEmpty());
    around.navigation.LoadURLFromLocation();
    // The box shows its history entry, so leaving the box later does not open it again.
    around.address.pickAddressEntry(around.address.URLAddItem(command));
}

void TreePaneEvents::TreeView1_MouseMove(int index, int button, int, int x, int y) {
    if (button & platform::kLeftButton) {
        dragArmed = true;
        return;
    }
    const ListTree& tree = views.view(index).tree();
    const NodeId node = views.view(index).HitTest(x, y);
    QString text;
    if (node) {
        text = index == 1 && tree.selectedImage(node) == platform::kImageOpenFolder ? subjectCommandOf(context.macros, tree, node)
                                                                                   : tree.tag(node);
    }
    if (text.size() > kLongestHoverText) text = text.left(kLongestHoverText) + QStringLiteral("...");
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, text);
}

void TreePaneEvents::TreeView1_MouseDown(int index, int button, int, int x, int y) {
    ListTreeView& view = views.view(index);
    ListTree& tree = view.tree();
    const NodeId node = view.HitTest(x, y);
    if (node) tree.select(node);
    if (button != platform::kRightButton) {
        if (node) dragNode = node;
        return;
    }
    menu.popUp(index, node, x, y);
}

void TreePaneEvents::TreeView1_MouseUp(int, int, int, int, int) {
    dragNode = 0;
    ScrollTimer->stop();
}

// ---- renaming ---------------------------------------------------------------------------

bool TreePaneEvents::TreeView1_BeforeLabelEdit(int) {
    views.labelEditStarted();
    return false;
}

bool TreePaneEvents::TreeView1_AfterLabelEdit(int index, const QString& newString) {
    ListTree& tree = views.view(index).tree();
    const NodeId node = tree.selected();
    if (!node) return false;
    views.forgetLabelEdit();
    // From here this handler writes the text itself (or keeps the old one): the view does not.
    // Escape, or a name with nothing left once cleaned, changes nothing.
    if (TreeEdits::isListRoot(tree, node) || newString.isEmpty()) return true;
    const QString text = ListLines::safeNodeText(newString);
    if (text.isEmpty() || text == tree.text(node)) return true;
    if (TreeEdits::namesake(tree, tree.parent(node), text, node)) {
        context.user.MsgBox(QStringLiteral("This folder already holds an entry named ") + text +
                                QStringLiteral(". The entry keeps its name ") + tree.text(node) + QLatin1Char('.'),
                            platform::kOkOnly, kAlertTitle);
        return true;
    }
    // A term or subject follows its new name; batches, links and other commands keep theirs.
    const QString tag = TreeNodes::renamedTag(tree.tag(node), text);
    if (TreeEntries::refuseUnwritable(context, tree.parent(node), node, text, tag,
                         QStringLiteral("The entry keeps its name ") + tree.text(node) + QLatin1Char('.')))
        return true;
    if (list.markListmodifiedCheckHTML() == platform::kAnswerCancel || !tree.contains(node)) return true;
    tree.setText(node, text);
    TreeEdits::setNodeKey(tree, node, tree.childKey(tree.parent(node), text) + tree.tag(node));
    tree.setTag(node, tag);
    return true;
}

// ---- dragging ----------------------------------------------------------------------------

void TreePaneEvents::TreeView1_OLESetData(int index, platform::DataObject& data) {
    const ListTree& tree = views.view(index).tree();
    const NodeId node = tree.selected();
    if (!node || tree.image(node) != platform::kImageLink || tree.tag(node).contains(QLatin1String("mtp://"), ci)) return;
    data.SetText(QStringLiteral("mtp://addURL=") + dragSessionTag + QLatin1Char('|') + tree.text(node) +
                 QLatin1Char('|') + tree.tag(node) + QStringLiteral(".fld"));
}

int TreePaneEvents::TreeView1_OLEDragOver(int index, const platform::DataObject&, int effect, int, int, int x, int y,
                                    int state) {
    ListTreeView* view = &views.view(index);
    if (state == platform::kDragLeave) {
        view->tree().setDropHighlight(0);
        ScrollTimer->stop();
        return effect;
    }
    view->tree().setDropHighlight(view->HitTest(x, y));
    // The bottom of the rows: a sideways scroll bar below them would hide the bottom band.
    const int height = platform::pixelsToTwips(view->viewport()->geometry().bottom() + 1);
    if (y >= 0 && y < 100 && x != 0) {
        scrollUp = -1;
    } else if (y > height - 200 && y < height && x != 0) {
        scrollUp = 1;
    } else {
        ScrollTimer->stop();
        return effect;
    }
    // Started once: every move of the drag would otherwise put the first tick off again.
    if (!ScrollTimer->isActive()) ScrollTimer->start();
    return effect;
}

void TreePaneEvents::ScrollTimer_Timer() {
    if (dragArmed) views.active().ScrollLine(scrollUp == -1 ? -1 : 1);
}

void TreePaneEvents::TreeView1_OLECompleteDrag(int) {
    dragNode = 0;
    dragArmed = false;
    ScrollTimer->stop();
}

// ---- dropping ----------------------------------------------------------------------------

namespace {

// Where a drop lands and what it may ask: the program's state, the list's save question,
// the page shown (a link's name) and this window's drag session.
struct DropSite {
    ProgramContext& context;
    ListDocument& list;
    PageBrowser& browser;
    const QString& session;
};

// Why a drop did not go in, and the name it would have taken.
struct DropFailure {
    TreeEdits::TreeError error;
    QString name;
};

// Moves the node dragged inside the tree onto the target: into a catalogue or scheme
// folder, beside a scheme term. The list's top, a move into itself and a move with nothing
// dragged change nothing.
DropFailure moveDraggedNode(const DropSite& site, ListTree& tree, NodeId target, NodeId dragged) {
    if (!dragged) return {plainFailure("no entry of this list is being dragged"), QString()};
    if (TreeEdits::isListRoot(tree, dragged)) return {plainFailure("the top of the list cannot be moved"), QString()};
    if (tree.isWithin(target, dragged))
        return {plainFailure("an entry cannot be moved into itself or into an entry below it"), QString()};
    NodeId parent = 0;
    switch (tree.image(target)) {
    case platform::kImageFolder:
    case platform::kImageOpenFolder:
    case platform::kImageSchemeFolder:
        parent = target;
        break;
    case platform::kImageSchemeTerm:
        parent = tree.parent(target) ? tree.parent(target) : target;
        break;
    default:
        site.context.user.MsgBox(QStringLiteral("Unknown image type: ") + QString::number(tree.image(target)));
        return {};
    }
    if (parent != tree.parent(dragged) && TreeEdits::namesake(tree, parent, tree.text(dragged), dragged))
        return {{TreeEdits::TreeError::Kind::NameTaken, QString()}, tree.text(dragged)};
    if (TreeEntries::refuseUnwritable(site.context, parent, dragged, tree.text(dragged), tree.tag(dragged),
                                      QStringLiteral("Nothing was moved.")))
        return {};
    if (site.list.markListmodifiedCheckHTML() == platform::kAnswerCancel) return {};
    // The question's answer may have come after the nodes went.
    if (!tree.contains(dragged) || !tree.contains(parent) || !TreeEdits::moveNode(tree, dragged, parent)) return {};
    // The moved node stays current where it went, its new folder opened.
    tree.ensureVisible(dragged);
    tree.select(dragged);
    return {};
}

bool isSchemeList(const ProgramContext& context) {
    return context.document.TreePath().contains(QLatin1String(".kqs"), ci);
}

// A link in a scheme list would be written as a term that runs nothing.
void refuseLinkInSchemeList(UserDialogs& user) {
    user.MsgBox(QStringLiteral("A scheme list holds terms: a web link can't be dropped onto it."), platform::kOkOnly,
                kAlertTitle);
}

// A link dropped from outside the tree: named after its text on the page shown, placed
// into or beside the target. With Shift it becomes a command carrying the name instead.
DropFailure dropLink(const DropSite& site, ListTreeView& view, NodeId target, const QString& address, bool shift) {
    ListTree& tree = view.tree();
    if (!address.startsWith(QLatin1String("http://"), ci) && !address.startsWith(QLatin1String("https://"), ci)) {
        site.context.user.MsgBox(QStringLiteral("Can't drop things like: ") + address + QStringLiteral(" onto the Tree"),
                                 platform::kOkOnly, QStringLiteral("Error"));
        return {};
    }
    if (isSchemeList(site.context) && !shift) {
        refuseLinkInSchemeList(site.context.user);
        return {};
    }
    DropFailure failure;
    QString& name = failure.name;
    name = ListLines::safeNodeText(site.browser.linkNameOnPage(address));
    if (name.trimmed().isEmpty()) name = kUntitled;
    if (tree.image(target) == platform::kImageFolder) tree.setImage(target, platform::kImageOpenFolder);
    const NodeId parent = dropParent(tree, target);
    QString tag = address;
    int image = platform::kImageLink;
    int selectedImage = platform::kImageNewLink;
    if (shift) {
        image = platform::kImageFolder;
        selectedImage = platform::kImageOpenFolder;
        const NodeId first = tree.item(2);
        if (first && tree.tag(first).contains(QLatin1String("mtp:"), ci)) {
            tag = TreeNodes::commandForName(tree.tag(first), name);
            image = selectedImage = tree.image(first);
        } else {
            tag = QStringLiteral("mtp://field=*&content=") + TreeNodes::contentValue(name) + QStringLiteral(".fld");
        }
    }
    if (TreeEntries::refuseUnwritable(site.context, parent, 0, name, tag, QStringLiteral("Nothing was dropped.")))
        return failure;
    if (site.list.markListmodifiedCheckHTML() == platform::kAnswerCancel || !tree.contains(target)) return failure;
    const NodeId node = TreeEdits::addNode(tree, parent, Place::Child, name, image, selectedImage, failure.error);
    if (!node) return failure;
    tree.setTag(node, tag);
    tree.setDropHighlight(0);
    tree.ensureVisible(node);
    tree.select(node);
    view.Refresh();
    view.StartLabelEdit();
    return failure;
}

// A command dropped on the tree: a scheme list's load runs; a field command, a batch or a
// link dragged out of a program becomes a node, or moves back where it is dropped when it
// came from this very tree.
DropFailure dropCommand(const DropSite& site, ListTree& tree, NodeId target, NodeId dragged, const QString& text,
                        modMTP::CommandOrigin origin) {
    const TreeNodes::DroppedCommand dropped = TreeNodes::readDroppedCommand(text);
    if (dropped.type == QLatin1String("kqs")) {
        // Only the loading forms: a drop never saves over or deletes a list.
        const QString command = text.endsWith(QLatin1Char('/')) ? text : text + QLatin1Char('/');
        const modMTP::CommandRow row = modMTP::routeCommand(command).row;
        if (row == modMTP::CommandRow::SchemeLoad || row == modMTP::CommandRow::SchemeOpen)
            modMTP::runMtpCommand(site.context, text, origin);
        else
            site.context.user.MsgBox(QStringLiteral("Cant drop mtp object of type kqs onto the Hierarchy Window: only a command "
                                                    "that loads a scheme list can be dropped here"),
                                     platform::kOkOnly, kAlertTitle);
        return {};
    }
    if (dropped.type != QLatin1String("kqb") && dropped.type != QLatin1String("fld")) {
        site.context.user.MsgBox(QStringLiteral("Cant drop mtp object of type ") + dropped.type +
                                     QStringLiteral(" onto the Hierarchy Window"),
                                 platform::kOkOnly, kAlertTitle);
        return {};
    }
    if (!target) return {};
    if (!dropped.originTag.isEmpty() && dropped.originTag == site.session)
        return moveDraggedNode(site, tree, target, dragged);
    if (isSchemeList(site.context) && !dropped.tag.startsWith(QLatin1String("mtp:"), ci)) {
        refuseLinkInSchemeList(site.context.user);
        return {};
    }
    const NodeId parent = dropParent(tree, target);
    const int image = isSchemeList(site.context) ? platform::kImageSchemeTerm : platform::kImageLink;
    DropFailure failure;
    failure.name = ListLines::safeNodeText(dropped.label);
    if (TreeEntries::refuseUnwritable(site.context, parent, 0, failure.name, dropped.tag,
                                      QStringLiteral("Nothing was dropped.")))
        return failure;
    if (site.list.markListmodifiedCheckHTML() == platform::kAnswerCancel || !tree.contains(target)) return failure;
    if (const NodeId node = TreeEdits::addNode(tree, parent, Place::Child, failure.name, image, image, failure.error))
        tree.setTag(node, dropped.tag);
    return failure;
}

}  // namespace

void TreePaneEvents::TreeView1_OLEDragDrop(int index, const platform::DataObject& data, int, int shift, int, int) {
    ListTreeView& view = views.view(index);
    ListTree& tree = view.tree();
    ScrollTimer->stop();
    const QString text = droppedLine(droppedText(data));
    const NodeId target = tree.dropHighlight();
    const NodeId dragged = tree.contains(dragNode) ? dragNode : 0;
    // Text from anywhere but this window's own controls may come from a web page.
    QObject* source = data.Source();
    const bool own = source && (around.recordView.isMetaPanel(source) || views.holds(source));
    const auto origin = own ? modMTP::CommandOrigin::Program : modMTP::CommandOrigin::Page;

    const DropSite site{context, list, around.browser, dragSessionTag};
    DropFailure failure;
    if (text.startsWith(QLatin1String("mtp://"), ci)) {
        failure = dropCommand(site, tree, target, dragged, text, origin);
    } else if (target && !dragged) {
        failure = dropLink(site, view, target, text, shift & platform::kShiftMask);
    } else if (target) {
        failure = moveDraggedNode(site, tree, target, dragged);
    }
    tree.setDropHighlight(0);
    dragNode = 0;
    dragArmed = false;
    if (failure.error) reportDropFailure(context.user, failure.error, failure.name);
}
