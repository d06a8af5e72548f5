#pragma once
#include "platform/widgets/WebBrowser.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>

#include <memory>
#include <optional>

class QPrinter;
class QWebChannel;
class QWebEngineLoadingInfo;
class QWebEngineNewWindowRequest;
class QWebEngineView;

// The browser of the program on Qt WebEngine.
namespace platform::webengine {

// Registers the "mtp" scheme with the engine. Must run before the QApplication exists:
// call it first in main().
void registerSchemes();

// From now on createWebBrowser() makes engine browsers. Call it once the QApplication
// exists.
void useWebEngineBrowser();

class BrowserBridge;
class BrowserPage;

class WebEngineBrowser : public platform::WebBrowser {
    Q_OBJECT
public:
    // The browser belongs to parent; its view is a child widget of parent. Its print dialog
    // runs through `runs`.
    explicit WebEngineBrowser(platform::ModalRuns& runs, QWidget* parent = nullptr);
    ~WebEngineBrowser() override;

    QWidget* widget() override;
    bool GoBack() override;
    bool GoForward() override;
    void Stop() override;
    void Refresh2(int level) override;
    int QueryStatusWB(int command) const override;
    bool ExecWB(int command, int option, QString* errorText = nullptr) override;
    QString LocationURL() const override;
    QString LocationName() const override;
    bool Busy() const override;
    PageDocument Document() const override;
    void setBodyHtml(const QString& html) override;

    QWebEngineView* view() const;
    QWebEnginePage* page() const;

protected:
    void startNavigation(const QString& address, int flags) override;

private:
    friend class BrowserPage;
    friend class BrowserBridge;

    bool acceptNavigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame);
    void handleScriptMessage(const QString& json);
    void handleNewWindow(QWebEngineNewWindowRequest& request);
    void handleLoading(const QWebEngineLoadingInfo& info);
    void updateCommandStates();
    void beginDownload();
    void writeBodyAfterLoad();

    struct Expected {
        QUrl url;
        bool mainFrame = true;
        QElapsedTimer age;
    };
    static bool takeExpected(QList<Expected>& list, const QUrl& url, bool mainFrame);
    static void dropStale(QList<Expected>& list);

    QPointer<QWebEngineView> view_;
    QPointer<BrowserPage> page_;
    BrowserBridge* bridge_ = nullptr;
    QWebChannel* channel_ = nullptr;
    // Links the user clicked whose navigation the page script carries on with: the engine
    // asks about them again, and they must not be reported twice.
    QList<Expected> followedLinks_;
    // Top-level navigations refused here: the engine still reports a load start and stop
    // for them, which are no download of ours.
    QList<Expected> refused_;
    struct Deciding {
        int id = 0;
        QUrl url;
        bool startSeen = false;
    };
    QList<Deciding> deciding_;
    int lastDecision_ = 0;
    bool historyRequested_ = false;
    // The engine's loading period: whether downloadBegin went out for it, and the address
    // that started it.
    bool loading_ = false;
    bool beganReported_ = false;
    QUrl periodUrl_;
    PageDocument snapshot_;
    // Text for the body of the blank page being loaded for it.
    std::optional<QString> bodyAfterLoad_;
    std::unique_ptr<QPrinter> printer_;
    platform::ModalRuns& runs_;
};

}  // namespace platform::webengine
