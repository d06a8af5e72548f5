// The record's mark of unsaved changes and its save question.
#include "gui/record/RecordSaving.h"

#include "gui/frame/DocumentMenu.h"
#include "gui/frame/ListDocument.h"
#include "gui/record/RecordEditPanel.h"
#include "gui/record/RecordNeighbours.h"
#include "core/program/ModOpenSave.h"
#include "core/program/ProgramContext.h"
#include "core/program/modFileExists.h"
#include "core/commands/modMTP.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"

#include <QAction>
#include <QFileInfo>

using Document = DocumentState::Document;

RecordSaving::RecordSaving(ProgramContext& context, const RecordNeighbours& around, QAction& cancelEditing,
                           RecordEditPanel& editPanel)
    : context(context), around(around), cancelEditing(cancelEditing), editPanel(editPanel) {}

int RecordSaving::markHTMLmodifiedCheckList(const QString& reason) {
    DocumentState& documentState = context.document;
    const int answer = around.listDocument.saveListCheck(reason);
    if (answer != platform::kAnswerCancel) {
        documentState.markModified(Document::Record);
        cancelEditing.setEnabled(true);
    }
    documentState.setSaveCaption(QStringLiteral("Save Record to ") + documentState.currentHTMLFile());
    around.fileMenu.setMnuFileSaveAs();
    return answer;
}

bool RecordSaving::saveRecordWhereItBelongs(const std::function<bool()>& elsewhere) {
    const QString file = context.document.currentHTMLFile();
    if (!file.isEmpty() && modFileExists::fileExists(file) && !QFileInfo(file).isDir()) return SaveAsHTML(file);
    // A page file that went away since it was opened (deleted, moved, a folder in its place)
    // is said to be gone: it is written again only when the user says so.
    if (!file.isEmpty() && platform::isLocalPath(file)) {
        const int answer = context.user.MsgBox(QStringLiteral("The page ") + file +
                                                   QStringLiteral(" is no longer where it was opened.\r\n\r\n"
                                                                  "Yes: write the page there again, with the record's metadata.\r\n"
                                                                  "No: save it under another name.\r\n"
                                                                  "Cancel: save nothing."),
                                               platform::kYesNoCancel | platform::kExclamationIcon,
                                               QStringLiteral("Page no longer on disk"));
        if (answer == platform::kAnswerYes) return SaveAsHTML(file);
        if (answer != platform::kAnswerNo) return false;
        QString proposed = file;
        const QString chosen = ModOpenSave::showSaveDialog(context, ModOpenSave::kPageFilter, proposed, true);
        if (chosen.isEmpty()) return false;
        context.FilePath = chosen;
        return SaveAsHTML(chosen);
    }
    if (!context.macros.saveRecordMacro.isEmpty()) {
        // The repository finishes the save on its own time: nothing is known saved yet.
        modMTP::runMtpCommand(context, context.macros.saveRecordMacro);
        return false;
    }
    return elsewhere();
}

int RecordSaving::saveHtmlCheck() {
    if (!context.document.modified(Document::Record)) return 0;
    const int answer = context.user.MsgBox(QStringLiteral("Save the metadata edits in the metapanel first?"), platform::kYesNoCancel,
                                           QStringLiteral("Current document is being edited"));
    if (answer == platform::kAnswerYes) {
        const bool saved = saveRecordWhereItBelongs([this] { return around.fileMenu.mnuFileSaveAs_Click(DocumentMenu::kSaveAsPage); });
        editPanel.EditPanelOff();
        // Unless the record is now safely written, the caller must not go on and lose it.
        if (!saved) return platform::kAnswerCancel;
    } else if (answer == platform::kAnswerNo) {
        context.document.dropMark();
    }
    return answer;
}

