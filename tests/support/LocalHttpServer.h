#pragma once
#include <httplib.h>

#include <QList>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace testing_support {

// What the server saw of one request.
struct SeenRequest {
    std::string method;
    std::string target;  // as sent: "/path?query", or a whole address when asked as a proxy
    httplib::Headers headers;  // names in any case
    bool hasHeader(const std::string& name) const { return headers.count(name) > 0; }
};

// An HTTP server on 127.0.0.1 for tests, on a port of its own, answering on its own
// threads. Register handlers through server() before the first request. Every request
// is recorded as it arrives, before its body is read (a handler sees the body).
// Connections are never kept alive, so stopping never waits for idle clients.
class LocalHttpServer {
public:
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    httplib::Server& server() { return server_; }
    int port() const { return port_; }
    // "http://127.0.0.1:PORT" followed by the path.
    QString url(const QString& path = QString()) const;

    QList<SeenRequest> requests() const;

    // A handler that answers nothing until release() (or the server's end). Handlers of
    // a test's own that run long should end once released() is true.
    void addStall(const std::string& pattern);
    void release();
    bool released() const;

private:
    void record(const httplib::Request& request);

    httplib::Server server_;
    int port_ = -1;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool isReleased_ = false;
    QList<SeenRequest> requests_;
};

}  // namespace testing_support
