// The File menu's and the status bar's views of the document state: the Save items and
// captions, the current file; and the list's mark, which asks about the record first.
#include "gui/frame/ListPane.h"
#include "gui/frame/WindowFrame.h"
#include "gui/app/FileMenu.h"

#include "core/catalogues/ListTree.h"
#include "platform/PathText.h"
#include "platform/widgets/StatusBar.h"

#include <QAction>

using Document = DocumentState::Document;

namespace {

// The label and the value on a line of their own, when there is a value.
void addLine(QString& text, const char* label, const QString& value) {
    if (!value.isEmpty()) text += QLatin1String(label) + value + QLatin1String("\r\n");
}

}  // namespace

void FileMenu::setMnuFileSaveAs() {
    bool recordItems = true;
    bool listItems = true;
    if (documentState->modified(Document::List)) {
        recordItems = false;
    } else if (documentState->modified(Document::Record) || around.listPane.activeTree().count() == 0) {
        listItems = false;
    }
    for (int i = DocumentMenu::kSaveAsPage; i <= DocumentMenu::kSaveAsRssChannel; ++i)
        mnuFileSaveAs(i)->setEnabled(i <= DocumentMenu::kSaveAsTemplate ? recordItems : listItems);
}

void FileMenu::mnuFileDraw() {
    if (documentState->TreePath().contains(QLatin1String(".kqs"), Qt::CaseInsensitive))
        documentState->setSaveListCaption(QStringLiteral("Save Scheme"));
    else if (documentState->TreePath().contains(QLatin1String(".kqi"), Qt::CaseInsensitive))
        documentState->setSaveListCaption(QStringLiteral("Save Catalog"));
}

void FileMenu::showDocumentState() {
    frame.statusBar().setPanelText(WindowFrame::kDocumentPanel, documentState->modeText());
    frame.statusBar().setPanelTag(WindowFrame::kDocumentPanel, documentState->documentName());
    mnuFileSave->setText(documentState->saveCaption());
    mnuFileSaveList->setText(documentState->saveListCaption());
    showCurrentFile();
}

void FileMenu::showCurrentFile() {
    frame.statusBar().setPanelText(WindowFrame::kFilePanel, QStringLiteral("Current File:") + (documentState->currentHTMLFile().isEmpty()
                                                                      ? QStringLiteral("<No File>")
                                                                      : platform::fileNamePart(documentState->currentHTMLFile())));
}

// ---- the status bar ----------------------------------------------------------------

void FileMenu::StatusBar1_MouseMove(double x) {
    int panel = 0;
    for (int i = 1; i <= frame.statusBar().panelCount(); ++i) {
        const double left = frame.statusBar().panelLeft(i);
        if (left < x && x < left + frame.statusBar().panelWidth(i)) {
            panel = i;
            break;
        }
    }
    QString tip;
    if (panel == WindowFrame::kDocumentPanel) {
        addLine(tip, "Current HTML File being edited is: ", context.document.currentHTMLFile());
        addLine(tip, "Current Repository Save macro is: ", context.macros.saveRecordMacro);
        addLine(tip, "Current Repository Open macro is: ", context.macros.openRecordMacro);
    }
    frame.statusBar().setToolTip(tip.trimmed());
}

void FileMenu::StatusBar1_PanelClick(int panel) {
    if (panel != WindowFrame::kDocumentPanel) return;
    QString message;
    addLine(message, "HTML File: ", context.document.currentHTMLFile());
    addLine(message, "Current Tree Path: ", context.document.TreePath());
    addLine(message, "Save macro is: ", context.macros.saveRecordMacro);
    addLine(message, "Save List macro is: ", context.macros.saveCatalogMacro);
    addLine(message, "Open macro is: ", context.macros.openRecordMacro);
    addLine(message, "Open List macro is: ", context.macros.openCatalogMacro);
    addLine(message, "Current Tree Path : ", context.document.TreePath());
    addLine(message, "Current Editing Mode: ", context.document.documentName());
    addLine(message, "Schemes registered on the Repository are ", context.macros.repositorySchemes);
    if (!message.isEmpty()) context.user.MsgBox(message);
}

void FileMenu::enableSave() {
    mnuFileSave->setEnabled(true);
}

void FileMenu::enableSaveList() {
    mnuFileSaveList->setEnabled(true);
}

void FileMenu::setSaveAsCaption(int index, const QString& caption) {
    if (QAction* item = mnuFileSaveAs(index)) item->setText(caption);
}
