#pragma once
#include <QString>

namespace modMetaMain {

// The host (without "http://") of the scheme lists, templates, help pages and repository
// scripts. $QUORVANTIL_SCHEME_SERVER overrides the built-in host (tests use 127.0.0.1:port).
inline QString schemeServer;
QString defaultSchemeServer();

// The browser's location address and name after the last completed download.
inline QString currentLocationURL;
inline QString currentLocationName;
// The browser asked for a new window; the next window created only carries that request.
inline bool newWindowRequested = false;

}  // namespace modMetaMain
