#include "CommandsTestSupport.h"

#include "app/LogoWidget.h"
#include "platform/MsgBox.h"
#include "platform/StatusBar.h"
#include "platform/TreeView.h"
#include "support/CommandRecorder.h"
#include "support/LocalHttpServer.h"
#include "support/OfflineBrowser.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

using commands_test::CommandsTest;
using commands_test::lineOf;
using modMTP::CommandOrigin;
using testing_support::ScriptedMsgBoxes;

namespace {

class DispatcherTest : public CommandsTest {};

// ---- scheme lists and catalogues -----------------------------------------------------------

TEST_F(DispatcherTest, DeleteAllEmptiesOnlyItsOwnCacheAndOnlyWhenWrittenExactly) {
    for (const QString& name : {u"cache/schema/a.kqs"_s, u"cache/schema/b.kqs"_s, u"cache/indexes/c.kqi"_s})
        writeFile(name, "x");
    dispatch(u"mtp://delete=all.kqs/"_s);
    EXPECT_TRUE(QDir(home() + u"/cache/schema"_s).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QFile::exists(home() + u"/cache/indexes/c.kqi"_s));

    // In capitals it is no clearing but a list to load.
    ScriptedMsgBoxes boxes;
    boxes.expect(u"Could not retrieve the data"_s, platform::vbOK);
    dispatch(u"mtp://DELETE=ALL.kqi/"_s);
    EXPECT_TRUE(QFile::exists(home() + u"/cache/indexes/c.kqi"_s));
    dispatch(u"mtp://delete=all.kqi/"_s);
    EXPECT_TRUE(QDir(home() + u"/cache/indexes"_s).entryList(QDir::Files).isEmpty());
}

TEST_F(DispatcherTest, CatalogueLoadShowsTheTreeAndShiftClearsTheCacheFirst) {
    testing_support::LocalHttpServer web;
    for (const char* path : {"/terms.kqs", "/cat.kqi"})
        web.server().Get(path, [](const httplib::Request&, httplib::Response& res) {
            res.set_content("Fish|http://host.example/fish.htm\r\n", "text/plain");
        });
    const QString host = web.url().mid(7);  // without "http://"
    writeFile(u"cache/indexes/old.kqi"_s, "x");
    dispatch(u"mtp://url="_s + host + u"/terms.kqs/"_s);
    EXPECT_EQ(w->documentState->listType(), u"schema"_s);
    const QString catalogue = u"mtp://url="_s + host + u"/cat.kqi/"_s;
    dispatch(catalogue);
    EXPECT_EQ(w->documentState->listType(), u"indexes"_s);
    EXPECT_FALSE(w->TreeView1[0]->isHidden());
    EXPECT_TRUE(w->mnuViewTreeView->isChecked());
    EXPECT_TRUE(QFile::exists(home() + u"/cache/indexes/old.kqi"_s));

    // Shift first clears the cached catalogues, in a command of its own that is logged too.
    modMTP::loggingOn = true;
    w->shiftDown = true;
    dispatch(catalogue);
    w->shiftDown = false;
    EXPECT_FALSE(QFile::exists(home() + u"/cache/indexes/old.kqi"_s));
    EXPECT_FALSE(modMTP::macroRunning);
    EXPECT_EQ(logBytes(), (catalogue + u"\r\nmtp://delete=all.kqi\r\n"_s).toUtf8());
    ASSERT_GE(w->activeTree()->Count(), 2);
    EXPECT_EQ(w->activeTree()->Item(2)->Text(), u"Fish"_s);
}

TEST_F(DispatcherTest, HarvestListsOfOtherDomainsAreRefused) {
    ScriptedMsgBoxes boxes;
    boxes.expect(u"Harvest Control Lists are not implemented yet for SA.DETE"_s, platform::vbOK)
        .expect(u"Harvest Control Lists are not implemented in Dublin Core"_s, platform::vbOK)
        .expect(u"Error in MTP Transaction: "_s, platform::vbOK);
    modSchemas::defaultSchema = u"SA.DETE"_s;
    dispatch(u"mtp://savehcl=/site/hcl|.kqi/"_s);
    modSchemas::defaultSchema = u"Dublin Core"_s;
    dispatch(u"mtp://savehcl=/site/hcl|.kqi/"_s);
    // Without the bar between file and folder the command cannot be cut.
    dispatch(u"mtp://savehcl=/site/hcl.kqi/"_s);
    EXPECT_EQ(boxes.shown().at(0).title, u"Error"_s);
}

TEST_F(DispatcherTest, AHarvestListBecomesTheDocument) {
    ScriptedMsgBoxes boxes;
    boxes.expect(u"file:///site/hcl.xml"_s, platform::vbOK);
    dispatch(u"mtp://url=loadHCL=/site/hcl.xml.kqi/"_s);
    EXPECT_GE(w->URL->findText(u"file:///site/hcl.xml"_s), 0);
    EXPECT_EQ(w->StatusBar1->panelTag(2), u"List"_s);
    EXPECT_TRUE(w->mnuFileSave->text().startsWith(u"Save Harvest Control List to /site/hcl.xml"_s));
}

// ---- fields ------------------------------------------------------------------------------------

TEST_F(DispatcherTest, FieldVerbsClearJumpAndInsert) {
    addLine(u"DC.Title"_s, u"Annual report"_s);
    addLine(u"DC.Creator"_s, u"Smith"_s);
    select(2);
    // Without its final "/" the jump runs the same.
    dispatch(u"mtp://gotop.fld"_s);
    EXPECT_EQ(selectedPosition(), 1);
    EXPECT_TRUE(w->MetaPanel->Item(1)->Bold());
    EXPECT_FALSE(w->EditPanel->isHidden());
    EXPECT_EQ(w->editNrmlName->text(), u"DC.Title"_s);

    // A value holding the letters of the jump is still a value.
    dispatch(u"mtp://field=DC.Subject&content=GoTop%20results.fld/"_s);
    ASSERT_EQ(w->MetaPanel->Count(), 3);
    EXPECT_EQ(record().at(1), lineOf("DC.Subject", "GoTop results"));

    dispatch(u"mtp://delete=all.fld/"_s);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_TRUE(w->EditPanel->isHidden());
}

// ---- batches and requests ------------------------------------------------------------------------

TEST_F(DispatcherTest, SetDomainChoosesAndAppliesTheDomain) {
    modSchemas::defaultSchema = u"Dublin Core"_s;
    dispatch(u"mtp://setdomain=AGLS1.2.kqb/"_s);
    EXPECT_EQ(modSchemas::defaultSchema, u"AGLS1.2"_s);
    EXPECT_FALSE(modSchemas::linkRelLines.isEmpty());
}

// ---- pages and what nobody knows -------------------------------------------------------------

TEST_F(DispatcherTest, UnknownAndEmptyCommandsAreReported) {
    ScriptedMsgBoxes boxes;
    boxes.expect(u"mtp://print=x.htm/ transaction not known"_s, platform::vbOK)
        .expect(u"mtp://nothing/ transaction not known"_s, platform::vbOK)
        .expect(u"mtp://x.zip/ transaction not known"_s, platform::vbOK)
        .expect(u"No data in mtp transaction"_s, platform::vbOK)
        .expect(u"No data in mtp transaction"_s, platform::vbOK);
    modMTP::loggingOn = true;
    w->Gif89a1->Play();
    dispatch(u"mtp://print=x.htm"_s);
    EXPECT_FALSE(w->Gif89a1->isPlaying());  // the common end still runs
    dispatch(u"mtp://nothing"_s);
    dispatch(u"mtp://x.zip/"_s);
    w->Gif89a1->Play();
    dispatch(QString());
    dispatch(u"# a comment.fld/"_s);
    EXPECT_TRUE(w->Gif89a1->isPlaying());
    EXPECT_FALSE(modMTP::macroRunning);
    EXPECT_EQ(boxes.shown().at(0).title, u"Error"_s);
    EXPECT_EQ(boxes.shown().at(3).title, u"Error"_s);
    // Known or not, a command is logged; nothing is logged for an empty one or a comment.
    EXPECT_EQ(logBytes(), QByteArray("mtp://print=x.htm\r\nmtp://nothing\r\nmtp://x.zip/\r\n"));
}

TEST_F(DispatcherTest, ACommandThatCannotBeCutFailsAfterItWasLogged) {
    ScriptedMsgBoxes boxes;
    boxes.expect(u"Error in MTP Transaction: "_s, platform::vbOK);
    modMTP::loggingOn = true;
    w->Gif89a1->Play();
    dispatch(u"mtp.kqs"_s);
    EXPECT_TRUE(w->Gif89a1->isPlaying());  // a failure skips the common end
    EXPECT_FALSE(modMTP::macroRunning);
    EXPECT_EQ(logBytes(), QByteArray("mtp.kqs\r\n"));
}

TEST_F(DispatcherTest, LongOddAndForeignCommandsRunWithoutHarm) {
    // Far beyond any 16-bit position, with "|", "%" escapes, several dots and non-ASCII text.
    const QString longValue(100000, QLatin1Char('a'));
    dispatch(u"mtp://field=DC.Subject&content="_s + longValue + u"|Zürich%2F%20x.y.z.fld/"_s);
    EXPECT_EQ(record(), MetadataRecord({{u"DC.Subject"_s, longValue + u" | Zürich%2F x.y.z"_s, {}, {}}}));
}

// ---- the command log ---------------------------------------------------------------------------

TEST_F(DispatcherTest, APageSaveIsLoggedAfterTheRecordsFieldLines) {
    addLine(u"DC.Title"_s, u"Report"_s, u"en"_s);
    addLine(u"DC.Subject"_s, u"Cats"_s, {}, u"apais"_s);
    QString start = u"mtp://startlogging.kqb"_s;
    modMTP::runBatchFile(start);
    const QByteArray page = (home() + u"/index.htm"_s).toUtf8();
    ScriptedMsgBoxes boxes;
    boxes.expect(u"does not contain <HEAD></HEAD>"_s, platform::vbNo);  // no page read, none written
    dispatch(u"mtp://save="_s + QString::fromUtf8(page));
    dispatch(u"mtp://stoplogging.kqb"_s);
    EXPECT_FALSE(modMTP::loggingOn);
    EXPECT_EQ(logBytes(), "#Log of Macro commands performed\r\n\r\n"
                          "mtp://field=DC.Title&content=Report&lang=en.fld/\r\n"
                          "mtp://field=DC.Subject&content=Cats&scheme=apais.fld/\r\n"
                          "mtp://save=" + page + "\r\n");
}

TEST_F(DispatcherTest, ALogThatCannotBeOpenedIsReportedAndTheCommandStillRuns) {
    ScriptedMsgBoxes boxes;
    QDir().mkpath(modMTP::commandLogPath());  // a folder where the log should be
    boxes.expect(u"Error opening log: "_s, platform::vbOK);
    modMTP::loggingOn = true;
    dispatch(u"mtp://field=DC.Title&content=Kept.fld/"_s);
    EXPECT_TRUE(boxes.shown().at(0).text.endsWith(u". Quorvantile needs to be able to write to its home directory"_s));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Kept")}));
    QDir(modMTP::commandLogPath()).removeRecursively();
}

TEST_F(DispatcherTest, LineBreaksInsideACommandNeverBecomeLogLinesOfTheirOwn) {
    addLine(u"DC.Description"_s, u"one\r\nmtp://delete=all.fld/\ntwo"_s);
    modMTP::loggingOn = true;
    dispatch(u"mtp://field=DC.Title&content=a\nmtp://delete=all.fld/\rb.fld/"_s);
    ScriptedMsgBoxes boxes;
    boxes.expect(u"does not contain <HEAD></HEAD>"_s, platform::vbNo);
    const QByteArray page = (home() + u"/p.htm"_s).toUtf8();
    dispatch(u"mtp://save="_s + QString::fromUtf8(page) + u"/"_s);
    EXPECT_EQ(logBytes(), "mtp://field=DC.Title&content=a mtp://delete=all.fld/ b.fld/\r\n"
                          "mtp://field=DC.Description&content=one  mtp://delete=all.fld/ two.fld/\r\n"
                          "mtp://field=DC.Title&content=a mtp://delete=all.fld/ b.fld/\r\n"
                          "mtp://save=" + page + "/\r\n");
}

// ---- commands from web pages ----------------------------------------------------------------

TEST_F(DispatcherTest, PageCommandsThatChangeFilesOrTheRecordAskFirst) {
    ScriptedMsgBoxes boxes;
    const QStringList guarded = {
        "mtp://delete=all.kqs/",     "mtp://save=/t/l.kqs/",          "mtp://delete=all.kqi/",
        "mtp://save=/t/c.kqi/",      "mtp://savehcl=/t/h|/r/.kqi/",   "mtp://saverss=/t/r.htm.kqi/",
        "mtp://delete=all.fld/",     "mtp://save=/t/b.kqb/",          "mtp://addmacro=mtp://gotop.fld.kqb/",
        "mtp://cgisend=host/x.kqb/", "mtp://cgisendList=host/x.kqb/", "mtp://cgisendHCL=host/x.kqb/",
        "mtp://startlogging.kqb/",   "mtp://stoplogging.kqb",         "mtp://restartlogging.kqb",
        "mtp://save=/t/p.htm/",
    };
    modMTP::loggingOn = true;
    addLine(u"DC.Title"_s, u"Kept"_s);
    writeFile(u"cache/schema/kept.kqs"_s, "x");
    for (const QString& command : guarded) {
        boxes.expect(u"Allow this web page to run: "_s + command, platform::vbNo);
        dispatch(command, CommandOrigin::Page);
    }
    // Refused: nothing ran, nothing changed, nothing reached the log to be replayed later.
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Kept")}));
    EXPECT_TRUE(QFile::exists(home() + u"/cache/schema/kept.kqs"_s));
    EXPECT_TRUE(modMTP::loggingOn);
    EXPECT_TRUE(logBytes().isEmpty());
    const int style = boxes.shown().at(0).style;
    EXPECT_EQ(style & 7, int(platform::vbYesNo));
    EXPECT_TRUE(style & platform::vbDefaultButton2);

    boxes.expect(u"Allow this web page to run: mtp://delete=all.fld/"_s, platform::vbYes);
    dispatch(u"mtp://delete=all.fld/"_s, CommandOrigin::Page);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
}

TEST_F(DispatcherTest, PageCommandsThatLoadOrInsertRunWithoutAsking) {
    dispatch(u"mtp://field=DC.Title&content=X.fld/"_s, CommandOrigin::Page);
    dispatch(u"mtp://setdomain=NZGLS.kqb/"_s, CommandOrigin::Page);
    EXPECT_EQ(modSchemas::defaultSchema, u"NZGLS"_s);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "X")}));
}

TEST_F(DispatcherTest, TheEntryCarriesTheOriginAndLeavesTheCallersTextAlone) {
    QString command = u"mtp://field=DC.Title&content=Direct.fld"_s;
    modMTP::runMtpCommand(command);  // a direct command runs at once
    EXPECT_EQ(command, u"mtp://field=DC.Title&content=Direct.fld"_s);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Direct")}));
    testing_support::CommandRecorder recorder;
    modMTP::runMtpCommand(command, CommandOrigin::Page);
    EXPECT_EQ(recorder.commands, QStringList({command}));
    EXPECT_EQ(recorder.origins.at(0), CommandOrigin::Page);
}

// Links of a page reach the command language through the browser, as page commands.
TEST_F(DispatcherTest, LinksOfAVocabularyPageInsertTermsAndAskBeforeHarm) {
    ScriptedMsgBoxes boxes;
    auto* browser = qobject_cast<testing_support::OfflineBrowser*>(w->WebBrowser1);
    ASSERT_NE(browser, nullptr);
    const QString batch = writeFile(u"terms.kqb"_s, "mtp://field=DC.Subject&content=Dogs&scheme=SONZ.fld/");
    browser->addPage(u"http://vocab.example/terms.htm"_s,
                     QStringLiteral("<html><body>"
                                    "<a href=\"mtp://field=DC.Subject&content=Cats&scheme=SONZ.fld/\">Cats</a>"
                                    "<a href=\"file://") +
                         batch +
                         QStringLiteral("\">More terms</a>"
                                        "<a href=\"mtp://delete=all.fld/\">Clear</a>"
                                        "</body></html>"));
    w->navArmed = false;
    browser->Navigate(u"http://vocab.example/terms.htm"_s);
    browser->settle();

    ASSERT_TRUE(browser->clickLink(u"mtp://field=DC.Subject&content=Cats&scheme=SONZ.fld/"_s));
    ASSERT_TRUE(browser->clickLink(u"file://"_s + batch));
    boxes.expect(u"Allow this web page to run: mtp://delete=all.fld/"_s, platform::vbNo);
    ASSERT_TRUE(browser->clickLink(u"mtp://delete=all.fld/"_s));
    browser->settle();
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Subject", "Cats; Dogs", "", "SONZ")}));
}

}  // namespace
