#include "platform/PathText.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace platform;

TEST(PathText, CutsAtTheLastSlashOrBackslash) {
    EXPECT_EQ(fileNamePart(u"/home/ann/My Pages/index.v2.htm"_s), u"index.v2.htm"_s);
    EXPECT_EQ(folderPart(u"/home/ann/My Pages/index.htm"_s), u"/home/ann/My Pages/"_s);
    EXPECT_EQ(fileNamePart(u"old\\list\\terms.kqs"_s), u"terms.kqs"_s);
    EXPECT_EQ(folderPart(u"a/b\\c"_s), u"a/b\\"_s);
    EXPECT_EQ(fileNamePart(u"plain"_s), u"plain"_s);
    EXPECT_EQ(folderPart(u"plain"_s), QString());
    EXPECT_TRUE(endsWithSeparator(u"/tmp/"_s));
    EXPECT_FALSE(endsWithSeparator(u"/tmp"_s));
}

TEST(PathText, LocalPathsAreAbsolutePathsOrFileAddresses) {
    EXPECT_TRUE(isLocalPath(u"/home/ann/page.htm"_s));
    EXPECT_TRUE(isLocalPath(u"file:///home/ann/my%20page.htm"_s));
    EXPECT_EQ(localPathFromAddress(u"file:///home/ann/my%20page.htm"_s), u"/home/ann/my page.htm"_s);
    EXPECT_FALSE(isLocalPath(u"page.htm"_s));
    EXPECT_FALSE(isLocalPath(u"http://example.org/page.htm"_s));
    EXPECT_FALSE(isLocalPath(u"mtp://field=DC.Subject&content=Cats.fld/"_s));
    EXPECT_FALSE(isLocalPath(QString()));
}

TEST(PathText, WebAddressesKeepTheirOwnScheme) {
    EXPECT_TRUE(isWebAddress(u"HTTP://Example.org"_s));
    EXPECT_TRUE(isWebAddress(u"https://example.org/a.kqs"_s));
    EXPECT_FALSE(isWebAddress(u"httpx://example.org"_s));
    EXPECT_FALSE(isWebAddress(u"/tmp/http://"_s));
    EXPECT_EQ(webSchemeOf(u"HTTPS://x.org"_s), u"HTTPS://"_s);
    EXPECT_EQ(withoutWebScheme(u"https://x.org/a"_s), u"x.org/a"_s);
    EXPECT_EQ(withoutWebScheme(u"x.org/a"_s), u"x.org/a"_s);
}

TEST(PathText, PageAddressesHoldAPageType) {
    for (const char* page : {"/home/u/index.HTML", "/srv/a.asp", "/srv/q.cfm?id=3", "/x.htm"})
        EXPECT_TRUE(isPageAddress(QLatin1String(page))) << page;
    for (const char* other : {"/home/u/list.kqi", "/home/u/", "/srv/a.kqs", ""})
        EXPECT_FALSE(isPageAddress(QLatin1String(other))) << other;
}
