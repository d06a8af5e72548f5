#include "core/catalogues/ListTree.h"
#include "support/Common.h"

#include <QSet>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using NodeId = ListTree::NodeId;
using Place = ListTree::Place;

namespace {

// Every node below `top` in display order: the indented text, tag, images and key.
QStringList shape(const ListTree& tree, NodeId top = 0) {
    QStringList out;
    std::vector<std::pair<NodeId, int>> stack;
    for (int row = tree.childCount(top) - 1; row >= 0; --row) stack.push_back({tree.child(top, row), 0});
    while (!stack.empty()) {
        const auto [id, depth] = stack.back();
        stack.pop_back();
        out << QString(depth * 2, u' ') + tree.text(id) + u" ["_s + tree.tag(id) +
                   u"] %1/%2 "_s.arg(tree.image(id)).arg(tree.selectedImage(id)) + tree.key(id);
        for (int row = tree.childCount(id) - 1; row >= 0; --row) stack.push_back({tree.child(id, row), depth + 1});
    }
    return out;
}

TEST(ListTree, NodesAreFoundByKeyAndIndexAndKeepTheirKeysWhenRenamedOrMoved) {
    ListTree tree;
    const NodeId root = tree.add(0, Place::Last, u"Root\\"_s, u"Root"_s, 1, 4);
    const NodeId animals = tree.add(root, Place::Child, u"Animals\\"_s, u"Animals"_s, 1, 4);
    const NodeId cats = tree.add(animals, Place::Child, u"Animals\\Cats\\"_s, u"Cats"_s, 2, 2);
    tree.setTag(cats, u"http://cats.example/"_s);
    const NodeId plants = tree.add(root, Place::Child, u"Plants\\"_s, u"Plants"_s, 1, 4);
    EXPECT_EQ(tree.count(), 4);
    EXPECT_EQ(tree.itemByKey(u"Animals\\Cats\\"_s), cats);
    EXPECT_EQ(tree.itemByKey(u"animals\\cats\\"_s), 0u);  // keys compare exactly
    EXPECT_EQ(tree.item(3), cats);
    EXPECT_EQ(tree.indexOf(plants), 4);
    // A key taken refuses the node and changes nothing.
    EXPECT_EQ(tree.add(root, Place::Child, u"Plants\\"_s, u"Other"_s), 0u);
    EXPECT_EQ(tree.lastFailure(), ListTree::Failure::KeyNotUnique);
    EXPECT_EQ(ListTree::failureText(tree.lastFailure()), u"Key is not unique in collection"_s);
    EXPECT_EQ(tree.count(), 4);

    // Renamed and moved, the folder keeps its key, and so does what lies below it.
    tree.setText(animals, u"Beasts"_s);
    ASSERT_TRUE(tree.setParent(animals, plants));
    EXPECT_EQ(tree.key(animals), u"Animals\\"_s);
    EXPECT_EQ(tree.key(cats), u"Animals\\Cats\\"_s);
    EXPECT_EQ(tree.itemByKey(u"Animals\\Cats\\"_s), cats);
    EXPECT_EQ(tree.fullPath(cats), u"Root\\Plants\\Beasts\\Cats"_s);
    EXPECT_EQ(tree.indexOf(cats), 3);  // a move keeps the order of addition
    // A new key is taken at once; the children keep theirs; an empty key leaves the look-up.
    ASSERT_TRUE(tree.setKey(animals, u"Plants\\Beasts\\"_s));
    EXPECT_EQ(tree.itemByKey(u"Plants\\Beasts\\"_s), animals);
    EXPECT_EQ(tree.itemByKey(u"Animals\\"_s), 0u);
    EXPECT_EQ(tree.key(cats), u"Animals\\Cats\\"_s);
    EXPECT_FALSE(tree.setKey(cats, u"Root\\"_s));
    ASSERT_TRUE(tree.setKey(cats, QString()));
    EXPECT_EQ(tree.itemByKey(u"Animals\\Cats\\"_s), 0u);
    // Texts outside Latin-1 and long ones come back as they were.
    const QString odd = u"\u20AC \U0001F600 "_s + QString(100000, u'x');
    tree.setTag(plants, odd);
    tree.setText(plants, u"Pflanzen \u00E9"_s);
    EXPECT_EQ(tree.tag(plants), odd);
    EXPECT_EQ(tree.text(plants), u"Pflanzen \u00E9"_s);
}

TEST(ListTree, PlacesSiblingsAndRemovalsFollowTheHierarchyAndTheOrderOfAddition) {
    ListTree tree;
    const NodeId root = tree.add(0, Place::Last, u"R\\"_s, u"R"_s);
    const NodeId b = tree.add(root, Place::Child, u"B\\"_s, u"B"_s);
    const NodeId d = tree.add(b, Place::Last, u"D\\"_s, u"D"_s);
    const NodeId a = tree.add(b, Place::First, u"A\\"_s, u"A"_s);
    const NodeId c = tree.add(d, Place::Previous, u"C\\"_s, u"C"_s);
    const NodeId e = tree.add(d, Place::Next, QString(), u"E"_s);
    EXPECT_EQ(shape(tree, root), QStringList({u"A [] 0/0 A\\"_s, u"B [] 0/0 B\\"_s, u"C [] 0/0 C\\"_s,
                                              u"D [] 0/0 D\\"_s, u"E [] 0/0 "_s}));
    EXPECT_EQ(tree.next(b), c);
    EXPECT_EQ(tree.previous(b), a);
    EXPECT_EQ(tree.previous(a), 0u);
    EXPECT_EQ(tree.row(e), 4);
    EXPECT_EQ(tree.add(0xdeadbeef, Place::Child, QString(), u"x"_s), 0u);
    EXPECT_EQ(tree.lastFailure(), ListTree::Failure::ElementNotFound);
    // A node moved below itself is refused.
    const NodeId inner = tree.add(b, Place::Child, u"B\\In\\"_s, u"In"_s);
    EXPECT_FALSE(tree.setParent(b, inner));
    EXPECT_EQ(tree.lastFailure(), ListTree::Failure::InvalidParent);

    // Removing a node takes what lies below it; the later nodes close the gap in the order.
    tree.select(inner);
    ASSERT_TRUE(tree.remove(b));
    EXPECT_FALSE(tree.contains(b));
    EXPECT_FALSE(tree.contains(inner));
    EXPECT_EQ(tree.selected(), 0u);
    EXPECT_EQ(tree.itemByKey(u"B\\In\\"_s), 0u);
    EXPECT_EQ(tree.count(), 5);
    EXPECT_EQ(tree.item(2), d);
    EXPECT_EQ(tree.indexOf(e), 5);
    EXPECT_FALSE(tree.remove(b));
    // An id is never handed out again, even where a node takes the place of a removed one.
    const NodeId f = tree.add(root, Place::Child, u"B\\"_s, u"B"_s);
    EXPECT_NE(f, b);
    EXPECT_NE(f, inner);
    EXPECT_FALSE(tree.contains(inner));
    tree.clear();
    EXPECT_EQ(tree.count(), 0);
    EXPECT_FALSE(tree.contains(root));
}

// An id names one node for as long as the tree lives: nodes made after a removal or a clear
// get ids no node had before, and the old ids name nothing.
TEST(ListTree, AnIdIsNeverHandedOutAgainNotEvenAfterAClear) {
    ListTree tree;
    QSet<NodeId> handedOut;
    for (int round = 0; round < 3; ++round) {
        const NodeId root = tree.add(0, Place::Last, u"R\\"_s, u"R"_s);
        QList<NodeId> ids{root};
        for (int i = 0; i < 4; ++i) ids << tree.addChild(root, QString::number(i));
        ASSERT_TRUE(tree.remove(ids.at(2)));
        ids << tree.addChild(root, u"in the freed place"_s);
        for (const NodeId id : ids) {
            EXPECT_FALSE(handedOut.contains(id)) << "round " << round;
            handedOut.insert(id);
        }
        tree.clear();
        for (const NodeId id : handedOut) EXPECT_FALSE(tree.contains(id));
    }
}

TEST(ListTree, ViewsAreToldOfEachChangeOrOnlyOfTheWholeInABulk) {
    ListTree tree;
    QStringList heard;
    QObject::connect(&tree, &ListTree::aboutToInsert, [&](NodeId parent, int row) {
        heard << u"insert %1 %2"_s.arg(tree.text(parent)).arg(row);
    });
    QObject::connect(&tree, &ListTree::aboutToRemove, [&](NodeId parent, int row) {
        heard << u"remove %1 %2"_s.arg(tree.text(parent)).arg(row);
    });
    QObject::connect(&tree, &ListTree::aboutToMove, [&](NodeId from, int fromRow, NodeId to, int toRow) {
        heard << u"move %1 %2 %3 %4"_s.arg(tree.text(from)).arg(fromRow).arg(tree.text(to)).arg(toRow);
    });
    QObject::connect(&tree, &ListTree::aboutToReset, [&] { heard << u"reset %1"_s.arg(tree.inBulk()); });
    QObject::connect(&tree, &ListTree::changed, [&](NodeId id) { heard << u"changed "_s + tree.text(id); });
    const NodeId root = tree.add(0, Place::Last, QString(), u"R"_s);
    const NodeId a = tree.add(root, Place::Child, QString(), u"A"_s);
    const NodeId b = tree.add(root, Place::Child, QString(), u"B"_s);
    tree.setParent(a, b);
    tree.setBold(a, true);
    tree.remove(a);
    EXPECT_EQ(heard, QStringList({u"insert  0"_s, u"insert R 0"_s, u"insert R 1"_s, u"move R 0 B 0"_s,
                                  u"changed A"_s, u"remove B 0"_s}));
    heard.clear();
    {
        ListTree::Bulk bulk(tree);
        for (int i = 0; i < 100; ++i) tree.add(root, Place::Child, QString(), u"N"_s);
        tree.setBold(b, true);
    }
    EXPECT_EQ(heard, QStringList({u"reset 0"_s, u"reset 1"_s}));
    EXPECT_EQ(tree.childCount(root), 101);
}

TEST(ListTree, AHundredThousandLevelsAndAMillionNodes) {
    ListTree tree;
    // Keys as long as the path would make the input itself quadratic: the deep levels go without.
    NodeId deepest = tree.add(0, Place::Last, u"L\\"_s, u"L"_s);
    QString key = u"L\\"_s;
    for (int i = 0; i < 100000; ++i) {
        if (i < 1000) key += u"L\\"_s;
        deepest = tree.add(deepest, Place::Child, i < 1000 ? key : QString(), u"L"_s);
        ASSERT_NE(deepest, 0u);
    }
    EXPECT_EQ(tree.key(tree.item(1001)), key);
    EXPECT_EQ(tree.itemByKey(key), tree.item(1001));
    EXPECT_EQ(tree.fullPath(deepest).size(), 100001 * 2 - 1);
    EXPECT_TRUE(tree.isWithin(deepest, tree.item(1)));
    tree.ensureVisible(deepest);
    EXPECT_TRUE(tree.isExpanded(tree.item(100000)));
    ASSERT_TRUE(tree.remove(tree.item(2)));
    EXPECT_EQ(tree.count(), 1);
    EXPECT_FALSE(tree.contains(deepest));

    const NodeId root = tree.item(1);
    for (int folder = 0; folder < 1000; ++folder) {
        const QString folderKey = u"F%1\\"_s.arg(folder);
        const NodeId f = tree.add(root, Place::Child, folderKey, u"F%1"_s.arg(folder));
        for (int leaf = 0; leaf < 999; ++leaf)
            tree.setTag(tree.add(f, Place::Child, folderKey + u"E%1\\"_s.arg(leaf), u"E%1"_s.arg(leaf)), u"mtp://x"_s);
    }
    EXPECT_EQ(tree.count(), 1000001);
    EXPECT_EQ(tree.text(tree.itemByKey(u"F999\\E998\\"_s)), u"E998"_s);
    EXPECT_EQ(tree.indexOf(tree.itemByKey(u"F0\\E0\\"_s)), 3);

    // Every other folder removed: each survivor is found by its index and by its key.
    for (int folder = 0; folder < 1000; folder += 2) ASSERT_TRUE(tree.remove(tree.itemByKey(u"F%1\\"_s.arg(folder))));
    ASSERT_EQ(tree.count(), 1 + 500 * 1000);
    for (int index = 2; index <= tree.count(); ++index) {
        const NodeId node = tree.item(index);
        ASSERT_EQ(tree.indexOf(node), index);
        ASSERT_EQ(tree.itemByKey(tree.key(node)), node);
        const int folder = (index - 2) / 1000 * 2 + 1;
        ASSERT_EQ(tree.text(node), tree.parent(node) == root ? u"F%1"_s.arg(folder) : u"E%1"_s.arg((index - 2) % 1000 - 1));
    }
}

}  // namespace
