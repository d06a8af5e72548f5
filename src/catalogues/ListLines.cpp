#include "catalogues/ListLines.h"

#include "platform/PathText.h"
#include "platform/TextCodec.h"
#include "platform/TreeImages.h"
#include "platform/TreeView.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace modLists {
namespace {

const QLatin1String kMtp("mtp://");
const QLatin1String kBarMtp("|mtp://");
const QChar kBar = QLatin1Char('|');
const QChar kBackslash = QLatin1Char('\\');

QString keyOf(const QString& linePart) {
    QString key = linePart;
    key.replace(kBar, kBackslash);
    return key;
}

QString failure(const QString& line, const QString& reason) {
    return line + QStringLiteral("\r\n") + reason + QStringLiteral("\r\n");
}

// A link's tag for the file: an address without a scheme is taken for an http address;
// "|" in an address is escaped, so the next load does not cut the address there.
QString fileTag(const QString& tag) {
    QString out = platform::breaksToBlanks(tag);
    if (out.contains(kMtp, Qt::CaseInsensitive)) return out;
    out.replace(kBar, QStringLiteral("%7C"));
    return out.contains(QLatin1String("://")) ? out : platform::withLinkScheme(out);
}

struct Entry {
    QString sortKey;
    QString line;
    QString path;        // the node's own path
    QString parentPath;  // its parent's ("" below the root)
    bool operator<(const Entry& other) const { return sortKey < other.sortKey; }
};

}  // namespace

QString safeNodeText(const QString& text) {
    const qsizetype n = text.size();
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

ListLineParts splitListLine(const QString& line, const QString& rootName, ListKind kind) {
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
        parts.parentKey = keyOf(line.left(nameStart));
    } else {
        qsizetype tagBar = -1;
        if (kind == ListKind::Scheme || line.contains(kMtp, Qt::CaseInsensitive))
            tagBar = line.lastIndexOf(kBarMtp, -1, Qt::CaseInsensitive);
        if (tagBar < 0) tagBar = line.lastIndexOf(kBar);
        const qsizetype before = tagBar > 0 ? line.lastIndexOf(kBar, tagBar - 1) : -1;
        nameStart = before + 1;
        parts.tag = line.mid(tagBar + 1);
        parts.text = line.mid(nameStart, tagBar - nameStart);
        parts.key = keyOf(line.left(tagBar + 1));
        parts.parentKey = keyOf(line.left(nameStart));
    }
    if (parts.parentKey.isEmpty()) parts.parentKey = rootName + kBackslash;
    if (parts.text.trimmed().isEmpty()) parts.error = QStringLiteral("The line names no folder or entry");
    return parts;
}

ListReading::ListReading(platform::TreeView& tree, const QString& rootName, ListKind kind)
    : tree_(tree), rootName_(rootName), kind_(kind) {}

platform::Node* ListReading::placeOf(const QString& key) const {
    if (platform::Node* node = places_.value(key).get()) return node;
    return tree_.Item(key);
}

QHash<QString, platform::NodeRef>& ListReading::namesBelow(platform::Node* parent) {
    auto it = names_.find(parent->Id());
    if (it != names_.end()) return *it;
    QHash<QString, platform::NodeRef> names;
    for (platform::Node* child = parent->Child(); child; child = child->Next()) names.insert(child->Text(), child);
    return *names_.insert(parent->Id(), names);
}

QString ListReading::add(const QString& line) {
    const ListLineParts parts = splitListLine(line, rootName_, kind_);
    if (!parts.error.isEmpty()) return failure(line, parts.error);
    if (parts.folder) {
        const platform::Node* known = placeOf(parts.key);
        if (known && known->Tag().isEmpty()) return QStringLiteral("0");
    }
    platform::Node* parent = placeOf(parts.parentKey);
    if (!parent) return failure(line, QStringLiteral("Element not found"));
    const QString name = safeNodeText(parts.text);
    if (name.isEmpty()) return failure(line, QStringLiteral("The line names no folder or entry"));

    QHash<QString, platform::NodeRef>& names = namesBelow(parent);
    QString given = name;
    if (names.value(name).get()) {
        int& next = nextNumber_[QString::number(parent->Id()) + QLatin1Char('\\') + name];
        for (next = std::max(next, 2); names.value(given).get(); ++next)
            given = name + QStringLiteral(" (%1)").arg(next);
        QString place = parts.parentKey == rootName_ + kBackslash ? QString() : parts.parentKey;
        place.replace(kBackslash, kBar);
        renamed_.append(place + name + QStringLiteral("  \u2192  ") + given);
    }

    int image = platform::kImageLink;
    int selectedImage = platform::kImageLink;
    bool visible = parts.parentKey == rootName_ + kBackslash;
    if (kind_ == ListKind::Scheme) {
        image = selectedImage = parts.folder ? platform::kImageSchemeFolder : platform::kImageSchemeTerm;
        if (parts.folder) visible = parts.parentKey.contains(rootName_, Qt::CaseInsensitive);
    } else if (parts.folder || line.contains(kMtp, Qt::CaseInsensitive)) {
        image = platform::kImageFolder;
        selectedImage = platform::kImageOpenFolder;
    }
    const QString key = (parent->Parent() ? parent->Key() : QString()) + given + kBackslash;
    platform::Node* node = tree_.Add(parent, platform::tvwChild, key, given, image, selectedImage);
    // A key another node holds (the root's own, say) is no reason to refuse the entry.
    if (!node && tree_.LastError().Number == platform::kTreeKeyNotUnique)
        node = tree_.Add(parent, platform::tvwChild, QString(), given, image, selectedImage);
    if (!node) return failure(line, tree_.LastError().Description);
    names.insert(given, node);
    if (parts.folder || !placeOf(parts.key)) places_.insert(parts.key, node);
    if (!parts.folder) node->setTag(parts.tag);
    if (visible) node->EnsureVisible();
    if (parts.folder && kind_ == ListKind::Catalogue) tree_.ScrollLine(1);
    return QStringLiteral("0");
}

QString renamedMessage(const QStringList& renamed) {
    if (renamed.isEmpty()) return QString();
    return QStringLiteral("These entries had the name of another entry in their folder. Both are kept, and each "
                          "of these now has a number after its name:\r\n") +
           renamed.join(QStringLiteral("\r\n"));
}

QString addLineToIndex(const QString& rootName, const QString& line, int, platform::TreeView& nodes) {
    return ListReading(nodes, rootName, ListKind::Catalogue).add(line);
}

QString addLineToScheme(const QString& rootName, const QString& line, int, platform::TreeView& nodes) {
    return ListReading(nodes, rootName, ListKind::Scheme).add(line);
}

QStringList listFileLines(platform::TreeView& tree, bool stripRoot, ListKind kind) {
    const int count = tree.Count();
    platform::Node* root = tree.Item(1);
    // The path of every node, built once from its parent's: the names below the root
    // joined by "|" (the root itself left out when asked).
    QHash<quint64, QString> paths;
    paths.reserve(count);
    std::vector<platform::Node*> chain;
    const auto pathOf = [&](platform::Node* node) -> QString {
        chain.clear();
        platform::Node* known = node;
        while (known && !paths.contains(known->Id())) {
            chain.push_back(known);
            known = known->Parent();
        }
        QString path = known ? paths.value(known->Id()) : QString();
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            platform::Node* step = *it;
            const bool top = step->Parent() == nullptr;
            if (top && stripRoot && step == root) {
                path.clear();
            } else {
                const QString name = safeNodeText(step->Text());
                path = top || path.isEmpty() ? name : path + kBar + name;
            }
            paths.insert(step->Id(), path);
        }
        return path;
    };

    std::vector<Entry> entries;
    entries.reserve(size_t(std::max(0, count - 1)));
    for (int i = 2; i <= count; ++i) {
        platform::Node* node = tree.Item(i);
        const QString path = pathOf(node);
        if (kind == ListKind::Scheme && !node->Tag().isEmpty() && !node->Tag().contains(kMtp, Qt::CaseInsensitive))
            node->setTag(QStringLiteral("mtp://") + node->Tag());
        const QString parentPath = node->Parent() ? paths.value(node->Parent()->Id()) : QString();
        if (node->Tag().isEmpty()) {
            const QString line = path + kBar;
            entries.push_back({line, line, path, parentPath});
        } else {
            const QString tag = fileTag(node->Tag());
            // The blank after the bar sorts a link before a folder of the same name;
            // it never reaches the file.
            entries.push_back({path + QStringLiteral("| ") + tag, path + kBar + tag, path, parentPath});
        }
    }
    SortArray(entries, 0, int(entries.size()) - 1);
    // A node must come after its parent, or the next load refuses it. Sorted, it can come
    // first only below a link whose child's name starts with a blank or a control character:
    // such a node waits until its parent is written.
    QSet<QString> written;
    if (root) written.insert(pathOf(root));
    QHash<QString, std::vector<size_t>> waiting;
    QStringList lines;
    lines.reserve(qsizetype(entries.size()));
    std::vector<size_t> ready;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        if (!e.parentPath.isEmpty() && !written.contains(e.parentPath)) {
            waiting[e.parentPath].push_back(i);
            continue;
        }
        ready.push_back(i);
        while (!ready.empty()) {
            Entry& next = entries[ready.back()];
            ready.pop_back();
            lines.append(next.line);
            written.insert(next.path);
            if (auto it = waiting.find(next.path); it != waiting.end()) {
                for (auto k = it->rbegin(); k != it->rend(); ++k) ready.push_back(*k);
                waiting.erase(it);
            }
        }
    }
    // Nodes whose parent was never written (there is always one) keep their sorted place.
    for (auto it = waiting.begin(); it != waiting.end(); ++it)
        for (size_t i : it.value()) lines.append(entries[i].line);
    return lines;
}

}  // namespace modLists
