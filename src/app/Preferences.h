#pragma once
#include <QString>

// The user's preferences, named after their stored values. Read once at start-up,
// written back when the main window closes and when the preferences dialog's OK is pressed.
namespace Preferences {

inline QString Home;
inline QString FileNewURL;
inline QString charEncoding = QStringLiteral("2");  // "0" none, "1" percent escapes, "2" HTML entities
inline QString UseLinkRel = QStringLiteral("Y");
inline QString CompleteMtp = QStringLiteral("Y");
inline QString fixMeta = QStringLiteral("N");
inline QString ClearCache = QStringLiteral("Y");
inline QString showSplash = QStringLiteral("Y");
inline QString Language = QStringLiteral("Australian");
inline QString checkHarvest = QStringLiteral("N");
inline QString siteAdmin;
inline QString siteAdminEmail;
inline QString INETname;  // firewall (proxy) user name
inline QString INETid;    // firewall (proxy) password

}  // namespace Preferences
