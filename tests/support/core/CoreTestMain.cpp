#include "core/domains/SchemeHosts.h"
#include "platform/SchemeBundle.h"
#include "support/core/TestContext.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gmock/gmock.h>

// The test programs of core run without widgets and without a display: with their settings
// and program folder in a temporary folder, so no test ever touches the user's own files, and
// every box or file dialog a test did not script failing it at once (scriptedUser()).
int main(int argc, char** argv) {
    QTemporaryDir sandbox;
    testing_support::useSandbox(sandbox.path());
    QCoreApplication app(argc, argv);
    // The program's own hosts are answered from the bundle beside the test program.
    platform::SchemeBundle::serve(SchemeHosts::ownHosts(), platform::SchemeBundle::installedFolder());
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
