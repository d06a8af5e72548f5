#include "record/RecordWindowTest.h"

#include "core/commands/modMacros.h"
#include "platform/Inet.h"
#include "core/catalogues/ListTree.h"
#include "support/LocalHttpServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace {

class PageLoadingTest : public RecordWindowTest {
protected:
    testing_support::LocalHttpServer server;

    void serve(const std::string& path, int status, const std::string& body, const char* type = "text/html") {
        server.server().Get(path, [=](const httplib::Request&, httplib::Response& r) {
            r.status = status;
            r.set_content(body, type);
        });
    }
};

TEST_F(PageLoadingTest, LocalPagesInEitherEncodingAMergeAndARecordToOpenFromTheRepository) {
    const QString utf8 = write(u"u.htm"_s, "<meta name=\"T\" content=\"Caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d\">");
    const QString ansi = write(u"w.HTML"_s, "<meta name=\"T\" content=\"Caf\xe9 \x93q\x94\">");
    w.enter(utf8);
    EXPECT_EQ(content(1), u"Café “q”"_s);
    w.enter(ansi);
    ASSERT_EQ(w.context.record.count(), 1);
    EXPECT_EQ(content(1), u"Café “q”"_s);
    w.context.document.setStatus(u"Merging Metadata"_s);
    // What the status bar says once the window has read the page, before the browser shows it.
    QString said;
    auto* browser = w.find<platform::WebBrowser>(u"WebBrowser1"_s);
    const QMetaObject::Connection watch = QObject::connect(browser, &platform::WebBrowser::beforeNavigate, browser, [&] {
        said = w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(3);
    });
    w.enter(write(u"b.htm"_s, "<meta name=\"B\" content=\"2\">"));
    QObject::disconnect(watch);
    EXPECT_EQ(w.context.record.count(), 2);
    EXPECT_TRUE(w.context.page.text.contains(u"content=\"2\""_s));
    EXPECT_EQ(said, u"Waiting for Metadata to come in..."_s);
    testing_support::CommandRecorder recorder{w.context};  // a record to open comes from the repository instead
    w.context.macros.openRecordMacro = u"mtp://cgisend=http://repo.example/open.kqb/"_s;
    // A click on a node of the hierarchy opens its page that way.
    ListTree& tree = w.activeTree();
    tree.clear();
    const ListTree::NodeId root = tree.add(0, ListTree::Place::Last, u"Pages\\"_s, u"Pages"_s, 1, 4);
    tree.setTag(tree.add(root, ListTree::Place::Child, u"Pages\\u"_s, u"u"_s, 2), utf8);
    w.find<QAction>(u"mnuViewTreeView"_s)->trigger();
    ListTreeView* view = w.activeTreeView();
    view->expandAll();
    const QRect node = view->visualRect(view->model()->index(0, 0, view->model()->index(0, 0)));
    widget_input::click(view->viewport(), Qt::LeftButton, Qt::NoModifier, node.center());
    EXPECT_EQ(recorder.commands, QStringList{w.context.macros.openRecordMacro});
    EXPECT_EQ(w.context.record.count(), 2);  // the page's own lines are not read
    recorder.commands.clear();  // only that one load: the next reads the page itself
    w.enter(write(u"c.htm"_s, "<meta name=\"C\" content=\"3\">"));
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(w.context.record.count(), 3);  // merged in
    // A page that cannot be read is named under a title that says so; the record stays.
    const QString folder = dir.filePath(u"folder.htm"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    boxes.expect(folder, platform::kAnswerOk);
    w.enter(folder);
    EXPECT_EQ(boxes.shown().last().title, u"Error opening page"_s);
    EXPECT_EQ(w.context.record.count(), 3);
}

TEST_F(PageLoadingTest, WebPagesTheirErrorsWhichLeaveThePanelAsItWasAndHarvestLists) {
    serve("/ok.htm", 200, "<meta name=\"DC.Creator\" content=\"Web\">");
    serve("/gone.htm", 404, "<meta name=\"X\" content=\"not found page\">");
    serve("/broken.htm", 500, "oops");
    serve("/hcl.xml", 200, "<!DOCTYPE x SYSTEM \"hcl.dtd\"><hcl><item><link>http://a.example/</link></item></hcl>", "text/xml");
    w.enter(server.url(u"/ok.htm"_s));
    boxes.expect(u"ErrorCode: 404"_s, platform::kAnswerOk).expect(u"ErrorCode: 500"_s, platform::kAnswerOk);
    w.enter(server.url(u"/gone.htm"_s));
    w.enter(server.url(u"/broken.htm"_s));
    EXPECT_EQ(w.context.record.lines().size(), 1);
    EXPECT_EQ(content(1), u"Web"_s);
    EXPECT_TRUE(w.context.page.text.contains(u"Web"_s));
    // A harvest list goes to the tree and stops the navigation.
    w.enter(server.url(u"/hcl.xml"_s));
    EXPECT_EQ(w.context.record.count(), 0);
    EXPECT_FALSE(testing_support::offlineBrowser(w.find<platform::WebBrowser>(u"WebBrowser1"_s)).LocationURL().contains(u"hcl"_s));
    ASSERT_EQ(w.activeTree().count(), 2);
    EXPECT_EQ(w.activeTree().tag(w.activeTree().item(2)), u"http://a.example/"_s);
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->itemText(0), server.url(u"/hcl.xml"_s));
}

TEST_F(PageLoadingTest, ABusyTransferParksTheAddressBoxAndTheTimerRetries) {
    server.addStall("/slow");
    serve("/later.htm", 200, "<meta name=\"Later\" content=\"yes\">");
    ASSERT_TRUE(w->findChild<platform::Inet*>(u"Inet1"_s)->Execute(server.url(u"/slow"_s)));
    w.enter(server.url(u"/later.htm"_s));
    EXPECT_EQ(w.context.record.count(), 0);  // parked while the transfer control is busy
    server.release();
    for (QDeadlineTimer deadline(10000); w->findChild<platform::Inet*>(u"Inet1"_s)->StillExecuting() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    // The window's timer takes the parked page up once the transfer control is free.
    for (QDeadlineTimer deadline(10000); w.context.record.isEmpty() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(w.context.record.count(), 1);
    EXPECT_EQ(content(1, Record::Name), u"Later"_s);
}

}  // namespace
