#pragma once
#include "core/program/Switch.h"

#include <QString>

namespace platform {
class Inet;
}  // namespace platform

// The user's preferences, named after their stored values. Read at start-up, written back
// when the main window closes and when the preferences dialog's OK is pressed.
struct Preferences {
    QString Home;
    QString FileNewURL;
    QString charEncoding = QStringLiteral("2");  // "0" none, "1" percent escapes, "2" HTML entities
    Switch UseLinkRel{QStringLiteral("Y")};
    Switch CompleteMtp{QStringLiteral("Y")};
    Switch fixMeta{QStringLiteral("N")};
    Switch ClearCache{QStringLiteral("Y")};
    Switch showSplash{QStringLiteral("Y")};
    QString Language = QStringLiteral("Australian");
    Switch checkHarvest{QStringLiteral("N")};
    QString siteAdmin;
    QString siteAdminEmail;
    QString INETname;  // firewall (proxy) user name
    QString INETid;    // firewall (proxy) password

    // Gives a transfer the firewall's user name and password.
    void signIn(platform::Inet& transfer) const;
};
