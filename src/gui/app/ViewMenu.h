#pragma once
#include "core/program/ProgramContext.h"

#include <QObject>

class QAction;
class QWidget;
class WindowFrame;

// The View menu's handlers: each item shows or hides one part of the window (the toolbar,
// the status bar or a pane) and lays the window out again.
class ViewMenu : public QObject {
    Q_OBJECT
public:
    // Finds its items under `menus` by their names and connects them.
    ViewMenu(ProgramContext& context, WindowFrame& frame, QObject& menus, QWidget* toolbar);

    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuViewTreeView_Click();
    void mnuViewWebBrowser_Click();
    void mnuViewQuorvantile_Click();
    void mnuViewEdit_Click();

    bool treeViewChecked() const;
    void setEditViewChecked(bool on);
    void setTreeViewChecked(bool on);

private:
    ProgramContext& context;
    WindowFrame& frame;
    QWidget* Toolbar1;
    QAction* mnuViewToolbar = nullptr;
    QAction* mnuViewStatusBar = nullptr;
    QAction* mnuViewTreeView = nullptr;
    QAction* mnuViewWebBrowser = nullptr;
    QAction* mnuViewQuorvantile = nullptr;
    QAction* mnuViewEdit = nullptr;
};
