#pragma once
#include <QString>

namespace platform {
class Inet;
}  // namespace platform

// The page the main window's browser shows, and the window's transfer control.
class PageBrowser {
public:
    virtual ~PageBrowser() = default;
    // The browser's present address and page title.
    virtual QString browserLocationURL() const = 0;
    virtual QString browserLocationName() const = 0;
    // The visible text of the link with this exact href in the page shown.
    virtual QString linkNameOnPage(const QString& address) const = 0;
    virtual void focusBrowser() = 0;
    // The browser prints the page it shows, through its own print dialog.
    virtual void PrintPage() = 0;
    // A line in the status bar about a page command that did not run; it stays over the
    // "Ready" of the page load under way, until the next load begins.
    virtual void showNotice(const QString& text) = 0;
    virtual platform::Inet& inet() const = 0;
};
