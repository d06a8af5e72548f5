#include "gui/catalogues/ListTreeModel.h"

ListTreeModel::ListTreeModel(ListTree& tree, QObject* parent) : QAbstractItemModel(parent), tree_(tree) {
    connect(&tree, &ListTree::aboutToInsert, this, [this](ListTree::NodeId parent, int row) {
        beginInsertRows(indexOf(parent), row, row);
    });
    connect(&tree, &ListTree::inserted, this, [this] { endInsertRows(); });
    connect(&tree, &ListTree::aboutToRemove, this, [this](ListTree::NodeId parent, int row) {
        beginRemoveRows(indexOf(parent), row, row);
    });
    connect(&tree, &ListTree::removed, this, [this] { endRemoveRows(); });
    connect(&tree, &ListTree::aboutToMove, this,
            [this](ListTree::NodeId fromParent, int fromRow, ListTree::NodeId toParent, int toRow) {
                beginMoveRows(indexOf(fromParent), fromRow, fromRow, indexOf(toParent), toRow);
            });
    connect(&tree, &ListTree::moved, this, [this] { endMoveRows(); });
    connect(&tree, &ListTree::aboutToReset, this, [this] { beginResetModel(); });
    connect(&tree, &ListTree::wasReset, this, [this] {
        endResetModel();
        Q_EMIT rowsRebuilt();
    });
    connect(&tree, &ListTree::changed, this, [this](ListTree::NodeId id) {
        const QModelIndex at = indexOf(id);
        if (at.isValid()) Q_EMIT dataChanged(at, at);
    });
    // The selected node shows its selected image.
    connect(&tree, &ListTree::selectionChanged, this, [this] {
        const ListTree::NodeId now = tree_.selected();
        for (const ListTree::NodeId id : {std::exchange(shownSelected_, now), now}) {
            const QModelIndex at = indexOf(id);
            if (at.isValid()) Q_EMIT dataChanged(at, at, {Qt::DecorationRole});
        }
    });
}

void ListTreeModel::setHighlight(const QBrush& background, const QBrush& text) {
    highlightBackground_ = background;
    highlightText_ = text;
}

QModelIndex ListTreeModel::indexOf(ListTree::NodeId id) const {
    if (tree_.inBulk() || !tree_.contains(id)) return {};
    return createIndex(tree_.row(id), 0, quintptr(id));
}

ListTree::NodeId ListTreeModel::idOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return 0;
    const auto id = ListTree::NodeId(index.internalId());
    return tree_.contains(id) ? id : 0;
}

QModelIndex ListTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || tree_.inBulk()) return {};
    const ListTree::NodeId parentId = parent.isValid() ? idOf(parent) : 0;
    if (parent.isValid() && !parentId) return {};
    const ListTree::NodeId id = tree_.child(parentId, row);
    return id ? createIndex(row, 0, quintptr(id)) : QModelIndex();
}

QModelIndex ListTreeModel::parent(const QModelIndex& index) const {
    return indexOf(tree_.parent(idOf(index)));
}

int ListTreeModel::rowCount(const QModelIndex& parent) const {
    if (tree_.inBulk() || parent.column() > 0) return 0;
    if (!parent.isValid()) return tree_.childCount(0);
    const ListTree::NodeId id = idOf(parent);
    return id ? tree_.childCount(id) : 0;
}

int ListTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant ListTreeModel::data(const QModelIndex& index, int role) const {
    const ListTree::NodeId id = idOf(index);
    if (!id) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return tree_.text(id);
    case Qt::DecorationRole: {
        const int selectedImage = tree_.selectedImage(id);
        const int image = selectedImage > 0 && tree_.selected() == id ? selectedImage : tree_.image(id);
        if (image < 1 || image > images_.size()) return {};
        return images_.at(image - 1);
    }
    case Qt::FontRole:
        if (tree_.isBold(id)) return boldFont_;
        break;
    case Qt::BackgroundRole:
        if (tree_.dropHighlight() == id) return highlightBackground_;
        break;
    case Qt::ForegroundRole:
        if (tree_.dropHighlight() == id) return highlightText_;
        break;
    default:
        break;
    }
    return {};
}

Qt::ItemFlags ListTreeModel::flags(const QModelIndex& index) const {
    if (!idOf(index)) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled;
}

Qt::DropActions ListTreeModel::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}
