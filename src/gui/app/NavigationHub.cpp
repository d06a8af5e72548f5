// The browser's navigation hub: every page the browser is asked to open passes here and
// is shown, read for its metadata, run as a command, or handed to a second window.
#include "gui/app/NavigationPane.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/RecordEditing.h"
#include "gui/frame/RecordLoading.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/WindowFrame.h"

#include "gui/app/LogoWidget.h"
#include "core/commands/modMTP.h"
#include "core/record/Record.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/Process.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/WebBrowser.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString replaceEvery(QString text, const QString& what, const QString& with) {
    return text.replace(what, with, Qt::CaseInsensitive);
}

// An address of the kind whose metadata is read: a web page or a local file.
bool isReadableAddress(const QString& address) {
    return address.contains(QLatin1String("http://"), Qt::CaseInsensitive) ||
           address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) || platform::isLocalPath(address);
}

}  // namespace

void NavigationPane::LoadURL() {
    if (WebBrowser1) WebBrowser1->Navigate(URL->currentText(), navFlags);
}

void NavigationPane::LoadURLFromLocation() {
    navArmed = true;
    LoadURL();
}

void NavigationPane::GoHome() {
    URL->setEditText(context.preferences.Home);
    navArmed = true;
    LoadURL();
}

NavigationPane::PageLoad NavigationPane::openPageForCommand(const QString& location) {
    URL->setEditText(location);
    around.recordLoading.forgetPageLoad();
    // The command names the page whose record it wants: read it even when the last page
    // has not finished loading.
    navArmed = true;
    commandNavigation_ = true;
    LoadURL();  // before-navigate, and with it the read, runs before this returns
    commandNavigation_ = false;
    return around.recordLoading.lastPageLoad();
}

void NavigationPane::stopBrowser() {
    if (WebBrowser1) WebBrowser1->Stop();
}

QString NavigationPane::browserLocationURL() const {
    return WebBrowser1 ? WebBrowser1->LocationURL() : QString();
}

QString NavigationPane::browserLocationName() const {
    return WebBrowser1 ? WebBrowser1->LocationName() : QString();
}

void NavigationPane::startSecondInstance(const QString& address) {
    context.processes.startDetached(QCoreApplication::applicationFilePath(), {address});
}

void NavigationPane::WebBrowser1_BeforeNavigate2(platform::BeforeNavigateEvent& event) {
    const QString address = event.address;
    if (address == QLatin1String("http:///")) {
        event.cancel = true;
        return;
    }
    if (!event.topFrame) {
        // A frame inside the page is never routed; a command it went for is named, not dropped unseen.
        if (address.startsWith(QLatin1String("mtp://")))
            showNotice(QStringLiteral("A command of a frame in the page was not run: ") + modMTP::commandAsAsked(address));
        return;
    }
    // Back and Forward: the box shows the page now shown.
    if (event.source == platform::NavigationSource::History) URL->setEditText(address);
    // Commands from navigations the program did not start itself come from the page; only the
    // user's own click on a link or submit button lets them ask for what needs the user's word.
    const modMTP::CommandOrigin origin = event.programStarted ? modMTP::CommandOrigin::Program
                                         : event.userGesture  ? modMTP::CommandOrigin::Page
                                                              : modMTP::CommandOrigin::PageByItself;

    if (navArmed) Gif89a1->Play();
    if (address.startsWith(QLatin1String("mtp://"))) {
        event.cancel = true;
        QString command = address;
        modMTP::runMtpCommand(context, command, origin);
        return;
    }
    if (address.contains(QLatin1String(".kq"), Qt::CaseInsensitive)) {
        event.cancel = true;
        QString command;
        if (platform::isLocalPath(address)) {
            // A list or batch file on this machine opens by its kind.
            command = QStringLiteral("mtp://open=") + platform::localPathFromAddress(address);
        } else {
            command = replaceEvery(address, QStringLiteral("http://"), QStringLiteral("mtp://url="));
            command = replaceEvery(command, QStringLiteral("https://"), QStringLiteral("mtp://url=https://"));
        }
        modMTP::runMtpCommand(context, command, origin);
        return;
    }
    if (address.contains(QLatin1String("ftp://"), Qt::CaseInsensitive)) {
        // The record is cleared for the ftp page: ask about unsaved edits first.
        if (around.record.saveHtmlCheck() == platform::kAnswerCancel) {
            event.cancel = true;
            Gif89a1->Stop();
            return;
        }
        URL->setEditText(address);
        context.record.clear();
        around.recordEditing.EditPanelOff();
        return;
    }
    if (!isReadableAddress(address)) return;

    // The short address: without "http://" (an https address keeps its scheme) and, for a
    // file:// address, the plain path.
    QString shortAddress = platform::localPathFromAddress(replaceEvery(address, QStringLiteral("http://"), QString()));
    if (!navArmed) return;
    // While a batch runs only its own lines change the record: anything else is shown only.
    if (modMTP::batchRunning(context) && !commandNavigation_) return;
    navArmed = false;
    int result = 0;
    bool read = false;
    if ((around.recordView.metaPanelShown() || commandNavigation_) && event.targetFrame.isEmpty()) {
        result = around.recordLoading.LoadMetadataFromURL(shortAddress, true);
        read = result != platform::kAnswerCancel;
    }
    if (result == platform::kAnswerCancel) {
        event.cancel = true;
        Gif89a1->Stop();
        navArmed = true;
        return;
    }
    URL->setEditText(address);
    // A folder is only shown: the record keeps its page file.
    if (QFileInfo(shortAddress).isDir()) return;
    // A page file becomes the file a save writes to only when its metadata was read.
    context.document.setCurrentHTMLFile(
        read && platform::isLocalPath(shortAddress) && platform::isPageAddress(shortAddress) ? shortAddress : QString());
    around.fileMenu.showCurrentFile();
    context.FilePath = platform::folderPart(context.FilePath);
}

void NavigationPane::WebBrowser1_NewWindow(platform::NewWindowEvent& event) {
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
        WebBrowser1_BeforeNavigate2(here);
        return;
    }
    if (platform::isWebAddress(address) || platform::isLocalPath(address)) startSecondInstance(address);
}

void NavigationPane::WebBrowser1_DownloadBegin() {
    notice_.clear();
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, QStringLiteral("Downloading..."));
}

void NavigationPane::WebBrowser1_DownloadComplete() {
    lastDownload_ = {WebBrowser1->LocationName(), WebBrowser1->LocationURL()};
    // What the page tried while it loaded stays in sight.
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, notice_.isEmpty() ? QStringLiteral("Ready") : notice_);
    navArmed = true;
    if (!lastDownload_.text.isEmpty()) frame.clientArea()->window()->setWindowTitle(lastDownload_.text);
    Gif89a1->Stop();
}

void NavigationPane::WebBrowser1_CommandStateChange(int command, bool enable) {
    if (command == platform::kForwardCommand) toolbarButtons(kNextButton)->setEnabled(enable);
    else if (command == platform::kBackCommand) toolbarButtons(kPreviousButton)->setEnabled(enable);
}

void NavigationPane::showNotice(const QString& text) {
    notice_ = text;
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, text);
}

void NavigationPane::WebBrowser1_StatusTextChange(const QString& text) {
    // A link's address is shown as the question about it would show it: nothing hidden, nothing turned round.
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, modMTP::commandAsAsked(text));
}

void NavigationPane::WebBrowser1_TitleChange(const QString& title) {
    if (!title.isEmpty()) frame.clientArea()->window()->setWindowTitle(title);
}

void NavigationPane::WebBrowser1_OnVisible(bool visible) {
    if (!visible) frame.clientArea()->window()->close();
}

QString NavigationPane::findLinkName(const platform::PageDocument& document, const QString& address) {
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
