#pragma once
// Parts of the engine adapter that only the adapter uses.
#include <QObject>
#include <QString>
#include <QWebEnginePage>
#include <QWebEngineUrlSchemeHandler>

namespace platform::webengine {

class WebEngineBrowser;

// The page script's source: the channel library followed by the link capture.
QString pageScriptSource();

// Fails every request for a command address, so the engine never shows one and still
// asks acceptNavigationRequest about each (without a handler it replaces the page with
// about:blank#blocked and asks nothing).
class FailingSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};

// The page: routes navigation requests to the adapter.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    BrowserPage(QWebEngineProfile* profile, WebEngineBrowser* owner, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;

private:
    WebEngineBrowser* owner_;
};

// The object the page script talks to through the web channel.
class BrowserBridge : public QObject {
    Q_OBJECT
public:
    explicit BrowserBridge(WebEngineBrowser* owner);

public Q_SLOTS:
    // One message of the page script, as JSON text.
    void message(const QString& json);

Q_SIGNALS:
    // The clicked link may be followed.
    void proceed(const QString& id);
    void snapshotRequested();

private:
    WebEngineBrowser* owner_;
};

}  // namespace platform::webengine
