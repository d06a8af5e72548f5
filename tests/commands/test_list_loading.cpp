#include "gui/frame/WindowFrame.h"
#include <QDeadlineTimer>
#include <QMainWindow>
#include "gui/app/frmHelpBrowser.h"
#include "gui/app/modMetaMain.h"
#include "core/commands/ListLoading.h"
#include "core/commands/modMTP.h"
#include "gui/app/HelpMenu.h"
#include "platform/Folders.h"
#include "platform/Inet.h"
#include "platform/widgets/StatusBar.h"
#include "gui/catalogues/ListTreeView.h"
#include "support/ListTrees.h"
#include "support/LocalHttpServer.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QTemporaryDir>
#include <QTimer>

#include <atomic>

using namespace Qt::StringLiterals;
using testing_support::treeShape;
using testing_support::writeBytes;

namespace {

const QByteArray kScheme = "Animals|\r\nAnimals|Cats|mtp://field=DC.Subject&content=Cats.fld/\r\nPlants|\r\n";
const QStringList kSchemeShape{u"Animals [] 5/5"_s, u"  Cats [mtp://field=DC.Subject&content=Cats.fld/] 6/6"_s,
                               u"Plants [] 5/5"_s};
const QByteArray kCatalogue = "News|\r\nNews|Local|\r\nNews|Local|Town Hall|http://town.example/\r\n"
                              "News|Subject|mtp://field=DC.Subject&content=News.fld\r\n";

class ListLoading : public ::testing::Test {
protected:
    // Straight to the test's server, whatever proxy the machine names.
    testing_support::TestWindow window{QString(), {QNetworkProxy(QNetworkProxy::NoProxy), std::nullopt}};
    testing_support::ScriptedMsgBoxes boxes;
    QTemporaryDir files;
    testing_support::LocalHttpServer web;
    std::atomic<int> served{0};

    void SetUp() override {
        window.context.commands.listLoading = window.context.commands.cancelRequested = false;
        window.context.commands.listLoadRefusals = 0;
        modMetaMain::createCacheDirs();
    }
    void TearDown() override {
        EXPECT_FALSE(window.context.commands.listLoading) << "a load left the busy flag set";
    }
    QString path(const QString& name) const { return files.path() + QLatin1Char('/') + name; }
    QString host() const { return u"127.0.0.1:%1"_s.arg(web.port()); }
    static QString cacheFile(const QString& name) { return platform::programDataFolder() + u"/cache/"_s + name; }
    // Serves a list at a path and counts how often it was asked for.
    void serve(const std::string& at, const QByteArray& bytes, int status = 200) {
        web.server().Get(at, [this, body = bytes.toStdString(), status](const auto&, httplib::Response& res) {
            ++served;
            res.status = status;
            res.set_content(body, "text/plain");
        });
    }
    void load(const QString& location, const QString& type = {}) {
        if (!type.isEmpty()) window.context.document.setListType(type);
        QString text = location;
        modMTP::loadList(window.context, text);
    }
    ListTree& tree() const { return window.activeTree(); }
    QString rootText() const { return tree().text(tree().item(1)); }
    // The error page the help window shows once its timer has run.
    QString errorPage() const {
        frmHelpBrowser& help = window.helpMenu().helpWindow();
        const QTimer* timer = testing_support::child<QTimer>(help, u"Timer1"_s);
        for (QDeadlineTimer deadline(5000); timer->isActive() && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return testing_support::offlineBrowser(testing_support::child<platform::WebBrowser>(help, u"WebBrowser1"_s)).bodyHtml();
    }
};

}  // namespace

TEST_F(ListLoading, ALocalListFillsTheTreeBelowARootNamedAfterTheFileAndRefusedLinesAreShown) {
    const QString file = writeBytes(path(u"My Sites.kqi"_s), kCatalogue);
    load(path(u"My%20Sites.kqi"_s));
    EXPECT_EQ(window.context.document.TreePath(), file);
    EXPECT_EQ(rootText(), u"My Sites"_s);
    EXPECT_EQ(tree().tag(tree().item(1)), file);  // after a complete read: the file it came from
    EXPECT_EQ(treeShape(tree()), (QStringList{u"News [] 1/4 News\\"_s, u"  Local [] 1/4 News\\Local\\"_s,
                                              u"    Town Hall [http://town.example/] 2/2 News\\Local\\Town Hall\\"_s,
                                              u"  Subject [mtp://field=DC.Subject&content=News.fld] 1/4 "
                                              u"News\\Subject\\"_s}));
    // Every line end is taken, and a last line without one is kept.
    load(writeBytes(path(u"Mixed.kqs"_s), "Animals|\nAnimals|Cats|mtp://field=DC.Subject&content=Cats.fld/\r\r\n\n\n"
                                          "Plants|"));
    EXPECT_EQ(window.context.document.listType(), u"schema"_s);
    EXPECT_EQ(treeShape(tree(), false), kSchemeShape);

    // Refused lines land on the error page and the rest loads; an entry whose name its folder
    // holds already is kept under a number, and the user is told.
    QByteArray bytes = "News|\r\n"
                       "News|Today|http://a.example/\r\n"
                       "News|To\x01" "day |http://b.example/\r\n"  // the same name, once cleaned
                       "no bar <b>here</b> & there\r\n"     // not a list line
                       "|\r\n||\r\nNews||\r\n"              // bars without names
                       "Later|Child|http://c.example/\r\n"  // before its folder
                       "Later|\r\n" + QByteArray(1024 * 1024, 'x') + "\r\nLater|Last|http://d.example/\r\n";
    boxes.expect(u"News|Today  \u2192  Today (2)"_s, platform::kAnswerOk);
    load(writeBytes(path(u"Bad.kqi"_s), bytes));
    EXPECT_EQ(treeShape(tree(), false), (QStringList{u"News [] 1/4"_s, u"  Today [http://a.example/] 2/2"_s,
                                                     u"  Today (2) [http://b.example/] 2/2"_s, u"Later [] 1/4"_s,
                                                     u"  Last [http://d.example/] 2/2"_s}));
    const QString page = errorPage();
    EXPECT_TRUE(page.contains(u"no bar &lt;b&gt;here&lt;/b&gt; &amp; there<br>"_s));
    EXPECT_TRUE(page.contains(u"Later|Child|http://c.example/<br>Element not found<br>"_s));
    EXPECT_TRUE(page.contains(u"<br>News||<br>"_s));
    // The 1 MB line is shown cut short, not whole.
    EXPECT_TRUE(page.contains(QString(2000, QLatin1Char('x')) + u"...<br>"_s));
    EXPECT_LT(page.size(), 10000);
}

// However many entries share a name, the user is told once, in one message naming each.
TEST_F(ListLoading, NamesakesAreKeptUnderNumbersAndListedInOneMessage) {
    const QByteArray bytes = "News|\r\nNews|Today|http://a.example/\r\nNews|Today|http://b.example/\r\n"
                             "News|Today|http://c.example/\r\nSport|http://s.example/\r\nSport|http://t.example/\r\n";
    boxes.expect(u"These entries had the name of another entry in their folder"_s, platform::kAnswerOk);
    load(writeBytes(path(u"Twice.kqi"_s), bytes));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().title, u"Entries renamed"_s);
    EXPECT_EQ(boxes.shown().first().text.split(u"\r\n"_s).mid(1),
              (QStringList{u"News|Today  \u2192  Today (2)"_s, u"News|Today  \u2192  Today (3)"_s,
                           u"Sport  \u2192  Sport (2)"_s}));
    EXPECT_EQ(treeShape(tree(), false),
              (QStringList{u"News [] 1/4"_s, u"  Today [http://a.example/] 2/2"_s, u"  Today (2) [http://b.example/] 2/2"_s,
                           u"  Today (3) [http://c.example/] 2/2"_s, u"Sport [http://s.example/] 2/2"_s,
                           u"Sport (2) [http://t.example/] 2/2"_s}));
}

TEST_F(ListLoading, WebListsAreFetchedOnceAndThenReadFromTheCache) {
    serve("/lists/Subjects.kqs", kScheme);
    const QString address = u"url="_s + host() + u"/lists/Subjects.kqs"_s;
    load(address, u"schema"_s);
    EXPECT_EQ(rootText(), u"Subjects"_s);
    EXPECT_EQ(treeShape(tree(), false), kSchemeShape);
    EXPECT_EQ(testing_support::readBytes(cacheFile(u"schema/Subjects.kqs"_s)), kScheme + "\r\n");
    load(address);
    EXPECT_EQ(served.load(), 1) << "the second load reads the cache";
    load(address + u"|bypassCache"_s);
    window.holdShift(true);
    load(address);
    window.holdShift(false);
    EXPECT_EQ(served.load(), 3);

    // A scheme server's list whose name climbs out of the cache folder still lands inside it.
    window.context.schemeServer = host();
    serve("/cgi-bin/loadindex.pl", "Topic|\r\n");
    window.context.document.setTreePath(u".kqi"_s);  // the kind of the list shown before
    load(u"remote=../../escaped"_s, u"indexes"_s);
    EXPECT_EQ(web.requests().last().target, "/cgi-bin/loadindex.pl?index=../../escaped");
    EXPECT_TRUE(QFileInfo(cacheFile(u"indexes/.._.._escaped.kqi"_s)).isFile());
    EXPECT_FALSE(QFileInfo::exists(platform::programDataFolder() + u"/escaped.kqi"_s));
    // The list's name is asked for without its type, and names the list.
    load(u"remote=Topics.KQI"_s, u"indexes"_s);
    EXPECT_EQ(web.requests().last().target, "/cgi-bin/loadindex.pl?index=Topics");
    EXPECT_EQ(window.context.rootName, u"Topics"_s);
}

TEST_F(ListLoading, FailedOrCancelledFetchesLeaveTheListAsItWas) {
    load(writeBytes(path(u"Sites.kqi"_s), kCatalogue));
    const QStringList before = treeShape(tree());
    serve("/lists/Gone.kqi", "<html><body>Not here</body></html>", 404);
    serve("/lists/Subjects.kqs", kScheme);
    boxes.expect(u"ErrorCode: 404"_s, platform::kAnswerOk)
        .expect(u"Could not retrieve the data. Check your connection to the Internet"_s, platform::kAnswerOk)
        .expect(u"ErrorCode: "_s, platform::kAnswerOk);
    load(u"url="_s + host() + u"/lists/Gone.kqi"_s, u"indexes"_s);
    EXPECT_FALSE(QFileInfo::exists(cacheFile(u"indexes/Gone.kqi"_s)));
    load(path(u"Missing.kqs"_s));  // a missing local file: the message, and the list stays
    EXPECT_EQ(boxes.shown().last().title, u"No data found"_s);
    load(u"url=https://"_s + host() + u"/lists/Subjects.kqs"_s);  // https is never fetched over http
    EXPECT_EQ(served.load(), 1);
    EXPECT_EQ(rootText(), u"Sites"_s);
    EXPECT_EQ(treeShape(tree()), before);

    // A stalled fetch: a second list command is dropped silently, a third is told to
    // wait; then the user cancels.
    web.addStall("/lists/Slow.kqs");
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (web.requests().size() < 2) return;  // the slow list's request is the second
        poll.stop();
        load(path(u"Sites.kqi"_s));
        load(path(u"Sites.kqi"_s));
        window.context.commands.cancelRequested = true;
    });
    poll.start();
    boxes.expect(u"Already loading another list. Please wait"_s, platform::kAnswerOk);
    load(u"url="_s + host() + u"/lists/Slow.kqs"_s, u"schema"_s);
    EXPECT_FALSE(window->findChild<platform::Inet*>(u"Inet1"_s)->StillExecuting());
    EXPECT_EQ(window.context.document.TreePath(), path(u"Sites.kqi"_s));
    EXPECT_EQ(treeShape(tree()), before);
    EXPECT_FALSE(QFileInfo::exists(cacheFile(u"schema/Slow.kqs"_s)));
    web.release();
}

// A long load keeps the window running and says how far it got in the status bar, a few
// times a second; the pane shows the list once it is in.
TEST_F(ListLoading, ALongLoadShowsItsProgressInTheStatusBarAndEndsReady) {
    QByteArray bytes;
    for (int folder = 0; folder < 400; ++folder) {
        const QByteArray name = "Folder " + QByteArray::number(folder) + "|";
        bytes += name + "\r\n";
        for (int entry = 0; entry < 1500; ++entry)
            bytes += name + "Entry " + QByteArray::number(entry) + "|http://e.example/" + QByteArray::number(entry) + "\r\n";
    }
    const QString file = writeBytes(path(u"Long.kqi"_s), bytes);
    QStringList seen;
    int rowsShownMeanwhile = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        seen << window.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(WindowFrame::kActivityPanel);
        rowsShownMeanwhile = std::max(rowsShownMeanwhile, window.activeTreeView()->model()->rowCount());
    });
    watch.start(1);
    load(file);
    watch.stop();
    EXPECT_TRUE(seen.filter(u"Loading record: "_s).size() > 0) << seen.join(u", "_s).left(500).toStdString();
    EXPECT_EQ(rowsShownMeanwhile, 0);
    EXPECT_EQ(window.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(WindowFrame::kActivityPanel), u"Ready"_s);
    EXPECT_EQ(tree().count(), 1 + 400 * 1501);
    EXPECT_EQ(window.activeTreeView()->model()->rowCount(), 1);
}
