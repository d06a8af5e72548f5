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
        window->TreePath = path(name + QStringLiteral(".kqi"));
        tree().Clear();
        Node* root = tree().Add(nullptr, platform::tvwLast, name + QStringLiteral("\\"), name, 1, 4);
        root->setTag(QStringLiteral("Catalog"));
        return root;
    }
};

}  // namespace

TEST_F(ListSaving, ACatalogueAndASchemeListTheProgramWroteSaveToTheSameBytes) {
    for (const auto& [name, bytes] : {std::pair{QStringLiteral("Sites.kqi"), kCatalogue},
                                      std::pair{QStringLiteral("Subjects.kqs"), kScheme}}) {
        writeBytes(path(name), bytes);
        load(path(name));
        ASSERT_GT(tree().Count(), 1) << name.toStdString();
        const QString copy = path(QStringLiteral("copy-") + name);
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
    writeBytes(path(QStringLiteral("Sites.kqi")), shuffled);
    load(path(QStringLiteral("Sites.kqi")));
    ASSERT_TRUE(save(path(QStringLiteral("Sorted.kqi"))));
    EXPECT_EQ(readBytes(path(QStringLiteral("Sorted.kqi"))), kCatalogue);
}

TEST_F(ListSaving, ACatalogueRoundTripsThroughSaveAndLoadWithItsTreeUnchanged) {
    Node* root = newCatalogue(QStringLiteral("Sites"));
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
    Node* sites = folder(root, QStringLiteral("My Sites\\"), QStringLiteral("My Sites"));
    Node* old = folder(root, QStringLiteral("Old Sites\\"), QStringLiteral("Old Sites"));
    Node* paths = folder(old, QStringLiteral("Old Sites\\C:\\docs\\"), QStringLiteral("C:\\docs"));
    link(sites, QStringLiteral("Sites\\Home\\"), modLists::safeNodeText(QStringLiteral("Home | Agency")),
         QStringLiteral("http://agency.example/"), 2);
    link(old, QStringLiteral("Old Sites\\Run\\"), QStringLiteral("Run"), QStringLiteral("mtp://a|b| c.kqb"), 1);
    link(paths, QStringLiteral("Old Sites\\C:\\docs\\Readme\\"), QStringLiteral("Readme"),
         QStringLiteral("https://docs.example/readme"), 2);
    link(root, QStringLiteral("Top\\"), QStringLiteral("Top"), QStringLiteral("http://top.example/"), 2);
    const QStringList before = treeShape(tree(), false);

    const QString file = path(QStringLiteral("Sites.kqi"));
    ASSERT_TRUE(save(file));
    load(file);
    EXPECT_EQ(treeShape(tree(), false), before);
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Sites"));
    EXPECT_EQ(tree().Item(1)->Tag(), file);
}

TEST_F(ListSaving, ANameHoldingABarIsWrittenSoItNeverSplitsOnTheNextLoad) {
    Node* root = newCatalogue(QStringLiteral("Sites"));
    Node* node = tree().Add(root, platform::tvwChild, QStringLiteral("x"), QStringLiteral("Home | Agency"), 2, 2);
    // An address without a scheme is an http address; a "|" in it is escaped.
    node->setTag(QStringLiteral("www.agency.example/index.htm?a|b"));
    ASSERT_TRUE(save(path(QStringLiteral("Bar.kqi"))));
    EXPECT_EQ(readBytes(path(QStringLiteral("Bar.kqi"))),
              QByteArray("Home \xC2\xA6 Agency|http://www.agency.example/index.htm?a%7Cb\r\n"));
}

TEST_F(ListSaving, AnEmptyCatalogueSavesAsAnEmptyFile) {
    newCatalogue(QStringLiteral("Empty"));
    long count = 0;
    ASSERT_TRUE(save(path(QStringLiteral("Empty.kqi")), &count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(readBytes(path(QStringLiteral("Empty.kqi"))), QByteArray());
}

TEST_F(ListSaving, ASavedListIsNoLongerModifiedAndTheMenusNameItsFile) {
    Node* root = newCatalogue(QStringLiteral("Sites"));
    tree().Add(root, platform::tvwChild, QStringLiteral("A\\"), QStringLiteral("A"), 1, 4);
    window->StatusBar1->setPanelText(2, QStringLiteral("Modified"));
    window->StatusBar1->setPanelTag(2, QStringLiteral("List"));
    const QString file = path(QStringLiteral("Renamed.kqi"));
    ASSERT_TRUE(save(file));
    EXPECT_EQ(window->StatusBar1->panelText(2), QString());
    EXPECT_EQ(window->StatusBar1->panelTag(2), QStringLiteral("List"));
    EXPECT_EQ(root->Text(), QStringLiteral("Renamed"));
    EXPECT_EQ(window->mnuFileSaveList->text(), QStringLiteral("Save Catalog"));
    EXPECT_EQ(window->mnuFileSave->text(), QStringLiteral("Save Catalog to ") + file);
    EXPECT_EQ(window->mnuFileSaveAs(5)->text(), QStringLiteral("Local Catalog..."));

    // Saved again under its new root text, the lines still leave the root out.
    ASSERT_TRUE(save(file));
    EXPECT_EQ(readBytes(file), QByteArray("A|\r\n"));
}

TEST_F(ListSaving, ASchemeListGetsTheMtpPrefixOnEveryTermAndItsOwnCaption) {
    window->rootName = QStringLiteral("Terms");
    window->TreePath = path(QStringLiteral("Terms.kqs"));
    Node* root = tree().Add(nullptr, platform::tvwLast, QStringLiteral("Terms\\"), QStringLiteral("Terms"), 5, 5);
    Node* term = tree().Add(root, platform::tvwChild, QStringLiteral("Cats\\"), QStringLiteral("Cats"), 6, 6);
    term->setTag(QStringLiteral("field=DC.Subject&content=Cats.fld/"));
    ASSERT_TRUE(save(window->TreePath));
    EXPECT_EQ(readBytes(window->TreePath), QByteArray("Cats|mtp://field=DC.Subject&content=Cats.fld/\r\n"));
    EXPECT_EQ(term->Tag(), QStringLiteral("mtp://field=DC.Subject&content=Cats.fld/"));
    EXPECT_EQ(window->mnuFileSave->text(), QStringLiteral("Save Scheme to ") + window->TreePath);
    EXPECT_EQ(window->mnuFileSaveList->text(), QStringLiteral("Save Scheme"));
}

TEST_F(ListSaving, TheRepositoryCatalogueKeepsItsRootInTheLinesAndItsRootText) {
    window->treeIndex = 1;
    window->rootName.clear();
    window->TreePath = QStringLiteral("Main Catalog.kqi");
    Node* root = tree().Add(nullptr, platform::tvwLast, QStringLiteral("Main Catalog\\"), QStringLiteral("Main Catalog"), 1);
    tree().Add(root, platform::tvwChild, QStringLiteral("Main Catalog\\Health\\"), QStringLiteral("Health"), 1, 4);
    const QString file = path(QStringLiteral("upload.kqi"));
    ASSERT_TRUE(save(file));
    EXPECT_EQ(readBytes(file), QByteArray("Main Catalog|Health|\r\n"));
    EXPECT_EQ(root->Text(), QStringLiteral("Main Catalog"));
    EXPECT_EQ(window->mnuFileSave->text(), QStringLiteral("Save Quorvantile Repository Catalog"));
    EXPECT_EQ(window->mnuFileSaveAs(5)->text(), QStringLiteral("Quorvantile Repository Catalog..."));
}

TEST_F(ListSaving, AFailedWriteKeepsTheOldFileShowsTheMessageAndLeavesTheListModified) {
    Node* root = newCatalogue(QStringLiteral("Sites"));
    tree().Add(root, platform::tvwChild, QStringLiteral("A\\"), QStringLiteral("A"), 1, 4);
    window->StatusBar1->setPanelText(2, QStringLiteral("Modified"));
    window->StatusBar1->setPanelTag(2, QStringLiteral("List"));
    const QString captionBefore = window->mnuFileSave->text();

    // The target is a folder: nothing can be written there, and it stays as it was.
    const QString folder = path(QStringLiteral("Blocked.kqi"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    boxes.expect(QStringLiteral(": Check that the file or the file system are not read only or that the file is not "
                                "already open"),
                 platform::vbOK);
    EXPECT_FALSE(save(folder));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().title, QStringLiteral("Error saving HTML"));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/inside")).isDir());
    EXPECT_EQ(window->StatusBar1->panelText(2), QStringLiteral("Modified"));
    EXPECT_EQ(window->StatusBar1->panelTag(2), QStringLiteral("List"));
    EXPECT_EQ(root->Text(), QStringLiteral("Sites"));
    EXPECT_EQ(window->mnuFileSave->text(), captionBefore);

    // Into a folder that does not exist: the same.
    boxes.expect(QStringLiteral("Check that the file"), platform::vbOK);
    EXPECT_FALSE(save(path(QStringLiteral("missing/Sites.kqi"))));
    EXPECT_EQ(window->StatusBar1->panelText(2), QStringLiteral("Modified"));
}

TEST_F(ListSaving, ARenameStillBeingTypedIsSavedWithTheTypedText) {
    window->show();
    Node* root = newCatalogue(QStringLiteral("Sites"));
    Node* node = tree().Add(root, platform::tvwChild, QStringLiteral("Draft\\"), QStringLiteral("Draft"), 1, 4);
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
    editor->setText(QStringLiteral("Final"));

    ASSERT_TRUE(save(path(QStringLiteral("Sites.kqi"))));
    EXPECT_FALSE(window->labelEditing);
    EXPECT_FALSE(tree().IsLabelEditing());
    EXPECT_EQ(readBytes(path(QStringLiteral("Sites.kqi"))), QByteArray("Final|\r\n"));
}
