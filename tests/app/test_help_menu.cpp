#include "app/frmAbout.h"
#include "app/frmHelpBrowser.h"
#include "app/modMetaMain.h"
#include "domains/modCheckList.h"
#include "domains/modSchemas.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

class HelpMenuTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;
    testing_support::KeptValues kept{&modSchemas::defaultSchema};
    void SetUp() override {
        modMetaMain::schemeServer = u"schemes.test.example"_s;
        modCheckList::fillSchemaCatalogue();
    }
    void TearDown() override { frmHelpBrowser::instance().hide(); }
    testing_support::OfflineBrowser& helpBrowser() {
        return testing_support::offlineBrowser(frmHelpBrowser::instance().WebBrowser1);
    }
};

TEST_F(HelpMenuTest, DocumentationOpensInTheHelpWindowAndSubmenusLoadNothing) {
    w->findChild<QAction*>(u"mnuHelpDocIndex_2"_s)->trigger();
    EXPECT_TRUE(frmHelpBrowser::instance().isVisible());
    EXPECT_EQ(helpBrowser().navigations().last().address, u"http://schemes.test.example/manual2/_Toc186103.htm"_s);
    const auto before = helpBrowser().navigations().size();
    w->mnuHelpDocIndex_Click(6);
    w->mnuHelpDocIndex_Click(13);
    EXPECT_EQ(helpBrowser().navigations().size(), before);
    w->findChild<QAction*>(u"mnuHelpDocMacros_6"_s)->trigger();
    EXPECT_EQ(helpBrowser().navigations().last().address, u"http://schemes.test.example/manual2/_Toc186176.htm"_s);
}

TEST_F(HelpMenuTest, TutorialOfTheCurrentDomainOrTheGeneralOne) {
    modSchemas::defaultSchema = u"NZGLS"_s;
    w->navArmed = false;  // shown only: nothing is fetched for its metadata
    w->URL->setEditText(QString());
    w->mnuHelpTutorial_Click();
    EXPECT_TRUE(w->URL->currentText().endsWith(u"/schemes/NZGLS/NZGLS.html"_s));
    modSchemas::defaultSchema = u"No such domain"_s;
    w->navArmed = false;
    w->URL->setEditText(QString());
    w->mnuHelpTutorial_Click();
    EXPECT_EQ(w->URL->currentText(), u"schemes.test.example/tutorial.html"_s);
}

TEST_F(HelpMenuTest, AboutBoxNamesTheProgramAndHasNoSystemTool) {
    w->showAboutBox();
    frmAbout& about = frmAbout::instance(&*w);
    EXPECT_EQ(about.windowTitle(), u"About Quorvantile"_s);
    EXPECT_TRUE(about.Label2[1]->text().contains(QRegularExpression(u"\\d+\\.\\d+\\.\\d+$"_s)));
    boxes.expect(u"System Information Is Unavailable At This Time"_s, platform::vbOK);
    about.cmdSysInfo->click();
    about.Credits->click();
    EXPECT_EQ(w->URL->currentText(), u"schemes.test.example/credits.html"_s);
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
