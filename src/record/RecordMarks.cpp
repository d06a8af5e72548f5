// The current line, the marks that say which document holds unsaved changes, the record's
// save question, and the views of the document state: status panels and Save captions.
#include "app/Form1.h"

#include "app/ModOpenSave.h"
#include "app/modFileExists.h"
#include "commands/modMTP.h"
#include "commands/modMacros.h"
#include "core/catalogues/ListTree.h"
#include "core/record/Record.h"
#include "gui/record/MetaPanelView.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/StatusBar.h"

#include <QAction>
#include <QFileInfo>

using platform::MsgBox;

using Document = DocumentState::Document;

void Form1::SelectLine(int position) {
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

int Form1::markHTMLmodifiedCheckList(const QString& reason) {
    const int answer = saveListCheck(reason);
    if (answer != platform::vbCancel) {
        documentState->markModified(Document::Record);
        mnuMaintMeta(kCancelEditing)->setEnabled(true);
    }
    documentState->setSaveCaption(QStringLiteral("Save Record to ") + documentState->currentHTMLFile());
    setMnuFileSaveAs();
    return answer;
}

int Form1::markListmodifiedCheckHTML() {
    const int answer = saveHtmlCheck();
    if (answer != platform::vbCancel) documentState->markModified(Document::List);
    if (documentState->saveCaption() != QLatin1String("Save Harvest Control List") && activeTree()->count() >= 1)
        documentState->setSaveCaption(QStringLiteral("Save ") + activeTree()->text(activeTree()->item(1)));
    setMnuFileSaveAs();
    return answer;
}

bool Form1::saveRecordWhereItBelongs(const std::function<bool()>& elsewhere) {
    const QString file = documentState->currentHTMLFile();
    if (!file.isEmpty() && modFileExists::fileExists(file) && !QFileInfo(file).isDir()) return SaveAsHTML(file);
    // A page file that went away since it was opened (deleted, moved, a folder in its place)
    // is said to be gone: it is written again only when the user says so.
    if (!file.isEmpty() && platform::isLocalPath(file)) {
        const int answer = MsgBox(QStringLiteral("The page ") + file +
                                      QStringLiteral(" is no longer where it was opened.\r\n\r\n"
                                                     "Yes: write the page there again, with the record's metadata.\r\n"
                                                     "No: save it under another name.\r\n"
                                                     "Cancel: save nothing."),
                                  platform::vbYesNoCancel | platform::vbExclamation,
                                  QStringLiteral("Page no longer on disk"));
        if (answer == platform::vbYes) return SaveAsHTML(file);
        if (answer != platform::vbNo) return false;
        QString proposed = file;
        const QString chosen = ModOpenSave::showSaveDialog(context.fileDialog, ModOpenSave::kPageFilter, proposed, true);
        if (chosen.isEmpty()) return false;
        context.FilePath = chosen;
        return SaveAsHTML(chosen);
    }
    if (!context.macros.saveRecordMacro.isEmpty()) {
        // The repository finishes the save on its own time: nothing is known saved yet.
        modMTP::runCommand(context, context.macros.saveRecordMacro);
        return false;
    }
    return elsewhere();
}

int Form1::saveHtmlCheck() {
    if (!documentState->modified(Document::Record)) return 0;
    const int answer = MsgBox(QStringLiteral("Save the metadata edits in the metapanel first?"), platform::vbYesNoCancel,
                              QStringLiteral("Current document is being edited"));
    if (answer == platform::vbYes) {
        const bool saved = saveRecordWhereItBelongs([this] { return mnuFileSaveAs_Click(kSaveAsPage); });
        EditPanelOff();
        // Unless the record is now safely written, the caller must not go on and lose it.
        if (!saved) return platform::vbCancel;
    } else if (answer == platform::vbNo) {
        documentState->dropMark();
    }
    return answer;
}

void Form1::setMnuFileSaveAs() {
    bool recordItems = true;
    bool listItems = true;
    if (documentState->modified(Document::List)) {
        recordItems = false;
    } else if (documentState->modified(Document::Record) || activeTree()->count() == 0) {
        listItems = false;
    }
    for (int i = kSaveAsPage; i <= kSaveAsRssChannel; ++i)
        mnuFileSaveAs(i)->setEnabled(i <= kSaveAsTemplate ? recordItems : listItems);
}

void Form1::mnuFileDraw() {
    if (documentState->TreePath().contains(QLatin1String(".kqs"), Qt::CaseInsensitive))
        documentState->setSaveListCaption(QStringLiteral("Save Scheme"));
    else if (documentState->TreePath().contains(QLatin1String(".kqi"), Qt::CaseInsensitive))
        documentState->setSaveListCaption(QStringLiteral("Save Catalog"));
}

void Form1::showDocumentState() {
    StatusBar1->setPanelText(kDocumentPanel, documentState->modeText());
    StatusBar1->setPanelTag(kDocumentPanel, documentState->documentName());
    mnuFileSave->setText(documentState->saveCaption());
    mnuFileSaveList->setText(documentState->saveListCaption());
    showCurrentFile();
}

void Form1::showCurrentFile() {
    StatusBar1->setPanelText(kFilePanel, QStringLiteral("Current File:") + (documentState->currentHTMLFile().isEmpty()
                                                                      ? QStringLiteral("<No File>")
                                                                      : platform::fileNamePart(documentState->currentHTMLFile())));
}
