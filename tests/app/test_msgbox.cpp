#include "app/frmMsgBox.h"
#include "app/CRegSettings.h"
#include "platform/Modal.h"
#include "support/ScriptedUi.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using testing_support::FreshStore;
using testing_support::ScriptedModals;

namespace {

QString storedMark(const QString& boxName) {
    CRegSettings s;
    return s.GetSetting(QStringLiteral("Preferences\\MsgBoxes"), boxName, QStringLiteral("<none>"));
}

// Shows the box the way callers do and returns its answer (-1: not shown at all).
int ask(const QString& boxName, const std::function<void(frmMsgBox&)>& user) {
    ScriptedModals modals;
    if (user) modals.then([&](QDialog& d) { user(static_cast<frmMsgBox&>(d)); });
    frmMsgBox box;
    box.boxName = boxName;
    if (!box.CheckLoad()) return -1;
    box.Message->setText(QStringLiteral("Save first?"));
    platform::execModal(box);
    return box.SelectionMade();
}

TEST(frmMsgBox, TickIsStoredWhateverButtonAndHidesTheBoxNextTime) {
    FreshStore store;
    EXPECT_EQ(ask(QStringLiteral("SaveBeforeEdit"), [](frmMsgBox& b) {
                  b.dontShow->setChecked(true);
                  b.cmdCancel->click();
              }),
              2);
    EXPECT_EQ(storedMark(QStringLiteral("SaveBeforeEdit")), QStringLiteral("OFF"));
    EXPECT_EQ(ask(QStringLiteral("SaveBeforeEdit"), nullptr), -1);  // not shown again
}

TEST(frmMsgBox, ButtonsAnswerSixSevenTwoAndTheCloseBoxZero) {
    FreshStore store;
    EXPECT_EQ(ask(QStringLiteral("A"), [](frmMsgBox& b) { b.cmdYes->click(); }), 6);
    EXPECT_EQ(ask(QStringLiteral("A"), [](frmMsgBox& b) { b.cmdNo->click(); }), 7);
    EXPECT_EQ(storedMark(QStringLiteral("A")), QStringLiteral("<none>"));
    EXPECT_EQ(ask(QStringLiteral("B"), [](frmMsgBox& b) {
                  b.dontShow->setChecked(true);
                  b.close();
              }),
              0);
    EXPECT_EQ(storedMark(QStringLiteral("B")), QStringLiteral("OFF"));
}

TEST(frmMsgBox, OnlyAnExactOffHidesTheBox) {
    FreshStore store;
    CRegSettings s;
    s.SaveSetting(QStringLiteral("Preferences\\MsgBoxes"), QStringLiteral("SaveBeforeEdit"), QStringLiteral("off"));
    EXPECT_EQ(ask(QStringLiteral("SaveBeforeEdit"), [](frmMsgBox& b) { b.cmdYes->click(); }), 6);
}

TEST(CMsgBox, TrueForAnyButtonFalseForTheCloseBox) {
    FreshStore store;
    ScriptedModals modals;
    QString seen;
    modals.then([&](QDialog& d) {
              seen = static_cast<frmMsgBox&>(d).Message->text();
              static_cast<frmMsgBox&>(d).cmdNo->click();
          })
        .then([](QDialog& d) { d.close(); });
    CMsgBox box;
    EXPECT_TRUE(box.frmMsgBox(QStringLiteral("Hello")));
    EXPECT_EQ(seen, QStringLiteral("Hello"));
    EXPECT_FALSE(box.frmMsgBox(QStringLiteral("Again")));
}

}  // namespace
