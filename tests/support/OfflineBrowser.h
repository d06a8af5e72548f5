#pragma once
#include "platform/WebBrowser.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <optional>
#include <vector>

// A browser without an engine, for tests: it shows local files (and pages a test hands
// it), records every navigation with its outcome, keeps a back/forward history, reads the
// links and frames of the page, and lets a test act as the page (click a link, run a
// script navigation, navigate a frame, ask for a new window). It raises the events of the
// engine's adapter in the same order: before-navigate at once; download begin, command
// states, title and download complete when the load is carried out (on the next turn of
// the event loop, or at once by settle()).
namespace testing_support {

class OfflineBrowser : public platform::WebBrowser {
    Q_OBJECT
public:
    enum class Outcome {
        Pending,     // waiting for the event loop or settle()
        Loaded,      // the page was read
        Missing,     // no such file or page: an empty page is shown
        Cancelled,   // the before-navigate handler cancelled it
        NotShown,    // a command that was not cancelled: nothing can show it
        Stopped,     // Stop() came first
        Superseded,  // another navigation came first
    };

    struct Navigation {
        QString address;
        QString targetFrame;
        bool topFrame = true;
        bool programStarted = false;
        platform::NavigationSource source = platform::NavigationSource::Program;
        int flags = 0;
        Outcome outcome = Outcome::Pending;
    };

    struct NewWindowRequest {
        QString address;
        bool userInitiated = false;
        bool cancelled = false;
        bool dropped = false;  // a page asked for more windows than one per load
    };

    explicit OfflineBrowser(QObject* parent = nullptr);
    ~OfflineBrowser() override;

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
    platform::PageDocument Document() const override;
    void setBodyHtml(const QString& html) override;

    // ---- for tests -------------------------------------------------------------------
    // Every before-navigate raised, in order, with what became of it.
    const QList<Navigation>& navigations() const { return navigations_; }
    const QList<NewWindowRequest>& newWindowRequests() const { return newWindows_; }
    // Carries out the waiting load now (and any load its handlers start, up to a limit).
    void settle();
    // Loads are carried out this long after they start (a slow page), instead of on the
    // next turn of the event loop.
    void setLoadDelay(int ms) { loadTimer_.setInterval(ms); }
    // Serves this page for an address instead of the disk (web addresses, say). A frame
    // showing it can be made unreadable, as a page of another site is to its parent.
    void addPage(const QString& address, const QString& html, bool readableInFrame = true);

    // The user clicks the first link, in page order (frames after their parent), whose
    // href is exactly this text. False when the page has no such link.
    bool clickLink(const QString& href);
    // The mouse rests on that link (status text) or, with "", on no link.
    bool hoverLink(const QString& href);
    // A script of the top page navigates it to the address.
    void scriptNavigate(const QString& address);
    // A script navigates the frame of that name; false when there is no such frame.
    bool frameNavigate(const QString& frameName, const QString& address);
    // A script (or, with userInitiated, a click) asks for a new window.
    void openNewWindow(const QString& address, bool userInitiated = false);
    // The page asks to close its window.
    void closeWindow();

    // Print: every ExecWB print with its option; a failure the next print reports.
    const QList<int>& printRequests() const { return printRequests_; }
    void failNextPrint(const QString& description) { printFailure_ = description; }
    // The text last given to setBodyHtml.
    QString bodyHtml() const { return bodyHtml_; }
    int refreshCount() const { return refreshCount_; }

protected:
    void startNavigation(const QString& address, int flags) override;
    void beforeNavigateDecided(const platform::BeforeNavigateEvent& event) override;
    void newWindowDecided(const platform::NewWindowEvent& event, bool dropped) override;

private:
    struct Frame {
        QString address;    // as shown in LocationURL
        QString base;       // base for relative links
        QString baseTarget;
        QString name;       // frame name ("" for the page itself)
        QString title;
        bool readable = true;
        QList<platform::PageLink> links;
        std::vector<Frame> frames;
    };
    struct PendingLoad {
        int record = -1;
        QString address;
        int historyIndex = -1;  // a back/forward move to this entry
        bool refresh = false;
    };
    struct LinkPlace {
        std::vector<int> framePath;  // indexes from the top page down
        platform::PageLink link;
    };

    void queueLoad(const PendingLoad& load);
    void finishPending();
    bool moveInHistory(int step);
    void loadFrame(const std::vector<int>& path, const QString& address);
    bool readFrame(Frame& frame, const QString& address, int depth, QStringList& chain);
    void fillFrame(Frame& frame, const QString& html, int depth, QStringList& chain);
    Frame* frameAt(const std::vector<int>& path);
    Frame* findFrameNamed(Frame& frame, const QString& name, std::vector<int>& path);
    std::optional<LinkPlace> findLink(const QString& href) const;
    platform::PageDocument toDocument(const Frame& frame) const;

    QPointer<QWidget> widget_;
    QTimer loadTimer_;
    QList<Navigation> navigations_;
    QList<NewWindowRequest> newWindows_;
    QHash<QString, QString> pages_;
    QHash<QString, bool> pageReadable_;
    std::optional<PendingLoad> pending_;
    int lastRecord_ = -1;
    bool shown_ = false;
    Frame page_;
    QStringList history_;
    int historyIndex_ = -1;
    QList<int> printRequests_;
    QString printFailure_;
    QString bodyHtml_;
    int refreshCount_ = 0;
};

// From now on the windows of the tests show offline browsers.
void useOfflineBrowsers();
// The offline browser a window of the tests shows.
OfflineBrowser& offlineBrowser(platform::WebBrowser* browser);

}  // namespace testing_support
