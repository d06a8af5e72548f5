#pragma once
#include "core/catalogues/ListTree.h"
#include "support/Common.h"

#include <QStringList>

#include <vector>

namespace testing_support {

// Every node below the root in display order, one line each: the indented text, then
// tag, images and key, so two trees compare as text.
inline QStringList treeShape(const ListTree& tree, bool withKeys = true) {
    QStringList out;
    const ListTree::NodeId root = tree.item(1);
    if (!root) return out;
    std::vector<std::pair<ListTree::NodeId, int>> stack;
    for (int row = tree.childCount(root) - 1; row >= 0; --row) stack.push_back({tree.child(root, row), 0});
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        QString line = QString(depth * 2, QLatin1Char(' ')) + tree.text(node) + QStringLiteral(" [") + tree.tag(node) +
                       QStringLiteral("] %1/%2").arg(tree.image(node)).arg(tree.selectedImage(node));
        if (withKeys) line += QStringLiteral(" ") + tree.key(node);
        out << line;
        for (int row = tree.childCount(node) - 1; row >= 0; --row) stack.push_back({tree.child(node, row), depth + 1});
    }
    return out;
}

}  // namespace testing_support
