// The hierarchy pane's events: a click runs a node's command or opens its page, hovering
// shows what a click would run, the right button opens the context menu, names are edited
// in place, nodes are dragged inside the tree and out of it, and links and commands are
// dropped in.
#include "app/Form1.h"

#include "catalogues/ListLines.h"
#include "catalogues/TreeEdits.h"
#include "catalogues/TreeNodes.h"
#include "commands/CommandRoute.h"
#include "commands/modMTP.h"
#include "commands/modMacros.h"
#include "platform/DataObject.h"
#include "platform/KeyCodes.h"
#include "gui/record/MetaPanelView.h"
#include "platform/MsgBox.h"
#include "platform/StatusBar.h"
#include "platform/TreeImages.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"
#include "platform/WebBrowser.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include <algorithm>

using platform::MsgBox;
using platform::Node;

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
Node* dropParent(Node* target) {
    if (isFolderImage(target->Image()) || modTree::isListRoot(target)) {
        target->setExpanded(true);
        return target;
    }
    return target->Parent();
}

platform::TreeError plainFailure(const char* description) {
    return {-1, QLatin1String(description)};
}

void reportDropFailure(const platform::TreeError& error, const QString& name) {
    if (error.Number == platform::kTreeKeyNotUnique) {
        MsgBox(name == kUntitled
                   ? QStringLiteral("Rename the Untitled link before dropping another link without a title")
                   : QStringLiteral("Rename the ") + name + QStringLiteral(" link before dropping this link"));
    } else {
        MsgBox(QStringLiteral("Drag Drop failed: ") + error.Description);
    }
}

}  // namespace

void Form1::connectTreePane() {
    buildTreeMenus();
    for (int index = 0; index < int(TreeView1.size()); ++index) {
        platform::TreeView* tree = TreeView1[size_t(index)];
        tree->setOLEDragMode(platform::vbOLEDragAutomatic);
        tree->setOLEDropMode(platform::vbOLEDropManual);
        // Names are edited from the context menu and when a node is new, not by a second click.
        tree->setLabelEdit(platform::tvwManual);
        // Direct connections: the handlers write back through the references.
        const auto direct = Qt::DirectConnection;
        connect(
            tree, &platform::TreeView::NodeClick, this, [this, index](Node*) { TreeView1_NodeClick(index); }, direct);
        connect(tree, &platform::TreeView::MouseDown, this,
                [this, index](int b, int s, int x, int y) { TreeView1_MouseDown(index, b, s, x, y); }, direct);
        connect(tree, &platform::TreeView::MouseMove, this,
                [this, index](int b, int s, int x, int y) { TreeView1_MouseMove(index, b, s, x, y); }, direct);
        connect(tree, &platform::TreeView::MouseUp, this,
                [this, index](int b, int s, int x, int y) { TreeView1_MouseUp(index, b, s, x, y); }, direct);
        connect(tree, &platform::TreeView::BeforeLabelEdit, this,
                [this, index](int& cancel) { TreeView1_BeforeLabelEdit(index, cancel); }, direct);
        connect(tree, &platform::TreeView::AfterLabelEdit, this,
                [this, index](int& cancel, QString& text) { TreeView1_AfterLabelEdit(index, cancel, text); }, direct);
        connect(tree, &platform::TreeView::OLESetData, this,
                [this, index](platform::DataObject& data) { TreeView1_OLESetData(index, data); }, direct);
        connect(tree, &platform::TreeView::OLEDragOver, this,
                [this, index](platform::DataObject& data, int& effect, int b, int s, int x, int y, int state) {
                    TreeView1_OLEDragOver(index, data, effect, b, s, x, y, state);
                },
                direct);
        connect(tree, &platform::TreeView::OLEDragDrop, this,
                [this, index](platform::DataObject& data, int& effect, int b, int s, int x, int y) {
                    TreeView1_OLEDragDrop(index, data, effect, b, s, x, y);
                },
                direct);
        connect(tree, &platform::TreeView::OLECompleteDrag, this,
                [this, index](int) { TreeView1_OLECompleteDrag(index); });
    }
    connect(ScrollTimer, &QTimer::timeout, this, &Form1::ScrollTimer_Timer);
}

// ---- clicks and hovering ---------------------------------------------------------------

namespace {

// The repository catalogue's command that files the record under the node, in the first
// scheme the repository serves.
QString subjectCommandOf(const Node* node) {
    return modTree::subjectCommand(node->FullPath(), modMacros::repositorySchemes.section(QLatin1Char('|'), 0, 0));
}

// What a click on the node runs: its tag, or in the repository's catalogue a subject
// command for anything that is not a web address.
QString clickCommand(int index, const Node* node) {
    return index == 1 && !holdsWebAddress(node->Tag()) ? subjectCommandOf(node) : node->Tag();
}

}  // namespace

void Form1::TreeView1_NodeClick(int index) {
    platform::TreeView* tree = TreeView1[size_t(index)];
    Node* node = tree->SelectedItem();
    if (!node) return;
    const QString command = clickCommand(index, node);
    if (command.isEmpty()) {
        node->setExpanded(true);
        tree->setSelectedItem(node);
        if (node->SelectedImage() == platform::kImageFolder) node->setSelectedImage(platform::kImageOpenFolder);
        return;
    }
    if (command.contains(QLatin1String("mtp:/"), ci)) {
        if (documentState->modified(DocumentState::Document::List) &&
            saveListCheck(QStringLiteral("Save List before modifying metadata record?")) == platform::vbCancel)
            return;
        modMTP::runCommand(command);
        return;
    }
    if (modTree::isListRoot(node) || URL->currentText() == command) return;
    URL->setEditText(command);
    // The repository's record stands in for the page's own only where a repository is set up.
    openRecordOnLoad = !modMacros::openRecordMacro.isEmpty();
    LoadURLFromLocation();
    QString address = command;
    URLAddItem(address);
    // The box shows its history entry, so leaving the box later does not open it again.
    if (const int entry = URL->findText(address, Qt::MatchExactly); entry >= 0) URL->setCurrentIndex(entry);
}

void Form1::TreeView1_MouseMove(int index, int button, int, int x, int y) {
    if (button & platform::vbLeftButton) {
        dragArmed = true;
        return;
    }
    const Node* node = TreeView1[size_t(index)]->HitTest(x, y);
    QString text;
    if (node) {
        text = index == 1 && node->SelectedImage() == platform::kImageOpenFolder ? subjectCommandOf(node) : node->Tag();
    }
    if (text.size() > kLongestHoverText) text = text.left(kLongestHoverText) + QStringLiteral("...");
    StatusBar1->setPanelText(kActivityPanel, text);
}

void Form1::TreeView1_MouseDown(int index, int button, int, int x, int y) {
    platform::TreeView* tree = TreeView1[size_t(index)];
    Node* node = tree->HitTest(x, y);
    if (node) tree->setSelectedItem(node);
    if (button != platform::vbRightButton) {
        if (node) dragNode = node->Id();
        return;
    }
    const bool onNode = node != nullptr;
    const bool belowRoot = onNode && !modTree::isListRoot(node);
    const bool scheme = documentState->TreePath().contains(QLatin1String(".kqs"), ci);
    mnuMaintNodes(kEditTag)->setText(onNode ? modTree::menuCaption(node->Tag()) : QString());
    for (int item : {kEditTag, kRenameLine, kInsertURLHere, kInsertFolderHere, kManualInsertHere, kDeleteNode})
        mnuMaintNodes(item)->setEnabled(belowRoot);
    for (int item : {kInsertURLInFolder, kInsertFolderInFolder, kManualInsertInFolder})
        mnuMaintNodes(item)->setEnabled(onNode);
    if (scheme) {
        mnuMaintNodes(kInsertURLHere)->setEnabled(false);
        mnuMaintNodes(kInsertURLInFolder)->setEnabled(false);
    }
    mnuMaintNodes1->popup(tree->mapToGlobal(platform::twipsToPixels(QPoint(x, y))));
}

void Form1::TreeView1_MouseUp(int, int, int, int, int) {
    dragNode = 0;
    ScrollTimer->stop();
}

// ---- renaming ---------------------------------------------------------------------------

void Form1::TreeView1_BeforeLabelEdit(int, int&) {
    labelEditing = true;
}

void Form1::TreeView1_AfterLabelEdit(int index, int& cancel, QString& newString) {
    platform::TreeView* tree = TreeView1[size_t(index)];
    Node* node = tree->SelectedItem();
    if (!node) return;
    labelEditing = false;
    // This handler writes the text itself (or keeps the old one).
    cancel = 1;
    // Escape, or a name with nothing left once cleaned, changes nothing.
    if (modTree::isListRoot(node) || newString.isEmpty()) return;
    const QString text = modLists::safeNodeText(newString);
    if (text.isEmpty() || text == node->Text()) return;
    if (modTree::namesake(node->Parent(), text, node)) {
        MsgBox(QStringLiteral("This folder already holds an entry named ") + text +
                   QStringLiteral(". The entry keeps its name ") + node->Text() + QLatin1Char('.'),
               platform::vbOKOnly, kAlertTitle);
        return;
    }
    if (markListmodifiedCheckHTML() == platform::vbCancel) return;
    node->setText(text);
    modTree::setNodeKey(node, modTree::childKey(node->Parent(), text) + node->Tag());
    // A term or subject follows its new name; batches, links and other commands keep theirs.
    node->setTag(modTree::renamedTag(node->Tag(), text));
}

// ---- dragging ----------------------------------------------------------------------------

void Form1::TreeView1_OLESetData(int index, platform::DataObject& data) {
    const Node* node = TreeView1[size_t(index)]->SelectedItem();
    if (!node || node->Image() != platform::kImageLink || node->Tag().contains(QLatin1String("mtp://"), ci)) return;
    data.SetText(QStringLiteral("mtp://addURL=") + dragSessionTag + QLatin1Char('|') + node->Text() + QLatin1Char('|') +
                 node->Tag() + QStringLiteral(".fld"));
}

void Form1::TreeView1_OLEDragOver(int index, platform::DataObject&, int&, int, int, int x, int y, int state) {
    platform::TreeView* tree = TreeView1[size_t(index)];
    if (state == platform::vbLeave) {
        tree->setDropHighlight(nullptr);
        ScrollTimer->stop();
        return;
    }
    tree->setDropHighlight(tree->HitTest(x, y));
    // The bottom of the rows: a sideways scroll bar below them would hide the bottom band.
    const int height = platform::pixelsToTwips(tree->viewport()->geometry().bottom() + 1);
    if (y >= 0 && y < 100 && x != 0) {
        scrollUp = -1;
    } else if (y > height - 200 && y < height && x != 0) {
        scrollUp = 1;
    } else {
        ScrollTimer->stop();
        return;
    }
    // Started once: every move of the drag would otherwise put the first tick off again.
    if (!ScrollTimer->isActive()) ScrollTimer->start();
}

void Form1::ScrollTimer_Timer() {
    if (dragArmed) activeTree()->ScrollLine(scrollUp == -1 ? -1 : 1);
}

void Form1::TreeView1_OLECompleteDrag(int) {
    dragNode = 0;
    dragArmed = false;
    ScrollTimer->stop();
}

// ---- dropping ----------------------------------------------------------------------------

namespace {

// Moves the node dragged inside the tree onto the target: into a catalogue or scheme
// folder, beside a scheme term. The list's top, a move into itself and a move with nothing
// dragged change nothing.
void moveDraggedNode(Form1& form, Node* target, Node* dragged, platform::TreeError& failure, QString& name) {
    if (!dragged) {
        failure = plainFailure("no entry of this list is being dragged");
        return;
    }
    if (modTree::isListRoot(dragged)) {
        failure = plainFailure("the top of the list cannot be moved");
        return;
    }
    for (const Node* above = target; above; above = above->Parent()) {
        if (above == dragged) {
            failure = plainFailure("an entry cannot be moved into itself or into an entry below it");
            return;
        }
    }
    Node* parent = nullptr;
    switch (target->Image()) {
    case platform::kImageFolder:
    case platform::kImageOpenFolder:
    case platform::kImageSchemeFolder:
        parent = target;
        break;
    case platform::kImageSchemeTerm:
        parent = target->Parent() ? target->Parent() : target;
        break;
    default:
        MsgBox(QStringLiteral("Unknown image type: ") + QString::number(target->Image()));
        return;
    }
    if (parent != dragged->Parent() && modTree::namesake(parent, dragged->Text(), dragged)) {
        name = dragged->Text();
        failure = {platform::kTreeKeyNotUnique, QString()};
        return;
    }
    if (form.markListmodifiedCheckHTML() == platform::vbCancel) return;
    modTree::moveNode(dragged, parent);
}

bool isSchemeList(const Form1& form) {
    return form.documentState->TreePath().contains(QLatin1String(".kqs"), ci);
}

// A link in a scheme list would be written as a term that runs nothing.
void refuseLinkInSchemeList() {
    MsgBox(QStringLiteral("A scheme list holds terms: a web link can't be dropped onto it."), platform::vbOKOnly,
           kAlertTitle);
}

// A link dropped from outside the tree: named after its text on the page shown, placed
// into or beside the target. With Shift it becomes a command carrying the name instead.
void dropLink(Form1& form, platform::TreeView& tree, Node* target, const QString& address, bool shift,
              platform::TreeError& failure, QString& name) {
    if (!address.startsWith(QLatin1String("http://"), ci) && !address.startsWith(QLatin1String("https://"), ci)) {
        MsgBox(QStringLiteral("Can't drop things like: ") + address + QStringLiteral(" onto the Tree"),
               platform::vbOKOnly, QStringLiteral("Error"));
        return;
    }
    if (isSchemeList(form) && !shift) {
        refuseLinkInSchemeList();
        return;
    }
    name = modLists::safeNodeText(Form1::findLinkName(form.WebBrowser1->Document(), address));
    if (name.trimmed().isEmpty()) name = kUntitled;
    if (target->Image() == platform::kImageFolder) target->setImage(platform::kImageOpenFolder);
    Node* parent = dropParent(target);
    if (form.markListmodifiedCheckHTML() == platform::vbCancel) return;
    QString tag = address;
    int image = platform::kImageLink;
    int selectedImage = platform::kImageNewLink;
    if (shift) {
        image = platform::kImageFolder;
        selectedImage = platform::kImageOpenFolder;
        const Node* first = tree.Item(2);
        if (first && first->Tag().contains(QLatin1String("mtp:"), ci)) {
            tag = modTree::commandForName(first->Tag(), name);
            image = selectedImage = first->Image();
        } else {
            tag = QStringLiteral("mtp://field=*&content=") + modTree::contentValue(name) + QStringLiteral(".fld");
        }
    }
    Node* node = modTree::addNode(tree, parent, platform::tvwChild, name, image, selectedImage, failure);
    if (!node) return;
    node->setTag(tag);
    tree.setDropHighlight(nullptr);
    node->EnsureVisible();
    tree.setSelectedItem(node);
    tree.Refresh();
    tree.StartLabelEdit();
}

// A command dropped on the tree: a scheme list's load runs; a field command, a batch or a
// link dragged out of a program becomes a node, or moves back where it is dropped when it
// came from this very tree.
void dropCommand(Form1& form, platform::TreeView& tree, Node* target, Node* dragged, const QString& text,
                 modMTP::CommandOrigin origin, platform::TreeError& failure, QString& name) {
    const modTree::DroppedCommand dropped = modTree::readDroppedCommand(text);
    if (dropped.type == QLatin1String("kqs")) {
        // Only the loading forms: a drop never saves over or deletes a list.
        const QString command = text.endsWith(QLatin1Char('/')) ? text : text + QLatin1Char('/');
        const modMTP::CommandRow row = modMTP::routeCommand(command).row;
        if (row == modMTP::CommandRow::SchemeLoad || row == modMTP::CommandRow::SchemeOpen)
            modMTP::runCommand(text, origin);
        else
            MsgBox(QStringLiteral("Cant drop mtp object of type kqs onto the Hierarchy Window: only a command that "
                                  "loads a scheme list can be dropped here"),
                   platform::vbOKOnly, kAlertTitle);
        return;
    }
    if (dropped.type != QLatin1String("kqb") && dropped.type != QLatin1String("fld")) {
        MsgBox(QStringLiteral("Cant drop mtp object of type ") + dropped.type +
                   QStringLiteral(" onto the Hierarchy Window"),
               platform::vbOKOnly, kAlertTitle);
        return;
    }
    if (!target) return;
    if (!dropped.originTag.isEmpty() && dropped.originTag == form.dragSessionTag) {
        moveDraggedNode(form, target, dragged, failure, name);
        return;
    }
    if (isSchemeList(form) && !dropped.tag.startsWith(QLatin1String("mtp:"), ci)) {
        refuseLinkInSchemeList();
        return;
    }
    Node* parent = dropParent(target);
    const int image = isSchemeList(form) ? platform::kImageSchemeTerm : platform::kImageLink;
    name = modLists::safeNodeText(dropped.label);
    if (form.markListmodifiedCheckHTML() == platform::vbCancel) return;
    if (Node* node = modTree::addNode(tree, parent, platform::tvwChild, name, image, image, failure))
        node->setTag(dropped.tag);
}

}  // namespace

void Form1::TreeView1_OLEDragDrop(int index, platform::DataObject& data, int&, int, int shift, int, int) {
    platform::TreeView* tree = TreeView1[size_t(index)];
    ScrollTimer->stop();
    const QString text = droppedLine(droppedText(data));
    Node* target = tree->DropHighlight();
    Node* dragged = tree->NodeById(dragNode);
    // Text from anywhere but this window's own controls may come from a web page.
    QObject* source = data.Source();
    const bool own = source && (source == MetaPanel ||
                                std::find(TreeView1.begin(), TreeView1.end(), source) != TreeView1.end());
    const auto origin = own ? modMTP::CommandOrigin::Program : modMTP::CommandOrigin::Page;

    platform::TreeError failure;
    QString name;
    if (text.startsWith(QLatin1String("mtp://"), ci)) {
        dropCommand(*this, *tree, target, dragged, text, origin, failure, name);
    } else if (target && !dragged) {
        dropLink(*this, *tree, target, text, shift & platform::vbShiftMask, failure, name);
    } else if (target) {
        moveDraggedNode(*this, target, dragged, failure, name);
    }
    tree->setDropHighlight(nullptr);
    dragNode = 0;
    dragArmed = false;
    if (failure) reportDropFailure(failure, name);
}
