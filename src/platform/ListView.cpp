#include "platform/ListView.h"

#include "platform/Twips.h"

#include <QHeaderView>

#include <algorithm>

namespace platform {

// The displayed row of a ListItem. It draws the item's bold mark, drop highlight and
// check box from the item, and sorts by the list's sort column ignoring case.
class ListRow : public QTreeWidgetItem {
public:
    explicit ListRow(ListItem* owner) : QTreeWidgetItem(UserType + 1), owner_(owner) {
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsUserCheckable |
                 Qt::ItemNeverHasChildren);
    }

    ListItem* owner() const { return owner_; }
    void changed() { emitDataChanged(); }

    void setData(int column, int role, const QVariant& value) override {
        if (column != 0 || (role != Qt::DisplayRole && role != Qt::EditRole) || !owner_) {
            QTreeWidgetItem::setData(column, role, value);
            return;
        }
        const QString old = text(0);
        QTreeWidgetItem::setData(column, role, value);
        owner_->view_->retext(owner_, old);
    }

    QVariant data(int column, int role) const override {
        const ListView* view = owner_ ? owner_->view_ : nullptr;
        if (view) {
            switch (role) {
            case Qt::FontRole:
                if (owner_->bold_) {
                    QFont font = view->font();
                    font.setBold(true);
                    return font;
                }
                break;
            case Qt::BackgroundRole:
                if (view->dropHighlightId_ == owner_->id_) return view->palette().highlight();
                break;
            case Qt::ForegroundRole:
                if (view->dropHighlightId_ == owner_->id_) return view->palette().highlightedText();
                break;
            default:
                break;
            }
        }
        return QTreeWidgetItem::data(column, role);
    }

    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = owner_ ? owner_->view_->sortKey_ : 0;
        return QString::compare(text(column), other.text(column), Qt::CaseInsensitive) < 0;
    }

private:
    ListItem* owner_;
};

// ---- ColumnHeader --------------------------------------------------------------------

QString ColumnHeader::Text() const {
    return view_->headerItem()->text(column_);
}

void ColumnHeader::setText(const QString& text) {
    view_->headerItem()->setText(column_, text);
}

void ColumnHeader::setWidth(int twips) {
    view_->setColumnWidthTwips(column_, std::max(0, twips));
}

// ---- ListItem ------------------------------------------------------------------------

int ListItem::Index() const {
    if (index_ - 1 >= view_->staleFrom_) view_->renumber();
    return index_;
}

QString ListItem::Text() const {
    return row_->text(0);
}

void ListItem::setText(const QString& text) {
    row_->setText(0, text);
}

QString ListItem::SubItems(int index) const {
    if (index < 0) return {};
    return row_->text(index);
}

void ListItem::setSubItems(int index, const QString& text) {
    if (index < 0) return;
    row_->setText(index, text);
}

void ListItem::setBold(bool bold) {
    if (bold_ == bold) return;
    bold_ = bold;
    if (bold) view_->boldIds_.insert(id_);
    else view_->boldIds_.remove(id_);
    row_->changed();
}

bool ListItem::Selected() const {
    return row_->isSelected();
}

void ListItem::setSelected(bool selected) {
    if (selected && !view_->multiSelect_) {
        view_->setSelectedItem(this);
        return;
    }
    row_->setSelected(selected);
}

void ListItem::EnsureVisible() {
    view_->scrollToItem(row_);
}

// ---- ListItemRef ---------------------------------------------------------------------

ListItemRef::ListItemRef(ListItem* item) {
    if (!item) return;
    view_ = item->listView();
    id_ = item->Id();
}

ListItem* ListItemRef::get() const {
    return view_ ? view_->ItemById(id_) : nullptr;
}

// ---- ListView ------------------------------------------------------------------------

ListView::ListView(QWidget* parent) : ItemControl(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(false);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int logical) {
        if (ColumnHeader* column = ColumnHeaders(logical + 1)) Q_EMIT ColumnClick(column);
    });
    connect(header(), &QHeaderView::sectionResized, this, [this](int logical, int, int newSize) {
        if (settingWidth_ || logical < 0 || logical >= columns_.size()) return;
        columns_[logical]->widthTwips_ = pixelsToTwips(newSize);  // the user dragged the border
    });
}

ListView::~ListView() {
    // The rows go with the widget; the items and headers are ours.
    for (ListItem* item : std::as_const(items_)) item->row_ = nullptr;
    QTreeWidget::clear();
    qDeleteAll(items_);
    qDeleteAll(columns_);
}

ColumnHeader* ListView::addColumnHeader(const QString& text, int widthTwips) {
    auto* column = new ColumnHeader(this, static_cast<int>(columns_.size()));
    columns_.append(column);
    setColumnCount(static_cast<int>(columns_.size()));
    headerItem()->setText(column->column_, text);
    column->setWidth(widthTwips);
    return column;
}

ColumnHeader* ListView::ColumnHeaders(int index) const {
    if (index < 1 || index > columns_.size()) return nullptr;
    return columns_[index - 1];
}

void ListView::setColumnWidthTwips(int column, int twips) {
    columns_[column]->widthTwips_ = twips;
    settingWidth_ = true;
    header()->resizeSection(column, twipsToPixels(twips));
    settingWidth_ = false;
}

ListItem* ListView::ownerOf(QTreeWidgetItem* row) {
    if (!row || row->type() != QTreeWidgetItem::UserType + 1) return nullptr;
    return static_cast<ListRow*>(row)->owner();
}

ListItem* ListView::Item(int index) const {
    if (index < 1 || index > items_.size()) return nullptr;
    return items_[index - 1];
}

void ListView::renumber() const {
    for (int i = staleFrom_ == INT_MAX ? static_cast<int>(items_.size()) : staleFrom_; i < items_.size(); ++i)
        items_[i]->index_ = i + 1;
    staleFrom_ = INT_MAX;
}

int ListView::sortedPosition(const QString& keyText) const {
    // After every line that sorts equal, so equal lines keep their insertion order.
    int lo = 0;
    int hi = topLevelItemCount();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = QString::compare(topLevelItem(mid)->text(sortKey_), keyText, Qt::CaseInsensitive);
        const bool after = sortOrder_ == lvwDescending ? c < 0 : c > 0;
        if (after)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

ListItem* ListView::Add(int index, const QString& text) {
    const int count = static_cast<int>(items_.size());
    const int pos = index >= 1 && index <= count ? index - 1 : count;
    auto* item = new ListItem(this, nextId_++);
    auto* row = new ListRow(item);
    item->row_ = row;
    row->setText(0, text);
    if (sorted_)
        insertTopLevelItem(sortedPosition(sortKey_ == 0 ? text : QString()), row);
    else if (pos < count)
        insertTopLevelItem(indexFromItem(items_[pos]->row_).row(), row);
    else
        addTopLevelItem(row);
    items_.insert(pos, item);
    item->index_ = pos + 1;
    // Lines from here on moved down one; their cached indices are stale.
    if (pos < count) staleFrom_ = std::min(staleFrom_, pos);
    byId_.insert(item->id_, item);
    return item;
}

QString ListView::textKey(const QString& text) {
    return text.toCaseFolded();
}

void ListView::retext(ListItem* item, const QString& old) {
    const QString oldKey = textKey(old);
    const QString newKey = textKey(item->row_->text(0));
    if (oldKey == newKey && byText_.value(newKey).contains(item->id_)) return;
    if (auto it = byText_.find(oldKey); it != byText_.end()) {
        it->removeOne(item->id_);
        if (it->isEmpty()) byText_.erase(it);
    }
    byText_[newKey].append(item->id_);
}

QList<ListItem*> ListView::ItemsWithText(const QString& text) const {
    QList<ListItem*> found;
    for (const quint64 id : byText_.value(textKey(text)))
        if (ListItem* item = ItemById(id)) found.append(item);
    std::sort(found.begin(), found.end(), [](const ListItem* a, const ListItem* b) { return a->Index() < b->Index(); });
    return found;
}

void ListView::destroy(ListItem* item) {
    if (auto it = byText_.find(textKey(item->row_->text(0))); it != byText_.end()) {
        it->removeOne(item->id_);
        if (it->isEmpty()) byText_.erase(it);
    }
    byId_.remove(item->id_);
    boldIds_.remove(item->id_);
    if (dropHighlightId_ == item->id_) dropHighlightId_ = 0;
    delete item->row_;  // leaves the display; the item still answers while it goes
    item->row_ = nullptr;
    delete item;
}

bool ListView::Remove(int index) {
    if (index < 1 || index > items_.size()) return false;
    ListItem* item = items_.takeAt(index - 1);
    staleFrom_ = std::min(staleFrom_, index - 1);
    destroy(item);
    return true;
}

bool ListView::Remove(ListItem* item) {
    if (!item || item->view_ != this || !byId_.contains(item->id_)) return false;
    return Remove(item->Index());
}

void ListView::Clear() {
    const QList<ListItem*> items = std::exchange(items_, {});
    byId_.clear();
    boldIds_.clear();
    byText_.clear();
    dropHighlightId_ = 0;
    staleFrom_ = INT_MAX;
    QTreeWidget::clear();
    qDeleteAll(items);
}

int ListView::DisplayPosition(const ListItem* item) const {
    if (!item || item->view_ != this || !item->row_) return 0;
    return indexFromItem(item->row_).row() + 1;
}

ListItem* ListView::ItemAtDisplayPosition(int position) const {
    return ownerOf(topLevelItem(position - 1));
}

QList<ListItem*> ListView::BoldItems() const {
    QList<ListItem*> bold;
    for (const quint64 id : boldIds_) bold.append(ItemById(id));
    return bold;
}

ListItem* ListView::SelectedItem() const {
    QTreeWidgetItem* current = currentItem();
    if (current && current->isSelected()) return ownerOf(current);
    const QList<QTreeWidgetItem*> selected = selectedItems();
    QTreeWidgetItem* first = nullptr;
    int firstRow = INT_MAX;
    for (QTreeWidgetItem* row : selected) {
        const int r = indexFromItem(row).row();
        if (r < firstRow) {
            firstRow = r;
            first = row;
        }
    }
    return ownerOf(first);
}

void ListView::setSelectedItem(ListItem* item) {
    if (!item || item->view_ != this) {
        clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    selectionModel()->setCurrentIndex(indexFromItem(item->row_),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

ListItem* ListView::DropHighlight() const {
    return ItemById(dropHighlightId_);
}

void ListView::setDropHighlight(ListItem* item) {
    const quint64 id = item && item->view_ == this ? item->id_ : 0;
    if (id == dropHighlightId_) return;
    ListItem* old = ItemById(dropHighlightId_);
    dropHighlightId_ = id;
    if (old) old->row_->changed();
    if (id) item->row_->changed();
}

ListItem* ListView::HitTest(int x, int y) const {
    const QPoint point = viewportPointFromTwips(x, y);
    if (!viewport()->rect().contains(point)) return nullptr;
    QTreeWidgetItem* row = itemAt(point);
    if (!row) return nullptr;
    if (!fullRowSelect_ && columnAt(point.x()) != 0) return nullptr;
    return ownerOf(row);
}

ListView::SubItemHit ListView::SubItemHitTest(int x, int y) const {
    const QPoint point = viewportPointFromTwips(x, y);
    if (!viewport()->rect().contains(point)) return {};
    ListItem* item = ownerOf(itemAt(point));
    const int column = columnAt(point.x());
    if (!item || column < 0) return {};
    return {item, column};
}

void ListView::sortNow() {
    sortItems(sortKey_, sortOrder_ == lvwDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void ListView::setSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) sortNow();
}

void ListView::setSortKey(int column) {
    sortKey_ = std::max(0, column);
    if (sorted_) sortNow();
}

void ListView::setSortOrder(int order) {
    sortOrder_ = order == lvwDescending ? lvwDescending : lvwAscending;
    if (sorted_) sortNow();
}

void ListView::setFullRowSelect(bool on) {
    fullRowSelect_ = on;
    setAllColumnsShowFocus(on);
}

void ListView::setMultiSelect(bool on) {
    multiSelect_ = on;
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void ListView::itemClicked(QTreeWidgetItem* row) {
    if (ListItem* item = ownerOf(row)) Q_EMIT ItemClick(item);
}

}  // namespace platform
