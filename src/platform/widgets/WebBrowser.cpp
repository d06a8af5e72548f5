#include "platform/widgets/WebBrowser.h"

#include "platform/BrowserAddress.h"
#include "platform/widgets/UserDialogWindows.h"

#include <QWidget>

#include <cstdlib>

namespace platform {

namespace {
WebBrowserFactory& factory() {
    static WebBrowserFactory instance;
    return instance;
}
}  // namespace

WebBrowser::WebBrowser(QObject* parent) : QObject(parent) {}

WebBrowser::~WebBrowser() = default;

void WebBrowser::Navigate(const QString& address, int flags) {
    if (address.trimmed().isEmpty()) return;
    BeforeNavigateEvent event;
    event.address = address;
    event.programStarted = true;
    event.source = NavigationSource::Program;
    event.flags = flags;
    if (!raiseBeforeNavigate(event) || isCommandAddress(address)) return;
    startNavigation(address, flags);
}

void WebBrowser::GoSearch() {
    Navigate(kDefaultSearchPage);
}

bool WebBrowser::raiseBeforeNavigate(BeforeNavigateEvent& event) {
    event.cancel = false;
    Q_EMIT beforeNavigate(event);
    beforeNavigateDecided(event);
    return !event.cancel;
}

bool WebBrowser::requestNewWindow(const QString& address, bool userInitiated, bool userGesture) {
    NewWindowEvent request;
    request.address = address;
    request.userInitiated = userInitiated;
    request.userGesture = userGesture;
    if (!userInitiated) {
        if (newWindowUsed_) {
            newWindowDecided(request, true);
            return false;
        }
        newWindowUsed_ = true;
    }
    Q_EMIT newWindow(request);
    newWindowDecided(request, false);
    if (request.cancel) return true;

    BeforeNavigateEvent event;
    event.address = address;
    event.topFrame = true;
    event.userGesture = userGesture;
    event.source = NavigationSource::NewWindow;
    if (raiseBeforeNavigate(event) && !isCommandAddress(address) && !address.trimmed().isEmpty()) {
        startNavigation(address, 0);
    }
    return true;
}

void WebBrowser::pageLoadBegan() {
    newWindowUsed_ = false;
}

void WebBrowser::reportCommandStates(bool canGoBack, bool canGoForward) {
    if (lastCanGoForward_ != int(canGoForward)) {
        lastCanGoForward_ = int(canGoForward);
        Q_EMIT commandStateChange(kForwardCommand, canGoForward);
    }
    if (lastCanGoBack_ != int(canGoBack)) {
        lastCanGoBack_ = int(canGoBack);
        Q_EMIT commandStateChange(kBackCommand, canGoBack);
    }
}

QString WebBrowser::activateLink(const LinkClick& click) {
    const QString address = linkAddress(click.href, click.baseAddress);
    if (click.newWindow) {
        requestNewWindow(address, click.userInitiated, click.userInitiated);
        return QString();
    }
    BeforeNavigateEvent event;
    event.address = address;
    event.targetFrame = click.topFrame ? QString() : click.targetFrame;
    event.topFrame = click.topFrame;
    event.userGesture = click.userInitiated;
    event.source = NavigationSource::Link;
    if (!raiseBeforeNavigate(event) || isCommandAddress(address)) return QString();
    return address;
}

void setWebBrowserFactory(WebBrowserFactory newFactory) {
    factory() = std::move(newFactory);
}

WebBrowser* createWebBrowser(QWidget* parent, ModalRuns& runs) {
    QString reason = QStringLiteral("no web engine is installed.");
    if (factory()) {
        if (WebBrowser* browser = factory()(parent, runs)) return browser;
        reason = QStringLiteral("the web engine could not create its view.");
    }
    showMessageBox({QStringLiteral("The web browser could not be started: ") + reason, kCriticalIcon, kDefaultMsgBoxTitle});
    std::exit(EXIT_FAILURE);
}

}  // namespace platform
