// File > Save and Save Subject Index: the record or the list, whichever the status bar names.
#include "app/Form1.h"

#include "app/ModOpenSave.h"
#include "app/modFileExists.h"
#include "commands/modMTP.h"
#include "commands/modMacros.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/StatusBar.h"
#include "platform/TreeView.h"

#include <QAction>

namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;


bool isCatalogueOrSchemePath(const QString& path) {
    return path.contains(QLatin1String(".kqi"), ci) || path.contains(QLatin1String(".kqs"), ci);
}

}  // namespace

// Writes a catalogue or scheme list to TreePath. A list without a full path (a bare name,
// "Untitled", a list read from the web) is saved under a name the user chooses now, never
// next to wherever the program happens to run. True when the file was written.
bool Form1::saveListToItsFile(bool catalogue) {
    if (!platform::isLocalPath(TreePath)) {
        const QString before = TreePath;
        TreePath = QStringLiteral("Untitled");
        if (ModOpenSave::showSaveDialog(catalogue ? 3 : 2, TreePath).isEmpty()) {
            TreePath = before;  // a cancel changes nothing, so the next Save still knows the list's kind
            return false;
        }
    }
    long nodeCount = 0;
    return SaveAsList(TreePath, nodeCount);
}

void Form1::mnuFileSave_Click() {
    if (fileMenuBusy) {
        fileMenuBusy = false;
        return;
    }
    fileMenuBusy = true;
    struct ClearBusy {
        bool& flag;
        ~ClearBusy() { flag = false; }
    } clearBusy{fileMenuBusy};

    const QString tag = StatusBar1->panelTag(2);
    if (StatusBar1->panelText(2) != QLatin1String("Modified") &&
        platform::MsgBox(QStringLiteral("Nothing has changed in the ") + tag + QStringLiteral(". Continue Anyway?"),
                         platform::vbYesNo) != platform::vbYes)
        return;

    // The document stays "Modified" unless its file was written: a cancelled dialog, a
    // failed write or a save the repository finishes later leave the mark in place.
    if (tag == QLatin1String("Record")) {
        const bool saved = saveRecordWhereItBelongs([this] {
            const QString chosen = ModOpenSave::showSaveDialog(1, FilePath);
            return !chosen.isEmpty() && SaveAsHTML(chosen);
        });
        if (saved) {
            StatusBar1->setPanelText(2, QStringLiteral("Ready"));
            StatusBar1->setPanelTag(2, QStringLiteral("Record"));
        }
        return;
    }
    if (tag != QLatin1String("List")) return;

    if (TreePath == QLatin1String("Main Catalog.kqi")) {
        modMTP::runCommand(modMacros::saveCatalogMacro);
        return;
    }
    const platform::Node* root = activeTree()->Item(1);
    if (!root) {
        platform::MsgBox(QStringLiteral("There is no list in the tree to save."));
        return;
    }
    const QString rootTag = root->Tag();
    if (rootTag.contains(QLatin1String("Harvest Control List"), ci)) {
        showHarvestListDialog();
    } else if (rootTag.contains(QLatin1String("RSS"), ci)) {
        if (saveRssChannelWithDialog()) mnuFileSave->setText(QStringLiteral("Save RSS Channel to: ") + TreePath);
    } else if (isCatalogueOrSchemePath(TreePath)) {
        if (saveListToItsFile(TreePath.contains(QLatin1String(".kqi"), ci))) {
            StatusBar1->setPanelText(2, QStringLiteral("Ready"));
            StatusBar1->setPanelTag(2, QStringLiteral("List"));
        }
    }
}

void Form1::mnuFileSaveList_Click() {
    if (isCatalogueOrSchemePath(TreePath)) {
        // An empty tree has nothing to write; its file stays as it is.
        if (activeTree()->Count() == 0) return;
        if (saveListToItsFile(!TreePath.contains(QLatin1String(".kqs"), ci))) {
            StatusBar1->setPanelText(2, QStringLiteral("Ready"));
            StatusBar1->setPanelTag(2, QStringLiteral("List"));
        }
    } else if (mnuFileSaveList->text() == QLatin1String("Save RSS Channel")) {
        saveRssChannelWithDialog();
    }
}
