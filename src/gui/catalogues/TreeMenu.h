#pragma once
#include "core/catalogues/ListTree.h"
#include "gui/catalogues/TreeNeighbours.h"
#include "platform/ControlArray.h"

#include <QObject>

class ListDocument;
class ProgramContext;
class QAction;
class QMenu;
class QWidget;
class TreeViews;
class WindowFrame;

// The hierarchy pane's context menu: edit a node's tag or name, insert the page shown, a
// folder or an entry typed in, delete a node, find nodes by name, close the pane.
class TreeMenu final : public QObject {
public:
    enum Item : int {
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

    TreeMenu(ProgramContext& context, WindowFrame& frame, const TreeNeighbours& around, TreeViews& views,
             ListDocument& list, QObject* parent);

    // Opens the menu over the tree of that index at (x, y), twips from its corner, its items
    // as the node there (0: none) allows.
    void popUp(int index, ListTree::NodeId node, int x, int y);
    // Item 1..15, the edit toggle and the hidden Load Previous List.
    void mnuMaintNodes_Click(int index);
    void mnuMaintNodesEditToggle_Click();
    void mnuMaintPrevious_Click();

private:
    QWidget* window() const;
    void build();

    ProgramContext& context;
    WindowFrame& frame;
    const TreeNeighbours& around;
    TreeViews& views;
    ListDocument& list;
    QMenu* mnuMaintNodes1 = nullptr;
    ControlArray<QAction> mnuMaintNodes;
    QAction* mnuMaintPrevious = nullptr;
    // The holder of the edit toggle.
    QMenu* mnuMaintNodesEditOff = nullptr;
    QAction* mnuMaintNodesEditToggle = nullptr;
};
