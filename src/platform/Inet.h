#pragma once
#include "platform/TextCodec.h"

#include <QByteArray>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <optional>

class QNetworkAccessManager;

namespace platform {

// How long a transfer may wait and take, and how large its reply may grow.
struct TransferLimits {
    int requestTimeoutMs = 60 * 1000;         // silence (no byte moving) after which a request fails
    int totalTimeoutMs = 10 * 60 * 1000;      // the longest a request may take in all
    qint64 maxReplyBytes = 64 * 1024 * 1024;  // the largest reply kept
};

// The internet transfer control: one request at a time over HTTP or HTTPS. The program's
// own hosts are answered from the scheme bundle (SchemeBundle), without a network.
//
// OpenURL fetches an address and returns only when the transfer has ended (a nested
// event loop runs meanwhile, so the window stays alive and other events may arrive).
// Execute starts a request and returns at once; StateChanged reports its progress and
// its end (kResponseCompleted or kStateError). Either way the reply is kept whole, and
// GetChunk hands it out in pieces afterwards.
//
// ResponseCode is 0 after a successful transfer. Otherwise it is the HTTP status (400 or
// more), or one of the Failure codes below (all above 12000, so they never look like a
// status). Nothing waits forever: a server silent for the request timeout, a transfer longer
// than the total timeout, a reply larger than the most kept (TransferLimits), a redirect loop
// and a binary reply all end the transfer with a code.
//
// UserName and Password are for the firewall: they answer a proxy's request for
// credentials and are never given to a web server.
class Inet : public QObject {
    Q_OBJECT
public:
    enum State : int {
        kNoState = 0,
        kResolvingHost = 1,
        kHostResolved = 2,
        kConnecting = 3,
        kConnected = 4,
        kRequesting = 5,
        kRequestSent = 6,
        kReceivingResponse = 7,
        kResponseReceived = 8,
        kDisconnecting = 9,
        kDisconnected = 10,
        kStateError = 11,
        kResponseCompleted = 12,
    };

    enum Failure : int {
        TimedOut = 12002,
        InternalError = 12004,
        InvalidUrl = 12005,
        UnrecognizedScheme = 12006,
        NameNotResolved = 12007,
        OperationCancelled = 12017,
        CannotConnect = 12029,
        ConnectionAborted = 12030,
        ConnectionReset = 12031,
        InvalidServerResponse = 12152,
        RedirectFailed = 12156,
        SecureChannelError = 12157,
        ReplyTooLarge = 12201,
        BinaryReply = 12202,
    };

    // `proxy`: a fixed proxy (no proxy at all, say) for every request, or none for the
    // system's proxy settings (http_proxy, https_proxy, no_proxy). Every limit is at least 1.
    explicit Inet(const std::optional<QNetworkProxy>& proxy, QObject* parent = nullptr,
                  const TransferLimits& limits = {});
    ~Inet() override;

    // The address of the next request ("http://" is assumed when it has no scheme).
    QString URL() const { return url_; }
    void setURL(const QString& url) { url_ = url; }
    // Firewall (proxy) credentials.
    QString UserName() const { return userName_; }
    void setUserName(const QString& name) { userName_ = name; }
    QString Password() const { return password_; }
    void setPassword(const QString& password) { password_ = password; }

    // Fetches the address (the URL property when empty; the property takes the address)
    // and waits for the end. Returns the whole reply decoded as page text (the server's
    // page also for a status of 400 or more), "" after any other failure. Afterwards
    // GetChunk has nothing left to give. While a request runs: returns "" at once and
    // leaves the running request alone.
    QString OpenURL(const QString& url = QString());
    // The same, returning the reply's bytes.
    QByteArray OpenURLBytes(const QString& url = QString());

    // Starts a request and returns at once. operation: "GET" (also when empty), "POST",
    // "HEAD", "PUT" or another HTTP method. requestHeaders: "Name: value" lines. A POST or
    // PUT without a Content-Type header is sent as application/x-www-form-urlencoded; a
    // text body is sent as UTF-8. False (and nothing changes) while a request runs; any
    // other failure, a bad address included, is reported through StateChanged(kStateError).
    bool Execute(const QString& url = QString(), const QString& operation = QString(),
                 const QByteArray& data = QByteArray(), const QString& requestHeaders = QString());
    bool Execute(const QString& url, const QString& operation, const QString& data,
                 const QString& requestHeaders = QString());

    // True from the start of a request until its end has been reported.
    bool StillExecuting() const { return executing_; }
    // 0 when the last transfer succeeded; see the class comment.
    int ResponseCode() const { return responseCode_; }
    // What went wrong, in words ("" after success).
    QString ResponseInfo() const { return responseInfo_; }
    // The message of a failed transfer: "ErrorCode: " and the code, then what failed and
    // where, e.g. "ErrorCode: 12007 (host not found: schemes.example)".
    QString errorCodeMessage() const;
    // The last reply's HTTP status (0 when none arrived).
    int httpStatus() const { return httpStatus_; }

    // The next piece of the reply: at most size characters of its text (GetChunk) or
    // size bytes (GetChunkBytes); "" at the end. Called while a request runs, it first
    // waits for the request's end. The two keep separate positions.
    QString GetChunk(int size);
    QByteArray GetChunkBytes(int size);

    // The whole reply of the last request, however much GetChunk has handed out.
    QByteArray replyBytes() const { return body_; }
    QString replyText();
    TextEncoding replyEncoding();
    QString replyContentType() const { return contentType_; }
    // False when the server asked that the reply be kept nowhere ("Cache-Control: no-store").
    bool replyStorable() const { return storable_; }

    // Ends the running request at once, with ResponseCode OperationCancelled and no
    // state event. Nothing happens when no request runs.
    void Cancel();

    // The last state reported by StateChanged (kNoState before the first request).
    int lastState() const { return lastState_; }

    // The status-bar text of a state: "None", "Resolving Host", ..., "Error"; "" for any
    // other number (kResponseCompleted included).
    static QString stateText(int state);


Q_SIGNALS:
    void StateChanged(int state);
    // The running request has ended (after success, failure or Cancel).
    void transferEnded();

private:
    void start(const QString& url, const QString& operation, const QByteArray& data, const QString& headers);
    void failSoon(int code, const QString& info);
    void finish(int code, const QString& info);
    void onFinished(QNetworkReply* reply);
    void onReadyRead(QNetworkReply* reply);
    void advanceTo(int state);
    void abortFor(int code);
    void touch();
    bool waitForEnd();
    void takeAll();
    void resetReply();

    QNetworkAccessManager* nam_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QTimer idleTimer_;
    QTimer totalTimer_;

    QString url_, userName_, password_;
    const int requestTimeoutMs_;
    const int totalTimeoutMs_;
    const qint64 maxReplyBytes_;

    bool executing_ = false;
    bool finishing_ = false;
    bool proxyAuthOffered_ = false;
    quint64 serial_ = 0;  // one per request, so late signals of an old one are ignored
    int abortCode_ = 0;   // why we aborted the reply ourselves
    int lastState_ = kNoState;

    QByteArray body_;
    QString contentType_;
    bool storable_ = true;
    QString text_;
    TextEncoding encoding_;
    bool textReady_ = false;
    qsizetype byteCursor_ = 0;
    qsizetype textCursor_ = 0;

    int responseCode_ = 0;
    QString responseInfo_;
    int httpStatus_ = 0;
    QNetworkReply::NetworkError networkError_ = QNetworkReply::NoError;
};

}  // namespace platform
