#pragma once
#include "core/program/CommandWindow.h"

#include <QString>

namespace platform {
struct BeforeNavigateEvent;
}  // namespace platform

// Opening pages in the main window's browser; every navigation passes its hub.
class Navigation {
public:
    virtual ~Navigation() = default;
    using PageLoad = CommandWindow::PageLoad;
    // Opens what the address box holds; after a user's own choice of it, its record is read.
    virtual void LoadURL() = 0;
    virtual void LoadURLFromLocation() = 0;
    virtual void GoHome() = 0;
    // Puts the address into the address box and opens it.
    virtual void openAddress(const QString& address) = 0;
    // Shows a local file the program does not open itself.
    virtual void showLocalFile(const QString& path) = 0;
    // Opens a page a command asked for and reads its record, whatever the browser is busy
    // with; says what became of the read.
    virtual PageLoad openPageForCommand(const QString& location) = 0;
    // Starts a second copy of the program with the address as its command line.
    virtual void startSecondInstance(const QString& address) = 0;
    // A navigation the hub decides on, as the browser raises it (commands from the help
    // window's pages come here too).
    virtual void WebBrowser1_BeforeNavigate2(platform::BeforeNavigateEvent& event) = 0;
};
