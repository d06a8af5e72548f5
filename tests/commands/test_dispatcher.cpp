#include "CommandsTestSupport.h"

#include "app/LogoWidget.h"
#include "platform/MsgBox.h"
#include "platform/OfflineBrowser.h"
#include "platform/StatusBar.h"
#include "platform/TreeView.h"
#include "support/CommandRecorder.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

using commands_test::CommandsTest;
using commands_test::HandlerCalls;
using commands_test::lineOf;
using modMTP::CommandOrigin;
using testing_support::ScriptedMsgBoxes;

namespace {

class DispatcherTest : public CommandsTest {};

// ---- scheme lists and catalogues -----------------------------------------------------------

TEST_F(DispatcherTest, SchemeListVerbsReachTheirHandlers) {
    HandlerCalls handlers;
    dispatch(QStringLiteral("mtp://open=/lists/terms.kqs/"));
    dispatch(QStringLiteral("mtp://open=remote=Subjects.kqs/"));
    dispatch(QStringLiteral("mtp://save=/lists/mine.kqs/"));
    w->listType = QStringLiteral("indexes");
    dispatch(QStringLiteral("mtp://url=schemes.example/apais.kqs"));
    EXPECT_EQ(w->listType, QStringLiteral("schema"));
    dispatch(QStringLiteral("mtp://remote=Agift.kqs/"));
    EXPECT_EQ(handlers.calls, QStringList({"loadList(/lists/terms.kqs)", "loadList(remote=Subjects)",
                                          "SaveAsList(/lists/mine.kqs)", "loadList(url=schemes.example/apais.kqs)",
                                          "loadList(remote=Agift)"}));
}

TEST_F(DispatcherTest, DeleteAllEmptiesOnlyItsOwnCacheAndOnlyWhenWrittenExactly) {
    writeFile(QStringLiteral("cache/schema/a.kqs"), "x");
    writeFile(QStringLiteral("cache/schema/b.kqs"), "x");
    writeFile(QStringLiteral("cache/indexes/c.kqi"), "x");
    dispatch(QStringLiteral("mtp://delete=all.kqs/"));
    EXPECT_TRUE(QDir(home() + QStringLiteral("/cache/schema")).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QFile::exists(home() + QStringLiteral("/cache/indexes/c.kqi")));

    // In capitals it is no clearing but a list to load.
    HandlerCalls handlers;
    writeFile(QStringLiteral("cache/indexes/d.kqi"), "x");
    dispatch(QStringLiteral("mtp://DELETE=ALL.kqi/"));
    EXPECT_EQ(handlers.calls, QStringList({"loadList(DELETE=ALL.kqi)"}));
    EXPECT_EQ(QDir(home() + QStringLiteral("/cache/indexes")).entryList(QDir::Files).size(), 2);
    dispatch(QStringLiteral("mtp://delete=all.kqi/"));
    EXPECT_TRUE(QDir(home() + QStringLiteral("/cache/indexes")).entryList(QDir::Files).isEmpty());
}

TEST_F(DispatcherTest, CatalogueLoadShowsTheTreeAndShiftClearsTheCacheFirst) {
    HandlerCalls handlers;
    writeFile(QStringLiteral("cache/indexes/old.kqi"), "x");
    dispatch(QStringLiteral("mtp://url=host/cat.kqi/"));
    EXPECT_EQ(w->listType, QStringLiteral("indexes"));
    EXPECT_FALSE(w->TreeView1[0]->isHidden());
    EXPECT_TRUE(w->mnuViewTreeView->isChecked());
    EXPECT_TRUE(QFile::exists(home() + QStringLiteral("/cache/indexes/old.kqi")));

    modMTP::loggingOn = true;
    w->shiftDown = true;
    dispatch(QStringLiteral("mtp://url=host/cat.kqi/"));
    w->shiftDown = false;
    EXPECT_FALSE(QFile::exists(home() + QStringLiteral("/cache/indexes/old.kqi")));
    EXPECT_EQ(handlers.calls, QStringList({"loadList(url=host/cat.kqi)", "loadList(url=host/cat.kqi)"}));
    // The clearing ran inside the load; the load is still marked as running afterwards.
    EXPECT_TRUE(handlers.busyAtCall.at(1));
    EXPECT_FALSE(modMTP::macroRunning);
    EXPECT_EQ(logBytes(), QByteArray("mtp://url=host/cat.kqi/\r\nmtp://delete=all.kqi\r\n"));
}

TEST_F(DispatcherTest, CatalogueSavesAndHarvestListsGoByDomain) {
    HandlerCalls handlers;
    ScriptedMsgBoxes boxes;
    dispatch(QStringLiteral("mtp://save=/lists/cat.kqi/"));
    modSchemas::defaultSchema = QStringLiteral("AGLS");
    dispatch(QStringLiteral("mtp://savehcl=/site/hcl|/site/records/.kqi/"));
    modSchemas::defaultSchema = QStringLiteral("AGLS1.3");
    dispatch(QStringLiteral("mtp://savehcl=/site/hcl|.kqi/"));
    dispatch(QStringLiteral("mtp://saverss=/site/rss.htm|ignored.kqi/"));
    EXPECT_EQ(handlers.calls, QStringList({"SaveAsList(/lists/cat.kqi)", "saveAsHCL(/site/hcl.kqi|/site/records/)",
                                          "saveAsAGLS12HCL(/site/hcl.kqi|)", "saveRSSChannel(/site/rss.htm)"}));

    boxes.expect(QStringLiteral("Harvest Control Lists are not implemented yet for SA.DETE"), platform::vbOK)
        .expect(QStringLiteral("Harvest Control Lists are not implemented in Dublin Core"), platform::vbOK)
        .expect(QStringLiteral("Error in MTP Transaction: "), platform::vbOK);
    modSchemas::defaultSchema = QStringLiteral("SA.DETE");
    dispatch(QStringLiteral("mtp://savehcl=/site/hcl|.kqi/"));
    modSchemas::defaultSchema = QStringLiteral("Dublin Core");
    dispatch(QStringLiteral("mtp://savehcl=/site/hcl|.kqi/"));
    // Without the bar between file and folder the command cannot be cut.
    dispatch(QStringLiteral("mtp://savehcl=/site/hcl.kqi/"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Error"));
    EXPECT_EQ(handlers.calls.size(), 4);
}

TEST_F(DispatcherTest, HarvestListAndChannelLocations) {
    HandlerCalls handlers;
    dispatch(QStringLiteral("mtp://url=loadHCL=/site/hcl.xml.kqi/"));
    EXPECT_EQ(w->StatusBar1->panelTag(2), QStringLiteral("List"));
    EXPECT_TRUE(w->mnuFileSave->text().startsWith(QStringLiteral("Save Harvest Control List to /site/hcl.xml")));
    dispatch(QStringLiteral("mtp://loadHCL=host.example/hcl.xml.kqi/"));
    dispatch(QStringLiteral("mtp://loadHCL=https://host.example/hcl.xml.kqi/"));
    dispatch(QStringLiteral("mtp://loadRSS=/site/rss.xml.kqi/"));
    dispatch(QStringLiteral("mtp://loadRSS=host.example/rss.xml.kqi/"));
    EXPECT_EQ(handlers.calls,
              QStringList({"loadHCL(file:///site/hcl.xml)", "loadHCL(http://host.example/hcl.xml)",
                           "loadHCL(https://host.example/hcl.xml)", "loadRSSChannel(file:///site/rss.xml)",
                           "loadRSSChannel(http://host.example/rss.xml)"}));
    EXPECT_GE(w->URL->findText(QStringLiteral("http://host.example/hcl.xml")), 0);
}

// ---- fields ------------------------------------------------------------------------------------

TEST_F(DispatcherTest, FieldVerbsClearJumpAndInsert) {
    addLine(QStringLiteral("DC.Title"), QStringLiteral("Annual report"));
    addLine(QStringLiteral("DC.Creator"), QStringLiteral("Smith"));
    select(2);
    // Without its final "/" the jump runs the same.
    dispatch(QStringLiteral("mtp://gotop.fld"));
    EXPECT_EQ(selectedPosition(), 1);
    EXPECT_TRUE(w->MetaPanel->Item(1)->Bold());
    EXPECT_FALSE(w->EditPanel->isHidden());
    EXPECT_EQ(w->editNrmlName->text(), QStringLiteral("DC.Title"));

    // A value holding the letters of the jump is still a value.
    dispatch(QStringLiteral("mtp://field=DC.Subject&content=GoTop%20results.fld/"));
    ASSERT_EQ(w->MetaPanel->Count(), 3);
    EXPECT_EQ(record().at(1), lineOf("DC.Subject", "GoTop results"));

    dispatch(QStringLiteral("mtp://delete=all.fld/"));
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_TRUE(w->EditPanel->isHidden());
}

// ---- batches and requests ------------------------------------------------------------------------

TEST_F(DispatcherTest, BatchFamilyRows) {
    HandlerCalls handlers;
    dispatch(QStringLiteral("mtp://save=/t/record.kqb/"));
    dispatch(QStringLiteral("mtp://addmacro=mtp://gotop.fld&fkey=F7.kqb/"));
    dispatch(QStringLiteral("mtp://open=/t/run.kqb/"));
    dispatch(QStringLiteral("mtp://cgisendHCL=host/cgi-bin/hcl?put.kqb/"));
    dispatch(QStringLiteral("mtp://cgisendList=host/cgi-bin/list?put.kqb/"));
    dispatch(QStringLiteral("mtp://cgisend=host/cgi-bin/rec?get.kqb/"));
    dispatch(QStringLiteral("mtp://getMetaFromHCL=/site/records/.kqb/"));
    dispatch(QStringLiteral("mtp://host.example/batch.kqb"));
    EXPECT_EQ(handlers.calls,
              QStringList({"SaveAsBatch(/t/record.kqb)", "addMacro(mtp://addmacro=mtp://gotop.fld&fkey=F7.kqb/)",
                           "runBatchFile(/t/run.kqb)", "cgiSendHCL(mtp://host/cgi-bin/hcl?put.kqb/)",
                           "cgiSendList(mtp://host/cgi-bin/list?put.kqb/)", "cgiSend(mtp://host/cgi-bin/rec?get.kqb/)",
                           "getMetaFromHCL(/site/records/)", "runBatchFile(mtp://host.example/batch.kqb)"}));
}

TEST_F(DispatcherTest, AMacroLineThatSavesStillStoresTheMacro) {
    HandlerCalls handlers;
    dispatch(QStringLiteral("mtp://addmacro=mtp://save=/t/page.htm&fkey=F3&text=Save page.kqb"));
    dispatch(QStringLiteral("MTP://AddMacro=mtp://save=/t/list.kqi&text=Save list.kqb/"));
    EXPECT_EQ(handlers.calls,
              QStringList({"addMacro(mtp://addmacro=mtp://save=/t/page.htm&fkey=F3&text=Save page.kqb/)",
                           "addMacro(MTP://AddMacro=mtp://save=/t/list.kqi&text=Save list.kqb/)"}));
}

TEST_F(DispatcherTest, SetDomainChoosesAndAppliesTheDomain) {
    modSchemas::defaultSchema = QStringLiteral("Dublin Core");
    dispatch(QStringLiteral("mtp://setdomain=AGLS1.2.kqb/"));
    EXPECT_EQ(modSchemas::defaultSchema, QStringLiteral("AGLS1.2"));
    EXPECT_FALSE(modSchemas::linkRelLines.isEmpty());
}

// ---- pages and what nobody knows -------------------------------------------------------------

TEST_F(DispatcherTest, PageSaveAndOpen) {
    HandlerCalls handlers;
    dispatch(QStringLiteral("mtp://save=/site/index.htm/"));
    dispatch(QStringLiteral("mtp://open=/site/page.HTML"));
    EXPECT_EQ(w->URL->currentText(), QStringLiteral("file:///site/page.HTML"));
    dispatch(QStringLiteral("mtp://open=https://host.example/a.asp/"));
    EXPECT_EQ(w->URL->currentText(), QStringLiteral("https://host.example/a.asp"));
    EXPECT_EQ(handlers.calls, QStringList({"SaveAsHTML(/site/index.htm)", "LoadURL(file:///site/page.HTML)",
                                          "LoadURL(https://host.example/a.asp)"}));
}

TEST_F(DispatcherTest, UnknownAndEmptyCommandsAreReported) {
    ScriptedMsgBoxes boxes;
    boxes.expect(QStringLiteral("mtp://print=x.htm/ transaction not known"), platform::vbOK)
        .expect(QStringLiteral("mtp://nothing/ transaction not known"), platform::vbOK)
        .expect(QStringLiteral("mtp://x.zip/ transaction not known"), platform::vbOK)
        .expect(QStringLiteral("No data in mtp transaction"), platform::vbOK)
        .expect(QStringLiteral("No data in mtp transaction"), platform::vbOK);
    modMTP::loggingOn = true;
    w->Gif89a1->Play();
    dispatch(QStringLiteral("mtp://print=x.htm"));
    EXPECT_FALSE(w->Gif89a1->isPlaying());  // the common end still runs
    dispatch(QStringLiteral("mtp://nothing"));
    dispatch(QStringLiteral("mtp://x.zip/"));
    w->Gif89a1->Play();
    dispatch(QString());
    dispatch(QStringLiteral("# a comment.fld/"));
    EXPECT_TRUE(w->Gif89a1->isPlaying());
    EXPECT_FALSE(modMTP::macroRunning);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Error"));
    EXPECT_EQ(boxes.shown().at(3).title, QStringLiteral("Error"));
    // Known or not, a command is logged; nothing is logged for an empty one or a comment.
    EXPECT_EQ(logBytes(), QByteArray("mtp://print=x.htm\r\nmtp://nothing\r\nmtp://x.zip/\r\n"));
}

TEST_F(DispatcherTest, ACommandThatCannotBeCutFailsAfterItWasLogged) {
    ScriptedMsgBoxes boxes;
    boxes.expect(QStringLiteral("Error in MTP Transaction: "), platform::vbOK);
    modMTP::loggingOn = true;
    w->Gif89a1->Play();
    dispatch(QStringLiteral("mtp.kqs"));
    EXPECT_TRUE(w->Gif89a1->isPlaying());  // a failure skips the common end
    EXPECT_FALSE(modMTP::macroRunning);
    EXPECT_EQ(logBytes(), QByteArray("mtp.kqs\r\n"));
}

TEST_F(DispatcherTest, LongOddAndForeignCommandsRunWithoutHarm) {
    HandlerCalls handlers;
    // Far beyond any 16-bit position, with "|", "%" escapes, several dots and non-ASCII text.
    const QString longValue(100000, QLatin1Char('a'));
    dispatch(QStringLiteral("mtp://field=DC.Subject&content=") + longValue +
             QStringLiteral("|Zürich%2F%20x.y.z.fld/"));
    ASSERT_EQ(handlers.calls.size(), 1);
    EXPECT_TRUE(handlers.calls.at(0).startsWith(QStringLiteral("mtpAddField(mtp://field=DC.Subject&content=aaa")));
    dispatch(QStringLiteral("mtp://url=host/a.b.c|d.kqs"));
    EXPECT_EQ(handlers.calls.at(1), QStringLiteral("loadList(url=host/a.b.c|d.kqs)"));
}

// ---- the command log ---------------------------------------------------------------------------

TEST_F(DispatcherTest, APageSaveIsLoggedAfterTheRecordsFieldLines) {
    HandlerCalls handlers({QStringLiteral("runBatchFile")});
    addLine(QStringLiteral("DC.Title"), QStringLiteral("Report"), QStringLiteral("en"));
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Cats"), {}, QStringLiteral("apais"));
    QString start = QStringLiteral("mtp://startlogging.kqb");
    modMTP::runBatchFile(start);
    dispatch(QStringLiteral("mtp://save=/site/index.htm"));
    dispatch(QStringLiteral("mtp://stoplogging.kqb"));
    EXPECT_FALSE(modMTP::loggingOn);
    EXPECT_EQ(logBytes(), QByteArray("#Log of Macro commands performed\r\n\r\n"
                                     "mtp://field=DC.Title&content=Report&lang=en.fld/\r\n"
                                     "mtp://field=DC.Subject&content=Cats&scheme=apais.fld/\r\n"
                                     "mtp://save=/site/index.htm\r\n"));
}

TEST_F(DispatcherTest, ALogThatCannotBeOpenedIsReportedAndTheCommandStillRuns) {
    ScriptedMsgBoxes boxes;
    QDir().mkpath(modMTP::commandLogPath());  // a folder where the log should be
    boxes.expect(QStringLiteral("Error opening log: "), platform::vbOK);
    modMTP::loggingOn = true;
    dispatch(QStringLiteral("mtp://field=DC.Title&content=Kept.fld/"));
    EXPECT_TRUE(boxes.shown().at(0).text.endsWith(
        QStringLiteral(". Quorvantile needs to be able to write to its home directory")));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Kept")}));
    QDir(modMTP::commandLogPath()).removeRecursively();
}

TEST_F(DispatcherTest, LineBreaksInsideACommandNeverBecomeLogLinesOfTheirOwn) {
    addLine(QStringLiteral("DC.Description"), QStringLiteral("one\r\nmtp://delete=all.fld/\ntwo"));
    modMTP::loggingOn = true;
    HandlerCalls handlers;
    dispatch(QStringLiteral("mtp://field=DC.Title&content=a\nmtp://delete=all.fld/\rb.fld/"));
    dispatch(QStringLiteral("mtp://save=/p.htm/"));
    EXPECT_EQ(logBytes(), QByteArray("mtp://field=DC.Title&content=a mtp://delete=all.fld/ b.fld/\r\n"
                                     "mtp://field=DC.Description&content=one  mtp://delete=all.fld/ two.fld/\r\n"
                                     "mtp://save=/p.htm/\r\n"));
}

// ---- commands from web pages ----------------------------------------------------------------

TEST_F(DispatcherTest, PageCommandsThatChangeFilesOrTheRecordAskFirst) {
    HandlerCalls handlers;
    ScriptedMsgBoxes boxes;
    const QStringList guarded = {
        "mtp://delete=all.kqs/",          "mtp://save=/t/l.kqs/",
        "mtp://delete=all.kqi/",          "mtp://save=/t/c.kqi/",
        "mtp://savehcl=/t/h|/r/.kqi/",    "mtp://saverss=/t/r.htm.kqi/",
        "mtp://delete=all.fld/",          "mtp://save=/t/b.kqb/",
        "mtp://addmacro=mtp://gotop.fld.kqb/", "mtp://cgisend=host/x.kqb/",
        "mtp://cgisendList=host/x.kqb/",  "mtp://cgisendHCL=host/x.kqb/",
        "mtp://startlogging.kqb/",        "mtp://stoplogging.kqb",
        "mtp://restartlogging.kqb",       "mtp://save=/t/p.htm/",
    };
    modMTP::loggingOn = true;
    addLine(QStringLiteral("DC.Title"), QStringLiteral("Kept"));
    writeFile(QStringLiteral("cache/schema/kept.kqs"), "x");
    for (const QString& command : guarded) {
        boxes.expect(QStringLiteral("Allow this web page to run: ") + command, platform::vbNo);
        dispatch(command, CommandOrigin::Page);
    }
    // Refused: nothing ran, nothing changed, nothing reached the log to be replayed later.
    EXPECT_TRUE(handlers.calls.isEmpty()) << handlers.calls.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Kept")}));
    EXPECT_TRUE(QFile::exists(home() + QStringLiteral("/cache/schema/kept.kqs")));
    EXPECT_TRUE(modMTP::loggingOn);
    EXPECT_TRUE(logBytes().isEmpty());
    const int style = boxes.shown().at(0).style;
    EXPECT_EQ(style & 7, int(platform::vbYesNo));
    EXPECT_TRUE(style & platform::vbDefaultButton2);

    boxes.expect(QStringLiteral("Allow this web page to run: mtp://delete=all.fld/"), platform::vbYes);
    dispatch(QStringLiteral("mtp://delete=all.fld/"), CommandOrigin::Page);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
}

TEST_F(DispatcherTest, PageCommandsThatLoadOrInsertRunWithoutAsking) {
    HandlerCalls handlers({QStringLiteral("setDomainFromCommand")});
    for (const char* command : {"mtp://url=host/l.kqs/", "mtp://open=/t/l.kqs/", "mtp://url=host/c.kqi/",
                                "mtp://loadHCL=host/h.kqi/", "mtp://loadRSS=host/r.kqi/", "mtp://gotop.fld/",
                                "mtp://field=DC.Title&content=X.fld/", "mtp://open=/t/b.kqb/", "mtp://host/b.kqb/",
                                "mtp://getMetaFromHCL=/r/.kqb/", "mtp://open=/t/p.htm/"})
        dispatch(QLatin1String(command), CommandOrigin::Page);
    dispatch(QStringLiteral("mtp://setdomain=NZGLS.kqb/"), CommandOrigin::Page);
    EXPECT_EQ(modSchemas::defaultSchema, QStringLiteral("NZGLS"));
    EXPECT_EQ(handlers.calls.size(), 11);
}

TEST_F(DispatcherTest, TheEntryCarriesTheOriginAndLeavesTheCallersTextAlone) {
    testing_support::CommandRecorder recorder;
    QString command = QStringLiteral("mtp://gotop.fld");
    modMTP::runMtpCommand(command, CommandOrigin::Page);
    EXPECT_EQ(command, QStringLiteral("mtp://gotop.fld"));
    EXPECT_EQ(recorder.commands, QStringList({"mtp://gotop.fld"}));
    EXPECT_EQ(recorder.origins.at(0), CommandOrigin::Page);
}

TEST_F(DispatcherTest, TheEntryDispatchesDirectCommandsAtOnce) {
    QString command = QStringLiteral("mtp://field=DC.Title&content=Direct.fld");
    modMTP::runMtpCommand(command);
    EXPECT_EQ(command, QStringLiteral("mtp://field=DC.Title&content=Direct.fld"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Direct")}));
    EXPECT_FALSE(modMTP::macroRunning);
}

}  // namespace

namespace {

// Links of a page reach the command language through the browser, as page commands.
TEST_F(DispatcherTest, LinksOfAVocabularyPageInsertTermsAndAskBeforeHarm) {
    ScriptedMsgBoxes boxes;
    auto* browser = qobject_cast<platform::OfflineBrowser*>(w->WebBrowser1);
    ASSERT_NE(browser, nullptr);
    const QString batch = writeFile(QStringLiteral("terms.kqb"), "mtp://field=DC.Subject&content=Dogs&scheme=SONZ.fld/");
    browser->addPage(QStringLiteral("http://vocab.example/terms.htm"),
                     QStringLiteral("<html><body>"
                                    "<a href=\"mtp://field=DC.Subject&content=Cats&scheme=SONZ.fld/\">Cats</a>"
                                    "<a href=\"file://") +
                         batch +
                         QStringLiteral("\">More terms</a>"
                                        "<a href=\"mtp://delete=all.fld/\">Clear</a>"
                                        "</body></html>"));
    w->navArmed = false;
    browser->Navigate(QStringLiteral("http://vocab.example/terms.htm"));
    browser->settle();

    ASSERT_TRUE(browser->clickLink(QStringLiteral("mtp://field=DC.Subject&content=Cats&scheme=SONZ.fld/")));
    ASSERT_TRUE(browser->clickLink(QStringLiteral("file://") + batch));
    boxes.expect(QStringLiteral("Allow this web page to run: mtp://delete=all.fld/"), platform::vbNo);
    ASSERT_TRUE(browser->clickLink(QStringLiteral("mtp://delete=all.fld/")));
    browser->settle();
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Subject", "Cats; Dogs", "", "SONZ")}));
}

}  // namespace
