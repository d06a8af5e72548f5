#include "gui/catalogues/ListTreeView.h"

#include "gui/catalogues/ListTreeModel.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/Modal.h"
#include "platform/widgets/TreeIcons.h"
#include "platform/Twips.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

using platform::twipsToPixels;

namespace {

int effectsOf(Qt::DropActions actions) {
    int effect = platform::kDropNone;
    if (actions.testFlag(Qt::CopyAction)) effect |= platform::kDropCopy;
    if (actions.testFlag(Qt::MoveAction)) effect |= platform::kDropMove;
    return effect;
}

}  // namespace

// Label edits: the typed text is not written into the tree here but handed to AfterLabelEdit
// once the editor has closed, so the handler decides what it becomes.
class ListTreeEditDelegate : public QStyledItemDelegate {
public:
    explicit ListTreeEditDelegate(ListTreeView* view) : QStyledItemDelegate(view), view_(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        view_->labelEditor_ = editor;
        return editor;
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override {
        // Only the edit still open commits: an editor on its way out commits nothing again.
        if (editor != view_->labelEditor_) return;
        auto* line = qobject_cast<QLineEdit*>(editor);
        view_->labelCommitted_ = true;
        view_->labelCommittedText_ = line ? line->text() : editor->property("text").toString();
        // A committed empty text is "" (not null), so handlers tell it from an abandoned edit.
        if (view_->labelCommittedText_.isNull()) view_->labelCommittedText_ = QStringLiteral("");
    }

private:
    ListTreeView* view_;
};

ListTreeView::ListTreeView(ListTree& tree, platform::ModalRuns& runs, QWidget* parent)
    : PaneTreeView(runs, parent), tree_(tree), model_(new ListTreeModel(tree, this)), delegate_(new ListTreeEditDelegate(this)) {
    model_->setImages(platform::treeImages());
    setModel(model_);
    setItemDelegate(delegate_);
    setHeaderHidden(true);
    // A long node text widens the column and the pane scrolls sideways rather than cutting it.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setExpandsOnDoubleClick(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The pane handles its drops itself; a drag near an edge scrolls by the program's own timer.
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    setAutoScroll(false);
    viewport()->setMouseTracking(true);
    updateLook();
    // A column resized by its contents is shown in the same paint as the rows that resized it,
    // not in another one a turn of the event loop later: on a real display each paint has its cost.
    disconnect(header(), &QHeaderView::sectionResized, this, &ListTreeView::columnResized);
    connect(header(), &QHeaderView::sectionResized, this, [this] {
        updateGeometries();
        viewport()->update();
    });

    // The selected row, not the current one: focus alone makes a row current without selecting it.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (syncing_) return;
        const QModelIndexList rows = selectionModel()->selectedRows();
        tree_.select(rows.isEmpty() ? 0 : model_->idOf(rows.first()));
    });
    connect(&tree, &ListTree::selectionChanged, this, [this] { showTreeSelection(); });
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (!syncing_) tree_.setExpanded(model_->idOf(index), true);
    });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (!syncing_) tree_.setExpanded(model_->idOf(index), false);
    });
    connect(&tree, &ListTree::expandedChanged, this, [this](ListTree::NodeId id, bool open) {
        const QModelIndex index = model_->indexOf(id);
        if (!index.isValid() || isExpanded(index) == open) return;
        syncing_ = true;
        setExpanded(index, open);
        syncing_ = false;
    });
    connect(&tree, &ListTree::visibleRequested, this, [this](ListTree::NodeId id) {
        const QModelIndex index = model_->indexOf(id);
        if (index.isValid()) scrollTo(index);
    });
    // A tree cleared or refilled takes an open edit with it, abandoned.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { abandonLabelEdit(); });
    connect(model_, &ListTreeModel::rowsRebuilt, this, [this] {
        // Laid out at once, so the rows made anew are painted once, not once as they were and
        // again when the layout comes round: on a real display each paint has its cost.
        executeDelayedItemsLayout();
        showExpandedNodes();
        showTreeSelection();
    });
}

ListTreeView::~ListTreeView() {
    labelEditId_ = 0;
}

void ListTreeView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    // Rows taken out take their open edit with them, abandoned: nothing renames a node that goes.
    for (int row = start; row <= end && labelEditId_; ++row)
        if (tree_.isWithin(labelEditId_, model_->idOf(model_->index(row, 0, parent)))) abandonLabelEdit();
    // The view moves its current row off the rows that go; the tree's selection is the tree's.
    syncing_ = true;
    QTreeView::rowsAboutToBeRemoved(parent, start, end);
    syncing_ = false;
}

void ListTreeView::abandonLabelEdit() {
    labelEditId_ = 0;
    if (labelEditor_) closeEditor(labelEditor_, QAbstractItemDelegate::RevertModelCache);
}

void ListTreeView::updateLook() {
    QFont bold = font();
    bold.setBold(true);
    model_->setBoldFont(bold);
    model_->setHighlight(palette().highlight(), palette().highlightedText());
}

void ListTreeView::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) updateLook();
}

void ListTreeView::showTreeSelection() {
    if (syncing_) return;
    syncing_ = true;
    const QModelIndex index = model_->indexOf(tree_.selected());
    if (index.isValid())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selectionModel()->clear();
    syncing_ = false;
}

void ListTreeView::showExpandedNodes() {
    syncing_ = true;
    for (const ListTree::NodeId id : tree_.expandedNodes()) {
        const QModelIndex index = model_->indexOf(id);
        if (index.isValid()) setExpanded(index, true);
    }
    syncing_ = false;
}

// ---- what the pane's handlers ask -----------------------------------------------------------------

ListTree::NodeId ListTreeView::HitTest(int x, int y) const {
    const QPoint point = viewport()->mapFrom(this, QPoint(twipsToPixels(x), twipsToPixels(y)));
    if (!viewport()->rect().contains(point)) return 0;
    return model_->idOf(indexAt(point));
}

void ListTreeView::ScrollLine(int lines) {
    const auto action = lines < 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd;
    for (int i = 0, n = std::abs(lines); i < n; ++i) verticalScrollBar()->triggerAction(action);
}

void ListTreeView::Refresh() {
    viewport()->update();
}

std::unique_ptr<platform::DataObject> ListTreeView::collectDragData() {
    auto data = std::make_unique<platform::DataObject>();
    if (handlers_) handlers_->setData(*data);
    return data;
}

// ---- label edits ------------------------------------------------------------------------------------

bool ListTreeView::StartLabelEdit() {
    const QModelIndex index = model_->indexOf(tree_.selected());
    if (!index.isValid() || labelEditor_) return false;
    scrollTo(index);
    return edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

void ListTreeView::EndLabelEdit(bool cancel) {
    if (!labelEditor_) return;
    QWidget* editor = labelEditor_;
    if (!cancel) commitData(editor);
    closeEditor(editor, cancel ? QAbstractItemDelegate::RevertModelCache : QAbstractItemDelegate::NoHint);
}

bool ListTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // Only the pane's own request opens an editor.
    if (trigger != QAbstractItemView::AllEditTriggers || !index.isValid() || state() == EditingState || labelEditor_)
        return QTreeView::edit(index, trigger, event);
    const ListTree::NodeId id = model_->idOf(index);
    if (!id) return false;
    QPointer<ListTreeView> self(this);
    const bool cancel = handlers_ && handlers_->beforeLabelEdit();
    if (!self || cancel || !tree_.contains(id)) return false;
    labelEditId_ = id;
    labelCommitted_ = false;
    labelCommittedText_.clear();
    const bool opened = QTreeView::edit(model_->indexOf(id), trigger, event);
    if (!opened) labelEditId_ = 0;
    return opened;
}

void ListTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const ListTree::NodeId id = labelEditId_;
    const bool committed = labelCommitted_;
    const QString newString = committed ? labelCommittedText_ : QString();
    labelEditId_ = 0;
    labelCommitted_ = false;
    labelCommittedText_.clear();
    if (editor == labelEditor_) labelEditor_ = nullptr;
    QPointer<ListTreeView> self(this);
    QTreeView::closeEditor(editor, hint);
    if (!self || id == 0) return;
    const bool cancel = handlers_ && handlers_->afterLabelEdit(newString);
    if (!self || cancel || newString.isEmpty()) return;
    tree_.setText(id, newString);
}

// ---- the mouse ---------------------------------------------------------------------------------------

bool ListTreeView::isOnNode(const QModelIndex& index, const QPoint& point) const {
    const QRect rect = visualRect(index);
    return index.isValid() && (isRightToLeft() ? point.x() <= rect.right() : point.x() >= rect.left());
}

void ListTreeView::mousePressEvent(QMouseEvent* event) {
    QPointer<ListTreeView> self(this);
    const QPoint point = event->position().toPoint();
    const QModelIndex index = indexAt(point);
    pressed_ = isOnNode(index, point) ? QPersistentModelIndex(index) : QPersistentModelIndex();
    suppressNextClick_ = false;
    const QPoint twips = twipsFromViewportPoint(point);
    Q_EMIT MouseDown(platform::buttonOf(event->button()), platform::shiftStateOf(event->modifiers()), twips.x(),
                     twips.y());
    if (!self) return;
    QTreeView::mousePressEvent(event);
}

void ListTreeView::mouseMoveEvent(QMouseEvent* event) {
    QPointer<ListTreeView> self(this);
    const QPoint twips = twipsFromViewportPoint(event->position().toPoint());
    Q_EMIT MouseMove(platform::buttonsOf(event->buttons()), platform::shiftStateOf(event->modifiers()), twips.x(),
                     twips.y());
    if (!self) return;
    QTreeView::mouseMoveEvent(event);
}

void ListTreeView::mouseReleaseEvent(QMouseEvent* event) {
    QPointer<ListTreeView> self(this);
    QTreeView::mouseReleaseEvent(event);
    if (!self) return;
    const QPoint point = event->position().toPoint();
    const QPoint twips = twipsFromViewportPoint(point);
    Q_EMIT MouseUp(platform::buttonOf(event->button()), platform::shiftStateOf(event->modifiers()), twips.x(),
                   twips.y());
    if (!self) return;
    const QPersistentModelIndex pressed = pressed_;
    pressed_ = QPersistentModelIndex();
    if (suppressNextClick_ || event->button() != Qt::LeftButton) {
        suppressNextClick_ = false;
        return;
    }
    const QModelIndex index = indexAt(point);
    if (index.isValid() && pressed.isValid() && index == QModelIndex(pressed) && isOnNode(index, point)) {
        // The click is on the node the press selected: the tree knows it as selected.
        if (tree_.selected() != model_->idOf(index)) tree_.select(model_->idOf(index));
        Q_EMIT NodeClick();
    }
}

void ListTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    QPointer<ListTreeView> self(this);
    QTreeView::mouseDoubleClickEvent(event);
    if (self) suppressNextClick_ = true;
}

// ---- dragging and dropping ---------------------------------------------------------------------------

void ListTreeView::startDrag(Qt::DropActions) {
    QPointer<ListTreeView> self(this);
    std::unique_ptr<platform::DataObject> data = collectDragData();
    if (!self) return;
    const Qt::DropAction done = runOwnDrag(data->takeMimeData());
    if (!self) return;
    // The button went up inside the drag, so no mouse-up follows it.
    Q_EMIT OLECompleteDrag(effectsOf(done));
}

void ListTreeView::dragOver(QDropEvent* event, int state) {
    QPointer<ListTreeView> self(this);
    lastDragData_ = event->mimeData();
    lastDragSource_ = event->source();
    platform::DataObject data(event->mimeData(), event->source());
    int effect = effectsOf(event->possibleActions());
    const QPoint twips = twipsFromViewportPoint(event->position().toPoint());
    if (handlers_)
        effect = handlers_->dragOver(data, effect, platform::buttonsOf(event->buttons()),
                                     platform::shiftStateOf(event->modifiers()), twips.x(), twips.y(), state);
    if (!self) return;
    // What the pane takes it takes as a copy: the source keeps its rows.
    if (effect != platform::kDropNone && event->possibleActions().testFlag(Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ListTreeView::dragEnterEvent(QDragEnterEvent* event) {
    QPointer<ListTreeView> self(this);
    dragOver(event, platform::kDragEnter);
    // The moves keep coming where the drop is refused, so the handlers see them all.
    if (self) event->accept();
}

void ListTreeView::dragMoveEvent(QDragMoveEvent* event) {
    dragOver(event, platform::kDragOver);
}

void ListTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
    platform::DataObject data(lastDragData_, lastDragSource_);
    const QPoint twips = twipsFromViewportPoint(viewport()->mapFromGlobal(QCursor::pos()));
    if (handlers_) handlers_->dragOver(data, platform::kDropNone, 0, 0, twips.x(), twips.y(), platform::kDragLeave);
}

void ListTreeView::dropEvent(QDropEvent* event) {
    QPointer<ListTreeView> self(this);
    platform::DataObject data(event->mimeData(), event->source());
    const QPoint twips = twipsFromViewportPoint(event->position().toPoint());
    if (handlers_)
        handlers_->dragDrop(data, platform::buttonsOf(event->buttons()), platform::shiftStateOf(event->modifiers()),
                            twips.x(), twips.y());
    if (!self) return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}
