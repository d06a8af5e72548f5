#pragma once
#include "platform/TreeView.h"

// Adding and moving the hierarchy pane's nodes so that the list file keeps every one: no
// two nodes of one folder share a name (the file would hold the same line for both).
namespace modTree {

// The key of a node named `text` below `parent`, in the form a list file gives it: the
// names on its path below the root, each followed by "\".
QString childKey(const platform::Node* parent, const QString& text);

// Another child of `parent` with this name, or nullptr.
platform::Node* namesake(const platform::Node* parent, const QString& text, const platform::Node* except = nullptr);

// Adds a node named `text` (made safe for the list file) relative to `relative`: as its
// child (tvwChild) or among its siblings. nullptr when the folder already has a node of
// that name or nothing is left of the name; `error` tells why.
platform::Node* addNode(platform::TreeView& tree, platform::Node* relative, platform::TreeRelationship how,
                        const QString& text, int image, int selectedImage, platform::TreeError& error);

// Gives a node this key; a key that only a node elsewhere holds (a name since moved or
// renamed) is not a reason to refuse, so the node then goes without one.
void setNodeKey(platform::Node* node, const QString& key);

// Moves a node with everything below it under `parent`, giving them the keys of their new place.
bool moveNode(platform::Node* node, platform::Node* parent);

// True for the list's own top node.
inline bool isListRoot(const platform::Node* node) { return node && !node->Parent(); }

}  // namespace modTree
