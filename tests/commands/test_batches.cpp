#include "CommandsTestSupport.h"

#include "core/program/CRegSettings.h"
#include "support/LocalHttpServer.h"
#include "support/OfflineBrowser.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

using commands_test::CommandsTest;
using commands_test::lineOf;
using modMTP::CommandOrigin;
using testing_support::readBytes;

namespace {

const QByteArray kLogHeader = "#Log of Macro commands performed\r\n\r\n";

class BatchTest : public CommandsTest {
protected:
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
        w.context.record.clear();
        openBatch(writeFile(u"batch.kqb"_s, text));
        EXPECT_EQ(record(), expected) << "line end " << end.toHex().toStdString();
    }
    w.context.record.clear();
    reset();

    // Folders are no batch files either: nothing is read from them.
    QDir().mkpath(home() + u"/folder.kqb"_s);
    boxes.expect(u"Error reading in Batch File: "_s + home() + u"/no such.kqb"_s, platform::kAnswerOk)
        .expect(u"Error reading in Batch File: "_s + home() + u"/folder.kqb"_s, platform::kAnswerOk);
    dispatch(u"mtp://open="_s + home() + u"/no%20such.kqb/"_s);
    openBatch(home() + u"/folder.kqb"_s);
    EXPECT_FALSE(w.context.commands.loggingOn);
    boxes.expect(u"URL or File did not contain any valid batch commands"_s, platform::kAnswerOk);  // logging goes on
    openBatch(writeFile(u"empty.kqb"_s, "# only a comment\r\n\r\n"));
    EXPECT_EQ(boxes.shown().last().title, u"Nothing Found"_s);
    EXPECT_TRUE(w.context.commands.loggingOn);
    QByteArray binary;  // with one command at its very end
    for (int i = 0; i < 70000; ++i) binary.append(char((i * 7919) % 256));
    openBatch(writeFile(u"binary.kqb"_s, binary.replace("mtp", "xxx") + "\nmtp://field=DC.Title&content=Last.fld/"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Last")}));
}

// While a batch runs, the edit panel is filled once the panes are let go; a key meant for
// it meanwhile finds it showing the line the key goes into.
TEST_F(BatchTest, KeysForTheEditPanelDuringABatchGoIntoTheLineItShows) {
    QByteArray text;
    for (int i = 1; i <= 40; ++i)
        text += "mtp://field=DC.Description" + QByteArray::number(i) + "&content=Value " + QByteArray::number(i) + ".fld/\r\n";
    const QString path = writeFile(u"adds.kqb"_s, text);
    auto* name = w->findChild<QLineEdit*>(u"editNrmlName"_s);
    auto* content = w->findChild<QLineEdit*>(u"editNrmlContent"_s);
    ASSERT_TRUE(name && content);
    w->show();
    // The panel shows a line before the batch starts.
    dispatch(u"mtp://field=DC.Title&content=Before.fld/"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return content->text() == u"Before"_s && content->isEnabled(); }, 2000));
    // Typed while the batch's 20th line is the newest: the keys come at the batch's next yield.
    const QMetaObject::Connection typing = QObject::connect(&w.context.record, &Record::inserted, [&] {
        if (w.context.record.count() != 21) return;
        QTimer::singleShot(0, content, [content] {
            QTest::keyClick(content, Qt::Key_End);
            QTest::keyClick(content, Qt::Key_Z);
        });
    });
    openBatch(path);
    QObject::disconnect(typing);
    ASSERT_EQ(w.context.record.count(), 41);
    EXPECT_EQ(w.context.record.lineAt(1).content, u"Before"_s);
    EXPECT_EQ(w.context.record.lineAt(21).content, u"Value 20z"_s);
    EXPECT_EQ(w.context.record.lineAt(22).content, u"Value 21"_s);
    // The panel ends on the batch's last line.
    EXPECT_EQ(name->text(), u"DC.Description40"_s);
    EXPECT_EQ(content->text(), u"Value 40"_s);
}

TEST_F(BatchTest, BatchesRunOtherBatchesButNeverThemselves) {
    const QString inner = writeFile(u"inner.kqb"_s, "mtp://field=DC.Creator&content=Inner.fld/");
    openBatch(writeFile(u"outer.kqb"_s, "mtp://field=DC.Title&content=Outer.fld/\nmtp://open=" + inner.toUtf8() +
                                            "\nmtp://gotop.fld\n"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Outer"), lineOf("DC.Creator", "Inner")}));
    EXPECT_EQ(selectedPosition(), 1);

    // Twice, so that an unbounded run would also multiply.
    w.context.record.clear();
    const QByteArray self = "mtp://open=" + (home() + u"/self.kqb"_s).toUtf8() + "\r\n";
    boxes.expect(u"Check whether a batch file runs itself"_s, platform::kAnswerOk);
    openBatch(writeFile(u"self.kqb"_s, "mtp://field=DC.Title&content=X.fld/\r\n" + self + self));
    EXPECT_EQ(w.context.record.count(), 1);
    openBatch(inner);  // the next batch runs normally again
    EXPECT_EQ(w.context.record.count(), 2);
}

TEST_F(BatchTest, LoggingWordsStartStopAndRestartTheLogWithoutABatchsOwnLines) {
    writeFile(u"cache/syslog.kqb"_s, "old entries\r\n");
    dispatch(u"mtp://startlogging.kqb"_s);
    EXPECT_TRUE(w.context.commands.loggingOn);
    EXPECT_EQ(logBytes(), kLogHeader);
    dispatch(u"mtp://field=DC.Title&content=Logged.fld"_s);
    dispatch(u"mtp://stoplogging.kqb"_s);
    EXPECT_FALSE(w.context.commands.loggingOn);
    dispatch(u"mtp://field=DC.Title&content=Unlogged.fld"_s);
    dispatch(u"mtp://restartlogging.kqb"_s);
    const QString batch = writeFile(u"quiet.kqb"_s, "mtp://field=DC.Title&content=Q.fld/");
    openBatch(batch);
    EXPECT_TRUE(w.context.commands.loggingOn);
    EXPECT_EQ(logBytes(), kLogHeader + "mtp://field=DC.Title&content=Logged.fld\r\nmtp://open=" + batch.toUtf8() +
                              "/\r\n");

    // A log that cannot be opened is reported: logging stays off, a logged command still runs.
    dispatch(u"mtp://stoplogging.kqb"_s);
    QFile::remove(modMTP::commandLogPath());
    QDir().mkpath(modMTP::commandLogPath());
    boxes.expect(u"Error opening log: "_s, platform::kAnswerOk).expect(u"Error opening log: "_s, platform::kAnswerOk);
    dispatch(u"mtp://startlogging.kqb"_s);
    EXPECT_TRUE(boxes.shown().at(0).text.endsWith(u". This is common if you are running a batch file"_s));
    EXPECT_FALSE(w.context.commands.loggingOn);
    w.context.commands.loggingOn = true;
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
    const QByteArray savedPage = readBytes(page);
    const MetadataRecord before = record();
    ASSERT_EQ(before.size(), 4);
    EXPECT_EQ(before.at(2), lineOf("DC.Subject", "Budgets; Levies", "", "SONZ"));
    w.context.record.clear();
    w.context.page.text.clear();  // as in a new session: no page read yet
    w.context.page.file.clear();
    writeFile(u"r.htm"_s, blank);
    dispatch(u"mtp://stoplogging.kqb"_s);
    openBatch(modMTP::commandLogPath());
    EXPECT_EQ(record(), before);
    EXPECT_EQ(readBytes(page), savedPage);
}

TEST_F(BatchTest, WebBatchesAreFetchedByEveryFormOfAddress) {
    testing_support::LocalHttpServer web;
    web.server().Get("/mtp folder/b.kqb", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("mtp://field=DC.Title&content=From the web.fld/\r\n", "text/plain");
    });
    const QString host = web.url().mid(7);  // without "http://"
    for (const QString& command : {u"mtp://url="_s + host + u"/mtp folder/b.kqb/"_s,
                                   u"mtp://open="_s + web.url(u"/mtp folder/b.kqb"_s) + u"/"_s,
                                   u"mtp://"_s + host + u"/mtp folder/b.kqb"_s}) {
        w.context.record.clear();
        dispatch(command);
        EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "From the web")})) << command;
    }
    ASSERT_EQ(web.requests().size(), 3);
    for (const auto& request : web.requests()) EXPECT_EQ(request.target, "/mtp%20folder/b.kqb");
}

// A record saved as a template and replayed comes back as it was: a "|" is not taken for
// the step of a thesaurus path, and escapes and line breaks stay what they were.
TEST_F(BatchTest, ATemplateReplaysItsValuesAsTheyWere) {
    const MetadataRecord lines = {lineOf("DC.Description", "uses|here"), lineOf("DC.Subject", "100%20 & %26 more"),
                                  lineOf("DC.Coverage", "two\r\nlines")};
    for (const MetadataLine& line : lines) w.context.record.append(line);
    const QString batch = home() + u"/template.kqb"_s;
    w.enter(u"mtp://save="_s + batch);  // the command typed into the address box
    ASSERT_TRUE(QFile::exists(batch));
    w.context.record.clear();
    openBatch(batch);
    EXPECT_EQ(record(), lines);
}

TEST_F(BatchTest, PublishingWritesOneMacroLinePerStoredMacro) {
    CRegSettings settings(w.context.settings);
    const QString section = u"Preferences\\Macros"_s;
    settings.SaveSetting(section, u"F2"_s, u"Top|mtp://gotop.fld"_s);
    settings.SaveSetting(section, u"F12"_s, u"Title|mtp://field=DC.Title&content=A|B.fld"_s);
    const QString target = home() + u"/published.kqb"_s;
    testing_support::ScriptedFileDialogs dialogs;
    dialogs.choose(target, 4);
    w->findChild<QAction*>(u"mnuBatchPublish"_s)->trigger();
    const QByteArray published = "mtp://addmacro=mtp://gotop.fld&fkey=F2&text=Top.kqb\r\n"
                                 "mtp://addmacro=mtp://field=DC.Title&content=A|B.fld&fkey=F12&text=Title.kqb\r\n";
    EXPECT_EQ(readBytes(target), published);

    // Run on an empty store, the set stores every macro again, byte for byte.
    const QList<SettingRow> stored = settings.GetAllSettings(section);
    settings.DeleteSetting(section, QString());
    openBatch(target);
    EXPECT_EQ(settings.GetAllSettings(section), stored);

    // A value that is no macro is left out, and the user is told; the macros after it stay.
    settings.SaveSetting(section, u"F3"_s, u"no bar here"_s);
    settings.SaveSetting(section, u"F4"_s, u"Late|mtp://gotop.fld"_s);
    testing_support::ScriptedMsgBoxes boxes;
    boxes.expect(u"1 stored value(s) of the function keys are not macros"_s, platform::kAnswerOk);
    dialogs.choose(target, 4).cancel();
    w->findChild<QAction*>(u"mnuBatchPublish"_s)->trigger();
    EXPECT_EQ(readBytes(target), published + "mtp://addmacro=mtp://gotop.fld&fkey=F4&text=Late.kqb\r\n");
    EXPECT_TRUE(boxes.shown().last().text.endsWith(u": 3 macro(s) were published."_s));
    // Cancelling writes nothing.
    QFile::remove(target);
    w->findChild<QAction*>(u"mnuBatchPublish"_s)->trigger();
    EXPECT_FALSE(QFile::exists(target));

    // A store of nothing but values that are no macros replaces no set published before.
    settings.DeleteSetting(section, QString());
    settings.SaveSetting(section, u"F5"_s, u"nothing"_s);
    testing_support::writeBytes(target, published);
    boxes.expect(u"no macro is left to publish. Nothing was written."_s, platform::kAnswerOk);
    dialogs.choose(target, 4);
    w->findChild<QAction*>(u"mnuBatchPublish"_s)->trigger();
    EXPECT_EQ(readBytes(target), published);
}

// Whole journeys: a batch opens pages, fills their records and saves them.
class BatchEditsPagesTest : public BatchTest {
protected:
    BatchEditsPagesTest() { w.context.preferences.UseLinkRel.setText(u"N"_s); }
    testing_support::OfflineBrowser& browser() { return testing_support::offlineBrowser(w.find<platform::WebBrowser>(u"WebBrowser1"_s)); }
    void runBatch(const QByteArray& lines) { run(u"mtp://open="_s + writeFile(u"run.kqb"_s, lines)); }
    // Opens the page, runs the field lines and saves the page over itself, in one batch.
    void editInBatch(const QString& page, const QByteArray& fieldLines) {
        runBatch("mtp://open=" + page.toUtf8() + "\r\n" + fieldLines + "mtp://save=" + page.toUtf8() + "\r\n");
    }
};

TEST_F(BatchEditsPagesTest, ABatchOpensAPageFillsItsRecordAndSavesIt) {
    w.context.preferences.charEncoding = u"2"_s;
    const QByteArray head = "<html>\r\n<head>\r\n<title>Fish</title>\r\n";
    const QByteArray tail = "</head>\r\n<body>Fish &amp; chips</body>\r\n</html>\r\n";
    const QString page = writeFile(u"fish page.htm"_s, head + "<meta name=\"DC.Title\" content=\"Old\">\r\n" + tail);
    editInBatch(page, "mtp://field=DC.Subject&content=Fish&scheme=MeSH.fld/\r\nmtp://field=DC.Type&content=A.fld/\r\n");
    EXPECT_EQ(readBytes(page), head + "<META NAME=\"DC.Title\" CONTENT=\"Old\">\r\n<META NAME=\"DC.Subject\" SCHEME="
                                      "\"MeSH\" CONTENT=\"Fish\">\r\n<META NAME=\"DC.Type\" CONTENT=\"A\">\r\n" + tail);
    EXPECT_FALSE(w.context.document.modified(DocumentState::Document::Record));
}

// A batch that opens a second page while the first still loads works on the second.
TEST_F(BatchEditsPagesTest, EachOpenIsReadBeforeTheNextLineRunsAndAFailedOneStopsTheBatch) {
    const QByteArray pageA = "<html><head><title>A</title>\r\n<meta name=\"DC.Title\" content=\"Apples\">\r\n"
                             "</head><body>Apple orchard</body></html>\r\n";
    const QByteArray pageB = "<html><head><title>B</title>\r\n<meta name=\"DC.Title\" content=\"Bananas\">\r\n"
                             "</head><body>Banana boat</body></html>\r\n";
    const QString a = writeFile(u"a.htm"_s, pageA);
    const QString b = writeFile(u"b.htm"_s, pageB);
    browser().setLoadDelay(400);  // page A is still loading when the batch opens B
    runBatch("mtp://open=" + a.toUtf8() + "\r\nmtp://open=" + b.toUtf8() +
             "\r\nmtp://field=DC.Subject&content=Fruit.fld/\r\nmtp://save=" + b.toUtf8() + "\r\n");
    EXPECT_EQ(readBytes(a), pageA);
    EXPECT_EQ(readBytes(b), "<html><head><title>B</title>\r\n<META NAME=\"DC.Title\" CONTENT=\"Bananas\">\r\n"
                       "<META NAME=\"DC.Subject\" CONTENT=\"Fruit\">\r\n</head><body>Banana boat</body></html>\r\n");
    EXPECT_EQ(w.context.document.currentHTMLFile(), b);

    // A page that cannot be read stops the batch: its save never writes another page's text.
    const QString other = writeFile(u"other.htm"_s, "<html><head></head><body>Other</body></html>");
    boxes.expect(u"missing.htm"_s, platform::kAnswerOk).expect(u"This page could not be opened: file://"_s, platform::kAnswerOk);
    runBatch("mtp://open=" + a.toUtf8() + "\r\nmtp://open=" + home().toUtf8() + "/missing.htm\r\n" +
             "mtp://field=DC.Subject&content=Lost.fld/\r\nmtp://save=" + other.toUtf8() + "\r\n");
    EXPECT_EQ(readBytes(other), "<html><head></head><body>Other</body></html>");
    EXPECT_EQ(readBytes(a), pageA);
}

// A page that sends the browser elsewhere (a redirect stub) cannot swap the record while a
// batch runs: the batch saves the stub it opened, with the stub's own text.
TEST_F(BatchEditsPagesTest, APageMovingTheBrowserOnDoesNotSwapTheRecordOfABatch) {
    const QString target = writeFile(u"index.html"_s, "<html><head><meta name=\"DC.Title\" content=\"Index\"></head>"
                                                  "<body>The book</body></html>");
    const QByteArray head = "<!DOCTYPE HTML>\n<html lang=\"en\">\n  <head>\n    <title>Redirecting...</title>\n";
    const QByteArray tail = "  </head>\n  <body><a href=\"index.html\">index.html</a></body>\n</html>\n";
    const QString stub =
        writeFile(u"stub.html"_s, head + "    <meta http-equiv=\"refresh\" content=\"0; URL=index.html\">\n" + tail);
    // The stub's refresh, as the browser follows it once the stub has loaded.
    QObject::connect(&browser(), &platform::WebBrowser::downloadComplete, &browser(), [&] {
        if (browser().LocationURL().endsWith(u"stub.html"_s)) browser().scriptNavigate(u"file://"_s + target);
    });
    editInBatch(stub, "mtp://field=DC.Title&content=Moved.fld/\r\n");
    EXPECT_TRUE(std::any_of(browser().navigations().begin(), browser().navigations().end(),
                            [&](const auto& n) { return n.address.endsWith(u"index.html"_s); }));
    EXPECT_EQ(readBytes(stub), head + "<META HTTP-EQUIV=\"refresh\" CONTENT=\"0; URL=index.html\">\r\n"
                                      "<META NAME=\"DC.Title\" CONTENT=\"Moved\">\r\n" + tail);
    EXPECT_FALSE(readBytes(target).contains("Moved"));
}

// Real pages are saved with every byte outside the meta elements as it was: the elements'
// other attributes, commented-out elements and the encoding declaration's place included.
TEST_F(BatchEditsPagesTest, RealPagesComeBackWhole) {
    w.context.preferences.charEncoding = u"2"_s;
    const QByteArray head = "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>foo - Rust</title>";
    const QByteArray script = "<script src=\"../static.files/main.js\"></script>";
    const QByteArray vars = "data-root-path=\"../\" data-themes=\"\" data-search-js='search-8b.js' defer";
    const QString rustdoc = writeFile(u"foo/index.html"_s, head + "<meta name=\"generator\" content=\"rustdoc\">"
                                                           "<meta name=\"rustdoc-vars\" " + vars + ">" + script +
                                                           "</head><body>docs</body></html>");
    editInBatch(rustdoc, "mtp://field=DC.Title&content=f.fld/\r\n");
    EXPECT_EQ(readBytes(rustdoc), head + script + "<META NAME=\"generator\" CONTENT=\"rustdoc\">\r\n"
                                  "<META NAME=\"rustdoc-vars\" CONTENT=\"\" " + vars +
                                  ">\r\n<META NAME=\"DC.Title\" CONTENT=\"f\">\r\n</head><body>docs</body></html>\r\n");

    // Meta elements in comments, scripts and styles are text: neither read nor removed.
    const QByteArray quiet = "<html><head>\r\n<!-- <meta name=\"robots\" content=\"noindex\"> -->\r\n"
                             "<script>var t = '<meta name=\"x\" content=\"y\">';</script>\r\n"
                             "<style>/* <meta name=\"s\"> */</style>\r\n";
    const QString commented = writeFile(u"quiet.htm"_s, quiet + "</head><body><textarea><meta name=\"t\" content=\"u\">"
                                                            "</textarea></body></html>\r\n");
    editInBatch(commented, "mtp://field=DC.Title&content=Quiet.fld/\r\n");
    EXPECT_EQ(record().size(), 1);
    EXPECT_EQ(readBytes(commented), quiet + "<META NAME=\"DC.Title\" CONTENT=\"Quiet\">\r\n</head><body><textarea>"
                                       "<meta name=\"t\" content=\"u\"></textarea></body></html>\r\n");

    // The encoding declaration stays in the first 1024 bytes of a 3 KB head; a Windows-1252
    // page keeps the UTF-8 quote bytes of its body, while the record gets the quote repaired.
    const QByteArray top = "<html><head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
                           "charset=windows-1252\">\r\n";
    const QByteArray style = "<style>\r\n" + QByteArray(3000, 'p') + "\r\n</style>\r\n";
    const QByteArray body = "</head><body>It\xE2\x80\x99s caf\xE9</body></html>\r\n";
    const QString late = writeFile(u"late.htm"_s, top + "<meta name=\"DC.Title\" content=\"It\xE2\x80\x99s\">\r\n" +
                                                  style + body);
    editInBatch(late, "mtp://field=DC.Subject&content=Caf\xC3\xA9.fld/\r\n");
    EXPECT_EQ(record().value(1).content, u"It's"_s);
    EXPECT_EQ(readBytes(late), top + style + "<META NAME=\"DC.Title\" CONTENT=\"It's\">\r\n"
                                        "<META NAME=\"DC.Subject\" CONTENT=\"Caf\xE9\">\r\n" + body);
}

}  // namespace
