#include "platform/TreeView.h"

#include "platform/TreeImages.h"
#include "platform/Twips.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace platform {
namespace {

const QString kKeyNotUnique = QStringLiteral("Key is not unique in collection");
const QString kElementNotFound = QStringLiteral("Element not found");
const QString kIndexOutOfBounds = QStringLiteral("Index out of bounds");
const QString kInvalidParent = QStringLiteral("This would introduce a cycle");

constexpr int kTreeItemType = QTreeWidgetItem::UserType + 2;

}  // namespace

// The displayed item of a Node. It draws the node's image (the selected image while
// selected), bold mark and drop highlight, and sorts by text ignoring case.
class TreeItem : public QTreeWidgetItem {
public:
    explicit TreeItem(Node* node) : QTreeWidgetItem(kTreeItemType), node_(node) {
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
                 Qt::ItemIsDropEnabled);
    }

    Node* node() const { return node_; }
    void changed() { emitDataChanged(); }

    QVariant data(int column, int role) const override {
        if (node_ && column == 0) {
            const TreeView* tree = node_->tree_;
            switch (role) {
            case Qt::DecorationRole: {
                const int image =
                    node_->selectedImage_ > 0 && isSelected() ? node_->selectedImage_ : node_->image_;
                const QIcon icon = tree->Image(image);
                if (icon.isNull()) return {};
                return icon;
            }
            case Qt::FontRole:
                if (node_->bold_) {
                    QFont font = tree->font();
                    font.setBold(true);
                    return font;
                }
                break;
            case Qt::BackgroundRole:
                if (tree->dropHighlightId_ == node_->id_) return tree->palette().highlight();
                break;
            case Qt::ForegroundRole:
                if (tree->dropHighlightId_ == node_->id_) return tree->palette().highlightedText();
                break;
            default:
                break;
            }
        }
        return QTreeWidgetItem::data(column, role);
    }

    bool operator<(const QTreeWidgetItem& other) const override {
        return QString::compare(text(0), other.text(0), Qt::CaseInsensitive) < 0;
    }

private:
    Node* node_;
};

// Label edits: the typed text is not written into the node here but handed to
// AfterLabelEdit once the editor has closed, so the handler decides what it becomes.
class LabelEditDelegate : public QStyledItemDelegate {
public:
    explicit LabelEditDelegate(TreeView* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        tree_->labelEditor_ = editor;
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        tree_->labelCommitted_ = true;
        tree_->labelCommittedText_ = line ? line->text() : editor->property("text").toString();
        // A committed empty text is "" (not null), so handlers can tell it from an abandoned edit.
        if (tree_->labelCommittedText_.isNull()) tree_->labelCommittedText_ = QStringLiteral("");
    }

private:
    TreeView* tree_;
};

// ---- Node ----------------------------------------------------------------------------

int Node::Index() const {
    if (tree_->firstHole_ < pos_) tree_->compact();
    return static_cast<int>(pos_) + 1;
}

bool Node::setKey(const QString& key) {
    tree_->lastError_ = {};
    if (key == key_) return true;
    if (!key.isEmpty()) {
        Node* other = tree_->byKey_.value(key, nullptr);
        if (other && other != this) {
            tree_->setError(kTreeKeyNotUnique, kKeyNotUnique);
            return false;
        }
    }
    if (!key_.isEmpty()) {
        auto it = tree_->byKey_.find(key_);
        if (it != tree_->byKey_.end() && it.value() == this) tree_->byKey_.erase(it);
    }
    key_ = key;
    if (!key_.isEmpty()) tree_->byKey_.insert(key_, this);
    return true;
}

QString Node::Text() const {
    return item_->text(0);
}

void Node::setText(const QString& text) {
    item_->setText(0, text);
}

void Node::setImage(int image) {
    if (image_ == image) return;
    image_ = image;
    item_->changed();
}

void Node::setSelectedImage(int image) {
    if (selectedImage_ == image) return;
    selectedImage_ = image;
    item_->changed();
}

void Node::setBold(bool bold) {
    if (bold_ == bold) return;
    bold_ = bold;
    item_->changed();
}

bool Node::Expanded() const {
    return item_->isExpanded();
}

void Node::setExpanded(bool expanded) {
    item_->setExpanded(expanded);
}

bool Node::Selected() const {
    return item_->isSelected();
}

void Node::setSelected(bool selected) {
    if (selected) {
        tree_->setSelectedItem(this);
    } else if (item_->isSelected()) {
        tree_->setSelectedItem(nullptr);
    }
}

void Node::setSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) item_->sortChildren(0, Qt::AscendingOrder);
}

QTreeWidgetItem* Node::parentItem() const {
    QTreeWidgetItem* parent = item_->parent();
    return parent ? parent : tree_->rootItem();
}

int Node::rowInParent() const {
    QTreeWidgetItem* parent = parentItem();
    if (row_ >= 0 && row_ < parent->childCount() && parent->child(row_) == item_) return row_;
    // The siblings moved since the hint was taken: renumber them all at once.
    for (int i = 0, n = parent->childCount(); i < n; ++i)
        if (Node* sibling = tree_->nodeFromItem(parent->child(i))) sibling->row_ = i;
    return row_;
}

Node* Node::Parent() const {
    return tree_->nodeFromItem(item_->parent());
}

bool Node::setParent(Node* parent) {
    tree_->lastError_ = {};
    if (parent && parent->tree_ != tree_) {
        tree_->setError(kTreeElementNotFound, kElementNotFound);
        return false;
    }
    for (const Node* p = parent; p; p = p->Parent()) {
        if (p == this) {
            tree_->setError(kTreeInvalidParent, kInvalidParent);
            return false;
        }
    }
    if (parent == Parent()) return true;
    tree_->detachIfEditing(this);

    // Taking the item out of the display forgets its selection and which nodes were
    // open below it; put both back after the move.
    Node* selected = tree_->SelectedItem();
    bool selectedInside = false;
    for (const Node* n = selected; n && !selectedInside; n = n->Parent()) selectedInside = n == this;
    std::vector<TreeItem*> open;
    std::vector<QTreeWidgetItem*> stack{item_};
    while (!stack.empty()) {
        QTreeWidgetItem* it = stack.back();
        stack.pop_back();
        if (it->childCount() == 0) continue;
        if (it->isExpanded()) open.push_back(static_cast<TreeItem*>(it));
        for (int i = 0; i < it->childCount(); ++i) stack.push_back(it->child(i));
    }

    parentItem()->takeChild(rowInParent());
    QTreeWidgetItem* newParent = parent ? parent->item_ : tree_->rootItem();
    const bool sortedParent = parent ? parent->sorted_ : tree_->sorted_;
    const int row = tree_->placeUnder(newParent, sortedParent, newParent->childCount(), Text());
    newParent->insertChild(row, item_);
    row_ = row;
    for (TreeItem* it : open) it->setExpanded(true);
    if (selectedInside) tree_->setSelectedItem(selected);
    return true;
}

Node* Node::Child() const {
    return tree_->nodeFromItem(item_->child(0));
}

int Node::Children() const {
    return item_->childCount();
}

Node* Node::Next() const {
    return tree_->nodeFromItem(parentItem()->child(rowInParent() + 1));
}

Node* Node::Previous() const {
    return tree_->nodeFromItem(parentItem()->child(rowInParent() - 1));
}

Node* Node::FirstSibling() const {
    return tree_->nodeFromItem(parentItem()->child(0));
}

Node* Node::LastSibling() const {
    QTreeWidgetItem* parent = parentItem();
    return tree_->nodeFromItem(parent->child(parent->childCount() - 1));
}

Node* Node::Root() const {
    const Node* node = this;
    while (Node* parent = node->Parent()) node = parent;
    return const_cast<Node*>(node);
}

QString Node::FullPath() const {
    QStringList texts;
    for (const Node* node = this; node; node = node->Parent()) texts.append(node->Text());
    std::reverse(texts.begin(), texts.end());
    return texts.join(tree_->pathSeparator_);
}

void Node::EnsureVisible() {
    for (QTreeWidgetItem* parent = item_->parent(); parent; parent = parent->parent())
        if (!parent->isExpanded()) parent->setExpanded(true);
    tree_->scheduleScrollTo(this);
}

// ---- NodeRef -------------------------------------------------------------------------

NodeRef::NodeRef(Node* node) {
    if (!node) return;
    tree_ = node->treeView();
    id_ = node->Id();
}

Node* NodeRef::get() const {
    return tree_ ? tree_->NodeById(id_) : nullptr;
}

// ---- TreeView ------------------------------------------------------------------------

TreeView::TreeView(QWidget* parent) : ItemControl(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    // A long node text widens the column and the tree scrolls sideways, as the common
    // control does, rather than cutting the text short.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setExpandsOnDoubleClick(true);
    images_ = treeImages();
    delegate_ = new LabelEditDelegate(this);
    setItemDelegate(delegate_);
    setLabelEdit(tvwAutomatic);
    layoutTimer_ = new QTimer(this);
    layoutTimer_->setSingleShot(true);
    connect(layoutTimer_, &QTimer::timeout, this, &TreeView::layoutNow);
}

TreeView::~TreeView() {
    labelEditId_ = 0;
    QTreeWidget::clear();  // the items go while their nodes can still answer
    for (Node* node : order_) delete node;
}

void TreeView::setError(int number, const QString& description) {
    lastError_.Number = number;
    lastError_.Description = description;
}

Node* TreeView::nodeFromItem(QTreeWidgetItem* item) const {
    if (!item || item->type() != kTreeItemType) return nullptr;
    return static_cast<TreeItem*>(item)->node();
}

void TreeView::compact() const {
    if (firstHole_ == SIZE_MAX) return;
    size_t write = firstHole_;
    for (size_t read = firstHole_; read < order_.size(); ++read) {
        if (Node* node = order_[read]) {
            node->pos_ = write;
            order_[write++] = node;
        }
    }
    order_.resize(write);
    firstHole_ = SIZE_MAX;
}

Node* TreeView::Item(int index) const {
    if (index < 1 || index > count_) return nullptr;
    compact();
    return order_[static_cast<size_t>(index) - 1];
}

int TreeView::placeUnder(QTreeWidgetItem* parent, bool sortedParent, int wanted, const QString& text) const {
    if (!sortedParent) return std::clamp(wanted, 0, parent->childCount());
    // After every sibling that sorts equal, so equal texts keep the order they came in.
    int lo = 0;
    int hi = parent->childCount();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (QString::compare(parent->child(mid)->text(0), text, Qt::CaseInsensitive) > 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

Node* TreeView::Add(Node* relative, TreeRelationship relationship, const QString& key, const QString& text,
                    int image, int selectedImage) {
    lastError_ = {};
    if (relative && relative->tree_ != this) {
        setError(kTreeElementNotFound, kElementNotFound);
        return nullptr;
    }
    if (!key.isEmpty() && byKey_.contains(key)) {
        setError(kTreeKeyNotUnique, kKeyNotUnique);
        return nullptr;
    }
    QTreeWidgetItem* parent = rootItem();
    int row = parent->childCount();
    if (relative) {
        switch (relationship) {
        case tvwFirst:
            parent = relative->parentItem();
            row = 0;
            break;
        case tvwLast:
            parent = relative->parentItem();
            row = parent->childCount();
            break;
        case tvwNext:
            parent = relative->parentItem();
            row = relative->rowInParent() + 1;
            break;
        case tvwPrevious:
            parent = relative->parentItem();
            row = relative->rowInParent();
            break;
        case tvwChild:
        default:
            parent = relative->item_;
            row = parent->childCount();
            break;
        }
    }
    const Node* parentNode = nodeFromItem(parent);
    row = placeUnder(parent, parentNode ? parentNode->sorted_ : sorted_, row, text);

    auto* node = new Node(this, nextId_++);
    node->key_ = key;
    node->image_ = image;
    node->selectedImage_ = selectedImage;
    auto* item = new TreeItem(node);
    node->item_ = item;
    item->setText(0, text);
    parent->insertChild(row, item);
    node->row_ = row;
    node->pos_ = order_.size();
    order_.push_back(node);
    ++count_;
    if (!key.isEmpty()) byKey_.insert(key, node);
    byId_.insert(node->id_, node);
    return node;
}

Node* TreeView::Add(const QString& relativeKey, TreeRelationship relationship, const QString& key,
                    const QString& text, int image, int selectedImage) {
    lastError_ = {};
    Node* relative = nullptr;
    if (!relativeKey.isEmpty()) {
        relative = Item(relativeKey);
        if (!relative) {
            setError(kTreeElementNotFound, kElementNotFound);
            return nullptr;
        }
    }
    return Add(relative, relationship, key, text, image, selectedImage);
}

Node* TreeView::Add(int relativeIndex, TreeRelationship relationship, const QString& key, const QString& text,
                    int image, int selectedImage) {
    lastError_ = {};
    Node* relative = Item(relativeIndex);
    if (!relative) {
        setError(kTreeIndexOutOfBounds, kIndexOutOfBounds);
        return nullptr;
    }
    return Add(relative, relationship, key, text, image, selectedImage);
}

void TreeView::detachIfEditing(Node* top) {
    if (!labelEditId_ && !labelEditor_) return;
    bool inside = top == nullptr;
    for (const Node* node = NodeById(labelEditId_); node && !inside; node = node->Parent()) inside = node == top;
    if (!inside && labelEditId_) return;
    // The node being edited goes: close the editor without raising AfterLabelEdit.
    labelEditId_ = 0;
    if (labelEditor_) closeEditor(labelEditor_, QAbstractItemDelegate::RevertModelCache);
}

bool TreeView::Remove(Node* node) {
    lastError_ = {};
    if (!node || node->tree_ != this) {
        setError(kTreeElementNotFound, kElementNotFound);
        return false;
    }
    detachIfEditing(node);
    TreeItem* item = node->item_;
    // Out of the display first, while every node below still answers.
    node->parentItem()->takeChild(node->rowInParent());

    std::vector<Node*> gone;
    std::vector<QTreeWidgetItem*> stack{item};
    while (!stack.empty()) {
        QTreeWidgetItem* it = stack.back();
        stack.pop_back();
        Node* n = nodeFromItem(it);
        if (!n->key_.isEmpty()) {
            auto found = byKey_.find(n->key_);
            if (found != byKey_.end() && found.value() == n) byKey_.erase(found);
        }
        byId_.remove(n->id_);
        order_[n->pos_] = nullptr;
        firstHole_ = std::min(firstHole_, n->pos_);
        --count_;
        if (dropHighlightId_ == n->id_) dropHighlightId_ = 0;
        gone.push_back(n);
        for (int i = 0; i < it->childCount(); ++i) stack.push_back(it->child(i));
    }
    delete item;
    for (Node* n : gone) delete n;
    return true;
}

bool TreeView::Remove(int index) {
    lastError_ = {};
    Node* node = Item(index);
    if (!node) {
        setError(kTreeIndexOutOfBounds, kIndexOutOfBounds);
        return false;
    }
    return Remove(node);
}

bool TreeView::Remove(const QString& key) {
    lastError_ = {};
    Node* node = Item(key);
    if (!node) {
        setError(kTreeElementNotFound, kElementNotFound);
        return false;
    }
    return Remove(node);
}

void TreeView::Clear() {
    lastError_ = {};
    detachIfEditing(nullptr);
    QTreeWidget::clear();
    for (Node* node : order_) delete node;
    order_.clear();
    firstHole_ = SIZE_MAX;
    count_ = 0;
    byKey_.clear();
    byId_.clear();
    dropHighlightId_ = 0;
    scrollToId_ = 0;
}

Node* TreeView::SelectedItem() const {
    QTreeWidgetItem* current = currentItem();
    if (current && current->isSelected()) return nodeFromItem(current);
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : nodeFromItem(selected.first());
}

void TreeView::setSelectedItem(Node* node) {
    if (!node || node->tree_ != this) {
        clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    // Selecting a node opens the folders above it, so the selection is always in sight.
    for (QTreeWidgetItem* parent = node->item_->parent(); parent; parent = parent->parent())
        if (!parent->isExpanded()) parent->setExpanded(true);
    selectionModel()->setCurrentIndex(indexFromItem(node->item_),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TreeView::setDropHighlight(Node* node) {
    const quint64 id = node && node->tree_ == this ? node->id_ : 0;
    if (id == dropHighlightId_) return;
    Node* old = NodeById(dropHighlightId_);
    dropHighlightId_ = id;
    if (old) old->item_->changed();
    if (id) node->item_->changed();
}

Node* TreeView::HitTest(int x, int y) const {
    const QPoint point = viewportPointFromTwips(x, y);
    if (!viewport()->rect().contains(point)) return nullptr;
    return nodeFromItem(itemAt(point));
}

void TreeView::setSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) rootItem()->sortChildren(0, Qt::AscendingOrder);
}

void TreeView::setLabelEdit(int mode) {
    labelEdit_ = mode == tvwManual ? tvwManual : tvwAutomatic;
    setEditTriggers(labelEdit_ == tvwAutomatic ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                                               : QAbstractItemView::NoEditTriggers);
}

bool TreeView::StartLabelEdit() {
    if (layoutTimer_->isActive()) layoutNow();  // the editor goes where the node is drawn
    Node* node = SelectedItem();
    if (!node || labelEditor_) return false;
    return edit(indexFromItem(node->item_), QAbstractItemView::AllEditTriggers, nullptr);
}

void TreeView::EndLabelEdit(bool cancel) {
    if (!labelEditor_) return;
    QWidget* editor = labelEditor_;
    if (!cancel) commitData(editor);
    closeEditor(editor, cancel ? QAbstractItemDelegate::RevertModelCache : QAbstractItemDelegate::SubmitModelCache);
}

bool TreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // A click on the selected node only arms Qt's delayed edit, which comes back here
    // with AllEditTriggers; so do the other triggers that open an editor at once.
    const bool opens = index.isValid() && index.column() == 0 && state() != EditingState && !labelEditor_ &&
                       (trigger == QAbstractItemView::AllEditTriggers ||
                        (trigger != QAbstractItemView::SelectedClicked && editTriggers().testFlag(trigger)));
    if (!opens) return ItemControl::edit(index, trigger, event);
    Node* node = nodeFromItem(itemFromIndex(index));
    if (!node) return false;
    const quint64 id = node->id_;
    QPointer<TreeView> self(this);
    int cancel = 0;
    Q_EMIT BeforeLabelEdit(cancel);
    if (!self || cancel != 0) return false;
    node = NodeById(id);
    if (!node) return false;
    labelEditId_ = id;
    labelCommitted_ = false;
    labelCommittedText_.clear();
    const bool opened = ItemControl::edit(indexFromItem(node->item_), trigger, event);
    if (!opened) labelEditId_ = 0;
    return opened;
}

void TreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const quint64 id = labelEditId_;
    const bool committed = labelCommitted_;
    QString newString = committed ? labelCommittedText_ : QString();
    labelEditId_ = 0;
    labelCommitted_ = false;
    labelCommittedText_.clear();
    if (editor == labelEditor_) labelEditor_ = nullptr;
    QPointer<TreeView> self(this);
    ItemControl::closeEditor(editor, hint);
    if (!self || id == 0) return;
    int cancel = 0;
    Q_EMIT AfterLabelEdit(cancel, newString);
    if (!self || cancel != 0 || newString.isEmpty()) return;
    if (Node* node = NodeById(id)) node->setText(newString);
}

void TreeView::ScrollLine(int lines) {
    const auto action = lines < 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd;
    for (int i = 0, n = std::abs(lines); i < n; ++i) verticalScrollBar()->triggerAction(action);
}

QIcon TreeView::Image(int index) const {
    if (index < 1 || index > images_.size()) return {};
    return images_[index - 1];
}

void TreeView::scheduleScrollTo(Node* node) {
    scrollToId_ = node->id_;
    if (scrollQueued_ || layoutTimer_->isActive()) return;  // a pending layout scrolls when done
    scrollQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            scrollQueued_ = false;
            if (layoutTimer_->isActive()) return;
            if (Node* target = NodeById(std::exchange(scrollToId_, 0))) scrollToItem(target->item_);
        },
        Qt::QueuedConnection);
}

void TreeView::rowsInserted(const QModelIndex& parent, int start, int end) {
    // Qt lays out every open row again at the next turn of the event loop after rows
    // are added below an open node; a loader that yields every few lines would make
    // that quadratic. Rows appended at the end change no row already laid out, so their
    // layout can wait and be done once for many.
    const bool openParent = !parent.isValid() || isExpanded(parent);
    if (isVisible() && openParent && end == model()->rowCount(parent) - 1) {
        QAbstractItemView::rowsInserted(parent, start, end);
        if (!layoutTimer_->isActive()) layoutTimer_->start(layoutDelayMs_);
        return;
    }
    ItemControl::rowsInserted(parent, start, end);
}

void TreeView::layoutNow() {
    layoutTimer_->stop();
    QElapsedTimer clock;
    clock.start();
    scheduleDelayedItemsLayout();
    executeDelayedItemsLayout();
    // Keep the time spent laying out a small share of a long load.
    layoutDelayMs_ = static_cast<int>(std::clamp<qint64>(clock.elapsed() * 5, 40, 1000));
    if (Node* target = NodeById(std::exchange(scrollToId_, 0))) scrollToItem(target->item_);
}

void TreeView::Refresh() {
    if (layoutTimer_->isActive()) layoutNow();
    ItemControl::Refresh();
}

void TreeView::itemClicked(QTreeWidgetItem* item) {
    if (Node* node = nodeFromItem(item)) Q_EMIT NodeClick(node);
}

}  // namespace platform
