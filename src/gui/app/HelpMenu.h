#pragma once
#include "gui/app/frmHelpBrowser.h"
#include "gui/frame/HelpPages.h"

#include <QObject>
#include <QPointer>
#include <QString>

class ProgramContext;
class WindowFrame;
class QWidget;
class frmAbout;

// The Help menu's handlers: documentation pages in the help window, the current domain's
// tutorial, the cookbooks and what is new in the browser, and the about box. The help
// window and the about box are made on first use; the help window is a window of its own
// and goes with the menu.
class HelpMenu : public QObject, public HelpPages {
    Q_OBJECT
public:
    // What the menu and its help window ask of the main window's panes.
    using Neighbours = frmHelpBrowser::MainWindow;
    HelpMenu(ProgramContext& context, WindowFrame& frame, const Neighbours& around);
    ~HelpMenu() override;

    // Connects the handlers to the menu's items, found by their object names under `menus`.
    void connectItems(QObject& menus);

    // Documentation item 1..14 (6 and 13 are submenus); its Menus and Macros pages 1..6.
    void mnuHelpDocIndex_Click(int index);
    void mnuHelpDocMenus_Click(int index);
    void mnuHelpDocMacros_Click(int index);
    // The current domain's tutorial, else the general one.
    void mnuHelpTutorial_Click();
    void showAboutBox();
    // Shows the help window at a path of the scheme server (null: as it stands).
    void showHelpPage(const char* path);
    frmHelpBrowser& helpWindow();
    void showSchemeHelp(const QString& address) override;
    void showHelpHtml(const QString& html) override;
    platform::Inet& repositoryTransfer() override;

private:
    // The address box shows the scheme server's page and the browser goes there.
    void openServerPage(const QString& path);

    ProgramContext& context_;
    WindowFrame& frame_;
    const Neighbours around_;
    QPointer<frmHelpBrowser> helpWindow_;
    frmAbout* aboutBox_ = nullptr;
};
