#include "gui/record/RecordModel.h"

#include <algorithm>

RecordModel::RecordModel(Record& record, QObject* parent) : QAbstractTableModel(parent), record_(record) {
    connect(&record, &Record::aboutToInsert, this, [this](int position, int count) {
        if (held_) return noteStructure();
        beginInsertRows(QModelIndex(), position - 1, position + count - 2);
    });
    connect(&record, &Record::inserted, this, [this] {
        if (!held_) endInsertRows();
    });
    connect(&record, &Record::aboutToRemove, this, [this](int position, int count) {
        if (held_) return noteStructure();
        beginRemoveRows(QModelIndex(), position - 1, position + count - 2);
    });
    connect(&record, &Record::removed, this, [this] {
        if (!held_) endRemoveRows();
    });
    connect(&record, &Record::aboutToMove, this, [this](int from, int to) {
        if (held_) return noteStructure();
        beginMoveRows(QModelIndex(), from - 1, from - 1, QModelIndex(), to - 1);
    });
    connect(&record, &Record::moved, this, [this] {
        if (!held_) endMoveRows();
    });
    connect(&record, &Record::aboutToReset, this, [this] {
        if (held_) return noteStructure();
        beginResetModel();
    });
    connect(&record, &Record::wasReset, this, [this] {
        if (held_) return;
        endResetModel();
        Q_EMIT rowsRebuilt();
    });
    connect(&record, &Record::changed, this, [this](int position, int column) {
        if (held_) return noteLines(position, 1);
        const int first = column < 0 ? 0 : column;
        const int last = column < 0 ? Record::kColumns - 1 : column;
        Q_EMIT dataChanged(index(position - 1, first), index(position - 1, last));
    });
}

// ---- what is shown -------------------------------------------------------------------------

int RecordModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return structureHeld_ ? shownRows_ : record_.count();
}

int RecordModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Record::kColumns;
}

QModelIndex RecordModel::indexOf(Record::LineId id, int column) const {
    const int position = record_.positionOf(id);
    if (position == 0 || position > rowCount()) return {};
    return index(position - 1, column);
}

Record::LineId RecordModel::idOf(const QModelIndex& index) const {
    return index.isValid() ? record_.idAt(index.row() + 1) : 0;
}

QVariant RecordModel::data(const QModelIndex& index, int role) const {
    const Record::LineId id = idOf(index);
    if (!id) return {};
    switch (role) {
    case Qt::DisplayRole: {
        const QString text = record_.cell(id, index.column());
        // No cell shows more; a value of megabytes would only slow every paint.
        return text.size() > kShownCharacters ? text.left(kShownCharacters) : text;
    }
    case Qt::FontRole:
        if (record_.isBold(id)) return boldFont_;
        break;
    case Qt::BackgroundRole:
        if (id == dropHighlight_) return highlightBackground_;
        break;
    case Qt::ForegroundRole:
        if (id == dropHighlight_) return highlightText_;
        break;
    default:
        break;
    }
    return {};
}

QVariant RecordModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const captions[] = {"Name", "Content", "Lang", "Scheme"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= Record::kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QLatin1String(captions[section]);
}

Qt::ItemFlags RecordModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

void RecordModel::setHighlight(const QBrush& background, const QBrush& text) {
    highlightBackground_ = background;
    highlightText_ = text;
}

void RecordModel::setDropHighlight(Record::LineId id) {
    if (id == dropHighlight_) return;
    const QModelIndex old = indexOf(dropHighlight_);
    dropHighlight_ = id;
    for (const QModelIndex& row : {old, indexOf(id)})
        if (row.isValid()) Q_EMIT dataChanged(row, row.siblingAtColumn(Record::kColumns - 1));
}

// ---- holding -------------------------------------------------------------------------------

void RecordModel::noteStructure() {
    if (structureHeld_) return;
    shownRows_ = record_.count();  // asked before the change: the rows the view knows
    structureHeld_ = true;
}

void RecordModel::noteLines(int position, int count) {
    firstChanged_ = std::min(firstChanged_, position);
    lastChanged_ = std::max(lastChanged_, position + count - 1);
}

void RecordModel::hold(bool hold) {
    if (hold == held_) return;
    if (!hold) showHeldChanges();
    held_ = hold;
}

void RecordModel::showHeldChanges() {
    if (structureHeld_) {
        beginResetModel();
        structureHeld_ = false;
        endResetModel();
        Q_EMIT rowsRebuilt();
    } else if (firstChanged_ <= lastChanged_) {
        const int last = std::min(lastChanged_, record_.count());
        if (firstChanged_ <= last)
            Q_EMIT dataChanged(index(firstChanged_ - 1, 0), index(last - 1, Record::kColumns - 1));
    }
    firstChanged_ = 1;
    lastChanged_ = 0;
}
