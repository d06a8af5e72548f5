#include "platform/webengine/WebEngineBrowser.h"

#include "platform/BrowserAddress.h"
#include "platform/BundleServer.h"
#include "platform/widgets/Modal.h"
#include "platform/widgets/UserDialogWindows.h"
#include "platform/SchemeBundle.h"
#include "platform/webengine/WebEngineInternals.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QWebChannel>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>

namespace platform::webengine {

namespace {

const QByteArray kCommandScheme = QByteArrayLiteral("mtp");
// How long a followed link or a refused navigation is waited for.
constexpr qint64 kExpectMilliseconds = 10000;
// Deeper frame nesting in a page snapshot is ignored.
constexpr int kMaxSnapshotDepth = 32;

bool isCommandUrl(const QUrl& url) {
    return url.scheme().compare(QLatin1String(kCommandScheme), Qt::CaseInsensitive) == 0;
}

// QUrl compares invalid URLs by identity only; the engine hands out a new one each time.
bool sameUrl(const QUrl& a, const QUrl& b) {
    if (!a.isValid() || !b.isValid()) return !a.isValid() && !b.isValid() && a.errorString() == b.errorString();
    return a == b;
}

QString withoutFragment(const QString& address) {
    const qsizetype hash = address.indexOf(QLatin1Char('#'));
    return hash < 0 ? address : address.left(hash);
}

PageDocument documentFromJson(const QJsonObject& object, int depth) {
    PageDocument document;
    const QString address = object.value(QLatin1String("address")).toString();
    document.address = address.isEmpty() ? QString() : addressOfUrl(QUrl(address));
    document.readable = object.value(QLatin1String("readable")).toBool(true);
    for (const QJsonValue value : object.value(QLatin1String("links")).toArray()) {
        const QJsonObject link = value.toObject();
        document.links.append(PageLink{link.value(QLatin1String("href")).toString(),
                                       link.value(QLatin1String("text")).toString(),
                                       link.value(QLatin1String("alt")).toString(),
                                       link.value(QLatin1String("target")).toString()});
    }
    if (depth < kMaxSnapshotDepth) {
        for (const QJsonValue value : object.value(QLatin1String("frames")).toArray()) {
            document.frames.push_back(documentFromJson(value.toObject(), depth + 1));
        }
    }
    return document;
}

// The program's own hosts reach the engine through the bundle server: the engine's resolver
// takes their names to it, so their pages keep their own addresses everywhere (address box,
// history, links). Chromium reads its flags as its first profile is made; this runs before.
void serveOwnHostsToEngine() {
    static bool done = false;
    if (done) return;
    done = true;
    const QStringList hosts = SchemeBundle::hosts();
    if (hosts.isEmpty()) return;
    const quint16 port = BundleServer::start();
    if (!port) return;
    QStringList rules;
    for (const QString& host : hosts) rules << QStringLiteral("MAP %1 127.0.0.1:%2").arg(host).arg(port);
    // Rules of the user's are kept after ours; ours of a parent copy of the program (whose
    // flags a second window inherits) are replaced.
    QString flags = QString::fromLocal8Bit(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
    static const QRegularExpression given(QStringLiteral("--host-resolver-rules=(\"[^\"]*\"|\\S*)"));
    const QRegularExpressionMatch match = given.match(flags);
    if (match.hasMatch()) {
        QString old = match.captured(1);
        old.remove(QLatin1Char('"'));
        for (const QString& rule : old.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString host = rule.trimmed().section(QLatin1Char(' '), 1, 1);
            if (!SchemeBundle::isOwnHost(host)) rules << rule.trimmed();
        }
        flags.remove(match.capturedStart(), match.capturedLength());
    }
    flags += QStringLiteral(" --host-resolver-rules=\"") + rules.join(QStringLiteral(", ")) + QLatin1Char('"');
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed().toLocal8Bit());
    // A proxy named in the environment is never asked for them.
    for (const char* name : {"no_proxy", "NO_PROXY"}) {
        QByteArray list = qgetenv(name);
        for (const QString& host : hosts) {
            if (list.split(',').contains(host.toLatin1())) continue;
            list += (list.isEmpty() ? "" : ",") + host.toLatin1();
        }
        qputenv(name, list);
    }
}

void installCommandSchemeHandler(QWebEngineProfile* profile) {
    if (!profile->urlSchemeHandler(kCommandScheme)) {
        profile->installUrlSchemeHandler(kCommandScheme, new FailingSchemeHandler(profile));
    }
}

}  // namespace

void registerSchemes() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    // The engine shares its GL contexts with the widgets; Qt wants to hear it this early.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Path syntax keeps a command's text as written (Host syntax lower-cases and escapes it).
    QWebEngineUrlScheme scheme(kCommandScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void useWebEngineBrowser() {
    platform::setWebBrowserFactory([](QWidget* parent, platform::ModalRuns& runs) -> platform::WebBrowser* {
        return new WebEngineBrowser(runs, parent);
    });
}

// ---- helpers of the adapter ------------------------------------------------------------

void FailingSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
}

BrowserPage::BrowserPage(QWebEngineProfile* profile, WebEngineBrowser* owner, QObject* parent)
    : QWebEnginePage(profile, parent), owner_(owner) {}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    return owner_->acceptNavigation(url, type, isMainFrame);
}

void BrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) {
    // Pages' console output is no concern of the program's.
}

BrowserBridge::BrowserBridge(WebEngineBrowser* owner) : QObject(owner), owner_(owner) {}

void BrowserBridge::message(const QString& json) {
    owner_->handleScriptMessage(json);
}

// ---- the adapter -----------------------------------------------------------------------

WebEngineBrowser::WebEngineBrowser(platform::ModalRuns& runs, QWidget* parent) : WebBrowser(parent), runs_(runs) {
    serveOwnHostsToEngine();
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    installCommandSchemeHandler(profile);

    view_ = new QWebEngineView(parent);
    page_ = new BrowserPage(profile, this, view_);
    view_->setPage(page_);
    // Local pages link to web pages (vocabularies, home pages); following such a link must
    // work as it does from any web page.
    page_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);

    channel_ = new QWebChannel(this);
    bridge_ = new BrowserBridge(this);
    channel_->registerObject(QStringLiteral("quorvantileBridge"), bridge_);
    page_->setWebChannel(channel_, QWebEngineScript::ApplicationWorld);

    QWebEngineScript script;
    script.setName(QStringLiteral("quorvantile-page"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(pageScriptSource());
    page_->scripts().insert(script);

    connect(page_, &QWebEnginePage::loadingChanged, this, &WebEngineBrowser::handleLoading);
    connect(page_, &QWebEnginePage::titleChanged, this, &WebEngineBrowser::titleChange);
    connect(page_, &QWebEnginePage::urlChanged, this, &WebEngineBrowser::updateCommandStates);
    connect(page_, &QWebEnginePage::newWindowRequested, this, &WebEngineBrowser::handleNewWindow);
    // The engine lets a page close only a window a script opened; then the window goes.
    connect(page_, &QWebEnginePage::windowCloseRequested, this, [this] { Q_EMIT onVisible(false); });
    // A page whose renderer died loads no further; its download is over.
    connect(page_, &QWebEnginePage::renderProcessTerminated, this, [this] {
        const bool began = loading_ && beganReported_;
        loading_ = beganReported_ = false;
        if (began) Q_EMIT downloadComplete();
    });
    connect(view_, &QWebEngineView::printFinished, this, [this](bool success) {
        printer_.reset();
        if (!success) platform::showMessageBox({QStringLiteral("The page could not be printed."), platform::kExclamationIcon,
                                               platform::kDefaultMsgBoxTitle});
    });
}

WebEngineBrowser::~WebEngineBrowser() {
    // The view owns the page; both go before the channel they use.
    delete view_.data();
}

QWidget* WebEngineBrowser::widget() {
    return view_;
}

QWebEngineView* WebEngineBrowser::view() const {
    return view_;
}

QWebEnginePage* WebEngineBrowser::page() const {
    return page_;
}

void WebEngineBrowser::startNavigation(const QString& address, int flags) {
    if (!page_ || isCommandAddress(address)) return;
    const QUrl url = urlForAddress(address);
    if (!url.isValid() || isCommandUrl(url)) return;
    bodyAfterLoad_.reset();  // the page asked for after a text replaces it
    if (flags & kNoReadFromCache) {
        QWebEngineHttpRequest request(url);
        request.setHeader(QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache"));
        request.setHeader(QByteArrayLiteral("Pragma"), QByteArrayLiteral("no-cache"));
        page_->load(request);
    } else {
        page_->load(url);
    }
}

bool WebEngineBrowser::takeExpected(QList<Expected>& list, const QUrl& url, bool mainFrame) {
    dropStale(list);
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list.at(i).mainFrame == mainFrame && sameUrl(list.at(i).url, url)) {
            list.removeAt(i);
            return true;
        }
    }
    return false;
}

void WebEngineBrowser::dropStale(QList<Expected>& list) {
    list.removeIf([](const Expected& expected) { return expected.age.elapsed() > kExpectMilliseconds; });
}

bool WebEngineBrowser::acceptNavigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame) {
    // Loads the program asked for passed before-navigate in Navigate; reloads raise none.
    if (type == QWebEnginePage::NavigationTypeTyped && isMainFrame) return true;
    if (type == QWebEnginePage::NavigationTypeReload) return true;
    // A clicked link the page script is following was reported when it was clicked.
    if (takeExpected(followedLinks_, url, isMainFrame)) return true;

    BeforeNavigateEvent event;
    event.address = addressOfUrl(url);
    event.topFrame = isMainFrame;
    switch (type) {
    case QWebEnginePage::NavigationTypeRedirect:
        event.source = NavigationSource::Redirect;
        break;
    case QWebEnginePage::NavigationTypeBackForward:
        event.source = NavigationSource::History;
        event.programStarted = historyRequested_ && isMainFrame;
        if (isMainFrame) historyRequested_ = false;
        break;
    default:
        event.source = NavigationSource::Script;
        break;
    }
    if (!isMainFrame) return raiseBeforeNavigate(event) && !isCommandAddress(event.address) && !isCommandUrl(url);

    // The engine may report the load start while the handler is still deciding (a handler
    // that waits in an event loop); it is held back until the decision.
    const int id = ++lastDecision_;
    deciding_.append(Deciding{id, url, false});
    const bool goOn = raiseBeforeNavigate(event) && !isCommandAddress(event.address) && !isCommandUrl(url);
    bool startSeen = false;
    for (qsizetype i = 0; i < deciding_.size(); ++i) {
        if (deciding_.at(i).id == id) {
            startSeen = deciding_.at(i).startSeen;
            deciding_.removeAt(i);
            break;
        }
    }
    if (goOn) {
        if (startSeen && loading_ && !beganReported_) beginDownload();
    } else if (!startSeen) {
        Expected refused{url, true, {}};
        refused.age.start();
        dropStale(refused_);
        refused_.append(refused);
    }
    return goOn;
}

void WebEngineBrowser::beginDownload() {
    beganReported_ = true;
    pageLoadBegan();
    Q_EMIT downloadBegin();
}

void WebEngineBrowser::handleLoading(const QWebEngineLoadingInfo& info) {
    // The engine reports when the page starts and stops loading, not each navigation: a
    // navigation refused here still starts a loading period, and a load that follows it at
    // once runs in the same period without a start of its own.
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        if (loading_) return;
        loading_ = true;
        beganReported_ = false;
        periodUrl_ = info.url();
        for (Deciding& deciding : deciding_) {
            if (!deciding.startSeen && sameUrl(deciding.url, info.url())) {
                deciding.startSeen = true;  // reported once the handler has decided
                return;
            }
        }
        if (!takeExpected(refused_, info.url(), true)) beginDownload();
        return;
    }
    if (!loading_) return;
    loading_ = false;
    writeBodyAfterLoad();
    if (!beganReported_) {
        // Only the refused navigation's own stop is no download at all.
        if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus && sameUrl(info.url(), periodUrl_)) return;
        beginDownload();
    }
    beganReported_ = false;
    updateCommandStates();
    Q_EMIT downloadComplete();
}

void WebEngineBrowser::handleNewWindow(QWebEngineNewWindowRequest& request) {
    // The request is never opened: the program decides, and shows the page here if at all.
    requestNewWindow(addressOfUrl(request.requestedUrl()), request.isUserInitiated());
}

void WebEngineBrowser::handleScriptMessage(const QString& json) {
    const QJsonDocument parsed = QJsonDocument::fromJson(json.toUtf8());
    if (!parsed.isObject()) return;
    const QJsonObject message = parsed.object();
    const QString kind = message.value(QLatin1String("kind")).toString();

    if (kind == QLatin1String("click")) {
        LinkClick click;
        click.href = message.value(QLatin1String("href")).toString();
        click.baseAddress = message.value(QLatin1String("base")).toString();
        click.targetFrame = message.value(QLatin1String("target")).toString();
        click.topFrame = message.value(QLatin1String("top")).toBool(true);
        click.newWindow = message.value(QLatin1String("newWindow")).toBool(false);
        click.userInitiated = message.value(QLatin1String("trusted")).toBool(false);
        const QString address = activateLink(click);
        if (address.isEmpty() || click.newWindow) return;
        Expected followed{QUrl(message.value(QLatin1String("absolute")).toString()), click.topFrame, {}};
        followed.age.start();
        dropStale(followedLinks_);
        followedLinks_.append(followed);
        Q_EMIT bridge_->proceed(message.value(QLatin1String("id")).toString());
    } else if (kind == QLatin1String("script")) {
        // A page script went for a command; the page script stopped it, the program decides.
        BeforeNavigateEvent event;
        event.address = decodeNonAsciiEscapes(message.value(QLatin1String("url")).toString());
        event.topFrame = message.value(QLatin1String("top")).toBool(true);
        event.targetFrame = event.topFrame ? QString() : message.value(QLatin1String("frame")).toString();
        event.source = NavigationSource::Script;
        // A form the user sent from the top document.
        event.userGesture = event.topFrame && message.value(QLatin1String("user")).toBool(false);
        raiseBeforeNavigate(event);
    } else if (kind == QLatin1String("status")) {
        const QString href = message.value(QLatin1String("href")).toString();
        Q_EMIT statusTextChange(
            href.isEmpty() ? QString() : linkAddress(href, message.value(QLatin1String("base")).toString()));
    } else if (kind == QLatin1String("snapshot")) {
        snapshot_ = documentFromJson(message.value(QLatin1String("document")).toObject(), 0);
    }
}

void WebEngineBrowser::updateCommandStates() {
    if (!page_) return;
    reportCommandStates(page_->history()->canGoBack(), page_->history()->canGoForward());
}

bool WebEngineBrowser::GoBack() {
    if (!page_ || !page_->history()->canGoBack()) return false;
    historyRequested_ = true;
    page_->triggerAction(QWebEnginePage::Back);
    return true;
}

bool WebEngineBrowser::GoForward() {
    if (!page_ || !page_->history()->canGoForward()) return false;
    historyRequested_ = true;
    page_->triggerAction(QWebEnginePage::Forward);
    return true;
}

void WebEngineBrowser::Stop() {
    if (page_) page_->triggerAction(QWebEnginePage::Stop);
}

void WebEngineBrowser::Refresh2(int level) {
    if (!page_) return;
    page_->triggerAction(level >= kRefreshContinue ? QWebEnginePage::ReloadAndBypassCache : QWebEnginePage::Reload);
}

int WebEngineBrowser::QueryStatusWB(int command) const {
    if (command != kPrintCommand) return 0;
    const bool pageShown = page_ && !page_->url().isEmpty();
    return kCommandSupported | (pageShown && !printer_ ? kCommandEnabled : 0);
}

bool WebEngineBrowser::ExecWB(int command, int option, QString* errorText) {
    QString failure;
    if (command != kPrintCommand) {
        failure = QStringLiteral("The command is not supported.");
    } else if (!(QueryStatusWB(command) & kCommandEnabled)) {
        failure = printer_ ? QStringLiteral("The page is being printed.") : QStringLiteral("There is no page to print.");
    }
    if (!failure.isEmpty()) {
        if (errorText) *errorText = failure;
        return false;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (option != kExecDontPromptUser) {
        QPrintDialog dialog(printer.get(), view_);
        if (runs_.execModal(dialog) != QDialog::Accepted) return true;
    }
    printer_ = std::move(printer);
    view_->print(printer_.get());
    return true;
}

QString WebEngineBrowser::LocationURL() const {
    return page_ ? addressOfUrl(page_->url()) : QString();
}

QString WebEngineBrowser::LocationName() const {
    return page_ ? page_->title() : QString();
}

bool WebEngineBrowser::Busy() const {
    return loading_ || bodyAfterLoad_ || (page_ && page_->isLoading());
}

PageDocument WebEngineBrowser::Document() const {
    const QString location = LocationURL();
    if (withoutFragment(snapshot_.address) == withoutFragment(location)) return snapshot_;
    // The page shown has not sent its links yet.
    PageDocument document;
    document.address = location;
    return document;
}

// The text goes into a fresh blank page once that is in: a page still loading when the text
// came (the window's first page, say) would otherwise replace it as it arrives.
void WebEngineBrowser::setBodyHtml(const QString& html) {
    if (!page_) return;
    const bool asked = bodyAfterLoad_.has_value();
    bodyAfterLoad_ = html;
    if (!asked) page_->load(QUrl(QStringLiteral("about:blank")));
}

void WebEngineBrowser::writeBodyAfterLoad() {
    if (!page_ || !bodyAfterLoad_ || page_->url() != QUrl(QStringLiteral("about:blank"))) return;
    const QByteArray literal = QJsonDocument(QJsonArray{*std::exchange(bodyAfterLoad_, std::nullopt)})
                                   .toJson(QJsonDocument::Compact);
    const QString code = QStringLiteral(
                             "(function (html) {"
                             "  document.open();"
                             "  document.write('<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body></body></html>');"
                             "  document.close();"
                             "  document.body.innerHTML = html;"
                             "  if (window.__quorvantileSnapshot) window.__quorvantileSnapshot();"
                             "})(") +
                         QString::fromUtf8(literal) + QStringLiteral("[0]);");
    page_->runJavaScript(code, QWebEngineScript::ApplicationWorld);
}

}  // namespace platform::webengine
