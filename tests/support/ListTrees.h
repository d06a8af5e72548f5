#pragma once
#include "platform/TreeView.h"
#include "support/Common.h"

#include <QStringList>

namespace testing_support {

// Every node below the root in display order, one line each: the indented text, then
// tag, images and key, so two trees compare as text.
inline QStringList treeShape(const platform::TreeView& tree, bool withKeys = true) {
    QStringList out;
    const auto walk = [&](auto&& self, const platform::Node* node, int depth) -> void {
        for (; node; node = node->Next()) {
            QString line = QString(depth * 2, QLatin1Char(' ')) + node->Text() + QStringLiteral(" [") + node->Tag() +
                           QStringLiteral("] %1/%2").arg(node->Image()).arg(node->SelectedImage());
            if (withKeys) line += QStringLiteral(" ") + node->Key();
            out << line;
            self(self, node->Child(), depth + 1);
        }
    };
    if (const platform::Node* root = tree.Item(1)) walk(walk, root->Child(), 0);
    return out;
}

}  // namespace testing_support
