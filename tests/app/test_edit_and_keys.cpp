#include "AppTestSupport.h"

#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <QXmlStreamReader>

namespace {

class EditTest : public WindowTest {
protected:
    QClipboard& clipboard = *QApplication::clipboard();
    void SetUp() override {
        w->show();
        QApplication::setActiveWindow(&*w);
    }
    // A key pressed and released in the focused control.
    void press(int key) {
        QKeyEvent down(QEvent::KeyPress, key, {}), up(QEvent::KeyRelease, key, {});
        QApplication::sendEvent(QApplication::focusWidget(), &down);
        QApplication::sendEvent(QApplication::focusWidget(), &up);
    }
    int current() const { return w.context.record.positionOf(w.context.record.selectedLine()); }
};

TEST_F(EditTest, CutAndPasteOnATreeNodeChangeTheListAndMarkIt) {
    w.find<QAction>(u"mnuViewTreeView"_s)->trigger();
    ListTree& tree = w.activeTree();
    const ListTree::NodeId root = tree.add(0, ListTree::Place::Last, u"Cats\\"_s, u"Cats"_s, 1, 4);
    const ListTree::NodeId node = tree.add(root, ListTree::Place::Child, u"Cats\\Lions\\"_s, u"Lions"_s, 1, 4);
    tree.select(node);
    w.activeTreeView()->setFocus();
    w.find<QAction>(u"mnuEditCut"_s)->trigger();
    EXPECT_EQ(clipboard.text() + u'|' + tree.text(node), u"Lions|"_s);
    EXPECT_TRUE(w.context.document.modified(DocumentState::Document::List));
    clipboard.setText(u"Tigers"_s);
    w.find<QAction>(u"mnuEditPaste"_s)->trigger();
    EXPECT_EQ(tree.text(node) + tree.key(node), u"TigersCats\\Lions\\"_s);
}

TEST_F(EditTest, TheRecordAsHtmlAndAsWellFormedRdf) {
    w.context.record.append({u"DC.Title"_s, u"A & B"_s, {}, {}});
    w.context.preferences.UseLinkRel.setText(u"Y"_s);
    w.context.domain.linkRelLines = u"<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s;
    w.find<QAction>(u"mnuEditCopyMeta"_s)->trigger();
    EXPECT_TRUE(clipboard.text().startsWith(w.context.domain.linkRelLines + u"\r\n<META NAME=\"DC.Title\""_s));
    for (bool empty : {false, true}) {
        if (empty) w.context.record.clear();
        w.find<QAction>(u"mnuEditCopyMetaRDF"_s)->trigger();
        EXPECT_TRUE(clipboard.text().startsWith(u"<?xml version=\"1.0\"?>\r\n"_s));
        QXmlStreamReader xml(clipboard.text());
        xml.setNamespaceProcessing(false);
        while (!xml.atEnd()) xml.readNext();
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    }
}

TEST_F(EditTest, InsertedSymbolsReplaceTheSelectionOfTheContentBox) {
    w.find<QAction>(u"mnuEditInsertIndex_1"_s)->trigger();  // the edit panel is hidden: nothing happens
    w.context.record.append({u"DC.Rights"_s, u"abc"_s, {}, {}});
    editLine(1);
    w.find<QLineEdit>(u"editNrmlContent"_s)->setSelection(1, 1);
    w.find<QAction>(u"mnuEditInsertIndex_1"_s)->trigger();
    w.find<QLineEdit>(u"editNrmlContent"_s)->setCursorPosition(3);
    w.find<QAction>(u"mnuEditInsertIndex_2"_s)->trigger();
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->text(), u"a®c©"_s);
    EXPECT_EQ(w.context.record.lineAt(1).content, u"a&reg;c&copy;"_s);
    EXPECT_TRUE(w.context.document.modified(DocumentState::Document::Record));
}

TEST_F(EditTest, ArrowsInTheEditPanelListsMoveTheCurrentLineButNotInTheAddressBox) {
    for (const QString& name : {u"DC.Title"_s, u"DC.Creator"_s, u"DC.Subject"_s})
        w.context.record.append({name, u"x"_s, {}, {}});
    editLine(1);
    w.find<QComboBox>(u"editNrmlScheme"_s)->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w.find<QComboBox>(u"editNrmlScheme"_s));
    press(Qt::Key_Up);  // first line: a beep, nothing moves
    EXPECT_EQ(current(), 1);
    press(Qt::Key_Down);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlName"_s)->text(), u"DC.Creator"_s);
    press(Qt::Key_Down);
    w.find<QComboBox>(u"editNrmlScheme"_s)->setFocus();  // a line shown focuses its content
    press(Qt::Key_Down);            // last line: stays
    EXPECT_EQ(current(), 3);
    EXPECT_FALSE(w.context.document.modified(DocumentState::Document::Record));
    w.find<QComboBox>(u"URL"_s)->setFocus();
    press(Qt::Key_Up);
    EXPECT_EQ(current(), 3);
    QTest::keyPress(w.find<QComboBox>(u"URL"_s), Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_TRUE(w.shiftHeld());
    QTest::keyRelease(w.find<QComboBox>(u"URL"_s), Qt::Key_A);
    EXPECT_FALSE(w.shiftHeld());
}

}  // namespace
