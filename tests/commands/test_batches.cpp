#include "CommandsTestSupport.h"

#include "app/CRegSettings.h"
#include "support/LocalHttpServer.h"

#include <QAction>

using namespace Qt::StringLiterals;

using commands_test::CommandsTest;
using commands_test::lineOf;
using modMTP::CommandOrigin;

namespace {

const QByteArray kLogHeader = "#Log of Macro commands performed\r\n\r\n";

class BatchTest : public CommandsTest {
protected:
    // Runs the batch file at path as "mtp://open=" does.
    void openBatch(const QString& path, CommandOrigin origin = CommandOrigin::Program) {
        dispatch(u"mtp://open="_s + path + u"/"_s, origin);
    }
};

TEST_F(BatchTest, OnlyLinesStartingWithLowerCaseMtpRunAndWhatIsNoBatchIsReported) {
    const MetadataRecord expected = {lineOf("DC.Title", "A"), lineOf("DC.Creator", "B"), lineOf("DC.Subject", "C")};
    for (const QByteArray end : {"\r\n", "\n", "\r"}) {
        const QByteArray text = kLogHeader + "mtp://field=DC.Title&content=A.fld/" + end +
                                "MTP://field=DC.Title&content=Upper.fld/" + end +
                                " mtp://field=DC.Title&content=Blank.fld/" + end + "a note" + end +
                                "mtp://field=DC.Creator&content=B.fld/" + end + end +
                                "mtp://field=DC.Subject&content=C.fld/";  // the last line needs no end
        w->MetaPanel->Clear();
        openBatch(writeFile(u"batch.kqb"_s, text));
        EXPECT_EQ(record(), expected) << "line end " << end.toHex().toStdString();
    }
    w->MetaPanel->Clear();
    reset();

    // Devices and folders are no batch files either: nothing is read from them.
    QDir().mkpath(home() + u"/folder.kqb"_s);
    boxes.expect(u"Error reading in Batch File: "_s + home() + u"/no such.kqb"_s, platform::vbOK)
        .expect(u"Error reading in Batch File: /dev/zero"_s, platform::vbOK)
        .expect(u"Error reading in Batch File: "_s + home() + u"/folder.kqb"_s, platform::vbOK);
    dispatch(u"mtp://open="_s + home() + u"/no%20such.kqb/"_s);
    dispatch(u"mtp://url=file:///dev/zero#.kqb/"_s);
    openBatch(home() + u"/folder.kqb"_s);
    EXPECT_FALSE(modMTP::loggingOn);
    boxes.expect(u"URL or File did not contain any valid batch commands"_s, platform::vbOK);  // logging goes on
    openBatch(writeFile(u"empty.kqb"_s, "# only a comment\r\n\r\n"));
    EXPECT_EQ(boxes.shown().last().title, u"Nothing Found"_s);
    EXPECT_TRUE(modMTP::loggingOn);

    QByteArray binary;  // with one command at its very end
    for (int i = 0; i < 70000; ++i) binary.append(char((i * 7919) % 256));
    openBatch(writeFile(u"binary.kqb"_s, binary.replace("mtp", "xxx") + "\nmtp://field=DC.Title&content=Last.fld/"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Last")}));
}

TEST_F(BatchTest, BatchesRunOtherBatchesButNeverThemselves) {
    const QString inner = writeFile(u"inner.kqb"_s, "mtp://field=DC.Creator&content=Inner.fld/");
    openBatch(writeFile(u"outer.kqb"_s, "mtp://field=DC.Title&content=Outer.fld/\nmtp://open=" + inner.toUtf8() +
                                            "\nmtp://gotop.fld\n"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Outer"), lineOf("DC.Creator", "Inner")}));
    EXPECT_EQ(selectedPosition(), 1);

    // Twice, so that an unbounded run would also multiply.
    w->MetaPanel->Clear();
    const QByteArray self = "mtp://open=" + (home() + u"/self.kqb"_s).toUtf8() + "\r\n";
    boxes.expect(u"Check whether a batch file runs itself"_s, platform::vbOK);
    openBatch(writeFile(u"self.kqb"_s, "mtp://field=DC.Title&content=X.fld/\r\n" + self + self));
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    EXPECT_FALSE(modMTP::macroRunning);
    openBatch(inner);  // the next batch runs normally again
    EXPECT_EQ(w->MetaPanel->Count(), 2);
}

TEST_F(BatchTest, TheLinesOfABatchAPageStartedArePageCommands) {
    const QByteArray page = "<html><head></head><body>out</body></html>";
    const QString out = writeFile(u"out.htm"_s, page);
    const QString path = writeFile(u"page.kqb"_s, "mtp://field=DC.Title&content=T.fld/\r\nmtp://save=" + out.toUtf8() +
                                                      "\r\nmtp://delete=all.fld/\r\n");
    boxes.expect(u"Allow this web page to run: mtp://save="_s + out, platform::vbNo)
        .expect(u"Allow this web page to run: mtp://delete=all.fld/"_s, platform::vbNo);
    openBatch(path, CommandOrigin::Page);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "T")}));
    EXPECT_EQ(testing_support::readBytes(out), page);

    // The same batch from the user's own menu runs without a question.
    w->MetaPanel->Clear();
    openBatch(path);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_TRUE(testing_support::readBytes(out).contains(
        "<META NAME=\"DC.Title\" CONTENT=\"T\">\r\n</head><body>out</body></html>\r\n"));
}

TEST_F(BatchTest, LoggingWordsStartStopAndRestartTheLogWithoutABatchsOwnLines) {
    writeFile(u"cache/syslog.kqb"_s, "old entries\r\n");
    dispatch(u"mtp://startlogging.kqb"_s);
    EXPECT_TRUE(modMTP::loggingOn);
    EXPECT_EQ(logBytes(), kLogHeader);
    dispatch(u"mtp://field=DC.Title&content=Logged.fld"_s);
    dispatch(u"mtp://stoplogging.kqb"_s);
    EXPECT_FALSE(modMTP::loggingOn);
    dispatch(u"mtp://field=DC.Title&content=Unlogged.fld"_s);
    dispatch(u"mtp://restartlogging.kqb"_s);
    const QString batch = writeFile(u"quiet.kqb"_s, "mtp://field=DC.Title&content=Q.fld/");
    openBatch(batch);
    EXPECT_TRUE(modMTP::loggingOn);
    EXPECT_EQ(logBytes(), kLogHeader + "mtp://field=DC.Title&content=Logged.fld\r\nmtp://open=" + batch.toUtf8() +
                              "/\r\n");

    // A log that cannot be opened is reported: logging stays off, a logged command still runs.
    dispatch(u"mtp://stoplogging.kqb"_s);
    QFile::remove(modMTP::commandLogPath());
    QDir().mkpath(modMTP::commandLogPath());
    boxes.expect(u"Error opening log: "_s, platform::vbOK).expect(u"Error opening log: "_s, platform::vbOK);
    dispatch(u"mtp://startlogging.kqb"_s);
    EXPECT_TRUE(boxes.shown().at(0).text.endsWith(u". This is common if you are running a batch file"_s));
    EXPECT_FALSE(modMTP::loggingOn);
    modMTP::loggingOn = true;
    dispatch(u"mtp://field=DC.Creator&content=Kept.fld/"_s);
    EXPECT_TRUE(boxes.shown().at(1).text.endsWith(u". Quorvantile needs to be able to write to its home directory"_s));
    EXPECT_EQ(record().last(), lineOf("DC.Creator", "Kept"));
    QDir(modMTP::commandLogPath()).removeRecursively();
}

TEST_F(BatchTest, ReplayingTheLogIntoAnEmptyRecordRebuildsItAndThePage) {
    const QByteArray blank = "<html><head></head><body>r</body></html>";
    const QString page = writeFile(u"r.htm"_s, blank);
    dispatch(u"mtp://startlogging.kqb"_s);
    for (const char* command : {"mtp://field=DC.Title&lang=en&content=Annual Report 2004.fld",
                                "mtp://field=DC.Subject&content=Budgets&scheme=SONZ.fld",
                                "mtp://field=DC.Creator&content=Smith & Jones, Z\u00fcrich.fld", "mtp://gotop.fld",
                                "mtp://field=DC.Description&content=Second line.fld", "mtp://save=r.htm",
                                "mtp://field=DC.Subject&content=Levies&scheme=SONZ.fld"})
        run(QString::fromUtf8(command).replace(u"save=r.htm"_s, u"save="_s + page));
    const QByteArray savedPage = testing_support::readBytes(page);
    const MetadataRecord before = record();
    ASSERT_EQ(before.size(), 4);
    EXPECT_EQ(before.at(1), lineOf("DC.Description", "Second line"));
    EXPECT_EQ(before.at(2), lineOf("DC.Subject", "Budgets; Levies", "", "SONZ"));

    w->MetaPanel->Clear();
    w->pageSource.clear();
    writeFile(u"r.htm"_s, blank);
    dispatch(u"mtp://stoplogging.kqb"_s);
    openBatch(modMTP::commandLogPath());
    EXPECT_EQ(record(), before);
    EXPECT_EQ(testing_support::readBytes(page), savedPage);
}

TEST_F(BatchTest, WebBatchesAreFetchedByEveryFormOfAddressAndFailuresReported) {
    testing_support::LocalHttpServer web;
    web.server().Get("/mtp folder/b.kqb", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("mtp://field=DC.Title&content=From the web.fld/\r\n", "text/plain");
    });
    web.server().Get("/missing.kqb", [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
    const QString host = web.url().mid(7);  // without "http://"
    boxes.expect(u"ErrorCode:  404"_s, platform::vbOK);
    dispatch(u"mtp://url="_s + host + u"/missing.kqb/"_s);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_FALSE(modMTP::loggingOn);

    for (const QString& command : {u"mtp://url="_s + host + u"/mtp folder/b.kqb/"_s,
                                   u"mtp://open="_s + web.url(u"/mtp folder/b.kqb"_s) + u"/"_s,
                                   u"mtp://"_s + host + u"/mtp folder/b.kqb"_s}) {
        w->MetaPanel->Clear();
        dispatch(command);
        EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "From the web")})) << command;
    }
    ASSERT_EQ(web.requests().size(), 4);
    for (const auto& request : web.requests().mid(1)) EXPECT_EQ(request.target, "/mtp%20folder/b.kqb");
}

TEST_F(BatchTest, PublishingWritesOneMacroLinePerStoredMacro) {
    CRegSettings settings;
    const QString section = u"Preferences\\Macros"_s;
    settings.SaveSetting(section, u"F2"_s, u"Top|mtp://gotop.fld"_s);
    settings.SaveSetting(section, u"F12"_s, u"Title|mtp://field=DC.Title&content=A|B.fld"_s);
    const QString target = home() + u"/published.kqb"_s;
    testing_support::ScriptedFileDialogs dialogs;
    dialogs.choose(target, 4);
    w->mnuBatchPublish->trigger();
    const QByteArray published = "mtp://addmacro=mtp://gotop.fld&fkey=F2&text=Top.kqb\r\n"
                                 "mtp://addmacro=mtp://field=DC.Title&content=A|B.fld&fkey=F12&text=Title.kqb\r\n";
    EXPECT_EQ(testing_support::readBytes(target), published);

    // Running the set gives every macro to the macro store again.
    for (const char* macro : {"gotop.fld&fkey=F2", "A|B.fld&fkey=F12"}) boxes.expect(QLatin1String(macro), platform::vbOK);
    openBatch(target);

    // A value that is no macro ends the set; cancelling writes nothing.
    settings.SaveSetting(section, u"F3"_s, u"no bar here"_s);
    settings.SaveSetting(section, u"F4"_s, u"Late|mtp://gotop.fld"_s);
    dialogs.choose(target, 4).cancel();
    w->mnuBatchPublish->trigger();
    EXPECT_EQ(testing_support::readBytes(target), published);
    QFile::remove(target);
    w->mnuBatchPublish->trigger();
    EXPECT_FALSE(QFile::exists(target));
}

}  // namespace
