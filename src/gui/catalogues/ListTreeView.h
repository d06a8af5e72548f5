#pragma once
#include "core/catalogues/ListTree.h"
#include "gui/frame/PaneTreeView.h"
#include "platform/DataObject.h"

#include <QPersistentModelIndex>
#include <QPointer>

#include <memory>

class ListTreeModel;
class ListTreeEditDelegate;

// The hierarchy pane: a view of a list tree. The view changes nothing in the tree by itself:
// the user's clicks, mouse moves, label edits, drags and drops are raised the way the pane's
// handlers take them (buttons and shift states as in KeyCodes.h, positions in twips from the
// pane's top left corner), and the handlers change the tree. A drop is always reported as a
// copy, so a drag out of the pane never takes rows away: a move is the drop's own work. The
// selection and the open folders are the tree's, shown here both ways.
class ListTreeView : public PaneTreeView {
    Q_OBJECT
public:
    // What the view asks the pane's handlers; each answers with its return value.
    class Handlers {
    public:
        virtual ~Handlers() = default;
        // An edit of the selected node's text is about to start; true stops it.
        virtual bool beforeLabelEdit() = 0;
        // The edit ended with the typed text, or a null text when it was abandoned; unless the
        // answer is true (cancel), a non-empty text becomes the node's text.
        virtual bool afterLabelEdit(const QString& newString) = 0;
        // Fills the data a drag starting here carries.
        virtual void setData(platform::DataObject& data) = 0;
        // A drag over the pane (state: kDragEnter, kDragLeave or kDragOver), coming with what it allows:
        // the effect the pane takes (kDropNone refuses it).
        virtual int dragOver(const platform::DataObject& data, int effect, int button, int shift, int x, int y,
                             int state) = 0;
        virtual void dragDrop(const platform::DataObject& data, int button, int shift, int x, int y) = 0;
    };

    ListTreeView(ListTree& tree, platform::ModalRuns& runs, QWidget* parent = nullptr);
    ~ListTreeView() override;
    // The pane's handlers (not owned; none: edits go ahead, drags carry nothing, drops are taken).
    void setHandlers(Handlers* handlers) { handlers_ = handlers; }

    ListTree& tree() const { return tree_; }
    ListTreeModel& treeModel() const { return *model_; }

    // The node on the row under the point (twips from the pane's corner); 0 when none.
    ListTree::NodeId HitTest(int x, int y) const;
    // Scrolls by whole lines (negative: up).
    void ScrollLine(int lines);
    // Starts editing the selected node's text (the handlers may refuse); false when there is
    // none, it was refused, or an edit is open already.
    bool StartLabelEdit();
    // Ends an open edit: commits the typed text (the handlers' afterLabelEdit with it) or
    // abandons it (with a null text). The editor then goes without committing again.
    void EndLabelEdit(bool cancel = false);
    bool IsLabelEditing() const { return labelEditor_ != nullptr; }
    void Refresh();
    // The data a drag starting now carries (the handlers fill it).
    std::unique_ptr<platform::DataObject> collectDragData();

Q_SIGNALS:
    // A left click on a node by the user (never raised by a change of the selection).
    void NodeClick();
    void MouseDown(int Button, int Shift, int x, int y);
    void MouseMove(int Button, int Shift, int x, int y);
    void MouseUp(int Button, int Shift, int x, int y);
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
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void changeEvent(QEvent* event) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    friend class ListTreeEditDelegate;
    bool isOnNode(const QModelIndex& index, const QPoint& point) const;
    void dragOver(QDropEvent* event, int state);
    void showTreeSelection();
    void showExpandedNodes();
    void updateLook();
    // Closes an open label edit without asking the handlers.
    void abandonLabelEdit();

    ListTree& tree_;
    Handlers* handlers_ = nullptr;
    ListTreeModel* model_;
    ListTreeEditDelegate* delegate_;
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
