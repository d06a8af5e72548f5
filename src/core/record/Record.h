#pragma once
#include "core/record/MetadataLine.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <climits>
#include <memory>
#include <vector>

// The record being edited: the page's metadata lines in order, which of them are selected,
// the current (focused) line and the bold one, and a notification for every change. Lines
// are numbered from 1 in their order; each also has an id that stays with it for as long
// as it exists, so code that waits (for an answer to a question, say) finds its line again
// afterwards or learns that it is gone.
class Record : public QObject {
    Q_OBJECT
public:
    using LineId = quint64;  // 0: no line
    enum Column : int { Name = 0, Content = 1, Lang = 2, Scheme = 3 };
    static constexpr int kColumns = 4;
    // A line's value in a column; "" for any other column.
    static QString cell(const MetadataLine& line, int column);

    explicit Record(QObject* parent = nullptr);
    ~Record() override;

    // ---- the lines ------------------------------------------------------------------------
    int count() const { return static_cast<int>(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    // 1-based; 0 outside 1..count().
    LineId idAt(int position) const;
    // 0 once the line is gone.
    int positionOf(LineId id) const;
    bool contains(LineId id) const { return byId_.contains(id); }
    // The line's values; an empty line once it is gone.
    const MetadataLine& line(LineId id) const;
    const MetadataLine& lineAt(int position) const { return line(idAt(position)); }
    QString cell(LineId id, int column) const { return cell(line(id), column); }
    MetadataRecord lines() const;
    QList<LineId> ids() const;
    // The lines whose name is `name`, ignoring case, in order; found without a walk of the record.
    QList<LineId> idsNamed(const QString& name) const;

    // ---- changing the lines ---------------------------------------------------------------
    // Every value goes in as the record keeps it (recordValue).
    // Puts a line before the one at `position` (that line and those below it move down one),
    // or at the end when position is not one of the lines. Returns the new line's id.
    LineId insert(int position, const MetadataLine& line);
    LineId append(const MetadataLine& line) { return insert(0, line); }
    void appendLines(const MetadataRecord& lines);
    // False when the line is gone already.
    bool remove(LineId id);
    void clear();
    void set(LineId id, Column column, const QString& value);
    void setHttpEquiv(LineId id, bool httpEquiv);
    // Puts the line before the one at `position` (at the end when position is 0 or past the
    // last line), as an insertion there followed by the removal of the line from its old
    // place would. The line keeps its id.
    void move(LineId id, int position);
    // Sorts the lines once by the text of a column, ignoring case; equal lines keep their order.
    void sortBy(int column);

    // ---- selection, current line, bold mark -------------------------------------------------
    // The selected lines, in order.
    QList<LineId> selection() const;
    bool isSelected(LineId id) const { return selected_.contains(id); }
    // Adds the line to the selection or takes it out; the current line stays.
    void setSelected(LineId id, bool selected);
    // Exactly these lines selected (those gone are left out), and `current` the current line.
    void setSelection(const QList<LineId>& ids, LineId current);
    // Selects only this line and makes it current; 0 selects nothing and leaves no current line.
    void selectOnly(LineId id);
    // The line that has the focus; 0 when none.
    LineId currentLine() const { return current_; }
    // The line the program works on: the current line when it is selected, else the first
    // selected line, else 0.
    LineId selectedLine() const;
    bool isBold(LineId id) const { return bold_.contains(id); }
    void setBold(LineId id, bool bold);
    QList<LineId> boldLines() const { return bold_.values(); }

Q_SIGNALS:
    // Positions are 1-based. `count` lines from `position` on are new, or are about to go.
    void aboutToInsert(int position, int count);
    void inserted(int position, int count);
    void aboutToRemove(int position, int count);
    void removed(int position, int count);
    // The line at `from` goes before the line at `to` (to the end: count() + 1).
    void aboutToMove(int from, int to);
    void moved(int from, int to);
    // Every line may have changed (cleared, sorted).
    void aboutToReset();
    void wasReset();
    // A value of the line changed; column -1: its bold mark.
    void changed(int position, int column);
    void selectionChanged();

private:
    struct Entry {
        LineId id;
        MetadataLine line;
        mutable int position;  // right for the lines before staleFrom_
        quint64 order = 0;     // grows with the position: lines compare without numbering them
    };
    Entry* entry(LineId id) const { return byId_.value(id, nullptr); }
    void markStale(int index) const;
    // Gives the entry at `index` an order between its neighbours', spreading every order
    // out afresh when there is no room between them.
    void placeOrder(size_t index);
    void spreadOrders();
    void sortByOrder(QList<LineId>& ids) const;
    static QString nameKey(const QString& name);
    void index(const Entry& e);
    void unindex(const Entry& e);
    bool forget(LineId id);  // takes the line out of the selection and the bold mark

    std::vector<Entry*> entries_;  // owned
    QHash<LineId, Entry*> byId_;
    QHash<QString, QList<LineId>> byName_;
    QSet<LineId> selected_;
    QSet<LineId> bold_;
    LineId current_ = 0;
    LineId nextId_ = 1;
    mutable int staleFrom_ = INT_MAX;  // 0-based index of the first entry whose position may be wrong
};
