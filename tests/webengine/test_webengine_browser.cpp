#include "platform/BrowserAddress.h"
#include "platform/webengine/WebEngineBrowser.h"
#include "support/ScriptedUi.h"

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <gtest/gtest.h>
#include <httplib.h>

#include <functional>
#include <ostream>
#include <memory>
#include <thread>

// Readable failure messages for texts.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

using platform::BeforeNavigateEvent;
using platform::NavigationSource;
using platform::NewWindowEvent;
using platform::webengine::WebEngineBrowser;

namespace {

// Generous: the engine's first start on a loaded machine is slow. Every wait ends as soon
// as what it waits for has happened.
constexpr int kWaitMs = 30000;

bool waitUntil(const std::function<bool()>& done, int timeoutMs = kWaitMs) {
    QElapsedTimer clock;
    clock.start();
    if (done()) return true;
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > timeoutMs) loop.quit();
    });
    tick.start();
    loop.exec();
    return done();
}

// Pages served from 127.0.0.1 for the whole run.
class PageServer {
public:
    PageServer() {
        server_.set_keep_alive_max_count(1);
        server_.Get("/page.html", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html><head><title>Served Page</title></head><body><p>served</p></body></html>",
                            "text/html; charset=utf-8");
        });
        server_.Get("/popup.html", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html><head><title>Popup</title><script>"
                            "window.open('/page.html?popup'); window.open('/page.html?again');"
                            "for (var i = 0; i < 20; i++) window.open('/page.html?storm' + i);"
                            "</script></head><body></body></html>",
                            "text/html");
        });
        server_.Get("/loop", [](const httplib::Request& req, httplib::Response& res) {
            const int n = req.has_param("n") ? std::stoi(req.get_param_value("n")) : 1;
            res.set_content("<html><head><title>Loop " + std::to_string(n) +
                                "</title></head><body><script>addEventListener('load', function () {"
                                "location.href = '/loop?n=" +
                                std::to_string(n + 1) + "'; });</script></body></html>",
                            "text/html");
        });
        server_.Get("/redirect", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/page.html?redirected");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~PageServer() {
        server_.stop();
        thread_.join();
    }
    QString address(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

struct Recorded {
    BeforeNavigateEvent event;
    bool cancelled = false;
};

class EngineBrowserTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new PageServer;
        folder_ = new QTemporaryDir;
        const QString web = server_->address(QStringLiteral("/page.html"));
        writePage(QStringLiteral("links.html"),
                  QStringLiteral(
                      "<html><head><meta charset='utf-8'><title>Links</title></head><body>"
                      "<a id='heart' href='mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/'>Heart "
                      "Disease</a>\n"
                      "<a id='cafe' href='mtp://field=DC.Subject&content=Café Ōtautahi.fld/'>Café</a>\n"
                      "<a id='upper' href='MTP://field=DC.Subject&content=Upper.fld/'>Upper</a>\n"
                      "<a id='noslash' href='mtp:field=DC.Subject&content=NoSlash.fld/'>No slash</a>\n"
                      "<a id='percent' href='mtp://field=DC.Subject&content=50%25 and %20 blank.fld/'>Pct</a>\n"
                      "<a id='spaced' href='  mtp://field=DC.Subject&content=Spaced.fld/  '>Spaced</a>\n"
                      "<a id='blank' target='_blank' href='mtp://field=DC.Subject&content=New Window.fld/'>New</a>\n"
                      "<a id='js' href='javascript:void(0)'>Script</a>\n"
                      "<a id='pagecancels' href='mtp://field=DC.Subject&content=Page Cancels.fld/' "
                      "onclick='return false'>Cancelled by the page</a>\n"
                      "<a id='web' href='%1'>Web</a>\n"
                      "<a id='rel' href='second page.html'>Relative</a>\n"
                      "<a id='img' href='%1?img'><img alt='Picture alt' src='none.png'></a>\n"
                      "<a id='data' href='data:text/html,<title>Data link</title>'>Data</a>\n"
                      "<iframe name='inner' src='frame.html'></iframe>"
                      "</body></html>")
                      .arg(web));
        writePage(QStringLiteral("frame.html"),
                  QStringLiteral("<html><head><meta charset='utf-8'></head><body>"
                                 "<a id='framelink' href='mtp://field=DC.Subject&content=In Frame.fld/'>In frame</a>\n"
                                 "<a id='frametop' target='_top' href='second page.html'>To top</a>"
                                 "</body></html>"));
        writePage(QStringLiteral("second page.html"),
                  QStringLiteral("<html><head><title>Second</title></head><body>second</body></html>"));
        writePage(QStringLiteral("blank.html"), QStringLiteral("<html><head><title>Blank</title></head></html>"));
    }
    static void TearDownTestSuite() {
        delete server_;
        delete folder_;
        server_ = nullptr;
        folder_ = nullptr;
    }
    static void writePage(const QString& name, const QString& html) {
        QFile file(folder_->filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(html.toUtf8());
    }
    static QString local(const QString& name) { return folder_->filePath(name); }
    static QString localAddress(const QString& name) {
        return platform::addressOfUrl(QUrl::fromLocalFile(local(name)));
    }

    void SetUp() override {
        browser_ = std::make_unique<WebEngineBrowser>();
        browser_->view()->resize(800, 600);
        browser_->view()->show();
        QObject::connect(browser_.get(), &platform::WebBrowser::beforeNavigate, [this](BeforeNavigateEvent& event) {
            // As the program's hub does: commands never load.
            if (platform::isCommandAddress(event.address)) event.cancel = true;
            if (onBefore) onBefore(event);
            navigations.append(Recorded{event, event.cancel});
        });
        QObject::connect(browser_.get(), &platform::WebBrowser::newWindow, [this](NewWindowEvent& event) {
            event.cancel = cancelNewWindows;
            newWindows.append(event);
        });
        QObject::connect(browser_.get(), &platform::WebBrowser::downloadBegin, [this] { ++begins; });
        QObject::connect(browser_.get(), &platform::WebBrowser::downloadComplete, [this] {
            ++completes;
            completedAt.append(browser_->LocationURL());
        });
        QObject::connect(browser_.get(), &platform::WebBrowser::statusTextChange,
                         [this](const QString& text) { statusTexts.append(text); });
        QObject::connect(browser_.get(), &platform::WebBrowser::commandStateChange,
                         [this](int command, bool enable) { commandStates.append({command, enable}); });
    }
    void TearDown() override { browser_.reset(); }

    // Navigates and waits until the page has loaded.
    void load(const QString& address) {
        const int before = completes;
        browser_->Navigate(address);
        ASSERT_TRUE(waitUntil([&] { return completes > before && !browser_->Busy(); })) << address.toStdString();
    }
    void loadLinksPage() {
        ASSERT_NO_FATAL_FAILURE(load(local(QStringLiteral("links.html"))));
        // The page script reports the page's links once the page and its frame are in.
        ASSERT_TRUE(waitUntil([&] {
            const platform::PageDocument document = browser_->Document();
            return document.links.size() == 13 && document.frames.size() == 1 &&
                   document.frames[0].links.size() == 2;
        }));
    }
    void runScript(const QString& code) { browser_->page()->runJavaScript(code); }
    void click(const QString& id, const QString& frame = QString()) {
        const QString document = frame.isEmpty() ? QStringLiteral("document")
                                                 : QStringLiteral("window.frames['%1'].document").arg(frame);
        runScript(QStringLiteral("%1.getElementById('%2').click()").arg(document, id));
    }
    int reportsOf(const QString& address) const {
        int count = 0;
        for (const Recorded& r : navigations) count += r.event.address == address ? 1 : 0;
        return count;
    }
    const Recorded* lastReportOf(const QString& address) const {
        for (qsizetype i = navigations.size() - 1; i >= 0; --i) {
            if (navigations[i].event.address == address) return &navigations[i];
        }
        return nullptr;
    }
    bool waitForReport(const QString& address) {
        return waitUntil([&] { return reportsOf(address) > 0; });
    }
    // Everything the engine still had to say about earlier actions has been said once a
    // fresh page load has gone through after them.
    void settle() { ASSERT_NO_FATAL_FAILURE(load(local(QStringLiteral("blank.html")))); }

    static PageServer* server_;
    static QTemporaryDir* folder_;
    std::unique_ptr<WebEngineBrowser> browser_;
    std::function<void(BeforeNavigateEvent&)> onBefore;
    bool cancelNewWindows = true;
    QList<Recorded> navigations;
    QList<NewWindowEvent> newWindows;
    QStringList statusTexts;
    QList<std::pair<int, bool>> commandStates;
    QStringList completedAt;
    int begins = 0;
    int completes = 0;
};

PageServer* EngineBrowserTest::server_ = nullptr;
QTemporaryDir* EngineBrowserTest::folder_ = nullptr;

TEST_F(EngineBrowserTest, ClickedCommandLinksArriveExactlyAsWrittenAndOnce) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const int beginsBefore = begins;
    const QStringList commands = {
        QStringLiteral("mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"),
        QStringLiteral("mtp://field=DC.Subject&content=Café Ōtautahi.fld/"),
        QStringLiteral("MTP://field=DC.Subject&content=Upper.fld/"),
        QStringLiteral("mtp:field=DC.Subject&content=NoSlash.fld/"),
        QStringLiteral("mtp://field=DC.Subject&content=50%25 and %20 blank.fld/"),
        QStringLiteral("mtp://field=DC.Subject&content=Spaced.fld/"),
    };
    const QStringList ids = {QStringLiteral("heart"), QStringLiteral("cafe"), QStringLiteral("upper"),
                             QStringLiteral("noslash"), QStringLiteral("percent"), QStringLiteral("spaced")};
    for (int i = 0; i < ids.size(); ++i) {
        click(ids[i]);
        ASSERT_TRUE(waitForReport(commands[i])) << commands[i].toStdString();
        const Recorded* report = lastReportOf(commands[i]);
        EXPECT_EQ(report->event.source, NavigationSource::Link);
        EXPECT_FALSE(report->event.programStarted);
        EXPECT_TRUE(report->event.topFrame);
        EXPECT_TRUE(report->event.targetFrame.isEmpty());
    }
    // No load of any kind was started for the cancelled commands.
    EXPECT_EQ(begins, beginsBefore);
    ASSERT_NO_FATAL_FAILURE(settle());
    for (const QString& command : commands) EXPECT_EQ(reportsOf(command), 1) << command.toStdString();
    EXPECT_EQ(browser_->LocationName(), QStringLiteral("Blank"));
}

TEST_F(EngineBrowserTest, DataLinkIsReportedAsWrittenAndGoesNowhere) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const QString data = QStringLiteral("data:text/html,<title>Data link</title>");
    click(QStringLiteral("data"));
    ASSERT_TRUE(waitForReport(data));
    EXPECT_EQ(lastReportOf(data)->event.source, NavigationSource::Link);
    // The engine does not let a page open a data: address in the top frame.
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(reportsOf(data), 1);
    EXPECT_EQ(browser_->LocationName(), QStringLiteral("Blank"));
}

TEST_F(EngineBrowserTest, LinksThePageHandlesItselfAreNotReported) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    click(QStringLiteral("pagecancels"));
    click(QStringLiteral("js"));
    ASSERT_NO_FATAL_FAILURE(settle());
    for (const Recorded& r : navigations) {
        EXPECT_FALSE(r.event.address.contains(QLatin1String("Page Cancels"))) << r.event.address.toStdString();
        EXPECT_FALSE(r.event.address.startsWith(QLatin1String("javascript:"))) << r.event.address.toStdString();
    }
}

TEST_F(EngineBrowserTest, LinkInsideAFrameIsReportedAsAFrameNavigation) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const QString command = QStringLiteral("mtp://field=DC.Subject&content=In Frame.fld/");
    click(QStringLiteral("framelink"), QStringLiteral("inner"));
    ASSERT_TRUE(waitForReport(command));
    const Recorded* report = lastReportOf(command);
    EXPECT_FALSE(report->event.topFrame);
    EXPECT_EQ(report->event.targetFrame, QStringLiteral("inner"));
    EXPECT_EQ(report->event.source, NavigationSource::Link);

    // A frame's link aimed at the top replaces the page, resolved against the frame.
    const int before = completes;
    click(QStringLiteral("frametop"), QStringLiteral("inner"));
    ASSERT_TRUE(waitUntil([&] { return completes > before && !browser_->Busy(); }));
    EXPECT_EQ(browser_->LocationURL(), localAddress(QStringLiteral("second page.html")));
    EXPECT_EQ(reportsOf(localAddress(QStringLiteral("second page.html"))), 1);
    EXPECT_TRUE(lastReportOf(localAddress(QStringLiteral("second page.html")))->event.topFrame);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(reportsOf(command), 1);
}

TEST_F(EngineBrowserTest, WebLinkLoadsOnceWithItsLocationAndTitle) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const QString web = server_->address(QStringLiteral("/page.html"));
    const int before = completes;
    click(QStringLiteral("web"));
    ASSERT_TRUE(waitUntil([&] { return completes > before && !browser_->Busy(); }));
    EXPECT_EQ(completedAt.last(), web);
    EXPECT_EQ(browser_->LocationURL(), web);
    EXPECT_EQ(browser_->LocationName(), QStringLiteral("Served Page"));
    ASSERT_EQ(reportsOf(web), 1);
    const Recorded* report = lastReportOf(web);
    EXPECT_EQ(report->event.source, NavigationSource::Link);
    EXPECT_FALSE(report->event.programStarted);
    // Back is possible now; the toolbar hears of it.
    EXPECT_TRUE(commandStates.contains(std::make_pair(int(platform::CSC_NAVIGATEBACK), true)));
}

TEST_F(EngineBrowserTest, RelativeLinkIsResolvedAgainstThePage) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const int before = completes;
    click(QStringLiteral("rel"));
    ASSERT_TRUE(waitUntil([&] { return completes > before && !browser_->Busy(); }));
    const QString second = localAddress(QStringLiteral("second page.html"));
    EXPECT_EQ(reportsOf(second), 1);
    EXPECT_EQ(browser_->LocationURL(), second);
    EXPECT_EQ(browser_->LocationName(), QStringLiteral("Second"));
}

TEST_F(EngineBrowserTest, CancelledLinkKeepsThePageAndRaisesNoDownload) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const QString web = server_->address(QStringLiteral("/page.html"));
    onBefore = [&](BeforeNavigateEvent& event) {
        if (event.address == web) event.cancel = true;
    };
    const int beginsBefore = begins;
    click(QStringLiteral("web"));
    ASSERT_TRUE(waitForReport(web));
    onBefore = nullptr;
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(begins, beginsBefore + 1);  // the settling load only
    EXPECT_EQ(reportsOf(web), 1);
}

TEST_F(EngineBrowserTest, NewWindowLinkAndWindowOpenRaiseNewWindowOnce) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    click(QStringLiteral("blank"));
    ASSERT_TRUE(waitUntil([&] { return !newWindows.isEmpty(); }));
    EXPECT_EQ(newWindows[0].address, QStringLiteral("mtp://field=DC.Subject&content=New Window.fld/"));
    // A script's click() is not the user's: the page gets one such window per load.
    EXPECT_FALSE(newWindows[0].userInitiated);
    // The hover reaches the program after the second click, through the same channel.
    runScript(QStringLiteral("document.getElementById('blank').click();"
                             "document.getElementById('heart').dispatchEvent(new MouseEvent('mouseover', {bubbles: true}))"));
    ASSERT_TRUE(waitUntil([&] { return !statusTexts.isEmpty(); }));
    EXPECT_EQ(newWindows.size(), 1);

    // A page that opens windows as it loads gets one new-window event for its load.
    newWindows.clear();
    ASSERT_NO_FATAL_FAILURE(load(server_->address(QStringLiteral("/popup.html"))));
    ASSERT_TRUE(waitUntil([&] { return !newWindows.isEmpty(); }));
    ASSERT_NO_FATAL_FAILURE(settle());
    ASSERT_EQ(newWindows.size(), 1);
    EXPECT_EQ(newWindows[0].address, server_->address(QStringLiteral("/page.html?popup")));
    EXPECT_FALSE(newWindows[0].userInitiated);
    EXPECT_EQ(browser_->LocationName(), QStringLiteral("Blank"));
}

TEST_F(EngineBrowserTest, NewWindowNotCancelledIsShownHereAfterBeforeNavigate) {
    cancelNewWindows = false;
    ASSERT_NO_FATAL_FAILURE(load(server_->address(QStringLiteral("/popup.html"))));
    const QString popup = server_->address(QStringLiteral("/page.html?popup"));
    ASSERT_TRUE(waitUntil([&] { return browser_->LocationURL() == popup && !browser_->Busy(); }));
    ASSERT_EQ(reportsOf(popup), 1);
    EXPECT_EQ(lastReportOf(popup)->event.source, NavigationSource::NewWindow);
    EXPECT_EQ(newWindows.size(), 1);
}

TEST_F(EngineBrowserTest, ScriptNavigationToACommandIsReportedOnceAndNeverLoads) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const int beginsBefore = begins;
    runScript(QStringLiteral("location.href = 'mtp://field=DC.Subject&content=Café Script.fld/'"));
    const QString command = QStringLiteral("mtp://field=DC.Subject&content=Café Script.fld/");
    ASSERT_TRUE(waitForReport(command));
    EXPECT_EQ(lastReportOf(command)->event.source, NavigationSource::Script);
    EXPECT_FALSE(lastReportOf(command)->event.programStarted);
    EXPECT_EQ(begins, beginsBefore);

    // A frame's script reaches the program through the page as well.
    runScript(QStringLiteral("window.frames['inner'].location.href = 'mtp://field=DC.Subject&content=Frame Script.fld/'"));
    const QString frameCommand = QStringLiteral("mtp://field=DC.Subject&content=Frame Script.fld/");
    ASSERT_TRUE(waitForReport(frameCommand));
    EXPECT_FALSE(lastReportOf(frameCommand)->event.topFrame);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(reportsOf(command), 1);
    EXPECT_EQ(reportsOf(frameCommand), 1);
}

TEST_F(EngineBrowserTest, ScriptNavigationToAPageGoesThroughBeforeNavigate) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const QString web = server_->address(QStringLiteral("/page.html?script"));
    // The handler may wait in a nested event loop, as the page loader does.
    onBefore = [&](BeforeNavigateEvent& event) {
        if (event.address != web) return;
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
        event.cancel = true;
    };
    const int beginsBefore = begins;
    const int completesBefore = completes;
    runScript(QStringLiteral("location.href = '%1'").arg(web));
    ASSERT_TRUE(waitForReport(web));
    EXPECT_EQ(lastReportOf(web)->event.source, NavigationSource::Script);
    onBefore = nullptr;
    ASSERT_NO_FATAL_FAILURE(settle());
    // The refused navigation raised no download of its own.
    EXPECT_EQ(begins, beginsBefore + 1);
    EXPECT_EQ(completes, completesBefore + 1);

    // Not cancelled, it loads.
    runScript(QStringLiteral("location.href = '%1'").arg(web));
    ASSERT_TRUE(waitUntil([&] { return browser_->LocationURL() == web && !browser_->Busy(); }));
    EXPECT_EQ(reportsOf(web), 2);
}

TEST_F(EngineBrowserTest, RedirectIsReportedAfterTheProgramsNavigation) {
    const QString start = server_->address(QStringLiteral("/redirect"));
    const QString target = server_->address(QStringLiteral("/page.html?redirected"));
    ASSERT_NO_FATAL_FAILURE(load(start));
    EXPECT_EQ(browser_->LocationURL(), target);
    ASSERT_EQ(reportsOf(start), 1);
    EXPECT_TRUE(lastReportOf(start)->event.programStarted);
    ASSERT_EQ(reportsOf(target), 1);
    EXPECT_EQ(lastReportOf(target)->event.source, NavigationSource::Redirect);
}

TEST_F(EngineBrowserTest, PageNavigatingItselfInALoopIsReportedOnceEachStep) {
    const QString stop = server_->address(QStringLiteral("/loop?n=4"));
    onBefore = [&](BeforeNavigateEvent& event) {
        if (event.address == stop) event.cancel = true;
    };
    browser_->Navigate(server_->address(QStringLiteral("/loop?n=1")));
    ASSERT_TRUE(waitForReport(stop));
    ASSERT_TRUE(waitUntil([&] { return !browser_->Busy(); }));
    onBefore = nullptr;
    ASSERT_NO_FATAL_FAILURE(settle());
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(reportsOf(server_->address(QStringLiteral("/loop?n=%1").arg(n))), 1) << n;
    }
    EXPECT_EQ(reportsOf(server_->address(QStringLiteral("/loop?n=5"))), 0);
}

TEST_F(EngineBrowserTest, ProgramNavigationsReportedOnceAndCommandsNeverLoaded) {
    ASSERT_NO_FATAL_FAILURE(load(local(QStringLiteral("blank.html"))));
    ASSERT_EQ(navigations.size(), 1);
    EXPECT_TRUE(navigations[0].event.programStarted);
    EXPECT_EQ(navigations[0].event.source, NavigationSource::Program);

    // A command the handler lets through still never reaches the engine.
    onBefore = [](BeforeNavigateEvent& event) { event.cancel = false; };
    const int beginsBefore = begins;
    browser_->Navigate(QStringLiteral("mtp://field=DC.Title&content=Kept.fld/"));
    browser_->Navigate(QStringLiteral("MTP://field=DC.Title&content=Kept.fld/"));
    browser_->Navigate(QStringLiteral("   "));
    onBefore = nullptr;
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(begins, beginsBefore + 1);
    EXPECT_EQ(navigations.size(), 4);

    // Odd addresses neither crash nor hang.
    browser_->Navigate(QStringLiteral("javascript:void(document.title='x')"));
    ASSERT_NO_FATAL_FAILURE(load(QStringLiteral("data:text/html,<title>Data Page</title>")));
    EXPECT_EQ(browser_->LocationName(), QStringLiteral("Data Page"));
    ASSERT_NO_FATAL_FAILURE(settle());
}

TEST_F(EngineBrowserTest, HistoryMovesAreProgramNavigations) {
    ASSERT_NO_FATAL_FAILURE(load(local(QStringLiteral("blank.html"))));
    EXPECT_FALSE(browser_->GoBack());
    ASSERT_NO_FATAL_FAILURE(load(local(QStringLiteral("second page.html"))));
    const int before = completes;
    ASSERT_TRUE(browser_->GoBack());
    ASSERT_TRUE(waitUntil([&] { return completes > before && !browser_->Busy(); }));
    EXPECT_EQ(browser_->LocationURL(), localAddress(QStringLiteral("blank.html")));
    EXPECT_EQ(navigations.last().event.source, NavigationSource::History);
    EXPECT_TRUE(navigations.last().event.programStarted);
    EXPECT_EQ(commandStates.last(), std::make_pair(int(platform::CSC_NAVIGATEBACK), false));
    EXPECT_TRUE(commandStates.contains(std::make_pair(int(platform::CSC_NAVIGATEFORWARD), true)));
}

TEST_F(EngineBrowserTest, DocumentHoldsLinksAsWrittenWithTextAltAndFrames) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const platform::PageDocument document = browser_->Document();
    EXPECT_EQ(document.address, localAddress(QStringLiteral("links.html")));
    EXPECT_EQ(document.links[0].href, QStringLiteral("mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"));
    EXPECT_EQ(document.links[0].outerText, QStringLiteral("Heart Disease"));
    EXPECT_EQ(document.links[1].href, QStringLiteral("mtp://field=DC.Subject&content=Café Ōtautahi.fld/"));
    EXPECT_EQ(document.links[11].alt, QStringLiteral("Picture alt"));
    EXPECT_EQ(document.links[10].href, QStringLiteral("second page.html"));
    ASSERT_EQ(document.frames.size(), 1u);
    EXPECT_TRUE(document.frames[0].readable);
    EXPECT_EQ(document.frames[0].links[0].outerText, QStringLiteral("In frame"));

    // The help window writes replies into its page.
    browser_->setBodyHtml(QStringLiteral("<a href='mtp://field=DC.Type&content=Reply.fld/'>Reply</a>"));
    ASSERT_TRUE(waitUntil([&] { return browser_->Document().links.size() == 1; }));
    EXPECT_EQ(browser_->Document().links[0].outerText, QStringLiteral("Reply"));
}

TEST_F(EngineBrowserTest, HoveringALinkShowsWhereItLeads) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    runScript(QStringLiteral("document.getElementById('cafe').dispatchEvent("
                             "new MouseEvent('mouseover', {bubbles: true}))"));
    ASSERT_TRUE(waitUntil([&] { return !statusTexts.isEmpty(); }));
    EXPECT_EQ(statusTexts.last(), QStringLiteral("mtp://field=DC.Subject&content=Café Ōtautahi.fld/"));
    runScript(QStringLiteral("document.getElementById('rel').dispatchEvent("
                             "new MouseEvent('mouseover', {bubbles: true}))"));
    ASSERT_TRUE(waitUntil([&] { return statusTexts.size() >= 2; }));
    EXPECT_EQ(statusTexts.last(), localAddress(QStringLiteral("second page.html")));
}

TEST_F(EngineBrowserTest, PrintNeedsAPageAndAsksTheUser) {
    QString error;
    EXPECT_FALSE(browser_->QueryStatusWB(platform::OLECMDID_PRINT) & platform::OLECMDF_ENABLED);
    EXPECT_FALSE(browser_->ExecWB(platform::OLECMDID_PRINT, platform::OLECMDEXECOPT_PROMPTUSER, &error));
    EXPECT_FALSE(error.isEmpty());

    ASSERT_NO_FATAL_FAILURE(load(local(QStringLiteral("blank.html"))));
    EXPECT_TRUE(browser_->QueryStatusWB(platform::OLECMDID_PRINT) & platform::OLECMDF_ENABLED);
    bool dialogShown = false;
    testing_support::ScriptedModals modals;
    modals.then([&](QDialog& dialog) {
        dialogShown = true;
        dialog.reject();
    });
    EXPECT_TRUE(browser_->ExecWB(platform::OLECMDID_PRINT, platform::OLECMDEXECOPT_PROMPTUSER, &error));
    EXPECT_TRUE(dialogShown);
    // Cancelled in the dialog: nothing is printing, the command stays available.
    EXPECT_TRUE(browser_->QueryStatusWB(platform::OLECMDID_PRINT) & platform::OLECMDF_ENABLED);
}

}  // namespace
