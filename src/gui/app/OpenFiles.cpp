// File > Open, opening a path by its extension, and text or files dropped on the window.
#include "gui/app/FileMenu.h"
#include "gui/frame/Navigation.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/WindowFrame.h"

#include "core/program/ModOpenSave.h"
#include "core/program/modFileExists.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "core/record/Record.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/widgets/StatusBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;


// The dialog starts at a path only when something is there.
QString existing(const QString& path) {
    return modFileExists::fileExists(path) ? path : QString();
}

// The text from the last "." to the end, "" without a dot; compared exactly by the caller.
QString extensionOf(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : path.mid(dot);
}

// The name between the last separator before the extension and the extension.
QString listRootName(const QString& path, const QString& extension) {
    const QString withoutExtension = path.left(path.size() - extension.size());
    return platform::fileNamePart(withoutExtension);
}

QString catalogueStart(const QString& treePath, const char* extension) {
    return treePath.contains(QLatin1String(extension), ci) ? treePath : platform::folderPart(treePath);
}

}  // namespace

void FileMenu::mnuFileOpenIdx_Click(int index) {
    QString path;
    const bool listMayTakeOver = !documentState->modified();
    const auto takeOverAsList = [&](const QString& caption) {
        if (!listMayTakeOver) return false;
        documentState->nameDocument(DocumentState::Document::List);
        documentState->setSaveCaption(caption);
        return true;
    };

    switch (index) {
    case kOpenPage: {
        if (around.record.saveHtmlCheck() == platform::kAnswerCancel) return;
        path = ModOpenSave::showOpenDialog(context, QStringLiteral("htm"), existing(context.FilePath));
        // A cancelled dialog leaves the record's file as it was.
        if (path.isEmpty()) break;
        documentState->setCurrentHTMLFile(path);
        context.FilePath = path;
        documentState->setSaveCaption(QStringLiteral("Save Record to ") + context.FilePath);
        if (around.record.markHTMLmodifiedCheckList(QStringLiteral(" opening this new record")) != platform::kAnswerCancel)
            documentState->markSaved(DocumentState::Document::Record);
        break;
    }
    case kOpenTemplate:
        path = ModOpenSave::showOpenDialog(context, QStringLiteral("kqb"), context.BatchPath);
        if (path.isEmpty()) break;
        context.BatchPath = path;
        documentState->setSaveCaption(QStringLiteral("Save Template to ") + context.BatchPath);
        break;
    case kOpenMacroSet:
        path = ModOpenSave::showOpenDialog(context, QStringLiteral("kqb"), context.BatchPath);
        break;
    case kOpenServerRecord:
        if (context.macros.openRecordMacro.isEmpty()) {
            context.user.MsgBox(QStringLiteral("No Quorvantile Repository has been linked to the Karvold. Contact ") +
                                QStringLiteral("http://") + context.schemeServer + QLatin1Char('.'));
        } else if (!fileMenuBusy) {
            fileMenuBusy = true;
            QApplication::beep();
            modMTP::runMtpCommand(context, context.macros.openRecordMacro);
            documentState->setSaveCaption(QStringLiteral("Save Record to Quorvantile Repository"));
            fileMenuBusy = false;
        }
        break;
    case kOpenCatalogue:
        documentState->setListType(QStringLiteral("indexes"));
        if (!context.macros.openCatalogMacro.isEmpty() && documentState->TreePath() == QLatin1String("Main Catalog.kqi")) {
            modMTP::runMtpCommand(context, context.macros.openCatalogMacro);
            takeOverAsList(QStringLiteral("Save Catalog to "));
            break;
        }
        path = ModOpenSave::showOpenDialog(context, QStringLiteral("kqi"), existing(catalogueStart(documentState->TreePath(), ".kqi")));
        if (!path.isEmpty()) takeOverAsList(QStringLiteral("Save Catalog to ") + path);
        break;
    case kOpenScheme:
        documentState->setListType(QStringLiteral("schema"));
        path = ModOpenSave::showOpenDialog(context, QStringLiteral("kqs"), existing(catalogueStart(documentState->TreePath(), ".kqs")));
        if (!path.isEmpty() && takeOverAsList(QStringLiteral("Save Scheme to ") + path)) documentState->setTreePath(path);
        break;
    case kOpenHarvestList:
        context.FilePath.remove(QLatin1String(".kqs"), ci);
        context.FilePath.remove(QLatin1String(".kqi"), ci);
        path = ModOpenSave::showOpenDialog(context, QStringLiteral("hcl"), existing(documentState->TreePath()));
        if (path.isEmpty()) break;
        documentState->setTreePath(path);
        path = QStringLiteral("loadhcl=") + path + QStringLiteral(".kqi");
        break;
    case kOpenRssChannel:
        path = ModOpenSave::showOpenDialog(context, QStringLiteral("rss"), existing(documentState->TreePath()));
        if (path.isEmpty()) {
            mnuFileSaveList->setEnabled(false);
            break;
        }
        documentState->setTreePath(path);
        path = QStringLiteral("loadrss=") + path + QStringLiteral(".kqi");
        takeOverAsList(QStringLiteral("Save RSS Channel to ") + documentState->TreePath());
        mnuFileSaveList->setEnabled(true);
        break;
    case kOpenDirectory:
        if (around.record.saveHtmlCheck() == platform::kAnswerCancel) return;
        path = ModOpenSave::showOpenDialog(context, QStringLiteral("dir"), existing(context.FilePath));
        if (platform::lastPathSeparator(path) >= 0) path = platform::folderPart(path);
        break;
    default:
        context.user.MsgBox(QStringLiteral("File Open doesnt know this type"));
        return;
    }
    if (!path.isEmpty()) LoadFromOpen(path);
    setMnuFileSaveAs();
}

void FileMenu::LoadFromOpen(const QString& path) {
    if (path.isEmpty()) return;
    const QString extension = extensionOf(path);
    const auto is = [&](const char* e) { return extension == QLatin1String(e); };

    if (is(".kqb")) {
        context.BatchPath = path;
        modMTP::runMtpCommand(context, QStringLiteral("mtp://") + path);
    } else if (is(".htm") || is(".asp") || is(".cfm")) {
        // The panel is emptied next: unsaved edits get their question first.
        if (around.record.saveHtmlCheck() == platform::kAnswerCancel) return;
        context.FilePath = path;
        modMTP::runMtpCommand(context, QStringLiteral("mtp://delete=all.fld"));
        modMTP::runMtpCommand(context, QStringLiteral("mtp://open=") + path);
    } else if (is(".kqs")) {
        documentState->setTreePath(path);
        documentState->setListType(QStringLiteral("schema"));
        context.rootName = listRootName(path, extension);
        modMTP::runMtpCommand(context, QStringLiteral("mtp://open=") + path);
    } else if (is(".kqi") && (path.contains(QLatin1String("loadhcl="), ci) || path.contains(QLatin1String("loadrss="), ci))) {
        modMTP::runMtpCommand(context, QStringLiteral("mtp://") + path);
    } else if (is(".kqi")) {
        documentState->setTreePath(path);
        documentState->setListType(QStringLiteral("indexes"));
        context.rootName = listRootName(path, extension);
        modMTP::runMtpCommand(context, QStringLiteral("mtp://open=") + path);
    } else {
        around.navigation.showLocalFile(path);
    }
}
