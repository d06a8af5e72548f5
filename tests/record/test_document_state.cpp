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

using namespace Qt::StringLiterals;

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
        for (int i = 1; i <= n; ++i) w->addRecordLine({u"DC.L%1"_s.arg(i), u"c"_s, {}, {}});
    }
    // A list in the active tree whose root carries the given kind.
    void makeList(const QString& rootTag, const QString& rootText = u"Subjects"_s) {
        platform::Node* root =
            w->activeTree()->Add(nullptr, platform::tvwLast, rootText + QLatin1Char('\\'), rootText, 5, 6);
        root->setTag(rootTag);
    }
    bool saveAsEnabled(int i) const { return w->mnuFileSaveAs(i)->isEnabled(); }
};

TEST_F(DocumentStateTest, NothingMarkedAsksNothing) {
    EXPECT_EQ(w->saveHtmlCheck(), 0);
    EXPECT_EQ(w->saveListCheck(u"before quitting"_s), 0);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(DocumentStateTest, MarkingTheRecordSetsTheStateCaptionAndSaveAsItems) {
    w->documentState->setCurrentHTMLFile(u"/site/index.htm"_s);
    EXPECT_FALSE(w->mnuMaintMeta(9)->isEnabled());
    EXPECT_EQ(w->markHTMLmodifiedCheckList(u"before editing a record"_s), 0);
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(tag2(), u"Record"_s);
    EXPECT_TRUE(w->mnuMaintMeta(9)->isEnabled());
    EXPECT_EQ(w->mnuFileSave->text(), u"Save Record to /site/index.htm"_s);
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(saveAsEnabled(i), i <= 3) << i;
}

TEST_F(DocumentStateTest, RecordQuestionNoUnmarksCancelKeepsTheMark) {
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(u"Save the metadata edits in the metapanel first?"_s, vbCancel);
    EXPECT_EQ(w->saveHtmlCheck(), vbCancel);
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(boxes.shown().last().title, u"Current document is being edited"_s);
    EXPECT_EQ(boxes.shown().last().style, platform::vbYesNoCancel);

    boxes.expect(u"metapanel"_s, vbNo);
    EXPECT_EQ(w->saveHtmlCheck(), vbNo);
    EXPECT_EQ(panel2(), QString());
    EXPECT_EQ(tag2(), u"Record"_s);  // the tag stays
    EXPECT_EQ(w->saveHtmlCheck(), 0);
}

TEST_F(DocumentStateTest, YesThatGoesToTheRepositoryStopsTheCaller) {
    CommandRecorder recorder;
    modMacros::saveRecordMacro = u"mtp://cgisend=http://repo.example/save.kqb/"_s;
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(u"metapanel"_s, vbYes);
    // The repository saves later: the caller must not throw the record away now.
    EXPECT_EQ(w->saveHtmlCheck(), vbCancel);
    EXPECT_EQ(recorder.commands, QStringList{modMacros::saveRecordMacro});
    modMacros::saveRecordMacro.clear();
}

TEST_F(DocumentStateTest, MarkingTheListAsksAboutTheRecordFirst) {
    makeList(u"Scheme"_s);
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(u"metapanel"_s, vbCancel);
    EXPECT_EQ(w->markListmodifiedCheckHTML(), vbCancel);
    EXPECT_EQ(tag2(), u"Record"_s);  // the record keeps the mark
    EXPECT_EQ(w->mnuFileSave->text(), u"Save Subjects"_s);

    boxes.expect(u"metapanel"_s, vbNo);
    EXPECT_EQ(w->markListmodifiedCheckHTML(), vbNo);
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(tag2(), u"List"_s);
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
        {"Catalog", "Main Catalog.kqi", "The catalog has been modified. Save first before editing?",
         "Catalog has changed"},
        {"my catalog", "/lists/x.kqi", "The catalog has been modified. Save first before editing?",
         "Catalog has changed"},
        {"Scheme", "/lists/x.kqs", "Save the list changes in the Tree View first?", "Current List is modified"},
    };
    for (const Case& c : cases) {
        w->activeTree()->Clear();
        makeList(QLatin1String(c.rootTag));
        w->documentState->setTreePath(QLatin1String(c.treePath));
        w->documentState->markModified(DocumentState::Document::List);
        boxes.expect(QLatin1String(c.prompt), vbNo);
        EXPECT_EQ(w->saveListCheck(u"before editing"_s), vbNo) << c.rootTag;
        EXPECT_EQ(boxes.shown().last().text, QLatin1String(c.prompt));
        EXPECT_EQ(boxes.shown().last().title, QLatin1String(c.title));
        EXPECT_EQ(panel2(), QString());
    }
}

TEST_F(DocumentStateTest, ListYesWithoutASaveStopsTheCaller) {
    makeList(u"Scheme"_s);
    w->documentState->setTreePath(u".kqs"_s);  // only an extension: never written to
    w->documentState->markModified(DocumentState::Document::List);
    boxes.expect(u"Tree View first?"_s, vbYes);
    testing_support::ScriptedFileDialogs dialogs;
    dialogs.cancel();  // the scheme Save As item asks for a name instead
    EXPECT_EQ(w->saveListCheck(u"x"_s), vbCancel);
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().first().filterIndex, 2);
    EXPECT_EQ(panel2(), u"Modified"_s);
}

TEST_F(DocumentStateTest, CurrentFileAndListCaptions) {
    w->documentState->setCurrentHTMLFile(u"/home/ann/My Site/index.v2.htm"_s);
    w->showCurrentFile();
    EXPECT_EQ(w->StatusBar1->panelText(1), u"Current File:index.v2.htm"_s);
    w->documentState->setCurrentHTMLFile(QString());
    w->showCurrentFile();
    EXPECT_EQ(w->StatusBar1->panelText(1), u"Current File:<No File>"_s);
    const std::pair<QString, QString> lists[] = {{u"/l/Subjects.KQS"_s, u"Save Scheme"_s},
                                                 {u"/l/cat.kqi"_s, u"Save Catalog"_s},
                                                 {u"/l/other.txt"_s, u"Save Catalog"_s}};
    for (const auto& [path, caption] : lists) {
        w->documentState->setTreePath(path);
        w->mnuFileDraw();
        EXPECT_EQ(w->mnuFileSaveList->text(), caption) << path;
    }
}

TEST_F(DocumentStateTest, ClosingAModifiedRecordAsksAndCancelKeepsTheWindow) {
    w->show();
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(u"metapanel"_s, vbCancel);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    // The history was written all the same.
    EXPECT_TRUE(QFile::exists(w->historyFilePath()));
    boxes.expect(u"metapanel"_s, vbNo);
    EXPECT_TRUE(w->close());
}

}  // namespace
