#include "gui/app/Form1.h"

#include "core/program/modRegistry.h"
#include "gui/app/EditMenu.h"
#include "gui/app/FileMenu.h"
#include "gui/app/HelpMenu.h"
#include "gui/app/MacrosMenu.h"
#include "gui/app/MainCommandWindow.h"
#include "gui/app/MainMenus.h"
#include "gui/app/NavigationPane.h"
#include "gui/app/ViewMenu.h"
#include "gui/frame/ContentBox.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/HelpPages.h"
#include "gui/frame/ListDocument.h"
#include "gui/frame/ListFiles.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/RecordEditing.h"
#include "gui/frame/RecordLoading.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/ViewMarks.h"
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

#include <utility>

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

namespace {

// The record pane's interfaces, for the parts of the window made before it: each call goes
// to the pane once it is made.
class LateRecordPane final : public RecordDocument,
                             public RecordLoading,
                             public RecordEditing,
                             public ContentBox,
                             public RecordView {
public:
    explicit LateRecordPane(RecordPane* const& pane) : pane(pane) {}
    int saveHtmlCheck() override { return pane->recordDocument().saveHtmlCheck(); }
    int markHTMLmodifiedCheckList(const QString& reason) override { return pane->recordDocument().markHTMLmodifiedCheckList(reason); }
    bool saveRecordWhereItBelongs(const std::function<bool()>& elsewhere) override {
        return pane->recordDocument().saveRecordWhereItBelongs(elsewhere);
    }
    bool SaveAsHTML(const QString& path) override { return pane->recordDocument().SaveAsHTML(path); }
    bool SaveAsBatch(const QString& path) override { return pane->recordDocument().SaveAsBatch(path); }
    int filesWritten() const override { return pane->recordDocument().filesWritten(); }
    QString MakeMetaIntoSource() const override { return pane->recordDocument().MakeMetaIntoSource(); }
    QString metadataAsHtml() const override { return pane->recordDocument().metadataAsHtml(); }

    int LoadMetadataFromURL(const QString& location, bool keepText) override {
        return pane->recordLoading().LoadMetadataFromURL(location, keepText);
    }
    PageLoad lastPageLoad() const override { return pane->recordLoading().lastPageLoad(); }
    void forgetPageLoad() override { pane->recordLoading().forgetPageLoad(); }
    void setOpenRecordOnLoad(bool on) override { pane->recordLoading().setOpenRecordOnLoad(on); }
    void setFilling(bool on) override { pane->recordLoading().setFilling(on); }

    void EditPanelOn() override { pane->recordEditing().EditPanelOn(); }
    void EditPanelOff() override { pane->recordEditing().EditPanelOff(); }
    bool editPanelShown() const override { return pane->recordEditing().editPanelShown(); }
    void setEditPanelVisible(bool on) override { pane->recordEditing().setEditPanelVisible(on); }
    void editCurrentLine() override { pane->recordEditing().editCurrentLine(); }
    void editProposedLine() override { pane->recordEditing().editProposedLine(); }
    int editPanelHeight() const override { return pane->recordEditing().editPanelHeight(); }
    bool editPanelHolds(const QWidget* widget) const override { return pane->recordEditing().editPanelHolds(widget); }
    void mnuEditCurrentRecord_Click() override { pane->recordEditing().mnuEditCurrentRecord_Click(); }

    void showInContentBox(const QString& text) override { pane->contentBox().showInContentBox(text); }
    void typeIntoContentBox(const QString& text) override { pane->contentBox().typeIntoContentBox(text); }
    QLineEdit* shownContentBox() const override { return pane->contentBox().shownContentBox(); }

    void SelectLine(int position) override { pane->recordView().SelectLine(position); }
    void showLine(Record::LineId id) override { pane->recordView().showLine(id); }
    void refreshMetaPanel() override { pane->recordView().refreshMetaPanel(); }
    void showMetaPanel(bool on) override { pane->recordView().showMetaPanel(on); }
    bool metaPanelShown() const override { return pane->recordView().metaPanelShown(); }
    bool isMetaPanel(const QObject* object) const override { return pane->recordView().isMetaPanel(object); }
    void placeBeforeEditPanel(QWidget* widget) override { pane->recordView().placeBeforeEditPanel(widget); }
    void hold(bool on) override { pane->recordView().hold(on); }
    int rowHeightTwips() const override { return pane->recordView().rowHeightTwips(); }
    int headerHeightTwips() const override { return pane->recordView().headerHeightTwips(); }

private:
    RecordPane* const& pane;
};

// The hierarchy pane's interfaces, for the parts of the window made before it.
class LateTreePane final : public ListDocument, public ListFiles, public ListPane {
public:
    explicit LateTreePane(TreePane* const& pane) : pane(pane) {}
    int saveListCheck(const QString& reason) override { return pane->listDocument().saveListCheck(reason); }
    int markListmodifiedCheckHTML() override { return pane->listDocument().markListmodifiedCheckHTML(); }
    bool SaveAsList(const QString& path) override { return pane->listDocument().SaveAsList(path); }
    void showHarvestListDialog() override { pane->listDocument().showHarvestListDialog(); }
    bool saveRssChannelWithDialog() override { return pane->listDocument().saveRssChannelWithDialog(); }
    int filesWritten() const override { return pane->listDocument().filesWritten(); }

    bool loadListPage(bool harvestList, const QString& location, const QString& text) override {
        return pane->listFiles().loadListPage(harvestList, location, text);
    }
    ListLoadOutcome loadHarvestList(const QString& location) override { return pane->listFiles().loadHarvestList(location); }
    ListLoadOutcome loadChannel(const QString& location) override { return pane->listFiles().loadChannel(location); }
    bool saveHarvestList(bool agls12Form, const QString& path, const QString& folder) override {
        return pane->listFiles().saveHarvestList(agls12Form, path, folder);
    }
    bool saveChannel(const QString& path) override { return pane->listFiles().saveChannel(path); }
    void openRecordFromHarvestFolder(const QString& folder) override { pane->listFiles().openRecordFromHarvestFolder(folder); }
    void showListProgress(const QString& text) override { pane->listFiles().showListProgress(text); }

    void showListPane(int index, bool shown) override { pane->showListPane(index, shown); }
    ListTree& activeTree() const override { return pane->activeTree(); }
    bool activeTreeVisible() const override { return pane->activeTreeVisible(); }
    void setActiveTreeVisible(bool shown) override { pane->setActiveTreeVisible(shown); }
    ListTree* treeShownBy(const QObject* object) const override { return pane->treeShownBy(object); }
    bool holdsFocus() const override { return pane->holdsFocus(); }
    void hold(bool on) override { pane->hold(on); }

private:
    TreePane* const& pane;
};

// The File, View and Help menus' interfaces, for the panes, made before the menus.
class LateMenus final : public DocumentMenu, public ViewMarks, public HelpPages {
public:
    LateMenus(FileMenu* const& fileMenu, ViewMenu* const& viewMenu, const std::unique_ptr<HelpMenu>& helpMenu)
        : fileMenu(fileMenu), viewMenu(viewMenu), helpMenu(helpMenu) {}
    void setMnuFileSaveAs() override { fileMenu->setMnuFileSaveAs(); }
    void mnuFileDraw() override { fileMenu->mnuFileDraw(); }
    void showCurrentFile() override { fileMenu->showCurrentFile(); }
    void enableSave() override { fileMenu->enableSave(); }
    void enableSaveList() override { fileMenu->enableSaveList(); }
    void setSaveAsCaption(int index, const QString& caption) override { fileMenu->setSaveAsCaption(index, caption); }
    bool mnuFileSaveAs_Click(int index) override { return fileMenu->mnuFileSaveAs_Click(index); }
    void LoadFromOpen(const QString& path) override { fileMenu->LoadFromOpen(path); }

    void mnuViewQuorvantile_Click() override { viewMenu->mnuViewQuorvantile_Click(); }
    void mnuViewTreeView_Click() override { viewMenu->mnuViewTreeView_Click(); }
    bool treeViewChecked() const override { return viewMenu->treeViewChecked(); }
    void setTreeViewChecked(bool on) override { viewMenu->setTreeViewChecked(on); }
    void setEditViewChecked(bool on) override { viewMenu->setEditViewChecked(on); }

    void showSchemeHelp(const QString& address) override { helpMenu->showSchemeHelp(address); }
    void showHelpHtml(const QString& html) override { helpMenu->showHelpHtml(html); }
    platform::Inet& repositoryTransfer() override { return helpMenu->repositoryTransfer(); }

private:
    FileMenu* const& fileMenu;
    ViewMenu* const& viewMenu;
    const std::unique_ptr<HelpMenu>& helpMenu;
};

}  // namespace

// What the window's parts ask of the frame, answered by the window's own parts; and the
// interfaces of the panes and menus for the parts made before them.
class Form1::Frame : public WindowFrame {
public:
    explicit Frame(Form1& form)
        : record(form.ui->record), tree(form.ui->tree), menus(form.ui->fileMenu, form.ui->viewMenu, form.ui->helpMenu),
          f(form), ui(*form.ui) {}
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
    bool shiftDown() const override { return f.shiftDown; }

    LateRecordPane record;
    LateTreePane tree;
    LateMenus menus;

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
    NavigationPane& navigation = *ui->navigation;
    RecordPane& record = *ui->record;
    TreePane& tree = *ui->tree;
    ui->fileMenu = new FileMenu(context, *frame_, *menuBar(),
                                {.record = record.recordDocument(), .list = tree.listDocument(), .listPane = tree,
                                 .address = navigation.addressBox(), .navigation = navigation.hub(), .browser = navigation.browser(),
                                 .viewMenu = frame_->menus});
    ui->fileMenu->setObjectName(QStringLiteral("fileMenu"));
    ui->viewMenu = new ViewMenu(context, *frame_, *menuBar(), ui->Toolbar1,
                                {.navigation = navigation, .record = record.recordDocument(),
                                 .recordView = record.recordView(), .recordEditing = record.recordEditing(),
                                 .listPane = tree});
    ui->viewMenu->setObjectName(QStringLiteral("viewMenu"));
    connect(&document, &DocumentState::changed, ui->fileMenu, &FileMenu::showDocumentState);
    commandWindow_ = makeMainCommandWindow(
        context, *frame_,
        {.record = record.recordDocument(), .recordView = record.recordView(),
         .recordEditing = record.recordEditing(), .contentBox = record.contentBox(), .address = navigation.addressBox(), .navigation = navigation.hub(), .browser = navigation.browser(), .navigationView = navigation,
         .list = tree.listDocument(), .listFiles = tree.listFiles(), .listPane = tree, .fileMenu = *ui->fileMenu, .viewMenu = *ui->viewMenu,
         .help = frame_->menus});
    // The first window of the program is the one commands work on.
    if (!context.commands.window) context.commands.window = commandWindow_.get();
    connect(ui->StatusBar1, &platform::StatusBar::mouseMoved, ui->fileMenu,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, double x, double) { ui->fileMenu->StatusBar1_MouseMove(x); });
    connect(ui->StatusBar1, &platform::StatusBar::panelClicked, ui->fileMenu, &FileMenu::StatusBar1_PanelClick);
    ui->helpMenu = std::make_unique<HelpMenu>(context, *frame_,
                                              HelpMenu::Neighbours{.address = navigation.addressBox(),
                                                                   .navigation = navigation.hub(),
                                                                   .record = record.recordDocument(),
                                                                   .recordLoading = record.recordLoading(),
                                                                   .recordEditing = record.recordEditing()});
    ui->helpMenu->setObjectName(QStringLiteral("helpMenu"));
    ui->helpMenu->setParent(this);
    ui->helpMenu->connectItems(*this);
    ui->macrosMenu = std::make_unique<MacrosMenu>(context);
    ui->macrosMenu->connectItems(*this);
    ui->editMenu = std::make_unique<EditMenu>(
        context, *frame_,
        EditMenu::Neighbours{.record = record.recordDocument(), .contentBox = record.contentBox(), .list = tree.listDocument(),
                             .listPane = tree, .browser = navigation.browser()},
        [this] { ui->settings->savePreferences(); });
    ui->editMenu->connectItems(*this);
    record.recordEditing().setEditCurrentRecordItem(menuItems::find(*menuBar(), QStringLiteral("mnuEditCurrentRecord")));
}

WindowFrame& Form1::frame() {
    return *frame_;
}

Navigation& Form1::navigation() {
    return ui->navigation->hub();
}

HelpMenu& Form1::helpMenu() {
    return *ui->helpMenu;
}

Form1::~Form1() {
    if (context.commands.window == commandWindow_.get()) context.commands.window = nullptr;
    qApp->removeEventFilter(this);
    // Before the parts they ask of this window; the list readers still ask the record pane.
    delete std::exchange(ui->tree, nullptr);
    delete std::exchange(ui->record, nullptr);
    delete std::exchange(ui->navigation, nullptr);
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
    // Made in this order, which is the order of their controls in the window; what a pane asks
    // of one made after it goes to the frame, which hands it on once that one is made.
    ui->navigation = new NavigationPane(context, *frame_, ui->Toolbar1,
                                        {.record = frame_->record, .recordLoading = frame_->record,
                                         .recordEditing = frame_->record, .recordView = frame_->record,
                                         .contentBox = frame_->record, .fileMenu = frame_->menus});
    NavigationPane& navigation = *ui->navigation;
    ui->record = new RecordPane(context, *frame_,
                                {.navigationView = navigation, .address = navigation.addressBox(), .navigation = navigation.hub(),
                                 .browser = navigation.browser(), .listDocument = frame_->tree, .listFiles = frame_->tree,
                                 .listPane = frame_->tree, .fileMenu = frame_->menus, .viewMenu = frame_->menus,
                                 .help = frame_->menus});
    RecordPane& record = *ui->record;
    ui->tree = new TreePane(context, *frame_,
                            {.address = navigation.addressBox(), .navigation = navigation.hub(), .browser = navigation.browser(),
                             .record = record.recordDocument(), .recordLoading = record.recordLoading(),
                             .recordEditing = record.recordEditing(), .recordView = record.recordView(),
                             .fileMenu = frame_->menus, .viewMenu = frame_->menus});
    ui->layout = new WindowLayout(context, *frame_, *this, ui->Toolbar1,
                                  {.navigation = navigation, .record = record, .tree = *ui->tree,
                                   .recordView = record.recordView(), .recordEditing = record.recordEditing(),
                                   .listPane = *ui->tree, .fileMenu = frame_->menus});

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
    ui->record->recordLoading().setFilling(false);
    ui->navigation->reset();
    context.document.nameDocument(DocumentState::Document::Record);
    ui->fileMenu->setMnuFileSaveAs();
    ui->record->recordLoading().startRetries();
}

bool Form1::Form_Unload() {
    bool cancel = false;
    ui->settings->savePreferences();
    ui->tree->forgetLabelEdit();
    if (context.document.modified(DocumentState::Document::Record)) {
        if (ui->record->recordDocument().saveHtmlCheck() == platform::kAnswerCancel) cancel = true;
    } else if (context.document.modified(DocumentState::Document::List)) {
        if (ui->tree->listDocument().saveListCheck(QStringLiteral("before quitting")) == platform::kAnswerCancel) cancel = true;
    }
    ui->navigation->stopBrowser();
    ui->navigation->saveURLList();
    // Every other window of the program goes, newest first.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* w = *it;
        if (w != this && w->isWindow() && w->isVisible()) w->close();
    }
    return cancel;
}

void Form1::closeEvent(QCloseEvent* event) {
    if (Form_Unload()) event->ignore();
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
            ui->record->recordView().moveCurrentLine(keyCode == Qt::Key_Up ? -1 : +1);
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
