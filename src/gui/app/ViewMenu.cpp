// The View menu: each item shows or hides one pane and lays the window out again.
#include "gui/app/ViewMenu.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/NavigationView.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/RecordEditing.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/WindowFrame.h"

#include "gui/frame/Layout.h"
#include "core/commands/modMTP.h"
#include "core/record/Record.h"
#include "platform/widgets/MenuItems.h"
#include "platform/MsgBox.h"
#include "platform/widgets/StatusBar.h"
#include "platform/Twips.h"

#include <QAction>
#include <QToolBar>

ViewMenu::ViewMenu(ProgramContext& context, WindowFrame& frame, QObject& menus, QWidget* toolbar,
                   const Neighbours& around)
    : QObject(&menus), context(context), frame(frame), around(around), Toolbar1(toolbar) {
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
    around.navigation.showLogo(mnuViewToolbar->isChecked());
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
    around.listPane.setActiveTreeVisible(mnuViewTreeView->isChecked());
    double x = mnuViewTreeView->isChecked() ? frame.treePaneWidth() : frame.splitterX(), y = frame.splitterY();
    frame.SizeControls(x, y);
}

void ViewMenu::mnuViewWebBrowser_Click() {
    mnuViewWebBrowser->setChecked(!mnuViewWebBrowser->isChecked());
    around.navigation.showBrowser(mnuViewWebBrowser->isChecked());
    frame.relayout();
}

void ViewMenu::mnuViewQuorvantile_Click() {
    if (mnuViewQuorvantile->isChecked() && around.record.saveHtmlCheck() == platform::kAnswerCancel) return;
    mnuViewQuorvantile->setChecked(!mnuViewQuorvantile->isChecked());
    around.recordView.showMetaPanel(mnuViewQuorvantile->isChecked());
    around.recordEditing.EditPanelOff();
    double y = std::max(4000.0, frame.splitterForLines(context.record.count(), 0));
    double x = frame.splitterX();
    frame.SizeControls(x, y);
}

void ViewMenu::mnuViewEdit_Click() {
    mnuViewEdit->setChecked(!mnuViewEdit->isChecked());
    const bool show = mnuViewEdit->isChecked();
    if (!around.recordView.metaPanelShown()) mnuViewQuorvantile_Click();
    mnuViewEdit->setChecked(show);
    around.recordEditing.setEditPanelVisible(show);
    if (!show) {
        around.recordEditing.EditPanelOff();
        return;
    }
    double y = frame.splitterForLines(context.record.count(), Layout::kEditPanelHeight);
    frame.moveHSplitter(y);
    around.recordEditing.EditPanelOn();
    if (!context.record.selectedLine() && context.record.isEmpty()) {
        modMTP::runMtpCommand(context, QStringLiteral("mtp://field=.fld / "));
    } else if (context.record.selectedLine()) {
        around.recordEditing.editCurrentLine();
    }
}
