#include "support/OfflineBrowser.h"

#include "platform/BrowserAddress.h"
#include "platform/SchemeBundle.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QRegularExpression>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace testing_support {

using namespace platform;

namespace {

// The text a browser shows for an address: a URL's own form; a command as written.
QString shownAddress(const QString& address) {
    if (isCommandAddress(address)) return address;
    const QString shown = addressOfUrl(urlForAddress(address));
    return shown.isEmpty() ? address : shown;
}

}  // namespace

OfflineBrowser::OfflineBrowser(QObject* parent) : WebBrowser(parent) {
    loadTimer_.setSingleShot(true);
    loadTimer_.setInterval(0);
    connect(&loadTimer_, &QTimer::timeout, this, &OfflineBrowser::finishPending);
}

OfflineBrowser::~OfflineBrowser() {
    delete widget_.data();
}

QWidget* OfflineBrowser::widget() {
    if (!widget_) widget_ = new QWidget(qobject_cast<QWidget*>(parent()));
    return widget_;
}

void OfflineBrowser::queueLoad(const Load& load) {
    pending_ = load;
    loadTimer_.start();
}

void OfflineBrowser::settle() {
    // Bounded, in case handlers keep starting new loads.
    for (int i = 0; pending_ && i < 100; ++i) finishPending();
}

void OfflineBrowser::finishPending() {
    if (!pending_) return;
    const Load load = *pending_;
    pending_.reset();
    loadTimer_.stop();

    Q_EMIT downloadBegin();
    pageLoadBegan();
    const QString oldTitle = shown_ ? title_ : QString();
    address_ = title_ = shownAddress(load.address);
    QString html;
    if (pages_.contains(address_)) {
        html = pages_.value(address_);
    } else if (const QUrl url = urlForAddress(load.address); url.isLocalFile()) {
        QFile file(url.toLocalFile());
        if (file.open(QIODevice::ReadOnly)) html = decodePageBytes(file.readAll()).text;
    } else if (SchemeBundle::isOwnHost(url.host())) {
        // The program's own hosts are there without a network, as for the engine.
        const SchemeBundle::Answer answer = SchemeBundle::answerForAddress(address_);
        html = decodePageBytes(answer.body, QString::fromLatin1(answer.contentType)).text;
    }
    readLinks(html);
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    if (const QString text = title.match(html).captured(1).simplified(); !text.isEmpty()) title_ = text;
    shown_ = true;
    bodyHtml_.clear();
    if (load.historyIndex >= 0) {
        historyIndex_ = load.historyIndex;
    } else if (!load.refresh) {
        history_.resize(historyIndex_ + 1);
        history_.append(address_);
        historyIndex_ = int(history_.size()) - 1;
    }
    reportCommandStates(historyIndex_ > 0, historyIndex_ + 1 < history_.size());
    if (title_ != oldTitle) Q_EMIT titleChange(title_);
    Q_EMIT downloadComplete();
}

void OfflineBrowser::readLinks(const QString& html) {
    static const QRegularExpression link(QStringLiteral("<(?:a|area)\\s[^>]*?\\bhref\\s*=\\s*([\"'])(.*?)\\1"),
                                         QRegularExpression::CaseInsensitiveOption);
    links_.clear();
    for (const QRegularExpressionMatch& match : link.globalMatch(html))
        links_.append(PageLink{match.captured(2).replace(QStringLiteral("&amp;"), QStringLiteral("&")), {}, {}, {}});
}

bool OfflineBrowser::clickLink(const QString& href, bool byUser) {
    if (std::none_of(links_.begin(), links_.end(), [&](const PageLink& link) { return link.href == href; }))
        return false;
    LinkClick click;
    click.href = href;
    click.baseAddress = address_;
    click.userInitiated = byUser;
    const QString address = activateLink(click);
    if (!address.isEmpty()) startNavigation(address, 0);
    return true;
}

void OfflineBrowser::scriptNavigate(const QString& address, const QString& frame) {
    BeforeNavigateEvent event;
    event.address = address;
    event.source = NavigationSource::Script;
    event.topFrame = frame.isEmpty();
    event.targetFrame = frame;
    // A frame's page is not this browser's to show.
    if (raiseBeforeNavigate(event) && event.topFrame && !isCommandAddress(address) && !address.trimmed().isEmpty())
        startNavigation(address, 0);
}

void OfflineBrowser::addPage(const QString& address, const QString& html) {
    pages_.insert(shownAddress(address), html);
}

bool OfflineBrowser::moveInHistory(int step) {
    const int target = historyIndex_ + step;
    if (historyIndex_ < 0 || target < 0 || target >= history_.size()) return false;
    BeforeNavigateEvent event;
    event.address = history_.at(target);
    event.programStarted = true;
    event.source = NavigationSource::History;
    if (raiseBeforeNavigate(event)) queueLoad({history_.at(target), target});
    return true;
}

void OfflineBrowser::Stop() {
    pending_.reset();
    loadTimer_.stop();
}

void OfflineBrowser::Refresh2(int) {
    if (shown_) queueLoad({address_, -1, true});
}

int OfflineBrowser::QueryStatusWB(int command) const {
    if (command != kPrintCommand) return 0;
    return kCommandSupported | (shown_ ? kCommandEnabled : 0);
}

bool OfflineBrowser::ExecWB(int command, int option, QString* errorText) {
    const QString failure = !(QueryStatusWB(command) & kCommandEnabled) ? QStringLiteral("There is no page to print.")
                                                                         : std::exchange(printFailure_, QString());
    if (!failure.isEmpty()) {
        if (errorText) *errorText = failure;
        return false;
    }
    printRequests_.append(option);
    return true;
}

PageDocument OfflineBrowser::Document() const {
    return shown_ ? PageDocument{address_, true, links_, {}} : PageDocument();
}

void OfflineBrowser::setBodyHtml(const QString& html) {
    pending_.reset();  // the text takes the place of a page still loading
    loadTimer_.stop();
    bodyHtml_ = html;
    if (!shown_) address_ = QStringLiteral("about:blank");
    shown_ = true;
    title_.clear();
    readLinks(html);
}

void useOfflineBrowsers() {
    setWebBrowserFactory([](QWidget* parent, platform::ModalRuns&) -> WebBrowser* { return new OfflineBrowser(parent); });
}

OfflineBrowser& offlineBrowser(WebBrowser* browser) {
    return *qobject_cast<OfflineBrowser*>(browser);
}

}  // namespace testing_support
