// Commands from web pages as a user meets them in the browser pane: what asks, and what
// runs after the user's answer.
#include "AppTestSupport.h"

#include "core/commands/modMTP.h"

namespace {

class PageCommandsTest : public WindowTest {
protected:
    void SetUp() override { w.context.commands.loggingOn = false; }
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

}  // namespace
