#include "core/catalogues/ListMarkup.h"

#include "core/record/RdfWriter.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <optional>

namespace ListMarkup {
namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isNameStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char(':');
}

// The code of a numeric reference's digits ("233", "x1F600"); nothing when it is not a
// character XML allows (with `controls`, also a control character, NUL included).
std::optional<char32_t> numericReference(QStringView digits, ControlReferences controls) {
    int base = 10;
    if (!digits.isEmpty() && (digits.front() == QLatin1Char('x') || digits.front() == QLatin1Char('X'))) {
        base = 16;
        digits = digits.mid(1);
    }
    if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
    char32_t code = 0;
    for (const QChar d : digits) {
        const char16_t u = d.unicode();
        int value = -1;
        if (u >= '0' && u <= '9') value = u - '0';
        else if (base == 16 && u >= 'a' && u <= 'f') value = u - 'a' + 10;
        else if (base == 16 && u >= 'A' && u <= 'F') value = u - 'A' + 10;
        if (value < 0) return std::nullopt;
        code = code * char32_t(base) + char32_t(value);
    }
    const bool xmlChar = code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
                         (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
    const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
    if (xmlChar || (control && controls == ControlReferences::Decoded)) return code;
    return std::nullopt;
}

// CR LF and a lone CR become LF.
QString normalizedLineEnds(QStringView text) {
    if (!text.contains(QLatin1Char('\r'))) return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\r')) {
            out += text.at(i);
            continue;
        }
        out += QLatin1Char('\n');
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
    }
    return out;
}

}  // namespace

QString textOf(QStringView written) {
    return decodeReferences(normalizedLineEnds(written));
}

QString Token::text() const {
    return cdata ? normalizedLineEnds(raw) : textOf(raw);
}

void GatheredText::add(const Token& token) {
    if (token.cdata) {
        const QString literal = normalizedLineEnds(token.raw);
        if (first_ < 0) first_ = text_.size();
        text_ += literal;
        end_ = text_.size();
        raw_ += escaped(literal);
        return;
    }
    // Most text has no CR: it is taken where it stands.
    QString normalized;
    QStringView written = token.raw;
    if (written.contains(QLatin1Char('\r'))) {
        normalized = normalizedLineEnds(written);
        written = normalized;
    }
    raw_ += written;
    qsizetype lead = 0;
    qsizetype trail = 0;
    while (lead < written.size() && isBlank(written.at(lead))) ++lead;
    if (lead == written.size()) {
        text_ += written;
        return;
    }
    while (isBlank(written.at(written.size() - 1 - trail))) ++trail;
    if (first_ < 0) first_ = text_.size() + lead;
    text_ += written.first(lead);
    appendDecoded(text_, written.mid(lead, written.size() - lead - trail), controls_);
    end_ = text_.size();
    text_ += written.last(trail);
}

bool TagScanner::skipPast(QLatin1StringView end) {
    const qsizetype at = text_.indexOf(end, pos_);
    if (at < 0) {
        pos_ = text_.size();
        return false;
    }
    pos_ = at + end.size();
    return true;
}

bool TagScanner::next() {
    const qsizetype n = text_.size();
    token_ = Token();
    while (pos_ < n) {
        if (text_.at(pos_) != QLatin1Char('<')) {
            qsizetype end = text_.indexOf(QLatin1Char('<'), pos_);
            if (end < 0) end = n;
            token_.raw = text_.mid(pos_, end - pos_);
            pos_ = end;
            return true;
        }
        // What follows the "<" says what it starts.
        const QChar second = pos_ + 1 < n ? text_.at(pos_ + 1) : QChar();
        if (second == QLatin1Char('!')) {
            const QStringView rest = text_.mid(pos_);
            if (rest.startsWith(QLatin1StringView("<!--"))) {
                if (!skipPast(QLatin1StringView("-->"))) return false;
                continue;
            }
            if (rest.startsWith(QLatin1StringView("<![CDATA["), Qt::CaseInsensitive)) {
                const qsizetype start = pos_ + 9;
                const qsizetype end = text_.indexOf(QLatin1StringView("]]>"), start);
                token_.raw = text_.mid(start, (end < 0 ? n : end) - start);
                token_.cdata = true;
                pos_ = end < 0 ? n : end + 3;
                return true;
            }
        }
        if (second == QLatin1Char('!') || second == QLatin1Char('?')) {
            if (!skipPast(QLatin1StringView(">"))) return false;
            continue;
        }
        const bool endTag = second == QLatin1Char('/');
        const qsizetype nameStart = pos_ + (endTag ? 2 : 1);
        if (!endTag && (nameStart >= n || !isNameStart(text_.at(nameStart)))) {
            // A "<" that starts no tag is text.
            qsizetype end = text_.indexOf(QLatin1Char('<'), pos_ + 1);
            if (end < 0) end = n;
            token_.raw = text_.mid(pos_, end - pos_);
            pos_ = end;
            return true;
        }
        const qsizetype gt = text_.indexOf(QLatin1Char('>'), nameStart);
        if (gt < 0) {
            pos_ = n;
            return false;
        }
        qsizetype nameEnd = nameStart;
        while (nameEnd < gt && !isBlank(text_.at(nameEnd)) && text_.at(nameEnd) != QLatin1Char('/')) ++nameEnd;
        token_.kind = endTag ? TokenKind::EndTag : TokenKind::StartTag;
        token_.name = text_.mid(nameStart, nameEnd - nameStart);
        token_.raw = text_.mid(pos_, gt + 1 - pos_);
        token_.selfClosing = !endTag && text_.at(gt - 1) == QLatin1Char('/');
        pos_ = gt + 1;
        return true;
    }
    return false;
}

void ElementText::start(QStringView name, ControlReferences controls) {
    name_ = name;
    depth_ = 0;
    inValue_ = sawValue_ = false;
    text_.clear(controls);
    value_.clear(controls);
}

bool ElementText::feed(const Token& token) {
    const QLatin1StringView rdfValue("rdf:value");
    switch (token.kind) {
    case TokenKind::Text:
        text_.add(token);
        if (inValue_) value_.add(token);
        return false;
    case TokenKind::StartTag:
        if (token.selfClosing) return false;
        if (token.name.compare(rdfValue, Qt::CaseInsensitive) == 0) inValue_ = sawValue_ = true;
        else if (token.name.compare(name_, Qt::CaseInsensitive) == 0) ++depth_;
        return false;
    case TokenKind::EndTag:
        if (token.name.compare(rdfValue, Qt::CaseInsensitive) == 0) inValue_ = false;
        else if (token.name.compare(name_, Qt::CaseInsensitive) == 0 && depth_-- == 0) return true;
        return false;
    }
    return false;
}

QString attribute(QStringView tag, QLatin1StringView name) {
    const qsizetype n = tag.size();
    qsizetype p = 1;
    while (p < n && !isBlank(tag.at(p)) && tag.at(p) != QLatin1Char('>') && tag.at(p) != QLatin1Char('/')) ++p;
    while (p < n) {
        while (p < n && (isBlank(tag.at(p)) || tag.at(p) == QLatin1Char('/'))) ++p;
        if (p >= n || tag.at(p) == QLatin1Char('>')) break;
        const qsizetype start = p;
        while (p < n && !isBlank(tag.at(p)) && tag.at(p) != QLatin1Char('=') && tag.at(p) != QLatin1Char('>')) ++p;
        const QStringView attr = tag.mid(start, p - start);
        while (p < n && isBlank(tag.at(p))) ++p;
        QStringView value;
        if (p < n && tag.at(p) == QLatin1Char('=')) {
            ++p;
            while (p < n && isBlank(tag.at(p))) ++p;
            if (p < n && (tag.at(p) == QLatin1Char('"') || tag.at(p) == QLatin1Char('\''))) {
                const QChar quote = tag.at(p++);
                qsizetype close = tag.indexOf(quote, p);
                if (close < 0) close = tag.endsWith(QLatin1Char('>')) ? n - 1 : n;
                value = tag.mid(p, close - p);
                p = close + 1;
            } else {
                const qsizetype valueStart = p;
                while (p < n && !isBlank(tag.at(p)) && tag.at(p) != QLatin1Char('>')) ++p;
                value = tag.mid(valueStart, p - valueStart);
            }
        }
        if (attr.compare(name, Qt::CaseInsensitive) == 0) return textOf(value);
    }
    return QString();
}

namespace {

// The reference XML knows without a DTD that starts at text[at] ("&"): its length, with the
// character it stands for in `decoded`; 0 when none starts there.
qsizetype referenceAt(QStringView text, qsizetype at, QString& decoded,
                      ControlReferences controls = ControlReferences::Kept) {
    static const struct {
        const char* name;
        char16_t character;
    } named[] = {{"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}, {"apos", u'\''}};
    const qsizetype semi = text.mid(at + 1, 12).indexOf(QLatin1Char(';'));
    if (semi <= 0) return 0;
    const QStringView body = text.mid(at + 1, semi);
    decoded.clear();
    if (body.front() == QLatin1Char('#')) {
        const std::optional<char32_t> code = numericReference(body.mid(1), controls);
        if (!code) return 0;
        decoded = platform::codePointText(*code);
        return semi + 2;
    }
    for (const auto& entity : named)
        if (body == QLatin1StringView(entity.name)) decoded = QChar(entity.character);
    return decoded.isEmpty() ? 0 : semi + 2;
}

}  // namespace

QString decodeReferences(QStringView text, ControlReferences controls) {
    QString out;
    appendDecoded(out, text, controls);
    return out;
}

void appendDecoded(QString& out, QStringView text, ControlReferences controls) {
    qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp < 0) {
        out += text;
        return;
    }
    out.reserve(out.size() + text.size());
    QString decoded;
    qsizetype from = 0;
    while (amp >= 0) {
        out += text.mid(from, amp - from);
        if (const qsizetype length = referenceAt(text, amp, decoded, controls)) {
            out += decoded;
            from = amp + length;
        } else {
            out += QLatin1Char('&');
            from = amp + 1;
        }
        amp = text.indexOf(QLatin1Char('&'), from);
    }
    out += text.mid(from);
}

QString escaped(QStringView text, bool attribute) {
    return RdfWriter::xmlEscaped(text, {.attribute = attribute, .lineEnds = true});
}

QString escapedWhole(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text.at(first))) ++first;
    while (last > first && isBlank(text.at(last - 1))) --last;
    const auto references = [](QStringView blanks) {
        QString out;
        for (const QChar c : blanks) out += QStringLiteral("&#%1;").arg(c.unicode());
        return out;
    };
    return references(text.first(first)) + escaped(text.mid(first, last - first)) + references(text.mid(last));
}

QString validAddress(QStringView link) {
    static const char hex[] = "0123456789ABCDEF";
    const auto plain = [](QChar c) { return c.unicode() > 0x20 && (c.unicode() < 0x7F || c.unicode() > 0x9F); };
    if (std::all_of(link.begin(), link.end(), plain)) return link.toString();
    QString out;
    out.reserve(link.size());
    for (const QChar c : link) {
        const char16_t u = c.unicode();
        if (u == u' ') {
            out += QLatin1StringView("%20");
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            const QByteArray bytes = QString(c).toUtf8();
            for (const char byte : bytes) {
                const auto b = static_cast<unsigned char>(byte);
                out += QLatin1Char('%');
                out += QLatin1Char(hex[b >> 4]);
                out += QLatin1Char(hex[b & 15]);
            }
        } else {
            out += c;
        }
    }
    return out;
}

QString escapedLink(QStringView link, bool attribute) {
    return RdfWriter::xmlEscaped(validAddress(link), {.attribute = attribute, .lineEnds = true});
}

QString folderPath(const QStringList& levels, bool attribute) {
    QStringList written;
    for (const QString& level : levels) {
        QStringList parts;
        for (const QString& part : level.split(QStringLiteral("; "))) parts.append(escaped(part, attribute));
        written.append(parts.join(QStringLiteral("&#59; ")));
    }
    return written.join(QStringLiteral("; "));
}

QStringList folderLevels(QStringView written) {
    const QString text = normalizedLineEnds(written);
    QStringList levels{QString()};
    QString decoded;
    qsizetype from = 0;  // the text since the last reference or "; " goes in whole
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('&')) {
            if (const qsizetype length = referenceAt(text, i, decoded)) {
                levels.last() += QStringView(text).sliced(from, i - from);
                levels.last() += decoded;
                i += length - 1;
                from = i + 1;
            }
        } else if (c == QLatin1Char(';') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char(' ')) {
            levels.last() += QStringView(text).sliced(from, i - from);
            levels.append(QString());
            ++i;
            from = i + 1;
        }
    }
    levels.last() += QStringView(text).sliced(from);
    return levels;
}

}  // namespace ListMarkup
