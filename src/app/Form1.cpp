#include "app/Form1.h"

#include "app/LogoWidget.h"
#include "app/SplitterGrip.h"
#include "app/frmHelpBrowser.h"
#include "app/modRegistry.h"
#include "core/record/Record.h"
#include "gui/app/EditMenu.h"
#include "gui/app/HelpMenu.h"
#include "gui/app/MacrosMenu.h"
#include "gui/app/NavigationPane.h"
#include "gui/app/WindowFrame.h"
#include "gui/record/RecordPane.h"
#include "gui/catalogues/TreePane.h"
#include "catalogues/HarvestLists.h"
#include "catalogues/modRSS.h"
#include "platform/Modal.h"
#include "platform/Inet.h"
#include "platform/MsgBox.h"
#include "platform/StatusBar.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/Twips.h"
#include "platform/WebBrowser.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QDropEvent>
#include <QMimeData>
#include <QRandomGenerator>
#include <QResizeEvent>
#include <QTimer>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

using platform::pixelsToTwips;
using platform::twipsToPixels;

namespace {

QRect toPixels(const Layout::Rect& r) {
    return QRect(twipsToPixels(r.left), twipsToPixels(r.top), std::max(0, twipsToPixels(r.width)),
                 std::max(0, twipsToPixels(r.height)));
}
}  // namespace

// What the panes ask of the window, answered by the window's own parts.
class Form1::Frame : public WindowFrame {
public:
    explicit Frame(Form1& form) : f(form) {}
    RecordPane& recordPane() override { return *f.recordPane; }
    TreePane& treePane() override { return *f.treePane; }
    NavigationPane& navigationPane() override { return *f.navigationPane; }
    platform::StatusBar& statusBar() override { return *f.StatusBar1; }
    QWidget* clientArea() override { return f.clientArea; }
    double splitterX() const override { return f.splitterX(); }
    double splitterY() const override { return f.splitterY(); }
    void SizeControls(double& x, double& y) override { f.SizeControls(x, y); }
    void relayout() override {
        double x = f.splitterX();
        double y = f.splitterY();
        f.SizeControls(x, y);
    }
    double splitterForLines(int lines, double editHeight) const override {
        return f.splitterForLines(lines, editHeight);
    }
    void showMetadataView() override { f.mnuViewQuorvantile_Click(); }
    void setEditViewChecked(bool on) override { f.mnuViewEdit->setChecked(on); }
    void mnuViewTreeView_Click() override { f.mnuViewTreeView_Click(); }
    bool treeViewChecked() const override { return f.mnuViewTreeView->isChecked(); }
    void LoadDragDrop(const QString& item) override { f.navigationPane->LoadDragDrop(item); }
    void dropOnWindow(const QMimeData* data) override { f.navigationPane->dropOnWindow(data); }
    void LoadFromOpen(const QString& path) override { f.LoadFromOpen(path); }
    bool isTreePane(const QObject* object) const override { return f.treePane->isTreePane(object); }
    QString addressText() const override { return f.navigationPane->addressText(); }
    void setAddressText(const QString& address) override { f.navigationPane->setAddressText(address); }
    void pickAddressEntry(const QString& address) override { f.navigationPane->pickAddressEntry(address); }
    void LoadURLFromLocation() override { f.navigationPane->LoadURLFromLocation(); }
    QString linkNameOnPage(const QString& address) const override {
        return f.navigationPane->linkNameOnPage(address);
    }
    void openAddress(const QString& address) override { f.navigationPane->openAddress(address); }
    QString browserLocationURL() const override { return f.navigationPane->browserLocationURL(); }
    QString browserLocationName() const override { return f.navigationPane->browserLocationName(); }
    void URLAddItem(QString& address) override { f.navigationPane->URLAddItem(address); }
    platform::Inet& inet() override { return f.navigationPane->inet(); }
    void showSchemeHelp(const QString& address) override {
        frmHelpBrowser& help = f.helpMenu->helpWindow();
        help.WebBrowser1->Navigate(address);
        platform::execModal(help);
    }
    void setMnuFileSaveAs() override { f.setMnuFileSaveAs(); }
    void showCurrentFile() override { f.showCurrentFile(); }
    void enableSave() override { f.mnuFileSave->setEnabled(true); }
    void enableSaveList() override { f.mnuFileSaveList->setEnabled(true); }
    void mnuFileDraw() override { f.mnuFileDraw(); }
    void setSaveAsCatalogueCaption(const QString& caption) override {
        f.mnuFileSaveAs(kSaveAsCatalogue)->setText(caption);
    }
    bool saveAs(int item) override { return f.mnuFileSaveAs_Click(item); }
    ListDocuments::LoadOutcome loadListPage(bool harvestList, const QString& location, const QString& text) override {
        return harvestList ? modHCL::loadHCL(*f.treePane, location, &text)
                           : modRSS::loadRSSChannel(*f.treePane, location, &text);
    }

private:
    Form1& f;
};

Form1::Form1(ProgramContext& context, QWidget* parent) : QMainWindow(parent), context(context) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    documentState = &context.document;
    frame_ = std::make_unique<Frame>(*this);
    buildControls();
    buildMenus();
    documentState->setSaveCaption(mnuFileSave->text());
    documentState->setSaveListCaption(mnuFileSaveList->text());
    connect(documentState, &DocumentState::changed, this, &Form1::showDocumentState);
    connectCommandWindow();
    connect(StatusBar1, &platform::StatusBar::mouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, double x, double) { StatusBar1_MouseMove(x); });
    connect(StatusBar1, &platform::StatusBar::panelClicked, this, &Form1::StatusBar1_PanelClick);
    helpMenu = std::make_unique<HelpMenu>(
        context, HelpMenu::MainWindow{this, [this] { return navigationPane->addressText(); },
                                      [this](const QString& text) { navigationPane->setAddressText(text); },
                                      [this] { navigationPane->LoadURL(); },
                                      [this] { return new frmHelpBrowser(this->context, *frame_); }});
    helpMenu->connectItems(*this);
    macrosMenu = std::make_unique<MacrosMenu>(context);
    macrosMenu->connectItems(*this);
    connectFileMenu();
    editMenu = std::make_unique<EditMenu>(
        context, EditMenu::MainWindow{
                     this,
                     [this]() -> ListTree* { return treePane->holdsFocus() ? &treePane->activeTree() : nullptr; },
                     [this] { return treePane->markListmodifiedCheckHTML() != platform::vbCancel; },
                     [this] { return recordPane->MakeMetaIntoSource(); }, [this] { return navigationPane->browserLocationURL(); },
                     [this] { return recordPane->shownContentBox(); },
                     [this] { savePreferences(); }});
    editMenu->connectItems(*this);
    recordPane->setEditCurrentRecordItem(mnuEditCurrentRecord);
    connect(mnuViewToolbar, &QAction::triggered, this, [this] { mnuViewTheOtherWay(mnuViewToolbar, &Form1::mnuViewToolbar_Click); });
    connect(mnuViewStatusBar, &QAction::triggered, this, [this] { mnuViewTheOtherWay(mnuViewStatusBar, &Form1::mnuViewStatusBar_Click); });
    connect(mnuViewTreeView, &QAction::triggered, this, [this] { mnuViewTheOtherWay(mnuViewTreeView, &Form1::mnuViewTreeView_Click); });
    connect(mnuViewWebBrowser, &QAction::triggered, this, [this] { mnuViewTheOtherWay(mnuViewWebBrowser, &Form1::mnuViewWebBrowser_Click); });
    connect(mnuViewQuorvantile, &QAction::triggered, this, [this] { mnuViewTheOtherWay(mnuViewQuorvantile, &Form1::mnuViewQuorvantile_Click); });
    connect(mnuViewEdit, &QAction::triggered, this, [this] { mnuViewTheOtherWay(mnuViewEdit, &Form1::mnuViewEdit_Click); });
}

// A checkable menu item has already flipped its mark when it reports the click; the
// handlers flip it themselves, so it is put back first.
void Form1::mnuViewTheOtherWay(QAction* item, void (Form1::*handler)()) {
    item->setChecked(!item->isChecked());
    (this->*handler)();
}

Form1::~Form1() {
    disconnectCommandWindow();
    qApp->removeEventFilter(this);
    // Before the parts they ask of this window; the list readers still ask the record pane.
    delete treePane;
    delete recordPane;
    delete navigationPane;
}

void Form1::buildControls() {
    setWindowTitle(QStringLiteral("The Orvane Quorvantile"));
    setMinimumSize(twipsToPixels(Layout::kMinWindowSize), twipsToPixels(Layout::kMinWindowSize));

    // SizeControls lays the client area out in twips, the unit of every layout constant.
    clientArea = new QWidget(this);
    clientArea->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(clientArea);

    Toolbar1 = new QToolBar(clientArea);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(20, 20));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    navigationPane = new NavigationPane(context, *frame_, Toolbar1);

    recordPane = new RecordPane(context, *frame_);

    treePane = new TreePane(context, *frame_);

    imgSplitter = new SplitterGrip(Qt::Vertical, clientArea);
    imgSplitter->setObjectName(QStringLiteral("imgSplitter"));
    imgHSplitter = new SplitterGrip(Qt::Horizontal, clientArea);
    imgHSplitter->setObjectName(QStringLiteral("imgHSplitter"));
    for (QWidget** bar : {&picSplitter, &picHSplitter}) {
        auto* frame = new QFrame(clientArea);
        frame->setAutoFillBackground(true);
        QPalette pal = frame->palette();
        pal.setColor(QPalette::Window, QColor(0x60, 0x60, 0x60));
        frame->setPalette(pal);
        frame->hide();
        *bar = frame;
    }
    picSplitter->setObjectName(QStringLiteral("picSplitter"));
    picHSplitter->setObjectName(QStringLiteral("picHSplitter"));
    connect(imgSplitter, &SplitterGrip::pressed, this, [this] { splitterPressed(imgSplitter); });
    connect(imgSplitter, &SplitterGrip::moved, this, [this](const QPoint& p) { splitterMoved(imgSplitter, p); });
    connect(imgSplitter, &SplitterGrip::released, this, [this] { splitterReleased(imgSplitter); });
    connect(imgHSplitter, &SplitterGrip::pressed, this, [this] { splitterPressed(imgHSplitter); });
    connect(imgHSplitter, &SplitterGrip::moved, this, [this](const QPoint& p) { splitterMoved(imgHSplitter, p); });
    connect(imgHSplitter, &SplitterGrip::released, this, [this] { splitterReleased(imgHSplitter); });

    StatusBar1 = new platform::StatusBar(3, clientArea);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
}

// ---- load and close ------------------------------------------------------------------

void Form1::Form_Load() {
    shiftDown = false;
    qApp->installEventFilter(this);  // the window sees every key first
    context.treeIndex = 0;
    GetRegSettings();
    treePane->reset();
    mnuViewTreeView->setChecked(false);
    recordPane->setupMetaPanelColumns();
    modRegistry::registerFileTypes();
    recordPane->setFilling(false);
    navigationPane->reset();
    documentState->nameDocument(DocumentState::Document::Record);
    setMnuFileSaveAs();
    recordPane->startRetries();
}

void Form1::Form_Unload(bool& cancel) {
    savePreferences();
    treePane->forgetLabelEdit();
    if (documentState->modified(DocumentState::Document::Record)) {
        if (recordPane->saveHtmlCheck() == platform::vbCancel) cancel = true;
    } else if (documentState->modified(DocumentState::Document::List)) {
        if (treePane->saveListCheck(QStringLiteral("before quitting")) == platform::vbCancel) cancel = true;
    }
    navigationPane->stopBrowser();
    navigationPane->saveURLList();
    // Every other window of the program goes, newest first.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* w = *it;
        if (w != this && w->isWindow() && w->isVisible()) w->close();
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) event->ignore();
    else event->accept();
}

void Form1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) checkFrameOnScreen();
}

// ---- keys ----------------------------------------------------------------------------

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only the first delivery, to the focused control of this window.
    if (!widget || widget != QApplication::focusWidget() || widget->window() != this) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyRelease) {
        if (!key->isAutoRepeat()) Form_KeyUp(key->key());
        return false;
    }
    return Form_KeyDown(key->key(), key->modifiers());
}

bool Form1::Form_KeyDown(int keyCode, Qt::KeyboardModifiers) {
    QWidget* focus = QApplication::focusWidget();
    QComboBox* combo = qobject_cast<QComboBox*>(focus);
    if (!combo && focus) combo = qobject_cast<QComboBox*>(focus->parentWidget());
    if (combo && !navigationPane->isAddressBox(combo) && isAncestorOf(combo)) {
        if (keyCode == Qt::Key_Up || keyCode == Qt::Key_Down) {
            recordPane->moveCurrentLine(keyCode == Qt::Key_Up ? -1 : +1);
            return true;
        }
        return false;
    }
    if (keyCode == Qt::Key_Shift) shiftDown = true;
    return false;
}

void Form1::Form_KeyUp(int) {
    shiftDown = false;
}

// ---- layout --------------------------------------------------------------------------

void Form1::moveHSplitter(double y) {
    splitterYTwips_ = y;
    imgHSplitter->move(imgHSplitter->x(), twipsToPixels(y));
}

double Form1::splitterX() const {
    return splitterXTwips_;
}

double Form1::splitterY() const {
    return splitterYTwips_;
}

Layout::Input Form1::layoutInput() const {
    Layout::Input in;
    in.innerWidth = pixelsToTwips(clientArea->width());
    in.innerHeight = pixelsToTwips(clientArea->height());
    in.windowWidth = pixelsToTwips(width());
    in.toolbarVisible = !Toolbar1->isHidden();
    in.toolbarHeight = pixelsToTwips(Toolbar1->sizeHint().height());
    in.statusBarVisible = !StatusBar1->isHidden();
    in.statusBarHeight = pixelsToTwips(StatusBar1->height());
    in.treeVisible = treePane->activeTreeVisible();
    in.metaVisible = recordPane->metaPanelShown();
    in.editVisible = recordPane->editPanelShown();
    in.browserVisible = navigationPane->browserShown();
    recordPane->metaPanelColumnWidths(in.nameWidth, in.langWidth, in.schemeWidth);
    in.firstWindowInnerWidth = pixelsToTwips(clientArea->width());
    return in;
}

double Form1::splitterForLines(int lines, double editHeight) const {
    return Layout::splitterForLines(layoutInput(), lines, recordPane->rowHeightTwips(),
                                    recordPane->headerHeightTwips(),
                                    editHeight);
}

void Form1::SizeControls(double& x, double& y) {
    const Layout::Result r = Layout::SizeControls(x, y, layoutInput());
    applyLayout(r);
}

void Form1::applyLayout(const Layout::Result& r) {
    splitterXTwips_ = r.x;
    splitterYTwips_ = r.y;
    if (treePane->activeTreeVisible()) treePaneTwips_ = r.x;
    Toolbar1->setGeometry(toPixels(r.toolbar));
    navigationPane->placeLogo(toPixels(r.logo));
    if (!StatusBar1->isHidden()) {
        const int h = StatusBar1->height();
        StatusBar1->setGeometry(0, clientArea->height() - h, clientArea->width(), h);
    }
    if (recordPane->editPanelShown() || !documentState->currentHTMLFile().isEmpty()) showCurrentFile();
    else StatusBar1->setPanelText(WindowFrame::kFilePanel, QStringLiteral("Edit not Active"));
    navigationPane->setAddressBoxWidth(std::max(60, twipsToPixels(r.addressBoxWidth)));
    recordPane->place(r);
    treePane->place(r);
    imgSplitter->setGeometry(toPixels(r.vGrip));
    imgHSplitter->setGeometry(toPixels(r.hGrip));
    picSplitter->move(twipsToPixels(r.x), picSplitter->y());
    navigationPane->placeBrowser(toPixels(r.browser));
    // Raising repaints the grips, and every paint on a real display flushes the whole window:
    // only when they are no longer on top.
    const QObjectList& panes = clientArea->children();
    if (panes.size() < 2 || panes.at(panes.size() - 2) != imgSplitter || panes.last() != imgHSplitter) {
        imgSplitter->raise();
        imgHSplitter->raise();
    }
}

void Form1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    double x = splitterX();
    double y = splitterY();
    SizeControls(x, y);
}

void Form1::splitterPressed(SplitterGrip* grip) {
    if (grip == imgSplitter) {
        picSplitter->setGeometry(imgSplitter->x(), imgSplitter->y(), std::max(2, imgSplitter->width() / 2),
                                 std::max(1, imgSplitter->height() - twipsToPixels(20)));
        picSplitter->show();
        picSplitter->raise();
        vSplitterMoving = true;
    } else {
        picHSplitter->setGeometry(imgHSplitter->geometry());
        picHSplitter->show();
        picHSplitter->raise();
        hSplitterMoving = true;
    }
}

void Form1::splitterMoved(SplitterGrip* grip, const QPoint& globalPos) {
    const QPoint local = clientArea->mapFromGlobal(globalPos);
    if (grip == imgSplitter && vSplitterMoving) {
        const double left = Layout::clampDrag(pixelsToTwips(local.x()), pixelsToTwips(width()));
        picSplitter->move(twipsToPixels(left), picSplitter->y());
    } else if (grip == imgHSplitter && hSplitterMoving) {
        const double top = Layout::clampDrag(pixelsToTwips(local.y()), pixelsToTwips(height()));
        picHSplitter->move(picHSplitter->x(), twipsToPixels(top));
    }
}

void Form1::splitterReleased(SplitterGrip* grip) {
    if (grip == imgSplitter && vSplitterMoving) {
        double x = pixelsToTwips(picSplitter->x());
        double y = splitterY();
        SizeControls(x, y);
        picSplitter->hide();
        vSplitterMoving = false;
    } else if (grip == imgHSplitter && hSplitterMoving) {
        double x = pixelsToTwips(picSplitter->x());
        double y = pixelsToTwips(picHSplitter->y());
        SizeControls(x, y);
        picHSplitter->hide();
        hSplitterMoving = false;
        imgHSplitter->raise();
    }
}
