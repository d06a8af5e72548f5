#include "catalogues/TreeEdits.h"

#include "catalogues/ListLines.h"

#include <vector>

namespace modTree {

QString childKey(const platform::Node* parent, const QString& text) {
    const QString above = parent && parent->Parent() ? parent->Key() : QString();
    return above + text + QLatin1Char('\\');
}

platform::Node* namesake(const platform::Node* parent, const QString& text, const platform::Node* except) {
    if (!parent) return nullptr;
    for (platform::Node* child = parent->Child(); child; child = child->Next())
        if (child != except && child->Text() == text) return child;
    return nullptr;
}

platform::Node* addNode(platform::TreeView& tree, platform::Node* relative, platform::TreeRelationship how,
                        const QString& text, int image, int selectedImage, platform::TreeError& error) {
    error = {};
    const QString name = modLists::safeNodeText(text);
    if (name.isEmpty()) {
        error = {-1, QStringLiteral("an entry needs a name")};
        return nullptr;
    }
    // Nothing goes beside the list's top: it would become a second list.
    if (relative && !relative->Parent()) how = platform::tvwChild;
    platform::Node* parent = how == platform::tvwChild || !relative ? relative : relative->Parent();
    if (namesake(parent, name)) {
        error = {platform::kTreeKeyNotUnique, QStringLiteral("Key is not unique in collection")};
        return nullptr;
    }
    platform::Node* node = tree.Add(relative, how, childKey(parent, name), name, image, selectedImage);
    if (!node && tree.LastError().Number == platform::kTreeKeyNotUnique)
        node = tree.Add(relative, how, QString(), name, image, selectedImage);
    if (!node) error = tree.LastError();
    return node;
}

void setNodeKey(platform::Node* node, const QString& key) {
    if (!node->setKey(key)) node->setKey(QString());
}

bool moveNode(platform::Node* node, platform::Node* parent) {
    if (!node->setParent(parent)) return false;
    std::vector<platform::Node*> stack{node};
    while (!stack.empty()) {
        platform::Node* next = stack.back();
        stack.pop_back();
        setNodeKey(next, childKey(next->Parent(), next->Text()));
        for (platform::Node* child = next->Child(); child; child = child->Next()) stack.push_back(child);
    }
    return true;
}

}  // namespace modTree
