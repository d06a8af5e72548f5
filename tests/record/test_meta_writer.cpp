#include "record/MetaReader.h"
#include "record/MetaWriter.h"

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

// Only the meta lines of a record (link rows aside).
MetadataRecord namedLines(const MetadataRecord& record) {
    MetadataRecord out;
    for (const auto& l : record)
        if (!l.name.isEmpty()) out.append(l);
    return out;
}

}  // namespace

TEST(MetaBlock, WritesEveryNamedLineInOrder) {
    const MetadataRecord record = {
        line(u"DC.Title"_s, u"Cats &amp; dogs"_s, u"en"_s),
        line({}, kLinks),
        line(u"DC.Subject"_s, u"Pets"_s, {}, u"LCSH"_s),
        line(u"DC.Date"_s, u"2004"_s, u"en"_s, u"ISO8601"_s),
        line(u"Content-Type"_s, u"text/html"_s, {}, {}, true),
        line({}, u"content without a name"_s),
    };
    EXPECT_EQ(MakeMetaIntoSource(record),
              QStringLiteral("<META NAME=\"DC.Title\" LANG=\"en\" CONTENT=\"Cats &amp; dogs\">\r\n"
                             "<META NAME=\"DC.Subject\" SCHEME=\"LCSH\" CONTENT=\"Pets\">\r\n"
                             "<META NAME=\"DC.Date\" LANG=\"en\" SCHEME=\"ISO8601\" CONTENT=\"2004\">\r\n"
                             "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html\">\r\n"));
    EXPECT_EQ(MakeMetaIntoSource({}), QString());
    EXPECT_EQ(MakeMetaIntoSource({line({}, u"x"_s)}), QString());
}

TEST(MetaBlock, AnglesAndQuotesNeverBreakTheElement) {
    const MetadataRecord record = {line(u"a\"b"_s, u"<b>\"bold\"</b> & co"_s, u"e\"n"_s, u"s\"t"_s)};
    const QString block = MakeMetaIntoSource(record);
    EXPECT_EQ(block, QStringLiteral("<META NAME=\"a&quot;b\" LANG=\"e&quot;n\" SCHEME=\"s&quot;t\" "
                                    "CONTENT=\"&lt;b&gt;&quot;bold&quot;&lt;/b&gt; & co\">\r\n"));
    const MetadataRecord back = MetaReader::LoadMetadataLines(block, false);
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0].name, u"a&quot;b"_s);
    EXPECT_EQ(back[0].scheme, u"s&quot;t"_s);
}

TEST(PageRewrite, ReplacesTheHeadsMetaElementsAndKeepsEverythingElse) {
    const QString head1 = u"<!DOCTYPE html>\r\n<html>\r\n<HEAD>\r\n<title>T\u00E9 &amp; \"q\"</title>\r\n"_s;
    const QString meta = QStringLiteral(
        "<meta name=\"DC.Title\" content=\"old\">\r\n"
        "  <META NAME=\"DC.Creator\" CONTENT=\"me\">\r\n");
    const QString head2 = u"<script>var a = \"<b>\" && 1;</script>\r\n"_s;
    const QString tail = QStringLiteral(
        "</head>\r\n<body>\u4E2D\u6587 \U0001F600 & \"x\"\r\n"
        "<meta name=\"in.body\" content=\"stays\">\r\n</body>\r\n</html>");
    const PageRewrite done = rewritePage(head1 + meta + head2 + tail, kB, QString(), u"Y"_s);
    EXPECT_FALSE(done.blankPage);
    EXPECT_FALSE(done.headInserted);
    EXPECT_EQ(done.text, head1 + head2 + kBlockB + tail);
    EXPECT_EQ(pageFileText(done.text), done.text + u"\r\n"_s);
    // A page that already ends with a line end keeps its size however often it is saved.
    EXPECT_EQ(pageFileText(pageFileText(done.text)), done.text + u"\r\n"_s);
    EXPECT_EQ(pageFileText(u"x\n"_s), u"x\n"_s);
}

TEST(PageRewrite, ElementsSharingALineGoWithOneBlankOrLineEnd) {
    const QString page = QStringLiteral(
        "<head>\n<title>x</title> <meta name=\"a\" content=\"1\"> <b>\n"
        "<meta name=\"b\"><meta name=\"c\">\r\n</head>");
    const PageRewrite done = rewritePage(page, {}, QString(), QString());
    EXPECT_EQ(done.text, u"<head>\n<title>x</title> <b>\n</head>"_s);
}

TEST(PageRewrite, MetaElementsWithoutNameAndLookalikesStay) {
    const QString head = QStringLiteral(
        "<head>\n<meta charset=\"utf-8\">\n<metadata name=\"x\">m</metadata>\n"
        "<meta name='single' content='q'>\n<meta itemprop=\"name\" content=\"v\">\n");
    const QString page = head + u"<meta name=\"DC.Title\" content=\"gone\">\n</head>"_s;
    const PageRewrite done = rewritePage(page, kB, QString(), QString());
    EXPECT_EQ(done.text, head + kBlockB + u"</head>"_s);
}

TEST(PageRewrite, HeadStartTagsWithAttributesAreHeads) {
    for (const char* open :
         {"<head lang=\"en\">", "<HEAD profile=\"http://dublincore.org/documents/dcq-html/\">", "<head\n>"}) {
        SCOPED_TRACE(open);
        const QString page =
            u"<html>"_s + QLatin1String(open) + u"<meta name=\"a\" content=\"1\"></head><body></body></html>"_s;
        const PageRewrite done = rewritePage(page, kB, QString(), QString());
        EXPECT_FALSE(done.headInserted);
        EXPECT_EQ(done.text, u"<html>"_s + QLatin1String(open) + kBlockB + u"</head><body></body></html>"_s);
    }
}

TEST(PageRewrite, PagesWithoutAHeadGetOneWithoutBeingReplaced) {
    const MetadataRecord& block = kB;
    PageRewrite done =
        rewritePage(u"<html lang=\"en\">\r\n<body><header>h</header></body></html>"_s, block, kLinks, u"Y"_s);
    EXPECT_TRUE(done.headInserted);
    EXPECT_FALSE(done.blankPage);
    EXPECT_EQ(done.text, u"<html lang=\"en\">\r\n<head>\r\n"_s + kLinks +
                             u"\r\n"_s + kBlockB + u"</head>\r\n<body><header>h</header></body></html>"_s);

    done = rewritePage(u"<p>Just a fragment</p>"_s, block, QString(), QString());
    EXPECT_TRUE(done.headInserted);
    EXPECT_EQ(done.text, u"<head>\r\n"_s + kBlockB + u"</head>\r\n<p>Just a fragment</p>"_s);

    done = rewritePage(u"<!doctype html>\n<title>t</title>\n<meta name=\"a\" content=\"1\">\n<body>x"_s, block,
                       QString(), QString());
    EXPECT_EQ(done.text, u"<!doctype html>\r\n<head>\r\n"_s + kBlockB + u"</head>\n<title>t</title>\n<body>x"_s);
}

TEST(PageRewrite, HeadWithoutEndTagEndsAtTheBody) {
    const PageRewrite done =
        rewritePage(u"<html><head>\n<meta name=\"a\" content=\"1\">\n<body>\n<meta name=\"b\" content=\"2\">"_s,
                    kB, QString(), QString());
    EXPECT_FALSE(done.headInserted);
    EXPECT_EQ(done.text, u"<html><head>\n"_s + kBlockB + u"<body>\n<meta name=\"b\" content=\"2\">"_s);
}

TEST(PageRewrite, ABodyTagInAHeadScriptDoesNotEndTheHead) {
    const QString head = u"<head>\n<script>document.write(\"<body>\");</script>\n"_s;
    const PageRewrite done =
        rewritePage(head + u"<meta name=\"a\" content=\"1\">\n</head><body>"_s, kB, QString(), QString());
    EXPECT_EQ(done.text, head + kBlockB + u"</head><body>"_s);
}

TEST(PageRewrite, UnclosedMetaElementInTheHeadIsReplacedWhole) {
    const QString page = u"<head>\n<meta name=\"a\" content=\"1\"\n</head><body></body>"_s;
    const MetadataRecord record = MetaReader::LoadMetadataLines(page, false);
    ASSERT_EQ(record.size(), 1);
    EXPECT_EQ(record[0].name, u"a"_s);
    const PageRewrite done = rewritePage(page, record, QString(), QString());
    EXPECT_EQ(done.text, u"<head>\n<META NAME=\"a\" CONTENT=\"1\">\r\n</head><body></body>"_s);
}

TEST(PageRewrite, BlankPagesAskForTheMinimalPage) {
    for (const QString& page : {QString(), u" \r\n\t"_s, QStringView(u"\uFEFF\n").toString()}) {
        const PageRewrite done = rewritePage(page, kB, kLinks, u"Y"_s);
        EXPECT_TRUE(done.blankPage);
        EXPECT_TRUE(done.text.isEmpty());
    }
    EXPECT_EQ(minimalPage(u"<META NAME=\"a\" CONTENT=\"b\">\r\n"_s),
              QStringLiteral("<html>\r\n<head>\r\n<title>Untitled Document</title>\r\n"
                             "<META NAME=\"a\" CONTENT=\"b\">\r\n</head>\r\n<body>\r\n</body>\r\n</html>\r\n"));
}

TEST(PageRewrite, SchemaLinkLinesOnlyWhenAskedAndNotThere) {
    const QString page = u"<head>\r\n<title>t</title>\r\n</head>"_s;
    const QString bare = u"<head>\r\n<title>t</title>\r\n"_s + kBlockB + u"</head>"_s;
    EXPECT_EQ(rewritePage(page, kB, kLinks, u"Y"_s).text,
              u"<head>\r\n<title>t</title>\r\n"_s + kLinks + u"\r\n"_s + kBlockB + u"</head>"_s);
    for (const char* use : {"y", "N", ""}) EXPECT_EQ(rewritePage(page, kB, kLinks, QLatin1String(use)).text, bare) << use;
    EXPECT_EQ(rewritePage(page, kB, QString(), u"Y"_s).text, bare);
    const QString withLinks = u"<head>\r\n"_s + kLinks.toUpper() + u"\r\n</head>"_s;
    EXPECT_EQ(rewritePage(withLinks, kB, kLinks, u"Y"_s).text,
              u"<head>\r\n"_s + kLinks.toUpper() + u"\r\n"_s + kBlockB + u"</head>"_s);
}

TEST(PageRewrite, TheEncodingDeclarationKeepsItsPlaceWhileTheRecordHoldsIt) {
    const QString top = u"<head>\r\n<title>t</title>\r\n"_s;
    const QString page = top + u"<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\r\n"
                               "<meta name=\"a\" content=\"1\">\r\n<style>p{}</style>\r\n</head>"_s;
    MetadataRecord record = MetaReader::LoadMetadataLines(page, false);
    ASSERT_EQ(record.size(), 2);
    EXPECT_EQ(rewritePage(page, record, QString(), QString()).text,
              top + u"<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\r\n"
                    "<style>p{}</style>\r\n<META NAME=\"a\" CONTENT=\"1\">\r\n</head>"_s);
    record[0].content = u"text/html; charset=iso-8859-1"_s;
    EXPECT_EQ(rewritePage(page, record, QString(), QString()).text,
              top + u"<META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html; charset=iso-8859-1\">\r\n"
                    "<style>p{}</style>\r\n<META NAME=\"a\" CONTENT=\"1\">\r\n</head>"_s);
    record.removeFirst();
    EXPECT_EQ(rewritePage(page, record, QString(), QString()).text,
              top + u"<style>p{}</style>\r\n<META NAME=\"a\" CONTENT=\"1\">\r\n</head>"_s);
}

TEST(PageRewrite, ReadWriteReadKeepsTheRecordAndTheBytes) {
    const QString pages[] = {
        QStringLiteral("<html>\r\n<head>\r\n<title>Caf\u00E9 \"Le Chat\" & Co</title>\r\n"
                       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
                       "    <meta name=\"DC.Title\" lang=\"fr\" content=\"Caf&eacute; &amp; Chat\">\r\n"
                       "<meta charset=\"utf-8\">\r\n"
                       "<META NAME=\"DC.Subject\" SCHEME=\"LCSH\" CONTENT=\"Cats -- \u732B\">\r\n"
                       "<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">\r\n"
                       "</head>\r\n<body>\u00A9 2004 &lt;&gt; \"'</body>\r\n</html>"),
        u"<html><head><meta name=\"a\" content=\"1\"><meta name=\"b\" content=\"2\"></head></html>"_s,
        u"<p>no head <b>at all</b>\n<meta name=\"x\" content=\"y\">"_s,
        u"<html>\n<head>\n<title>plain</title>\n</head>\n<body>\n</body>\n</html>\n"_s,
    };
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        const MetadataRecord record = MetaReader::readPageRecord(page, false);
        const PageRewrite first = rewritePage(page, record, kLinks, u"Y"_s);
        ASSERT_FALSE(first.blankPage);
        const MetadataRecord again = MetaReader::readPageRecord(first.text, false);
        EXPECT_EQ(namedLines(again), namedLines(record));
        // A second save of the saved page changes nothing.
        const PageRewrite second = rewritePage(first.text, again, kLinks, u"Y"_s);
        EXPECT_EQ(second.text, first.text);
        EXPECT_FALSE(second.headInserted);
    }
}

TEST(PageRewrite, ManyOldElementsAreTakenOutInOnePass) {
    QString page = u"<html><head>\n"_s;
    QString kept = page;
    for (int i = 0; i < 3000; ++i) {
        page += u"<meta name=\"n%1\" content=\"v\">\n<!-- %1 -->\n"_s.arg(i);
        kept += u"<!-- %1 -->\n"_s.arg(i);
    }
    page += u"</head><body></body></html>"_s;
    kept += kBlockB + u"</head><body></body></html>"_s;
    EXPECT_EQ(rewritePage(page, kB, QString(), QString()).text, kept);
}

TEST(CommandBatch, OneFieldCommandPerLineThenGotop) {
    const MetadataRecord record = {
        line(u"DC.Title"_s, u"Cats & dogs"_s, u"en"_s),
        line(u"DC.Subject"_s, u"Pets"_s, {}, u"LCSH"_s),
        line({}, kLinks),
        line(u"DC.Date"_s, u"2004"_s, u"en"_s, u"ISO8601"_s),
    };
    const QString commands = QStringLiteral(
                                 "mtp://field=DC.Title&content=Cats & dogs&lang=en.fld/\r\n"
                                 "mtp://field=DC.Subject&content=Pets&scheme=LCSH.fld/\r\n"
                                 "mtp://field=&content=") +
                             kLinks +
                             QStringLiteral(
                                 ".fld/\r\n"
                                 "mtp://field=DC.Date&content=2004&lang=en&scheme=ISO8601.fld/\r\n");
    EXPECT_EQ(buildFieldCommands(record), commands);
    EXPECT_EQ(batchFileText(record), commands + u"mtp://gotop.fld\r\n\r\n"_s);
    EXPECT_EQ(buildFieldCommands({}), QString());
    EXPECT_EQ(batchFileText({}), u"mtp://gotop.fld\r\n\r\n"_s);
    // A line break inside a value never becomes a command line of its own.
    EXPECT_EQ(buildFieldCommands({line(u"DC.Description"_s, u"one\r\ntwo\nthree"_s)}),
              u"mtp://field=DC.Description&content=one  two three.fld/\r\n"_s);
}
