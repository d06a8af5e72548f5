// With a keyring running, the firewall password is kept there and not in the settings file.
#include <QMainWindow>
#include "gui/app/modMetaMain.h"
#include "support/core/TestContext.h"
#include "core/program/ProgramContext.h"
#include "support/Common.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

TEST(Keyring, TheFirewallPasswordGoesToTheKeyringNotToTheSettingsFile) {
    testing_support::FreshStore store;
    testing_support::TestContext first;
    std::unique_ptr<QMainWindow> form(modMetaMain::openMainWindow(first, testing_support::modalRuns()));
    first.preferences.INETid = u"s3cret wörd"_s;
    form->close();  // quitting writes the preferences
    form.reset();
    EXPECT_FALSE(testing_support::readBytes(store.storeFile()).contains("s3cret"));
    testing_support::TestContext second;
    form.reset(modMetaMain::openMainWindow(second, testing_support::modalRuns()));
    EXPECT_EQ(second.preferences.INETid, u"s3cret wörd"_s);
}
