#include "app/Form1.h"
#include "app/frmHelpBrowser.h"
#include "app/modMetaMain.h"
#include "commands/ListLoading.h"
#include "commands/modMTP.h"
#include "platform/Folders.h"
#include "platform/Inet.h"
#include "platform/OfflineBrowser.h"
#include "platform/TreeImages.h"
#include "platform/TreeView.h"
#include "support/ListTrees.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

using testing_support::LocalHttpServer;
using testing_support::readBytes;
using testing_support::treeShape;
using testing_support::writeBytes;

namespace {

const QByteArray kScheme =
    "Animals|\r\n"
    "Animals|Cats|mtp://field=DC.Subject&content=Cats&scheme=Subjects.fld/\r\n"
    "Animals|Dogs|mtp://field=DC.Subject&content=Dogs&scheme=Subjects.fld/\r\n"
    "Plants|\r\n";

const QStringList kSchemeShape{
    QStringLiteral("Animals [] 5/5"),
    QStringLiteral("  Cats [mtp://field=DC.Subject&content=Cats&scheme=Subjects.fld/] 6/6"),
    QStringLiteral("  Dogs [mtp://field=DC.Subject&content=Dogs&scheme=Subjects.fld/] 6/6"),
    QStringLiteral("Plants [] 5/5"),
};

const QByteArray kCatalogue =
    "News|\r\n"
    "News|Local|\r\n"
    "News|Local|Town Hall|http://town.example/\r\n"
    "News|Subject|mtp://field=DC.Subject&content=News.fld\r\n";

class ListLoading : public ::testing::Test {
protected:
    testing_support::TestWindow window;
    testing_support::ScriptedMsgBoxes boxes;
    QTemporaryDir files;
    LocalHttpServer web;
    std::atomic<int> served{0};
    QStringList progressTexts;

    void SetUp() override {
        modMTP::listLoading = false;
        modMTP::listLoadRefusals = 0;
        modMTP::cancelRequested = false;
        modMetaMain::createCacheDirs();
        window->Inet1->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
        modMTP::setListProgressSink([this](const QString& text) { progressTexts << text; });
        frmHelpBrowser& help = frmHelpBrowser::instance();
        help.receivedHTML.clear();
        help.WebBrowser1->setBodyHtml(QString());
        help.hide();
    }
    void TearDown() override {
        modMTP::setListProgressSink({});
        EXPECT_FALSE(modMTP::listLoading) << "a load left the busy flag set";
    }

    QString path(const QString& name) const { return files.path() + QLatin1Char('/') + name; }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(web.port()); }
    QString cacheFile(const QString& folder, const QString& name) const {
        return platform::programDataFolder() + QStringLiteral("/cache/") + folder + QLatin1Char('/') + name;
    }
    // Serves a list at a path and counts how often it was asked for.
    void serve(const std::string& at, const QByteArray& bytes, int status = 200) {
        const std::string body = bytes.toStdString();
        web.server().Get(at, [this, body, status](const httplib::Request&, httplib::Response& res) {
            ++served;
            res.status = status;
            res.set_content(body, "text/plain");
        });
    }
    QString load(const QString& location) {
        QString text = location;
        modMTP::loadList(text);
        return text;
    }
    platform::TreeView& tree() const { return *window->activeTree(); }
    // The error page the help window shows once its timer has run ("" when none).
    QString errorPage() {
        frmHelpBrowser& help = frmHelpBrowser::instance();
        help.Timer1_Timer();
        return static_cast<platform::OfflineBrowser*>(help.WebBrowser1)->bodyHtml();
    }
    QStringList history() const {
        QStringList out;
        for (int i = 0; i < window->URL->count(); ++i) out << window->URL->itemText(i);
        return out;
    }
    // Runs `action` once, from the event loop, as soon as the server has seen a request.
    void whenRequested(QTimer& poll, std::function<void()> action) {
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [this, &poll, action] {
            if (web.requests().isEmpty()) return;
            poll.stop();
            action();
        });
        poll.start();
    }
};

}  // namespace

TEST_F(ListLoading, ALocalCatalogueFillsTheTreeBelowARootNamedAfterTheFile) {
    const QString file = path(QStringLiteral("My%20Sites.kqi")).replace(QStringLiteral("%20"), QStringLiteral(" "));
    writeBytes(file, kCatalogue);
    const QString location = load(path(QStringLiteral("My%20Sites.kqi")));

    EXPECT_EQ(window->treeIndex, 0);
    EXPECT_EQ(window->rootName, QStringLiteral("My Sites"));
    EXPECT_EQ(window->TreePath, file);
    EXPECT_EQ(window->listType, QStringLiteral("indexes"));
    ASSERT_GE(tree().Count(), 1);
    const platform::Node* root = tree().Item(1);
    EXPECT_EQ(root->Text(), QStringLiteral("My Sites"));
    EXPECT_EQ(root->Key(), QStringLiteral("My Sites\\"));
    EXPECT_EQ(root->Tag(), file);  // after a complete read: the file it came from
    EXPECT_EQ(root->Image(), platform::kImageFolder);
    EXPECT_EQ(root->SelectedImage(), platform::kImageOpenFolder);
    EXPECT_EQ(treeShape(tree()), (QStringList{
                                     QStringLiteral("News [] 1/4 News\\"),
                                     QStringLiteral("  Local [] 1/4 News\\Local\\"),
                                     QStringLiteral("    Town Hall [http://town.example/] 2/2 News\\Local\\Town Hall\\"),
                                     QStringLiteral("  Subject [mtp://field=DC.Subject&content=News.fld] 1/4 News\\Subject\\"),
                                 }));
    EXPECT_FALSE(tree().isHidden());
    EXPECT_TRUE(window->TreeView1[1]->isHidden());
    EXPECT_TRUE(window->mnuViewTreeView->isChecked());
    EXPECT_EQ(window->mnuFileSaveList->text(), QStringLiteral("Save Catalog"));
    EXPECT_TRUE(history().contains(QStringLiteral("file://") + path(QStringLiteral("My%20Sites.kqi"))));
    EXPECT_EQ(location, path(QStringLiteral("My%20Sites.kqi")));
    EXPECT_TRUE(errorPage().isEmpty());
    EXPECT_EQ(modMTP::listLoadRefusals, 0);
}

TEST_F(ListLoading, TheReaderTakesEveryLineEndAndKeepsALastLineWithoutOne) {
    writeBytes(path(QStringLiteral("Mixed.kqs")),
                           "Animals|\nAnimals|Cats|mtp://field=DC.Subject&content=Cats&scheme=Subjects.fld/\r"
                           "Animals|Dogs|mtp://field=DC.Subject&content=Dogs&scheme=Subjects.fld/\r\n\r\n\n"
                           "Plants|");
    load(path(QStringLiteral("Mixed.kqs")));
    EXPECT_EQ(window->listType, QStringLiteral("schema"));
    EXPECT_EQ(tree().Item(1)->Image(), platform::kImageSchemeFolder);
    EXPECT_EQ(treeShape(tree(), false), kSchemeShape);
}

TEST_F(ListLoading, RefusedLinesLandOnTheErrorPageAndTheRestLoads) {
    QByteArray bytes =
        "News|\r\n"
        "News|Today|http://a.example/\r\n"
        "News|Today|http://b.example/\r\n"      // the same key again
        "no bar <b>here</b> & there\r\n"        // not a list line
        "|\r\n"                                  // a bar alone
        "Later|Child|http://c.example/\r\n"     // before its folder
        "Later|\r\n";
    bytes += QByteArray(1024 * 1024, 'x') + "\r\n";  // a 1 MB line
    bytes += "Later|Last|http://d.example/\r\n";
    writeBytes(path(QStringLiteral("Bad.kqi")), bytes);
    load(path(QStringLiteral("Bad.kqi")));

    EXPECT_EQ(treeShape(tree(), false), (QStringList{
                                            QStringLiteral("News [] 1/4"),
                                            QStringLiteral("  Today [http://a.example/] 2/2"),
                                            QStringLiteral("Later [] 1/4"),
                                            QStringLiteral("  Last [http://d.example/] 2/2"),
                                        }));
    const QString page = errorPage();
    EXPECT_TRUE(page.startsWith(QStringLiteral("<H2>These Errors were found loading the list:</H2>")));
    EXPECT_TRUE(page.contains(QStringLiteral("News|Today|http://b.example/<br>Key is not unique in collection<br>")));
    EXPECT_TRUE(page.contains(QStringLiteral("no bar &lt;b&gt;here&lt;/b&gt; &amp; there<br>")));
    EXPECT_TRUE(page.contains(QStringLiteral("Later|Child|http://c.example/<br>Element not found<br>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<br>|<br>")));
    // The long line is shown cut short, not whole.
    EXPECT_TRUE(page.contains(QString(2000, QLatin1Char('x')) + QStringLiteral("...<br>")));
    EXPECT_LT(page.size(), 10000);
    EXPECT_TRUE(frmHelpBrowser::instance().isVisible());
}

TEST_F(ListLoading, ABinaryFileNeitherCrashesNorHangsTheLoad) {
    QByteArray noise;
    quint32 seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise += char(seed >> 24);
    }
    writeBytes(path(QStringLiteral("Noise.kqi")), noise);
    load(path(QStringLiteral("Noise.kqi")));
    ASSERT_GE(tree().Count(), 1);
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Noise"));
    EXPECT_FALSE(errorPage().isEmpty());
}

TEST_F(ListLoading, ProgressEveryTenLinesAndCancelStopsTheReading) {
    QByteArray bytes;
    for (int i = 1; i <= 35; ++i) bytes += QStringLiteral("Term %1|mtp://field=DC.Subject&content=%1.fld/\r\n").arg(i).toUtf8();
    writeBytes(path(QStringLiteral("Long.kqs")), bytes);

    // An earlier Cancel does not cut a new load short.
    modMTP::cancelRequested = true;
    load(path(QStringLiteral("Long.kqs")));
    EXPECT_EQ(tree().Count(), 36);
    EXPECT_EQ(progressTexts, (QStringList{QStringLiteral("Long Tree loaded. Now filling the tree...."),
                                          QStringLiteral("Loading record:  10"), QStringLiteral("Loading record:  20"),
                                          QStringLiteral("Loading record:  30")}));

    // Cancel while it reads: it stops at the next tenth line and keeps what it read.
    progressTexts.clear();
    modMTP::setListProgressSink([this](const QString& text) {
        progressTexts << text;
        if (text.startsWith(QLatin1String("Loading record:"))) modMTP::cancelRequested = true;
    });
    load(path(QStringLiteral("Long.kqs")));
    EXPECT_EQ(tree().Count(), 11);
    EXPECT_EQ(progressTexts.last(), QStringLiteral("Loading record:  10"));
}

TEST_F(ListLoading, AWebListIsFetchedOnceAndThenReadFromTheCache) {
    serve("/lists/Subjects.kqs", kScheme);
    window->listType = QStringLiteral("schema");
    const QString address = host() + QStringLiteral("/lists/Subjects.kqs");

    load(QStringLiteral("url=") + address);
    EXPECT_EQ(served.load(), 1);
    EXPECT_EQ(window->rootName, QStringLiteral("Subjects"));
    EXPECT_EQ(window->TreePath, QStringLiteral(".kqs"));
    ASSERT_GE(tree().Count(), 1);
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Subjects"));
    EXPECT_EQ(tree().Item(1)->Tag(), QString());
    EXPECT_EQ(treeShape(tree(), false), kSchemeShape);
    const QString cached = cacheFile(QStringLiteral("schema"), QStringLiteral("Subjects.kqs"));
    EXPECT_EQ(readBytes(cached), kScheme + "\r\n");
    EXPECT_TRUE(history().contains(QStringLiteral("http://") + address));

    load(QStringLiteral("url=") + address);
    EXPECT_EQ(served.load(), 1) << "the second load reads the cache";
    EXPECT_EQ(treeShape(tree(), false), kSchemeShape);

    load(QStringLiteral("url=") + address + QStringLiteral("|bypassCache"));
    EXPECT_EQ(served.load(), 2);
    window->shiftDown = true;
    load(QStringLiteral("url=") + address);
    window->shiftDown = false;
    EXPECT_EQ(served.load(), 3);
    EXPECT_EQ(treeShape(tree(), false), kSchemeShape);
}

TEST_F(ListLoading, AFailedFetchShowsTheCodeAndLeavesTheListAsItWas) {
    writeBytes(path(QStringLiteral("Sites.kqi")), kCatalogue);
    load(path(QStringLiteral("Sites.kqi")));
    const QStringList before = treeShape(tree());
    serve("/lists/Gone.kqi", "<html><body>Not here</body></html>", 404);
    window->listType = QStringLiteral("indexes");

    boxes.expect(QStringLiteral("ErrorCode: 404"), platform::vbOK);
    load(QStringLiteral("url=") + host() + QStringLiteral("/lists/Gone.kqi"));
    EXPECT_EQ(window->rootName, QStringLiteral("Sites"));
    EXPECT_EQ(window->TreePath, path(QStringLiteral("Sites.kqi")));
    EXPECT_EQ(treeShape(tree()), before);
    EXPECT_FALSE(QFileInfo::exists(cacheFile(QStringLiteral("indexes"), QStringLiteral("Gone.kqi"))));

    // A missing local file: the message, and the list stays.
    boxes.expect(QStringLiteral("Could not retrieve the data. Check your connection to the Internet"), platform::vbOK);
    load(path(QStringLiteral("Missing.kqs")));
    EXPECT_EQ(boxes.shown().last().title, QStringLiteral("No data found"));
    EXPECT_EQ(window->rootName, QStringLiteral("Sites"));
    EXPECT_EQ(window->TreePath, path(QStringLiteral("Sites.kqi")));
    EXPECT_EQ(window->listType, QStringLiteral("indexes"));
    EXPECT_EQ(treeShape(tree()), before);
}

TEST_F(ListLoading, AnHtmlPageServedAsAListIsRefusedLineByLine) {
    serve("/lists/Page.kqi", "<html>\n<body>\n<h1>Server busy</h1>\n</body>\n</html>\n");
    window->listType = QStringLiteral("indexes");
    load(QStringLiteral("url=") + host() + QStringLiteral("/lists/Page.kqi"));
    EXPECT_EQ(tree().Count(), 1);
    EXPECT_TRUE(errorPage().contains(QStringLiteral("&lt;h1&gt;Server busy&lt;/h1&gt;<br>")));
}

TEST_F(ListLoading, AnHttpsAddressIsNeverFetchedOverHttp) {
    serve("/lists/Subjects.kqs", kScheme);
    window->listType = QStringLiteral("schema");
    boxes.expect(QStringLiteral("ErrorCode: "), platform::vbOK);
    load(QStringLiteral("url=https://") + host() + QStringLiteral("/lists/Subjects.kqs"));
    EXPECT_EQ(served.load(), 0);
    EXPECT_EQ(tree().Count(), 0);
}

TEST_F(ListLoading, ASchemeServerListComesThroughItsScriptAndStaysCached) {
    modMetaMain::schemeServer = host();
    web.server().Get("/cgi-bin/loadindex.pl", [this](const httplib::Request& req, httplib::Response& res) {
        ++served;
        res.set_content("Topic " + req.get_param_value("index") + "|\r\n", "text/plain");
    });
    window->listType = QStringLiteral("indexes");
    window->TreePath = QStringLiteral(".kqi");  // the kind of the list shown before
    const QString location = load(QStringLiteral("remote=Health%20Topics"));
    ASSERT_EQ(web.requests().size(), 1);
    EXPECT_EQ(web.requests().first().target, "/cgi-bin/loadindex.pl?index=Health%20Topics");
    EXPECT_EQ(location, QStringLiteral("Health%20Topics"));
    EXPECT_TRUE(QFileInfo(cacheFile(QStringLiteral("indexes"), QStringLiteral("Health Topics.kqi"))).isFile());
    ASSERT_GE(tree().Count(), 2);
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Health Topics"));
    EXPECT_EQ(tree().Item(2)->Text(), QStringLiteral("Topic Health Topics"));

    // The cached copy serves even when asked to bypass the cache.
    load(QStringLiteral("remote=Health%20Topics|bypassCache"));
    EXPECT_EQ(served.load(), 1);
    EXPECT_EQ(tree().Count(), 2);

    // A name that climbs out of the folder still lands inside it.
    load(QStringLiteral("remote=../../escaped"));
    EXPECT_TRUE(QFileInfo(cacheFile(QStringLiteral("indexes"), QStringLiteral(".._.._escaped.kqi"))).isFile());
    EXPECT_FALSE(QFileInfo::exists(platform::programDataFolder() + QStringLiteral("/escaped.kqi")));
}

TEST_F(ListLoading, SchemeListsComeFromTheSchemeScript) {
    modMetaMain::schemeServer = host();
    serve("/cgi-bin/loadscheme.pl", kScheme);
    window->listType = QStringLiteral("schema");
    window->TreePath = QStringLiteral(".kqs");
    load(QStringLiteral("remote=Subjects"));
    ASSERT_EQ(web.requests().size(), 1);
    EXPECT_EQ(web.requests().first().target, "/cgi-bin/loadscheme.pl?scheme=Subjects");
    EXPECT_TRUE(QFileInfo(cacheFile(QStringLiteral("schema"), QStringLiteral("Subjects"))).isFile());
    EXPECT_EQ(treeShape(tree(), false), kSchemeShape);
}

TEST_F(ListLoading, ReportPagesGetTheirOwnRootsAndTheRepositoryCatalogueItsOwnTree) {
    serve("/kq.aspx", "Week 1|\r\nWeek 1|cats|http://search.example/?q=cats\r\n");
    web.server().Get("/metacatalogue.asp", [this](const httplib::Request&, httplib::Response& res) {
        ++served;
        res.set_content(served.load() < 3 ? "Health|\r\n" : "Health|\r\nSport|\r\n", "text/plain");
    });
    window->listType = QStringLiteral("indexes");
    load(QStringLiteral("url=") + host() + QStringLiteral("/kq.aspx?showSearches.kqi"));
    EXPECT_EQ(web.requests().last().target, "/kq.aspx?showSearches.kqi");
    EXPECT_EQ(window->treeIndex, 0);
    EXPECT_EQ(window->TreePath, QStringLiteral(".kqi"));
    EXPECT_TRUE(window->rootName.isEmpty());
    ASSERT_GE(tree().Count(), 1);
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Search Analysis"));
    EXPECT_EQ(treeShape(tree(), false),
              (QStringList{QStringLiteral("Week 1 [] 1/4"), QStringLiteral("  cats [http://search.example/?q=cats] 2/2")}));

    load(QStringLiteral("url=") + host() + QStringLiteral("/metacatalogue.asp?getCatalogue.kqi"));
    EXPECT_EQ(window->treeIndex, 1);
    EXPECT_EQ(window->TreePath, QStringLiteral("Main Catalog.kqi"));
    EXPECT_TRUE(window->rootName.isEmpty());
    EXPECT_EQ(window->mnuFileSaveAs(5)->text(), QStringLiteral("Quorvantile Repository Catalog..."));
    EXPECT_TRUE(window->TreeView1[0]->isHidden());
    EXPECT_FALSE(window->TreeView1[1]->isHidden());
    EXPECT_EQ(window->TreeView1[1]->Item(1)->Text(), QStringLiteral("Main Catalog"));
    EXPECT_EQ(treeShape(*window->TreeView1[1], false), QStringList{QStringLiteral("Health [] 1/4")});
    EXPECT_EQ(served.load(), 2);

    // Again: the kept tree is shown as it is; with bypass it is fetched and filled anew.
    load(QStringLiteral("url=") + host() + QStringLiteral("/metacatalogue.asp?getCatalogue.kqi"));
    EXPECT_EQ(served.load(), 2);
    EXPECT_EQ(window->TreeView1[1]->Count(), 2);
    load(QStringLiteral("url=") + host() + QStringLiteral("/metacatalogue.asp?getCatalogue.kqi|bypassCache"));
    EXPECT_EQ(served.load(), 3);
    EXPECT_EQ(treeShape(*window->TreeView1[1], false),
              (QStringList{QStringLiteral("Health [] 1/4"), QStringLiteral("Sport [] 1/4")}));
}

TEST_F(ListLoading, AListFromTheCacheFolderShowsWithARootOfItsKind) {
    const QString file = cacheFile(QStringLiteral("indexes"), QStringLiteral("Kept.kqi"));
    writeBytes(file, kCatalogue);
    load(file);
    EXPECT_EQ(window->TreePath, QStringLiteral(".kqi"));
    EXPECT_EQ(window->rootName, QStringLiteral("Kept"));
    ASSERT_EQ(tree().Count(), 5);
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Kept"));
    EXPECT_EQ(tree().Item(1)->Tag(), QString());
}

TEST_F(ListLoading, AStalledServerCanBeCancelledAndFurtherLoadsAreRefusedMeanwhile) {
    writeBytes(path(QStringLiteral("Sites.kqi")), kCatalogue);
    load(path(QStringLiteral("Sites.kqi")));
    const QStringList before = treeShape(tree());
    web.addStall("/lists/Slow.kqs");
    window->listType = QStringLiteral("schema");

    // While the first load waits: a second list command is dropped silently, a third
    // is told to wait; then the user cancels.
    QTimer poll;
    whenRequested(poll, [this] {
        load(path(QStringLiteral("Sites.kqi")));
        load(path(QStringLiteral("Sites.kqi")));
        modMTP::cancelRequested = true;
    });
    boxes.expect(QStringLiteral("Already loading another list. Please wait"), platform::vbOK);
    load(QStringLiteral("url=") + host() + QStringLiteral("/lists/Slow.kqs"));

    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_FALSE(window->Inet1->StillExecuting());
    EXPECT_EQ(window->rootName, QStringLiteral("Sites"));
    EXPECT_EQ(window->TreePath, path(QStringLiteral("Sites.kqi")));
    EXPECT_EQ(treeShape(tree()), before);
    EXPECT_FALSE(QFileInfo::exists(cacheFile(QStringLiteral("schema"), QStringLiteral("Slow.kqs"))));
    web.release();

    // The refusals are counted until a load runs to its end.
    EXPECT_EQ(modMTP::listLoadRefusals, 2);
    load(path(QStringLiteral("Sites.kqi")));
    EXPECT_EQ(modMTP::listLoadRefusals, 0);
    EXPECT_EQ(treeShape(tree()), before);
}

TEST(ListCacheFileName, IsAlwaysOneNameInsideTheCacheFolder) {
    EXPECT_EQ(modMTP::listCacheFileName(QStringLiteral("Subjects.kqs")), QStringLiteral("Subjects.kqs"));
    EXPECT_EQ(modMTP::listCacheFileName(QStringLiteral("..")), QStringLiteral("__"));
    EXPECT_EQ(modMTP::listCacheFileName(QStringLiteral(".")), QStringLiteral("_"));
    EXPECT_EQ(modMTP::listCacheFileName(QString()), QStringLiteral("list"));
    EXPECT_EQ(modMTP::listCacheFileName(QStringLiteral("a/b\\c\nd.kqi")), QStringLiteral("a_b_c_d.kqi"));
    const QString longA = QString(300, QLatin1Char('a')) + QStringLiteral(".kqs");
    const QString longB = QString(300, QLatin1Char('a')) + QStringLiteral("b.kqs");
    const QString nameA = modMTP::listCacheFileName(longA);
    EXPECT_LE(nameA.toUtf8().size(), 200);
    EXPECT_TRUE(nameA.endsWith(QStringLiteral(".kqs")));
    EXPECT_NE(nameA, modMTP::listCacheFileName(longB));
    EXPECT_FALSE(nameA.contains(QLatin1Char('/')));
}

TEST_F(ListLoading, ARepositorySchemeIsNamedAfterWhatFollowsReturnScheme) {
    serve("/kq.aspx", "Term|mtp://field=DC.Subject&content=Term&scheme=Subjects.fld/\r\n");
    window->listType = QStringLiteral("indexes");
    load(QStringLiteral("url=") + host() + QStringLiteral("/kq.aspx?returnScheme=Subjects.kqi"));
    ASSERT_EQ(tree().Count(), 2);
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Subjects"));
    EXPECT_EQ(tree().Item(2)->Parent(), tree().Item(1));
    EXPECT_EQ(window->mnuFileSaveAs(5)->text(), QStringLiteral("Local Catalog..."));
}

TEST_F(ListLoading, AListOfAnUnknownKindIsReported) {
    modMetaMain::schemeServer = host();
    window->listType = QStringLiteral("other");
    window->rootName = QStringLiteral("Before");
    boxes.expect(QStringLiteral("System Type of Odd unknown"), platform::vbOK)
        .expect(QStringLiteral("Could not retrieve the data"), platform::vbOK);
    load(QStringLiteral("remote=Odd"));
    EXPECT_TRUE(web.requests().isEmpty());
    EXPECT_EQ(window->rootName, QStringLiteral("Before"));

    serve("/lists/Plain.kqs", kScheme);
    window->listType.clear();
    boxes.expect(QStringLiteral("No System Type of "), platform::vbOK);
    load(QStringLiteral("url=") + host() + QStringLiteral("/lists/Plain.kqs"));
    EXPECT_EQ(boxes.shown().last().title, QStringLiteral("Error"));
    EXPECT_EQ(tree().Count(), 1);
}
