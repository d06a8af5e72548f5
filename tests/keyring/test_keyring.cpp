// With a keyring running, the firewall password is kept there and not in the settings file.
#include "app/Form1.h"
#include "support/Common.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

TEST(Keyring, TheFirewallPasswordGoesToTheKeyringNotToTheSettingsFile) {
    testing_support::FreshStore store;
    ProgramContext first;
    auto form = std::make_unique<Form1>(first);
    form->Form_Load();
    first.preferences.INETid = u"s3cret wörd"_s;
    form->savePreferences();
    form.reset();
    EXPECT_FALSE(testing_support::readBytes(store.storeFile()).contains("s3cret"));
    ProgramContext second;
    form = std::make_unique<Form1>(second);
    form->Form_Load();
    EXPECT_EQ(second.preferences.INETid, u"s3cret wörd"_s);
}
