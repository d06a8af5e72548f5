#include "AppTestSupport.h"

#include "app/CRegSettings.h"
#include "app/frmPreferences.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

class ShellTest : public WindowTest {
protected:
    testing_support::KeptValues kept{&Preferences::Home, &Preferences::charEncoding, &modMacros::saveRecordMacro};
    QString page(const QString& name) {
        return write(name, "<meta name=\"DC.Title\" content=\"" + name.toUtf8() + "\">");
    }
    void click(int button) {
        w->Toolbar1_ButtonClick(button);
        browser().settle();
    }
    static QStringList names(const QList<Form1::HistoryEntry>& list) {
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
    for (const QString& name : {u"one.htm"_s, u"two.htm"_s, u"three.htm"_s})
        w->prevNextLoad2(1, page(name), path(name));
    EXPECT_EQ(names(w->backList), QStringList({u"three.htm"_s, u"two.htm"_s, u"one.htm"_s}));
    w->prevNextMenuClick(2, 2);
    browser().settle();
    EXPECT_TRUE(w->URL->currentText().endsWith(u"two.htm"_s));
    EXPECT_EQ(names(w->forwardList), QStringList({u"three.htm"_s, u"current.htm"_s}));
    EXPECT_EQ(names(w->backList), QStringList({u"one.htm"_s}));
    w->prevNextMenuClick(2, 1);  // the last entry empties the list
    browser().settle();
    EXPECT_FALSE(w->toolbarButtons(2)->isEnabled());
    EXPECT_EQ(names(w->forwardList), QStringList({u"two.htm"_s, u"three.htm"_s, u"current.htm"_s}));
}

TEST_F(ShellTest, TheDocumentPanelReportsTheFilesAndTheEditingMode) {
    w->documentState->setCurrentHTMLFile(u"/site/a.htm"_s);
    w->documentState->setTreePath(u"/lists/x.kqs"_s);
    boxes.expect(u"HTML File: /site/a.htm\r\nCurrent Tree Path: /lists/x.kqs\r\n"_s, vbOK);
    w->StatusBar1_PanelClick(2);
    EXPECT_TRUE(boxes.shown().last().text.endsWith(u"Current Editing Mode: Record\r\n"_s));
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

}  // namespace
