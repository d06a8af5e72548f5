// The browser's navigation hub: every page the browser is asked to open passes here and
// is shown, read for its metadata, run as a command, or handed to a second window.
#include "gui/app/NavigationHub.h"

#include "gui/app/BrowserPanel.h"
#include "gui/app/NavigationNeighbours.h"
#include "core/program/ProgramContext.h"
#include "gui/frame/AddressBar.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/RecordEditing.h"
#include "gui/frame/RecordLoading.h"
#include "gui/frame/RecordView.h"

#include "gui/app/LogoWidget.h"
#include "core/commands/modMTP.h"
#include "core/record/Record.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/Process.h"
#include "platform/widgets/WebBrowser.h"

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

NavigationHub::NavigationHub(ProgramContext& context, const NavigationNeighbours& around, AddressBar& addressBar,
                             BrowserPanel& browser, LogoWidget& logo)
    : context(context), around(around), addressBar(addressBar), browser(browser), logo(logo) {}

void NavigationHub::LoadURL() {
    if (platform::WebBrowser* web = browser.web()) web->Navigate(addressBar.addressText(), navFlags);
}

void NavigationHub::LoadURLFromLocation() {
    navArmed = true;
    LoadURL();
}

void NavigationHub::GoHome() {
    addressBar.setAddressText(context.preferences.Home);
    navArmed = true;
    LoadURL();
}

void NavigationHub::openAddress(const QString& address) {
    addressBar.setAddressText(address);
    LoadURL();
}

void NavigationHub::showLocalFile(const QString& path) {
    addressBar.setAddressText(QStringLiteral("file://") + path);
    navArmed = true;
    browser.panel()->setToolTip(QStringLiteral("Drag files onto the Metapanel to edit"));
    LoadURL();
}

NavigationHub::PageLoad NavigationHub::openPageForCommand(const QString& location) {
    addressBar.setAddressText(location);
    around.recordLoading.forgetPageLoad();
    // The command names the page whose record it wants: read it even when the last page
    // has not finished loading.
    navArmed = true;
    commandNavigation_ = true;
    LoadURL();  // before-navigate, and with it the read, runs before this returns
    commandNavigation_ = false;
    return around.recordLoading.lastPageLoad();
}

void NavigationHub::startSecondInstance(const QString& address) {
    context.processes.startDetached(QCoreApplication::applicationFilePath(), {address});
}

void NavigationHub::refreshPage() {
    navFlags = 4;
    const QString address = addressBar.addressText();
    if (address.contains(QLatin1String("http://"), Qt::CaseInsensitive) ||
        address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) || address.startsWith(QLatin1Char('/')))
        around.recordLoading.LoadMetadataFromURL(address, true);
    browser.web()->Refresh2(platform::kRefreshContinue);
    navFlags = 0;
}

void NavigationHub::armNextRead() {
    navArmed = true;
}

void NavigationHub::reset() {
    navArmed = true;
    navFlags = 0;
}

void NavigationHub::WebBrowser1_BeforeNavigate2(platform::BeforeNavigateEvent& event) {
    const QString address = event.address;
    if (address == QLatin1String("http:///")) {
        event.cancel = true;
        return;
    }
    if (!event.topFrame) {
        // A frame inside the page is never routed; a command it went for is named, not dropped unseen.
        if (address.startsWith(QLatin1String("mtp://")))
            browser.showNotice(QStringLiteral("A command of a frame in the page was not run: ") + modMTP::commandAsAsked(address));
        return;
    }
    // Back and Forward: the box shows the page now shown.
    if (event.source == platform::NavigationSource::History) addressBar.setAddressText(address);
    // Commands from navigations the program did not start itself come from the page; only the
    // user's own click on a link or submit button lets them ask for what needs the user's word.
    const modMTP::CommandOrigin origin = event.programStarted ? modMTP::CommandOrigin::Program
                                         : event.userGesture  ? modMTP::CommandOrigin::Page
                                                              : modMTP::CommandOrigin::PageByItself;

    if (navArmed) logo.Play();
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
            logo.Stop();
            return;
        }
        addressBar.setAddressText(address);
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
        logo.Stop();
        navArmed = true;
        return;
    }
    addressBar.setAddressText(address);
    // A folder is only shown: the record keeps its page file.
    if (QFileInfo(shortAddress).isDir()) return;
    // A page file becomes the file a save writes to only when its metadata was read.
    context.document.setCurrentHTMLFile(
        read && platform::isLocalPath(shortAddress) && platform::isPageAddress(shortAddress) ? shortAddress : QString());
    around.fileMenu.showCurrentFile();
    context.FilePath = platform::folderPart(context.FilePath);
}
