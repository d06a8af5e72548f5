#pragma once
#include "core/catalogues/ListTree.h"
#include "platform/DataObject.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeView>

#include <memory>

class ListTreeModel;
class ListTreeEditDelegate;

// The hierarchy pane: a view of a list tree. The view changes nothing in the tree by itself:
// the user's clicks, mouse moves, label edits, drags and drops are raised the way the pane's
// handlers take them (buttons and shift states as in KeyCodes.h, positions in twips from the
// pane's top left corner), and the handlers change the tree. A drop is always reported as a
// copy, so a drag out of the pane never takes rows away: a move is the drop's own work. The
// selection and the open folders are the tree's, shown here both ways.
class ListTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit ListTreeView(ListTree& tree, QWidget* parent = nullptr);
    ~ListTreeView() override;

    ListTree& tree() const { return tree_; }
    ListTreeModel& treeModel() const { return *model_; }

    // The node on the row under the point (twips from the pane's corner); 0 when none.
    ListTree::NodeId HitTest(int x, int y) const;
    // Scrolls by whole lines (negative: up).
    void ScrollLine(int lines);
    // Starts editing the selected node's text (BeforeLabelEdit may refuse); false when there is
    // none, it was refused, or an edit is open already.
    bool StartLabelEdit();
    // Ends an open edit: commits the typed text (AfterLabelEdit with it) or abandons it
    // (AfterLabelEdit with a null text). The editor then goes without committing again.
    void EndLabelEdit(bool cancel = false);
    bool IsLabelEditing() const { return labelEditor_ != nullptr; }
    void Refresh();
    QString ToolTipText() const { return toolTipText_; }
    void setToolTipText(const QString& text) { toolTipText_ = text; }
    // The data a drag starting now carries (raises OLESetData).
    std::unique_ptr<platform::DataObject> collectDragData();

Q_SIGNALS:
    // A left click on a node by the user (never raised by a change of the selection).
    void NodeClick();
    void MouseDown(int Button, int Shift, int x, int y);
    void MouseMove(int Button, int Shift, int x, int y);
    void MouseUp(int Button, int Shift, int x, int y);
    // An edit of the selected node's text is about to start; Cancel = 1 stops it.
    void BeforeLabelEdit(int& Cancel);
    // The edit ended: NewString is the typed text, or a null text when it was abandoned.
    // Unless Cancel is set, a non-empty NewString becomes the node's text.
    void AfterLabelEdit(int& Cancel, QString& NewString);
    void OLESetData(platform::DataObject& Data);
    // State: vbEnter, vbLeave or vbOver; Effect comes in as what the drag allows.
    void OLEDragOver(platform::DataObject& Data, int& Effect, int Button, int Shift, int x, int y, int State);
    void OLEDragDrop(platform::DataObject& Data, int& Effect, int Button, int Shift, int x, int y);
    // A drag started here has ended, with what the target did.
    void OLECompleteDrag(int Effect);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void changeEvent(QEvent* event) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    friend class ListTreeEditDelegate;
    QPoint twipsFromViewportPoint(const QPoint& point) const;
    bool isOnNode(const QModelIndex& index, const QPoint& point) const;
    void dragOver(QDropEvent* event, int state);
    void showTreeSelection();
    void showExpandedNodes();
    void updateLook();
    // Closes an open label edit without raising AfterLabelEdit.
    void abandonLabelEdit();

    ListTree& tree_;
    ListTreeModel* model_;
    ListTreeEditDelegate* delegate_;
    QString toolTipText_;
    QPersistentModelIndex pressed_;
    bool suppressNextClick_ = false;
    bool syncing_ = false;
    QPointer<const QMimeData> lastDragData_;
    QPointer<QObject> lastDragSource_;
    QPointer<QWidget> labelEditor_;
    ListTree::NodeId labelEditId_ = 0;
    bool labelCommitted_ = false;
    QString labelCommittedText_;
};
