// The program's own hosts answered from a bundle folder: the addresses the program writes
// reach its files, nothing outside it is ever read, and the transfer control and the
// browser's local server answer as a web server would, without a network.
#include "gui/app/modMetaMain.h"
#include "platform/BundleServer.h"
#include "platform/Inet.h"
#include "platform/SchemeBundle.h"
#include "support/Common.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
namespace SB = platform::SchemeBundle;

namespace {

const QByteArray kDublinCore = "Title|mtp://field=DC.Title&content=.fld/\r\n";

class SchemeBundleTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file(const QString& name) const { return dir.filePath(name); }
    void SetUp() override {
        using testing_support::writeBytes;
        writeBytes(file(u"bundle/index.html"_s), "<title>Home</title>");
        writeBytes(file(u"bundle/schemes/Dublin Core.kqs"_s), kDublinCore);
        writeBytes(file(u"bundle/schemes/IMT.kqs"_s), "top\r\n");
        writeBytes(file(u"bundle/schemes/GILS-MONTANA/IMT.kqs"_s), "deeper\r\n");
        writeBytes(file(u"bundle/manual2/index.html"_s), "<title>Contents</title>");
        writeBytes(file(u"bundle/not-bundled.txt"_s), "# lists\n/agls/TAGS-AG.kqs|TAGS: Agriculture\n/x/page.htm|A page\n");
        writeBytes(file(u"bundle/bundle.stamp"_s), "abc\n");
        writeBytes(file(u"outside/secret.txt"_s), "secret");
        QFile::link(file(u"outside/secret.txt"_s), file(u"bundle/schemes/link.kqs"_s));
        QFile::link(file(u"outside"_s), file(u"bundle/linked"_s));
        SB::serve({u"own.example"_s, u"www.own.example"_s}, file(u"bundle"_s));
    }
    void TearDown() override { modMetaMain::serveOwnHosts(); }
    static QByteArray body(const QString& address) { return SB::answerForAddress(address).body; }
};

TEST_F(SchemeBundleTest, AddressesAreMatchedAsTheProgramWritesThem) {
    EXPECT_EQ(body(u"own.example/schemes/Dublin%20Core.kqs"_s), kDublinCore);
    EXPECT_EQ(body(u"HTTP://OWN.Example:80/SCHEMES/dublin core.KQS/"_s), kDublinCore);  // case, port, final "/"
    EXPECT_EQ(body(u"http://www.own.example/?from=menu"_s), "<title>Home</title>");
    EXPECT_EQ(body(u"own.example/manual2"_s), "<title>Contents</title>");
    EXPECT_EQ(body(u"own.example/manual2/"_s), "<title>Contents</title>");
    EXPECT_EQ(SB::answerForAddress(u"other.example/schemes/IMT.kqs"_s).status, 404);
    EXPECT_EQ(SB::answerForAddress(u"https://own.example/schemes/IMT.kqs"_s).status, 404);  // http only
    // The list scripts answer with the list of that name nearest the top.
    EXPECT_EQ(body(u"own.example/cgi-bin/loadscheme.pl?scheme=imt"_s), "top\r\n");
    EXPECT_EQ(body(u"own.example/cgi-bin/loadscheme.pl?scheme=Dublin%20Core.kqs"_s), kDublinCore);
    const SB::Answer unknown = SB::answerForAddress(u"own.example/cgi-bin/loadindex.pl?index=Mine"_s);
    EXPECT_FALSE(unknown.storable);
    EXPECT_TRUE(unknown.body.endsWith("|http://own.example/not-bundled.html\r\n")) << unknown.body.toStdString();
    EXPECT_EQ(SB::stamp(), "abc");
    EXPECT_TRUE(SB::cachedListNames().contains(u"IMT.kqs"_s) && SB::cachedListNames().contains(u"Dublin Core"_s));
}

TEST_F(SchemeBundleTest, ListsNotBundledSaySoInOneLineAndAreNeverToBeKept) {
    const SB::Answer list = SB::answerForAddress(u"own.example/agls/tags-ag.kqs/"_s);
    EXPECT_EQ(list.status, 200);
    EXPECT_FALSE(list.storable);
    EXPECT_EQ(list.body, "TAGS: Agriculture is not bundled with Quorvantile: click for how to name a scheme server that "
                         "has it|mtp://open=http://own.example/not-bundled.html/\r\n");
    const SB::Answer page = SB::answerForAddress(u"own.example/x/page.htm"_s);
    EXPECT_TRUE(page.contentType.startsWith("text/html") && page.body.contains("A page is not bundled"));
    EXPECT_EQ(SB::answerForAddress(u"own.example/nothing.kqs"_s).status, 404);
    EXPECT_EQ(SB::answer(u"POST"_s, u"/index.html"_s).status, 405);
}

TEST_F(SchemeBundleTest, NothingOutsideTheFolderIsEverRead) {
    const QString tries[] = {u"/../outside/secret.txt"_s,    u"/%2e%2e/outside/secret.txt"_s,
                             u"/schemes/%2E%2E/../outside/secret.txt"_s, u"/schemes\\..\\..\\outside\\secret.txt"_s,
                             u"/schemes/%5c..%5c..%5coutside/secret.txt"_s, u"/index.html%00.kqs"_s,
                             u"/schemes/link.kqs"_s,          u"/linked/secret.txt"_s,
                             u"/not-bundled.txt"_s,           u"/bundle.stamp"_s,
                             u"/"_s + QString(5000, u'a')};
    for (const QString& target : tries) {
        const SB::Answer a = SB::answer(u"GET"_s, target);
        EXPECT_EQ(a.status, 404) << target.left(60).toStdString();
        EXPECT_FALSE(a.body.contains("secret"));
    }
}

TEST_F(SchemeBundleTest, TheTransferControlIsAnsweredWithoutANetwork) {
    platform::Inet inet{QNetworkProxy(QNetworkProxy::HttpProxy, u"127.0.0.1"_s, 9)};  // a closed port: no way out
    EXPECT_EQ(inet.OpenURL(u"own.example/schemes/Dublin%20Core.kqs"_s), QString::fromLatin1(kDublinCore));
    EXPECT_EQ(inet.ResponseCode(), 0);
    EXPECT_TRUE(inet.replyStorable());
    inet.OpenURL(u"http://own.example/agls/TAGS-AG.kqs"_s);
    EXPECT_EQ(inet.ResponseCode(), 0);
    EXPECT_FALSE(inet.replyStorable());
    inet.OpenURL(u"http://own.example/nothing.kqs"_s);
    EXPECT_EQ(inet.errorCodeMessage(), u"ErrorCode: 404 (HTTP 404 Not Found: own.example)"_s);
    inet.OpenURL(u"http://elsewhere.example/"_s);  // any other host goes to the network
    EXPECT_EQ(inet.ResponseCode(), platform::Inet::CannotConnect);
}

// One request a connection, GET only, for the bundle's host names only; stopping never
// waits for a connection left open.
TEST_F(SchemeBundleTest, TheBrowsersServerAnswersOneGetAndStopsAtOnce) {
    const quint16 port = platform::BundleServer::start();
    ASSERT_NE(port, 0);
    const auto ask = [port](const QByteArray& request) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        EXPECT_TRUE(socket.waitForConnected(5000));
        socket.write(request);
        QByteArray reply;
        while (socket.waitForReadyRead(5000)) reply += socket.readAll();
        return reply;
    };
    const QByteArray ok = ask("GET /schemes/Dublin%20Core.kqs HTTP/1.1\r\nHost: WWW.own.example:80\r\n\r\n");
    EXPECT_TRUE(ok.startsWith("HTTP/1.1 200 OK\r\n") && ok.contains("Connection: close") && ok.endsWith(kDublinCore))
        << ok.toStdString();
    EXPECT_TRUE(ask("GET /schemes/IMT.kqs HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n").startsWith("HTTP/1.1 404"));
    EXPECT_TRUE(ask("POST /index.html HTTP/1.1\r\nHost: own.example\r\n\r\n").contains("Allow: GET"));
    EXPECT_TRUE(ask("GET /agls/TAGS-AG.kqs HTTP/1.1\r\nHost: own.example\r\n\r\n").contains("Cache-Control: no-store"));

    QTcpSocket idle;  // a browser's spare connection, never used
    idle.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(idle.waitForConnected(5000));
    QElapsedTimer clock;
    clock.start();
    platform::BundleServer::stop();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_NE(platform::BundleServer::start(), 0);  // and it serves again when asked
    platform::BundleServer::stop();
}

}  // namespace
