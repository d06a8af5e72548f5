#include "support/OfflineBrowser.h"

#include "platform/BrowserAddress.h"
#include "support/HtmlLinks.h"

#include <QFile>
#include <QStringDecoder>
#include <QWidget>

namespace testing_support {

using namespace platform;

namespace {

// Frames inside frames deeper than this are left empty (a browser stops too).
constexpr int kMaxFrameDepth = 8;
// settle() stops after this many loads, in case handlers keep starting new ones.
constexpr int kMaxSettleLoads = 100;

const QString kBlankPage = QStringLiteral("about:blank");

QString decodePage(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder declared = QStringDecoder::decoderForHtml(bytes);
    if (declared.isValid() && QByteArray(declared.name()).compare("UTF-8", Qt::CaseInsensitive) != 0) {
        return declared.decode(bytes);
    }
    QStringDecoder windows1252("Windows-1252");
    return windows1252.isValid() ? QString(windows1252.decode(bytes)) : QString::fromLatin1(bytes);
}

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

void OfflineBrowser::beforeNavigateDecided(const BeforeNavigateEvent& event) {
    Navigation record;
    record.address = event.address;
    record.targetFrame = event.targetFrame;
    record.topFrame = event.topFrame;
    record.programStarted = event.programStarted;
    record.source = event.source;
    record.flags = event.flags;
    if (event.cancel) {
        record.outcome = Outcome::Cancelled;
    } else if (isCommandAddress(event.address) || event.address.trimmed().isEmpty()) {
        record.outcome = Outcome::NotShown;
    }
    navigations_.append(record);
    lastRecord_ = int(navigations_.size()) - 1;
}

void OfflineBrowser::newWindowDecided(const NewWindowEvent& event, bool dropped) {
    newWindows_.append(NewWindowRequest{event.address, event.userInitiated, event.cancel, dropped});
}

void OfflineBrowser::startNavigation(const QString& address, int flags) {
    Q_UNUSED(flags);
    PendingLoad load;
    load.record = lastRecord_;
    load.address = address;
    queueLoad(load);
}

void OfflineBrowser::queueLoad(const PendingLoad& load) {
    if (pending_ && pending_->record >= 0) navigations_[pending_->record].outcome = Outcome::Superseded;
    pending_ = load;
    loadTimer_.start();
}

void OfflineBrowser::settle() {
    for (int i = 0; pending_ && i < kMaxSettleLoads; ++i) finishPending();
}

void OfflineBrowser::finishPending() {
    if (!pending_) return;
    const PendingLoad load = *pending_;
    pending_.reset();
    loadTimer_.stop();

    Q_EMIT downloadBegin();
    pageLoadBegan();
    Frame fresh;
    QStringList chain;
    const bool found = readFrame(fresh, load.address, 0, chain);
    const QString oldTitle = shown_ ? page_.title : QString();
    page_ = std::move(fresh);
    shown_ = true;
    bodyHtml_.clear();
    if (load.record >= 0 && load.record < navigations_.size()) {
        navigations_[load.record].outcome = found ? Outcome::Loaded : Outcome::Missing;
    }
    if (!load.refresh) {
        if (load.historyIndex >= 0 && load.historyIndex < history_.size()) {
            historyIndex_ = load.historyIndex;
        } else {
            while (history_.size() > historyIndex_ + 1) history_.removeLast();
            history_.append(page_.address);
            historyIndex_ = int(history_.size()) - 1;
        }
    }
    reportCommandStates(historyIndex_ > 0, historyIndex_ + 1 < history_.size());
    if (page_.title != oldTitle) Q_EMIT titleChange(page_.title);
    Q_EMIT downloadComplete();
}

bool OfflineBrowser::readFrame(Frame& frame, const QString& address, int depth, QStringList& chain) {
    frame.address = shownAddress(address);
    frame.base = frame.address;
    frame.title = frame.address;
    frame.readable = true;
    QString html;
    bool found = false;
    if (frame.address == kBlankPage) {
        found = true;
    } else if (pages_.contains(frame.address)) {
        html = pages_.value(frame.address);
        frame.readable = pageReadable_.value(frame.address, true);
        found = true;
    } else if (!isCommandAddress(address)) {
        const QUrl url = urlForAddress(address);
        if (url.isLocalFile()) {
            QFile file(url.toLocalFile());
            if (file.open(QIODevice::ReadOnly)) {
                html = decodePage(file.readAll());
                found = true;
            }
        }
    }
    if (found) fillFrame(frame, html, depth, chain);
    return found;
}

void OfflineBrowser::fillFrame(Frame& frame, const QString& html, int depth, QStringList& chain) {
    const HtmlLinkScan scan = scanHtmlLinks(html);
    if (!scan.title.isEmpty()) frame.title = scan.title;
    if (!scan.baseHref.isEmpty()) frame.base = linkAddress(scan.baseHref, frame.address);
    frame.baseTarget = scan.baseTarget;
    frame.links = scan.links;
    frame.frames.clear();
    chain.append(frame.address);
    for (const HtmlFrameRef& ref : scan.frames) {
        Frame child;
        child.name = ref.name;
        const QString src = trimmedHref(ref.src).isEmpty() ? kBlankPage : linkAddress(ref.src, frame.base);
        // A frame that would show one of its own ancestors stays empty.
        if (depth + 1 >= kMaxFrameDepth || chain.contains(shownAddress(src))) {
            child.address = child.title = shownAddress(src);
        } else {
            readFrame(child, src, depth + 1, chain);
        }
        frame.frames.push_back(std::move(child));
    }
    chain.removeLast();
}

OfflineBrowser::Frame* OfflineBrowser::frameAt(const std::vector<int>& path) {
    Frame* frame = &page_;
    for (const int index : path) {
        if (index < 0 || index >= int(frame->frames.size())) return nullptr;
        frame = &frame->frames[index];
    }
    return frame;
}

OfflineBrowser::Frame* OfflineBrowser::findFrameNamed(Frame& frame, const QString& name, std::vector<int>& path) {
    for (int i = 0; i < int(frame.frames.size()); ++i) {
        path.push_back(i);
        if (frame.frames[i].name == name) return &frame.frames[i];
        if (Frame* found = findFrameNamed(frame.frames[i], name, path)) return found;
        path.pop_back();
    }
    return nullptr;
}

std::optional<OfflineBrowser::LinkPlace> OfflineBrowser::findLink(const QString& href) const {
    if (!shown_) return std::nullopt;
    // Depth first, the links of a document before those of its frames.
    std::vector<std::pair<const Frame*, std::vector<int>>> stack{{&page_, {}}};
    while (!stack.empty()) {
        auto [frame, path] = std::move(stack.back());
        stack.pop_back();
        for (const PageLink& link : frame->links) {
            if (link.href == href) return LinkPlace{path, link};
        }
        for (int i = int(frame->frames.size()) - 1; i >= 0; --i) {
            std::vector<int> childPath = path;
            childPath.push_back(i);
            stack.emplace_back(&frame->frames[i], std::move(childPath));
        }
    }
    return std::nullopt;
}

bool OfflineBrowser::clickLink(const QString& href) {
    const std::optional<LinkPlace> place = findLink(href);
    if (!place) return false;
    const Frame* origin = frameAt(place->framePath);
    const QString target = trimmedHref(place->link.target.isEmpty() ? origin->baseTarget : place->link.target);
    const QString lower = target.toLower();

    std::vector<int> destination;
    bool newWindow = false;
    if (lower.isEmpty() || lower == QLatin1String("_self")) {
        destination = place->framePath;
    } else if (lower == QLatin1String("_top")) {
        destination.clear();
    } else if (lower == QLatin1String("_parent")) {
        destination = place->framePath;
        if (!destination.empty()) destination.pop_back();
    } else if (lower == QLatin1String("_blank") || !findFrameNamed(page_, target, destination)) {
        newWindow = true;
    }

    LinkClick click;
    click.href = href;
    click.baseAddress = origin->base;
    click.newWindow = newWindow;
    click.topFrame = !newWindow && destination.empty();
    if (!newWindow && !click.topFrame) {
        const Frame* shownIn = frameAt(destination);
        click.targetFrame = shownIn && !shownIn->name.isEmpty() ? shownIn->name : target;
    }
    const std::vector<int> destinationPath = destination;
    const QString address = activateLink(click);
    if (address.isEmpty() || newWindow) return true;
    if (click.topFrame) {
        startNavigation(address, 0);
        return true;
    }
    loadFrame(destinationPath, address);
    return true;
}

void OfflineBrowser::loadFrame(const std::vector<int>& path, const QString& address) {
    // The before-navigate handler may have changed the page: look the frame up again.
    Frame* frame = frameAt(path);
    if (!frame || path.empty()) return;
    QStringList chain;
    for (size_t length = 0; length < path.size(); ++length) {
        const Frame* ancestor = frameAt(std::vector<int>(path.begin(), path.begin() + length));
        if (ancestor) chain.append(ancestor->address);
    }
    Frame fresh;
    fresh.name = frame->name;
    const bool found = readFrame(fresh, address, int(path.size()), chain);
    *frame = std::move(fresh);
    if (lastRecord_ >= 0) navigations_[lastRecord_].outcome = found ? Outcome::Loaded : Outcome::Missing;
}

bool OfflineBrowser::hoverLink(const QString& href) {
    if (href.isEmpty()) {
        Q_EMIT statusTextChange(QString());
        return true;
    }
    const std::optional<LinkPlace> place = findLink(href);
    if (!place) return false;
    Q_EMIT statusTextChange(linkAddress(href, frameAt(place->framePath)->base));
    return true;
}

void OfflineBrowser::scriptNavigate(const QString& address) {
    BeforeNavigateEvent event;
    event.address = address;
    event.source = NavigationSource::Script;
    if (raiseBeforeNavigate(event) && !isCommandAddress(address) && !address.trimmed().isEmpty()) {
        startNavigation(address, 0);
    }
}

bool OfflineBrowser::frameNavigate(const QString& frameName, const QString& address) {
    std::vector<int> path;
    if (frameName.isEmpty() || !findFrameNamed(page_, frameName, path)) return false;
    BeforeNavigateEvent event;
    event.address = address;
    event.targetFrame = frameName;
    event.topFrame = false;
    event.source = NavigationSource::Script;
    if (raiseBeforeNavigate(event) && !isCommandAddress(address) && !address.trimmed().isEmpty()) {
        loadFrame(path, address);
    }
    return true;
}

void OfflineBrowser::openNewWindow(const QString& address, bool userInitiated) {
    requestNewWindow(address, userInitiated);
}

void OfflineBrowser::closeWindow() {
    Q_EMIT onVisible(false);
}

void OfflineBrowser::addPage(const QString& address, const QString& html, bool readableInFrame) {
    const QString key = shownAddress(address);
    pages_.insert(key, html);
    pageReadable_.insert(key, readableInFrame);
}

bool OfflineBrowser::moveInHistory(int step) {
    const int target = historyIndex_ + step;
    if (historyIndex_ < 0 || target < 0 || target >= history_.size()) return false;
    BeforeNavigateEvent event;
    event.address = history_.at(target);
    event.programStarted = true;
    event.source = NavigationSource::History;
    if (raiseBeforeNavigate(event)) {
        PendingLoad load;
        load.record = lastRecord_;
        load.address = history_.at(target);
        load.historyIndex = target;
        queueLoad(load);
    }
    return true;
}

bool OfflineBrowser::GoBack() {
    return moveInHistory(-1);
}

bool OfflineBrowser::GoForward() {
    return moveInHistory(1);
}

void OfflineBrowser::Stop() {
    if (!pending_) return;
    if (pending_->record >= 0) navigations_[pending_->record].outcome = Outcome::Stopped;
    pending_.reset();
    loadTimer_.stop();
}

void OfflineBrowser::Refresh2(int level) {
    Q_UNUSED(level);
    if (!shown_) return;
    ++refreshCount_;
    PendingLoad load;
    load.address = page_.address;
    load.refresh = true;
    queueLoad(load);
}

int OfflineBrowser::QueryStatusWB(int command) const {
    if (command != OLECMDID_PRINT) return 0;
    return OLECMDF_SUPPORTED | (shown_ ? OLECMDF_ENABLED : 0);
}

bool OfflineBrowser::ExecWB(int command, int option, QString* errorText) {
    QString failure;
    if (command != OLECMDID_PRINT) {
        failure = QStringLiteral("The command is not supported.");
    } else if (!(QueryStatusWB(command) & OLECMDF_ENABLED)) {
        failure = QStringLiteral("There is no page to print.");
    } else if (!printFailure_.isEmpty()) {
        failure = printFailure_;
        printFailure_.clear();
    }
    if (!failure.isEmpty()) {
        if (errorText) *errorText = failure;
        return false;
    }
    printRequests_.append(option);
    return true;
}

QString OfflineBrowser::LocationURL() const {
    return shown_ ? page_.address : QString();
}

QString OfflineBrowser::LocationName() const {
    return shown_ ? page_.title : QString();
}

bool OfflineBrowser::Busy() const {
    return pending_.has_value();
}

PageDocument OfflineBrowser::toDocument(const Frame& frame) const {
    PageDocument document;
    document.address = frame.address;
    document.readable = frame.readable;
    if (!frame.readable) return document;
    document.links = frame.links;
    document.frames.reserve(frame.frames.size());
    for (const Frame& child : frame.frames) document.frames.push_back(toDocument(child));
    return document;
}

PageDocument OfflineBrowser::Document() const {
    return shown_ ? toDocument(page_) : PageDocument();
}

void OfflineBrowser::setBodyHtml(const QString& html) {
    bodyHtml_ = html;
    const QString address = shown_ ? page_.address : kBlankPage;
    page_ = Frame();
    page_.address = page_.base = address;
    shown_ = true;
    QStringList chain;
    fillFrame(page_, html, 0, chain);
    page_.title = QString();
}

void useOfflineBrowsers() {
    setWebBrowserFactory([](QWidget* parent) -> WebBrowser* { return new OfflineBrowser(parent); });
}

OfflineBrowser& offlineBrowser(WebBrowser* browser) {
    return *qobject_cast<OfflineBrowser*>(browser);
}

}  // namespace testing_support
