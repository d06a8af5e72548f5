#pragma once
#include <QString>

namespace platform {
class Inet;
}  // namespace platform

// The help window as the other parts of the window ask it.
class HelpPages {
public:
    virtual ~HelpPages() = default;
    // Help on a scheme the program knows no list for, shown modal.
    virtual void showSchemeHelp(const QString& address) = 0;
    // An HTML page the program hands over (the list loader's error report).
    virtual void showHelpHtml(const QString& html) = 0;
    // The transfer control the repository's replies arrive on.
    virtual platform::Inet& repositoryTransfer() = 0;
};
