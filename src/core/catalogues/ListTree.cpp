#include "core/catalogues/ListTree.h"

#include <QHashFunctions>

#include <algorithm>
#include <cstring>

namespace {

constexpr quint32 kUtf16 = 0x80000000u;
constexpr quint32 kSizeMask = 0x7fffffffu;

// Keys are hashed a character at a time (FNV-1a), so the hash of a key made of its parent's
// goes on from the parent's without the whole key being spelt out.
constexpr quint32 kHashStart = 2166136261u;
quint32 hashMore(quint32 hash, QStringView s) {
    for (const QChar c : s) hash = (hash ^ c.unicode()) * 16777619u;
    return hash;
}
quint32 hashMore(quint32 hash, QChar c) {
    return (hash ^ c.unicode()) * 16777619u;
}
// Spreads the hash's bits over the table's positions.
size_t spread(quint32 hash) {
    hash ^= hash >> 16;
    hash *= 0x85ebca6bu;
    hash ^= hash >> 13;
    hash *= 0xc2b2ae35u;
    return hash ^ (hash >> 16);
}

}  // namespace

// ---- texts ---------------------------------------------------------------------------------

// The texts of the nodes, in large blocks: Latin-1 texts a byte a character, others as UTF-16.
// A text is never changed in place; a new one takes new room.
class ListTree::Texts {
public:
    Text put(QStringView s) {
        const bool latin1 = std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x100; });
        const size_t bytes = size_t(s.size()) * (latin1 ? 1 : 2);
        if (chunks_.empty() || !latin1) used_ += used_ & 1;  // UTF-16 starts on an even byte
        if (chunks_.empty() || used_ + bytes > capacity_) {
            capacity_ = std::max<size_t>(kChunk, bytes);
            chunks_.push_back(std::make_unique<char[]>(capacity_));
            used_ = 0;
        }
        char* at = chunks_.back().get() + used_;
        if (latin1) {
            for (qsizetype i = 0; i < s.size(); ++i) at[i] = char(s[i].unicode());
        } else if (bytes) {
            std::memcpy(at, s.utf16(), bytes);
        }
        const Text t{quint32(chunks_.size() - 1), quint32(used_), quint32(s.size()) | (latin1 ? 0 : kUtf16)};
        used_ += bytes;
        return t;
    }
    QString get(const Text& t) const {
        const qsizetype n = t.size & kSizeMask;
        if (n == 0) return QString();
        const char* at = chunks_[t.chunk].get() + t.offset;
        if (t.size & kUtf16) return QString(reinterpret_cast<const QChar*>(at), n);
        return QString::fromLatin1(at, n);
    }
    bool equals(const Text& t, QStringView s) const {
        const qsizetype n = t.size & kSizeMask;
        if (n != s.size()) return false;
        if (n == 0) return true;
        const char* at = chunks_[t.chunk].get() + t.offset;
        if (t.size & kUtf16) return QStringView(reinterpret_cast<const QChar*>(at), n) == s;
        return QLatin1StringView(at, n) == s;
    }
    static qsizetype size(const Text& t) { return t.size & kSizeMask; }
    void clear() {
        chunks_.clear();
        used_ = capacity_ = 0;
    }

private:
    static constexpr size_t kChunk = size_t(1) << 20;
    std::vector<std::unique_ptr<char[]>> chunks_;
    size_t used_ = 0;
    size_t capacity_ = 0;
};

// ---- keys ------------------------------------------------------------------------------------

// A node's key made of its parent's key and its own text shares both with them; such a part
// never changes, so a key stays what it was made as when the texts change later.

// Key look-up: hash and slot in one open table; the key itself is compared from its parts.
class ListTree::KeyIndex {
public:
    template <typename Matches>
    quint32 find(quint32 hash, Matches matches) const {
        if (entries_.empty()) return 0;
        const size_t mask = entries_.size() - 1;
        for (size_t i = spread(hash) & mask;; i = (i + 1) & mask) {
            const Entry& e = entries_[i];
            if (e.slot == 0) return 0;
            if (e.slot != kGone && e.hash == hash && matches(e.slot)) return e.slot;
        }
    }
    void insert(quint32 hash, quint32 slot) {
        if ((used_ + 1) * 10 > entries_.size() * 7) grow();
        const size_t mask = entries_.size() - 1;
        size_t i = spread(hash) & mask;
        while (entries_[i].slot != 0 && entries_[i].slot != kGone) i = (i + 1) & mask;
        if (entries_[i].slot == 0) ++used_;
        entries_[i] = {hash, slot};
    }
    void erase(quint32 hash, quint32 slot) {
        if (entries_.empty()) return;
        const size_t mask = entries_.size() - 1;
        for (size_t i = spread(hash) & mask; entries_[i].slot != 0; i = (i + 1) & mask) {
            if (entries_[i].slot == slot) {
                entries_[i].slot = kGone;
                return;
            }
        }
    }
    void clear() {
        entries_.clear();
        used_ = 0;
    }

private:
    struct Entry {
        quint32 hash = 0;
        quint32 slot = 0;  // 0: empty
    };
    static constexpr quint32 kGone = 0xffffffffu;
    void grow() {
        std::vector<Entry> old;
        old.swap(entries_);
        size_t live = 0;
        for (const Entry& e : old)
            if (e.slot != 0 && e.slot != kGone) ++live;
        size_t size = 16;
        while (size * 7 < (live + 1) * 20) size *= 2;  // at most a third full after growing
        entries_.assign(size, Entry{});
        used_ = 0;
        for (const Entry& e : old)
            if (e.slot != 0 && e.slot != kGone) insert(e.hash, e.slot);
    }
    std::vector<Entry> entries_;
    size_t used_ = 0;  // entries not empty (tombstones included)
};

// ---- nodes -----------------------------------------------------------------------------------

QString ListTree::failureText(Failure failure) {
    switch (failure) {
    case Failure::IndexOutOfBounds: return QStringLiteral("Index out of bounds");
    case Failure::ElementNotFound: return QStringLiteral("Element not found");
    case Failure::KeyNotUnique: return QStringLiteral("Key is not unique in collection");
    case Failure::InvalidParent: return QStringLiteral("This would introduce a cycle");
    case Failure::None: break;
    }
    return QString();
}

ListTree::ListTree(QObject* parent)
    : QObject(parent), texts_(std::make_unique<Texts>()), keys_(std::make_unique<KeyIndex>()) {
    recs_.resize(1);
    recs_[0].generation = 1;
    childLists_.resize(1);
    keyParts_.resize(1);
}

ListTree::~ListTree() = default;

quint32 ListTree::slotOf(NodeId id) const {
    const quint32 slot = quint32(id);
    if (slot == 0 || slot >= recs_.size()) return 0;
    const quint32 generation = quint32(id >> 32);
    const Rec& r = recs_[slot];
    return r.generation == generation && (generation & 1) ? slot : 0;
}

ListTree::NodeId ListTree::idOf(quint32 slot) const {
    return slot == 0 ? 0 : (NodeId(recs_[slot].generation) << 32) | slot;
}

std::vector<quint32>& ListTree::childrenOf(quint32 slot) {
    Rec& r = rec(slot);
    if (r.children == 0) {
        if (!freeChildLists_.empty()) {
            r.children = freeChildLists_.back();
            freeChildLists_.pop_back();
        } else {
            r.children = quint32(childLists_.size());
            childLists_.emplace_back();
        }
    }
    return childLists_[r.children];
}

const std::vector<quint32>* ListTree::childrenIfAny(quint32 slot) const {
    const quint32 list = recs_[slot].children;
    return list ? &childLists_[list] : nullptr;
}

quint32 ListTree::newSlot() {
    quint32 slot;
    if (!freeSlots_.empty()) {
        slot = freeSlots_.back();
        freeSlots_.pop_back();
        const quint32 generation = recs_[slot].generation + 1;
        recs_[slot] = Rec();
        recs_[slot].generation = generation;
    } else {
        slot = quint32(recs_.size());
        recs_.emplace_back();
        recs_[slot].generation = firstGeneration_;
    }
    lastGeneration_ = std::max(lastGeneration_, recs_[slot].generation);
    return slot;
}

void ListTree::placeChild(quint32 parent, int row, quint32 slot) {
    std::vector<quint32>& list = childrenOf(parent);
    const size_t at = std::min(size_t(std::max(row, 0)), list.size());
    list.insert(list.begin() + qsizetype(at), slot);
    for (size_t i = at; i < list.size(); ++i) recs_[list[i]].row = quint32(i);
    recs_[slot].parent = parent;
}

void ListTree::takeChild(quint32 slot) {
    Rec& r = rec(slot);
    const quint32 listIndex = recs_[r.parent].children;
    std::vector<quint32>& list = childLists_[listIndex];
    list.erase(list.begin() + r.row);
    for (size_t i = r.row; i < list.size(); ++i) recs_[list[i]].row = quint32(i);
    if (list.empty()) {
        std::vector<quint32>().swap(list);
        recs_[r.parent].children = 0;
        freeChildLists_.push_back(listIndex);
    }
}

// ---- looking nodes up ------------------------------------------------------------------------

void ListTree::compact() const {
    if (firstHole_ == SIZE_MAX) return;
    size_t write = firstHole_;
    for (size_t read = firstHole_; read < order_.size(); ++read) {
        if (const quint32 slot = order_[read]) {
            const_cast<Rec&>(recs_[slot]).order = quint32(write);
            order_[write++] = slot;
        }
    }
    order_.resize(write);
    firstHole_ = SIZE_MAX;
}

ListTree::NodeId ListTree::item(int index) const {
    if (index < 1 || index > count_) return 0;
    compact();
    return idOf(order_[size_t(index) - 1]);
}

int ListTree::indexOf(NodeId id) const {
    const quint32 slot = slotOf(id);
    if (!slot) return 0;
    compact();
    return int(recs_[slot].order) + 1;
}

bool ListTree::keyEquals(quint32 part, QStringView key) const {
    qsizetype end = key.size();
    for (quint32 p = part; p; p = keyParts_[p].prefix) {
        const KeyPart& k = keyParts_[p];
        if (k.slash) {
            if (end < 1 || key[end - 1] != QLatin1Char('\\')) return false;
            --end;
        }
        const qsizetype n = Texts::size(k.text);
        if (end < n || !texts_->equals(k.text, key.mid(end - n, n))) return false;
        end -= n;
    }
    return end == 0;
}

QString ListTree::keyText(quint32 part) const {
    std::vector<quint32> parts;
    for (quint32 p = part; p; p = keyParts_[p].prefix) parts.push_back(p);
    QString key;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        key += texts_->get(keyParts_[*it].text);
        if (keyParts_[*it].slash) key += QLatin1Char('\\');
    }
    return key;
}

ListTree::NodeId ListTree::itemByKey(QStringView key) const {
    if (key.isEmpty()) return 0;
    const quint32 hash = hashMore(kHashStart, key);
    return idOf(keys_->find(hash, [&](quint32 slot) { return keyEquals(recs_[slot].keyPart, key); }));
}

quint32 ListTree::childKeyHash(quint32 prefix, QStringView text) const {
    return hashMore(hashMore(prefix ? keyParts_[prefix].hash : kHashStart, text), QLatin1Char('\\'));
}

quint32 ListTree::childKeyPrefix(quint32 parentSlot) const {
    return parentSlot && recs_[parentSlot].parent ? recs_[parentSlot].keyPart : 0;
}

QString ListTree::childKey(NodeId parent, QStringView text) const {
    return keyText(childKeyPrefix(slotOf(parent))) + text.toString() + QLatin1Char('\\');
}

ListTree::NodeId ListTree::itemByChildKey(NodeId parent, QStringView text) const {
    const quint32 parentSlot = slotOf(parent);
    if (parent && !parentSlot) return 0;
    const quint32 prefix = childKeyPrefix(parentSlot);
    const quint32 hash = childKeyHash(prefix, text);
    QString spelt;  // only for a key stored otherwise than made from the parent's
    return idOf(keys_->find(hash, [&](quint32 slot) {
        const KeyPart& k = keyParts_[recs_[slot].keyPart];
        if (k.slash && k.prefix == prefix && texts_->equals(k.text, text)) return true;
        if (spelt.isNull()) spelt = keyText(prefix) + text.toString() + QLatin1Char('\\');
        return keyEquals(recs_[slot].keyPart, spelt);
    }));
}

bool ListTree::hasKey(NodeId id, QStringView key) const {
    const quint32 slot = slotOf(id);
    if (!slot) return false;
    return recs_[slot].keyPart ? keyEquals(recs_[slot].keyPart, key) : key.isEmpty();
}

QString ListTree::key(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot ? keyText(recs_[slot].keyPart) : QString();
}

// The key part of a node's key: its parent's key (or nothing) and its text with "\" when the
// key is made so, else the key as a text of its own.
quint32 ListTree::keyPartFor(quint32 parentSlot, const QString& key, const Text& text, quint32 hash) {
    KeyPart part;
    part.hash = hash;
    const qsizetype n = Texts::size(text);
    const QStringView k(key);
    if (k.endsWith(QLatin1Char('\\')) && k.size() > n && texts_->equals(text, k.mid(k.size() - 1 - n, n))) {
        const QStringView prefix = k.first(k.size() - 1 - n);
        const quint32 parentPart = parentSlot ? recs_[parentSlot].keyPart : 0;
        if (prefix.isEmpty() || (parentPart && keyEquals(parentPart, prefix))) {
            part.prefix = prefix.isEmpty() ? 0 : parentPart;
            part.text = text;
            part.slash = true;
        }
    }
    if (!part.slash) part.text = texts_->put(key);
    keyParts_.push_back(part);
    return quint32(keyParts_.size() - 1);
}

ListTree::NodeId ListTree::addChild(NodeId parent, const QString& text, int image, int selectedImage) {
    lastFailure_ = Failure::None;
    const quint32 parentSlot = slotOf(parent);
    if (parent && !parentSlot) {
        fail(Failure::ElementNotFound);
        return 0;
    }
    if (itemByChildKey(parent, text)) {
        fail(Failure::KeyNotUnique);
        return 0;
    }
    const NodeId id = add(parent, parent ? Place::Child : Place::Last, QString(), text, image, selectedImage);
    const quint32 slot = slotOf(id);
    KeyPart part;
    part.prefix = childKeyPrefix(parentSlot);
    part.text = recs_[slot].text;
    part.slash = true;
    part.hash = childKeyHash(part.prefix, text);
    keyParts_.push_back(part);
    rec(slot).keyPart = quint32(keyParts_.size() - 1);
    keys_->insert(part.hash, slot);
    return id;
}

void ListTree::unindexKey(quint32 slot) {
    Rec& r = rec(slot);
    if (r.keyPart) keys_->erase(keyParts_[r.keyPart].hash, slot);
    r.keyPart = 0;
}

bool ListTree::setKey(NodeId id, const QString& key) {
    lastFailure_ = Failure::None;
    const quint32 slot = slotOf(id);
    if (!slot) {
        fail(Failure::ElementNotFound);
        return false;
    }
    if (recs_[slot].keyPart ? keyEquals(recs_[slot].keyPart, key) : key.isEmpty()) return true;
    if (const NodeId other = itemByKey(key); other && other != id) {
        fail(Failure::KeyNotUnique);
        return false;
    }
    unindexKey(slot);
    if (key.isEmpty()) return true;
    const quint32 hash = hashMore(kHashStart, key);
    rec(slot).keyPart = keyPartFor(recs_[slot].parent, key, recs_[slot].text, hash);
    keys_->insert(hash, slot);
    return true;
}

// ---- values ------------------------------------------------------------------------------------

void ListTree::emitChanged(quint32 slot) {
    if (!bulk_) Q_EMIT changed(idOf(slot));
}

QString ListTree::text(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot ? texts_->get(recs_[slot].text) : QString();
}

void ListTree::setText(NodeId id, const QString& text) {
    const quint32 slot = slotOf(id);
    if (!slot || texts_->equals(recs_[slot].text, text)) return;
    rec(slot).text = texts_->put(text);
    emitChanged(slot);
}

QString ListTree::tag(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot ? texts_->get(recs_[slot].tag) : QString();
}

bool ListTree::hasTag(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot && Texts::size(recs_[slot].tag) > 0;
}

void ListTree::setTag(NodeId id, QStringView tag) {
    const quint32 slot = slotOf(id);
    if (!slot || texts_->equals(recs_[slot].tag, tag)) return;
    rec(slot).tag = texts_->put(tag);
}

int ListTree::image(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot ? recs_[slot].image : 0;
}

void ListTree::setImage(NodeId id, int image) {
    const quint32 slot = slotOf(id);
    if (!slot || recs_[slot].image == image) return;
    rec(slot).image = qint16(image);
    emitChanged(slot);
}

int ListTree::selectedImage(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot ? recs_[slot].selectedImage : 0;
}

void ListTree::setSelectedImage(NodeId id, int image) {
    const quint32 slot = slotOf(id);
    if (!slot || recs_[slot].selectedImage == image) return;
    rec(slot).selectedImage = qint16(image);
    emitChanged(slot);
}

bool ListTree::isBold(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot && recs_[slot].bold;
}

void ListTree::setBold(NodeId id, bool bold) {
    const quint32 slot = slotOf(id);
    if (!slot || recs_[slot].bold == bold) return;
    rec(slot).bold = bold;
    emitChanged(slot);
}

bool ListTree::isExpanded(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot && expanded_.contains(slot);
}

void ListTree::setExpanded(NodeId id, bool expanded) {
    const quint32 slot = slotOf(id);
    if (!slot || expanded_.contains(slot) == expanded) return;
    if (expanded) expanded_.insert(slot);
    else expanded_.remove(slot);
    if (!bulk_) Q_EMIT expandedChanged(id, expanded);
}

QList<ListTree::NodeId> ListTree::expandedNodes() const {
    QList<NodeId> out;
    out.reserve(expanded_.size());
    for (const quint32 slot : expanded_) out.append(idOf(slot));
    return out;
}

// ---- the hierarchy -------------------------------------------------------------------------------

ListTree::NodeId ListTree::parent(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot ? idOf(recs_[slot].parent) : 0;
}

int ListTree::childCount(NodeId id) const {
    const quint32 slot = id ? slotOf(id) : 0;
    if (id && !slot) return 0;
    const std::vector<quint32>* list = childrenIfAny(slot);
    return list ? int(list->size()) : 0;
}

ListTree::NodeId ListTree::child(NodeId id, int row) const {
    const quint32 slot = id ? slotOf(id) : 0;
    if (id && !slot) return 0;
    const std::vector<quint32>* list = childrenIfAny(slot);
    if (!list || row < 0 || size_t(row) >= list->size()) return 0;
    return idOf((*list)[size_t(row)]);
}

int ListTree::row(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot ? int(recs_[slot].row) : -1;
}

ListTree::NodeId ListTree::next(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot ? child(idOf(recs_[slot].parent), int(recs_[slot].row) + 1) : 0;
}

ListTree::NodeId ListTree::previous(NodeId id) const {
    const quint32 slot = slotOf(id);
    return slot && recs_[slot].row > 0 ? child(idOf(recs_[slot].parent), int(recs_[slot].row) - 1) : 0;
}

QString ListTree::fullPath(NodeId id) const {
    std::vector<quint32> chain;
    for (quint32 slot = slotOf(id); slot; slot = recs_[slot].parent) chain.push_back(slot);
    QString path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (it != chain.rbegin()) path += pathSeparator_;
        path += texts_->get(recs_[*it].text);
    }
    return path;
}

bool ListTree::isWithin(NodeId node, NodeId ancestor) const {
    const quint32 top = slotOf(ancestor);
    if (!top) return false;
    for (quint32 slot = slotOf(node); slot; slot = recs_[slot].parent)
        if (slot == top) return true;
    return false;
}

// ---- changing the nodes -----------------------------------------------------------------------------

ListTree::NodeId ListTree::add(NodeId relative, Place place, const QString& key, const QString& text, int image,
                               int selectedImage) {
    lastFailure_ = Failure::None;
    const quint32 relativeSlot = slotOf(relative);
    if (relative && !relativeSlot) {
        fail(Failure::ElementNotFound);
        return 0;
    }
    if (!key.isEmpty() && itemByKey(key)) {
        fail(Failure::KeyNotUnique);
        return 0;
    }
    quint32 parentSlot = 0;
    int at = childCount(0);
    if (relativeSlot) {
        const Rec& r = recs_[relativeSlot];
        switch (place) {
        case Place::First:
            parentSlot = r.parent;
            at = 0;
            break;
        case Place::Last:
            parentSlot = r.parent;
            at = childCount(idOf(parentSlot));
            break;
        case Place::Next:
            parentSlot = r.parent;
            at = int(r.row) + 1;
            break;
        case Place::Previous:
            parentSlot = r.parent;
            at = int(r.row);
            break;
        case Place::Child:
            parentSlot = relativeSlot;
            at = childCount(relative);
            break;
        }
    }
    const quint32 slot = newSlot();
    Rec& r = rec(slot);
    r.text = texts_->put(text);
    r.image = qint16(image);
    r.selectedImage = qint16(selectedImage);
    if (!key.isEmpty()) {
        const quint32 hash = hashMore(kHashStart, key);
        rec(slot).keyPart = keyPartFor(parentSlot, key, recs_[slot].text, hash);
        keys_->insert(hash, slot);
    }
    if (!bulk_) Q_EMIT aboutToInsert(idOf(parentSlot), at);
    placeChild(parentSlot, at, slot);
    rec(slot).order = quint32(order_.size());
    order_.push_back(slot);
    ++count_;
    if (!bulk_) Q_EMIT inserted();
    return idOf(slot);
}

bool ListTree::remove(NodeId id) {
    lastFailure_ = Failure::None;
    const quint32 top = slotOf(id);
    if (!top) {
        fail(Failure::ElementNotFound);
        return false;
    }
    const bool selectionGoes = isWithin(selected_, id);
    if (!bulk_) Q_EMIT aboutToRemove(idOf(recs_[top].parent), int(recs_[top].row));
    takeChild(top);
    std::vector<quint32> stack{top};
    while (!stack.empty()) {
        const quint32 slot = stack.back();
        stack.pop_back();
        if (const std::vector<quint32>* list = childrenIfAny(slot)) stack.insert(stack.end(), list->begin(), list->end());
        Rec& r = rec(slot);
        if (r.keyPart) keys_->erase(keyParts_[r.keyPart].hash, slot);
        order_[r.order] = 0;
        firstHole_ = std::min<size_t>(firstHole_, r.order);
        if (r.children) {
            std::vector<quint32>().swap(childLists_[r.children]);
            freeChildLists_.push_back(r.children);
        }
        expanded_.remove(slot);
        const quint32 generation = r.generation + 1;
        r = Rec();
        r.generation = generation;
        freeSlots_.push_back(slot);
        --count_;
    }
    if (!contains(highlight_)) highlight_ = 0;
    if (selectionGoes) selected_ = 0;
    if (!bulk_) {
        Q_EMIT removed();
        if (selectionGoes) Q_EMIT selectionChanged();
    }
    return true;
}

void ListTree::clear() {
    lastFailure_ = Failure::None;
    const bool hadSelection = selected_ != 0;
    if (!bulk_) Q_EMIT aboutToReset();
    recs_.resize(1);
    recs_[0] = Rec();
    recs_[0].generation = 1;
    // The slots start again, under a generation none of them had: no id handed out before
    // the clear names a node made after it.
    firstGeneration_ = (lastGeneration_ + 1) | 1;
    freeSlots_.clear();
    childLists_.assign(1, {});
    freeChildLists_.clear();
    order_.clear();
    firstHole_ = SIZE_MAX;
    keyParts_.assign(1, KeyPart());
    texts_->clear();
    keys_->clear();
    expanded_.clear();
    count_ = 0;
    selected_ = highlight_ = 0;
    if (!bulk_) {
        Q_EMIT wasReset();
        if (hadSelection) Q_EMIT selectionChanged();
    }
}

bool ListTree::setParent(NodeId id, NodeId parent) {
    lastFailure_ = Failure::None;
    const quint32 slot = slotOf(id);
    const quint32 parentSlot = parent ? slotOf(parent) : 0;
    if (!slot || (parent && !parentSlot)) {
        fail(Failure::ElementNotFound);
        return false;
    }
    if (parent && isWithin(parent, id)) {
        fail(Failure::InvalidParent);
        return false;
    }
    if (recs_[slot].parent == parentSlot) return true;
    const int toRow = childCount(parent);
    if (!bulk_) Q_EMIT aboutToMove(idOf(recs_[slot].parent), int(recs_[slot].row), parent, toRow);
    takeChild(slot);
    placeChild(parentSlot, toRow, slot);
    if (!bulk_) Q_EMIT moved();
    return true;
}

// ---- selection, highlight, sight ----------------------------------------------------------------------

void ListTree::select(NodeId id) {
    if (id && !contains(id)) id = 0;
    for (NodeId up = parent(id); up; up = parent(up)) setExpanded(up, true);
    if (id == selected()) return;
    selected_ = id;
    if (!bulk_) Q_EMIT selectionChanged();
}

void ListTree::setDropHighlight(NodeId id) {
    if (id && !contains(id)) id = 0;
    const NodeId old = dropHighlight();
    if (id == old) return;
    highlight_ = id;
    if (old) emitChanged(slotOf(old));
    if (id) emitChanged(slotOf(id));
}

void ListTree::ensureVisible(NodeId id) {
    if (!contains(id)) return;
    for (NodeId up = parent(id); up; up = parent(up)) setExpanded(up, true);
    if (!bulk_) Q_EMIT visibleRequested(id);
}

ListTree::Bulk::Bulk(ListTree& tree) : tree_(&tree) {
    if (tree_->bulk_++ > 0) return;
    // The views take the tree as empty until the bulk ends.
    tree_->bulk_ = 0;
    Q_EMIT tree_->aboutToReset();
    tree_->bulk_ = 1;
    Q_EMIT tree_->wasReset();
}

ListTree::Bulk::~Bulk() {
    if (!tree_) return;
    if (tree_->bulk_ > 1) {
        --tree_->bulk_;
        return;
    }
    Q_EMIT tree_->aboutToReset();
    tree_->bulk_ = 0;
    Q_EMIT tree_->wasReset();
    Q_EMIT tree_->selectionChanged();
}
