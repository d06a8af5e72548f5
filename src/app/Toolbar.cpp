// The toolbar's buttons and history lists, the status bar's document panel, and printing.
#include "app/Form1.h"
#include "gui/record/RecordPane.h"

#include "app/LogoWidget.h"
#include "commands/modMacros.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/StatusBar.h"
#include "platform/WebBrowser.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

// ---- status bar --------------------------------------------------------------------

void Form1::StatusBar1_MouseMove(double x) {
    int panel = 0;
    for (int i = 1; i <= StatusBar1->panelCount(); ++i) {
        const double left = StatusBar1->panelLeft(i);
        if (left < x && x < left + StatusBar1->panelWidth(i)) {
            panel = i;
            break;
        }
    }
    QString tip;
    if (panel == 2) {
        const auto line = [&](const char* label, const QString& value) {
            if (!value.isEmpty()) tip += QLatin1String(label) + value + QLatin1String("\r\n");
        };
        line("Current HTML File being edited is: ", documentState->currentHTMLFile());
        line("Current Repository Save macro is: ", context.macros.saveRecordMacro);
        line("Current Repository Open macro is: ", context.macros.openRecordMacro);
    }
    StatusBar1->setToolTip(tip.trimmed());
}

void Form1::StatusBar1_PanelClick(int panel) {
    if (panel != 2) return;
    QString message;
    const auto line = [&](const char* label, const QString& value) {
        if (!value.isEmpty()) message += QLatin1String(label) + value + QLatin1String("\r\n");
    };
    line("HTML File: ", documentState->currentHTMLFile());
    line("Current Tree Path: ", documentState->TreePath());
    line("Save macro is: ", context.macros.saveRecordMacro);
    line("Save List macro is: ", context.macros.saveCatalogMacro);
    line("Open macro is: ", context.macros.openRecordMacro);
    line("Open List macro is: ", context.macros.openCatalogMacro);
    line("Current Tree Path : ", documentState->TreePath());
    line("Current Editing Mode: ", documentState->documentName());
    line("Schemes registered on the Repository are ", context.macros.repositorySchemes);
    if (!message.isEmpty()) platform::MsgBox(message);
}
