// The View menu: each item shows or hides one pane and lays the window out again.
#include "gui/app/ViewMenu.h"
#include "gui/frame/WindowFrame.h"
#include "gui/app/NavigationPane.h"
#include "gui/catalogues/TreePane.h"
#include "gui/record/RecordPane.h"

#include "gui/app/LogoWidget.h"
#include "gui/app/SplitterGrip.h"
#include "core/commands/modMTP.h"
#include "core/record/Record.h"
#include "gui/catalogues/ListTreeView.h"
#include "gui/record/MetaPanelView.h"
#include "platform/widgets/MenuItems.h"
#include "platform/MsgBox.h"
#include "platform/widgets/StatusBar.h"
#include "platform/Twips.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QToolBar>

ViewMenu::ViewMenu(ProgramContext& context, WindowFrame& frame, QObject& menus, QWidget* toolbar)
    : QObject(&menus), context(context), frame(frame), Toolbar1(toolbar) {
    const auto connectItem = [this, &menus](QAction*& item, const char* name, void (ViewMenu::*handler)()) {
        item = menuItems::find(menus, QLatin1String(name));
        menuItems::connectToggle(item, this, [this, handler] { (this->*handler)(); });
    };
    connectItem(mnuViewToolbar, "mnuViewToolbar", &ViewMenu::mnuViewToolbar_Click);
    connectItem(mnuViewStatusBar, "mnuViewStatusBar", &ViewMenu::mnuViewStatusBar_Click);
    connectItem(mnuViewTreeView, "mnuViewTreeView", &ViewMenu::mnuViewTreeView_Click);
    connectItem(mnuViewWebBrowser, "mnuViewWebBrowser", &ViewMenu::mnuViewWebBrowser_Click);
    connectItem(mnuViewQuorvantile, "mnuViewQuorvantile", &ViewMenu::mnuViewQuorvantile_Click);
    connectItem(mnuViewEdit, "mnuViewEdit", &ViewMenu::mnuViewEdit_Click);
}

bool ViewMenu::treeViewChecked() const {
    return mnuViewTreeView->isChecked();
}

void ViewMenu::setEditViewChecked(bool on) {
    mnuViewEdit->setChecked(on);
}

void ViewMenu::setTreeViewChecked(bool on) {
    mnuViewTreeView->setChecked(on);
}

void ViewMenu::mnuViewToolbar_Click() {
    mnuViewToolbar->setChecked(!mnuViewToolbar->isChecked());
    Toolbar1->setVisible(mnuViewToolbar->isChecked());
    frame.navigationPane().showLogo(mnuViewToolbar->isChecked());
    double x = frame.splitterX(), y = 0;
    frame.SizeControls(x, y);
}

void ViewMenu::mnuViewStatusBar_Click() {
    mnuViewStatusBar->setChecked(!mnuViewStatusBar->isChecked());
    frame.statusBar().setVisible(mnuViewStatusBar->isChecked());
    double x = frame.splitterX(), y = 0;
    frame.SizeControls(x, y);
}

void ViewMenu::mnuViewTreeView_Click() {
    mnuViewTreeView->setChecked(!mnuViewTreeView->isChecked());
    frame.treePane().setActiveTreeVisible(mnuViewTreeView->isChecked());
    double x = mnuViewTreeView->isChecked() ? frame.treePaneWidth() : frame.splitterX(), y = frame.splitterY();
    frame.SizeControls(x, y);
}

void ViewMenu::mnuViewWebBrowser_Click() {
    mnuViewWebBrowser->setChecked(!mnuViewWebBrowser->isChecked());
    frame.navigationPane().showBrowser(mnuViewWebBrowser->isChecked());
    frame.relayout();
}

void ViewMenu::mnuViewQuorvantile_Click() {
    if (mnuViewQuorvantile->isChecked() && frame.recordPane().saveHtmlCheck() == platform::kAnswerCancel) return;
    mnuViewQuorvantile->setChecked(!mnuViewQuorvantile->isChecked());
    frame.recordPane().showMetaPanel(mnuViewQuorvantile->isChecked());
    frame.recordPane().EditPanelOff();
    double y = std::max(4000.0, frame.splitterForLines(context.record.count(), 0));
    double x = frame.splitterX();
    frame.SizeControls(x, y);
}

void ViewMenu::mnuViewEdit_Click() {
    mnuViewEdit->setChecked(!mnuViewEdit->isChecked());
    const bool show = mnuViewEdit->isChecked();
    if (!frame.recordPane().metaPanelShown()) mnuViewQuorvantile_Click();
    mnuViewEdit->setChecked(show);
    frame.recordPane().setEditPanelVisible(show);
    if (!show) {
        frame.recordPane().EditPanelOff();
        return;
    }
    double y = frame.splitterForLines(context.record.count(), Layout::kEditPanelHeight);
    frame.moveHSplitter(y);
    frame.recordPane().EditPanelOn();
    if (!context.record.selectedLine() && context.record.isEmpty()) {
        modMTP::runMtpCommand(context, QStringLiteral("mtp://field=.fld / "));
    } else if (context.record.selectedLine()) {
        frame.recordPane().editCurrentLine();
    }
}
