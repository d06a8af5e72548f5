#include "app/modMetaMain.h"
#include "platform/ListView.h"
#include "platform/Process.h"
#include "platform/StatusBar.h"
#include "support/Common.h"
#include "support/CommandRecorder.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::OfflineBrowser;
using testing_support::CommandRecorder;
using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

class HubTest : public ::testing::Test {
protected:
    TestWindow w;
    CommandRecorder recorder;
    ScriptedMsgBoxes boxes;
    QTemporaryDir dir;
    QList<QStringList> started;

    void SetUp() override {
        platform::setProcessStarter([this](const QString& program, const QStringList& args) {
            started << (QStringList{program} + args);
            return true;
        });
    }
    void TearDown() override { platform::setProcessStarter({}); }

    OfflineBrowser& browser() { return testing_support::offlineBrowser(w->WebBrowser1); }
    QString page(const QString& name, const QString& body) {
        return testing_support::writeBytes(dir.path() + QLatin1Char('/') + name, body.toUtf8());
    }
    void open(const QString& address) {
        w->URL->setEditText(address);
        w->LoadURLFromLocation();
        browser().settle();
    }
};

const char* const kVocabulary =
    "<html><head><meta name=\"DC.Title\" content=\"Terms\"></head><body>"
    "<a href=\"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/\">Heart</a>"
    "<a href=\"http://lists.example/terms.kqs\">List</a>"
    "<a href=\"https://lists.example/secure.kqi\">Secure list</a>"
    "<a href=\"MTP://field=X.fld/\">Upper</a>"
    "<a href=\"notes.txt\">Notes</a>"
    "</body></html>";

TEST_F(HubTest, LinksToCommandsAndListsReachTheCommandEntryExactly) {
    const QString vocab = page(u"vocab.htm"_s, QLatin1String(kVocabulary));
    open(vocab);
    EXPECT_EQ(w->recordLines().size(), 1);
    EXPECT_EQ(w->documentState->currentHTMLFile(), vocab);

    ASSERT_TRUE(browser().clickLink(u"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"_s));
    ASSERT_TRUE(browser().clickLink(u"http://lists.example/terms.kqs"_s));
    ASSERT_TRUE(browser().clickLink(u"https://lists.example/secure.kqi"_s));
    browser().settle();
    EXPECT_EQ(recorder.commands,
              (QStringList{u"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"_s,
                           u"mtp://url=lists.example/terms.kqs"_s, u"mtp://url=https://lists.example/secure.kqi"_s}));
    for (const auto origin : recorder.origins) EXPECT_EQ(origin, modMTP::CommandOrigin::Page);
    // The page stays where it was.
    EXPECT_EQ(browser().LocationURL().endsWith(u"vocab.htm"_s), true);

    // A command typed into the address box is the user's own.
    open(u"mtp://gotop.fld/"_s);
    EXPECT_EQ(recorder.origins.last(), modMTP::CommandOrigin::Program);
}

TEST_F(HubTest, OnlyTheExactPrefixIsACommandBrokenAddressesAreCancelledAndFramesNeverRouted) {
    platform::BeforeNavigateEvent upper, broken, frame;
    upper.address = u"MTP://field=X.fld/"_s;
    broken.address = u"http:///"_s;
    broken.topFrame = frame.topFrame = false;
    frame.address = u"mtp://field=DC.Title&content=x.fld/"_s;
    frame.targetFrame = u"left"_s;
    for (platform::BeforeNavigateEvent* event : {&upper, &broken, &frame}) w->WebBrowser1_BeforeNavigate(*event);
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_TRUE(broken.cancel);
    EXPECT_FALSE(frame.cancel);
    EXPECT_TRUE(w->navArmed);
}

TEST_F(HubTest, ArmedPageLoadsReadMetadataAndNameTheFileOnlyForPages) {
    const QString htm = page(u"a.htm"_s, u"<meta name=\"DC.Title\" content=\"A\">"_s);
    const QString txt = page(u"b.txt"_s, u"plain"_s);
    open(htm);
    EXPECT_EQ(w->documentState->currentHTMLFile(), htm);
    EXPECT_EQ(w->StatusBar1->panelText(1), u"Current File:a.htm"_s);
    open(txt);
    EXPECT_EQ(w->documentState->currentHTMLFile(), QString());
    EXPECT_EQ(w->MetaPanel->Count(), 0);  // another local file empties the panel
}

TEST_F(HubTest, ACancelledSaveQuestionKeepsThePageAndRearms) {
    const QString first = page(u"first.htm"_s, u"<meta name=\"DC.Title\" content=\"1\">"_s);
    const QString second = page(u"second.htm"_s, u"<meta name=\"DC.Title\" content=\"2\">"_s);
    open(first);
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(u"Save the metadata edits"_s, platform::vbCancel);
    open(second);
    EXPECT_EQ(w->recordLines().first().content, u"1"_s);
    EXPECT_EQ(w->documentState->currentHTMLFile(), first);
    EXPECT_TRUE(w->navArmed);
    EXPECT_TRUE(browser().LocationURL().endsWith(u"first.htm"_s));
}

TEST_F(HubTest, FtpAsksBeforeItClearsTheRecord) {
    w->addRecordLine({u"DC.Title"_s, u"kept"_s, {}, {}});
    w->markHTMLmodifiedCheckList(QString());
    platform::BeforeNavigateEvent ftp;
    ftp.address = u"ftp://files.example/pub/"_s;
    boxes.expect(u"Save the metadata edits"_s, platform::vbCancel);
    w->WebBrowser1_BeforeNavigate(ftp);
    EXPECT_TRUE(ftp.cancel);
    EXPECT_EQ(w->MetaPanel->Count(), 1);

    platform::BeforeNavigateEvent again;
    again.address = ftp.address;
    boxes.expect(u"Save the metadata edits"_s, platform::vbNo);
    w->WebBrowser1_BeforeNavigate(again);
    EXPECT_FALSE(again.cancel);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_EQ(w->URL->currentText(), ftp.address);
}

TEST_F(HubTest, NewWindowsGoToASecondProgramButCommandsStayHere) {
    browser().openNewWindow(u"http://news.example/"_s, true);
    browser().openNewWindow(u"mtp://field=DC.Title&content=x.fld/"_s, true);
    browser().openNewWindow(u"javascript:alert(1)"_s, true);
    browser().settle();
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started.first().mid(1), QStringList{u"http://news.example/"_s});
    EXPECT_EQ(recorder.commands, QStringList{u"mtp://field=DC.Title&content=x.fld/"_s});
    EXPECT_EQ(recorder.origins.first(), modMTP::CommandOrigin::Page);
    EXPECT_FALSE(modMetaMain::newWindowRequested);
}

TEST_F(HubTest, DownloadCompleteUpdatesLocationStatusAndCaption) {
    const QString htm = page(u"t.htm"_s, u"<title>My Page</title><p>x"_s);
    open(htm);
    EXPECT_TRUE(modMetaMain::currentLocationURL.endsWith(u"t.htm"_s));
    EXPECT_EQ(modMetaMain::currentLocationName, u"My Page"_s);
    EXPECT_EQ(w->StatusBar1->panelText(3), u"Ready"_s);
    EXPECT_EQ(w->windowTitle(), u"My Page"_s);
}

TEST_F(HubTest, AddressBoxEnterClickAndDrops) {
    w->URL->setEditText(QString());
    w->URL_KeyPressEnter();  // nothing, no sound
    EXPECT_EQ(w->URL->count(), 0);

    const QString htm = page(u"typed.htm"_s, u"<meta name=\"A\" content=\"1\">"_s);
    w->URL->setEditText(htm);
    w->URL_KeyPressEnter();
    browser().settle();
    EXPECT_EQ(w->URL->itemText(0), htm);  // a local path is kept as a path
    w->URL->setEditText(u"127.0.0.1:9/none.htm"_s);
    w->URL_KeyPressEnter();
    browser().settle();
    EXPECT_EQ(w->URL->itemText(0), u"http://127.0.0.1:9/none.htm"_s);  // a host gets a scheme
    EXPECT_EQ(w->MetaPanel->Count(), 1);

    QMimeData noAddress;
    noAddress.setText(u"just words"_s);
    w->URL->setEditText(htm);
    w->URL_OLEDragDrop(&noAddress);
    EXPECT_EQ(w->URL->currentText(), htm);
    QMimeData withAddress;
    withAddress.setText(u"see HTTP://x.example/a.fld.htm"_s);
    w->URL_OLEDragDrop(&withAddress);
    EXPECT_EQ(w->URL->currentText(), u"HTTP://x.example/a.htm"_s);
}

TEST(FindLinkName, LooksIntoFramesAndFallsBackToAltAndUntitled) {
    platform::PageDocument doc, frame, foreign;
    doc.links = {{u"a.htm"_s, u"First"_s, {}, {}}, {u"b.htm"_s, {}, u"Picture"_s, {}}, {u"c.htm"_s, {}, {}, {}}};
    frame.links = {{u"d.htm"_s, u"In frame"_s, {}, {}}};
    doc.frames = {frame};
    const std::pair<QString, QString> cases[] = {{u"a.htm"_s, u"First"_s},
                                                 {u"b.htm"_s, u"Picture"_s},
                                                 {u"c.htm"_s, u"Untitled"_s},
                                                 {u"d.htm"_s, u"In frame"_s},
                                                 {u"A.htm"_s, QString()}};
    for (const auto& [href, name] : cases) EXPECT_EQ(Form1::findLinkName(doc, href), name) << href;
    foreign.readable = false;  // a frame that cannot be read may hold the link
    doc.frames.push_back(foreign);
    EXPECT_EQ(Form1::findLinkName(doc, u"zzz"_s), u"Untitled"_s);
}

}  // namespace
