#include "gui/app/modMetaMain.h"
#include "platform/RegistryStore.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gmock/gmock.h>

// Every test program of windows runs headless, with its settings and program folder in a
// temporary folder, so no test ever touches the user's own files; its windows show
// offline browsers.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir sandbox;
    testing_support::useSandbox(sandbox.path());
    QApplication app(argc, argv);
    // The program's own hosts are answered from the bundle beside the test program, as the
    // program's are from its own.
    modMetaMain::serveOwnHosts();
    testing_support::useOfflineBrowsers();
    ::testing::InitGoogleMock(&argc, argv);
    testing_support::prepareWindowTests();
    return RUN_ALL_TESTS();
}
