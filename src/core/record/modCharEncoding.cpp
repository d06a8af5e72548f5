#include "core/record/modCharEncoding.h"

#include <QStringView>

#include <algorithm>
#include <array>

namespace modCharEncoding {

namespace {

struct NamedChar {
    const char16_t* name;
    char16_t ch;
};

// Names whose case means nothing: matched ignoring case.
constexpr NamedChar kSignNames[] = {
    {u"gt", 62},        {u"lt", 60},      {u"apos", 39},    {u"quot", 34},    {u"amp", 38},
    {u"iexcl", 0xA1},   {u"cent", 0xA2},  {u"pound", 0xA3}, {u"curren", 0xA4}, {u"yen", 0xA5},
    {u"brvbar", 0xA6},  {u"sect", 0xA7},  {u"uml", 0xA8},   {u"copy", 0xA9},  {u"ordf", 0xAA},
    {u"laquo", 0xAB},   {u"shy", 0xAD},   {u"reg", 0xAE},   {u"macr", 0xAF},  {u"deg", 0xB0},
    {u"plusmn", 0xB1},  {u"sup2", 0xB2},  {u"sup3", 0xB3},  {u"acute", 0xB4}, {u"micro", 0xB5},
    {u"para", 0xB6},    {u"middot", 0xB7}, {u"cedil", 0xB8}, {u"sup1", 0xB9},  {u"ordm", 0xBA},
    {u"raquo", 0xBB},   {u"frac14", 0xBC}, {u"frac12", 0xBD}, {u"frac34", 0xBE}, {u"iquest", 0xBF},
};

// Letter names: matched in their own case, so a small letter never turns into a capital.
constexpr NamedChar kLetterNames[] = {
    {u"Agrave", 0xC0}, {u"Aacute", 0xC1}, {u"Acirc", 0xC2},  {u"Atilde", 0xC3}, {u"Auml", 0xC4},
    {u"AElig", 0xC6},  {u"Ccedil", 0xC7}, {u"Egrave", 0xC8}, {u"Eacute", 0xC9}, {u"Ecirc", 0xCA},
    {u"Euml", 0xCB},   {u"Igrave", 0xCC}, {u"Iacute", 0xCD}, {u"Icirc", 0xCE},  {u"Iuml", 0xCF},
    {u"Ntilde", 0xD1}, {u"Ograve", 0xD2}, {u"Oacute", 0xD3}, {u"Ocirc", 0xD4},  {u"Otilde", 0xD5},
    {u"Ouml", 0xD6},
    {u"agrave", 0xE0}, {u"aacute", 0xE1}, {u"acirc", 0xE2},  {u"atilde", 0xE3}, {u"auml", 0xE4},
    {u"aelig", 0xE6},  {u"ccedil", 0xE7}, {u"egrave", 0xE8}, {u"eacute", 0xE9}, {u"ecirc", 0xEA},
    {u"euml", 0xEB},   {u"igrave", 0xEC}, {u"iacute", 0xED}, {u"icirc", 0xEE},  {u"iuml", 0xEF},
    {u"ntilde", 0xF1}, {u"ograve", 0xF2}, {u"oacute", 0xF3}, {u"ocirc", 0xF4},  {u"otilde", 0xF5},
    {u"ouml", 0xF6},
};

constexpr qsizetype kLongestBody = 8;  // "#1114111", the longest reference of a character

// The reference encodeHtmlEntities writes for each Latin-1 code, or nullptr.
struct EncodeTable {
    std::array<const char16_t*, 256> name{};
};
EncodeTable makeEncodeTable() {
    EncodeTable t;
    t.name['&'] = u"&amp;";
    t.name['<'] = u"&lt;";
    t.name['>'] = u"&gt;";
    t.name['"'] = u"&quot;";
    static const char16_t* const signs[] = {
        u"&iexcl;", u"&cent;", u"&pound;", u"&curren;", u"&yen;", u"&brvbar;", u"&sect;",
        u"&uml;", u"&copy;", u"&ordf;", u"&laquo;", nullptr /* not */, u"&shy;", u"&reg;",
        u"&macr;", u"&deg;", u"&plusmn;", u"&sup2;", u"&sup3;", u"&acute;", u"&micro;",
        nullptr /* pilcrow */, u"&middot;", u"&cedil;", u"&sup1;", u"&ordm;", u"&raquo;",
        u"&frac14;", u"&frac12;", u"&frac34;", u"&iquest;"};
    for (int i = 0; i < 31; ++i) t.name[0xA1 + i] = signs[i];
    static const char16_t* const capitals[] = {
        u"&Agrave;", u"&Aacute;", u"&Acirc;", u"&Atilde;", u"&Auml;", nullptr, nullptr,
        u"&Ccedil;", u"&Egrave;", u"&Eacute;", u"&Ecirc;", u"&Euml;", u"&Igrave;", u"&Iacute;"};
    static const char16_t* const smalls[] = {
        u"&agrave;", u"&aacute;", u"&acirc;", u"&atilde;", u"&auml;", nullptr, nullptr,
        u"&ccedil;", u"&egrave;", u"&eacute;", u"&ecirc;", u"&euml;", u"&igrave;", u"&iacute;"};
    for (int i = 0; i < 14; ++i) {
        t.name[0xC0 + i] = capitals[i];
        t.name[0xE0 + i] = smalls[i];
    }
    return t;
}

// Windows-1252 codes 128..159; the five unassigned codes stand for themselves.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t cp1252ToUnicode(int code) {
    return (code >= 0x80 && code < 0xA0) ? kCp1252High[code - 0x80] : char16_t(code);
}

bool isPercentCode(int code) {
    if (code == 0x22 || code == 0x26 || code == 0x3C || code == 0x3E) return true;
    if (code < 123 || code > 255) return false;
    switch (code) {
    case 140: case 156: case 160: case 198: case 222: case 223: case 230: case 233: case 254:
        return false;
    default:
        return true;
    }
}

// The Windows-1252 code encodePercentEscapes writes for a character, or -1.
int percentCodeOf(char16_t ch) {
    int code = -1;
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        code = ch;
    } else {
        for (int i = 0; i < 32; ++i)
            if (kCp1252High[i] == ch) {
                code = 0x80 + i;
                break;
            }
    }
    return (code >= 0 && isPercentCode(code)) ? code : -1;
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

void appendHex2(QString& out, int code) {
    static const char digits[] = "0123456789ABCDEF";
    out += QLatin1Char('%');
    out += QLatin1Char(digits[code >> 4]);
    out += QLatin1Char(digits[code & 15]);
}

// The character a reference "&" name ";" stands for, or 0 when it is none of ours.
// `body` is the text between "&" and ";".
char32_t referenceChar(QStringView body) {
    if (body.isEmpty()) return 0;
    if (body.front() == QLatin1Char('#')) {
        QStringView digits = body.mid(1);
        int base = 10;
        if (!digits.isEmpty() && (digits.front() == QLatin1Char('x') || digits.front() == QLatin1Char('X'))) {
            base = 16;
            digits = digits.mid(1);
        }
        // Only the shortest form counts ("&#62;", "&#x3E;"), as written by the usual encoders.
        if (digits.isEmpty() || digits.size() > 7 || digits.front() == QLatin1Char('0')) return 0;
        char32_t code = 0;
        for (QChar c : digits) {
            const int v = base == 16 ? hexValue(c) : (c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : -1);
            if (v < 0) return 0;
            code = code * base + v;
        }
        // Any character's: the table's, and those the page writer writes ("=" where a value
        // would read wrong, a character the page's encoding lacks, even "\\" in some).
        // Controls and surrogates are no characters of a value.
        const bool control = code < 0x20 || (code >= 0x7F && code < 0xA0);
        if (control || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
        return code;
    }
    for (const auto& n : kLetterNames)
        if (body == QStringView(n.name)) return n.ch;
    for (const auto& n : kSignNames)
        if (body.compare(QStringView(n.name), Qt::CaseInsensitive) == 0) return n.ch;
    return 0;
}

// A run of the text a decoder turns into one character: the character (0 for none) and
// how many characters the run takes.
struct Run {
    char32_t ch = 0;
    qsizetype length = 0;
};

// Replaces, in one scan, each run starting at `marker` that `decodeAt` turns into a character;
// the rest is copied as it stands and a replaced run is never read again. (QString::replace
// would move the rest of the text again and again, which grows with the square of a long
// page full of matches.)
template <class DecodeAt>
QString replaceRuns(const QString& text, QChar marker, DecodeAt decodeAt) {
    const qsizetype n = text.size();
    qsizetype at = text.indexOf(marker);
    if (at < 0) return text;
    QString out;
    out.reserve(n);
    qsizetype copied = 0;
    while (at >= 0) {
        qsizetype next = at + 1;
        const Run run = decodeAt(at);
        if (run.ch) {
            out += QStringView(text).mid(copied, at - copied);
            if (QChar::requiresSurrogates(run.ch)) {
                out += QChar(QChar::highSurrogate(run.ch));
                out += QChar(QChar::lowSurrogate(run.ch));
            } else {
                out += QChar(char16_t(run.ch));
            }
            copied = next = at + run.length;
        }
        at = next < n ? text.indexOf(marker, next) : -1;
    }
    out += QStringView(text).mid(copied);
    return out;
}

}  // namespace

QString fixUtf8Quotes(const QString& text) {
    const qsizetype n = text.size();
    return replaceRuns(text, QChar(0x00E2), [&](qsizetype at) {
        if (at + 2 < n && text.at(at + 1).unicode() == 0x20AC) {
            const char16_t third = text.at(at + 2).unicode();
            return Run{third == 0x2122 || third == 0x02DC ? u'\'' : third == 0x201C ? u'-' : char16_t(0), 3};
        }
        return Run{};
    });
}

QString decodeHtmlEntities(const QString& text) {
    const qsizetype n = text.size();
    // The decoded "&" is never read again, which gives the same text as replacing the
    // ampersand's own references last.
    return replaceRuns(text, QLatin1Char('&'), [&](qsizetype amp) {
        const qsizetype limit = std::min(n, amp + 1 + kLongestBody + 1);
        for (qsizetype i = amp + 1; i < limit; ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char(';')) return Run{referenceChar(QStringView(text).mid(amp + 1, i - amp - 1)), i + 1 - amp};
            if (c == QLatin1Char('&')) break;
        }
        return Run{};
    });
}

QString encodeHtmlEntities(const QString& text) {
    static const EncodeTable table = makeEncodeTable();
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (QChar c : std::as_const(text)) {
        const char16_t u = c.unicode();
        const char16_t* name = u < 256 ? table.name[u] : nullptr;
        if (name)
            out += QStringView(name);
        else
            out += c;
    }
    return out;
}

QString decodePercentEscapes(const QString& text) {
    const qsizetype n = text.size();
    return replaceRuns(text, QLatin1Char('%'), [&](qsizetype pct) {
        if (pct + 2 < n) {
            const int hi = hexValue(text.at(pct + 1));
            const int lo = hexValue(text.at(pct + 2));
            if (hi >= 0 && lo >= 0 && isPercentCode(hi * 16 + lo)) return Run{cp1252ToUnicode(hi * 16 + lo), 3};
        }
        return Run{};
    });
}

QString encodePercentEscapes(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (QChar c : std::as_const(text)) {
        const char16_t u = c.unicode();
        if (u == '\r' || u == '\n') {
            out += QLatin1Char(' ');
            continue;
        }
        const int code = percentCodeOf(u);
        if (code >= 0)
            appendHex2(out, code);
        else
            out += c;
    }
    return out;
}

QString encodeContent(const QString& typed, const QString& charEncoding) {
    if (charEncoding == QLatin1String("1")) return encodePercentEscapes(typed);
    if (charEncoding == QLatin1String("2")) return encodeHtmlEntities(typed);
    return typed;
}

QString decodeContent(const QString& stored, const QString& charEncoding) {
    if (charEncoding == QLatin1String("1")) return decodePercentEscapes(stored);
    if (charEncoding == QLatin1String("2")) return decodeHtmlEntities(stored);
    return stored;
}

}  // namespace modCharEncoding
