// The list's save question, asked before something replaces or leaves a modified list.
#include "gui/catalogues/TreeDocument.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/ListPane.h"
#include "core/program/ProgramContext.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/RecordEditing.h"

#include "core/program/modFileExists.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "core/catalogues/ListTree.h"

namespace {

// A list path that names a real file place: not empty, not only an extension, not a bare name.
bool isUsableListPath(const QString& path) {
    const QString name = platform::fileNamePart(path);
    return !platform::folderPart(path).isEmpty() && !name.isEmpty() && !name.startsWith(QLatin1Char('.'));
}

}  // namespace

int TreeDocument::saveListCheck(const QString& reason) {
    if (!context.document.modified(DocumentState::DocumentState::Document::List)) return 0;
    QString path = context.document.TreePath();
    // Asked by the list's kind: the root's tag holds the path of a list read from a file.
    using Kind = DocumentState::ListKind;
    const Kind kind = context.document.listKind();
    const QString catalogTitle = QStringLiteral("Catalog has changed");
    const QString saveFirst = QStringLiteral("Save first ") + reason + QLatin1Char('?');

    int answer = 0;
    bool saved = false;
    if (kind == Kind::HarvestList) {
        answer = context.user.MsgBox(QStringLiteral("Before editing a metadata record you should save the Harvest Control List. ") +
                                         saveFirst,
                                     platform::kYesNoCancel, catalogTitle);
        // Whatever waits for the answer goes on only once the list is written.
        if (answer == platform::kAnswerYes) saved = saveHarvestListWithDialog();
    } else if (kind == Kind::Channel) {
        answer = context.user.MsgBox(QStringLiteral("The RSS Channel has been modified. ") + saveFirst, platform::kYesNoCancel,
                                     catalogTitle);
        if (answer == platform::kAnswerYes) saved = saveRssChannelWithDialog();
    } else if (path == QLatin1String("Main Catalog.kqi")) {
        answer = context.user.MsgBox(QStringLiteral("The catalog has been modified. ") + saveFirst, platform::kYesNoCancel,
                                     catalogTitle);
        if (answer == platform::kAnswerYes) {
            modMTP::runMtpCommand(context, context.macros.saveCatalogMacro);  // the repository stores it on its own time
        }
    } else if (kind == Kind::Catalogue) {
        answer = context.user.MsgBox(QStringLiteral("The catalog has been modified. ") + saveFirst, platform::kYesNoCancel,
                                     catalogTitle);
        if (answer == platform::kAnswerYes) {
            if (isUsableListPath(path) && modFileExists::fileExists(path)) saved = SaveAsList(path);
            else saved = around.fileMenu.mnuFileSaveAs_Click(DocumentMenu::kSaveAsCatalogue);
            around.recordEditing.EditPanelOff();
        }
    } else {
        answer = context.user.MsgBox(QStringLiteral("Save the list changes in the Tree View first?"), platform::kYesNoCancel,
                                     QStringLiteral("Current List is modified"));
        if (answer == platform::kAnswerYes) {
            if (isUsableListPath(path)) saved = SaveAsList(path);
            else saved = around.fileMenu.mnuFileSaveAs_Click(DocumentMenu::kSaveAsScheme);
            around.recordEditing.EditPanelOff();
        }
    }
    if (answer == platform::kAnswerNo) context.document.dropMark();
    if (answer == platform::kAnswerYes && !saved) return platform::kAnswerCancel;
    return answer;
}

int TreeDocument::markListmodifiedCheckHTML() {
    const int answer = around.record.saveHtmlCheck();
    if (answer != platform::kAnswerCancel) context.document.markModified(DocumentState::Document::List);
    if (context.document.saveCaption() != QLatin1String("Save Harvest Control List") && pane.activeTree().count() >= 1)
        context.document.setSaveCaption(QStringLiteral("Save ") + pane.activeTree().text(pane.activeTree().item(1)));
    around.fileMenu.setMnuFileSaveAs();
    return answer;
}
