#pragma once
#include "core/record/MetadataLine.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <climits>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <unordered_map>

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
    // Of those, the lines whose content is exactly `content`, found without a walk of them.
    QList<LineId> idsNamed(const QString& name, const QString& content) const;
    // Of those, the first whose scheme passes `schemeTest` (0: none). The test is asked once
    // for each scheme the lines carry (as written), not once for each line.
    LineId firstNamed(const QString& name, const std::function<bool(const QString&)>& schemeTest) const;
    // Puts lines into the record's order without numbering the record.
    void sortInOrder(QList<LineId>& ids) const;

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
    // Adds `text` at the end of a value. A value that grows a little at a time (the subject
    // line a batch joins its terms to) costs what is added each time, not its whole length.
    void extend(LineId id, Column column, const QString& text);
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
    struct Entry;
    // Lines in the record's order. An order changes only for a line out of every index, or
    // for a stretch of lines that keep their sequence among all the others (a spread), so
    // the sets stay sorted.
    struct ByOrder {
        bool operator()(const Entry* a, const Entry* b) const;
    };
    using LineSet = std::set<const Entry*, ByOrder>;
    // The lines of one name (ignoring case), by their scheme and by their content.
    struct NameIndex {
        std::unordered_map<QString, LineSet> byScheme;
        std::unordered_map<quint64, LineSet> byContent;
    };
    struct Entry {
        LineId id;
        MetadataLine line;
        mutable int position;  // right for the lines before staleFrom_
        quint64 order = 0;     // grows with the position: lines compare without numbering them
        quint64 contentHash = 0;
        // Where the line is indexed: taken out again without looking anything up.
        NameIndex* names = nullptr;
        LineSet* sameScheme = nullptr;
        LineSet* sameContent = nullptr;
    };
    static QString& valueIn(MetadataLine& line, Column column);
    Entry* entry(LineId id) const { return byId_.value(id, nullptr); }
    void markStale(int index) const;
    // Gives the entry at `index` an order between its neighbours', spreading the orders of the
    // lines around it out afresh when there is no room between them.
    void placeOrder(size_t index);
    void spreadOrders();
    static QString nameKey(const QString& name);
    // A hash of a content that carries on as text is added to its end.
    static quint64 hashContent(QStringView text, quint64 hash = 0xcbf29ce484222325ULL);
    void index(Entry& e);
    void unindex(Entry& e);
    void reindexAll();
    bool forget(LineId id);  // takes the line out of the selection and the bold mark

    // Owned. Lines go in and out near either end without moving the others (a batch adds
    // its lines after the selected one, often near the top of a long record).
    std::deque<Entry*> entries_;
    QHash<LineId, Entry*> byId_;
    std::unordered_map<QString, NameIndex> byName_;
    QSet<LineId> selected_;
    QSet<LineId> bold_;
    LineId current_ = 0;
    LineId nextId_ = 1;
    mutable int staleFrom_ = INT_MAX;  // 0-based index of the first entry whose position may be wrong
};
