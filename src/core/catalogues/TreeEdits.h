#pragma once
#include "core/catalogues/ListTree.h"

#include <QString>

// Adding and moving the hierarchy pane's nodes so that the list file keeps every one: no
// two nodes of one folder share a name (the file would hold the same line for both).
namespace TreeEdits {

using NodeId = ListTree::NodeId;

// Why an edit of the tree did not happen.
struct TreeError {
    enum class Kind { None, NameTaken, Other } kind = Kind::None;
    QString description;
    explicit operator bool() const { return kind != Kind::None; }
};

// Another child of `parent` with this name, or 0.
NodeId namesake(const ListTree& tree, NodeId parent, const QString& text, NodeId except = 0);

// The node an insertion relative to `relative` puts the new node into: `relative` itself
// when it goes inside (or `relative` is the list's top), else its parent.
NodeId insertParent(const ListTree& tree, NodeId relative, bool inside);

// Adds a node named `text` (made safe for the list file) relative to `relative`: as its
// child (Child) or among its siblings. 0 when the folder already has a node of that name or
// nothing is left of the name; `error` tells why.
NodeId addNode(ListTree& tree, NodeId relative, ListTree::Place place, const QString& text, int image,
               int selectedImage, TreeError& error);

// Gives a node this key; a key that only a node elsewhere holds (a name since moved or
// renamed) is not a reason to refuse, so the node then goes without one.
void setNodeKey(ListTree& tree, NodeId node, const QString& key);

// Moves a node with everything below it under `parent`, giving them the keys of their new place.
bool moveNode(ListTree& tree, NodeId node, NodeId parent);

// True for the list's own top node.
inline bool isListRoot(const ListTree& tree, NodeId node) { return node && tree.contains(node) && !tree.parent(node); }

}  // namespace TreeEdits
