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

