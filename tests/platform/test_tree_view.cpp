#include "platform/KeyCodes.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"
#include "WidgetInput.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using platform::Node;
using platform::TreeView;
using platform::tvwChild;
using platform::tvwFirst;
using platform::tvwLast;
using platform::tvwNext;
using platform::tvwPrevious;

namespace {

// A catalogue as the list loader builds it: a root keyed by its name and "\", folders
// and links below it keyed by their paths.
struct Catalogue {
    TreeView tree;
    Node* root;
    Catalogue() {
        tree.resize(300, 400);
        root = tree.Add(nullptr, tvwLast, u"Sites\\"_s, u"Sites"_s, 1, 4);
        root->setTag(u"Catalog"_s);
    }
    Node* folder(const QString& parentKey, const QString& name) {
        return tree.Add(parentKey, tvwChild, parentKey + name + u"\\"_s, name, 1, 4);
    }
    Node* link(const QString& parentKey, const QString& title, const QString& address = u"h"_s) {
        Node* node = tree.Add(parentKey, tvwChild, parentKey + title + u"\\"_s, title, 2, 2);
        if (node) node->setTag(address);
        return node;
    }
    QStringList byIndex() const {
        QStringList out;
        for (int i = 1; i <= tree.Count(); ++i) out << tree.Item(i)->Text();
        return out;
    }
    static QStringList children(const Node* parent) {
        QStringList out;
        for (Node* n = parent->Child(); n; n = n->Next()) out << n->Text();
        return out;
    }
    void show() { widget_input::showAndWait(&tree); }
    QPoint centreTwips(const Node* node) {
        QTreeWidgetItem* item = nullptr;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if (tree.nodeFromItem(*it) == node) item = *it;
        return platform::pixelsToTwips(tree.viewport()->mapTo(&tree, tree.visualItemRect(item).center()));
    }
    QPoint pixelOf(const Node* node) {
        return tree.viewport()->mapFrom(&tree, platform::twipsToPixels(centreTwips(node)));
    }
    Node* hit(const Node* node) { return tree.HitTest(centreTwips(node).x(), centreTwips(node).y()); }
};

// The label editor the tree has open (earlier ones may still await deletion).
QLineEdit* openEditor(TreeView& tree) {
    for (QLineEdit* editor : tree.findChildren<QLineEdit*>())
        if (editor->isVisible()) return editor;
    return nullptr;
}

}  // namespace

TEST(TreeView, ADuplicateKeyIsRefusedAndTheTreeStaysAsItWas) {
    Catalogue c;
    Node* news = c.folder(u"Sites\\"_s, u"News"_s);
    c.link(u"Sites\\News\\"_s, u"Untitled"_s, u"http://a.example/"_s);
    EXPECT_EQ(c.link(u"Sites\\News\\"_s, u"Untitled"_s, u"http://b.example/"_s), nullptr);
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeKeyNotUnique);
    EXPECT_EQ(c.tree.LastError().Description, u"Key is not unique in collection"_s);
    EXPECT_EQ(c.tree.Count(), 3);
    EXPECT_EQ(news->Children(), 1);
    EXPECT_EQ(c.tree.Item(u"Sites\\News\\Untitled\\"_s)->Tag(), u"http://a.example/"_s);

    EXPECT_NE(c.folder(u"Sites\\"_s, u"news"_s), nullptr);  // keys compare exactly
    EXPECT_EQ(c.folder(u"Sites\\Gone\\"_s, u"x"_s), nullptr);
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeElementNotFound);
    EXPECT_EQ(c.tree.Add(99, tvwChild, u"k"_s, u"t"_s), nullptr);
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeIndexOutOfBounds);

    // Renaming to a taken key fails and keeps the old one.
    EXPECT_FALSE(news->setKey(u"Sites\\"_s));
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeKeyNotUnique);
    EXPECT_EQ(c.tree.Item(u"Sites\\News\\"_s), news);
    EXPECT_EQ(c.tree.Item(u"Sites\\"_s), c.root);
    EXPECT_TRUE(news->setKey(u"News\\Untitled\\"_s));
    EXPECT_EQ(c.tree.Item(u"News\\Untitled\\"_s), news);
    EXPECT_EQ(c.tree.Item(u"Sites\\News\\"_s), nullptr);
    // Nodes without a key are fine, as many as wanted.
    EXPECT_NE(c.tree.Add(c.root, tvwChild, QString(), u"a"_s), nullptr);
    EXPECT_NE(c.tree.Add(c.root, tvwChild, QString(), u"b"_s), nullptr);
}

TEST(TreeView, RemovingASubtreeForgetsItsKeysAndShiftsLaterIndices) {
    Catalogue c;
    c.folder(u"Sites\\"_s, u"A"_s);
    c.folder(u"Sites\\"_s, u"B"_s);
    c.link(u"Sites\\A\\"_s, u"a1"_s);
    c.folder(u"Sites\\A\\"_s, u"deep"_s);
    c.link(u"Sites\\A\\deep\\"_s, u"a2"_s);
    Node* b1 = c.link(u"Sites\\B\\"_s, u"b1"_s);
    platform::NodeRef deepRef(c.tree.Item(u"Sites\\A\\deep\\"_s));
    EXPECT_EQ(b1->Index(), 7);

    EXPECT_TRUE(c.tree.Remove(u"Sites\\A\\"_s));
    EXPECT_EQ(c.byIndex(), QStringList({"Sites", "B", "b1"}));
    EXPECT_EQ(b1->Index(), 3);
    EXPECT_EQ(c.tree.Item(3), b1);
    for (const char* gone : {"Sites\\A\\", "Sites\\A\\a1\\", "Sites\\A\\deep\\", "Sites\\A\\deep\\a2\\"})
        EXPECT_EQ(c.tree.Item(QString::fromUtf8(gone)), nullptr) << gone;
    EXPECT_EQ(c.tree.Item(u"Sites\\B\\b1\\"_s), b1);
    EXPECT_FALSE(deepRef);
    EXPECT_NE(c.folder(u"Sites\\"_s, u"A"_s), nullptr);  // the keys are free again

    EXPECT_FALSE(c.tree.Remove(u"Sites\\A\\a1\\"_s));
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeElementNotFound);
    EXPECT_FALSE(c.tree.Remove(0));
    EXPECT_TRUE(c.tree.Remove(1));
    EXPECT_EQ(c.tree.Count(), 0);
    EXPECT_EQ(c.tree.Item(u"Sites\\B\\b1\\"_s), nullptr);
    EXPECT_EQ(c.tree.topLevelItemCount(), 0);
}

TEST(TreeView, RelationshipsPlaceNodesAndIndicesKeepTheirOrder) {
    Catalogue c;
    Node* b = c.tree.Add(c.root, tvwChild, u"b"_s, u"b"_s);
    Node* d = c.tree.Add(b, tvwNext, u"d"_s, u"d"_s);
    Node* a = c.tree.Add(b, tvwFirst, u"a"_s, u"a"_s);
    Node* cc = c.tree.Add(u"d"_s, tvwPrevious, u"c"_s, u"c"_s);
    Node* e = c.tree.Add(a, tvwLast, u"e"_s, u"e"_s);
    Node* top = c.tree.Add(nullptr, tvwChild, u"other\\"_s, u"other"_s);
    EXPECT_EQ(c.children(c.root), QStringList({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(c.byIndex(), QStringList({"Sites", "b", "d", "a", "c", "e", "other"}));
    EXPECT_EQ(cc->Previous(), b);
    EXPECT_EQ(cc->Next(), d);
    EXPECT_EQ(d->FirstSibling(), a);
    EXPECT_EQ(b->LastSibling(), e);
    EXPECT_EQ(c.root->Next(), top);
    EXPECT_EQ(c.tree.Item(5), cc);

    // Sorting a parent's children changes the display only.
    Node* z = c.tree.Add(a, tvwFirst, u"Z"_s, u"Z"_s);
    c.root->setSorted(true);
    c.tree.Add(c.root, tvwChild, u"C2"_s, u"C"_s);
    EXPECT_EQ(c.children(c.root), QStringList({"a", "b", "c", "C", "d", "e", "Z"}));
    EXPECT_EQ(z->Index(), 8);
}

TEST(TreeView, MovingANodeTakesItsSubtreeAndKeepsKeysIndicesAndState) {
    Catalogue c;
    Node* a = c.folder(u"Sites\\"_s, u"A"_s);
    Node* b = c.folder(u"Sites\\"_s, u"B"_s);
    Node* inner = c.folder(u"Sites\\A\\"_s, u"inner"_s);
    Node* leaf = c.link(u"Sites\\A\\inner\\"_s, u"leaf"_s);
    c.show();
    a->setExpanded(true);
    inner->setExpanded(true);
    c.tree.setSelectedItem(leaf);

    EXPECT_TRUE(a->setParent(b));
    EXPECT_EQ(leaf->FullPath(), u"Sites\\B\\A\\inner\\leaf"_s);
    c.tree.setPathSeparator(u"|"_s);
    EXPECT_EQ(leaf->FullPath(), u"Sites|B|A|inner|leaf"_s);
    EXPECT_EQ(c.tree.Item(u"Sites\\A\\inner\\leaf\\"_s), leaf);  // keys stay as they were
    EXPECT_EQ(leaf->Index(), 5);
    EXPECT_TRUE(a->Expanded() && inner->Expanded());
    EXPECT_EQ(c.tree.SelectedItem(), leaf);
    EXPECT_EQ(c.children(c.root), QStringList({"B"}));

    // A node cannot go below itself.
    EXPECT_FALSE(b->setParent(inner));
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeInvalidParent);
    EXPECT_EQ(b->Parent(), c.root);
    EXPECT_FALSE(b->setParent(b));
    EXPECT_TRUE(inner->setParent(nullptr));
    EXPECT_EQ(inner->Root(), inner);
    EXPECT_TRUE(inner->setParent(c.root));
    EXPECT_EQ(c.children(c.root), QStringList({"B", "inner"}));
}

TEST(TreeView, LabelEditsAskBeforeAndAfterAndCanBeCancelled) {
    Catalogue c;
    Node* folder = c.folder(u"Sites\\"_s, u"New Folder"_s);
    c.tree.setLabelEdit(platform::tvwManual);
    c.show();
    int before = 0, cancelBefore = 0, cancelAfter = 0;
    QStringList afters;
    QObject::connect(&c.tree, &TreeView::BeforeLabelEdit, [&](int& cancel) {
        ++before;
        cancel = cancelBefore;
    });
    QObject::connect(&c.tree, &TreeView::AfterLabelEdit, [&](int& cancel, QString& text) {
        afters << (text.isNull() ? u"<abandoned>"_s : text);
        cancel = cancelAfter;
    });
    const auto edit = [&](const QString& text, int key = 0) {
        ASSERT_TRUE(c.tree.StartLabelEdit());
        QLineEdit* editor = openEditor(c.tree);
        ASSERT_NE(editor, nullptr);
        if (!text.isNull()) editor->setText(text);
        if (key)
            widget_input::key(editor, key);
        else
            c.tree.EndLabelEdit();
        QApplication::processEvents();  // the editor commits once control returns to the loop
    };

    EXPECT_FALSE(c.tree.StartLabelEdit());  // nothing selected
    c.tree.setSelectedItem(folder);
    cancelBefore = 1;  // started from code, the edit still asks and may be refused
    EXPECT_FALSE(c.tree.StartLabelEdit());
    EXPECT_EQ(before, 1);
    cancelBefore = 0;
    edit(u"Pets"_s, Qt::Key_Return);
    EXPECT_EQ(folder->Text(), u"Pets"_s);
    EXPECT_EQ(folder->Key(), u"Sites\\New Folder\\"_s);  // the handler decides about keys
    EXPECT_FALSE(c.tree.IsLabelEditing());
    cancelAfter = 1;
    edit(u"Dogs"_s);  // the handler's Cancel keeps the old text
    EXPECT_EQ(folder->Text(), u"Pets"_s);
    cancelAfter = 0;
    edit(u"Birds"_s, Qt::Key_Escape);  // abandoned: heard of with no text
    edit(QString());                   // ended from code: what the editor holds
    edit(u""_s);                       // an emptied label is refused
    EXPECT_EQ(afters, QStringList({"Pets", "Dogs", "<abandoned>", "Pets", ""}));
    EXPECT_EQ(folder->Text(), u"Pets"_s);

    // Removing the node being edited closes the editor without a word.
    ASSERT_TRUE(c.tree.StartLabelEdit());
    c.tree.Remove(folder);
    EXPECT_FALSE(c.tree.IsLabelEditing());
    EXPECT_EQ(afters.size(), 5);
}

TEST(TreeView, EnsureVisibleOpensTheFoldersAboveAndScrolls) {
    Catalogue c;
    c.tree.resize(200, 120);
    Node* parent = c.root;
    QString key = u"Sites\\"_s;
    for (int i = 0; i < 40; ++i) c.link(key, u"filler %1"_s.arg(i));
    for (const QString& name : {u"one"_s, u"two"_s, u"three"_s}) {
        parent = c.folder(key, name);
        key += name + u"\\"_s;
    }
    Node* deep = c.link(key, u"deep"_s);
    c.show();
    EXPECT_FALSE(parent->Expanded());
    deep->EnsureVisible();
    EXPECT_TRUE(parent->Expanded() && c.root->Expanded());
    QApplication::processEvents();  // the scroll waits for the event loop
    EXPECT_EQ(c.hit(deep), deep);   // on screen: the hit test finds it
    EXPECT_EQ(c.tree.HitTest(-100, -100), nullptr);
}

TEST(TreeView, NodesAddedToAShownTreeBetweenTurnsOfTheEventLoopAllReachTheScreen) {
    Catalogue c;
    c.tree.resize(200, 150);
    c.show();
    c.root->EnsureVisible();
    // As the list loader does: children appended below the open root, each scrolled
    // to, with the event loop running every tenth line.
    for (int i = 0; i < 300; ++i) {
        c.link(u"Sites\\"_s, u"n%1"_s.arg(i, 3, 10, QChar('0')))->EnsureVisible();
        if (i % 10 == 9) QApplication::processEvents();
    }
    // Changes in the middle while some rows still wait for their layout.
    c.tree.Add(u"Sites\\n000\\"_s, tvwFirst, u"first"_s, u"first"_s);
    c.tree.Remove(u"Sites\\n150\\"_s);
    Node* last = c.link(u"Sites\\"_s, u"last"_s);
    last->EnsureVisible();
    c.tree.Refresh();
    QApplication::processEvents();
    EXPECT_EQ(c.root->Children(), 301);
    EXPECT_EQ(c.hit(last), last);  // laid out and scrolled into view
    // Walking the rows on screen from the top meets every child in order.
    c.tree.scrollToTop();
    QApplication::processEvents();
    QStringList shown;
    for (QModelIndex i = c.tree.model()->index(0, 0, c.tree.model()->index(0, 0)); i.isValid();
         i = c.tree.indexBelow(i))
        shown << i.data().toString();
    EXPECT_EQ(shown, c.children(c.root));
    EXPECT_EQ(shown.first(), u"first"_s);
}

TEST(TreeView, DropsReportTextShiftAndPositionAndDragsCarryTheHandlersText) {
    Catalogue c;
    Node* folder = c.folder(u"Sites\\"_s, u"A"_s);
    c.root->setExpanded(true);
    c.tree.setOLEDropMode(platform::vbOLEDropManual);
    c.tree.setOLEDragMode(platform::vbOLEDragAutomatic);
    c.show();
    QString dropped;
    int shift = -1;
    Node* target = nullptr;
    QObject::connect(&c.tree, &TreeView::OLEDragOver, [&](platform::DataObject&, int&, int, int, int x, int y, int) {
        c.tree.setDropHighlight(c.tree.HitTest(x, y));
    });
    QObject::connect(&c.tree, &TreeView::OLEDragDrop, [&](platform::DataObject& data, int&, int, int s, int, int) {
        dropped = data.GetText();
        shift = s;
        target = c.tree.DropHighlight();
    });
    QMimeData data;
    data.setText(u"http://www.example.com/page.htm"_s);
    QDragEnterEvent enter(c.pixelOf(folder), Qt::CopyAction, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(c.tree.viewport(), &enter);
    QDropEvent drop(c.pixelOf(folder), Qt::CopyAction, &data, Qt::NoButton, Qt::ShiftModifier);
    QApplication::sendEvent(c.tree.viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(dropped, u"http://www.example.com/page.htm"_s);
    EXPECT_EQ(shift, platform::vbShiftMask);
    EXPECT_EQ(target, folder);
    c.tree.Remove(folder);
    EXPECT_EQ(c.tree.DropHighlight(), nullptr);

    // A node dragged out carries what the handler put in; nothing when it put nothing.
    Node* link = c.link(u"Sites\\"_s, u"L"_s, u"http://l/"_s);
    QObject::connect(&c.tree, &TreeView::OLESetData, [&](platform::DataObject& d) {
        Node* n = c.tree.SelectedItem();
        if (n && n->Image() == 2) d.SetText(u"mtp://addURL=tag|"_s + n->Text() + "|" + n->Tag() + ".fld");
    });
    c.tree.setSelectedItem(link);
    EXPECT_EQ(c.tree.collectDragData()->GetText(), u"mtp://addURL=tag|L|http://l/.fld"_s);
    c.tree.setSelectedItem(c.root);
    EXPECT_EQ(c.tree.collectDragData()->GetText(), QString());
}

TEST(TreeView, ALargeTreeKeepsKeysAndIndicesRightThroughRemovals) {
    TreeView tree;
    tree.Add(nullptr, tvwLast, u"R\\"_s, u"R"_s);
    for (int f = 0; f < 100; ++f) {
        const QString folder = u"R\\F%1\\"_s.arg(f);
        tree.Add(u"R\\"_s, tvwChild, folder, u"F%1"_s.arg(f), 1, 4);
        for (int l = 0; l < 100; ++l) tree.Add(folder, tvwChild, folder + u"L%1\\"_s.arg(l), u"L%1"_s.arg(l), 2, 2);
    }
    ASSERT_EQ(tree.Count(), 1 + 100 * 101);
    EXPECT_EQ(tree.Item(u"R\\F57\\L3\\"_s)->Index(), 1 + 57 * 101 + 1 + 1 + 3);

    // Remove every other folder, then check every survivor by key and by index.
    for (int f = 0; f < 100; f += 2) ASSERT_TRUE(tree.Remove(u"R\\F%1\\"_s.arg(f)));
    ASSERT_EQ(tree.Count(), 1 + 50 * 101);
    int index = 2;
    for (int f = 1; f < 100; f += 2) {
        Node* folder = tree.Item(index++);
        ASSERT_EQ(folder->Text(), u"F%1"_s.arg(f));
        EXPECT_EQ(tree.Item(folder->Key()), folder);
        for (Node* leaf = folder->Child(); leaf; leaf = leaf->Next(), ++index) {
            ASSERT_EQ(leaf->Index(), index);
            EXPECT_EQ(tree.Item(index), leaf);
            EXPECT_EQ(tree.Item(leaf->Key()), leaf);
        }
    }
    EXPECT_EQ(index, tree.Count() + 1);
    EXPECT_EQ(tree.Item(u"R\\F2\\L0\\"_s), nullptr);
    tree.Clear();
    EXPECT_EQ(tree.Item(u"R\\"_s), nullptr);
    EXPECT_NE(tree.Add(nullptr, tvwLast, u"R\\"_s, u"R"_s), nullptr);
}

