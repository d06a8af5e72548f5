#pragma once
#include "core/catalogues/ListEntries.h"
#include "core/catalogues/ListTree.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <iterator>

// The lines of the list files (catalogues ".kqi", scheme lists ".kqs") and the tree nodes
// they stand for. A line is the names on a node's path below the root, each followed by
// "|"; a link, command or term adds its tag after the last "|"; a folder line ends in "|".
namespace ListLines {

// A name as it enters the tree, so the name shown is the name the list files keep. "|"
// separates the names of a list line, so a node text never holds one: it becomes "¦"
// (U+00A6). Line breaks and tabs become blanks; every other control character goes (a lone
// surrogate becomes U+FFFD); blanks at both ends go. Every place that puts a name into the
// tree (insertion, drops, renames, the list readers) passes it through here.
QString safeNodeText(const QString& text);

enum class ListKind { Catalogue, Scheme };

// Reads list lines into a tree below the root `rootName`, keeping every entry: names are
// made safe as they enter, and an entry whose name its folder already holds gets " (2)",
// " (3)", ... after it and is listed in renamed(). A folder line met again adds nothing.
class ListReading {
public:
    ListReading(ListTree& tree, const QString& rootName, ListKind kind);
    // "0" when the line's node was added or its folder is there already, else the line,
    // CR LF, the reason and CR LF.
    QString add(const QString& line);
    QString add(QStringView line);
    // The same for a node given in the parts a line is cut into, so that nothing in them is
    // cut again: `place`, the names above it each followed by "|"; its name; its tag ("": a
    // folder).
    QString add(QStringView place, QStringView name, QStringView tag);
    // An item of a Harvest Control List or channel: the folders above it that this reading has
    // not added yet, then the item itself, each by its parts. `take` gets the result of each
    // (as add gives it) and says whether to go on; false when it stopped the reading.
    bool addItem(const ListEntries::ListEntry& item, const std::function<bool(const QString& result)>& take);
    // The entries renamed, one a line: where they stand and the name they got.
    const QStringList& renamed() const { return renamed_; }

private:
    // A line's place: the node the names on its path lead to, and whether it holds the key they
    // make (else it was noted for them when a line was read).
    struct Place {
        ListTree::NodeId node = 0;
        bool byOwnKey = false;
    };
    QString add(QStringView line, qsizetype nameBar, qsizetype tagBar, bool folder);
    // `place` as a line writes it: the names each followed by "|"; "" for the root.
    Place placeOf(QStringView place) const;
    bool leadsTo(QStringView place, ListTree::NodeId node) const;
    QString keyOfPlace(QStringView place) const;
    bool nameTaken(ListTree::NodeId parent, const QString& name) const;

    ListTree& tree_;
    QString rootName_;
    QString rootKey_;
    ListKind kind_;
    // The tree held no more than a root when the reading began: every node it adds has the
    // key its line gives, so a name is looked up by its key.
    bool fresh_;
    QHash<QString, ListTree::NodeId> places_;  // a line's place the node does not hold as its key: the node
    mutable QString lastPlaceText_;  // the place placeOf last found, and what it found
    mutable Place lastPlace_;
    QHash<QString, int> nextNumber_;           // the next number to try for a name
    QSet<QString> itemFolders_;                // the folder lines addItem added
    QStringList renamed_;
};

// The one message saying which entries a list read renamed; "" when none was. Its title:
QString renamedMessage(const QStringList& renamed);
inline const QString kRenamedTitle = QStringLiteral("Entries renamed");

// Add one line of a catalogue or scheme list to the tree below the root `rootName`.
// "0" when the node was added, else the line, CR LF, the reason and CR LF. The line
// counter is the loader's and is not used. A whole list is read with one ListReading.
QString addLineToIndex(const QString& rootName, const QString& line, int lineCounter, ListTree& nodes);
QString addLineToScheme(const QString& rootName, const QString& line, int lineCounter, ListTree& nodes);

// A node whose line a list file cannot carry: read back, it would not be this node with its
// name and tag (there is no escape in list lines for what would cut the line elsewhere).
struct UnwritableNode {
    ListTree::NodeId node = 0;  // 0 for a node not yet in the tree
    QStringList path;           // the names from below the list's root down to the node's own
    QString reason;             // "its tag ends in "|"", ...; "" when nothing is wrong
    explicit operator bool() const { return !reason.isEmpty(); }
    // Why a list file cannot keep it, naming it by its path: "A list file can't keep ...".
    QString text() const;
};

// The lines of the tree as a list file, in the order the file holds them (a folder
// before everything in it). `stripRoot`: node 1 is the list's root and its name is left
// out of every line. In a scheme list a tag without "mtp://" gets it, in the tree too.
// When a node cannot be written, no line is made and nothing in the tree changes: the first
// such node is returned (in *unwritable when asked for).
QStringList listFileLines(ListTree& tree, bool stripRoot, ListKind kind, UnwritableNode* unwritable = nullptr);
// The same lines handed over one by one, in that order.
UnwritableNode forEachListFileLine(ListTree& tree, bool stripRoot, ListKind kind,
                                   const std::function<void(const QString&)>& take);

// What would keep a node out of a list file of this kind once it is a child of `parent`
// with this name and tag, or keep out a node below it (`node`, 0 for a node not yet made,
// whose children then stay where they are); empty when nothing would.
UnwritableNode unwritableEntry(const ListTree& tree, ListTree::NodeId parent, ListTree::NodeId node, const QString& name,
                               const QString& tag, ListKind kind, bool stripRoot);

// Sorts items[first..last] in place, ascending by the values' own "<" (ordinal for
// strings: upper case before lower case, " " before every printable character).
template <typename Container>
void SortArray(Container& items, int first, int last) {
    if (first < 0) first = 0;
    if (last >= int(std::size(items))) last = int(std::size(items)) - 1;
    if (first >= last) return;
    auto begin = std::begin(items);
    std::sort(begin + first, begin + last + 1);
}

}  // namespace ListLines
