#include "core/record/modCharEncoding.h"
#include "support/Common.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace modCharEncoding;

namespace {

// The functions rewrite their argument: these work on a copy.
QString decoded(QString text) { return decodeHtmlEntities(text); }
QString encoded(QString text) { return encodeHtmlEntities(text); }
QString percentDecoded(QString text) { return decodePercentEscapes(text); }
QString percentEncoded(QString text) { return encodePercentEscapes(text); }

}  // namespace

TEST(FixUtf8Quotes, RepairsTheThreeMisreadMarksAndNothingElse) {
    EXPECT_EQ(fixUtf8Quotes(u"It\u00E2\u20AC\u2122s \u00E2\u20AC\u02DCq\u00E2\u20AC\u201C \u2018\u2019\u2013\u201C"_s),
              u"It's 'q- \u2018\u2019\u2013\u201C"_s);
}

TEST(HtmlEntities, DecodesNamedDecimalAndHexFormsOfTheTableOnly) {
    const std::pair<const char*, QString> cases[] = {
        {"&gt;&#60;&#x27;&#X22;&#xa9;", u"><'\"\u00A9"_s},
        {"caf&eacute; CAF&Eacute; &ouml;&frac12;", u"caf\u00E9 CAF\u00C9 \u00F6\u00BD"_s},
        {"&GT;&Lt;&AMP;&Copy; &EACUTE;", u"><&\u00A9 &EACUTE;"_s},  // only letters keep their case
        {"&amp;lt; &amp;amp; &#38;gt; &&gt;&", u"&lt; &amp; &gt; &>&"_s},  // "&" last and once
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(decoded(QLatin1String(text)), expected) << text;
    for (const char* text : {"&Aring;", "&not;", "&nbsp;", "&#062;", "&#x03E;", "&unknown;",
                             "& gt;", "&gt", "&#;", "&#x;", "&#99999999;"})
        EXPECT_EQ(decoded(QLatin1String(text)), QLatin1String(text));
}

// The references the page writer writes for what a page's encoding lacks, and for an "="
// that would read wrong, come back as the characters: a value read back is the value written.
TEST(HtmlEntities, DecodesTheReferenceOfAnyCharacterButAControl) {
    const std::pair<const char*, QString> cases[] = {
        {"&#26085;&#26412; &#x65E5;&#x672c;", u"日本 日本"_s},
        {"&#128512; &#x1F600;", QString::fromUcs4(U"\U0001F600 \U0001F600")},
        {"&#197;sa &#208; &#252; &#8364; &#160;", u"\u00C5sa \u00D0 \u00FC \u20AC \u00A0"_s},
        {"a&#61;b &#92; &#65;", u"a=b \\ A"_s},
        {"&amp;#26085; &#38;#26085;", u"&#26085; &#26085;"_s},  // a decoded "&" starts nothing
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(decoded(QLatin1String(text)), expected) << text;
    // Controls, surrogates and what is past Unicode's last character stay as they are.
    for (const char* text : {"&#1;", "&#27;", "&#127;", "&#133;", "&#x9F;", "&#55296;", "&#xDFFF;", "&#1114112;",
                             "&#x110000;", "&#12345678;", "&#0;"})
        EXPECT_EQ(decoded(QLatin1String(text)), QLatin1String(text));
}

TEST(HtmlEntities, EncodesItsSubsetAmpersandFirstAndSurvivesDecoding) {
    EXPECT_EQ(encoded(u"<a href=\"x\">&amp;</a>"_s), u"&lt;a href=&quot;x&quot;&gt;&amp;amp;&lt;/a&gt;"_s);
    EXPECT_EQ(encoded(u"caf\u00E9 \u00E0 \u00C9 \u00A9"_s), u"caf&eacute; &agrave; &Eacute; &copy;"_s);
    const QString never = u"'\u00B6\u00AC\u00C5\u00C6\u00CE\u00D6\u00E6\u00F6\u00FF%\u4E2D"_s;
    EXPECT_EQ(encoded(never), never);
    const QString typed = u"R\u00E9sum\u00E9 \u00A9 <b> \"Tom\" & Jerry's \u00C0 la carte \u00BD"_s;
    EXPECT_EQ(decoded(encoded(typed)), typed);
}

TEST(PercentEscapes, TheFixedEscapesAndTheWindows1252RangeExceptNineCodes) {
    // "{", the euro sign, either case of hex digits, an unassigned code standing for itself
    EXPECT_EQ(percentDecoded(u"%22%26%3C%3e%7B%80%e8%E8%8D%FF"_s), u"\"&<>{\u20AC\u00E8\u00E8\u008D\u00FF"_s);
    for (const char* text : {"%E6", "%e9", "%A0", "%9C", "%20", "%41", "%7A", "%2", "%", "%%", "%G1", "%2526"})
        EXPECT_EQ(percentDecoded(QLatin1String(text)), QLatin1String(text));
    EXPECT_EQ(percentDecoded(u"%%22"_s), u"%\""_s);
    EXPECT_EQ(percentEncoded(u"one\r\ntwo\nthree\rfour"_s), u"one  two three four"_s);
    const QString ascii = u"100% of a-z 0-9 !#$'()*+,-./:;=?@[\\]^_`"_s;
    EXPECT_EQ(percentEncoded(ascii), ascii);
    // each letter keeps its own code; the e-acute and ae are among the nine
    EXPECT_EQ(percentEncoded(u"\"&<>{~\u20AC\u008D\u00C8\u00E8\u00E9\u00E6"_s),
              u"%22%26%3C%3E%7B%7E%80%8D%C8%E8\u00E9\u00E6"_s);
    const QString typed = u"{x} | \"a\" & <b> \u20AC5 \u00FCber \u00E9t\u00E9 say %22hi"_s;
    EXPECT_EQ(percentDecoded(percentEncoded(typed)), u"{x} | \"a\" & <b> \u20AC5 \u00FCber \u00E9t\u00E9 say \"hi"_s);
}

TEST(ContentEncodingPreference, ChoosesThePairOrNone) {
    const QString typed = u"Cats & <dogs>"_s, stored = u"Cats &amp; %26"_s;
    const std::tuple<QString, QString, QString> modes[] = {{u"1"_s, u"Cats %26 %3Cdogs%3E"_s, u"Cats &amp; &"_s},
                                                           {u"2"_s, u"Cats &amp; &lt;dogs&gt;"_s, u"Cats & %26"_s},
                                                           {u"0"_s, typed, stored}, {u"3"_s, typed, stored}};
    for (const auto& [mode, encoded, decoded] : modes) {
        EXPECT_EQ(encodeContent(typed, mode), encoded) << mode;
        EXPECT_EQ(decodeContent(stored, mode), decoded) << mode;
    }
}
