#include "platform/Inet.h"
#include "support/LocalHttpServer.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using platform::Inet;
using testing_support::LocalHttpServer;

namespace {

// Runs the event loop until the request has ended. The bound only keeps a broken build
// from hanging the run; no test depends on how long anything takes.
void waitUntilEnded(Inet& inet) {
    if (!inet.StillExecuting()) return;
    QEventLoop loop;
    QObject::connect(&inet, &Inet::transferEnded, &loop, &QEventLoop::quit);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(60000);
    loop.exec();
    ASSERT_FALSE(inet.StillExecuting()) << "the request never ended";
}

QString readAllChunks(Inet& inet, int size = 4096) {
    QString text;
    for (QString chunk = inet.GetChunk(size); !chunk.isEmpty(); chunk = inet.GetChunk(size)) text += chunk;
    return text;
}

class InetTest : public ::testing::Test {
protected:
    LocalHttpServer web;
    Inet inet;
    QList<int> states;
    QList<bool> executingAtState;

    void SetUp() override {
        inet.setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
        QObject::connect(&inet, &Inet::StateChanged, [this](int state) {
            states << state;
            executingAtState << inet.StillExecuting();
        });
        web.server().Get("/page", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html><body>caf\xC3\xA9 page</body></html>", "text/html; charset=utf-8");
        });
    }
};

TEST_F(InetTest, OpenUrlReturnsTheWholePageAndReportsStatesInOrder) {
    inet.setURL(web.url(QStringLiteral("/page")));
    const QString text = inet.OpenURL();
    EXPECT_EQ(text, QStringLiteral("<html><body>café page</body></html>"));
    EXPECT_EQ(inet.ResponseCode(), 0);
    EXPECT_EQ(inet.httpStatus(), 200);
    EXPECT_TRUE(inet.ResponseInfo().isEmpty());
    EXPECT_FALSE(inet.StillExecuting());
    // OpenURL handed out everything: a chunk loop after it adds nothing.
    EXPECT_TRUE(inet.GetChunk(4096).isEmpty());
    EXPECT_TRUE(inet.GetChunkBytes(4096).isEmpty());

    ASSERT_FALSE(states.isEmpty());
    for (int i = 1; i < states.size(); ++i) EXPECT_LT(states[i - 1], states[i]) << "states go back at " << i;
    EXPECT_TRUE(states.contains(Inet::icRequestSent));
    EXPECT_TRUE(states.contains(Inet::icReceivingResponse));
    EXPECT_FALSE(states.contains(Inet::icError));
    ASSERT_GE(states.size(), 2);
    EXPECT_EQ(states[states.size() - 2], Inet::icResponseReceived);
    EXPECT_EQ(states.last(), Inet::icResponseCompleted);
    // Only the completion finds the control idle, so a handler reading "when no longer
    // executing" reads once, after everything has arrived.
    EXPECT_TRUE(executingAtState[states.size() - 2]);
    EXPECT_FALSE(executingAtState.last());
}

TEST_F(InetTest, AddressWithoutSchemeIsFetchedOverHttpAndBytesAreRaw) {
    const QString address = web.url(QStringLiteral("/page")).mid(QStringLiteral("http://").size());
    const QByteArray bytes = inet.OpenURLBytes(address);
    EXPECT_EQ(inet.ResponseCode(), 0);
    EXPECT_EQ(bytes, QByteArray("<html><body>caf\xC3\xA9 page</body></html>"));
    EXPECT_EQ(inet.replyEncoding().codec, QStringLiteral("UTF-8"));
}

TEST_F(InetTest, ExecuteGetHandsTheReplyOutInChunksAfterItEnds) {
    std::string big;
    for (int i = 0; i < 10000; ++i) big += char('a' + i % 26);
    big += "\xE2\x82\xAC";  // a euro sign at the very end: three bytes, one character
    web.server().Get("/big", [&big](const httplib::Request&, httplib::Response& res) {
        res.set_content(big, "text/plain; charset=utf-8");
    });
    QList<QString> readAtCompletion;
    QObject::connect(&inet, &Inet::StateChanged, [&](int state) {
        if (state == Inet::icResponseCompleted) readAtCompletion << inet.GetChunk(4096);
    });
    ASSERT_TRUE(inet.Execute(web.url(QStringLiteral("/big"))));
    EXPECT_TRUE(inet.StillExecuting());
    waitUntilEnded(inet);
    EXPECT_EQ(inet.ResponseCode(), 0);
    ASSERT_EQ(readAtCompletion.size(), 1);
    EXPECT_EQ(readAtCompletion[0].size(), 4096);

    const QString rest = readAllChunks(inet);
    const QString whole = readAtCompletion[0] + rest;
    EXPECT_EQ(whole, QString::fromUtf8(big));
    EXPECT_EQ(whole.size(), 10001);
    // Byte chunks keep their own position.
    QByteArray bytes;
    for (QByteArray c = inet.GetChunkBytes(3000); !c.isEmpty(); c = inet.GetChunkBytes(3000)) bytes += c;
    EXPECT_EQ(bytes.toStdString(), big);
}

TEST_F(InetTest, GetChunkDuringARequestWaitsForItsEnd) {
    ASSERT_TRUE(inet.Execute(web.url(QStringLiteral("/page"))));
    // The loop the page loader runs: it must end, and with the page.
    QString text;
    while (inet.StillExecuting()) text += inet.GetChunk(4096);
    text += readAllChunks(inet);
    EXPECT_EQ(text, QStringLiteral("<html><body>café page</body></html>"));
}

TEST_F(InetTest, ServerErrorsGiveTheirStatusAndTheServersPage) {
    web.server().Get("/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("no such page", "text/plain");
    });
    web.server().Get("/broken", [](const httplib::Request&, httplib::Response& res) {
        res.status = 500;
        res.set_content("it broke", "text/plain");
    });
    EXPECT_EQ(inet.OpenURL(web.url(QStringLiteral("/missing"))), QStringLiteral("no such page"));
    EXPECT_EQ(inet.ResponseCode(), 404);
    EXPECT_EQ(inet.httpStatus(), 404);
    EXPECT_TRUE(inet.ResponseInfo().contains(QStringLiteral("404")));
    EXPECT_EQ(states.last(), Inet::icError);
    EXPECT_FALSE(states.contains(Inet::icResponseCompleted));

    states.clear();
    EXPECT_EQ(inet.OpenURL(web.url(QStringLiteral("/broken"))), QStringLiteral("it broke"));
    EXPECT_EQ(inet.ResponseCode(), 500);
    EXPECT_EQ(states.last(), Inet::icError);

    // The control is fine for the next request.
    EXPECT_FALSE(inet.OpenURL(web.url(QStringLiteral("/page"))).isEmpty());
    EXPECT_EQ(inet.ResponseCode(), 0);
}

TEST_F(InetTest, RedirectsAreFollowedButALoopEndsWithACode) {
    web.server().Get("/moved", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/page");
    });
    web.server().Get("/loop", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/loop");
    });
    EXPECT_EQ(inet.OpenURL(web.url(QStringLiteral("/moved"))), QStringLiteral("<html><body>café page</body></html>"));
    EXPECT_EQ(inet.ResponseCode(), 0);

    states.clear();
    EXPECT_TRUE(inet.OpenURL(web.url(QStringLiteral("/loop"))).isEmpty());
    EXPECT_EQ(inet.ResponseCode(), Inet::RedirectFailed);
    EXPECT_FALSE(inet.ResponseInfo().isEmpty());
    EXPECT_EQ(states.last(), Inet::icError);
    for (int i = 1; i < states.size(); ++i) EXPECT_LT(states[i - 1], states[i]);
}

TEST_F(InetTest, ASilentServerTimesOutAndTheControlStaysUsable) {
    web.addStall("/stall");
    inet.setRequestTimeoutMs(300);
    EXPECT_TRUE(inet.OpenURL(web.url(QStringLiteral("/stall"))).isEmpty());
    EXPECT_EQ(inet.ResponseCode(), Inet::TimedOut);
    EXPECT_FALSE(inet.StillExecuting());
    EXPECT_EQ(states.last(), Inet::icError);
    web.release();

    inet.setRequestTimeoutMs(60000);
    EXPECT_FALSE(inet.OpenURL(web.url(QStringLiteral("/page"))).isEmpty());
    EXPECT_EQ(inet.ResponseCode(), 0);
}

TEST_F(InetTest, AServerThatTricklesForeverHitsTheTotalTimeout) {
    web.server().Get("/trickle", [this](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [this](size_t, httplib::DataSink& sink) {
            for (int i = 0; i < 400 && !web.released(); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (!sink.write("x", 1)) return false;
            }
            sink.done();
            return true;
        });
    });
    inet.setRequestTimeoutMs(60000);
    inet.setTotalTimeoutMs(500);
    inet.OpenURL(web.url(QStringLiteral("/trickle")));
    web.release();
    EXPECT_EQ(inet.ResponseCode(), Inet::TimedOut);
    EXPECT_EQ(states.last(), Inet::icError);
}

TEST_F(InetTest, HugeRepliesEndWithACodeWhetherAnnouncedOrNot) {
    const std::string big(5000, 'z');
    web.server().Get("/announced", [&big](const httplib::Request&, httplib::Response& res) {
        res.set_content(big, "text/plain");
    });
    web.server().Get("/streamed", [&big](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [&big](size_t, httplib::DataSink& sink) {
            for (int i = 0; i < 10; ++i) {
                if (!sink.write(big.data(), big.size())) return false;
            }
            sink.done();
            return true;
        });
    });
    inet.setMaxReplyBytes(1000);
    inet.OpenURL(web.url(QStringLiteral("/announced")));
    EXPECT_EQ(inet.ResponseCode(), Inet::ReplyTooLarge);
    EXPECT_LE(inet.replyBytes().size(), 1000);

    inet.OpenURL(web.url(QStringLiteral("/streamed")));
    EXPECT_EQ(inet.ResponseCode(), Inet::ReplyTooLarge);
    EXPECT_LE(inet.replyBytes().size(), 1000);
    EXPECT_EQ(states.last(), Inet::icError);
}

TEST_F(InetTest, BinaryRepliesEndWithACodeButKeepTheirBytes) {
    const std::string png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    web.server().Get("/image", [&png](const httplib::Request&, httplib::Response& res) {
        res.set_content(png, "image/png");
    });
    web.server().Get("/blob", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string("text\0with zero", 14), "text/html");
    });
    web.server().Get("/list.kqs", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("Root|http://a/|\r\n", "application/octet-stream");
    });
    web.server().Get("/utf16", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string("\xFF\xFEh\0i\0", 6), "text/html");
    });
    inet.OpenURL(web.url(QStringLiteral("/image")));
    EXPECT_EQ(inet.ResponseCode(), Inet::BinaryReply);
    EXPECT_EQ(inet.replyBytes().toStdString(), png);

    inet.OpenURL(web.url(QStringLiteral("/blob")));
    EXPECT_EQ(inet.ResponseCode(), Inet::BinaryReply);

    // Servers send unknown extensions as octet-stream: the text still arrives.
    EXPECT_EQ(inet.OpenURL(web.url(QStringLiteral("/list.kqs"))), QStringLiteral("Root|http://a/|\r\n"));
    EXPECT_EQ(inet.ResponseCode(), 0);

    // Zero bytes of UTF-16 text are no sign of a binary reply.
    EXPECT_EQ(inet.OpenURL(web.url(QStringLiteral("/utf16"))), QStringLiteral("hi"));
    EXPECT_EQ(inet.ResponseCode(), 0);
}

TEST_F(InetTest, PostSendsTheBodyAndHeaders) {
    web.server().Post("/save", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(req.get_header_value("Content-Type") + "|" + req.get_header_value("X-Record") + "|" + req.body,
                        "text/plain; charset=utf-8");
    });
    const QString body = QStringLiteral("<meta name=\"DC.Title\" content=\"Caf\u00e9 \u201cs\u201d\">\r\nline 2");
    ASSERT_TRUE(inet.Execute(web.url(QStringLiteral("/save")), QStringLiteral("POST"), body,
                             QStringLiteral("X-Record: 7\r\n")));
    waitUntilEnded(inet);
    EXPECT_EQ(inet.ResponseCode(), 0);
    EXPECT_EQ(readAllChunks(inet), QStringLiteral("application/x-www-form-urlencoded|7|") + body);
    ASSERT_EQ(web.requests().size(), 1);
    EXPECT_EQ(web.requests()[0].method, "POST");
    EXPECT_EQ(states.last(), Inet::icResponseCompleted);

    // A Content-Type of the caller's own replaces the default.
    ASSERT_TRUE(inet.Execute(web.url(QStringLiteral("/save")), QStringLiteral("post"), QByteArray("raw"),
                             QStringLiteral("Content-Type: text/plain")));
    waitUntilEnded(inet);
    EXPECT_EQ(readAllChunks(inet), QStringLiteral("text/plain||raw"));
}

TEST_F(InetTest, FirewallCredentialsAreNeverSentToAWebServer) {
    web.server().Get("/private", [](const httplib::Request& req, httplib::Response& res) {
        if (req.has_header("Authorization")) {
            res.set_content("credentials leaked", "text/plain");
            return;
        }
        res.status = 401;
        res.set_header("WWW-Authenticate", "Basic realm=\"members\"");
        res.set_content("log in first", "text/plain");
    });
    inet.setUserName(QStringLiteral("fwuser"));
    inet.setPassword(QStringLiteral("fwsecret"));
    inet.OpenURL(web.url(QStringLiteral("/private")));
    EXPECT_EQ(inet.ResponseCode(), 401);
    inet.OpenURL(web.url(QStringLiteral("/page")));
    EXPECT_EQ(inet.ResponseCode(), 0);
    ASSERT_GE(web.requests().size(), 2);
    for (const auto& seen : web.requests()) {
        EXPECT_FALSE(seen.hasHeader("authorization")) << seen.target;
        EXPECT_FALSE(seen.hasHeader("proxy-authorization")) << seen.target;
    }
}

// A proxy that wants "fwuser"/"fwsecret" and answers every request itself.
class ProxyTest : public ::testing::Test {
protected:
    LocalHttpServer proxy;
    Inet inet;
    void SetUp() override {
        proxy.server().Get(".*", [](const httplib::Request& req, httplib::Response& res) {
            // "fwuser:fwsecret"
            if (req.get_header_value("Proxy-Authorization") != "Basic Znd1c2VyOmZ3c2VjcmV0") {
                res.status = 407;
                res.set_header("Proxy-Authenticate", "Basic realm=\"firewall\"");
                res.set_content("proxy says no", "text/plain");
                return;
            }
            res.set_content("through the firewall to " + req.target, "text/plain");
        });
        inet.setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), quint16(proxy.port())));
    }
};

TEST_F(ProxyTest, CredentialsAnswerTheProxyOnly) {
    inet.setUserName(QStringLiteral("fwuser"));
    inet.setPassword(QStringLiteral("fwsecret"));
    // The host never resolves: only the proxy is ever contacted.
    const QString text = inet.OpenURL(QStringLiteral("http://quorvantil.test/list.kqs"));
    EXPECT_EQ(inet.ResponseCode(), 0) << inet.ResponseInfo().toStdString();
    EXPECT_EQ(text, QStringLiteral("through the firewall to http://quorvantil.test/list.kqs"));
    bool sawCredentials = false;
    for (const auto& seen : proxy.requests()) {
        EXPECT_FALSE(seen.hasHeader("authorization"));
        if (seen.hasHeader("proxy-authorization")) sawCredentials = true;
    }
    EXPECT_TRUE(sawCredentials);
}

TEST_F(ProxyTest, WrongCredentialsEndWith407InsteadOfAskingForever) {
    inet.setUserName(QStringLiteral("fwuser"));
    inet.setPassword(QStringLiteral("wrong"));
    inet.OpenURL(QStringLiteral("http://quorvantil.test/list.kqs"));
    EXPECT_EQ(inet.ResponseCode(), 407);
    EXPECT_FALSE(inet.StillExecuting());
}

TEST_F(InetTest, CancelEndsTheRequestQuietly) {
    web.addStall("/stall");
    ASSERT_TRUE(inet.Execute(web.url(QStringLiteral("/stall"))));
    // Busy: a second request is refused and the first goes on.
    EXPECT_FALSE(inet.Execute(web.url(QStringLiteral("/page"))));
    EXPECT_TRUE(inet.OpenURL(web.url(QStringLiteral("/page"))).isEmpty());
    EXPECT_TRUE(inet.StillExecuting());

    const int statesBefore = states.size();
    inet.Cancel();
    EXPECT_FALSE(inet.StillExecuting());
    EXPECT_EQ(inet.ResponseCode(), Inet::OperationCancelled);
    web.release();
    // Nothing of the cancelled request is reported later.
    EXPECT_FALSE(inet.OpenURL(web.url(QStringLiteral("/page"))).isEmpty());
    EXPECT_EQ(inet.ResponseCode(), 0);
    EXPECT_FALSE(states.mid(statesBefore).contains(Inet::icError));
}

TEST_F(InetTest, BadAddressesFailThroughTheEventsToo) {
    ASSERT_TRUE(inet.Execute(QStringLiteral("ftp://127.0.0.1/file")));
    EXPECT_TRUE(inet.StillExecuting());
    waitUntilEnded(inet);
    EXPECT_EQ(inet.ResponseCode(), Inet::UnrecognizedScheme);
    EXPECT_EQ(states, QList<int>{Inet::icError});

    inet.setURL(QString());
    EXPECT_TRUE(inet.OpenURL().isEmpty());
    EXPECT_EQ(inet.ResponseCode(), Inet::InvalidUrl);

    int deadPort = 0;
    {
        LocalHttpServer gone;
        deadPort = gone.port();
    }
    inet.OpenURL(QStringLiteral("http://127.0.0.1:%1/x").arg(deadPort));
    EXPECT_EQ(inet.ResponseCode(), Inet::CannotConnect);
}

TEST_F(InetTest, ReplyTextFollowsTheContentTypeCharset) {
    web.server().Get("/latin", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("\x93quoted\x94 caf\xE9", "text/html; charset=ISO-8859-1");
    });
    EXPECT_EQ(inet.OpenURL(web.url(QStringLiteral("/latin"))), QStringLiteral("\u201cquoted\u201d caf\u00e9"));
    EXPECT_EQ(inet.replyEncoding().codec, QStringLiteral("windows-1252"));
}

TEST(InetLifetime, DeletingTheControlDuringOpenUrlDoesNotCrash) {
    LocalHttpServer web;
    web.addStall("/stall");
    auto* inet = new Inet;
    inet->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    QTimer::singleShot(0, [&inet] {
        delete inet;
        inet = nullptr;
    });
    EXPECT_TRUE(inet->OpenURL(web.url(QStringLiteral("/stall"))).isEmpty());
    EXPECT_EQ(inet, nullptr);
}

TEST(InetStateText, TextsOfTheStatusBar) {
    EXPECT_EQ(Inet::stateText(0), QStringLiteral("None"));
    EXPECT_EQ(Inet::stateText(1), QStringLiteral("Resolving Host"));
    EXPECT_EQ(Inet::stateText(8), QStringLiteral("Response Received"));
    EXPECT_EQ(Inet::stateText(9), QStringLiteral("Finishing Metadata"));
    EXPECT_EQ(Inet::stateText(10), QStringLiteral("Finished Loading Metadata"));
    EXPECT_EQ(Inet::stateText(11), QStringLiteral("Error"));
    EXPECT_EQ(Inet::stateText(12), QString());
    EXPECT_EQ(Inet::stateText(-1), QString());
}

}  // namespace
