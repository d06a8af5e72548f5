// The document state: which document carries unsaved changes, and the save questions.
#include "app/Form1.h"

#include "platform/MsgBox.h"
#include "platform/StatusBar.h"

int Form1::saveHtmlCheck() {
    // Until the record can be saved, a modified record is never given up unasked.
    if (StatusBar1->panelText(2) == QLatin1String("Modified") && StatusBar1->panelTag(2) == QLatin1String("Record"))
        return platform::vbCancel;
    return 0;
}

int Form1::saveListCheck(const QString&) {
    if (StatusBar1->panelText(2) == QLatin1String("Modified") && StatusBar1->panelTag(2) == QLatin1String("List"))
        return platform::vbCancel;
    return 0;
}

void Form1::setMnuFileSaveAs() {}

void Form1::showCurrentFile() {
    StatusBar1->setPanelText(1, currentHTMLFile);
}

void Form1::editCurrentLine() {}
