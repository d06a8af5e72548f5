#include "catalogues/ListEntries.h"

#include "catalogues/ListLines.h"
#include "platform/TextCodec.h"
#include "platform/TreeView.h"

#include <QHash>

#include <vector>

namespace modLists {

QList<ListEntry> listEntries(const platform::TreeView& tree) {
    const platform::Node* root = tree.Item(1);
    // The folders a child of each node has above it, built once from its parent's.
    QHash<quint64, QStringList> below;
    std::vector<const platform::Node*> chain;
    const auto foldersBelow = [&](const platform::Node* node) -> QStringList {
        chain.clear();
        const platform::Node* known = node;
        while (known && !below.contains(known->Id())) {
            chain.push_back(known);
            known = known->Parent();
        }
        QStringList folders = known ? below.value(known->Id()) : QStringList();
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if (*it != root) folders.append((*it)->Text());
            below.insert((*it)->Id(), folders);
        }
        return folders;
    };
    QList<ListEntry> entries;
    for (int i = 2; i <= tree.Count(); ++i) {
        const platform::Node* node = tree.Item(i);
        if (node->Tag().isEmpty()) continue;
        entries.append({foldersBelow(node->Parent()), node->Text(), node->Tag()});
    }
    return entries;
}

ListEntry treeItem(const QStringList& folders, const QString& title, const QString& link, bool linkAsTitle) {
    ListEntry item;
    item.link = platform::breaksToBlanks(link.trimmed());
    item.link.replace(QLatin1Char('|'), QStringLiteral("%7C"));
    item.title = safeNodeText(title);
    if (item.link.isEmpty() || (item.title.isEmpty() && !linkAsTitle)) return {};
    if (item.title.isEmpty()) item.title = item.link;
    for (const QString& level : folders)
        if (const QString name = safeNodeText(level); !name.isEmpty()) item.folders.append(name);
    return item;
}

}  // namespace modLists
