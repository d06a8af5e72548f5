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

// ---- toolbar -----------------------------------------------------------------------

void Form1::Toolbar1_ButtonClick(int index) {
    QAction* button = toolbarButtons(index);
    const QString tip = button ? button->toolTip() : QString();
    if (tip == QLatin1String("Previous")) {
        WebBrowser1->GoBack();
    } else if (tip == QLatin1String("Next")) {
        WebBrowser1->GoForward();
    } else if (tip == QLatin1String("Stop")) {
        WebBrowser1->Stop();
        Gif89a1->Stop();
    } else if (tip == QLatin1String("Home")) {
        WebBrowser1->Stop();
        Gif89a1->Stop();
        GoHome();
    } else if (tip == QLatin1String("Refresh")) {
        navFlags = 4;
        const QString address = URL->currentText();
        if (address.contains(QLatin1String("http://"), Qt::CaseInsensitive) ||
            address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) || address.startsWith(QLatin1Char('/')))
            recordPane->LoadMetadataFromURL(address, true);
        WebBrowser1->Refresh2(platform::REFRESH_CONTINUE);
        navFlags = 0;
    } else if (tip == QLatin1String("Search")) {
        WebBrowser1->GoSearch();
    } else if (tip == QLatin1String("Print")) {
        PrintPage();
    }
}

void Form1::Toolbar1_ButtonMenuClick(int buttonIndex, int entryIndex) {
    prevNextMenuClick(buttonIndex, entryIndex);
}

// The browser prints the page it shows, through its own print dialog.
void Form1::PrintPage() {
    if (!(WebBrowser1->QueryStatusWB(platform::OLECMDID_PRINT) & platform::OLECMDF_ENABLED)) {
        platform::MsgBox(QStringLiteral("The Print command is currently disabled."));
        return;
    }
    QString error;
    if (!WebBrowser1->ExecWB(platform::OLECMDID_PRINT, platform::OLECMDEXECOPT_PROMPTUSER, &error))
        platform::MsgBox(QStringLiteral("Print command Error: ") + error);
}

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

// ---- history lists -----------------------------------------------------------------

namespace {
void fillMenu(QMenu* menu, const QList<Form1::HistoryEntry>& entries) {
    menu->clear();
    for (int i = 0; i < entries.size(); ++i) {
        QAction* a = menu->addAction(entries[i].text.isEmpty() ? entries[i].tag : entries[i].text);
        a->setData(i + 1);
    }
}
}  // namespace

void Form1::refreshHistoryButtons() {
    toolbarButtons(kPreviousButton)->setEnabled(!backList.isEmpty());
    toolbarButtons(kNextButton)->setEnabled(!forwardList.isEmpty());
    for (int index : {kPreviousButton, kNextButton}) {
        auto* button = qobject_cast<QToolButton*>(Toolbar1->widgetForAction(toolbarButtons(index)));
        if (button && button->menu()) fillMenu(button->menu(), index == kPreviousButton ? backList : forwardList);
    }
}

void Form1::prevNextLoad2(int mode, const QString& location, const QString& text) {
    if (mode != 1 || location.isEmpty()) return;
    backList.prepend(HistoryEntry{text, location});
    refreshHistoryButtons();
}

void Form1::prevNextMenuClick(int buttonIndex, int entryIndex) {
    if (buttonIndex == kPreviousButton) prevNextMove(1, entryIndex);
    else if (buttonIndex == kNextButton) prevNextMove(2, entryIndex);
}

// A browser-style move: the entries before the chosen one and the current page go over
// to the other list, newest first, and the chosen entry is loaded.
void Form1::prevNextMove(int direction, int k) {
    QList<HistoryEntry>& source = direction == 1 ? backList : forwardList;
    QList<HistoryEntry>& destination = direction == 1 ? forwardList : backList;
    if (k < 1 || k > source.size()) return;
    QList<HistoryEntry> moved;
    for (int i = k - 2; i >= 0; --i) moved.append(source[i]);
    moved.append(lastDownload_);
    destination = moved + destination;
    URL->setEditText(source[k - 1].tag);
    source.erase(source.begin(), source.begin() + k);
    navArmed = true;
    LoadURL();
    refreshHistoryButtons();
}
