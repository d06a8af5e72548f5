// File > Save and Save Subject Index: the record or the list, whichever the status bar names.
#include "gui/app/FileMenu.h"
#include "gui/frame/ListDocument.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/WindowFrame.h"

#include "core/program/ModOpenSave.h"
#include "core/program/modFileExists.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/widgets/StatusBar.h"
#include "core/catalogues/ListTree.h"

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
bool FileMenu::saveListToItsFile(bool catalogue) {
    QString path = documentState->TreePath();
    if (!platform::isLocalPath(path)) {
        path = QStringLiteral("Untitled");
        // A cancel changes nothing, so the next Save still knows the list's kind.
        if (ModOpenSave::showSaveDialog(context, catalogue ? ModOpenSave::kCatalogueFilter : ModOpenSave::kSchemeFilter, path).isEmpty()) return false;
        documentState->setTreePath(path);
    }
    return around.list.SaveAsList(path);
}

void FileMenu::mnuFileSave_Click() {
    if (fileMenuBusy) {
        fileMenuBusy = false;
        return;
    }
    fileMenuBusy = true;
    struct ClearBusy {
        bool& flag;
        ~ClearBusy() { flag = false; }
    } clearBusy{fileMenuBusy};

    const DocumentState::Document document = documentState->document();
    if (!documentState->modified() &&
        context.user.MsgBox(QStringLiteral("Nothing has changed in the ") + documentState->documentName() +
                                QStringLiteral(". Continue Anyway?"),
                            platform::kYesNo) != platform::kAnswerYes)
        return;

    // The document stays "Modified" unless its file was written: a cancelled dialog, a
    // failed write or a save the repository finishes later leave the mark in place.
    if (document == DocumentState::Document::Record) {
        const bool saved = around.record.saveRecordWhereItBelongs([this] {
            const QString chosen = ModOpenSave::showSaveDialog(context, ModOpenSave::kPageFilter, context.FilePath);
            return !chosen.isEmpty() && around.record.SaveAsHTML(chosen);
        });
        if (saved) documentState->markSaved(DocumentState::Document::Record);
        return;
    }
    if (document != DocumentState::Document::List) return;

    if (documentState->TreePath() == QLatin1String("Main Catalog.kqi")) {
        modMTP::runMtpCommand(context, context.macros.saveCatalogMacro);
        return;
    }
    const ListTree::NodeId root = around.listPane.activeTree().item(1);
    if (!root) {
        context.user.MsgBox(QStringLiteral("There is no list in the tree to save."));
        return;
    }
    // The list's kind decides, never the root's tag: that holds the path of a list read from a file.
    const DocumentState::ListKind kind = documentState->listKind();
    if (kind == DocumentState::ListKind::HarvestList) {
        around.list.showHarvestListDialog();
    } else if (kind == DocumentState::ListKind::Channel) {
        if (around.list.saveRssChannelWithDialog()) documentState->setSaveCaption(QStringLiteral("Save RSS Channel to: ") + documentState->TreePath());
    } else if (isCatalogueOrSchemePath(documentState->TreePath())) {
        if (saveListToItsFile(documentState->TreePath().contains(QLatin1String(".kqi"), ci)))
            documentState->markSaved(DocumentState::Document::List);
    }
}

void FileMenu::mnuFileSaveList_Click() {
    if (isCatalogueOrSchemePath(documentState->TreePath())) {
        // An empty tree has nothing to write; its file stays as it is.
        if (around.listPane.activeTree().count() == 0) return;
        if (saveListToItsFile(!documentState->TreePath().contains(QLatin1String(".kqs"), ci)))
            documentState->markSaved(DocumentState::Document::List);
    } else if (documentState->saveListCaption() == QLatin1String("Save RSS Channel")) {
        around.list.saveRssChannelWithDialog();
    }
}
