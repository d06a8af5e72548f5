#include <QMainWindow>
#include "gui/catalogues/TreePane.h"
#include "core/catalogues/ListLines.h"
#include "core/commands/ListLoading.h"
#include "core/commands/modMTP.h"
#include "gui/catalogues/ListTreeModel.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/widgets/StatusBar.h"
#include "support/ListTrees.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using NodeId = ListTree::NodeId;
using testing_support::readBytes;
using testing_support::treeShape;
using testing_support::writeBytes;

namespace {

// A catalogue as the program writes it: sorted, CR LF, UTF-8.
const QByteArray kCatalogue = "About|http://about.example/\r\n"
                              "Art|\r\n"
                              "Art|Modern|\r\n"
                              "Art|Modern|Tate|https://tate.example/\r\n"
                              "Art|Old|mtp://field=DC.Subject&content=Old|Masters.fld\r\n"
                              "Caf\xC3\xA9|\r\n"
                              "Caf\xC3\xA9|Home \xC2\xA6 Agency|http://agency.example/?a%7Cb\r\n";

class ListSaving : public ::testing::Test {
protected:
    testing_support::TestWindow window;
    testing_support::ScriptedMsgBoxes boxes;
    QTemporaryDir files;

    QString path(const QString& name) const { return files.path() + QLatin1Char('/') + name; }
    void load(QString file) {
        modMTP::loadList(window.context, file);
        ASSERT_FALSE(window.context.commands.listLoading);
    }
    // The list written by the command a user types into the address box; true when it was
    // written, that is when the list's "Modified" mark, set first, is gone.
    bool save(const QString& file) {
        window.context.document.markModified(DocumentState::Document::List);
        window.enter(u"mtp://save="_s + file);
        return !window.context.document.modified(DocumentState::Document::List);
    }
    ListTree& tree() const { return window.activeTree(); }
    // A list root as the loader makes it.
    NodeId newList(const QString& name, const QString& suffix = u".kqi"_s, int image = 1) {
        window.context.rootName = name;
        window.context.document.setTreePath(path(name + suffix));
        tree().clear();
        const NodeId root =
            tree().add(0, ListTree::Place::Last, name + u"\\"_s, name, image, image == 1 ? 4 : image);
        tree().setTag(root, u"Catalog"_s);
        return root;
    }
    NodeId add(NodeId parent, const QString& key, const QString& text, const QString& tag = {}, int image = 1) {
        const NodeId node = tree().add(parent, ListTree::Place::Child, key, text, image, image == 1 ? 4 : image);
        if (!tag.isEmpty()) tree().setTag(node, tag);
        return node;
    }
};

}  // namespace

TEST_F(ListSaving, ListsTheProgramWroteSaveToTheSameBytesAndUnsortedOnesComeOutSorted) {
    const QByteArray scheme = "Animals|\r\nAnimals|Cats|mtp://field=DC.Subject&content=Cats.fld/\r\n"
                              "Plants|\r\nPlants|Trees|\r\nPlants|Trees|Oak|mtp://field=DC.Subject&content=Oak/\r\n";
    // Every folder still comes before what is in it, as a list must.
    const QByteArray shuffled = "Art|\nArt|Old|mtp://field=DC.Subject&content=Old|Masters.fld\nAbout|http://about."
                                "example/\nArt|Modern|\n\nCaf\xC3\xA9|\nArt|Modern|Tate|https://tate.example/\n"
                                "Caf\xC3\xA9|Home \xC2\xA6 Agency|http://agency.example/?a%7Cb";
    const std::tuple<QString, QByteArray, QByteArray> cases[] = {{u"Sites.kqi"_s, kCatalogue, kCatalogue},
                                                                 {u"Subjects.kqs"_s, scheme, scheme},
                                                                 {u"Mixed.kqi"_s, shuffled, kCatalogue}};
    for (const auto& [name, bytes, expected] : cases) {
        load(writeBytes(path(name), bytes));
        const QString copy = path(u"copy-"_s + name);
        ASSERT_TRUE(save(copy));
        EXPECT_EQ(readBytes(copy), expected) << name.toStdString();
    }
}

TEST_F(ListSaving, ABuiltCatalogueRoundTripsWithItsTreeUnchangedAndNoNameSplits) {
    NodeId root = newList(u"Sites"_s);
    // Names ending with the root's, with "\" or a "|" made safe; a command with "|" and "| ".
    const NodeId sites = add(root, u"My Sites\\"_s, u"My Sites"_s);
    const NodeId old = add(root, u"Old Sites\\"_s, u"Old Sites"_s);
    const NodeId paths = add(old, u"Old Sites\\C:\\docs\\"_s, u"C:\\docs"_s);
    add(sites, u"Sites\\Home\\"_s, ListLines::safeNodeText(u"Home | Agency"_s), u"http://agency.example/"_s, 2);
    add(old, u"Old Sites\\Run\\"_s, u"Run"_s, u"mtp://a|b| c.kqb"_s);
    add(paths, u"Old Sites\\C:\\docs\\Readme\\"_s, u"Readme"_s, u"https://docs.example/readme"_s, 2);
    add(root, u"Top\\"_s, u"Top"_s, u"http://top.example/"_s, 2);
    const QStringList before = treeShape(tree(), false);
    const QString file = path(u"Sites.kqi"_s);
    ASSERT_TRUE(save(file));
    load(file);
    EXPECT_EQ(treeShape(tree(), false), before);

    // A raw "|" in a name is made safe; an address without a scheme is http, its "|" escaped.
    root = newList(u"Bar"_s);
    add(root, u"x"_s, u"Home | Agency"_s, u"www.agency.example/index.htm?a|b"_s, 2);
    ASSERT_TRUE(save(path(u"Bar.kqi"_s)));
    EXPECT_EQ(readBytes(path(u"Bar.kqi"_s)), "Home \xC2\xA6 Agency|http://www.agency.example/index.htm?a%7Cb\r\n");
}

TEST_F(ListSaving, AListTakesItsFilesNameAFailedWriteChangesNothingAndTermsGetTheirPrefix) {
    newList(u"Empty"_s);
    ASSERT_TRUE(save(path(u"Empty.kqi"_s)));
    EXPECT_EQ(readBytes(path(u"Empty.kqi"_s)), QByteArray());
    NodeId root = newList(u"Sites"_s);
    add(root, u"A\\"_s, u"A"_s);
    const QString file = path(u"Renamed.kqi"_s);
    ASSERT_TRUE(save(file));
    EXPECT_EQ(tree().text(root), u"Renamed"_s);
    ASSERT_TRUE(save(file));  // saved again under its new root text
    EXPECT_EQ(readBytes(file), QByteArray("A|\r\n"));

    // A failed write keeps what was there, shows the message and leaves the list modified.
    window.context.document.markModified(DocumentState::Document::List);
    const QString folder = path(u"Blocked.kqi"_s);  // a folder: nothing can be written there
    ASSERT_TRUE(QDir().mkpath(folder + u"/inside"_s));
    boxes.expect(u": Check that the file or the file system are not read only"_s, platform::kAnswerOk);
    EXPECT_FALSE(save(folder));
    EXPECT_EQ(boxes.shown().first().title, u"Error saving list"_s);
    EXPECT_TRUE(QFileInfo(folder + u"/inside"_s).isDir());
    EXPECT_EQ(window.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(2) + window.find<platform::StatusBar>(u"StatusBar1"_s)->panelTag(2), u"ModifiedList"_s);
    EXPECT_EQ(tree().text(root), u"Renamed"_s);

    // Scheme terms get the mtp:// prefix.
    const NodeId term = add(newList(u"Terms"_s, u".kqs"_s, 5), u"Cats\\"_s, u"Cats"_s, u"field=DC.Title&content=C.fld/"_s, 6);
    ASSERT_TRUE(save(window.context.document.TreePath()));
    EXPECT_EQ(readBytes(path(u"Terms.kqs"_s)), QByteArray("Cats|mtp://field=DC.Title&content=C.fld/\r\n"));
    EXPECT_EQ(tree().tag(term), u"mtp://field=DC.Title&content=C.fld/"_s);
}

// A list read from a file may hold an entry its own file could not give back (a name read
// with blanks around an "mtp://" loses them): the save names it, shows it and writes nothing,
// through File > Save and through the command alike; changed, the list is saved.
TEST_F(ListSaving, AnEntryTheFileCouldNotGiveBackStopsTheSaveBeforeAnythingIsWritten) {
    const QByteArray bytes = "A|\r\nA| mtp://b|http://c.example/\r\n";
    const QString file = writeBytes(path(u"Odd.kqi"_s), bytes);
    load(file);
    const NodeId odd = tree().itemByKey(u"A\\mtp://b\\"_s);
    ASSERT_TRUE(odd);
    const QString refusal = u"A list file can't keep the entry \"A > mtp://b\": its name begins with \"mtp://\" and its tag "
                            "does not. The list was not saved: change the entry and save again."_s;
    window.context.document.markModified(DocumentState::Document::List);
    boxes.expect(refusal, platform::kAnswerOk).expect(refusal, platform::kAnswerOk);
    window.find<QAction>(u"mnuFileSave"_s)->trigger();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().last().title, u"Error saving list"_s);
    EXPECT_EQ(tree().selected(), odd);
    EXPECT_EQ(readBytes(file), bytes);
    EXPECT_FALSE(save(path(u"copy.kqi"_s)));
    EXPECT_FALSE(QFile::exists(path(u"copy.kqi"_s)));
    EXPECT_TRUE(window.context.document.modified(DocumentState::Document::List));

    tree().setText(odd, u"b"_s);
    ASSERT_TRUE(save(file));
    EXPECT_EQ(readBytes(file), "A|\r\nA|b|http://c.example/\r\n");
}

TEST_F(ListSaving, ARenameStillBeingTypedIsSavedWithTheTypedText) {
    window->show();
    const NodeId node = add(newList(u"Sites"_s), u"Draft\\"_s, u"Draft"_s);
    if (!window.find<QAction>(u"mnuViewTreeView"_s)->isChecked()) window.find<QAction>(u"mnuViewTreeView"_s)->trigger();
    ListTreeView& view = *window.activeTreeView();
    QApplication::processEvents();
    const QModelIndex index = view.treeModel().indexOf(node);
    view.scrollTo(index);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
    ASSERT_EQ(tree().selected(), node);
    window.find<QAction>(u"mnuMaintNodes_%1"_s.arg(TreePane::kRenameLine))->trigger();
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : view.findChildren<QLineEdit*>())
        if (e->isVisible()) editor = e;
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, u"Final"_s);
    ASSERT_TRUE(save(path(u"Sites.kqi"_s)));
    EXPECT_FALSE(view.IsLabelEditing());
    EXPECT_EQ(readBytes(path(u"Sites.kqi"_s)), QByteArray("Final|\r\n"));
    // The editor closing afterwards renames nothing behind the saved file.
    QApplication::processEvents();
    EXPECT_EQ(tree().text(node), u"Final"_s);
    EXPECT_EQ(readBytes(path(u"Sites.kqi"_s)), QByteArray("Final|\r\n"));
}
