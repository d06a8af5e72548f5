#include "core/record/MetaReader.h"

#include <QtAlgorithms>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace MetaReader {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\f');
}

// Where the next "<" stands at or after `from`, -1 when none. Tags follow each other closely
// in a page, so a short inline search beats a library call per tag.
qsizetype nextTagStart(QStringView text, qsizetype from) {
    const char16_t* const begin = text.utf16();
    const char16_t* p = begin + from;
    const char16_t* const end = begin + text.size();
#if defined(__SSE2__)
    const __m128i lt = _mm_set1_epi16(u'<');
    for (; p + 8 <= end; p += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, lt));
        if (mask) return (p - begin) + qCountTrailingZeroBits(unsigned(mask)) / 2;
    }
#endif
    for (; p < end; ++p)
        if (*p == u'<') return p - begin;
    return -1;
}

char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

// The text at `at` holds this word (lower-case ASCII) in any case.
bool hasWordAt(QStringView text, qsizetype at, const char* word) {
    const qsizetype n = text.size();
    for (; *word; ++word, ++at)
        if (at >= n || asciiLower(text[at].unicode()) != char16_t(*word)) return false;
    return true;
}

// "<" at `at` opens an element of this name: the name, any case, then a blank, "/" or ">".
bool startsElement(QStringView text, qsizetype at, const char* name) {
    if (!hasWordAt(text, at + 1, name)) return false;
    const qsizetype after = at + 1 + qsizetype(std::strlen(name));
    if (after >= text.size()) return false;
    const QChar c = text.at(after);
    return c.isSpace() || c == QLatin1Char('/') || c == QLatin1Char('>');
}

// A "<" followed by this starts a tag, an end tag, a comment or declaration, or a
// processing instruction.
bool isTagStartChar(char16_t c) {
    c = asciiLower(c);
    return (c >= u'a' && c <= u'z') || c == u'/' || c == u'!' || c == u'?';
}

// Where "</name" (any case) starts at or after `from`; -1 when nowhere.
qsizetype findEndTag(QStringView text, qsizetype from, const char* name) {
    for (qsizetype at = nextTagStart(text, from); at >= 0; at = nextTagStart(text, at + 1))
        if (at + 1 < text.size() && text.at(at + 1) == QLatin1Char('/') && hasWordAt(text, at + 2, name)) return at;
    return -1;
}

// Where a value whose quote is never closed ends in its element's text: before the ">"
// that ends the element and the blanks and line breaks before it.
qsizetype unclosedValueEnd(QStringView tag) {
    qsizetype end = tag.size();
    if (end > 0 && tag.at(end - 1) == QLatin1Char('>')) --end;
    while (end > 0 && isBlank(tag.at(end - 1))) --end;
    return end;
}

bool isKnownAttribute(QStringView name) {
    for (const char* known : {"name", "http-equiv", "content", "lang", "xml:lang", "scheme"})
        if (name.compare(QLatin1StringView(known), Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace

bool startsTag(QStringView text, qsizetype at) {
    return at + 1 < text.size() && isTagStartChar(text.at(at + 1).unicode());
}

namespace {

// Where a tag whose text runs on to its first ">" at `gt` is cut off: at the first tag that
// starts in [from, gt) outside a double-quoted value closed before `gt`; -1 when none does.
// A tag someone forgot to close, or a value never closed, so never swallows the tags after it.
qsizetype cutPoint(QStringView text, qsizetype from, qsizetype gt) {
    const char16_t* const chars = text.utf16();
    for (qsizetype at = from; at < gt; ++at) {
        if (chars[at] == u'"') {
            // Nothing in a value closed before `gt` cuts; after the quote of one never
            // closed, every tag does.
            const char16_t* close = std::find(chars + at + 1, chars + gt, u'"');
            if (close != chars + gt) at = close - chars;
        } else if (chars[at] == u'<' && startsTag(text, at)) {
            return at;
        }
    }
    return -1;
}

// Where a tag read whole whose first ">" stands at `gt` is cut off: it never holds a meta
// element, which the walk reads wherever it starts (`*meta`, -1 when none starts before
// `gt`); before that, as a meta element is.
qsizetype wholeTagCut(QStringView text, qsizetype from, qsizetype gt, qsizetype* meta) {
    *meta = -1;
    for (qsizetype at = nextTagStart(text, from); at >= 0 && at < gt && *meta < 0; at = nextTagStart(text, at + 1))
        if (startsElement(text, at, "meta")) *meta = at;
    const qsizetype cut = cutPoint(text, from, *meta >= 0 ? *meta : gt);
    return cut >= 0 ? cut : *meta;
}

}  // namespace

// The tag that starts at `at`, through its ">" (to the end of the text without one). Tags
// are asked for in the order they stand, so one search for a ">" serves every tag before it.
QStringView PageMarks::tagAt(QStringView text, qsizetype at) {
    if (gt_ != -1 && gt_ < at) gt_ = text.indexOf(QLatin1Char('>'), at);
    if (gt_ == -2) gt_ = text.indexOf(QLatin1Char('>'), at);
    return gt_ < 0 ? text.mid(at) : text.mid(at, gt_ - at + 1);
}

QStringView PageMarks::readWhole(QStringView text, qsizetype at, QStringView tag) {
    if (!tag.endsWith(QLatin1Char('>'))) return tag;
    qsizetype meta = -1;
    const qsizetype cut = wholeTagCut(text, at + 2, at + tag.size() - 1, &meta);
    if (cut < 0) return tag;
    cutTagBound = meta;
    return text.mid(at, cut - at);
}

void PageMarks::see(QStringView text, qsizetype at) {
    switch (asciiLower(text.at(at + 1).unicode())) {
    case u'l':
        if (linksDone || !hasWordAt(text, at + 1, "link rel")) break;
        if (QStringView tag = tagAt(text, at); !tag.endsWith(QLatin1Char('>'))) {
            linksDone = true;
        } else {
            const qsizetype whole = tag.size();
            tag = readWhole(text, at, tag);
            if (tag.contains(QLatin1StringView("stylesheet"), Qt::CaseInsensitive)) break;
            if (tag.size() < whole) lastCutLink = at;
            MetadataLine row;
            row.content = recordValue(tag.toString());
            linkRows.append(row);
        }
        break;
    case u'a':
        if (hasWordAt(text, at + 1, "aglsxml")) harvestList = true;
        break;
    case u'!': {
        const QStringView tag = tagAt(text, at);
        if (tag.contains(QLatin1StringView("hcl.dtd"), Qt::CaseInsensitive)) harvestList = true;
        readWhole(text, at, tag);
        break;
    }
    case u'r':
        if (hasWordAt(text, at + 1, "rss version=\"2.0\">")) channel = true;
        if (hasWordAt(text, at + 1, "rdf:")) {
            const QStringView tag = tagAt(text, at);
            const QLatin1StringView rss10("xmlns=\"http://purl.org/rss/1.0/\"");
            if (tag.contains(rss10, Qt::CaseInsensitive)) channel = true;
            readWhole(text, at, tag);
        }
        break;
    case u'h':
        if (head < 0 && startsElement(text, at, "head")) head = at;
        else if (html < 0 && startsElement(text, at, "html")) html = at;
        break;
    case u'b':
        if (startsElement(text, at, "body")) bodies.append(at);
        break;
    case u'/':
        if (startsElement(text, at, "/head")) headEnds.append(at);
        break;
    default:
        break;
    }
}

qsizetype findMetaStart(QStringView text, qsizetype from, PageMarks* marks) {
    const qsizetype n = text.size();
    qsizetype at = from < n ? nextTagStart(text, from) : -1;
    // Nothing after `at` is read: the rest of the text is a comment or an element's text.
    const auto unread = [&] {
        if (marks) marks->unreadFrom = at;
        return qsizetype(-1);
    };
    while (at >= 0 && at + 1 < n) {
        qsizetype next = at + 1;
        const char16_t c = asciiLower(text.at(at + 1).unicode());
        if (c == u'!' && hasWordAt(text, at + 1, "!--")) {
            // "<!-->" and "<!--->" close at once, as browsers read them.
            const qsizetype close = text.indexOf(QLatin1StringView("-->"), at + 2);
            if (close < 0) return unread();
            next = close + 3;
        } else if (c == u'm' && startsElement(text, at, "meta")) {
            return at;
        } else if ((c == u's' || c == u't') &&
                   (startsElement(text, at, "script") || startsElement(text, at, "style") ||
                    startsElement(text, at, "textarea"))) {
            // Their text holds no elements: go on after their end tag.
            const char* name = startsElement(text, at, "script") ? "script"
                               : startsElement(text, at, "style") ? "style"
                                                                   : "textarea";
            const qsizetype close = findEndTag(text, at + 1, name);
            if (close < 0) return unread();
            next = close + 2 + qsizetype(std::strlen(name));
        } else if (marks) {
            marks->see(text, at);
        }
        at = next < n ? nextTagStart(text, next) : -1;
    }
    return -1;
}

MetaTagScanner::MetaTagScanner(QStringView text, PageMarks* marks)
    : text_(text), marks_(marks), nextStart_(findMetaStart(text_, 0, marks)) {
    noteNext();
}

void MetaTagScanner::noteNext() {
    nextAfterCut_ = marks_ && nextStart_ >= 0 && nextStart_ == marks_->cutTagBound;
}

bool MetaTagScanner::next() {
    if (nextStart_ < 0) return false;
    start_ = nextStart_;
    afterCut_ = nextAfterCut_;
    // Once no ">" is left, none is searched for again: a page of unclosed tags stays linear.
    if (!noMoreGt_ && gt_ < start_ + 5) {
        gt_ = text_.indexOf(QLatin1Char('>'), start_ + 5);
        noMoreGt_ = gt_ < 0;
    }
    if (noMoreGt_) {
        nextStart_ = -1;  // no ">" anywhere after: nothing more is read
        if (marks_) marks_->unreadFrom = start_;
        return false;
    }
    const qsizetype cutAt = cutPoint(text_, start_ + 5, gt_);
    cut_ = cutAt >= 0;
    end_ = cut_ ? cutAt : gt_ + 1;
    nextStart_ = findMetaStart(text_, end_, marks_);
    noteNext();
    return true;
}

Joint joinedAt(QStringView before, QStringView after) {
    struct Word {
        const char* name;
        bool needsEnd;  // a blank, "/" or ">" must follow
    };
    static const Word words[] = {{"meta", true},    {"head", true},  {"/head", true},    {"body", true},
                                 {"html", true},    {"script", true}, {"style", true},   {"textarea", true},
                                 {"!--", false},    {"!", false},    {"link rel", false}, {"aglsxml", false},
                                 {"rdf:", false},   {"rss version=\"2.0\">", false}};
    constexpr qsizetype kReach = 24;  // longer than every word
    const qsizetype gap = std::min(kReach, before.size());
    if (gap == 0) return Joint::Clean;
    // Any tag start cuts an unfinished meta element.
    if (before.back() == QLatin1Char('<') && !after.isEmpty() && isTagStartChar(after.front().unicode()))
        return Joint::Straddles;
    const QString joint = before.last(gap).toString() + after.first(std::min(kReach, after.size())).toString();
    Joint result = Joint::Clean;
    for (qsizetype lt = joint.lastIndexOf(QLatin1Char('<'), gap - 1); lt >= 0;
         lt = lt > 0 ? joint.lastIndexOf(QLatin1Char('<'), lt - 1) : -1) {
        for (const Word& word : words) {
            const qsizetype nameEnd = lt + 1 + qsizetype(std::strlen(word.name));
            if (!hasWordAt(joint, lt + 1, word.name)) continue;
            // A name that ends `before` becomes a tag with whatever comes to follow it.
            if (word.needsEnd && nameEnd == gap) return Joint::Completes;
            if (nameEnd > gap && (!word.needsEnd || startsElement(joint, lt, word.name)))
                result = Joint::Straddles;
        }
    }
    return result;
}

MetaTagValues readMetaTag(QStringView tag) {
    // One walk over the tag for all five words. A word counts where it stands followed by
    // blanks, "=", blanks and a double-quoted value; every such occurrence replaces the one
    // before, also one inside another attribute's value.
    MetaTagValues v;
    QString equiv;
    const qsizetype n = tag.size();
    const qsizetype valueEnd = unclosedValueEnd(tag);
    for (qsizetype p = 0; p < n; ++p) {
        const char* word = nullptr;
        QString* value = nullptr;
        switch (asciiLower(tag.at(p).unicode())) {
        case u'c': word = "content", value = &v.content; break;
        case u'l': word = "lang", value = &v.lang; break;
        case u'n': word = "name", value = &v.name; break;
        case u'h': word = "http-equiv", value = &equiv; break;
        case u's': word = "scheme", value = &v.scheme; break;
        default: continue;
        }
        if (!hasWordAt(tag, p, word)) continue;
        qsizetype q = p + qsizetype(std::strlen(word));
        while (q < n && tag.at(q) == QLatin1Char(' ')) ++q;
        if (q >= n || tag.at(q) != QLatin1Char('=')) continue;
        ++q;
        while (q < n && tag.at(q) == QLatin1Char(' ')) ++q;
        if (q >= n || tag.at(q) != QLatin1Char('"')) continue;
        const qsizetype close = tag.indexOf(QLatin1Char('"'), q + 1);
        *value = tag.mid(q + 1, (close < 0 ? std::max(valueEnd, q + 1) : close) - q - 1).toString();
        if (value == &equiv) v.httpEquiv = true;
    }
    if (v.httpEquiv && !equiv.isEmpty()) v.name = equiv;
    else v.httpEquiv = false;
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
               tag.at(p) != QLatin1Char('/') && tag.at(p) != QLatin1Char('<'))
            ++p;
        const QStringView name = tag.mid(start, p - start);
        qsizetype q = p;
        while (q < n && isBlank(tag.at(q))) ++q;
        if (q < n && tag.at(q) == QLatin1Char('=')) {
            ++q;
            while (q < n && isBlank(tag.at(q))) ++q;
            if (q < n && (tag.at(q) == QLatin1Char('"') || tag.at(q) == QLatin1Char('\''))) {
                const qsizetype close = tag.indexOf(tag.at(q), q + 1);
                if (close < 0) {
                    // Never closed: the value runs to the element's end, and is closed there.
                    if (!isKnownAttribute(name)) {
                        if (!others.isEmpty()) others += QLatin1Char(' ');
                        others += tag.mid(start, std::max(unclosedValueEnd(tag), q + 1) - start);
                        others += tag.at(q);
                    }
                    break;
                }
                p = close + 1;
            } else {
                while (q < n && !isBlank(tag.at(q)) && tag.at(q) != QLatin1Char('>') && tag.at(q) != QLatin1Char('<'))
                    ++q;
                p = q;
            }
        }
        if (isKnownAttribute(name)) continue;
        if (!others.isEmpty()) others += QLatin1Char(' ');
        others += tag.mid(start, p - start);
    }
    return others;
}

MetadataLine lineFromTag(QStringView tag, bool breaksToBlanks) {
    const MetaTagValues v = readMetaTag(tag);
    MetadataLine line;
    if (recordValue(v.name).isEmpty()) {
        line.content = tag.toString();
        return recordLine(line);
    }
    line.name = v.name;
    line.content = v.content;
    line.lang = v.lang;
    line.scheme = v.scheme;
    line.httpEquiv = v.httpEquiv;
    line.otherAttributes = otherAttributes(tag);
    return recordLine(line, breaksToBlanks);
}

namespace {

// One walk over the page: its meta lines, and what the marks see on the way.
MetadataRecord walkPage(const QString& pageText, bool openRecordMacroSet, PageMarks* marks) {
    MetadataRecord lines;
    MetaTagScanner scan(pageText, marks);
    while (scan.next()) lines.append(lineFromTag(scan.tag(), openRecordMacroSet));
    return lines;
}

PageTextKind kindOf(const PageMarks& marks) {
    if (marks.harvestList) return PageTextKind::HarvestControlList;
    if (marks.channel) return PageTextKind::RssChannel;
    return PageTextKind::Record;
}

}  // namespace

MetadataRecord LoadMetadataLines(const QString& pageText, bool openRecordMacroSet) {
    return walkPage(pageText, openRecordMacroSet, nullptr);
}

PageReading readPage(const QString& pageText, bool openRecordMacroSet) {
    PageReading reading;
    if (pageText.isEmpty()) return reading;
    PageMarks marks;
    const MetadataRecord lines = walkPage(pageText, openRecordMacroSet, &marks);
    reading.kind = kindOf(marks);
    reading.linkRows = std::move(marks.linkRows);
    reading.lines = lines;
    return reading;
}

MetadataRecord readPageRecord(const QString& pageText, bool openRecordMacroSet) {
    PageReading reading = readPage(pageText, openRecordMacroSet);
    reading.linkRows.append(reading.lines);
    return reading.linkRows;
}

PageTextKind pageTextKind(const QString& text) {
    return readPage(text, false).kind;
}

}  // namespace MetaReader
