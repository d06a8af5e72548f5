#include "CommandsTestSupport.h"

#include "core/commands/CommandRoute.h"
#include "core/catalogues/ListTree.h"
#include "support/LocalHttpServer.h"
#include "platform/widgets/StatusBar.h"

#include <QTest>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

using commands_test::CommandsTest;
using commands_test::lineOf;
using modMTP::CommandOrigin;
using modMTP::CommandRow;
using modMTP::routeCommand;
using testing_support::ScriptedModals;

namespace {

// Where a command goes and what its handler is given, for rules the window tests below do not reach.
TEST(CommandRoute, VerbsFindTheirRowAndLocation) {
    struct Row { const char* command; CommandRow row; const char* location; const char* folder = ""; };
    const Row rows[] = {
        {"mtp://url=host/a.b.c|d.kqs/", CommandRow::SchemeLoad, "url=host/a.b.c|d.kqs"},
        {"mtp://savehcl=/site/hcl|/site/records/.kqi/", CommandRow::CatalogSaveHcl, "/site/hcl.kqi", "/site/records/"},
        {"mtp://saverss=/site/rss.htm|ignored.kqi/", CommandRow::CatalogSaveRss, "/site/rss.htm"},
        {"mtp://loadHCL=host.example/hcl.xml.kqi/", CommandRow::CatalogLoadHcl, "http://host.example/hcl.xml"},
        {"mtp://url=loadRSS=/site/rss.xml.kqi/", CommandRow::CatalogLoadRss, "file:///site/rss.xml"},
        // A macro line that saves is still a macro to store.
        {"mtp://addmacro=mtp://save=/t/p.htm&fkey=F3.kqb/", CommandRow::BatchAddMacro,
         "mtp://addmacro=mtp://save=/t/p.htm&fkey=F3.kqb/"},
        {"mtp://cgisendHCL=host/cgi-bin/hcl?put.kqb/", CommandRow::BatchCgiSendHcl, "mtp://host/cgi-bin/hcl?put.kqb/"},
        {"mtp://open=/site/page.HTML/", CommandRow::PageOpen, "file:///site/page.HTML"},
    };
    for (const Row& r : rows) {
        const modMTP::CommandRoute route = routeCommand(QString::fromUtf8(r.command));
        EXPECT_EQ(route.row, r.row) << r.command;
        EXPECT_EQ(route.location, QString::fromUtf8(r.location)) << r.command;
        EXPECT_EQ(route.folder, QString::fromUtf8(r.folder)) << r.command;
    }
    EXPECT_FALSE(routeCommand(u"mtp://savehcl=/site/hcl.kqi/"_s).fault.isEmpty());  // no "|" before the folder
    EXPECT_EQ(routeCommand(u"mtp://loadHCL=/site/h.xml.kqi/"_s).localPath, u"/site/h.xml"_s);
}

// What the dispatcher runs is what a page command is judged by: cutting "open=" and
// "mtp://" out of a batch command can join a logging word, and the type after the last "."
// and a verb found anywhere choose the row, so each row is judged as it will run.
TEST(CommandRoute, APageCommandIsJudgedAsItRuns) {
    struct Row { const char* command; CommandRow row; bool asks; const char* location; };
    const Row rows[] = {
        {"mtp://staopen=rtlogging.kqb/", CommandRow::BatchStartLogging, true, "startlogging.kqb"},
        {"mtp://STAmtp://OPEN=rtLogging.kqb/", CommandRow::BatchStartLogging, true, "STArtLogging.kqb"},
        {"mtp://stopen=oplogging.kqb/", CommandRow::BatchStopLogging, true, "stoplogging.kqb"},
        {"mtp://restopen=artlogging.kqb/", CommandRow::BatchRestartLogging, true, "restartlogging.kqb"},
        {"mtp://restartlogging.kqb/", CommandRow::BatchRestartLogging, true, "mtp://restartlogging.kqb"},
        // A batch location holding a logging word is that word, as the batch runner has it.
        {"mtp://open=/t/startlogging/notes.kqb/", CommandRow::BatchStartLogging, true, "/t/startlogging/notes.kqb"},
        {"mtp://open=/t/notes.kqb/", CommandRow::BatchOpen, false, "/t/notes.kqb"},
        // Cut out of a list command, the verbs stay a location to load.
        {"mtp://deleopen=te=all.kqs/", CommandRow::SchemeOpen, false, "delete=all.kqs"},
        {"mtp://saopen=ve=/t/c.kqi/", CommandRow::CatalogOpen, false, "save=/t/c.kqi"},
        {"mtp://save=/t/p.htm?.kqb/", CommandRow::BatchSave, true, "/t/p.htm?.kqb"},
        {"mtp://x/cgisend=host/y.kqb/", CommandRow::BatchCgiSend, true, "mtp://x/host/y.kqb/"},
    };
    for (const Row& r : rows) {
        const modMTP::CommandRoute route = routeCommand(QString::fromUtf8(r.command));
        EXPECT_EQ(route.row, r.row) << r.command;
        EXPECT_EQ(modMTP::needsUsersWord(route), r.asks) << r.command;
        EXPECT_EQ(route.location, QString::fromUtf8(r.location)) << r.command;
    }
}

class DispatcherTest : public CommandsTest {
protected:
    bool cached(const QString& name) const { return QFile::exists(home() + u"/cache/"_s + name); }
};

TEST_F(DispatcherTest, DeleteAllEmptiesOnlyItsOwnCacheAndOnlyWhenWrittenExactly) {
    for (const QString& name : {u"cache/schema/a.kqs"_s, u"cache/schema/b.kqs"_s, u"cache/indexes/c.kqi"_s})
        writeFile(name, "x");
    dispatch(u"mtp://delete=all.kqs/"_s);
    EXPECT_FALSE(cached(u"schema/a.kqs"_s) || cached(u"schema/b.kqs"_s));
    EXPECT_TRUE(cached(u"indexes/c.kqi"_s));
    // In capitals it is no clearing but a list to load.
    boxes.expect(u"Could not retrieve the data"_s, platform::kAnswerOk);
    dispatch(u"mtp://DELETE=ALL.kqi/"_s);
    EXPECT_TRUE(cached(u"indexes/c.kqi"_s));
    dispatch(u"mtp://delete=all.kqi/"_s);
    EXPECT_FALSE(cached(u"indexes/c.kqi"_s));
}

TEST_F(DispatcherTest, ShiftClearsTheCachedCataloguesFirstInALoggedCommand) {
    testing_support::LocalHttpServer web;
    web.server().Get("/cat.kqi", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("Fish|http://host.example/fish.htm\r\n", "text/plain");
    });
    const QString catalogue = u"mtp://url="_s + web.url().mid(7) + u"/cat.kqi/"_s;
    writeFile(u"cache/indexes/old.kqi"_s, "x");
    w.context.commands.loggingOn = true;
    w.holdShift(true);
    dispatch(catalogue);
    w.holdShift(false);
    EXPECT_FALSE(cached(u"indexes/old.kqi"_s));
    EXPECT_EQ(logBytes(), (catalogue + u"\r\nmtp://delete=all.kqi\r\n"_s).toUtf8());
    ASSERT_GE(w.activeTree().count(), 2);
    EXPECT_EQ(w.activeTree().text(w.activeTree().item(2)), u"Fish"_s);
}

TEST_F(DispatcherTest, FieldVerbsClearJumpAndInsert) {
    w.context.record.append(lineOf("DC.Title", "Annual report"));
    w.context.record.append(lineOf("DC.Creator", "Smith"));
    select(2);
    dispatch(u"mtp://gotop.fld"_s);  // without its final "/"
    EXPECT_EQ(selectedPosition(), 1);
    // A value holding the letters of the jump is still a value.
    dispatch(u"mtp://field=DC.Subject&content=GoTop%20results.fld/"_s);
    ASSERT_EQ(w.context.record.count(), 3);
    EXPECT_EQ(record().at(1), lineOf("DC.Subject", "GoTop results"));
    dispatch(u"mtp://delete=all.fld/"_s);
    EXPECT_EQ(w.context.record.count(), 0);

    // Far beyond any 16-bit position, with "|", "%" escapes, several dots and non-ASCII text.
    const QString longValue(100000, QLatin1Char('a'));
    dispatch(u"mtp://field=DC.Subject&content="_s + longValue + u"|Zürich%2F%20x.y.z.fld/"_s);
    EXPECT_EQ(record(), MetadataRecord({{u"DC.Subject"_s, longValue + u" | Zürich%2F x.y.z"_s, {}, {}}}));
}

TEST_F(DispatcherTest, RefusedUnknownEmptyAndUncuttableCommandsAreReported) {
    boxes.expect(u"Harvest Control Lists are not implemented yet for SA.DETE"_s, platform::kAnswerOk)
        .expect(u"Harvest Control Lists are not implemented in Dublin Core"_s, platform::kAnswerOk);
    w.context.domain.defaultSchema = u"SA.DETE"_s;
    dispatch(u"mtp://savehcl=/site/hcl|.kqi/"_s);
    w.context.domain.defaultSchema = u"Dublin Core"_s;
    dispatch(u"mtp://savehcl=/site/hcl|.kqi/"_s);
    boxes.expect(u"mtp://print=x.htm/ transaction not known"_s, platform::kAnswerOk)
        .expect(u"mtp://x.zip/ transaction not known"_s, platform::kAnswerOk)
        .expect(u"No data in mtp transaction"_s, platform::kAnswerOk)
        .expect(u"No data in mtp transaction"_s, platform::kAnswerOk)
        .expect(u"Error in MTP Transaction: "_s, platform::kAnswerOk);
    w.context.commands.loggingOn = true;
    for (const char* command : {"mtp://print=x.htm", "mtp://x.zip/", "", "# a comment.fld/", "mtp.kqs"})
        dispatch(QString::fromUtf8(command));
    EXPECT_EQ(boxes.shown().at(2).title, u"Error"_s);
    // Known or not, a command is logged; an empty one or a comment is not.
    EXPECT_EQ(logBytes(), QByteArray("mtp://print=x.htm\r\nmtp://x.zip/\r\nmtp.kqs\r\n"));
}

TEST_F(DispatcherTest, ThePageSaveIsLoggedAfterTheRecordsFieldLinesEachOnOneLine) {
    w.context.record.append(lineOf("DC.Title", "Report", "en"));
    w.context.record.append(lineOf("DC.Subject", "Cats", "", "apais"));
    w.context.record.append(lineOf("DC.Description", "one\r\nmtp://delete=all.fld/\ntwo"));
    dispatch(u"mtp://startlogging.kqb"_s);
    dispatch(u"mtp://field=DC.Title&content=a\nmtp://delete=all.fld/\rb.fld/"_s);
    const QByteArray page = (home() + u"/index.htm"_s).toUtf8();
    boxes.expect(u"does not contain <HEAD></HEAD>"_s, platform::kAnswerNo);  // no page read, none written
    dispatch(u"mtp://save="_s + QString::fromUtf8(page));
    dispatch(u"mtp://stoplogging.kqb"_s);
    EXPECT_EQ(logBytes(), "#Log of Macro commands performed\r\n\r\n"
                          "mtp://field=DC.Title&content=a mtp://delete=all.fld/ b.fld/\r\n"
                          "mtp://field=DC.Title&content=Report&lang=en.fld/\r\n"
                          "mtp://field=DC.Subject&content=Cats&scheme=apais.fld/\r\n"
                          "mtp://field=DC.Description&content=one%0D%0Amtp://delete=all.fld/%0Atwo.fld/\r\n"
                          "mtp://field=DC.Title&content=a%0Amtp://delete=all.fld/%0Db.fld/\r\n"
                          "mtp://save=" + page + "\r\n");
}

TEST_F(DispatcherTest, PageCommandsThatChangeFilesOrTheRecordAskFirst) {
    w.context.commands.loggingOn = true;
    w.context.record.append(lineOf("DC.Title", "Kept"));
    writeFile(u"cache/schema/kept.kqs"_s, "x");
    for (const char* command : {"mtp://delete=all.kqs/", "mtp://save=/t/c.kqi/", "mtp://savehcl=/t/h|/r/.kqi/",
                                "mtp://delete=all.fld/", "mtp://addmacro=mtp://gotop.fld.kqb/", "mtp://stoplogging.kqb",
                                "mtp://cgisendList=host/x.kqb/", "mtp://save=/t/p.htm/"}) {
        boxes.expect(u"Allow this web page to run: "_s + QString::fromUtf8(command), platform::kAnswerNo);
        dispatch(QString::fromUtf8(command), CommandOrigin::Page);
    }
    // Refused: nothing ran, nothing changed, nothing reached the log to be replayed later.
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Kept")}));
    EXPECT_TRUE(cached(u"schema/kept.kqs"_s));
    EXPECT_TRUE(w.context.commands.loggingOn);
    EXPECT_TRUE(logBytes().isEmpty());
    const int style = boxes.shown().at(0).style;
    EXPECT_EQ(style & 7, int(platform::kYesNo));
    EXPECT_TRUE(style & platform::kSecondButtonDefault);
    boxes.expect(u"Allow this web page to run: mtp://delete=all.fld/"_s, platform::kAnswerYes);
    dispatch(u"mtp://delete=all.fld/"_s, CommandOrigin::Page);
    EXPECT_EQ(w.context.record.count(), 0);
    // Loading and inserting run without a question.
    dispatch(u"mtp://field=DC.Title&content=X.fld/"_s, CommandOrigin::Page);
    dispatch(u"mtp://setdomain=NZGLS.kqb/"_s, CommandOrigin::Page);
    EXPECT_EQ(w.context.domain.defaultSchema, u"NZGLS"_s);
    EXPECT_FALSE(w.context.domain.linkRelLines.isEmpty());
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "X")}));

    // The lines of a batch a page started are page commands too; No to one ends the batch.
    const QByteArray page = "<html><head></head><body>out</body></html>";
    const QString out = writeFile(u"out.htm"_s, page);
    const QString batch = writeFile(u"page.kqb"_s, "mtp://save=" + out.toUtf8() + "\r\nmtp://delete=all.fld/\r\n");
    boxes.expect(u"Allow this web page to run: mtp://save="_s + out, platform::kAnswerNo);
    dispatch(u"mtp://open="_s + batch + u"/"_s, CommandOrigin::Page);
    EXPECT_EQ(testing_support::readBytes(out), page);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "X")}));
    // Run by a page on its own, what would ask is refused unasked and never logged.
    const QByteArray log = logBytes();
    for (const char* command : {"mtp://delete=all.fld/", "mtp://staopen=rtlogging.kqb"})
        dispatch(QString::fromUtf8(command), CommandOrigin::PageByItself);
    dispatch(u"mtp://open="_s + batch + u"/"_s, CommandOrigin::PageByItself);
    EXPECT_EQ(testing_support::readBytes(out), page);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "X")}));
    EXPECT_EQ(logBytes(), log + "mtp://open=" + batch.toUtf8() + "/\r\n");
    EXPECT_TRUE(w.context.commands.loggingOn);
}

// Commands that must wait for another run from the wait dialog.
const QString kBusy = u"Already executing a macro please wait"_s;

class WaitDialogTest : public commands_test::CommandsTest {
protected:
    ScriptedModals modals;
    // A repository that knows no page: each request to it ends in a message box.
    testing_support::LocalHttpServer repository;
    const QString host = repository.url().mid(7);
    QString request(const char* path) const { return u"mtp://cgisend="_s + host + QLatin1String(path) + u"?returnSchemes.kqb"_s; }
    void expectRequest(std::function<void()> whileRunning = {}) { boxes.expect(u"ErrorCode:  404"_s, platform::kAnswerOk, std::move(whileRunning)); }
    // Lets the dialog's timers tick while it is up, as they do while a user waits.
    static void tick(QDialog&) { QTest::qWait(120); }
};

// A request runs inside the modal dialog; after it, the repository is asked for its schemes.
TEST_F(WaitDialogTest, RepositoryRequestsRunInsideTheModalDialog) {
    w.context.macros.saveRecordMacro = u"mtp://cgisend="_s + host + u"/save.KQB"_s;
    bool ranInside = false;
    expectRequest([&] {
        ranInside = frmWaitProcess::loadedInstance(w.context) && frmWaitProcess::loadedInstance(w.context)->isVisible();
    });
    expectRequest();
    modals.then(tick);
    w.context.commands.cancelRequested = true;
    run(request("/get"));
    EXPECT_TRUE(ranInside);
    EXPECT_FALSE(w.context.commands.cancelRequested);
}

TEST_F(WaitDialogTest, ACommandRefusedWhileAnotherRunsWaitsInTheHiddenDialog) {
    // The second command arrives while the first is still in the dispatcher.
    QTimer::singleShot(0, [this] { run(request("/save")); });
    boxes.expect(kBusy, platform::kAnswerOk);
    dispatch(u"mtp://field=DC.Title&content=First.fld"_s);
    frmWaitProcess* wait = frmWaitProcess::loadedInstance(w.context);
    ASSERT_NE(wait, nullptr);
    EXPECT_FALSE(wait->isVisible());
    expectRequest();
    tick(*wait);
    EXPECT_EQ(frmWaitProcess::loadedInstance(w.context), nullptr);
}

TEST_F(WaitDialogTest, CancelClosesAtOnceAndAsksTheRunningWorkToStop) {
    bool cancelSeen = false;
    expectRequest([&] {
        frmWaitProcess* wait = frmWaitProcess::loadedInstance(w.context);
        wait->storeCommand(request("/later"), CommandOrigin::Program);
        testing_support::press(*wait, u"Cancel"_s);
        cancelSeen = w.context.commands.cancelRequested && !wait->isVisible();
    });
    modals.then([](QDialog& dialog) { tick(dialog); });
    run(request("/long"));
    EXPECT_TRUE(cancelSeen);
    // What waited went with the dialog: loaded again for progress, it starts nothing (no box).
    tick(frmWaitProcess::Load(w.context));
}

// A page that sends to the repository by itself gets neither the dialog nor a question.
TEST_F(WaitDialogTest, ARequestAPageMakesByItselfIsRefusedBeforeTheDialog) {
    run(request("/steal"), CommandOrigin::PageByItself);
    EXPECT_EQ(frmWaitProcess::loadedInstance(w.context), nullptr);
    EXPECT_EQ(w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(3),
              u"A command the page started by itself was not run: "_s + request("/steal"));
}

TEST_F(WaitDialogTest, APageCommandKeepsItsOriginThroughTheDialog) {
    boxes.expect(u"Allow this web page to run: "_s + request("/steal"), platform::kAnswerNo);
    modals.then(tick);
    run(request("/steal"), CommandOrigin::Page);
    EXPECT_EQ(boxes.shown().size(), 1);  // refused: no request was made
}

}  // namespace
