// The metadata panel as the user meets it: the record shown, the selection kept in step both
// ways, keys, clicks, the context menu, the column sort and line moves, and painting held
// back while a batch runs.
#include "record/RecordWindowTest.h"

#include "gui/record/RecordModel.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

namespace {

class MetaPanelViewTest : public RecordWindowTest {
protected:
    MetaPanelView* panel = w.find<MetaPanelView>(u"MetaPanel"_s);
    testing_support::CommandRecorder recorder{w.context};

    void SetUp() override {
        w->resize(1000, 760);
        widget_input::showAndWait(w.form.get());
        panel->setFocus();
    }
    QPoint cellPixel(int i, int column) const { return panel->visualRect(panel->model()->index(i - 1, column)).center(); }
    void click(int i, Qt::KeyboardModifiers modifiers = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton) {
        widget_input::click(panel->viewport(), button, modifiers, cellPixel(i, 0));
    }
    QList<int> selectedRows() const {
        QList<int> rows;
        for (const QModelIndex& row : panel->selectionModel()->selectedRows()) rows << row.row() + 1;
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    QString shown(int i, int column) const { return panel->model()->index(i - 1, column).data().toString(); }
};

TEST_F(MetaPanelViewTest, TheRowsAreTheRecordAndTheViewEditsNothingItself) {
    add(u"DC.Title"_s, u"Report"_s, u"en"_s);
    add(u"DC.Subject"_s, QString(5000, u'x'), {}, u"apais"_s);
    ASSERT_EQ(panel->model()->rowCount(), 2);
    EXPECT_EQ(panel->model()->headerData(3, Qt::Horizontal).toString(), u"Scheme"_s);
    EXPECT_EQ(shown(1, 2), u"en"_s);
    EXPECT_EQ(shown(2, 1).size(), RecordModel::kShownCharacters);  // a cell shows the start of a long value
    w.context.record.setBold(line(1), true);
    EXPECT_TRUE(panel->model()->index(0, 1).data(Qt::FontRole).value<QFont>().bold());
    w.context.record.set(line(1), Record::Content, u"Annual report"_s);
    EXPECT_EQ(shown(1, 1), u"Annual report"_s);
    // A double click opens the edit panel, not an editor in the cell; F2 and typing open none.
    widget_input::doubleClick(panel->viewport(), Qt::LeftButton, cellPixel(1, 1));
    widget_input::key(panel, Qt::Key_F2);
    EXPECT_TRUE(panel->findChildren<QLineEdit*>().isEmpty());
    EXPECT_FALSE(w.find<QGroupBox>(u"EditPanel"_s)->isHidden());
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->text(), u"Annual report"_s);
}

// A line clicked and deleted with the Delete key: the save takes out only its element, and
// the unfinished tag before it never runs on into the text after it (no line "b" appears).
TEST_F(MetaPanelViewTest, DeletingALineChangesOnlyThatLineInThePageSaved) {
    w.context.preferences.UseLinkRel.setText(u"N"_s);
    const QString path = write(u"page.htm"_s, "<meta <meta name=\"a\" content=\"1\">name=\"b\" content=\"2\">");
    w.enter(path);
    const MetadataRecord left = {{{}, u"<meta "_s, {}, {}}};
    ASSERT_EQ(w.context.record.lines(), left + MetadataRecord({{u"a"_s, u"1"_s, {}, {}}}));
    panel->setFocus();
    click(2);
    widget_input::key(panel, Qt::Key_Delete);
    ASSERT_EQ(w.context.record.lines(), left);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_FALSE(recordModified());
    const QByteArray saved = testing_support::readBytes(path);
    EXPECT_EQ(saved, "<head>\r\n</head>\r\n<meta <!---->name=\"b\" content=\"2\">\r\n");
    w.enter(path);
    EXPECT_EQ(w.context.record.lines(), left);
    editAndUndo();
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(testing_support::readBytes(path), saved);
}

TEST_F(MetaPanelViewTest, TheSelectionIsTheRecordsBothWays) {
    for (int i = 1; i <= 5; ++i) add(u"DC.Subject%1"_s.arg(i));
    click(2);
    EXPECT_EQ(w.context.record.selectedLine(), line(2));
    click(4, Qt::ShiftModifier);  // Shift keeps the lines between; any other click makes one current line
    EXPECT_EQ(w.context.record.selection(), QList<Record::LineId>({line(2), line(3), line(4)}));
    EXPECT_EQ(w.context.record.currentLine(), line(4));
    click(5, Qt::ControlModifier);
    EXPECT_EQ(w.context.record.selection(), QList<Record::LineId>({line(5)}));
    widget_input::key(panel, Qt::Key_Up);
    EXPECT_EQ(w.context.record.selectedLine(), line(4));
    w.context.record.selectOnly(line(3));
    EXPECT_EQ(selectedRows(), QList<int>({3}));
    EXPECT_EQ(panel->currentIndex().row(), 2);
    w.context.record.setSelection({line(1), line(3)}, line(3));
    EXPECT_EQ(selectedRows(), QList<int>({1, 3}));
    w.context.record.move(line(3), 1);  // the selection goes with the line
    EXPECT_EQ(selectedRows(), QList<int>({1, 2}));
    w.context.record.remove(line(1));
    EXPECT_EQ(selectedRows(), QList<int>({1}));
    EXPECT_EQ(w.context.record.selection(), QList<Record::LineId>({line(1)}));
    w.context.record.clear();
    EXPECT_TRUE(selectedRows().isEmpty());
}

TEST_F(MetaPanelViewTest, KeysReachTheLineBeforeTheListsOwnHandling) {
    add(u"DC.Title"_s, u"T"_s);
    add(u"gamma"_s);
    add(u"DC.Creator"_s);
    widget_input::type(panel, u"g"_s);  // no line selected: no line is looked for either
    EXPECT_EQ(w.context.record.selectedLine(), 0u);
    EXPECT_FALSE(panel->currentIndex().isValid());
    click(1);
    widget_input::type(panel, u"go"_s);
    EXPECT_EQ(content(1), u"Tgo"_s);
    EXPECT_EQ(w.context.record.selectedLine(), line(1));
    widget_input::key(panel, Qt::Key_Return);  // the next line
    EXPECT_EQ(w.context.record.selectedLine(), line(2));
    EXPECT_TRUE(w.context.record.isBold(line(2)));
    widget_input::key(panel, Qt::Key_Return);
    widget_input::key(panel, Qt::Key_Return);  // from the last line to the first
    EXPECT_EQ(w.context.record.selectedLine(), line(1));
    EXPECT_TRUE(recorder.commands.isEmpty());
    click(3);
    w.context.domain.defaultSchema = u"AGLS1.3"_s;
    widget_input::key(panel, Qt::Key_Home);  // the domain's element list, and the list's own first line
    EXPECT_EQ(recorder.commands.size(), 1);
    EXPECT_EQ(w.context.record.selectedLine(), line(1));
    w.context.document.dropMark();
    click(2);
    widget_input::key(panel, Qt::Key_Delete);
    EXPECT_EQ(w.context.record.count(), 2);
    EXPECT_EQ(content(2, Record::Name), u"DC.Creator"_s);
    EXPECT_TRUE(recordModified());
}

// Line 3 dragged onto line 1 lands above it with every value it had; the drop reports a copy,
// so Qt takes no row away.
TEST_F(MetaPanelViewTest, ALineDraggedOntoTheFirstMovesAboveItWholeAndNothingElseChanges) {
    MetadataRecord lines;
    for (int i = 1; i <= 4; ++i)
        lines.append({u"DC.Element%1"_s.arg(i), u"content %1"_s.arg(i), i == 3 ? u"en"_s : QString(),
                      i == 3 ? u"URI"_s : QString(), i == 3, i == 3 ? u"id=\"three\""_s : QString()});
    w.context.record.appendLines(lines);
    const Qt::DropAction done = widget_input::drag(panel->viewport(), cellPixel(3, 1), panel->viewport(), cellPixel(1, 1));
    EXPECT_EQ(done, Qt::CopyAction);
    EXPECT_EQ(w.context.record.lines(), MetadataRecord({lines[2], lines[0], lines[1], lines[3]}));
    EXPECT_EQ(panel->model()->rowCount(), 4);
    EXPECT_EQ(shown(1, 0), u"DC.Element3"_s);
    EXPECT_EQ(w.context.record.selectedLine(), line(1));
    EXPECT_EQ(selectedRows(), QList<int>({1}));
}

TEST_F(MetaPanelViewTest, AColumnClickSortsTheRecordItselfOnce) {
    for (const char* name : {"DC.Title", "dc.creator", "DC.Subject"}) add(QLatin1String(name));
    click(3);
    const QHeaderView* header = panel->header();
    widget_input::click(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
    EXPECT_EQ(w.context.record.lines().at(0).name, u"dc.creator"_s);
    EXPECT_EQ(w.context.record.lines().at(2).name, u"DC.Title"_s);
    EXPECT_EQ(w.context.record.selectedLine(), line(2));  // the line, now second
    EXPECT_EQ(shown(2, 0), u"DC.Subject"_s);
    add(u"A.First"_s);  // not kept in order afterwards
    EXPECT_EQ(shown(4, 0), u"A.First"_s);
    EXPECT_FALSE(panel->isSortingEnabled());
}

TEST_F(MetaPanelViewTest, TheContextMenuComesUpOnTheLineAndActsOnIt) {
    for (int i = 1; i <= 3; ++i) add(u"DC.Line%1"_s.arg(i));
    click(2, Qt::NoModifier, Qt::RightButton);
    ASSERT_TRUE(w.find<QMenu>(u"mnuMaintMeta1"_s)->isVisible());
    EXPECT_EQ(w.context.record.selectedLine(), line(2));
    QAction* deleteLine = nullptr;
    for (QAction* action : w.find<QMenu>(u"mnuMaintMeta1"_s)->actions())
        if (action->text() == u"Delete Line"_s) deleteLine = action;
    ASSERT_NE(deleteLine, nullptr);
    deleteLine->trigger();
    w.find<QMenu>(u"mnuMaintMeta1"_s)->hide();
    EXPECT_EQ(w.context.record.count(), 2);
    EXPECT_EQ(content(2, Record::Name), u"DC.Line3"_s);
}

// 100,000 lines and a value of 10 MB: all shown, the long value's start only, and a field
// command still finds its place among them.
TEST_F(MetaPanelViewTest, AHundredThousandLinesAndATenMegabyteValue) {
    MetadataRecord lines;
    for (int i = 0; i < 100000; ++i) lines.append({u"DC.Subject%1"_s.arg(i % 100), u"term %1"_s.arg(i), {}, {}});
    lines[50000].content = QString(10 * 1024 * 1024, u'x');
    w.context.record.appendLines(lines);
    select(50001);
    testing_support::testDispatcher(w.context).take = {};
    modMTP::runMtpCommand(w.context, u"mtp://field=DC.Subject7&content=Added.fld/"_s);
    QApplication::processEvents();
    ASSERT_EQ(panel->model()->rowCount(), 100001);
    EXPECT_EQ(content(50002), u"Added"_s);  // after the selected line
    EXPECT_EQ(content(50001).size(), 10 * 1024 * 1024);
    EXPECT_EQ(shown(50001, 1).size(), RecordModel::kShownCharacters);
    EXPECT_EQ(shown(100001, 1), u"term 99999"_s);
    EXPECT_EQ(selectedRows(), QList<int>({50002}));
}

// Watches the lines' paints.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(MetaPanelViewTest, ABatchOfAThousandFieldCommandsPaintsTheLinesAFewTimesAndEndsShowingThemAll) {
    recorder.commands.clear();
    testing_support::testDispatcher(w.context).take = {};
    QByteArray batch;
    for (int k = 0; k < 1000; ++k) {
        batch += k % 3 == 0 ? u"mtp://field=DC.Subject&content=Topics|Term %1&scheme=apais.fld/\r\n"_s.arg(k).toUtf8()
                            : u"mtp://field=DC.Description%1&content=Text %2.fld/\r\n"_s.arg(k % 20).arg(k).toUtf8();
    }
    const QString path = write(u"grow.kqb"_s, batch);
    QApplication::processEvents();
    PaintCounter counter(panel->viewport());
    modMTP::runMtpCommand(w.context, u"mtp://open="_s + path + u"/"_s);
    QElapsedTimer settle;  // what the end of the batch paints
    settle.start();
    while (settle.elapsed() < 300) QApplication::processEvents();
    EXPECT_LE(counter.paints, 12);
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(w.context.record.count(), 1 + 666);
    ASSERT_EQ(panel->model()->rowCount(), w.context.record.count());
    EXPECT_EQ(shown(w.context.record.count(), 0), w.context.record.lines().last().name);
    EXPECT_EQ(selectedRows(), QList<int>({w.context.record.positionOf(w.context.record.selectedLine())}));
    // The last command joined a term: the edit panel shows the joined line as it ended.
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->text(), w.context.record.cell(w.context.record.selectedLine(), Record::Content));
    EXPECT_TRUE(w.find<QLineEdit>(u"editNrmlContent"_s)->text().endsWith(u";  Term 999"_s));
    EXPECT_TRUE(panel->viewport()->rect().intersects(
        panel->visualRect(panel->model()->index(w.context.record.positionOf(w.context.record.selectedLine()) - 1, 0))));
}

}  // namespace
