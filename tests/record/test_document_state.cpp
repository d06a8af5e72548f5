#include "commands/modMacros.h"
#include "platform/ListView.h"
#include "platform/StatusBar.h"
#include "platform/TreeView.h"
#include "support/CommandRecorder.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::vbCancel;
using platform::vbNo;
using platform::vbYes;
using testing_support::CommandRecorder;
using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

class DocumentStateTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;

    QString panel2() const { return w->StatusBar1->panelText(2); }
    QString tag2() const { return w->StatusBar1->panelTag(2); }
    void addLines(int n) {
        for (int i = 1; i <= n; ++i) w->addRecordLine({QStringLiteral("DC.L%1").arg(i), QStringLiteral("c"), {}, {}});
    }
    // A list in the active tree whose root carries the given kind.
    void makeList(const QString& rootTag, const QString& rootText = QStringLiteral("Subjects")) {
        platform::Node* root = w->activeTree()->Add(nullptr, platform::tvwLast, rootText + QLatin1Char('\\'), rootText, 5, 6);
        root->setTag(rootTag);
    }
    bool saveAsEnabled(int i) const { return w->mnuFileSaveAs(i)->isEnabled(); }
};

TEST_F(DocumentStateTest, NothingMarkedAsksNothing) {
    EXPECT_EQ(w->saveHtmlCheck(), 0);
    EXPECT_EQ(w->saveListCheck(QStringLiteral("before quitting")), 0);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(DocumentStateTest, MarkingTheRecordSetsTheStateCaptionAndSaveAsItems) {
    w->currentHTMLFile = QStringLiteral("/site/index.htm");
    EXPECT_FALSE(w->mnuMaintMeta(9)->isEnabled());
    EXPECT_EQ(w->markHTMLmodifiedCheckList(QStringLiteral("before editing a record")), 0);
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    EXPECT_EQ(tag2(), QStringLiteral("Record"));
    EXPECT_TRUE(w->mnuMaintMeta(9)->isEnabled());
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to /site/index.htm"));
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(saveAsEnabled(i), i <= 3) << i;
}

TEST_F(DocumentStateTest, RecordQuestionNoUnmarksCancelKeepsTheMark) {
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(QStringLiteral("Save the metadata edits in the metapanel first?"), vbCancel);
    EXPECT_EQ(w->saveHtmlCheck(), vbCancel);
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    EXPECT_EQ(boxes.shown().last().title, QStringLiteral("Current document is being edited"));
    EXPECT_EQ(boxes.shown().last().style, platform::vbYesNoCancel);

    boxes.expect(QStringLiteral("metapanel"), vbNo);
    EXPECT_EQ(w->saveHtmlCheck(), vbNo);
    EXPECT_EQ(panel2(), QString());
    EXPECT_EQ(tag2(), QStringLiteral("Record"));  // the tag stays
    EXPECT_EQ(w->saveHtmlCheck(), 0);
}

TEST_F(DocumentStateTest, YesThatGoesToTheRepositoryStopsTheCaller) {
    CommandRecorder recorder;
    modMacros::saveRecordMacro = QStringLiteral("mtp://cgisend=http://repo.example/save.kqb/");
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(QStringLiteral("metapanel"), vbYes);
    // The repository saves later: the caller must not throw the record away now.
    EXPECT_EQ(w->saveHtmlCheck(), vbCancel);
    EXPECT_EQ(recorder.commands, QStringList{modMacros::saveRecordMacro});
    modMacros::saveRecordMacro.clear();
}

TEST_F(DocumentStateTest, MarkingTheListAsksAboutTheRecordFirst) {
    makeList(QStringLiteral("Scheme"));
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(QStringLiteral("metapanel"), vbCancel);
    EXPECT_EQ(w->markListmodifiedCheckHTML(), vbCancel);
    EXPECT_EQ(tag2(), QStringLiteral("Record"));  // the record keeps the mark
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Subjects"));

    boxes.expect(QStringLiteral("metapanel"), vbNo);
    EXPECT_EQ(w->markListmodifiedCheckHTML(), vbNo);
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    EXPECT_EQ(tag2(), QStringLiteral("List"));
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(saveAsEnabled(i), i >= 4) << i;
}

TEST_F(DocumentStateTest, ListQuestionsByKindOfList) {
    struct Case {
        const char* rootTag;
        const char* treePath;
        const char* prompt;
        const char* title;
    } cases[] = {
        {"Harvest Control List RSS Catalog", "Main Catalog.kqi",
         "Before editing a metadata record you should save the Harvest Control List. Save first before editing?",
         "Catalog has changed"},
        {"RSS Catalog", "Main Catalog.kqi", "The RSS Channel has been modified. Save first before editing?",
         "Catalog has changed"},
        {"Catalog", "Main Catalog.kqi", "The catalog has been modified. Save first before editing?", "Catalog has changed"},
        {"my catalog", "/lists/x.kqi", "The catalog has been modified. Save first before editing?", "Catalog has changed"},
        {"Scheme", "/lists/x.kqs", "Save the list changes in the Tree View first?", "Current List is modified"},
    };
    for (const Case& c : cases) {
        w->activeTree()->Clear();
        makeList(QLatin1String(c.rootTag));
        w->TreePath = QLatin1String(c.treePath);
        w->StatusBar1->setPanelText(2, QStringLiteral("Modified"));
        w->StatusBar1->setPanelTag(2, QStringLiteral("List"));
        boxes.expect(QLatin1String(c.prompt), vbNo);
        EXPECT_EQ(w->saveListCheck(QStringLiteral("before editing")), vbNo) << c.rootTag;
        EXPECT_EQ(boxes.shown().last().text, QLatin1String(c.prompt));
        EXPECT_EQ(boxes.shown().last().title, QLatin1String(c.title));
        EXPECT_EQ(panel2(), QString());
    }
}

TEST_F(DocumentStateTest, ListYesWithoutASaveStopsTheCaller) {
    makeList(QStringLiteral("Scheme"));
    w->TreePath = QStringLiteral(".kqs");  // only an extension: never written to
    w->StatusBar1->setPanelText(2, QStringLiteral("Modified"));
    w->StatusBar1->setPanelTag(2, QStringLiteral("List"));
    boxes.expect(QStringLiteral("Tree View first?"), vbYes);
    testing_support::ScriptedFileDialogs dialogs;
    dialogs.cancel();  // the scheme Save As item asks for a name instead
    EXPECT_EQ(w->saveListCheck(QStringLiteral("x")), vbCancel);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().first().filterIndex, 2);
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
}

TEST_F(DocumentStateTest, SelectLineMakesOneLineCurrent) {
    addLines(3);
    w->SelectLine(2);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(w->MetaPanel->Item(i)->Bold(), i == 2);
        EXPECT_EQ(w->MetaPanel->Item(i)->Selected(), i == 2);
    }
    w->SelectLine(0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(w->MetaPanel->Item(i)->Bold());
        EXPECT_FALSE(w->MetaPanel->Item(i)->Selected());
    }
}

TEST_F(DocumentStateTest, CurrentFileAndListCaptions) {
    w->currentHTMLFile = QStringLiteral("/home/ann/My Site/index.v2.htm");
    w->showCurrentFile();
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Current File:index.v2.htm"));
    w->currentHTMLFile.clear();
    w->showCurrentFile();
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Current File:<No File>"));
    w->TreePath = QStringLiteral("/l/Subjects.KQS");
    w->mnuFileDraw();
    EXPECT_EQ(w->mnuFileSaveList->text(), QStringLiteral("Save Scheme"));
    w->TreePath = QStringLiteral("/l/cat.kqi");
    w->mnuFileDraw();
    EXPECT_EQ(w->mnuFileSaveList->text(), QStringLiteral("Save Catalog"));
    w->TreePath = QStringLiteral("/l/other.txt");
    w->mnuFileDraw();
    EXPECT_EQ(w->mnuFileSaveList->text(), QStringLiteral("Save Catalog"));
}

TEST_F(DocumentStateTest, ClosingAModifiedRecordAsksAndCancelKeepsTheWindow) {
    w->show();
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(QStringLiteral("metapanel"), vbCancel);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    // The history was written all the same.
    EXPECT_TRUE(QFile::exists(w->historyFilePath()));
    boxes.expect(QStringLiteral("metapanel"), vbNo);
    EXPECT_TRUE(w->close());
}

}  // namespace
