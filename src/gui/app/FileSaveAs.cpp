// File > Save As: the record or the list under a name chosen now, or handed to the
// repository or to the list's own dialog.
#include "gui/app/FileMenu.h"
#include "gui/frame/ListDocument.h"
#include "gui/frame/PageBrowser.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/WindowFrame.h"

#include "core/program/ModOpenSave.h"
#include "core/commands/modMTP.h"
#include "gui/commands/frmSourceHTML.h"
#include "core/commands/modMacros.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"

#include <QAction>

namespace {


}  // namespace

// The save goes through the command entry, so the command log records it like any other;
// the writers' counters tell whether the file was really written.
bool FileMenu::runSaveCommand(const QString& path, bool list) {
    const int before = list ? around.list.filesWritten() : around.record.filesWritten();
    modMTP::runMtpCommand(context, QStringLiteral("mtp://save=") + path);
    return (list ? around.list.filesWritten() : around.record.filesWritten()) > before;
}

bool FileMenu::mnuFileSaveAs_Click(int index) {
    switch (index) {
    case DocumentMenu::kSaveAsPage: {
        const QString location = around.browser.browserLocationURL();
        const qsizetype slash = location.lastIndexOf(QLatin1Char('/'));
        if (slash >= 0) context.FilePath = platform::folderPart(context.FilePath) + location.mid(slash + 1);
        const QString chosen = ModOpenSave::showSaveDialog(context, ModOpenSave::kPageFilter, context.FilePath);
        if (chosen.isEmpty()) return false;
        context.FilePath = chosen;
        return runSaveCommand(context.FilePath, false);
    }
    case DocumentMenu::kSaveAsServerRecord:
        if (context.macros.saveRecordMacro.isEmpty()) {
            context.user.MsgBox(QStringLiteral("No Quorvantile Repository has been linked to this Karvold."));
            return false;
        }
        modMTP::runMtpCommand(context, context.macros.saveRecordMacro);
        documentState->setSaveCaption(QStringLiteral("Save Record to Quorvantile Repository"));
        return false;  // the repository stores it on its own time; its reply says how it went
    case DocumentMenu::kSaveAsTemplate: {
        if (!platform::isLocalPath(context.BatchPath)) context.BatchPath.clear();
        const QString chosen = ModOpenSave::showSaveDialog(context, ModOpenSave::kBatchFilter, context.BatchPath);
        if (chosen.isEmpty()) return false;
        context.BatchPath = chosen;
        // A template that was not written is not worth a function key.
        if (!runSaveCommand(context.BatchPath, false)) return false;
        if (context.user.MsgBox(QStringLiteral("Do you want to add this template to the next available FKey?"),
                                platform::kYesNo, QStringLiteral("Assign to an FKEY?")) != platform::kAnswerYes)
            return true;
        // No function key named: the next free one takes it.
        QString macro = QStringLiteral("mtp://addmacro=mtp://") + chosen + QStringLiteral("&text=Load Macro from Disk.kqb");
        modMTP::addMacro(context, macro);
        frmSourceHTML::showEditor(context, frame.clientArea()->window());
        documentState->setSaveCaption(QStringLiteral("Save Template to ") + context.BatchPath);
        return true;
    }
    case DocumentMenu::kSaveAsScheme:
    case DocumentMenu::kSaveAsCatalogue: {
        const bool scheme = index == 4;
        if (!platform::isLocalPath(documentState->TreePath())) documentState->setTreePath(QString());
        QString path = documentState->TreePath();
        const QString chosen = ModOpenSave::showSaveDialog(context, scheme ? ModOpenSave::kSchemeFilter : ModOpenSave::kCatalogueFilter, path);
        if (chosen.isEmpty()) return false;
        documentState->setTreePath(chosen);
        if (!runSaveCommand(chosen, true)) return false;
        documentState->setSaveCaption((scheme ? QStringLiteral("Save Scheme to ") : QStringLiteral("Save Catalog to ")) + chosen);
        return true;
    }
    case DocumentMenu::kSaveAsHarvestList:
        around.list.showHarvestListDialog();
        documentState->setSaveCaption(QStringLiteral("Save Harvest Control List to "));
        return false;  // the dialog saves once it has been filled in
    case DocumentMenu::kSaveAsRssChannel: {
        // The channel dialog may take the path it wrote into TreePath; this item leaves the
        // list's own path alone.
        const QString listPath = documentState->TreePath();
        const bool saved = around.list.saveRssChannelWithDialog();
        if (saved) documentState->setSaveCaption(QStringLiteral("Save RSS File to ") + documentState->TreePath());
        documentState->setTreePath(listPath);
        return saved;
    }
    default:
        return false;
    }
}
