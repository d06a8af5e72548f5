// The File menu's and the status bar's views of the document state: the Save items and
// captions, the current file; and the list's mark, which asks about the record first.
#include "gui/app/WindowFrame.h"
#include "app/Form1.h"
#include "gui/catalogues/TreePane.h"

#include "core/catalogues/ListTree.h"
#include "gui/record/RecordPane.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/StatusBar.h"

#include <QAction>

using Document = DocumentState::Document;

void Form1::setMnuFileSaveAs() {
    bool recordItems = true;
    bool listItems = true;
    if (documentState->modified(Document::List)) {
        recordItems = false;
    } else if (documentState->modified(Document::Record) || treePane->activeTree().count() == 0) {
        listItems = false;
    }
    for (int i = WindowFrame::kSaveAsPage; i <= WindowFrame::kSaveAsRssChannel; ++i)
        mnuFileSaveAs(i)->setEnabled(i <= WindowFrame::kSaveAsTemplate ? recordItems : listItems);
}

void Form1::mnuFileDraw() {
    if (documentState->TreePath().contains(QLatin1String(".kqs"), Qt::CaseInsensitive))
        documentState->setSaveListCaption(QStringLiteral("Save Scheme"));
    else if (documentState->TreePath().contains(QLatin1String(".kqi"), Qt::CaseInsensitive))
        documentState->setSaveListCaption(QStringLiteral("Save Catalog"));
}

void Form1::showDocumentState() {
    StatusBar1->setPanelText(WindowFrame::kDocumentPanel, documentState->modeText());
    StatusBar1->setPanelTag(WindowFrame::kDocumentPanel, documentState->documentName());
    mnuFileSave->setText(documentState->saveCaption());
    mnuFileSaveList->setText(documentState->saveListCaption());
    showCurrentFile();
}

void Form1::showCurrentFile() {
    StatusBar1->setPanelText(WindowFrame::kFilePanel, QStringLiteral("Current File:") + (documentState->currentHTMLFile().isEmpty()
                                                                      ? QStringLiteral("<No File>")
                                                                      : platform::fileNamePart(documentState->currentHTMLFile())));
}
