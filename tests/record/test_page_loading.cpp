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

using namespace Qt::StringLiterals;

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
        return testing_support::writeBytes(dir.path() + QLatin1Char('/') + name, bytes);
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
    const QString utf8 =
        file(u"u.htm"_s, QByteArray("<meta name=\"DC.Title\" content=\"Caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d\">"));
    const QString ansi = file(u"w.HTML"_s, QByteArray("<meta name=\"DC.Title\" content=\"Caf\xe9 \x93q\x94\">"));
    EXPECT_EQ(w->LoadMetadataFromURL(utf8, true), 0);
    EXPECT_EQ(contentOf(1), u"Café “q”"_s);
    EXPECT_EQ(w->pageEncoding.codec, u"UTF-8"_s);
    EXPECT_EQ(w->LoadMetadataFromURL(ansi, true), 0);
    ASSERT_EQ(w->MetaPanel->Count(), 1);
    EXPECT_EQ(contentOf(1), u"Café “q”"_s);
    EXPECT_EQ(w->pageEncoding.codec.toLower(), u"windows-1252"_s);
    EXPECT_TRUE(w->pageSource.contains(u"Café"_s));
}

TEST_F(PageLoadingTest, WebPagesAndTheirErrors) {
    serve("/ok.htm", 200, "<meta name=\"DC.Creator\" content=\"Web\">");
    serve("/gone.htm", 404, "<meta name=\"X\" content=\"not found page\">");
    serve("/broken.htm", 500, "oops");
    const QString host = server.url().mid(7);  // callers pass it without "http://"
    EXPECT_EQ(w->LoadMetadataFromURL(host + u"/ok.htm"_s, true), 0);
    EXPECT_EQ(contentOf(1), u"Web"_s);

    boxes.expect(u"ErrorCode: 404"_s, platform::vbOK);
    boxes.expect(u"ErrorCode: 500"_s, platform::vbOK);
    w->LoadMetadataFromURL(host + u"/gone.htm"_s, true);
    w->LoadMetadataFromURL(server.url(u"/broken.htm"_s), true);
    EXPECT_EQ(w->recordLines().size(), 1);  // the panel is as it was
    EXPECT_EQ(contentOf(1), u"Web"_s);
    EXPECT_TRUE(w->pageSource.contains(u"Web"_s));
}

TEST_F(PageLoadingTest, AHarvestListGoesToTheTreeAndStopsTheNavigation) {
    serve("/hcl.xml", 200, "<?xml version=\"1.0\"?><!DOCTYPE x SYSTEM \"hcl.dtd\"><AGLSxml></AGLSxml>", "text/xml");
    w->addRecordLine({u"A"_s, u"1"_s, {}, {}});
    boxes.expect(u"Harvest Control List"_s, platform::vbOK);
    EXPECT_EQ(w->LoadMetadataFromURL(server.url(u"/hcl.xml"_s), true), platform::vbCancel);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_EQ(w->URL->itemText(0), server.url(u"/hcl.xml"_s));
}

TEST_F(PageLoadingTest, MergingAppendsAndKeepTextFalseKeepsTheSource) {
    const QString a = file(u"a.htm"_s, "<meta name=\"A\" content=\"1\">");
    const QString b = file(u"b.htm"_s, "<meta name=\"B\" content=\"2\">");
    w->LoadMetadataFromURL(a, true);
    w->documentState->setStatus(u"Merging Metadata"_s);
    w->LoadMetadataFromURL(b, false);
    EXPECT_EQ(w->MetaPanel->Count(), 2);
    EXPECT_TRUE(w->pageSource.contains(u"\"A\""_s));
    EXPECT_EQ(w->StatusBar1->panelText(3), u"Waiting for Metadata to come in..."_s);
}

TEST_F(PageLoadingTest, ARecordToOpenComesFromTheRepositoryInstead) {
    CommandRecorder recorder;
    modMacros::openRecordMacro = u"mtp://cgisend=http://repo.example/open.kqb/"_s;
    w->openRecordOnLoad = true;
    const QString a = file(u"a.htm"_s, "<meta name=\"A\" content=\"1\">");
    w->LoadMetadataFromURL(a, true);
    modMacros::openRecordMacro.clear();
    EXPECT_EQ(recorder.commands, QStringList{u"mtp://cgisend=http://repo.example/open.kqb/"_s});
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_FALSE(w->openRecordOnLoad);
}

TEST_F(PageLoadingTest, ABusyTransferParksTheAddressBoxAndTheTimerRetries) {
    server.addStall("/slow");
    serve("/later.htm", 200, "<meta name=\"Later\" content=\"yes\">");
    ASSERT_TRUE(w->Inet1->Execute(server.url(u"/slow"_s)));
    w->URL->setEditText(server.url(u"/later.htm"_s));
    w->LoadMetadataFromURL(u"ignored.example/x.htm"_s, true);
    EXPECT_EQ(w->pendingURL, server.url(u"/later.htm"_s));
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    server.release();
    QElapsedTimer clock;
    clock.start();
    while (w->Inet1->StillExecuting() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    w->Timer1_Timer();
    EXPECT_EQ(w->pendingURL, QString());
    ASSERT_EQ(w->MetaPanel->Count(), 1);
    EXPECT_EQ(w->MetaPanel->Item(1)->Text(), u"Later"_s);
}

}  // namespace
