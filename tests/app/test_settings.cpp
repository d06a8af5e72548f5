#include "app/CRegSettings.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

CRegSettings quorvantilSettings() {
    CRegSettings s;
    s.setCompany(QStringLiteral("Orvane Consulting"));
    s.setAppName(QStringLiteral("Quorvantil"));
    return s;
}

TEST(CRegSettings, NamesAreTrimmedAndEmptyRestoresTheDefault) {
    CRegSettings s;
    s.setCompany(QStringLiteral("  Orvane Consulting  "));
    EXPECT_EQ(s.Company(), QStringLiteral("Orvane Consulting"));
    s.setCompany(QString());
    EXPECT_EQ(s.Company(), CRegSettings::kDefaultCompany);
    s.setCompany(QStringLiteral("   "));
    EXPECT_EQ(s.Company(), QString());
    s.setAppName(QStringLiteral(" Other "));
    EXPECT_EQ(s.AppName(), QStringLiteral("Other"));
    s.setAppName(QString());
    EXPECT_EQ(s.AppName(), CRegSettings::kDefaultAppName);
}

TEST(CRegSettings, MissingGivesTheDefaultEmptyGivesEmpty) {
    testing_support::FreshStore store;
    CRegSettings s = quorvantilSettings();
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences"), QStringLiteral("Home"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
    ASSERT_TRUE(s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("Home"), QString()));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences"), QStringLiteral("Home"), QStringLiteral("dflt")), QString());
    // The program writes "CompleteMTP" and reads "CompleteMtp".
    ASSERT_TRUE(s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("CompleteMTP"), QStringLiteral("Y")));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences"), QStringLiteral("CompleteMtp"), QStringLiteral("N")),
              QStringLiteral("Y"));
}

TEST(CRegSettings, StarIsTheSectionsDefaultValue) {
    testing_support::FreshStore store;
    CRegSettings s = quorvantilSettings();
    ASSERT_TRUE(s.SaveSetting(QStringLiteral("File Settings"), QStringLiteral("*"), QStringLiteral("dv")));
    EXPECT_EQ(s.GetSetting(QStringLiteral("File Settings"), QStringLiteral("*"), QString()), QStringLiteral("dv"));
    ASSERT_EQ(s.GetAllSettings(QStringLiteral("File Settings")), (QList<SettingRow>{{QString(), QStringLiteral("dv")}}));
    EXPECT_TRUE(s.DeleteSetting(QStringLiteral("File Settings"), QStringLiteral("*")));
    EXPECT_EQ(s.GetSetting(QStringLiteral("File Settings"), QStringLiteral("*"), QStringLiteral("gone")),
              QStringLiteral("gone"));
}

TEST(CRegSettings, InstancesShareOneKeyWhateverTheirCreator) {
    testing_support::FreshStore store;
    CRegSettings a = quorvantilSettings(), b = quorvantilSettings();
    a.SaveSetting(QStringLiteral("Position Data"), QStringLiteral("Top"), QStringLiteral("120"));
    EXPECT_EQ(b.GetSetting(QStringLiteral("Position Data"), QStringLiteral("top"), QString()), QStringLiteral("120"));
    CRegSettings other;
    other.setCompany(QStringLiteral("Someone Else"));
    EXPECT_EQ(other.GetSetting(QStringLiteral("Position Data"), QStringLiteral("Top"), QStringLiteral("-")),
              QStringLiteral("-"));
}

TEST(CRegSettings, DeletingASectionFailsWhileItHoldsSubKeys) {
    testing_support::FreshStore store;
    CRegSettings s = quorvantilSettings();
    ASSERT_TRUE(s.SaveSetting(QStringLiteral("Preferences\\Macros"), QStringLiteral("F2"), QStringLiteral("x|y")));
    ASSERT_TRUE(s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("Home"), QStringLiteral("h")));
    EXPECT_FALSE(s.DeleteSetting(QStringLiteral("Preferences"), QString()));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences"), QStringLiteral("Home"), QString()), QStringLiteral("h"));
    EXPECT_TRUE(s.DeleteSetting(QStringLiteral("Preferences\\Macros"), QString()));
    EXPECT_TRUE(s.GetAllSettings(QStringLiteral("Preferences\\Macros")).isEmpty());
    EXPECT_TRUE(s.DeleteSetting(QStringLiteral("Preferences"), QString()));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences"), QStringLiteral("Home"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_FALSE(s.DeleteSetting(QStringLiteral("Preferences"), QStringLiteral("Home")));
}

TEST(CRegSettings, GetAllSettingsListsTextValuesInOrderOnly) {
    testing_support::FreshStore store;
    CRegSettings s = quorvantilSettings();
    EXPECT_TRUE(s.GetAllSettings(QStringLiteral("Preferences\\Schemas")).isEmpty());
    s.SaveSetting(QStringLiteral("Preferences\\Schemas"), QStringLiteral("Dublin Core"), QStringLiteral("Y"));
    s.SaveSetting(QStringLiteral("Preferences\\Schemas"), QStringLiteral("AGLS1.3"), QStringLiteral("N"));
    s.SaveSetting(QStringLiteral("Preferences\\Schemas"), QStringLiteral("NZGLS"), QString());
    const QList<SettingRow> expected = {{QStringLiteral("Dublin Core"), QStringLiteral("Y")},
                                        {QStringLiteral("AGLS1.3"), QStringLiteral("N")},
                                        {QStringLiteral("NZGLS"), QString()}};
    EXPECT_EQ(s.GetAllSettings(QStringLiteral("Preferences\\Schemas")), expected);

    // A section holding only values of other types counts as empty.
    QFile file(store.storeFile());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\n[HKEY_CURRENT_USER\\Software\\Orvane Consulting\\Quorvantil\\Binary]\n\"n\"=dword:00000001\n");
    file.close();
    EXPECT_TRUE(s.GetAllSettings(QStringLiteral("Binary")).isEmpty());
}

}  // namespace
