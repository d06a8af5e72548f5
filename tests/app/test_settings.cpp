#include "app/CRegSettings.h"
#include "app/frmMsgBox.h"
#include "platform/Modal.h"
#include "support/ScriptedUi.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class Settings : public ::testing::Test {
protected:
    testing_support::FreshStore store;
    CRegSettings s = [] {
        CRegSettings s;
        s.setCompany(u"Orvane Consulting"_s);
        s.setAppName(u"Quorvantil"_s);
        return s;
    }();
    QString get(const QString& section, const QString& key, const QString& missing = u"<none>"_s) const {
        return s.GetSetting(section, key, missing);
    }
};

TEST_F(Settings, MissingGivesTheDefaultEmptyGivesEmptyAndNamesIgnoreCase) {
    EXPECT_EQ(get(u"Preferences"_s, u"Home"_s), u"<none>"_s);
    ASSERT_TRUE(s.SaveSetting(u"Preferences"_s, u"Home"_s, QString()));
    EXPECT_EQ(get(u"Preferences"_s, u"Home"_s), QString());
    // The program writes "CompleteMTP" and reads "CompleteMtp".
    ASSERT_TRUE(s.SaveSetting(u"Preferences"_s, u"CompleteMTP"_s, u"Y"_s));
    EXPECT_EQ(get(u"Preferences"_s, u"CompleteMtp"_s), u"Y"_s);
    // Another company has its own key.
    CRegSettings other;
    other.setCompany(u"Someone Else"_s);
    EXPECT_EQ(other.GetSetting(u"Preferences"_s, u"CompleteMTP"_s, u"-"_s), u"-"_s);
}

TEST_F(Settings, StarIsTheSectionsDefaultValue) {
    ASSERT_TRUE(s.SaveSetting(u"File Settings"_s, u"*"_s, u"dv"_s));
    EXPECT_EQ(get(u"File Settings"_s, u"*"_s), u"dv"_s);
    ASSERT_EQ(s.GetAllSettings(u"File Settings"_s), (QList<SettingRow>{{QString(), u"dv"_s}}));
    EXPECT_TRUE(s.DeleteSetting(u"File Settings"_s, u"*"_s));
    EXPECT_EQ(get(u"File Settings"_s, u"*"_s), u"<none>"_s);
}

TEST_F(Settings, DeletingASectionFailsWhileItHoldsSubKeys) {
    ASSERT_TRUE(s.SaveSetting(u"Preferences\\Macros"_s, u"F2"_s, u"x|y"_s));
    ASSERT_TRUE(s.SaveSetting(u"Preferences"_s, u"Home"_s, u"h"_s));
    EXPECT_FALSE(s.DeleteSetting(u"Preferences"_s, QString()));
    EXPECT_EQ(get(u"Preferences"_s, u"Home"_s), u"h"_s);
    EXPECT_TRUE(s.DeleteSetting(u"Preferences\\Macros"_s, QString()));
    EXPECT_TRUE(s.DeleteSetting(u"Preferences"_s, QString()));
    EXPECT_EQ(get(u"Preferences"_s, u"Home"_s), u"<none>"_s);
    EXPECT_FALSE(s.DeleteSetting(u"Preferences"_s, u"Home"_s));
}

TEST_F(Settings, GetAllSettingsListsTextValuesInOrderOnly) {
    EXPECT_TRUE(s.GetAllSettings(u"Preferences\\Schemas"_s).isEmpty());
    s.SaveSetting(u"Preferences\\Schemas"_s, u"Dublin Core"_s, u"Y"_s);
    s.SaveSetting(u"Preferences\\Schemas"_s, u"AGLS1.3"_s, QString());
    const QList<SettingRow> expected = {{u"Dublin Core"_s, u"Y"_s}, {u"AGLS1.3"_s, QString()}};
    EXPECT_EQ(s.GetAllSettings(u"Preferences\\Schemas"_s), expected);
    // A section holding only values of other types counts as empty.
    testing_support::writeBytes(store.storeFile(),
                                testing_support::readBytes(store.storeFile()) +
                                    "\n[HKEY_CURRENT_USER\\Software\\Orvane Consulting\\Quorvantil\\Binary]\n"
                                    "\"n\"=dword:00000001\n");
    EXPECT_TRUE(s.GetAllSettings(u"Binary"_s).isEmpty());
}

// Shows the box the way callers do and returns its answer (-1: not shown at all).
int ask(const QString& boxName, const std::function<void(frmMsgBox&)>& user) {
    testing_support::ScriptedModals modals;
    if (user) modals.then([&](QDialog& d) { user(static_cast<frmMsgBox&>(d)); });
    frmMsgBox box;
    box.boxName = boxName;
    if (!box.CheckLoad()) return -1;
    platform::execModal(box);
    return box.SelectionMade();
}

TEST_F(Settings, MsgBoxAnswersAndAStoredTickHidesItNextTime) {
    const QString section = u"Preferences\\MsgBoxes"_s;
    EXPECT_EQ(ask(u"A"_s, [](frmMsgBox& b) { b.cmdYes->click(); }), 6);
    EXPECT_EQ(ask(u"A"_s, [](frmMsgBox& b) { b.cmdNo->click(); }), 7);
    EXPECT_EQ(get(section, u"A"_s), u"<none>"_s);
    const auto tickAnd = [](auto close) {
        return [close](frmMsgBox& b) {
            b.dontShow->setChecked(true);
            close(b);
        };
    };
    EXPECT_EQ(ask(u"Cancelled"_s, tickAnd([](frmMsgBox& b) { b.cmdCancel->click(); })), 2);
    EXPECT_EQ(ask(u"Closed"_s, tickAnd([](frmMsgBox& b) { b.close(); })), 0);
    EXPECT_EQ(get(section, u"Cancelled"_s) + get(section, u"Closed"_s), u"OFFOFF"_s);
    EXPECT_EQ(ask(u"Cancelled"_s, nullptr), -1);
    s.SaveSetting(section, u"Lower"_s, u"off"_s);  // only an exact "OFF" hides it
    EXPECT_EQ(ask(u"Lower"_s, [](frmMsgBox& b) { b.cmdYes->click(); }), 6);
}

TEST_F(Settings, CMsgBoxIsTrueForAnyButtonFalseForTheCloseBox) {
    testing_support::ScriptedModals modals;
    QString seen;
    modals
        .then([&](QDialog& d) {
            seen = static_cast<frmMsgBox&>(d).Message->text();
            static_cast<frmMsgBox&>(d).cmdNo->click();
        })
        .then([](QDialog& d) { d.close(); });
    CMsgBox box;
    EXPECT_TRUE(box.frmMsgBox(u"Hello"_s));
    EXPECT_EQ(seen, u"Hello"_s);
    EXPECT_FALSE(box.frmMsgBox(u"Again"_s));
}

}  // namespace
