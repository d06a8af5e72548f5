// Pages at the edges of what the rewriter meets: each saved again, every byte around the
// meta elements kept, and a second save changing nothing.
#include "app/Preferences.h"
#include "record/MetaReader.h"
#include "record/MetaWriter.h"
#include "support/Common.h"
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

TEST(PageEdges, TwoByteOrderMarksBothStayOnAnUneditedSave) {
    testing_support::TestWindow w;
    testing_support::KeptValues kept{&Preferences::UseLinkRel};
    Preferences::UseLinkRel = u"N"_s;
    QTemporaryDir dir;
    const QByteArray bytes = "\xEF\xBB\xBF\xEF\xBB\xBF<html><head><title>x</title></head><body>b</body></html>\r\n";
    const QString path = testing_support::writeBytes(dir.filePath(u"marks.htm"_s), bytes);
    ASSERT_EQ(w->LoadMetadataFromURL(path, true), 0);
    ASSERT_TRUE(w->SaveAsHTML(path));
    EXPECT_EQ(testing_support::readBytes(path), bytes);
}

}  // namespace
