#include "platform/Inet.h"
#include "support/Common.h"
#include "support/LocalHttpServer.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;
using platform::Inet;
using testing_support::LocalHttpServer;

namespace {

QString readAllChunks(Inet& inet, int size = 4096) {
    QString text;
    for (QString chunk = inet.GetChunk(size); !chunk.isEmpty(); chunk = inet.GetChunk(size)) text += chunk;
    return text;
}

// A body sent in `count` pieces, stopping early once the server is released.
void serveInPieces(LocalHttpServer& web, const std::string& path, std::string piece, int count, int pauseMs) {
    web.server().Get(path, [&web, piece, count, pauseMs](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [&web, piece, count, pauseMs](size_t, httplib::DataSink& sink) {
            for (int i = 0; i < count && !web.released(); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
                if (!sink.write(piece.data(), piece.size())) return false;
            }
            sink.done();
            return true;
        });
    });
}

class InetTest : public ::testing::Test {
protected:
    LocalHttpServer web;
    Inet inet{QNetworkProxy(QNetworkProxy::NoProxy)};
    QList<int> states;
    QList<bool> executingAtState;
    void SetUp() override {
        QObject::connect(&inet, &Inet::StateChanged, [this](int state) {
            states << state;
            executingAtState << inet.StillExecuting();
        });
        serve("/page", "<html><body>caf\xC3\xA9 page</body></html>", "text/html; charset=utf-8");
    }
    void serve(const std::string& path, const std::string& body, const std::string& type = "text/plain",
               int status = 200) {
        web.server().Get(path, [=](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            res.set_content(body, type);
        });
    }
    QString url(const QString& path) const { return web.url(path); }
};
const QString kPage = u"<html><body>café page</body></html>"_s;

TEST_F(InetTest, OpenUrlReturnsTheWholePageInItsCharsetAndReportsStatesInOrder) {
    serve("/latin", "\x93quoted\x94 caf\xE9", "text/html; charset=ISO-8859-1");
    inet.setURL(url(u"/page"_s));
    EXPECT_EQ(inet.OpenURL(), kPage);
    EXPECT_EQ(inet.ResponseCode(), 0);
    EXPECT_TRUE(inet.GetChunk(4096).isEmpty()) << "OpenURL handed out everything";
    for (int i = 1; i < states.size(); ++i) EXPECT_LT(states[i - 1], states[i]) << "states go back at " << i;
    ASSERT_GE(states.size(), 2);
    EXPECT_EQ(states[states.size() - 2], Inet::kResponseReceived);
    EXPECT_EQ(states.last(), Inet::kResponseCompleted);
    // Only the completion finds the control idle, so a handler waiting for that reads once.
    EXPECT_TRUE(executingAtState[states.size() - 2]);
    EXPECT_FALSE(executingAtState.last());
    // An address without a scheme is fetched over HTTP; bytes come as sent.
    EXPECT_EQ(inet.OpenURLBytes(url(u"/page"_s).mid(7)), QByteArray("<html><body>caf\xC3\xA9 page</body></html>"));
    EXPECT_EQ(inet.OpenURL(url(u"/latin"_s)), u"\u201cquoted\u201d caf\u00e9"_s);
    EXPECT_EQ(inet.replyEncoding().codec, u"windows-1252"_s);
}

// The help window's reading, after the end, is proven through its own tests; here the chunks'
// edges: a character of three bytes at the very end, and bytes counted apart from text.
TEST_F(InetTest, ChunksSplitNoCharacterAndAChunkAskedForDuringARequestWaitsForItsEnd) {
    std::string big(10000, 'a');
    big += "\xE2\x82\xAC";
    serve("/big", big, "text/plain; charset=utf-8");
    ASSERT_TRUE(inet.Execute(url(u"/big"_s)));
    QString text = inet.GetChunk(4096);  // the page loader's loop
    while (inet.StillExecuting()) text += inet.GetChunk(4096);
    EXPECT_EQ(text + readAllChunks(inet), QString::fromUtf8(big));
    QByteArray bytes;
    for (QByteArray c = inet.GetChunkBytes(3000); !c.isEmpty(); c = inet.GetChunkBytes(3000)) bytes += c;
    EXPECT_EQ(bytes.toStdString(), big);
}

TEST_F(InetTest, FailuresAndLimitsEndWithACodeAndTheControlStaysUsable) {
    serve("/missing", "no such page", "text/plain", 404);
    web.server().Get("/moved", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/page"); });
    web.server().Get("/loop", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });
    web.addStall("/stall");
    serveInPieces(web, "/trickle", "x", 400, 50);
    serve("/announced", std::string(5000, 'z'));
    serveInPieces(web, "/streamed", std::string(5000, 'z'), 10, 0);
    const std::string png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    serve("/image", png, "image/png");
    serve("/blob", std::string("text\0with zero", 14), "text/html");
    // Servers send unknown extensions as octet-stream, and UTF-16 has zero bytes: both are text.
    serve("/list.kqs", "Root|http://a/|\r\n", "application/octet-stream");
    serve("/utf16", std::string("\xFF\xFEh\0i\0", 6), "text/html");
    int deadPort = 0;
    {
        LocalHttpServer gone;
        deadPort = gone.port();
    }
    EXPECT_EQ(inet.OpenURL(url(u"/missing"_s)), u"no such page"_s);  // the server's own page
    EXPECT_TRUE(inet.ResponseInfo().contains(u"404"_s));
    EXPECT_EQ(inet.OpenURL(url(u"/moved"_s)), kPage);
    EXPECT_EQ(inet.OpenURL(url(u"/list.kqs"_s)), u"Root|http://a/|\r\n"_s);
    EXPECT_EQ(inet.OpenURL(url(u"/utf16"_s)), u"hi"_s);
    inet.OpenURL(url(u"/image"_s));
    EXPECT_EQ(inet.replyBytes().toStdString(), png) << "binary replies keep their bytes";
    Inet limited(QNetworkProxy(QNetworkProxy::NoProxy), nullptr, {300, 500, 1000});
    QObject::connect(&limited, &Inet::StateChanged, [this](int state) { states << state; });
    const std::pair<QString, int> cases[] = {{url(u"/missing"_s), 404},
                                             {url(u"/loop"_s), Inet::RedirectFailed},
                                             {url(u"/stall"_s), Inet::TimedOut},
                                             {url(u"/trickle"_s), Inet::TimedOut},
                                             {QString(), Inet::InvalidUrl},
                                             {u"http://127.0.0.1:%1/x"_s.arg(deadPort), Inet::CannotConnect},
                                             {url(u"/image"_s), Inet::BinaryReply},
                                             {url(u"/blob"_s), Inet::BinaryReply},
                                             {url(u"/announced"_s), Inet::ReplyTooLarge},
                                             {url(u"/streamed"_s), Inet::ReplyTooLarge},
                                             {u"ftp://127.0.0.1/file"_s, Inet::UnrecognizedScheme}};
    for (const auto& [address, code] : cases) {
        states.clear();
        limited.setURL(address);
        limited.OpenURL();
        EXPECT_EQ(limited.ResponseCode(), code) << address;
        EXPECT_FALSE(limited.StillExecuting());
        EXPECT_LE(limited.replyBytes().size(), 1000);
        EXPECT_EQ(states.value(states.size() - 1, Inet::kStateError), Inet::kStateError);  // if any state, the last
        EXPECT_EQ(limited.OpenURL(url(u"/page"_s)), kPage) << "after " << address;
    }
    web.release();
}

TEST_F(InetTest, FirewallCredentialsAnswerOnlyTheProxyAndWrongOnesEndWith407) {
    web.server().Get("/private", [](const httplib::Request& req, httplib::Response& res) {
        res.status = req.has_header("Authorization") ? 200 : 401;
        res.set_header("WWW-Authenticate", "Basic realm=\"members\"");
    });
    inet.setUserName(u"fwuser"_s);
    inet.setPassword(u"fwsecret"_s);
    inet.OpenURL(url(u"/private"_s));
    EXPECT_EQ(inet.ResponseCode(), 401);
    LocalHttpServer proxy;  // wants fwuser/fwsecret and answers every request itself
    proxy.server().Get(".*", [](const httplib::Request& req, httplib::Response& res) {
        if (req.get_header_value("Proxy-Authorization") != "Basic Znd1c2VyOmZ3c2VjcmV0") {
            res.status = 407;
            res.set_header("Proxy-Authenticate", "Basic realm=\"firewall\"");
            return;
        }
        res.set_content("through the firewall to " + req.target, "text/plain");
    });
    const QNetworkProxy viaProxy(QNetworkProxy::HttpProxy, u"127.0.0.1"_s, quint16(proxy.port()));
    Inet firewalled{viaProxy};
    firewalled.setUserName(u"fwuser"_s);
    firewalled.setPassword(u"fwsecret"_s);
    // The host never resolves: only the proxy is ever asked.
    EXPECT_EQ(firewalled.OpenURL(u"http://quorvantil.test/list.kqs"_s),
              u"through the firewall to http://quorvantil.test/list.kqs"_s);
    for (const auto& seen : web.requests() + proxy.requests()) EXPECT_FALSE(seen.hasHeader("authorization"));
    EXPECT_TRUE(proxy.requests().last().hasHeader("proxy-authorization"));
    Inet wrong{viaProxy};  // not asked again and again
    wrong.setUserName(u"fwuser"_s);
    wrong.setPassword(u"wrong"_s);
    wrong.OpenURL(u"http://quorvantil.test/list.kqs"_s);
    EXPECT_EQ(wrong.ResponseCode(), 407);
    EXPECT_FALSE(wrong.StillExecuting());
}

// Cancelling is proven through the list loader's own tests.
TEST(InetLifetime, DeletingTheControlDuringOpenUrlDoesNotCrash) {
    LocalHttpServer web;
    web.addStall("/stall");
    auto* inet = new Inet(QNetworkProxy(QNetworkProxy::NoProxy));
    QTimer::singleShot(0, [&inet] {
        delete inet;
        inet = nullptr;
    });
    EXPECT_TRUE(inet->OpenURL(web.url(u"/stall"_s)).isEmpty());
    EXPECT_EQ(inet, nullptr);
}

}  // namespace
