#pragma once
#include "platform/ItemControl.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <climits>
#include <vector>

namespace platform {

class TreeView;
class TreeItem;
class LabelEditDelegate;

// Where Add puts a node, relative to another.
enum TreeRelationship : int { tvwFirst = 0, tvwLast = 1, tvwNext = 2, tvwPrevious = 3, tvwChild = 4 };
enum TreeLabelEdit : int { tvwAutomatic = 0, tvwManual = 1 };

// Failures of the tree's operations, numbered as the handlers test them.
enum TreeErrorNumber : int {
    kTreeIndexOutOfBounds = 35600,
    kTreeElementNotFound = 35601,
    kTreeKeyNotUnique = 35602,
    kTreeInvalidParent = 35614,
};
struct TreeError {
    int Number = 0;  // 0: no failure
    QString Description;
    explicit operator bool() const { return Number != 0; }
};

// One node of a tree. The tree owns it; a pointer stays valid until the node (or an
// ancestor) is removed or the tree cleared (keep a NodeRef to hold one across events).
class Node {
public:
    // 1-based position in insertion order (moving a node keeps it; removing nodes
    // shifts the later ones down).
    int Index() const;
    QString Key() const { return key_; }
    // Changes the key; false (and TreeView::LastError() set) when another node of
    // the tree has it. An empty key takes the node out of key look-up.
    bool setKey(const QString& key);
    QString Text() const;
    void setText(const QString& text);
    QString Tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }
    // Numbers into the tree's image list (1-based; 0 = none). A node without a
    // selected image shows its image while selected.
    int Image() const { return image_; }
    void setImage(int image);
    int SelectedImage() const { return selectedImage_; }
    void setSelectedImage(int image);
    bool Bold() const { return bold_; }
    void setBold(bool bold);
    bool Expanded() const;
    void setExpanded(bool expanded);
    bool Selected() const;
    void setSelected(bool selected);
    // Keeps the children sorted by text (ignoring case): sorts them now and puts
    // later children in their place. Turning it off leaves the order as it is.
    bool Sorted() const { return sorted_; }
    void setSorted(bool sorted);

    // ---- relations, in display order ------------------------------------------------
    Node* Parent() const;  // nullptr for a top-level node
    // Moves the node with its subtree to the end of `parent`'s children (nullptr: the
    // top level); a node already under `parent` stays where it is. Keys, indices, tags,
    // open folders and the selection stay. false (LastError() set) when `parent` is
    // this node or below it, or belongs to another tree.
    bool setParent(Node* parent);
    Node* Child() const;  // first child
    int Children() const;
    Node* Next() const;
    Node* Previous() const;
    Node* FirstSibling() const;
    Node* LastSibling() const;
    Node* Root() const;  // the top-level node this node is under (itself at the top)
    // The texts from the top-level node down to this one, joined by the tree's
    // PathSeparator.
    QString FullPath() const;

    // Expands every node above this one and scrolls it into view (the scroll happens
    // when control returns to the event loop, so loading many nodes stays linear).
    void EnsureVisible();

    // A number that stays with this node for the life of the tree.
    quint64 Id() const { return id_; }
    TreeView* treeView() const { return tree_; }

private:
    friend class TreeView;
    friend class TreeItem;
    Node(TreeView* tree, quint64 id) : tree_(tree), id_(id) {}
    QTreeWidgetItem* parentItem() const;
    int rowInParent() const;

    TreeView* tree_;
    TreeItem* item_ = nullptr;
    quint64 id_;
    size_t pos_ = 0;       // slot in the tree's insertion-order table
    mutable int row_ = -1;  // hint: position among the siblings
    QString key_;
    QString tag_;
    int image_ = 0;
    int selectedImage_ = 0;
    bool bold_ = false;
    bool sorted_ = false;
};

// Holds on to a node: get() answers nullptr once the node has been removed.
class NodeRef {
public:
    NodeRef() = default;
    NodeRef(Node* node);  // NOLINT: converting on purpose
    Node* get() const;
    explicit operator bool() const { return get() != nullptr; }

private:
    QPointer<TreeView> tree_;
    quint64 id_ = 0;
};

// A tree of nodes with unique keys. Besides the displayed hierarchy it keeps its nodes
// in insertion order (Item(i)); look-up by key and by index takes constant time.
class TreeView : public ItemControl {
    Q_OBJECT
public:
    explicit TreeView(QWidget* parent = nullptr);
    ~TreeView() override;

    // ---- the nodes ----------------------------------------------------------------------
    int Count() const { return count_; }
    // 1-based insertion order; nullptr outside 1..Count().
    Node* Item(int index) const;
    // nullptr when no node has the key (keys compare exactly, case included).
    Node* Item(const QString& key) const { return key.isEmpty() ? nullptr : byKey_.value(key, nullptr); }
    Node* NodeById(quint64 id) const { return byId_.value(id, nullptr); }

    // Adds a node placed by `relationship` to `relative`: tvwFirst / tvwLast, first or
    // last among the relative's siblings; tvwNext / tvwPrevious, just after or before it;
    // tvwChild, last among its children. Without a relative the node goes last at the
    // top level. Under a Sorted parent the sort decides the place. An empty key adds a
    // node without one. Returns nullptr and changes nothing when the key is taken
    // (kTreeKeyNotUnique) or the relative does not exist (kTreeElementNotFound, or
    // kTreeIndexOutOfBounds for an index); LastError() tells which.
    Node* Add(Node* relative, TreeRelationship relationship, const QString& key, const QString& text,
              int image = 0, int selectedImage = 0);
    Node* Add(const QString& relativeKey, TreeRelationship relationship, const QString& key,
              const QString& text, int image = 0, int selectedImage = 0);
    Node* Add(int relativeIndex, TreeRelationship relationship, const QString& key, const QString& text,
              int image = 0, int selectedImage = 0);
    // Removes the node and everything below it. false for a node of another tree or
    // one that is gone, an index outside 1..Count() or an unknown key.
    bool Remove(Node* node);
    bool Remove(int index);
    bool Remove(const QString& key);
    void Clear();
    // The failure of the last Add, Remove, setKey or setParent (Number 0 after success).
    const TreeError& LastError() const { return lastError_; }

    // ---- selection and highlight ------------------------------------------------------
    Node* SelectedItem() const;
    // Selects the node and makes it current; nullptr selects nothing.
    void setSelectedItem(Node* node);
    Node* DropHighlight() const { return NodeById(dropHighlightId_); }
    void setDropHighlight(Node* node);

    // The node on the row under the point (twips from the control's top left corner).
    Node* HitTest(int x, int y) const;

    QString PathSeparator() const { return pathSeparator_; }
    void setPathSeparator(const QString& separator) { pathSeparator_ = separator; }

    // Keeps the top-level nodes sorted by text (see Node::setSorted).
    bool Sorted() const { return sorted_; }
    void setSorted(bool sorted);

    // ---- label editing ------------------------------------------------------------------
    // tvwAutomatic: a click on the selected node or F2 starts an edit; tvwManual: only
    // StartLabelEdit does. Either way BeforeLabelEdit is raised first and may cancel.
    int LabelEdit() const { return labelEdit_; }
    void setLabelEdit(int mode);
    // Starts editing the selected node's text; false when there is none, the edit was
    // cancelled, or an edit is already open.
    bool StartLabelEdit();
    bool IsLabelEditing() const { return labelEditor_ != nullptr; }
    // Ends an open edit: commits the typed text (AfterLabelEdit with it) or, with
    // `cancel`, abandons it (AfterLabelEdit with a null NewString).
    void EndLabelEdit(bool cancel = false);

    // Scrolls by whole lines (negative: up).
    void ScrollLine(int lines);
    // Lays out nodes added since the last layout and redraws. Nodes appended below an
    // open node of a shown tree reach the screen a little later than they are added
    // (see rowsInserted), so a load that yields to the event loop stays linear.
    void Refresh() override;

    // ---- images ---------------------------------------------------------------------------
    // Image n of the nodes: the program's own image list (TreeImages.h), counted from 1.
    QIcon Image(int index) const;

    Node* nodeFromItem(QTreeWidgetItem* item) const;

Q_SIGNALS:
    // A left click on a node (not raised by selecting a node from code).
    void NodeClick(platform::Node* Node);
    // An edit of the selected node's text is about to start; Cancel = 1 stops it.
    void BeforeLabelEdit(int& Cancel);
    // The edit ended. NewString is the typed text, or a null QString when the user
    // abandoned the edit (Escape). Unless Cancel is set, a non-empty NewString then
    // becomes the node's text (an empty label is refused).
    void AfterLabelEdit(int& Cancel, QString& NewString);

protected:
    void itemClicked(QTreeWidgetItem* item) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;

private:
    friend class Node;
    friend class TreeItem;
    friend class LabelEditDelegate;
    void setError(int number, const QString& description);
    QTreeWidgetItem* rootItem() const { return invisibleRootItem(); }
    int placeUnder(QTreeWidgetItem* parent, bool sortedParent, int wanted, const QString& text) const;
    void detachIfEditing(Node* top);
    void compact() const;
    void scheduleScrollTo(Node* node);
    void layoutNow();

    mutable std::vector<Node*> order_;  // insertion order; nullptr marks a removed node
    mutable size_t firstHole_ = SIZE_MAX;
    int count_ = 0;
    QHash<QString, Node*> byKey_;
    QHash<quint64, Node*> byId_;
    quint64 nextId_ = 1;
    quint64 dropHighlightId_ = 0;
    quint64 scrollToId_ = 0;
    bool scrollQueued_ = false;
    TreeError lastError_;
    QString pathSeparator_ = QStringLiteral("\\");
    bool sorted_ = false;
    int labelEdit_ = tvwAutomatic;
    LabelEditDelegate* delegate_ = nullptr;
    QPointer<QWidget> labelEditor_;
    quint64 labelEditId_ = 0;
    bool labelCommitted_ = false;
    QString labelCommittedText_;
    QList<QIcon> images_;
    QTimer* layoutTimer_ = nullptr;
    int layoutDelayMs_ = 40;
};

}  // namespace platform
