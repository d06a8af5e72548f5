#pragma once
#include "gui/frame/ViewMarks.h"
#include "core/program/ProgramContext.h"

#include <QObject>

class QAction;
class QWidget;
class ListPane;
class NavigationView;
class RecordDocument;
class RecordEditing;
class RecordView;
class WindowFrame;

// The View menu's handlers: each item shows or hides one part of the window (the toolbar,
// the status bar or a pane) and lays the window out again.
class ViewMenu : public QObject, public ViewMarks {
    Q_OBJECT
public:
    // What the menu asks of the panes.
    struct Neighbours {
        NavigationView& navigation;
        RecordDocument& record;
        RecordView& recordView;
        RecordEditing& recordEditing;
        ListPane& listPane;
    };
    // Finds its items under `menus` by their names and connects them.
    ViewMenu(ProgramContext& context, WindowFrame& frame, QObject& menus, QWidget* toolbar, const Neighbours& around);

    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuViewTreeView_Click() override;
    void mnuViewWebBrowser_Click();
    void mnuViewQuorvantile_Click() override;
    void mnuViewEdit_Click();

    bool treeViewChecked() const override;
    void setEditViewChecked(bool on) override;
    void setTreeViewChecked(bool on) override;

private:
    ProgramContext& context;
    WindowFrame& frame;
    const Neighbours around;
    QWidget* Toolbar1;
    QAction* mnuViewToolbar = nullptr;
    QAction* mnuViewStatusBar = nullptr;
    QAction* mnuViewTreeView = nullptr;
    QAction* mnuViewWebBrowser = nullptr;
    QAction* mnuViewQuorvantile = nullptr;
    QAction* mnuViewEdit = nullptr;
};
