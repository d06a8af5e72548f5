#pragma once
#include "core/record/Record.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QFont>

// The record as the rows of the metadata panel: a row per line in the record's order, the
// columns Name, Content, Lang and Scheme, the bold line in bold and the drop target
// highlighted. It edits nothing.
//
// While held, the rows keep what they show and the record's changes are only noted; letting
// go shows them all at once (one reset when lines came or went, else the changed rows), so a
// batch of a thousand changes costs one layout and one repaint.
class RecordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordModel(Record& record, QObject* parent = nullptr);

    Record& record() const { return record_; }
    // The cell of a line; invalid for a line that is gone or not shown yet.
    QModelIndex indexOf(Record::LineId id, int column = 0) const;
    Record::LineId idOf(const QModelIndex& index) const;

    // How the bold line and the drop target are drawn.
    void setBoldFont(const QFont& font) { boldFont_ = font; }
    void setHighlight(const QBrush& background, const QBrush& text);
    Record::LineId dropHighlight() const { return dropHighlight_; }
    void setDropHighlight(Record::LineId id);

    void hold(bool hold);
    bool held() const { return held_; }
    // Shows what the record did while held; the rows stay held.
    void showHeldChanges();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // A cell shows at most this many characters of its value.
    static constexpr int kShownCharacters = 4096;

Q_SIGNALS:
    // The rows were rebuilt from the record: the view takes the selection from it again.
    void rowsRebuilt();

private:
    void noteLines(int position, int count);
    void noteStructure();

    Record& record_;
    QFont boldFont_;
    QBrush highlightBackground_;
    QBrush highlightText_;
    Record::LineId dropHighlight_ = 0;
    bool held_ = false;
    // Lines came or went while held: the rows shown are `shownRows_`, until the next showing.
    bool structureHeld_ = false;
    int shownRows_ = 0;
    // Rows whose values changed while held (1-based positions; first > last: none).
    int firstChanged_ = 1;
    int lastChanged_ = 0;
};
