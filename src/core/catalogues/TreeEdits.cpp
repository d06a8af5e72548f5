#include "core/catalogues/TreeEdits.h"

#include "core/catalogues/ListLines.h"

#include <vector>

namespace TreeEdits {

NodeId namesake(const ListTree& tree, NodeId parent, const QString& text, NodeId except) {
    if (!parent) return 0;
    for (int row = 0, n = tree.childCount(parent); row < n; ++row) {
        const NodeId child = tree.child(parent, row);
        if (child != except && tree.text(child) == text) return child;
    }
    return 0;
}

NodeId insertParent(const ListTree& tree, NodeId relative, bool inside) {
    // Nothing goes beside the list's top: it would become a second list.
    return inside || !relative || !tree.parent(relative) ? relative : tree.parent(relative);
}

NodeId addNode(ListTree& tree, NodeId relative, ListTree::Place place, const QString& text, int image,
               int selectedImage, TreeError& error) {
    error = {};
    const QString name = ListLines::safeNodeText(text);
    if (name.isEmpty()) {
        error = {TreeError::Kind::Other, QStringLiteral("an entry needs a name")};
        return 0;
    }
    const bool inside = place == ListTree::Place::Child || (relative && !tree.parent(relative));
    if (inside) place = ListTree::Place::Child;
    const NodeId parent = insertParent(tree, relative, inside);
    if (namesake(tree, parent, name)) {
        error = {TreeError::Kind::NameTaken, ListTree::failureText(ListTree::Failure::KeyNotUnique)};
        return 0;
    }
    NodeId node = tree.add(relative, place, tree.childKey(parent, name), name, image, selectedImage);
    if (!node && tree.lastFailure() == ListTree::Failure::KeyNotUnique)
        node = tree.add(relative, place, QString(), name, image, selectedImage);
    if (!node) error = {TreeError::Kind::Other, ListTree::failureText(tree.lastFailure())};
    return node;
}

void setNodeKey(ListTree& tree, NodeId node, const QString& key) {
    if (!tree.setKey(node, key)) tree.setKey(node, QString());
}

bool moveNode(ListTree& tree, NodeId node, NodeId parent) {
    if (!tree.setParent(node, parent)) return false;
    std::vector<NodeId> stack{node};
    while (!stack.empty()) {
        const NodeId next = stack.back();
        stack.pop_back();
        setNodeKey(tree, next, tree.childKey(tree.parent(next), tree.text(next)));
        for (int row = 0, n = tree.childCount(next); row < n; ++row) stack.push_back(tree.child(next, row));
    }
    return true;
}

}  // namespace TreeEdits
