// With a keyring running, the firewall password is kept there and not in the settings file.
#include "app/Form1.h"
#include "app/modMetaMain.h"
#include "support/Common.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

TEST(Keyring, TheFirewallPasswordGoesToTheKeyringNotToTheSettingsFile) {
    testing_support::FreshStore store;
    ProgramContext first;
    std::unique_ptr<Form1> form(modMetaMain::openMainWindow(first));
    first.preferences.INETid = u"s3cret wörd"_s;
    form->savePreferences();
    form.reset();
    EXPECT_FALSE(testing_support::readBytes(store.storeFile()).contains("s3cret"));
    ProgramContext second;
    form.reset(modMetaMain::openMainWindow(second));
    EXPECT_EQ(second.preferences.INETid, u"s3cret wörd"_s);
}
