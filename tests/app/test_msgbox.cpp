#include "app/frmMsgBox.h"
#include "app/CRegSettings.h"
#include "platform/Modal.h"
#include "support/ScriptedUi.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::FreshStore;
using testing_support::ScriptedModals;

namespace {

QString storedMark(const QString& boxName) {
    CRegSettings s;
    return s.GetSetting(u"Preferences\\MsgBoxes"_s, boxName, u"<none>"_s);
}

// Shows the box the way callers do and returns its answer (-1: not shown at all).
int ask(const QString& boxName, const std::function<void(frmMsgBox&)>& user) {
    ScriptedModals modals;
    if (user) modals.then([&](QDialog& d) { user(static_cast<frmMsgBox&>(d)); });
    frmMsgBox box;
    box.boxName = boxName;
    if (!box.CheckLoad()) return -1;
    box.Message->setText(u"Save first?"_s);
    platform::execModal(box);
    return box.SelectionMade();
}

TEST(frmMsgBox, TickIsStoredWhateverButtonAndHidesTheBoxNextTime) {
    FreshStore store;
    EXPECT_EQ(ask(u"SaveBeforeEdit"_s,
                  [](frmMsgBox& b) {
                      b.dontShow->setChecked(true);
                      b.cmdCancel->click();
                  }),
              2);
    EXPECT_EQ(storedMark(u"SaveBeforeEdit"_s), u"OFF"_s);
    EXPECT_EQ(ask(u"SaveBeforeEdit"_s, nullptr), -1);  // not shown again
}

TEST(frmMsgBox, ButtonsAnswerSixSevenTwoAndTheCloseBoxZero) {
    FreshStore store;
    EXPECT_EQ(ask(u"A"_s, [](frmMsgBox& b) { b.cmdYes->click(); }), 6);
    EXPECT_EQ(ask(u"A"_s, [](frmMsgBox& b) { b.cmdNo->click(); }), 7);
    EXPECT_EQ(storedMark(u"A"_s), u"<none>"_s);
    EXPECT_EQ(ask(u"B"_s,
                  [](frmMsgBox& b) {
                      b.dontShow->setChecked(true);
                      b.close();
                  }),
              0);
    EXPECT_EQ(storedMark(u"B"_s), u"OFF"_s);
}

TEST(frmMsgBox, OnlyAnExactOffHidesTheBox) {
    FreshStore store;
    CRegSettings s;
    s.SaveSetting(u"Preferences\\MsgBoxes"_s, u"SaveBeforeEdit"_s, u"off"_s);
    EXPECT_EQ(ask(u"SaveBeforeEdit"_s, [](frmMsgBox& b) { b.cmdYes->click(); }), 6);
}

TEST(CMsgBox, TrueForAnyButtonFalseForTheCloseBox) {
    FreshStore store;
    ScriptedModals modals;
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
