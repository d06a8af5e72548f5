#include "platform/TreeView.h"
#include "WidgetInput.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace platform;

namespace {

template <class Text>
QStringList texts(int count, Text text) {
    QStringList out;
    for (int i = 1; i <= count; ++i) out << text(i);
    return out;
}

// A catalogue as the list loader builds it: nodes keyed by their path of names, each ending in "\".
struct Catalogue {
    TreeView tree;
    Node* root = tree.Add(nullptr, tvwLast, u"Sites\\"_s, u"Sites"_s, 1, 4);
    Catalogue() { tree.resize(200, 150); }
    Node* add(const QString& parentKey, const QString& name) {
        return tree.Add(parentKey, tvwChild, parentKey + name + u"\\"_s, name);
    }
    QStringList byIndex() const {
        return texts(tree.Count(), [&](int i) { return tree.Item(i)->Text(); });
    }
    static QStringList children(const Node* parent) {
        QStringList out;
        for (Node* n = parent->Child(); n; n = n->Next()) out << n->Text();
        return out;
    }
    Node* hit(const Node* node) {  // at the node's centre, asked in twips as the handlers do
        for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
            if (tree.nodeFromItem(*it) != node) continue;
            const QPoint twips = tree.twipsFromViewportPoint(tree.visualItemRect(*it).center());
            return tree.HitTest(twips.x(), twips.y());
        }
        return nullptr;
    }
};

}  // namespace

// Refused keys are proven through the list loader; moves, node sorting and the edit and drag events
// have no user in the program.
TEST(TreeView, RemovingASubtreeFreesItsKeysAndShiftsLaterIndices) {
    Catalogue c;
    c.add(u"Sites\\"_s, u"A"_s);
    c.add(u"Sites\\"_s, u"B"_s);
    c.add(u"Sites\\A\\"_s, u"a1"_s);
    NodeRef deep(c.add(u"Sites\\A\\"_s, u"deep"_s));
    c.add(u"Sites\\A\\deep\\"_s, u"a2"_s);
    Node* b1 = c.add(u"Sites\\B\\"_s, u"b1"_s);
    EXPECT_TRUE(c.tree.Remove(u"Sites\\A\\"_s));
    EXPECT_EQ(c.byIndex(), QStringList({"Sites", "B", "b1"}));
    EXPECT_EQ(b1->Index(), 3);
    EXPECT_EQ(c.tree.Item(3), b1);
    EXPECT_FALSE(deep);
    EXPECT_EQ(c.tree.Item(u"Sites\\A\\deep\\a2\\"_s), nullptr);
    EXPECT_NE(c.add(u"Sites\\"_s, u"A"_s), nullptr);  // the keys are free again
    EXPECT_FALSE(c.tree.Remove(u"Sites\\A\\a1\\"_s));
    EXPECT_TRUE(c.tree.Remove(1));
    EXPECT_EQ(c.tree.Item(u"Sites\\B\\b1\\"_s), nullptr);
    EXPECT_EQ(c.tree.topLevelItemCount(), 0);
}

TEST(TreeView, TypedLabelsCommitOnEnterAndNotOnEscapeOrEmpty) {
    Catalogue c;
    Node* folder = c.add(u"Sites\\"_s, u"New Folder"_s);
    widget_input::showAndWait(&c.tree);
    const auto edit = [&](const QString& text, int key) {
        ASSERT_TRUE(c.tree.StartLabelEdit());
        QLineEdit* editor = nullptr;  // earlier editors may still await deletion
        for (QLineEdit* e : c.tree.findChildren<QLineEdit*>()) editor = e->isVisible() ? e : editor;
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        widget_input::key(editor, key);
        QApplication::processEvents();  // the editor commits once control returns to the loop
    };
    EXPECT_FALSE(c.tree.StartLabelEdit());  // nothing selected
    c.tree.setSelectedItem(folder);
    edit(u"Pets"_s, Qt::Key_Return);
    EXPECT_EQ(folder->Text(), u"Pets"_s);
    EXPECT_EQ(folder->Key(), u"Sites\\New Folder\\"_s);
    edit(u"Birds"_s, Qt::Key_Escape);
    edit(u""_s, Qt::Key_Return);
    EXPECT_EQ(folder->Text(), u"Pets"_s);
    ASSERT_TRUE(c.tree.StartLabelEdit());
    c.tree.Remove(folder);  // closes the editor
    EXPECT_FALSE(c.tree.IsLabelEditing());
}

TEST(TreeView, NodesAddedToAShownTreeBetweenTurnsOfTheEventLoopAllReachTheScreen) {
    Catalogue c;
    widget_input::showAndWait(&c.tree);
    c.root->EnsureVisible();
    // As the list loader does: children appended, each scrolled to, the event loop running every tenth.
    for (int i = 0; i < 300; ++i) {
        c.add(u"Sites\\"_s, u"n%1"_s.arg(i, 3, 10, QChar('0')))->EnsureVisible();
        if (i % 10 == 9) QApplication::processEvents();
    }
    // Changes in the middle while some rows still wait for their layout.
    c.tree.Add(u"Sites\\n000\\"_s, tvwFirst, u"first"_s, u"first"_s);
    c.tree.Remove(u"Sites\\n150\\"_s);
    Node* last = c.add(u"Sites\\"_s, u"last"_s);
    last->EnsureVisible();
    c.tree.Refresh();
    QApplication::processEvents();
    EXPECT_EQ(c.hit(last), last);  // laid out and scrolled into view
    c.tree.scrollToTop();
    QApplication::processEvents();
    QStringList shown;  // the rows on screen from the top meet every child in order
    for (QModelIndex i = c.tree.model()->index(0, 0, c.tree.model()->index(0, 0)); i.isValid();
         i = c.tree.indexBelow(i))
        shown << i.data().toString();
    EXPECT_EQ(shown, c.children(c.root));
    EXPECT_EQ(shown.size(), 301);
    Node* folder = c.add(u"Sites\\n299\\"_s, u"x"_s);  // a node deep in closed folders is opened up to
    Node* deep = c.add(u"Sites\\n299\\x\\"_s, u"deep"_s);
    deep->EnsureVisible();
    EXPECT_TRUE(folder->Expanded());
    QApplication::processEvents();
    EXPECT_EQ(c.hit(deep), deep);
    EXPECT_EQ(c.tree.HitTest(-100, -100), nullptr);
}

TEST(TreeView, ALargeTreeKeepsKeysAndIndicesRightThroughRemovals) {
    TreeView tree;
    tree.Add(nullptr, tvwLast, u"R\\"_s, u"R"_s);
    for (int f = 0; f < 100; ++f) {
        const QString folder = u"R\\F%1\\"_s.arg(f);
        tree.Add(u"R\\"_s, tvwChild, folder, u"F%1"_s.arg(f));
        for (int l = 0; l < 100; ++l) tree.Add(folder, tvwChild, folder + u"L%1\\"_s.arg(l), u"L%1"_s.arg(l));
    }
    for (int f = 0; f < 100; f += 2) ASSERT_TRUE(tree.Remove(u"R\\F%1\\"_s.arg(f)));
    ASSERT_EQ(tree.Count(), 1 + 50 * 101);
    for (int index = 2; index <= tree.Count(); ++index) {  // every survivor, by index and by key
        Node* node = tree.Item(index);
        ASSERT_EQ(node->Index(), index);
        ASSERT_EQ(tree.Item(node->Key()), node);
        ASSERT_EQ(node->Text(),
                  node->Child() ? u"F%1"_s.arg((index - 2) / 101 * 2 + 1) : u"L%1"_s.arg((index - 2) % 101 - 1));
    }
}
