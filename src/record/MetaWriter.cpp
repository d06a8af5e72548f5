#include "record/MetaWriter.h"

#include "platform/TextCodec.h"
#include "record/MetaReader.h"

#include <QStringView>

namespace MetaWriter {

namespace {

const QLatin1StringView kCrLf("\r\n");

void appendQuoted(QString& out, const QString& value, bool escapeAngles) {
    out += QLatin1Char('"');
    for (QChar c : value) {
        if (c == QLatin1Char('"'))
            out += QLatin1StringView("&quot;");
        else if (escapeAngles && c == QLatin1Char('<'))
            out += QLatin1StringView("&lt;");
        else if (escapeAngles && c == QLatin1Char('>'))
            out += QLatin1StringView("&gt;");
        else
            out += c;
    }
    out += QLatin1Char('"');
}

// One line of the block without its line end.
void appendElement(QString& out, const MetadataLine& line) {
    out += line.httpEquiv ? QLatin1StringView("<META HTTP-EQUIV=") : QLatin1StringView("<META NAME=");
    appendQuoted(out, line.name, false);
    if (!line.lang.isEmpty()) {
        out += QLatin1StringView(" LANG=");
        appendQuoted(out, line.lang, false);
    }
    if (!line.scheme.isEmpty()) {
        out += QLatin1StringView(" SCHEME=");
        appendQuoted(out, line.scheme, false);
    }
    out += QLatin1StringView(" CONTENT=");
    appendQuoted(out, line.content, true);
    if (!line.otherAttributes.isEmpty()) {
        out += QLatin1Char(' ');
        out += line.otherAttributes;
    }
    out += QLatin1Char('>');
}

bool isEncodingDeclaration(const MetadataLine& line) {
    return line.httpEquiv && line.name.compare(QLatin1StringView("Content-Type"), Qt::CaseInsensitive) == 0;
}

bool isBlankText(QStringView text) {
    for (QChar c : text)
        if (!c.isSpace() && c != QChar(0xFEFF)) return false;
    return true;
}

// Start of the next tag `open` ("<head", "</head", "<html", "<body") at or after `from`,
// followed by a blank, "/" or ">", so "<header>" or "<bodyguard>" do not count. -1 if none.
qsizetype findTag(QStringView text, QLatin1StringView open, qsizetype from) {
    const qsizetype n = text.size();
    while (from < n) {
        const qsizetype at = text.indexOf(open, from, Qt::CaseInsensitive);
        if (at < 0 || at + open.size() >= n) return -1;
        const QChar after = text.at(at + open.size());
        if (after.isSpace() || after == QLatin1Char('/') || after == QLatin1Char('>')) return at;
        from = at + open.size();
    }
    return -1;
}

// The end of `before` and the start of `after` would read "<meta" across where they meet.
bool joinsIntoMeta(QStringView before, QStringView after) {
    const QString joint = before.right(4).toString() + after.toString();
    const qsizetype at = joint.indexOf(QLatin1StringView("<meta"), 0, Qt::CaseInsensitive);
    return at >= 0 && at < std::min<qsizetype>(4, before.size()) && at + 5 > std::min<qsizetype>(4, before.size());
}

bool isBlankOrTab(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool isBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// Copies text[begin, end) to `out` without its named meta elements. An element alone on its
// line goes with its indentation and line end; any other with the one line end or blank right
// after it, so writing the block and taking it out again leaves the text as it was.
// The first element declaring the page's encoding keeps its place when `declaration` is given:
// browsers look for it only near the top of the page. It stays as written when it says what
// the record's line says, else it becomes that line. Returns whether it was kept.
bool appendWithoutMeta(QString& out, QStringView text, qsizetype begin, qsizetype end,
                       const MetadataLine* declaration) {
    bool declarationKept = false;
    qsizetype copied = begin;
    MetaReader::MetaTagScanner scan(text, begin, end, true);
    while (scan.next()) {
        const MetadataLine read = MetaReader::lineFromTag(scan.tag());
        if (read.name.isEmpty()) continue;
        const qsizetype s = scan.start();
        const qsizetype e = scan.end();
        if (declaration && !declarationKept && isEncodingDeclaration(read)) {
            declarationKept = true;
            out += text.mid(copied, s - copied);
            MetadataLine asRead = read;
            asRead.name = declaration->name;  // the name's case is no change
            if (asRead == *declaration && text.at(e - 1) == QLatin1Char('>')) out += text.mid(s, e - s);
            else appendElement(out, *declaration);
            copied = e;
            continue;
        }
        qsizetype ls = s;
        while (ls > copied && isBlankOrTab(text.at(ls - 1))) --ls;
        // Only a real line start: blanks right after the head's start tag are the page's own.
        const bool atLineStart = ls == 0 || isBreak(text.at(ls - 1));
        qsizetype le = e;
        while (le < end && isBlankOrTab(text.at(le))) ++le;
        qsizetype from = s;
        qsizetype to = e;
        if (atLineStart && (le == end || isBreak(text.at(le)))) {
            from = ls;
            to = le;
        }
        if (to < end) {
            if (text.at(to) == QLatin1Char('\r') && to + 1 < end && text.at(to + 1) == QLatin1Char('\n'))
                to += 2;
            else if (isBreak(text.at(to)) || (to == e && text.at(to) == QLatin1Char(' ')))
                to += 1;
        }
        out += text.mid(copied, from - copied);
        // Taking the element out must not join what stood around it into a new "<meta".
        if (joinsIntoMeta(out, text.mid(to, std::min<qsizetype>(5, end - to)))) out += QLatin1Char(' ');
        copied = to;
    }
    out += text.mid(copied, end - copied);
    return declarationKept;
}

// The link lines to add to a head whose remaining text is `inner`, or "".
QString linkLinesFor(QStringView inner, const QString& linkRelLines, const QString& useLinkRel) {
    if (useLinkRel != QLatin1String("Y") || linkRelLines.isEmpty()) return {};
    if (inner.contains(linkRelLines, Qt::CaseInsensitive)) return {};
    return linkRelLines + kCrLf;
}

}  // namespace

QString MakeMetaIntoSource(const MetadataRecord& record) {
    QString block;
    for (const MetadataLine& line : record) {
        if (line.name.isEmpty()) continue;
        appendElement(block, line);
        block += kCrLf;
    }
    return block;
}

namespace {

// Where a head left out would start: after the html start tag, else after a doctype, else
// at the top.
qsizetype headStartFor(QStringView text) {
    const qsizetype n = text.size();
    const qsizetype html = findTag(text, QLatin1StringView("<html"), 0);
    if (html >= 0 && text.indexOf(QLatin1Char('>'), html) >= 0) return text.indexOf(QLatin1Char('>'), html) + 1;
    qsizetype first = 0;
    while (first < n && (text.at(first).isSpace() || text.at(first) == QChar(0xFEFF))) ++first;
    if (text.mid(first).startsWith(QLatin1StringView("<!doctype"), Qt::CaseInsensitive)) {
        const qsizetype gt = text.indexOf(QLatin1Char('>'), first);
        return gt >= 0 ? gt + 1 : 0;
    }
    return 0;
}

}  // namespace

PageRewrite rewritePage(const QString& pageSource, const MetadataRecord& record, const QString& linkRelLines,
                        const QString& useLinkRel) {
    PageRewrite result;
    const QStringView text(pageSource);
    const qsizetype n = text.size();
    if (isBlankText(text)) {
        result.blankPage = true;
        return result;
    }

    // The record's line that says what the page's encoding declaration says.
    qsizetype declarationLine = -1;
    for (qsizetype i = 0; i < record.size() && declarationLine < 0; ++i)
        if (isEncodingDeclaration(record[i])) declarationLine = i;
    const MetadataLine* declaration = declarationLine >= 0 ? &record[declarationLine] : nullptr;
    // The block, less the declaration when that stayed where it stood.
    const auto blockFor = [&](bool declarationKept) {
        if (!declarationKept) return MakeMetaIntoSource(record);
        MetadataRecord rest = record;
        rest.removeAt(declarationLine);
        return MakeMetaIntoSource(rest);
    };

    qsizetype headOpenEnd = -1;  // just after the head start tag's ">"
    const qsizetype head = findTag(text, QLatin1StringView("<head"), 0);
    if (head >= 0) {
        const qsizetype gt = text.indexOf(QLatin1Char('>'), head);
        if (gt >= 0) headOpenEnd = gt + 1;
    }
    // A head whose start tag is left out (as HTML allows) still ends at its end tag when
    // that comes before the body: the text before it is the head, and no second one is made.
    if (headOpenEnd < 0) {
        const qsizetype close = findTag(text, QLatin1StringView("</head"), 0);
        const qsizetype body = findTag(text, QLatin1StringView("<body"), 0);
        if (close >= 0 && (body < 0 || close < body)) headOpenEnd = headStartFor(text);
    }

    // Where the head's own text ends: at its end tag (a "<body" in a head script does not end
    // it), or, when the end tag is left out, at the body, or at the end of the page. For a page
    // without a head start tag, whichever of the two comes first.
    auto regionEndFrom = [&](qsizetype from, bool headStarted) {
        const qsizetype close = findTag(text, QLatin1StringView("</head"), from);
        const qsizetype body = findTag(text, QLatin1StringView("<body"), from);
        if (close >= 0 && (headStarted || body < 0 || close < body)) return close;
        if (body >= 0) return body;
        return n;
    };

    QString inner;
    QString& out = result.text;
    out.reserve(n + 80 * record.size() + linkRelLines.size() + 64);

    if (headOpenEnd >= 0) {
        const qsizetype regionEnd = regionEndFrom(headOpenEnd, true);
        const bool kept = appendWithoutMeta(inner, text, headOpenEnd, regionEnd, declaration);
        out += text.first(headOpenEnd);
        out += inner;
        out += linkLinesFor(inner, linkRelLines, useLinkRel);
        out += blockFor(kept);
        out += text.mid(regionEnd);
        return result;
    }

    // No head: put one after the html start tag, else after a doctype, else at the top.
    result.headInserted = true;
    const qsizetype insertAt = headStartFor(text);
    const qsizetype regionEnd = regionEndFrom(insertAt, false);
    const bool kept = appendWithoutMeta(inner, text, insertAt, regionEnd, declaration);
    out += text.first(insertAt);
    if (insertAt > 0) out += kCrLf;
    out += QLatin1StringView("<head>\r\n");
    out += linkLinesFor(inner, linkRelLines, useLinkRel);
    out += blockFor(kept);
    out += QLatin1StringView("</head>");
    if (insertAt == 0) out += kCrLf;
    out += inner;
    out += text.mid(regionEnd);
    return result;
}

QString minimalPage(const QString& metaBlock) {
    return QLatin1StringView("<html>\r\n<head>\r\n<title>Untitled Document</title>\r\n") + metaBlock +
           QLatin1StringView("</head>\r\n<body>\r\n</body>\r\n</html>\r\n");
}

// The page ends with a line end; one it already has is not added again, so a page saved
// over and over keeps its size.
QString pageFileText(const QString& pageText) {
    if (pageText.endsWith(QLatin1Char('\n')) || pageText.endsWith(QLatin1Char('\r'))) return pageText;
    return pageText + kCrLf;
}

namespace {

// A value holding the marker of a key ("&field", "&content", "&scheme", "&lang") would end
// there when read back: its "&" is written as "%26", which the field command turns back.
QString withoutKeyMarkers(QString value) {
    for (qsizetype at = value.indexOf(QLatin1Char('&')); at >= 0; at = value.indexOf(QLatin1Char('&'), at + 1)) {
        const QStringView rest = QStringView(value).mid(at + 1);
        for (const char* key : {"field", "content", "scheme", "lang"}) {
            if (!rest.startsWith(QLatin1StringView(key), Qt::CaseInsensitive)) continue;
            value.replace(at, 1, QStringLiteral("%26"));
            break;
        }
    }
    return value;
}

}  // namespace

QString buildFieldCommands(const MetadataRecord& record) {
    QString text;
    for (const MetadataLine& line : record) {
        text += QLatin1StringView("mtp://field=");
        text += platform::breaksToBlanks(line.name);
        text += QLatin1StringView("&content=");
        text += withoutKeyMarkers(platform::breaksToBlanks(line.content));
        if (!line.lang.isEmpty()) {
            text += QLatin1StringView("&lang=");
            text += platform::breaksToBlanks(line.lang);
        }
        if (!line.scheme.isEmpty()) {
            text += QLatin1StringView("&scheme=");
            text += platform::breaksToBlanks(line.scheme);
        }
        text += QLatin1StringView(".fld/");
        text += kCrLf;
    }
    return text;
}

QString batchFileText(const MetadataRecord& record) {
    return buildFieldCommands(record) + QLatin1StringView("mtp://gotop.fld") + kCrLf + kCrLf;
}

}  // namespace MetaWriter
