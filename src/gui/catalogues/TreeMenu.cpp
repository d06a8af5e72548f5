// The tree's context menu: edit a node's tag or name, insert the page shown, a folder or an
// entry typed in, delete a node, find nodes by name, close the pane.
#include "gui/catalogues/TreeMenu.h"

#include "core/program/ProgramContext.h"
#include "gui/catalogues/TreeViews.h"
#include "gui/frame/ListDocument.h"
#include "gui/catalogues/TreeEntries.h"
#include "gui/frame/PageBrowser.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"

#include "core/catalogues/TreeEdits.h"
#include "core/catalogues/TreeNodes.h"
#include "gui/catalogues/frmManualInsert.h"
#include "platform/widgets/MenuItems.h"
#include "platform/widgets/Modal.h"
#include "platform/MsgBox.h"
#include "platform/TreeImages.h"
#include "platform/Twips.h"
#include "gui/catalogues/ListTreeView.h"
#include "gui/record/frmdlogInput.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSet>

using NodeId = ListTree::NodeId;
using Place = ListTree::Place;

namespace {

const QString kErrorTitle = QStringLiteral("Quorvantile Error");

// Asks the shared input dialog with this caption, prompt and text; the answer, "" on Cancel.
// A long tag comes back whole.
QString askInput(platform::ModalRuns& runs, QWidget* window, const QString& caption, const QString& prompt,
                 const QString& text) {
    frmdlogInput& dialog = frmdlogInput::instance(window);
    dialog.proposeText(caption, prompt, text);
    runs.execModal(dialog);
    return dialog.inputText();
}

// The new node is named at once.
void showForNaming(ListTreeView& view, NodeId node) {
    view.tree().ensureVisible(node);
    view.tree().select(node);
    view.StartLabelEdit();
}

}  // namespace

TreeMenu::TreeMenu(ProgramContext& context, WindowFrame& frame, const TreeNeighbours& around, TreeViews& views,
                   ListDocument& list, QObject* parent)
    : QObject(parent), context(context), frame(frame), around(around), views(views), list(list) {
    build();
}

QWidget* TreeMenu::window() const {
    return frame.clientArea()->window();
}

void TreeMenu::popUp(int index, NodeId node, int x, int y) {
    ListTreeView& view = views.view(index);
    const ListTree& tree = view.tree();
    const bool onNode = node != 0;
    const bool belowRoot = onNode && !TreeEdits::isListRoot(tree, node);
    const bool scheme = context.document.TreePath().contains(QLatin1String(".kqs"), Qt::CaseInsensitive);
    mnuMaintNodes(kEditTag)->setText(onNode ? TreeNodes::menuCaption(tree.tag(node)) : QString());
    for (int item : {kEditTag, kRenameLine, kInsertURLHere, kInsertFolderHere, kManualInsertHere, kDeleteNode})
        mnuMaintNodes(item)->setEnabled(belowRoot);
    for (int item : {kInsertURLInFolder, kInsertFolderInFolder, kManualInsertInFolder})
        mnuMaintNodes(item)->setEnabled(onNode);
    if (scheme) {
        mnuMaintNodes(kInsertURLHere)->setEnabled(false);
        mnuMaintNodes(kInsertURLInFolder)->setEnabled(false);
    }
    mnuMaintNodes1->popup(view.mapToGlobal(platform::twipsToPixels(QPoint(x, y))));
}

void TreeMenu::mnuMaintNodes_Click(int index) {
    ListTreeView& view = views.active();
    ListTree& tree = view.tree();
    const NodeId node = tree.selected();
    const bool inFolder = index >= kInsertURLInFolder && index <= kManualInsertInFolder;
    const bool scheme = context.document.TreePath().contains(QLatin1String(".kqs"), Qt::CaseInsensitive);
    TreeEdits::TreeError error;
    switch (index) {
    case kEditTag: {
        if (!node) return;
        const QString inputText = askInput(frame.modalRuns(), window(), QStringLiteral("Edit"), QStringLiteral("Tag :"), tree.tag(node));
        if (inputText.isEmpty() || !tree.contains(node)) return;
        if (TreeEntries::refuseUnwritable(context, tree.parent(node), node, tree.text(node), inputText, QStringLiteral("The entry keeps its tag.")))
            return;
        if (list.markListmodifiedCheckHTML() == platform::kAnswerCancel) return;
        tree.setTag(node, inputText);
        mnuMaintNodes(kEditTag)->setText(TreeNodes::menuCaption(inputText));
        return;
    }
    case kRenameLine:
        view.StartLabelEdit();
        return;
    case kInsertURLHere:
    case kInsertURLInFolder: {
        if (!node || list.markListmodifiedCheckHTML() == platform::kAnswerCancel) return;
        const QString name = around.browser.browserLocationName();
        if (name.isEmpty()) return;
        const QString tag = around.browser.browserLocationURL().remove(QLatin1String("http://"));
        if (TreeEntries::refuseUnwritable(context, TreeEdits::insertParent(tree, node, inFolder), 0, name, tag, QStringLiteral("Nothing was added.")))
            return;
        const NodeId added = TreeEdits::addNode(tree, node, inFolder ? Place::Child : Place::Last, name,
                                              platform::kImageLink, platform::kImageNewLink, error);
        if (!added) {
            context.user.MsgBox(error.description, platform::kOkOnly, kErrorTitle);
            return;
        }
        tree.setTag(added, tag);
        showForNaming(view, added);
        return;
    }
    case kInsertFolderHere:
    case kInsertFolderInFolder: {
        if (!node) return;
        // Nothing goes into a link.
        if (tree.selectedImage(node) < platform::kImageOpenFolder && (!inFolder || !TreeEdits::isListRoot(tree, node))) {
            QApplication::beep();
            return;
        }
        if (list.markListmodifiedCheckHTML() == platform::kAnswerCancel) return;
        const NodeId parent = inFolder || TreeEdits::isListRoot(tree, node) ? node : tree.parent(node);
        QSet<QString> taken;
        for (int row = 0, n = tree.childCount(parent); row < n; ++row) taken.insert(tree.text(tree.child(parent, row)));
        QString name = QStringLiteral("New Folder");
        for (int n = 2; taken.contains(name); ++n) name = QStringLiteral("New Folder %1").arg(n);
        const NodeId added = TreeEdits::addNode(tree, node, inFolder ? Place::Child : Place::Last, name,
                                              scheme ? platform::kImageSchemeFolder : platform::kImageFolder,
                                              scheme ? platform::kImageSchemeFolder : platform::kImageOpenFolder, error);
        if (!added) {
            context.user.MsgBox(error.description, platform::kOkOnly, kErrorTitle);
            return;
        }
        showForNaming(view, added);
        return;
    }
    case kManualInsertHere:
    case kManualInsertInFolder: {
        if (list.markListmodifiedCheckHTML() == platform::kAnswerCancel) return;
        frmManualInsert& dialog = frmManualInsert::instance(window(), context);
        dialog.setInFolder(inFolder);
        frame.modalRuns().execModal(dialog);
        return;
    }
    case kDeleteNode: {
        if (!node || TreeEdits::isListRoot(tree, node) || list.markListmodifiedCheckHTML() == platform::kAnswerCancel) return;
        // The line that takes its place stays current: the next one, else the one before, else its folder.
        NodeId after = tree.next(node);
        if (!after) after = tree.previous(node);
        if (!after) after = tree.parent(node);
        tree.remove(node);
        tree.select(after);
        return;
    }
    case kFindInList: {
        const QString search =
            askInput(frame.modalRuns(), window(), QStringLiteral("Search Tree View List"), QStringLiteral("Search for:"), QString()).trimmed();
        if (search.isEmpty()) return;
        NodeId firstHit = 0;
        for (int i = 1; i <= tree.count(); ++i) {
            const NodeId each = tree.item(i);
            const bool match = TreeNodes::matchesSearch(tree.text(each), search);
            if (match) tree.ensureVisible(each);
            if (match && !firstHit) firstHit = each;
            tree.setBold(each, match);
        }
        // The first hit is shown and becomes current; nothing runs, as it would on a click.
        if (firstHit) {
            tree.select(firstHit);
            tree.ensureVisible(firstHit);
        }
        return;
    }
    case kCloseList:
        around.viewMenu.mnuViewTreeView_Click();
        return;
    default:
        return;
    }
}

void TreeMenu::mnuMaintNodesEditToggle_Click() {
    mnuMaintNodesEditToggle->setChecked(!mnuMaintNodesEditToggle->isChecked());
    if (mnuMaintNodesEditToggle->isChecked()) views.active().StartLabelEdit();
}

void TreeMenu::mnuMaintPrevious_Click() {}

void TreeMenu::build() {
    mnuMaintNodes1 = new QMenu(window());
    mnuMaintNodes1->setObjectName(QStringLiteral("mnuMaintNodes1"));
    const char* captions[] = {"",
                              "Rename Line",
                              "-",
                              "Insert URL this level",
                              "Insert Folder this level",
                              "Manual Insert this level",
                              "-",
                              "Insert URL in this Folder",
                              "Insert Folder in this Folder",
                              "Manual Insert in this Folder",
                              "-",
                              "Delete Line",
                              "-",
                              "Find in List",
                              "Close List"};
    for (int i = 1; i <= 15; ++i)
        menuItems::element(mnuMaintNodes1, mnuMaintNodes, QStringLiteral("mnuMaintNodes"), i, QLatin1String(captions[i - 1]));
    menuItems::connectElements(mnuMaintNodes, this, [this](int i) { mnuMaintNodes_Click(i); });
    mnuMaintPrevious = menuItems::item(mnuMaintNodes1, QStringLiteral("mnuMaintPrevious"), QStringLiteral("Load Previous List"));
    mnuMaintPrevious->setVisible(false);
    connect(mnuMaintPrevious, &QAction::triggered, this, &TreeMenu::mnuMaintPrevious_Click);

    mnuMaintNodesEditOff = new QMenu(window());
    mnuMaintNodesEditOff->setObjectName(QStringLiteral("mnuMaintNodesEditOff"));
    mnuMaintNodesEditToggle =
        menuItems::item(mnuMaintNodesEditOff, QStringLiteral("mnuMaintNodesEditToggle"), QStringLiteral("TurnEditOn"));
    mnuMaintNodesEditToggle->setCheckable(true);
    menuItems::connectToggle(mnuMaintNodesEditToggle, this, [this] { mnuMaintNodesEditToggle_Click(); });
}
