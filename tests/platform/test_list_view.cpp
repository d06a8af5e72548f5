#include "platform/KeyCodes.h"
#include "platform/ListView.h"
#include "platform/Twips.h"
#include "WidgetInput.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using platform::ListItem;
using platform::ListView;

namespace {

// A metadata panel as the main window sets it up: four columns, lines of four cells.
struct Panel {
    ListView list;
    Panel() {
        list.addColumnHeader(u"Name"_s, 1400);
        list.addColumnHeader(u"Content"_s, 3200);
        list.addColumnHeader(u"Lang"_s, 400);
        list.addColumnHeader(u"Scheme"_s, 1400);
        list.setFullRowSelect(true);
        list.resize(500, 300);
    }
    ListItem* line(const QString& name, const QString& content = {}, int at = 0) {
        ListItem* item = list.Add(at, name);
        item->setSubItems(1, content);
        return item;
    }
    // Names in insertion order.
    QStringList names() const {
        QStringList out;
        for (int i = 1; i <= list.Count(); ++i) out << list.Item(i)->Text();
        return out;
    }
    // Names top to bottom as displayed.
    QStringList shown() const {
        QStringList out;
        for (int i = 1; i <= list.Count(); ++i) out << list.ItemAtDisplayPosition(i)->Text();
        return out;
    }
    void show() { widget_input::showAndWait(&list); }
    // Centre of a line's cell, in twips from the control's corner.
    QPoint cellPixel(ListItem* item, int column) {
        return list.viewport()->mapFrom(&list, platform::twipsToPixels(cellTwips(item, column)));
    }
    QPoint cellTwips(ListItem* item, int column) {
        const QTreeWidgetItem* row = list.topLevelItem(list.DisplayPosition(item) - 1);
        QRect rect = list.visualItemRect(row);
        rect.setLeft(list.header()->sectionViewportPosition(column));
        rect.setWidth(list.header()->sectionSize(column));
        return platform::pixelsToTwips(list.viewport()->mapTo(&list, rect.center()));
    }
};

const QStringList kSix = {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s};

}  // namespace

TEST(ListView, IndicesStayInInsertionOrderWhileTheDisplayIsSorted) {
    Panel p;
    p.line(u"DC.Title"_s, u"zebra"_s);
    p.line(u"dc.creator"_s, u"Ann"_s);
    p.line(u"AGLS.Function"_s, u"middle"_s);
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
    p.list.setSortOrder(platform::lvwDescending);
    EXPECT_EQ(p.shown(), QStringList({"DC.Title", "dc.creator", "AGLS.Function"}));

    // While sorted, a new line goes where the sort puts it; after, at the end.
    p.list.setSortOrder(platform::lvwAscending);
    p.line(u"DC.Date"_s);
    EXPECT_EQ(p.shown(), QStringList({"AGLS.Function", "dc.creator", "DC.Date", "DC.Title"}));
    p.list.setSorted(false);
    p.line(u"AAA"_s);
    EXPECT_EQ(p.shown().last(), u"AAA"_s);
    EXPECT_EQ(p.names(), QStringList({"DC.Title", "dc.creator", "AGLS.Function", "DC.Date", "AAA"}));
}

TEST(ListView, InsertingAtAPositionShiftsLaterLinesAndShowsAboveTheDisplacedOne) {
    Panel p;
    for (const QString& n : kSix) p.line(n);
    ListItem* oldThird = p.list.Item(3);
    ListItem* added = p.line(u"new"_s, {}, 3);
    EXPECT_EQ(p.names(), QStringList({"1", "2", "new", "3", "4", "5", "6"}));
    EXPECT_EQ(added->Index(), 3);
    EXPECT_EQ(oldThird->Index(), 4);
    EXPECT_EQ(p.list.Item(7)->Text(), u"6"_s);
    EXPECT_EQ(p.shown(), p.names());

    // Out-of-range positions add at the end rather than failing.
    EXPECT_EQ(p.list.Add(99, u"tail"_s)->Index(), 8);
    EXPECT_EQ(p.list.Add(-1, u"tail2"_s)->Index(), 9);

    // In a sorted display the new line lands just above the line it displaced.
    Panel q;
    for (const QString& n : {u"c"_s, u"a"_s, u"b"_s}) q.line(n);
    q.list.setSorted(true);
    q.list.setSorted(false);
    ListItem* c = q.list.Item(1);
    ListItem* x = q.line(u"x"_s, {}, 1);
    EXPECT_EQ(q.shown(), QStringList({"a", "b", "x", "c"}));
    EXPECT_EQ(x->Index(), 1);
    EXPECT_EQ(c->Index(), 2);
}

TEST(ListView, RemovingShiftsLaterIndicesAndForgetsTheLine) {
    Panel p;
    for (const QString& n : kSix) p.line(n);
    ListItem* five = p.list.Item(5);
    platform::ListItemRef gone(p.list.Item(2));
    platform::ListItemRef kept(five);
    EXPECT_TRUE(p.list.Remove(2));
    EXPECT_EQ(p.names(), QStringList({"1", "3", "4", "5", "6"}));
    EXPECT_EQ(five->Index(), 4);
    EXPECT_FALSE(gone);
    EXPECT_EQ(kept.get(), five);

    EXPECT_FALSE(p.list.Remove(0));
    EXPECT_FALSE(p.list.Remove(6));
    EXPECT_FALSE(p.list.Remove(nullptr));
    EXPECT_EQ(p.list.Count(), 5);

    // Removing every selected line from the last to the first leaves the rest in order.
    p.list.setMultiSelect(true);
    p.list.Item(1)->setSelected(true);
    p.list.Item(3)->setSelected(true);
    p.list.Item(5)->setSelected(true);
    for (int i = p.list.Count(); i >= 1; --i)
        if (p.list.Item(i)->Selected()) p.list.Remove(i);
    EXPECT_EQ(p.names(), QStringList({"3", "5"}));
    EXPECT_EQ(p.list.Item(2)->Index(), 2);

    p.list.Clear();
    EXPECT_EQ(p.list.Count(), 0);
    EXPECT_EQ(p.list.topLevelItemCount(), 0);
    EXPECT_FALSE(kept);
    EXPECT_EQ(p.list.SelectedItem(), nullptr);
}

TEST(ListView, ColumnsKeepTheirTwipWidths) {
    Panel p;
    ListItem* item = p.line(u"DC.Subject"_s, u"cats"_s);
    EXPECT_EQ(item->SubItems(0), u"DC.Subject"_s);
    EXPECT_EQ(item->SubItems(-1), QString());
    EXPECT_EQ(p.list.ColumnHeaders(5), nullptr);
    EXPECT_EQ(p.list.ColumnHeaders(2)->Text(), u"Content"_s);
    // Widths keep the twips they were given; the screen gets whole pixels.
    EXPECT_EQ(p.list.ColumnHeaders(1)->Width(), 1400);
    EXPECT_EQ(p.list.header()->sectionSize(0), 93);
    EXPECT_EQ(p.list.header()->sectionSize(2), 27);
    p.list.header()->resizeSection(2, 40);  // a border the user drags is read back in twips
    EXPECT_EQ(p.list.ColumnHeaders(3)->Width(), 600);
}

namespace {

// Delivers a drag over the list's viewport and then drops it there.
bool dragAndDrop(ListView& list, QMimeData* data, const QPoint& viewportPixel,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QDragEnterEvent enter(viewportPixel, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(list.viewport(), &enter);
    QDragMoveEvent move(viewportPixel, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(list.viewport(), &move);
    QDropEvent drop(viewportPixel, Qt::CopyAction | Qt::MoveAction, data, Qt::NoButton, modifiers);
    QCoreApplication::sendEvent(list.viewport(), &drop);
    return drop.isAccepted();
}

}  // namespace

TEST(ListView, DropsHandTextOrFilesAndTheLineUnderThePointer) {
    Panel p;
    p.line(u"DC.Title"_s);
    ListItem* relates = p.line(u"RelatesTo"_s);
    p.list.setOLEDropMode(platform::vbOLEDropManual);
    p.show();
    QList<int> states;
    QString dropText;
    QStringList files;
    QPoint at;
    int shift = -1;
    QObject::connect(&p.list, &ListView::OLEDragOver,
                     [&](platform::DataObject&, int&, int, int, int, int, int state) { states << state; });
    QObject::connect(&p.list, &ListView::OLEDragDrop, [&](platform::DataObject& data, int&, int, int s, int x, int y) {
        dropText = data.GetText();
        files = data.Files();
        at = QPoint(x, y);
        shift = s;
    });
    const QPoint pixel = p.cellPixel(relates, 1);
    QMimeData text;
    text.setText(u"x|http://a.example/|y"_s);
    EXPECT_TRUE(dragAndDrop(p.list, &text, pixel, Qt::ShiftModifier));
    EXPECT_EQ(states, QList<int>({platform::vbEnter, platform::vbOver}));
    EXPECT_EQ(dropText, u"x|http://a.example/|y"_s);
    EXPECT_EQ(shift, platform::vbShiftMask);
    EXPECT_EQ(p.list.HitTest(at.x(), at.y()), relates);

    // Files from a file manager come with their addresses as text too; a drop of
    // files counts as files only.
    QMimeData urls;
    urls.setUrls({QUrl::fromLocalFile(u"/tmp/one page.htm"_s), QUrl::fromLocalFile(u"/tmp/two.kqi"_s)});
    urls.setText(u"file:///tmp/one%20page.htm\nfile:///tmp/two.kqi"_s);
    EXPECT_TRUE(dragAndDrop(p.list, &urls, pixel));
    EXPECT_EQ(dropText, QString());
    EXPECT_EQ(files, QStringList({"/tmp/one page.htm", "/tmp/two.kqi"}));

    p.list.setOLEDropMode(platform::vbOLEDropNone);  // switched off: nothing is raised
    states.clear();
    dragAndDrop(p.list, &text, pixel);
    EXPECT_TRUE(states.isEmpty());
}
