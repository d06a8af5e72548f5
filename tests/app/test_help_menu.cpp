#include "app/frmAbout.h"
#include "app/frmHelpBrowser.h"
#include "app/modMetaMain.h"
#include "domains/modCheckList.h"
#include "domains/modSchemas.h"
#include "platform/OfflineBrowser.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

class HelpMenuTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;
    QString savedDomain = modSchemas::defaultSchema;
    void SetUp() override {
        modMetaMain::schemeServer = QStringLiteral("schemes.test.example");
        modCheckList::fillSchemaCatalogue();
    }
    void TearDown() override {
        modSchemas::defaultSchema = savedDomain;
        frmHelpBrowser::instance().hide();
    }
    platform::OfflineBrowser& helpBrowser() {
        return *qobject_cast<platform::OfflineBrowser*>(frmHelpBrowser::instance().WebBrowser1);
    }
};

TEST_F(HelpMenuTest, DocumentationOpensInTheHelpWindowAndSubmenusLoadNothing) {
    w->findChild<QAction*>(QStringLiteral("mnuHelpDocIndex_2"))->trigger();
    EXPECT_TRUE(frmHelpBrowser::instance().isVisible());
    EXPECT_EQ(helpBrowser().navigations().last().address,
              QStringLiteral("http://schemes.test.example/manual2/_Toc186103.htm"));
    const auto before = helpBrowser().navigations().size();
    w->mnuHelpDocIndex_Click(6);
    w->mnuHelpDocIndex_Click(13);
    EXPECT_EQ(helpBrowser().navigations().size(), before);
    w->findChild<QAction*>(QStringLiteral("mnuHelpDocMacros_6"))->trigger();
    EXPECT_EQ(helpBrowser().navigations().last().address,
              QStringLiteral("http://schemes.test.example/manual2/_Toc186176.htm"));
}

TEST_F(HelpMenuTest, TutorialOfTheCurrentDomainOrTheGeneralOne) {
    modSchemas::defaultSchema = QStringLiteral("NZGLS");
    w->navArmed = false;  // shown only: nothing is fetched for its metadata
    w->URL->setEditText(QString());
    w->mnuHelpTutorial_Click();
    EXPECT_TRUE(w->URL->currentText().endsWith(QLatin1String("/schemes/NZGLS/NZGLS.html")));
    modSchemas::defaultSchema = QStringLiteral("No such domain");
    w->navArmed = false;
    w->URL->setEditText(QString());
    w->mnuHelpTutorial_Click();
    EXPECT_EQ(w->URL->currentText(), QStringLiteral("schemes.test.example/tutorial.html"));
}

TEST_F(HelpMenuTest, AboutBoxNamesTheProgramAndHasNoSystemTool) {
    w->showAboutBox();
    frmAbout& about = frmAbout::instance(&*w);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Quorvantile"));
    EXPECT_TRUE(about.Label2[1]->text().contains(QRegularExpression(QStringLiteral("\\d+\\.\\d+\\.\\d+$"))));
    boxes.expect(QStringLiteral("System Information Is Unavailable At This Time"), platform::vbOK);
    about.cmdSysInfo->click();
    about.Credits->click();
    EXPECT_EQ(w->URL->currentText(), QStringLiteral("schemes.test.example/credits.html"));
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
