// The current line, the record's mark of unsaved changes and its save question.
#include "gui/record/RecordPane.h"
#include "gui/frame/WindowFrame.h"

#include "core/program/ModOpenSave.h"
#include "core/program/modFileExists.h"
#include "core/commands/modMTP.h"
#include "core/record/Record.h"
#include "gui/record/MetaPanelView.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"

#include <QFileInfo>

using Document = DocumentState::Document;

void RecordPane::SelectLine(int position) {
    if (record->isEmpty()) return;
    // Only the lines that change are touched, so a long record costs no more than a short one.
    const Record::LineId chosen = record->idAt(position);
    for (const Record::LineId bold : record->boldLines())
        if (bold != chosen) record->setBold(bold, false);
    record->selectOnly(chosen);
    if (!chosen) return;
    record->setBold(chosen, true);
    MetaPanel->showLine(chosen);
}

int RecordPane::markHTMLmodifiedCheckList(const QString& reason) {
    const int answer = frame.saveListCheck(reason);
    if (answer != platform::kAnswerCancel) {
        documentState->markModified(Document::Record);
        mnuMaintMeta(kCancelEditing)->setEnabled(true);
    }
    documentState->setSaveCaption(QStringLiteral("Save Record to ") + documentState->currentHTMLFile());
    frame.setMnuFileSaveAs();
    return answer;
}

bool RecordPane::saveRecordWhereItBelongs(const std::function<bool()>& elsewhere) {
    const QString file = documentState->currentHTMLFile();
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

int RecordPane::saveHtmlCheck() {
    if (!documentState->modified(Document::Record)) return 0;
    const int answer = context.user.MsgBox(QStringLiteral("Save the metadata edits in the metapanel first?"), platform::kYesNoCancel,
                                           QStringLiteral("Current document is being edited"));
    if (answer == platform::kAnswerYes) {
        const bool saved = saveRecordWhereItBelongs([this] { return frame.saveAs(WindowFrame::kSaveAsPage); });
        EditPanelOff();
        // Unless the record is now safely written, the caller must not go on and lose it.
        if (!saved) return platform::kAnswerCancel;
    } else if (answer == platform::kAnswerNo) {
        documentState->dropMark();
    }
    return answer;
}

