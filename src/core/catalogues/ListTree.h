#pragma once
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// The hierarchy pane's list as data: nodes with a unique key, a text, a tag, two image
// numbers, a bold mark and an open (expanded) state, each the child of another node or at
// the top; one selected node and one drop highlight. Besides the hierarchy the tree keeps
// its nodes in the order they were added (a node's index: removing nodes closes the gap,
// moving a node keeps its place). A node is named by an id that stays with it for as long
// as it exists and is never handed out again. Stored compactly: the texts of all nodes
// share a few large blocks, and a key made of its parent's key, the node's text and "\" is
// kept as that and not as a string of its own, so catalogues of millions of lines fit.
class ListTree : public QObject {
    Q_OBJECT
public:
    using NodeId = quint64;  // 0: no node, or the top of the tree (the parent of top-level nodes)

    // Where add puts a node relative to another.
    enum class Place { First, Last, Next, Previous, Child };
    enum class Failure { None, IndexOutOfBounds, ElementNotFound, KeyNotUnique, InvalidParent };
    // The text of a failure, as the list code reports it.
    static QString failureText(Failure failure);

    explicit ListTree(QObject* parent = nullptr);
    ~ListTree() override;

    // ---- the nodes ----------------------------------------------------------------------
    int count() const { return count_; }
    bool contains(NodeId id) const { return slotOf(id) != 0; }
    // 1-based order of addition; 0 outside 1..count().
    NodeId item(int index) const;
    int indexOf(NodeId id) const;
    // The node with the key (exactly, case included); 0 when none or the key is empty.
    NodeId itemByKey(QStringView key) const;

    QString key(NodeId id) const;
    bool hasKey(NodeId id, QStringView key) const;
    // The key a child named `text` is given below `parent`: the parent's key, the text and
    // "\"; below a node at the top, or one without a key, the text and "\". Such a key is
    // stored as made from the parent's and found without being spelt out.
    QString childKey(NodeId parent, QStringView text) const;
    NodeId itemByChildKey(NodeId parent, QStringView text) const;
    // False (and lastFailure() KeyNotUnique) when another node has the key; an empty key
    // takes the node out of the look-up.
    bool setKey(NodeId id, const QString& key);
    QString text(NodeId id) const;
    void setText(NodeId id, const QString& text);
    QString tag(NodeId id) const;
    bool hasTag(NodeId id) const;
    void setTag(NodeId id, QStringView tag);
    int image(NodeId id) const;
    void setImage(NodeId id, int image);
    int selectedImage(NodeId id) const;
    void setSelectedImage(NodeId id, int image);
    bool isBold(NodeId id) const;
    void setBold(NodeId id, bool bold);
    bool isExpanded(NodeId id) const;
    void setExpanded(NodeId id, bool expanded);
    // The nodes that are open, in no particular order.
    QList<NodeId> expandedNodes() const;

    // ---- the hierarchy --------------------------------------------------------------------
    NodeId parent(NodeId id) const;  // 0 at the top
    int childCount(NodeId id) const;  // 0: the top level
    NodeId child(NodeId id, int row) const;  // 0-based; 0 outside
    NodeId firstChild(NodeId id) const { return child(id, 0); }
    int row(NodeId id) const;  // among its siblings, 0-based
    NodeId next(NodeId id) const;
    NodeId previous(NodeId id) const;
    // The texts from the top-level node down to this one, joined by the path separator.
    QString fullPath(NodeId id) const;
    QString pathSeparator() const { return pathSeparator_; }
    void setPathSeparator(const QString& separator) { pathSeparator_ = separator; }
    // True when `node` is `ancestor` or lies below it.
    bool isWithin(NodeId node, NodeId ancestor) const;

    // ---- changing the nodes -----------------------------------------------------------------
    // Adds a node placed relative to `relative`: First or Last among its siblings, Next or
    // Previous beside it, or Child (its last child). Without a relative it goes last at the
    // top. An empty key adds a node without one. Returns 0 and changes nothing when the key is
    // taken (KeyNotUnique) or the relative is gone (ElementNotFound).
    NodeId add(NodeId relative, Place place, const QString& key, const QString& text, int image = 0,
               int selectedImage = 0);
    // Adds a last child of `parent` (0: last at the top) with the key childKey(parent, text).
    NodeId addChild(NodeId parent, const QString& text, int image = 0, int selectedImage = 0);
    // Removes the node and everything below it; false for a node that is gone.
    bool remove(NodeId id);
    void clear();
    // Moves the node with what lies below it to the end of `parent`'s children (0: the top);
    // a node already there stays. Keys, indexes and tags stay. False (InvalidParent) when
    // `parent` is the node or lies below it.
    bool setParent(NodeId id, NodeId parent);
    // The failure of the last add, remove, setKey or setParent.
    Failure lastFailure() const { return lastFailure_; }

    // ---- selection, highlight, sight ----------------------------------------------------------
    NodeId selected() const { return contains(selected_) ? selected_ : 0; }
    // Selects the node (0: none); the folders above it open, so it can be seen.
    void select(NodeId id);
    NodeId dropHighlight() const { return contains(highlight_) ? highlight_ : 0; }
    void setDropHighlight(NodeId id);
    // Opens every folder above the node and asks the views to scroll it into sight.
    void ensureVisible(NodeId id);

    // While one lives, the views are told nothing of each change: they show an empty tree and,
    // once it goes, the tree as it is then. For loads that add thousands of nodes.
    class Bulk {
    public:
        explicit Bulk(ListTree& tree);
        ~Bulk();
        Bulk(const Bulk&) = delete;
        Bulk& operator=(const Bulk&) = delete;

    private:
        QPointer<ListTree> tree_;  // a load's events may close the window and the tree with it
    };
    bool inBulk() const { return bulk_ > 0; }

Q_SIGNALS:
    // `parent` 0 is the top; rows are 0-based.
    void aboutToInsert(ListTree::NodeId parent, int row);
    void inserted();
    void aboutToRemove(ListTree::NodeId parent, int row);
    void removed();
    void aboutToMove(ListTree::NodeId fromParent, int fromRow, ListTree::NodeId toParent, int toRow);
    void moved();
    void aboutToReset();
    void wasReset();
    // The node's text, images, bold mark or highlight changed.
    void changed(ListTree::NodeId id);
    void expandedChanged(ListTree::NodeId id, bool expanded);
    void selectionChanged();
    void visibleRequested(ListTree::NodeId id);

private:
    struct Text {
        quint32 chunk = 0;
        quint32 offset = 0;
        quint32 size = 0;  // characters; the top bit marks UTF-16 (else Latin-1)
    };
    // A key: the key part it continues (0: none), then a text, then "\" when `slash` is set.
    struct KeyPart {
        quint32 prefix = 0;
        Text text;
        quint32 hash = 0;
        bool slash = false;
    };
    struct Rec {
        quint32 parent = 0;
        quint32 children = 0;    // its list in childLists_; 0: none
        quint32 row = 0;
        quint32 generation = 0;  // odd while the slot holds a node
        quint32 order = 0;       // its place in order_ (right once compacted)
        quint32 keyPart = 0;
        Text text;
        Text tag;
        qint16 image = 0;
        qint16 selectedImage = 0;
        bool bold = false;
    };
    class Texts;
    class KeyIndex;

    quint32 slotOf(NodeId id) const;
    NodeId idOf(quint32 slot) const;
    Rec& rec(quint32 slot) { return recs_[slot]; }
    const Rec& rec(quint32 slot) const { return recs_[slot]; }
    std::vector<quint32>& childrenOf(quint32 slot);
    const std::vector<quint32>* childrenIfAny(quint32 slot) const;
    quint32 newSlot();
    void placeChild(quint32 parent, int row, quint32 slot);
    void takeChild(quint32 slot);
    quint32 childKeyPrefix(quint32 parentSlot) const;
    quint32 childKeyHash(quint32 prefix, QStringView text) const;
    quint32 keyPartFor(quint32 parentSlot, const QString& key, const Text& text, quint32 hash);
    bool keyEquals(quint32 keyPart, QStringView key) const;
    QString keyText(quint32 keyPart) const;
    void unindexKey(quint32 slot);
    void compact() const;
    void fail(Failure failure) { lastFailure_ = failure; }
    void emitChanged(quint32 slot);

    std::vector<Rec> recs_;  // slot 0: the top of the tree
    quint32 firstGeneration_ = 1;  // of a slot made new
    quint32 lastGeneration_ = 1;   // the highest any node had
    std::vector<quint32> freeSlots_;
    std::vector<std::vector<quint32>> childLists_;  // 0 unused
    std::vector<quint32> freeChildLists_;
    mutable std::vector<quint32> order_;  // slots in order of addition; 0 marks a removed node
    mutable size_t firstHole_ = SIZE_MAX;
    std::vector<KeyPart> keyParts_;  // 0 unused
    std::unique_ptr<Texts> texts_;
    std::unique_ptr<KeyIndex> keys_;
    QSet<quint32> expanded_;
    int count_ = 0;
    NodeId selected_ = 0;
    NodeId highlight_ = 0;
    int bulk_ = 0;
    Failure lastFailure_ = Failure::None;
    QString pathSeparator_ = QStringLiteral("\\");
};
