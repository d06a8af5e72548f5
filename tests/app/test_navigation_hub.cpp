#include "app/modMetaMain.h"
#include "platform/ListView.h"
#include "platform/OfflineBrowser.h"
#include "platform/Process.h"
#include "platform/StatusBar.h"
#include "support/CommandRecorder.h"
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

using platform::OfflineBrowser;
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

    OfflineBrowser& browser() { return *qobject_cast<OfflineBrowser*>(w->WebBrowser1); }
    QString page(const QString& name, const QString& body) {
        const QString path = dir.path() + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(body.toUtf8());
        return path;
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
    const QString vocab = page(QStringLiteral("vocab.htm"), QLatin1String(kVocabulary));
    open(vocab);
    EXPECT_EQ(w->recordLines().size(), 1);
    EXPECT_EQ(w->currentHTMLFile, vocab);

    ASSERT_TRUE(browser().clickLink(QStringLiteral("mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/")));
    ASSERT_TRUE(browser().clickLink(QStringLiteral("http://lists.example/terms.kqs")));
    ASSERT_TRUE(browser().clickLink(QStringLiteral("https://lists.example/secure.kqi")));
    browser().settle();
    EXPECT_EQ(recorder.commands,
              (QStringList{QStringLiteral("mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"),
                           QStringLiteral("mtp://url=lists.example/terms.kqs"),
                           QStringLiteral("mtp://url=https://lists.example/secure.kqi")}));
    for (const auto origin : recorder.origins) EXPECT_EQ(origin, modMTP::CommandOrigin::Page);
    // The page stays where it was.
    EXPECT_EQ(browser().LocationURL().endsWith(QLatin1String("vocab.htm")), true);

    // A command typed into the address box is the user's own.
    open(QStringLiteral("mtp://gotop.fld/"));
    EXPECT_EQ(recorder.origins.last(), modMTP::CommandOrigin::Program);
}

TEST_F(HubTest, OnlyTheExactPrefixIsACommandAndBrokenAddressesAreCancelled) {
    platform::BeforeNavigateEvent upper;
    upper.address = QStringLiteral("MTP://field=X.fld/");
    w->WebBrowser1_BeforeNavigate(upper);
    EXPECT_TRUE(recorder.commands.isEmpty());

    platform::BeforeNavigateEvent broken;
    broken.address = QStringLiteral("http:///");
    broken.topFrame = false;
    w->WebBrowser1_BeforeNavigate(broken);
    EXPECT_TRUE(broken.cancel);
}

TEST_F(HubTest, FramesAreNeverRouted) {
    platform::BeforeNavigateEvent frame;
    frame.address = QStringLiteral("mtp://field=DC.Title&content=x.fld/");
    frame.topFrame = false;
    frame.targetFrame = QStringLiteral("left");
    w->WebBrowser1_BeforeNavigate(frame);
    EXPECT_FALSE(frame.cancel);
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_TRUE(w->navArmed);
}

TEST_F(HubTest, ArmedPageLoadsReadMetadataAndNameTheFileOnlyForPages) {
    const QString htm = page(QStringLiteral("a.htm"), QStringLiteral("<meta name=\"DC.Title\" content=\"A\">"));
    const QString txt = page(QStringLiteral("b.txt"), QStringLiteral("plain"));
    open(htm);
    EXPECT_EQ(w->currentHTMLFile, htm);
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Current File:a.htm"));
    open(txt);
    EXPECT_EQ(w->currentHTMLFile, QString());
    EXPECT_EQ(w->MetaPanel->Count(), 0);  // another local file empties the panel
}

TEST_F(HubTest, ACancelledSaveQuestionKeepsThePageAndRearms) {
    const QString first = page(QStringLiteral("first.htm"), QStringLiteral("<meta name=\"DC.Title\" content=\"1\">"));
    const QString second = page(QStringLiteral("second.htm"), QStringLiteral("<meta name=\"DC.Title\" content=\"2\">"));
    open(first);
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(QStringLiteral("Save the metadata edits"), platform::vbCancel);
    open(second);
    EXPECT_EQ(w->recordLines().first().content, QStringLiteral("1"));
    EXPECT_EQ(w->currentHTMLFile, first);
    EXPECT_TRUE(w->navArmed);
    EXPECT_TRUE(browser().LocationURL().endsWith(QLatin1String("first.htm")));
}

TEST_F(HubTest, FtpAsksBeforeItClearsTheRecord) {
    w->addRecordLine({QStringLiteral("DC.Title"), QStringLiteral("kept"), {}, {}});
    w->markHTMLmodifiedCheckList(QString());
    platform::BeforeNavigateEvent ftp;
    ftp.address = QStringLiteral("ftp://files.example/pub/");
    boxes.expect(QStringLiteral("Save the metadata edits"), platform::vbCancel);
    w->WebBrowser1_BeforeNavigate(ftp);
    EXPECT_TRUE(ftp.cancel);
    EXPECT_EQ(w->MetaPanel->Count(), 1);

    platform::BeforeNavigateEvent again;
    again.address = ftp.address;
    boxes.expect(QStringLiteral("Save the metadata edits"), platform::vbNo);
    w->WebBrowser1_BeforeNavigate(again);
    EXPECT_FALSE(again.cancel);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_EQ(w->URL->currentText(), ftp.address);
}

TEST_F(HubTest, NewWindowsGoToASecondProgramButCommandsStayHere) {
    browser().openNewWindow(QStringLiteral("http://news.example/"), true);
    browser().openNewWindow(QStringLiteral("mtp://field=DC.Title&content=x.fld/"), true);
    browser().openNewWindow(QStringLiteral("javascript:alert(1)"), true);
    browser().settle();
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started.first().mid(1), QStringList{QStringLiteral("http://news.example/")});
    EXPECT_EQ(recorder.commands, QStringList{QStringLiteral("mtp://field=DC.Title&content=x.fld/")});
    EXPECT_EQ(recorder.origins.first(), modMTP::CommandOrigin::Page);
    EXPECT_FALSE(modMetaMain::newWindowRequested);
}

TEST_F(HubTest, DownloadCompleteUpdatesLocationStatusAndCaption) {
    const QString htm = page(QStringLiteral("t.htm"), QStringLiteral("<title>My Page</title><p>x"));
    open(htm);
    EXPECT_TRUE(modMetaMain::currentLocationURL.endsWith(QLatin1String("t.htm")));
    EXPECT_EQ(modMetaMain::currentLocationName, QStringLiteral("My Page"));
    EXPECT_EQ(w->StatusBar1->panelText(3), QStringLiteral("Ready"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("My Page"));
}

TEST_F(HubTest, AddressBoxEnterClickAndDrops) {
    w->URL->setEditText(QString());
    w->URL_KeyPressEnter();  // nothing, no sound
    EXPECT_EQ(w->URL->count(), 0);

    const QString htm = page(QStringLiteral("typed.htm"), QStringLiteral("<meta name=\"A\" content=\"1\">"));
    w->URL->setEditText(htm);
    w->URL_KeyPressEnter();
    browser().settle();
    EXPECT_EQ(w->URL->itemText(0), htm);  // a local path is kept as a path
    w->URL->setEditText(QStringLiteral("127.0.0.1:9/none.htm"));
    w->URL_KeyPressEnter();
    browser().settle();
    EXPECT_EQ(w->URL->itemText(0), QStringLiteral("http://127.0.0.1:9/none.htm"));  // a host gets a scheme
    EXPECT_EQ(w->MetaPanel->Count(), 1);

    QMimeData noAddress;
    noAddress.setText(QStringLiteral("just words"));
    w->URL->setEditText(htm);
    w->URL_OLEDragDrop(&noAddress);
    EXPECT_EQ(w->URL->currentText(), htm);
    QMimeData withAddress;
    withAddress.setText(QStringLiteral("see HTTP://x.example/a.fld.htm"));
    w->URL_OLEDragDrop(&withAddress);
    EXPECT_EQ(w->URL->currentText(), QStringLiteral("HTTP://x.example/a.htm"));
}

TEST(FindLinkName, LooksIntoFramesAndFallsBackToAltAndUntitled) {
    platform::PageDocument doc;
    doc.links = {{QStringLiteral("a.htm"), QStringLiteral("First"), {}, {}},
                 {QStringLiteral("b.htm"), QString(), QStringLiteral("Picture"), {}},
                 {QStringLiteral("c.htm"), QString(), QString(), {}}};
    platform::PageDocument frame;
    frame.links = {{QStringLiteral("d.htm"), QStringLiteral("In frame"), {}, {}}};
    doc.frames.push_back(frame);
    EXPECT_EQ(Form1::findLinkName(doc, QStringLiteral("a.htm")), QStringLiteral("First"));
    EXPECT_EQ(Form1::findLinkName(doc, QStringLiteral("b.htm")), QStringLiteral("Picture"));
    EXPECT_EQ(Form1::findLinkName(doc, QStringLiteral("c.htm")), QStringLiteral("Untitled"));
    EXPECT_EQ(Form1::findLinkName(doc, QStringLiteral("d.htm")), QStringLiteral("In frame"));
    EXPECT_EQ(Form1::findLinkName(doc, QStringLiteral("A.htm")), QString());
    platform::PageDocument foreign;
    foreign.readable = false;
    doc.frames.push_back(foreign);
    EXPECT_EQ(Form1::findLinkName(doc, QStringLiteral("zzz")), QStringLiteral("Untitled"));
}

}  // namespace
