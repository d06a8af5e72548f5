#include "core/record/RdfWriter.h"

#include "platform/PathText.h"
#include "core/record/MetaReader.h"
#include "core/record/modCharEncoding.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringView>

namespace RdfWriter {

namespace {

constexpr XmlEscaping kRdfText{false, true, true};
constexpr XmlEscaping kRdfAttribute{true, true, true};

const QLatin1StringView kCrLf("\r\n");

// The value after `attr` (such as `name="`) up to the next double quote; "" when the
// attribute or its closing quote is missing. `found` tells whether the attribute was there.
QString quotedValue(QStringView element, QLatin1StringView attr, bool* found = nullptr) {
    const qsizetype at = element.indexOf(attr, 0, Qt::CaseInsensitive);
    if (found) *found = at >= 0;
    if (at < 0) return {};
    const qsizetype begin = at + attr.size();
    const qsizetype close = element.indexOf(QLatin1Char('"'), begin);
    if (close < 0) return {};
    return element.mid(begin, close - begin).toString();
}

bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// True when text[at] ("&") starts a reference an XML parser knows without a DTD.
bool startsReference(QStringView text, qsizetype at) {
    const QStringView rest = text.mid(at + 1, 12);
    const qsizetype semi = rest.indexOf(QLatin1Char(';'));
    if (semi <= 0) return false;
    const QStringView body = rest.first(semi);
    for (const char* name : {"amp", "lt", "gt", "quot", "apos"})
        if (body == QLatin1StringView(name)) return true;
    if (body.size() < 2 || body.front() != QLatin1Char('#')) return false;
    QStringView digits = body.mid(1);
    int base = 10;
    if (digits.front() == QLatin1Char('x')) {
        base = 16;
        digits = digits.mid(1);
    }
    if (digits.isEmpty() || digits.size() > 8) return false;
    char32_t code = 0;
    for (QChar d : digits) {
        const char16_t u = d.unicode();
        int v = -1;
        if (u >= '0' && u <= '9') v = u - '0';
        else if (base == 16 && u >= 'a' && u <= 'f') v = u - 'a' + 10;
        else if (base == 16 && u >= 'A' && u <= 'F') v = u - 'A' + 10;
        if (v < 0) return false;
        code = code * base + v;
    }
    return isXmlChar(code);
}

bool isNameStart(QChar c) {
    const char16_t u = c.unicode();
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_') return true;
    if (u < 0xC0 || c.isSurrogate() || u == 0xD7 || u == 0xF7) return false;
    if (u == 0x37E) return false;
    if (u >= 0x2000 && u <= 0x206F) return false;  // general punctuation
    if (u >= 0xFDD0 && u <= 0xFDEF) return false;
    if (u >= 0xFFFE) return false;
    return c.isLetter();
}

bool isNameChar(QChar c) {
    const char16_t u = c.unicode();
    return isNameStart(c) || (u >= '0' && u <= '9') || u == '-' || u == '.' || u == 0xB7 ||
           (u >= 0x300 && u <= 0x36F) || (c.isDigit() && u >= 0x660 && !c.isSurrogate());
}

// A piece of an element name (prefix or local part, without ":"): lower case, any character
// XML does not allow in names becomes "_", and a name may not start with a digit, "-" or ".".
QString xmlNamePart(const QString& raw) {
    QString name = raw.toLower();
    for (QChar& c : name)
        if (!isNameChar(c)) c = QLatin1Char('_');
    if (name.isEmpty() || !isNameStart(name.front())) name.prepend(QLatin1Char('_'));
    return name;
}

// The namespace declarations, one line each, the last closing the rdf:RDF start tag.
// Declarations of the same prefix twice (or of "rdf", which the first line declares) would
// make the start tag ill-formed, so only the first of each is kept.
QString namespaceLines(const QString& rdfNamespaces) {
    static const QRegularExpression decl(QStringLiteral("xmlns:([^\\s=\"'<>]+)\\s*=\\s*\"([^\"]*)\""));
    QSet<QString> seen{QStringLiteral("rdf")};
    QStringList lines;
    auto it = decl.globalMatch(rdfNamespaces);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString prefix = xmlNamePart(m.captured(1));
        if (seen.contains(prefix)) continue;
        seen.insert(prefix);
        lines.append(QLatin1StringView("    xmlns:") + prefix + QLatin1StringView("=\"") +
                     xmlEscaped(m.capturedView(2), kRdfAttribute) + QLatin1Char('"'));
    }
    if (lines.isEmpty()) return QLatin1StringView("    >") + kCrLf;
    lines.last() += QLatin1Char('>');
    return lines.join(kCrLf) + kCrLf;
}

}  // namespace

QString xmlEscaped(QStringView text, XmlEscaping how) {
    static const char hex[] = "0123456789ABCDEF";
    const qsizetype n = text.size();
    // What needs nothing done goes over as it is; the rest from the first character that does.
    qsizetype plain = 0;
    for (; plain < n; ++plain) {
        const char16_t u = text[plain].unicode();
        if (u < 0x20 || u == '&' || u == '<' || u == '>' || (how.attribute && u == '"') || (u >= 0xD800 && u <= 0xDFFF) ||
            u >= 0xFFFE)
            break;
    }
    if (plain == n) return text.toString();
    QString out;
    out.reserve(n + 16);
    out += text.first(plain);
    for (qsizetype i = plain; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF) {
            out += QChar(0xFFFD);
        } else if (how.lineEnds && (u == '\r' || (how.attribute && (u == '\n' || u == '\t')))) {
            out += QLatin1StringView("&#") + QString::number(u) + QLatin1Char(';');
        } else if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') {
            if (how.percentControls) {
                out += QLatin1Char('%');
                out += QLatin1Char(hex[u >> 4]);
                out += QLatin1Char(hex[u & 15]);
            } else {
                out += QChar(0xFFFD);
            }
        } else if (u == '&') {
            out += how.keepReferences && startsReference(text, i) ? QLatin1StringView("&") : QLatin1StringView("&amp;");
        } else if (u == '<') {
            out += QLatin1StringView("&lt;");
        } else if (u == '>') {
            out += QLatin1StringView("&gt;");
        } else if (how.attribute && u == '"') {
            out += QLatin1StringView("&quot;");
        } else {
            out += c;
        }
    }
    return out;
}

QString MakeMetaIntoRDF(const QString& address, const QString& metaText, const QString& rdfNamespaces,
                        const QString& rdfPrefix, RdfValues values) {
    const QString about = platform::withLinkScheme(address);
    const bool xmlText = values == RdfValues::XmlText;
    const XmlEscaping valueEscaping = xmlText ? XmlEscaping{false, false, true, true} : kRdfText;

    const QString typePrefix = xmlNamePart(rdfPrefix);
    QString rdf;
    rdf.reserve(metaText.size() * 2 + 512);
    rdf += QLatin1StringView("    <rdf:RDF xmlns:rdf=\"") + QLatin1StringView(kRdfSyntaxNamespace) +
           QLatin1Char('"') + kCrLf;
    rdf += namespaceLines(rdfNamespaces);
    rdf += QLatin1StringView("    <rdf:Description rdf:about=\"") +
           xmlEscaped(about, xmlText ? XmlEscaping{true, false, true, true} : kRdfAttribute) +
           QLatin1StringView("\">") + kCrLf;

    MetaReader::MetaTagScanner scan(metaText);
    while (scan.next()) {
        const QStringView element = scan.tag();
        bool hasName = false;
        QString name = quotedValue(element, QLatin1StringView("name=\""), &hasName);
        if (!hasName) name = quotedValue(element, QLatin1StringView("http-equiv=\""));
        if (name.isEmpty()) continue;
        QString content = quotedValue(element, QLatin1StringView("content=\""));
        content = modCharEncoding::decodeHtmlEntities(content);
        if (!xmlText) content = modCharEncoding::encodePercentEscapes(content);
        const QString scheme = quotedValue(element, QLatin1StringView("scheme=\""));

        QString prefix;
        QString local;
        QString refinement;
        QString unrefined;  // the name without its refinement
        const qsizetype dot1 = name.indexOf(QLatin1Char('.'));
        if (dot1 < 0) {
            prefix = QStringLiteral("Commercial");
            local = name;
            unrefined = name;
        } else {
            prefix = name.left(dot1);
            const qsizetype dot2 = name.indexOf(QLatin1Char('.'), dot1 + 1);
            local = dot2 < 0 ? name.mid(dot1 + 1) : name.mid(dot1 + 1, dot2 - dot1 - 1);
            if (dot2 >= 0) refinement = name.mid(dot2 + 1);
            unrefined = dot2 < 0 ? name : name.left(dot2);
        }
        const QString p = xmlNamePart(prefix);
        const QString e = xmlNamePart(local);
        const QString tag = p + QLatin1Char(':') + e;
        const QString value = xmlEscaped(content, valueEscaping);

        rdf += kCrLf;
        if (scheme.isEmpty() && refinement.isEmpty()) {
            rdf += QLatin1StringView("    <") + tag + QLatin1StringView(" xml:lang=\"en\">") + value +
                   QLatin1StringView("</") + tag + QLatin1Char('>') + kCrLf;
            continue;
        }
        rdf += QLatin1StringView("    <") + tag + QLatin1Char('>') + kCrLf;
        rdf += QLatin1StringView("    <rdf:description>") + kCrLf;
        rdf += QLatin1StringView("    <rdf:value>") + value + QLatin1StringView("</rdf:value>") + kCrLf;
        if (!scheme.isEmpty()) {
            const QString schemeTag =
                (unrefined.contains(QLatin1StringView("AGLS"), Qt::CaseInsensitive) ? QLatin1StringView("agls:")
                                                                                     : QLatin1StringView("dcq:")) +
                e + QLatin1StringView("Scheme");
            rdf += QLatin1StringView("    <") + schemeTag + QLatin1Char('>') + xmlEscaped(scheme, kRdfText) +
                   QLatin1StringView("</") + schemeTag + QLatin1Char('>') + kCrLf;
        }
        if (!refinement.isEmpty()) {
            const QString typeTag =
                (e.contains(QLatin1StringView("date"), Qt::CaseInsensitive) ? QStringLiteral("dcq") : typePrefix) +
                QLatin1Char(':') + e + QLatin1StringView("Type");
            rdf += QLatin1StringView("    <") + typeTag + QLatin1Char('>') + xmlEscaped(refinement, kRdfText) +
                   QLatin1StringView("</") + typeTag + QLatin1Char('>') + kCrLf;
        }
        rdf += QLatin1StringView("    </rdf:description>") + kCrLf;
        rdf += QLatin1StringView("    </") + tag + QLatin1Char('>') + kCrLf;
    }
    rdf += QLatin1StringView("    </rdf:Description>") + kCrLf;
    rdf += QLatin1StringView("    </rdf:RDF>") + kCrLf;
    return rdf;
}

}  // namespace RdfWriter
