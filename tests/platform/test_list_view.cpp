#include "platform/KeyCodes.h"
#include "platform/ListView.h"
#include "platform/Twips.h"
#include "WidgetInput.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

using platform::ListItem;
using platform::ListView;

namespace {

// A metadata panel as the main window sets it up: four columns, lines of four cells.
struct Panel {
    ListView list;
    Panel() {
        list.addColumnHeader(QStringLiteral("Name"), 1400);
        list.addColumnHeader(QStringLiteral("Content"), 3200);
        list.addColumnHeader(QStringLiteral("Lang"), 400);
        list.addColumnHeader(QStringLiteral("Scheme"), 1400);
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
    void show() {
        widget_input::showAndWait(&list);
    }
    // Centre of a line's cell, in twips from the control's corner.
    QPoint cellTwips(ListItem* item, int column) {
        const QTreeWidgetItem* row = list.topLevelItem(list.DisplayPosition(item) - 1);
        QRect rect = list.visualItemRect(row);
        rect.setLeft(list.header()->sectionViewportPosition(column));
        rect.setWidth(list.header()->sectionSize(column));
        return platform::pixelsToTwips(list.viewport()->mapTo(&list, rect.center()));
    }
};

const QStringList kSix = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                          QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};

// Moves a line the way the panel's drop handler does: a copy goes in at the target
// (0 = the end) and the source comes out, one further down when the copy pushed it.
void moveLine(ListView& list, int source, int target) {
    ListItem* from = list.Item(source);
    ListItem* copy = list.Add(target, from->Text());
    for (int c = 1; c <= 3; ++c) copy->setSubItems(c, from->SubItems(c));
    list.Remove(target > 0 && source > target ? source + 1 : source);
}

}  // namespace

TEST(ListView, IndicesStayInInsertionOrderWhileTheDisplayIsSorted) {
    Panel p;
    p.line(QStringLiteral("DC.Title"), QStringLiteral("zebra"));
    p.line(QStringLiteral("dc.creator"), QStringLiteral("Ann"));
    p.line(QStringLiteral("AGLS.Function"), QStringLiteral("middle"));
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
    p.line(QStringLiteral("DC.Date"));
    EXPECT_EQ(p.shown(), QStringList({"AGLS.Function", "dc.creator", "DC.Date", "DC.Title"}));
    p.list.setSorted(false);
    p.line(QStringLiteral("AAA"));
    EXPECT_EQ(p.shown().last(), QStringLiteral("AAA"));
    EXPECT_EQ(p.names(), QStringList({"DC.Title", "dc.creator", "AGLS.Function", "DC.Date", "AAA"}));
}

TEST(ListView, InsertingAtAPositionShiftsLaterLinesAndShowsAboveTheDisplacedOne) {
    Panel p;
    for (const QString& n : kSix) p.line(n);
    ListItem* oldThird = p.list.Item(3);
    ListItem* added = p.line(QStringLiteral("new"), {}, 3);
    EXPECT_EQ(p.names(), QStringList({"1", "2", "new", "3", "4", "5", "6"}));
    EXPECT_EQ(added->Index(), 3);
    EXPECT_EQ(oldThird->Index(), 4);
    EXPECT_EQ(p.list.Item(7)->Text(), QStringLiteral("6"));
    EXPECT_EQ(p.shown(), p.names());

    // Out-of-range positions add at the end rather than failing.
    EXPECT_EQ(p.list.Add(99, QStringLiteral("tail"))->Index(), 8);
    EXPECT_EQ(p.list.Add(-1, QStringLiteral("tail2"))->Index(), 9);

    // In a sorted display the new line lands just above the line it displaced.
    Panel q;
    for (const QString& n : {QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")}) q.line(n);
    q.list.setSorted(true);
    q.list.setSorted(false);
    ListItem* c = q.list.Item(1);
    ListItem* x = q.line(QStringLiteral("x"), {}, 1);
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

TEST(ListView, MovingLinesByInsertAndRemoveGivesThePanelsOrder) {
    struct Case {
        int source, target;
        QStringList expected;
    };
    const Case cases[] = {
        {2, 5, {"1", "3", "4", "2", "5", "6"}},
        {5, 2, {"1", "5", "2", "3", "4", "6"}},
        {2, 0, {"1", "3", "4", "5", "6", "2"}},
    };
    for (const Case& c : cases) {
        Panel p;
        for (const QString& n : kSix) p.line(n, QStringLiteral("content ") + n);
        moveLine(p.list, c.source, c.target);
        EXPECT_EQ(p.names(), c.expected) << c.source << " onto " << c.target;
        EXPECT_EQ(p.shown(), c.expected);
        const int moved = static_cast<int>(c.expected.indexOf(QString::number(c.source))) + 1;
        EXPECT_EQ(p.list.Item(moved)->SubItems(1), QStringLiteral("content ") + QString::number(c.source));
    }
}

TEST(ListView, CellsColumnsAndTheirTwipWidths) {
    Panel p;
    ListItem* item = p.line(QStringLiteral("DC.Subject"), QStringLiteral("cats"));
    item->setSubItems(2, QStringLiteral("en"));
    EXPECT_EQ(item->SubItems(0), QStringLiteral("DC.Subject"));
    EXPECT_EQ(item->SubItems(2), QStringLiteral("en"));
    EXPECT_EQ(item->SubItems(3), QString());
    EXPECT_EQ(item->SubItems(-1), QString());

    EXPECT_EQ(p.list.ColumnHeaderCount(), 4);
    EXPECT_EQ(p.list.ColumnHeaders(0), nullptr);
    EXPECT_EQ(p.list.ColumnHeaders(5), nullptr);
    platform::ColumnHeader* content = p.list.ColumnHeaders(2);
    content->setTag(QStringLiteral("Record"));
    EXPECT_EQ(p.list.ColumnHeaders(2)->Tag(), QStringLiteral("Record"));
    EXPECT_EQ(content->Text(), QStringLiteral("Content"));
    EXPECT_EQ(p.list.headerItem()->text(1), QStringLiteral("Content"));

    // Widths keep the twips they were given; the screen gets whole pixels.
    EXPECT_EQ(p.list.ColumnHeaders(1)->Width(), 1400);
    EXPECT_EQ(p.list.header()->sectionSize(0), 93);
    EXPECT_EQ(p.list.header()->sectionSize(2), 27);
    // A border the user drags is read back in twips.
    p.list.header()->resizeSection(2, 40);
    EXPECT_EQ(p.list.ColumnHeaders(3)->Width(), 600);
}

TEST(ListView, BoldHighlightAndCheckBoxesReachTheScreen) {
    Panel p;
    ListItem* a = p.line(QStringLiteral("a"));
    ListItem* b = p.line(QStringLiteral("b"));
    QAbstractItemModel* model = p.list.model();
    a->setBold(true);
    EXPECT_TRUE(model->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_TRUE(model->index(0, 3).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(model->index(1, 0).data(Qt::FontRole).value<QFont>().bold());

    p.list.setDropHighlight(b);
    EXPECT_EQ(p.list.DropHighlight(), b);
    EXPECT_TRUE(model->index(1, 0).data(Qt::BackgroundRole).isValid());
    p.list.Remove(b);
    EXPECT_EQ(p.list.DropHighlight(), nullptr);

    EXPECT_FALSE(model->index(0, 0).data(Qt::CheckStateRole).isValid());
    p.list.setCheckboxes(true);
    a->setChecked(true);
    EXPECT_EQ(model->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    // The user ticks or clears the box through the model.
    model->setData(model->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_FALSE(a->Checked());
}

TEST(ListView, SelectedItemFollowsSelectionFromCodeAndUser) {
    Panel p;
    ListItem* a = p.line(QStringLiteral("a"));
    ListItem* b = p.line(QStringLiteral("b"));
    EXPECT_EQ(p.list.SelectedItem(), nullptr);
    p.list.setSelectedItem(b);
    EXPECT_EQ(p.list.SelectedItem(), b);
    a->setSelected(true);  // single selection: the other line lets go
    EXPECT_TRUE(a->Selected());
    EXPECT_FALSE(b->Selected());
    EXPECT_EQ(p.list.SelectedItem(), a);
    p.list.setSelectedItem(nullptr);
    EXPECT_EQ(p.list.SelectedItem(), nullptr);
    EXPECT_FALSE(a->Selected());

    p.show();
    widget_input::click(p.list.viewport(), Qt::LeftButton, {},
                      p.list.viewport()->mapFrom(&p.list, platform::twipsToPixels(p.cellTwips(b, 1))));
    EXPECT_EQ(p.list.SelectedItem(), b);
}

TEST(ListView, HitTestsFindLineAndColumnFromTwips) {
    Panel p;
    p.line(QStringLiteral("DC.Title"), QStringLiteral("t"));
    ListItem* second = p.line(QStringLiteral("DC.Subject"), QStringLiteral("s"));
    p.show();

    const QPoint scheme = p.cellTwips(second, 3);
    EXPECT_EQ(p.list.HitTest(scheme.x(), scheme.y()), second);
    const ListView::SubItemHit hit = p.list.SubItemHitTest(scheme.x(), scheme.y());
    EXPECT_EQ(hit.item, second);
    EXPECT_EQ(hit.column, 3);
    const QPoint lang = p.cellTwips(second, 2);
    EXPECT_EQ(p.list.SubItemHitTest(lang.x(), lang.y()).column, 2);

    // Below the last line, on the header, right of the last column: nothing.
    EXPECT_EQ(p.list.HitTest(scheme.x(), platform::pixelsToTwips(280)), nullptr);
    EXPECT_EQ(p.list.SubItemHitTest(scheme.x(), platform::pixelsToTwips(280)).item, nullptr);
    EXPECT_EQ(p.list.HitTest(scheme.x(), platform::pixelsToTwips(3)), nullptr);
    const int rightOfColumns = platform::pixelsToTwips(p.list.header()->length() + 20);
    EXPECT_EQ(p.list.SubItemHitTest(rightOfColumns, scheme.y()).column, -1);

    // Without full-row selection only the first column holds the line.
    p.list.setFullRowSelect(false);
    EXPECT_EQ(p.list.HitTest(scheme.x(), scheme.y()), nullptr);
    const QPoint name = p.cellTwips(second, 0);
    EXPECT_EQ(p.list.HitTest(name.x(), name.y()), second);
}

TEST(ListView, MouseEventsArriveInTwipsWithButtonsInOrder) {
    Panel p;
    ListItem* a = p.line(QStringLiteral("a"));
    p.show();
    QStringList events;
    QPoint upAt;
    QObject::connect(&p.list, &ListView::MouseDown, [&](int b, int s, int, int) {
        events << QStringLiteral("down %1 %2").arg(b).arg(s);
    });
    QObject::connect(&p.list, &ListView::MouseUp, [&](int b, int, int x, int y) {
        events << QStringLiteral("up %1").arg(b);
        upAt = QPoint(x, y);
    });
    QObject::connect(&p.list, &ListView::ItemClick, [&](ListItem* item) { events << "item " + item->Text(); });
    QObject::connect(&p.list, &ListView::Click, [&] { events << QStringLiteral("click"); });
    QObject::connect(&p.list, &ListView::DblClick, [&] { events << QStringLiteral("dblclick"); });

    const QPoint cell = p.cellTwips(a, 1);
    const QPoint pixel = p.list.viewport()->mapFrom(&p.list, platform::twipsToPixels(cell));
    widget_input::click(p.list.viewport(), Qt::LeftButton, Qt::ShiftModifier, pixel);
    EXPECT_EQ(events, QStringList({"down 1 1", "up 1", "item a", "click"}));
    EXPECT_EQ(upAt, platform::pixelsToTwips(p.list.viewport()->mapTo(&p.list, pixel)));
    EXPECT_EQ(p.list.HitTest(upAt.x(), upAt.y()), a);

    events.clear();
    widget_input::click(p.list.viewport(), Qt::RightButton, {}, pixel);
    EXPECT_EQ(events, QStringList({"down 2 0", "up 2"}));

    events.clear();
    widget_input::doubleClick(p.list.viewport(), Qt::LeftButton, pixel);
    EXPECT_TRUE(events.contains(QStringLiteral("dblclick")));
}

TEST(ListView, ColumnClickNamesTheHeader) {
    Panel p;
    p.show();
    int clicked = 0;
    QObject::connect(&p.list, &ListView::ColumnClick, [&](platform::ColumnHeader* h) { clicked = h->Index(); });
    QHeaderView* header = p.list.header();
    widget_input::click(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    EXPECT_EQ(clicked, 3);
}

TEST(ListView, KeysArriveAsKeyCodesAndTypedCharacters) {
    Panel p;
    ListItem* a = p.line(QStringLiteral("alpha"));
    ListItem* b = p.line(QStringLiteral("beta"));
    p.line(QStringLiteral("gamma"));
    p.show();
    p.list.setFocus();
    p.list.setSelectedItem(a);

    QList<int> downs;
    QList<int> typed;
    ListItem* selectedAtKeyUp = nullptr;
    QObject::connect(&p.list, &ListView::KeyDown, [&](int& code, int) { downs << code; });
    QObject::connect(&p.list, &ListView::KeyPress, [&](int& ascii) {
        typed << ascii;
        ascii = 0;  // the panel takes typed characters for itself
    });
    QObject::connect(&p.list, &ListView::KeyUp, [&](int& code, int) {
        if (code == platform::vbKeyDown) selectedAtKeyUp = p.list.SelectedItem();
    });

    widget_input::key(&p.list, Qt::Key_Down);
    EXPECT_EQ(downs.last(), 40);
    EXPECT_EQ(selectedAtKeyUp, b);  // the list moved its selection before key up

    widget_input::key(&p.list, Qt::Key_Delete);
    widget_input::key(&p.list, Qt::Key_Insert);
    widget_input::key(&p.list, Qt::Key_Home);
    widget_input::key(&p.list, Qt::Key_Return);
    EXPECT_EQ(downs.mid(1), QList<int>({46, 45, 36, 13}));
    EXPECT_EQ(typed, QList<int>({13}));

    // A swallowed character does not jump to the line it begins ("g" would pick gamma).
    p.list.setSelectedItem(a);
    widget_input::key(&p.list, Qt::Key_G);
    widget_input::key(&p.list, Qt::Key_Backspace);
    widget_input::type(&p.list, QStringLiteral("é"));
    EXPECT_EQ(typed.mid(1), QList<int>({'g', 8, 0xe9}));
    EXPECT_EQ(p.list.SelectedItem(), a);

    // KeyDown with the code set to 0 keeps the key from the list.
    QObject::disconnect(&p.list, &ListView::KeyDown, nullptr, nullptr);
    QObject::connect(&p.list, &ListView::KeyDown, [&](int& code, int) { code = 0; });
    widget_input::key(&p.list, Qt::Key_Down);
    EXPECT_EQ(p.list.SelectedItem(), a);
}

namespace {

struct DropRecord {
    QList<int> states;
    QString overText;
    QString dropText;
    QStringList files;
    QPoint at;
    int shift = -1;
};

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
    p.line(QStringLiteral("DC.Title"));
    ListItem* relates = p.line(QStringLiteral("RelatesTo"));
    p.list.setOLEDropMode(platform::vbOLEDropManual);
    p.show();
    DropRecord r;
    QObject::connect(&p.list, &ListView::OLEDragOver,
                     [&](platform::DataObject& data, int&, int, int, int, int, int state) {
                         r.states << state;
                         r.overText = data.GetText();
                     });
    QObject::connect(&p.list, &ListView::OLEDragDrop,
                     [&](platform::DataObject& data, int&, int, int shift, int x, int y) {
                         r.dropText = data.GetText();
                         r.files = data.Files();
                         r.at = QPoint(x, y);
                         r.shift = shift;
                     });
    const QPoint cell = p.cellTwips(relates, 1);
    const QPoint pixel = p.list.viewport()->mapFrom(&p.list, platform::twipsToPixels(cell));

    QMimeData text;
    text.setText(QStringLiteral("x|http://a.example/|y"));
    EXPECT_TRUE(dragAndDrop(p.list, &text, pixel, Qt::ShiftModifier));
    EXPECT_EQ(r.states, QList<int>({platform::vbEnter, platform::vbOver}));
    EXPECT_EQ(r.overText, QStringLiteral("x|http://a.example/|y"));
    EXPECT_EQ(r.dropText, r.overText);
    EXPECT_TRUE(r.files.isEmpty());
    EXPECT_EQ(r.shift, platform::vbShiftMask);
    EXPECT_EQ(p.list.HitTest(r.at.x(), r.at.y()), relates);

    // Files from a file manager come with their addresses as text too; a drop of
    // files counts as files only.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/one page.htm")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/two.kqi"))});
    files.setText(QStringLiteral("file:///tmp/one%20page.htm\nfile:///tmp/two.kqi"));
    EXPECT_TRUE(dragAndDrop(p.list, &files, pixel));
    EXPECT_EQ(r.dropText, QString());
    EXPECT_EQ(r.files, QStringList({"/tmp/one page.htm", "/tmp/two.kqi"}));

    // A handler that sets no effect refuses the drop.
    QObject::connect(&p.list, &ListView::OLEDragDrop,
                     [](platform::DataObject&, int& effect, int, int, int, int) { effect = platform::vbDropEffectNone; });
    EXPECT_FALSE(dragAndDrop(p.list, &text, pixel));

    // With drops switched off nothing is raised.
    p.list.setOLEDropMode(platform::vbOLEDropNone);
    r.states.clear();
    dragAndDrop(p.list, &text, pixel);
    EXPECT_TRUE(r.states.isEmpty());
}

TEST(ListView, ADragCarriesWhatTheHandlerSupplies) {
    Panel p;
    p.line(QStringLiteral("a"));
    p.line(QStringLiteral("b"));
    p.list.setSelectedItem(p.list.Item(2));
    QObject::connect(&p.list, &ListView::OLESetData, [&](platform::DataObject& data) {
        data.SetText(QStringLiteral("mtp://moveMetaCell|") + QString::number(p.list.SelectedItem()->Index()));
    });
    std::unique_ptr<platform::DataObject> data = p.list.collectDragData();
    EXPECT_EQ(data->GetText(), QStringLiteral("mtp://moveMetaCell|2"));
    std::unique_ptr<QMimeData> mime(data->takeMimeData());
    EXPECT_EQ(mime->text(), QStringLiteral("mtp://moveMetaCell|2"));
}
