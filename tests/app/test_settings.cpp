#include "app/CRegSettings.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

CRegSettings quorvantilSettings() {
    CRegSettings s;
    s.setCompany(u"Orvane Consulting"_s);
    s.setAppName(u"Quorvantil"_s);
    return s;
}

TEST(CRegSettings, MissingGivesTheDefaultEmptyGivesEmpty) {
    testing_support::FreshStore store;
    CRegSettings s = quorvantilSettings();
    EXPECT_EQ(s.GetSetting(u"Preferences"_s, u"Home"_s, u"dflt"_s), u"dflt"_s);
    ASSERT_TRUE(s.SaveSetting(u"Preferences"_s, u"Home"_s, QString()));
    EXPECT_EQ(s.GetSetting(u"Preferences"_s, u"Home"_s, u"dflt"_s), QString());
    // The program writes "CompleteMTP" and reads "CompleteMtp".
    ASSERT_TRUE(s.SaveSetting(u"Preferences"_s, u"CompleteMTP"_s, u"Y"_s));
    EXPECT_EQ(s.GetSetting(u"Preferences"_s, u"CompleteMtp"_s, u"N"_s), u"Y"_s);
}

TEST(CRegSettings, StarIsTheSectionsDefaultValue) {
    testing_support::FreshStore store;
    CRegSettings s = quorvantilSettings();
    ASSERT_TRUE(s.SaveSetting(u"File Settings"_s, u"*"_s, u"dv"_s));
    EXPECT_EQ(s.GetSetting(u"File Settings"_s, u"*"_s, QString()), u"dv"_s);
    ASSERT_EQ(s.GetAllSettings(u"File Settings"_s), (QList<SettingRow>{{QString(), u"dv"_s}}));
    EXPECT_TRUE(s.DeleteSetting(u"File Settings"_s, u"*"_s));
    EXPECT_EQ(s.GetSetting(u"File Settings"_s, u"*"_s, u"gone"_s), u"gone"_s);
}

TEST(CRegSettings, InstancesShareOneKeyWhateverTheirCreator) {
    testing_support::FreshStore store;
    CRegSettings a = quorvantilSettings(), b = quorvantilSettings();
    a.SaveSetting(u"Position Data"_s, u"Top"_s, u"120"_s);
    EXPECT_EQ(b.GetSetting(u"Position Data"_s, u"top"_s, QString()), u"120"_s);
    CRegSettings other;
    other.setCompany(u"Someone Else"_s);
    EXPECT_EQ(other.GetSetting(u"Position Data"_s, u"Top"_s, u"-"_s), u"-"_s);
}

TEST(CRegSettings, DeletingASectionFailsWhileItHoldsSubKeys) {
    testing_support::FreshStore store;
    CRegSettings s = quorvantilSettings();
    ASSERT_TRUE(s.SaveSetting(u"Preferences\\Macros"_s, u"F2"_s, u"x|y"_s));
    ASSERT_TRUE(s.SaveSetting(u"Preferences"_s, u"Home"_s, u"h"_s));
    EXPECT_FALSE(s.DeleteSetting(u"Preferences"_s, QString()));
    EXPECT_EQ(s.GetSetting(u"Preferences"_s, u"Home"_s, QString()), u"h"_s);
    EXPECT_TRUE(s.DeleteSetting(u"Preferences\\Macros"_s, QString()));
    EXPECT_TRUE(s.GetAllSettings(u"Preferences\\Macros"_s).isEmpty());
    EXPECT_TRUE(s.DeleteSetting(u"Preferences"_s, QString()));
    EXPECT_EQ(s.GetSetting(u"Preferences"_s, u"Home"_s, u"d"_s), u"d"_s);
    EXPECT_FALSE(s.DeleteSetting(u"Preferences"_s, u"Home"_s));
}

TEST(CRegSettings, GetAllSettingsListsTextValuesInOrderOnly) {
    testing_support::FreshStore store;
    CRegSettings s = quorvantilSettings();
    EXPECT_TRUE(s.GetAllSettings(u"Preferences\\Schemas"_s).isEmpty());
    s.SaveSetting(u"Preferences\\Schemas"_s, u"Dublin Core"_s, u"Y"_s);
    s.SaveSetting(u"Preferences\\Schemas"_s, u"AGLS1.3"_s, u"N"_s);
    s.SaveSetting(u"Preferences\\Schemas"_s, u"NZGLS"_s, QString());
    const QList<SettingRow> expected = {{u"Dublin Core"_s, u"Y"_s}, {u"AGLS1.3"_s, u"N"_s}, {u"NZGLS"_s, QString()}};
    EXPECT_EQ(s.GetAllSettings(u"Preferences\\Schemas"_s), expected);

    // A section holding only values of other types counts as empty.
    testing_support::writeBytes(store.storeFile(),
                                testing_support::readBytes(store.storeFile()) +
                                    "\n[HKEY_CURRENT_USER\\Software\\Orvane Consulting\\Quorvantil\\Binary]\n"
                                    "\"n\"=dword:00000001\n");
    EXPECT_TRUE(s.GetAllSettings(u"Binary"_s).isEmpty());
}

}  // namespace
