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

QString& Record::valueIn(MetadataLine& line, Column column) {
    return column == Name ? line.name : column == Content ? line.content : column == Lang ? line.lang : line.scheme;
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

quint64 Record::hashContent(QStringView text, quint64 hash) {
    // FNV-1a over the UTF-16 units: the hash of a value and of what is added to it make the
    // hash of the longer value.
    for (const QChar c : text) hash = (hash ^ c.unicode()) * 0x100000001b3ULL;
    return hash;
}

bool Record::ByOrder::operator()(const Entry* a, const Entry* b) const {
    return a->order < b->order;
}

void Record::index(Entry& e) {
    NameIndex& names = byName_[nameKey(e.line.name)];
    e.names = &names;
    e.sameScheme = &names.byScheme[e.line.scheme];
    e.sameScheme->insert(&e);
    e.sameContent = &names.byContent[e.contentHash];
    e.sameContent->insert(&e);
}

void Record::unindex(Entry& e) {
    if (!e.names) return;
    e.sameScheme->erase(&e);
    if (e.sameScheme->empty()) e.names->byScheme.erase(e.line.scheme);
    e.sameContent->erase(&e);
    if (e.sameContent->empty()) e.names->byContent.erase(e.contentHash);
    if (e.names->byScheme.empty()) byName_.erase(nameKey(e.line.name));
    e.names = nullptr;
    e.sameScheme = e.sameContent = nullptr;
}

void Record::reindexAll() {
    byName_.clear();
    for (Entry* e : entries_) index(*e);
}

void Record::spreadOrders() {
    const quint64 step = ~quint64(0) / (quint64(entries_.size()) + 2);
    quint64 order = 0;
    for (Entry* e : entries_) e->order = order += step;
}

void Record::placeOrder(size_t index) {
    const quint64 before = index > 0 ? entries_[index - 1]->order : 0;
    const quint64 after = index + 1 < entries_.size() ? entries_[index + 1]->order : ~quint64(0);
    if (after - before >= 2) {
        entries_[index]->order = before + (after - before) / 2;
        return;
    }
    // No room: the lines whose orders lie in a range around `before` are spread out over it,
    // with the range twice as large each time until it holds few enough of them (the fewer
    // the larger it is). Lines put in at one place, one after another, then cost a few spreads
    // of the lines near them each, never one of the whole record.
    size_t first = index, last = index;  // the new line and the lines in the range
    double most = 1;
    for (int bits = 1; bits < 64; ++bits) {
        const quint64 size = quint64(1) << bits;
        const quint64 low = before & ~(size - 1);
        const quint64 high = low + (size - 1);
        const auto inRange = [&](size_t at) { return entries_[at]->order >= low && entries_[at]->order <= high; };
        while (first > 0 && inRange(first - 1)) --first;
        while (last + 1 < entries_.size() && inRange(last + 1)) ++last;
        most *= 2 / 1.4;
        const size_t lines = last - first + 1;
        if (double(lines) > most) continue;
        const quint64 step = size / (lines + 1);
        quint64 order = low;
        for (size_t at = first; at <= last; ++at) entries_[at]->order = order += step;
        return;
    }
    spreadOrders();
}

void Record::sortInOrder(QList<LineId>& ids) const {
    std::sort(ids.begin(), ids.end(), [this](LineId a, LineId b) { return entry(a)->order < entry(b)->order; });
}

QList<Record::LineId> Record::idsNamed(const QString& name) const {
    QList<LineId> found;
    const auto it = byName_.find(nameKey(name));
    if (it == byName_.end()) return found;
    // The lines of each scheme are in order: merged, they are the name's lines in order.
    using Range = std::pair<LineSet::const_iterator, LineSet::const_iterator>;
    std::vector<Range> ranges;
    for (const auto& [scheme, lines] : it->second.byScheme) ranges.emplace_back(lines.cbegin(), lines.cend());
    const auto later = [](const Range& a, const Range& b) { return (*a.first)->order > (*b.first)->order; };
    std::make_heap(ranges.begin(), ranges.end(), later);
    while (!ranges.empty()) {
        std::pop_heap(ranges.begin(), ranges.end(), later);
        Range& next = ranges.back();
        found.append((*next.first)->id);
        if (++next.first == next.second) ranges.pop_back();
        else std::push_heap(ranges.begin(), ranges.end(), later);
    }
    return found;
}

QList<Record::LineId> Record::idsNamed(const QString& name, const QString& content) const {
    QList<LineId> found;
    const auto it = byName_.find(nameKey(name));
    if (it == byName_.end()) return found;
    const auto same = it->second.byContent.find(hashContent(content));
    if (same == it->second.byContent.end()) return found;
    for (const Entry* e : same->second)
        if (e->line.content == content) found.append(e->id);
    return found;
}

Record::LineId Record::firstNamed(const QString& name, const std::function<bool(const QString&)>& schemeTest) const {
    const auto it = byName_.find(nameKey(name));
    if (it == byName_.end()) return 0;
    const Entry* first = nullptr;
    for (const auto& [scheme, lines] : it->second.byScheme) {
        const Entry* e = *lines.cbegin();
        if ((!first || e->order < first->order) && schemeTest(scheme)) first = e;
    }
    return first ? first->id : 0;
}

// ---- changing the lines ----------------------------------------------------------------

Record::LineId Record::insert(int position, const MetadataLine& line) {
    const int at = position >= 1 && position <= count() ? position - 1 : count();
    Q_EMIT aboutToInsert(at + 1, 1);
    auto* e = new Entry{nextId_++, recordLine(line), at + 1};
    e->contentHash = hashContent(e->line.content);
    const LineId id = e->id;
    byId_.insert(id, e);
    entries_.insert(entries_.begin() + at, e);
    placeOrder(size_t(at));
    index(*e);
    // The lines below it moved down one.
    if (at + 1 < count()) markStale(at + 1);
    Q_EMIT inserted(at + 1, 1);
    return id;
}

void Record::appendLines(const MetadataRecord& lines) {
    if (lines.isEmpty()) return;
    const int first = count() + 1;
    Q_EMIT aboutToInsert(first, int(lines.size()));
    for (const MetadataLine& line : lines) {
        auto* e = new Entry{nextId_++, recordLine(line), count() + 1};
        e->contentHash = hashContent(e->line.content);
        byId_.insert(e->id, e);
        entries_.push_back(e);
        placeOrder(entries_.size() - 1);
        index(*e);
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
    QString& field = valueIn(e->line, column);
    if (field == value) return;
    const bool indexed = column != Lang;
    if (indexed) unindex(*e);
    field = value;
    if (column == Content) e->contentHash = hashContent(field);
    if (indexed) index(*e);
    Q_EMIT changed(positionOf(id), column);
}

void Record::extend(LineId id, Column column, const QString& added) {
    const QString text = recordValue(added);
    Entry* e = entry(id);
    if (!e || text.isEmpty()) return;
    const bool indexed = column != Lang;
    if (indexed) unindex(*e);
    // In place: the value's own storage grows ahead of what is added.
    QString& field = valueIn(e->line, column);
    const qsizetype kept = field.size();
    field.append(text);
    if (column == Content) e->contentHash = hashContent(QStringView(field).sliced(kept), e->contentHash);
    if (indexed) index(*e);
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
    unindex(*e);
    entries_.erase(entries_.begin() + (from - 1));
    const int at = to > from ? to - 2 : to - 1;  // 0-based, once the line has left its place
    entries_.insert(entries_.begin() + at, e);
    placeOrder(size_t(at));
    index(*e);
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
    reindexAll();
    markStale(0);
    Q_EMIT wasReset();
}

// ---- selection ---------------------------------------------------------------------------

QList<Record::LineId> Record::selection() const {
    QList<LineId> out(selected_.cbegin(), selected_.cend());
    sortInOrder(out);
    return out;
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
