#include "app/CRegSettings.h"
#include "app/Preferences.h"
#include "app/frmPreferences.h"
#include "app/modMetaMain.h"
#include "commands/modMacros.h"
#include "platform/ListView.h"
#include "platform/StatusBar.h"
#include "support/CommandRecorder.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::CommandRecorder;
using testing_support::ScriptedModals;
using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

class ShellTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;
    QTemporaryDir dir;
    testing_support::OfflineBrowser& browser() { return testing_support::offlineBrowser(w->WebBrowser1); }
    QString page(const QString& name) {
        return testing_support::writeBytes(
            dir.path() + QLatin1Char('/') + name,
            "<title>" + name.toUtf8() + "</title><meta name=\"DC.Title\" content=\"" + name.toUtf8() + "\">");
    }
    void open(const QString& address) {
        w->URL->setEditText(address);
        w->LoadURLFromLocation();
        browser().settle();
    }
};

TEST_F(ShellTest, BrowserButtonsGoBackForwardHomeAndSearch) {
    const QString a = page(u"a.htm"_s), b = page(u"b.htm"_s);
    open(a);
    open(b);
    EXPECT_TRUE(w->toolbarButtons(2)->isEnabled());
    w->Toolbar1_ButtonClick(2);
    browser().settle();
    EXPECT_TRUE(browser().LocationURL().endsWith(u"a.htm"_s));
    EXPECT_TRUE(w->toolbarButtons(3)->isEnabled());
    w->Toolbar1_ButtonClick(3);
    browser().settle();
    EXPECT_TRUE(browser().LocationURL().endsWith(u"b.htm"_s));

    Preferences::Home = a;
    w->Toolbar1_ButtonClick(5);  // Home
    browser().settle();
    EXPECT_EQ(w->URL->currentText(), a);
    EXPECT_EQ(w->recordLines().first().content, u"a.htm"_s);

    browser().setSearchPage(page(u"search.htm"_s));
    w->Toolbar1_ButtonClick(7);  // Search
    EXPECT_EQ(browser().navigations().last().address, browser().searchPage());
}

TEST_F(ShellTest, RefreshReadsThePageAgainOnlyForWebAndLocalAddresses) {
    const QString a = page(u"a.htm"_s);
    open(a);
    w->MetaPanel->Clear();
    w->Toolbar1_ButtonClick(6);
    EXPECT_EQ(w->MetaPanel->Count(), 1);  // read again
    EXPECT_EQ(w->navFlags, 0);
    w->URL->setEditText(u"about:blank"_s);
    w->MetaPanel->Clear();
    w->Toolbar1_ButtonClick(6);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
}

TEST_F(ShellTest, DocumentPanelTipAndReport) {
    w->StatusBar1->resize(600, 20);
    w->StatusBar1->layout()->activate();
    w->documentState->setTreePath(QString());
    const double middle = w->StatusBar1->panelLeft(2) + w->StatusBar1->panelWidth(2) / 2;
    w->StatusBar1_MouseMove(middle);
    EXPECT_EQ(w->StatusBar1->toolTip(), QString());
    boxes.expect(u"Current Editing Mode: Record\r\n"_s, platform::vbOK);
    w->StatusBar1_PanelClick(2);  // only the editing mode to report
    EXPECT_EQ(boxes.shown().last().text, u"Current Editing Mode: Record\r\n"_s);
    w->documentState->setCurrentHTMLFile(u"/site/a.htm"_s);
    modMacros::saveRecordMacro = u"mtp://save.kqb/"_s;
    w->StatusBar1_MouseMove(middle);
    w->StatusBar1_MouseMove(middle);
    EXPECT_EQ(w->StatusBar1->toolTip(), QStringLiteral("Current HTML File being edited is: /site/a.htm\r\n"
                                                       "Current Repository Save macro is: mtp://save.kqb/"));

    w->documentState->setTreePath(u"/lists/x.kqs"_s);
    boxes.expect(u"Current Tree Path: /lists/x.kqs\r\n"_s, platform::vbOK);
    w->StatusBar1_PanelClick(2);
    const QString shown = boxes.shown().last().text;
    EXPECT_TRUE(shown.contains(u"Current Tree Path : /lists/x.kqs\r\n"_s));
    EXPECT_TRUE(shown.contains(u"Current Editing Mode: Record\r\n"_s));
    EXPECT_TRUE(shown.startsWith(u"HTML File: /site/a.htm\r\n"_s));
    modMacros::saveRecordMacro.clear();
}

TEST_F(ShellTest, HistoryListsMoveLikeABrowsersHistory) {
    const QString current = page(u"current.htm"_s);
    open(current);
    for (const char* name : {"one.htm", "two.htm", "three.htm"}) {
        const QString p = page(QLatin1String(name));
        w->prevNextLoad2(1, p, p);
    }
    ASSERT_EQ(w->backList.size(), 3);  // three, two, one

    w->prevNextMenuClick(2, 2);  // two
    browser().settle();
    EXPECT_TRUE(w->URL->currentText().endsWith(u"two.htm"_s));
    ASSERT_EQ(w->forwardList.size(), 2);
    EXPECT_TRUE(w->forwardList[0].tag.endsWith(u"three.htm"_s));
    EXPECT_TRUE(w->forwardList[1].tag.endsWith(u"current.htm"_s));
    ASSERT_EQ(w->backList.size(), 1);
    EXPECT_TRUE(w->backList[0].tag.endsWith(u"one.htm"_s));

    w->prevNextMenuClick(2, 1);  // the last entry empties the list
    browser().settle();
    EXPECT_TRUE(w->backList.isEmpty());
    EXPECT_FALSE(w->toolbarButtons(2)->isEnabled());
    EXPECT_EQ(w->forwardList.size(), 3);
    EXPECT_TRUE(w->forwardList[0].tag.endsWith(u"two.htm"_s));
}

TEST_F(ShellTest, PreferencesDialogLoadsOkAndCancels) {
    CommandRecorder recorder;
    Preferences::Home = u"http://home.example/"_s;
    Preferences::showSplash = u"y"_s;
    Preferences::ClearCache = u"N"_s;
    Preferences::charEncoding = u"1"_s;
    frmPreferences& prefs = frmPreferences::instance(&*w);
    prefs.show();
    EXPECT_TRUE(prefs.chkSplash->isChecked());  // only "N" clears a box
    EXPECT_FALSE(prefs.chkClearCache->isChecked());
    EXPECT_TRUE(prefs.radNoEncoding[1]->isChecked());
    prefs.cmdClearCacheNow->click();
    EXPECT_EQ(recorder.commands, (QStringList{u"mtp://delete=all.kqs/"_s, u"mtp://delete=all.kqi/"_s}));
    prefs.txtHome->setText(u"http://elsewhere.example/"_s);
    prefs.radNoEncoding[2]->setChecked(true);
    prefs.cmdOK->click();
    EXPECT_EQ(Preferences::Home, u"http://elsewhere.example/"_s);
    EXPECT_EQ(Preferences::showSplash, u"Y"_s);
    EXPECT_EQ(Preferences::charEncoding, u"2"_s);
    CRegSettings s;
    EXPECT_EQ(s.GetSetting(u"Preferences"_s, u"Home"_s, QString()), u"http://elsewhere.example/"_s);

    // Cancel puts back the home page seen at opening; a repository forces no encoding.
    modMacros::saveRecordMacro = u"mtp://save.kqb/"_s;
    prefs.show();
    EXPECT_EQ(Preferences::charEncoding, u"0"_s);
    EXPECT_EQ(prefs.radNoEncoding[0]->text(), u"No Encoding. (Server is active)"_s);
    EXPECT_TRUE(prefs.radNoEncoding[1]->isHidden());
    Preferences::Home = u"changed meanwhile"_s;
    prefs.cmdCancel->click();
    EXPECT_EQ(Preferences::Home, u"http://elsewhere.example/"_s);
    EXPECT_EQ(Preferences::charEncoding, u"0"_s);
    modMacros::saveRecordMacro.clear();
}

TEST_F(ShellTest, FirewallDialogHidesThePasswordAndChangesValuesAtOnce) {
    Preferences::INETname = u"ann"_s;
    Preferences::INETid = u"secret"_s;
    ScriptedModals modals;
    modals.then([](QDialog& d) {
        auto& firewall = static_cast<frmFirewall&>(d);
        EXPECT_EQ(firewall.txtUserID->text(), u"ann"_s);
        EXPECT_EQ(firewall.txtPassword->echoMode(), QLineEdit::Password);
        firewall.txtPassword->setText(u"n3w"_s);
        firewall.Command1->click();
    });
    w->MnuEditIE_Click();
    EXPECT_EQ(Preferences::INETid, u"n3w"_s);
}

}  // namespace
