// Commands from web pages as a user meets them in the browser pane: which ask, which are
// refused, which run, and what a page's batch does.
#include "AppTestSupport.h"

#include "core/commands/modMTP.h"
#include "gui/frame/WindowFrame.h"

namespace {

class PageCommandsTest : public WindowTest {
protected:
    void SetUp() override { w.context.commands.loggingOn = false; }
    QString activity() const {
        return w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(WindowFrame::kActivityPanel);
    }
    static QByteArray logBytes() {
        return QFile::exists(modMTP::commandLogPath()) ? read(modMTP::commandLogPath()) : QByteArray("(none)");
    }
    // A page of links, opened in the browser as the user opens one.
    void showLinks(const QStringList& hrefs) {
        QByteArray html = "<html><head><title>Links</title></head><body>";
        for (const QString& href : hrefs) html += "<a href=\"" + href.toUtf8() + "\">link</a>\n";
        open(write(u"links.htm"_s, html + "</body></html>"));
    }
    void userClicks(const QString& href) {
        ASSERT_TRUE(browser().clickLink(href)) << href.toStdString();
        browser().settle();
    }
    static inline const QByteArray kPage = "<html><head><title>Page</title></head><body>text</body></html>\r\n";
    static inline const QString kByItself = u"A command the page started by itself was not run: "_s;
};

// Cutting "open=" (and "mtp://") out of a batch command can join the words that start and
// stop logging: the question is about what runs, so No changes nothing.
TEST_F(PageCommandsTest, LoggingWordsJoinedByTheDispatchersCutsAreAskedAbout) {
    const QStringList starts = {u"mtp://staopen=rtlogging.kqb"_s, u"mtp://STAmtp://OPEN=rtLogging.kqb"_s,
                                u"mtp://restopen=artlogging.kqb"_s};
    const QString stop = u"mtp://stopen=oplogging.kqb"_s;
    showLinks(starts + QStringList{stop});
    for (const QString& href : starts + QStringList{stop}) {
        boxes.expect(modMTP::kPageCommandQuestion + href, kAnswerNo);
        userClicks(href);
    }
    EXPECT_FALSE(QFile::exists(modMTP::commandLogPath()));
    EXPECT_FALSE(w.context.commands.loggingOn);

    // The user starts logging: the page can neither empty the log nor stop it unasked.
    open(u"mtp://startlogging.kqb"_s);
    const QByteArray log = logBytes();
    ASSERT_EQ(log, modMTP::kCommandLogHeader.toUtf8() + "\r\n\r\n");
    for (const QString& href : {starts.first(), stop}) {
        boxes.expect(modMTP::kPageCommandQuestion + href, kAnswerNo);
        userClicks(href);
    }
    EXPECT_EQ(logBytes(), log);
    EXPECT_TRUE(w.context.commands.loggingOn);
    // Yes runs what was asked about: the stop.
    boxes.expect(modMTP::kPageCommandQuestion + stop, kAnswerYes);
    userClicks(stop);
    EXPECT_FALSE(w.context.commands.loggingOn);
}

// Only the user's own click on a link asks; a page that navigates by itself (a script, a
// refresh, a form it sends, a script's click(), a frame) gets no question and a line in the
// status bar, and commands that need no question run from anywhere.
TEST_F(PageCommandsTest, OnlyTheUsersClickAsksAboutAPageCommand) {
    const QString page = write(u"page.htm"_s, kPage);
    const QString save = u"mtp://save="_s + page;
    const QString clear = u"mtp://delete=all.fld/"_s;
    const QString field = u"mtp://field=DC.Subject&content=Cats.fld/"_s;
    showLinks({save, clear, field});

    browser().scriptNavigate(save);
    EXPECT_EQ(activity(), kByItself + save);
    browser().clickLink(clear, false);
    browser().settle();
    EXPECT_EQ(activity(), kByItself + clear);
    browser().scriptNavigate(save, u"left"_s);
    EXPECT_TRUE(activity().endsWith(save)) << activity().toStdString();
    EXPECT_EQ(read(page), kPage);
    EXPECT_EQ(w.context.record.count(), 0);

    browser().scriptNavigate(field);
    browser().clickLink(u"mtp://field=DC.Subject&content=Dogs.fld/"_s, false);  // not on the page: nothing
    EXPECT_EQ(w.context.record.count(), 1);

    boxes.expect(modMTP::kPageCommandQuestion + clear, kAnswerNo);
    userClicks(clear);
    EXPECT_EQ(w.context.record.count(), 1);
    boxes.expect(modMTP::kPageCommandQuestion + clear, kAnswerYes);
    userClicks(clear);
    EXPECT_EQ(w.context.record.count(), 0);
}

// A batch the user's click started asks at each line that needs it, and No ends it there;
// a batch a page started by itself runs its harmless lines and stops at the first line that
// would ask. Neither turns logging on.
TEST_F(PageCommandsTest, NoToALineOfAPagesBatchEndsThatBatch) {
    const QString out = write(u"out.htm"_s, kPage);
    const QString batch = write(u"page.kqb"_s, "mtp://field=DC.Subject&content=One.fld/\r\n"
                                               "mtp://delete=all.fld/\r\n"
                                               "mtp://field=DC.Subject&content=Two.fld/\r\n"
                                               "mtp://save=" + out.toUtf8() + "\r\n");
    const QString run = u"mtp://open="_s + batch + u"/"_s;
    showLinks({run});
    const int before = w.context.record.count();

    boxes.expect(modMTP::kPageCommandQuestion + u"mtp://delete=all.fld/"_s, kAnswerNo);
    userClicks(run);
    EXPECT_EQ(w.context.record.count(), before + 1);
    EXPECT_EQ(w.context.record.lines().last().content, u"One"_s);
    EXPECT_FALSE(w.context.commands.loggingOn);

    browser().scriptNavigate(run);
    EXPECT_EQ(w.context.record.lines().last().content, u"One"_s);
    EXPECT_TRUE(activity().endsWith(u"mtp://delete=all.fld/"_s)) << activity().toStdString();
    EXPECT_FALSE(w.context.commands.loggingOn);
    EXPECT_EQ(read(out), kPage);
}

}  // namespace
