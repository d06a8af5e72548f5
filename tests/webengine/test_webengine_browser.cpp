#include "platform/BrowserAddress.h"
#include "platform/webengine/WebEngineBrowser.h"
#include "support/Common.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedUi.h"

#include <QTemporaryDir>
#include <QUrl>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using platform::BeforeNavigateEvent;
using platform::NavigationSource;
using platform::NewWindowEvent;
using platform::webengine::WebEngineBrowser;

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30000);  // in the test main

namespace {

const QStringList kCommands = {
    u"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"_s,
    u"mtp://field=DC.Subject&content=Café Ōtautahi.fld/"_s,
    u"MTP://field=DC.Subject&content=Upper.fld/"_s,
    u"mtp:field=DC.Subject&content=NoSlash.fld/"_s,
    u"mtp://field=DC.Subject&content=50%25 and %20 blank.fld/"_s,
};

class EngineBrowserTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new testing_support::LocalHttpServer;
        server_->server().Get("/page.html", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html><head><title>Served Page</title></head><body>served</body></html>",
                            "text/html; charset=utf-8");
        });
        server_->server().Get("/popup.html", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(
                "<html><head><title>Popup</title><script>"
                "window.open('/page.html?popup'); window.open('/page.html?again');"
                "for (var i = 0; i < 20; i++) window.open('/page.html?storm' + i);"
                "</script></head><body></body></html>",
                "text/html");
        });
        folder_ = new QTemporaryDir;
        QString links = u"<html><head><meta charset='utf-8'><title>Links</title></head><body>"_s;
        for (int i = 0; i < kCommands.size(); ++i)
            links += u"<a id='c%1' href='%2'>Link %1</a>\n"_s.arg(i).arg(kCommands[i]);
        links +=
            u"<a id='cafe' href='mtp://x.fld/'>Café Ōtautahi</a>\n"
            "<a id='blank' target='_blank' href='mtp://field=DC.Subject&content=New Window.fld/'>New</a>\n"
            "<a id='web' href='%1'>Web</a>\n"
            "<iframe name='inner' src='frame.html'></iframe></body></html>"_s.arg(server_->url(u"/page.html"_s));
        testing_support::writeBytes(folder_->filePath(u"links.html"_s), links.toUtf8());
        testing_support::writeBytes(folder_->filePath(u"frame.html"_s),
                                    "<html><body><a id='framelink' href='mtp://field=DC.Subject&content=In "
                                    "Frame.fld/'>In frame</a></body></html>");
        testing_support::writeBytes(folder_->filePath(u"blank.html"_s),
                                    "<html><head><title>Blank</title></head></html>");
    }
    static void TearDownTestSuite() {
        delete server_;
        delete folder_;
    }
    static QString local(const QString& name) { return folder_->filePath(name); }

    void SetUp() override {
        browser_ = std::make_unique<WebEngineBrowser>(testing_support::modalRuns());
        browser_->view()->resize(800, 600);
        browser_->view()->show();
        QObject::connect(browser_.get(), &platform::WebBrowser::beforeNavigate, [this](BeforeNavigateEvent& event) {
            if (platform::isCommandAddress(event.address)) event.cancel = true;  // as the program's hub does
            if (onBefore) onBefore(event);
            navigations.append(event);
        });
        QObject::connect(browser_.get(), &platform::WebBrowser::newWindow, [this](NewWindowEvent& event) {
            event.cancel = cancelNewWindows;
            newWindows.append(event);
        });
        QObject::connect(browser_.get(), &platform::WebBrowser::downloadBegin, [this] { ++begins; });
        QObject::connect(browser_.get(), &platform::WebBrowser::downloadComplete, [this] { ++completes; });
    }

    // Navigates (or runs a step) and waits until a page has loaded.
    void load(const QString& address, const std::function<void()>& step = {}) {
        const int before = completes;
        step ? step() : browser_->Navigate(address);
        ASSERT_TRUE(waitUntil([&] { return completes > before && !browser_->Busy(); })) << address.toStdString();
    }
    void loadLinksPage() {
        ASSERT_NO_FATAL_FAILURE(load(local(u"links.html"_s)));
        // The page script reports the page's links once the page and its frame are in.
        ASSERT_TRUE(waitUntil([&] {
            const platform::PageDocument document = browser_->Document();
            return document.links.size() == kCommands.size() + 3 && document.frames.size() == 1 &&
                   document.frames[0].links.size() == 1;
        }));
    }
    void runScript(const QString& code) { browser_->page()->runJavaScript(code); }
    void click(const QString& id) { runScript(u"document.getElementById('%1').click()"_s.arg(id)); }
    QList<BeforeNavigateEvent> reportsOf(const QString& address) const {
        QList<BeforeNavigateEvent> out;
        for (const BeforeNavigateEvent& r : navigations)
            if (r.address == address) out << r;
        return out;
    }
    bool waitForReport(const QString& address) {
        return waitUntil([&] { return !reportsOf(address).isEmpty(); });
    }
    // Everything the engine still had to say about earlier actions has been said once a
    // fresh page load has gone through after them.
    void settle() { ASSERT_NO_FATAL_FAILURE(load(local(u"blank.html"_s))); }

    static inline testing_support::LocalHttpServer* server_ = nullptr;
    static inline QTemporaryDir* folder_ = nullptr;
    std::unique_ptr<WebEngineBrowser> browser_;
    std::function<void(BeforeNavigateEvent&)> onBefore;
    bool cancelNewWindows = true;
    QList<BeforeNavigateEvent> navigations;
    QList<NewWindowEvent> newWindows;
    int begins = 0;
    int completes = 0;
};

TEST_F(EngineBrowserTest, ClickedCommandLinksArriveExactlyAsWrittenAndOnce) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const int beginsBefore = begins;
    for (int i = 0; i < kCommands.size(); ++i) {
        click(u"c%1"_s.arg(i));
        ASSERT_TRUE(waitForReport(kCommands[i])) << kCommands[i].toStdString();
        const BeforeNavigateEvent event = reportsOf(kCommands[i]).last();
        EXPECT_EQ(event.source, NavigationSource::Link);
        EXPECT_FALSE(event.programStarted);
        EXPECT_TRUE(event.topFrame);
    }
    EXPECT_EQ(begins, beginsBefore);  // no load of any kind was started for the commands
    // A frame's link and a script's navigation reach the program the same way.
    const QString inFrame = u"mtp://field=DC.Subject&content=In Frame.fld/"_s;
    const QString script = u"mtp://field=DC.Subject&content=Café Script.fld/"_s;
    runScript(u"window.frames['inner'].document.getElementById('framelink').click()"_s);
    runScript(u"location.href = '%1'"_s.arg(script));
    ASSERT_TRUE(waitForReport(inFrame) && waitForReport(script));
    EXPECT_FALSE(reportsOf(inFrame).last().topFrame);
    EXPECT_EQ(reportsOf(inFrame).last().targetFrame, u"inner"_s);
    EXPECT_EQ(reportsOf(script).last().source, NavigationSource::Script);
    ASSERT_NO_FATAL_FAILURE(settle());
    for (const QString& command : kCommands + QStringList{inFrame, script})
        EXPECT_EQ(reportsOf(command).size(), 1) << command.toStdString();
    EXPECT_EQ(browser_->LocationName(), u"Blank"_s);
}

TEST_F(EngineBrowserTest, DocumentHoldsLinksAsWrittenAndAWebLinkLoadsOnce) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    const platform::PageDocument document = browser_->Document();
    EXPECT_EQ(document.links[0].href, kCommands[0]);
    EXPECT_EQ(document.links[1].href, kCommands[1]);
    EXPECT_EQ(document.links[0].outerText, u"Link 0"_s);
    EXPECT_EQ(document.links[kCommands.size()].outerText, u"Café Ōtautahi"_s);
    EXPECT_EQ(document.frames[0].links[0].outerText, u"In frame"_s);
    const QString web = server_->url(u"/page.html"_s);
    ASSERT_NO_FATAL_FAILURE(load(web, [&] { click(u"web"_s); }));
    EXPECT_EQ(browser_->LocationURL(), web);
    EXPECT_EQ(browser_->LocationName(), u"Served Page"_s);
    ASSERT_EQ(reportsOf(web).size(), 1);
    EXPECT_EQ(reportsOf(web)[0].source, NavigationSource::Link);
    EXPECT_FALSE(reportsOf(web)[0].programStarted);
    // The help window writes replies into its page.
    browser_->setBodyHtml(u"<a href='mtp://field=DC.Type&content=Reply.fld/'>Réponse</a>"_s);
    ASSERT_TRUE(waitUntil([&] { return browser_->Document().links.size() == 1; }));
    EXPECT_EQ(browser_->Document().links[0].outerText, u"Réponse"_s);
}

TEST_F(EngineBrowserTest, ProgramNavigationsToCommandsNeverLoad) {
    ASSERT_NO_FATAL_FAILURE(load(local(u"blank.html"_s)));
    ASSERT_EQ(navigations.size(), 1);
    EXPECT_TRUE(navigations[0].programStarted);
    EXPECT_EQ(navigations[0].source, NavigationSource::Program);
    // A command the handler lets through still never reaches the engine.
    onBefore = [](BeforeNavigateEvent& event) { event.cancel = false; };
    const int beginsBefore = begins;
    browser_->Navigate(u"mtp://field=DC.Title&content=Kept.fld/"_s);
    browser_->Navigate(u"MTP://field=DC.Title&content=Kept.fld/"_s);
    browser_->Navigate(u"   "_s);
    onBefore = nullptr;
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(begins, beginsBefore + 1);
    EXPECT_EQ(navigations.size(), 4);
}

TEST_F(EngineBrowserTest, NewWindowsAreAskedForOncePerUserActionOrLoad) {
    ASSERT_NO_FATAL_FAILURE(loadLinksPage());
    // A script's click() is not the user's: one such window per load. The command after
    // the clicks arrives through the same channel, so both clicks have been heard by then.
    const QString sync = u"mtp://sync.fld/"_s;
    runScript(
        u"for (var i = 0; i < 2; i++) document.getElementById('blank').click(); location.href = '%1'"_s.arg(sync));
    ASSERT_TRUE(waitForReport(sync));
    ASSERT_EQ(newWindows.size(), 1);
    EXPECT_EQ(newWindows[0].address, u"mtp://field=DC.Subject&content=New Window.fld/"_s);
    EXPECT_FALSE(newWindows[0].userInitiated);
    // A page that opens a storm of windows as it loads gets one new-window event.
    newWindows.clear();
    ASSERT_NO_FATAL_FAILURE(load(server_->url(u"/popup.html"_s)));
    ASSERT_TRUE(waitUntil([&] { return !newWindows.isEmpty(); }));
    ASSERT_NO_FATAL_FAILURE(settle());
    ASSERT_EQ(newWindows.size(), 1);
    EXPECT_EQ(newWindows[0].address, server_->url(u"/page.html?popup"_s));
    EXPECT_EQ(browser_->LocationName(), u"Blank"_s);
}

TEST_F(EngineBrowserTest, NewWindowNotCancelledIsShownHereAfterBeforeNavigate) {
    cancelNewWindows = false;
    ASSERT_NO_FATAL_FAILURE(load(server_->url(u"/popup.html"_s)));
    const QString popup = server_->url(u"/page.html?popup"_s);
    ASSERT_TRUE(waitUntil([&] { return browser_->LocationURL() == popup && !browser_->Busy(); }));
    ASSERT_EQ(reportsOf(popup).size(), 1);
    EXPECT_EQ(reportsOf(popup)[0].source, NavigationSource::NewWindow);
    EXPECT_EQ(newWindows.size(), 1);
}

}  // namespace
