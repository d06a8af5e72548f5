#include "platform/KeyCodes.h"
#include "platform/TreeImages.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"
#include "WidgetInput.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <gtest/gtest.h>

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
        root = tree.Add(nullptr, tvwLast, QStringLiteral("Sites\\"), QStringLiteral("Sites"), 1, 4);
        root->setTag(QStringLiteral("Catalog"));
    }
    Node* folder(const QString& parentKey, const QString& name) {
        return tree.Add(parentKey, tvwChild, parentKey + name + QStringLiteral("\\"), name, 1, 4);
    }
    Node* link(const QString& parentKey, const QString& title, const QString& address) {
        Node* node = tree.Add(parentKey, tvwChild, parentKey + title + QStringLiteral("\\"), title, 2, 2);
        if (node) node->setTag(address);
        return node;
    }
    // Texts of the nodes in insertion order.
    QStringList byIndex() const {
        QStringList out;
        for (int i = 1; i <= tree.Count(); ++i) out << tree.Item(i)->Text();
        return out;
    }
    // Texts of a node's children as displayed.
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
    Node* news = c.folder(QStringLiteral("Sites\\"), QStringLiteral("News"));
    ASSERT_NE(news, nullptr);
    c.link(QStringLiteral("Sites\\News\\"), QStringLiteral("Untitled"), QStringLiteral("http://a.example/"));

    Node* again = c.link(QStringLiteral("Sites\\News\\"), QStringLiteral("Untitled"), QStringLiteral("http://b.example/"));
    EXPECT_EQ(again, nullptr);
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeKeyNotUnique);
    EXPECT_EQ(c.tree.LastError().Description, QStringLiteral("Key is not unique in collection"));
    EXPECT_EQ(c.tree.Count(), 3);
    EXPECT_EQ(news->Children(), 1);
    EXPECT_EQ(c.tree.Item(QStringLiteral("Sites\\News\\Untitled\\"))->Tag(), QStringLiteral("http://a.example/"));
    EXPECT_EQ(c.tree.topLevelItemCount(), 1);

    // Keys compare exactly: another case is another key.
    EXPECT_NE(c.folder(QStringLiteral("Sites\\"), QStringLiteral("news")), nullptr);
    EXPECT_FALSE(c.tree.LastError());

    // A missing parent is its own failure.
    EXPECT_EQ(c.folder(QStringLiteral("Sites\\Gone\\"), QStringLiteral("x")), nullptr);
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeElementNotFound);
    EXPECT_EQ(c.tree.Add(99, tvwChild, QStringLiteral("k"), QStringLiteral("t")), nullptr);
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeIndexOutOfBounds);
    EXPECT_EQ(c.tree.Count(), 4);

    // Renaming to a taken key fails and keeps the old one.
    EXPECT_FALSE(news->setKey(QStringLiteral("Sites\\")));
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeKeyNotUnique);
    EXPECT_EQ(c.tree.Item(QStringLiteral("Sites\\News\\")), news);
    EXPECT_EQ(c.tree.Item(QStringLiteral("Sites\\")), c.root);
    EXPECT_TRUE(news->setKey(QStringLiteral("News\\Untitled\\")));
    EXPECT_EQ(c.tree.Item(QStringLiteral("News\\Untitled\\")), news);
    EXPECT_EQ(c.tree.Item(QStringLiteral("Sites\\News\\")), nullptr);
    // Nodes without a key are fine, as many as wanted.
    EXPECT_NE(c.tree.Add(c.root, tvwChild, QString(), QStringLiteral("a")), nullptr);
    EXPECT_NE(c.tree.Add(c.root, tvwChild, QString(), QStringLiteral("b")), nullptr);
    EXPECT_EQ(c.tree.Item(QString()), nullptr);
}

TEST(TreeView, FullPathJoinsTheTextsFromTheTop) {
    Catalogue c;
    c.folder(QStringLiteral("Sites\\"), QStringLiteral("Main Catalog Topics"));
    Node* leaf = c.link(QStringLiteral("Sites\\Main Catalog Topics\\"), QStringLiteral("Cats"),
                        QStringLiteral("http://c.example/"));
    EXPECT_EQ(leaf->FullPath(), QStringLiteral("Sites\\Main Catalog Topics\\Cats"));
    EXPECT_EQ(c.root->FullPath(), QStringLiteral("Sites"));
    c.tree.setPathSeparator(QStringLiteral("|"));
    EXPECT_EQ(leaf->FullPath(), QStringLiteral("Sites|Main Catalog Topics|Cats"));
    EXPECT_EQ(leaf->Root(), c.root);
    EXPECT_EQ(c.root->Root(), c.root);
    EXPECT_EQ(c.root->Parent(), nullptr);
}

TEST(TreeView, RemovingASubtreeForgetsItsKeysAndShiftsLaterIndices) {
    Catalogue c;
    c.folder(QStringLiteral("Sites\\"), QStringLiteral("A"));
    c.folder(QStringLiteral("Sites\\"), QStringLiteral("B"));
    c.link(QStringLiteral("Sites\\A\\"), QStringLiteral("a1"), QStringLiteral("http://a1/"));
    c.folder(QStringLiteral("Sites\\A\\"), QStringLiteral("deep"));
    c.link(QStringLiteral("Sites\\A\\deep\\"), QStringLiteral("a2"), QStringLiteral("http://a2/"));
    Node* b1 = c.link(QStringLiteral("Sites\\B\\"), QStringLiteral("b1"), QStringLiteral("http://b1/"));
    platform::NodeRef deepRef(c.tree.Item(QStringLiteral("Sites\\A\\deep\\")));
    platform::NodeRef b1Ref(b1);
    EXPECT_EQ(b1->Index(), 7);

    EXPECT_TRUE(c.tree.Remove(QStringLiteral("Sites\\A\\")));
    EXPECT_EQ(c.tree.Count(), 3);
    EXPECT_EQ(c.byIndex(), QStringList({"Sites", "B", "b1"}));
    EXPECT_EQ(b1->Index(), 3);
    EXPECT_EQ(c.tree.Item(3), b1);
    for (const char* gone : {"Sites\\A\\", "Sites\\A\\a1\\", "Sites\\A\\deep\\", "Sites\\A\\deep\\a2\\"})
        EXPECT_EQ(c.tree.Item(QString::fromUtf8(gone)), nullptr) << gone;
    EXPECT_EQ(c.tree.Item(QStringLiteral("Sites\\B\\b1\\")), b1);
    EXPECT_FALSE(deepRef);
    EXPECT_EQ(b1Ref.get(), b1);
    EXPECT_EQ(c.children(c.root), QStringList({"B"}));

    // The keys are free again.
    EXPECT_NE(c.folder(QStringLiteral("Sites\\"), QStringLiteral("A")), nullptr);
    EXPECT_EQ(c.tree.Item(4)->Text(), QStringLiteral("A"));

    EXPECT_FALSE(c.tree.Remove(QStringLiteral("Sites\\A\\a1\\")));
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeElementNotFound);
    EXPECT_FALSE(c.tree.Remove(0));
    EXPECT_TRUE(c.tree.Remove(1));
    EXPECT_EQ(c.tree.Count(), 0);
    EXPECT_EQ(c.tree.Item(QStringLiteral("Sites\\B\\b1\\")), nullptr);
    EXPECT_EQ(c.tree.topLevelItemCount(), 0);
}

TEST(TreeView, RelationshipsPlaceNodesAndIndicesKeepTheirOrder) {
    Catalogue c;
    Node* b = c.tree.Add(c.root, tvwChild, QStringLiteral("b"), QStringLiteral("b"));
    Node* d = c.tree.Add(b, tvwNext, QStringLiteral("d"), QStringLiteral("d"));
    Node* a = c.tree.Add(b, tvwFirst, QStringLiteral("a"), QStringLiteral("a"));
    Node* cc = c.tree.Add(QStringLiteral("d"), tvwPrevious, QStringLiteral("c"), QStringLiteral("c"));
    Node* e = c.tree.Add(a, tvwLast, QStringLiteral("e"), QStringLiteral("e"));
    Node* top = c.tree.Add(nullptr, tvwChild, QStringLiteral("other\\"), QStringLiteral("other"));

    EXPECT_EQ(c.children(c.root), QStringList({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(c.byIndex(), QStringList({"Sites", "b", "d", "a", "c", "e", "other"}));
    EXPECT_EQ(c.root->Children(), 5);
    EXPECT_EQ(c.root->Child(), a);
    EXPECT_EQ(cc->Previous(), b);
    EXPECT_EQ(cc->Next(), d);
    EXPECT_EQ(a->Previous(), nullptr);
    EXPECT_EQ(e->Next(), nullptr);
    EXPECT_EQ(d->FirstSibling(), a);
    EXPECT_EQ(b->LastSibling(), e);
    EXPECT_EQ(e->Parent(), c.root);
    EXPECT_EQ(c.root->Next(), top);
    EXPECT_EQ(top->Parent(), nullptr);
    EXPECT_EQ(cc->Index(), 5);
    EXPECT_EQ(c.tree.Item(5), cc);

    // Sorting a parent's children changes the display only.
    Node* z = c.tree.Add(a, tvwFirst, QStringLiteral("Z"), QStringLiteral("Z"));
    c.root->setSorted(true);
    EXPECT_EQ(c.children(c.root), QStringList({"a", "b", "c", "d", "e", "Z"}));
    c.tree.Add(c.root, tvwChild, QStringLiteral("C2"), QStringLiteral("C"));
    EXPECT_EQ(c.children(c.root), QStringList({"a", "b", "c", "C", "d", "e", "Z"}));
    EXPECT_EQ(z->Index(), 8);
    EXPECT_EQ(z->Previous(), e);
}

TEST(TreeView, MovingANodeTakesItsSubtreeAndKeepsKeysIndicesAndState) {
    Catalogue c;
    Node* a = c.folder(QStringLiteral("Sites\\"), QStringLiteral("A"));
    Node* b = c.folder(QStringLiteral("Sites\\"), QStringLiteral("B"));
    Node* inner = c.folder(QStringLiteral("Sites\\A\\"), QStringLiteral("inner"));
    Node* leaf = c.link(QStringLiteral("Sites\\A\\inner\\"), QStringLiteral("leaf"), QStringLiteral("http://l/"));
    c.show();
    a->setExpanded(true);
    inner->setExpanded(true);
    c.tree.setSelectedItem(leaf);

    EXPECT_TRUE(a->setParent(b));
    EXPECT_EQ(a->Parent(), b);
    EXPECT_EQ(leaf->FullPath(), QStringLiteral("Sites\\B\\A\\inner\\leaf"));
    EXPECT_EQ(c.tree.Item(QStringLiteral("Sites\\A\\inner\\leaf\\")), leaf);  // keys stay as they were
    EXPECT_EQ(leaf->Index(), 5);
    EXPECT_TRUE(a->Expanded());
    EXPECT_TRUE(inner->Expanded());
    EXPECT_EQ(c.tree.SelectedItem(), leaf);
    EXPECT_EQ(c.children(c.root), QStringList({"B"}));

    // A node cannot go below itself.
    EXPECT_FALSE(b->setParent(inner));
    EXPECT_EQ(c.tree.LastError().Number, platform::kTreeInvalidParent);
    EXPECT_EQ(b->Parent(), c.root);
    EXPECT_FALSE(b->setParent(b));

    // To the top level and back.
    EXPECT_TRUE(inner->setParent(nullptr));
    EXPECT_EQ(inner->Parent(), nullptr);
    EXPECT_EQ(inner->Root(), inner);
    EXPECT_TRUE(inner->setParent(c.root));
    EXPECT_EQ(c.children(c.root), QStringList({"B", "inner"}));
}

TEST(TreeView, HitTestFindsTheNodeUnderTwips) {
    Catalogue c;
    Node* a = c.folder(QStringLiteral("Sites\\"), QStringLiteral("A"));
    Node* b = c.folder(QStringLiteral("Sites\\"), QStringLiteral("B"));
    c.root->setExpanded(true);
    c.show();
    const QPoint at = c.centreTwips(b);
    EXPECT_EQ(c.tree.HitTest(at.x(), at.y()), b);
    EXPECT_EQ(c.tree.HitTest(c.centreTwips(a).x(), c.centreTwips(a).y()), a);
    EXPECT_EQ(c.tree.HitTest(at.x(), platform::pixelsToTwips(390)), nullptr);
    EXPECT_EQ(c.tree.HitTest(-100, -100), nullptr);
}

TEST(TreeView, LabelEditsAskBeforeAndAfterAndCanBeCancelled) {
    Catalogue c;
    Node* folder = c.folder(QStringLiteral("Sites\\"), QStringLiteral("New Folder"));
    c.tree.setLabelEdit(platform::tvwManual);
    c.show();
    int before = 0;
    int cancelBefore = 0;
    int cancelAfter = 0;
    QStringList afters;
    bool abandoned = false;
    QObject::connect(&c.tree, &TreeView::BeforeLabelEdit, [&](int& cancel) {
        ++before;
        cancel = cancelBefore;
    });
    QObject::connect(&c.tree, &TreeView::AfterLabelEdit, [&](int& cancel, QString& text) {
        afters << text;
        abandoned = text.isNull();
        cancel = cancelAfter;
    });

    EXPECT_FALSE(c.tree.StartLabelEdit());  // nothing selected
    EXPECT_EQ(before, 0);

    // Started from code, the edit still raises BeforeLabelEdit, which may refuse it.
    c.tree.setSelectedItem(folder);
    cancelBefore = 1;
    EXPECT_FALSE(c.tree.StartLabelEdit());
    EXPECT_EQ(before, 1);
    EXPECT_FALSE(c.tree.IsLabelEditing());

    cancelBefore = 0;
    ASSERT_TRUE(c.tree.StartLabelEdit());
    EXPECT_TRUE(c.tree.IsLabelEditing());
    QLineEdit* editor = openEditor(c.tree);
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Pets"));
    widget_input::key(editor, Qt::Key_Return);
    QApplication::processEvents();  // the editor commits once control returns to the loop
    EXPECT_EQ(afters, QStringList({"Pets"}));
    EXPECT_EQ(folder->Text(), QStringLiteral("Pets"));
    EXPECT_EQ(folder->Key(), QStringLiteral("Sites\\New Folder\\"));  // the handler decides about keys
    EXPECT_FALSE(c.tree.IsLabelEditing());

    // The handler's Cancel keeps the old text.
    cancelAfter = 1;
    ASSERT_TRUE(c.tree.StartLabelEdit());
    openEditor(c.tree)->setText(QStringLiteral("Dogs"));
    c.tree.EndLabelEdit();
    EXPECT_EQ(afters.last(), QStringLiteral("Dogs"));
    EXPECT_EQ(folder->Text(), QStringLiteral("Pets"));

    // Escape abandons the edit: AfterLabelEdit hears of it with no text.
    cancelAfter = 0;
    ASSERT_TRUE(c.tree.StartLabelEdit());
    editor = openEditor(c.tree);
    editor->setText(QStringLiteral("Birds"));
    widget_input::key(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(abandoned);
    EXPECT_EQ(afters.last(), QString());
    EXPECT_FALSE(c.tree.IsLabelEditing());
    EXPECT_EQ(folder->Text(), QStringLiteral("Pets"));

    // Ending an edit from code commits what the editor holds; an emptied label is
    // refused and the node keeps its text.
    ASSERT_TRUE(c.tree.StartLabelEdit());
    c.tree.EndLabelEdit();
    EXPECT_EQ(afters.last(), QStringLiteral("Pets"));
    ASSERT_TRUE(c.tree.StartLabelEdit());
    openEditor(c.tree)->clear();
    c.tree.EndLabelEdit();
    EXPECT_FALSE(abandoned);
    EXPECT_EQ(afters.last(), QString(""));
    EXPECT_EQ(folder->Text(), QStringLiteral("Pets"));

    // Removing the node being edited closes the editor without a word.
    const int aftersBefore = static_cast<int>(afters.size());
    ASSERT_TRUE(c.tree.StartLabelEdit());
    c.tree.Remove(folder);
    EXPECT_FALSE(c.tree.IsLabelEditing());
    EXPECT_EQ(afters.size(), aftersBefore);
}

TEST(TreeView, AutomaticLabelEditStartsWithF2) {
    Catalogue c;
    c.show();
    int before = 0;
    QObject::connect(&c.tree, &TreeView::BeforeLabelEdit, [&](int&) { ++before; });
    c.tree.setSelectedItem(c.root);
    widget_input::key(&c.tree, Qt::Key_F2);
    EXPECT_EQ(before, 1);
    EXPECT_TRUE(c.tree.IsLabelEditing());
    c.tree.EndLabelEdit(true);

    c.tree.setLabelEdit(platform::tvwManual);
    widget_input::key(&c.tree, Qt::Key_F2);
    EXPECT_EQ(before, 1);
    EXPECT_FALSE(c.tree.IsLabelEditing());
}

TEST(TreeView, NodeClickComesFromTheMouseOnlyAndNotFromTheExpandBox) {
    Catalogue c;
    Node* folder = c.folder(QStringLiteral("Sites\\"), QStringLiteral("A"));
    c.link(QStringLiteral("Sites\\A\\"), QStringLiteral("x"), QStringLiteral("http://x/"));
    c.root->setExpanded(true);
    c.show();
    QList<Node*> clicked;
    QStringList order;
    QObject::connect(&c.tree, &TreeView::NodeClick, [&](Node* n) {
        clicked << n;
        order << QStringLiteral("node");
    });
    QObject::connect(&c.tree, &TreeView::MouseDown, [&](int, int, int, int) { order << QStringLiteral("down"); });
    QObject::connect(&c.tree, &TreeView::MouseUp, [&](int, int, int, int) { order << QStringLiteral("up"); });

    c.tree.setSelectedItem(folder);
    EXPECT_TRUE(clicked.isEmpty());

    widget_input::click(c.tree.viewport(), Qt::LeftButton, {}, c.pixelOf(folder));
    EXPECT_EQ(clicked, QList<Node*>({folder}));
    EXPECT_EQ(order, QStringList({"down", "up", "node"}));

    // The expand box sits left of the node's own rectangle.
    const QPoint box(c.pixelOf(folder).x() - c.tree.visualItemRect(c.tree.topLevelItem(0)->child(0)).width() / 2 -
                         c.tree.indentation() / 2,
                     c.pixelOf(folder).y());
    const bool wasExpanded = folder->Expanded();
    widget_input::click(c.tree.viewport(), Qt::LeftButton, {}, box);
    EXPECT_EQ(clicked.size(), 1);
    EXPECT_NE(folder->Expanded(), wasExpanded);
}

TEST(TreeView, EnsureVisibleOpensTheFoldersAboveAndScrolls) {
    Catalogue c;
    c.tree.resize(200, 120);
    Node* parent = c.root;
    QString key = QStringLiteral("Sites\\");
    for (int i = 0; i < 40; ++i) c.link(key, QStringLiteral("filler %1").arg(i), QStringLiteral("http://f/"));
    for (const char* name : {"one", "two", "three"}) {
        parent = c.folder(key, QString::fromUtf8(name));
        key += QString::fromUtf8(name) + QStringLiteral("\\");
    }
    Node* deep = c.link(key, QStringLiteral("deep"), QStringLiteral("http://d/"));
    c.show();
    EXPECT_FALSE(parent->Expanded());
    deep->EnsureVisible();
    EXPECT_TRUE(parent->Expanded());
    EXPECT_TRUE(c.root->Expanded());
    QApplication::processEvents();  // the scroll waits for the event loop
    const QPoint at = c.centreTwips(deep);
    EXPECT_EQ(c.tree.HitTest(at.x(), at.y()), deep);  // on screen: the hit test finds it
}

TEST(TreeView, NodesAddedToAShownTreeBetweenTurnsOfTheEventLoopAllReachTheScreen) {
    Catalogue c;
    c.tree.resize(200, 150);
    c.show();
    c.root->EnsureVisible();
    // As the list loader does: children appended below the open root, each scrolled
    // to, with the event loop running every tenth line.
    for (int i = 0; i < 300; ++i) {
        Node* n = c.link(QStringLiteral("Sites\\"), QStringLiteral("n%1").arg(i, 3, 10, QChar('0')), QStringLiteral("h"));
        n->EnsureVisible();
        if (i % 10 == 9) QApplication::processEvents();
    }
    // Changes in the middle while some rows still wait for their layout.
    c.tree.Add(QStringLiteral("Sites\\n000\\"), tvwFirst, QStringLiteral("first"), QStringLiteral("first"));
    c.tree.Remove(QStringLiteral("Sites\\n150\\"));
    Node* last = c.link(QStringLiteral("Sites\\"), QStringLiteral("last"), QStringLiteral("h"));
    last->EnsureVisible();
    c.tree.Refresh();
    QApplication::processEvents();

    EXPECT_EQ(c.root->Children(), 301);
    EXPECT_EQ(c.root->Child()->Text(), QStringLiteral("first"));
    const QPoint at = c.centreTwips(last);
    EXPECT_EQ(c.tree.HitTest(at.x(), at.y()), last);  // laid out and scrolled into view
    // Walking the rows on screen from the top meets every child in order.
    c.tree.scrollToTop();
    QApplication::processEvents();
    QStringList shown;
    for (QModelIndex i = c.tree.model()->index(0, 0, c.tree.model()->index(0, 0)); i.isValid();
         i = c.tree.indexBelow(i))
        shown << i.data().toString();
    EXPECT_EQ(shown, c.children(c.root));
}

TEST(TreeView, TheSelectedImageShowsWhileSelected) {
    Catalogue c;
    Node* folder = c.folder(QStringLiteral("Sites\\"), QStringLiteral("A"));
    Node* link = c.link(QStringLiteral("Sites\\"), QStringLiteral("L"), QStringLiteral("http://l/"));
    link->setSelectedImage(0);
    auto iconKey = [&](Node* n) {
        for (QTreeWidgetItemIterator it(&c.tree); *it; ++it)
            if (c.tree.nodeFromItem(*it) == n) return (*it)->data(0, Qt::DecorationRole).value<QIcon>().cacheKey();
        return qint64(-1);
    };
    EXPECT_EQ(iconKey(folder), c.tree.Image(1).cacheKey());
    c.tree.setSelectedItem(folder);
    EXPECT_EQ(iconKey(folder), c.tree.Image(4).cacheKey());
    c.tree.setSelectedItem(link);  // no selected image: the image stays
    EXPECT_EQ(iconKey(link), c.tree.Image(2).cacheKey());
    EXPECT_EQ(iconKey(folder), c.tree.Image(1).cacheKey());
    folder->setImage(7);  // beyond the list: no icon, no failure
    EXPECT_EQ(iconKey(folder), 0);
}

TEST(TreeView, DropsReportTextShiftAndPositionAndDragsCarryTheHandlersText) {
    Catalogue c;
    Node* folder = c.folder(QStringLiteral("Sites\\"), QStringLiteral("A"));
    c.root->setExpanded(true);
    c.tree.setOLEDropMode(platform::vbOLEDropManual);
    c.tree.setOLEDragMode(platform::vbOLEDragAutomatic);
    c.show();
    QString dropped;
    int shift = -1;
    Node* target = nullptr;
    QObject::connect(&c.tree, &TreeView::OLEDragOver,
                     [&](platform::DataObject&, int&, int, int, int x, int y, int) {
                         c.tree.setDropHighlight(c.tree.HitTest(x, y));
                     });
    QObject::connect(&c.tree, &TreeView::OLEDragDrop,
                     [&](platform::DataObject& data, int&, int, int s, int, int) {
                         dropped = data.GetText();
                         shift = s;
                         target = c.tree.DropHighlight();
                     });
    QMimeData data;
    data.setText(QStringLiteral("http://www.example.com/page.htm"));
    const QPoint at = c.pixelOf(folder);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(c.tree.viewport(), &enter);
    EXPECT_EQ(c.tree.DropHighlight(), folder);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::NoButton, Qt::ShiftModifier);
    QApplication::sendEvent(c.tree.viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(dropped, QStringLiteral("http://www.example.com/page.htm"));
    EXPECT_EQ(shift, platform::vbShiftMask);
    EXPECT_EQ(target, folder);
    c.tree.Remove(folder);
    EXPECT_EQ(c.tree.DropHighlight(), nullptr);

    // A node dragged out carries what the handler put in; nothing when it put nothing.
    Node* link = c.link(QStringLiteral("Sites\\"), QStringLiteral("L"), QStringLiteral("http://l/"));
    QObject::connect(&c.tree, &TreeView::OLESetData, [&](platform::DataObject& d) {
        Node* n = c.tree.SelectedItem();
        if (n && n->Image() == 2) d.SetText(QStringLiteral("mtp://addURL=tag|") + n->Text() + "|" + n->Tag() + ".fld");
    });
    c.tree.setSelectedItem(link);
    EXPECT_EQ(c.tree.collectDragData()->GetText(), QStringLiteral("mtp://addURL=tag|L|http://l/.fld"));
    c.tree.setSelectedItem(c.root);
    EXPECT_EQ(c.tree.collectDragData()->GetText(), QString());
}

TEST(TreeView, ALargeTreeKeepsKeysAndIndicesRightThroughRemovals) {
    TreeView tree;
    tree.Add(nullptr, tvwLast, QStringLiteral("R\\"), QStringLiteral("R"));
    for (int f = 0; f < 100; ++f) {
        const QString folder = QStringLiteral("R\\F%1\\").arg(f);
        tree.Add(QStringLiteral("R\\"), tvwChild, folder, QStringLiteral("F%1").arg(f), 1, 4);
        for (int l = 0; l < 100; ++l)
            tree.Add(folder, tvwChild, folder + QStringLiteral("L%1\\").arg(l), QStringLiteral("L%1").arg(l), 2, 2);
    }
    ASSERT_EQ(tree.Count(), 1 + 100 * 101);
    EXPECT_EQ(tree.Item(QStringLiteral("R\\F57\\L3\\"))->Index(), 1 + 57 * 101 + 1 + 1 + 3);

    // Remove every other folder, then check every survivor by key and by index.
    for (int f = 0; f < 100; f += 2) ASSERT_TRUE(tree.Remove(QStringLiteral("R\\F%1\\").arg(f)));
    ASSERT_EQ(tree.Count(), 1 + 50 * 101);
    int index = 2;
    for (int f = 1; f < 100; f += 2) {
        Node* folder = tree.Item(index);
        ASSERT_EQ(folder->Text(), QStringLiteral("F%1").arg(f));
        EXPECT_EQ(tree.Item(folder->Key()), folder);
        ++index;
        for (Node* leaf = folder->Child(); leaf; leaf = leaf->Next()) {
            ASSERT_EQ(leaf->Index(), index);
            EXPECT_EQ(tree.Item(index), leaf);
            EXPECT_EQ(tree.Item(leaf->Key()), leaf);
            ++index;
        }
    }
    EXPECT_EQ(index, tree.Count() + 1);
    EXPECT_EQ(tree.Item(QStringLiteral("R\\F2\\L0\\")), nullptr);
    tree.Clear();
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(tree.Item(QStringLiteral("R\\")), nullptr);
    EXPECT_NE(tree.Add(nullptr, tvwLast, QStringLiteral("R\\"), QStringLiteral("R")), nullptr);
}

TEST(TreeView, ScrollLineMovesByWholeLines) {
    Catalogue c;
    c.tree.resize(200, 100);
    for (int i = 0; i < 50; ++i) c.link(QStringLiteral("Sites\\"), QStringLiteral("n%1").arg(i), QStringLiteral("h"));
    c.root->setExpanded(true);
    c.show();
    auto* bar = c.tree.verticalScrollBar();
    EXPECT_EQ(bar->value(), 0);
    c.tree.ScrollLine(3);
    const int down = bar->value();
    EXPECT_GT(down, 0);
    c.tree.ScrollLine(-1);
    EXPECT_LT(bar->value(), down);
    c.tree.ScrollLine(-100);
    EXPECT_EQ(bar->value(), 0);
}

TEST(TreeImages, SixDistinctImagesAndNothingElse) {
    QList<quint64> seen;
    for (int i = 1; i <= platform::kTreeImageCount; ++i) {
        const QImage image = platform::treeImage(i).pixmap(16, 16).toImage();
        ASSERT_FALSE(image.isNull()) << i;
        EXPECT_NE(image.pixelColor(8, 8).alpha(), 0) << "image " << i << " draws something in its middle";
        const quint64 sum = [&] {
            quint64 s = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) s = s * 31 + image.pixel(x, y);
            return s;
        }();
        EXPECT_FALSE(seen.contains(sum)) << "image " << i << " looks like another";
        seen << sum;
    }
    EXPECT_TRUE(platform::treeImage(0).isNull());
    EXPECT_TRUE(platform::treeImage(7).isNull());
    EXPECT_EQ(platform::treeImages().size(), platform::kTreeImageCount);
}
