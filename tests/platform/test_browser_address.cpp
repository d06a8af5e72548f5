#include "platform/BrowserAddress.h"
#include "platform/HtmlLinks.h"

#include <QUrl>
#include <gtest/gtest.h>

#include <ostream>

static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

using namespace platform;

TEST(BrowserAddress, CommandsAreRecognisedInAnyCaseAndNeverRewritten) {
    EXPECT_TRUE(isCommandAddress(QStringLiteral("mtp://field=DC.Subject&content=Cats.fld/")));
    EXPECT_TRUE(isCommandAddress(QStringLiteral("MTP://field=DC.Subject&content=Cats.fld/")));
    EXPECT_TRUE(isCommandAddress(QStringLiteral("mtp:field=x.fld/")));
    EXPECT_TRUE(isCommandAddress(QStringLiteral("  mtp://x.kqs/")));
    EXPECT_FALSE(isCommandAddress(QStringLiteral("mtpx://x")));
    EXPECT_FALSE(isCommandAddress(QStringLiteral("http://example.org/mtp://x")));
    EXPECT_FALSE(isCommandAddress(QString()));

    const QString base = QStringLiteral("http://example.org/terms/index.htm");
    for (const QString& command : {QStringLiteral("mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"),
                                  QStringLiteral("mtp://field=DC.Subject&content=Café Ōtautahi.fld/"),
                                  QStringLiteral("MTP://field=DC.Subject&content=Upper.fld/"),
                                  QStringLiteral("mtp:field=DC.Subject&content=NoSlash.fld/"),
                                  QStringLiteral("mtp://field=DC.Subject&content=50%25 and %20.fld/")}) {
        EXPECT_EQ(linkAddress(command, base), command);
    }
    // Only the blanks around an href go, as in every browser.
    EXPECT_EQ(linkAddress(QStringLiteral(" \tmtp://field=DC.Title&content= x .fld/ \n"), base),
              QStringLiteral("mtp://field=DC.Title&content= x .fld/"));
}

TEST(BrowserAddress, RelativeLinksResolveAgainstTheDocumentOthersStayAsWritten) {
    const QString page = QStringLiteral("file:///data/pages/index.htm");
    EXPECT_EQ(linkAddress(QStringLiteral("other page.htm"), page), QStringLiteral("file:///data/pages/other page.htm"));
    EXPECT_EQ(linkAddress(QStringLiteral("../Café.htm"), page), QStringLiteral("file:///data/Café.htm"));
    EXPECT_EQ(linkAddress(QStringLiteral("#part"), page), QStringLiteral("file:///data/pages/index.htm#part"));
    EXPECT_EQ(linkAddress(QStringLiteral("list.kqs"), QStringLiteral("http://example.org/a/b.htm")),
              QStringLiteral("http://example.org/a/list.kqs"));
    EXPECT_EQ(linkAddress(QStringLiteral("HTTP://Example.org/x y.htm"), page), QStringLiteral("HTTP://Example.org/x y.htm"));
    EXPECT_EQ(linkAddress(QStringLiteral("javascript:go('a b')"), page), QStringLiteral("javascript:go('a b')"));
    EXPECT_EQ(linkAddress(QStringLiteral("data:text/html,<b>x</b>"), page), QStringLiteral("data:text/html,<b>x</b>"));
    // Without a usable base a relative href is all there is.
    EXPECT_EQ(linkAddress(QStringLiteral("a.htm"), QString()), QStringLiteral("a.htm"));
    EXPECT_EQ(linkAddress(QStringLiteral("a.htm"), QStringLiteral("mtp://x.fld/")), QStringLiteral("a.htm"));
}

TEST(BrowserAddress, CommandTextIsRecoveredFromTheEngineUrls) {
    // The engine keeps blanks but escapes non-ASCII text; QUrl rejects both forms.
    EXPECT_EQ(addressOfUrl(QUrl::fromEncoded("mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/")),
              QStringLiteral("mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"));
    EXPECT_EQ(addressOfUrl(QUrl::fromEncoded("mtp://field=DC.Subject&content=Caf%C3%A9 %C5%8Ctautahi.fld/")),
              QStringLiteral("mtp://field=DC.Subject&content=Café Ōtautahi.fld/"));
    EXPECT_EQ(addressOfUrl(QUrl::fromEncoded("MTP://field=DC.Subject&content=Upper.fld/")),
              QStringLiteral("MTP://field=DC.Subject&content=Upper.fld/"));
    EXPECT_EQ(addressOfUrl(QUrl::fromEncoded("mtp://field=DC.Subject&content=Caf%C3%A9.fld/more?x=1#end")),
              QStringLiteral("mtp://field=DC.Subject&content=Café.fld/more?x=1#end"));
    EXPECT_EQ(addressOfUrl(QUrl::fromEncoded("mtp:x y.fld/")), QStringLiteral("mtp:x y.fld/"));
    EXPECT_EQ(addressOfUrl(QUrl::fromEncoded("http://127.0.0.1:8080/caf%C3%A9.htm")),
              QStringLiteral("http://127.0.0.1:8080/café.htm"));
    EXPECT_EQ(addressOfUrl(QUrl()), QString());
}

TEST(BrowserAddress, OnlyNonAsciiEscapesAreDecoded) {
    EXPECT_EQ(decodeNonAsciiEscapes(QStringLiteral("a%20b%25c")), QStringLiteral("a%20b%25c"));
    EXPECT_EQ(decodeNonAsciiEscapes(QStringLiteral("Caf%C3%A9%20%C5%8Ctautahi")), QStringLiteral("Café%20Ōtautahi"));
    EXPECT_EQ(decodeNonAsciiEscapes(QStringLiteral("x%c3%a9y")), QStringLiteral("xéy"));
    // Escapes that spell no UTF-8 stay as they were; so do broken ones.
    EXPECT_EQ(decodeNonAsciiEscapes(QStringLiteral("%E9t%E9")), QStringLiteral("%E9t%E9"));
    EXPECT_EQ(decodeNonAsciiEscapes(QStringLiteral("%E2%82")), QStringLiteral("%E2%82"));
    EXPECT_EQ(decodeNonAsciiEscapes(QStringLiteral("100%")), QStringLiteral("100%"));
    EXPECT_EQ(decodeNonAsciiEscapes(QStringLiteral("%C3")), QStringLiteral("%C3"));
    EXPECT_EQ(decodeNonAsciiEscapes(QStringLiteral("%zz%C3%A9")), QStringLiteral("%zzé"));
}

TEST(BrowserAddress, TypedAddressesBecomeUrls) {
    EXPECT_EQ(urlForAddress(QStringLiteral("/data/my pages/a.htm")), QUrl::fromLocalFile(QStringLiteral("/data/my pages/a.htm")));
    EXPECT_EQ(urlForAddress(QStringLiteral("file:///data/a.htm")).toLocalFile(), QStringLiteral("/data/a.htm"));
    EXPECT_EQ(urlForAddress(QStringLiteral("www.example.org")).scheme(), QStringLiteral("http"));
    EXPECT_EQ(urlForAddress(QStringLiteral("https://example.org/x")).toString(), QStringLiteral("https://example.org/x"));
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
    EXPECT_EQ(scan.title, QStringLiteral("Terms & more"));
    EXPECT_EQ(scan.baseHref, QStringLiteral("terms/"));
    EXPECT_EQ(scan.baseTarget, QStringLiteral("content"));
    ASSERT_EQ(scan.links.size(), 8);
    EXPECT_EQ(scan.links[0].href, QStringLiteral("mtp://field=DC.Subject&content=Heart Disease.fld/"));
    EXPECT_EQ(scan.links[0].outerText, QStringLiteral("Heart Disease"));
    EXPECT_EQ(scan.links[1].href, QStringLiteral("mtp://field=DC.Subject&content=Café.fld/"));
    EXPECT_EQ(scan.links[1].outerText, QStringLiteral("Café"));
    EXPECT_EQ(scan.links[1].target, QStringLiteral("_top"));
    EXPECT_EQ(scan.links[2].outerText, QStringLiteral("one two"));
    EXPECT_EQ(scan.links[3].alt, QStringLiteral("First alt"));
    EXPECT_EQ(scan.links[3].outerText, QString());
    EXPECT_EQ(scan.links[4].href, QStringLiteral("area.htm"));
    EXPECT_EQ(scan.links[4].alt, QStringLiteral("Area alt"));
    EXPECT_EQ(scan.links[5].href, QStringLiteral("first"));
    EXPECT_EQ(scan.links[5].outerText, QStringLiteral("a < b éŌ &unknown; x"));
    EXPECT_EQ(scan.links[6].href, QString());
    EXPECT_EQ(scan.links[7].outerText, QStringLiteral("never closed"));
}

TEST(HtmlLinks, FramesAndOddMarkup) {
    const HtmlLinkScan scan = scanHtmlLinks(QStringLiteral(
        "<!DOCTYPE html><frameset cols='20%,*'><frame name=\"index\" src=\"left.htm\">"
        "<frame src='right.htm' name='content'></frameset>"
        "<iframe src=\"inner.htm\" name=inner><a href=\"fallback.htm\">x</a></iframe>"
        "<p>1 < 2 and <a href=\"after.htm\" title='a > b'>after</a></p><a href='unterminated"));
    ASSERT_EQ(scan.frames.size(), 3);
    EXPECT_EQ(scan.frames[0].src, QStringLiteral("left.htm"));
    EXPECT_EQ(scan.frames[0].name, QStringLiteral("index"));
    EXPECT_EQ(scan.frames[1].name, QStringLiteral("content"));
    EXPECT_EQ(scan.frames[2].src, QStringLiteral("inner.htm"));
    ASSERT_EQ(scan.links.size(), 2);
    EXPECT_EQ(scan.links[0].href, QStringLiteral("after.htm"));
    EXPECT_EQ(scan.links[0].outerText, QStringLiteral("after"));
    EXPECT_EQ(scan.links[1].href, QStringLiteral("unterminated"));
}

TEST(HtmlLinks, LargePageIsReadInOnePass) {
    QString html;
    const int count = 100000;
    html.reserve(count * 48);
    for (int i = 0; i < count; ++i) html += QStringLiteral("<p><a href=\"mtp://t%1.fld/\">Term %1</a></p>\n").arg(i);
    const HtmlLinkScan scan = scanHtmlLinks(html);
    ASSERT_EQ(scan.links.size(), count);
    EXPECT_EQ(scan.links.last().href, QStringLiteral("mtp://t%1.fld/").arg(count - 1));
    EXPECT_EQ(scan.links.last().outerText, QStringLiteral("Term %1").arg(count - 1));
}

}  // namespace
