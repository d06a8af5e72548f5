#include "catalogues/ListLines.h"
#include "platform/TreeImages.h"
#include "platform/TreeView.h"

#include <gtest/gtest.h>

#include <vector>

using modLists::addLineToIndex;
using modLists::addLineToScheme;
using modLists::ListKind;
using platform::Node;
using platform::TreeView;

namespace {

const QString kOk = QStringLiteral("0");

// A tree with the root the list loader makes before it reads the lines.
struct ListTree {
    TreeView tree;
    QString rootName;
    explicit ListTree(const QString& name = QStringLiteral("Sites"), int image = platform::kImageFolder)
        : rootName(name) {
        tree.Add(nullptr, platform::tvwLast, name + QStringLiteral("\\"), name, image, image);
    }
    QString index(const QString& line) { return addLineToIndex(rootName, line, 1, tree); }
    QString scheme(const QString& line) { return addLineToScheme(rootName, line, 1, tree); }
    Node* at(const QString& key) const { return tree.Item(key); }
};

}  // namespace

TEST(ListLines, CatalogueLinesBecomeFoldersLinksAndCommandsUnderTheirParents) {
    ListTree t;
    EXPECT_EQ(t.index(QStringLiteral("News|")), kOk);
    EXPECT_EQ(t.index(QStringLiteral("News|Local|")), kOk);
    EXPECT_EQ(t.index(QStringLiteral("News|Local|Town Hall|http://town.example/")), kOk);
    EXPECT_EQ(t.index(QStringLiteral("News|Subject|mtp://field=DC.Subject&content=News.fld")), kOk);
    EXPECT_EQ(t.index(QStringLiteral("Top page|http://top.example/")), kOk);

    Node* news = t.at(QStringLiteral("News\\"));
    ASSERT_NE(news, nullptr);
    EXPECT_EQ(news->Parent(), t.tree.Item(1));
    EXPECT_EQ(news->Text(), QStringLiteral("News"));
    EXPECT_EQ(news->Image(), platform::kImageFolder);
    EXPECT_EQ(news->SelectedImage(), platform::kImageOpenFolder);
    EXPECT_TRUE(news->Tag().isEmpty());

    Node* link = t.at(QStringLiteral("News\\Local\\Town Hall\\"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Parent(), t.at(QStringLiteral("News\\Local\\")));
    EXPECT_EQ(link->Text(), QStringLiteral("Town Hall"));
    EXPECT_EQ(link->Tag(), QStringLiteral("http://town.example/"));
    EXPECT_EQ(link->Image(), platform::kImageLink);
    EXPECT_EQ(link->SelectedImage(), platform::kImageLink);

    Node* command = t.at(QStringLiteral("News\\Subject\\"));
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->Tag(), QStringLiteral("mtp://field=DC.Subject&content=News.fld"));
    EXPECT_EQ(command->Image(), platform::kImageFolder);
    EXPECT_EQ(command->SelectedImage(), platform::kImageOpenFolder);

    ASSERT_NE(t.at(QStringLiteral("Top page\\")), nullptr);
    EXPECT_EQ(t.at(QStringLiteral("Top page\\"))->Parent(), t.tree.Item(1));
    EXPECT_EQ(t.tree.Count(), 6);
}

TEST(ListLines, SchemeLinesBecomeFoldersAndTermsWithTheirCommands) {
    ListTree t(QStringLiteral("Subjects"), platform::kImageSchemeFolder);
    EXPECT_EQ(t.scheme(QStringLiteral("Animals|")), kOk);
    EXPECT_EQ(t.scheme(QStringLiteral("Animals|Cats|mtp://field=DC.Subject&content=Cats|Felines.fld/")), kOk);
    Node* folder = t.at(QStringLiteral("Animals\\"));
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->Image(), platform::kImageSchemeFolder);
    EXPECT_EQ(folder->SelectedImage(), platform::kImageSchemeFolder);
    Node* term = t.at(QStringLiteral("Animals\\Cats\\"));
    ASSERT_NE(term, nullptr);
    // The command runs from its last "|mtp://", so a "|" inside it stays.
    EXPECT_EQ(term->Tag(), QStringLiteral("mtp://field=DC.Subject&content=Cats|Felines.fld/"));
    EXPECT_EQ(term->Image(), platform::kImageSchemeTerm);
    EXPECT_EQ(term->SelectedImage(), platform::kImageSchemeTerm);
}

TEST(ListLines, ACatalogueCommandHoldingABarIsCutAtItsLastMtpPrefix) {
    ListTree t;
    ASSERT_EQ(t.index(QStringLiteral("Terms|")), kOk);
    EXPECT_EQ(t.index(QStringLiteral("Terms|Both|mtp://run=a|b.kqb")), kOk);
    Node* node = t.at(QStringLiteral("Terms\\Both\\"));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Text(), QStringLiteral("Both"));
    EXPECT_EQ(node->Tag(), QStringLiteral("mtp://run=a|b.kqb"));
}

TEST(ListLines, RefusedLinesComeBackWithTheirReasonAndTheTreeKeepsTheRest) {
    ListTree t;
    ASSERT_EQ(t.index(QStringLiteral("News|Today|http://a.example/")), QStringLiteral(
        "News|Today|http://a.example/\r\nElement not found\r\n"))
        << "a child before its folder";
    ASSERT_EQ(t.index(QStringLiteral("News|")), kOk);
    EXPECT_EQ(t.index(QStringLiteral("News|Today|http://a.example/")), kOk);
    const QString again = t.index(QStringLiteral("News|Today|http://b.example/"));
    EXPECT_EQ(again, QStringLiteral("News|Today|http://b.example/\r\nKey is not unique in collection\r\n"));
    EXPECT_EQ(t.at(QStringLiteral("News\\Today\\"))->Tag(), QStringLiteral("http://a.example/"));

    for (const QString& bad : {QStringLiteral("no bar at all"), QStringLiteral("|"), QStringLiteral("||"),
                               QStringLiteral("News||"), QStringLiteral("|http://x.example/")}) {
        const QString result = t.index(bad);
        EXPECT_TRUE(result.startsWith(bad + QStringLiteral("\r\n"))) << bad.toStdString();
        EXPECT_TRUE(result.endsWith(QStringLiteral("\r\n")));
        EXPECT_NE(result, kOk);
    }
    // The root's own name as a line would take the root's key.
    EXPECT_NE(t.index(QStringLiteral("Sites|")), kOk);
    EXPECT_EQ(t.tree.Count(), 3);
}

TEST(ListLines, SafeNodeTextKeepsBarsAndLineBreaksOutOfNames) {
    EXPECT_EQ(modLists::safeNodeText(QStringLiteral("Home | Agency")), QString::fromUtf8("Home \xC2\xA6 Agency"));
    EXPECT_EQ(modLists::safeNodeText(QStringLiteral("Two\r\nlines\nhere")), QStringLiteral("Two lines here"));
    EXPECT_EQ(modLists::safeNodeText(QStringLiteral("Plain")), QStringLiteral("Plain"));
}

TEST(ListLines, SortArraySortsTheRangeOrdinally) {
    QStringList items{QStringLiteral("keep"), QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("a|"),
                      QStringLiteral("a| x"), QStringLiteral("a|b|"), QStringLiteral("keep too")};
    modLists::SortArray(items, 1, 5);
    EXPECT_EQ(items, (QStringList{QStringLiteral("keep"), QStringLiteral("B"), QStringLiteral("a|"),
                                  QStringLiteral("a| x"), QStringLiteral("a|b|"), QStringLiteral("b"),
                                  QStringLiteral("keep too")}));
    std::vector<int> numbers{5, 3, 9, 1};
    modLists::SortArray(numbers, 0, 3);
    EXPECT_EQ(numbers, (std::vector<int>{1, 3, 5, 9}));
    modLists::SortArray(numbers, 3, 1);  // an empty range changes nothing
    EXPECT_EQ(numbers, (std::vector<int>{1, 3, 5, 9}));
}

TEST(ListLines, SchemeFileLinesGiveEveryTagTheMtpPrefixInTheTreeToo) {
    ListTree t(QStringLiteral("Terms"), platform::kImageSchemeFolder);
    Node* root = t.tree.Item(1);
    Node* term = t.tree.Add(root, platform::tvwChild, QStringLiteral("Cats\\"), QStringLiteral("Cats"), 6, 6);
    term->setTag(QStringLiteral("field=DC.Subject&content=Cats.fld"));
    Node* kept = t.tree.Add(root, platform::tvwChild, QStringLiteral("Dogs\\"), QStringLiteral("Dogs"), 6, 6);
    kept->setTag(QStringLiteral("MTP://field=DC.Subject&content=Dogs.fld"));
    const QStringList lines = modLists::listFileLines(t.tree, true, ListKind::Scheme);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Cats|mtp://field=DC.Subject&content=Cats.fld"),
                                  QStringLiteral("Dogs|MTP://field=DC.Subject&content=Dogs.fld")}));
    EXPECT_EQ(term->Tag(), QStringLiteral("mtp://field=DC.Subject&content=Cats.fld"));

    // Read back, the upper-case prefix still starts the tag.
    ListTree back(QStringLiteral("Terms"), platform::kImageSchemeFolder);
    for (const QString& line : lines) ASSERT_EQ(back.scheme(line), kOk);
    EXPECT_EQ(back.at(QStringLiteral("Dogs\\"))->Tag(), QStringLiteral("MTP://field=DC.Subject&content=Dogs.fld"));
}
