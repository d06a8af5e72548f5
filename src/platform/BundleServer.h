#pragma once
#include <QtGlobal>

// The scheme bundle served to the browser engine, which can only fetch web addresses over
// a socket: HTTP on 127.0.0.1 at a port the system picks, GET only, only for the bundle's
// own host names and only the bundle's files (SchemeBundle). Each connection answers one
// request and closes, so nothing lingers at exit. It runs on a thread of its own, so the
// engine is answered whatever the window's thread is doing.
namespace platform::BundleServer {

// Starts the server once; later calls give the same port. 0 when it could not listen.
quint16 start();
// Stops it (also done when the application ends); start() may run it again.
void stop();

}  // namespace platform::BundleServer
