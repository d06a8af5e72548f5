#include "platform/BrowserAddress.h"
#include "support/Common.h"

#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace platform;

namespace {

TEST(BrowserAddress, CommandsAreRecognisedInAnyCaseAndNeverRewritten) {
    for (const QString& yes : {u"mtp://f.fld/"_s, u"MTP://f.fld/"_s, u"mtp:field=x.fld/"_s, u"  mtp://x.kqs/"_s})
        EXPECT_TRUE(isCommandAddress(yes)) << yes;
    for (const QString& no : {u"mtpx://x"_s, u"http://example.org/mtp://x"_s, QString()})
        EXPECT_FALSE(isCommandAddress(no)) << no;
    const QString base = u"http://example.org/terms/index.htm"_s;
    for (const QString& command : {u"mtp://field=DC.Subject&content=Café Ōtautahi&scheme=MeSH.fld/"_s,
                                   u"MTP:field=DC.Subject&content=50%25 and %20.fld/"_s})
        EXPECT_EQ(linkAddress(command, base), command);
    // Only the blanks around an href go, as in every browser.
    EXPECT_EQ(linkAddress(u" \tmtp://field=DC.Title&content= x .fld/ \n"_s, base),
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

TEST(BrowserAddress, EngineUrlsGiveBackTheTextAsWrittenDecodingOnlyNonAsciiEscapes) {
    const std::pair<const char*, QString> urls[] = {
        {"mtp://field=DC.Subject&content=Caf%C3%A9 %C5%8Ctautahi.fld/",
         u"mtp://field=DC.Subject&content=Café Ōtautahi.fld/"_s},
        {"mtp://field=DC.Subject&content=Caf%C3%A9.fld/more?x=1#end",
         u"mtp://field=DC.Subject&content=Café.fld/more?x=1#end"_s},
        {"http://127.0.0.1:8080/caf%C3%A9.htm", u"http://127.0.0.1:8080/café.htm"_s}};
    for (const auto& [url, address] : urls) EXPECT_EQ(addressOfUrl(QUrl::fromEncoded(url)), address) << url;
    EXPECT_EQ(addressOfUrl(QUrl()), QString());
    // Escapes that spell no UTF-8 stay as they were; so do broken ones.
    const std::pair<QString, QString> escapes[] = {{u"a%20b%25c%c3%a9"_s, u"a%20b%25cé"_s},
                                                   {u"%E9t%E9 %E2%82 100%"_s, u"%E9t%E9 %E2%82 100%"_s},
                                                   {u"%zz%C3%A9"_s, u"%zzé"_s},
                                                   {u"%C3"_s, u"%C3"_s}};
    for (const auto& [escaped, decoded] : escapes) EXPECT_EQ(decodeNonAsciiEscapes(escaped), decoded);
}

}  // namespace
