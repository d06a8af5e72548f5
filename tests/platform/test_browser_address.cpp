#include "platform/BrowserAddress.h"
#include "platform/HtmlLinks.h"
#include "support/Common.h"

#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using namespace platform;

TEST(BrowserAddress, CommandsAreRecognisedInAnyCaseAndNeverRewritten) {
    for (const QString& yes : {u"mtp://f.fld/"_s, u"MTP://f.fld/"_s, u"mtp:field=x.fld/"_s, u"  mtp://x.kqs/"_s})
        EXPECT_TRUE(isCommandAddress(yes)) << yes;
    for (const QString& no : {u"mtpx://x"_s, u"http://example.org/mtp://x"_s, QString()})
        EXPECT_FALSE(isCommandAddress(no)) << no;

    const QString base = u"http://example.org/terms/index.htm"_s;
    for (const QString& command :
         {u"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"_s,
          u"mtp://field=DC.Subject&content=Café Ōtautahi.fld/"_s, u"MTP://field=DC.Subject&content=Upper.fld/"_s,
          u"mtp:field=DC.Subject&content=NoSlash.fld/"_s, u"mtp://field=DC.Subject&content=50%25 and %20.fld/"_s}) {
        EXPECT_EQ(linkAddress(command, base), command);
    }
    // Only the blanks around an href go, as in every browser.
    EXPECT_EQ(linkAddress(u" \tmtp://field=DC.Title&content= x .fld/ \n"_s, base),
              u"mtp://field=DC.Title&content= x .fld/"_s);
}

TEST(BrowserAddress, RelativeLinksResolveAgainstTheDocumentOthersStayAsWritten) {
    const QString page = u"file:///data/pages/index.htm"_s;
    EXPECT_EQ(linkAddress(u"other page.htm"_s, page), u"file:///data/pages/other page.htm"_s);
    EXPECT_EQ(linkAddress(u"../Café.htm"_s, page), u"file:///data/Café.htm"_s);
    EXPECT_EQ(linkAddress(u"#part"_s, page), u"file:///data/pages/index.htm#part"_s);
    EXPECT_EQ(linkAddress(u"list.kqs"_s, u"http://example.org/a/b.htm"_s), u"http://example.org/a/list.kqs"_s);
    EXPECT_EQ(linkAddress(u"HTTP://Example.org/x y.htm"_s, page), u"HTTP://Example.org/x y.htm"_s);
    EXPECT_EQ(linkAddress(u"javascript:go('a b')"_s, page), u"javascript:go('a b')"_s);
    EXPECT_EQ(linkAddress(u"data:text/html,<b>x</b>"_s, page), u"data:text/html,<b>x</b>"_s);
    // Without a usable base a relative href is all there is.
    EXPECT_EQ(linkAddress(u"a.htm"_s, QString()), u"a.htm"_s);
    EXPECT_EQ(linkAddress(u"a.htm"_s, u"mtp://x.fld/"_s), u"a.htm"_s);
}

TEST(BrowserAddress, CommandTextIsRecoveredFromTheEngineUrls) {
    // The engine keeps blanks but escapes non-ASCII text; QUrl rejects both forms.
    const std::pair<const char*, QString> cases[] = {
        {"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/",
         u"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"_s},
        {"mtp://field=DC.Subject&content=Caf%C3%A9 %C5%8Ctautahi.fld/",
         u"mtp://field=DC.Subject&content=Café Ōtautahi.fld/"_s},
        {"MTP://field=DC.Subject&content=Upper.fld/", u"MTP://field=DC.Subject&content=Upper.fld/"_s},
        {"mtp://field=DC.Subject&content=Caf%C3%A9.fld/more?x=1#end",
         u"mtp://field=DC.Subject&content=Café.fld/more?x=1#end"_s},
        {"mtp:x y.fld/", u"mtp:x y.fld/"_s},
        {"http://127.0.0.1:8080/caf%C3%A9.htm", u"http://127.0.0.1:8080/café.htm"_s}};
    for (const auto& [url, address] : cases) EXPECT_EQ(addressOfUrl(QUrl::fromEncoded(url)), address) << url;
    EXPECT_EQ(addressOfUrl(QUrl()), QString());
}

TEST(BrowserAddress, OnlyNonAsciiEscapesAreDecoded) {
    // Escapes that spell no UTF-8 stay as they were; so do broken ones.
    const std::pair<QString, QString> cases[] = {{u"a%20b%25c"_s, u"a%20b%25c"_s},
                                                 {u"Caf%C3%A9%20%C5%8Ctautahi"_s, u"Café%20Ōtautahi"_s},
                                                 {u"x%c3%a9y"_s, u"xéy"_s},
                                                 {u"%E9t%E9"_s, u"%E9t%E9"_s},
                                                 {u"%E2%82"_s, u"%E2%82"_s},
                                                 {u"100%"_s, u"100%"_s},
                                                 {u"%C3"_s, u"%C3"_s},
                                                 {u"%zz%C3%A9"_s, u"%zzé"_s}};
    for (const auto& [escaped, decoded] : cases) EXPECT_EQ(decodeNonAsciiEscapes(escaped), decoded);
}

TEST(BrowserAddress, TypedAddressesBecomeUrls) {
    EXPECT_EQ(urlForAddress(u"/data/my pages/a.htm"_s), QUrl::fromLocalFile(u"/data/my pages/a.htm"_s));
    EXPECT_EQ(urlForAddress(u"file:///data/a.htm"_s).toLocalFile(), u"/data/a.htm"_s);
    EXPECT_EQ(urlForAddress(u"www.example.org"_s).scheme(), u"http"_s);
    EXPECT_EQ(urlForAddress(u"https://example.org/x"_s).toString(), u"https://example.org/x"_s);
}

TEST(HtmlLinks, LinksKeepTheirHrefAsTheAttributeSaysWithTextAndAlt) {
    const HtmlLinkScan scan = scanHtmlLinks(QStringLiteral(
        "<html><head><title> Terms &amp; more </title><base href='terms/' target='content'></head><body>\n"
        "<A HREF=\"mtp://field=DC.Subject&amp;content=Heart Disease.fld/\">Heart\n   Disease</A>\n"
        "<a href='mtp://field=DC.Subject&content=Café.fld/' target=_top><b>Ca</b>fé</a>\n"
        "<a href=plain.htm>one<br>two</a>\n"
        "<a href=\"pic.htm\"><img src=x.png alt=\"First alt\"><img alt='Second'></a>\n"
        "<map><area href=\"area.htm\" alt=\"Area alt\"></map>\n"
        "<!-- <a href=\"commented.htm\">no</a> -->\n"
        "<script>document.write('<a href=\"scripted.htm\">no</a>')</script>\n"
        "<a name=anchor>not a link</a>\n"
        "<a href=\"first\" href=\"second\">a &lt; b &#233;&#x14C; &unknown; x</a>\n"
        "<a href=\"\">empty</a>\n"
        "<a href=\"open.htm\">never closed"));
    EXPECT_EQ(scan.title, u"Terms & more"_s);
    EXPECT_EQ(scan.baseHref, u"terms/"_s);
    EXPECT_EQ(scan.baseTarget, u"content"_s);
    ASSERT_EQ(scan.links.size(), 8);
    EXPECT_EQ(scan.links[0].href, u"mtp://field=DC.Subject&content=Heart Disease.fld/"_s);
    EXPECT_EQ(scan.links[0].outerText, u"Heart Disease"_s);
    EXPECT_EQ(scan.links[1].href, u"mtp://field=DC.Subject&content=Café.fld/"_s);
    EXPECT_EQ(scan.links[1].outerText, u"Café"_s);
    EXPECT_EQ(scan.links[1].target, u"_top"_s);
    EXPECT_EQ(scan.links[2].outerText, u"one two"_s);
    EXPECT_EQ(scan.links[3].alt, u"First alt"_s);
    EXPECT_EQ(scan.links[3].outerText, QString());
    EXPECT_EQ(scan.links[4].href, u"area.htm"_s);
    EXPECT_EQ(scan.links[4].alt, u"Area alt"_s);
    EXPECT_EQ(scan.links[5].href, u"first"_s);
    EXPECT_EQ(scan.links[5].outerText, u"a < b éŌ &unknown; x"_s);
    EXPECT_EQ(scan.links[6].href, QString());
    EXPECT_EQ(scan.links[7].outerText, u"never closed"_s);
}

TEST(HtmlLinks, FramesAndOddMarkup) {
    const HtmlLinkScan scan = scanHtmlLinks(
        QStringLiteral("<!DOCTYPE html><frameset cols='20%,*'><frame name=\"index\" src=\"left.htm\">"
                       "<frame src='right.htm' name='content'></frameset>"
                       "<iframe src=\"inner.htm\" name=inner><a href=\"fallback.htm\">x</a></iframe>"
                       "<p>1 < 2 and <a href=\"after.htm\" title='a > b'>after</a></p><a href='unterminated"));
    ASSERT_EQ(scan.frames.size(), 3);
    EXPECT_EQ(scan.frames[0].src, u"left.htm"_s);
    EXPECT_EQ(scan.frames[0].name, u"index"_s);
    EXPECT_EQ(scan.frames[1].name, u"content"_s);
    EXPECT_EQ(scan.frames[2].src, u"inner.htm"_s);
    ASSERT_EQ(scan.links.size(), 2);
    EXPECT_EQ(scan.links[0].href, u"after.htm"_s);
    EXPECT_EQ(scan.links[0].outerText, u"after"_s);
    EXPECT_EQ(scan.links[1].href, u"unterminated"_s);
}

TEST(HtmlLinks, LargePageIsReadInOnePass) {
    QString html;
    const int count = 100000;
    html.reserve(count * 48);
    for (int i = 0; i < count; ++i) html += u"<p><a href=\"mtp://t%1.fld/\">Term %1</a></p>\n"_s.arg(i);
    const HtmlLinkScan scan = scanHtmlLinks(html);
    ASSERT_EQ(scan.links.size(), count);
    EXPECT_EQ(scan.links.last().href, u"mtp://t%1.fld/"_s.arg(count - 1));
    EXPECT_EQ(scan.links.last().outerText, u"Term %1"_s.arg(count - 1));
}

}  // namespace
