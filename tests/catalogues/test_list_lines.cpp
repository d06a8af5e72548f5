#include "catalogues/ListLines.h"
#include "platform/TreeImages.h"
#include "platform/TreeView.h"
#include "support/ListTrees.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;

using modLists::addLineToIndex;
using modLists::addLineToScheme;
using modLists::ListKind;
using platform::Node;
using platform::TreeView;

namespace {

const QString kOk = u"0"_s;

// A tree with the root the list loader makes before it reads the lines.
struct ListTree {
    TreeView tree;
    QString rootName;
    explicit ListTree(const QString& name = u"Sites"_s, int image = platform::kImageFolder) : rootName(name) {
        tree.Add(nullptr, platform::tvwLast, name + u"\\"_s, name, image, image);
    }
    QString index(const QString& line) { return addLineToIndex(rootName, line, 1, tree); }
    QString scheme(const QString& line) { return addLineToScheme(rootName, line, 1, tree); }
    Node* at(const QString& key) const { return tree.Item(key); }
};

}  // namespace

TEST(ListLines, CatalogueLinesBecomeFoldersLinksAndCommandsUnderTheirParents) {
    ListTree t;
    for (const QString& line :
         {u"News|"_s, u"News|Local|"_s, u"News|Local|Town Hall|http://town.example/"_s,
          u"News|Subject|mtp://field=DC.Subject&content=News.fld"_s, u"Top page|http://top.example/"_s})
        EXPECT_EQ(t.index(line), kOk) << line;
    // Folders and commands show as folders; a command holding a bar is cut at its last "|mtp://".
    EXPECT_EQ(t.index(u"News|Both|mtp://run=a|b.kqb"_s), kOk);
    EXPECT_EQ(testing_support::treeShape(t.tree),
              (QStringList{
                  u"News [] 1/4 News\\"_s,
                  u"  Local [] 1/4 News\\Local\\"_s,
                  u"    Town Hall [http://town.example/] 2/2 News\\Local\\Town Hall\\"_s,
                  u"  Subject [mtp://field=DC.Subject&content=News.fld] 1/4 News\\Subject\\"_s,
                  u"  Both [mtp://run=a|b.kqb] 1/4 News\\Both\\"_s,
                  u"Top page [http://top.example/] 2/2 Top page\\"_s,
              }));
}

TEST(ListLines, SchemeLinesBecomeFoldersAndTermsWithTheirCommands) {
    ListTree t(u"Subjects"_s, platform::kImageSchemeFolder);
    EXPECT_EQ(t.scheme(u"Animals|"_s), kOk);
    EXPECT_EQ(t.scheme(u"Animals|Cats|mtp://field=DC.Subject&content=Cats|Felines.fld/"_s), kOk);
    EXPECT_EQ(testing_support::treeShape(t.tree, false),
              (QStringList{u"Animals [] 5/5"_s, u"  Cats [mtp://field=DC.Subject&content=Cats|Felines.fld/] 6/6"_s}));
}

TEST(ListLines, RefusedLinesComeBackWithTheirReasonAndTheTreeKeepsTheRest) {
    ListTree t;
    ASSERT_EQ(t.index(u"News|Today|http://a.example/"_s), u"News|Today|http://a.example/\r\nElement not found\r\n"_s)
        << "a child before its folder";
    ASSERT_EQ(t.index(u"News|"_s), kOk);
    EXPECT_EQ(t.index(u"News|Today|http://a.example/"_s), kOk);
    const QString again = t.index(u"News|Today|http://b.example/"_s);
    EXPECT_EQ(again, u"News|Today|http://b.example/\r\nKey is not unique in collection\r\n"_s);
    EXPECT_EQ(t.at(u"News\\Today\\"_s)->Tag(), u"http://a.example/"_s);

    for (const QString& bad : {u"no bar at all"_s, u"|"_s, u"||"_s, u"News||"_s, u"|http://x.example/"_s}) {
        const QString result = t.index(bad);
        EXPECT_TRUE(result.startsWith(bad + u"\r\n"_s)) << bad.toStdString();
        EXPECT_TRUE(result.endsWith(u"\r\n"_s));
        EXPECT_NE(result, kOk);
    }
    // The root's own name as a line would take the root's key.
    EXPECT_NE(t.index(u"Sites|"_s), kOk);
    EXPECT_EQ(t.tree.Count(), 3);
}

TEST(ListLines, SafeNodeTextKeepsBarsAndLineBreaksOutOfNames) {
    EXPECT_EQ(modLists::safeNodeText(u"Home | Agency"_s), u"Home ¦ Agency"_s);
    EXPECT_EQ(modLists::safeNodeText(u"Two\r\nlines\nhere"_s), u"Two lines here"_s);
}

TEST(ListLines, SortArraySortsTheRangeOrdinally) {
    QStringList items{u"keep"_s, u"b"_s, u"B"_s, u"a|"_s, u"a| x"_s, u"a|b|"_s, u"keep too"_s};
    modLists::SortArray(items, 1, 5);
    EXPECT_EQ(items, (QStringList{u"keep"_s, u"B"_s, u"a|"_s, u"a| x"_s, u"a|b|"_s, u"b"_s, u"keep too"_s}));
    std::vector<int> numbers{5, 3, 9, 1};
    modLists::SortArray(numbers, 0, 3);
    EXPECT_EQ(numbers, (std::vector<int>{1, 3, 5, 9}));
    modLists::SortArray(numbers, 3, 1);  // an empty range changes nothing
    EXPECT_EQ(numbers, (std::vector<int>{1, 3, 5, 9}));
}

TEST(ListLines, SchemeFileLinesGiveEveryTagTheMtpPrefixInTheTreeToo) {
    ListTree t(u"Terms"_s, platform::kImageSchemeFolder);
    Node* root = t.tree.Item(1);
    Node* term = t.tree.Add(root, platform::tvwChild, u"Cats\\"_s, u"Cats"_s, 6, 6);
    term->setTag(u"field=DC.Subject&content=Cats.fld"_s);
    Node* kept = t.tree.Add(root, platform::tvwChild, u"Dogs\\"_s, u"Dogs"_s, 6, 6);
    kept->setTag(u"MTP://field=DC.Subject&content=Dogs.fld"_s);
    const QStringList lines = modLists::listFileLines(t.tree, true, ListKind::Scheme);
    EXPECT_EQ(lines, (QStringList{u"Cats|mtp://field=DC.Subject&content=Cats.fld"_s,
                                  u"Dogs|MTP://field=DC.Subject&content=Dogs.fld"_s}));
    EXPECT_EQ(term->Tag(), u"mtp://field=DC.Subject&content=Cats.fld"_s);

    // Read back, the upper-case prefix still starts the tag.
    ListTree back(u"Terms"_s, platform::kImageSchemeFolder);
    for (const QString& line : lines) ASSERT_EQ(back.scheme(line), kOk);
    EXPECT_EQ(back.at(u"Dogs\\"_s)->Tag(), u"MTP://field=DC.Subject&content=Dogs.fld"_s);
}
