#include "gui/app/frmHelpBrowser.h"

#include "core/program/ProgramContext.h"
#include "gui/frame/AddressBar.h"
#include "gui/frame/Navigation.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/RecordLoading.h"
#include "gui/frame/RecordEditing.h"
#include "gui/frame/WindowFrame.h"
#include "gui/commands/frmWaitProcess.h"
#include "platform/Folders.h"
#include "platform/Inet.h"
#include "platform/MsgBox.h"
#include "platform/widgets/StatusBar.h"
#include "platform/TextCodec.h"
#include "platform/Twips.h"
#include "platform/widgets/WebBrowser.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {
// A rectangle that lies on a screen and has a sensible size.
QRect onScreen(QRect rect) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    rect.setWidth(std::clamp(rect.width(), 320, std::max(320, area.width())));
    rect.setHeight(std::clamp(rect.height(), 240, std::max(240, area.height())));
    if (!area.intersects(rect)) rect.moveTopLeft(area.topLeft());
    return rect;
}
}  // namespace

frmHelpBrowser::frmHelpBrowser(ProgramContext& context, WindowFrame& frame, const MainWindow& main)
    : context_(context), frame_(frame), main_(main) {
    setObjectName(QStringLiteral("frmHelpBrowser"));
    setWindowTitle(QStringLiteral("Quorvantile Help"));
    setModal(false);
    WebBrowser1 = platform::createWebBrowser(this, frame_.modalRuns());
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    PostInet = new platform::Inet(context_.transferProxy, this);
    PostInet->setObjectName(QStringLiteral("PostInet"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WebBrowser1->widget(), 1);
    layout->addLayout(buttons);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::hide);
    connect(PostInet, &platform::Inet::StateChanged, this, &frmHelpBrowser::PostInet_StateChanged);
    connect(WebBrowser1, &platform::WebBrowser::beforeNavigate, this, &frmHelpBrowser::WebBrowser1_BeforeNavigate2);

    // The buffer is looked at once control returns to the event loop after a reply
    // arrives, rather than polled all the time.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &frmHelpBrowser::Timer1_Timer);

    WebBrowser1->Navigate(QStringLiteral("about:blank"));
}

QString frmHelpBrowser::recordPagePath() {
    return platform::programDataFolder() + QStringLiteral("/cache/getRecord.htm");
}

void frmHelpBrowser::showEvent(QShowEvent* event) {
    if (placed_.isEmpty()) {
        const QRect frame = frame_.clientArea()->window()->geometry();
        const int offset = platform::twipsToPixels(5000);
        const int smaller = platform::twipsToPixels(6000);
        placed_ = QRect(frame.left() + offset, frame.top() + offset, frame.width() - smaller,
                               frame.height() - smaller);
    }
    setGeometry(onScreen(placed_));
    QDialog::showEvent(event);
}

void frmHelpBrowser::hideEvent(QHideEvent* event) {
    placed_ = geometry();
    QDialog::hideEvent(event);
}

// The window goes as soon as another window of the program becomes active.
void frmHelpBrowser::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() &&
        QApplication::activeWindow() != nullptr)
        hide();
}

void frmHelpBrowser::setHTML(const QString& html) {
    receivedHTML = html;
    Timer1->start();
}

void frmHelpBrowser::openPage(const QString& address) {
    WebBrowser1->Navigate(address);
}

platform::Inet& frmHelpBrowser::repositoryTransfer() {
    return *PostInet;
}

void frmHelpBrowser::PostInet_StateChanged(int state) {
    if (state == 11) {
        context_.user.MsgBox(QStringLiteral("Error executing request"), platform::kOkOnly, QStringLiteral("Execute error"));
        return;
    }
    if (PostInet->StillExecuting()) return;
    // The whole reply is read before it is handled, so a long record is never cut; a reply
    // never clears the document's unsaved mark.
    for (QString chunk = PostInet->GetChunk(4096); !chunk.isEmpty(); chunk = PostInet->GetChunk(4096))
        receivedHTML += chunk;
    if (!receivedHTML.isEmpty()) Timer1->start();
}

void frmHelpBrowser::showReply(const QString& html) {
    WebBrowser1->setBodyHtml(html);
    if (frmWaitProcess* wait = frmWaitProcess::loadedInstance(context_)) wait->Unload();
    show();
    raise();
}

void frmHelpBrowser::Timer1_Timer() {
    if (receivedHTML.isEmpty()) return;
    const QString reply = std::exchange(receivedHTML, QString());
    if (reply.contains(QLatin1String("writeToCache"), Qt::CaseInsensitive)) {
        const QString path = recordPagePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QString page = reply;
        page.remove(QStringLiteral("writeToCache"), Qt::CaseInsensitive);
        QString error;
        if (!platform::writeFileAtomically(path, (page + QStringLiteral("\r\n")).toUtf8(), &error)) {
            context_.user.MsgBox(QStringLiteral("Error in recieving data: ") + error);
            return;
        }
        main_.recordLoading.LoadMetadataFromURL(path, false);
        main_.recordEditing.mnuEditCurrentRecord_Click();
        frame_.statusBar().setPanelText(WindowFrame::kActivityPanel, QStringLiteral("Record Loaded. Ready"));
        main_.record.markHTMLmodifiedCheckList(QStringLiteral("before loading the record?"));
        // The record just came from the repository: nothing of it is unsaved yet.
        context_.document.dropMark();
        hide();
        return;
    }
    if (reply.contains(QLatin1String("Save Record Error")))
        context_.document.markModified(DocumentState::Document::Record);
    showReply(reply);
}

// A command link in a help page runs in the main window, as the page's command. Only a
// command the user clicked goes into the address box, where Enter would run it as the user's.
void frmHelpBrowser::WebBrowser1_BeforeNavigate2(platform::BeforeNavigateEvent& event) {
    if (!event.address.startsWith(QLatin1String("mtp://"))) return;
    event.cancel = true;
    QWidget* window = frame_.clientArea()->window();
    window->show();
    window->raise();
    if (event.userGesture && event.topFrame) main_.address.setAddressText(event.address);
    platform::BeforeNavigateEvent command;
    command.address = event.address;
    command.programStarted = false;
    command.topFrame = event.topFrame;
    command.targetFrame = event.targetFrame;
    command.userGesture = event.userGesture;
    main_.navigation.WebBrowser1_BeforeNavigate2(command);
}
