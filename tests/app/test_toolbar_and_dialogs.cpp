#include "app/CRegSettings.h"
#include "app/Preferences.h"
#include "app/frmPreferences.h"
#include "app/modMetaMain.h"
#include "commands/modMacros.h"
#include "platform/ListView.h"
#include "platform/OfflineBrowser.h"
#include "platform/StatusBar.h"
#include "support/CommandRecorder.h"
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
    platform::OfflineBrowser& browser() { return *qobject_cast<platform::OfflineBrowser*>(w->WebBrowser1); }
    QString page(const QString& name) {
        const QString path = dir.path() + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<title>" + name.toUtf8() + "</title><meta name=\"DC.Title\" content=\"" + name.toUtf8() + "\">");
        return path;
    }
    void open(const QString& address) {
        w->URL->setEditText(address);
        w->LoadURLFromLocation();
        browser().settle();
    }
};

TEST_F(ShellTest, BrowserButtonsGoBackForwardHomeAndSearch) {
    const QString a = page(QStringLiteral("a.htm")), b = page(QStringLiteral("b.htm"));
    open(a);
    open(b);
    EXPECT_TRUE(w->toolbarButtons(2)->isEnabled());
    w->Toolbar1_ButtonClick(2);
    browser().settle();
    EXPECT_TRUE(browser().LocationURL().endsWith(QLatin1String("a.htm")));
    EXPECT_TRUE(w->toolbarButtons(3)->isEnabled());
    w->Toolbar1_ButtonClick(3);
    browser().settle();
    EXPECT_TRUE(browser().LocationURL().endsWith(QLatin1String("b.htm")));

    Preferences::Home = a;
    w->Toolbar1_ButtonClick(5);  // Home
    browser().settle();
    EXPECT_EQ(w->URL->currentText(), a);
    EXPECT_EQ(w->recordLines().first().content, QStringLiteral("a.htm"));

    browser().setSearchPage(page(QStringLiteral("search.htm")));
    w->Toolbar1_ButtonClick(7);  // Search
    EXPECT_EQ(browser().navigations().last().address, browser().searchPage());
}

TEST_F(ShellTest, RefreshReadsThePageAgainOnlyForWebAndLocalAddresses) {
    const QString a = page(QStringLiteral("a.htm"));
    open(a);
    w->MetaPanel->Clear();
    w->Toolbar1_ButtonClick(6);
    EXPECT_EQ(w->MetaPanel->Count(), 1);  // read again
    EXPECT_EQ(w->navFlags, 0);
    w->URL->setEditText(QStringLiteral("about:blank"));
    w->MetaPanel->Clear();
    w->Toolbar1_ButtonClick(6);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
}

TEST_F(ShellTest, DocumentPanelTipAndReport) {
    w->StatusBar1->resize(600, 20);
    w->StatusBar1->layout()->activate();
    w->TreePath.clear();
    const double middle = w->StatusBar1->panelLeft(2) + w->StatusBar1->panelWidth(2) / 2;
    w->StatusBar1_MouseMove(middle);
    EXPECT_EQ(w->StatusBar1->toolTip(), QString());
    boxes.expect(QStringLiteral("Current Editing Mode: Record\r\n"), platform::vbOK);
    w->StatusBar1_PanelClick(2);  // only the editing mode to report
    EXPECT_EQ(boxes.shown().last().text, QStringLiteral("Current Editing Mode: Record\r\n"));
    w->currentHTMLFile = QStringLiteral("/site/a.htm");
    modMacros::saveRecordMacro = QStringLiteral("mtp://save.kqb/");
    w->StatusBar1_MouseMove(middle);
    w->StatusBar1_MouseMove(middle);
    EXPECT_EQ(w->StatusBar1->toolTip(), QStringLiteral("Current HTML File being edited is: /site/a.htm\r\n"
                                                       "Current Repository Save macro is: mtp://save.kqb/"));
    w->StatusBar1_MouseMove(1);
    EXPECT_EQ(w->StatusBar1->toolTip(), QString());

    w->TreePath = QStringLiteral("/lists/x.kqs");
    boxes.expect(QStringLiteral("Current Tree Path: /lists/x.kqs\r\n"), platform::vbOK);
    w->StatusBar1_PanelClick(2);
    const QString shown = boxes.shown().last().text;
    EXPECT_TRUE(shown.contains(QLatin1String("Current Tree Path : /lists/x.kqs\r\n")));
    EXPECT_TRUE(shown.contains(QLatin1String("Current Editing Mode: Record\r\n")));
    EXPECT_TRUE(shown.startsWith(QLatin1String("HTML File: /site/a.htm\r\n")));
    modMacros::saveRecordMacro.clear();
}

TEST_F(ShellTest, HistoryListsMoveLikeABrowsersHistory) {
    const QString current = page(QStringLiteral("current.htm"));
    open(current);
    for (const char* name : {"one.htm", "two.htm", "three.htm"}) {
        const QString p = page(QLatin1String(name));
        w->prevNextLoad2(1, p, p);
    }
    ASSERT_EQ(w->backList.size(), 3);  // three, two, one
    EXPECT_TRUE(w->backList[0].tag.endsWith(QLatin1String("three.htm")));
    EXPECT_TRUE(w->toolbarButtons(2)->isEnabled());

    w->prevNextMenuClick(2, 2);  // two
    browser().settle();
    EXPECT_TRUE(w->URL->currentText().endsWith(QLatin1String("two.htm")));
    ASSERT_EQ(w->forwardList.size(), 2);
    EXPECT_TRUE(w->forwardList[0].tag.endsWith(QLatin1String("three.htm")));
    EXPECT_TRUE(w->forwardList[1].tag.endsWith(QLatin1String("current.htm")));
    ASSERT_EQ(w->backList.size(), 1);
    EXPECT_TRUE(w->backList[0].tag.endsWith(QLatin1String("one.htm")));

    w->prevNextMenuClick(2, 1);  // the last entry empties the list
    browser().settle();
    EXPECT_TRUE(w->backList.isEmpty());
    EXPECT_FALSE(w->toolbarButtons(2)->isEnabled());
    EXPECT_EQ(w->forwardList.size(), 3);
    EXPECT_TRUE(w->forwardList[0].tag.endsWith(QLatin1String("two.htm")));
}

TEST_F(ShellTest, PreferencesDialogLoadsOkAndCancels) {
    CommandRecorder recorder;
    Preferences::Home = QStringLiteral("http://home.example/");
    Preferences::showSplash = QStringLiteral("y");
    Preferences::ClearCache = QStringLiteral("N");
    Preferences::charEncoding = QStringLiteral("1");
    frmPreferences& prefs = frmPreferences::instance(&*w);
    prefs.show();
    EXPECT_TRUE(prefs.chkSplash->isChecked());  // only "N" clears a box
    EXPECT_FALSE(prefs.chkClearCache->isChecked());
    EXPECT_TRUE(prefs.radNoEncoding[1]->isChecked());
    EXPECT_EQ(prefs.chkClearCache->toolTip(),
              QStringLiteral("Select whether Schemas and Schemes (Thesaurusues) are refreshed on every launch of "
                             "Quorvantile. Use the Clear Cache Now button  to get fresh copies."));
    prefs.cmdClearCacheNow->click();
    EXPECT_EQ(recorder.commands,
              (QStringList{QStringLiteral("mtp://delete=all.kqs/"), QStringLiteral("mtp://delete=all.kqi/")}));
    prefs.txtHome->setText(QStringLiteral("http://elsewhere.example/"));
    prefs.radNoEncoding[2]->setChecked(true);
    prefs.cmdOK->click();
    EXPECT_EQ(Preferences::Home, QStringLiteral("http://elsewhere.example/"));
    EXPECT_EQ(Preferences::showSplash, QStringLiteral("Y"));
    EXPECT_EQ(Preferences::charEncoding, QStringLiteral("2"));
    CRegSettings s;
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences"), QStringLiteral("Home"), QString()),
              QStringLiteral("http://elsewhere.example/"));

    // Cancel puts back the home page seen at opening; a repository forces no encoding.
    modMacros::saveRecordMacro = QStringLiteral("mtp://save.kqb/");
    prefs.show();
    EXPECT_EQ(Preferences::charEncoding, QStringLiteral("0"));
    EXPECT_EQ(prefs.radNoEncoding[0]->text(), QStringLiteral("No Encoding. (Server is active)"));
    EXPECT_TRUE(prefs.radNoEncoding[1]->isHidden());
    Preferences::Home = QStringLiteral("changed meanwhile");
    prefs.cmdCancel->click();
    EXPECT_EQ(Preferences::Home, QStringLiteral("http://elsewhere.example/"));
    EXPECT_EQ(Preferences::charEncoding, QStringLiteral("0"));
    modMacros::saveRecordMacro.clear();
}

TEST_F(ShellTest, FirewallDialogHidesThePasswordAndChangesValuesAtOnce) {
    Preferences::INETname = QStringLiteral("ann");
    Preferences::INETid = QStringLiteral("secret");
    ScriptedModals modals;
    modals.then([](QDialog& d) {
        auto& firewall = static_cast<frmFirewall&>(d);
        EXPECT_EQ(firewall.txtUserID->text(), QStringLiteral("ann"));
        EXPECT_EQ(firewall.txtPassword->echoMode(), QLineEdit::Password);
        firewall.txtPassword->setText(QStringLiteral("n3w"));
        firewall.Command1->click();
    });
    w->MnuEditIE_Click();
    EXPECT_EQ(Preferences::INETid, QStringLiteral("n3w"));
}

}  // namespace
