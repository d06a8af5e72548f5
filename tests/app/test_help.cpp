#include "AppTestSupport.h"

#include "app/frmAbout.h"
#include "app/frmHelpBrowser.h"
#include "domains/modCheckList.h"
#include "platform/Inet.h"

#include <QElapsedTimer>

namespace {

class HelpTest : public WindowTest {
protected:
    testing_support::KeptValues kept{&modSchemas::defaultSchema, &modMetaMain::schemeServer};
    testing_support::LocalHttpServer server;
    frmHelpBrowser& help = frmHelpBrowser::instance();
    int replies = 0;

    void SetUp() override {
        modMetaMain::schemeServer = u"schemes.test.example"_s;
        modCheckList::fillSchemaCatalogue();
    }
    void TearDown() override { help.hide(); }
    testing_support::OfflineBrowser& helpBrowser() { return testing_support::offlineBrowser(help.WebBrowser1); }
    // The repository answers a request on the help window's transfer control.
    void reply(const std::string& body) {
        const std::string path = "/reply" + std::to_string(++replies);
        server.server().Get(path, [body](const httplib::Request&, httplib::Response& r) {
            r.set_content(body, "text/html; charset=utf-8");
        });
        ASSERT_TRUE(help.PostInet->Execute(server.url(QString::fromStdString(path))));
        QElapsedTimer clock;
        clock.start();
        while ((help.PostInet->StillExecuting() || help.Timer1->isActive()) && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

TEST_F(HelpTest, TutorialOfTheCurrentDomainOrTheGeneralOneAndCreditsShowInTheBrowser) {
    for (const auto& [domain, address] : {std::pair{u"NZGLS"_s, u"/schemes/NZGLS/NZGLS.html"_s},
                                          std::pair{u"No such domain"_s, u"schemes.test.example/tutorial.html"_s}}) {
        modSchemas::defaultSchema = domain;
        w->navArmed = false;  // shown only: nothing is fetched for its metadata
        w->URL->setEditText(QString());
        w->mnuHelpTutorial_Click();
        EXPECT_TRUE(w->URL->currentText().endsWith(address)) << w->URL->currentText();
    }
    w->showAboutBox();
    frmAbout& about = frmAbout::instance(&*w);
    boxes.expect(u"System Information Is Unavailable At This Time"_s, vbOK);
    about.cmdSysInfo->click();
    about.Credits->click();
    EXPECT_EQ(w->URL->currentText(), u"schemes.test.example/credits.html"_s);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(HelpTest, ARecordReplyIsStoredWholeAndLoadedIntoTheRecord) {
    reply("<html><head>writeToCache<meta name=\"DC.Title\" content=\"From the repository\">"
          "<meta name=\"DC.Description\" content=\"" +
          std::string(6000, 'x') + "\"></head></html>");
    ASSERT_EQ(w->MetaPanel->Count(), 2);
    EXPECT_EQ(w->MetaPanel->Item(1)->SubItems(1), u"From the repository"_s);
    EXPECT_EQ(w->MetaPanel->Item(2)->SubItems(1).size(), 6000);  // never cut at a chunk
    EXPECT_FALSE(read(frmHelpBrowser::recordPagePath()).contains("writeToCache"));
    EXPECT_EQ(w->StatusBar1->panelText(3), u"Record Loaded. Ready"_s);
    EXPECT_TRUE(w->documentState->modified(DocumentState::Document::Record));  // loaded, not yet saved anywhere
    EXPECT_FALSE(help.isVisible());
}

TEST_F(HelpTest, ErrorRepliesShowAndKeepTheDocumentUnsaved) {
    reply("<p>Save Record Error: the repository is full</p>");
    EXPECT_TRUE(help.isVisible());
    EXPECT_TRUE(helpBrowser().bodyHtml().contains(u"repository is full"_s));
    EXPECT_EQ(panel2(), u"Modified"_s);
    w->documentState->dropMark();
    reply("<p>save record error in other words</p>");
    EXPECT_EQ(panel2(), QString());
    EXPECT_TRUE(helpBrowser().bodyHtml().contains(u"other words"_s));
}

TEST_F(HelpTest, CommandLinksRunInTheMainWindowAsThePagesCommands) {
    CommandRecorder recorder;
    platform::BeforeNavigateEvent link;
    link.address = u"mtp://field=DC.Subject&content=Help.fld/"_s;
    help.WebBrowser1_BeforeNavigate2(link);
    EXPECT_TRUE(link.cancel);
    EXPECT_EQ(recorder.commands, QStringList{link.address});
    EXPECT_EQ(recorder.origins.first(), modMTP::CommandOrigin::Page);
}

}  // namespace
