#include "record/RecordWindowTest.h"

#include "core/commands/modMacros.h"
#include "core/catalogues/ListTree.h"
#include "platform/Folders.h"

using platform::kAnswerCancel;
using platform::kAnswerNo;
using platform::kAnswerYes;

namespace {

class DocumentStateTest : public RecordWindowTest {
protected:
    QString panel2() const { return w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(2); }
    QString tag2() const { return w.find<platform::StatusBar>(u"StatusBar1"_s)->panelTag(2); }
    // A list in the active tree of the given kind, as it was read, its root carrying the tag.
    void makeList(const QString& rootTag, const QString& path = {},
                  DocumentState::ListKind kind = DocumentState::ListKind::SchemeList) {
        ListTree& tree = w.activeTree();
        tree.clear();
        w.context.document.setListKind(kind);
        const ListTree::NodeId root = tree.add(0, ListTree::Place::Last, u"Subjects\\"_s, u"Subjects"_s, 5, 6);
        tree.setTag(root, rootTag);
        tree.select(tree.add(root, ListTree::Place::Child, u"Subjects\\Cats"_s, u"Cats"_s, 2));
        w.context.document.setTreePath(path);
    }
    // Closing the window as the user does; false when it stayed open.
    bool close() { return w->close(); }
};

TEST_F(DocumentStateTest, TheRecordMarkAndItsQuestionWhoseYesMayGoToTheRepository) {
    EXPECT_TRUE(close());  // nothing marked: nothing asked
    EXPECT_TRUE(boxes.shown().isEmpty());
    w.context.document.setCurrentHTMLFile(u"/site/index.htm"_s);
    add(u"DC.Title"_s, u"T"_s);
    editAndUndo();
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(tag2(), u"Record"_s);
    EXPECT_EQ(w.find<QAction>(u"mnuFileSave"_s)->text(), u"Save Record to /site/index.htm"_s);
    boxes.expect(kRecordQuestion, kAnswerCancel).expect(kRecordQuestion, kAnswerNo);
    EXPECT_FALSE(close());
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(boxes.shown().last().title, u"Current document is being edited"_s);
    EXPECT_TRUE(close());
    EXPECT_EQ(panel2(), QString());
    EXPECT_TRUE(close());
    EXPECT_EQ(boxes.shown().size(), 2);
    // Yes that goes to the repository: it saves later, so the caller must not throw the record away now.
    testing_support::CommandRecorder recorder{w.context};
    w.context.macros.saveRecordMacro = u"mtp://cgisend=http://repo.example/save.kqb/"_s;
    w.context.document.setCurrentHTMLFile(QString());  // a record of the repository's, read from no file
    editAndUndo();
    boxes.expect(kRecordQuestion, kAnswerYes);
    EXPECT_FALSE(close());  // saved later: the window must not let go of the record now
    EXPECT_EQ(recorder.commands, QStringList{w.context.macros.saveRecordMacro});
}

TEST_F(DocumentStateTest, MarkingTheListAsksAboutTheRecordFirst) {
    makeList(u"Scheme"_s);
    add(u"DC.Title"_s, u"T"_s);
    editAndUndo();
    boxes.expect(kRecordQuestion, kAnswerCancel).expect(kRecordQuestion, kAnswerNo);
    QAction* deleteLine = w.find<QAction>(u"mnuMaintNodes_%1"_s.arg(TreePane::kDeleteNode));
    deleteLine->trigger();
    EXPECT_EQ(w.activeTree().count(), 2);  // cancelled: the line stays
    EXPECT_EQ(tag2(), u"Record"_s);  // the record keeps the mark
    deleteLine->trigger();
    EXPECT_EQ(w.activeTree().count(), 1);
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(tag2(), u"List"_s);
    EXPECT_EQ(w.find<QAction>(u"mnuFileSave"_s)->text(), u"Save Subjects"_s);
}

TEST_F(DocumentStateTest, ListQuestionsByKindOfListAndAYesWithoutASave) {
    using Kind = DocumentState::ListKind;
    const std::tuple<QString, QString, Kind, QString, QString> cases[] = {
        {u"Harvest Control List"_s, u"/l/x.kqi"_s, Kind::HarvestList, u"save the Harvest Control List"_s, u"Catalog has changed"_s},
        {u"/l/rss/x.kqi"_s, u"/l/rss/x.kqi"_s, Kind::Catalogue, u"The catalog has been modified."_s, u"Catalog has changed"_s},
        {u"Scheme"_s, u"/l/x.kqs"_s, Kind::SchemeList, kListQuestion, u"Current List is modified"_s}};
    for (const auto& [rootTag, path, kind, prompt, title] : cases) {
        makeList(rootTag, path, kind);
        markListModified();
        boxes.expect(prompt, kAnswerNo);
        EXPECT_TRUE(close()) << rootTag;
        EXPECT_EQ(boxes.shown().last().title, title);
        EXPECT_EQ(panel2(), QString());
    }
    // Yes to a list never saved: the Save As dialog, and its Cancel stops the caller.
    makeList(u"Scheme"_s, u".kqs"_s);
    markListModified();
    boxes.expect(kListQuestion, kAnswerYes);
    testing_support::ScriptedFileDialogs dialogs;
    dialogs.cancel();
    EXPECT_FALSE(close());
    EXPECT_EQ(dialogs.requests().value(0).filterIndex, 2);  // the scheme filter
    EXPECT_EQ(panel2(), u"Modified"_s);
}

TEST_F(DocumentStateTest, ClosingAModifiedRecordAsksAndCancelKeepsTheWindow) {
    w->show();
    add(u"DC.Title"_s, u"T"_s);
    editAndUndo();
    boxes.expect(kRecordQuestion, kAnswerCancel).expect(kRecordQuestion, kAnswerNo);
    EXPECT_FALSE(w->close());
    // The history was written all the same.
    EXPECT_TRUE(QFile::exists(platform::programDataFolder() + u"/cache/URL.log"_s));
    EXPECT_TRUE(w->close());
}

}  // namespace
