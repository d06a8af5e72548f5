#pragma once
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

// The embedded web browser as the program sees it: the events its navigation hub handles
// and the operations the menus, toolbar and commands call. Addresses are QString from end
// to end: an "mtp:" command is never turned into a QUrl (QUrl rejects or rewrites them) and
// never reaches the engine.
namespace platform {

class ModalRuns;

// Command numbers of commandStateChange.
enum BrowserCommandState : int { kUpdateCommands = -1, kForwardCommand = 1, kBackCommand = 2 };

// Flags of Navigate. Only kNoReadFromCache changes what the engine does; all of them are
// handed to the before-navigate handler as given.
enum BrowserNavigateFlag : int {
    kOpenInNewWindow = 1,
    kNoHistory = 2,
    kNoReadFromCache = 4,
    kNoWriteToCache = 8,
};

// Levels of Refresh2. kRefreshContinue and kRefreshCompletely reload bypassing the cache.
enum BrowserRefreshLevel : int {
    kRefreshNormal = 0,
    kRefreshIfExpired = 1,
    kRefreshContinue = 2,
    kRefreshCompletely = 3,
};

// The print command of QueryStatusWB / ExecWB, its status bits and execution options.
enum BrowserOleCommand : int { kPrintCommand = 6 };
enum BrowserOleCommandStatus : int { kCommandSupported = 1, kCommandEnabled = 2 };
enum BrowserOleExecOption : int {
    kExecDefault = 0,
    kExecPromptUser = 1,
    kExecDontPromptUser = 2,
};

// What started a navigation.
enum class NavigationSource {
    Program,    // Navigate / GoSearch
    History,    // back or forward
    Link,       // a link clicked (also a link inside a frame; by a script's click() too: see userGesture)
    Script,     // a page script, a form, a frame loading its page, anything else the page did
    Redirect,   // a server redirect
    NewWindow,  // the address of a new-window request that was not cancelled
};

// Raised before the engine sees an address; the handler sets cancel to stop it.
struct BeforeNavigateEvent {
    // Links: the href exactly as written in the page (commands untouched, relative web
    // links resolved against the document address). Scripts and redirects: the engine's
    // address with non-ASCII text decoded. Program navigations: the text given to Navigate.
    QString address;
    // Name of the frame shown the page; "" for the top frame (and for unnamed frames).
    QString targetFrame;
    // The navigation replaces the top-level page (not a frame inside it).
    bool topFrame = true;
    // The program asked for it (Navigate, GoSearch, GoBack, GoForward); a page did not.
    bool programStarted = false;
    // The user's own click or key press on a link or submit button of the top document
    // started it. Never for a script's navigation or click(), a refresh, a form the page sent
    // itself, a redirect, a frame's load, or a window a script opened.
    bool userGesture = false;
    NavigationSource source = NavigationSource::Program;
    // The flags given to Navigate; 0 for every other navigation.
    int flags = 0;
    bool cancel = false;
};

// A page asks for a new window (a link with a target that opens one, window.open, ...).
// When the handler does not cancel, before-navigate is raised for the address (source
// NewWindow, top frame) and, if that is not cancelled either, this browser shows it.
struct NewWindowEvent {
    QString address;
    // A click of the user asked for it rather than a script on its own.
    bool userInitiated = false;
    // It is a link the user clicked (as BeforeNavigateEvent::userGesture); a script that
    // opens a window while handling a click is userInitiated, but no gesture on a link.
    bool userGesture = false;
    bool cancel = false;
};

// One link of a document: href exactly as written, its visible text, the alt text of an
// image inside it (an image-map area's own alt), and its target attribute.
struct PageLink {
    QString href;
    QString outerText;
    QString alt;
    QString target;
};

// A document with its links and the documents of its frames, in page order. readable is
// false for a frame the browser may not look into (another site); it has no links then.
struct PageDocument {
    QString address;
    bool readable = true;
    QList<PageLink> links;
    std::vector<PageDocument> frames;
};

// The search page GoSearch opens.
inline const QString kDefaultSearchPage = QStringLiteral("https://duckduckgo.com/");

class WebBrowser : public QObject {
    Q_OBJECT
public:
    explicit WebBrowser(QObject* parent = nullptr);
    ~WebBrowser() override;

    // The widget that shows the page; the window lays it out. Never null.
    virtual QWidget* widget() = 0;

    // Raises before-navigate synchronously, before the engine sees the address; returns at
    // once without waiting for the page. A cancelled navigation goes no further, and a
    // command ("mtp:" in any case) never reaches the engine. Empty text does nothing.
    void Navigate(const QString& address, int flags = 0);
    // Back and forward in the browser's own history; false when there is nowhere to go.
    virtual bool GoBack() = 0;
    virtual bool GoForward() = 0;
    virtual void Stop() = 0;
    // Reloads the page shown; raises no before-navigate.
    void Refresh() { Refresh2(kRefreshNormal); }
    virtual void Refresh2(int level) = 0;
    // Navigates to the search page (as a program navigation).
    void GoSearch();

    // Status bits of a command (kCommandSupported, kCommandEnabled); only kPrintCommand is known, others give 0.
    virtual int QueryStatusWB(int command) const = 0;
    // Runs a command; kPrintCommand prints the page, showing the print dialog unless the
    // option is kExecDontPromptUser. False, with a description, when it failed.
    virtual bool ExecWB(int command, int option, QString* errorText = nullptr) = 0;

    // The address of the page shown ("" before any page) and its title.
    virtual QString LocationURL() const = 0;
    virtual QString LocationName() const = 0;
    virtual bool Busy() const = 0;

    // The page shown, its links and its frames' links, as last read from the page.
    virtual PageDocument Document() const = 0;
    // Shows the html as the body of a fresh, empty page in place of the one shown or still
    // loading (scripts in it do not run; nothing of the page before stays).
    virtual void setBodyHtml(const QString& html) = 0;

Q_SIGNALS:
    // Handlers must be connected directly (the default in the GUI thread): they fill in the
    // event's cancel flag before the call returns.
    void beforeNavigate(platform::BeforeNavigateEvent& event);
    void newWindow(platform::NewWindowEvent& event);
    void downloadBegin();
    void downloadComplete();
    void titleChange(const QString& title);
    void statusTextChange(const QString& text);
    void commandStateChange(int command, bool enable);
    // false: the page asked to close the window that shows it.
    void onVisible(bool visible);

protected:
    // Hands an address that passed before-navigate (never a command) to the engine.
    virtual void startNavigation(const QString& address, int flags) = 0;
    // Told of every before-navigate and new-window event once its handlers have decided
    // (a dropped new-window request was never raised).
    virtual void beforeNavigateDecided(const BeforeNavigateEvent& event) { Q_UNUSED(event); }
    virtual void newWindowDecided(const NewWindowEvent& event, bool dropped) {
        Q_UNUSED(event);
        Q_UNUSED(dropped);
    }

    // Raises before-navigate; true when the navigation may go on (not cancelled).
    bool raiseBeforeNavigate(BeforeNavigateEvent& event);
    // Raises new-window and, when not cancelled, before-navigate for the address and then
    // startNavigation. A page gets one new window of its own accord per page load; further
    // requests that no click asked for are dropped, so a page cannot flood the program.
    // Returns false when the request was dropped.
    bool requestNewWindow(const QString& address, bool userInitiated, bool userGesture = false);
    // A new top-level page began loading: the page may ask for a new window again.
    void pageLoadBegan();
    // Reports the back/forward states that changed since the last report.
    void reportCommandStates(bool canGoBack, bool canGoForward);

    // A link of the page was clicked. Returns the address to go to, or "" when the
    // navigation ends here (cancelled, a command, or handed over as a new window).
    struct LinkClick {
        QString href;          // getAttribute("href")
        QString baseAddress;   // the document's base address
        QString targetFrame;   // name of the frame it goes to, "" for the top frame
        bool topFrame = true;  // it replaces the top-level page
        bool newWindow = false;
        bool userInitiated = true;  // a click of the user, not of a script
    };
    QString activateLink(const LinkClick& click);

private:
    bool newWindowUsed_ = false;
    int lastCanGoBack_ = -1;
    int lastCanGoForward_ = -1;
};

// Makes the browsers of the program's windows; the program installs the engine's factory
// at start-up. A factory returns nullptr when its engine cannot make a browser.
using WebBrowserFactory = std::function<WebBrowser*(QWidget* parent, ModalRuns& runs)>;
void setWebBrowserFactory(WebBrowserFactory factory);
// A new browser owned by parent (its widget is a child of parent), its dialogs (print) run
// through `runs`. A window cannot work without one: when there is no factory or it makes no
// browser, the program says so and ends with status 1.
WebBrowser* createWebBrowser(QWidget* parent, ModalRuns& runs);

}  // namespace platform
