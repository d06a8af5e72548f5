#include "record/modCharEncoding.h"

#include <QByteArray>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;

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

// The functions rewrite their argument: these work on a copy.
QString decoded(QString text) { return decodeHtmlEntities(text); }
QString encoded(QString text) { return encodeHtmlEntities(text); }
QString percentDecoded(QString text) { return decodePercentEscapes(text); }
QString percentEncoded(QString text) { return encodePercentEscapes(text); }

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
    const QString page = u"It"_s + u"\u00E2\u20AC\u2122"_s + u"s "_s +
                         u"\u00E2\u20AC\u02DC"_s + u"quoted"_s +
                         u"\u00E2\u20AC\u201C"_s + u"dash"_s;
    EXPECT_EQ(fixUtf8Quotes(page), u"It's 'quoted-dash"_s);

    const QString real = u"\u2018real\u2019 \u2013 dash \u201Cdouble\u201D"_s;
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
        EXPECT_EQ(decoded(u"&#%1;"_s.arg(int(row.ch))), ch(row.ch));
        const QString hex = QString::number(int(row.ch), 16).toUpper();
        EXPECT_EQ(decoded(u"&#x%1;"_s.arg(hex)), ch(row.ch));
        EXPECT_EQ(decoded(u"&#X%1;"_s.arg(hex.toLower())), ch(row.ch));
        EXPECT_EQ(decoded(u"a"_s + ref(row.name) + u"b"_s),
                  u"a"_s + ch(row.ch) + u"b"_s);
    }
}

TEST(DecodeHtmlEntities, LettersKeepTheirCaseOtherNamesIgnoreIt) {
    EXPECT_EQ(decoded(u"caf&eacute; CAF&Eacute;"_s), u"caf\u00E9 CAF\u00C9"_s);
    EXPECT_EQ(decoded(u"&EACUTE;"_s), u"&EACUTE;"_s);
    EXPECT_EQ(decoded(u"&GT;&Lt;&AMP;&Copy;"_s), u"><&\u00A9"_s);
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
    EXPECT_EQ(decoded(u"&amp;lt;"_s), u"&lt;"_s);
    EXPECT_EQ(decoded(u"&amp;amp;"_s), u"&amp;"_s);
    EXPECT_EQ(decoded(u"&#38;gt;"_s), u"&gt;"_s);
    EXPECT_EQ(decoded(u"&&gt;&"_s), u"&>&"_s);
    EXPECT_EQ(decoded(u"Tom &amp; Jerry &lt;3"_s), u"Tom & Jerry <3"_s);
    QString text = u"a &gt; b"_s;  // the argument is rewritten too
    decodeHtmlEntities(text);
    EXPECT_EQ(text, u"a > b"_s);
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
    EXPECT_EQ(encoded(u"<a href=\"x\">&</a>"_s),
              u"&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;"_s);
    EXPECT_EQ(encoded(u"&amp;"_s), u"&amp;amp;"_s);
    // small letters are written as small letters
    EXPECT_EQ(encoded(u"caf\u00E9 \u00E0 \u00C9"_s), u"caf&eacute; &agrave; &Eacute;"_s);
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
    EXPECT_EQ(percentDecoded(u"%22%26%3C%3E"_s), u"\"&<>"_s);
    EXPECT_EQ(percentDecoded(u"%3c%3e"_s), u"<>"_s);
    for (int code = 123; code <= 255; ++code) {
        SCOPED_TRACE(code);
        const QString upper = u"%"_s + QString::number(code, 16).toUpper();
        const QString lower = u"%"_s + QString::number(code, 16).toLower();
        if (isExcepted(code)) {
            EXPECT_EQ(percentDecoded(upper), upper);
            continue;
        }
        const bool unassigned = code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
        const QString expected = unassigned ? ch(char16_t(code)) : cp1252(code);
        EXPECT_EQ(percentDecoded(upper), expected);
        EXPECT_EQ(percentDecoded(lower), expected);
    }
    EXPECT_EQ(percentDecoded(u"%80"_s), u"\u20AC"_s);
}

TEST(DecodePercentEscapes, OtherEscapesAndBrokenOnesStay) {
    for (const char* text : {"%20", "%25", "%41", "%7A", "%2", "%", "%%", "%G1", "100%"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(percentDecoded(QLatin1String(text)), QLatin1String(text));
    }
    EXPECT_EQ(percentDecoded(u"%%22"_s), u"%\""_s);
    EXPECT_EQ(percentDecoded(u"%2526"_s), u"%2526"_s);
    QString empty;
    EXPECT_EQ(decodePercentEscapes(empty), QString());
}

TEST(EncodePercentEscapes, LineBreaksFixedCharactersAndTheRange) {
    EXPECT_EQ(percentEncoded(u"one\r\ntwo\nthree\rfour"_s), u"one  two three four"_s);
    EXPECT_EQ(percentEncoded(u"\"&<>"_s), u"%22%26%3C%3E"_s);
    EXPECT_EQ(percentEncoded(u"100% of a-z 0-9 !#$'()*+,-./:;=?@[\\]^_`"_s),
              u"100% of a-z 0-9 !#$'()*+,-./:;=?@[\\]^_`"_s);
    for (int code = 123; code <= 255; ++code) {
        SCOPED_TRACE(code);
        const bool unassigned = code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
        const QString character = unassigned ? ch(char16_t(code)) : cp1252(code);
        const QString escape = u"%"_s + QString::number(code, 16).toUpper();
        EXPECT_EQ(percentEncoded(character), isExcepted(code) ? character : escape);
    }
    // Each letter keeps its own code: a small letter is never written as its capital.
    EXPECT_EQ(percentEncoded(u"\u00C8\u00E8\u00E9"_s), u"%C8%E8\u00E9"_s);
    QString empty;
    EXPECT_EQ(encodePercentEscapes(empty), QString());
}

TEST(PercentEscapes, TypedTextSurvivesEncodeThenDecodeButLineBreaksBecomeBlanks) {
    const QString typed = QStringView(u"{x} | \"a\" & <b> \u20AC5 \u00FCber \u00E9t\u00E9").toString();
    QString text = typed;
    encodePercentEscapes(text);
    EXPECT_EQ(decodePercentEscapes(text), typed);

    QString twoLines = u"a\r\nb"_s;
    encodePercentEscapes(twoLines);
    EXPECT_EQ(decodePercentEscapes(twoLines), u"a  b"_s);

    QString typedEscape = u"say %22hi%22"_s;
    EXPECT_EQ(decodePercentEscapes(typedEscape), u"say \"hi\""_s);
}

TEST(ContentEncodingPreference, ChoosesThePairOrNone) {
    const QString typed = u"Cats & <dogs>"_s;
    EXPECT_EQ(encodeContent(typed, u"0"_s), typed);
    EXPECT_EQ(encodeContent(typed, u"1"_s), u"Cats %26 %3Cdogs%3E"_s);
    EXPECT_EQ(encodeContent(typed, u"2"_s), u"Cats &amp; &lt;dogs&gt;"_s);
    EXPECT_EQ(encodeContent(typed, u"3"_s), typed);
    EXPECT_EQ(encodeContent(typed, QString()), typed);

    EXPECT_EQ(decodeContent(u"Cats &amp; %26"_s, u"2"_s), u"Cats & %26"_s);
    EXPECT_EQ(decodeContent(u"Cats &amp; %26"_s, u"1"_s), u"Cats &amp; &"_s);
    EXPECT_EQ(decodeContent(u"Cats &amp; %26"_s, u"0"_s), u"Cats &amp; %26"_s);
    for (const char* mode : {"0", "1", "2"})
        EXPECT_EQ(decodeContent(encodeContent(typed, QLatin1String(mode)), QLatin1String(mode)), typed) << mode;
}
