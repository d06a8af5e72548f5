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

// A value never closed ends where the next tag starts (or at the element's ">"), without
// the blanks before it, and is written back closed: the tags after it stay tags.
TEST(PageEdges, AValueNeverClosedNeverSwallowsTheTagsAfterIt) {
    const QString page = u"<head><meta name=\"a\" content=\"never closed<title>x</title></head>"_s;
    const QString saved = savedTwice(page);
    EXPECT_EQ(saved, u"<head><title>x</title><META NAME=\"a\" CONTENT=\"never closed\">\r\n</head>"_s);
    EXPECT_EQ(MetaReader::readPageRecord(saved, false), MetadataRecord({{u"a"_s, u"never closed"_s, {}, {}}}));
    // A link, a comment or an end tag after such a value is read as it stands (a quote in
    // them would close the value, as it does in a browser).
    const QString link = u"<link rel=x href=y>"_s;
    const QString rest = u"<head><meta name=\"a\" content=\"2 \r\n"_s + link + u"<!-- c --></head>"_s;
    EXPECT_EQ(MetaReader::readPageRecord(rest, false), MetadataRecord({{{}, link, {}, {}}, {u"a"_s, u"2"_s, {}, {}}}));
    EXPECT_EQ(savedTwice(rest), u"<head>"_s + link + u"<!-- c --><META NAME=\"a\" CONTENT=\"2\">\r\n</head>"_s);
}

// The block never goes inside a tag left unfinished (a link, a declaration, a tag running
// past the head's end tag), where its first element would end that tag: it goes before it.
TEST(PageEdges, TheBlockNeverGoesInsideAnUnfinishedTag) {
    const QString element = u"<meta name=\"a\" content=\"1\">\r\n"_s;
    for (const QString& unfinished : {u"<link rel=\"x\" href=\"y\"\r\n"_s, u"<!x\r\n"_s, u"<p title=\"</head><body>b</body>"_s}) {
        const QString page = u"<html><head>"_s + element + unfinished;
        EXPECT_EQ(savedTwice(page), u"<html><head>"_s + kBlock + unfinished) << unfinished;
        EXPECT_EQ(MetaReader::readPageRecord(u"<html><head>"_s + kBlock + unfinished, false), kRecord) << unfinished;
    }
    // A head start tag left unfinished at the end: the block goes before it, every time.
    const QString head = u"<html><head <meta name=\"a\" content=\"1\">"_s;
    EXPECT_EQ(savedTwice(head), u"<html>"_s + kBlock + u"<head "_s);
}

// Taking out the element of a deleted line never lets a tag before it run on into the text
// after it: an empty comment takes its place where it ended an unfinished tag.
TEST(PageEdges, DeletingALineChangesOnlyThatLine) {
    const QString page = u"<meta <meta name=\"a\" content=\"1\">name=\"b\" content=\"2\">"_s;
    const MetadataRecord left = {{{}, u"<meta "_s, {}, {}}};
    ASSERT_EQ(MetaReader::readPageRecord(page, false), left + kRecord);
    const QString saved = rewritePage(page, left, {}, {}).text;
    EXPECT_EQ(saved, u"<head>\r\n</head>\r\n<meta <!---->name=\"b\" content=\"2\">"_s);
    EXPECT_EQ(MetaReader::readPageRecord(saved, false), left);
    EXPECT_EQ(savedTwice(saved), saved);
    // The element gave the head start tag its ">": the next save finds the same one head.
    const QString head = u"<html><head <meta name=\"b\" content=\"2\"><meta name=\"a\" content=\"1\">"_s;
    const QString once = rewritePage(head, kRecord, {}, {}).text;
    EXPECT_EQ(once, u"<html>"_s + kBlock + u"<head "_s);
    EXPECT_EQ(savedTwice(once), once);
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

// The record as opening a local page gives it; `macro`: the repository's Open Record macro is
// set.
MetadataRecord opened(const QString& page, bool macro = false) {
    MetadataRecord record = MetaReader::readPageRecord(page, macro);
    for (MetadataLine& line : record)
        for (QString* value : {&line.name, &line.content, &line.lang, &line.scheme})
            *value = modCharEncoding::fixUtf8Quotes(*value);
    return record;
}

// The page file's text after saving `record` into `page`.
QString saved(const QString& page, const MetadataRecord& record, const QString& useLinkRel, bool macro = false) {
    return MetaWriter::pageFileText(rewritePage(page, record, kSchemaLink, useLinkRel, macro).text);
}

QString openedAndSaved(const QString& page, const QString& useLinkRel, bool macro = false) {
    return saved(page, opened(page, macro), useLinkRel, macro);
}

// The lines of a record, the schema link the save adds left out, values compared as the
// page shows them (references decoded), in any order.
QStringList linesOf(const MetadataRecord& record) {
    QStringList lines;
    for (const MetadataLine& line : record) {
        if (line.name.isEmpty() && line.content == kSchemaLink) continue;
        QString text = line.name + u'\u0001' + line.content + u'\u0001' + line.lang + u'\u0001' + line.scheme +
                       u'\u0001' + QChar(line.httpEquiv ? u'e' : u'n');
        lines.append(modCharEncoding::decodeHtmlEntities(text.replace(u"&#61;"_s, u"="_s)));
    }
    lines.sort();
    return lines;
}

// Every character of `page` outside its named meta elements is in `written`, in order: the
// save changes only blanks and line ends around the elements it takes out.
bool keepsTheRestOfThePage(const QString& page, const QString& written, bool macro) {
    QString rest;
    qsizetype from = 0;
    MetaReader::MetaTagScanner scan(page);
    while (scan.next()) {
        if (MetaReader::lineFromTag(scan.tag(), macro).name.isEmpty()) continue;
        rest += page.mid(from, scan.start() - from);
        from = scan.end();
    }
    rest += page.mid(from);
    qsizetype at = 0;
    for (const QChar c : rest) {
        if (c.isSpace()) continue;
        while (at < written.size() && written.at(at) != c) ++at;
        if (at++ == written.size()) return false;
    }
    return true;
}

// Pages as editors and generators leave them, and worse: heads and bodies in any order,
// comments, scripts, stray, glued and unfinished tags and declarations, meta elements inside
// unfinished ones, and meta elements whose values hold whatever a value can, closed or not.
QString generatedPage(testing_support::HardText& hard) {
    static const QStringList structure =
        QStringList{u"<html>"_s, u"</html>"_s,   u"<head>"_s,     u"</head>"_s, u"<HEAD >"_s,   u"<body>"_s,
                    u"</body>"_s, u"<!DOCTYPE html>"_s, u"<!--"_s, u"-->"_s,     u"<script>"_s, u"</script>"_s,
                    u"<style>"_s, u"</textarea>"_s, u"<p>"_s,   u"<"_s,       u">"_s,        u"\""_s,
                    u"<META"_s,   u"<meta "_s,   u"<head"_s,     u"</head"_s,  u"<body"_s,    u"\r\n"_s,
                    u"\n"_s,      u"\r"_s,       u"  "_s,         u"\t"_s,      u"<title>T</title>"_s,
                    u"<meta charset=\"utf-8\">"_s, u"<link rel=\"x\" href=\"y\">"_s, u"<meta>"_s,
                    u"<link rel=\"x\" href=\"y\""_s, u"<!x"_s, u"<?x "_s, u"<p title=\"t"_s, u"<title>"_s,
                    u"<meta x"_s}
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

// The record saved into a page reads back as it was written, and every further open and
// save changes no byte; the save changes nothing of the page but what the record's lines
// were read from. Half the records are as opened; of the others, one named line is deleted
// or given another value first. Now and then the repository's Open Record macro is set.
TEST(PageRoundTrip, ASecondOpenAndSaveChangesNothing) {
    testing_support::HardText hard(26, {u"="_s, u"name="_s, u"content=\""_s, u" lang ="_s, u"scheme= "_s,
                                        u"http-equiv="_s, u"xml:lang=\""_s, u"\" content=\""_s, u"<p>"_s, u"<b "_s,
                                        u"</head>"_s, u"<!"_s, u"<?"_s, u"<meta "_s, u"\u0085"_s});
    int failures = 0;
    for (int round = 0; round < 10000; ++round) {
        const QString page = generatedPage(hard);
        const QString useLinkRel = round % 2 ? u"Y"_s : u"N"_s;
        const bool macro = round % 3 == 0;
        MetadataRecord record = opened(page, macro);
        QList<qsizetype> named;
        for (qsizetype i = 0; i < record.size(); ++i)
            if (!record.at(i).name.isEmpty()) named.append(i);
        if (round % 4 >= 2 && !named.isEmpty()) {
            const qsizetype line = named.at(hard.below(int(named.size())));
            if (round % 4 == 2) record.removeAt(line);
            else record[line].content = recordLine({u"n"_s, hard.value(), {}, {}}, macro).content;
        }
        const QString once = saved(page, record, useLinkRel, macro);
        const QString twice = openedAndSaved(once, useLinkRel, macro);
        const bool same = twice == once && opened(twice, macro) == opened(once, macro) &&
                          linesOf(opened(once, macro)) == linesOf(record) && keepsTheRestOfThePage(page, once, macro);
        if (!same && ++failures <= 3)
            ADD_FAILURE() << "page: " << page << "\nmacro: " << macro << " lines: " << record.size()
                          << "\nsaved: " << once << "\nagain: " << twice;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(hard.usedEverySpecial());
}

TEST(PageRoundTrip, AttributeWordsInValuesAndBrokenAttributeTextAreWrittenToReadBackTheSame) {
    const std::pair<QString, QString> cases[] = {
        // the page's own attribute text goes first when after the known ones it would change them
        {u"<meta -name=\" content=\"T\">"_s, u"<META -name=\" content=\" T\" NAME=\" content=\" CONTENT=\"T\">"_s},
        // a value never closed runs to the element's end, and is written closed
        {u"<meta name=\"a\" content=\"text/ltml\" Content-Type\" =\"text a content]]]ed>"_s,
         u"<META NAME=\"a\" CONTENT=\"text/ltml\" Content-Type\" =\"text a content]]]ed\">"_s},
        {u"<meta name=\"a\" content=\"never closed>"_s, u"<META NAME=\"a\" CONTENT=\"never closed\">"_s},
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
