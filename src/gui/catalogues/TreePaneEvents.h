#pragma once
#include "gui/catalogues/ListTreeView.h"
#include "gui/catalogues/TreeNeighbours.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>

class ListDocument;
class ProgramContext;
class QTimer;
class TreeMenu;
class TreeViews;
class WindowFrame;

namespace platform {
class DataObject;
}  // namespace platform

// The hierarchy pane's events: a click runs a node's command or opens its page, hovering
// shows what a click would run, the right button opens the context menu, names are edited in
// place, nodes are dragged inside the tree and out of it with the tree scrolling near its
// edges, and links and commands are dropped in.
class TreePaneEvents final : public QObject {
public:
    TreePaneEvents(ProgramContext& context, WindowFrame& frame, const TreeNeighbours& around, TreeViews& views,
                   ListDocument& list, TreeMenu& menu, QObject* parent);
    // The trees stay with the window; they ask these handlers nothing more.
    ~TreePaneEvents() override;

    // A window (re)starting: no drag under way, a drag session of its own.
    void reset();

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

private:
    void connectViews();

    ProgramContext& context;
    WindowFrame& frame;
    const TreeNeighbours& around;
    TreeViews& views;
    ListDocument& list;
    TreeMenu& menu;
    // What each tree's view asks, answered by the handlers above.
    std::array<std::unique_ptr<ListTreeView::Handlers>, 2> treeHandlers_;
    QTimer* ScrollTimer = nullptr;  // the tree's auto-scroll during a drag
    // Tells this window's own drags from those of other windows and other runs.
    QString dragSessionTag;
    // The drag state of the trees: the node a button other than the right went down on
    // (its Id in the active tree, 0: none), a drag inside the tree, the auto-scroll's way.
    quint64 dragNode = 0;
    bool dragArmed = false;
    int scrollUp = 1;
};
