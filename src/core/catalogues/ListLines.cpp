#include "core/catalogues/ListLines.h"

#include "platform/PathText.h"
#include "platform/TextCodec.h"
#include "platform/TreeImages.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace ListLines {
namespace {

const QLatin1String kMtp("mtp://");
const QChar kBar = QLatin1Char('|');
const QChar kBackslash = QLatin1Char('\\');

QString keyOf(const QString& linePart) {
    QString key = linePart;
    key.replace(kBar, kBackslash);
    return key;
}

// Whether "mtp://" (in any case) is in the text: found from its ":", which is rare in names.
bool hasMtp(QStringView text) {
    for (qsizetype at = text.indexOf(QLatin1Char(':')); at >= 0; at = text.indexOf(QLatin1Char(':'), at + 1)) {
        if (at >= 3 && at + 2 < text.size() && text[at + 1] == QLatin1Char('/') && text[at + 2] == QLatin1Char('/') &&
            text.sliced(at - 3, 3).compare(QLatin1StringView("mtp"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Where the last "|mtp://" (in any case) starts, or -1.
qsizetype lastBarMtp(QStringView line) {
    for (qsizetype at = line.lastIndexOf(kBar); at >= 0; at = at > 0 ? line.lastIndexOf(kBar, at - 1) : -1)
        if (line.sliced(at + 1).startsWith(kMtp, Qt::CaseInsensitive)) return at;
    return -1;
}

QString failure(const QString& line, const QString& reason) {
    return line + QStringLiteral("\r\n") + reason + QStringLiteral("\r\n");
}

// Where the reader cuts a list line: a folder line ends in "|"; the tag of any other line
// follows the last "|mtp://" (so a command holding "|" stays whole) or, without one, the
// last "|". The node's own name stands between the "|" before it and the tag's.
struct LineCut {
    bool folder = false;
    qsizetype tagBar = -1;   // the "|" the tag follows; a folder line's last character
    qsizetype nameBar = -1;  // the "|" before the node's name; -1 when the name starts the line
};

LineCut cutLine(QStringView line) {
    LineCut cut;
    cut.folder = line.endsWith(kBar);
    cut.tagBar = line.size() - 1;
    if (!cut.folder) {
        cut.tagBar = lastBarMtp(line);
        if (cut.tagBar < 0) cut.tagBar = line.lastIndexOf(kBar);
    }
    cut.nameBar = cut.tagBar > 0 ? line.lastIndexOf(kBar, cut.tagBar - 1) : -1;
    return cut;
}

// A link's tag for the file: an address without a scheme is taken for an http address;
// "|" in an address is escaped, so the next load does not cut the address there.
QString fileTag(const QString& tag) {
    QString out = platform::breaksToBlanks(tag);
    if (hasMtp(out)) return out;
    out.replace(kBar, QStringLiteral("%7C"));
    return out.contains(QLatin1String("://")) ? out : platform::withLinkScheme(out);
}

// A tag as a list of this kind writes it ("" for a folder): a scheme's term that holds no
// "mtp://" gets it in front.
QString writtenTag(const QString& tag, ListKind kind) {
    if (tag.isEmpty()) return tag;
    return fileTag(kind == ListKind::Scheme && !hasMtp(tag) ? kMtp + tag : tag);
}

// Why the reader would not cut the line where its tag starts, at `tagBar` (its last character
// for a folder, whose names hold no "|"); "" when it would.
QString cutTrouble(QStringView line, qsizetype tagBar) {
    if (tagBar == line.size() - 1) return QString();
    const LineCut cut = cutLine(line);
    if (cut.folder) return QStringLiteral("its tag ends in \"|\"");
    if (cut.tagBar == tagBar) return QString();
    if (lastBarMtp(line.sliced(tagBar + 1)) >= 0) return QStringLiteral("its tag holds \"|mtp://\"");
    if (cut.tagBar > tagBar)
        return QStringLiteral("its tag holds \"|\" and holds \"mtp://\" without beginning with it");
    // The cut comes before: at a name that begins with "mtp://".
    const qsizetype end = line.indexOf(kBar, cut.tagBar + 1);
    const QString name = line.sliced(cut.tagBar + 1, end - cut.tagBar - 1).toString();
    return (end == tagBar ? QStringLiteral("its name") : QStringLiteral("the name \"") + name + QStringLiteral("\" above it")) +
           QStringLiteral(" begins with \"mtp://\" and its tag does not");
}

// Sorts the items as "<" on their keys would (UTF-16 code units in order), a character
// position at a time (three-way radix quicksort): the lines of one folder share a long start,
// which is then looked at once rather than in every comparison. Iterative, so keys of any
// length are fine.
template <typename Item, typename Key>
void sortByKey(std::vector<Item>& items, Key key) {
    const auto at = [&](const Item& item, qsizetype depth) -> int {
        const QString& k = key(item);
        return depth < k.size() ? int(k[depth].unicode()) : -1;
    };
    // Keys of one range agree on their first `depth` characters (and have that many).
    const auto less = [&](const Item& a, const Item& b, qsizetype depth) {
        return QStringView(key(a)).sliced(depth) < QStringView(key(b)).sliced(depth);
    };
    struct Range {
        size_t begin, end;
        qsizetype depth;
    };
    std::vector<Range> ranges{{0, items.size(), 0}};
    while (!ranges.empty()) {
        const Range r = ranges.back();
        ranges.pop_back();
        if (r.end - r.begin < 12) {
            for (size_t i = r.begin + 1; i < r.end; ++i)
                for (size_t j = i; j > r.begin && less(items[j], items[j - 1], r.depth); --j) std::swap(items[j], items[j - 1]);
            continue;
        }
        const int pivot = at(items[r.begin + (r.end - r.begin) / 2], r.depth);
        size_t lt = r.begin, i = r.begin, gt = r.end;
        while (i < gt) {
            const int c = at(items[i], r.depth);
            if (c < pivot) std::swap(items[lt++], items[i++]);
            else if (c > pivot) std::swap(items[i], items[--gt]);
            else ++i;
        }
        ranges.push_back({r.begin, lt, r.depth});
        ranges.push_back({gt, r.end, r.depth});
        if (pivot >= 0) ranges.push_back({lt, gt, r.depth + 1});
    }
}

}  // namespace

QString safeNodeText(const QString& text) {
    const qsizetype n = text.size();
    // Most names are printable ASCII without a "|" and without blanks at their ends: as they are.
    bool plain = n > 0 && text.front() != QLatin1Char(' ') && text.back() != QLatin1Char(' ');
    for (qsizetype i = 0; plain && i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        plain = u >= 0x20 && u < 0x7F && u != u'|';
    }
    if (plain) return text;
    QString out;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == u'|') {
            out += QChar(0x00A6);
        } else if (u == u'\r' || u == u'\n' || u == u'\t' || u == 0x0B || u == 0x0C || u == 0x85) {
            if (u == u'\r' && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ++i;
            out += QLatin1Char(' ');
        } else if (c.category() == QChar::Other_Control) {
            continue;
        } else if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else {
            out += c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c;
        }
    }
    return out.trimmed();
}

ListReading::ListReading(ListTree& tree, const QString& rootName, ListKind kind)
    : tree_(tree), rootName_(rootName), rootKey_(rootName + kBackslash), kind_(kind), fresh_(tree.count() <= 1) {}

QString ListReading::keyOfPlace(QStringView place) const {
    return place.isEmpty() ? rootKey_ : keyOf(place.toString());
}

// The node holds the place the names lead to: its name is the last, its parent's the one
// before, and so on up to a node at the top (the root, or the top itself when the names
// start with the root's). A name may hold "\", so a key alone can name two places.
bool ListReading::leadsTo(QStringView place, ListTree::NodeId node) const {
    qsizetype end = place.size() - 1;  // the "|" after the name looked at
    while (end >= 0) {
        if (!node) return false;
        const qsizetype start = place.lastIndexOf(kBar, end - 1) + 1;
        if (tree_.text(node) != place.sliced(start, end - start)) return false;
        node = tree_.parent(node);
        end = start - 1;
    }
    return !node || !tree_.parent(node);
}

ListReading::Place ListReading::placeOf(QStringView place) const {
    // Lines of one folder come together: its place is found once for them all.
    if (tree_.contains(lastPlace_.node) && place == lastPlaceText_) return lastPlace_;
    Place found{places_.isEmpty() ? 0 : places_.value(place.toString()), false};
    if (!tree_.contains(found.node)) {
        const ListTree::NodeId byKey = tree_.itemByKey(keyOfPlace(place));
        found = {byKey && (!fresh_ || leadsTo(place, byKey)) ? byKey : 0, true};
    }
    if (found.node) {
        lastPlaceText_ = place.toString();
        lastPlace_ = found;
    }
    return found;
}

// A child of the parent has the name already.
bool ListReading::nameTaken(ListTree::NodeId parent, const QString& name) const {
    if (fresh_) {
        // Its key names it, unless a node elsewhere held that key when it came.
        const ListTree::NodeId holder = tree_.itemByChildKey(parent, name);
        if (!holder) return false;
        if (tree_.parent(holder) == parent && tree_.text(holder) == name) return true;
    }
    for (int row = 0, n = tree_.childCount(parent); row < n; ++row)
        if (tree_.text(tree_.child(parent, row)) == name) return true;
    return false;
}

QString ListReading::add(const QString& line) {
    return add(QStringView(line));
}

QString ListReading::add(QStringView line) {
    if (!line.contains(kBar)) return failure(line.toString(), QStringLiteral("Not a list line: it holds no \"|\""));
    const LineCut cut = cutLine(line);
    return add(line, cut.nameBar, cut.tagBar, cut.folder);
}

QString ListReading::add(QStringView place, QStringView name, QStringView tag) {
    QString line;
    line.reserve(place.size() + name.size() + 1 + tag.size());
    line += place;
    line += name;
    line += kBar;
    line += tag;
    return add(line, place.size() - 1, place.size() + name.size(), tag.isEmpty());
}

bool ListReading::addItem(const ListEntries::ListEntry& item, const std::function<bool(const QString& result)>& take) {
    QString folder;
    for (const QString& level : item.folders) {
        const qsizetype place = folder.size();
        folder += level;
        folder += kBar;
        if (itemFolders_.contains(folder)) continue;
        itemFolders_.insert(folder);
        if (!take(add(QStringView(folder).first(place), level, QStringView()))) return false;
    }
    return take(add(folder, item.title, item.link));
}

// A line is taken where it was cut, without copies: the names on the path, each followed by
// "|", are its place and, with the node's own name, its key ("|" read as "\" there); the tag
// follows the name's "|" (a folder has none).
QString ListReading::add(QStringView line, qsizetype nameBar, qsizetype tagBar, bool folder) {
    const auto refused = [&](const QString& reason) { return failure(line.toString(), reason); };
    const QStringView text = line.sliced(nameBar + 1, tagBar - nameBar - 1);
    const QStringView keyText = line.first(tagBar + 1);
    const QStringView placeText = line.first(nameBar + 1);
    if (text.trimmed().isEmpty()) return refused(QStringLiteral("The line names no folder or entry"));
    if (folder) {
        const ListTree::NodeId known = placeOf(keyText).node;
        if (known && !tree_.hasTag(known)) return QStringLiteral("0");
    }
    const Place parent = placeOf(placeText);
    if (!parent.node) return refused(QStringLiteral("Element not found"));
    const QString raw = text.toString();
    const QString name = safeNodeText(raw);
    if (name.isEmpty()) return refused(QStringLiteral("The line names no folder or entry"));

    int image = platform::kImageLink;
    int selectedImage = platform::kImageLink;
    const bool belowRoot = placeText.isEmpty() || (placeText.size() == rootKey_.size() && keyOfPlace(placeText) == rootKey_);
    bool visible = belowRoot;
    if (kind_ == ListKind::Scheme) {
        image = selectedImage = folder ? platform::kImageSchemeFolder : platform::kImageSchemeTerm;
        if (folder) visible = keyOfPlace(placeText).contains(rootName_, Qt::CaseInsensitive);
    } else if (folder || hasMtp(line)) {
        image = platform::kImageFolder;
        selectedImage = platform::kImageOpenFolder;
    }

    // In a fresh tree the child key is free exactly when no child has the name yet.
    ListTree::NodeId node = fresh_ ? tree_.addChild(parent.node, name, image, selectedImage) : 0;
    bool childKey = node != 0;
    QString given = name;
    if (!node) {
        if (nameTaken(parent.node, name)) {
            int& next = nextNumber_[QString::number(parent.node) + QLatin1Char('\\') + name];
            for (next = std::max(next, 2); nameTaken(parent.node, given); ++next)
                given = name + QStringLiteral(" (%1)").arg(next);
            const QString place = belowRoot ? QString() : placeText.toString();
            renamed_.append(place + name + QStringLiteral("  \u2192  ") + given);
        }
        node = tree_.addChild(parent.node, given, image, selectedImage);
        childKey = node != 0;
        // A key another node holds (the root's own, say) is no reason to refuse the entry.
        if (!node && tree_.lastFailure() == ListTree::Failure::KeyNotUnique)
            node = tree_.add(parent.node, ListTree::Place::Child, QString(), given, image, selectedImage);
        if (!node) return refused(ListTree::failureText(tree_.lastFailure()));
    }
    // The node holds the line's key when it got the key made of its parent's, its parent was
    // found under the line's place, and its name is the line's: then later lines find it by it.
    // Else the line's place is noted for it.
    const bool holdsLineKey = childKey && parent.byOwnKey && given == raw &&
                              placeText.isEmpty() == (tree_.parent(parent.node) == 0);
    if (!holdsLineKey && (folder || !placeOf(keyText).node)) {
        places_.insert(keyText.toString(), node);
        lastPlace_ = {};
    }
    if (!folder) tree_.setTag(node, line.sliced(tagBar + 1));
    if (visible) tree_.ensureVisible(node);
    return QStringLiteral("0");
}

QString renamedMessage(const QStringList& renamed) {
    if (renamed.isEmpty()) return QString();
    return QStringLiteral("These entries had the name of another entry in their folder. Both are kept, and each "
                          "of these now has a number after its name:\r\n") +
           renamed.join(QStringLiteral("\r\n"));
}

QString addLineToIndex(const QString& rootName, const QString& line, int, ListTree& nodes) {
    return ListReading(nodes, rootName, ListKind::Catalogue).add(line);
}

QString addLineToScheme(const QString& rootName, const QString& line, int, ListTree& nodes) {
    return ListReading(nodes, rootName, ListKind::Scheme).add(line);
}

QString UnwritableNode::text() const {
    return QStringLiteral("A list file can't keep the entry \"") + path.join(QStringLiteral(" > ")) +
           QStringLiteral("\": ") + reason + QLatin1Char('.');
}

UnwritableNode unwritableEntry(const ListTree& tree, ListTree::NodeId parent, ListTree::NodeId node, const QString& name,
                               const QString& tag, ListKind kind, bool stripRoot) {
    using NodeId = ListTree::NodeId;
    // The names as the writer puts them on the node's line: the list's root left out.
    QStringList path;
    for (NodeId up = parent; up; up = tree.parent(up)) {
        if (!tree.parent(up) && stripRoot && up == tree.item(1)) break;
        path.prepend(safeNodeText(tree.text(up)));
    }
    path.append(safeNodeText(name));
    const auto check = [&](NodeId each, const QStringList& names, const QString& eachTag) {
        const QString written = writtenTag(eachTag, kind);
        const QString line = names.join(kBar) + kBar + written;
        return UnwritableNode{each, names, cutTrouble(line, line.size() - written.size() - 1)};
    };
    if (UnwritableNode trouble = check(node, path, tag)) return trouble;
    // What lies below keeps its names and tags under the new ones.
    std::vector<std::pair<NodeId, QStringList>> stack;
    if (node)
        for (int row = tree.childCount(node) - 1; row >= 0; --row) stack.push_back({tree.child(node, row), path});
    while (!stack.empty()) {
        auto [each, names] = std::move(stack.back());
        stack.pop_back();
        names.append(safeNodeText(tree.text(each)));
        if (UnwritableNode trouble = check(each, names, tree.tag(each))) return trouble;
        for (int row = tree.childCount(each) - 1; row >= 0; --row) stack.push_back({tree.child(each, row), names});
    }
    return {};
}

UnwritableNode forEachListFileLine(ListTree& tree, bool stripRoot, ListKind kind,
                                   const std::function<void(const QString&)>& take) {
    using NodeId = ListTree::NodeId;
    const int count = tree.count();
    const NodeId root = tree.item(1);
    // The path of every node with children, built once from its parent's: the names below the
    // root joined by "|" (the root itself left out when asked). A node's own path is its
    // parent's and its name.
    QHash<NodeId, QString> paths;
    const auto ownPath = [&](NodeId node, const QString& parentPath) {
        if (!tree.parent(node) && stripRoot && node == root) return QString();
        const QString name = safeNodeText(tree.text(node));
        return !tree.parent(node) || parentPath.isEmpty() ? name : parentPath + kBar + name;
    };
    std::vector<NodeId> chain;
    const auto pathOf = [&](NodeId node) -> QString {
        chain.clear();
        QString path;
        for (NodeId known = node; known; known = tree.parent(known)) {
            if (const auto it = paths.constFind(known); it != paths.cend()) {
                path = it.value();
                break;
            }
            chain.push_back(known);
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            path = ownPath(*it, path);
            paths.insert(*it, path);
        }
        return path;
    };

    // A line as it sorts: a link's "|" is followed by a blank, so it sorts before a folder of
    // the same name; the blank never reaches the file.
    struct Line {
        QString sortKey;
        qsizetype blank;     // where the blank is, -1 for a folder
        QString parentPath;  // "" directly below a root left out
        bool hasChildren;
        QString path() const { return sortKey.left(blank < 0 ? sortKey.size() - 1 : blank - 1); }
    };
    // The parent paths of the nodes with children: only there can a node without children have
    // the path of a node with them (a name taken twice in a folder).
    QSet<QString> folderParentPaths;
    std::vector<Line> lines;
    lines.reserve(size_t(std::max(0, count - 1)));
    std::vector<NodeId> prefixed;
    for (int i = 2; i <= count; ++i) {
        const NodeId node = tree.item(i);
        const NodeId parent = tree.parent(node);
        const bool hasChildren = tree.childCount(node) > 0;
        const QString parentPath = parent ? pathOf(parent) : QString();
        if (hasChildren) folderParentPaths.insert(parentPath);
        const QString tag = writtenTag(tree.tag(node), kind);
        if (kind == ListKind::Scheme && !tag.isEmpty() && !hasMtp(tree.tag(node))) prefixed.push_back(node);
        // Made in one piece: the node's path, then "|" or "| " and the tag.
        const QString name = safeNodeText(tree.text(node));
        const bool below = parent && !parentPath.isEmpty();
        QString sortKey;
        sortKey.reserve((below ? parentPath.size() + 1 : 0) + name.size() + 2 + tag.size());
        if (below) {
            sortKey += parentPath;
            sortKey += kBar;
        }
        sortKey += name;
        const qsizetype pathSize = sortKey.size();
        sortKey += kBar;
        if (tag.isEmpty()) {
            lines.push_back({std::move(sortKey), -1, parentPath, hasChildren});
            continue;
        }
        sortKey += tag;
        // A line cut elsewhere on reading would not give the node back: nothing is written.
        if (QString reason = cutTrouble(sortKey, pathSize); !reason.isEmpty())
            return {node, sortKey.left(pathSize).split(kBar), std::move(reason)};
        sortKey.insert(pathSize + 1, QLatin1Char(' '));
        lines.push_back({std::move(sortKey), pathSize + 1, parentPath, hasChildren});
    }
    // A scheme's terms carry the prefix their lines have, in the tree too.
    for (const NodeId node : prefixed) tree.setTag(node, kMtp + tree.tag(node));
    // The paths a line can wait for: those of the nodes with children.
    QSet<QString> parentPaths;
    QSet<size_t> parentPathHashes;  // looked at first: most lines are no one's parent
    for (auto it = paths.cbegin(); it != paths.cend(); ++it) {
        parentPaths.insert(it.value());
        parentPathHashes.insert(qHash(QStringView(it.value()), 0));
    }
    paths.clear();
    sortByKey(lines, [](const Line& line) -> const QString& { return line.sortKey; });
    // A node must come after its parent, or the next load refuses it. Sorted, it can come
    // first only below a link whose child's name starts with a blank or a control character:
    // such a node waits until its parent is written.
    QSet<QString> written;
    if (root) written.insert(stripRoot ? QString() : safeNodeText(tree.text(root)));
    QHash<QString, std::vector<size_t>> waiting;
    std::vector<size_t> ready;
    const QChar* lastWrittenParent = nullptr;  // siblings share their parent's path text
    const QChar* lastLookedUpParent = nullptr;
    bool belowFolders = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (!line.parentPath.isEmpty() && line.parentPath.constData() != lastWrittenParent) {
            if (!written.contains(line.parentPath)) {
                waiting[line.parentPath].push_back(i);
                continue;
            }
            lastWrittenParent = line.parentPath.constData();
        }
        ready.push_back(i);
        while (!ready.empty()) {
            Line& next = lines[ready.back()];
            ready.pop_back();
            const qsizetype pathSize = next.blank < 0 ? next.sortKey.size() - 1 : next.blank - 1;
            // Siblings share their parent's path text: it is looked up once for them.
            if (next.parentPath.constData() != lastLookedUpParent) {
                lastLookedUpParent = next.parentPath.constData();
                belowFolders = folderParentPaths.contains(next.parentPath);
            }
            const bool parentPath = (next.hasChildren || belowFolders) &&
                                    parentPathHashes.contains(qHash(QStringView(next.sortKey).first(pathSize), 0));
            const QString path = parentPath ? next.path() : QString();
            if (next.blank >= 0) next.sortKey.remove(next.blank, 1);
            take(next.sortKey);
            next.sortKey = QString();
            if (!parentPath || !parentPaths.contains(path)) continue;
            written.insert(path);
            if (auto it = waiting.find(path); it != waiting.end()) {
                for (auto k = it->rbegin(); k != it->rend(); ++k) ready.push_back(*k);
                waiting.erase(it);
            }
        }
    }
    // Nodes whose parent was never written keep their sorted place.
    std::vector<size_t> left;
    for (auto it = waiting.cbegin(); it != waiting.cend(); ++it) left.insert(left.end(), it->begin(), it->end());
    std::sort(left.begin(), left.end());
    for (const size_t i : left) {
        Line& line = lines[i];
        if (line.blank >= 0) line.sortKey.remove(line.blank, 1);
        take(line.sortKey);
    }
    return {};
}

QStringList listFileLines(ListTree& tree, bool stripRoot, ListKind kind, UnwritableNode* unwritable) {
    QStringList lines;
    UnwritableNode trouble = forEachListFileLine(tree, stripRoot, kind, [&](const QString& line) { lines.append(line); });
    if (unwritable) *unwritable = std::move(trouble);
    return lines;
}

}  // namespace ListLines
