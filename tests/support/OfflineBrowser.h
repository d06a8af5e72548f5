#pragma once
#include "platform/widgets/WebBrowser.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <optional>

// A browser without an engine, for tests: it shows local files, the program's own hosts
// (from the scheme bundle) and pages a test hands it, keeps every before-navigate and a
// back/forward history, and raises the adapter's events in the engine's order:
// before-navigate at once; download begin, command states, title and download complete
// when the load is carried out (next event-loop turn, or settle()).
namespace testing_support {

class OfflineBrowser : public platform::WebBrowser {
    Q_OBJECT
public:
    explicit OfflineBrowser(QObject* parent = nullptr);
    ~OfflineBrowser() override;

    QWidget* widget() override;
    bool GoBack() override { return moveInHistory(-1); }
    bool GoForward() override { return moveInHistory(1); }
    void Stop() override;
    void Refresh2(int level) override;
    int QueryStatusWB(int command) const override;
    bool ExecWB(int command, int option, QString* errorText = nullptr) override;
    QString LocationURL() const override { return address_; }
    QString LocationName() const override { return title_; }
    bool Busy() const override { return pending_.has_value(); }
    platform::PageDocument Document() const override;
    void setBodyHtml(const QString& html) override;

    // Every before-navigate raised, in order, as its handlers left it.
    const QList<platform::BeforeNavigateEvent>& navigations() const { return navigations_; }
    // Carries out the waiting load now (and any load its handlers start, up to a limit).
    void settle();
    // Loads finish this long after they start (a slow page), not on the next turn.
    void setLoadDelay(int ms) { loadTimer_.setInterval(ms); }
    // Serves this page for an address instead of the disk or the bundle (a web address, say).
    void addPage(const QString& address, const QString& html);
    // The user clicks the first link whose href is exactly this (or, with byUser false, a
    // script of the page calls the link's click()); false when there is none.
    bool clickLink(const QString& href, bool byUser = true);
    // A script of the page navigates it to the address (a refresh, a form it sends itself,
    // a redirect all arrive so); with a frame name, the script navigates that frame.
    void scriptNavigate(const QString& address, const QString& frame = QString());
    // A script (or, with userInitiated, the user's click on a link) asks for a new window.
    void openNewWindow(const QString& address, bool userInitiated = false) {
        requestNewWindow(address, userInitiated, userInitiated);
    }
    // Every ExecWB print with its option; a failure the next print reports.
    const QList<int>& printRequests() const { return printRequests_; }
    void failNextPrint(const QString& description) { printFailure_ = description; }
    // The text last given to setBodyHtml.
    QString bodyHtml() const { return bodyHtml_; }

protected:
    void startNavigation(const QString& address, int) override { queueLoad({address}); }
    void beforeNavigateDecided(const platform::BeforeNavigateEvent& event) override { navigations_ << event; }

private:
    struct Load {
        QString address;
        int historyIndex = -1;  // a back/forward move to this entry
        bool refresh = false;
    };
    void queueLoad(const Load& load);
    void finishPending();
    bool moveInHistory(int step);
    void readLinks(const QString& html);

    QPointer<QWidget> widget_;
    QTimer loadTimer_;
    QList<platform::BeforeNavigateEvent> navigations_;
    QHash<QString, QString> pages_;
    std::optional<Load> pending_;
    bool shown_ = false;
    QString address_, title_, bodyHtml_, printFailure_;
    QList<platform::PageLink> links_;
    QStringList history_;
    int historyIndex_ = -1;
    QList<int> printRequests_;
};

// From now on the windows of the tests show offline browsers.
void useOfflineBrowsers();
// The offline browser a window of the tests shows.
OfflineBrowser& offlineBrowser(platform::WebBrowser* browser);

}  // namespace testing_support
