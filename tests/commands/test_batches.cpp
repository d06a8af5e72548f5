#include "CommandsTestSupport.h"

#include "app/CRegSettings.h"
#include "platform/MsgBox.h"
#include "support/LocalHttpServer.h"

#include <QAction>

using commands_test::CommandsTest;
using commands_test::HandlerCalls;
using commands_test::lineOf;
using modMTP::CommandOrigin;
using testing_support::LocalHttpServer;
using testing_support::ScriptedFileDialogs;
using testing_support::ScriptedMsgBoxes;

namespace {

const QString kNothingFound = QStringLiteral("URL or File did not contain any valid batch commands");

class BatchTest : public CommandsTest {
protected:
    // Runs the batch file at path as "mtp://open=" does.
    void openBatch(const QString& path, CommandOrigin origin = CommandOrigin::Program) {
        dispatch(QStringLiteral("mtp://open=") + path + QStringLiteral("/"), origin);
    }
};

// ---- reading and running lines ------------------------------------------------------------

TEST_F(BatchTest, AnyLineEndsRunTheSameLinesAndALastLineNeedsNoEnd) {
    const QByteArray lines[] = {"mtp://field=DC.Title&content=A.fld/", "mtp://field=DC.Creator&content=B.fld/",
                                "mtp://field=DC.Subject&content=C.fld/"};
    const MetadataRecord expected = {lineOf("DC.Title", "A"), lineOf("DC.Creator", "B"), lineOf("DC.Subject", "C")};
    for (const char* end : {"\r\n", "\n", "\r"}) {
        const QByteArray text = lines[0] + end + lines[1] + end + end + lines[2];
        const QString path = writeFile(QStringLiteral("batch.kqb"), text);
        w->MetaPanel->Clear();
        openBatch(path);
        EXPECT_EQ(record(), expected) << "line end " << QByteArray(end).toHex().toStdString();
    }
}

TEST_F(BatchTest, OnlyLinesStartingWithLowerCaseMtpRun) {
    const QString path = writeFile(QStringLiteral("mixed.kqb"),
                                   "#Log of Macro commands performed\r\n\r\n"
                                   "MTP://field=DC.Title&content=Upper.fld/\r\n"
                                   " mtp://field=DC.Title&content=Blank.fld/\r\n"
                                   "a note\r\n"
                                   "mtp://field=DC.Title&content=Runs.fld/\r\n");
    openBatch(path);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Runs")}));
}

TEST_F(BatchTest, ABatchWithoutCommandsSaysSoAndLeavesLoggingOn) {
    ScriptedMsgBoxes boxes;
    const QString path = writeFile(QStringLiteral("empty.kqb"), "# only a comment\r\n\r\n");
    boxes.expect(kNothingFound, platform::vbOK);
    openBatch(path);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Nothing Found"));
    EXPECT_TRUE(modMTP::loggingOn);
}

TEST_F(BatchTest, AMissingBatchIsReported) {
    ScriptedMsgBoxes boxes;
    const QString path = home() + QStringLiteral("/no such.kqb");
    boxes.expect(QStringLiteral("Error reading in Batch File: ") + path, platform::vbOK);
    dispatch(QStringLiteral("mtp://open=") + home() + QStringLiteral("/no%20such.kqb/"));
    // Devices and folders are no batch files either: nothing is read from them.
    boxes.expect(QStringLiteral("Error reading in Batch File: /dev/zero"), platform::vbOK)
        .expect(QStringLiteral("Error reading in Batch File: ") + home() + QStringLiteral("/folder.kqb"), platform::vbOK);
    dispatch(QStringLiteral("mtp://url=file:///dev/zero#.kqb/"));
    QDir().mkpath(home() + QStringLiteral("/folder.kqb"));
    dispatch(QStringLiteral("mtp://open=") + home() + QStringLiteral("/folder.kqb/"));
    EXPECT_FALSE(modMTP::loggingOn);
}

TEST_F(BatchTest, BatchPathsWithBlanksAndFileAddressesRun) {
    const QString path = writeFile(QStringLiteral("my batches/t one.kqb"), "mtp://field=DC.Title&content=X.fld/");
    QString spaced = path;
    spaced.replace(QLatin1Char(' '), QLatin1String("%20"));
    dispatch(QStringLiteral("mtp://open=") + spaced);
    dispatch(QStringLiteral("mtp://url=file://") + path + QStringLiteral("/"));
    dispatch(QStringLiteral("mtp://") + path);
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    EXPECT_FALSE(modMTP::macroRunning);
}

TEST_F(BatchTest, BinaryAndHugeFilesAreWalkedToTheirEnd) {
    ScriptedMsgBoxes boxes;
    QByteArray binary;
    for (int i = 0; i < 70000; ++i) binary.append(char((i * 7919) % 256));
    binary.replace("mtp", "xxx");
    boxes.expect(kNothingFound, platform::vbOK);
    openBatch(writeFile(QStringLiteral("binary.kqb"), binary));

    // 50 MB of lines that are no commands, and one command at the very end.
    QByteArray huge;
    const QByteArray filler(99, 'x');
    huge.reserve(50 * 1024 * 1024 + 100);
    while (huge.size() < 50 * 1024 * 1024) huge.append(filler).append('\n');
    huge.append("mtp://field=DC.Title&content=Last.fld/");
    openBatch(writeFile(QStringLiteral("huge.kqb"), huge));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Last")}));
    QFile::remove(home() + QStringLiteral("/huge.kqb"));
}

TEST_F(BatchTest, ABatchThatRunsItselfStopsWithOneMessage) {
    ScriptedMsgBoxes boxes;
    const QString path = home() + QStringLiteral("/self.kqb");
    // Twice, so that an unbounded run would also multiply.
    writeFile(QStringLiteral("self.kqb"), ("mtp://field=DC.Title&content=X.fld/\r\nmtp://open=" + path.toUtf8() +
                                           "\r\nmtp://open=" + path.toUtf8() + "\r\n"));
    boxes.expect(QStringLiteral("Check whether a batch file runs itself"), platform::vbOK);
    openBatch(path);
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    EXPECT_TRUE(modMTP::loggingOn);
    EXPECT_FALSE(modMTP::macroRunning);

    // The next batch runs normally again.
    openBatch(writeFile(QStringLiteral("plain.kqb"), "mtp://field=DC.Creator&content=Y.fld/"));
    EXPECT_EQ(w->MetaPanel->Count(), 2);
}

TEST_F(BatchTest, BatchesMayRunOtherBatches) {
    const QString inner = writeFile(QStringLiteral("inner.kqb"), "mtp://field=DC.Creator&content=Inner.fld/");
    const QString outer = writeFile(QStringLiteral("outer.kqb"), "mtp://field=DC.Title&content=Outer.fld/\nmtp://open=" +
                                                                     inner.toUtf8() + "\nmtp://gotop.fld\n");
    openBatch(outer);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Outer"), lineOf("DC.Creator", "Inner")}));
    EXPECT_EQ(selectedPosition(), 1);
}

// ---- commands from web pages -----------------------------------------------------------------

TEST_F(BatchTest, TheLinesOfABatchAPageStartedArePageCommands) {
    ScriptedMsgBoxes boxes;
    HandlerCalls handlers({QStringLiteral("runBatchFile"), QStringLiteral("mtpAddField")});
    const QString path = writeFile(QStringLiteral("page.kqb"), "mtp://field=DC.Title&content=T.fld/\r\n"
                                                               "mtp://save=/tmp/out.htm\r\n"
                                                               "mtp://delete=all.fld/\r\n");
    boxes.expect(QStringLiteral("Allow this web page to run: mtp://save=/tmp/out.htm"), platform::vbNo)
        .expect(QStringLiteral("Allow this web page to run: mtp://delete=all.fld/"), platform::vbNo);
    openBatch(path, CommandOrigin::Page);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "T")}));
    EXPECT_TRUE(handlers.calls.filter(QStringLiteral("SaveAsHTML")).isEmpty());

    // The same batch from the user's own menu runs without a question.
    openBatch(path);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_EQ(handlers.calls.filter(QStringLiteral("SaveAsHTML")), QStringList({"SaveAsHTML(/tmp/out.htm)"}));
}

// ---- the logging words and the command log ----------------------------------------------------

TEST_F(BatchTest, LoggingWordsStartStopAndRestartTheLog) {
    QString start = QStringLiteral("mtp://startlogging.kqb");
    writeFile(QStringLiteral("cache/syslog.kqb"), "old entries\r\n");
    dispatch(start);
    EXPECT_TRUE(modMTP::loggingOn);
    EXPECT_EQ(logBytes(), QByteArray("#Log of Macro commands performed\r\n\r\n"));
    dispatch(QStringLiteral("mtp://field=DC.Title&content=Logged.fld"));
    dispatch(QStringLiteral("mtp://stoplogging.kqb"));
    EXPECT_FALSE(modMTP::loggingOn);
    dispatch(QStringLiteral("mtp://field=DC.Title&content=Unlogged.fld"));
    dispatch(QStringLiteral("mtp://restartlogging.kqb"));
    EXPECT_TRUE(modMTP::loggingOn);
    dispatch(QStringLiteral("mtp://gotop.fld"));
    EXPECT_EQ(logBytes(), QByteArray("#Log of Macro commands performed\r\n\r\n"
                                     "mtp://field=DC.Title&content=Logged.fld\r\n"
                                     "mtp://gotop.fld\r\n"));
}

TEST_F(BatchTest, ALogThatCannotBeCreatedIsReportedAndLoggingStaysAsItWas) {
    ScriptedMsgBoxes boxes;
    QDir().mkpath(modMTP::commandLogPath());
    boxes.expect(QStringLiteral("Error opening log: "), platform::vbOK);
    dispatch(QStringLiteral("mtp://startlogging.kqb"));
    EXPECT_TRUE(boxes.shown().at(0).text.endsWith(QStringLiteral(". This is common if you are running a batch file")));
    EXPECT_FALSE(modMTP::loggingOn);
    QDir(modMTP::commandLogPath()).removeRecursively();
}

TEST_F(BatchTest, ABatchsOwnLinesAreNotLoggedAndLoggingIsOnAfterIt) {
    const QString path = writeFile(QStringLiteral("quiet.kqb"), "mtp://field=DC.Title&content=Q.fld/");
    dispatch(QStringLiteral("mtp://startlogging.kqb"));
    openBatch(path);
    EXPECT_EQ(logBytes(), QByteArray("#Log of Macro commands performed\r\n\r\nmtp://open=") + path.toUtf8() + "/\r\n");
    EXPECT_TRUE(modMTP::loggingOn);
}

TEST_F(BatchTest, ReplayingTheLogIntoAnEmptyRecordRebuildsIt) {
    HandlerCalls handlers({QStringLiteral("runBatchFile"), QStringLiteral("mtpAddField")});
    dispatch(QStringLiteral("mtp://startlogging.kqb"));
    for (const char* command : {"mtp://field=DC.Title&lang=en&content=Annual Report 2004.fld",
                                "mtp://field=DC.Identifier&content=http://host.example/r.htm&scheme=URI.fld",
                                "mtp://field=DC.Subject&content=Budgets&scheme=SONZ.fld",
                                "mtp://field=DC.Subject&content=Tax&scheme=SONZ.fld",
                                "mtp://field=DC.Date&content=2004-08-03&scheme=ISO8601.fld",
                                "mtp://field=DC.Creator&content=Smith & Jones, Z\u00fcrich.fld", "mtp://gotop.fld",
                                "mtp://field=DC.Description&content=Second line.fld", "mtp://save=/site/r.htm",
                                "mtp://field=DC.Subject&content=Levies&scheme=SONZ.fld"})
        run(QString::fromUtf8(command));
    const MetadataRecord before = record();
    ASSERT_EQ(before.size(), 6);
    EXPECT_EQ(before.at(1), lineOf("DC.Description", "Second line"));
    EXPECT_EQ(before.at(3), lineOf("DC.Subject", "Budgets; Tax; Levies", "", "SONZ"));

    w->MetaPanel->Clear();
    dispatch(QStringLiteral("mtp://stoplogging.kqb"));
    openBatch(modMTP::commandLogPath());
    EXPECT_EQ(record(), before);
    EXPECT_EQ(handlers.calls.filter(QStringLiteral("SaveAsHTML")),
              QStringList({"SaveAsHTML(/site/r.htm)", "SaveAsHTML(/site/r.htm)"}));

    // The fields written before the save alone rebuild the record as it was saved.
    const QByteArray log = logBytes();
    const qsizetype save = log.indexOf("mtp://save=");
    const qsizetype first = log.lastIndexOf("mtp://field=DC.Title", save);
    const QString fieldsOnly = writeFile(QStringLiteral("saved.kqb"), log.mid(first, save - first));
    w->MetaPanel->Clear();
    openBatch(fieldsOnly);
    MetadataRecord saved = before;
    saved[3].content = QStringLiteral("Budgets; Tax");
    EXPECT_EQ(record(), saved);
}

TEST_F(BatchTest, FieldCommandsOfTheRecordKeepEveryValueOnItsLine) {
    addLine(QStringLiteral("DC.Title"), QStringLiteral("T"), QStringLiteral("en"), QStringLiteral("x"));
    addLine(QString(), QStringLiteral("<link rel=\"schema.DC\" href=\"http://purl.org/dc\">"));
    addLine(QStringLiteral("DC.Description"), QStringLiteral("two\r\nlines\nmtp://delete=all.fld/"));
    EXPECT_EQ(modMTP::buildFieldCommands(),
              QStringLiteral("mtp://field=DC.Title&content=T&lang=en&scheme=x.fld/\r\n"
                             "mtp://field=&content=<link rel=\"schema.DC\" href=\"http://purl.org/dc\">.fld/\r\n"
                             "mtp://field=DC.Description&content=two  lines mtp://delete=all.fld/.fld/\r\n"));
    w->MetaPanel->Clear();
    EXPECT_EQ(modMTP::buildFieldCommands(), QString());
}

// ---- batches on the web ----------------------------------------------------------------------

class WebBatchTest : public BatchTest {
protected:
    LocalHttpServer web;
    void SetUp() override {
        BatchTest::SetUp();
        web.server().Get("/mtp folder/b.kqb", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("mtp://field=DC.Title&content=From the web.fld/\r\n", "text/plain");
        });
        web.server().Get("/missing.kqb", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("gone", "text/plain");
        });
    }
    // The server's address without its "http://".
    QString hostAndPort() const { return web.url().mid(7); }
};

TEST_F(WebBatchTest, LinksRewrittenByTheNavigationHubAndOpenCommandsFetchTheBatch) {
    dispatch(QStringLiteral("mtp://url=") + hostAndPort() + QStringLiteral("/mtp folder/b.kqb/"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "From the web")}));
    w->MetaPanel->Clear();
    dispatch(QStringLiteral("mtp://open=") + web.url(QStringLiteral("/mtp folder/b.kqb")) + QStringLiteral("/"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "From the web")}));
    w->MetaPanel->Clear();
    dispatch(QStringLiteral("mtp://") + hostAndPort() + QStringLiteral("/mtp folder/b.kqb"));
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    ASSERT_EQ(web.requests().size(), 3);
    for (const auto& request : web.requests()) EXPECT_EQ(request.target, "/mtp%20folder/b.kqb");
}

TEST_F(WebBatchTest, FailedFetchesAreReported) {
    ScriptedMsgBoxes boxes;
    boxes.expect(QStringLiteral("ErrorCode:  404"), platform::vbOK).expect(QString(), platform::vbOK);
    dispatch(QStringLiteral("mtp://url=") + hostAndPort() + QStringLiteral("/missing.kqb/"));
    dispatch(QStringLiteral("mtp://url=127.0.0.1:1/refused.kqb/"));
    EXPECT_EQ(boxes.shown().at(1).title, QStringLiteral("Macro load error"));
    EXPECT_FALSE(boxes.shown().at(1).text.isEmpty());
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_FALSE(modMTP::loggingOn);
}

// ---- the macro set -------------------------------------------------------------------------------

TEST_F(BatchTest, PublishingWritesOneMacroLinePerStoredMacro) {
    CRegSettings settings;
    const QString section = QStringLiteral("Preferences\\Macros");
    settings.SaveSetting(section, QStringLiteral("F2"), QStringLiteral("Top|mtp://gotop.fld"));
    settings.SaveSetting(section, QStringLiteral("F1"), QStringLiteral("My template|mtp://open=/t/x.kqb"));
    settings.SaveSetting(section, QStringLiteral("F12"), QStringLiteral("Title|mtp://field=DC.Title&content=A|B.fld"));
    const QString target = home() + QStringLiteral("/published.kqb");
    ScriptedFileDialogs dialogs;
    dialogs.choose(target, 4);
    w->mnuBatchPublish->trigger();
    EXPECT_EQ(dialogs.requests().at(0).filterIndex, 4);
    EXPECT_EQ(testing_support::readBytes(target), QByteArray("mtp://addmacro=mtp://gotop.fld&fkey=F2&text=Top.kqb\r\n"
                                            "mtp://addmacro=mtp://open=/t/x.kqb&fkey=F1&text=My template.kqb\r\n"
                                            "mtp://addmacro=mtp://field=DC.Title&content=A|B.fld&fkey=F12&text=Title.kqb\r\n"));

    // Running the set gives every macro to the macro store again.
    HandlerCalls handlers({QStringLiteral("runBatchFile")});
    openBatch(target);
    EXPECT_EQ(handlers.calls.filter(QStringLiteral("addMacro(")).size(), 3);

    // A value that is no macro ends the set; cancelling writes nothing.
    settings.SaveSetting(section, QStringLiteral("F3"), QStringLiteral("no bar here"));
    settings.SaveSetting(section, QStringLiteral("F4"), QStringLiteral("Late|mtp://gotop.fld"));
    dialogs.choose(target, 4).cancel();
    w->mnuBatchPublish->trigger();
    EXPECT_EQ(testing_support::readBytes(target).count("\r\n"), 3);
    QFile::remove(target);
    w->mnuBatchPublish->trigger();
    EXPECT_FALSE(QFile::exists(target));
}

}  // namespace
