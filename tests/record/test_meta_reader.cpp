#include "record/MetaReader.h"
#include "support/Common.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace MetaReader;

namespace {

MetadataLine named(const char* name, const char* content, const char* lang = "", const char* scheme = "",
                   bool httpEquiv = false) {
    return {QString::fromUtf8(name), QString::fromUtf8(content), QString::fromUtf8(lang), QString::fromUtf8(scheme),
            httpEquiv};
}
MetadataLine unnamed(const char* tag) { return {QString(), QString::fromUtf8(tag), {}, {}, false}; }

MetadataRecord read(const char* page, bool openRecordMacroSet = false) {
    return LoadMetadataLines(QString::fromUtf8(page), openRecordMacroSet);
}

}  // namespace

TEST(MetaReader, LinesAsThePageHoldsThem) {
    const std::pair<const char*, MetadataRecord> cases[] = {
        {"<META NAME=\"DC.Title\" LANG=\"en\" CONTENT=\"A &amp; B\">\r\n<META NAME=\"S\" SCHEME=\"L\" CONTENT=\"P\">",
         {named("DC.Title", "A &amp; B", "en"), named("S", "P", "", "L")}},
        // any order and case, blanks around "=", "lang" found inside "xml:lang"
        {"<head><meta content=\"c\" Scheme = \"s\" lAnG=  \"l\" nAmE=\"n\"/><meta name=\"t\" xml:lang=\"fr\">",
         {named("n", "c", "l", "s"), named("t", "", "fr")}},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html\"><meta name=\"x\" HTTP-EQUIV=\"r\" content=\"5\">",
         {named("Content-Type", "text/html", "", "", true), named("r", "5", "", "", true)}},
        // a tag without a name carries nothing over to the next
        {"<meta charset=\"utf-8\" lang=\"de\" content=\"x\">\n<meta name=\"a\">",
         {unnamed("<meta charset=\"utf-8\" lang=\"de\" content=\"x\">"), named("a", "")}},
        {"<meta name='single' content='x'><meta name=bare content=bare><meta name\t=\"tab\">",
         {unnamed("<meta name='single' content='x'>"), unnamed("<meta name=bare content=bare>"),
          unnamed("<meta name\t=\"tab\">")}},
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

TEST(MetaReader, ValuesStopAtTheirQuoteAndLaterWellFormedWordsWin) {
    const auto lines = read(
        "<meta name=\"a\" content=\"say \"hi\" now\">"
        "<meta name=\"b\" scheme=\"real\" content=\"x scheme=\"fake\" y\">"
        "<meta name=\"missing end content=\"y>");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].content, u"say "_s);
    EXPECT_EQ(lines[1].scheme, u"fake"_s);
    EXPECT_EQ(lines[2].name, u"missing end content="_s);
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
