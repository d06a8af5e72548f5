#include "catalogues/ListLines.h"

#include "platform/PathText.h"
#include "platform/TextCodec.h"
#include "platform/TreeImages.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace modLists {
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

// A link's tag for the file: an address without a scheme is taken for an http address;
// "|" in an address is escaped, so the next load does not cut the address there.
QString fileTag(const QString& tag) {
    QString out = platform::breaksToBlanks(tag);
    if (hasMtp(out)) return out;
    out.replace(kBar, QStringLiteral("%7C"));
    return out.contains(QLatin1String("://")) ? out : platform::withLinkScheme(out);
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

ListLineParts splitListLine(const QString& line, const QString& rootName) {
    ListLineParts parts;
    const qsizetype length = line.size();
    if (!line.contains(kBar)) {
        parts.error = QStringLiteral("Not a list line: it holds no \"|\"");
        return parts;
    }
    qsizetype nameStart = 0;
    if (line.endsWith(kBar)) {
        parts.folder = true;
        const qsizetype before = length >= 2 ? line.lastIndexOf(kBar, length - 2) : -1;
        nameStart = before + 1;
        parts.text = line.mid(nameStart, length - 1 - nameStart);
        parts.key = keyOf(line);
    } else {
        // A scheme's term, and a catalogue's command, is whatever follows the last "|mtp://"
        // (a line without "mtp://" has none).
        qsizetype tagBar = lastBarMtp(line);
        if (tagBar < 0) tagBar = line.lastIndexOf(kBar);
        const qsizetype before = tagBar > 0 ? line.lastIndexOf(kBar, tagBar - 1) : -1;
        nameStart = before + 1;
        parts.tag = line.mid(tagBar + 1);
        parts.text = line.mid(nameStart, tagBar - nameStart);
        parts.key = keyOf(line.left(tagBar + 1));
    }
    parts.parentKey = parts.key.left(nameStart);
    if (parts.parentKey.isEmpty()) parts.parentKey = rootName + kBackslash;
    if (parts.text.trimmed().isEmpty()) parts.error = QStringLiteral("The line names no folder or entry");
    return parts;
}

ListReading::ListReading(ListTree& tree, const QString& rootName, ListKind kind)
    : tree_(tree), rootName_(rootName), rootKey_(rootName + kBackslash), kind_(kind), fresh_(tree.count() <= 1) {}

ListTree::NodeId ListReading::placeOf(const QString& key) const {
    // Lines of one folder come together: its place is found once for them all.
    if (tree_.contains(lastPlace_) && key == lastPlaceKey_) return lastPlace_;
    ListTree::NodeId node = places_.isEmpty() ? 0 : places_.value(key);
    if (!tree_.contains(node)) node = tree_.itemByKey(key);
    if (node) {
        lastPlaceKey_ = key;
        lastPlace_ = node;
    }
    return node;
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
    const ListLineParts parts = splitListLine(line, rootName_);
    if (!parts.error.isEmpty()) return failure(line, parts.error);
    if (parts.folder) {
        const ListTree::NodeId known = placeOf(parts.key);
        if (known && !tree_.hasTag(known)) return QStringLiteral("0");
    }
    const ListTree::NodeId parent = placeOf(parts.parentKey);
    if (!parent) return failure(line, QStringLiteral("Element not found"));
    const QString name = safeNodeText(parts.text);
    if (name.isEmpty()) return failure(line, QStringLiteral("The line names no folder or entry"));

    int image = platform::kImageLink;
    int selectedImage = platform::kImageLink;
    const bool belowRoot = parts.parentKey == rootKey_;
    bool visible = belowRoot;
    if (kind_ == ListKind::Scheme) {
        image = selectedImage = parts.folder ? platform::kImageSchemeFolder : platform::kImageSchemeTerm;
        if (parts.folder) visible = parts.parentKey.contains(rootName_, Qt::CaseInsensitive);
    } else if (parts.folder || hasMtp(line)) {
        image = platform::kImageFolder;
        selectedImage = platform::kImageOpenFolder;
    }

    // In a fresh tree the child key is free exactly when no child has the name yet.
    ListTree::NodeId node = fresh_ ? tree_.addChild(parent, name, image, selectedImage) : 0;
    if (!node) {
        QString given = name;
        if (nameTaken(parent, name)) {
            int& next = nextNumber_[QString::number(parent) + QLatin1Char('\\') + name];
            for (next = std::max(next, 2); nameTaken(parent, given); ++next)
                given = name + QStringLiteral(" (%1)").arg(next);
            QString place = belowRoot ? QString() : parts.parentKey;
            place.replace(kBackslash, kBar);
            renamed_.append(place + name + QStringLiteral("  \u2192  ") + given);
        }
        node = tree_.addChild(parent, given, image, selectedImage);
        // A key another node holds (the root's own, say) is no reason to refuse the entry.
        if (!node && tree_.lastFailure() == ListTree::Failure::KeyNotUnique)
            node = tree_.add(parent, ListTree::Place::Child, QString(), given, image, selectedImage);
        if (!node) return failure(line, ListTree::failureText(tree_.lastFailure()));
    }
    if (!tree_.hasKey(node, parts.key) && (parts.folder || !placeOf(parts.key))) {
        places_.insert(parts.key, node);
        lastPlace_ = 0;
    }
    if (!parts.folder) tree_.setTag(node, parts.tag);
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

void forEachListFileLine(ListTree& tree, bool stripRoot, ListKind kind, const std::function<void(const QString&)>& take) {
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
        NodeId known = node;
        while (known && !paths.contains(known)) {
            chain.push_back(known);
            known = tree.parent(known);
        }
        QString path = known ? paths.value(known) : QString();
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
        bool operator<(const Line& other) const { return sortKey < other.sortKey; }
        QString path() const { return sortKey.left(blank < 0 ? sortKey.size() - 1 : blank - 1); }
    };
    std::vector<Line> lines;
    lines.reserve(size_t(std::max(0, count - 1)));
    for (int i = 2; i <= count; ++i) {
        const NodeId node = tree.item(i);
        const NodeId parent = tree.parent(node);
        const QString parentPath = parent ? pathOf(parent) : QString();
        const QString path = ownPath(node, parentPath);
        if (kind == ListKind::Scheme && tree.hasTag(node) && !hasMtp(tree.tag(node)))
            tree.setTag(node, QStringLiteral("mtp://") + tree.tag(node));
        if (!tree.hasTag(node)) lines.push_back({path + kBar, -1, parentPath});
        else lines.push_back({path + QStringLiteral("| ") + fileTag(tree.tag(node)), path.size() + 1, parentPath});
    }
    // The paths a line can wait for: those of the nodes with children.
    QSet<QString> parentPaths;
    for (auto it = paths.cbegin(); it != paths.cend(); ++it) parentPaths.insert(it.value());
    paths.clear();
    std::sort(lines.begin(), lines.end());
    // A node must come after its parent, or the next load refuses it. Sorted, it can come
    // first only below a link whose child's name starts with a blank or a control character:
    // such a node waits until its parent is written.
    QSet<QString> written;
    if (root) written.insert(stripRoot ? QString() : safeNodeText(tree.text(root)));
    QHash<QString, std::vector<size_t>> waiting;
    std::vector<size_t> ready;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (!line.parentPath.isEmpty() && !written.contains(line.parentPath)) {
            waiting[line.parentPath].push_back(i);
            continue;
        }
        ready.push_back(i);
        while (!ready.empty()) {
            Line& next = lines[ready.back()];
            ready.pop_back();
            const QString path = next.path();
            if (next.blank >= 0) next.sortKey.remove(next.blank, 1);
            take(next.sortKey);
            next.sortKey = QString();
            if (!parentPaths.contains(path)) continue;
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
}

QStringList listFileLines(ListTree& tree, bool stripRoot, ListKind kind) {
    QStringList lines;
    forEachListFileLine(tree, stripRoot, kind, [&](const QString& line) { lines.append(line); });
    return lines;
}

}  // namespace modLists
