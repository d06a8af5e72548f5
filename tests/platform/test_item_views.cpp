#include "platform/KeyCodes.h"
#include "platform/ListView.h"
#include "platform/TreeView.h"
#include "WidgetInput.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace platform;

namespace {

// Delivers a drag over the control's viewport and drops it there; true when the drop is taken.
bool dragAndDrop(ItemControl& control, QMimeData* data, const QPoint& pixel, Qt::KeyboardModifiers modifiers = {}) {
    QDragEnterEvent enter(pixel, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(control.viewport(), &enter);
    QDragMoveEvent move(pixel, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(control.viewport(), &move);
    QDropEvent drop(pixel, Qt::CopyAction | Qt::MoveAction, data, Qt::NoButton, modifiers);
    QCoreApplication::sendEvent(control.viewport(), &drop);
    return drop.isAccepted();
}

// A metadata panel as the main window sets it up: four columns, widths in twips.
struct Panel {
    ListView list;
    explicit Panel(const QStringList& lines = {}) {
        for (const auto& [caption, width] :
             {std::pair{u"Name"_s, 1400}, {u"Content"_s, 3200}, {u"Lang"_s, 400}, {u"Scheme"_s, 1400}})
            list.addColumnHeader(caption, width);
        list.setFullRowSelect(true);
        list.resize(500, 300);
        for (const QString& name : lines) list.Add(0, name);
    }
    QStringList names() const {  // in index order
        QStringList out;
        for (int i = 1; i <= list.Count(); ++i) out << list.Item(i)->Text();
        return out;
    }
    QStringList shown() const {  // top to bottom
        QStringList out;
        for (int i = 1; i <= list.Count(); ++i) out << list.ItemAtDisplayPosition(i)->Text();
        return out;
    }
};

}  // namespace

TEST(ListView, IndicesStayInInsertionOrderWhileTheDisplayIsSorted) {
    Panel p({u"DC.Title"_s, u"dc.creator"_s, u"AGLS.Function"_s});
    for (const auto& [i, content] : {std::pair{1, u"zebra"_s}, {2, u"Ann"_s}, {3, u"middle"_s}})
        p.list.Item(i)->setSubItems(1, content);
    ListItem* title = p.list.Item(1);
    // A column click sorts once: Sorted on, key set, Sorted off.
    p.list.setSorted(true);
    p.list.setSortKey(1);
    p.list.setSorted(false);
    EXPECT_EQ(p.shown(), QStringList({"dc.creator", "AGLS.Function", "DC.Title"}));
    EXPECT_EQ(p.names(), QStringList({"DC.Title", "dc.creator", "AGLS.Function"}));
    EXPECT_EQ(title->Index(), 1);
    EXPECT_EQ(p.list.DisplayPosition(title), 3);
    // Text sort ignores case; descending reverses it.
    p.list.setSortKey(0);
    p.list.setSorted(true);
    EXPECT_EQ(p.shown(), QStringList({"AGLS.Function", "dc.creator", "DC.Title"}));
    p.list.setSortOrder(lvwDescending);
    EXPECT_EQ(p.shown(), QStringList({"DC.Title", "dc.creator", "AGLS.Function"}));
    // While sorted, a new line goes where the sort puts it; after, at the end.
    p.list.setSortOrder(lvwAscending);
    p.list.Add(0, u"DC.Date"_s);
    EXPECT_EQ(p.shown(), QStringList({"AGLS.Function", "dc.creator", "DC.Date", "DC.Title"}));
    p.list.setSorted(false);
    p.list.Add(0, u"AAA"_s);
    EXPECT_EQ(p.shown().last(), u"AAA"_s);
    // Inserting at an index shows the new line just above the one it displaced.
    ListItem* x = p.list.Add(1, u"x"_s);
    EXPECT_EQ(p.names(), QStringList({"x", "DC.Title", "dc.creator", "AGLS.Function", "DC.Date", "AAA"}));
    EXPECT_EQ(p.list.DisplayPosition(x), p.list.DisplayPosition(title) - 1);
    EXPECT_EQ(p.list.Add(99, u"tail"_s)->Index(), 7);  // out of range: at the end
}

TEST(ListView, RemovingShiftsLaterIndicesAndForgetsTheLine) {
    Panel p({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s});
    ListItem* five = p.list.Item(5);
    ListItemRef gone(p.list.Item(2)), kept(five);
    EXPECT_TRUE(p.list.Remove(2));
    EXPECT_EQ(p.names(), QStringList({"1", "3", "4", "5", "6"}));
    EXPECT_EQ(five->Index(), 4);
    EXPECT_FALSE(gone);
    EXPECT_EQ(kept.get(), five);
    EXPECT_FALSE(p.list.Remove(0) || p.list.Remove(6) || p.list.Remove(nullptr));
    // Removing every selected line from the last to the first leaves the rest in order.
    p.list.setMultiSelect(true);
    for (int i : {1, 3, 5}) p.list.Item(i)->setSelected(true);
    for (int i = p.list.Count(); i >= 1; --i)
        if (p.list.Item(i)->Selected()) p.list.Remove(i);
    EXPECT_EQ(p.names(), QStringList({"3", "5"}));
    p.list.Clear();
    EXPECT_EQ(p.list.topLevelItemCount(), 0);
    EXPECT_FALSE(kept);
    EXPECT_EQ(p.list.SelectedItem(), nullptr);
}

TEST(ListView, ColumnsKeepTheirTwipWidthsAndTheScreenGetsWholePixels) {
    Panel p;
    EXPECT_EQ(p.list.ColumnHeaders(1)->Width(), 1400);
    EXPECT_EQ(p.list.header()->sectionSize(0), 93);  // 93.33
    EXPECT_EQ(p.list.header()->sectionSize(2), 27);  // 26.67
    p.list.header()->resizeSection(2, 40);           // a border the user drags is read back in twips
    EXPECT_EQ(p.list.ColumnHeaders(3)->Width(), 600);
    EXPECT_EQ(p.list.ColumnHeaders(5), nullptr);
}

TEST(ListView, DropsHandTextOrFilesAndTheLineUnderThePointer) {
    Panel p({u"DC.Title"_s, u"RelatesTo"_s});
    ListItem* relates = p.list.Item(2);
    p.list.setOLEDropMode(vbOLEDropManual);
    widget_input::showAndWait(&p.list);
    QList<int> states;
    QString dropText;
    QStringList files;
    QPoint at;
    int shift = -1;
    QObject::connect(&p.list, &ListView::OLEDragOver,
                     [&](DataObject&, int&, int, int, int, int, int state) { states << state; });
    QObject::connect(&p.list, &ListView::OLEDragDrop, [&](DataObject& data, int&, int, int s, int x, int y) {
        dropText = data.GetText();
        files = data.Files();
        at = QPoint(x, y);
        shift = s;
    });
    const QPoint pixel = p.list.visualItemRect(p.list.topLevelItem(1)).center();
    QMimeData text;
    text.setText(u"x|http://a.example/|y"_s);
    EXPECT_TRUE(dragAndDrop(p.list, &text, pixel, Qt::ShiftModifier));
    EXPECT_EQ(states, QList<int>({vbEnter, vbOver}));
    EXPECT_EQ(dropText, u"x|http://a.example/|y"_s);
    EXPECT_EQ(shift, vbShiftMask);
    EXPECT_EQ(p.list.HitTest(at.x(), at.y()), relates);
    // Files from a file manager come with their addresses as text too: they count as files only.
    QMimeData urls;
    urls.setUrls({QUrl::fromLocalFile(u"/tmp/one page.htm"_s), QUrl::fromLocalFile(u"/tmp/two.kqi"_s)});
    urls.setText(u"file:///tmp/one%20page.htm\nfile:///tmp/two.kqi"_s);
    EXPECT_TRUE(dragAndDrop(p.list, &urls, pixel));
    EXPECT_EQ(dropText, QString());
    EXPECT_EQ(files, QStringList({"/tmp/one page.htm", "/tmp/two.kqi"}));
    p.list.setOLEDropMode(vbOLEDropNone);  // switched off: nothing is raised
    states.clear();
    dragAndDrop(p.list, &text, pixel);
    EXPECT_TRUE(states.isEmpty());
}

// The handlers tell keys apart by these numbers; a shifted symbol counts as its key.
TEST(KeyCodes, KeysAndShiftStatesAsTheHandlersNumberThem) {
    EXPECT_EQ(vbKeyCode(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(vbKeyCode(Qt::Key_Exclam, Qt::ShiftModifier), 49);
    EXPECT_EQ(vbKeyCode(Qt::Key_Adiaeresis, {}), 0);
    EXPECT_EQ(vbShiftState(Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier), 6);
}

namespace {

// A catalogue as the list loader builds it: nodes keyed by their path of names, each ending in "\".
struct Catalogue {
    TreeView tree;
    Node* root = tree.Add(nullptr, tvwLast, u"Sites\\"_s, u"Sites"_s, 1, 4);
    Catalogue() { tree.resize(300, 400); }
    Node* add(const QString& parentKey, const QString& name, const QString& tag = {}) {
        Node* node = tree.Add(parentKey, tvwChild, parentKey + name + u"\\"_s, name, tag.isEmpty() ? 1 : 2, 2);
        if (node) node->setTag(tag);
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
    QPoint pixelOf(const Node* node) {
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if (tree.nodeFromItem(*it) == node) return tree.visualItemRect(*it).center();
        return {};
    }
    // The node a hit test finds at the centre of this one, asked in twips as the handlers do.
    Node* hit(const Node* node) {
        const QPoint twips = tree.twipsFromViewportPoint(pixelOf(node));
        return tree.HitTest(twips.x(), twips.y());
    }
};

}  // namespace

TEST(TreeView, KeysAreUniqueAndRemovingASubtreeFreesThemAndShiftsIndices) {
    Catalogue c;
    Node* a = c.add(u"Sites\\"_s, u"A"_s);
    c.add(u"Sites\\"_s, u"B"_s);
    c.add(u"Sites\\A\\"_s, u"a1"_s, u"http://a.example/"_s);
    NodeRef deep(c.add(u"Sites\\A\\"_s, u"deep"_s));
    c.add(u"Sites\\A\\deep\\"_s, u"a2"_s);
    Node* b1 = c.add(u"Sites\\B\\"_s, u"b1"_s);
    EXPECT_EQ(c.add(u"Sites\\A\\"_s, u"a1"_s, u"http://b.example/"_s), nullptr);
    EXPECT_EQ(c.tree.LastError().Number, kTreeKeyNotUnique);
    EXPECT_EQ(c.tree.Item(u"Sites\\A\\a1\\"_s)->Tag(), u"http://a.example/"_s);
    EXPECT_EQ(c.tree.Count(), 7);
    EXPECT_NE(c.add(u"Sites\\"_s, u"b"_s), nullptr);  // keys compare exactly
    EXPECT_EQ(c.add(u"Sites\\Gone\\"_s, u"x"_s), nullptr);
    EXPECT_EQ(c.tree.LastError().Number, kTreeElementNotFound);
    EXPECT_EQ(c.tree.Add(99, tvwChild, u"k"_s, u"t"_s), nullptr);
    EXPECT_EQ(c.tree.LastError().Number, kTreeIndexOutOfBounds);
    EXPECT_FALSE(a->setKey(u"Sites\\"_s));  // a taken key keeps the old one
    EXPECT_EQ(c.tree.Item(u"Sites\\A\\"_s), a);
    EXPECT_NE(c.tree.Add(c.root, tvwChild, QString(), u"k1"_s), nullptr);  // as many without a key as wanted
    EXPECT_NE(c.tree.Add(c.root, tvwChild, QString(), u"k2"_s), nullptr);

    EXPECT_EQ(b1->Index(), 7);
    EXPECT_TRUE(c.tree.Remove(u"Sites\\A\\"_s));
    EXPECT_EQ(c.byIndex(), QStringList({"Sites", "B", "b1", "b", "k1", "k2"}));
    EXPECT_EQ(b1->Index(), 3);
    EXPECT_EQ(c.tree.Item(3), b1);
    EXPECT_FALSE(deep);
    for (const char* gone : {"Sites\\A\\", "Sites\\A\\a1\\", "Sites\\A\\deep\\a2\\"})
        EXPECT_EQ(c.tree.Item(QString::fromUtf8(gone)), nullptr) << gone;
    EXPECT_NE(c.add(u"Sites\\"_s, u"A"_s), nullptr);  // the keys are free again
    EXPECT_FALSE(c.tree.Remove(u"Sites\\A\\a1\\"_s));
    EXPECT_TRUE(c.tree.Remove(1));
    EXPECT_EQ(c.tree.Count(), 0);
    EXPECT_EQ(c.tree.Item(u"Sites\\B\\b1\\"_s), nullptr);
    EXPECT_EQ(c.tree.topLevelItemCount(), 0);
}

TEST(TreeView, RelationshipsPlaceNodesAndMovesTakeTheirSubtreeKeepingKeysAndState) {
    Catalogue c;
    Node* b = c.tree.Add(c.root, tvwChild, u"b"_s, u"b"_s);
    Node* d = c.tree.Add(b, tvwNext, u"d"_s, u"d"_s);
    Node* a = c.tree.Add(b, tvwFirst, u"a"_s, u"a"_s);
    Node* cc = c.tree.Add(u"d"_s, tvwPrevious, u"c"_s, u"c"_s);
    c.tree.Add(a, tvwLast, u"e"_s, u"e"_s);
    EXPECT_EQ(c.children(c.root), QStringList({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(c.byIndex(), QStringList({"Sites", "b", "d", "a", "c", "e"}));
    EXPECT_EQ(cc->Previous(), b);
    EXPECT_EQ(cc->Next(), d);
    c.root->setSorted(true);  // sorting changes the display only
    c.tree.Add(a, tvwFirst, u"Z"_s, u"Z"_s);
    EXPECT_EQ(c.children(c.root), QStringList({"a", "b", "c", "d", "e", "Z"}));
    EXPECT_EQ(c.tree.Item(7)->Text(), u"Z"_s);

    Node* inner = c.tree.Add(a, tvwChild, u"inner"_s, u"inner"_s);
    Node* leaf = c.tree.Add(inner, tvwChild, u"leaf"_s, u"leaf"_s);
    widget_input::showAndWait(&c.tree);
    a->setExpanded(true);
    inner->setExpanded(true);
    c.tree.setSelectedItem(leaf);
    EXPECT_TRUE(a->setParent(b));
    c.tree.setPathSeparator(u"|"_s);
    EXPECT_EQ(leaf->FullPath(), u"Sites|b|a|inner|leaf"_s);
    EXPECT_EQ(c.tree.Item(u"leaf"_s), leaf);
    EXPECT_EQ(leaf->Index(), 9);
    EXPECT_TRUE(a->Expanded() && inner->Expanded());
    EXPECT_EQ(c.tree.SelectedItem(), leaf);
    EXPECT_FALSE(b->setParent(inner));  // not below itself
    EXPECT_EQ(c.tree.LastError().Number, kTreeInvalidParent);
    EXPECT_EQ(b->Parent(), c.root);
    EXPECT_TRUE(inner->setParent(nullptr));
    EXPECT_EQ(inner->Root(), inner);
}

TEST(TreeView, LabelEditsAskBeforeAndAfterAndCanBeCancelled) {
    Catalogue c;
    Node* folder = c.add(u"Sites\\"_s, u"New Folder"_s);
    c.tree.setLabelEdit(tvwManual);
    widget_input::showAndWait(&c.tree);
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
        QLineEdit* editor = nullptr;  // earlier editors may still await deletion
        for (QLineEdit* e : c.tree.findChildren<QLineEdit*>()) editor = e->isVisible() ? e : editor;
        ASSERT_NE(editor, nullptr);
        if (!text.isNull()) editor->setText(text);
        key ? widget_input::key(editor, key) : c.tree.EndLabelEdit();
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
    cancelAfter = 1;
    edit(u"Dogs"_s);  // the handler's Cancel keeps the old text
    cancelAfter = 0;
    edit(u"Birds"_s, Qt::Key_Escape);  // abandoned: heard of with no text
    edit(QString());                   // ended from code: what the editor holds
    edit(u""_s);                       // an emptied label is refused
    EXPECT_EQ(afters, QStringList({"Pets", "Dogs", "<abandoned>", "Pets", ""}));
    EXPECT_EQ(folder->Text(), u"Pets"_s);
    ASSERT_TRUE(c.tree.StartLabelEdit());  // removing the node being edited closes the editor without a word
    c.tree.Remove(folder);
    EXPECT_FALSE(c.tree.IsLabelEditing());
    EXPECT_EQ(afters.size(), 5);
}

TEST(TreeView, NodesAddedToAShownTreeBetweenTurnsOfTheEventLoopAllReachTheScreen) {
    Catalogue c;
    c.tree.resize(200, 150);
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
    // A node deep in closed folders is opened up to and scrolled to.
    Node* folder = c.add(u"Sites\\n299\\"_s, u"x"_s);
    Node* deep = c.add(u"Sites\\n299\\x\\"_s, u"deep"_s, u"h"_s);
    deep->EnsureVisible();
    EXPECT_TRUE(folder->Expanded());
    QApplication::processEvents();
    EXPECT_EQ(c.hit(deep), deep);
    EXPECT_EQ(c.tree.HitTest(-100, -100), nullptr);
}

TEST(TreeView, DropsMarkTheNodeUnderThePointerAndDragsCarryTheHandlersText) {
    Catalogue c;
    Node* folder = c.add(u"Sites\\"_s, u"A"_s);
    c.root->setExpanded(true);
    c.tree.setOLEDropMode(vbOLEDropManual);
    widget_input::showAndWait(&c.tree);
    Node* target = nullptr;
    QObject::connect(&c.tree, &TreeView::OLEDragOver, [&](DataObject&, int&, int, int, int x, int y, int) {
        c.tree.setDropHighlight(c.tree.HitTest(x, y));
    });
    QObject::connect(&c.tree, &TreeView::OLEDragDrop,
                     [&](DataObject&, int&, int, int, int, int) { target = c.tree.DropHighlight(); });
    QMimeData data;
    data.setText(u"http://www.example.com/page.htm"_s);
    EXPECT_TRUE(dragAndDrop(c.tree, &data, c.pixelOf(folder)));
    EXPECT_EQ(target, folder);
    c.tree.Remove(folder);
    EXPECT_EQ(c.tree.DropHighlight(), nullptr);

    Node* link = c.add(u"Sites\\"_s, u"L"_s, u"http://l/"_s);
    QObject::connect(&c.tree, &TreeView::OLESetData, [&](DataObject& d) {
        Node* n = c.tree.SelectedItem();
        if (n && n->Image() == 2) d.SetText(u"mtp://addURL=tag|"_s + n->Text() + "|" + n->Tag() + ".fld");
    });
    c.tree.setSelectedItem(link);
    EXPECT_EQ(c.tree.collectDragData()->GetText(), u"mtp://addURL=tag|L|http://l/.fld"_s);
    c.tree.setSelectedItem(c.root);
    EXPECT_EQ(c.tree.collectDragData()->GetText(), QString());  // nothing when the handler put nothing
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
    for (int f = 0; f < 100; f += 2) ASSERT_TRUE(tree.Remove(u"R\\F%1\\"_s.arg(f)));
    ASSERT_EQ(tree.Count(), 1 + 50 * 101);
    int index = 2;  // every survivor checked by key and by index
    for (int f = 1; f < 100; f += 2) {
        Node* folder = tree.Item(index++);
        ASSERT_EQ(folder->Text(), u"F%1"_s.arg(f));
        EXPECT_EQ(tree.Item(folder->Key()), folder);
        for (Node* leaf = folder->Child(); leaf; leaf = leaf->Next(), ++index) {
            ASSERT_EQ(leaf->Index(), index);
            EXPECT_EQ(tree.Item(leaf->Key()), leaf);
        }
    }
    EXPECT_EQ(index, tree.Count() + 1);
    EXPECT_EQ(tree.Item(u"R\\F2\\L0\\"_s), nullptr);
}
