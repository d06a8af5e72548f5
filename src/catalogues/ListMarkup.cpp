#include "catalogues/ListMarkup.h"

#include "record/RdfWriter.h"

namespace ListMarkup {
namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isNameStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char(':');
}

// The code of a numeric reference's digits ("233", "x1F600"); 0 when it is not a character.
char32_t numericReference(QStringView digits) {
    int base = 10;
    if (!digits.isEmpty() && (digits.front() == QLatin1Char('x') || digits.front() == QLatin1Char('X'))) {
        base = 16;
        digits = digits.mid(1);
    }
    if (digits.isEmpty() || digits.size() > 8) return 0;
    char32_t code = 0;
    for (const QChar d : digits) {
        const char16_t u = d.unicode();
        int value = -1;
        if (u >= '0' && u <= '9') value = u - '0';
        else if (base == 16 && u >= 'a' && u <= 'f') value = u - 'a' + 10;
        else if (base == 16 && u >= 'A' && u <= 'F') value = u - 'A' + 10;
        if (value < 0) return 0;
        code = code * char32_t(base) + char32_t(value);
    }
    const bool xmlChar = code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
                         (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
    return xmlChar ? code : 0;
}

}  // namespace

QString Token::text() const {
    return cdata ? raw.toString() : decodeReferences(raw);
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
        if (rest.startsWith(QLatin1StringView("<!")) || rest.startsWith(QLatin1StringView("<?"))) {
            if (!skipPast(QLatin1StringView(">"))) return false;
            continue;
        }
        const bool endTag = rest.startsWith(QLatin1StringView("</"));
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

void ElementText::start(QStringView name) {
    name_ = name.toString();
    depth_ = 0;
    inValue_ = sawValue_ = false;
    text_.clear();
    value_.clear();
}

bool ElementText::feed(const Token& token) {
    const QLatin1StringView rdfValue("rdf:value");
    switch (token.kind) {
    case TokenKind::Text: {
        const QString text = token.text();
        text_ += text;
        if (inValue_) value_ += text;
        return false;
    }
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
        if (attr.compare(name, Qt::CaseInsensitive) == 0) return decodeReferences(value);
    }
    return QString();
}

QString decodeReferences(QStringView text) {
    qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp < 0) return text.toString();
    static const struct {
        const char* name;
        char16_t character;
    } named[] = {{"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}, {"apos", u'\''}};
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (amp >= 0) {
        out += text.mid(from, amp - from);
        from = amp + 1;
        const qsizetype semi = text.mid(amp + 1, 12).indexOf(QLatin1Char(';'));
        if (semi > 0) {
            const QStringView body = text.mid(amp + 1, semi);
            QString decoded;
            if (body.front() == QLatin1Char('#')) {
                if (const char32_t code = numericReference(body.mid(1))) decoded = QString::fromUcs4(&code, 1);
            } else {
                for (const auto& entity : named)
                    if (body == QLatin1StringView(entity.name)) decoded = QChar(entity.character);
            }
            if (!decoded.isEmpty()) {
                out += decoded;
                from = amp + 1 + semi + 1;
            } else {
                out += QLatin1Char('&');
            }
        } else {
            out += QLatin1Char('&');
        }
        amp = text.indexOf(QLatin1Char('&'), from);
    }
    out += text.mid(from);
    return out;
}

QString escaped(QStringView text, bool attribute) {
    return RdfWriter::xmlEscaped(text, {.attribute = attribute});
}

}  // namespace ListMarkup
