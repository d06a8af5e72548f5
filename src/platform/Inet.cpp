#include "platform/Inet.h"

#include "platform/SchemeBundle.h"

#include <QAuthenticator>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkRequest>
#include <QUrl>

#include <algorithm>

namespace platform {

namespace {

constexpr int kMaxRedirects = 10;

// Asks the system's proxy settings for every request (Qt does not by default).
class SystemProxyFactory : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        return QNetworkProxyFactory::systemProxyForQuery(query);
    }
};

int codeForNetworkError(QNetworkReply::NetworkError error) {
    using E = QNetworkReply::NetworkError;
    switch (error) {
    case E::NoError: return 0;
    case E::ConnectionRefusedError:
    case E::ProxyConnectionRefusedError:
    case E::TemporaryNetworkFailureError:
    case E::NetworkSessionFailedError:
    case E::BackgroundRequestNotAllowedError: return Inet::CannotConnect;
    case E::RemoteHostClosedError:
    case E::ProxyConnectionClosedError: return Inet::ConnectionAborted;
    case E::HostNotFoundError:
    case E::ProxyNotFoundError: return Inet::NameNotResolved;
    case E::TimeoutError:
    case E::ProxyTimeoutError: return Inet::TimedOut;
    case E::OperationCanceledError: return Inet::OperationCancelled;
    case E::SslHandshakeFailedError: return Inet::SecureChannelError;
    case E::UnknownProxyError: return Inet::CannotConnect;
    case E::TooManyRedirectsError:
    case E::InsecureRedirectError: return Inet::RedirectFailed;
    case E::ProxyAuthenticationRequiredError: return 407;
    case E::AuthenticationRequiredError: return 401;
    case E::ProtocolUnknownError: return Inet::UnrecognizedScheme;
    case E::ProtocolInvalidOperationError:
    case E::ProtocolFailure: return Inet::InvalidServerResponse;
    default: return Inet::InternalError;
    }
}

// A reply of the program's own hosts, made from the scheme bundle without a socket. It
// reports itself as any reply of a web server does, on the next turn of the event loop.
class BundleReply : public QNetworkReply {
public:
    BundleReply(QNetworkAccessManager::Operation operation, const QNetworkRequest& request, QObject* parent)
        : QNetworkReply(parent) {
        setRequest(request);
        setUrl(request.url());
        setOperation(operation);
        const QUrl url = request.url();
        QString target = url.path(QUrl::FullyEncoded);
        if (target.isEmpty()) target = QStringLiteral("/");
        if (url.hasQuery()) target += QLatin1Char('?') + url.query(QUrl::FullyEncoded);
        const QString method = operation == QNetworkAccessManager::GetOperation ? QStringLiteral("GET")
                                                                                 : QStringLiteral("other");
        const SchemeBundle::Answer answer = SchemeBundle::answer(method, target);
        body_ = answer.body;
        setAttribute(QNetworkRequest::HttpStatusCodeAttribute, answer.status);
        setAttribute(QNetworkRequest::HttpReasonPhraseAttribute, answer.reason);
        setHeader(QNetworkRequest::ContentTypeHeader, QString::fromLatin1(answer.contentType));
        setHeader(QNetworkRequest::ContentLengthHeader, body_.size());
        if (!answer.storable) setRawHeader("Cache-Control", "no-store");
        if (answer.status >= 400)
            setError(answer.status == 404 ? ContentNotFoundError : ContentOperationNotPermittedError,
                     QString::fromLatin1(answer.reason));
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        QMetaObject::invokeMethod(this, [this] { deliver(); }, Qt::QueuedConnection);
    }
    qint64 bytesAvailable() const override { return body_.size() - offset_ + QIODevice::bytesAvailable(); }
    bool isSequential() const override { return true; }
    void abort() override {
        if (done_) return;
        setError(OperationCanceledError, QStringLiteral("Operation canceled"));
        body_.clear();
        done_ = true;
        Q_EMIT finished();
    }

protected:
    qint64 readData(char* data, qint64 size) override {
        const qint64 count = qMin(size, qint64(body_.size()) - offset_);
        if (count <= 0) return done_ ? -1 : 0;
        memcpy(data, body_.constData() + offset_, size_t(count));
        offset_ += count;
        return count;
    }

private:
    void deliver() {
        if (done_) return;
        Q_EMIT metaDataChanged();
        if (!body_.isEmpty()) Q_EMIT readyRead();
        if (done_) return;
        done_ = true;
        Q_EMIT finished();
    }
    QByteArray body_;
    qint64 offset_ = 0;
    bool done_ = false;
};

// The program's own hosts are answered from the bundle; everything else goes to the network.
class TransferManager : public QNetworkAccessManager {
public:
    using QNetworkAccessManager::QNetworkAccessManager;

protected:
    QNetworkReply* createRequest(Operation operation, const QNetworkRequest& request, QIODevice* data) override {
        const QUrl url = request.url();
        if (url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0 &&
            SchemeBundle::isOwnHost(url.host()))
            return new BundleReply(operation, request, this);
        return QNetworkAccessManager::createRequest(operation, request, data);
    }
};

// Media types are never page text. application/octet-stream is no sign: servers send it
// for every extension they do not know, the program's own list files included.
bool looksBinary(const QByteArray& body, const QString& contentType) {
    const QString type = contentType.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
    for (const auto prefix : {QLatin1String("image/"), QLatin1String("audio/"), QLatin1String("video/"),
                              QLatin1String("font/")}) {
        if (type.startsWith(prefix)) return true;
    }
    // Text in UTF-16 or UTF-32 holds zero bytes too, but starts with a byte-order mark.
    if (body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF") || body.startsWith(QByteArray("\0\0\xFE\xFF", 4)))
        return false;
    return body.contains('\0');
}

}  // namespace

Inet::Inet(const std::optional<QNetworkProxy>& proxy, QObject* parent, const TransferLimits& limits)
    : QObject(parent),
      nam_(new TransferManager(this)),
      requestTimeoutMs_(std::max(limits.requestTimeoutMs, 1)),
      totalTimeoutMs_(std::max(limits.totalTimeoutMs, 1)),
      maxReplyBytes_(std::max<qint64>(limits.maxReplyBytes, 1)) {
    if (proxy) nam_->setProxy(*proxy);
    else nam_->setProxyFactory(new SystemProxyFactory);
    nam_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    // A web server asking for a password gets none: the firewall credentials are only
    // for the proxy, and the program has no others. The request then ends with 401.
    connect(nam_, &QNetworkAccessManager::authenticationRequired, this, [](QNetworkReply*, QAuthenticator*) {});
    connect(nam_, &QNetworkAccessManager::proxyAuthenticationRequired, this,
            [this](const QNetworkProxy&, QAuthenticator* auth) {
                // Offered once per request: a proxy that refuses them ends the request with 407
                // instead of asking forever.
                if (userName_.isEmpty() || proxyAuthOffered_) return;
                proxyAuthOffered_ = true;
                auth->setUser(userName_);
                auth->setPassword(password_);
            });
    idleTimer_.setSingleShot(true);
    totalTimer_.setSingleShot(true);
    connect(&idleTimer_, &QTimer::timeout, this, [this] { abortFor(TimedOut); });
    connect(&totalTimer_, &QTimer::timeout, this, [this] { abortFor(TimedOut); });
}

Inet::~Inet() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        delete reply_;
    }
    if (executing_) {
        executing_ = false;
        // A request cut off by the control's end is a cancelled one, never an empty reply.
        responseCode_ = OperationCancelled;
        Q_EMIT transferEnded();  // lets a waiting OpenURL return
    }
}

QString Inet::stateText(int state) {
    switch (state) {
    case kNoState: return QStringLiteral("None");
    case kResolvingHost: return QStringLiteral("Resolving Host");
    case kHostResolved: return QStringLiteral("Host Resolved");
    case kConnecting: return QStringLiteral("Connecting");
    case kConnected: return QStringLiteral("Connected");
    case kRequesting: return QStringLiteral("Requesting");
    case kRequestSent: return QStringLiteral("Request Sent");
    case kReceivingResponse: return QStringLiteral("Receiving Response");
    case kResponseReceived: return QStringLiteral("Response Received");
    case kDisconnecting: return QStringLiteral("Finishing Metadata");
    case kDisconnected: return QStringLiteral("Finished Loading Metadata");
    case kStateError: return QStringLiteral("Error");
    default: return QString();
    }
}

// ---- starting ------------------------------------------------------------

QString Inet::OpenURL(const QString& url) {
    if (executing_) return QString();
    start(url.isEmpty() ? url_ : url, QString(), QByteArray(), QString());
    if (!waitForEnd()) return QString();
    const bool pageArrived = responseCode_ == 0 || (responseCode_ >= 400 && responseCode_ < 600);
    const QString text = pageArrived ? replyText() : QString();
    takeAll();
    return text;
}

QByteArray Inet::OpenURLBytes(const QString& url) {
    if (executing_) return QByteArray();
    start(url.isEmpty() ? url_ : url, QString(), QByteArray(), QString());
    if (!waitForEnd()) return QByteArray();
    const bool pageArrived = responseCode_ == 0 || (responseCode_ >= 400 && responseCode_ < 600);
    const QByteArray bytes = pageArrived ? body_ : QByteArray();
    takeAll();
    return bytes;
}

bool Inet::Execute(const QString& url, const QString& operation, const QByteArray& data,
                   const QString& requestHeaders) {
    if (executing_) return false;
    start(url.isEmpty() ? url_ : url, operation, data, requestHeaders);
    return true;
}

bool Inet::Execute(const QString& url, const QString& operation, const QString& data,
                   const QString& requestHeaders) {
    return Execute(url, operation, data.toUtf8(), requestHeaders);
}

void Inet::resetReply() {
    body_.clear();
    contentType_.clear();
    storable_ = true;
    text_.clear();
    encoding_ = TextEncoding();
    textReady_ = false;
    byteCursor_ = 0;
    textCursor_ = 0;
    responseCode_ = 0;
    responseInfo_.clear();
    httpStatus_ = 0;
    networkError_ = QNetworkReply::NoError;
    abortCode_ = 0;
    lastState_ = kNoState;
    proxyAuthOffered_ = false;
}

void Inet::start(const QString& address, const QString& operation, const QByteArray& data,
                 const QString& headers) {
    resetReply();
    ++serial_;
    executing_ = true;
    finishing_ = false;
    url_ = address;

    QString text = address.trimmed();
    if (!text.contains(QLatin1String("://"))) text.prepend(QLatin1String("http://"));
    const QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty()) {
        failSoon(InvalidUrl, QStringLiteral("Not a valid address: %1").arg(address));
        return;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        failSoon(UnrecognizedScheme, QStringLiteral("Only http and https addresses can be fetched: %1").arg(address));
        return;
    }

    QByteArray verb = operation.trimmed().toUpper().toLatin1();
    if (verb.isEmpty()) verb = "GET";
    for (const char c : verb) {
        if (c < 'A' || c > 'Z') {
            failSoon(InternalError, QStringLiteral("Unknown operation: %1").arg(operation));
            return;
        }
    }

    QNetworkRequest request(url);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    // No AuthenticationReuseAttribute Manual here: Qt then refuses proxy credentials too.
    // No server credentials can be cached anyway, since none are ever given.
    bool haveContentType = false;
    for (const QString& line : splitLines(headers)) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0) continue;
        const QByteArray name = line.left(colon).trimmed().toLatin1();
        if (name.isEmpty() || name.contains(' ')) continue;
        if (name.compare("content-type", Qt::CaseInsensitive) == 0) haveContentType = true;
        request.setRawHeader(name, line.mid(colon + 1).trimmed().toLatin1());
    }
    const bool hasBody = verb == "POST" || verb == "PUT";
    if (hasBody && !haveContentType)
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));

    QNetworkReply* reply = nullptr;
    if (verb == "GET") reply = nam_->get(request);
    else if (verb == "HEAD") reply = nam_->head(request);
    else if (verb == "POST") reply = nam_->post(request, data);
    else if (verb == "PUT") reply = nam_->put(request, data);
    else reply = nam_->sendCustomRequest(request, verb, data);
    reply_ = reply;

    connect(reply, &QNetworkReply::socketStartedConnecting, this, [this, reply] {
        if (reply == reply_) advanceTo(kConnecting);
    });
    connect(reply, &QNetworkReply::requestSent, this, [this, reply] {
        if (reply == reply_) advanceTo(kRequestSent);
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        if (reply != reply_) return;
        touch();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxReplyBytes_) {
            abortFor(ReplyTooLarge);
            return;
        }
        advanceTo(kReceivingResponse);
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { onReadyRead(reply); });
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply] {
        if (reply == reply_) touch();
    });
    connect(reply, &QNetworkReply::uploadProgress, this, [this, reply] {
        if (reply == reply_) touch();
    });
    connect(reply, &QNetworkReply::redirected, this, [this, reply] {
        if (reply == reply_) touch();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });

    idleTimer_.start(requestTimeoutMs_);
    totalTimer_.start(totalTimeoutMs_);
}

// Failures found before anything is sent are still reported from the event loop, as
// every other end is, so callers see the same order of events either way.
void Inet::failSoon(int code, const QString& info) {
    const quint64 serial = serial_;
    QTimer::singleShot(0, this, [this, serial, code, info] {
        if (serial == serial_ && executing_) finish(code, info);
    });
}

// ---- running ------------------------------------------------------------

void Inet::touch() {
    if (executing_ && !finishing_) idleTimer_.start(requestTimeoutMs_);
}

void Inet::advanceTo(int state) {
    // Progress only ever moves forward, whatever order the signals of redirects and
    // reused connections come in.
    if (state <= lastState_) return;
    lastState_ = state;
    touch();
    Q_EMIT StateChanged(state);
}

void Inet::abortFor(int code) {
    if (!executing_ || finishing_) return;
    if (!reply_) {
        finish(code, QString());
        return;
    }
    abortCode_ = code;
    reply_->abort();  // ends in onFinished
}

void Inet::onReadyRead(QNetworkReply* reply) {
    if (reply != reply_ || abortCode_) return;
    touch();
    const qint64 available = reply->bytesAvailable();
    if (body_.size() + available > maxReplyBytes_) {
        body_ += reply->read(maxReplyBytes_ - body_.size());
        abortFor(ReplyTooLarge);
        return;
    }
    body_ += reply->readAll();
    advanceTo(kReceivingResponse);
}

void Inet::onFinished(QNetworkReply* reply) {
    if (reply != reply_) {
        reply->deleteLater();
        return;
    }
    if (!abortCode_) {
        const qint64 available = reply->bytesAvailable();
        if (body_.size() + available > maxReplyBytes_) abortCode_ = ReplyTooLarge;
        else body_ += reply->readAll();
    }
    httpStatus_ = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    networkError_ = reply->error();
    contentType_ = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    storable_ = !reply->rawHeader("Cache-Control").toLower().contains("no-store");
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const QString errorString = reply->errorString();
    reply->disconnect(this);
    reply->deleteLater();
    reply_ = nullptr;

    int code = 0;
    QString info;
    if (abortCode_ == TimedOut) {
        code = TimedOut;
        info = QStringLiteral("The server did not answer in time");
    } else if (abortCode_ == ReplyTooLarge) {
        code = ReplyTooLarge;
        info = QStringLiteral("The reply is larger than %1 bytes").arg(maxReplyBytes_);
    } else if (abortCode_) {
        code = abortCode_;
    } else if (httpStatus_ >= 400) {
        code = httpStatus_;
        info = QStringLiteral("HTTP %1 %2").arg(httpStatus_).arg(reason).trimmed();
    } else if (networkError_ != QNetworkReply::NoError) {
        code = codeForNetworkError(networkError_);
        info = errorString;
    } else if (looksBinary(body_, contentType_)) {
        code = BinaryReply;
        info = QStringLiteral("The reply is not text (%1)").arg(contentType_.isEmpty() ? QStringLiteral("no type") : contentType_);
    }
    finish(code, info);
}

QString Inet::errorCodeMessage() const {
    QString what;
    switch (responseCode_) {
    case TimedOut: what = QStringLiteral("no answer in time"); break;
    case NameNotResolved: what = QStringLiteral("host not found"); break;
    case CannotConnect: what = QStringLiteral("could not connect"); break;
    case ConnectionAborted:
    case ConnectionReset: what = QStringLiteral("connection lost"); break;
    case SecureChannelError: what = QStringLiteral("secure connection failed"); break;
    case InvalidUrl: what = QStringLiteral("not a valid address"); break;
    case UnrecognizedScheme: what = QStringLiteral("only http and https can be fetched"); break;
    case OperationCancelled: what = QStringLiteral("cancelled"); break;
    case RedirectFailed: what = QStringLiteral("too many redirects"); break;
    case ReplyTooLarge: what = QStringLiteral("reply too large"); break;
    case BinaryReply: what = QStringLiteral("the reply is not text"); break;
    default: what = responseInfo_.isEmpty() ? QStringLiteral("transfer failed") : responseInfo_; break;
    }
    QString text = url_.trimmed();
    if (!text.contains(QLatin1String("://"))) text.prepend(QLatin1String("http://"));
    const QUrl url(text, QUrl::TolerantMode);
    const QString where = url.host().isEmpty() ? url_ : url.host();
    return QStringLiteral("ErrorCode: %1 (%2: %3)").arg(responseCode_).arg(what, where);
}

void Inet::finish(int code, const QString& info) {
    finishing_ = true;
    idleTimer_.stop();
    totalTimer_.stop();
    responseCode_ = code;
    responseInfo_ = info;
    const quint64 serial = serial_;
    QPointer<Inet> self(this);
    if (code == 0) {
        // Reported while still executing: only the completion below finds it ended.
        advanceTo(kResponseReceived);
        if (!self || serial != serial_ || !finishing_) return;
    }
    executing_ = false;
    finishing_ = false;
    Q_EMIT transferEnded();
    if (!self || serial != serial_) return;
    lastState_ = code == 0 ? kResponseCompleted : kStateError;
    Q_EMIT StateChanged(lastState_);
}

void Inet::Cancel() {
    if (!executing_) return;
    ++serial_;  // whatever the old reply still signals is ignored
    if (reply_) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    idleTimer_.stop();
    totalTimer_.stop();
    responseCode_ = OperationCancelled;
    responseInfo_ = QStringLiteral("The request was cancelled");
    executing_ = false;
    finishing_ = false;
    Q_EMIT transferEnded();
}

// ---- reading the reply ---------------------------------------------------

bool Inet::waitForEnd() {
    if (!executing_) return true;
    QPointer<Inet> self(this);
    QEventLoop loop;
    connect(this, &Inet::transferEnded, &loop, &QEventLoop::quit);
    loop.exec();
    return !self.isNull();
}

void Inet::takeAll() {
    byteCursor_ = body_.size();
    textCursor_ = replyText().size();
}

QString Inet::replyText() {
    if (!textReady_) {
        DecodedText decoded = decodePageBytes(body_, contentType_);
        text_ = std::move(decoded.text);
        encoding_ = decoded.encoding;
        textReady_ = true;
    }
    return text_;
}

TextEncoding Inet::replyEncoding() {
    replyText();
    return encoding_;
}

QString Inet::GetChunk(int size) {
    if (executing_ && (finishing_ || !waitForEnd())) return QString();
    if (executing_ || size <= 0) return QString();
    const QString& text = replyText();
    if (textCursor_ >= text.size()) return QString();
    qsizetype take = std::min<qsizetype>(size, text.size() - textCursor_);
    // Never split a surrogate pair.
    const qsizetype end = textCursor_ + take;
    if (take > 1 && end < text.size() && text.at(end - 1).isHighSurrogate()) --take;
    const QString chunk = text.mid(textCursor_, take);
    textCursor_ += take;
    return chunk;
}

QByteArray Inet::GetChunkBytes(int size) {
    if (executing_ && (finishing_ || !waitForEnd())) return QByteArray();
    if (executing_ || size <= 0 || byteCursor_ >= body_.size()) return QByteArray();
    const qsizetype take = std::min<qsizetype>(size, body_.size() - byteCursor_);
    const QByteArray chunk = body_.mid(byteCursor_, take);
    byteCursor_ += take;
    return chunk;
}

}  // namespace platform
