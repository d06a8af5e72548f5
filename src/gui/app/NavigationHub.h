#pragma once
#include "gui/frame/Navigation.h"

#include <QString>

class AddressBar;
class BrowserPanel;
class LogoWidget;
class ProgramContext;
struct NavigationNeighbours;

// The browser's navigation hub: every page the browser is asked to open passes here and is
// shown, read for its metadata, run as a command, or handed to a second window.
class NavigationHub final : public Navigation {
public:
    // The browser, made after the hub, is only kept.
    NavigationHub(ProgramContext& context, const NavigationNeighbours& around, AddressBar& addressBar,
                  BrowserPanel& browser, LogoWidget& logo);

    void LoadURL() override;
    void LoadURLFromLocation() override;
    void GoHome() override;
    void openAddress(const QString& address) override;
    void showLocalFile(const QString& path) override;
    PageLoad openPageForCommand(const QString& location) override;
    void startSecondInstance(const QString& address) override;
    void WebBrowser1_BeforeNavigate2(platform::BeforeNavigateEvent& event) override;
    // Reads the page shown again, then has the browser reload it.
    void refreshPage();
    // A page finished loading: the next navigation is read.
    void armNextRead();
    // A window starting: the next navigation is read, with no flags.
    void reset();

private:
    ProgramContext& context;
    const NavigationNeighbours& around;
    AddressBar& addressBar;
    BrowserPanel& browser;
    LogoWidget& logo;
    bool navArmed = true;
    int navFlags = 0;
    // The navigation under way is a command's own page (see openPageForCommand).
    bool commandNavigation_ = false;
};
