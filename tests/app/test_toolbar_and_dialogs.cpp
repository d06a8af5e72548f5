#include "AppTestSupport.h"

#include "app/CRegSettings.h"
#include "app/frmPreferences.h"

#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>

namespace {

class ShellTest : public WindowTest {
protected:
    testing_support::KeptValues kept{&Preferences::Home, &Preferences::charEncoding, &Preferences::INETid,
                                     &modMacros::saveRecordMacro};
    QString page(const QString& name) {
        return write(name, "<title>" + name.toUtf8() + "</title><meta name=\"DC.Title\" content=\"" + name.toUtf8() +
                               "\">");
    }
    void click(int button) {
        w->Toolbar1_ButtonClick(button);
        browser().settle();
    }
    QStringList tags(const QList<Form1::HistoryEntry>& list) const {
        QStringList out;
        for (const auto& entry : list) out << entry.tag.section(u'/', -1);
        return out;
    }
};

TEST_F(ShellTest, BrowserButtonsGoBackForwardHomeRefreshAndSearch) {
    const QString a = page(u"a.htm"_s);
    open(a);
    open(page(u"b.htm"_s));
    click(2);
    EXPECT_TRUE(browser().LocationURL().endsWith(u"a.htm"_s));
    click(3);
    EXPECT_TRUE(browser().LocationURL().endsWith(u"b.htm"_s));
    Preferences::Home = a;
    click(5);
    EXPECT_EQ(w->URL->currentText(), a);
    EXPECT_EQ(w->recordLines().first().content, u"a.htm"_s);

    w->MetaPanel->Clear();
    click(6);  // Refresh reads the page again, but not a blank one
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    w->URL->setEditText(u"about:blank"_s);
    w->MetaPanel->Clear();
    click(6);
    EXPECT_EQ(w->MetaPanel->Count(), 0);

    browser().setSearchPage(page(u"search.htm"_s));
    click(7);
    EXPECT_EQ(browser().navigations().last().address, browser().searchPage());
}

TEST_F(ShellTest, HistoryListsMoveLikeABrowsersHistory) {
    open(page(u"current.htm"_s));
    for (const char* name : {"one.htm", "two.htm", "three.htm"}) {
        const QString p = page(QLatin1String(name));
        w->prevNextLoad2(1, p, p);
    }
    EXPECT_EQ(tags(w->backList), QStringList({u"three.htm"_s, u"two.htm"_s, u"one.htm"_s}));
    w->prevNextMenuClick(2, 2);
    browser().settle();
    EXPECT_TRUE(w->URL->currentText().endsWith(u"two.htm"_s));
    EXPECT_EQ(tags(w->forwardList), QStringList({u"three.htm"_s, u"current.htm"_s}));
    EXPECT_EQ(tags(w->backList), QStringList({u"one.htm"_s}));
    w->prevNextMenuClick(2, 1);  // the last entry empties the list
    browser().settle();
    EXPECT_TRUE(w->backList.isEmpty());
    EXPECT_FALSE(w->toolbarButtons(2)->isEnabled());
    EXPECT_EQ(tags(w->forwardList), QStringList({u"two.htm"_s, u"three.htm"_s, u"current.htm"_s}));
}

TEST_F(ShellTest, DocumentPanelTipAndReport) {
    w->StatusBar1->resize(600, 20);
    w->StatusBar1->layout()->activate();
    const double middle = w->StatusBar1->panelLeft(2) + w->StatusBar1->panelWidth(2) / 2;
    w->documentState->setTreePath(QString());
    boxes.expect(u"Current Editing Mode: Record\r\n"_s, vbOK).expect(u"Current Tree Path"_s, vbOK);
    w->StatusBar1_PanelClick(2);  // only the editing mode to report
    EXPECT_EQ(boxes.shown().last().text, u"Current Editing Mode: Record\r\n"_s);
    w->documentState->setCurrentHTMLFile(u"/site/a.htm"_s);
    w->documentState->setTreePath(u"/lists/x.kqs"_s);
    modMacros::saveRecordMacro = u"mtp://save.kqb/"_s;
    w->StatusBar1_MouseMove(middle);
    EXPECT_EQ(w->StatusBar1->toolTip(), u"Current HTML File being edited is: /site/a.htm\r\n"
                                         "Current Repository Save macro is: mtp://save.kqb/"_s);
    w->StatusBar1_PanelClick(2);
    EXPECT_EQ(boxes.shown().last().text, u"HTML File: /site/a.htm\r\nCurrent Tree Path: /lists/x.kqs\r\n"
                                         "Save macro is: mtp://save.kqb/\r\nCurrent Tree Path : /lists/x.kqs\r\n"
                                         "Current Editing Mode: Record\r\n"_s);
}

TEST_F(ShellTest, PreferencesDialogStoresOnOkAndPutsBackOnCancel) {
    CommandRecorder recorder;
    Preferences::Home = u"http://home.example/"_s;
    Preferences::charEncoding = u"1"_s;
    frmPreferences& prefs = frmPreferences::instance(&*w);
    prefs.show();
    EXPECT_TRUE(prefs.radNoEncoding[1]->isChecked());
    prefs.cmdClearCacheNow->click();
    EXPECT_EQ(recorder.commands, (QStringList{u"mtp://delete=all.kqs/"_s, u"mtp://delete=all.kqi/"_s}));
    prefs.txtHome->setText(u"http://elsewhere.example/"_s);
    prefs.radNoEncoding[2]->setChecked(true);
    prefs.cmdOK->click();
    EXPECT_EQ(Preferences::Home + Preferences::charEncoding, u"http://elsewhere.example/2"_s);
    EXPECT_EQ(CRegSettings().GetSetting(u"Preferences"_s, u"Home"_s, QString()), u"http://elsewhere.example/"_s);

    // Cancel puts back the home page seen at opening; a repository forces no encoding.
    modMacros::saveRecordMacro = u"mtp://save.kqb/"_s;
    prefs.show();
    EXPECT_TRUE(prefs.radNoEncoding[1]->isHidden());
    Preferences::Home = u"changed meanwhile"_s;
    prefs.cmdCancel->click();
    EXPECT_EQ(Preferences::Home + Preferences::charEncoding, u"http://elsewhere.example/0"_s);
}

TEST_F(ShellTest, FirewallDialogHidesThePasswordAndChangesItAtOnce) {
    Preferences::INETid = u"secret"_s;
    testing_support::ScriptedModals modals;
    modals.then([](QDialog& d) {
        auto& firewall = static_cast<frmFirewall&>(d);
        EXPECT_EQ(firewall.txtPassword->echoMode(), QLineEdit::Password);
        firewall.txtPassword->setText(u"n3w"_s);
        firewall.Command1->click();
    });
    w->MnuEditIE_Click();
    EXPECT_EQ(Preferences::INETid, u"n3w"_s);
}

}  // namespace
