#include "app/Preferences.h"
#include "domains/modSchemas.h"
#include "domains/modScorm.h"
#include "platform/DataObject.h"
#include "platform/ListView.h"
#include "platform/StatusBar.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"
#include "platform/WidgetInput.h"
#include "record/frmdlogInput.h"
#include "support/CommandRecorder.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QDropEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using platform::ListItem;
using testing_support::CommandRecorder;
using testing_support::ScriptedModals;
using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

const QString kMove = u"mtp://moveMetaCell|"_s;
const QString kListQuestion = u"Save the list changes in the Tree View first?"_s;

class MetaPanelTest : public ::testing::Test {
protected:
    TestWindow w;
    CommandRecorder recorder;
    ScriptedMsgBoxes boxes;
    testing_support::KeptValues kept{&modSchemas::defaultSchema, &Preferences::charEncoding};

    void SetUp() override {
        w->resize(1000, 760);
        widget_input::showAndWait(w.form.get());
    }
    void TearDown() override { w->mnuMaintMeta1->hide(); }
    platform::ListView* panel() const { return w->MetaPanel; }
    ListItem* line(int i) const { return panel()->Item(i); }
    QString content(int i) const { return line(i)->SubItems(1); }
    void add(const QString& name, const QString& content = {}, const QString& lang = {}, const QString& scheme = {}) {
        w->addRecordLine({name, content, lang, scheme});
    }
    void addNumbered(int count) {
        for (int i = 1; i <= count; ++i) add(QString::number(i), u"content %1"_s.arg(i));
    }
    QStringList names() const {
        QStringList out;
        for (int i = 1; i <= panel()->Count(); ++i) out << line(i)->Text();
        return out;
    }
    bool recordModified() const { return w->documentState->modified(DocumentState::Document::Record); }
    void markListModified() {
        w->documentState->markModified(DocumentState::Document::List);
    }
    void select(int i) { panel()->setSelectedItem(line(i)); }
    void openEditPanel(int i) { select(i), w->editCurrentLine(); }
    void key(int k) { widget_input::key(panel(), k); }
    void type(const QString& text) { widget_input::type(panel(), text); }
    // A cell's centre in viewport pixels; the same point in twips from the control's corner.
    QPoint cellPixel(ListItem* item, int column) const {
        QRect rect = panel()->visualItemRect(panel()->topLevelItem(panel()->DisplayPosition(item) - 1));
        rect.setLeft(panel()->header()->sectionViewportPosition(column));
        rect.setWidth(panel()->header()->sectionSize(column));
        return rect.center();
    }
    QPoint twips(const QPoint& pixel) const {
        return platform::pixelsToTwips(panel()->viewport()->mapTo(panel(), pixel));
    }
    QPoint cellTwips(ListItem* item, int column) const { return twips(cellPixel(item, column)); }
    QPoint belowTheLines() const { return twips(QPoint(20, panel()->viewport()->height() - 5)); }
    void click(ListItem* item, int column) {
        widget_input::click(panel()->viewport(), Qt::LeftButton, {}, cellPixel(item, column));
    }
    void hover(const QPoint& at) {
        widget_input::mouse(panel()->viewport(), QEvent::MouseMove, Qt::NoButton, Qt::NoButton, Qt::NoModifier,
                            panel()->viewport()->mapFrom(panel(), platform::twipsToPixels(at)));
    }
    // A drop as the system delivers it, from `source` (nullptr: another program).
    void drop(const QString& text, const QPoint& at, QObject* source) {
        QMimeData mime;
        mime.setText(text);
        platform::DataObject data(&mime, source);
        int effect = platform::vbDropEffectCopy;
        Q_EMIT panel()->OLEDragDrop(data, effect, 0, 0, at.x(), at.y());
    }
};

}  // namespace

// ---- keys ----------------------------------------------------------------------------

TEST_F(MetaPanelTest, TypingAndBackspaceEditTheCurrentLineAndMarkTheRecord) {
    add(u"DC.Title"_s);
    add(u"gamma"_s);
    type(u"x"_s);  // nothing to change: nothing marked
    select(1);
    key(Qt::Key_Backspace);
    key(Qt::Key_Escape);
    EXPECT_EQ(content(1), QString());
    EXPECT_FALSE(recordModified());

    type(u"Fish g&é"_s);
    EXPECT_EQ(content(1), u"Fish g&é"_s);         // as typed, not encoded
    EXPECT_EQ(panel()->SelectedItem(), line(1));  // "g" did not jump to the line "gamma"
    EXPECT_TRUE(recordModified());
    EXPECT_TRUE(w->mnuMaintMeta(9)->isEnabled());
    widget_input::key(panel(), Qt::Key_Tab, Qt::NoModifier, u"\t"_s);  // control characters: nothing
    key(Qt::Key_Backspace);
    widget_input::key(panel(), 0, Qt::NoModifier, u"\U0001F41F"_s);
    EXPECT_EQ(content(1), u"Fish g&\U0001F41F"_s);
    key(Qt::Key_Backspace);  // takes the whole pair
    EXPECT_EQ(content(1), u"Fish g&"_s);
}

TEST_F(MetaPanelTest, AnEditAsksToSaveAModifiedListFirstAndCancelKeepsTheLine) {
    add(u"DC.Title"_s, u"a"_s);
    select(1);
    markListModified();
    boxes.expect(kListQuestion, platform::vbCancel).expect(kListQuestion, platform::vbNo);
    type(u"b"_s);
    EXPECT_EQ(content(1), u"a"_s);
    EXPECT_TRUE(w->documentState->modified(DocumentState::Document::List));
    type(u"b"_s);
    EXPECT_EQ(content(1), u"ab"_s);
    EXPECT_TRUE(recordModified());
}

TEST_F(MetaPanelTest, DeleteRemovesEverySelectedLineAndMarksTheRecord) {
    addNumbered(6);
    openEditPanel(2);
    line(4)->setSelected(true);
    line(5)->setSelected(true);
    key(Qt::Key_Delete);
    EXPECT_EQ(names(), QStringList({"1", "3", "6"}));
    EXPECT_TRUE(recordModified());
    // The edit panel has no line left to write to.
    EXPECT_FALSE(w->editNrmlContent->isEnabled());
    w->editNrmlContent->setText(u"typed"_s);
    for (int i = 1; i <= 3; ++i) EXPECT_NE(content(i), u"typed"_s);
}

TEST_F(MetaPanelTest, HomeInsertAndMenuItemTwoLoadTheDomainsElementList) {
    modSchemas::defaultSchema = u"AGLS1.3"_s;
    add(u"DC.Title"_s);
    key(Qt::Key_Home);
    key(Qt::Key_Insert);
    w->mnuMaintMeta(2)->trigger();
    ASSERT_EQ(recorder.commands.size(), 3);
    EXPECT_TRUE(recorder.commands.first().startsWith(u"mtp://url="_s));
    EXPECT_TRUE(recorder.commands.first().endsWith(u"/schemes/AGLS/AGLS1.3.kqs"_s));
    EXPECT_EQ(recorder.commands.count(recorder.commands.first()), 3);
}

// ---- mouse ---------------------------------------------------------------------------

TEST_F(MetaPanelTest, ToolTipsFollowTheCellUnderThePointer) {
    add(u"general.title"_s, u"t"_s, u"en"_s, u"LOMv1.0"_s);
    add(u"DC.Title"_s, u"t"_s);
    const QString help = modScorm::getScormHelp(u"general.title"_s);
    ASSERT_TRUE(help.startsWith(u"Name given to this resource."_s));
    const std::pair<QPoint, QString> cases[] = {
        {cellTwips(line(1), 0), help},
        {cellTwips(line(2), 1), u"No SCORM help available"_s},
        {cellTwips(line(1), 2), u"Double click to Edit"_s},
        {cellTwips(line(1), 3), u"Click to Load Scheme"_s},
        {cellTwips(line(2), 3), u"Double click to Edit"_s},
        {belowTheLines(), QString()},
    };
    for (const auto& [at, tip] : cases) {
        hover(at);
        EXPECT_EQ(panel()->ToolTipText(), tip);
    }
}

TEST_F(MetaPanelTest, ClickingCellsShowsTheirTextAndLoadsSchemes) {
    modSchemas::defaultSchema = u"AGLS1.3"_s;
    add(u"DC.Subject"_s, u"cats"_s, u"en"_s, u"XYZ-list"_s);
    add(u"DC.Identifier"_s, QString(), QString(), u"URI"_s);
    add(u"DC.Date"_s, QString(), QString(), u"ISO8601"_s);
    click(line(1), 0);
    EXPECT_EQ(w->StatusBar1->panelText(3), u"DC.Subject"_s);
    click(line(1), 2);  // the language scheme: nothing is said when there is none
    EXPECT_EQ(w->StatusBar1->panelText(3), u"en"_s);

    boxes.expect(u"There is no scheme to load in under the AGLS1.3 domain."_s, platform::vbOK);
    click(line(1), 3);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().last().title, u"Quorvantile doesnt have that scheme"_s);
    EXPECT_EQ(w->StatusBar1->panelText(3), u"XYZ-list"_s);

    // Addresses, dates and empty cells are left alone.
    click(line(2), 3);
    click(line(3), 3);
    click(line(2), 2);
    EXPECT_EQ(w->StatusBar1->panelText(3), QString());
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(line(2)->Bold());
    EXPECT_FALSE(line(1)->Bold());
}

TEST_F(MetaPanelTest, AColumnClickSortsTheDisplayOnceAndKeepsTheLinesPositions) {
    add(u"DC.Title"_s, u"zebra"_s);
    add(u"DC.Creator"_s, u"ant"_s);
    add(u"DC.Subject"_s, u"moth"_s);
    select(1);
    QHeaderView* header = panel()->header();
    widget_input::click(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    add(u"AAA"_s, u"aaa"_s);  // later lines are not kept in order
    QStringList shown;
    for (int i = 1; i <= 4; ++i) shown << panel()->ItemAtDisplayPosition(i)->Text();
    EXPECT_EQ(shown, QStringList({"DC.Creator", "DC.Subject", "DC.Title", "AAA"}));
    EXPECT_EQ(names(), QStringList({"DC.Title", "DC.Creator", "DC.Subject", "AAA"}));
    EXPECT_TRUE(line(1)->Bold());
}

TEST_F(MetaPanelTest, ADoubleClickOrEditCurrentRecordOpensTheEditPanel) {
    addNumbered(2);
    w->mnuViewQuorvantile_Click();  // the panel hidden: shown first
    ASSERT_TRUE(panel()->isHidden());
    w->mnuEditCurrentRecord->trigger();  // no line selected: the context menu instead
    EXPECT_FALSE(panel()->isHidden());
    EXPECT_TRUE(w->mnuMaintMeta1->isVisible());
    EXPECT_TRUE(w->EditPanel->isHidden());
    w->mnuMaintMeta1->hide();

    const double before = w->splitterY();
    widget_input::doubleClick(panel()->viewport(), Qt::LeftButton, cellPixel(line(2), 0));
    EXPECT_EQ(w->editNrmlContent->text(), u"content 2"_s);
    w->mnuEditCurrentRecord->trigger();  // open already: the splitter stays
    EXPECT_DOUBLE_EQ(w->splitterY(), before - 1700);
    EXPECT_FALSE(recordModified());
}

// ---- drag and drop -------------------------------------------------------------------

TEST_F(MetaPanelTest, DroppingALineMovesItAboveTheLineItLandsOn) {
    struct Case {
        int source, target;  // target 0: below the last line
        QStringList expected;
    };
    const Case cases[] = {
        {2, 5, {"1", "3", "4", "2", "5", "6"}},
        {5, 2, {"1", "5", "2", "3", "4", "6"}},
        {2, 0, {"1", "3", "4", "5", "6", "2"}},
    };
    for (const Case& c : cases) {
        panel()->Clear();
        w->documentState->dropMark();
        addNumbered(6);
        line(c.source)->setTag(u"http-equiv"_s);
        select(c.source);
        const QString text = panel()->collectDragData()->GetText();
        EXPECT_EQ(text, kMove + QString::number(c.source));
        drop(text, c.target ? cellTwips(line(c.target), 1) : belowTheLines(), panel());
        EXPECT_EQ(names(), c.expected) << c.source << " onto " << c.target;
        const int at = int(c.expected.indexOf(QString::number(c.source))) + 1;
        EXPECT_EQ(content(at), u"content %1"_s.arg(c.source));
        EXPECT_EQ(line(at)->Tag(), u"http-equiv"_s);  // still written as it was read
        EXPECT_EQ(panel()->SelectedItem(), line(at));
        EXPECT_TRUE(recordModified());
    }
}

TEST_F(MetaPanelTest, MoveTextsThatNameNoLineOfThisPanelChangeNothing) {
    addNumbered(4);
    drop(kMove + u"2"_s, cellTwips(line(2), 1), panel());  // onto itself
    drop(kMove + u"9"_s, cellTwips(line(1), 1), panel());
    drop(kMove + u"x"_s, cellTwips(line(1), 1), panel());
    drop(kMove + u"3"_s, cellTwips(line(1), 1), nullptr);  // from another program
    EXPECT_EQ(names(), QStringList({"1", "2", "3", "4"}));
    EXPECT_FALSE(recordModified());
    EXPECT_TRUE(recorder.commands.isEmpty());
}

TEST_F(MetaPanelTest, TextOnARelatesToLineIsJoinedOtherTextGoesToTheOpener) {
    add(u"RelatesTo"_s, u"A"_s);
    add(u"relatesto"_s, u"B"_s);
    const QPoint at = cellTwips(line(1), 1);
    drop(u"x|http://one.example/|y"_s, at, nullptr);
    EXPECT_EQ(content(1), u"Ahttp://one.example/\r\n"_s);
    EXPECT_TRUE(recordModified());
    drop(u"|two||"_s, at, nullptr);
    drop(u"only|one bar"_s, at, nullptr);
    EXPECT_EQ(content(1), u"Ahttp://one.example/\r\ntwo\r\n"_s);

    // The name must match exactly; elsewhere the text goes in at the caret.
    openEditPanel(2);
    w->editNrmlContent->clear();
    drop(u"a|joined|b"_s, cellTwips(line(2), 1), nullptr);
    EXPECT_EQ(content(2), u"a|joined|b"_s);
    EXPECT_EQ(panel()->DropHighlight(), nullptr);
}

TEST_F(MetaPanelTest, DroppedFilesOpenTheFirstByItsKindAndFoldersWithASlash) {
    add(u"DC.Title"_s);
    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.html"_s), list = dir.filePath(u"list.kqs"_s);
    const QString folder = dir.filePath(u"folder"_s);
    QDir().mkpath(folder);
    testing_support::writeBytes(page, "<title>Page</title>");
    const auto dropFiles = [&](const QStringList& paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
        mime.setUrls(urls);
        const QPoint pixel = cellPixel(line(1), 1);
        QDragEnterEvent enter(pixel, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel()->viewport(), &enter);
        QDropEvent event(pixel, Qt::CopyAction, &mime, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(panel()->viewport(), &event);
    };
    dropFiles({page, list});  // later files only go to the history
    dropFiles({folder});
    QStringList shown;
    for (const auto& navigation : qobject_cast<testing_support::OfflineBrowser*>(w->WebBrowser1)->navigations())
        shown << navigation.address;
    EXPECT_EQ(shown, QStringList({u"file://"_s + page, u"file://"_s + folder + u"/"_s}));
    EXPECT_EQ(w->backList.first().tag, list);
    EXPECT_TRUE(recorder.commands.isEmpty());
    // No path became content; the folder shown in the browser leaves no record behind.
    EXPECT_TRUE(w->MetaPanel->Count() == 0 || content(1).isEmpty());
}

TEST_F(MetaPanelTest, ATreeNodeDraggedOntoThePanelRunsItsCommand) {
    add(u"DC.Subject"_s);
    add(u"DC.Title"_s);
    platform::TreeView* tree = w->TreeView1[0];
    platform::Node* root =
        tree->Add(static_cast<platform::Node*>(nullptr), platform::tvwLast, u"Scheme\\"_s, u"Scheme"_s);
    platform::Node* term = tree->Add(root, platform::tvwChild, u"Scheme\\Cats"_s, u"Cats"_s);
    term->setTag(u"mtp://field=DC.Subject&content=Cats.fld/"_s);
    tree->setSelectedItem(term);

    QMimeData nothing;  // a command node carries no text of its own
    platform::DataObject data(&nothing, tree);
    int effect = platform::vbDropEffectCopy;
    const QPoint at = cellTwips(line(2), 1);
    Q_EMIT panel()->OLEDragOver(data, effect, 1, 0, at.x(), at.y(), platform::vbOver);
    EXPECT_EQ(panel()->DropHighlight(), line(2));
    Q_EMIT panel()->OLEDragDrop(data, effect, 1, 0, at.x(), at.y());
    EXPECT_EQ(recorder.commands, QStringList({"mtp://field=DC.Subject&content=Cats.fld/"}));
    EXPECT_EQ(panel()->SelectedItem(), line(2));
    EXPECT_EQ(panel()->DropHighlight(), nullptr);
    tree->setSelectedItem(root);  // a folder has no command to run
    Q_EMIT panel()->OLEDragDrop(data, effect, 1, 0, at.x(), at.y());
    EXPECT_EQ(recorder.commands.size(), 1);
}

// ---- context menu --------------------------------------------------------------------

TEST_F(MetaPanelTest, AddCustomLineAsksForANameAndRunsTheFieldCommand) {
    ScriptedModals modals;
    modals
        .then([](QDialog& d) {
            auto& input = static_cast<frmdlogInput&>(d);
            EXPECT_EQ(input.windowTitle(), u"Please Enter a Metadata Field Name"_s);
            input.txtFieldName->setText(u"DC.Custom"_s);
            input.cmdOK->click();
        })
        .then([](QDialog& d) { static_cast<frmdlogInput&>(d).cmdCancel->click(); });
    w->mnuMaintMeta(1)->trigger();
    EXPECT_EQ(recorder.commands, QStringList({"mtp://field=DC.Custom.fld / "}));
    EXPECT_TRUE(recordModified());
    w->mnuMaintMeta(1)->trigger();
    markListModified();  // a cancelled list question stops it before the dialog
    boxes.expect(kListQuestion, platform::vbCancel);
    w->mnuMaintMeta(1)->trigger();
    EXPECT_EQ(recorder.commands.size(), 1);
}

TEST_F(MetaPanelTest, EditLineDeleteLineAndDeleteAllLines) {
    addNumbered(4);
    w->mnuMaintMeta(3)->trigger();  // no line selected: nothing
    EXPECT_TRUE(w->EditPanel->isHidden());
    select(2);
    w->mnuMaintMeta(3)->trigger();
    EXPECT_EQ(w->editNrmlContent->text(), u"content 2"_s);
    line(3)->setSelected(true);
    w->mnuMaintMeta(5)->trigger();
    EXPECT_EQ(names(), QStringList({"1", "4"}));
    EXPECT_TRUE(recordModified());

    const QString question = u"Delete all Metadata lines?"_s;
    boxes.expect(question, platform::vbNo).expect(question, platform::vbYes);
    w->mnuMaintMeta(6)->trigger();
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(boxes.shown().last().title, u"Confirm Delete"_s);
    EXPECT_EQ(boxes.shown().last().style, platform::vbYesNo);
    w->mnuMaintMeta(6)->trigger();
    EXPECT_EQ(recorder.commands, QStringList({"mtp://delete=all.fld"}));

    markListModified();  // Cancel to the list question stops both
    select(1);
    boxes.expect(kListQuestion, platform::vbCancel).expect(kListQuestion, platform::vbCancel);
    w->mnuMaintMeta(5)->trigger();
    w->mnuMaintMeta(6)->trigger();
    EXPECT_EQ(names(), QStringList({"1", "4"}));
    EXPECT_EQ(recorder.commands.size(), 1);
}

TEST_F(MetaPanelTest, CloseViewAndCancelEditing) {
    add(u"DC.Title"_s, u"kept"_s);
    select(1);
    type(u"!"_s);
    w->EditPanelOn();
    boxes.expect(u"Save the metadata edits in the metapanel first?"_s, platform::vbCancel);
    w->mnuMaintMeta(8)->trigger();
    EXPECT_FALSE(panel()->isHidden());

    w->mnuMaintMeta(9)->trigger();
    EXPECT_EQ(w->StatusBar1->panelText(2), u"Ready"_s);
    EXPECT_EQ(w->StatusBar1->panelTag(2), QString());
    EXPECT_TRUE(w->EditPanel->isHidden());
    EXPECT_FALSE(w->mnuMaintMeta(9)->isEnabled());
    EXPECT_EQ(content(1), u"kept!"_s);
    w->mnuMaintMeta(8)->trigger();  // nothing modified now: no question
    EXPECT_TRUE(panel()->isHidden());
}
