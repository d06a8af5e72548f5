#include "platform/PathText.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(PathText, CutsAtTheLastSlashOrBackslash) {
    EXPECT_EQ(fileNamePart(QStringLiteral("/home/ann/My Pages/index.v2.htm")), QStringLiteral("index.v2.htm"));
    EXPECT_EQ(folderPart(QStringLiteral("/home/ann/My Pages/index.htm")), QStringLiteral("/home/ann/My Pages/"));
    EXPECT_EQ(fileNamePart(QStringLiteral("old\\list\\terms.kqs")), QStringLiteral("terms.kqs"));
    EXPECT_EQ(folderPart(QStringLiteral("a/b\\c")), QStringLiteral("a/b\\"));
    EXPECT_EQ(fileNamePart(QStringLiteral("plain")), QStringLiteral("plain"));
    EXPECT_EQ(folderPart(QStringLiteral("plain")), QString());
    EXPECT_TRUE(endsWithSeparator(QStringLiteral("/tmp/")));
    EXPECT_FALSE(endsWithSeparator(QStringLiteral("/tmp")));
}

TEST(PathText, LocalPathsAreAbsolutePathsOrFileAddresses) {
    EXPECT_TRUE(isLocalPath(QStringLiteral("/home/ann/page.htm")));
    EXPECT_TRUE(isLocalPath(QStringLiteral("file:///home/ann/my%20page.htm")));
    EXPECT_EQ(localPathFromAddress(QStringLiteral("file:///home/ann/my%20page.htm")),
              QStringLiteral("/home/ann/my page.htm"));
    EXPECT_FALSE(isLocalPath(QStringLiteral("page.htm")));
    EXPECT_FALSE(isLocalPath(QStringLiteral("http://example.org/page.htm")));
    EXPECT_FALSE(isLocalPath(QStringLiteral("mtp://field=DC.Subject&content=Cats.fld/")));
    EXPECT_FALSE(isLocalPath(QString()));
}

TEST(PathText, WebAddressesKeepTheirOwnScheme) {
    EXPECT_TRUE(isWebAddress(QStringLiteral("HTTP://Example.org")));
    EXPECT_TRUE(isWebAddress(QStringLiteral("https://example.org/a.kqs")));
    EXPECT_FALSE(isWebAddress(QStringLiteral("httpx://example.org")));
    EXPECT_FALSE(isWebAddress(QStringLiteral("/tmp/http://")));
    EXPECT_EQ(webSchemeOf(QStringLiteral("HTTPS://x.org")), QStringLiteral("HTTPS://"));
    EXPECT_EQ(withoutWebScheme(QStringLiteral("https://x.org/a")), QStringLiteral("x.org/a"));
    EXPECT_EQ(withoutWebScheme(QStringLiteral("x.org/a")), QStringLiteral("x.org/a"));
}
