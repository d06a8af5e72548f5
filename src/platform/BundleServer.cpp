#include "platform/BundleServer.h"

#include "platform/SchemeBundle.h"

#include <QCoreApplication>
#include <QMutex>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <memory>

namespace platform::BundleServer {
namespace {

// A connection that sends nothing for this long is closed.
constexpr int kIdleMilliseconds = 10000;
// A request head longer than this is no request of the engine's.
constexpr qsizetype kLongestHead = 16 * 1024;

QByteArray responseText(const SchemeBundle::Answer& answer) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + answer.reason + "\r\n";
    head += "Content-Type: " + answer.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    if (answer.status == 405) head += "Allow: GET\r\n";
    if (!answer.storable) head += "Cache-Control: no-store\r\n";
    head += "Connection: close\r\n\r\n";
    return head + answer.body;
}

SchemeBundle::Answer answerFor(const QByteArray& head) {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> request = lines.value(0).trimmed().split(' ');
    QByteArray host;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        if (line.size() > 5 && line.left(5).compare("host:", Qt::CaseInsensitive) == 0) host = line.mid(5).trimmed();
    }
    const QString target = QString::fromLatin1(request.value(1));
    if (request.size() != 3 || !target.startsWith(QLatin1Char('/')) || !SchemeBundle::isOwnHost(QString::fromLatin1(host)))
        return SchemeBundle::notFound();
    return SchemeBundle::answer(QString::fromLatin1(request.value(0)), target);
}

// One connection: one request read, answered, and the connection closed.
void serveConnection(QTcpSocket* socket) {
    struct Request {
        QByteArray head;
        bool answered = false;
    };
    auto request = std::make_shared<Request>();
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    QObject::connect(idle, &QTimer::timeout, socket, &QTcpSocket::abort);
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, request, idle] {
        if (request->answered) return;
        request->head += socket->readAll();
        idle->start(kIdleMilliseconds);
        const qsizetype end = request->head.indexOf("\r\n\r\n");
        if (end < 0 && request->head.size() <= kLongestHead) return;
        const SchemeBundle::Answer answer = end < 0 ? SchemeBundle::notFound() : answerFor(request->head.left(end));
        request->answered = true;
        request->head.clear();
        socket->write(responseText(answer));
        socket->disconnectFromHost();
    });
    idle->start(kIdleMilliseconds);
}

class ServerThread : public QThread {
public:
    quint16 port = 0;
    QSemaphore ready;

protected:
    void run() override {
        QTcpServer server;
        if (server.listen(QHostAddress::LocalHost, 0)) {
            port = server.serverPort();
            QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
                while (QTcpSocket* socket = server.nextPendingConnection()) serveConnection(socket);
            });
        }
        ready.release();
        if (port) exec();
        // The server and its connections (its children) go with this frame.
    }
};

QMutex& mutex() {
    static QMutex m;
    return m;
}

ServerThread*& running() {
    static ServerThread* thread = nullptr;
    return thread;
}

}  // namespace

quint16 start() {
    QMutexLocker lock(&mutex());
    if (ServerThread* thread = running()) return thread->port;
    auto* thread = new ServerThread;
    thread->start();
    thread->ready.acquire();
    if (!thread->port) {
        thread->wait();
        delete thread;
        return 0;
    }
    running() = thread;
    static bool stopsAtExit = false;
    if (!stopsAtExit) {
        stopsAtExit = true;
        if (QCoreApplication* app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit, app, [] { stop(); });
        qAddPostRoutine([] { stop(); });
    }
    return thread->port;
}

void stop() {
    QMutexLocker lock(&mutex());
    ServerThread* thread = running();
    if (!thread) return;
    running() = nullptr;
    thread->quit();
    thread->wait();
    delete thread;
}

}  // namespace platform::BundleServer
