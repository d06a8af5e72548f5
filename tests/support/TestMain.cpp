#include "gui/app/modMetaMain.h"
#include "platform/RegistryStore.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gmock/gmock.h>

// Every test program runs headless, with its settings and program folder in a
// temporary folder, so no test ever touches the user's own files; its windows show
// offline browsers.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir sandbox;
    qputenv("QUORVANTIL_CONFIG", (sandbox.path() + QStringLiteral("/config")).toUtf8());
    qputenv("QUORVANTIL_HOME", (sandbox.path() + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_DATA_HOME", (sandbox.path() + QStringLiteral("/xdg-data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (sandbox.path() + QStringLiteral("/xdg-config")).toUtf8());
    // No test reaches the user's own keyring: only the keyring test, which brings a private one.
    if (qEnvironmentVariableIsEmpty("QUORVANTIL_TEST_KEYRING"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quorvantil-tests");
    // Nothing may reach out: the scheme server is a closed local port unless a test starts one.
    qputenv("QUORVANTIL_SCHEME_SERVER", "127.0.0.1:9");
    QApplication app(argc, argv);
    // The program's own hosts are answered from the bundle beside the test program, as the
    // program's are from its own.
    modMetaMain::serveOwnHosts();
    testing_support::useOfflineBrowsers();
    ::testing::InitGoogleMock(&argc, argv);
    testing_support::prepareWindowTests();
    return RUN_ALL_TESTS();
}
