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

using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

class EditMenuTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;
    QString savedUse = Preferences::UseLinkRel;
    QString savedLinks = modSchemas::linkRelLines;
    void SetUp() override {
        w->show();
        QApplication::setActiveWindow(&*w);
    }
    void TearDown() override {
        Preferences::UseLinkRel = savedUse;
        modSchemas::linkRelLines = savedLinks;
    }
};

TEST_F(EditMenuTest, CopyCutAndPasteInTheFocusedBox) {
    QApplication::clipboard()->setText(QStringLiteral("before"));
    w->URL->setFocus();
    w->URL->setEditText(QStringLiteral("http://one two"));
    w->URL->lineEdit()->setSelection(11, 3);
    w->mnuEditCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("two"));
    w->URL->lineEdit()->deselect();
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    w->mnuEditCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));

    w->URL->lineEdit()->setSelection(7, 3);
    w->mnuEditCut_Click();
    EXPECT_EQ(w->URL->currentText(), QStringLiteral("http:// two"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("one"));
    w->URL->lineEdit()->setSelection(8, 3);
    QApplication::clipboard()->setText(QStringLiteral("three"));
    w->mnuEditPaste_Click();
    EXPECT_EQ(w->URL->currentText(), QStringLiteral("http:// three"));
}

TEST_F(EditMenuTest, CutAndPasteOnATreeNodeChangeTheListAndMarkIt) {
    w->mnuViewTreeView_Click();
    platform::TreeView* tree = w->activeTree();
    platform::Node* root = tree->Add(nullptr, platform::tvwLast, QStringLiteral("Cats\\"), QStringLiteral("Cats"), 1, 4);
    platform::Node* node = tree->Add(root, platform::tvwChild, QStringLiteral("Cats\\Lions\\"), QStringLiteral("Lions"), 1, 4);
    tree->setSelectedItem(node);
    tree->setFocus();
    w->mnuEditCut_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Lions"));
    EXPECT_EQ(node->Text(), QString());
    EXPECT_EQ(tree->Count(), 2);
    EXPECT_TRUE(w->documentModified(QStringLiteral("List")));
    QApplication::clipboard()->setText(QStringLiteral("Tigers"));
    w->mnuEditPaste_Click();
    EXPECT_EQ(node->Text(), QStringLiteral("Tigers"));
    EXPECT_EQ(node->Key(), QStringLiteral("Cats\\Lions\\"));
}

TEST_F(EditMenuTest, TheRecordAsHtmlAndAsWellFormedRdf) {
    w->addRecordLine({QStringLiteral("DC.Title"), QStringLiteral("A & B"), {}, {}});
    Preferences::UseLinkRel = QStringLiteral("N");
    modSchemas::linkRelLines = QStringLiteral("<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">");
    w->mnuEditCopyMeta_Click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QLatin1String("<META NAME=\"DC.Title\"")));
    Preferences::UseLinkRel = QStringLiteral("Y");
    w->mnuEditCopyMeta_Click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(modSchemas::linkRelLines + QStringLiteral("\r\n<META")));

    for (bool empty : {false, true}) {
        if (empty) w->MetaPanel->Clear();
        w->mnuEditCopyMetaRDF_Click();
        const QString rdf = QApplication::clipboard()->text();
        EXPECT_TRUE(rdf.startsWith(QLatin1String("<?xml version=\"1.0\"?>\r\n")));
        EXPECT_FALSE(rdf.contains(QLatin1String("</xml>")));
        QXmlStreamReader xml(rdf);
        xml.setNamespaceProcessing(false);
        while (!xml.atEnd()) xml.readNext();
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    }
}

TEST_F(EditMenuTest, SpecialCharactersReplaceTheSelectionOfTheContentBox) {
    w->mnuEditInsertIndex_Click(1);  // the edit panel is hidden: nothing happens
    w->addRecordLine({QStringLiteral("DC.Rights"), QStringLiteral("abc"), {}, {}});
    w->MetaPanel->setSelectedItem(w->MetaPanel->Item(1));
    w->editCurrentLine();
    w->editNrmlContent->setSelection(1, 1);
    w->mnuEditInsertIndex_Click(1);
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("a®c"));
    EXPECT_EQ(w->editNrmlContent->cursorPosition(), 2);
    w->editNrmlContent->setCursorPosition(3);
    w->mnuEditInsertIndex_Click(2);
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("a®c©"));
    EXPECT_EQ(w->MetaPanel->Item(1)->SubItems(1), QStringLiteral("a&reg;c&copy;"));
    EXPECT_TRUE(w->documentModified(QStringLiteral("Record")));
}

}  // namespace
