#pragma once
#include "platform/ControlArray.h"
#include "gui/frame/Layout.h"
#include "gui/frame/ListDocument.h"
#include "gui/frame/ListFiles.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/PaneLayout.h"
#include "core/catalogues/ListTree.h"
#include "core/program/ProgramContext.h"
#include "gui/catalogues/ListDocuments.h"
#include "gui/catalogues/ListTreeView.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>

class QAction;
class QMenu;
class QTimer;
class QWidget;
class AddressBar;
class DocumentMenu;
class Navigation;
class PageBrowser;
class RecordDocument;
class RecordEditing;
class RecordLoading;
class RecordView;
class ViewMarks;
class WindowFrame;

namespace platform {
class DataObject;
}  // namespace platform

// The hierarchy pane: the two list trees (0 for lists, 1 for the repository's catalogue),
// their events, drags and drops, the context menu and the list dialogs.
class TreePane : public QObject, public ListDocument, public ListFiles, public ListPane, public PaneLayout {
    Q_OBJECT
public:
    // What the pane asks of the other panes and the menus.
    struct Neighbours {
        AddressBar& address;
        Navigation& navigation;
        PageBrowser& browser;
        RecordDocument& record;
        RecordLoading& recordLoading;
        RecordEditing& recordEditing;
        RecordView& recordView;
        DocumentMenu& fileMenu;
        ViewMarks& viewMenu;
    };
    TreePane(ProgramContext& context, WindowFrame& frame, const Neighbours& around);
    ~TreePane() override;

    // The program's state, the window around the pane and its neighbours, which the list
    // readers and writers working for the pane reach through it.
    ProgramContext& context;
    WindowFrame& frame;
    const Neighbours around;
    // The window the pane lies in; its dialogs hang from it.
    QWidget* window() const;

    // The context menu's items.
    enum TreeMenuItem : int {
        kEditTag = 1,
        kRenameLine = 2,
        kInsertURLHere = 4,
        kInsertFolderHere = 5,
        kManualInsertHere = 6,
        kInsertURLInFolder = 8,
        kInsertFolderInFolder = 9,
        kManualInsertInFolder = 10,
        kDeleteNode = 12,
        kFindInList = 14,
        kCloseList = 15,
    };

    // The tree shown (of the two, by the program's tree index) and either by its index.
    ListTree& activeTree() const override { return context.listTrees[size_t(context.treeIndex)]; }
    ListTree& listTree(int index) const { return context.listTrees[size_t(index == 1 ? 1 : 0)]; }

    // ---- the list as a document -----------------------------------------------------
    // The save questions answer 6 Yes, 7 No, 2 Cancel, 0 when nothing was asked.
    int markListmodifiedCheckHTML() override;
    int saveListCheck(const QString& reason) override;
    bool SaveAsList(const QString& path) override;
    void showHarvestListDialog() override;
    // The same dialog, modal; true when it wrote the list.
    bool saveHarvestListWithDialog();
    // Asks for the RSS channel's details and writes it; true when it was written.
    bool saveRssChannelWithDialog() override;
    // Files the list writer has written so far.
    int filesWritten() const override { return filesWritten_; }

    // ---- lists read and written for commands and page reads -----------------------------
    bool loadListPage(bool harvestList, const QString& location, const QString& text) override;
    ListLoadOutcome loadHarvestList(const QString& location) override;
    ListLoadOutcome loadChannel(const QString& location) override;
    bool saveHarvestList(bool agls12Form, const QString& path, const QString& folder) override;
    bool saveChannel(const QString& path) override;
    void openRecordFromHarvestFolder(const QString& folder) override;
    void showListProgress(const QString& text) override;

    // ---- the panes -------------------------------------------------------------------
    void showListPane(int index, bool shown) override;
    bool activeTreeVisible() const override;
    void setActiveTreeVisible(bool shown) override;
    ListTree* treeShownBy(const QObject* object) const override;
    bool holdsFocus() const override;
    void hold(bool on) override;
    void describe(Layout::Input& in) const override;
    // Puts the shown tree where the layout says.
    void place(const Layout::Result& r) override;
    // A window (re)starting: no drag under way, no label being edited.
    void reset();
    void forgetLabelEdit() { labelEditing = false; }
    // Tells this window's own drags from those of other windows and other runs.
    const QString& dragSession() const { return dragSessionTag; }

    // ---- events ----------------------------------------------------------------------
    // Each handler gets the index of the tree that raised it.
    void TreeView1_NodeClick(int index);
    void TreeView1_MouseDown(int index, int button, int shift, int x, int y);
    void TreeView1_MouseMove(int index, int button, int shift, int x, int y);
    void TreeView1_MouseUp(int index, int button, int shift, int x, int y);
    // A label edit about to start and one ended; each answers whether to cancel it.
    bool TreeView1_BeforeLabelEdit(int index);
    bool TreeView1_AfterLabelEdit(int index, const QString& newString);
    void TreeView1_OLESetData(int index, platform::DataObject& data);
    // Answers the effect the pane takes.
    int TreeView1_OLEDragOver(int index, const platform::DataObject& data, int effect, int button, int shift, int x,
                              int y, int state);
    void TreeView1_OLEDragDrop(int index, const platform::DataObject& data, int button, int shift, int x, int y);
    void TreeView1_OLECompleteDrag(int index);
    void ScrollTimer_Timer();
    // Context menu item 1..15, the edit toggle and the hidden Load Previous List.
    void mnuMaintNodes_Click(int index);
    void mnuMaintNodesEditToggle_Click();
    void mnuMaintPrevious_Click();

private:
    // What the list readers and writers ask of the window.
    ListWindow listWindow();
    // Counts a file the list writers wrote; `written` as they answered.
    bool counted(bool written);
    ListTreeView* activeTreeView() const { return TreeView1[size_t(context.treeIndex)]; }
    void buildTreeMenus();
    void connectTreePane();

    std::array<ListTreeView*, 2> TreeView1{};
    // What each tree's view asks, answered by the handlers above.
    std::array<std::unique_ptr<ListTreeView::Handlers>, 2> treeHandlers_;
    QTimer* ScrollTimer = nullptr;  // the tree's auto-scroll during a drag
    QMenu* mnuMaintNodes1 = nullptr;
    ControlArray<QAction> mnuMaintNodes;
    QAction* mnuMaintPrevious = nullptr;
    // The holder of the edit toggle.
    QMenu* mnuMaintNodesEditOff = nullptr;
    QAction* mnuMaintNodesEditToggle = nullptr;
    // Tells this window's own drags from those of other windows and other runs.
    QString dragSessionTag;
    // The drag state of the trees: the node a button other than the right went down on
    // (its Id in the active tree, 0: none), a drag inside the tree, the auto-scroll's way.
    quint64 dragNode = 0;
    bool dragArmed = false;
    int scrollUp = 1;
    bool labelEditing = false;
    int filesWritten_ = 0;
};
