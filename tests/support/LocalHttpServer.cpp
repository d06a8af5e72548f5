#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace testing_support {

LocalHttpServer::LocalHttpServer() {
    server_.set_keep_alive_max_count(1);
    server_.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
        record(request);
        return httplib::Server::HandlerResponse::Unhandled;
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    EXPECT_GT(port_, 0) << "the test server could not bind a port on 127.0.0.1";
    // The socket is listening already; requests wait in its queue until this thread accepts.
    if (port_ <= 0) return;
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() before the accept loop has started would be missed and the join would hang.
    for (int i = 0; i < 5000 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LocalHttpServer::~LocalHttpServer() {
    release();
    server_.stop();
    if (thread_.joinable()) thread_.join();
}

QString LocalHttpServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

void LocalHttpServer::record(const httplib::Request& request) {
    std::lock_guard lock(mutex_);
    requests_ << SeenRequest{request.method, request.target, request.headers};
}

QList<SeenRequest> LocalHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void LocalHttpServer::addStall(const std::string& pattern) {
    server_.Get(pattern, [this](const httplib::Request&, httplib::Response& response) {
        std::unique_lock lock(mutex_);
        // Bounded, so a forgotten release() cannot hang a test run.
        released_.wait_for(lock, std::chrono::seconds(60), [this] { return isReleased_; });
        response.set_content("late", "text/plain");
    });
}

void LocalHttpServer::release() {
    {
        std::lock_guard lock(mutex_);
        isReleased_ = true;
    }
    released_.notify_all();
}

bool LocalHttpServer::released() const {
    std::lock_guard lock(mutex_);
    return isReleased_;
}

}  // namespace testing_support
