#include "app/Form1.h"
#include "catalogues/ListLines.h"
#include "commands/ListLoading.h"
#include "commands/modMTP.h"
#include "platform/StatusBar.h"
#include "platform/TreeImages.h"
#include "platform/TreeView.h"
#include "support/ListTrees.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using platform::Node;
using testing_support::readBytes;
using testing_support::treeShape;
using testing_support::writeBytes;

namespace {

// A catalogue and a scheme list as the program writes them: sorted, CR LF, UTF-8.
const QByteArray kCatalogue =
    "About|http://about.example/\r\n"
    "Art|\r\n"
    "Art|Modern|\r\n"
    "Art|Modern|Tate|https://tate.example/\r\n"
    "Art|Old|mtp://field=DC.Subject&content=Old|Masters.fld\r\n"
    "Caf\xC3\xA9|\r\n"
    "Caf\xC3\xA9|Home \xC2\xA6 Agency|http://agency.example/\r\n"
    "Zoo|\r\n"
    "Zoo|Lions|http://lions.example/?a%7Cb\r\n";

const QByteArray kScheme =
    "Animals|\r\n"
    "Animals|Cats|mtp://field=DC.Subject&content=Cats&scheme=Subjects.fld/\r\n"
    "Animals|Dogs|mtp://field=DC.Subject&content=Dogs&scheme=Subjects.fld/\r\n"
    "Plants|\r\n"
    "Plants|Trees|\r\n"
    "Plants|Trees|Oak|mtp://field=DC.Subject&content=Oak.fld/\r\n";

class ListSaving : public ::testing::Test {
protected:
    testing_support::TestWindow window;
    testing_support::ScriptedMsgBoxes boxes;
    QTemporaryDir files;

    void SetUp() override {
        modMTP::listLoading = false;
        modMTP::listLoadRefusals = 0;
    }
    QString path(const QString& name) const { return files.path() + QLatin1Char('/') + name; }
    void load(const QString& file) {
        QString location = file;
        modMTP::loadList(location);
        ASSERT_FALSE(modMTP::listLoading);
    }
    bool save(const QString& file, long* count = nullptr) {
        QString target = file;
        long nodes = -1;
        const bool written = window->SaveAsList(target, nodes);
        if (count) *count = nodes;
        return written;
    }
    platform::TreeView& tree() const { return *window->activeTree(); }
    // A catalogue root as the loader makes it.
    Node* newCatalogue(const QString& name) {
        window->rootName = name;
        window->documentState->setTreePath(path(name + u".kqi"_s));
        tree().Clear();
        Node* root = tree().Add(nullptr, platform::tvwLast, name + u"\\"_s, name, 1, 4);
        root->setTag(u"Catalog"_s);
        return root;
    }
};

}  // namespace

TEST_F(ListSaving, ACatalogueAndASchemeListTheProgramWroteSaveToTheSameBytes) {
    for (const auto& [name, bytes] : {std::pair{u"Sites.kqi"_s, kCatalogue}, std::pair{u"Subjects.kqs"_s, kScheme}}) {
        load(writeBytes(path(name), bytes));
        ASSERT_GT(tree().Count(), 1) << name.toStdString();
        const QString copy = path(u"copy-"_s + name);
        long count = 0;
        ASSERT_TRUE(save(copy, &count));
        EXPECT_EQ(count, tree().Count());
        EXPECT_EQ(readBytes(copy), bytes) << name.toStdString();
    }
}

TEST_F(ListSaving, AnUnsortedListComesOutSortedAndStaysSoOnTheNextRound) {
    // Every folder still comes before what is in it, as a list must.
    const QByteArray shuffled =
        "Zoo|\nArt|\nArt|Old|mtp://field=DC.Subject&content=Old|Masters.fld\nZoo|Lions|http://lions.example/?a%7Cb\n"
        "About|http://about.example/\nArt|Modern|\n\nCaf\xC3\xA9|\nArt|Modern|Tate|https://tate.example/\n"
        "Caf\xC3\xA9|Home \xC2\xA6 Agency|http://agency.example/";
    load(writeBytes(path(u"Sites.kqi"_s), shuffled));
    ASSERT_TRUE(save(path(u"Sorted.kqi"_s)));
    EXPECT_EQ(readBytes(path(u"Sorted.kqi"_s)), kCatalogue);
}

TEST_F(ListSaving, ACatalogueRoundTripsThroughSaveAndLoadWithItsTreeUnchanged) {
    Node* root = newCatalogue(u"Sites"_s);
    const auto folder = [&](Node* parent, const QString& key, const QString& name) {
        return tree().Add(parent, platform::tvwChild, key, name, 1, 4);
    };
    const auto link = [&](Node* parent, const QString& key, const QString& title, const QString& tag, int image) {
        Node* node = tree().Add(parent, platform::tvwChild, key, title, image, image == 2 ? 2 : 4);
        node->setTag(tag);
        return node;
    };
    // Folders whose names end with the root's name, a name with "\", a title that came
    // in with "|" made safe, a command with "|" and "| " in it.
    Node* sites = folder(root, u"My Sites\\"_s, u"My Sites"_s);
    Node* old = folder(root, u"Old Sites\\"_s, u"Old Sites"_s);
    Node* paths = folder(old, u"Old Sites\\C:\\docs\\"_s, u"C:\\docs"_s);
    link(sites, u"Sites\\Home\\"_s, modLists::safeNodeText(u"Home | Agency"_s), u"http://agency.example/"_s, 2);
    link(old, u"Old Sites\\Run\\"_s, u"Run"_s, u"mtp://a|b| c.kqb"_s, 1);
    link(paths, u"Old Sites\\C:\\docs\\Readme\\"_s, u"Readme"_s, u"https://docs.example/readme"_s, 2);
    link(root, u"Top\\"_s, u"Top"_s, u"http://top.example/"_s, 2);
    const QStringList before = treeShape(tree(), false);

    const QString file = path(u"Sites.kqi"_s);
    ASSERT_TRUE(save(file));
    load(file);
    EXPECT_EQ(treeShape(tree(), false), before);
    EXPECT_EQ(tree().Item(1)->Text(), u"Sites"_s);
    EXPECT_EQ(tree().Item(1)->Tag(), file);
}

TEST_F(ListSaving, ANameHoldingABarIsWrittenSoItNeverSplitsOnTheNextLoad) {
    Node* root = newCatalogue(u"Sites"_s);
    Node* node = tree().Add(root, platform::tvwChild, u"x"_s, u"Home | Agency"_s, 2, 2);
    // An address without a scheme is an http address; a "|" in it is escaped.
    node->setTag(u"www.agency.example/index.htm?a|b"_s);
    ASSERT_TRUE(save(path(u"Bar.kqi"_s)));
    EXPECT_EQ(readBytes(path(u"Bar.kqi"_s)),
              QByteArray("Home \xC2\xA6 Agency|http://www.agency.example/index.htm?a%7Cb\r\n"));
}

TEST_F(ListSaving, AnEmptyCatalogueSavesAsAnEmptyFile) {
    newCatalogue(u"Empty"_s);
    long count = 0;
    ASSERT_TRUE(save(path(u"Empty.kqi"_s), &count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(readBytes(path(u"Empty.kqi"_s)), QByteArray());
}

TEST_F(ListSaving, ASavedListIsNoLongerModifiedAndTheMenusNameItsFile) {
    Node* root = newCatalogue(u"Sites"_s);
    tree().Add(root, platform::tvwChild, u"A\\"_s, u"A"_s, 1, 4);
    window->documentState->markModified(DocumentState::Document::List);
    const QString file = path(u"Renamed.kqi"_s);
    ASSERT_TRUE(save(file));
    EXPECT_EQ(window->StatusBar1->panelText(2), QString());
    EXPECT_EQ(root->Text(), u"Renamed"_s);
    EXPECT_EQ(window->mnuFileSave->text(), u"Save Catalog to "_s + file);

    // Saved again under its new root text, the lines still leave the root out.
    ASSERT_TRUE(save(file));
    EXPECT_EQ(readBytes(file), QByteArray("A|\r\n"));
}

TEST_F(ListSaving, ASchemeListGetsTheMtpPrefixOnEveryTermAndItsOwnCaption) {
    window->rootName = u"Terms"_s;
    window->documentState->setTreePath(path(u"Terms.kqs"_s));
    Node* root = tree().Add(nullptr, platform::tvwLast, u"Terms\\"_s, u"Terms"_s, 5, 5);
    Node* term = tree().Add(root, platform::tvwChild, u"Cats\\"_s, u"Cats"_s, 6, 6);
    term->setTag(u"field=DC.Subject&content=Cats.fld/"_s);
    ASSERT_TRUE(save(window->documentState->TreePath()));
    EXPECT_EQ(readBytes(window->documentState->TreePath()), QByteArray("Cats|mtp://field=DC.Subject&content=Cats.fld/\r\n"));
    EXPECT_EQ(term->Tag(), u"mtp://field=DC.Subject&content=Cats.fld/"_s);
    EXPECT_EQ(window->mnuFileSave->text(), u"Save Scheme to "_s + window->documentState->TreePath());
}

TEST_F(ListSaving, TheRepositoryCatalogueKeepsItsRootInTheLinesAndItsRootText) {
    window->treeIndex = 1;
    window->rootName.clear();
    window->documentState->setTreePath(u"Main Catalog.kqi"_s);
    Node* root = tree().Add(nullptr, platform::tvwLast, u"Main Catalog\\"_s, u"Main Catalog"_s, 1);
    tree().Add(root, platform::tvwChild, u"Main Catalog\\Health\\"_s, u"Health"_s, 1, 4);
    const QString file = path(u"upload.kqi"_s);
    ASSERT_TRUE(save(file));
    EXPECT_EQ(readBytes(file), QByteArray("Main Catalog|Health|\r\n"));
    EXPECT_EQ(root->Text(), u"Main Catalog"_s);
    EXPECT_EQ(window->mnuFileSave->text(), u"Save Quorvantile Repository Catalog"_s);
}

TEST_F(ListSaving, AFailedWriteKeepsTheOldFileShowsTheMessageAndLeavesTheListModified) {
    Node* root = newCatalogue(u"Sites"_s);
    tree().Add(root, platform::tvwChild, u"A\\"_s, u"A"_s, 1, 4);
    window->documentState->markModified(DocumentState::Document::List);
    const QString captionBefore = window->mnuFileSave->text();

    // The target is a folder: nothing can be written there, and it stays as it was.
    const QString folder = path(u"Blocked.kqi"_s);
    ASSERT_TRUE(QDir().mkpath(folder + u"/inside"_s));
    boxes.expect(QStringLiteral(": Check that the file or the file system are not read only or that the file is not "
                                "already open"),
                 platform::vbOK);
    EXPECT_FALSE(save(folder));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().title, u"Error saving HTML"_s);
    // Into a folder that does not exist: the same.
    boxes.expect(u"Check that the file"_s, platform::vbOK);
    EXPECT_FALSE(save(path(u"missing/Sites.kqi"_s)));
    EXPECT_TRUE(QFileInfo(folder + u"/inside"_s).isDir());
    EXPECT_EQ(window->StatusBar1->panelText(2) + window->StatusBar1->panelTag(2), u"ModifiedList"_s);
    EXPECT_EQ(root->Text(), u"Sites"_s);
    EXPECT_EQ(window->mnuFileSave->text(), captionBefore);
}

TEST_F(ListSaving, ARenameStillBeingTypedIsSavedWithTheTypedText) {
    window->show();
    Node* root = newCatalogue(u"Sites"_s);
    Node* node = tree().Add(root, platform::tvwChild, u"Draft\\"_s, u"Draft"_s, 1, 4);
    if (!window->mnuViewTreeView->isChecked()) window->mnuViewTreeView_Click();
    tree().Refresh();
    QApplication::processEvents();
    tree().setSelectedItem(node);
    ASSERT_TRUE(tree().StartLabelEdit());
    window->labelEditing = true;
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : tree().findChildren<QLineEdit*>())
        if (e->isVisible()) editor = e;
    ASSERT_NE(editor, nullptr);
    editor->setText(u"Final"_s);

    ASSERT_TRUE(save(path(u"Sites.kqi"_s)));
    EXPECT_FALSE(window->labelEditing);
    EXPECT_FALSE(tree().IsLabelEditing());
    EXPECT_EQ(readBytes(path(u"Sites.kqi"_s)), QByteArray("Final|\r\n"));
}
