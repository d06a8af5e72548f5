// The tree's context menu: edit a node's tag or name, insert the page shown, a folder or an
// entry typed in, delete a node, find nodes by name, close the pane.
#include "app/Form1.h"

#include "catalogues/TreeEdits.h"
#include "catalogues/TreeNodes.h"
#include "catalogues/frmManualInsert.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/TreeImages.h"
#include "platform/TreeView.h"
#include "record/frmdlogInput.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSet>

using platform::Node;

namespace {

const QString kErrorTitle = QStringLiteral("Quorvantile Error");

// Asks the shared input dialog with this caption, prompt and text; the answer, "" on Cancel.
// The dialog is left as the other askers expect it.
QString askInput(Form1& form, const QString& caption, const QString& prompt, const QString& text) {
    frmdlogInput& dialog = frmdlogInput::instance(&form);
    const QString oldPrompt = dialog.Label1->text();
    const int oldLength = dialog.txtFieldName->maxLength();
    dialog.setWindowTitle(caption);
    dialog.Label1->setText(prompt);
    // A long tag comes back whole, not cut at the box's usual length.
    dialog.txtFieldName->setMaxLength(std::max(oldLength, int(text.size())));
    dialog.txtFieldName->setText(text);
    platform::execModal(dialog);
    dialog.Label1->setText(oldPrompt);
    dialog.txtFieldName->setMaxLength(oldLength);
    return dialog.inputText();
}

// The new node is named at once.
void showForNaming(platform::TreeView& tree, Node* node) {
    node->EnsureVisible();
    tree.setSelectedItem(node);
    tree.StartLabelEdit();
}

}  // namespace

void Form1::mnuMaintNodes_Click(int index) {
    platform::TreeView& tree = *activeTree();
    Node* node = tree.SelectedItem();
    const bool inFolder = index >= kInsertURLInFolder && index <= kManualInsertInFolder;
    const bool scheme = documentState->TreePath().contains(QLatin1String(".kqs"), Qt::CaseInsensitive);
    platform::TreeError error;
    switch (index) {
    case kEditTag: {
        if (!node) return;
        const platform::NodeRef ref(node);
        inputText = askInput(*this, QStringLiteral("Edit"), QStringLiteral("Tag :"), node->Tag());
        if (inputText.isEmpty() || !ref || markListmodifiedCheckHTML() == platform::vbCancel) return;
        if (Node* edited = ref.get()) edited->setTag(inputText);
        mnuMaintNodes(kEditTag)->setText(modTree::menuCaption(inputText));
        return;
    }
    case kRenameLine:
        tree.StartLabelEdit();
        return;
    case kInsertURLHere:
    case kInsertURLInFolder: {
        if (!node || markListmodifiedCheckHTML() == platform::vbCancel) return;
        const QString name = browserLocationName();
        if (name.isEmpty()) return;
        Node* added = modTree::addNode(tree, node, inFolder ? platform::tvwChild : platform::tvwLast, name,
                                       platform::kImageLink, platform::kImageNewLink, error);
        if (!added) {
            platform::MsgBox(error.Description, platform::vbOKOnly, kErrorTitle);
            return;
        }
        added->setTag(browserLocationURL().remove(QLatin1String("http://")));
        showForNaming(tree, added);
        return;
    }
    case kInsertFolderHere:
    case kInsertFolderInFolder: {
        if (!node) return;
        // Nothing goes into a link.
        if (node->SelectedImage() < platform::kImageOpenFolder && (!inFolder || !modTree::isListRoot(node))) {
            QApplication::beep();
            return;
        }
        if (markListmodifiedCheckHTML() == platform::vbCancel) return;
        const Node* parent = inFolder || modTree::isListRoot(node) ? node : node->Parent();
        QSet<QString> taken;
        for (const Node* child = parent->Child(); child; child = child->Next()) taken.insert(child->Text());
        QString name = QStringLiteral("New Folder");
        for (int n = 2; taken.contains(name); ++n) name = QStringLiteral("New Folder %1").arg(n);
        Node* added = modTree::addNode(tree, node, inFolder ? platform::tvwChild : platform::tvwLast, name,
                                       scheme ? platform::kImageSchemeFolder : platform::kImageFolder,
                                       scheme ? platform::kImageSchemeFolder : platform::kImageOpenFolder, error);
        if (!added) {
            platform::MsgBox(error.Description, platform::vbOKOnly, kErrorTitle);
            return;
        }
        showForNaming(tree, added);
        return;
    }
    case kManualInsertHere:
    case kManualInsertInFolder: {
        if (markListmodifiedCheckHTML() == platform::vbCancel) return;
        frmManualInsert& dialog = frmManualInsert::instance(*this);
        dialog.inFolder = inFolder;
        platform::execModal(dialog);
        return;
    }
    case kDeleteNode:
        if (!node || modTree::isListRoot(node) || markListmodifiedCheckHTML() == platform::vbCancel) return;
        tree.Remove(node);
        return;
    case kFindInList: {
        inputText = askInput(*this, QStringLiteral("Search Tree View List"), QStringLiteral("Search for:"), QString());
        const QString search = inputText.trimmed();
        if (search.isEmpty()) return;
        Node* firstHit = nullptr;
        for (int i = 1; i <= tree.Count(); ++i) {
            Node* each = tree.Item(i);
            const bool match = modTree::matchesSearch(each->Text(), search);
            if (match) each->EnsureVisible();
            if (match && !firstHit) firstHit = each;
            each->setBold(match);
        }
        // The first hit is shown and becomes current; nothing runs, as it would on a click.
        if (firstHit) {
            tree.setSelectedItem(firstHit);
            firstHit->EnsureVisible();
        }
        return;
    }
    case kCloseList:
        mnuViewTreeView_Click();
        return;
    default:
        return;
    }
}

void Form1::mnuMaintNodesEditToggle_Click() {
    mnuMaintNodesEditToggle->setChecked(!mnuMaintNodesEditToggle->isChecked());
    if (mnuMaintNodesEditToggle->isChecked()) activeTree()->StartLabelEdit();
}

void Form1::mnuMaintPrevious_Click() {}

void Form1::buildTreeMenus() {
    mnuMaintNodes1 = new QMenu(this);
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
    for (int i = 1; i <= 15; ++i) {
        const QLatin1String caption(captions[i - 1]);
        QAction* item =
            caption == QLatin1String("-") ? mnuMaintNodes1->addSeparator() : mnuMaintNodes1->addAction(caption);
        item->setObjectName(QStringLiteral("mnuMaintNodes_%1").arg(i));
        mnuMaintNodes.set(i, item);
        connect(item, &QAction::triggered, this, [this, i] { mnuMaintNodes_Click(i); });
    }
    mnuMaintPrevious = mnuMaintNodes1->addAction(QStringLiteral("Load Previous List"));
    mnuMaintPrevious->setObjectName(QStringLiteral("mnuMaintPrevious"));
    mnuMaintPrevious->setVisible(false);
    connect(mnuMaintPrevious, &QAction::triggered, this, &Form1::mnuMaintPrevious_Click);

    mnuMaintNodesEditOff = new QMenu(this);
    mnuMaintNodesEditOff->setObjectName(QStringLiteral("mnuMaintNodesEditOff"));
    mnuMaintNodesEditToggle = mnuMaintNodesEditOff->addAction(QStringLiteral("TurnEditOn"));
    mnuMaintNodesEditToggle->setObjectName(QStringLiteral("mnuMaintNodesEditToggle"));
    mnuMaintNodesEditToggle->setCheckable(true);
    connect(mnuMaintNodesEditToggle, &QAction::triggered, this,
            [this] { mnuViewTheOtherWay(mnuMaintNodesEditToggle, &Form1::mnuMaintNodesEditToggle_Click); });
}
