#include "CommandsTestSupport.h"

#include "app/CRegSettings.h"
#include "platform/MsgBox.h"
#include "support/LocalHttpServer.h"

#include <QAction>

using namespace Qt::StringLiterals;

using commands_test::CommandsTest;
using commands_test::lineOf;
using modMTP::CommandOrigin;
using testing_support::LocalHttpServer;
using testing_support::ScriptedFileDialogs;
using testing_support::ScriptedMsgBoxes;

namespace {

const QString kNothingFound = u"URL or File did not contain any valid batch commands"_s;

class BatchTest : public CommandsTest {
protected:
    // Runs the batch file at path as "mtp://open=" does.
    void openBatch(const QString& path, CommandOrigin origin = CommandOrigin::Program) {
        dispatch(u"mtp://open="_s + path + u"/"_s, origin);
    }
};

// ---- reading and running lines ------------------------------------------------------------

TEST_F(BatchTest, AnyLineEndsRunTheSameLinesAndOnlyLinesStartingWithLowerCaseMtpRun) {
    const MetadataRecord expected = {lineOf("DC.Title", "A"), lineOf("DC.Creator", "B"), lineOf("DC.Subject", "C")};
    for (const QByteArray end : {"\r\n", "\n", "\r"}) {
        const QByteArray text = "#Log of Macro commands performed" + end + end + "mtp://field=DC.Title&content=A.fld/" +
                                end + "MTP://field=DC.Title&content=Upper.fld/" + end +
                                " mtp://field=DC.Title&content=Blank.fld/" + end + "a note" + end +
                                "mtp://field=DC.Creator&content=B.fld/" + end + end +
                                "mtp://field=DC.Subject&content=C.fld/";  // the last line needs no end
        w->MetaPanel->Clear();
        openBatch(writeFile(u"batch.kqb"_s, text));
        EXPECT_EQ(record(), expected) << "line end " << end.toHex().toStdString();
    }
}

TEST_F(BatchTest, ABatchWithoutCommandsSaysSoAndLeavesLoggingOn) {
    ScriptedMsgBoxes boxes;
    const QString path = writeFile(u"empty.kqb"_s, "# only a comment\r\n\r\n");
    boxes.expect(kNothingFound, platform::vbOK);
    openBatch(path);
    EXPECT_EQ(boxes.shown().at(0).title, u"Nothing Found"_s);
    EXPECT_TRUE(modMTP::loggingOn);
}

TEST_F(BatchTest, AMissingBatchIsReported) {
    ScriptedMsgBoxes boxes;
    const QString path = home() + u"/no such.kqb"_s;
    boxes.expect(u"Error reading in Batch File: "_s + path, platform::vbOK);
    dispatch(u"mtp://open="_s + home() + u"/no%20such.kqb/"_s);
    // Devices and folders are no batch files either: nothing is read from them.
    boxes.expect(u"Error reading in Batch File: /dev/zero"_s, platform::vbOK)
        .expect(u"Error reading in Batch File: "_s + home() + u"/folder.kqb"_s, platform::vbOK);
    dispatch(u"mtp://url=file:///dev/zero#.kqb/"_s);
    QDir().mkpath(home() + u"/folder.kqb"_s);
    dispatch(u"mtp://open="_s + home() + u"/folder.kqb/"_s);
    EXPECT_FALSE(modMTP::loggingOn);
}

TEST_F(BatchTest, BatchPathsWithBlanksAndFileAddressesRun) {
    const QString path = writeFile(u"my batches/t one.kqb"_s, "mtp://field=DC.Title&content=X.fld/");
    dispatch(u"mtp://open="_s + QString(path).replace(u' ', u"%20"_s));
    dispatch(u"mtp://url=file://"_s + path + u"/"_s);
    dispatch(u"mtp://"_s + path);
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    EXPECT_FALSE(modMTP::macroRunning);
}

TEST_F(BatchTest, BinaryAndHugeFilesAreWalkedToTheirEnd) {
    ScriptedMsgBoxes boxes;
    QByteArray binary;
    for (int i = 0; i < 70000; ++i) binary.append(char((i * 7919) % 256));
    binary.replace("mtp", "xxx");
    boxes.expect(kNothingFound, platform::vbOK);
    openBatch(writeFile(u"binary.kqb"_s, binary));

    // 50 MB of lines that are no commands, and one command at the very end.
    QByteArray huge;
    const QByteArray filler(99, 'x');
    huge.reserve(50 * 1024 * 1024 + 100);
    while (huge.size() < 50 * 1024 * 1024) huge.append(filler).append('\n');
    huge.append("mtp://field=DC.Title&content=Last.fld/");
    openBatch(writeFile(u"huge.kqb"_s, huge));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Last")}));
    QFile::remove(home() + u"/huge.kqb"_s);
}

TEST_F(BatchTest, ABatchThatRunsItselfStopsWithOneMessage) {
    ScriptedMsgBoxes boxes;
    const QString path = home() + u"/self.kqb"_s;
    // Twice, so that an unbounded run would also multiply.
    writeFile(u"self.kqb"_s, ("mtp://field=DC.Title&content=X.fld/\r\nmtp://open=" + path.toUtf8() +
                              "\r\nmtp://open=" + path.toUtf8() + "\r\n"));
    boxes.expect(u"Check whether a batch file runs itself"_s, platform::vbOK);
    openBatch(path);
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    EXPECT_TRUE(modMTP::loggingOn);
    EXPECT_FALSE(modMTP::macroRunning);

    // The next batch runs normally again.
    openBatch(writeFile(u"plain.kqb"_s, "mtp://field=DC.Creator&content=Y.fld/"));
    EXPECT_EQ(w->MetaPanel->Count(), 2);
}

TEST_F(BatchTest, BatchesMayRunOtherBatches) {
    const QString inner = writeFile(u"inner.kqb"_s, "mtp://field=DC.Creator&content=Inner.fld/");
    const QString outer =
        writeFile(u"outer.kqb"_s,
                  "mtp://field=DC.Title&content=Outer.fld/\nmtp://open=" + inner.toUtf8() + "\nmtp://gotop.fld\n");
    openBatch(outer);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Outer"), lineOf("DC.Creator", "Inner")}));
    EXPECT_EQ(selectedPosition(), 1);
}

// ---- commands from web pages -----------------------------------------------------------------

TEST_F(BatchTest, TheLinesOfABatchAPageStartedArePageCommands) {
    ScriptedMsgBoxes boxes;
    const QByteArray page = "<html><head></head><body>out</body></html>";
    const QString out = writeFile(u"out.htm"_s, page);
    const QString path = writeFile(u"page.kqb"_s, "mtp://field=DC.Title&content=T.fld/\r\n"
                                                  "mtp://save=" + out.toUtf8() + "\r\n"
                                                  "mtp://delete=all.fld/\r\n");
    boxes.expect(u"Allow this web page to run: mtp://save="_s + out, platform::vbNo)
        .expect(u"Allow this web page to run: mtp://delete=all.fld/"_s, platform::vbNo);
    openBatch(path, CommandOrigin::Page);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "T")}));
    EXPECT_EQ(testing_support::readBytes(out), page);

    // The same batch from the user's own menu runs without a question.
    w->MetaPanel->Clear();
    openBatch(path);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    const QByteArray written = testing_support::readBytes(out);
    EXPECT_TRUE(written.contains("<META NAME=\"DC.Title\" CONTENT=\"T\">\r\n</head><body>out</body></html>\r\n"));
}

// ---- the logging words and the command log ----------------------------------------------------

TEST_F(BatchTest, LoggingWordsStartStopAndRestartTheLog) {
    QString start = u"mtp://startlogging.kqb"_s;
    writeFile(u"cache/syslog.kqb"_s, "old entries\r\n");
    dispatch(start);
    EXPECT_TRUE(modMTP::loggingOn);
    EXPECT_EQ(logBytes(), QByteArray("#Log of Macro commands performed\r\n\r\n"));
    dispatch(u"mtp://field=DC.Title&content=Logged.fld"_s);
    dispatch(u"mtp://stoplogging.kqb"_s);
    EXPECT_FALSE(modMTP::loggingOn);
    dispatch(u"mtp://field=DC.Title&content=Unlogged.fld"_s);
    dispatch(u"mtp://restartlogging.kqb"_s);
    EXPECT_TRUE(modMTP::loggingOn);
    dispatch(u"mtp://gotop.fld"_s);
    EXPECT_EQ(logBytes(), QByteArray("#Log of Macro commands performed\r\n\r\n"
                                     "mtp://field=DC.Title&content=Logged.fld\r\n"
                                     "mtp://gotop.fld\r\n"));
}

TEST_F(BatchTest, ALogThatCannotBeCreatedIsReportedAndLoggingStaysAsItWas) {
    ScriptedMsgBoxes boxes;
    QDir().mkpath(modMTP::commandLogPath());
    boxes.expect(u"Error opening log: "_s, platform::vbOK);
    dispatch(u"mtp://startlogging.kqb"_s);
    EXPECT_TRUE(boxes.shown().at(0).text.endsWith(u". This is common if you are running a batch file"_s));
    EXPECT_FALSE(modMTP::loggingOn);
    QDir(modMTP::commandLogPath()).removeRecursively();
}

TEST_F(BatchTest, ABatchsOwnLinesAreNotLoggedAndLoggingIsOnAfterIt) {
    const QString path = writeFile(u"quiet.kqb"_s, "mtp://field=DC.Title&content=Q.fld/");
    dispatch(u"mtp://startlogging.kqb"_s);
    openBatch(path);
    EXPECT_EQ(logBytes(), QByteArray("#Log of Macro commands performed\r\n\r\nmtp://open=") + path.toUtf8() + "/\r\n");
    EXPECT_TRUE(modMTP::loggingOn);
}

TEST_F(BatchTest, ReplayingTheLogIntoAnEmptyRecordRebuildsIt) {
    const QByteArray blank = "<html><head></head><body>r</body></html>";
    const QString page = writeFile(u"r.htm"_s, blank);
    dispatch(u"mtp://startlogging.kqb"_s);
    for (const char* command : {"mtp://field=DC.Title&lang=en&content=Annual Report 2004.fld",
                                "mtp://field=DC.Identifier&content=http://host.example/r.htm&scheme=URI.fld",
                                "mtp://field=DC.Subject&content=Budgets&scheme=SONZ.fld",
                                "mtp://field=DC.Subject&content=Tax&scheme=SONZ.fld",
                                "mtp://field=DC.Date&content=2004-08-03&scheme=ISO8601.fld",
                                "mtp://field=DC.Creator&content=Smith & Jones, Z\u00fcrich.fld", "mtp://gotop.fld",
                                "mtp://field=DC.Description&content=Second line.fld", "mtp://save=r.htm",
                                "mtp://field=DC.Subject&content=Levies&scheme=SONZ.fld"})
        run(QString::fromUtf8(command).replace(u"save=r.htm"_s, u"save="_s + page));
    const QByteArray savedPage = testing_support::readBytes(page);
    const MetadataRecord before = record();
    ASSERT_EQ(before.size(), 6);
    EXPECT_EQ(before.at(1), lineOf("DC.Description", "Second line"));
    EXPECT_EQ(before.at(3), lineOf("DC.Subject", "Budgets; Tax; Levies", "", "SONZ"));

    w->MetaPanel->Clear();
    w->pageSource.clear();
    writeFile(u"r.htm"_s, blank);
    dispatch(u"mtp://stoplogging.kqb"_s);
    openBatch(modMTP::commandLogPath());
    EXPECT_EQ(record(), before);
    // The replayed save wrote the page as the first one did.
    EXPECT_EQ(testing_support::readBytes(page), savedPage);

    // The fields written before the save alone rebuild the record as it was saved.
    const QByteArray log = logBytes();
    const qsizetype save = log.indexOf("mtp://save=");
    const qsizetype first = log.lastIndexOf("mtp://field=DC.Title", save);
    const QString fieldsOnly = writeFile(u"saved.kqb"_s, log.mid(first, save - first));
    w->MetaPanel->Clear();
    openBatch(fieldsOnly);
    MetadataRecord saved = before;
    saved[3].content = u"Budgets; Tax"_s;
    EXPECT_EQ(record(), saved);
}

TEST_F(BatchTest, FieldCommandsOfTheRecordKeepEveryValueOnItsLine) {
    addLine(u"DC.Title"_s, u"T"_s, u"en"_s, u"x"_s);
    addLine(QString(), u"<link rel=\"schema.DC\" href=\"http://purl.org/dc\">"_s);
    addLine(u"DC.Description"_s, u"two\r\nlines\nmtp://delete=all.fld/"_s);
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
    dispatch(u"mtp://url="_s + hostAndPort() + u"/mtp folder/b.kqb/"_s);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "From the web")}));
    w->MetaPanel->Clear();
    dispatch(u"mtp://open="_s + web.url(u"/mtp folder/b.kqb"_s) + u"/"_s);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "From the web")}));
    w->MetaPanel->Clear();
    dispatch(u"mtp://"_s + hostAndPort() + u"/mtp folder/b.kqb"_s);
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    ASSERT_EQ(web.requests().size(), 3);
    for (const auto& request : web.requests()) EXPECT_EQ(request.target, "/mtp%20folder/b.kqb");
}

TEST_F(WebBatchTest, FailedFetchesAreReported) {
    ScriptedMsgBoxes boxes;
    boxes.expect(u"ErrorCode:  404"_s, platform::vbOK).expect(QString(), platform::vbOK);
    dispatch(u"mtp://url="_s + hostAndPort() + u"/missing.kqb/"_s);
    dispatch(u"mtp://url=127.0.0.1:1/refused.kqb/"_s);
    EXPECT_EQ(boxes.shown().at(1).title, u"Macro load error"_s);
    EXPECT_FALSE(boxes.shown().at(1).text.isEmpty());
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_FALSE(modMTP::loggingOn);
}

// ---- the macro set -------------------------------------------------------------------------------

TEST_F(BatchTest, PublishingWritesOneMacroLinePerStoredMacro) {
    CRegSettings settings;
    const QString section = u"Preferences\\Macros"_s;
    settings.SaveSetting(section, u"F2"_s, u"Top|mtp://gotop.fld"_s);
    settings.SaveSetting(section, u"F1"_s, u"My template|mtp://open=/t/x.kqb"_s);
    settings.SaveSetting(section, u"F12"_s, u"Title|mtp://field=DC.Title&content=A|B.fld"_s);
    const QString target = home() + u"/published.kqb"_s;
    ScriptedFileDialogs dialogs;
    dialogs.choose(target, 4);
    w->mnuBatchPublish->trigger();
    EXPECT_EQ(dialogs.requests().at(0).filterIndex, 4);
    EXPECT_EQ(testing_support::readBytes(target),
              QByteArray("mtp://addmacro=mtp://gotop.fld&fkey=F2&text=Top.kqb\r\n"
                         "mtp://addmacro=mtp://open=/t/x.kqb&fkey=F1&text=My template.kqb\r\n"
                         "mtp://addmacro=mtp://field=DC.Title&content=A|B.fld&fkey=F12&text=Title.kqb\r\n"));

    // Running the set gives every macro to the macro store again.
    ScriptedMsgBoxes boxes;
    for (const char* macro : {"gotop.fld&fkey=F2", "x.kqb&fkey=F1", "A|B.fld&fkey=F12"})
        boxes.expect(QLatin1String(macro), platform::vbOK);
    openBatch(target);

    // A value that is no macro ends the set; cancelling writes nothing.
    settings.SaveSetting(section, u"F3"_s, u"no bar here"_s);
    settings.SaveSetting(section, u"F4"_s, u"Late|mtp://gotop.fld"_s);
    dialogs.choose(target, 4).cancel();
    w->mnuBatchPublish->trigger();
    EXPECT_EQ(testing_support::readBytes(target).count("\r\n"), 3);
    QFile::remove(target);
    w->mnuBatchPublish->trigger();
    EXPECT_FALSE(QFile::exists(target));
}

}  // namespace
