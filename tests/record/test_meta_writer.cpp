#include "record/MetaReader.h"
#include "record/MetaWriter.h"

#include <gtest/gtest.h>

using namespace MetaWriter;

namespace {

MetadataLine line(const QString& name, const QString& content, const QString& lang = {},
                  const QString& scheme = {}, bool httpEquiv = false) {
    MetadataLine l;
    l.name = name;
    l.content = content;
    l.lang = lang;
    l.scheme = scheme;
    l.httpEquiv = httpEquiv;
    return l;
}

const QString kLinks = QStringLiteral("<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">");

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
        line(QStringLiteral("DC.Title"), QStringLiteral("Cats &amp; dogs"), QStringLiteral("en")),
        line({}, kLinks),
        line(QStringLiteral("DC.Subject"), QStringLiteral("Pets"), {}, QStringLiteral("LCSH")),
        line(QStringLiteral("DC.Date"), QStringLiteral("2004"), QStringLiteral("en"), QStringLiteral("ISO8601")),
        line(QStringLiteral("Content-Type"), QStringLiteral("text/html"), {}, {}, true),
        line({}, QStringLiteral("content without a name")),
    };
    EXPECT_EQ(MakeMetaIntoSource(record),
              QStringLiteral("<META NAME=\"DC.Title\" LANG=\"en\" CONTENT=\"Cats &amp; dogs\">\r\n"
                             "<META NAME=\"DC.Subject\" SCHEME=\"LCSH\" CONTENT=\"Pets\">\r\n"
                             "<META NAME=\"DC.Date\" LANG=\"en\" SCHEME=\"ISO8601\" CONTENT=\"2004\">\r\n"
                             "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html\">\r\n"));
    EXPECT_EQ(MakeMetaIntoSource({}), QString());
    EXPECT_EQ(MakeMetaIntoSource({line({}, QStringLiteral("x"))}), QString());
}

TEST(MetaBlock, AnglesAndQuotesNeverBreakTheElement) {
    const MetadataRecord record = {line(QStringLiteral("a\"b"), QStringLiteral("<b>\"bold\"</b> & co"),
                                        QStringLiteral("e\"n"), QStringLiteral("s\"t"))};
    const QString block = MakeMetaIntoSource(record);
    EXPECT_EQ(block, QStringLiteral("<META NAME=\"a&quot;b\" LANG=\"e&quot;n\" SCHEME=\"s&quot;t\" "
                                    "CONTENT=\"&lt;b&gt;&quot;bold&quot;&lt;/b&gt; & co\">\r\n"));
    const MetadataRecord back = MetaReader::LoadMetadataLines(block, false);
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0].name, QStringLiteral("a&quot;b"));
    EXPECT_EQ(back[0].scheme, QStringLiteral("s&quot;t"));
}

TEST(PageRewrite, ReplacesTheHeadsMetaElementsAndKeepsEverythingElse) {
    const QString head1 = QStringLiteral("<!DOCTYPE html>\r\n<html>\r\n<HEAD>\r\n<title>T\u00E9 &amp; \"q\"</title>\r\n");
    const QString meta = QStringLiteral("<meta name=\"DC.Title\" content=\"old\">\r\n"
                                        "  <META NAME=\"DC.Creator\" CONTENT=\"me\">\r\n");
    const QString head2 = QStringLiteral("<script>var a = \"<b>\" && 1;</script>\r\n");
    const QString tail = QStringLiteral("</head>\r\n<body>\u4E2D\u6587 \U0001F600 & \"x\"\r\n"
                                        "<meta name=\"in.body\" content=\"stays\">\r\n</body>\r\n</html>");
    const QString block = QStringLiteral("<META NAME=\"DC.Title\" CONTENT=\"new\">\r\n");
    const PageRewrite done = rewritePage(head1 + meta + head2 + tail, block, QString(), QStringLiteral("Y"));
    EXPECT_FALSE(done.blankPage);
    EXPECT_FALSE(done.headInserted);
    EXPECT_EQ(done.text, head1 + head2 + block + tail);
    EXPECT_EQ(pageFileText(done.text), done.text + QStringLiteral("\r\n"));
    // A page that already ends with a line end keeps its size however often it is saved.
    EXPECT_EQ(pageFileText(pageFileText(done.text)), done.text + QStringLiteral("\r\n"));
    EXPECT_EQ(pageFileText(QStringLiteral("x\n")), QStringLiteral("x\n"));
}

TEST(PageRewrite, ElementsSharingALineGoWithOneBlankOrLineEnd) {
    const QString page = QStringLiteral("<head>\n<title>x</title> <meta name=\"a\" content=\"1\"> <b>\n"
                                        "<meta name=\"b\"><meta name=\"c\">\r\n</head>");
    const PageRewrite done = rewritePage(page, QString(), QString(), QString());
    EXPECT_EQ(done.text, QStringLiteral("<head>\n<title>x</title> <b>\n</head>"));
}

TEST(PageRewrite, MetaElementsWithoutNameAndLookalikesStay) {
    const QString head = QStringLiteral("<head>\n<meta charset=\"utf-8\">\n<metadata name=\"x\">m</metadata>\n"
                                        "<meta name='single' content='q'>\n<meta itemprop=\"name\" content=\"v\">\n");
    const QString page = head + QStringLiteral("<meta name=\"DC.Title\" content=\"gone\">\n</head>");
    const PageRewrite done = rewritePage(page, QStringLiteral("B\r\n"), QString(), QString());
    EXPECT_EQ(done.text, head + QStringLiteral("B\r\n</head>"));
}

TEST(PageRewrite, HeadStartTagsWithAttributesAreHeads) {
    for (const char* open : {"<head lang=\"en\">", "<HEAD profile=\"http://dublincore.org/documents/dcq-html/\">",
                             "<head\n>"}) {
        SCOPED_TRACE(open);
        const QString page = QStringLiteral("<html>") + QLatin1String(open) +
                             QStringLiteral("<meta name=\"a\" content=\"1\"></head><body></body></html>");
        const PageRewrite done = rewritePage(page, QStringLiteral("B\r\n"), QString(), QString());
        EXPECT_FALSE(done.headInserted);
        EXPECT_EQ(done.text, QStringLiteral("<html>") + QLatin1String(open) +
                                 QStringLiteral("B\r\n</head><body></body></html>"));
    }
}

TEST(PageRewrite, PagesWithoutAHeadGetOneWithoutBeingReplaced) {
    const QString block = QStringLiteral("B\r\n");
    PageRewrite done = rewritePage(QStringLiteral("<html lang=\"en\">\r\n<body><header>h</header></body></html>"),
                                   block, kLinks, QStringLiteral("Y"));
    EXPECT_TRUE(done.headInserted);
    EXPECT_FALSE(done.blankPage);
    EXPECT_EQ(done.text, QStringLiteral("<html lang=\"en\">\r\n<head>\r\n") + kLinks +
                             QStringLiteral("\r\nB\r\n</head>\r\n<body><header>h</header></body></html>"));

    done = rewritePage(QStringLiteral("<p>Just a fragment</p>"), block, QString(), QString());
    EXPECT_TRUE(done.headInserted);
    EXPECT_EQ(done.text, QStringLiteral("<head>\r\nB\r\n</head>\r\n<p>Just a fragment</p>"));

    done = rewritePage(QStringLiteral("<!doctype html>\n<title>t</title>\n<meta name=\"a\" content=\"1\">\n<body>x"),
                       block, QString(), QString());
    EXPECT_EQ(done.text, QStringLiteral("<!doctype html>\r\n<head>\r\nB\r\n</head>\n<title>t</title>\n<body>x"));
}

TEST(PageRewrite, HeadWithoutEndTagEndsAtTheBody) {
    const PageRewrite done = rewritePage(
        QStringLiteral("<html><head>\n<meta name=\"a\" content=\"1\">\n<body>\n<meta name=\"b\" content=\"2\">"),
        QStringLiteral("B\r\n"), QString(), QString());
    EXPECT_FALSE(done.headInserted);
    EXPECT_EQ(done.text, QStringLiteral("<html><head>\nB\r\n<body>\n<meta name=\"b\" content=\"2\">"));
}

TEST(PageRewrite, ABodyTagInAHeadScriptDoesNotEndTheHead) {
    const QString head = QStringLiteral("<head>\n<script>document.write(\"<body>\");</script>\n");
    const PageRewrite done = rewritePage(head + QStringLiteral("<meta name=\"a\" content=\"1\">\n</head><body>"),
                                         QStringLiteral("B\r\n"), QString(), QString());
    EXPECT_EQ(done.text, head + QStringLiteral("B\r\n</head><body>"));
}

TEST(PageRewrite, UnclosedMetaElementInTheHeadIsReplacedWhole) {
    const QString page = QStringLiteral("<head>\n<meta name=\"a\" content=\"1\"\n</head><body></body>");
    const MetadataRecord record = MetaReader::LoadMetadataLines(page, false);
    ASSERT_EQ(record.size(), 1);
    EXPECT_EQ(record[0].name, QStringLiteral("a"));
    const PageRewrite done = rewritePage(page, MakeMetaIntoSource(record), QString(), QString());
    EXPECT_EQ(done.text, QStringLiteral("<head>\n<META NAME=\"a\" CONTENT=\"1\">\r\n</head><body></body>"));
}

TEST(PageRewrite, BlankPagesAskForTheMinimalPage) {
    for (const QString& page : {QString(), QStringLiteral(" \r\n\t"), QStringView(u"\uFEFF\n").toString()}) {
        const PageRewrite done = rewritePage(page, QStringLiteral("B\r\n"), kLinks, QStringLiteral("Y"));
        EXPECT_TRUE(done.blankPage);
        EXPECT_TRUE(done.text.isEmpty());
    }
    EXPECT_EQ(minimalPage(QStringLiteral("<META NAME=\"a\" CONTENT=\"b\">\r\n")),
              QStringLiteral("<html>\r\n<head>\r\n<title>Untitled Document</title>\r\n"
                             "<META NAME=\"a\" CONTENT=\"b\">\r\n</head>\r\n<body>\r\n</body>\r\n</html>\r\n"));
}

TEST(PageRewrite, SchemaLinkLinesOnlyWhenAskedAndNotThere) {
    const QString page = QStringLiteral("<head>\r\n<title>t</title>\r\n</head>");
    const QString block = QStringLiteral("B\r\n");
    EXPECT_EQ(rewritePage(page, block, kLinks, QStringLiteral("Y")).text,
              QStringLiteral("<head>\r\n<title>t</title>\r\n") + kLinks + QStringLiteral("\r\nB\r\n</head>"));
    for (const char* use : {"y", "N", ""})
        EXPECT_EQ(rewritePage(page, block, kLinks, QLatin1String(use)).text,
                  QStringLiteral("<head>\r\n<title>t</title>\r\nB\r\n</head>"))
            << use;
    EXPECT_EQ(rewritePage(page, block, QString(), QStringLiteral("Y")).text,
              QStringLiteral("<head>\r\n<title>t</title>\r\nB\r\n</head>"));
    const QString withLinks = QStringLiteral("<head>\r\n") + kLinks.toUpper() + QStringLiteral("\r\n</head>");
    EXPECT_EQ(rewritePage(withLinks, block, kLinks, QStringLiteral("Y")).text,
              QStringLiteral("<head>\r\n") + kLinks.toUpper() + QStringLiteral("\r\nB\r\n</head>"));
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
        QStringLiteral("<html><head><meta name=\"a\" content=\"1\"><meta name=\"b\" content=\"2\"></head></html>"),
        QStringLiteral("<p>no head <b>at all</b>\n<meta name=\"x\" content=\"y\">"),
        QStringLiteral("<html>\n<head>\n<title>plain</title>\n</head>\n<body>\n</body>\n</html>\n"),
    };
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        const MetadataRecord record = MetaReader::readPageRecord(page, false);
        const QString block = MakeMetaIntoSource(record);
        const PageRewrite first = rewritePage(page, block, kLinks, QStringLiteral("Y"));
        ASSERT_FALSE(first.blankPage);
        const MetadataRecord again = MetaReader::readPageRecord(first.text, false);
        EXPECT_EQ(namedLines(again), namedLines(record));
        // A second save of the saved page changes nothing.
        const PageRewrite second = rewritePage(first.text, MakeMetaIntoSource(again), kLinks, QStringLiteral("Y"));
        EXPECT_EQ(second.text, first.text);
        EXPECT_FALSE(second.headInserted);
    }
}

TEST(PageRewrite, ManyOldElementsAreTakenOutInOnePass) {
    QString page = QStringLiteral("<html><head>\n");
    QString kept = page;
    for (int i = 0; i < 3000; ++i) {
        page += QStringLiteral("<meta name=\"n%1\" content=\"v\">\n<!-- %1 -->\n").arg(i);
        kept += QStringLiteral("<!-- %1 -->\n").arg(i);
    }
    page += QStringLiteral("</head><body></body></html>");
    kept += QStringLiteral("B\r\n</head><body></body></html>");
    EXPECT_EQ(rewritePage(page, QStringLiteral("B\r\n"), QString(), QString()).text, kept);
}

TEST(CommandBatch, OneFieldCommandPerLineThenGotop) {
    const MetadataRecord record = {
        line(QStringLiteral("DC.Title"), QStringLiteral("Cats & dogs"), QStringLiteral("en")),
        line(QStringLiteral("DC.Subject"), QStringLiteral("Pets"), {}, QStringLiteral("LCSH")),
        line({}, kLinks),
        line(QStringLiteral("DC.Date"), QStringLiteral("2004"), QStringLiteral("en"), QStringLiteral("ISO8601")),
    };
    const QString commands = QStringLiteral(
        "mtp://field=DC.Title&content=Cats & dogs&lang=en.fld/\r\n"
        "mtp://field=DC.Subject&content=Pets&scheme=LCSH.fld/\r\n"
        "mtp://field=&content=") + kLinks + QStringLiteral(".fld/\r\n"
        "mtp://field=DC.Date&content=2004&lang=en&scheme=ISO8601.fld/\r\n");
    EXPECT_EQ(buildFieldCommands(record), commands);
    EXPECT_EQ(batchFileText(record), commands + QStringLiteral("mtp://gotop.fld\r\n\r\n"));
    EXPECT_EQ(buildFieldCommands({}), QString());
    EXPECT_EQ(batchFileText({}), QStringLiteral("mtp://gotop.fld\r\n\r\n"));
    // A line break inside a value never becomes a command line of its own.
    EXPECT_EQ(buildFieldCommands({line(QStringLiteral("DC.Description"), QStringLiteral("one\r\ntwo\nthree"))}),
              QStringLiteral("mtp://field=DC.Description&content=one  two three.fld/\r\n"));
}
