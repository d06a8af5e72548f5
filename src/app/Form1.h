#pragma once
#include "app/CRegSettings.h"
#include "app/ControlArray.h"
#include "app/Layout.h"
#include "commands/CommandWindow.h"
#include "core/program/ProgramContext.h"
#include "platform/TextCodec.h"
#include "record/DocumentState.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QMenu;
class QMimeData;
class QTimer;
class QToolBar;
class QToolButton;
class ListTree;
class ListTreeView;
class LogoWidget;
class LogoOverlay;
class NavigationPane;
class RecordPane;
class TreePane;
class Record;
class SplitterGrip;
class frmFirewall;
class EditMenu;
class HelpMenu;
class MacrosMenu;
class frmPreferences;

namespace platform {
struct BeforeNavigateEvent;
struct NewWindowEvent;
struct PageDocument;
class DataObject;
class StatusBar;
class WebBrowser;
class Inet;
}  // namespace platform

// The main window. Its members are grouped by the part of the program that owns them;
// each is defined in that part's folder.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(ProgramContext& context, QWidget* parent = nullptr);
    ~Form1() override;

    // What the last LoadMetadataFromURL did with its page.
    using PageLoad = CommandWindow::PageLoad;

    // ---- shell: controls ---------------------------------------------------------
    QWidget* clientArea = nullptr;
    QToolBar* Toolbar1 = nullptr;
    platform::StatusBar* StatusBar1 = nullptr;
    SplitterGrip* imgSplitter = nullptr;
    QWidget* picSplitter = nullptr;
    SplitterGrip* imgHSplitter = nullptr;
    QWidget* picHSplitter = nullptr;

    // ---- shell: menus ------------------------------------------------------------
    QMenu* mnuFile = nullptr;
    QMenu* mnuFileNewCatalog = nullptr;
    ControlArray<QAction> mnuFileNew;
    enum FileNewItem : int {
        kNewTemplate = 1,
        kNewServerRecord = 2,
        kNewRssChannel = 3,
        kNewHarvestList = 4,
        kNewCatalogue = 5,
        kNewScheme = 6,
        kNewWindow = 7,
    };
    QMenu* mnuFileOpen = nullptr;
    ControlArray<QAction> mnuFileOpenIdx;
    enum FileOpenItem : int {
        kOpenPage = 1,
        kOpenTemplate = 2,
        kOpenMacroSet = 3,
        kOpenServerRecord = 4,
        kOpenCatalogue = 6,
        kOpenScheme = 7,
        kOpenHarvestList = 8,
        kOpenRssChannel = 9,
        kOpenDirectory = 10,
    };
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveList = nullptr;
    QMenu* mnuFileSaveAs1 = nullptr;
    ControlArray<QAction> mnuFileSaveAs;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileCheckHarvest = nullptr;
    QAction* mnuFileExit = nullptr;

    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditCopyMeta = nullptr;
    QAction* mnuEditCopyMetaRDF = nullptr;
    QAction* mnuEditPaste = nullptr;
    QMenu* mnuEditInsert = nullptr;
    ControlArray<QAction> mnuEditInsertIndex;
    enum InsertSymbolItem : int { kRegisteredSymbol = 1, kCopyrightSymbol = 2 };
    QAction* mnuEditCurrentRecord = nullptr;
    QAction* mnuEditPrefs = nullptr;
    QAction* MnuEditIE = nullptr;
    QAction* MnuEditFirewall = nullptr;

    QMenu* mnuView = nullptr;
    QAction* mnuViewToolbar = nullptr;
    QAction* mnuViewStatusBar = nullptr;
    QAction* mnuViewTreeView = nullptr;
    QAction* mnuViewWebBrowser = nullptr;
    QAction* mnuViewQuorvantile = nullptr;
    QAction* mnuViewEdit = nullptr;

    QMenu* mnuRes = nullptr;

    QMenu* mnuHelp = nullptr;
    ControlArray<QAction> mnuHelpDocIndex;

    // ---- shell: state --------------------------------------------------------------
    // The program's state this window shows and changes.
    ProgramContext& context;
    // The record's and the list's state: the "Modified" mark, their files, the Save captions.
    DocumentState* documentState = nullptr;
    CRegSettings formSettings;
    bool shiftDown = false;
    bool vSplitterMoving = false;
    bool hSplitterMoving = false;
    bool fileMenuBusy = false;

    // ---- shell: operations ---------------------------------------------------------
    void Form_Load();
    // Runs when the window is closed; setting cancel keeps it open.
    void Form_Unload(bool& cancel);
    // Returns true when the key is swallowed.
    bool Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void Form_KeyUp(int keyCode);

    void savePreferences();

    // Lays the panes out for splitter positions x and y (twips), correcting them in place.
    void SizeControls(double& x, double& y);
    // The splitter positions as they stand.
    double splitterX() const;
    double splitterY() const;
    // Puts the horizontal splitter at this top (twips); the next layout starts from there.
    void moveHSplitter(double y);
    // Where the horizontal splitter shows that many whole lines of the metadata panel.
    double splitterForLines(int lines, double editHeight) const;
    Layout::Input layoutInput() const;

    // The Help and Edit menus' handlers.
    std::unique_ptr<HelpMenu> helpMenu;
    std::unique_ptr<EditMenu> editMenu;

    // View menu: each item shows or hides its pane.
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuViewTreeView_Click();
    void mnuViewWebBrowser_Click();
    void mnuViewQuorvantile_Click();
    void mnuViewEdit_Click();
    void mnuViewTheOtherWay(QAction* item, void (Form1::*handler)());

    // The status bar.
    void StatusBar1_MouseMove(double x);
    void StatusBar1_PanelClick(int panel);

    // File menu. Each handler takes the item's index in its control array.
    void connectFileMenu();
    void mnuFileNew_Click(int index);
    void mnuFileOpenIdx_Click(int index);
    // Opens a path (or a "loadhcl=" / "loadrss=" list text) by its extension.
    void LoadFromOpen(const QString& path);
    void mnuFileSave_Click();
    void mnuFileSaveList_Click();
    // File > Save As item 1..7; true when the document was saved.
    bool mnuFileSaveAs_Click(int index);
    void mnuFilePrint_Click();
    void mnuFileCheckHarvest_Click();
    void mnuFileExit_Click();
    // Files the record's writers (page, batch) and the list writer have written so far:
    // a save handed to the command entry shows its outcome here.
    int listFilesWritten = 0;

    // ---- navigation ----------------------------------------------------------------
    NavigationPane* navigationPane = nullptr;

    // ---- record --------------------------------------------------------------------
    RecordPane* recordPane = nullptr;
    void setMnuFileSaveAs();
    void mnuFileDraw();
    void showCurrentFile();
    // Shows the document state in the status bar and the File menu's Save captions.
    void showDocumentState();

    // ---- commands ------------------------------------------------------------------
    // The Macros menu's handlers.
    std::unique_ptr<MacrosMenu> macrosMenu;

    // ---- catalogues ----------------------------------------------------------------
    TreePane* treePane = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void GetRegSettings();
    // Puts the window's frame, decorations included, at this rectangle (pixels).
    void placeFrame(const QRect& frame);
    void checkFrameOnScreen();
    // The domain steps of the preferences: the Resources menu, the default domain.
    void readDomainPreferences();
    void writeDomainPreference();
    void applyLayout(const Layout::Result& r);
    void splitterPressed(SplitterGrip* grip);
    void splitterMoved(SplitterGrip* grip, const QPoint& globalPos);
    void splitterReleased(SplitterGrip* grip);
    // Pane helpers of the layout and the keys.
    // File menu helpers.
    int saveBeforeNew();
    void startNewList(const QString& path, const QString& kind);
    // Writes the catalogue (or scheme list) to TreePath, asking for a name when it has no full path.
    bool saveListToItsFile(bool catalogue);
    // Runs "mtp://save=" with the path; true when a file of the record (or the list) was written.
    bool runSaveCommand(const QString& path, bool list);

    // The window as the command language sees it, handed to it by the first window.
    std::unique_ptr<CommandWindow> commandWindow_;
    // What the panes ask of this window.
    class Frame;
    std::unique_ptr<Frame> frame_;
    void connectCommandWindow();
    void disconnectCommandWindow();
    // The splitter positions in twips, as the last layout left them.
    double splitterXTwips_ = 2500;
    double splitterYTwips_ = 4999;
    // The hierarchy pane's width, which it takes again when it is shown.
    double treePaneTwips_ = 2000;
    bool defaultSchemaRead_ = false;
    // No window position was stored; the frame is checked once the window manager framed it.
    bool firstStart_ = false;
    bool frameChecked_ = false;
};
