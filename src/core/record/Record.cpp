#include "core/record/Record.h"

#include <algorithm>

namespace {
const MetadataLine kNoLine;
}  // namespace

QString Record::cell(const MetadataLine& line, int column) {
    switch (column) {
    case Name: return line.name;
    case Content: return line.content;
    case Lang: return line.lang;
    case Scheme: return line.scheme;
    default: return {};
    }
}

Record::Record(QObject* parent) : QObject(parent) {}

Record::~Record() {
    for (Entry* e : entries_) delete e;
}

// ---- positions ---------------------------------------------------------------------------

void Record::markStale(int index) const {
    staleFrom_ = std::min(staleFrom_, index);
}

Record::LineId Record::idAt(int position) const {
    if (position < 1 || position > count()) return 0;
    return entries_[size_t(position - 1)]->id;
}

int Record::positionOf(LineId id) const {
    const Entry* e = entry(id);
    if (!e) return 0;
    // A number that points back at the line is right (a line just below an insertion has
    // its old number, which points at the line inserted). Numbered only as far as this line:
    // a line asked for near the last change costs little however long the record is.
    const int at = e->position - 1;
    if (at >= staleFrom_ || at >= count() || entries_[size_t(at)] != e) {
        int i = staleFrom_;
        while (entries_[size_t(i)] != e) {
            entries_[size_t(i)]->position = i + 1;
            ++i;
        }
        e->position = i + 1;
        staleFrom_ = i + 1 < count() ? i + 1 : INT_MAX;
    }
    return e->position;
}

const MetadataLine& Record::line(LineId id) const {
    const Entry* e = entry(id);
    return e ? e->line : kNoLine;
}

MetadataRecord Record::lines() const {
    MetadataRecord out;
    out.reserve(count());
    for (const auto& e : entries_) out.append(e->line);
    return out;
}

QList<Record::LineId> Record::ids() const {
    QList<LineId> out;
    out.reserve(count());
    for (const auto& e : entries_) out.append(e->id);
    return out;
}

QString Record::nameKey(const QString& name) {
    return name.toCaseFolded();
}

void Record::index(const Entry& e) {
    byName_[nameKey(e.line.name)].append(e.id);
}

void Record::unindex(const Entry& e) {
    const auto it = byName_.find(nameKey(e.line.name));
    if (it == byName_.end()) return;
    it->removeOne(e.id);
    if (it->isEmpty()) byName_.erase(it);
}

void Record::spreadOrders() {
    const quint64 step = ~quint64(0) / (quint64(entries_.size()) + 2);
    quint64 order = 0;
    for (Entry* e : entries_) e->order = order += step;
}

void Record::placeOrder(size_t index) {
    const quint64 before = index > 0 ? entries_[index - 1]->order : 0;
    const quint64 after = index + 1 < entries_.size() ? entries_[index + 1]->order : ~quint64(0);
    if (after - before < 2) return spreadOrders();
    entries_[index]->order = before + (after - before) / 2;
}

void Record::sortByOrder(QList<LineId>& ids) const {
    std::sort(ids.begin(), ids.end(), [this](LineId a, LineId b) { return entry(a)->order < entry(b)->order; });
}

QList<Record::LineId> Record::idsNamed(const QString& name) const {
    QList<LineId> found = byName_.value(nameKey(name));
    if (found.size() > 1) sortByOrder(found);
    return found;
}

// ---- changing the lines ----------------------------------------------------------------

Record::LineId Record::insert(int position, const MetadataLine& line) {
    const int at = position >= 1 && position <= count() ? position - 1 : count();
    Q_EMIT aboutToInsert(at + 1, 1);
    auto* e = new Entry{nextId_++, recordLine(line), at + 1};
    const LineId id = e->id;
    byId_.insert(id, e);
    index(*e);
    entries_.insert(entries_.begin() + at, e);
    placeOrder(size_t(at));
    // The lines below it moved down one.
    if (at + 1 < count()) markStale(at + 1);
    Q_EMIT inserted(at + 1, 1);
    return id;
}

void Record::appendLines(const MetadataRecord& lines) {
    if (lines.isEmpty()) return;
    const int first = count() + 1;
    Q_EMIT aboutToInsert(first, int(lines.size()));
    entries_.reserve(entries_.size() + size_t(lines.size()));
    for (const MetadataLine& line : lines) {
        auto* e = new Entry{nextId_++, recordLine(line), count() + 1};
        byId_.insert(e->id, e);
        index(*e);
        entries_.push_back(e);
        placeOrder(entries_.size() - 1);
    }
    Q_EMIT inserted(first, int(lines.size()));
}

bool Record::forget(LineId id) {
    const bool selectionChanges = selected_.remove(id) || current_ == id;
    if (current_ == id) current_ = 0;
    bold_.remove(id);
    return selectionChanges;
}

bool Record::remove(LineId id) {
    const int position = positionOf(id);
    if (position == 0) return false;
    Q_EMIT aboutToRemove(position, 1);
    const std::unique_ptr<Entry> e(entries_[size_t(position - 1)]);
    entries_.erase(entries_.begin() + (position - 1));
    byId_.remove(id);
    unindex(*e);
    markStale(position - 1);
    const bool selectionChanges = forget(id);
    Q_EMIT removed(position, 1);
    if (selectionChanges) Q_EMIT selectionChanged();
    return true;
}

void Record::clear() {
    const bool selectionChanges = !selected_.isEmpty() || current_ != 0;
    Q_EMIT aboutToReset();
    for (Entry* e : entries_) delete e;
    entries_.clear();
    byId_.clear();
    byName_.clear();
    selected_.clear();
    bold_.clear();
    current_ = 0;
    staleFrom_ = INT_MAX;
    Q_EMIT wasReset();
    if (selectionChanges) Q_EMIT selectionChanged();
}

void Record::set(LineId id, Column column, const QString& typed) {
    const QString value = recordValue(typed);
    Entry* e = entry(id);
    if (!e) return;
    MetadataLine& line = e->line;
    QString* field = column == Name ? &line.name : column == Content ? &line.content : column == Lang ? &line.lang : &line.scheme;
    if (*field == value) return;
    if (column == Name) unindex(*e);
    *field = value;
    if (column == Name) index(*e);
    Q_EMIT changed(positionOf(id), column);
}

void Record::setHttpEquiv(LineId id, bool httpEquiv) {
    if (Entry* e = entry(id)) e->line.httpEquiv = httpEquiv;
}

void Record::move(LineId id, int position) {
    const int from = positionOf(id);
    if (from == 0) return;
    const int to = position >= 1 && position <= count() ? position : count() + 1;
    // Before itself or before the line after it: it stays where it is.
    if (to == from || to == from + 1) return;
    Q_EMIT aboutToMove(from, to);
    Entry* e = entries_[size_t(from - 1)];
    entries_.erase(entries_.begin() + (from - 1));
    const int at = to > from ? to - 2 : to - 1;  // 0-based, once the line has left its place
    entries_.insert(entries_.begin() + at, e);
    placeOrder(size_t(at));
    markStale(std::min(from - 1, at));
    Q_EMIT moved(from, to);
}

void Record::sortBy(int column) {
    if (column < 0 || column >= kColumns) return;
    Q_EMIT aboutToReset();
    std::stable_sort(entries_.begin(), entries_.end(), [column](const Entry* a, const Entry* b) {
        return QString::compare(cell(a->line, column), cell(b->line, column), Qt::CaseInsensitive) < 0;
    });
    spreadOrders();
    markStale(0);
    Q_EMIT wasReset();
}

// ---- selection ---------------------------------------------------------------------------

QList<Record::LineId> Record::selection() const {
    QList<LineId> out(selected_.cbegin(), selected_.cend());
    sortByOrder(out);
    return out;
}

void Record::setSelected(LineId id, bool selected) {
    if (!contains(id) || isSelected(id) == selected) return;
    if (selected) selected_.insert(id);
    else selected_.remove(id);
    Q_EMIT selectionChanged();
}

void Record::setSelection(const QList<LineId>& ids, LineId current) {
    QSet<LineId> now;
    for (LineId id : ids)
        if (contains(id)) now.insert(id);
    if (!contains(current)) current = 0;
    if (now == selected_ && current == current_) return;
    selected_ = std::move(now);
    current_ = current;
    Q_EMIT selectionChanged();
}

void Record::selectOnly(LineId id) {
    if (!contains(id)) id = 0;
    setSelection(id ? QList<LineId>{id} : QList<LineId>{}, id);
}

Record::LineId Record::selectedLine() const {
    if (current_ && selected_.contains(current_)) return current_;
    LineId first = 0;
    for (LineId id : selected_)
        if (!first || entry(id)->order < entry(first)->order) first = id;
    return first;
}

void Record::setBold(LineId id, bool bold) {
    if (!contains(id) || isBold(id) == bold) return;
    if (bold) bold_.insert(id);
    else bold_.remove(id);
    Q_EMIT changed(positionOf(id), -1);
}
