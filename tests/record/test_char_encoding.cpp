#include "record/modCharEncoding.h"

#include <QByteArray>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <vector>

using namespace modCharEncoding;

namespace {

struct Named {
    const char* name;
    char16_t ch;
};

// Every character decodeHtmlEntities knows, with its reference name.
const std::vector<Named>& decodedRows() {
    static const std::vector<Named> rows = {
        {"gt", 62}, {"lt", 60}, {"apos", 39}, {"quot", 34},
        {"iexcl", 0xA1}, {"cent", 0xA2}, {"pound", 0xA3}, {"curren", 0xA4}, {"yen", 0xA5},
        {"brvbar", 0xA6}, {"sect", 0xA7}, {"uml", 0xA8}, {"copy", 0xA9}, {"ordf", 0xAA},
        {"laquo", 0xAB}, {"shy", 0xAD}, {"reg", 0xAE}, {"macr", 0xAF}, {"deg", 0xB0},
        {"plusmn", 0xB1}, {"sup2", 0xB2}, {"sup3", 0xB3}, {"acute", 0xB4}, {"micro", 0xB5},
        {"para", 0xB6}, {"middot", 0xB7}, {"cedil", 0xB8}, {"sup1", 0xB9}, {"ordm", 0xBA},
        {"raquo", 0xBB}, {"frac14", 0xBC}, {"frac12", 0xBD}, {"frac34", 0xBE}, {"iquest", 0xBF},
        {"Agrave", 0xC0}, {"Aacute", 0xC1}, {"Acirc", 0xC2}, {"Atilde", 0xC3}, {"Auml", 0xC4},
        {"AElig", 0xC6}, {"Ccedil", 0xC7}, {"Egrave", 0xC8}, {"Eacute", 0xC9}, {"Ecirc", 0xCA},
        {"Euml", 0xCB}, {"Igrave", 0xCC}, {"Iacute", 0xCD}, {"Icirc", 0xCE}, {"Iuml", 0xCF},
        {"Ntilde", 0xD1}, {"Ograve", 0xD2}, {"Oacute", 0xD3}, {"Ocirc", 0xD4}, {"Otilde", 0xD5},
        {"Ouml", 0xD6}, {"amp", 38},
        // the small letters of the capitals above
        {"agrave", 0xE0}, {"aacute", 0xE1}, {"acirc", 0xE2}, {"atilde", 0xE3}, {"auml", 0xE4},
        {"aelig", 0xE6}, {"ccedil", 0xE7}, {"egrave", 0xE8}, {"eacute", 0xE9}, {"ecirc", 0xEA},
        {"euml", 0xEB}, {"igrave", 0xEC}, {"iacute", 0xED}, {"icirc", 0xEE}, {"iuml", 0xEF},
        {"ntilde", 0xF1}, {"ograve", 0xF2}, {"oacute", 0xF3}, {"ocirc", 0xF4}, {"otilde", 0xF5},
        {"ouml", 0xF6},
    };
    return rows;
}

// The rows encodeHtmlEntities writes: "&", "<", ">", the double quote, U+00A1..U+00BF but
// U+00AC and U+00B6, U+00C0..U+00C4, U+00C7..U+00CD and their small letters.
bool isEncodedRow(char16_t c) {
    if (c == '&' || c == '<' || c == '>' || c == '"') return true;
    if (c >= 0xA1 && c <= 0xBF) return c != 0xAC && c != 0xB6;
    const char16_t capital = c >= 0xE0 ? c - 0x20 : c;
    return (capital >= 0xC0 && capital <= 0xC4) || (capital >= 0xC7 && capital <= 0xCD);
}

QString ch(char16_t c) { return QString(QChar(c)); }
QString ref(const char* name) { return QLatin1Char('&') + QLatin1String(name) + QLatin1Char(';'); }

QString decoded(const QString& text) {
    QString t = text;
    return decodeHtmlEntities(t);
}
QString encoded(const QString& text) {
    QString t = text;
    return encodeHtmlEntities(t);
}
QString percentDecoded(const QString& text) {
    QString t = text;
    return decodePercentEscapes(t);
}
QString percentEncoded(const QString& text) {
    QString t = text;
    return encodePercentEscapes(t);
}

const int kNotEscaped[] = {140, 156, 160, 198, 222, 223, 230, 233, 254};
bool isExcepted(int code) {
    for (int c : kNotEscaped)
        if (c == code) return true;
    return false;
}

// The character of a Windows-1252 code, from Qt's own codec (the oracle for the tables).
QString cp1252(int code) {
    QStringDecoder decoder("windows-1252");
    const QByteArray byte(1, char(code));
    return decoder(byte);
}

}  // namespace

TEST(FixUtf8Quotes, RepairsTheThreeMisreadMarksAndNothingElse) {
    const QString page = QStringLiteral("It") + QStringView(u"\u00E2\u20AC\u2122").toString() + QStringLiteral("s ") +
                         QStringView(u"\u00E2\u20AC\u02DC").toString() + QStringLiteral("quoted") +
                         QStringView(u"\u00E2\u20AC\u201C").toString() + QStringLiteral("dash");
    EXPECT_EQ(fixUtf8Quotes(page), QStringLiteral("It's 'quoted-dash"));

    const QString real = QStringView(u"\u2018real\u2019 \u2013 dash \u201Cdouble\u201D").toString();
    EXPECT_EQ(fixUtf8Quotes(real), real);
    const QString original = page;
    fixUtf8Quotes(page);
    EXPECT_EQ(page, original);  // the argument is left alone
    EXPECT_EQ(fixUtf8Quotes(QString()), QString());
}

TEST(DecodeHtmlEntities, EveryRowInItsNamedDecimalAndHexForms) {
    for (const Named& row : decodedRows()) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(decoded(ref(row.name)), ch(row.ch));
        EXPECT_EQ(decoded(QStringLiteral("&#%1;").arg(int(row.ch))), ch(row.ch));
        const QString hex = QString::number(int(row.ch), 16).toUpper();
        EXPECT_EQ(decoded(QStringLiteral("&#x%1;").arg(hex)), ch(row.ch));
        EXPECT_EQ(decoded(QStringLiteral("&#X%1;").arg(hex.toLower())), ch(row.ch));
        EXPECT_EQ(decoded(QStringLiteral("a") + ref(row.name) + QStringLiteral("b")),
                  QStringLiteral("a") + ch(row.ch) + QStringLiteral("b"));
    }
}

TEST(DecodeHtmlEntities, LettersKeepTheirCaseOtherNamesIgnoreIt) {
    EXPECT_EQ(decoded(QStringLiteral("caf&eacute; CAF&Eacute;")), QStringView(u"caf\u00E9 CAF\u00C9").toString());
    EXPECT_EQ(decoded(QStringLiteral("&EACUTE;")), QStringLiteral("&EACUTE;"));
    EXPECT_EQ(decoded(QStringLiteral("&GT;&Lt;&AMP;&Copy;")), QStringView(u"><&\u00A9").toString());
}

TEST(DecodeHtmlEntities, CharactersOutsideTheTableStay) {
    for (const char* text : {"&Aring;", "&#197;", "&#xC5;", "&not;", "&#172;", "&ETH;", "&#208;",
                             "&times;", "&#215;", "&#xD7;", "&nbsp;", "&#160;", "&#062;", "&#x03E;",
                             "&#65;", "&unknown;", "& gt;", "&gt", "&#;", "&#x;", "&#99999999;"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(decoded(QLatin1String(text)), QLatin1String(text));
    }
}

TEST(DecodeHtmlEntities, AmpersandIsDecodedLastAndOnlyOnce) {
    EXPECT_EQ(decoded(QStringLiteral("&amp;lt;")), QStringLiteral("&lt;"));
    EXPECT_EQ(decoded(QStringLiteral("&amp;amp;")), QStringLiteral("&amp;"));
    EXPECT_EQ(decoded(QStringLiteral("&#38;gt;")), QStringLiteral("&gt;"));
    EXPECT_EQ(decoded(QStringLiteral("&&gt;&")), QStringLiteral("&>&"));
    EXPECT_EQ(decoded(QStringLiteral("Tom &amp; Jerry &lt;3")), QStringLiteral("Tom & Jerry <3"));
}

TEST(DecodeHtmlEntities, RewritesItsArgumentAndReturnsIt) {
    QString text = QStringLiteral("a &gt; b");
    const QString result = decodeHtmlEntities(text);
    EXPECT_EQ(text, QStringLiteral("a > b"));
    EXPECT_EQ(result, text);
    QString empty;
    EXPECT_EQ(decodeHtmlEntities(empty), QString());
}

TEST(EncodeHtmlEntities, EveryRowAndNothingElse) {
    int written = 0;
    for (const Named& row : decodedRows()) {
        SCOPED_TRACE(row.name);
        if (!isEncodedRow(row.ch)) continue;
        EXPECT_EQ(encoded(ch(row.ch)), ref(row.name));
        ++written;
    }
    EXPECT_EQ(written, 44 + 1 + 12);  // the table's rows, and the small letters of its capitals
    // decoded but never encoded, or neither
    for (char16_t c : {char16_t(0xB6), char16_t('\''), char16_t(0xC5), char16_t(0xC6), char16_t(0xCE),
                       char16_t(0xD0), char16_t(0xD6), char16_t(0xAC), char16_t(0xD7), char16_t(0xE5),
                       char16_t(0xE6), char16_t(0xF6), char16_t(0xFF), char16_t('%'), char16_t(0x4E2D)}) {
        SCOPED_TRACE(int(c));
        EXPECT_EQ(encoded(ch(c)), ch(c));
    }
}

TEST(EncodeHtmlEntities, AmpersandFirstSoReferencesAreNotEscapedTwice) {
    EXPECT_EQ(encoded(QStringLiteral("<a href=\"x\">&</a>")),
              QStringLiteral("&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;"));
    EXPECT_EQ(encoded(QStringLiteral("&amp;")), QStringLiteral("&amp;amp;"));
    // small letters are written as small letters
    EXPECT_EQ(encoded(QStringView(u"caf\u00E9 \u00E0 \u00C9").toString()), QStringLiteral("caf&eacute; &agrave; &Eacute;"));
    QString empty;
    EXPECT_EQ(encodeHtmlEntities(empty), QString());
}

TEST(HtmlEntities, TypedTextSurvivesEncodeThenDecode) {
    const QString typed = QStringView(u"R\u00E9sum\u00E9 \u00A9 2004 <b> \"Tom\" & Jerry's \u00C0 la carte \u00BD").toString();
    QString text = typed;
    encodeHtmlEntities(text);
    EXPECT_EQ(decodeHtmlEntities(text), typed);
}

TEST(DecodePercentEscapes, FixedEscapesAndEveryCodeOfTheRange) {
    EXPECT_EQ(percentDecoded(QStringLiteral("%22%26%3C%3E")), QStringLiteral("\"&<>"));
    EXPECT_EQ(percentDecoded(QStringLiteral("%3c%3e")), QStringLiteral("<>"));
    for (int code = 123; code <= 255; ++code) {
        SCOPED_TRACE(code);
        const QString upper = QStringLiteral("%") + QString::number(code, 16).toUpper();
        const QString lower = QStringLiteral("%") + QString::number(code, 16).toLower();
        if (isExcepted(code)) {
            EXPECT_EQ(percentDecoded(upper), upper);
            continue;
        }
        const bool unassigned = code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
        const QString expected = unassigned ? ch(char16_t(code)) : cp1252(code);
        EXPECT_EQ(percentDecoded(upper), expected);
        EXPECT_EQ(percentDecoded(lower), expected);
    }
    EXPECT_EQ(percentDecoded(QStringLiteral("%80")), QStringView(u"\u20AC").toString());
}

TEST(DecodePercentEscapes, OtherEscapesAndBrokenOnesStay) {
    for (const char* text : {"%20", "%25", "%41", "%7A", "%2", "%", "%%", "%G1", "100%"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(percentDecoded(QLatin1String(text)), QLatin1String(text));
    }
    EXPECT_EQ(percentDecoded(QStringLiteral("%%22")), QStringLiteral("%\""));
    EXPECT_EQ(percentDecoded(QStringLiteral("%2526")), QStringLiteral("%2526"));
    QString empty;
    EXPECT_EQ(decodePercentEscapes(empty), QString());
}

TEST(EncodePercentEscapes, LineBreaksFixedCharactersAndTheRange) {
    EXPECT_EQ(percentEncoded(QStringLiteral("one\r\ntwo\nthree\rfour")), QStringLiteral("one  two three four"));
    EXPECT_EQ(percentEncoded(QStringLiteral("\"&<>")), QStringLiteral("%22%26%3C%3E"));
    EXPECT_EQ(percentEncoded(QStringLiteral("100% of a-z 0-9 !#$'()*+,-./:;=?@[\\]^_`")),
              QStringLiteral("100% of a-z 0-9 !#$'()*+,-./:;=?@[\\]^_`"));
    for (int code = 123; code <= 255; ++code) {
        SCOPED_TRACE(code);
        const bool unassigned = code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
        const QString character = unassigned ? ch(char16_t(code)) : cp1252(code);
        const QString escape = QStringLiteral("%") + QString::number(code, 16).toUpper();
        EXPECT_EQ(percentEncoded(character), isExcepted(code) ? character : escape);
    }
    // Each letter keeps its own code: a small letter is never written as its capital.
    EXPECT_EQ(percentEncoded(QStringView(u"\u00C8\u00E8\u00E9").toString()), QStringView(u"%C8%E8\u00E9").toString());
    QString empty;
    EXPECT_EQ(encodePercentEscapes(empty), QString());
}

TEST(PercentEscapes, TypedTextSurvivesEncodeThenDecodeButLineBreaksBecomeBlanks) {
    const QString typed = QStringView(u"{x} | \"a\" & <b> \u20AC5 \u00FCber \u00E9t\u00E9").toString();
    QString text = typed;
    encodePercentEscapes(text);
    EXPECT_EQ(decodePercentEscapes(text), typed);

    QString twoLines = QStringLiteral("a\r\nb");
    encodePercentEscapes(twoLines);
    EXPECT_EQ(decodePercentEscapes(twoLines), QStringLiteral("a  b"));

    QString typedEscape = QStringLiteral("say %22hi%22");
    EXPECT_EQ(decodePercentEscapes(typedEscape), QStringLiteral("say \"hi\""));
}

TEST(ContentEncodingPreference, ChoosesThePairOrNone) {
    const QString typed = QStringLiteral("Cats & <dogs>");
    EXPECT_EQ(encodeContent(typed, QStringLiteral("0")), typed);
    EXPECT_EQ(encodeContent(typed, QStringLiteral("1")), QStringLiteral("Cats %26 %3Cdogs%3E"));
    EXPECT_EQ(encodeContent(typed, QStringLiteral("2")), QStringLiteral("Cats &amp; &lt;dogs&gt;"));
    EXPECT_EQ(encodeContent(typed, QStringLiteral("3")), typed);
    EXPECT_EQ(encodeContent(typed, QString()), typed);

    EXPECT_EQ(decodeContent(QStringLiteral("Cats &amp; %26"), QStringLiteral("2")), QStringLiteral("Cats & %26"));
    EXPECT_EQ(decodeContent(QStringLiteral("Cats &amp; %26"), QStringLiteral("1")), QStringLiteral("Cats &amp; &"));
    EXPECT_EQ(decodeContent(QStringLiteral("Cats &amp; %26"), QStringLiteral("0")), QStringLiteral("Cats &amp; %26"));
    for (const char* mode : {"0", "1", "2"})
        EXPECT_EQ(decodeContent(encodeContent(typed, QLatin1String(mode)), QLatin1String(mode)), typed) << mode;
}
