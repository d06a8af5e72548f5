#include "catalogues/ListLines.h"

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

// Adds the node of a split line below its parent; "0" or the failure text.
QString addNode(const QString& line, const ListLineParts& parts, int image, int selectedImage,
                platform::TreeView& nodes, bool makeVisible) {
    if (!parts.error.isEmpty()) return failure(line, parts.error);
    platform::Node* node =
        nodes.Add(parts.parentKey, platform::tvwChild, parts.key, parts.text, image, selectedImage);
    if (!node) return failure(line, nodes.LastError().Description);
    if (!parts.folder) node->setTag(parts.tag);
    if (makeVisible) node->EnsureVisible();
    return QStringLiteral("0");
}

// A link's tag for the file: an address without a scheme is taken for an http address;
// "|" in an address is escaped, so the next load does not cut the address there.
QString fileTag(const QString& tag) {
    QString out = platform::breaksToBlanks(tag);
    if (out.contains(kMtp, Qt::CaseInsensitive)) return out;
    out.replace(kBar, QStringLiteral("%7C"));
    if (!out.contains(QLatin1String("://"))) out.prepend(QStringLiteral("http://"));
    return out;
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
    if (!text.contains(kBar) && !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'))) return text;
    QString out = text;
    out.replace(kBar, QChar(0x00A6));
    out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
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

QString addLineToIndex(const QString& rootName, const QString& line, int, platform::TreeView& nodes) {
    const ListLineParts parts = splitListLine(line, rootName, ListKind::Catalogue);
    const bool belowRoot = parts.parentKey == rootName + kBackslash;
    if (parts.folder) {
        const QString result =
            addNode(line, parts, platform::kImageFolder, platform::kImageOpenFolder, nodes, belowRoot);
        if (result == QLatin1String("0")) nodes.ScrollLine(1);
        return result;
    }
    if (line.contains(kMtp, Qt::CaseInsensitive))
        return addNode(line, parts, platform::kImageFolder, platform::kImageOpenFolder, nodes, belowRoot);
    return addNode(line, parts, platform::kImageLink, platform::kImageLink, nodes, belowRoot);
}

QString addLineToScheme(const QString& rootName, const QString& line, int, platform::TreeView& nodes) {
    const ListLineParts parts = splitListLine(line, rootName, ListKind::Scheme);
    if (parts.folder) {
        return addNode(line, parts, platform::kImageSchemeFolder, platform::kImageSchemeFolder, nodes,
                       parts.parentKey.contains(rootName, Qt::CaseInsensitive));
    }
    return addNode(line, parts, platform::kImageSchemeTerm, platform::kImageSchemeTerm, nodes,
                   parts.parentKey == rootName + kBackslash);
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
