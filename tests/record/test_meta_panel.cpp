#include "app/Preferences.h"
#include "domains/modSchemas.h"
#include "domains/modScorm.h"
#include "platform/DataObject.h"
#include "platform/ListView.h"
#include "platform/OfflineBrowser.h"
#include "platform/StatusBar.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"
#include "platform/WidgetInput.h"
#include "record/frmdlogInput.h"
#include "support/CommandRecorder.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
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

#include <algorithm>

using platform::ListItem;
using testing_support::CommandRecorder;
using testing_support::ScriptedModals;
using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

const QString kMove = QStringLiteral("mtp://moveMetaCell|");
const QString kListQuestion = QStringLiteral("Save the list changes in the Tree View first?");

class MetaPanelTest : public ::testing::Test {
protected:
    TestWindow w;
    CommandRecorder recorder;
    ScriptedMsgBoxes boxes;
    QString savedDomain = modSchemas::defaultSchema;
    QString savedEncoding = Preferences::charEncoding;

    void SetUp() override {
        w->resize(1000, 760);
        widget_input::showAndWait(w.form.get());
    }
    void TearDown() override {
        w->mnuMaintMeta1->hide();
        modSchemas::defaultSchema = savedDomain;
        Preferences::charEncoding = savedEncoding;
    }
    platform::ListView* panel() const { return w->MetaPanel; }
    ListItem* line(int i) const { return panel()->Item(i); }
    void add(const QString& name, const QString& content = {}, const QString& lang = {}, const QString& scheme = {}) {
        w->addRecordLine({name, content, lang, scheme});
    }
    void addNumbered(int count) {
        for (int i = 1; i <= count; ++i) add(QString::number(i), QStringLiteral("content ") + QString::number(i));
    }
    QStringList names() const {
        QStringList out;
        for (int i = 1; i <= panel()->Count(); ++i) out << line(i)->Text();
        return out;
    }
    bool recordModified() const { return w->documentModified(QStringLiteral("Record")); }
    void markListModified() {
        w->StatusBar1->setPanelText(2, QStringLiteral("Modified"));
        w->StatusBar1->setPanelTag(2, QStringLiteral("List"));
    }
    void select(int i) { panel()->setSelectedItem(line(i)); }
    void openEditPanel(int i) {
        select(i);
        w->editCurrentLine();
    }
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
    void click(ListItem* item, int column, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        widget_input::click(panel()->viewport(), button, modifiers, cellPixel(item, column));
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

// What a dropped item reached: the opener shows it, runs a command or loads a page with it.
class Reached {
public:
    explicit Reached(const CommandRecorder& recorder) : recorder_(recorder) {
        platform::setMsgBoxResponder([this](const platform::MsgBoxCall& call) {
            boxes_ << call.text;
            return int(platform::vbOK);
        });
    }
    ~Reached() {
        platform::setMsgBoxResponder([](const platform::MsgBoxCall& call) {
            ADD_FAILURE() << "Unexpected message box: " << call.text.toStdString();
            return int(platform::vbCancel);
        });
    }
    bool contains(const Form1& form, const QString& item) const {
        QStringList seen = boxes_ + recorder_.commands;
        if (auto* browser = qobject_cast<platform::OfflineBrowser*>(form.WebBrowser1)) {
            for (const auto& navigation : browser->navigations()) seen << navigation.address;
        }
        return std::any_of(seen.begin(), seen.end(), [&](const QString& text) { return text.contains(item); });
    }

private:
    const CommandRecorder& recorder_;
    QStringList boxes_;
};

}  // namespace

// ---- keys ----------------------------------------------------------------------------

TEST_F(MetaPanelTest, TypingAndBackspaceEditTheCurrentLineAndMarkTheRecord) {
    add(QStringLiteral("DC.Title"));
    add(QStringLiteral("gamma"));
    // Nothing to change: nothing marked.
    widget_input::type(panel(), QStringLiteral("x"));
    select(1);
    widget_input::key(panel(), Qt::Key_Backspace);
    widget_input::key(panel(), Qt::Key_Escape);
    EXPECT_EQ(line(1)->SubItems(1), QString());
    EXPECT_FALSE(recordModified());

    widget_input::type(panel(), QStringLiteral("Fish g&é"));
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("Fish g&é"));  // as typed, not encoded
    EXPECT_EQ(panel()->SelectedItem(), line(1));  // "g" did not jump to the line "gamma"
    EXPECT_TRUE(recordModified());
    EXPECT_TRUE(w->mnuMaintMeta(9)->isEnabled());
    widget_input::key(panel(), Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));  // control characters: nothing
    widget_input::key(panel(), Qt::Key_Backspace);
    widget_input::key(panel(), 0, Qt::NoModifier, QStringLiteral("\U0001F41F"));
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("Fish g&\U0001F41F"));
    widget_input::key(panel(), Qt::Key_Backspace);  // takes the whole pair
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("Fish g&"));
}

TEST_F(MetaPanelTest, AnEditAsksToSaveAModifiedListFirstAndCancelKeepsTheLine) {
    add(QStringLiteral("DC.Title"), QStringLiteral("a"));
    select(1);
    markListModified();
    boxes.expect(kListQuestion, platform::vbCancel).expect(kListQuestion, platform::vbNo);
    widget_input::type(panel(), QStringLiteral("b"));
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("a"));
    EXPECT_TRUE(w->documentModified(QStringLiteral("List")));
    widget_input::type(panel(), QStringLiteral("b"));
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("ab"));
    EXPECT_TRUE(recordModified());
}

TEST_F(MetaPanelTest, TypingWithTheEditPanelOpenShowsTheLineThere) {
    Preferences::charEncoding = QStringLiteral("2");
    add(QStringLiteral("DC.Title"), QStringLiteral("Fish"));
    openEditPanel(1);
    widget_input::type(panel(), QStringLiteral("&"));
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("Fish&"));
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("Fish&"));
    EXPECT_EQ(w->editNrmlContent->cursorPosition(), 5);
}

TEST_F(MetaPanelTest, DeleteRemovesEverySelectedLineAndMarksTheRecord) {
    addNumbered(6);
    openEditPanel(2);
    line(4)->setSelected(true);
    line(5)->setSelected(true);
    widget_input::key(panel(), Qt::Key_Delete);
    EXPECT_EQ(names(), QStringList({"1", "3", "6"}));
    EXPECT_TRUE(recordModified());
    // The edit panel has no line left to write to.
    EXPECT_FALSE(w->editNrmlContent->isEnabled());
    w->editNrmlContent->setText(QStringLiteral("typed"));
    for (int i = 1; i <= 3; ++i) EXPECT_NE(line(i)->SubItems(1), QStringLiteral("typed"));
}

TEST_F(MetaPanelTest, EnterAndTheArrowKeysMoveTheCurrentLine) {
    addNumbered(3);
    select(2);
    widget_input::key(panel(), Qt::Key_Return);
    EXPECT_EQ(panel()->SelectedItem(), line(3));
    EXPECT_TRUE(line(3)->Bold());
    EXPECT_FALSE(line(2)->Bold());
    widget_input::key(panel(), Qt::Key_Return);  // wraps round
    EXPECT_EQ(panel()->SelectedItem(), line(1));
    EXPECT_TRUE(line(1)->Bold());
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("content 1"));  // Enter types nothing

    // With the edit panel open, the line moved to is shown there.
    w->editCurrentLine();
    widget_input::key(panel(), Qt::Key_Return);
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("content 2"));
    panel()->setFocus();
    widget_input::key(panel(), Qt::Key_Down);
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("content 3"));
    EXPECT_TRUE(line(3)->Bold());
    widget_input::key(panel(), Qt::Key_Up);
    EXPECT_EQ(w->editNrmlName->text(), QStringLiteral("2"));
    EXPECT_FALSE(w->fillingEditPanel);
    EXPECT_FALSE(recordModified());
}

TEST_F(MetaPanelTest, HomeInsertAndMenuItemTwoLoadTheDomainsElementList) {
    modSchemas::defaultSchema = QStringLiteral("AGLS1.3");
    add(QStringLiteral("DC.Title"));
    widget_input::key(panel(), Qt::Key_Home);
    widget_input::key(panel(), Qt::Key_Insert);
    w->mnuMaintMeta(2)->trigger();
    ASSERT_EQ(recorder.commands.size(), 3);
    EXPECT_TRUE(recorder.commands.first().startsWith(QStringLiteral("mtp://url=")));
    EXPECT_TRUE(recorder.commands.first().endsWith(QStringLiteral("/schemes/AGLS/AGLS1.3.kqs")));
    EXPECT_EQ(recorder.commands.count(recorder.commands.first()), 3);
}

// ---- mouse ---------------------------------------------------------------------------

TEST_F(MetaPanelTest, ToolTipsFollowTheCellUnderThePointer) {
    add(QStringLiteral("general.title"), QStringLiteral("t"), QStringLiteral("en"), QStringLiteral("LOMv1.0"));
    add(QStringLiteral("DC.Title"), QStringLiteral("t"));
    const QString help = modScorm::getScormHelp(QStringLiteral("general.title"));
    ASSERT_TRUE(help.startsWith(QStringLiteral("Name given to this resource.")));
    const std::pair<QPoint, QString> cases[] = {
        {cellTwips(line(1), 0), help},
        {cellTwips(line(2), 1), QStringLiteral("No SCORM help available")},
        {cellTwips(line(1), 2), QStringLiteral("Double click to Edit")},
        {cellTwips(line(1), 3), QStringLiteral("Click to Load Scheme")},
        {cellTwips(line(2), 3), QStringLiteral("Double click to Edit")},
        {belowTheLines(), QString()},
    };
    for (const auto& [at, tip] : cases) {
        hover(at);
        EXPECT_EQ(panel()->ToolTipText(), tip);
    }
}

TEST_F(MetaPanelTest, ClickingCellsShowsTheirTextAndLoadsSchemes) {
    modSchemas::defaultSchema = QStringLiteral("AGLS1.3");
    add(QStringLiteral("DC.Subject"), QStringLiteral("cats"), QStringLiteral("en"), QStringLiteral("XYZ-list"));
    add(QStringLiteral("DC.Identifier"), QString(), QString(), QStringLiteral("URI"));
    add(QStringLiteral("DC.Date"), QString(), QString(), QStringLiteral("ISO8601"));
    click(line(1), 0);
    EXPECT_EQ(w->StatusBar1->panelText(3), QStringLiteral("DC.Subject"));
    EXPECT_TRUE(line(1)->Bold());
    click(line(1), 2);  // the language scheme: nothing is said when there is none
    EXPECT_EQ(w->StatusBar1->panelText(3), QStringLiteral("en"));

    boxes.expect(QStringLiteral("There is no scheme to load in under the AGLS1.3 domain."), platform::vbOK);
    click(line(1), 3);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().last().title, QStringLiteral("Quorvantile doesnt have that scheme"));
    EXPECT_EQ(w->StatusBar1->panelText(3), QStringLiteral("XYZ-list"));

    // Addresses, dates and empty cells are left alone.
    click(line(2), 3);
    click(line(3), 3);
    click(line(2), 2);
    EXPECT_EQ(w->StatusBar1->panelText(3), QString());
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(line(2)->Bold());
    EXPECT_FALSE(line(1)->Bold());
}

TEST_F(MetaPanelTest, ClicksSteerTheEditPanelAndTheRightButtonPopsUpTheMenu) {
    addNumbered(3);
    openEditPanel(1);
    click(line(3), 1);
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("content 3"));
    click(line(2), 1, Qt::LeftButton, Qt::ShiftModifier);  // Shift: the edit fields stand still
    EXPECT_FALSE(w->editNrmlContent->isEnabled());

    click(line(1), 0, Qt::RightButton);
    EXPECT_EQ(panel()->SelectedItem(), line(1));
    EXPECT_TRUE(w->mnuMaintMeta1->isVisible());
    w->mnuMaintMeta1->hide();
    widget_input::click(panel()->viewport(), Qt::RightButton, {}, QPoint(20, panel()->viewport()->height() - 5));
    EXPECT_EQ(panel()->SelectedItem(), nullptr);
    EXPECT_TRUE(w->mnuMaintMeta1->isVisible());
    EXPECT_FALSE(recordModified());
}

TEST_F(MetaPanelTest, AColumnClickSortsTheDisplayOnceAndKeepsTheLinesPositions) {
    add(QStringLiteral("DC.Title"), QStringLiteral("zebra"));
    add(QStringLiteral("DC.Creator"), QStringLiteral("ant"));
    add(QStringLiteral("DC.Subject"), QStringLiteral("moth"));
    select(1);
    QHeaderView* header = panel()->header();
    widget_input::click(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    add(QStringLiteral("AAA"), QStringLiteral("aaa"));  // later lines are not kept in order
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
    EXPECT_FALSE(w->EditPanel->isHidden());
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("content 2"));
    EXPECT_DOUBLE_EQ(w->splitterY(), before - 1700);
    // Open already: it only names the element; the check mark stays.
    w->StatusBar1->setPanelText(3, QString());
    w->mnuEditCurrentRecord->trigger();
    EXPECT_EQ(w->StatusBar1->panelText(3), QStringLiteral("2"));
    EXPECT_DOUBLE_EQ(w->splitterY(), before - 1700);
    EXPECT_TRUE(w->mnuEditCurrentRecord->isChecked());
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
        w->StatusBar1->setPanelText(2, QString());
        addNumbered(6);
        line(c.source)->setTag(QStringLiteral("http-equiv"));
        select(c.source);
        const QString text = panel()->collectDragData()->GetText();
        EXPECT_EQ(text, kMove + QString::number(c.source));
        drop(text, c.target ? cellTwips(line(c.target), 1) : belowTheLines(), panel());
        EXPECT_EQ(names(), c.expected) << c.source << " onto " << c.target;
        const int at = int(c.expected.indexOf(QString::number(c.source))) + 1;
        EXPECT_EQ(line(at)->SubItems(1), QStringLiteral("content ") + QString::number(c.source));
        EXPECT_EQ(line(at)->Tag(), QStringLiteral("http-equiv"));  // still written as it was read
        EXPECT_EQ(panel()->SelectedItem(), line(at));
        EXPECT_TRUE(recordModified());
    }
}

TEST_F(MetaPanelTest, MoveTextsThatNameNoLineOfThisPanelChangeNothing) {
    addNumbered(4);
    drop(kMove + QStringLiteral("2"), cellTwips(line(2), 1), panel());  // onto itself
    drop(kMove + QStringLiteral("9"), cellTwips(line(1), 1), panel());
    drop(kMove + QStringLiteral("x"), cellTwips(line(1), 1), panel());
    drop(kMove + QStringLiteral("3"), cellTwips(line(1), 1), nullptr);  // from another program
    EXPECT_EQ(names(), QStringList({"1", "2", "3", "4"}));
    EXPECT_FALSE(recordModified());
    EXPECT_TRUE(recorder.commands.isEmpty());
}

TEST_F(MetaPanelTest, DraggingOverSelectsTheLineUnlessALineIsMoved) {
    addNumbered(3);
    select(1);
    int effect = platform::vbDropEffectMove;
    const QPoint third = cellTwips(line(3), 1);
    QMimeData moving, words;
    moving.setText(kMove + QStringLiteral("1"));
    words.setText(QStringLiteral("some words"));
    platform::DataObject moveData(&moving, panel()), textData(&words);
    Q_EMIT panel()->OLEDragOver(moveData, effect, 1, 0, third.x(), third.y(), platform::vbOver);
    EXPECT_EQ(panel()->SelectedItem(), line(1));
    EXPECT_EQ(panel()->DropHighlight(), nullptr);
    Q_EMIT panel()->OLEDragOver(textData, effect, 1, 0, third.x(), third.y(), platform::vbOver);
    EXPECT_EQ(panel()->SelectedItem(), line(3));
    EXPECT_TRUE(line(3)->Bold());
    EXPECT_EQ(panel()->DropHighlight(), line(3));
}

TEST_F(MetaPanelTest, TextOnARelatesToLineIsJoinedOtherTextGoesToTheOpener) {
    add(QStringLiteral("RelatesTo"), QStringLiteral("A"));
    add(QStringLiteral("relatesto"), QStringLiteral("B"));
    const QPoint at = cellTwips(line(1), 1);
    drop(QStringLiteral("x|http://one.example/|y"), at, nullptr);
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("Ahttp://one.example/\r\n"));
    EXPECT_TRUE(recordModified());
    drop(QStringLiteral("|two||"), at, nullptr);
    drop(QStringLiteral("only|one bar"), at, nullptr);
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("Ahttp://one.example/\r\ntwo\r\n"));

    // The name must match exactly; elsewhere the text replaces the content or opens.
    openEditPanel(2);
    Reached reached(recorder);
    drop(QStringLiteral("a|joined|b"), cellTwips(line(2), 1), nullptr);
    EXPECT_TRUE(reached.contains(*w, QStringLiteral("a|joined|b")) ||
                line(2)->SubItems(1) == QStringLiteral("a|joined|b"));
    EXPECT_EQ(panel()->DropHighlight(), nullptr);
}

TEST_F(MetaPanelTest, DroppedFilesOpenTheFirstByItsKindAndFoldersWithASlash) {
    add(QStringLiteral("DC.Title"));
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("page.html"));
    const QString list = dir.filePath(QStringLiteral("list.kqs"));
    const QString folder = dir.filePath(QStringLiteral("folder"));
    QDir().mkpath(folder);
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
    {
        Reached reached(recorder);
        dropFiles({page, list});
        EXPECT_TRUE(reached.contains(*w, page));
        EXPECT_FALSE(reached.contains(*w, list));  // later files only go to the history
    }
    {
        Reached reached(recorder);
        dropFiles({folder});
        EXPECT_TRUE(reached.contains(*w, folder + QLatin1Char('/')));
    }
    // No path became content; the folder shown in the browser leaves no record behind.
    EXPECT_TRUE(w->MetaPanel->Count() == 0 || line(1)->SubItems(1).isEmpty());
}

TEST_F(MetaPanelTest, ATreeNodeDraggedOntoThePanelRunsItsCommand) {
    add(QStringLiteral("DC.Subject"));
    add(QStringLiteral("DC.Title"));
    platform::TreeView* tree = w->TreeView1[0];
    platform::Node* root = tree->Add(static_cast<platform::Node*>(nullptr), platform::tvwLast,
                                     QStringLiteral("Scheme\\"), QStringLiteral("Scheme"));
    platform::Node* term = tree->Add(root, platform::tvwChild, QStringLiteral("Scheme\\Cats"), QStringLiteral("Cats"));
    term->setTag(QStringLiteral("mtp://field=DC.Subject&content=Cats.fld/"));
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
            EXPECT_EQ(input.windowTitle(), QStringLiteral("Please Enter a Metadata Field Name"));
            EXPECT_EQ(input.txtFieldName->text(), QString());
            input.txtFieldName->setText(QStringLiteral("DC.Custom"));
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
    const double before = w->splitterY();
    w->mnuMaintMeta(3)->trigger();
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("content 2"));
    EXPECT_DOUBLE_EQ(w->splitterY(), before - 1700);

    line(3)->setSelected(true);
    w->mnuMaintMeta(5)->trigger();
    EXPECT_EQ(names(), QStringList({"1", "4"}));
    EXPECT_TRUE(recordModified());

    boxes.expect(QStringLiteral("Delete all Metadata lines?"), platform::vbNo)
        .expect(QStringLiteral("Delete all Metadata lines?"), platform::vbYes);
    w->mnuMaintMeta(6)->trigger();
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(boxes.shown().last().title, QStringLiteral("Confirm Delete"));
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
    add(QStringLiteral("DC.Title"), QStringLiteral("kept"));
    select(1);
    widget_input::type(panel(), QStringLiteral("!"));
    w->EditPanelOn();
    boxes.expect(QStringLiteral("Save the metadata edits in the metapanel first?"), platform::vbCancel);
    w->mnuMaintMeta(8)->trigger();
    EXPECT_FALSE(panel()->isHidden());

    w->mnuMaintMeta(9)->trigger();
    EXPECT_EQ(w->StatusBar1->panelText(2), QStringLiteral("Ready"));
    EXPECT_EQ(w->StatusBar1->panelTag(2), QString());
    EXPECT_TRUE(w->EditPanel->isHidden());
    EXPECT_FALSE(w->mnuMaintMeta(9)->isEnabled());
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("kept!"));
    w->mnuMaintMeta(8)->trigger();  // nothing modified now: no question
    EXPECT_TRUE(panel()->isHidden());
}
