// With a keyring running, the firewall password is kept there and not in the settings file.
#include "app/Form1.h"
#include "app/Preferences.h"
#include "support/Common.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

TEST(Keyring, TheFirewallPasswordGoesToTheKeyringNotToTheSettingsFile) {
    testing_support::FreshStore store;
    testing_support::KeptValues kept{&Preferences::INETid};
    auto form = std::make_unique<Form1>();
    form->Form_Load();
    Preferences::INETid = u"s3cret wörd"_s;
    form->savePreferences();
    form.reset();
    EXPECT_FALSE(testing_support::readBytes(store.storeFile()).contains("s3cret"));
    Preferences::INETid.clear();
    form = std::make_unique<Form1>();
    form->Form_Load();
    EXPECT_EQ(Preferences::INETid, u"s3cret wörd"_s);
}
