#include "platform/BrowserAddress.h"

#include "support/Common.h"
#include "support/OfflineBrowser.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using platform::BeforeNavigateEvent;
using platform::NavigationSource;
using platform::NewWindowEvent;
using testing_support::OfflineBrowser;
using Outcome = OfflineBrowser::Outcome;

QString sourceName(NavigationSource source) {
    switch (source) {
        case NavigationSource::Program: return u"program"_s;
        case NavigationSource::History: return u"history"_s;
        case NavigationSource::Link: return u"link"_s;
        case NavigationSource::Script: return u"script"_s;
        case NavigationSource::Redirect: return u"redirect"_s;
        case NavigationSource::NewWindow: return u"newwindow"_s;
    }
    return QString();
}

// Pages on disk, a browser, and every event it raises as one line of text.
class OfflineBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QObject::connect(&browser, &platform::WebBrowser::beforeNavigate, [this](BeforeNavigateEvent& event) {
            if (cancelCommands && platform::isCommandAddress(event.address)) event.cancel = true;
            if (cancelAddress == event.address) event.cancel = true;
            if (onBefore) onBefore(event);
            events << u"before %1 [%2 %3 %4 %5]%6"_s.arg(
                event.address, event.topFrame ? u"top"_s : u"frame"_s, event.targetFrame,
                event.programStarted ? u"program"_s : u"page"_s, sourceName(event.source),
                event.cancel ? u" cancelled"_s : QString());
        });
        QObject::connect(&browser, &platform::WebBrowser::newWindow, [this](NewWindowEvent& event) {
            event.cancel = cancelNewWindows;
            events << u"newwindow %1%2"_s.arg(event.address, event.userInitiated ? u" user"_s : QString());
        });
        QObject::connect(&browser, &platform::WebBrowser::downloadBegin, [this] { events << u"begin"_s; });
        QObject::connect(&browser, &platform::WebBrowser::downloadComplete,
                         [this] { events << u"complete "_s + browser.LocationURL(); });
        QObject::connect(&browser, &platform::WebBrowser::titleChange,
                         [this](const QString& t) { events << u"title "_s + t; });
        QObject::connect(&browser, &platform::WebBrowser::statusTextChange,
                         [this](const QString& t) { events << u"status "_s + t; });
        QObject::connect(&browser, &platform::WebBrowser::commandStateChange, [this](int command, bool enable) {
            events << u"command %1 %2"_s.arg(command).arg(enable ? u"on"_s : u"off"_s);
        });
        QObject::connect(&browser, &platform::WebBrowser::onVisible,
                         [this](bool v) { events << u"visible %1"_s.arg(v); });
    }

    QString write(const QString& name, const QString& html) {
        return testing_support::writeBytes(folder.filePath(name), html.toUtf8());
    }
    QString address(const QString& name) const {
        return platform::addressOfUrl(QUrl::fromLocalFile(folder.filePath(name)));
    }
    void open(const QString& path) {
        browser.Navigate(path);
        browser.settle();
        events.clear();
    }

    QTemporaryDir folder;
    OfflineBrowser browser;
    QStringList events;
    bool cancelCommands = true;
    bool cancelNewWindows = true;
    QString cancelAddress;
    std::function<void(BeforeNavigateEvent&)> onBefore;
};

TEST_F(OfflineBrowserTest, NavigateRaisesBeforeNavigateAtOnceAndLoadsLater) {
    const QString page = write(u"page.htm"_s, u"<title>A page</title><p>text</p>"_s);
    browser.Navigate(page, platform::navNoReadFromCache);
    EXPECT_EQ(events, QStringList{u"before %1 [top  program program]"_s.arg(page)});
    EXPECT_TRUE(browser.Busy());
    EXPECT_EQ(browser.navigations().last().outcome, Outcome::Pending);
    EXPECT_EQ(browser.navigations().last().flags, int(platform::navNoReadFromCache));

    browser.settle();
    EXPECT_EQ(events, (QStringList{
                          u"before %1 [top  program program]"_s.arg(page),
                          u"begin"_s,
                          u"command 1 off"_s,
                          u"command 2 off"_s,
                          u"title A page"_s,
                          u"complete "_s + address(u"page.htm"_s),
                      }));
    EXPECT_FALSE(browser.Busy());
    EXPECT_EQ(browser.LocationURL(), address(u"page.htm"_s));
    EXPECT_EQ(browser.LocationName(), u"A page"_s);
    EXPECT_EQ(browser.navigations().last().outcome, Outcome::Loaded);
}

TEST_F(OfflineBrowserTest, CancelledCommandsAndEmptyAddressesLoadNothing) {
    const QString page = write(u"page.htm"_s, u"<title>Kept</title>"_s);
    open(page);

    cancelAddress = address(u"page.htm"_s);
    browser.Navigate(cancelAddress);
    cancelCommands = false;
    browser.Navigate(u"mtp://field=DC.Title&content=x.fld/"_s);
    browser.Navigate(u""_s);
    browser.Navigate(u"  "_s);
    browser.settle();
    EXPECT_EQ(events.size(), 2);
    EXPECT_TRUE(events[0].endsWith(u" cancelled"_s));
    EXPECT_EQ(events[1], u"before mtp://field=DC.Title&content=x.fld/ [top  program program]"_s);
    EXPECT_EQ(browser.navigations()[1].outcome, Outcome::Cancelled);
    EXPECT_EQ(browser.navigations()[2].outcome, Outcome::NotShown);
    EXPECT_EQ(browser.LocationName(), u"Kept"_s);
}

TEST_F(OfflineBrowserTest, ClickedLinksArriveExactlyAsWrittenAsPageNavigations) {
    open(write(
        u"terms.htm"_s,
        QStringLiteral("<a href=\"mtp://field=DC.Subject&amp;content=Heart Disease&amp;scheme=MeSH.fld/\">Heart</a>"
                       "<a href='mtp://field=DC.Subject&content=Café Ōtautahi.fld/'>Café</a>"
                       "<a href=' MTP://field=DC.Subject&content=50%25.fld/ '>Upper</a>"
                       "<a href='sub/other page.htm'>Other</a>")));
    write(u"sub/other page.htm"_s, u"<title>Other</title>"_s);

    EXPECT_TRUE(browser.clickLink(u"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"_s));
    EXPECT_TRUE(browser.clickLink(u"mtp://field=DC.Subject&content=Café Ōtautahi.fld/"_s));
    EXPECT_TRUE(browser.clickLink(u" MTP://field=DC.Subject&content=50%25.fld/ "_s));
    EXPECT_FALSE(browser.clickLink(u"no such link"_s));
    browser.settle();
    EXPECT_EQ(events, (QStringList{
                          QStringLiteral("before mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/ "
                                         "[top  page link] cancelled"),
                          u"before mtp://field=DC.Subject&content=Café Ōtautahi.fld/ [top  page link] cancelled"_s,
                          u"before MTP://field=DC.Subject&content=50%25.fld/ [top  page link] cancelled"_s,
                      }));

    events.clear();
    EXPECT_TRUE(browser.clickLink(u"sub/other page.htm"_s));
    browser.settle();
    const QString other = address(u"sub/other page.htm"_s);
    EXPECT_EQ(events.first(), u"before %1 [top  page link]"_s.arg(other));
    EXPECT_EQ(events.last(), u"complete "_s + other);
    EXPECT_EQ(browser.LocationName(), u"Other"_s);
}

TEST_F(OfflineBrowserTest, FramesAreReadRecursivelyAndTheirLinksNavigateTheirFrame) {
    write(u"index.htm"_s, QStringLiteral("<a href='mtp://field=DC.Subject&content=Left.fld/'>Left term</a>"
                                         "<a href='content2.htm' target='content'>Show</a>"
                                         "<a href='top.htm' target='_top'>Top</a>"));
    write(u"content.htm"_s, QStringLiteral("<a href='deep.htm'><img alt='Deep picture'></a>"
                                           "<iframe src='inner.htm' name='inner'></iframe>"));
    write(u"inner.htm"_s, u"<a href='mtp://field=DC.Subject&content=Inner.fld/'>Inner term</a>"_s);
    write(u"content2.htm"_s, u"<a href='c2.htm'>Second content</a>"_s);
    write(u"top.htm"_s, u"<title>Top</title>"_s);
    open(write(u"frames.htm"_s,
               QStringLiteral("<title>Frames</title><frameset><frame name='index' src='index.htm'>"
                              "<frame name='content' src='content.htm'><frame src='frames.htm'></frameset>")));

    const platform::PageDocument document = browser.Document();
    ASSERT_EQ(document.frames.size(), 3u);
    EXPECT_EQ(document.frames[0].address, address(u"index.htm"_s));
    EXPECT_EQ(document.frames[0].links[0].outerText, u"Left term"_s);
    EXPECT_EQ(document.frames[1].links[0].alt, u"Deep picture"_s);
    ASSERT_EQ(document.frames[1].frames.size(), 1u);
    EXPECT_EQ(document.frames[1].frames[0].links[0].href, u"mtp://field=DC.Subject&content=Inner.fld/"_s);
    // A frame showing its own page is left empty rather than read forever.
    EXPECT_TRUE(document.frames[2].links.isEmpty());
    EXPECT_TRUE(document.frames[2].frames.empty());

    EXPECT_TRUE(browser.clickLink(u"mtp://field=DC.Subject&content=Inner.fld/"_s));
    EXPECT_EQ(events.last(), u"before mtp://field=DC.Subject&content=Inner.fld/ [frame inner page link] cancelled"_s);

    // A link of one frame aimed at another replaces that frame only, without a download.
    events.clear();
    EXPECT_TRUE(browser.clickLink(u"content2.htm"_s));
    browser.settle();
    EXPECT_EQ(events, QStringList{u"before %1 [frame content page link]"_s.arg(address(u"content2.htm"_s))});
    EXPECT_EQ(browser.Document().frames[1].links[0].outerText, u"Second content"_s);
    EXPECT_EQ(browser.LocationName(), u"Frames"_s);

    events.clear();
    EXPECT_TRUE(browser.clickLink(u"top.htm"_s));
    browser.settle();
    EXPECT_EQ(events.first(), u"before %1 [top  page link]"_s.arg(address(u"top.htm"_s)));
    EXPECT_EQ(browser.LocationName(), u"Top"_s);
}

TEST_F(OfflineBrowserTest, ScriptAndFrameNavigationsAreReportedAsThePagesOwn) {
    write(u"a.htm"_s, u"<title>A</title>"_s);
    open(write(u"framed.htm"_s, u"<iframe name='side' src='missing.htm'></iframe>"_s));
    browser.scriptNavigate(u"mtp://field=DC.Title&content=Scripted.fld/"_s);
    EXPECT_TRUE(browser.frameNavigate(u"side"_s, address(u"a.htm"_s)));
    EXPECT_FALSE(browser.frameNavigate(u"nosuchframe"_s, address(u"a.htm"_s)));
    browser.scriptNavigate(address(u"a.htm"_s));
    browser.settle();
    EXPECT_EQ(events[0], u"before mtp://field=DC.Title&content=Scripted.fld/ [top  page script] cancelled"_s);
    EXPECT_EQ(events[1], u"before %1 [frame side page script]"_s.arg(address(u"a.htm"_s)));
    EXPECT_EQ(events[2], u"before %1 [top  page script]"_s.arg(address(u"a.htm"_s)));
    EXPECT_EQ(events.last(), u"complete "_s + address(u"a.htm"_s));
    EXPECT_EQ(browser.navigations()[2].outcome, Outcome::Loaded);
}

TEST_F(OfflineBrowserTest, NewWindowsGoThroughBothEventsAndAPageGetsOnePerLoad) {
    write(u"popup.htm"_s, u"<title>Popup</title>"_s);
    open(write(u"page.htm"_s,
               QStringLiteral("<a target='_blank' href='mtp://field=DC.Subject&content=New Window.fld/'>New</a>"
                              "<a target='elsewhere' href='popup.htm'>Named</a>")));
    EXPECT_TRUE(browser.clickLink(u"mtp://field=DC.Subject&content=New Window.fld/"_s));
    EXPECT_EQ(events, QStringList{u"newwindow mtp://field=DC.Subject&content=New Window.fld/ user"_s});

    // A storm of script windows: one gets through, the rest are dropped.
    events.clear();
    for (int i = 0; i < 5; ++i) browser.openNewWindow(u"http://example.org/%1"_s.arg(i));
    EXPECT_EQ(events, QStringList{u"newwindow http://example.org/0"_s});
    EXPECT_EQ(browser.newWindowRequests().size(), 6);
    EXPECT_TRUE(browser.newWindowRequests().last().dropped);
    // The user may still ask for windows.
    browser.openNewWindow(u"http://example.org/user"_s, true);
    EXPECT_EQ(events.last(), u"newwindow http://example.org/user user"_s);

    // Not cancelled, the window's page arrives at before-navigate and is shown here.
    events.clear();
    cancelNewWindows = false;
    EXPECT_TRUE(browser.clickLink(u"popup.htm"_s));
    browser.settle();
    const QString popup = address(u"popup.htm"_s);
    EXPECT_EQ(events[0], u"newwindow %1 user"_s.arg(popup));
    EXPECT_EQ(events[1], u"before %1 [top  page newwindow]"_s.arg(popup));
    EXPECT_EQ(events.last(), u"complete "_s + popup);

    // The next page load allows one script window again.
    events.clear();
    cancelNewWindows = true;
    browser.openNewWindow(u"http://example.org/again"_s);
    EXPECT_EQ(events, QStringList{u"newwindow http://example.org/again"_s});
}

TEST_F(OfflineBrowserTest, HistoryMovesBackAndForthWithCommandStates) {
    const QString one = write(u"one.htm"_s, u"<title>One</title>"_s);
    const QString two = write(u"two.htm"_s, u"<title>Two</title>"_s);
    EXPECT_FALSE(browser.GoBack());
    open(one);
    open(two);
    EXPECT_TRUE(browser.GoBack());
    browser.settle();
    EXPECT_EQ(events, (QStringList{u"before %1 [top  program history]"_s.arg(address(u"one.htm"_s)), u"begin"_s,
                                   u"command 1 on"_s, u"command 2 off"_s, u"title One"_s,
                                   u"complete "_s + address(u"one.htm"_s)}));
    EXPECT_FALSE(browser.GoBack());

    // A cancelled move stays where it is.
    cancelAddress = address(u"two.htm"_s);
    EXPECT_TRUE(browser.GoForward());
    browser.settle();
    EXPECT_EQ(browser.LocationName(), u"One"_s);
    cancelAddress.clear();
    // A new page drops the forward entries.
    open(two);
    EXPECT_FALSE(browser.GoForward());
}

TEST_F(OfflineBrowserTest, StopRefreshAndSupersededLoads) {
    const QString one = write(u"one.htm"_s, u"<title>One</title>"_s);
    browser.Navigate(one);
    browser.Navigate(write(u"two.htm"_s, u"<title>Two</title>"_s));
    browser.settle();
    browser.Navigate(one);
    browser.Stop();
    browser.settle();
    EXPECT_EQ(browser.navigations()[0].outcome, Outcome::Superseded);
    EXPECT_EQ(browser.navigations()[1].outcome, Outcome::Loaded);
    EXPECT_EQ(browser.navigations()[2].outcome, Outcome::Stopped);
    EXPECT_EQ(browser.LocationName(), u"Two"_s);

    events.clear();
    browser.Refresh2(platform::REFRESH_CONTINUE);
    browser.settle();
    EXPECT_EQ(events, (QStringList{u"begin"_s, u"complete "_s + address(u"two.htm"_s)}));
    EXPECT_EQ(browser.navigations().size(), 3);
}

TEST_F(OfflineBrowserTest, PagesHandedToTheBrowserStandInForTheWeb) {
    browser.addPage(
        u"http://example.org/frames.htm"_s,
        u"<title>Web</title><a href='list.kqs'>List</a><iframe src='http://other.example/ad.htm'></iframe>"_s);
    browser.addPage(u"http://other.example/ad.htm"_s, u"<a href='x'>Ad</a>"_s, false);
    browser.Navigate(u"http://example.org/frames.htm"_s);
    browser.settle();
    EXPECT_EQ(browser.LocationURL(), u"http://example.org/frames.htm"_s);
    const platform::PageDocument document = browser.Document();
    ASSERT_EQ(document.frames.size(), 1u);
    EXPECT_FALSE(document.frames[0].readable);
    EXPECT_TRUE(document.frames[0].links.isEmpty());

    EXPECT_TRUE(browser.hoverLink(u"list.kqs"_s));
    EXPECT_EQ(events.last(), u"status http://example.org/list.kqs"_s);
}

}  // namespace
