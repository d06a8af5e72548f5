#include "AppTestSupport.h"

#include "app/frmMsgBox.h"
#include "platform/Modal.h"

#include <QCheckBox>
#include <QLabel>

namespace {

class Settings : public ::testing::Test {
protected:
    testing_support::FreshStore store;
    CRegSettings s;
    QString get(const QString& section, const QString& key) const { return s.GetSetting(section, key, u"-"_s); }
};

// What the settings add to the store below them: "*" names the default value, names are
// read in any case, and listings hold the text values in order.
TEST_F(Settings, StarIsTheDefaultValueNamesIgnoreCaseAndListingsHoldTextInOrder) {
    ASSERT_TRUE(s.SaveSetting(u"File Settings"_s, u"*"_s, u"dv"_s));
    EXPECT_EQ(s.GetAllSettings(u"File Settings"_s), (QList<SettingRow>{{QString(), u"dv"_s}}));
    EXPECT_TRUE(s.DeleteSetting(u"File Settings"_s, u"*"_s));
    EXPECT_EQ(get(u"File Settings"_s, u"*"_s), u"-"_s);
    ASSERT_TRUE(s.SaveSetting(u"Preferences"_s, u"CompleteMTP"_s, u"Y"_s));  // written so, read as "CompleteMtp"
    EXPECT_EQ(get(u"Preferences"_s, u"CompleteMtp"_s), u"Y"_s);
    s.SaveSetting(u"Preferences\\Schemas"_s, u"Dublin Core"_s, u"Y"_s);
    s.SaveSetting(u"Preferences\\Schemas"_s, u"AGLS1.3"_s, QString());
    EXPECT_EQ(s.GetAllSettings(u"Preferences\\Schemas"_s),
              (QList<SettingRow>{{u"Dublin Core"_s, u"Y"_s}, {u"AGLS1.3"_s, QString()}}));
    testing_support::writeBytes(store.storeFile(), testing_support::readBytes(store.storeFile()) +
                                                       "\n[HKEY_CURRENT_USER\\Software\\Orvane Consulting\\"
                                                       "Quorvantil\\Binary]\n\"n\"=dword:00000001\n");
    EXPECT_TRUE(s.GetAllSettings(u"Binary"_s).isEmpty());
    CRegSettings other;
    other.setCompany(u"Someone Else"_s);
    EXPECT_EQ(other.GetSetting(u"Preferences"_s, u"CompleteMTP"_s, u"-"_s), u"-"_s);
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
    EXPECT_EQ(get(section, u"A"_s), u"-"_s);
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

    // The short form: true for any button, false for the close box.
    testing_support::ScriptedModals modals;
    QString seen;
    modals.then([&](QDialog& d) {
        seen = static_cast<frmMsgBox&>(d).Message->text();
        static_cast<frmMsgBox&>(d).cmdNo->click();
    });
    modals.then([](QDialog& d) { d.close(); });
    CMsgBox box;
    EXPECT_TRUE(box.frmMsgBox(u"Hello"_s));
    EXPECT_EQ(seen, u"Hello"_s);
    EXPECT_FALSE(box.frmMsgBox(u"Again"_s));
}

}  // namespace
