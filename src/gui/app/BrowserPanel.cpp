// The embedded browser in its panel, its events, and the window's transfer control.
#include "gui/app/BrowserPanel.h"

#include "gui/app/LogoWidget.h"
#include "gui/app/NavigationHub.h"
#include "gui/frame/WindowFrame.h"
#include "core/commands/modMTP.h"
#include "core/program/ProgramContext.h"
#include "platform/Inet.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/WebBrowser.h"

#include <QFrame>
#include <QVBoxLayout>

BrowserPanel::BrowserPanel(QObject* pane, ProgramContext& context, WindowFrame& frame, NavigationHub& hub,
                           NavigationToolbar& toolbar, LogoWidget& logo)
    : QObject(pane), context(context), frame(frame), hub(hub), logo(logo) {
    auto* panel = new QFrame(frame.clientArea());
    panel_ = panel;
    panel->setObjectName(QStringLiteral("BrowserPanel"));
    panel->setFrameShape(QFrame::StyledPanel);
    WebBrowser1 = platform::createWebBrowser(panel, frame.modalRuns());
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    auto* browserLayout = new QVBoxLayout(panel);
    browserLayout->setContentsMargins(1, 1, 1, 1);
    browserLayout->addWidget(WebBrowser1->widget());
    connect(WebBrowser1, &platform::WebBrowser::beforeNavigate, this,
            [this](platform::BeforeNavigateEvent& event) { this->hub.WebBrowser1_BeforeNavigate2(event); });
    connect(WebBrowser1, &platform::WebBrowser::newWindow, this, &BrowserPanel::WebBrowser1_NewWindow);
    connect(WebBrowser1, &platform::WebBrowser::downloadBegin, this, &BrowserPanel::WebBrowser1_DownloadBegin);
    connect(WebBrowser1, &platform::WebBrowser::downloadComplete, this, &BrowserPanel::WebBrowser1_DownloadComplete);
    connect(WebBrowser1, &platform::WebBrowser::commandStateChange, &toolbar,
            &NavigationToolbar::WebBrowser1_CommandStateChange);
    connect(WebBrowser1, &platform::WebBrowser::statusTextChange, this, &BrowserPanel::WebBrowser1_StatusTextChange);
    connect(WebBrowser1, &platform::WebBrowser::titleChange, this, &BrowserPanel::WebBrowser1_TitleChange);
    connect(WebBrowser1, &platform::WebBrowser::onVisible, this, &BrowserPanel::WebBrowser1_OnVisible);

    Inet1 = new platform::Inet(context.transferProxy, this);
    Inet1->setObjectName(QStringLiteral("Inet1"));
    connect(Inet1, &platform::Inet::StateChanged, this, &BrowserPanel::Inet1_StateChanged);
}

QString BrowserPanel::browserLocationURL() const {
    return WebBrowser1 ? WebBrowser1->LocationURL() : QString();
}

QString BrowserPanel::browserLocationName() const {
    return WebBrowser1 ? WebBrowser1->LocationName() : QString();
}

QString BrowserPanel::linkNameOnPage(const QString& address) const {
    return findLinkName(WebBrowser1->Document(), address);
}

void BrowserPanel::focusBrowser() {
    if (WebBrowser1) WebBrowser1->widget()->setFocus();
    else panel_->setFocus();
}

// The browser prints the page it shows, through its own print dialog.
void BrowserPanel::PrintPage() {
    if (!(WebBrowser1->QueryStatusWB(platform::kPrintCommand) & platform::kCommandEnabled)) {
        context.user.MsgBox(QStringLiteral("The Print command is currently disabled."));
        return;
    }
    QString error;
    if (!WebBrowser1->ExecWB(platform::kPrintCommand, platform::kExecPromptUser, &error))
        context.user.MsgBox(QStringLiteral("Print command Error: ") + error);
}

void BrowserPanel::stop() {
    if (WebBrowser1) WebBrowser1->Stop();
}

void BrowserPanel::Inet1_StateChanged(int state) {
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, platform::Inet::stateText(state));
}

void BrowserPanel::WebBrowser1_NewWindow(platform::NewWindowEvent& event) {
    // The page never gets a window of this process: web and file addresses open in a
    // second copy of the program; a command asked for a new window runs here, as the page's.
    event.cancel = true;
    const QString address = event.address;
    // Only the user's own click opens anything: a page that opens windows by itself (one
    // that opens itself again on every load, say) would start copy after copy.
    if (!event.userInitiated) {
        frame.statusBar().setPanelText(WindowFrame::kActivityPanel,
                                 QStringLiteral("A new window the page asked for by itself was not opened: ") + address);
        return;
    }
    if (address.startsWith(QLatin1String("mtp://"), Qt::CaseInsensitive) ||
        address.contains(QLatin1String(".kq"), Qt::CaseInsensitive)) {
        platform::BeforeNavigateEvent here;
        here.address = address.startsWith(QLatin1String("mtp://"), Qt::CaseInsensitive)
                           ? QStringLiteral("mtp://") + address.mid(6)
                           : address;
        here.programStarted = false;
        here.userGesture = event.userGesture;
        hub.WebBrowser1_BeforeNavigate2(here);
        return;
    }
    if (platform::isWebAddress(address) || platform::isLocalPath(address)) hub.startSecondInstance(address);
}

void BrowserPanel::WebBrowser1_DownloadBegin() {
    notice_.clear();
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, QStringLiteral("Downloading..."));
}

void BrowserPanel::WebBrowser1_DownloadComplete() {
    lastDownload_ = {WebBrowser1->LocationName(), WebBrowser1->LocationURL()};
    // What the page tried while it loaded stays in sight.
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, notice_.isEmpty() ? QStringLiteral("Ready") : notice_);
    hub.armNextRead();
    if (!lastDownload_.text.isEmpty()) frame.clientArea()->window()->setWindowTitle(lastDownload_.text);
    logo.Stop();
}

void BrowserPanel::showNotice(const QString& text) {
    notice_ = text;
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, text);
}

void BrowserPanel::WebBrowser1_StatusTextChange(const QString& text) {
    // A link's address is shown as the question about it would show it: nothing hidden, nothing turned round.
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, modMTP::commandAsAsked(text));
}

void BrowserPanel::WebBrowser1_TitleChange(const QString& title) {
    if (!title.isEmpty()) frame.clientArea()->window()->setWindowTitle(title);
}

void BrowserPanel::WebBrowser1_OnVisible(bool visible) {
    if (!visible) frame.clientArea()->window()->close();
}

QString BrowserPanel::findLinkName(const platform::PageDocument& document, const QString& address) {
    if (!document.readable) return QStringLiteral("Untitled");
    QString result;
    for (const platform::PageLink& link : document.links) {
        if (link.href != address) continue;
        result = !link.outerText.isEmpty() ? link.outerText : !link.alt.isEmpty() ? link.alt : QStringLiteral("Untitled");
    }
    for (const platform::PageDocument& frame : document.frames) {
        const QString inFrame = findLinkName(frame, address);
        if (!inFrame.isEmpty()) result = inFrame;
    }
    return result;
}
