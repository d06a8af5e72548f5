#include "record/RecordWindowTest.h"

#include "gui/catalogues/ListTreeModel.h"
#include "gui/catalogues/ListTreeView.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QMimeData>
#include <QTest>
#include <QToolTip>

namespace {

const QString kMove = u"mtp://moveMetaCell|"_s;

class MetaPanelTest : public RecordWindowTest {
protected:
    testing_support::CommandRecorder recorder{w.context};
    MetaPanelView* panel = w.find<MetaPanelView>(u"MetaPanel"_s);

    void SetUp() override {
        w->resize(1000, 760);
        widget_input::showAndWait(w.form.get());
    }
    void addNumbered(int count) {
        for (int i = 1; i <= count; ++i) add(QString::number(i), u"content %1"_s.arg(i));
    }
    QStringList names() const {
        QStringList out;
        for (const MetadataLine& line : w.context.record.lines()) out << line.name;
        return out;
    }
    void key(int k) { widget_input::key(panel, k); }
    // A cell's centre in viewport pixels.
    QPoint cellPixel(int i, int column) const {
        return panel->visualRect(panel->model()->index(i - 1, column)).center();
    }
    // Text dropped onto a cell from another program.
    void drop(const QString& text, const QPoint& at) { widget_input::dropText(panel->viewport(), at, text); }
};

TEST_F(MetaPanelTest, KeysTypeIntoTheCurrentLineAfterTheListQuestionAndLoadTheElementList) {
    add(u"DC.Title"_s);
    add(u"gamma"_s);
    widget_input::type(panel, u"x"_s);  // no line selected: nothing changes, nothing is marked
    select(1);
    key(Qt::Key_Backspace);
    EXPECT_FALSE(recordModified());
    widget_input::type(panel, u"Fish g&é"_s);
    EXPECT_EQ(content(1), u"Fish g&é"_s);       // as typed, not encoded
    EXPECT_EQ(w.context.record.selectedLine(), line(1));  // "g" did not jump to the line "gamma"
    EXPECT_TRUE(recordModified());
    widget_input::key(panel, Qt::Key_Tab, Qt::NoModifier, u"\t"_s);  // control characters: nothing
    widget_input::key(panel, 0, Qt::NoModifier, u"\U0001F41F"_s);
    EXPECT_EQ(content(1), u"Fish g&é\U0001F41F"_s);
    key(Qt::Key_Backspace);  // takes the whole pair
    EXPECT_EQ(content(1), u"Fish g&é"_s);
    markListModified();
    boxes.expect(kListQuestion, platform::kAnswerCancel).expect(kListQuestion, platform::kAnswerNo);
    widget_input::type(panel, u"b"_s);
    EXPECT_EQ(content(1), u"Fish g&é"_s);
    widget_input::type(panel, u"b"_s);
    EXPECT_EQ(content(1), u"Fish g&éb"_s);
    w.context.domain.defaultSchema = u"AGLS1.3"_s;  // Home and Insert load the domain's element list
    key(Qt::Key_Home);
    key(Qt::Key_Insert);
    EXPECT_EQ(recorder.commands, QStringList(2, recorder.commands.value(0)));
    EXPECT_TRUE(recorder.commands.value(0).startsWith(u"mtp://url="_s));
    EXPECT_TRUE(recorder.commands.value(0).endsWith(u"/schemes/AGLS/AGLS1.3.kqs"_s));
}

TEST_F(MetaPanelTest, DroppingALineMovesItAboveTheLineItLandsOnAndOtherMoveTextsDoNothing) {
    const std::tuple<int, int, QStringList> moves[] = {{2, 5, {"1", "3", "4", "2", "5", "6"}},
                                                       {5, 2, {"1", "5", "2", "3", "4", "6"}},
                                                       {2, 0, {"1", "3", "4", "5", "6", "2"}}};  // 0: below the lines
    for (const auto& [source, target, expected] : moves) {
        w.context.record.clear();
        w.context.document.dropMark();
        addNumbered(6);
        w.context.record.setHttpEquiv(line(source), true);
        const Record::LineId dragged = line(source);
        select(source);
        const std::unique_ptr<QMimeData> carried(panel->dragData());
        EXPECT_EQ(carried->text(), kMove + QString::number(source));
        widget_input::drag(panel->viewport(), cellPixel(source, 0), panel->viewport(),
                           target ? cellPixel(target, 1) : QPoint(20, panel->viewport()->height() - 5));
        EXPECT_EQ(names(), expected) << source << " onto " << target;
        const int at = int(expected.indexOf(QString::number(source))) + 1;
        EXPECT_EQ(line(at), dragged);
        EXPECT_EQ(content(at), u"content %1"_s.arg(source));
        EXPECT_TRUE(w.context.record.line(dragged).httpEquiv);  // still written as it was read
        EXPECT_EQ(w.context.record.selectedLine(), dragged);
        EXPECT_TRUE(recordModified());
    }
    w.context.document.dropMark();
    const QStringList before = names();
    widget_input::drag(panel->viewport(), cellPixel(2, 0), panel->viewport(), cellPixel(2, 1));  // onto itself
    drop(kMove + u"9"_s, cellPixel(1, 1));  // from another program
    drop(kMove + u"x"_s, cellPixel(1, 1));
    drop(kMove + u"3"_s, cellPixel(1, 1));
    EXPECT_EQ(names(), before);
    EXPECT_FALSE(recordModified());
    EXPECT_TRUE(recorder.commands.isEmpty());
}

TEST_F(MetaPanelTest, TheToolTipSaysWhatAClickOnTheCellUnderTheMouseDoes) {
    add(u"DC.Title"_s, u"Fish"_s, u"en"_s);
    add(u"DC.Subject"_s, u"Cod"_s, QString(), u"LCSH"_s);
    QWidget* viewport = panel->viewport();
    // The mouse moves there, then rests: the window system asks for the tip.
    const auto tipAt = [&](const QPoint& at) {
        widget_input::mouse(viewport, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, Qt::NoModifier, at);
        QHelpEvent rest(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &rest);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(cellPixel(1, Record::Lang)), u"Double click to Edit"_s);
    EXPECT_EQ(tipAt(cellPixel(1, Record::Scheme)), u"Double click to Edit"_s);
    EXPECT_EQ(tipAt(cellPixel(2, Record::Scheme)), u"Click to Load Scheme"_s);
    tipAt(QPoint(20, viewport->height() - 5));  // below the lines the tip goes
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

TEST_F(MetaPanelTest, TextOnARelatesToLineIsJoinedOtherTextGoesToTheOpenEditPanel) {
    add(u"RelatesTo"_s, u"A"_s);
    add(u"relatesto"_s, u"B"_s);
    drop(u"x|http://one.example/|y"_s, cellPixel(1, 1));
    EXPECT_EQ(content(1), u"Ahttp://one.example/\r\n"_s);
    EXPECT_TRUE(recordModified());
    drop(u"|two||"_s, cellPixel(1, 1));
    drop(u"only|one bar"_s, cellPixel(1, 1));
    EXPECT_EQ(content(1), u"Ahttp://one.example/\r\ntwo\r\n"_s);
    // The name must match exactly; elsewhere the text goes in at the caret of the edit panel a double click opens.
    widget_input::doubleClick(panel->viewport(), Qt::LeftButton, cellPixel(2, 0));
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->text(), u"B"_s);
    w.find<QLineEdit>(u"editNrmlContent"_s)->clear();
    drop(u"a|joined|b"_s, cellPixel(2, 1));
    EXPECT_EQ(content(2), u"a|joined|b"_s);
    EXPECT_EQ(panel->dropHighlight(), 0u);
}

TEST_F(MetaPanelTest, ATreeNodeDraggedOntoThePanelRunsItsCommand) {
    add(u"DC.Subject"_s);
    add(u"DC.Title"_s);
    ListTree& list = w.context.listTrees[0];
    ListTreeView* tree = w.find<ListTreeView>(u"TreeView1_0"_s);
    const ListTree::NodeId root = list.add(0, ListTree::Place::Last, u"Scheme\\"_s, u"Scheme"_s);
    const ListTree::NodeId cats = list.add(root, ListTree::Place::Child, u"Scheme\\Cats"_s, u"Cats"_s);
    list.setTag(cats, u"mtp://field=DC.Subject&content=Cats.fld/"_s);  // a command node carries no text of its own
    w.find<QAction>(u"mnuViewTreeView"_s)->trigger();
    list.setExpanded(root, true);
    QApplication::processEvents();
    const auto nodeCentre = [&](ListTree::NodeId node) {
        return tree->visualRect(tree->treeModel().indexOf(node)).center();
    };
    widget_input::drag(tree->viewport(), nodeCentre(cats), panel->viewport(), cellPixel(2, 1));
    EXPECT_EQ(recorder.commands, QStringList({"mtp://field=DC.Subject&content=Cats.fld/"}));
    EXPECT_EQ(w.context.record.selectedLine(), line(2));
    widget_input::drag(tree->viewport(), nodeCentre(root), panel->viewport(), cellPixel(2, 1));  // a folder has no command
    EXPECT_EQ(recorder.commands.size(), 1);
}

TEST_F(MetaPanelTest, TheDeleteKeyAndTheContextMenusItems) {
    addNumbered(6);
    select(2);
    w.find<QAction>(u"mnuMaintMeta_3"_s)->trigger();  // Edit Line
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->text(), u"content 2"_s);
    w.context.record.setSelection({line(2), line(4), line(5)}, line(2));
    key(Qt::Key_Delete);
    EXPECT_EQ(names(), QStringList({"1", "3", "6"}));
    EXPECT_TRUE(recordModified());
    w.find<QLineEdit>(u"editNrmlContent"_s)->setText(u"typed"_s);  // the edit panel has no line left to write to
    for (int i = 1; i <= 3; ++i) EXPECT_NE(content(i), u"typed"_s);
    w.context.record.setSelection({line(2), line(3)}, line(2));
    w.find<QAction>(u"mnuMaintMeta_5"_s)->trigger();  // Delete Line
    EXPECT_EQ(names(), QStringList({"1"}));
    const QString question = u"Delete all Metadata lines?"_s;
    boxes.expect(question, platform::kAnswerNo).expect(question, platform::kAnswerYes);
    w.find<QAction>(u"mnuMaintMeta_6"_s)->trigger();
    EXPECT_TRUE(recorder.commands.isEmpty());
    w.find<QAction>(u"mnuMaintMeta_6"_s)->trigger();
    EXPECT_EQ(recorder.commands, QStringList({"mtp://delete=all.fld"}));
    then(u"frmdlogInput"_s, [](QDialog& input) { press(input, u"cmdCancel"_s); });  // Add Custom Line asks the name
    then(u"frmdlogInput"_s, [](QDialog& input) {
        typeOver(input, u"txtFieldName"_s, u"DC.Custom"_s);
        press(input, u"cmdOK"_s);
    });
    w.find<QAction>(u"mnuMaintMeta_1"_s)->trigger();
    w.find<QAction>(u"mnuMaintMeta_1"_s)->trigger();
    EXPECT_EQ(recorder.commands, QStringList({"mtp://delete=all.fld", "mtp://field=DC.Custom.fld / "}));
    w.find<QAction>(u"mnuViewEdit"_s)->trigger();
    boxes.expect(kRecordQuestion, platform::kAnswerCancel);
    w.find<QAction>(u"mnuMaintMeta_8"_s)->trigger();  // Close View asks about the modified record first
    EXPECT_FALSE(panel->isHidden());
    w.find<QAction>(u"mnuMaintMeta_9"_s)->trigger();  // Cancel Editing drops the mark and keeps the lines
    EXPECT_EQ(w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(2), u"Ready"_s);
    EXPECT_TRUE(w.find<QGroupBox>(u"EditPanel"_s)->isHidden());
    EXPECT_EQ(names(), QStringList({"1"}));
    w.find<QAction>(u"mnuMaintMeta_8"_s)->trigger();
    EXPECT_TRUE(panel->isHidden());
}

}  // namespace
