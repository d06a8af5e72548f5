#include "AppTestSupport.h"

#include "gui/app/frmHelpBrowser.h"
#include "core/domains/modCheckList.h"
#include "gui/app/HelpMenu.h"
#include "platform/Inet.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

class HelpTest : public WindowTest {
protected:
    testing_support::LocalHttpServer server;
    frmHelpBrowser& help = w.helpMenu().helpWindow();
    // The help window's browser, and the transfer control and timer the repository's replies come by.
    platform::WebBrowser* helpBrowser() const { return child<platform::WebBrowser>(help, u"WebBrowser1"_s); }
    platform::Inet* transfer() const { return child<platform::Inet>(help, u"PostInet"_s); }
    QTimer* replyTimer() const { return child<QTimer>(help, u"Timer1"_s); }
    void SetUp() override {
        w.context.schemeServer = u"schemes.test.example"_s;
        modCheckList::fillSchemaCatalogue(w.context.domain.catalogue, w.context.schemeServer);
    }
    void TearDown() override { help.hide(); }
    // The repository answers a request on the help window's transfer control.
    void reply(const std::string& body) {
        server.server().Get("/reply", [body](const httplib::Request&, httplib::Response& r) {
            r.set_content(body, "text/html; charset=utf-8");
        });
        ASSERT_TRUE(transfer()->Execute(server.url(u"/reply"_s)));
        QElapsedTimer clock;
        clock.start();
        while ((transfer()->StillExecuting() || replyTimer()->isActive()) && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

TEST_F(HelpTest, TheGeneralTutorialAndTheCreditsShowInTheBrowser) {
    w.context.domain.defaultSchema = u"No such domain"_s;
    // Shown while the metadata view is closed: nothing is fetched for its metadata.
    w->findChild<QAction*>(u"mnuViewQuorvantile"_s)->trigger();
    w->findChild<QAction*>(u"mnuHelpTutorial"_s)->trigger();
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), u"schemes.test.example/tutorial.html"_s);
    w->findChild<QAction*>(u"mnuHelpAbout"_s)->trigger();
    QDialog& about = *w.find<QDialog>(u"frmAbout"_s);
    boxes.expect(u"System Information Is Unavailable At This Time"_s, kAnswerOk);
    press(about, u"cmdSysInfo"_s);
    press(about, u"Credits"_s);
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), u"schemes.test.example/credits.html"_s);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(HelpTest, ARecordReplyIsStoredWholeAndLoadedIntoTheRecord) {
    reply("<html><head>writeToCache<meta name=\"DC.Title\" content=\"From the repository\">"
          "<meta name=\"DC.Description\" content=\"" +
          std::string(6000, 'x') + "\"></head></html>");
    ASSERT_EQ(w.context.record.count(), 2);
    EXPECT_EQ(w.context.record.lineAt(1).content, u"From the repository"_s);
    EXPECT_EQ(w.context.record.lineAt(2).content.size(), 6000);  // never cut at a chunk
    EXPECT_FALSE(read(frmHelpBrowser::recordPagePath()).contains("writeToCache"));
    EXPECT_EQ(w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(3), u"Record Loaded. Ready"_s);
    EXPECT_EQ(panel2(), QString());  // just loaded: nothing unsaved
    EXPECT_FALSE(help.isVisible());
}

TEST_F(HelpTest, ErrorRepliesShowAndKeepTheDocumentUnsaved) {
    helpBrowser()->setBodyHtml(u"<a href='http://earlier.example/'>An earlier help page</a>"_s);
    reply("<p>Save Record Error: the repository is full</p>");
    EXPECT_TRUE(help.isVisible());
    EXPECT_TRUE(testing_support::offlineBrowser(helpBrowser()).bodyHtml().contains(u"repository is full"_s));
    EXPECT_TRUE(helpBrowser()->Document().links.isEmpty());  // a fresh page: nothing of the one before
    EXPECT_EQ(panel2(), u"Modified"_s);
}

TEST_F(HelpTest, CommandLinksRunInTheMainWindowAsThePagesCommands) {
    CommandRecorder recorder{w.context};
    const QString link = u"mtp://field=DC.Subject&content=Help.fld/"_s;
    testing_support::OfflineBrowser& browser = testing_support::offlineBrowser(helpBrowser());
    helpBrowser()->setBodyHtml(u"<a href='%1'>Help</a>"_s.arg(link));
    ASSERT_TRUE(browser.clickLink(link));  // the user clicks the help page's link
    EXPECT_TRUE(browser.navigations().last().cancel);
    EXPECT_EQ(recorder.commands, QStringList{link});
    EXPECT_EQ(recorder.origins.first(), modMTP::CommandOrigin::Page);
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), link);
    // The help page's script goes for a command by itself: it stays the page's, unasked, and
    // never waits in the address box for the user's Enter.
    browser.scriptNavigate(u"mtp://delete=all.fld/"_s);
    EXPECT_EQ(recorder.origins.last(), modMTP::CommandOrigin::PageByItself);
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), link);
}

}  // namespace
