#include "platform/BrowserAddress.h"
#include "platform/PathText.h"
#include "support/Common.h"

#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace platform;

namespace {

TEST(BrowserAddress, CommandsAreRecognisedInAnyCaseAndLinksLoseOnlyTheirOuterBlanks) {
    for (const QString& yes : {u"mtp://f.fld/"_s, u"MTP://f.fld/"_s, u"mtp:field=x.fld/"_s, u"  mtp://x.kqs/"_s})
        EXPECT_TRUE(isCommandAddress(yes)) << yes;
    for (const QString& no : {u"mtpx://x"_s, u"http://example.org/mtp://x"_s, QString()})
        EXPECT_FALSE(isCommandAddress(no)) << no;
    // Only the blanks around an href go, as in every browser; the engine tests click the other forms.
    EXPECT_EQ(linkAddress(u" \tmtp://field=DC.Title&content= x .fld/ \n"_s, u"http://example.org/a.htm"_s),
              u"mtp://field=DC.Title&content= x .fld/"_s);
}

TEST(BrowserAddress, RelativeLinksResolveAgainstTheDocumentOthersStayAsWritten) {
    const QString page = u"file:///data/pages/index.htm"_s;
    EXPECT_EQ(linkAddress(u"../Café page.htm"_s, page), u"file:///data/Café page.htm"_s);
    EXPECT_EQ(linkAddress(u"list.kqs"_s, u"http://example.org/a/b.htm"_s), u"http://example.org/a/list.kqs"_s);
    EXPECT_EQ(linkAddress(u"HTTP://Example.org/x y.htm"_s, page), u"HTTP://Example.org/x y.htm"_s);
    EXPECT_EQ(linkAddress(u"javascript:go('a b')"_s, page), u"javascript:go('a b')"_s);
    EXPECT_EQ(linkAddress(u"a.htm"_s, u"mtp://x.fld/"_s), u"a.htm"_s);  // no usable base
}

// The engine's escaped URLs are proven through its own tests; these escapes no page there has.
TEST(BrowserAddress, OnlyEscapesThatSpellUtf8AreDecoded) {
    const std::pair<QString, QString> escapes[] = {{u"a%20b%25c%c3%a9"_s, u"a%20b%25cé"_s},
                                                   {u"%E9t%E9 %E2%82 100%"_s, u"%E9t%E9 %E2%82 100%"_s},
                                                   {u"%zz%C3%A9"_s, u"%zzé"_s},
                                                   {u"%C3"_s, u"%C3"_s}};
    for (const auto& [escaped, decoded] : escapes) EXPECT_EQ(decodeNonAsciiEscapes(escaped), decoded);
    EXPECT_EQ(addressOfUrl(QUrl()), QString());
}

TEST(PathText, CutsAtTheLastSlashOrBackslashAndTellsLocalWebAndPageAddresses) {
    EXPECT_EQ(fileNamePart(u"old\\list\\terms.kqs"_s), u"terms.kqs"_s);
    EXPECT_EQ(folderPart(u"/home/ann/My Pages/index.htm"_s), u"/home/ann/My Pages/"_s);
    EXPECT_EQ(folderPart(u"a/b\\c"_s), u"a/b\\"_s);
    EXPECT_EQ(folderPart(u"plain"_s), QString());
    EXPECT_EQ(localPathFromAddress(u"file:///home/ann/my%20page.htm"_s), u"/home/ann/my page.htm"_s);
    for (const QString& no : {u"page.htm"_s, u"http://example.org/page.htm"_s, u"mtp://x.fld/"_s, QString()})
        EXPECT_FALSE(isLocalPath(no)) << no;
    EXPECT_TRUE(isWebAddress(u"HTTP://Example.org"_s));
    EXPECT_FALSE(isWebAddress(u"/tmp/http://"_s));
    for (const char* page : {"/home/u/index.HTML", "/srv/a.asp", "/srv/q.cfm?id=3"})
        EXPECT_TRUE(isPageAddress(QLatin1String(page))) << page;
    for (const char* other : {"/home/u/list.kqi", "/home/u/", ""}) EXPECT_FALSE(isPageAddress(QLatin1String(other)));
}

}  // namespace
