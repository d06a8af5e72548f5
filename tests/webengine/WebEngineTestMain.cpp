#include "gui/app/modMetaMain.h"
#include "platform/webengine/WebEngineBrowser.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <gmock/gmock.h>

#include <functional>
#include <unistd.h>

// Generous: the engine's first start on a loaded machine is slow. Every wait ends as soon
// as what it waits for has happened.
bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// The engine tests run headless like every other test program, but they need the command
// scheme registered before the application exists, as the program's own main() does.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QTemporaryDir sandbox;
    qputenv("QUORVANTIL_CONFIG", (sandbox.path() + QStringLiteral("/config")).toUtf8());
    qputenv("QUORVANTIL_HOME", (sandbox.path() + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_DATA_HOME", (sandbox.path() + QStringLiteral("/xdg-data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (sandbox.path() + QStringLiteral("/xdg-config")).toUtf8());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quorvantil-tests");

    platform::webengine::registerSchemes();
    QApplication app(argc, argv);
    modMetaMain::serveOwnHosts();
    platform::webengine::useWebEngineBrowser();
    ::testing::InitGoogleMock(&argc, argv);
    testing_support::prepareWindowTests();
    return RUN_ALL_TESTS();
}
