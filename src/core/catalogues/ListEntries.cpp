#include "core/catalogues/ListEntries.h"

#include "core/catalogues/ListLines.h"
#include "platform/TextCodec.h"
#include "core/catalogues/ListTree.h"

#include <QHash>

#include <vector>

namespace ListEntries {

QList<ListEntry> listEntries(const ListTree& tree) {
    using NodeId = ListTree::NodeId;
    const NodeId root = tree.item(1);
    // The folders a child of each node has above it, built once from its parent's.
    QHash<NodeId, QStringList> below;
    std::vector<NodeId> chain;
    const auto foldersBelow = [&](NodeId node) -> QStringList {
        chain.clear();
        NodeId known = node;
        while (known && !below.contains(known)) {
            chain.push_back(known);
            known = tree.parent(known);
        }
        QStringList folders = known ? below.value(known) : QStringList();
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if (*it != root) folders.append(tree.text(*it));
            below.insert(*it, folders);
        }
        return folders;
    };
    QList<ListEntry> entries;
    for (int i = 2; i <= tree.count(); ++i) {
        const NodeId node = tree.item(i);
        if (!tree.hasTag(node)) continue;
        entries.append({foldersBelow(tree.parent(node)), tree.text(node), tree.tag(node)});
    }
    return entries;
}

ListEntry treeItem(const QStringList& folders, const QString& title, const QString& link, bool linkAsTitle) {
    ListEntry item;
    item.link = platform::breaksToBlanks(link.trimmed());
    item.link.replace(QLatin1Char('|'), QStringLiteral("%7C"));
    item.title = ListLines::safeNodeText(title);
    if (item.link.isEmpty() || (item.title.isEmpty() && !linkAsTitle)) return {};
    if (item.title.isEmpty()) item.title = item.link;
    for (const QString& level : folders)
        if (const QString name = ListLines::safeNodeText(level); !name.isEmpty()) item.folders.append(name);
    return item;
}

}  // namespace ListEntries
