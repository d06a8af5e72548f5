// What a new user meets first, reached the way the user reaches it: keys typed into the
// focused control, picks from lists, drops, the menus.
#include "AppTestSupport.h"
#include "platform/FileDialogs.h"
#include "platform/Twips.h"
#include "platform/WidgetInput.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QToolBar>

namespace {

class NewUserTest : public FileMenuTest {
protected:
    testing_support::ScriptedModals modals;
    void SetUp() override {
        FileMenuTest::SetUp();
        widget_input::showAndWait(w.form.get());
    }
    // Picks an entry of a combo box's list as the user does: the list opened, the entry
    // reached with the arrow keys, Enter.
    static void pick(QComboBox* box, const QString& entry) {
        box->setFocus();
        box->showPopup();
        QApplication::processEvents();  // the list is on screen before the user reaches it
        QAbstractItemView* list = box->view();
        list->setCurrentIndex(box->model()->index(box->findText(entry), 0));
        widget_input::key(list, Qt::Key_Return);
        QApplication::processEvents();
    }
};

TEST_F(NewUserTest, EnterInTheAddressBoxOpensTheTypedPathAndBackShowsThePageShown) {
    const QString first = write(u"first.htm"_s, pageTitled("First"));
    const QString second = write(u"second.htm"_s, pageTitled("Second"));
    for (const QString& page : {first, second}) {
        w.find<QComboBox>(u"URL"_s)->setFocus();
        w.find<QComboBox>(u"URL"_s)->lineEdit()->selectAll();
        widget_input::type(QApplication::focusWidget(), page);
        widget_input::key(QApplication::focusWidget(), Qt::Key_Return);
        browser().settle();
    }
    EXPECT_EQ(w.context.record.lineAt(1).content, u"Second"_s);
    EXPECT_GE(w.find<QComboBox>(u"URL"_s)->findText(second), 0);  // the history keeps what was typed
    w.find<QAction>(u"Toolbar1_%1"_s.arg(NavigationPane::kPreviousButton))->trigger();
    browser().settle();
    EXPECT_TRUE(w.find<QComboBox>(u"URL"_s)->currentText().endsWith(u"first.htm"_s)) << w.find<QComboBox>(u"URL"_s)->currentText();
    // Typing an entry of the history and leaving the box opens nothing.
    const QString shown = w.context.record.lineAt(1).content;
    w.find<QComboBox>(u"URL"_s)->setFocus();
    w.find<QComboBox>(u"URL"_s)->lineEdit()->selectAll();
    widget_input::type(QApplication::focusWidget(), shown == u"Second"_s ? first : second);
    widget_input::key(QApplication::focusWidget(), Qt::Key_Tab);
    browser().settle();
    EXPECT_EQ(w.context.record.lineAt(1).content, shown);
    // A pick from the history list does open the page.
    pick(w.find<QComboBox>(u"URL"_s), shown == u"Second"_s ? first : second);
    browser().settle();
    EXPECT_NE(w.context.record.lineAt(1).content, shown);
}

TEST_F(NewUserTest, TheEditPanelTakesPicksDropsAndEnterAsItsControlsShould) {
    openPage(u"page.htm"_s);
    w.context.record.append({u"DC.Date"_s, u""_s, {}, {}});
    editLine(2);
    w.find<QAction>(u"mnuMaintMeta_%1"_s.arg(MetaPanelEvents::kCancelEditing))->setEnabled(true);
    ASSERT_GE(w.find<QComboBox>(u"editNrmlScheme"_s)->findText(u"ISO8601"_s), 0) << w.find<QComboBox>(u"editNrmlScheme"_s)->count();
    pick(w.find<QComboBox>(u"editNrmlScheme"_s), u"ISO8601"_s);
    EXPECT_EQ(w.context.record.lineAt(2).scheme, u"ISO8601"_s);
    EXPECT_TRUE(w.find<QWidget>(u"editDates"_s)->isVisible());  // the click handler ran, not only the change
    EXPECT_TRUE(w.find<QAction>(u"mnuMaintMeta_%1"_s.arg(MetaPanelEvents::kCancelEditing))->isEnabled());
    // Enter in the year box moves on to the next line (from the last, the first).
    w.find<QComboBox>(u"editDateyear"_s)->setFocus();
    widget_input::key(w.find<QComboBox>(u"editDateyear"_s), Qt::Key_Return);
    EXPECT_EQ(w.context.record.positionOf(w.context.record.selectedLine()), 1);
    editLine(2);

    // A language picked is written, without a mark of its own.
    w.context.document.dropMark();
    pick(w.find<QComboBox>(u"editNrmlLang"_s), w.find<QComboBox>(u"editNrmlLang"_s)->itemText(w.find<QComboBox>(u"editNrmlLang"_s)->count() - 1));
    EXPECT_EQ(w.context.record.lineAt(2).lang, w.find<QComboBox>(u"editNrmlLang"_s)->currentText());
    EXPECT_FALSE(w.context.document.modified());

    // A term link dropped on the content box runs; it is not pasted in as text.
    editLine(1);
    const QString before = w.find<QLineEdit>(u"editNrmlContent"_s)->text();
    QMimeData term;
    term.setText(u"mtp://field=DC.Subject&content=Cats.fld/"_s);
    for (QEvent::Type type : {QEvent::DragEnter, QEvent::Drop}) {
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &term, Qt::LeftButton, Qt::NoModifier, type);
        QApplication::sendEvent(w.find<QLineEdit>(u"editNrmlContent"_s), &drop);
    }
    EXPECT_EQ(w.context.record.lines().count(MetadataLine{u"DC.Subject"_s, u"Cats"_s, {}, {}}), 1);
    EXPECT_EQ(w.context.record.lineAt(1).content, before);

    // Enter in the content box makes the next line the current one.
    editLine(1);
    w.find<QLineEdit>(u"editNrmlContent"_s)->setFocus();
    widget_input::key(w.find<QLineEdit>(u"editNrmlContent"_s), Qt::Key_Return);
    EXPECT_EQ(w.context.record.positionOf(w.context.record.selectedLine()), 2);
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlName"_s)->text(), w.context.record.lineAt(2).name);
}

TEST_F(NewUserTest, ViewEditPanelPutsTheDividerWhereTheLinesFit) {
    w->resize(1000, 900);
    QApplication::processEvents();
    openPage(u"page.htm"_s);
    for (int i = 0; i < 5; ++i) w.context.record.append({u"DC.Subject"_s, QString::number(i), {}, {}});
    w.find<QAbstractButton>(u"EditClose"_s)->click();
    w.find<QAction>(u"mnuViewEdit"_s)->trigger();
    QApplication::processEvents();
    // Every line shows whole, with no room for another below the last.
    MetaPanelView& panel = *w.find<MetaPanelView>(u"MetaPanel"_s);
    const QModelIndex last = panel.model()->index(w.context.record.count() - 1, 0);
    EXPECT_TRUE(panel.viewport()->rect().contains(panel.visualRect(panel.model()->index(0, 0))));
    EXPECT_TRUE(panel.viewport()->rect().contains(panel.visualRect(last)));
    EXPECT_LT(panel.viewport()->height() - panel.visualRect(last).bottom(), panel.visualRect(last).height());
    // Hiding the browser gives its room to the panels below.
    w.find<QAction>(u"mnuViewWebBrowser"_s)->trigger();
    EXPECT_LT(w.find<QGroupBox>(u"EditPanel"_s)->y(), w.find<QToolBar>(u"Toolbar1"_s)->geometry().bottom() + 30);
}

TEST_F(NewUserTest, AFileThatIsNoTextPageIsNeverWrittenInto) {
    const QByteArray picture = "GIF89a\x01\x00\x01\x00\x00\x00\x00;";
    const QString fake = write(u"picture.htm"_s, picture);
    openPage(u"page.htm"_s, u"New title"_s);
    boxes.expect(u"not a text page, so nothing was written into it: "_s + fake, kAnswerOk);
    w.enter(u"mtp://save="_s + fake);
    EXPECT_EQ(read(fake), picture);
    EXPECT_TRUE(w.context.document.modified(DocumentState::Document::Record));
}

TEST_F(NewUserTest, DialogsListLinuxPagesAndAllFilesAndTransferErrorsSayWhatFailed) {
    dialogs.cancel();
    w.find<QAction>(u"mnuFileOpenIdx_%1"_s.arg(FileMenu::kOpenPage))->trigger();
    const platform::FileDialogRequest& request = dialogs.requests().at(0);
    EXPECT_TRUE(request.filters.first().pattern.contains(u"*.html"_s));
    EXPECT_EQ(request.filters.last().name, u"All files"_s);
    EXPECT_EQ(request.filters.last().pattern, u"*"_s);
    EXPECT_TRUE(request.proposedName.isEmpty());

    boxes.expect(u"ErrorCode: 12029 (could not connect: 127.0.0.1)"_s, kAnswerOk);
    w.enter(u"http://127.0.0.1:9/page.htm"_s);
    EXPECT_EQ(boxes.shown().last().title, u"Quorvantile"_s);  // the box has no title of its own
}

TEST_F(NewUserTest, TypingReplacesAProposedContentAndExtendsAnAddressPrefix) {
    open(write(u"minimal.html"_s, "<html><head></head><body><p>Hi</p></body></html>"));
    modals.then([](QDialog& dialog) {
        auto* name = testing_support::child<QLineEdit>(dialog, u"txtFieldName"_s);
        name->setFocus();
        widget_input::type(name, u"DC.Title"_s);
        testing_support::press(dialog, u"cmdOK"_s);
    });
    w.find<QAction>(u"mnuMaintMeta_%1"_s.arg(MetaPanelEvents::kAddCustomLine))->trigger();
    w->activateWindow();  // as the desktop does when the dialog goes
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), w.find<QLineEdit>(u"editNrmlContent"_s));
    EXPECT_TRUE(w.find<QLineEdit>(u"editNrmlContent"_s)->text().endsWith(u"minimal.html"_s));  // the page's name, proposed
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->selectedText(), w.find<QLineEdit>(u"editNrmlContent"_s)->text());
    widget_input::type(QApplication::focusWidget(), u"Minimal"_s);
    EXPECT_EQ(w.context.record.lines().last(), (MetadataLine{u"DC.Title"_s, u"Minimal"_s, {}, {}}));

    // An address begun is there to be finished.
    modMTP::runMtpCommand(w.context, u"mtp://field=DC.Relation&content=http://.fld/"_s);
    ASSERT_EQ(QApplication::focusWidget(), w.find<QLineEdit>(u"editNrmlContent"_s));
    widget_input::type(QApplication::focusWidget(), u"site.example"_s);
    EXPECT_EQ(w.context.record.lines().last().content, u"http://site.example"_s);
}

// Before any domain is chosen (a first start with a list as its argument), saving a Harvest
// Control List says which domain writes one and where to choose it.
TEST_F(NewUserTest, AHarvestControlListWithoutADomainSaysWhichDomainAndWhereToChooseIt) {
    ASSERT_TRUE(w.context.domain.defaultSchema.isEmpty());
    makeList(u"Catalog"_s);
    w.context.document.setTreePath(path(u"site.kqi"_s));
    w.editListTagAgain();  // an edited list: the Save As items for lists are offered
    w.find<QAction>(u"mnuFileSaveAs_%1"_s.arg(FileMenu::kSaveAsHarvestList))->trigger();
    auto* dialog = w.find<QDialog>(u"frmHCL"_s);
    ASSERT_TRUE(dialog->isVisible());
    const QString file = dialog->findChild<QLineEdit*>(u"txtFileName"_s)->text();
    boxes.expect(u"Harvest Control Lists are written in an AGLS metadata domain, and no domain has been chosen yet. "
                 u"Choose \"Australian Government Locator Service 1.3(AGLS)\" as the default schema under "
                 u"Metadata Resources > Select Metadata Schemas, then save the list again."_s,
                 kAnswerOk);
    QTest::mouseClick(dialog->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
    EXPECT_EQ(boxes.shown().last().title, u"Error"_s);
    EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
}

TEST_F(NewUserTest, CtrlQLeavesThroughExitAndItsSaveQuestion) {
    openPage(u"page.htm"_s, u"New title"_s);
    w.find<MetaPanelView>(u"MetaPanel"_s)->setFocus();
    boxes.expect(kSave, kAnswerCancel);
    widget_input::shortcutKey(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w.context.document.modified(DocumentState::Document::Record));
}

}  // namespace
