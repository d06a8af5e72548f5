// The navigation pane's making, its toolbar, history lists, drops and layout.
#include "gui/app/NavigationPane.h"

#include "gui/app/LogoWidget.h"
#include "core/commands/modMTP.h"
#include "core/record/Record.h"
#include "gui/frame/ContentBox.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/RecordEditing.h"
#include "gui/frame/RecordLoading.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/WindowFrame.h"
#include "platform/Inet.h"
#include "platform/widgets/MenuItems.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/WebBrowser.h"

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const Qt::CaseSensitivity ci = Qt::CaseInsensitive;

enum class ToolbarPicture { Back, Forward, Stop, Home, Refresh, Search, Print };

// The toolbar's own pictures, for desktops without an icon theme: the style's where it has
// one, drawn here for a house, a magnifier and a printer.
QIcon toolbarPicture(ToolbarPicture picture, QStyle* style) {
    switch (picture) {
    case ToolbarPicture::Back: return style->standardIcon(QStyle::SP_ArrowBack);
    case ToolbarPicture::Forward: return style->standardIcon(QStyle::SP_ArrowForward);
    case ToolbarPicture::Stop: return style->standardIcon(QStyle::SP_BrowserStop);
    case ToolbarPicture::Refresh: return style->standardIcon(QStyle::SP_BrowserReload);
    default: break;
    }
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2.5));
    if (picture == ToolbarPicture::Home) {
        p.setBrush(QColor(240, 200, 120));
        p.drawPolygon(QPolygonF({QPointF(4, 16), QPointF(16, 4), QPointF(28, 16)}));
        p.drawRect(QRectF(8, 16, 16, 12));
        p.setBrush(QColor(120, 80, 40));
        p.drawRect(QRectF(14, 20, 5, 8));
    } else if (picture == ToolbarPicture::Search) {
        p.setBrush(QColor(200, 225, 250));
        p.drawEllipse(QRectF(4, 4, 16, 16));
        p.setPen(QPen(QColor(60, 60, 60), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18, 18), QPointF(27, 27));
    } else {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));  // paper
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);  // body
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 20, 14, 9));  // printed sheet
    }
    return QIcon(pixmap);
}

void fillMenu(QMenu* menu, const QList<NavigationPane::HistoryEntry>& entries) {
    menu->clear();
    for (int i = 0; i < entries.size(); ++i) {
        QAction* a = menu->addAction(entries[i].text.isEmpty() ? entries[i].tag : entries[i].text);
        a->setData(i + 1);
    }
}

}  // namespace

NavigationPane::NavigationPane(ProgramContext& context, WindowFrame& frame, QToolBar* toolbar, const Neighbours& around)
    : QObject(frame.clientArea()), context(context), frame(frame), around(around), Toolbar1(toolbar) {
    setObjectName(QStringLiteral("navigationPane"));
    buildToolbar(toolbar);
    buildBrowser();
}

NavigationPane::~NavigationPane() = default;

void NavigationPane::buildToolbar(QToolBar* toolbar) {
    QStyle* style = toolbar->style();
    struct Button {
        int index;
        const char* tip;
        const char* themeIcon;
        ToolbarPicture fallback;
    };
    const Button buttons[] = {
        {kPreviousButton, "Previous", "go-previous", ToolbarPicture::Back},
        {kNextButton, "Next", "go-next", ToolbarPicture::Forward},
        {kStopButton, "Stop", "process-stop", ToolbarPicture::Stop},
        {kHomeButton, "Home", "go-home", ToolbarPicture::Home},
        {kRefreshButton, "Refresh", "view-refresh", ToolbarPicture::Refresh},
        {kSearchButton, "Search", "edit-find", ToolbarPicture::Search},
        {kPrintButton, "Print", "document-print", ToolbarPicture::Print},
    };
    for (const Button& b : buttons) {
        const QIcon icon = QIcon::fromTheme(QLatin1String(b.themeIcon), toolbarPicture(b.fallback, style));
        QAction* a = Toolbar1->addAction(icon, QLatin1String(b.tip));
        a->setToolTip(QLatin1String(b.tip));
        a->setObjectName(QStringLiteral("Toolbar1_%1").arg(b.index));
        toolbarButtons.set(b.index, a);
    }
    toolbarButtons(kPreviousButton)->setEnabled(false);
    toolbarButtons(kNextButton)->setEnabled(false);
    Toolbar1->addSeparator();
    URL = new QComboBox(Toolbar1);
    URL->setObjectName(QStringLiteral("URL"));
    URL->setEditable(true);
    URL->setInsertPolicy(QComboBox::NoInsert);
    URL->setMaxVisibleItems(20);
    URL->setMinimumContentsLength(20);
    URL->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    URL->lineEdit()->setPlaceholderText(QStringLiteral("Address, file path or mtp:// command"));
    Toolbar1->addWidget(URL);

    menuItems::connectElements(toolbarButtons, this, [this](int number) { Toolbar1_ButtonClick(number); });
    for (int number : {kPreviousButton, kNextButton}) {
        auto* tool = qobject_cast<QToolButton*>(Toolbar1->widgetForAction(toolbarButtons(number)));
        if (!tool) continue;
        auto* menu = new QMenu(tool);
        tool->setMenu(menu);
        tool->setPopupMode(QToolButton::MenuButtonPopup);
        connect(menu, &QMenu::triggered, this,
                [this, number](QAction* entry) { Toolbar1_ButtonMenuClick(number, entry->data().toInt()); });
    }
    // Qt also reports an entry as chosen when the box loses the focus holding text that
    // matches a history entry; only a real pick opens a page.
    connect(URL, &QComboBox::activated, this, [this] {
        if (!urlFocusLeaving_) URL_Click();
    });
    URL->lineEdit()->installEventFilter(this);
    URL->installEventFilter(this);
    URL->setAcceptDrops(true);
    URL->lineEdit()->setAcceptDrops(false);
}

void NavigationPane::buildBrowser() {
    QWidget* clientArea = frame.clientArea();
    Gif89a1 = new LogoWidget(clientArea);
    Gif89a1->setObjectName(QStringLiteral("Gif89a1"));
    GifOverlay = new LogoOverlay(Gif89a1);
    GifOverlay->setObjectName(QStringLiteral("GifOverlay"));
    connect(GifOverlay, &LogoOverlay::clicked, this, &NavigationPane::GifOverlay_Click);
    connect(GifOverlay, &LogoOverlay::dropped, this, &NavigationPane::GifOverlay_OLEDragDrop);

    BrowserPanel = new QFrame(clientArea);
    BrowserPanel->setObjectName(QStringLiteral("BrowserPanel"));
    static_cast<QFrame*>(BrowserPanel)->setFrameShape(QFrame::StyledPanel);
    WebBrowser1 = platform::createWebBrowser(BrowserPanel, frame.modalRuns());
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    auto* browserLayout = new QVBoxLayout(BrowserPanel);
    browserLayout->setContentsMargins(1, 1, 1, 1);
    browserLayout->addWidget(WebBrowser1->widget());
    connect(WebBrowser1, &platform::WebBrowser::beforeNavigate, this, &NavigationPane::WebBrowser1_BeforeNavigate2);
    connect(WebBrowser1, &platform::WebBrowser::newWindow, this, &NavigationPane::WebBrowser1_NewWindow);
    connect(WebBrowser1, &platform::WebBrowser::downloadBegin, this, &NavigationPane::WebBrowser1_DownloadBegin);
    connect(WebBrowser1, &platform::WebBrowser::downloadComplete, this, &NavigationPane::WebBrowser1_DownloadComplete);
    connect(WebBrowser1, &platform::WebBrowser::commandStateChange, this,
            &NavigationPane::WebBrowser1_CommandStateChange);
    connect(WebBrowser1, &platform::WebBrowser::statusTextChange, this, &NavigationPane::WebBrowser1_StatusTextChange);
    connect(WebBrowser1, &platform::WebBrowser::titleChange, this, &NavigationPane::WebBrowser1_TitleChange);
    connect(WebBrowser1, &platform::WebBrowser::onVisible, this, &NavigationPane::WebBrowser1_OnVisible);

    Inet1 = new platform::Inet(context.transferProxy, this);
    Inet1->setObjectName(QStringLiteral("Inet1"));
    connect(Inet1, &platform::Inet::StateChanged, this, &NavigationPane::Inet1_StateChanged);
}

void NavigationPane::reset() {
    navArmed = true;
    navFlags = 0;
    loadURLList();
}

bool NavigationPane::eventFilter(QObject* watched, QEvent* event) {
    // The combo box has the focus and hands keys to its line edit: Enter counts at either.
    if ((watched == URL || watched == URL->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openTypedAddress();
            return true;  // swallowed, without a sound, also when the box is empty
        }
    }
    if ((watched == URL || watched == URL->lineEdit()) && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        urlFocusLeaving_ = true;
        QTimer::singleShot(0, this, [this] { urlFocusLeaving_ = false; });
    }
    if (watched == URL && (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop) URL_OLEDragDrop(drop->mimeData());
        return true;
    }
    return false;
}

bool NavigationPane::isAddressBox(const QWidget* widget) const {
    return widget == URL;
}

QString NavigationPane::addressText() const {
    return URL->currentText();
}

void NavigationPane::setAddressText(const QString& address) {
    URL->setEditText(address);
}

void NavigationPane::pickAddressEntry(const QString& address) {
    if (const int entry = URL->findText(address, Qt::MatchExactly); entry >= 0) URL->setCurrentIndex(entry);
}

void NavigationPane::openAddress(const QString& address) {
    URL->setEditText(address);
    LoadURL();
}

void NavigationPane::showLocalFile(const QString& path) {
    URL->setEditText(QStringLiteral("file://") + path);
    navArmed = true;
    BrowserPanel->setToolTip(QStringLiteral("Drag files onto the Metapanel to edit"));
    LoadURL();
}

QString NavigationPane::linkNameOnPage(const QString& address) const {
    return findLinkName(WebBrowser1->Document(), address);
}

void NavigationPane::focusBrowser() {
    if (WebBrowser1) WebBrowser1->widget()->setFocus();
    else BrowserPanel->setFocus();
}

void NavigationPane::stopBusyAnimation() {
    Gif89a1->Stop();
}

void NavigationPane::Inet1_StateChanged(int state) {
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, platform::Inet::stateText(state));
}

void NavigationPane::GifOverlay_Click() {
    GoHome();
}

void NavigationPane::GifOverlay_OLEDragDrop(const QMimeData* data) {
    dropOnWindow(data);
}

void NavigationPane::describe(Layout::Input& in) const {
    in.browserVisible = !BrowserPanel->isHidden();
}

void NavigationPane::place(const Layout::Result& r) {
    Gif89a1->setGeometry(pixelRect(r.logo));
    GifOverlay->setGeometry(Gif89a1->rect());
    URL->setFixedWidth(std::max(60, platform::twipsToPixels(r.addressBoxWidth)));
    BrowserPanel->setGeometry(pixelRect(r.browser));
}

void NavigationPane::showBrowser(bool on) {
    BrowserPanel->setVisible(on);
}

void NavigationPane::showLogo(bool on) {
    Gif89a1->setVisible(on);
}

// ---- drops ---------------------------------------------------------------------------

void NavigationPane::LoadDragDrop(const QString& item) {
    QString text = item;
    if (text.contains(QLatin1String("mtp://"), ci)) {
        modMTP::runMtpCommand(context, text);
        return;
    }
    if (text.contains(QLatin1String("http://"), ci) || text.contains(QLatin1String("https://"), ci)) {
        URL->setEditText(text);
        LoadURL();
        return;
    }
    if (platform::isLocalPath(text)) {
        around.fileMenu.LoadFromOpen(platform::localPathFromAddress(text));
        return;
    }
    // Plain text goes into the current line's content, at the caret of the content box.
    const Record::LineId line = context.record.selectedLine();
    if (!line) return;
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    text.replace(QChar(0x201D), QLatin1Char('"'));
    around.contentBox.typeIntoContentBox(text);
    around.recordView.SelectLine(context.record.positionOf(line));
    around.recordEditing.editCurrentLine();
}

void NavigationPane::dropOnWindow(const QMimeData* data) {
    if (!data) return;
    if (data->hasUrls()) {
        QStringList files;
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) files << url.toLocalFile();
        }
        if (!files.isEmpty()) {
            for (int i = 1; i < files.size(); ++i) prevNextLoad2(1, files.at(i), files.at(i));
            QString firstFile = files.first();
            if (QFileInfo(firstFile).isDir() && !firstFile.endsWith(QLatin1Char('/'))) firstFile += QLatin1Char('/');
            LoadDragDrop(firstFile);
            return;
        }
    }
    if (data->hasText()) LoadDragDrop(data->text());
}

// ---- toolbar -------------------------------------------------------------------------

void NavigationPane::Toolbar1_ButtonClick(int index) {
    QAction* button = toolbarButtons(index);
    const QString tip = button ? button->toolTip() : QString();
    if (tip == QLatin1String("Previous")) {
        WebBrowser1->GoBack();
    } else if (tip == QLatin1String("Next")) {
        WebBrowser1->GoForward();
    } else if (tip == QLatin1String("Stop")) {
        WebBrowser1->Stop();
        Gif89a1->Stop();
    } else if (tip == QLatin1String("Home")) {
        WebBrowser1->Stop();
        Gif89a1->Stop();
        GoHome();
    } else if (tip == QLatin1String("Refresh")) {
        navFlags = 4;
        const QString address = URL->currentText();
        if (address.contains(QLatin1String("http://"), Qt::CaseInsensitive) ||
            address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) || address.startsWith(QLatin1Char('/')))
            around.recordLoading.LoadMetadataFromURL(address, true);
        WebBrowser1->Refresh2(platform::kRefreshContinue);
        navFlags = 0;
    } else if (tip == QLatin1String("Search")) {
        WebBrowser1->GoSearch();
    } else if (tip == QLatin1String("Print")) {
        PrintPage();
    }
}

void NavigationPane::Toolbar1_ButtonMenuClick(int buttonIndex, int entryIndex) {
    prevNextMenuClick(buttonIndex, entryIndex);
}

// The browser prints the page it shows, through its own print dialog.
void NavigationPane::PrintPage() {
    if (!(WebBrowser1->QueryStatusWB(platform::kPrintCommand) & platform::kCommandEnabled)) {
        context.user.MsgBox(QStringLiteral("The Print command is currently disabled."));
        return;
    }
    QString error;
    if (!WebBrowser1->ExecWB(platform::kPrintCommand, platform::kExecPromptUser, &error))
        context.user.MsgBox(QStringLiteral("Print command Error: ") + error);
}

// ---- history lists -----------------------------------------------------------------

void NavigationPane::refreshHistoryButtons() {
    toolbarButtons(kPreviousButton)->setEnabled(!backList.isEmpty());
    toolbarButtons(kNextButton)->setEnabled(!forwardList.isEmpty());
    for (int index : {kPreviousButton, kNextButton}) {
        auto* button = qobject_cast<QToolButton*>(Toolbar1->widgetForAction(toolbarButtons(index)));
        if (button && button->menu()) fillMenu(button->menu(), index == kPreviousButton ? backList : forwardList);
    }
}

void NavigationPane::prevNextLoad2(int mode, const QString& location, const QString& text) {
    if (mode != 1 || location.isEmpty()) return;
    backList.prepend(HistoryEntry{text, location});
    refreshHistoryButtons();
}

void NavigationPane::prevNextMenuClick(int buttonIndex, int entryIndex) {
    if (buttonIndex == kPreviousButton) prevNextMove(1, entryIndex);
    else if (buttonIndex == kNextButton) prevNextMove(2, entryIndex);
}

// A browser-style move: the entries before the chosen one and the current page go over
// to the other list, newest first, and the chosen entry is loaded.
void NavigationPane::prevNextMove(int direction, int k) {
    QList<HistoryEntry>& source = direction == 1 ? backList : forwardList;
    QList<HistoryEntry>& destination = direction == 1 ? forwardList : backList;
    if (k < 1 || k > source.size()) return;
    QList<HistoryEntry> moved;
    for (int i = k - 2; i >= 0; --i) moved.append(source[i]);
    moved.append(lastDownload_);
    destination = moved + destination;
    URL->setEditText(source[k - 1].tag);
    source.erase(source.begin(), source.begin() + k);
    navArmed = true;
    LoadURL();
    refreshHistoryButtons();
}
