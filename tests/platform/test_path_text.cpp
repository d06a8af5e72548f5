#include "platform/PathText.h"
#include "support/Common.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace platform;

TEST(PathText, CutsAtTheLastSlashOrBackslash) {
    EXPECT_EQ(fileNamePart(u"/home/ann/My Pages/index.v2.htm"_s), u"index.v2.htm"_s);
    EXPECT_EQ(folderPart(u"/home/ann/My Pages/index.htm"_s), u"/home/ann/My Pages/"_s);
    EXPECT_EQ(fileNamePart(u"old\\list\\terms.kqs"_s), u"terms.kqs"_s);
    EXPECT_EQ(folderPart(u"a/b\\c"_s), u"a/b\\"_s);
    EXPECT_EQ(folderPart(u"plain"_s), QString());
}

TEST(PathText, LocalWebAndPageAddresses) {
    EXPECT_EQ(localPathFromAddress(u"file:///home/ann/my%20page.htm"_s), u"/home/ann/my page.htm"_s);
    for (const QString& no : {u"page.htm"_s, u"http://example.org/page.htm"_s, u"mtp://x.fld/"_s, QString()})
        EXPECT_FALSE(isLocalPath(no)) << no;
    EXPECT_TRUE(isLocalPath(u"/home/ann/page.htm"_s));
    EXPECT_TRUE(isWebAddress(u"HTTP://Example.org"_s));
    EXPECT_FALSE(isWebAddress(u"/tmp/http://"_s));
    for (const char* page : {"/home/u/index.HTML", "/srv/a.asp", "/srv/q.cfm?id=3"})
        EXPECT_TRUE(isPageAddress(QLatin1String(page))) << page;
    for (const char* other : {"/home/u/list.kqi", "/home/u/", ""}) EXPECT_FALSE(isPageAddress(QLatin1String(other)));
}
