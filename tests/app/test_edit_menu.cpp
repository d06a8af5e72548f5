#include "app/Preferences.h"
#include "domains/modSchemas.h"
#include "platform/ListView.h"
#include "platform/TreeView.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

class EditMenuTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;
    testing_support::KeptValues kept{&Preferences::UseLinkRel, &modSchemas::linkRelLines};
    void SetUp() override {
        w->show();
        QApplication::setActiveWindow(&*w);
    }
};

TEST_F(EditMenuTest, CopyCutAndPasteInTheFocusedBox) {
    QApplication::clipboard()->setText(u"before"_s);
    w->URL->setFocus();
    w->URL->setEditText(u"http://one two"_s);
    w->URL->lineEdit()->setSelection(11, 3);
    w->mnuEditCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), u"two"_s);

    w->URL->lineEdit()->setSelection(7, 3);
    w->mnuEditCut_Click();
    EXPECT_EQ(w->URL->currentText(), u"http:// two"_s);
    EXPECT_EQ(QApplication::clipboard()->text(), u"one"_s);
    w->URL->lineEdit()->setSelection(8, 3);
    QApplication::clipboard()->setText(u"three"_s);
    w->mnuEditPaste_Click();
    EXPECT_EQ(w->URL->currentText(), u"http:// three"_s);
}

TEST_F(EditMenuTest, CutAndPasteOnATreeNodeChangeTheListAndMarkIt) {
    w->mnuViewTreeView_Click();
    platform::TreeView* tree = w->activeTree();
    platform::Node* root = tree->Add(nullptr, platform::tvwLast, u"Cats\\"_s, u"Cats"_s, 1, 4);
    platform::Node* node = tree->Add(root, platform::tvwChild, u"Cats\\Lions\\"_s, u"Lions"_s, 1, 4);
    tree->setSelectedItem(node);
    tree->setFocus();
    w->mnuEditCut_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), u"Lions"_s);
    EXPECT_EQ(node->Text(), QString());
    EXPECT_EQ(tree->Count(), 2);
    EXPECT_TRUE(w->documentState->modified(DocumentState::Document::List));
    QApplication::clipboard()->setText(u"Tigers"_s);
    w->mnuEditPaste_Click();
    EXPECT_EQ(node->Text(), u"Tigers"_s);
    EXPECT_EQ(node->Key(), u"Cats\\Lions\\"_s);
}

TEST_F(EditMenuTest, TheRecordAsHtmlAndAsWellFormedRdf) {
    w->addRecordLine({u"DC.Title"_s, u"A & B"_s, {}, {}});
    Preferences::UseLinkRel = u"N"_s;
    modSchemas::linkRelLines = u"<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s;
    w->mnuEditCopyMeta_Click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(u"<META NAME=\"DC.Title\""_s));
    Preferences::UseLinkRel = u"Y"_s;
    w->mnuEditCopyMeta_Click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(modSchemas::linkRelLines + u"\r\n<META"_s));

    for (bool empty : {false, true}) {
        if (empty) w->MetaPanel->Clear();
        w->mnuEditCopyMetaRDF_Click();
        const QString rdf = QApplication::clipboard()->text();
        EXPECT_TRUE(rdf.startsWith(u"<?xml version=\"1.0\"?>\r\n"_s));
        EXPECT_FALSE(rdf.contains(u"</xml>"_s));
        QXmlStreamReader xml(rdf);
        xml.setNamespaceProcessing(false);
        while (!xml.atEnd()) xml.readNext();
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    }
}

TEST_F(EditMenuTest, SpecialCharactersReplaceTheSelectionOfTheContentBox) {
    w->mnuEditInsertIndex_Click(1);  // the edit panel is hidden: nothing happens
    w->addRecordLine({u"DC.Rights"_s, u"abc"_s, {}, {}});
    w->MetaPanel->setSelectedItem(w->MetaPanel->Item(1));
    w->editCurrentLine();
    w->editNrmlContent->setSelection(1, 1);
    w->mnuEditInsertIndex_Click(1);
    EXPECT_EQ(w->editNrmlContent->text(), u"a®c"_s);
    EXPECT_EQ(w->editNrmlContent->cursorPosition(), 2);
    w->editNrmlContent->setCursorPosition(3);
    w->mnuEditInsertIndex_Click(2);
    EXPECT_EQ(w->editNrmlContent->text(), u"a®c©"_s);
    EXPECT_EQ(w->MetaPanel->Item(1)->SubItems(1), u"a&reg;c&copy;"_s);
    EXPECT_TRUE(w->documentState->modified(DocumentState::Document::Record));
}

}  // namespace
