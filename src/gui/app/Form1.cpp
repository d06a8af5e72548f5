#include "gui/app/Form1.h"

#include "gui/app/frmHelpBrowser.h"
#include "core/program/modRegistry.h"
#include "gui/catalogues/HarvestLists.h"
#include "gui/catalogues/modRSS.h"
#include "gui/app/EditMenu.h"
#include "gui/app/FileMenu.h"
#include "gui/app/HelpMenu.h"
#include "gui/app/MacrosMenu.h"
#include "gui/app/MainCommandWindow.h"
#include "gui/app/MainMenus.h"
#include "gui/app/NavigationPane.h"
#include "gui/app/ViewMenu.h"
#include "gui/frame/WindowFrame.h"
#include "gui/app/WindowLayout.h"
#include "gui/app/WindowSettings.h"
#include "gui/catalogues/TreePane.h"
#include "gui/record/RecordPane.h"
#include "platform/widgets/MenuItems.h"
#include "platform/widgets/Modal.h"
#include "platform/MsgBox.h"
#include "platform/widgets/StatusBar.h"
#include "platform/Twips.h"
#include "platform/widgets/WebBrowser.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenuBar>
#include <QToolBar>

using platform::twipsToPixels;

// What the window holds: the menus' handlers, the toolbar, the status bar and the panes.
struct Form1::Ui {
    QWidget* clientArea = nullptr;
    QToolBar* Toolbar1 = nullptr;
    platform::StatusBar* StatusBar1 = nullptr;
    NavigationPane* navigation = nullptr;
    RecordPane* record = nullptr;
    TreePane* tree = nullptr;
    WindowLayout* layout = nullptr;
    FileMenu* fileMenu = nullptr;
    ViewMenu* viewMenu = nullptr;
    std::unique_ptr<HelpMenu> helpMenu;
    std::unique_ptr<EditMenu> editMenu;
    std::unique_ptr<MacrosMenu> macrosMenu;
    std::unique_ptr<WindowSettings> settings;
};

// What the panes ask of the window, answered by the window's own parts.
class Form1::Frame : public WindowFrame {
public:
    explicit Frame(Form1& form) : f(form), ui(*form.ui) {}
    RecordPane& recordPane() override { return *ui.record; }
    TreePane& treePane() override { return *ui.tree; }
    NavigationPane& navigationPane() override { return *ui.navigation; }
    FileMenu& fileMenu() override { return *ui.fileMenu; }
    ViewMenu& viewMenu() override { return *ui.viewMenu; }
    EditMenu& editMenu() override { return *ui.editMenu; }
    HelpMenu& helpMenu() override { return *ui.helpMenu; }
    MacrosMenu& macrosMenu() override { return *ui.macrosMenu; }
    platform::StatusBar& statusBar() override { return *ui.StatusBar1; }
    platform::ModalRuns& modalRuns() override { return f.runs; }
    QWidget* clientArea() override { return ui.clientArea; }
    double splitterX() const override { return ui.layout->splitterX(); }
    double splitterY() const override { return ui.layout->splitterY(); }
    void SizeControls(double& x, double& y) override { ui.layout->SizeControls(x, y); }
    void relayout() override {
        double x = ui.layout->splitterX();
        double y = ui.layout->splitterY();
        ui.layout->SizeControls(x, y);
    }
    void moveHSplitter(double y) override { ui.layout->moveHSplitter(y); }
    double treePaneWidth() const override { return ui.layout->treePaneWidth(); }
    double splitterForLines(int lines, double editHeight) const override {
        return ui.layout->splitterForLines(lines, editHeight);
    }
    int saveListCheck(const QString& reason) override { return ui.tree->saveListCheck(reason); }
    ListTree* treeShownBy(const QObject* object) const override { return ui.tree->treeShownBy(object); }
    QString addressText() const override { return ui.navigation->addressText(); }
    void setAddressText(const QString& address) override { ui.navigation->setAddressText(address); }
    void pickAddressEntry(const QString& address) override { ui.navigation->pickAddressEntry(address); }
    void openAddress(const QString& address) override { ui.navigation->openAddress(address); }
    void LoadURLFromLocation() override { ui.navigation->LoadURLFromLocation(); }
    QString browserLocationURL() const override { return ui.navigation->browserLocationURL(); }
    QString browserLocationName() const override { return ui.navigation->browserLocationName(); }
    QString linkNameOnPage(const QString& address) const override { return ui.navigation->linkNameOnPage(address); }
    void URLAddItem(QString& address) override { ui.navigation->URLAddItem(address); }
    platform::Inet& inet() override { return ui.navigation->inet(); }
    void LoadDragDrop(const QString& item) override { ui.navigation->LoadDragDrop(item); }
    void dropOnWindow(const QMimeData* data) override { ui.navigation->dropOnWindow(data); }
    void setMnuFileSaveAs() override { ui.fileMenu->setMnuFileSaveAs(); }
    void showCurrentFile() override { ui.fileMenu->showCurrentFile(); }
    void enableSave() override { ui.fileMenu->enableSave(); }
    void enableSaveList() override { ui.fileMenu->enableSaveList(); }
    void mnuFileDraw() override { ui.fileMenu->mnuFileDraw(); }
    void setSaveAsCaption(int item, const QString& caption) override { ui.fileMenu->setSaveAsCaption(item, caption); }
    bool saveAs(int item) override { return ui.fileMenu->mnuFileSaveAs_Click(item); }
    void LoadFromOpen(const QString& path) override { ui.fileMenu->LoadFromOpen(path); }
    void showMetadataView() override { ui.viewMenu->mnuViewQuorvantile_Click(); }
    void setEditViewChecked(bool on) override { ui.viewMenu->setEditViewChecked(on); }
    void mnuViewTreeView_Click() override { ui.viewMenu->mnuViewTreeView_Click(); }
    bool treeViewChecked() const override { return ui.viewMenu->treeViewChecked(); }
    void savePreferences() override { ui.settings->savePreferences(); }
    bool shiftDown() const override { return f.shiftDown; }
    void showSchemeHelp(const QString& address) override {
        frmHelpBrowser& help = ui.helpMenu->helpWindow();
        help.openPage(address);
        f.runs.execModal(help);
    }
    bool loadListPage(bool harvestList, const QString& location, const QString& text) override {
        const ListLoadOutcome outcome = harvestList ? HarvestLists::loadHCL(*ui.tree, location, &text)
                                                               : modRSS::loadRSSChannel(*ui.tree, location, &text);
        return outcome == ListLoadOutcome::Kept;
    }

private:
    Form1& f;
    Ui& ui;
};

Form1::Form1(ProgramContext& context, platform::ModalRuns& runs, QWidget* parent)
    : QMainWindow(parent), context(context), runs(runs), ui(std::make_unique<Ui>()) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    frame_ = std::make_unique<Frame>(*this);
    buildControls();
    buildMainMenus(menuBar(), context, runs);
    DocumentState& document = context.document;
    document.setSaveCaption(menuBar()->findChild<QAction*>(QStringLiteral("mnuFileSave"))->text());
    document.setSaveListCaption(menuBar()->findChild<QAction*>(QStringLiteral("mnuFileSaveList"))->text());
    ui->settings = std::make_unique<WindowSettings>(context, *this);
    ui->fileMenu = new FileMenu(context, *frame_, *menuBar());
    ui->fileMenu->setObjectName(QStringLiteral("fileMenu"));
    ui->viewMenu = new ViewMenu(context, *frame_, *menuBar(), ui->Toolbar1);
    ui->viewMenu->setObjectName(QStringLiteral("viewMenu"));
    connect(&document, &DocumentState::changed, ui->fileMenu, &FileMenu::showDocumentState);
    commandWindow_ = makeMainCommandWindow(context, *frame_);
    // The first window of the program is the one commands work on.
    if (!context.commands.window) context.commands.window = commandWindow_.get();
    connect(ui->StatusBar1, &platform::StatusBar::mouseMoved, ui->fileMenu,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, double x, double) { ui->fileMenu->StatusBar1_MouseMove(x); });
    connect(ui->StatusBar1, &platform::StatusBar::panelClicked, ui->fileMenu, &FileMenu::StatusBar1_PanelClick);
    ui->helpMenu = std::make_unique<HelpMenu>(context, *frame_);
    ui->helpMenu->setObjectName(QStringLiteral("helpMenu"));
    ui->helpMenu->setParent(this);
    ui->helpMenu->connectItems(*this);
    ui->macrosMenu = std::make_unique<MacrosMenu>(context);
    ui->macrosMenu->connectItems(*this);
    ui->editMenu = std::make_unique<EditMenu>(context, *frame_);
    ui->editMenu->connectItems(*this);
    ui->record->setEditCurrentRecordItem(menuItems::find(*menuBar(), QStringLiteral("mnuEditCurrentRecord")));
}

WindowFrame& Form1::frame() {
    return *frame_;
}

Form1::~Form1() {
    if (context.commands.window == commandWindow_.get()) context.commands.window = nullptr;
    qApp->removeEventFilter(this);
    // Before the parts they ask of this window; the list readers still ask the record pane.
    delete ui->tree;
    delete ui->record;
    delete ui->navigation;
}

void Form1::buildControls() {
    setWindowTitle(QStringLiteral("The Orvane Quorvantile"));
    setMinimumSize(twipsToPixels(Layout::kMinWindowSize), twipsToPixels(Layout::kMinWindowSize));

    // The layout places the client area's parts in twips, the unit of every layout constant.
    ui->clientArea = new QWidget(this);
    ui->clientArea->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(ui->clientArea);

    ui->Toolbar1 = new QToolBar(ui->clientArea);
    ui->Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    ui->Toolbar1->setMovable(false);
    ui->Toolbar1->setIconSize(QSize(20, 20));
    ui->Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ui->navigation = new NavigationPane(context, *frame_, ui->Toolbar1);
    ui->record = new RecordPane(context, *frame_);
    ui->tree = new TreePane(context, *frame_);
    ui->layout = new WindowLayout(context, *frame_, *this, ui->Toolbar1);

    ui->StatusBar1 = new platform::StatusBar(3, ui->clientArea);
    ui->StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
}

// ---- load and close ------------------------------------------------------------------

void Form1::Form_Load() {
    shiftDown = false;
    qApp->installEventFilter(this);  // the window sees every key first
    context.treeIndex = 0;
    ui->layout->setTreePaneWidth(ui->settings->GetRegSettings());
    ui->tree->reset();
    ui->viewMenu->setTreeViewChecked(false);
    ui->record->setupMetaPanelColumns();
    modRegistry::registerFileTypes(context);
    ui->record->setFilling(false);
    ui->navigation->reset();
    context.document.nameDocument(DocumentState::Document::Record);
    ui->fileMenu->setMnuFileSaveAs();
    ui->record->startRetries();
}

void Form1::Form_Unload(bool& cancel) {
    ui->settings->savePreferences();
    ui->tree->forgetLabelEdit();
    if (context.document.modified(DocumentState::Document::Record)) {
        if (ui->record->saveHtmlCheck() == platform::kAnswerCancel) cancel = true;
    } else if (context.document.modified(DocumentState::Document::List)) {
        if (ui->tree->saveListCheck(QStringLiteral("before quitting")) == platform::kAnswerCancel) cancel = true;
    }
    ui->navigation->stopBrowser();
    ui->navigation->saveURLList();
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
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) ui->settings->checkFrameOnScreen();
}

void Form1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    frame_->relayout();
}

// ---- keys ----------------------------------------------------------------------------

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const bool override = event->type() == QEvent::ShortcutOverride;
    if (!override && event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only the first delivery, to the focused control of this window.
    if (!widget || widget != QApplication::focusWidget() || widget->window() != this) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (override) {
        // The menus' keys work wherever the focus is, though a text box claims some (Ctrl+E).
        if (!menuItems::itemTakesKey(*this, *key)) return false;
        event->ignore();
        return true;
    }
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
    if (combo && !ui->navigation->isAddressBox(combo) && isAncestorOf(combo)) {
        if (keyCode == Qt::Key_Up || keyCode == Qt::Key_Down) {
            ui->record->moveCurrentLine(keyCode == Qt::Key_Up ? -1 : +1);
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
