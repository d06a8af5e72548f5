#include "record/RecordWindowTest.h"

#include "commands/modMacros.h"
#include "core/catalogues/ListTree.h"

using platform::vbCancel;
using platform::vbNo;
using platform::vbYes;

namespace {

class DocumentStateTest : public RecordWindowTest {
protected:
    QString panel2() const { return w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(2); }
    QString tag2() const { return w.find<platform::StatusBar>(u"StatusBar1"_s)->panelTag(2); }
    // A list in the active tree whose root carries the given kind.
    void makeList(const QString& rootTag, const QString& path = {}) {
        ListTree& tree = w.activeTree();
        tree.clear();
        tree.setTag(tree.add(0, ListTree::Place::Last, u"Subjects\\"_s, u"Subjects"_s, 5, 6), rootTag);
        w.context.document.setTreePath(path);
    }
};

TEST_F(DocumentStateTest, TheRecordMarkAndItsQuestionWhoseYesMayGoToTheRepository) {
    EXPECT_EQ(w.recordPane().saveHtmlCheck(), 0);  // nothing marked: nothing asked
    EXPECT_EQ(w.treePane().saveListCheck(u"before quitting"_s), 0);
    w.context.document.setCurrentHTMLFile(u"/site/index.htm"_s);
    EXPECT_EQ(w.recordPane().markHTMLmodifiedCheckList(u"before editing a record"_s), 0);
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(tag2(), u"Record"_s);
    EXPECT_EQ(w.find<QAction>(u"mnuFileSave"_s)->text(), u"Save Record to /site/index.htm"_s);
    boxes.expect(kRecordQuestion, vbCancel).expect(kRecordQuestion, vbNo);
    EXPECT_EQ(w.recordPane().saveHtmlCheck(), vbCancel);
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(boxes.shown().last().title, u"Current document is being edited"_s);
    EXPECT_EQ(w.recordPane().saveHtmlCheck(), vbNo);
    EXPECT_EQ(panel2(), QString());
    EXPECT_EQ(w.recordPane().saveHtmlCheck(), 0);
    // Yes that goes to the repository: it saves later, so the caller must not throw the record away now.
    testing_support::CommandRecorder recorder{w.context};
    w.context.macros.saveRecordMacro = u"mtp://cgisend=http://repo.example/save.kqb/"_s;
    w.context.document.setCurrentHTMLFile(QString());  // a record of the repository's, read from no file
    w.recordPane().markHTMLmodifiedCheckList(QString());
    boxes.expect(kRecordQuestion, vbYes);
    EXPECT_EQ(w.recordPane().saveHtmlCheck(), vbCancel);
    EXPECT_EQ(recorder.commands, QStringList{w.context.macros.saveRecordMacro});
}

TEST_F(DocumentStateTest, MarkingTheListAsksAboutTheRecordFirst) {
    makeList(u"Scheme"_s);
    w.recordPane().markHTMLmodifiedCheckList(QString());
    boxes.expect(kRecordQuestion, vbCancel).expect(kRecordQuestion, vbNo);
    EXPECT_EQ(w.treePane().markListmodifiedCheckHTML(), vbCancel);
    EXPECT_EQ(tag2(), u"Record"_s);  // the record keeps the mark
    EXPECT_EQ(w.treePane().markListmodifiedCheckHTML(), vbNo);
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(tag2(), u"List"_s);
    EXPECT_EQ(w.find<QAction>(u"mnuFileSave"_s)->text(), u"Save Subjects"_s);
}

TEST_F(DocumentStateTest, ListQuestionsByKindOfListAndAYesWithoutASave) {
    const std::tuple<QString, QString, QString, QString> cases[] = {
        {u"Harvest Control List"_s, u"/l/x.kqi"_s, u"save the Harvest Control List"_s, u"Catalog has changed"_s},
        {u"my catalog"_s, u"/l/x.kqi"_s, u"The catalog has been modified."_s, u"Catalog has changed"_s},
        {u"Scheme"_s, u"/l/x.kqs"_s, kListQuestion, u"Current List is modified"_s}};
    for (const auto& [rootTag, path, prompt, title] : cases) {
        makeList(rootTag, path);
        markListModified();
        boxes.expect(prompt, vbNo);
        EXPECT_EQ(w.treePane().saveListCheck(u"before editing"_s), vbNo) << rootTag;
        EXPECT_EQ(boxes.shown().last().title, title);
        EXPECT_EQ(panel2(), QString());
    }
    // Yes to a list never saved: the Save As dialog, and its Cancel stops the caller.
    makeList(u"Scheme"_s, u".kqs"_s);
    markListModified();
    boxes.expect(kListQuestion, vbYes);
    testing_support::ScriptedFileDialogs dialogs;
    dialogs.cancel();
    EXPECT_EQ(w.treePane().saveListCheck(u"x"_s), vbCancel);
    EXPECT_EQ(dialogs.requests().value(0).filterIndex, 2);  // the scheme filter
    EXPECT_EQ(panel2(), u"Modified"_s);
}

TEST_F(DocumentStateTest, ClosingAModifiedRecordAsksAndCancelKeepsTheWindow) {
    w->show();
    w.recordPane().markHTMLmodifiedCheckList(QString());
    boxes.expect(kRecordQuestion, vbCancel).expect(kRecordQuestion, vbNo);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(QFile::exists(w.navigationPane().historyFilePath()));  // the history was written all the same
    EXPECT_TRUE(w->close());
}

}  // namespace
