#include "support/HtmlLinks.h"

#include <QHash>

#include <algorithm>

namespace platform {

namespace {

bool isHtmlSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f';
}

bool isAsciiAlnum(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
}

// Runs of blanks become one space; none at either end (as a link's text is shown).
QString collapseSpaces(const QString& text) {
    QString result;
    result.reserve(text.size());
    bool pendingSpace = false;
    for (const QChar c : text) {
        if (isHtmlSpace(c)) {
            pendingSpace = !result.isEmpty();
            continue;
        }
        if (pendingSpace) result += QLatin1Char(' ');
        pendingSpace = false;
        result += c;
    }
    return result;
}

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= '0' && u <= '9') value = u - '0';
    else if (u >= 'a' && u <= 'z') value = u - 'a' + 10;
    else if (u >= 'A' && u <= 'Z') value = u - 'A' + 10;
    return value < base ? value : -1;
}

void appendCodePoint(QString& out, qint64 code) {
    if (code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        out += QChar(0xFFFD);
        return;
    }
    const char32_t value = char32_t(code);
    out += QString::fromUcs4(&value, 1);
}

using Attributes = QHash<QString, QString>;

// Reads the attributes of a tag from p (just after its name) up to and past its ">".
// Returns the position after the tag.
qsizetype readAttributes(const QString& html, qsizetype p, Attributes& attributes) {
    const qsizetype n = html.size();
    while (p < n) {
        while (p < n && (isHtmlSpace(html.at(p)) || html.at(p) == QLatin1Char('/'))) ++p;
        if (p >= n) return n;
        if (html.at(p) == QLatin1Char('>')) return p + 1;
        const qsizetype nameStart = p;
        do {
            ++p;
        } while (p < n && !isHtmlSpace(html.at(p)) && html.at(p) != QLatin1Char('=') &&
                 html.at(p) != QLatin1Char('>') && html.at(p) != QLatin1Char('/'));
        const QString name = html.mid(nameStart, p - nameStart).toLower();
        while (p < n && isHtmlSpace(html.at(p))) ++p;
        QString value;
        if (p < n && html.at(p) == QLatin1Char('=')) {
            ++p;
            while (p < n && isHtmlSpace(html.at(p))) ++p;
            if (p < n && (html.at(p) == QLatin1Char('"') || html.at(p) == QLatin1Char('\''))) {
                const QChar quote = html.at(p);
                const qsizetype close = html.indexOf(quote, p + 1);
                const qsizetype end = close < 0 ? n : close;
                value = html.mid(p + 1, end - p - 1);
                p = close < 0 ? n : close + 1;
            } else {
                const qsizetype valueStart = p;
                while (p < n && !isHtmlSpace(html.at(p)) && html.at(p) != QLatin1Char('>')) ++p;
                value = html.mid(valueStart, p - valueStart);
            }
        }
        // The first of two attributes with one name counts, as in a browser.
        if (!attributes.contains(name)) attributes.insert(name, decodeHtmlCharacterReferences(value));
    }
    return n;
}

}  // namespace

QString decodeHtmlCharacterReferences(const QString& text) {
    qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp < 0) return text;
    static const QHash<QString, char16_t> named = {
        {QStringLiteral("amp"), u'&'},   {QStringLiteral("lt"), u'<'},    {QStringLiteral("gt"), u'>'},
        {QStringLiteral("quot"), u'"'},  {QStringLiteral("apos"), u'\''}, {QStringLiteral("nbsp"), 0x00A0},
    };
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (amp >= 0) {
        out += QStringView(text).mid(i, amp - i);
        i = amp;
        qsizetype p = amp + 1;
        bool decoded = false;
        if (p < n && text.at(p) == QLatin1Char('#')) {
            ++p;
            const bool hex = p < n && (text.at(p) == QLatin1Char('x') || text.at(p) == QLatin1Char('X'));
            if (hex) ++p;
            const qsizetype digitsStart = p;
            qint64 code = 0;
            while (p < n) {
                const int digit = digitValue(text.at(p), hex ? 16 : 10);
                if (digit < 0) break;
                code = std::min<qint64>(code * (hex ? 16 : 10) + digit, 0x110000);
                ++p;
            }
            if (p > digitsStart) {
                if (p < n && text.at(p) == QLatin1Char(';')) ++p;
                appendCodePoint(out, code);
                decoded = true;
            }
        } else {
            const qsizetype nameStart = p;
            while (p < n && isAsciiAlnum(text.at(p))) ++p;
            if (p < n && p > nameStart && text.at(p) == QLatin1Char(';')) {
                const auto found = named.constFind(text.mid(nameStart, p - nameStart));
                if (found != named.constEnd()) {
                    out += QChar(found.value());
                    ++p;
                    decoded = true;
                }
            }
        }
        if (decoded) {
            i = p;
        } else {
            out += QLatin1Char('&');
            i = amp + 1;
        }
        amp = text.indexOf(QLatin1Char('&'), i);
    }
    out += QStringView(text).mid(i);
    return out;
}

HtmlLinkScan scanHtmlLinks(const QString& html) {
    HtmlLinkScan scan;
    const qsizetype n = html.size();
    bool inLink = false;
    PageLink link;
    QString linkText;
    const auto finishLink = [&] {
        if (!inLink) return;
        link.outerText = collapseSpaces(decodeHtmlCharacterReferences(linkText));
        scan.links.append(link);
        link = PageLink();
        linkText.clear();
        inLink = false;
    };
    // Text of an element whose content is not markup (script, style, title, ...): up to
    // its end tag; returns where that end tag starts.
    const auto skipRawText = [&](qsizetype from, const QString& name) {
        const qsizetype end = html.indexOf(QLatin1String("</") + name, from, Qt::CaseInsensitive);
        return end < 0 ? n : end;
    };

    qsizetype i = 0;
    while (i < n) {
        qsizetype lt = html.indexOf(QLatin1Char('<'), i);
        if (lt < 0) lt = n;
        if (inLink && lt > i) linkText += QStringView(html).mid(i, lt - i);
        if (lt >= n) break;
        i = lt;
        if (QStringView(html).mid(i, 4) == QLatin1String("<!--")) {
            const qsizetype end = html.indexOf(QLatin1String("-->"), i + 4);
            i = end < 0 ? n : end + 3;
            continue;
        }
        const bool closing = i + 1 < n && html.at(i + 1) == QLatin1Char('/');
        const qsizetype nameStart = i + (closing ? 2 : 1);
        qsizetype p = nameStart;
        while (p < n && isAsciiAlnum(html.at(p))) ++p;
        if (p == nameStart || !html.at(nameStart).isLetter()) {
            // "<" that opens no tag ("<!DOCTYPE", "a < b") is text.
            if (closing || (nameStart < n && html.at(nameStart) == QLatin1Char('!'))) {
                const qsizetype end = html.indexOf(QLatin1Char('>'), i);
                i = end < 0 ? n : end + 1;
            } else {
                if (inLink) linkText += QLatin1Char('<');
                i += 1;
            }
            continue;
        }
        const QString name = html.mid(nameStart, p - nameStart).toLower();
        Attributes attributes;
        i = readAttributes(html, p, attributes);
        if (closing) {
            if (name == QLatin1String("a")) finishLink();
            continue;
        }
        if (name == QLatin1String("a")) {
            finishLink();
            if (attributes.contains(QStringLiteral("href"))) {
                inLink = true;
                link.href = attributes.value(QStringLiteral("href"));
                link.target = attributes.value(QStringLiteral("target"));
            }
        } else if (name == QLatin1String("area")) {
            if (attributes.contains(QStringLiteral("href"))) {
                scan.links.append(PageLink{attributes.value(QStringLiteral("href")), QString(),
                                           attributes.value(QStringLiteral("alt")),
                                           attributes.value(QStringLiteral("target"))});
            }
        } else if (name == QLatin1String("img")) {
            if (inLink && link.alt.isEmpty()) link.alt = attributes.value(QStringLiteral("alt"));
        } else if (name == QLatin1String("br")) {
            if (inLink) linkText += QLatin1Char(' ');
        } else if (name == QLatin1String("frame") || name == QLatin1String("iframe")) {
            scan.frames.append(HtmlFrameRef{attributes.value(QStringLiteral("src")),
                                            attributes.value(QStringLiteral("name"))});
            if (name == QLatin1String("iframe")) i = skipRawText(i, name);
        } else if (name == QLatin1String("base")) {
            if (scan.baseHref.isEmpty()) scan.baseHref = attributes.value(QStringLiteral("href"));
            if (scan.baseTarget.isEmpty()) scan.baseTarget = attributes.value(QStringLiteral("target"));
        } else if (name == QLatin1String("title")) {
            const qsizetype end = skipRawText(i, name);
            if (scan.title.isEmpty()) {
                scan.title = collapseSpaces(decodeHtmlCharacterReferences(html.mid(i, end - i)));
            }
            i = end;
        } else if (name == QLatin1String("script") || name == QLatin1String("style") ||
                   name == QLatin1String("textarea") || name == QLatin1String("noscript") ||
                   name == QLatin1String("xmp")) {
            i = skipRawText(i, name);
        }
    }
    finishLink();
    return scan;
}

}  // namespace platform
