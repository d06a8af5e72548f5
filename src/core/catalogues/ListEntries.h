#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class ListTree;

namespace ListEntries {

// One item of a Harvest Control List or RSS channel: a tree node that carries a link, with
// the folders above it.
struct ListEntry {
    QStringList folders;  // from the top, the list's root left out
    QString title;
    QString link;
    friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

// The nodes of the tree that carry a tag, in the tree's order (the root and folders give no
// entry). A node's folders are the texts above it below the root.
QList<ListEntry> listEntries(const ListTree& tree);

// An item as the harvest list and channel readers put it into the tree: names as they
// enter the tree (empty folder levels left out), a link without blanks at its ends and
// without "|" or line breaks. Empty when it has no link; with no title the link is its
// title when `linkAsTitle`, else it is empty too.
ListEntry treeItem(const QStringList& folders, const QString& title, const QString& link, bool linkAsTitle);

}  // namespace ListEntries
