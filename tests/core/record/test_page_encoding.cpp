// Which encoding a page is read in, and that its bytes and its text survive the trip
// through the decoders and encoders whatever they are given.
#include "core/record/MetaReader.h"
#include "core/record/MetaWriter.h"
#include "core/record/PageEncoding.h"
#include "core/record/modCharEncoding.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include "support/Common.h"

using namespace Qt::StringLiterals;
using PageEncoding::declaredCharset;

namespace {

// The page's declaration is what its meta elements say as the reader and the writer see
// them: one the writer leaves standing (an element without a name) comes before one it
// writes where the record puts it (the http-equiv line, then any other named element).
TEST(PageEncoding, TheDeclarationTheWriterLeavesStandingComesFirst) {
    const std::pair<QByteArray, QString> cases[] = {
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\"><meta charset=\"windows-1251\">",
         u"windows-1251"_s},
        {"<meta name=\"DC.Title\" content=\"x\" charset=\"utf-8\"><meta http-equiv=\"content-type\" "
         "content='text/html; charset=shift_jis'>",
         u"shift_jis"_s},
        {"<meta name=\"DC.Title\" content=\"x\" charset=\"utf-8\"><meta name=\"b\" charset=\"koi8-r\">", u"utf-8"_s},
        // An http-equiv the reader does not take for a name leaves the element standing as it is.
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">"
         "<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">",
         u"windows-1251"_s},
        // The element ends at its first ">": the charset after it is text.
        {"<meta name=\"DC.Title\" content=\"a>b\" charset=\"windows-1251\">", QString()},
        // Comments and scripts hold no elements; a declaration far down the page counts.
        {"<!-- <meta charset=\"koi8-r\"> --><script>'<meta charset=\"big5\">'</script>" + QByteArray(70000, ' ') +
             "<META CHARSET=euc-kr>",
         u"euc-kr"_s},
        {"<p>no declaration</p>", QString()},
    };
    for (const auto& [page, label] : cases) EXPECT_EQ(declaredCharset(page), label) << page.left(120).toStdString();
}

// Random bytes under random labels: every byte comes back. Random text in every encoding:
// written, it reads back as itself once the references the encoder put in are decoded. The
// stateful encodings, UTF-16 and UTF-32, and empty and cut-short input among them.
TEST(PageEncoding, RandomBytesAndTextsComeBackThroughEveryEncoding) {
    QRandomGenerator random(43);
    const QStringList labels = {u""_s,           u"utf-8"_s,      u"windows-1252"_s, u"windows-1251"_s, u"koi8-r"_s,
                                u"shift_jis"_s,  u"euc-jp"_s,     u"iso-2022-jp"_s,  u"iso-2022-kr"_s,  u"iso-2022-cn"_s,
                                u"hz-gb-2312"_s, u"euc-kr"_s,     u"big5"_s,         u"gbk"_s,          u"gb18030"_s,
                                u"utf-16"_s,     u"utf-16be"_s,   u"utf-7"_s,        u"scsu"_s,         u"bocu-1"_s,
                                u"ibm037"_s,     u"x11-compound-text"_s, u"no-such-thing"_s};
    const QByteArray pieces[] = {"<meta charset=\"", "\">", "<meta http-equiv=\"Content-Type\" content=\"charset=",
                                 "\xFE\xFF", "\xFF\xFE", "\xEF\xBB\xBF", "\x1B$B", "\x1B(B", "\x1B$)C", "\x0E", "\x0F",
                                 "~{", "~}", "+", QByteArray(1, '\0'), "\xC3\xA9", "\x82\xA0", "<p>", "\r\n"};
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        for (int n = int(random.bounded(12)); n > 0; --n) {
            if (random.bounded(3) == 0)
                bytes += pieces[random.bounded(int(std::size(pieces)))];
            else if (random.bounded(2) == 0)
                bytes += labels.at(random.bounded(int(labels.size()))).toLatin1();
            else
                for (int k = int(random.bounded(6)); k > 0; --k) bytes += char(random.bounded(256));
        }
        const QString header = u"text/html; charset="_s + labels.at(random.bounded(int(labels.size())));
        for (const platform::DecodedText& page : {platform::decodePageBytes(bytes, header), PageEncoding::decodePage(bytes)})
            ASSERT_EQ(platform::encodePageText(page.text, page.encoding), bytes)
                << bytes.toHex(' ').toStdString() << " as " << page.encoding.codec.toStdString();
    }

    const QStringList characters = QString::fromUtf8("a Z 0 < > \" ' & ; # = ~ + - \\ é € Ω Ж 日 本 가 中 😀 Å ß ü")
                                       .split(u' ') << u" "_s << u"\t"_s << u"\r\n"_s;
    const QStringList codecs = {u"UTF-8"_s,      u"windows-1252"_s, u"windows-1251"_s, u"KOI8-R"_s,     u"Shift_JIS"_s,
                                u"EUC-JP"_s,     u"ISO-2022-JP"_s,  u"ISO-2022-KR"_s,  u"ISO-2022-CN"_s, u"HZ-GB-2312"_s,
                                u"EUC-KR"_s,     u"Big5"_s,         u"GBK"_s,          u"GB18030"_s,    u"UTF-16LE"_s,
                                u"UTF-16BE"_s,   u"UTF-32LE"_s,     u"UTF-7"_s,        u"SCSU"_s,       u"BOCU-1"_s,
                                u"IBM037"_s};
    for (int round = 0; round < 3000; ++round) {
        QString text;
        for (int n = int(random.bounded(16)); n > 0; --n) text += characters.at(random.bounded(int(characters.size())));
        text += u"\r\n"_s;  // as every page written ends
        const QString codec = codecs.at(round % codecs.size());
        const QByteArray bytes = platform::encodePageText(text, {codec, false});
        QStringDecoder decoder(codec.toLatin1().constData());
        QString back = decoder.decode(bytes);
        ASSERT_FALSE(decoder.hasError()) << text << " in " << codec;
        QString expected = text;
        ASSERT_EQ(modCharEncoding::decodeHtmlEntities(back), modCharEncoding::decodeHtmlEntities(expected))
            << text << " in " << codec << ": " << bytes.toHex(' ').toStdString();
    }
}

// A page of megabytes, most of it characters its encoding lacks, in a stateful encoding.
TEST(PageEncoding, ALargeStatefulPageFullOfReferencesIsWrittenAndReadBack) {
    QString text;
    for (int i = 0; i < 100000; ++i) text += u"日本€😀a\r\n"_s;
    const platform::TextEncoding jis{u"ISO-2022-JP"_s, false};
    const QByteArray bytes = platform::encodePageText(text, jis);
    QString back = PageEncoding::decodePage(bytes, u"text/html; charset=iso-2022-jp"_s).text;
    EXPECT_EQ(modCharEncoding::decodeHtmlEntities(back), text);
}

}  // namespace
