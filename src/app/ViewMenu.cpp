// The View menu: each item shows or hides one pane and lays the window out again.
#include "app/Form1.h"
#include "gui/app/NavigationPane.h"
#include "gui/catalogues/TreePane.h"
#include "gui/record/RecordPane.h"

#include "app/LogoWidget.h"
#include "app/SplitterGrip.h"
#include "commands/modMTP.h"
#include "core/record/Record.h"
#include "gui/catalogues/ListTreeView.h"
#include "gui/record/MetaPanelView.h"
#include "platform/MsgBox.h"
#include "platform/StatusBar.h"
#include "platform/Twips.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QToolBar>

void Form1::mnuViewToolbar_Click() {
    mnuViewToolbar->setChecked(!mnuViewToolbar->isChecked());
    Toolbar1->setVisible(mnuViewToolbar->isChecked());
    navigationPane->showLogo(mnuViewToolbar->isChecked());
    double x = splitterX(), y = 0;
    SizeControls(x, y);
}

void Form1::mnuViewStatusBar_Click() {
    mnuViewStatusBar->setChecked(!mnuViewStatusBar->isChecked());
    StatusBar1->setVisible(mnuViewStatusBar->isChecked());
    double x = splitterX(), y = 0;
    SizeControls(x, y);
}

void Form1::mnuViewTreeView_Click() {
    mnuViewTreeView->setChecked(!mnuViewTreeView->isChecked());
    treePane->setActiveTreeVisible(mnuViewTreeView->isChecked());
    double x = mnuViewTreeView->isChecked() ? treePaneTwips_ : splitterX(), y = splitterY();
    SizeControls(x, y);
}

void Form1::mnuViewWebBrowser_Click() {
    mnuViewWebBrowser->setChecked(!mnuViewWebBrowser->isChecked());
    navigationPane->showBrowser(mnuViewWebBrowser->isChecked());
    double x = splitterX(), y = splitterY();
    SizeControls(x, y);
}

void Form1::mnuViewQuorvantile_Click() {
    if (mnuViewQuorvantile->isChecked() && recordPane->saveHtmlCheck() == platform::vbCancel) return;
    mnuViewQuorvantile->setChecked(!mnuViewQuorvantile->isChecked());
    recordPane->showMetaPanel(mnuViewQuorvantile->isChecked());
    recordPane->EditPanelOff();
    double y = std::max(4000.0, splitterForLines(context.record.count(), 0));
    double x = splitterX();
    SizeControls(x, y);
}

void Form1::mnuViewEdit_Click() {
    mnuViewEdit->setChecked(!mnuViewEdit->isChecked());
    const bool show = mnuViewEdit->isChecked();
    if (!recordPane->metaPanelShown()) mnuViewQuorvantile_Click();
    mnuViewEdit->setChecked(show);
    recordPane->setEditPanelVisible(show);
    if (!show) {
        recordPane->EditPanelOff();
        return;
    }
    double y = splitterForLines(context.record.count(), Layout::kEditPanelHeight);
    moveHSplitter(y);
    recordPane->EditPanelOn();
    if (!context.record.selectedLine() && context.record.isEmpty()) {
        modMTP::runCommand(context, QStringLiteral("mtp://field=.fld / "));
    } else if (context.record.selectedLine()) {
        recordPane->editCurrentLine();
    }
}
