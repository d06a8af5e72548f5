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
MetadataLine unnamed(const QString& tag) { return {QString(), tag, {}, {}, false}; }

MetadataRecord read(const char* page, bool openRecordMacroSet = false) {
    return LoadMetadataLines(QString::fromUtf8(page), openRecordMacroSet);
}

}  // namespace

TEST(MetaReader, ReadsTheWritersFormFromTheFirstCharacter) {
    const auto lines = read(
        "<META NAME=\"DC.Title\" LANG=\"en\" CONTENT=\"Cats &amp; dogs\">\r\n"
        "<META NAME=\"DC.Subject\" SCHEME=\"LCSH\" CONTENT=\"Pets\">\r\n");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], named("DC.Title", "Cats &amp; dogs", "en"));
    EXPECT_EQ(lines[1], named("DC.Subject", "Pets", "", "LCSH"));
}

TEST(MetaReader, AttributesInAnyOrderAndCaseWithBlanksAroundTheEquals) {
    const auto lines = read(
        "<head><meta content=\"c\" Scheme = \"s\" lAnG=  \"l\" nAmE=\"n\"/></head>"
        "<meta name=\"DC.Title\" xml:lang=\"fr\" content=\"Chats\">");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], named("n", "c", "l", "s"));
    EXPECT_EQ(lines[1].lang, u"fr"_s);  // found inside xml:lang
}

TEST(MetaReader, HttpEquivNamesTheLineAndIsRemembered) {
    const auto lines = read(
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
        "<meta name=\"ignored\" HTTP-EQUIV=\"refresh\" content=\"5\">");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], named("Content-Type", "text/html; charset=utf-8", "", "", true));
    EXPECT_EQ(lines[1], named("refresh", "5", "", "", true));
}

TEST(MetaReader, TagWithoutNameBecomesAnUnnamedLineAndCarriesNothingOver) {
    const auto lines = read("<meta charset=\"utf-8\" lang=\"de\" content=\"x\">\n<meta name=\"a\">");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], unnamed(u"<meta charset=\"utf-8\" lang=\"de\" content=\"x\">"_s));
    EXPECT_EQ(lines[1], named("a", ""));
}

TEST(MetaReader, OnlyDoubleQuotedValuesCount) {
    const auto lines = read(
        "<meta name='single' content='x'>"
        "<meta name=bare content=bare>"
        "<meta name=\"missing end content=\"y>"
        "<meta name\t=\"tab\">");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], unnamed(u"<meta name='single' content='x'>"_s));
    EXPECT_EQ(lines[1], unnamed(u"<meta name=bare content=bare>"_s));
    // the quote that should have ended the name ends it at the next quote instead
    EXPECT_EQ(lines[2].name, u"missing end content="_s);
    EXPECT_EQ(lines[3], unnamed(u"<meta name\t=\"tab\">"_s));
}

TEST(MetaReader, ValuesStopAtTheirQuoteAndLaterWellFormedWordsWin) {
    const auto lines = read(
        "<meta name=\"a\" content=\"say \"hi\" now\">"
        "<meta name=\"b\" scheme=\"real\" content=\"x scheme=\"fake\" y\">");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].content, u"say "_s);
    EXPECT_EQ(lines[1].scheme, u"fake"_s);
}

TEST(MetaReader, OpenRecordMacroTurnsLineBreaksIntoBlanksButNotInLang) {
    const char* page = "<meta name=\"DC.\r\nTitle\" lang=\"e\nn\" scheme=\"s\rt\" content=\"two\r\nlines\">";
    const auto kept = read(page, false);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0].content, u"two\r\nlines"_s);
    const auto blanked = read(page, true);
    ASSERT_EQ(blanked.size(), 1);
    EXPECT_EQ(blanked[0], named("DC.  Title", "two  lines", "e\nn", "s t"));
}

TEST(MetaReader, OnlyRealMetaElementsAreRead) {
    const auto lines = read(
        "<metadata name=\"no\"><metaphor name=\"no\"><meta>"
        "<meta/><meta\tname=\"tab\"><META\nNAME=\"nl\">");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], unnamed(u"<meta>"_s));
    EXPECT_EQ(lines[1], unnamed(u"<meta/>"_s));
    EXPECT_EQ(lines[2].name, u"tab"_s);
    EXPECT_EQ(lines[3].name, u"nl"_s);
}

TEST(MetaReader, TruncatedTags) {
    // no ">" after the last one: the earlier lines stay, nothing is made of the last
    auto lines = read("<meta name=\"a\" content=\"1\"><meta name=\"b\" content=\"2\"");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0], named("a", "1"));
    // an unclosed tag ends where the next meta element starts
    lines = read("<meta name=\"a\" content=\"1\"\n<meta name=\"b\" content=\"2\">");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], named("a", "1"));
    EXPECT_EQ(lines[1], named("b", "2"));
    EXPECT_TRUE(read("<meta name=\"a\" <meta name=\"b\" <meta name=\"c\"").isEmpty());
    EXPECT_TRUE(read("<meta").isEmpty());
    EXPECT_TRUE(read("<meta ").isEmpty());
    EXPECT_TRUE(read("").isEmpty());
}

TEST(MetaReader, BinaryAndRandomTextNeitherCrashesNorHangs) {
    QRandomGenerator random(20240611);
    const char16_t alphabet[] = u"<>\"= metaMETAnamecontent/\r\n\0\x01\xFFFF\xD800";
    for (int round = 0; round < 200; ++round) {
        QString page;
        const int length = random.bounded(2000);
        for (int i = 0; i < length; ++i) page += QChar(alphabet[random.bounded(int(std::size(alphabet) - 1))]);
        const auto lines = LoadMetadataLines(page, round % 2 == 0);
        for (const auto& line : lines) EXPECT_LE(line.content.size(), page.size());
        EXPECT_LE(readLinkRows(page).size(), page.size());
    }
}

TEST(MetaReader, LinkRowsComeFirstAndStylesheetsAreSkipped) {
    const QString page = QStringLiteral(
        "<html><head>\r\n"
        "<LINK REL=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">\r\n"
        "<link rel=\"stylesheet\" href=\"site.css\">\r\n"
        "<link rel=\"schema.AGLS\" href=\"http://www.naa.gov.au/recordkeeping/gov_online/agls/1.2\">\r\n"
        "<meta name=\"DC.Title\" content=\"Home\">\r\n"
        "</head></html>");
    const MetadataRecord record = readPageRecord(page, false);
    ASSERT_EQ(record.size(), 3);
    EXPECT_EQ(record[0], unnamed(u"<LINK REL=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s));
    EXPECT_EQ(record[1].content.left(25), u"<link rel=\"schema.AGLS\" h"_s);
    EXPECT_EQ(record[2], named("DC.Title", "Home"));
}

TEST(MetaReader, UnclosedLinkAtTheEndStillLeavesTheMetaLines) {
    const MetadataRecord record =
        readPageRecord(u"<meta name=\"DC.Title\" content=\"Home\"><link rel=\"schema.DC\""_s, false);
    ASSERT_EQ(record.size(), 1);
    EXPECT_EQ(record[0], named("DC.Title", "Home"));
    EXPECT_TRUE(readPageRecord(QString(), false).isEmpty());
}

TEST(PageLoaderText, HarvestListsAndChannelsAreToldFromPages) {
    using K = PageTextKind;
    const std::pair<QString, K> cases[] = {{u"<?xml?><aglsXML>"_s, K::HarvestControlList},
                                           {u"<!DOCTYPE x SYSTEM \"HCL.DTD\">"_s, K::HarvestControlList},
                                           {u"<rdf:RDF XMLNS=\"http://purl.org/rss/1.0/\">"_s, K::RssChannel},
                                           {u"<RSS VERSION=\"2.0\">"_s, K::RssChannel},
                                           {u"<rss version=\"0.91\">"_s, K::Record},
                                           {u"<html><meta name=\"a\"></html>"_s, K::Record},
                                           {QString(), K::Record}};
    for (const auto& [text, kind] : cases) EXPECT_EQ(pageTextKind(text), kind) << text;
}
