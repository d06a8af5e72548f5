#include "core/record/MetaReader.h"
#include "core/record/MetaWriter.h"
#include "support/Common.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace MetaReader;
using namespace MetaWriter;

namespace {

MetadataLine named(const char* name, const char* content, const char* lang = "", const char* scheme = "",
                   bool httpEquiv = false) {
    return {QString::fromUtf8(name), QString::fromUtf8(content), QString::fromUtf8(lang), QString::fromUtf8(scheme),
            httpEquiv};
}
MetadataLine unnamed(const QString& tag) { return {QString(), tag, {}, {}, false}; }

MetadataRecord read(const char* page, bool openRecordMacroSet = false) {
    return LoadMetadataLines(QString::fromUtf8(page), openRecordMacroSet);
}

const QString kLinks = u"<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s;
// A one-line record and the block it writes.
const MetadataRecord kB = {named("B", "b")};
const QString kBlockB = u"<META NAME=\"B\" CONTENT=\"b\">\r\n"_s;

QString rewritten(const QString& page, const MetadataRecord& record = kB) {
    return rewritePage(page, record, QString(), QString()).text;
}

}  // namespace

TEST(MetaReader, LinesAsThePageHoldsThem) {
    const std::pair<const char*, MetadataRecord> cases[] = {
        // any order and case, blanks around "=", "lang" found inside "xml:lang"
        {"<head><meta content=\"c\" Scheme = \"s\" lAnG=  \"l\" nAmE=\"n\"/><meta name=\"t\" xml:lang=\"fr\">",
         {named("n", "c", "l", "s"), named("t", "", "fr")}},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html\"><meta name=\"x\" HTTP-EQUIV=\"r\" content=\"5\">",
         {named("Content-Type", "text/html", "", "", true), named("r", "5", "", "", true)}},
        // a tag without a name is kept whole and carries nothing over; only double-quoted values count
        {"<meta charset=\"8\" lang=\"de\" content=\"x\">\n<meta name=\"a\"><meta name='s'><meta name\t=\"t\">",
         {unnamed("<meta charset=\"8\" lang=\"de\" content=\"x\">"), named("a", ""), unnamed("<meta name='s'>"),
          unnamed("<meta name\t=\"t\">")}},
        {"<metadata name=\"no\"><metaphor name=\"no\"><meta><meta/><meta\tname=\"tab\"><META\nNAME=\"nl\">",
         {unnamed("<meta>"), unnamed("<meta/>"), named("tab", ""), named("nl", "")}},
        // no ">" after the last tag: nothing is made of it; an unclosed tag ends at the next one
        {"<meta name=\"a\" content=\"1\"><meta name=\"b\" content=\"2\"", {named("a", "1")}},
        {"<meta name=\"a\" content=\"1\"\n<meta name=\"b\" content=\"2\">", {named("a", "1"), named("b", "2")}},
        {"<meta name=\"a\" <meta name=\"b\" <meta name=\"c\"", {}},
        {"", {}},
    };
    for (const auto& [page, lines] : cases) EXPECT_EQ(read(page), lines) << page;
}

TEST(MetaReader, OpenRecordMacroTurnsLineBreaksIntoBlanksButNotInLang) {
    const char* page = "<meta name=\"DC.\r\nTitle\" lang=\"e\nn\" scheme=\"s\rt\" content=\"two\r\nlines\">";
    EXPECT_EQ(read(page, false), MetadataRecord({named("DC.\r\nTitle", "two\r\nlines", "e\nn", "s\rt")}));
    EXPECT_EQ(read(page, true), MetadataRecord({named("DC.  Title", "two  lines", "e\nn", "s t")}));
}

TEST(MetaReader, BinaryAndRandomTextNeitherCrashesNorHangs) {
    QRandomGenerator random(20240611);
    const QString alphabet = u"<>\"= metaMETAnamecontent/link rel\r\n\0\x01\xFFFF\xD800"_s;
    for (int round = 0; round < 200; ++round) {
        QString page(random.bounded(2000), QChar());
        for (QChar& c : page) c = alphabet[random.bounded(int(alphabet.size()))];
        for (const auto& line : readPageRecord(page, round % 2)) EXPECT_LE(line.content.size(), page.size());
    }
}

TEST(MetaReader, LinkRowsComeFirstAndStylesheetsAreSkipped) {
    const char* link = "<LINK REL=\"schema.DC\" href=\"http://purl.org/dc/\">";
    const QString page = u"<meta name=\"T\" content=\"H\"><link rel=\"stylesheet\" href=\"site.css\">"_s + link;
    EXPECT_EQ(readPageRecord(page, false), MetadataRecord({unnamed(link), named("T", "H")}));
}

TEST(PageLoaderText, HarvestListsAndChannelsAreToldFromPages) {
    using K = PageTextKind;
    const std::pair<QString, K> cases[] = {
        {u"<?xml?><aglsXML>"_s, K::HarvestControlList}, {u"<!DOCTYPE x SYSTEM \"HCL.DTD\">"_s, K::HarvestControlList},
        {u"<rdf:RDF XMLNS=\"http://purl.org/rss/1.0/\">"_s, K::RssChannel}, {u"<RSS VERSION=\"2.0\">"_s, K::RssChannel},
        {u"<rss version=\"0.91\">"_s, K::Record}, {QString(), K::Record}};
    for (const auto& [text, kind] : cases) EXPECT_EQ(pageTextKind(text), kind) << text;
}

TEST(MetaBlock, WritesEveryNamedLineInOrderAndQuotesNeverBreakTheElement) {
    const MetadataRecord record = {named("DC.Title", "Cats &amp; dogs", "en"), unnamed(kLinks),
                                   named("DC.Date", "2004", "en", "ISO8601"),
                                   named("Content-Type", "text/html", "", "", true),
                                   named("a\"b", "<b>\"bold\"</b> & co", "e\"n", "s\"t")};
    EXPECT_EQ(MakeMetaIntoSource(record),
              QStringLiteral("<META NAME=\"DC.Title\" LANG=\"en\" CONTENT=\"Cats &amp; dogs\">\r\n"
                             "<META NAME=\"DC.Date\" LANG=\"en\" SCHEME=\"ISO8601\" CONTENT=\"2004\">\r\n"
                             "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html\">\r\n"
                             "<META NAME=\"a&quot;b\" LANG=\"e&quot;n\" SCHEME=\"s&quot;t\" "
                             "CONTENT=\"&lt;b&gt;&quot;bold&quot;&lt;/b&gt; & co\">\r\n"));
}

TEST(PageRewrite, NamedMetaElementsAreReplacedAndEverythingElseStays) {
    const QString nameless = u"<meta charset=\"utf-8\">\n<metadata name=\"x\">m</metadata>\n"
                             "<meta name='single' content='q'>\n<meta itemprop=\"name\" content=\"v\">\n"_s;
    const QString script = u"<head>\n<script>document.write(\"<body>\");</script>\n"_s;
    const std::pair<QString, QString> cases[] = {
        // an element alone on its line goes with it; elements sharing a line with one blank or line end
        {u"<head>\n  <META NAME=\"a\">\r\n</head>"_s, u"<head>\n"_s + kBlockB + u"</head>"_s},
        {u"<head>\n<title>x</title> <meta name=\"a\"> <b>\n<meta name=\"b\"><meta name=\"c\">\r\n</head>"_s,
         u"<head>\n<title>x</title> <b>\n"_s + kBlockB + u"</head>"_s},
        {u"<head>\n"_s + nameless + u"<meta name=\"DC.Title\" content=\"gone\">\n</head>"_s,
         u"<head>\n"_s + nameless + kBlockB + u"</head>"_s},
        {u"<head\nlang=\"en\"><meta name=\"a\"></head>"_s, u"<head\nlang=\"en\">"_s + kBlockB + u"</head>"_s},
        // a head without its end tag ends at the body, but not at a "<body>" in a script;
        // named elements in the body go into the block too
        {u"<html><head>\n<meta name=\"a\">\n<body>\n<meta name=\"b\">"_s, u"<html><head>\n"_s + kBlockB + u"<body>\n"_s},
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
    MetadataRecord record = {named("content-type", "text/html; charset=utf-8", "", "", true), named("a", "1")};
    EXPECT_EQ(rewritten(page, record), u"<head>\r\n"_s + type + rest);
    record[0].content = u"text/html; charset=iso-8859-1"_s;
    EXPECT_EQ(rewritten(page, record),
              u"<head>\r\n<META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html; charset=iso-8859-1\">\r\n"_s + rest);
    record.removeFirst();
    EXPECT_EQ(rewritten(page, record), u"<head>\r\n"_s + rest);
}

TEST(CommandBatch, OneFieldCommandPerLineThenGotop) {
    const MetadataRecord record = {named("DC.Title", "Cats & dogs", "en"), unnamed(u"<link>"_s),
                                   named("DC.Date", "2004", "en", "ISO8601"),
                                   named("D", "one\r\ntwo\nthree")};  // a line break never starts a command
    const QString commands = QStringLiteral(
        "mtp://field=DC.Title&content=Cats & dogs&lang=en.fld/\r\nmtp://field=&content=<link>.fld/\r\n"
        "mtp://field=DC.Date&content=2004&lang=en&scheme=ISO8601.fld/\r\n"
        "mtp://field=D&content=one%0D%0Atwo%0Athree.fld/\r\n");
    EXPECT_EQ(buildFieldCommands(record), commands);
    EXPECT_EQ(batchFileText(record), commands + u"mtp://gotop.fld\r\n\r\n"_s);
}
