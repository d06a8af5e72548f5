#include "record/MetaReader.h"
#include "record/MetaWriter.h"
#include "support/Common.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace MetaWriter;

namespace {

MetadataLine line(const QString& name, const QString& content, const QString& lang = {}, const QString& scheme = {},
                  bool httpEquiv = false) {
    return {name, content, lang, scheme, httpEquiv};
}

const QString kLinks = u"<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s;
// A one-line record and the block it writes.
const MetadataRecord kB = {line(u"B"_s, u"b"_s)};
const QString kBlockB = u"<META NAME=\"B\" CONTENT=\"b\">\r\n"_s;

QString rewritten(const QString& page, const MetadataRecord& record = kB) {
    return rewritePage(page, record, QString(), QString()).text;
}

}  // namespace

TEST(MetaBlock, WritesEveryNamedLineInOrderAndQuotesNeverBreakTheElement) {
    const MetadataRecord record = {line(u"DC.Title"_s, u"Cats &amp; dogs"_s, u"en"_s), line({}, kLinks),
                                   line(u"DC.Date"_s, u"2004"_s, u"en"_s, u"ISO8601"_s),
                                   line(u"Content-Type"_s, u"text/html"_s, {}, {}, true),
                                   line(u"a\"b"_s, u"<b>\"bold\"</b> & co"_s, u"e\"n"_s, u"s\"t"_s)};
    EXPECT_EQ(MakeMetaIntoSource(record),
              QStringLiteral("<META NAME=\"DC.Title\" LANG=\"en\" CONTENT=\"Cats &amp; dogs\">\r\n"
                             "<META NAME=\"DC.Date\" LANG=\"en\" SCHEME=\"ISO8601\" CONTENT=\"2004\">\r\n"
                             "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html\">\r\n"
                             "<META NAME=\"a&quot;b\" LANG=\"e&quot;n\" SCHEME=\"s&quot;t\" "
                             "CONTENT=\"&lt;b&gt;&quot;bold&quot;&lt;/b&gt; & co\">\r\n"));
}

TEST(PageRewrite, TheHeadsMetaElementsAreReplacedAndEverythingElseStays) {
    const QString head1 = u"<!DOCTYPE html>\r\n<html>\r\n<HEAD>\r\n<title>T\u00E9 &amp; \"q\"</title>\r\n"_s;
    const QString meta = u"<meta name=\"DC.Title\" content=\"old\">\r\n  <META NAME=\"C\" CONTENT=\"me\">\r\n"_s;
    const QString head2 = u"<script>var a = \"<b>\" && 1;</script>\r\n"_s;
    const QString tail = u"</head>\r\n<body>\u4E2D\u6587 \U0001F600 & \"x\"\r\n<meta name=\"in.body\">\r\n</body>"_s;
    const QString nameless = u"<meta charset=\"utf-8\">\n<metadata name=\"x\">m</metadata>\n"
                             "<meta name='single' content='q'>\n<meta itemprop=\"name\" content=\"v\">\n"_s;
    const QString script = u"<head>\n<script>document.write(\"<body>\");</script>\n"_s;
    const std::pair<QString, QString> cases[] = {
        {head1 + meta + head2 + tail, head1 + head2 + kBlockB + tail},
        // elements sharing a line go with one blank or line end
        {u"<head>\n<title>x</title> <meta name=\"a\"> <b>\n<meta name=\"b\"><meta name=\"c\">\r\n</head>"_s,
         u"<head>\n<title>x</title> <b>\n"_s + kBlockB + u"</head>"_s},
        {u"<head>\n"_s + nameless + u"<meta name=\"DC.Title\" content=\"gone\">\n</head>"_s,
         u"<head>\n"_s + nameless + kBlockB + u"</head>"_s},
        {u"<head\nlang=\"en\"><meta name=\"a\"></head>"_s, u"<head\nlang=\"en\">"_s + kBlockB + u"</head>"_s},
        // a head without its end tag ends at the body, but not at a "<body>" in a script
        {u"<html><head>\n<meta name=\"a\">\n<body>\n<meta name=\"b\">"_s,
         u"<html><head>\n"_s + kBlockB + u"<body>\n<meta name=\"b\">"_s},
        {script + u"<meta name=\"a\">\n</head><body>"_s, script + kBlockB + u"</head><body>"_s},
        // an unclosed meta element is replaced whole
        {u"<head>\n<meta name=\"a\" content=\"1\"\n</head><body>"_s, u"<head>\n"_s + kBlockB + u"</head><body>"_s},
        // no head: one is put after <html>, the doctype, or at the top
        {u"<html lang=\"en\">\r\n<body>"_s, u"<html lang=\"en\">\r\n<head>\r\n"_s + kBlockB + u"</head>\r\n<body>"_s},
        {u"<p>Just a fragment</p>"_s, u"<head>\r\n"_s + kBlockB + u"</head>\r\n<p>Just a fragment</p>"_s},
        {u"<!doctype html>\n<title>t</title>\n<meta name=\"a\">\n<body>x"_s,
         u"<!doctype html>\r\n<head>\r\n"_s + kBlockB + u"</head>\n<title>t</title>\n<body>x"_s},
    };
    for (const auto& [page, expected] : cases) EXPECT_EQ(rewritten(page), expected) << page;
}

TEST(PageRewrite, BlankPagesAskForTheMinimalPageAndEveryWriteEndsWithOneLineEnd) {
    for (const QString& page : {QString(), u" \r\n\t"_s, u"\uFEFF\n"_s})
        EXPECT_TRUE(rewritePage(page, kB, kLinks, u"Y"_s).blankPage);
    EXPECT_FALSE(rewritePage(u"x"_s, kB, kLinks, u"Y"_s).blankPage);
    EXPECT_EQ(pageFileText(u"x"_s), u"x\r\n"_s);
    EXPECT_EQ(pageFileText(u"x\n"_s), u"x\n"_s);
    EXPECT_EQ(minimalPage(kBlockB), u"<html>\r\n<head>\r\n<title>Untitled Document</title>\r\n"_s + kBlockB +
                                        u"</head>\r\n<body>\r\n</body>\r\n</html>\r\n"_s);
}

TEST(PageRewrite, SchemaLinkLinesOnlyWhenAskedAndNotThere) {
    const QString page = u"<head>\r\n</head>"_s, linked = u"<head>\r\n"_s + kLinks + u"\r\n"_s;
    EXPECT_EQ(rewritePage(page, kB, kLinks, u"Y"_s).text, linked + kBlockB + u"</head>"_s);
    for (const QString& use : {u"y"_s, u"N"_s, QString()})
        EXPECT_EQ(rewritePage(page, kB, kLinks, use).text, rewritten(page));
    EXPECT_EQ(rewritePage(linked.toUpper() + u"</head>"_s, kB, kLinks, u"Y"_s).text,  // already there, in any case
              linked.toUpper() + kBlockB + u"</head>"_s);
}

TEST(PageRewrite, TheEncodingDeclarationKeepsItsPlaceWhileTheRecordHoldsIt) {
    const QString type = u"<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\r\n"_s;
    const QString rest = u"<style>p{}</style>\r\n<META NAME=\"a\" CONTENT=\"1\">\r\n</head>"_s;
    const QString page = u"<head>\r\n"_s + type + u"<meta name=\"a\" content=\"1\">\r\n<style>p{}</style>\r\n</head>"_s;
    MetadataRecord record = MetaReader::LoadMetadataLines(page, false);
    ASSERT_EQ(record.size(), 2);
    EXPECT_EQ(rewritten(page, record), u"<head>\r\n"_s + type + rest);
    record[0].content = u"text/html; charset=iso-8859-1"_s;
    EXPECT_EQ(rewritten(page, record),
              u"<head>\r\n<META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html; charset=iso-8859-1\">\r\n"_s + rest);
    record.removeFirst();
    EXPECT_EQ(rewritten(page, record), u"<head>\r\n"_s + rest);
}

TEST(CommandBatch, OneFieldCommandPerLineThenGotop) {
    const MetadataRecord record = {line(u"DC.Title"_s, u"Cats & dogs"_s, u"en"_s), line({}, u"<link>"_s),
                                   line(u"DC.Date"_s, u"2004"_s, u"en"_s, u"ISO8601"_s),
                                   line(u"D"_s, u"one\r\ntwo\nthree"_s)};  // a line break never starts a command
    const QString commands = QStringLiteral(
        "mtp://field=DC.Title&content=Cats & dogs&lang=en.fld/\r\nmtp://field=&content=<link>.fld/\r\n"
        "mtp://field=DC.Date&content=2004&lang=en&scheme=ISO8601.fld/\r\n"
        "mtp://field=D&content=one  two three.fld/\r\n");
    EXPECT_EQ(buildFieldCommands(record), commands);
    EXPECT_EQ(batchFileText(record), commands + u"mtp://gotop.fld\r\n\r\n"_s);
}
