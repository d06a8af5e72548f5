// Pages in every encoding the program reads and writes, opened, given values and saved
// through the window: read back in the encoding they were written in, every byte around
// the meta block kept, every value back as it was written.
#include "record/RecordWindowTest.h"

#include "core/record/MetaReader.h"
#include "core/record/PageEncoding.h"
#include "core/record/modCharEncoding.h"
#include "support/LocalHttpServer.h"

#include <QStringDecoder>
#include <QStringEncoder>

using testing_support::readBytes;

namespace {

// A page's encoding and what the page says about it.
struct PageForm {
    const char* codec;
    bool bom = false;
    enum Declaration { None, MetaCharset, HttpEquiv } declaration = None;
    QString body = {};      // text in the encoding, in the title and the body
    QByteArray tail = {};   // bytes of a last character cut short
};

QString decoded(QString text) {
    return modCharEncoding::decodeHtmlEntities(text);
}

// The named lines of a record with their values as decodeHtmlEntities gives them.
QStringList valuesOf(const MetadataRecord& record) {
    QStringList values;
    for (const MetadataLine& line : record)
        if (!line.name.isEmpty())
            values << decoded(line.name) + u" | "_s + decoded(line.content) + u" | "_s + decoded(line.lang) +
                          u" | "_s + decoded(line.scheme);
    return values;
}

class PageEncodingsTest : public RecordWindowTest {
protected:
    void SetUp() override { w.context.preferences.UseLinkRel.setText(u"N"_s); }

    // The text's bytes as another program would write them.
    static QByteArray bytesOf(const QString& text, const PageForm& form, bool withTail = true) {
        static const QHash<QByteArray, QByteArray> marks = {{"UTF-8", "\xEF\xBB\xBF"},
                                                             {"UTF-16LE", "\xFF\xFE"},
                                                             {"UTF-16BE", "\xFE\xFF"},
                                                             {"UTF-32LE", QByteArray("\xFF\xFE\0\0", 4)}};
        QByteArray bytes = form.bom ? marks.value(form.codec) : QByteArray();
        QStringEncoder encoder(form.codec);
        bytes += encoder.encode(text);
        EXPECT_FALSE(encoder.hasError()) << form.codec;
        return withTail ? bytes + form.tail : bytes;
    }
};

TEST_F(PageEncodingsTest, EveryEncodingReadsBackAsWrittenWithEmptyControlHoldingAndUnencodableValues) {
    const QString cyrillic = u"Привет, мир"_s;
    const PageForm forms[] = {
        {"UTF-8", false, PageForm::None, u"Café 日本 😀"_s},
        {"UTF-8", true, PageForm::None, u"Café 日本 😀"_s},
        {"UTF-16LE", true, PageForm::None, u"Café 日本 😀"_s},
        {"UTF-16BE", true, PageForm::None, u"Café 日本 😀"_s},
        {"UTF-16LE", false, PageForm::None, u"Café 日本 😀"_s},
        {"UTF-16BE", false, PageForm::None, u"Café 日本 😀"_s},
        {"UTF-16LE", true, PageForm::None, u"Café 日本"_s, "\x41"},  // odd length
        {"UTF-16BE", false, PageForm::None, u"Café 日本"_s, "\x41"},
        {"UTF-32LE", true, PageForm::None, u"Café 日本 😀"_s},
        {"windows-1252", false, PageForm::None, u"Café “quoted”"_s},
        {"ISO-8859-15", false, PageForm::MetaCharset, u"€uro café"_s},
        {"windows-1251", false, PageForm::MetaCharset, cyrillic},
        {"KOI8-R", false, PageForm::HttpEquiv, cyrillic},
        {"Shift_JIS", false, PageForm::MetaCharset, u"日本語のページ"_s},
        {"EUC-JP", false, PageForm::HttpEquiv, u"日本語のページ"_s},
        {"ISO-2022-JP", false, PageForm::MetaCharset, u"日本語のページ"_s},
        {"ISO-2022-KR", false, PageForm::HttpEquiv, u"한국어 페이지"_s},
        {"HZ-GB-2312", false, PageForm::MetaCharset, u"中文网页"_s},
        {"EUC-KR", false, PageForm::MetaCharset, u"한국어 페이지"_s},
        {"Big5", false, PageForm::HttpEquiv, u"中文網頁"_s},
        {"gb18030", false, PageForm::MetaCharset, u"中文网页"_s},
    };
    // Values no encoding holds all of, with markup characters, and what a stateful encoding
    // must switch back from; the controls a page holds as text (whatever the record keeps of
    // a value is what must come back).
    const QString unencodable = u"日本 € Ω 😀 Åß ü \"q\" <b> & x=y"_s;
    const QString controls = u"tab\there\r\nnext line"_s;
    const QString stateful = u"日€a"_s;

    for (const PageForm& form : forms) {
        SCOPED_TRACE(std::string(form.codec) + (form.bom ? " with a mark" : "") +
                     (form.tail.isEmpty() ? "" : " cut short"));
        const QLatin1String label(form.codec);
        QString declaration;
        if (form.declaration == PageForm::MetaCharset)
            declaration = u"<meta charset=\"%1\">\r\n"_s.arg(label);
        else if (form.declaration == PageForm::HttpEquiv)
            declaration = u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%1\">\r\n"_s.arg(label);
        const QString before = u"<!DOCTYPE html>\r\n<html>\r\n<head>\r\n"_s + declaration + u"<title>"_s + form.body +
                               u"</title>\r\n"_s;
        const QString metas = u"<meta name=\"DC.Title\" content=\"old\">\r\n<meta name=\"DC.Subject\" content=\""_s +
                              form.body + u"\">\r\n"_s;
        const QString after = u"</head>\r\n<body>\r\n<p>"_s + form.body + u"</p>\r\n</body>\r\n</html>\r\n"_s;
        const QByteArray original = bytesOf(before + metas + after, form);
        const QString path = write(u"page.htm"_s, original);

        w.enter(path);
        const platform::TextEncoding read = w.context.page.encoding;
        ASSERT_EQ(read.codec.toUpper(), QString::fromLatin1(form.codec).toUpper());
        EXPECT_EQ(read.bom, form.bom);
        EXPECT_EQ(w.context.record.lines(), MetaReader::readPageRecord(before + metas + after, false));

        Record& record = w.context.record;
        record.set(record.idsNamed(u"DC.Title"_s).value(0), Record::Content, QString());
        record.set(record.idsNamed(u"DC.Subject"_s).value(0), Record::Content, unencodable);
        record.append({u"DC.Description"_s, controls, u"日本"_s, {}});
        record.append({u"DC.Creator"_s, stateful, {}, u"Ω"_s});
        ASSERT_EQ(record.cell(record.idsNamed(u"DC.Subject"_s).value(0), Record::Content), unencodable);
        const MetadataRecord written = record.lines();
        ASSERT_TRUE(saveTo(path));
        const QByteArray saved = readBytes(path);

        // The bytes before the first element the record took and from the head's end tag on are the page's own.
        EXPECT_TRUE(saved.startsWith(bytesOf(before, form, false)));
        const QByteArray kept = original.sliced(bytesOf(before + metas, form, false).size());
        EXPECT_TRUE(saved.endsWith(kept));
        EXPECT_EQ(PageEncoding::decodePage(saved).encoding, read) << saved.left(200).toHex(' ').toStdString();

        w.enter(path);
        EXPECT_EQ(w.context.page.encoding, read);
        EXPECT_TRUE(w.context.page.text.startsWith(before) && w.context.page.text.endsWith(after));
        EXPECT_EQ(valuesOf(w.context.record.lines()), valuesOf(written));
        // Saved again as read, not a byte changes.
        ASSERT_TRUE(saveTo(path));
        EXPECT_EQ(readBytes(path), saved);
    }
}

// A web page with nothing in it, in an encoding whose encoder writes a mark before anything
// else: nothing to read, and nothing goes wrong.
TEST_F(PageEncodingsTest, AnEmptyReplyInAStatefulEncodingIsAnEmptyPage) {
    testing_support::LocalHttpServer server;
    server.server().Get("/empty.htm", [](const httplib::Request&, httplib::Response& r) {
        r.set_content("", "text/html; charset=iso-2022-kr");
    });
    add(u"DC.Title"_s, u"kept"_s);
    w.enter(server.url(u"/empty.htm"_s));
    EXPECT_EQ(w.context.page.text, QString());
    EXPECT_EQ(w.context.record.count(), 1);  // an empty text leaves the record as it was
}

// "日€a" in ISO-2022-JP: the euro sign goes as a reference with the encoder back in ASCII,
// so the title after it (the head the save puts in goes before it) reads as it was.
TEST_F(PageEncodingsTest, ACharacterAStatefulEncodingLacksLeavesTheTextAfterItIntact) {
    const PageForm form{"ISO-2022-JP"};
    const QString after = u"<title>日本語のタイトル</title>\r\n<body>\r\n<p>本文です</p>\r\n</body>\r\n</html>\r\n"_s;
    const QString path = write(u"jp.htm"_s, bytesOf(u"<html>\r\n<meta charset=\"iso-2022-jp\">\r\n"_s + after, form));
    w.enter(path);
    add(u"DC.Title"_s, u"日€a"_s);
    ASSERT_TRUE(saveTo(path));
    const QByteArray saved = readBytes(path);
    EXPECT_TRUE(saved.contains("\x1b$BF|\x1b(B&#8364;a")) << saved.toStdString();
    EXPECT_TRUE(saved.endsWith(bytesOf(after, form)));
    w.enter(path);
    EXPECT_TRUE(w.context.page.text.endsWith(after)) << w.context.page.text;
    EXPECT_EQ(content(1), u"日&#8364;a"_s);
}

// A Windows-1252 page whose first two characters are "þÿ" (the bytes of a UTF-16 mark): an
// edit makes its length even, and it still reads as Windows-1252.
TEST_F(PageEncodingsTest, AMarkOfAnEncodingThePageIsNotInSwitchesNothing) {
    const QByteArray head = "\xFE\xFF<html><head><title>Caf\xe9</title>\r\n";
    const QByteArray tail = "</head><body>\xe9t\xe9 \x93quoted\x94</body></html>\r\n";
    const QByteArray original = head + "<meta name=\"DC.Title\" content=\"xy\">\r\n" + tail;
    ASSERT_EQ(original.size() % 2, 1);
    const QString path = write(u"thorn.htm"_s, original);
    w.enter(path);
    ASSERT_EQ(w.context.page.encoding.codec, u"windows-1252"_s);
    w.context.record.set(line(1), Record::Content, u"xyz"_s);
    ASSERT_TRUE(saveTo(path));
    const QByteArray saved = readBytes(path);
    EXPECT_EQ(saved, head + "<META NAME=\"DC.Title\" CONTENT=\"xyz\">\r\n" + tail);
    EXPECT_EQ(saved.size() % 2, 0);
    w.enter(path);
    EXPECT_EQ(w.context.page.encoding.codec, u"windows-1252"_s);
    EXPECT_TRUE(w.context.page.text.startsWith(u"þÿ<html><head><title>Café</title>"_s));
    ASSERT_EQ(w.context.record.count(), 1);
    EXPECT_EQ(content(1), u"xyz"_s);
}

// Declarations the writer moves (an http-equiv line into a head it puts at the top, a named
// element's charset attribute into the block) or reads otherwise than a browser's scan (a
// ">" inside a quoted value) decide the same before and after a save.
TEST_F(PageEncodingsTest, MalformedDeclarationsReadTheSameBeforeAndAfterASave) {
    const QString cyrillic = u"Привет"_s;
    const struct {
        const char* codec;
        QString page;
    } pages[] = {
        {"windows-1251", u"<html>\r\n<meta charset=\"windows-1251\">\r\n<meta http-equiv=\"Content-Type\" "
                         "content=\"text/html; charset=koi8-r\">\r\n<title>"_s + cyrillic + u"</title>\r\n<body>"_s +
                             cyrillic + u"</body></html>\r\n"_s},
        {"Shift_JIS", u"<html><head>\r\n<meta name=\"DC.Title\" content=\"x\" charset=\"utf-8\">\r\n"
                      "<meta charset=\"shift_jis\">\r\n<title>日本語</title>\r\n</head><body>日本語</body></html>\r\n"_s},
        {"windows-1251", u"<html><head>\r\n<meta name=\"DC.Title\" content=\"a>b\" charset=\"windows-1251\">\r\n"
                         "<title>"_s + cyrillic + u"</title>\r\n</head><body>"_s + cyrillic + u"</body></html>\r\n"_s},
    };
    for (const auto& [codec, page] : pages) {
        SCOPED_TRACE(page.toStdString());
        const QString path = write(u"declared.htm"_s, bytesOf(page, PageForm{codec}));
        w.enter(path);
        const platform::TextEncoding read = w.context.page.encoding;
        const QString text = w.context.page.text;
        w.context.record.append({u"DC.Subject"_s, cyrillic + u" 日本"_s, {}, {}});
        const MetadataRecord written = w.context.record.lines();
        ASSERT_TRUE(saveTo(path));
        w.enter(path);
        EXPECT_EQ(w.context.page.encoding, read);
        EXPECT_TRUE(w.context.page.text.endsWith(text.mid(text.indexOf(u"<body>"_s)))) << w.context.page.text;
        QStringList back = valuesOf(w.context.record.lines());
        QStringList values = valuesOf(written);
        back.sort();
        values.sort();
        EXPECT_EQ(back, values);
    }
}

}  // namespace
