// The hierarchy pane over a list tree, driven as the user drives it: clicks, keys, label edits
// and drags with real mime data. The pane changes nothing by itself but a committed label.
#include "gui/catalogues/ListTreeModel.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/TreeIcons.h"
#include "platform/Twips.h"
#include "platform/WidgetInput.h"

#include <QLineEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using NodeId = ListTree::NodeId;
using Place = ListTree::Place;

namespace {

// The view's questions answered by the test: each answer a function, a default where none.
struct Answers final : ListTreeView::Handlers {
    std::function<bool()> before;
    std::function<bool(const QString&)> after;
    std::function<void(platform::DataObject&)> data;
    std::function<int(const platform::DataObject&, int effect, int x, int y, int state)> over;
    std::function<void(const platform::DataObject&, int x, int y)> drop;
    bool beforeLabelEdit() override { return before ? before() : false; }
    bool afterLabelEdit(const QString& text) override { return after ? after(text) : false; }
    void setData(platform::DataObject& d) override {
        if (data) data(d);
    }
    int dragOver(const platform::DataObject& d, int effect, int, int, int x, int y, int state) override {
        return over ? over(d, effect, x, y, state) : effect;
    }
    void dragDrop(const platform::DataObject& d, int, int, int x, int y) override {
        if (drop) drop(d, x, y);
    }
};

// A catalogue as the list loader builds it: nodes keyed by their path of names, each ending in "\".
struct Pane {
    ListTree tree;
    ListTreeView view{tree, testing_support::modalRuns()};
    Answers answers;
    NodeId root = tree.add(0, Place::Last, u"Sites\\"_s, u"Sites"_s, 1, 4);

    Pane() {
        view.setHandlers(&answers);
        view.resize(260, 200);
        widget_input::showAndWait(&view);
    }
    NodeId add(NodeId parent, const QString& name, int image = 1) {
        return tree.add(parent, Place::Child, tree.key(parent) + name + u"\\"_s, name, image, image == 1 ? 4 : image);
    }
    QPoint at(NodeId node) {
        tree.ensureVisible(node);
        QApplication::processEvents();
        return view.visualRect(view.treeModel().indexOf(node)).center();
    }
    // The node under the point, asked in twips from the pane's corner as the handlers ask.
    NodeId hit(const QPoint& viewportPoint) const {
        const QPoint twips = platform::pixelsToTwips(view.viewport()->mapTo(&view, viewportPoint));
        return view.HitTest(twips.x(), twips.y());
    }
    void click(NodeId node, Qt::MouseButton button = Qt::LeftButton) {
        widget_input::click(view.viewport(), button, {}, at(node));
    }
    QLineEdit* editor() const {
        for (QLineEdit* e : view.findChildren<QLineEdit*>())
            if (e->isVisible()) return e;
        return nullptr;
    }
    // The rows on screen from the top, each open folder's children below it.
    QStringList rows() {
        QStringList out;
        for (QModelIndex i = view.model()->index(0, 0); i.isValid(); i = view.indexBelow(i)) out << i.data().toString();
        return out;
    }
};

TEST(ListTreeView, ClicksSelectAndRaiseNodeClickButAChangedSelectionDoesNot) {
    Pane p;
    const NodeId a = p.add(p.root, u"A"_s);
    const NodeId b = p.add(p.root, u"B"_s, 2);
    int clicks = 0;
    QList<int> downs;
    QObject::connect(&p.view, &ListTreeView::NodeClick, [&] { ++clicks; });
    QObject::connect(&p.view, &ListTreeView::MouseDown, [&](int button, int, int, int) { downs << button; });
    p.click(b);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(p.tree.selected(), b);
    EXPECT_EQ(downs, QList<int>{platform::kLeftButton});
    // Selected from the tree, or by the arrow keys: shown, but no click. A selected folder
    // shows its open image.
    const auto image = [&](NodeId node) {
        return p.view.treeModel().indexOf(node).data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage();
    };
    EXPECT_EQ(image(a), platform::treeImage(1).pixmap(16).toImage());
    p.tree.select(a);
    EXPECT_EQ(p.view.currentIndex(), p.view.treeModel().indexOf(a));
    EXPECT_EQ(image(a), platform::treeImage(4).pixmap(16).toImage());
    p.view.setFocus();
    widget_input::key(&p.view, Qt::Key_Down);
    EXPECT_EQ(p.tree.selected(), b);
    p.click(a, Qt::RightButton);
    EXPECT_EQ(downs.last(), platform::kRightButton);
    EXPECT_EQ(clicks, 1);
    // A press on one node and a release on another is no click.
    widget_input::mouse(p.view.viewport(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {}, p.at(a));
    widget_input::mouse(p.view.viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {}, p.at(b));
    EXPECT_EQ(clicks, 1);
    // A click on empty space below the rows hits nothing.
    const QPoint empty(5, p.view.viewport()->height() - 2);
    EXPECT_EQ(p.hit(empty), 0u);
    widget_input::click(p.view.viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(p.view.HitTest(-100, -100), 0u);
}

TEST(ListTreeView, OpenFoldersBoldAndHighlightAreTheTreesBothWays) {
    Pane p;
    const NodeId art = p.add(p.root, u"Art"_s);
    const NodeId old = p.add(art, u"Old"_s);
    p.tree.setExpanded(p.root, true);
    QApplication::processEvents();
    EXPECT_EQ(p.rows(), QStringList({u"Sites"_s, u"Art"_s}));
    // The user opens a folder with the keyboard: the tree knows it open.
    p.click(art);
    widget_input::key(&p.view, Qt::Key_Right);
    EXPECT_TRUE(p.tree.isExpanded(art));
    EXPECT_EQ(p.rows(), QStringList({u"Sites"_s, u"Art"_s, u"Old"_s}));
    p.tree.setExpanded(art, false);
    EXPECT_FALSE(p.view.isExpanded(p.view.treeModel().indexOf(art)));
    // A node made bold or highlighted for a drop shows it.
    p.tree.setBold(old, true);
    p.tree.setDropHighlight(art);
    EXPECT_TRUE(p.view.treeModel().indexOf(old).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_TRUE(p.view.treeModel().indexOf(art).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(p.view.treeModel().indexOf(old).data(Qt::BackgroundRole).isValid());
    // Moved and renamed, the node shows where it went under its new name.
    p.tree.setParent(old, p.root);
    p.tree.setText(old, u"Older"_s);
    EXPECT_EQ(p.rows(), QStringList({u"Sites"_s, u"Art"_s, u"Older"_s}));
}

TEST(ListTreeView, NodesAddedBetweenTurnsOfTheEventLoopOrInABulkAllReachTheScreen) {
    Pane p;
    p.tree.ensureVisible(p.root);
    NodeId last = 0;
    for (int i = 0; i < 300; ++i) {
        last = p.add(p.root, u"n%1"_s.arg(i, 3, 10, QChar('0')));
        p.tree.ensureVisible(last);
        if (i % 10 == 9) QApplication::processEvents();
    }
    p.tree.add(p.tree.child(p.root, 0), Place::First, u"first"_s, u"first"_s);
    p.tree.remove(p.tree.itemByKey(u"Sites\\n150\\"_s));
    EXPECT_EQ(p.hit(p.at(last)), last);  // laid out and scrolled into view
    p.view.scrollToTop();
    QApplication::processEvents();
    QStringList expected{u"Sites"_s, u"first"_s};
    for (int i = 0; i < 300; ++i)
        if (i != 150) expected << u"n%1"_s.arg(i, 3, 10, QChar('0'));
    EXPECT_EQ(p.rows(), expected);

    // In a bulk the pane shows nothing; after it, the whole tree with its open folders and selection.
    NodeId deep = 0;
    {
        ListTree::Bulk bulk(p.tree);
        const NodeId folder = p.add(last, u"x"_s);
        deep = p.add(folder, u"deep"_s);
        p.tree.ensureVisible(deep);
        p.tree.select(deep);
        QApplication::processEvents();
        EXPECT_EQ(p.view.model()->rowCount(), 0);
    }
    QApplication::processEvents();
    EXPECT_EQ(p.view.currentIndex(), p.view.treeModel().indexOf(deep));
    EXPECT_TRUE(p.view.isExpanded(p.view.treeModel().indexOf(last)));
    EXPECT_EQ(p.hit(p.at(deep)), deep);
    // Lines scroll one row each.
    p.view.scrollToTop();
    p.view.ScrollLine(3);
    EXPECT_EQ(p.view.verticalScrollBar()->value(), 3);
    p.view.ScrollLine(-1);
    EXPECT_EQ(p.view.verticalScrollBar()->value(), 2);
}

TEST(ListTreeView, ALabelEditCommitsOnEnterOnceAndNotOnEscapeOrWhenRefused) {
    Pane p;
    const NodeId folder = p.add(p.root, u"New Folder"_s);
    QStringList after;
    int refuse = 0;
    p.answers.before = [&] { return refuse != 0; };
    p.answers.after = [&](const QString& text) {
        after << (text.isNull() ? u"<abandoned>"_s : text);
        return false;
    };
    const auto edit = [&](const QString& text, int key) {
        ASSERT_TRUE(p.view.StartLabelEdit());
        QLineEdit* editor = p.editor();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        widget_input::key(editor, Qt::Key_Delete);
        widget_input::type(editor, text);
        widget_input::key(editor, key);
        QApplication::processEvents();
    };
    EXPECT_FALSE(p.view.StartLabelEdit());  // nothing selected
    p.click(folder);
    edit(u"Pets"_s, Qt::Key_Return);
    EXPECT_EQ(p.tree.text(folder), u"Pets"_s);
    EXPECT_EQ(p.tree.key(folder), u"Sites\\New Folder\\"_s);
    edit(u"Birds"_s, Qt::Key_Escape);
    edit(QString(), Qt::Key_Return);
    EXPECT_EQ(p.tree.text(folder), u"Pets"_s);
    EXPECT_EQ(after, QStringList({u"Pets"_s, u"<abandoned>"_s, QString()}));
    refuse = 1;
    EXPECT_FALSE(p.view.StartLabelEdit());
    EXPECT_EQ(p.editor(), nullptr);
    refuse = 0;

    // Ended from the program, the typed text (over the old, selected as the editor opens)
    // commits once; the editor going later adds nothing.
    after.clear();
    ASSERT_TRUE(p.view.StartLabelEdit());
    widget_input::type(p.editor(), u"Cats"_s);
    p.view.EndLabelEdit();
    EXPECT_FALSE(p.view.IsLabelEditing());
    EXPECT_EQ(p.tree.text(folder), u"Cats"_s);
    p.tree.setText(folder, u"Saved"_s);
    QApplication::processEvents();
    EXPECT_EQ(p.tree.text(folder), u"Saved"_s);
    EXPECT_EQ(after, QStringList{u"Cats"_s});

    // A node removed while its label is open takes the editor with it.
    ASSERT_TRUE(p.view.StartLabelEdit());
    p.tree.remove(folder);
    QApplication::processEvents();
    EXPECT_FALSE(p.view.IsLabelEditing());
    EXPECT_EQ(after, QStringList{u"Cats"_s});

    // So does a tree refilled meanwhile, as a list load does: nothing of the new list is renamed.
    const NodeId dog = p.add(p.root, u"Dog"_s);
    p.click(dog);
    ASSERT_TRUE(p.view.StartLabelEdit());
    widget_input::type(p.editor(), u"Wolf"_s);
    {
        ListTree::Bulk load(p.tree);
        p.tree.clear();
        p.add(p.tree.add(0, Place::Last, u"Sites\\"_s, u"Sites"_s), u"Dog"_s);
    }
    QApplication::processEvents();
    EXPECT_FALSE(p.view.IsLabelEditing());
    widget_input::key(&p.view, Qt::Key_Return);
    EXPECT_EQ(after, QStringList{u"Cats"_s});
    EXPECT_EQ(p.tree.text(p.tree.item(2)), u"Dog"_s);
}

TEST(ListTreeView, ADragCarriesItsDataAsACopyAndTheDropTargetsHandlersDecide) {
    Pane from;
    Pane to;
    to.view.move(from.view.x() + 300, from.view.y());
    const NodeId link = from.add(from.root, u"Link"_s, 2);
    const NodeId target = to.add(to.root, u"Folder"_s);
    from.answers.data = [&](platform::DataObject& data) { data.SetText(from.tree.tag(from.tree.selected())); };
    from.tree.setTag(link, u"http://link.example/"_s);
    int completed = -1;
    QObject::connect(&from.view, &ListTreeView::OLECompleteDrag, [&](int effect) { completed = effect; });
    QList<int> states;
    to.answers.over = [&](const platform::DataObject&, int effect, int, int, int state) {
        states << state;
        return effect;
    };
    QString dropped;
    NodeId droppedOn = 0;
    to.answers.drop = [&](const platform::DataObject& data, int x, int y) {
        dropped = data.GetText();
        droppedOn = to.view.HitTest(x, y);
    };
    from.click(link);
    const QStringList sourceRows = from.rows();
    const Qt::DropAction done = widget_input::drag(from.view.viewport(), from.at(link), to.view.viewport(), to.at(target));
    EXPECT_EQ(done, Qt::CopyAction);
    EXPECT_EQ(dropped, u"http://link.example/"_s);
    EXPECT_EQ(droppedOn, target);
    EXPECT_EQ(states, QList<int>({platform::kDragEnter, platform::kDragOver}));
    EXPECT_EQ(completed, platform::kDropCopy);
    EXPECT_EQ(from.rows(), sourceRows);  // the source keeps its rows
    EXPECT_EQ(from.tree.count(), 2);

    // A drop the handler refuses over the pane is not taken.
    to.answers.over = [](const platform::DataObject&, int, int, int, int) { return int(platform::kDropNone); };
    QMimeData words;
    words.setText(u"words"_s);
    QDragMoveEvent over(to.at(target), Qt::CopyAction | Qt::MoveAction, &words, Qt::LeftButton, {});
    QApplication::sendEvent(to.view.viewport(), &over);
    EXPECT_FALSE(over.isAccepted());
}

}  // namespace
