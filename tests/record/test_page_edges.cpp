// Pages at the edges of what the rewriter meets: each saved again, every byte around the
// meta elements kept, and a second save changing nothing.
#include "core/record/MetaReader.h"
#include "core/record/MetaWriter.h"
#include "core/record/modCharEncoding.h"
#include "support/Common.h"
#include "support/HardText.h"
#include "support/TestWindow.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using MetaWriter::rewritePage;

namespace {

const MetadataRecord kRecord = {{u"a"_s, u"1"_s, {}, {}}};
const QString kBlock = u"<META NAME=\"a\" CONTENT=\"1\">\r\n"_s;

// Saves the page's own record back into it, twice; the second save must change nothing.
QString savedTwice(const QString& page) {
    const QString once = rewritePage(page, MetaReader::readPageRecord(page, false), {}, {}).text;
    EXPECT_EQ(rewritePage(once, MetaReader::readPageRecord(once, false), {}, {}).text, once);
    return once;
}

TEST(PageEdges, AHeadWithoutItsStartTagGetsNoSecondHead) {
    const QString page = u"<html>\n<title>t</title>\n<meta name=\"a\" content=\"1\">\n</head>\n<body>x</body></html>"_s;
    EXPECT_EQ(savedTwice(page), u"<html>\n<title>t</title>\n"_s + kBlock + u"</head>\n<body>x</body></html>"_s);
}

TEST(PageEdges, TakingAnElementOutNeverMakesANewOne) {
    const QString page = u"<head><met<meta name=\"a\" content=\"1\">a x=\"y\">\n</head>"_s;
    const QString saved = savedTwice(page);
    EXPECT_EQ(saved, u"<head><met a x=\"y\">\n"_s + kBlock + u"</head>"_s);
    EXPECT_EQ(MetaReader::readPageRecord(saved, false), kRecord);
}

TEST(PageEdges, BlanksAfterTheHeadsStartTagStay) {
    const QString page = u"<head>  <meta name=\"a\" content=\"1\">\n</head>"_s;
    EXPECT_EQ(savedTwice(page), u"<head>  "_s + kBlock + u"</head>"_s);
}

// With the repository's Open Record macro set a line break in a value is a blank in the
// record: the element is compared with its line in that form, so it is known and stays
// where taking it out would change the unfinished tag before it.
TEST(PageEdges, UnderTheOpenRecordMacroAnElementIsComparedWithItsLineAsRead) {
    const QString page = u"<meta x<meta name=\"a\nb\" content=\"c\">"_s;
    const MetadataRecord record = MetaReader::readPageRecord(page, true);
    ASSERT_EQ(record, MetadataRecord({{{}, u"<meta x"_s, {}, {}}, {u"a b"_s, u"c"_s, {}, {}}}));
    const QString saved = rewritePage(page, record, {}, {}, true).text;
    EXPECT_EQ(saved, u"<head>\r\n</head>\r\n"_s + page);
    EXPECT_EQ(MetaReader::readPageRecord(saved, true), record);
}

const QString kSchemaLink = u"<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s;

// The record as opening a local page gives it.
MetadataRecord opened(const QString& page) {
    MetadataRecord record = MetaReader::readPageRecord(page, false);
    for (MetadataLine& line : record)
        for (QString* value : {&line.name, &line.content, &line.lang, &line.scheme})
            *value = modCharEncoding::fixUtf8Quotes(*value);
    return record;
}

// The page file's text after opening `page` and saving its record.
QString openedAndSaved(const QString& page, const QString& useLinkRel) {
    return MetaWriter::pageFileText(rewritePage(page, opened(page), kSchemaLink, useLinkRel).text);
}

// The lines of a record, the schema link the save adds left out, values as the block
// writes them, in any order.
QStringList linesOf(const MetadataRecord& record) {
    QStringList lines;
    for (const MetadataLine& line : record) {
        if (line.name.isEmpty() && line.content == kSchemaLink) continue;
        QString text = line.name + u'\u0001' + line.content + u'\u0001' + line.lang + u'\u0001' + line.scheme +
                       u'\u0001' + QChar(line.httpEquiv ? u'e' : u'n');
        text.replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s).replace(u"&quot;"_s, u"\""_s).replace(u"&#61;"_s, u"="_s);
        lines.append(text);
    }
    lines.sort();
    return lines;
}

// Pages as editors and generators leave them, and worse: heads and bodies in any order,
// comments, scripts, stray and glued tags, unclosed elements, and meta elements whose values
// hold whatever a value can.
QString generatedPage(testing_support::HardText& hard) {
    static const QStringList structure =
        QStringList{u"<html>"_s, u"</html>"_s,   u"<head>"_s,     u"</head>"_s, u"<HEAD >"_s,   u"<body>"_s,
                    u"</body>"_s, u"<!DOCTYPE html>"_s, u"<!--"_s, u"-->"_s,     u"<script>"_s, u"</script>"_s,
                    u"<style>"_s, u"</textarea>"_s, u"<p>"_s,   u"<"_s,       u">"_s,        u"\""_s,
                    u"<META"_s,   u"<meta "_s,   u"<head"_s,     u"</head"_s,  u"<body"_s,    u"\r\n"_s,
                    u"\n"_s,      u"\r"_s,       u"  "_s,         u"\t"_s,      u"<title>T</title>"_s,
                    u"<meta charset=\"utf-8\">"_s, u"<link rel=\"x\" href=\"y\">"_s, u"<meta>"_s}
        << kSchemaLink << u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"_s;
    // Attribute text, well formed or not, that stands between the known attributes.
    static const QStringList attributes = {u" x=\"y\""_s,        u" -name=\""_s,     u" content=\""_s,
                                           u" Content-Type\" =\"text"_s, u" name= \"n\""_s, u" lang"_s,
                                           u" ="_s,              u" a='b'"_s,         u" scheme =\"s"_s,
                                           u" xml:lang=\"en\""_s,  u" http-equiv=\"h\""_s, u" c=d"_s};
    const auto otherText = [&] {
        QString text;
        for (int n = hard.below(3); n > 0; --n)
            text += hard.below(3) ? attributes.at(hard.below(int(attributes.size()))) : u" "_s + hard.value(2);
        return text;
    };
    // A value is closed now and then only by the element's ">", or not at all.
    const auto closing = [&] { return hard.below(12) ? u"\""_s : QString(); };
    QString page;
    for (int part = hard.below(14); part >= 0; --part) {
        if (hard.below(5) < 3) {
            page += structure.at(hard.below(int(structure.size())));
            continue;
        }
        const int opening = hard.below(8);
        page += opening < 5 ? u"<meta name=\""_s : opening < 7 ? u"<META HTTP-EQUIV=\""_s : u"<meta -name=\""_s;
        page += hard.below(3) ? u"DC.Title"_s : hard.value(2);
        page += closing() + otherText();
        if (!hard.below(4)) page += u" lang=\""_s + hard.value(1) + closing();
        if (!hard.below(4)) page += u" scheme=\""_s + hard.value(1) + closing();
        page += u" content=\""_s + hard.value() + closing() + otherText() + (hard.below(8) ? u">"_s : QString());
    }
    return page;
}

// After one open and save, every further one changes no byte and reads the same record;
// the first keeps every line's values, only moving named ones into the block.
TEST(PageRoundTrip, ASecondOpenAndSaveChangesNothing) {
    testing_support::HardText hard(26, {u"="_s, u"name="_s, u"content=\""_s, u" lang ="_s, u"scheme= "_s,
                                        u"http-equiv="_s, u"xml:lang=\""_s, u"\" content=\""_s});
    int failures = 0;
    for (int round = 0; round < 10000; ++round) {
        const QString page = generatedPage(hard);
        const QString useLinkRel = round % 2 ? u"Y"_s : u"N"_s;
        const QString once = openedAndSaved(page, useLinkRel);
        const QString twice = openedAndSaved(once, useLinkRel);
        const bool same = twice == once && opened(twice) == opened(once) && linesOf(opened(page)) == linesOf(opened(once));
        if (!same && ++failures <= 3) ADD_FAILURE() << "page: " << page << "\nsaved: " << once << "\nagain: " << twice;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(hard.usedEverySpecial());
}

TEST(PageRoundTrip, AttributeWordsInValuesAndBrokenAttributeTextAreWrittenToReadBackTheSame) {
    const std::pair<QString, QString> cases[] = {
        // the page's own attribute text goes first when after the known ones it would change them
        {u"<meta -name=\" content=\"T\">"_s, u"<META -name=\" content=\" T\" NAME=\" content=\" CONTENT=\"T\">"_s},
        {u"<meta name=\"a\" content=\"text/ltml\" Content-Type\" =\"text a content]]]ed>"_s,
         u"<META NAME=\"a\" CONTENT=\"text/ltml\">"_s},
        {u"<meta name=\"a\" content=\"never closed>"_s, u"<META NAME=\"a\" CONTENT=\"\">"_s},
        {u"<meta name=\"a\" id=\"k\" data-x='content=\"z\"' content=\"1\">"_s,
         u"<META id=\"k\" data-x='content=\"z\"' NAME=\"a\" CONTENT=\"1\">"_s}};
    for (const auto& [element, written] : cases) {
        const QString saved = savedTwice(u"<head>"_s + element + u"</head>"_s);
        EXPECT_EQ(saved, u"<head>"_s + written + u"\r\n</head>"_s) << element;
    }
    // Values the user typed: a ">" would end the element early, a word and "=" at the end of
    // the lang take the quote after it for the start of a scheme.
    const MetadataRecord typed = {{u"a>b"_s, u"x"_s, u"en scheme="_s, {}}};
    const QString once = rewritePage(u"<head></head>"_s, typed, {}, {}).text;
    EXPECT_EQ(once, u"<head><META NAME=\"a&gt;b\" LANG=\"en scheme&#61;\" CONTENT=\"x\">\r\n</head>"_s);
    EXPECT_EQ(savedTwice(once), once);
}

TEST(PageRoundTrip, NamedElementsAnywhereAreReplacedNotCopiedAgain) {
    const QString page = u"<html><head><title>t</title>\n<meta name=\"DC.Title\" content=\"T\">\n</head>\n"
                         "<body>\n<meta name=\"DC.Creator\" content=\"C\">\n<p>text</p>\n</body></html>"_s;
    const QString saved = savedTwice(page);
    EXPECT_EQ(saved, u"<html><head><title>t</title>\n<META NAME=\"DC.Title\" CONTENT=\"T\">\r\n"
                     "<META NAME=\"DC.Creator\" CONTENT=\"C\">\r\n</head>\n<body>\n<p>text</p>\n</body></html>"_s);
    EXPECT_EQ(opened(saved).size(), 2);
}

TEST(PageRoundTrip, TheEncodingDeclarationOutsideTheHeadStaysThereAndIsWrittenOnce) {
    const QString declaration = u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"_s;
    const QString page = u"<html><head><title>t</title></head>\n"_s + declaration + u"\n<body>b</body></html>"_s;
    EXPECT_EQ(savedTwice(page), page);
}

TEST(PageRoundTrip, AGluedElementAndAHeadAfterItsEndStayAsTheyAre) {
    const QString glued = u"<html><head><META<META http-equiv=\"C\">></head><body>b</body></html>"_s;
    EXPECT_EQ(savedTwice(glued), glued);
    const QString late = u"<html><title>t</title></head><head><meta name=\"a\" content=\"1\">\n<body>b</body>"_s;
    const QString once = openedAndSaved(late, u"Y"_s);
    EXPECT_EQ(openedAndSaved(once, u"Y"_s), once);
    EXPECT_EQ(once, u"<html><title>t</title>"_s + kSchemaLink + u"\r\n"_s + kBlock +
                        u"</head><head><body>b</body>\r\n"_s);
}

TEST(PageEdges, TwoByteOrderMarksBothStayOnAnUneditedSave) {
    testing_support::TestWindow w;
    w.context.preferences.UseLinkRel.setText(u"N"_s);
    QTemporaryDir dir;
    const QByteArray bytes = "\xEF\xBB\xBF\xEF\xBB\xBF<html><head><title>x</title></head><body>b</body></html>\r\n";
    const QString path = testing_support::writeBytes(dir.filePath(u"marks.htm"_s), bytes);
    w.enter(path);
    w.enter(u"mtp://save="_s + path);
    EXPECT_EQ(testing_support::readBytes(path), bytes);
}

}  // namespace
