#include "platform/webengine/WebEngineBrowser.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gmock/gmock.h>

#include <unistd.h>

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

    platform::webengine::registerSchemes();
    QApplication app(argc, argv);
    platform::webengine::useWebEngineBrowser();
    ::testing::InitGoogleMock(&argc, argv);
    testing_support::failEveryMsgBox();
    return RUN_ALL_TESTS();
}
