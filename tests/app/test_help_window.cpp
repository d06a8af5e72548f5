#include "app/frmHelpBrowser.h"
#include "platform/Inet.h"
#include "platform/ListView.h"
#include "platform/StatusBar.h"
#include "support/CommandRecorder.h"
#include "support/LocalHttpServer.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

class HelpWindowTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;
    testing_support::LocalHttpServer server;
    frmHelpBrowser& help = frmHelpBrowser::instance();
    int replies = 0;

    void TearDown() override { help.hide(); }
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
    testing_support::OfflineBrowser& helpBrowser() { return testing_support::offlineBrowser(help.WebBrowser1); }
};

TEST_F(HelpWindowTest, ARecordReplyIsStoredWholeAndLoadedIntoTheRecord) {
    std::string longContent(6000, 'x');
    reply(
        "<html><head>writeToCache<meta name=\"DC.Title\" content=\"From the repository\">"
        "<meta name=\"DC.Description\" content=\"" +
        longContent + "\"></head></html>");
    ASSERT_EQ(w->MetaPanel->Count(), 2);
    EXPECT_EQ(w->MetaPanel->Item(1)->SubItems(1), u"From the repository"_s);
    EXPECT_EQ(w->MetaPanel->Item(2)->SubItems(1).size(), 6000);  // never cut at a chunk
    EXPECT_FALSE(testing_support::readBytes(frmHelpBrowser::recordPagePath()).contains("writeToCache"));
    EXPECT_EQ(w->StatusBar1->panelText(3), u"Record Loaded. Ready"_s);
    EXPECT_TRUE(w->documentState->modified(DocumentState::Document::Record));  // loaded, not yet saved anywhere
    EXPECT_FALSE(help.isVisible());
}

TEST_F(HelpWindowTest, ErrorRepliesShowAndKeepTheDocumentUnsaved) {
    reply("<p>Save Record Error: the repository is full</p>");
    EXPECT_TRUE(help.isVisible());
    EXPECT_TRUE(helpBrowser().bodyHtml().contains(u"repository is full"_s));
    EXPECT_EQ(w->StatusBar1->panelText(2), u"Modified"_s);

    w->documentState->dropMark();
    reply("<p>save record error in other words</p>");
    EXPECT_EQ(w->StatusBar1->panelText(2), QString());
    EXPECT_TRUE(helpBrowser().bodyHtml().contains(u"other words"_s));
}

TEST_F(HelpWindowTest, CommandLinksRunInTheMainWindowAsThePagesCommands) {
    testing_support::CommandRecorder recorder;
    platform::BeforeNavigateEvent link;
    link.address = u"mtp://field=DC.Subject&content=Help.fld/"_s;
    help.WebBrowser1_BeforeNavigate2(link);
    EXPECT_TRUE(link.cancel);
    EXPECT_EQ(recorder.commands, QStringList{link.address});
    EXPECT_EQ(recorder.origins.first(), modMTP::CommandOrigin::Page);

    platform::BeforeNavigateEvent upper;
    upper.address = u"MTP://field=X.fld/"_s;
    help.WebBrowser1_BeforeNavigate2(upper);
    EXPECT_FALSE(upper.cancel);
}

}  // namespace
