#include "platform/BrowserAddress.h"
#include "platform/OfflineBrowser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

#include <ostream>

static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

using platform::BeforeNavigateEvent;
using platform::NavigationSource;
using platform::NewWindowEvent;
using platform::OfflineBrowser;
using Outcome = platform::OfflineBrowser::Outcome;

QString sourceName(NavigationSource source) {
    switch (source) {
    case NavigationSource::Program: return QStringLiteral("program");
    case NavigationSource::History: return QStringLiteral("history");
    case NavigationSource::Link: return QStringLiteral("link");
    case NavigationSource::Script: return QStringLiteral("script");
    case NavigationSource::Redirect: return QStringLiteral("redirect");
    case NavigationSource::NewWindow: return QStringLiteral("newwindow");
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
            events << QStringLiteral("before %1 [%2 %3 %4 %5]%6")
                          .arg(event.address, event.topFrame ? QStringLiteral("top") : QStringLiteral("frame"),
                               event.targetFrame, event.programStarted ? QStringLiteral("program") : QStringLiteral("page"),
                               sourceName(event.source), event.cancel ? QStringLiteral(" cancelled") : QString());
        });
        QObject::connect(&browser, &platform::WebBrowser::newWindow, [this](NewWindowEvent& event) {
            event.cancel = cancelNewWindows;
            events << QStringLiteral("newwindow %1%2").arg(event.address, event.userInitiated ? QStringLiteral(" user") : QString());
        });
        QObject::connect(&browser, &platform::WebBrowser::downloadBegin, [this] { events << QStringLiteral("begin"); });
        QObject::connect(&browser, &platform::WebBrowser::downloadComplete,
                         [this] { events << QStringLiteral("complete ") + browser.LocationURL(); });
        QObject::connect(&browser, &platform::WebBrowser::titleChange,
                         [this](const QString& title) { events << QStringLiteral("title ") + title; });
        QObject::connect(&browser, &platform::WebBrowser::statusTextChange,
                         [this](const QString& text) { events << QStringLiteral("status ") + text; });
        QObject::connect(&browser, &platform::WebBrowser::commandStateChange, [this](int command, bool enable) {
            events << QStringLiteral("command %1 %2").arg(command).arg(enable ? QStringLiteral("on") : QStringLiteral("off"));
        });
        QObject::connect(&browser, &platform::WebBrowser::onVisible,
                         [this](bool visible) { events << QStringLiteral("visible %1").arg(visible); });
    }

    QString write(const QString& name, const QString& html) {
        const QString path = folder.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(html.toUtf8());
        return path;
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
    const QString page = write(QStringLiteral("page.htm"), QStringLiteral("<title>A page</title><p>text</p>"));
    browser.Navigate(page, platform::navNoReadFromCache);
    EXPECT_EQ(events, QStringList{QStringLiteral("before %1 [top  program program]").arg(page)});
    EXPECT_TRUE(browser.Busy());
    EXPECT_EQ(browser.navigations().last().outcome, Outcome::Pending);
    EXPECT_EQ(browser.navigations().last().flags, int(platform::navNoReadFromCache));

    browser.settle();
    EXPECT_EQ(events, (QStringList{
                          QStringLiteral("before %1 [top  program program]").arg(page),
                          QStringLiteral("begin"),
                          QStringLiteral("command 1 off"),
                          QStringLiteral("command 2 off"),
                          QStringLiteral("title A page"),
                          QStringLiteral("complete ") + address(QStringLiteral("page.htm")),
                      }));
    EXPECT_FALSE(browser.Busy());
    EXPECT_EQ(browser.LocationURL(), address(QStringLiteral("page.htm")));
    EXPECT_EQ(browser.LocationName(), QStringLiteral("A page"));
    EXPECT_EQ(browser.navigations().last().outcome, Outcome::Loaded);
}

TEST_F(OfflineBrowserTest, CancelledCommandsAndEmptyAddressesLoadNothing) {
    const QString page = write(QStringLiteral("page.htm"), QStringLiteral("<title>Kept</title>"));
    open(page);

    cancelAddress = address(QStringLiteral("page.htm"));
    browser.Navigate(cancelAddress);
    cancelCommands = false;
    browser.Navigate(QStringLiteral("mtp://field=DC.Title&content=x.fld/"));
    browser.Navigate(QStringLiteral(""));
    browser.Navigate(QStringLiteral("  "));
    browser.settle();
    EXPECT_EQ(events.size(), 2);
    EXPECT_TRUE(events[0].endsWith(QLatin1String(" cancelled")));
    EXPECT_EQ(events[1], QStringLiteral("before mtp://field=DC.Title&content=x.fld/ [top  program program]"));
    EXPECT_EQ(browser.navigations()[1].outcome, Outcome::Cancelled);
    EXPECT_EQ(browser.navigations()[2].outcome, Outcome::NotShown);
    EXPECT_EQ(browser.LocationName(), QStringLiteral("Kept"));
}

TEST_F(OfflineBrowserTest, MissingPageStillCompletes) {
    const QString missing = folder.filePath(QStringLiteral("nowhere.htm"));
    browser.Navigate(missing);
    browser.settle();
    EXPECT_EQ(browser.navigations().last().outcome, Outcome::Missing);
    EXPECT_EQ(events.last(), QStringLiteral("complete ") + address(QStringLiteral("nowhere.htm")));
    EXPECT_EQ(browser.LocationURL(), address(QStringLiteral("nowhere.htm")));
    EXPECT_TRUE(browser.Document().links.isEmpty());
}

TEST_F(OfflineBrowserTest, ClickedLinksArriveExactlyAsWrittenAsPageNavigations) {
    open(write(QStringLiteral("terms.htm"),
               QStringLiteral("<a href=\"mtp://field=DC.Subject&amp;content=Heart Disease&amp;scheme=MeSH.fld/\">Heart</a>"
                              "<a href='mtp://field=DC.Subject&content=Café Ōtautahi.fld/'>Café</a>"
                              "<a href=' MTP://field=DC.Subject&content=50%25.fld/ '>Upper</a>"
                              "<a href='sub/other page.htm'>Other</a>")));
    write(QStringLiteral("sub/other page.htm"), QStringLiteral("<title>Other</title>"));

    EXPECT_TRUE(browser.clickLink(QStringLiteral("mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/")));
    EXPECT_TRUE(browser.clickLink(QStringLiteral("mtp://field=DC.Subject&content=Café Ōtautahi.fld/")));
    EXPECT_TRUE(browser.clickLink(QStringLiteral(" MTP://field=DC.Subject&content=50%25.fld/ ")));
    EXPECT_FALSE(browser.clickLink(QStringLiteral("no such link")));
    browser.settle();
    EXPECT_EQ(events, (QStringList{
                          QStringLiteral("before mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/ "
                                         "[top  page link] cancelled"),
                          QStringLiteral("before mtp://field=DC.Subject&content=Café Ōtautahi.fld/ [top  page link] cancelled"),
                          QStringLiteral("before MTP://field=DC.Subject&content=50%25.fld/ [top  page link] cancelled"),
                      }));

    events.clear();
    EXPECT_TRUE(browser.clickLink(QStringLiteral("sub/other page.htm")));
    browser.settle();
    const QString other = address(QStringLiteral("sub/other page.htm"));
    EXPECT_EQ(events.first(), QStringLiteral("before %1 [top  page link]").arg(other));
    EXPECT_EQ(events.last(), QStringLiteral("complete ") + other);
    EXPECT_EQ(browser.LocationName(), QStringLiteral("Other"));
}

TEST_F(OfflineBrowserTest, FramesAreReadRecursivelyAndTheirLinksNavigateTheirFrame) {
    write(QStringLiteral("index.htm"), QStringLiteral("<a href='mtp://field=DC.Subject&content=Left.fld/'>Left term</a>"
                                                      "<a href='content2.htm' target='content'>Show</a>"
                                                      "<a href='top.htm' target='_top'>Top</a>"));
    write(QStringLiteral("content.htm"), QStringLiteral("<a href='deep.htm'><img alt='Deep picture'></a>"
                                                        "<iframe src='inner.htm' name='inner'></iframe>"));
    write(QStringLiteral("inner.htm"), QStringLiteral("<a href='mtp://field=DC.Subject&content=Inner.fld/'>Inner term</a>"));
    write(QStringLiteral("content2.htm"), QStringLiteral("<a href='c2.htm'>Second content</a>"));
    write(QStringLiteral("top.htm"), QStringLiteral("<title>Top</title>"));
    open(write(QStringLiteral("frames.htm"),
               QStringLiteral("<title>Frames</title><frameset><frame name='index' src='index.htm'>"
                              "<frame name='content' src='content.htm'><frame src='frames.htm'></frameset>")));

    const platform::PageDocument document = browser.Document();
    ASSERT_EQ(document.frames.size(), 3u);
    EXPECT_EQ(document.frames[0].address, address(QStringLiteral("index.htm")));
    EXPECT_EQ(document.frames[0].links[0].outerText, QStringLiteral("Left term"));
    EXPECT_EQ(document.frames[1].links[0].alt, QStringLiteral("Deep picture"));
    ASSERT_EQ(document.frames[1].frames.size(), 1u);
    EXPECT_EQ(document.frames[1].frames[0].links[0].href, QStringLiteral("mtp://field=DC.Subject&content=Inner.fld/"));
    // A frame showing its own page is left empty rather than read forever.
    EXPECT_TRUE(document.frames[2].links.isEmpty());
    EXPECT_TRUE(document.frames[2].frames.empty());

    EXPECT_TRUE(browser.clickLink(QStringLiteral("mtp://field=DC.Subject&content=Inner.fld/")));
    EXPECT_EQ(events.last(), QStringLiteral("before mtp://field=DC.Subject&content=Inner.fld/ [frame inner page link] cancelled"));

    // A link of one frame aimed at another replaces that frame only, without a download.
    events.clear();
    EXPECT_TRUE(browser.clickLink(QStringLiteral("content2.htm")));
    browser.settle();
    EXPECT_EQ(events, QStringList{QStringLiteral("before %1 [frame content page link]").arg(address(QStringLiteral("content2.htm")))});
    EXPECT_EQ(browser.Document().frames[1].links[0].outerText, QStringLiteral("Second content"));
    EXPECT_EQ(browser.LocationName(), QStringLiteral("Frames"));

    events.clear();
    EXPECT_TRUE(browser.clickLink(QStringLiteral("top.htm")));
    browser.settle();
    EXPECT_EQ(events.first(), QStringLiteral("before %1 [top  page link]").arg(address(QStringLiteral("top.htm"))));
    EXPECT_EQ(browser.LocationName(), QStringLiteral("Top"));
}

TEST_F(OfflineBrowserTest, ScriptAndFrameNavigationsAreReportedAsThePagesOwn) {
    write(QStringLiteral("a.htm"), QStringLiteral("<title>A</title>"));
    open(write(QStringLiteral("framed.htm"), QStringLiteral("<iframe name='side' src='missing.htm'></iframe>")));
    browser.scriptNavigate(QStringLiteral("mtp://field=DC.Title&content=Scripted.fld/"));
    EXPECT_TRUE(browser.frameNavigate(QStringLiteral("side"), address(QStringLiteral("a.htm"))));
    EXPECT_FALSE(browser.frameNavigate(QStringLiteral("nosuchframe"), address(QStringLiteral("a.htm"))));
    browser.scriptNavigate(address(QStringLiteral("a.htm")));
    browser.settle();
    EXPECT_EQ(events[0], QStringLiteral("before mtp://field=DC.Title&content=Scripted.fld/ [top  page script] cancelled"));
    EXPECT_EQ(events[1], QStringLiteral("before %1 [frame side page script]").arg(address(QStringLiteral("a.htm"))));
    EXPECT_EQ(events[2], QStringLiteral("before %1 [top  page script]").arg(address(QStringLiteral("a.htm"))));
    EXPECT_EQ(events.last(), QStringLiteral("complete ") + address(QStringLiteral("a.htm")));
    EXPECT_EQ(browser.navigations()[2].outcome, Outcome::Loaded);
}

TEST_F(OfflineBrowserTest, NewWindowsGoThroughBothEventsAndAPageGetsOnePerLoad) {
    write(QStringLiteral("popup.htm"), QStringLiteral("<title>Popup</title>"));
    open(write(QStringLiteral("page.htm"),
               QStringLiteral("<a target='_blank' href='mtp://field=DC.Subject&content=New Window.fld/'>New</a>"
                              "<a target='elsewhere' href='popup.htm'>Named</a>")));
    EXPECT_TRUE(browser.clickLink(QStringLiteral("mtp://field=DC.Subject&content=New Window.fld/")));
    EXPECT_EQ(events, QStringList{QStringLiteral("newwindow mtp://field=DC.Subject&content=New Window.fld/ user")});

    // A storm of script windows: one gets through, the rest are dropped.
    events.clear();
    for (int i = 0; i < 5; ++i) browser.openNewWindow(QStringLiteral("http://example.org/%1").arg(i));
    EXPECT_EQ(events, QStringList{QStringLiteral("newwindow http://example.org/0")});
    EXPECT_EQ(browser.newWindowRequests().size(), 6);
    EXPECT_TRUE(browser.newWindowRequests().last().dropped);
    // The user may still ask for windows.
    browser.openNewWindow(QStringLiteral("http://example.org/user"), true);
    EXPECT_EQ(events.last(), QStringLiteral("newwindow http://example.org/user user"));

    // Not cancelled, the window's page arrives at before-navigate and is shown here.
    events.clear();
    cancelNewWindows = false;
    EXPECT_TRUE(browser.clickLink(QStringLiteral("popup.htm")));
    browser.settle();
    const QString popup = address(QStringLiteral("popup.htm"));
    EXPECT_EQ(events[0], QStringLiteral("newwindow %1 user").arg(popup));
    EXPECT_EQ(events[1], QStringLiteral("before %1 [top  page newwindow]").arg(popup));
    EXPECT_EQ(events.last(), QStringLiteral("complete ") + popup);

    // The next page load allows one script window again.
    events.clear();
    cancelNewWindows = true;
    browser.openNewWindow(QStringLiteral("http://example.org/again"));
    EXPECT_EQ(events, QStringList{QStringLiteral("newwindow http://example.org/again")});
}

TEST_F(OfflineBrowserTest, HistoryMovesBackAndForthWithCommandStates) {
    const QString one = write(QStringLiteral("one.htm"), QStringLiteral("<title>One</title>"));
    const QString two = write(QStringLiteral("two.htm"), QStringLiteral("<title>Two</title>"));
    EXPECT_FALSE(browser.GoBack());
    open(one);
    EXPECT_FALSE(browser.GoBack());
    browser.Navigate(two);
    browser.settle();
    EXPECT_TRUE(events.contains(QStringLiteral("command 2 on")));

    events.clear();
    EXPECT_TRUE(browser.GoBack());
    browser.settle();
    EXPECT_EQ(events, (QStringList{
                          QStringLiteral("before %1 [top  program history]").arg(address(QStringLiteral("one.htm"))),
                          QStringLiteral("begin"),
                          QStringLiteral("command 1 on"),
                          QStringLiteral("command 2 off"),
                          QStringLiteral("title One"),
                          QStringLiteral("complete ") + address(QStringLiteral("one.htm")),
                      }));
    EXPECT_FALSE(browser.GoBack());

    // A cancelled move stays where it is.
    cancelAddress = address(QStringLiteral("two.htm"));
    EXPECT_TRUE(browser.GoForward());
    browser.settle();
    EXPECT_EQ(browser.LocationName(), QStringLiteral("One"));
    cancelAddress.clear();
    EXPECT_TRUE(browser.GoForward());
    browser.settle();
    EXPECT_EQ(browser.LocationName(), QStringLiteral("Two"));
    EXPECT_FALSE(browser.GoForward());

    // A new page drops the forward entries.
    EXPECT_TRUE(browser.GoBack());
    browser.settle();
    browser.Navigate(two);
    browser.settle();
    EXPECT_FALSE(browser.GoForward());
}

TEST_F(OfflineBrowserTest, StopRefreshAndSupersededLoads) {
    const QString one = write(QStringLiteral("one.htm"), QStringLiteral("<title>One</title>"));
    const QString two = write(QStringLiteral("two.htm"), QStringLiteral("<title>Two</title>"));
    browser.Navigate(one);
    browser.Navigate(two);
    browser.settle();
    EXPECT_EQ(browser.navigations()[0].outcome, Outcome::Superseded);
    EXPECT_EQ(browser.navigations()[1].outcome, Outcome::Loaded);

    browser.Navigate(one);
    browser.Stop();
    browser.settle();
    EXPECT_EQ(browser.navigations()[2].outcome, Outcome::Stopped);
    EXPECT_EQ(browser.LocationName(), QStringLiteral("Two"));

    events.clear();
    browser.Refresh2(platform::REFRESH_CONTINUE);
    browser.settle();
    EXPECT_EQ(events, (QStringList{QStringLiteral("begin"), QStringLiteral("complete ") + address(QStringLiteral("two.htm"))}));
    EXPECT_EQ(browser.refreshCount(), 1);
    EXPECT_EQ(browser.navigations().size(), 3);
}

TEST_F(OfflineBrowserTest, LoadsRunFromTheEventLoopToo) {
    browser.Navigate(write(QStringLiteral("page.htm"), QStringLiteral("<title>Later</title>")));
    EXPECT_TRUE(browser.Busy());
    for (int i = 0; i < 10 && browser.Busy(); ++i) QCoreApplication::processEvents();
    EXPECT_FALSE(browser.Busy());
    EXPECT_EQ(browser.LocationName(), QStringLiteral("Later"));
}

TEST_F(OfflineBrowserTest, PrintNeedsAPageAndReportsFailures) {
    QString error;
    EXPECT_EQ(browser.QueryStatusWB(platform::OLECMDID_PRINT), int(platform::OLECMDF_SUPPORTED));
    EXPECT_FALSE(browser.ExecWB(platform::OLECMDID_PRINT, platform::OLECMDEXECOPT_PROMPTUSER, &error));
    EXPECT_FALSE(error.isEmpty());
    open(write(QStringLiteral("page.htm"), QStringLiteral("x")));
    EXPECT_TRUE(browser.QueryStatusWB(platform::OLECMDID_PRINT) & platform::OLECMDF_ENABLED);
    EXPECT_EQ(browser.QueryStatusWB(5), 0);
    EXPECT_TRUE(browser.ExecWB(platform::OLECMDID_PRINT, platform::OLECMDEXECOPT_PROMPTUSER));
    browser.failNextPrint(QStringLiteral("Printer on fire"));
    EXPECT_FALSE(browser.ExecWB(platform::OLECMDID_PRINT, platform::OLECMDEXECOPT_PROMPTUSER, &error));
    EXPECT_EQ(error, QStringLiteral("Printer on fire"));
    EXPECT_EQ(browser.printRequests(), QList<int>{platform::OLECMDEXECOPT_PROMPTUSER});
}

TEST_F(OfflineBrowserTest, PagesHandedToTheBrowserStandInForTheWeb) {
    browser.addPage(QStringLiteral("http://example.org/frames.htm"),
                    QStringLiteral("<title>Web</title><a href='list.kqs'>List</a><iframe src='http://other.example/ad.htm'></iframe>"));
    browser.addPage(QStringLiteral("http://other.example/ad.htm"), QStringLiteral("<a href='x'>Ad</a>"), false);
    browser.Navigate(QStringLiteral("http://example.org/frames.htm"));
    browser.settle();
    EXPECT_EQ(browser.LocationURL(), QStringLiteral("http://example.org/frames.htm"));
    const platform::PageDocument document = browser.Document();
    ASSERT_EQ(document.frames.size(), 1u);
    EXPECT_FALSE(document.frames[0].readable);
    EXPECT_TRUE(document.frames[0].links.isEmpty());

    EXPECT_TRUE(browser.hoverLink(QStringLiteral("list.kqs")));
    EXPECT_TRUE(browser.hoverLink(QString()));
    EXPECT_EQ(events.mid(events.size() - 2),
              (QStringList{QStringLiteral("status http://example.org/list.kqs"), QStringLiteral("status ")}));
}

TEST_F(OfflineBrowserTest, BodyTextWindowCloseAndPlaceholderWidget) {
    browser.Navigate(QStringLiteral("about:blank"));
    browser.settle();
    browser.setBodyHtml(QStringLiteral("<a href='mtp://field=DC.Type&content=Reply.fld/'>Reply</a>"));
    EXPECT_EQ(browser.bodyHtml(), QStringLiteral("<a href='mtp://field=DC.Type&content=Reply.fld/'>Reply</a>"));
    ASSERT_EQ(browser.Document().links.size(), 1);
    EXPECT_EQ(browser.Document().links[0].outerText, QStringLiteral("Reply"));
    EXPECT_TRUE(browser.clickLink(QStringLiteral("mtp://field=DC.Type&content=Reply.fld/")));

    browser.closeWindow();
    EXPECT_EQ(events.last(), QStringLiteral("visible 0"));

    QWidget holder;
    auto* held = new OfflineBrowser(&holder);
    ASSERT_NE(held->widget(), nullptr);
    EXPECT_EQ(held->widget()->parentWidget(), &holder);
}

TEST(WebBrowserFactory, OfflineUnlessTheProgramInstallsAnother) {
    QWidget holder;
    platform::WebBrowser* browser = platform::createWebBrowser(&holder);
    EXPECT_NE(qobject_cast<OfflineBrowser*>(browser), nullptr);
    EXPECT_EQ(browser->parent(), &holder);

    int made = 0;
    platform::setWebBrowserFactory([&made](QWidget* parent) -> platform::WebBrowser* {
        ++made;
        return new OfflineBrowser(parent);
    });
    platform::createWebBrowser(&holder);
    platform::setWebBrowserFactory({});
    EXPECT_EQ(made, 1);
}

TEST_F(OfflineBrowserTest, SearchGoesToTheSearchPageAsAProgramNavigation) {
    browser.setSearchPage(QStringLiteral("http://search.example/"));
    browser.GoSearch();
    EXPECT_EQ(events, QStringList{QStringLiteral("before http://search.example/ [top  program program]")});
}

}  // namespace
