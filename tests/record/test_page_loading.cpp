#include "commands/modMacros.h"
#include "platform/Inet.h"
#include "platform/ListView.h"
#include "platform/StatusBar.h"
#include "support/CommandRecorder.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::CommandRecorder;
using testing_support::LocalHttpServer;
using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

class PageLoadingTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;
    QTemporaryDir dir;
    LocalHttpServer server;

    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir.path() + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    void serve(const std::string& path, int status, const std::string& body,
               const std::string& type = "text/html; charset=utf-8") {
        server.server().Get(path, [=](const httplib::Request&, httplib::Response& r) {
            r.status = status;
            r.set_content(body, type);
        });
    }
    QString contentOf(int line) const { return w->MetaPanel->Item(line)->SubItems(1); }
};

TEST_F(PageLoadingTest, LocalPagesInUtf8AndWindows1252ReadTheSameRecord) {
    const QString utf8 = file(QStringLiteral("u.htm"), QByteArray("<meta name=\"DC.Title\" content=\"Caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d\">"));
    const QString ansi = file(QStringLiteral("w.HTML"), QByteArray("<meta name=\"DC.Title\" content=\"Caf\xe9 \x93q\x94\">"));
    EXPECT_EQ(w->LoadMetadataFromURL(utf8, true), 0);
    EXPECT_EQ(contentOf(1), QStringLiteral("Café “q”"));
    EXPECT_EQ(w->pageEncoding.codec, QStringLiteral("UTF-8"));
    EXPECT_EQ(w->LoadMetadataFromURL(ansi, true), 0);
    ASSERT_EQ(w->MetaPanel->Count(), 1);
    EXPECT_EQ(contentOf(1), QStringLiteral("Café “q”"));
    EXPECT_EQ(w->pageEncoding.codec.toLower(), QStringLiteral("windows-1252"));
    EXPECT_TRUE(w->pageSource.contains(QStringLiteral("Café")));
}

TEST_F(PageLoadingTest, LinkRowsComeFirstAndStylesheetsAreSkipped) {
    const QString page = file(QStringLiteral("links.htm"),
                              "<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"
                              "<link rel=\"stylesheet\" href=\"s.css\">"
                              "<LINK REL=\"schema.AGLS\" href=\"http://www.naa.gov.au/\">"
                              "<meta name=\"DC.Title\" content=\"T\"><link rel");
    w->LoadMetadataFromURL(page, true);
    const MetadataRecord record = w->recordLines();
    ASSERT_EQ(record.size(), 3);
    EXPECT_EQ(record[0].name, QString());
    EXPECT_EQ(record[0].content, QStringLiteral("<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"));
    EXPECT_TRUE(record[1].content.startsWith(QLatin1String("<LINK REL=\"schema.AGLS\"")));
    EXPECT_EQ(record[2].name, QStringLiteral("DC.Title"));
}

TEST_F(PageLoadingTest, WebPagesAndTheirErrors) {
    serve("/ok.htm", 200, "<meta name=\"DC.Creator\" content=\"Web\">");
    serve("/gone.htm", 404, "<meta name=\"X\" content=\"not found page\">");
    serve("/broken.htm", 500, "oops");
    const QString host = server.url().mid(7);  // callers pass it without "http://"
    EXPECT_EQ(w->LoadMetadataFromURL(host + QStringLiteral("/ok.htm"), true), 0);
    EXPECT_EQ(contentOf(1), QStringLiteral("Web"));

    boxes.expect(QStringLiteral("ErrorCode: 404"), platform::vbOK);
    boxes.expect(QStringLiteral("ErrorCode: 500"), platform::vbOK);
    w->LoadMetadataFromURL(host + QStringLiteral("/gone.htm"), true);
    w->LoadMetadataFromURL(server.url(QStringLiteral("/broken.htm")), true);
    EXPECT_EQ(w->recordLines().size(), 1);  // the panel is as it was
    EXPECT_EQ(contentOf(1), QStringLiteral("Web"));
    EXPECT_TRUE(w->pageSource.contains(QLatin1String("Web")));
}

TEST_F(PageLoadingTest, AHarvestListGoesToTheTreeAndStopsTheNavigation) {
    serve("/hcl.xml", 200, "<?xml version=\"1.0\"?><!DOCTYPE x SYSTEM \"hcl.dtd\"><AGLSxml></AGLSxml>", "text/xml");
    w->addRecordLine({QStringLiteral("A"), QStringLiteral("1"), {}, {}});
    boxes.expect(QStringLiteral("Harvest Control List"), platform::vbOK);
    EXPECT_EQ(w->LoadMetadataFromURL(server.url(QStringLiteral("/hcl.xml")), true), platform::vbCancel);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_EQ(w->URL->itemText(0), server.url(QStringLiteral("/hcl.xml")));
}

TEST_F(PageLoadingTest, MergingAppendsAndKeepTextFalseKeepsTheSource) {
    const QString a = file(QStringLiteral("a.htm"), "<meta name=\"A\" content=\"1\">");
    const QString b = file(QStringLiteral("b.htm"), "<meta name=\"B\" content=\"2\">");
    w->LoadMetadataFromURL(a, true);
    w->StatusBar1->setPanelText(2, QStringLiteral("Merging Metadata"));
    w->LoadMetadataFromURL(b, false);
    EXPECT_EQ(w->MetaPanel->Count(), 2);
    EXPECT_TRUE(w->pageSource.contains(QLatin1String("\"A\"")));
    EXPECT_EQ(w->StatusBar1->panelText(3), QStringLiteral("Waiting for Metadata to come in..."));
}

TEST_F(PageLoadingTest, ARecordToOpenComesFromTheRepositoryInstead) {
    CommandRecorder recorder;
    modMacros::openRecordMacro = QStringLiteral("mtp://cgisend=http://repo.example/open.kqb/");
    w->openRecordOnLoad = true;
    const QString a = file(QStringLiteral("a.htm"), "<meta name=\"A\" content=\"1\">");
    w->LoadMetadataFromURL(a, true);
    modMacros::openRecordMacro.clear();
    EXPECT_EQ(recorder.commands, QStringList{QStringLiteral("mtp://cgisend=http://repo.example/open.kqb/")});
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_FALSE(w->openRecordOnLoad);
}

TEST_F(PageLoadingTest, ABusyTransferParksTheAddressBoxAndTheTimerRetries) {
    server.addStall("/slow");
    serve("/later.htm", 200, "<meta name=\"Later\" content=\"yes\">");
    ASSERT_TRUE(w->Inet1->Execute(server.url(QStringLiteral("/slow"))));
    w->URL->setEditText(server.url(QStringLiteral("/later.htm")));
    w->LoadMetadataFromURL(QStringLiteral("ignored.example/x.htm"), true);
    EXPECT_EQ(w->pendingURL, server.url(QStringLiteral("/later.htm")));
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    server.release();
    QElapsedTimer clock;
    clock.start();
    while (w->Inet1->StillExecuting() && clock.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    w->Timer1_Timer();
    EXPECT_EQ(w->pendingURL, QString());
    ASSERT_EQ(w->MetaPanel->Count(), 1);
    EXPECT_EQ(w->MetaPanel->Item(1)->Text(), QStringLiteral("Later"));
}

}  // namespace
