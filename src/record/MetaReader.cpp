#include "record/MetaReader.h"

#include "platform/TextCodec.h"

namespace MetaReader {

namespace {

// Finds `word` as an attribute (word, blanks, "=", blanks, double-quoted value) anywhere in
// the tag. Every well-formed occurrence replaces the value found before; returns whether one
// was found.
bool readAttribute(QStringView tag, QLatin1StringView word, QString& value) {
    bool found = false;
    qsizetype p = 0;
    const qsizetype n = tag.size();
    while (p < n) {
        const qsizetype at = tag.indexOf(word, p, Qt::CaseInsensitive);
        if (at < 0) break;
        qsizetype q = at + word.size();
        p = q;
        while (q < n && tag.at(q) == QLatin1Char(' ')) ++q;
        if (q >= n || tag.at(q) != QLatin1Char('=')) continue;
        ++q;
        while (q < n && tag.at(q) == QLatin1Char(' ')) ++q;
        if (q >= n || tag.at(q) != QLatin1Char('"')) continue;
        const qsizetype close = tag.indexOf(QLatin1Char('"'), q + 1);
        if (close < 0) continue;
        value = tag.mid(q + 1, close - q - 1).toString();
        found = true;
        p = q + 1;  // a later occurrence, even inside this value, still counts
    }
    return found;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\f');
}

// "<" at `at` opens an element of this name: the name, any case, then a blank, "/" or ">".
bool startsElement(QStringView text, qsizetype at, QLatin1StringView name) {
    const qsizetype after = at + 1 + name.size();
    if (after >= text.size() || !text.mid(at + 1, name.size()).startsWith(name, Qt::CaseInsensitive)) return false;
    const QChar c = text.at(after);
    return c.isSpace() || c == QLatin1Char('/') || c == QLatin1Char('>');
}

// Where the search goes on after the "<" at `at`: past the end tag of a script, style or
// textarea element it opens (their text holds no elements), else the next character. -1
// when such an element never ends.
qsizetype afterRawText(QStringView text, qsizetype at) {
    for (const QLatin1StringView name :
         {QLatin1StringView("script"), QLatin1StringView("style"), QLatin1StringView("textarea")}) {
        if (!startsElement(text, at, name)) continue;
        const QString endTag = QLatin1StringView("</") + name;
        const qsizetype close = text.indexOf(endTag, at + 1 + name.size(), Qt::CaseInsensitive);
        return close < 0 ? -1 : close + endTag.size();
    }
    return at + 1;
}

bool isKnownAttribute(QStringView name) {
    for (const char* known : {"name", "http-equiv", "content", "lang", "xml:lang", "scheme"})
        if (name.compare(QLatin1StringView(known), Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace

qsizetype findMetaStart(QStringView text, qsizetype from) {
    qsizetype at = from;
    while (at >= 0 && (at = text.indexOf(QLatin1Char('<'), at)) >= 0) {
        if (text.mid(at + 1).startsWith(QLatin1StringView("!--"))) {
            // "<!-->" and "<!--->" close at once, as browsers read them.
            const qsizetype close = text.indexOf(QLatin1StringView("-->"), at + 2);
            if (close < 0) return -1;
            at = close + 3;
            continue;
        }
        if (startsElement(text, at, QLatin1StringView("meta"))) return at;
        at = afterRawText(text, at);
    }
    return -1;
}

MetaTagScanner::MetaTagScanner(QStringView text, qsizetype from, qsizetype limit, bool cutAtLimit)
    : text_(limit < 0 || limit > text.size() ? text : text.first(limit)),
      limit_(text_.size()),
      cutAtLimit_(cutAtLimit),
      nextStart_(findMetaStart(text_, from)) {}

bool MetaTagScanner::next() {
    if (nextStart_ < 0) return false;
    start_ = nextStart_;
    nextStart_ = findMetaStart(text_, start_ + 5);
    // Once no ">" is left, none is searched for again: a page of unclosed tags stays linear.
    if (!noMoreGt_ && gt_ < start_ + 5) {
        gt_ = text_.indexOf(QLatin1Char('>'), start_ + 5);
        noMoreGt_ = gt_ < 0;
    }
    if (!noMoreGt_ && (nextStart_ < 0 || gt_ < nextStart_)) {
        end_ = gt_ + 1;
    } else if (noMoreGt_ && !cutAtLimit_) {
        nextStart_ = -1;  // no ">" anywhere after: nothing more is read
        return false;
    } else if (nextStart_ >= 0) {
        end_ = nextStart_;
    } else {
        end_ = limit_;
    }
    return true;
}

MetaTagValues readMetaTag(QStringView tag) {
    MetaTagValues v;
    readAttribute(tag, QLatin1StringView("content"), v.content);
    readAttribute(tag, QLatin1StringView("lang"), v.lang);
    readAttribute(tag, QLatin1StringView("name"), v.name);
    QString equiv;
    if (readAttribute(tag, QLatin1StringView("http-equiv"), equiv) && !equiv.isEmpty()) {
        v.name = equiv;
        v.httpEquiv = true;
    }
    readAttribute(tag, QLatin1StringView("scheme"), v.scheme);
    return v;
}

QString otherAttributes(QStringView tag) {
    QString others;
    const qsizetype n = tag.size();
    qsizetype p = tag.startsWith(QLatin1StringView("<meta"), Qt::CaseInsensitive) ? 5 : 0;
    while (p < n) {
        while (p < n && (isBlank(tag.at(p)) || tag.at(p) == QLatin1Char('/'))) ++p;
        if (p >= n || tag.at(p) == QLatin1Char('>') || tag.at(p) == QLatin1Char('<')) break;
        const qsizetype start = p;
        ++p;  // a name may begin with "="
        while (p < n && !isBlank(tag.at(p)) && tag.at(p) != QLatin1Char('=') && tag.at(p) != QLatin1Char('>') &&
               tag.at(p) != QLatin1Char('/'))
            ++p;
        const QStringView name = tag.mid(start, p - start);
        qsizetype q = p;
        while (q < n && isBlank(tag.at(q))) ++q;
        if (q < n && tag.at(q) == QLatin1Char('=')) {
            ++q;
            while (q < n && isBlank(tag.at(q))) ++q;
            if (q < n && (tag.at(q) == QLatin1Char('"') || tag.at(q) == QLatin1Char('\''))) {
                const qsizetype close = tag.indexOf(tag.at(q), q + 1);
                if (close < 0) break;  // never closed: nothing sound follows
                p = close + 1;
            } else {
                while (q < n && !isBlank(tag.at(q)) && tag.at(q) != QLatin1Char('>')) ++q;
                p = q;
            }
        }
        if (isKnownAttribute(name)) continue;
        if (!others.isEmpty()) others += QLatin1Char(' ');
        others += tag.mid(start, p - start);
    }
    return others;
}

MetadataLine lineFromTag(QStringView tag) {
    const MetaTagValues v = readMetaTag(tag);
    MetadataLine line;
    if (v.name.isEmpty()) {
        line.content = tag.toString();
        return line;
    }
    line.name = v.name;
    line.content = v.content;
    line.lang = v.lang;
    line.scheme = v.scheme;
    line.httpEquiv = v.httpEquiv;
    line.otherAttributes = otherAttributes(tag);
    return line;
}

MetadataRecord LoadMetadataLines(const QString& pageText, bool openRecordMacroSet) {
    MetadataRecord lines;
    MetaTagScanner scan(pageText);
    while (scan.next()) {
        MetadataLine line = lineFromTag(scan.tag());
        if (openRecordMacroSet && !line.name.isEmpty()) {
            line.name = platform::breaksToBlanks(line.name);
            line.content = platform::breaksToBlanks(line.content);
            line.scheme = platform::breaksToBlanks(line.scheme);
        }
        lines.append(line);
    }
    return lines;
}

MetadataRecord readLinkRows(const QString& pageText) {
    MetadataRecord rows;
    const QStringView text(pageText);
    qsizetype pos = 0;
    while (true) {
        const qsizetype at = text.indexOf(QLatin1StringView("<link rel"), pos, Qt::CaseInsensitive);
        if (at < 0) break;
        const qsizetype gt = text.indexOf(QLatin1Char('>'), at);
        if (gt < 0) break;
        const QStringView tag = text.mid(at, gt - at + 1);
        if (!tag.contains(QLatin1StringView("stylesheet"), Qt::CaseInsensitive)) {
            MetadataLine row;
            row.content = tag.toString();
            rows.append(row);
        }
        pos = gt + 1;
    }
    return rows;
}

MetadataRecord readPageRecord(const QString& pageText, bool openRecordMacroSet) {
    if (pageText.isEmpty()) return {};
    MetadataRecord record = readLinkRows(pageText);
    record.append(LoadMetadataLines(pageText, openRecordMacroSet));
    return record;
}

PageTextKind pageTextKind(const QString& text) {
    if (text.contains(QLatin1StringView("<AGLSxml"), Qt::CaseInsensitive) ||
        text.contains(QLatin1StringView("hcl.dtd"), Qt::CaseInsensitive))
        return PageTextKind::HarvestControlList;
    if (text.contains(QLatin1StringView("xmlns=\"http://purl.org/rss/1.0/\""), Qt::CaseInsensitive) ||
        text.contains(QLatin1StringView("<rss version=\"2.0\">"), Qt::CaseInsensitive))
        return PageTextKind::RssChannel;
    return PageTextKind::Record;
}

}  // namespace MetaReader
