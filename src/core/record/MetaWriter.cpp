#include "core/record/MetaWriter.h"

#include "core/record/FieldCommandValues.h"
#include "core/record/MetaReader.h"
#include "core/record/modCharEncoding.h"

#include <QHash>
#include <QSet>
#include <QStringView>

#include <algorithm>
#include <optional>

namespace MetaWriter {

namespace {

const QLatin1StringView kCrLf("\r\n");
// Written where an element whose line is gone cannot simply be taken out.
const QLatin1StringView kEmptyComment("<!---->");

// How a value is written between double quotes. A double quote always becomes "&quot;";
// "<" and ">" become "&lt;" and "&gt;" in the content, and in every value of an element that
// would not read back otherwise. `guardEnd` writes a final "=" that the reader would take for
// the start of another attribute (a value ending in "content=", say) as "&#61;".
struct Quoting {
    bool angles = false;
    bool guardEnd = false;
};

// The value ends in a word the reader looks for, then "=" (blanks around it): the quote
// closing it would be read as the opening quote of that word's value.
qsizetype misreadEqualsAt(QStringView value) {
    qsizetype end = value.size();
    while (end > 0 && value.at(end - 1) == QLatin1Char(' ')) --end;
    if (end == 0 || value.at(end - 1) != QLatin1Char('=')) return -1;
    const qsizetype equals = end - 1;
    qsizetype wordEnd = equals;
    while (wordEnd > 0 && value.at(wordEnd - 1) == QLatin1Char(' ')) --wordEnd;
    for (const char* word : {"name", "http-equiv", "content", "lang", "scheme"}) {
        const QLatin1StringView w(word);
        if (wordEnd >= w.size() && value.mid(wordEnd - w.size(), w.size()).compare(w, Qt::CaseInsensitive) == 0)
            return equals;
    }
    return -1;
}

void appendQuoted(QString& out, const QString& value, Quoting quoting) {
    const qsizetype guarded = quoting.guardEnd ? misreadEqualsAt(value) : -1;
    out += QLatin1Char('"');
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('"'))
            out += QLatin1StringView("&quot;");
        else if (quoting.angles && c == QLatin1Char('<'))
            out += QLatin1StringView("&lt;");
        else if (quoting.angles && c == QLatin1Char('>'))
            out += QLatin1StringView("&gt;");
        else if (i == guarded)
            out += QLatin1StringView("&#61;");
        else
            out += c;
    }
    out += QLatin1Char('"');
}

// How one element is written: where its other attributes go, and whether its values are
// guarded (see Quoting).
struct ElementForm {
    enum Others { After, First, Left } others = After;  // First: the known attributes come last and count
    bool guarded = false;
};

void appendElement(QString& out, const MetadataLine& line, ElementForm form) {
    const Quoting quoting{form.guarded, form.guarded};
    out += QLatin1StringView("<META ");
    if (form.others == ElementForm::First) {
        out += line.otherAttributes;
        out += QLatin1Char(' ');
    }
    out += line.httpEquiv ? QLatin1StringView("HTTP-EQUIV=") : QLatin1StringView("NAME=");
    appendQuoted(out, line.name, quoting);
    if (!line.lang.isEmpty()) {
        out += QLatin1StringView(" LANG=");
        appendQuoted(out, line.lang, quoting);
    }
    if (!line.scheme.isEmpty()) {
        out += QLatin1StringView(" SCHEME=");
        appendQuoted(out, line.scheme, quoting);
    }
    out += QLatin1StringView(" CONTENT=");
    appendQuoted(out, line.content, {true, form.guarded});
    if (form.others == ElementForm::After && !line.otherAttributes.isEmpty()) {
        out += QLatin1Char(' ');
        out += line.otherAttributes;
    }
    out += QLatin1Char('>');
}

// The line that reading the element written in `form` should give.
MetadataLine asWritten(const MetadataLine& line, ElementForm form) {
    MetadataLine written = line;
    if (form.others == ElementForm::Left) written.otherAttributes.clear();
    const auto quoted = [](const QString& value, Quoting quoting) {
        QString text;
        appendQuoted(text, value, quoting);
        return text.mid(1, text.size() - 2);
    };
    for (QString* value : {&written.name, &written.lang, &written.scheme})
        *value = quoted(*value, {form.guarded, form.guarded});
    written.content = quoted(written.content, {true, form.guarded});
    return written;
}

// Reading the element on its own gives `expected`: one whole element, ending at its ">".
bool readsBackAs(QStringView element, const MetadataLine& expected) {
    MetaReader::MetaTagScanner scan(element);
    return scan.next() && scan.start() == 0 && scan.end() == element.size() && !scan.cut() &&
           MetaReader::lineFromTag(element) == expected;
}

// Nothing in the line can be read as anything but itself: no "=" that could start a value
// and no character that could end or cut the element.
bool plainlySafe(const MetadataLine& line) {
    if (!line.otherAttributes.isEmpty() || line.content.contains(QLatin1Char('='))) return false;
    for (const QString* value : {&line.name, &line.lang, &line.scheme})
        for (QChar c : *value)
            if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')) return false;
    return true;
}

// One line of the block without its line end, in the first form that reads back as the line
// it was written from: the page's own attributes are kept where they can be, and a value is
// changed only in how it is written. Reading the element back gives a line whose plain form
// is this very element, so the next open and save of the page writes it the same way.
void appendElement(QString& out, const MetadataLine& line) {
    if (plainlySafe(line)) return appendElement(out, line, ElementForm{});
    const bool others = !line.otherAttributes.isEmpty();
    static const ElementForm forms[] = {{ElementForm::After, false}, {ElementForm::First, false},
                                        {ElementForm::After, true},  {ElementForm::First, true},
                                        {ElementForm::Left, false}};
    for (const ElementForm& form : forms) {
        if (!others && form.others != ElementForm::After) continue;
        QString element;
        appendElement(element, line, form);
        if (readsBackAs(element, asWritten(line, form))) {
            out += element;
            return;
        }
    }
    appendElement(out, line, ElementForm{ElementForm::Left, true});
}

bool isEncodingDeclaration(const MetadataLine& line) {
    return line.httpEquiv && line.name.compare(QLatin1StringView("Content-Type"), Qt::CaseInsensitive) == 0;
}

bool isBlankText(QStringView text) {
    for (QChar c : text)
        if (!c.isSpace() && c != QChar(0xFEFF)) return false;
    return true;
}

bool isBlankOrTab(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool isBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// The schema link lines for a head whose own text is `inner`, or "".
QString linkLinesFor(QStringView inner, const QString& linkRelLines, const QString& useLinkRel) {
    if (useLinkRel != QLatin1String("Y") || linkRelLines.isEmpty()) return {};
    if (inner.contains(linkRelLines, Qt::CaseInsensitive)) return {};
    return linkRelLines + kCrLf;
}

// Just after a start tag that begins at `at`: after its ">", or where another tag starts
// first. -1 when neither follows.
qsizetype startTagEnd(QStringView text, qsizetype at) {
    const qsizetype gt = text.indexOf(QLatin1Char('>'), at + 1);
    const qsizetype lt = text.indexOf(QLatin1Char('<'), at + 1);
    if (lt >= 0 && (gt < 0 || lt < gt)) return lt;
    return gt < 0 ? -1 : gt + 1;
}

// The first of `positions` at or after `from`, -1 when none.
qsizetype firstFrom(const QList<qsizetype>& positions, qsizetype from) {
    const auto it = std::lower_bound(positions.cbegin(), positions.cend(), from);
    return it == positions.cend() ? -1 : *it;
}

// A meta element of the page as the reader met it.
struct Element {
    qsizetype start = 0;
    qsizetype end = 0;
    bool cut = false;          // ends where another tag starts
    bool afterCutTag = false;  // how a tag the reader takes whole is cut off depends on it
    MetadataLine line;         // what the reader takes from it
};

// Where the block goes and what surrounds it.
struct Placement {
    qsizetype at = 0;          // where the block (or the new head holding it) goes
    qsizetype innerFrom = -1;  // where the head's own text starts; -1: a head is put in at `at`
};

// The head holds the block before its end tag, or before the body when that tag is left
// out. A head start tag standing after </head> starts no head. A head whose start tag is
// left out ends at its end tag all the same. Without a head one is put after the <html>
// start tag, or after a doctype, or at the top. The block never goes where nothing is read
// any more (into an unclosed comment, say).
Placement placeBlock(QStringView text, const MetaReader::PageMarks& marks) {
    const qsizetype n = text.size();
    const qsizetype readEnd = marks.unreadFrom >= 0 ? marks.unreadFrom : n;
    const qsizetype firstClose = marks.headEnds.isEmpty() ? -1 : marks.headEnds.front();
    const qsizetype firstBody = marks.bodies.isEmpty() ? -1 : marks.bodies.front();
    // A head left out ends at an end tag before the body; a head start tag after that is none.
    const bool closesLeftOut = firstClose >= 0 && (firstBody < 0 || firstClose < firstBody);
    qsizetype head = marks.head;
    if (head >= 0 && closesLeftOut && firstClose < head) head = -1;
    qsizetype innerFrom = head >= 0 ? startTagEnd(text, head) : -1;
    // A head start tag left unfinished at the page's end starts a head all the same: the
    // block goes before it (keepBlockOutOfTags), and the next save finds the page alike.
    if (head >= 0 && innerFrom < 0) innerFrom = n;
    const bool started = innerFrom >= 0;

    // Where a head left out would start.
    qsizetype top = 0;
    if (marks.html >= 0 && startTagEnd(text, marks.html) >= 0) {
        top = startTagEnd(text, marks.html);
    } else {
        qsizetype first = 0;
        while (first < n && (text.at(first).isSpace() || text.at(first) == QChar(0xFEFF))) ++first;
        if (text.mid(first).startsWith(QLatin1StringView("<!doctype"), Qt::CaseInsensitive))
            top = std::max<qsizetype>(0, startTagEnd(text, first));
    }
    top = std::min(top, readEnd);

    if (!started && closesLeftOut) innerFrom = top;
    if (innerFrom < 0) return {top, -1};
    const qsizetype close = firstFrom(marks.headEnds, innerFrom);
    const qsizetype body = firstFrom(marks.bodies, innerFrom);
    qsizetype end = n;
    if (close >= 0 && (started || body < 0 || close < body)) end = close;
    else if (body >= 0) end = body;
    end = std::min(end, readEnd);
    return {end, std::min(innerFrom, end)};
}

// The record's lines that elements left standing take the place of.
class LinesInPlace {
public:
    explicit LinesInPlace(const MetadataRecord& record) : record_(record) {
        for (qsizetype i = 0; i < record.size(); ++i)
            if (!record.at(i).name.isEmpty()) named_.append(i);
    }
    // Takes a line saying what `read` says, not taken yet; false when there is none. The
    // element that is the page's n-th named one takes the record's n-th named line when
    // that is its own, so the lines keep their order from one save to the next.
    bool take(const MetadataLine& read, qsizetype nthNamed) {
        if (nthNamed < named_.size() && !taken_.contains(named_.at(nthNamed)) &&
            sameLine(read, record_.at(named_.at(nthNamed)))) {
            taken_.insert(named_.at(nthNamed));
            return true;
        }
        if (index_.isEmpty()) {
            for (qsizetype i = record_.size() - 1; i >= 0; --i)
                if (!taken_.contains(i)) index_[keyOf(record_.at(i))].append(i);
        }
        for (const MetadataLine& asRead : {repaired(read), read}) {
            auto it = index_.find(keyOf(asRead));
            if (it == index_.end()) continue;
            while (!it->isEmpty() && taken_.contains(it->last())) it->removeLast();
            if (it->isEmpty()) continue;
            taken_.insert(it->takeLast());
            return true;
        }
        return false;
    }
    // Marks a line taken before any element was looked at.
    void reserve(qsizetype line) { taken_.insert(line); }
    bool taken(qsizetype line) const { return taken_.contains(line); }

private:
    // The line as the page loader gives it, mis-read quotes repaired.
    static MetadataLine repaired(MetadataLine line) {
        for (QString* value : {&line.name, &line.content, &line.lang, &line.scheme})
            *value = modCharEncoding::fixUtf8Quotes(*value);
        return line;
    }
    static bool sameLine(const MetadataLine& read, const MetadataLine& line) {
        return read == line || repaired(read) == line;
    }
    static QString keyOf(const MetadataLine& line) {
        const QChar sep(0xFFFF);
        return line.name + sep + line.content + sep + line.lang + sep + line.scheme + sep +
               QChar(line.httpEquiv ? u'1' : u'0') + sep + line.otherAttributes;
    }
    const MetadataRecord& record_;
    QList<qsizetype> named_;  // the record's named lines
    QHash<QString, QList<qsizetype>> index_;
    QSet<qsizetype> taken_;
};

// What becomes of one named meta element that does not stay as it is.
struct Step {
    qsizetype element = 0;
    qsizetype from = 0;
    qsizetype to = 0;
    bool blank = false;                  // a blank goes where the element was
    std::optional<QString> replacement;  // the encoding declaration, rewritten in its place
};

// One save of a record into a page's text.
class PageRewriter {
public:
    // `breaksToBlanks`: the record was read with line breaks made blanks; its elements are
    // compared with its lines in that form.
    PageRewriter(QStringView text, const MetadataRecord& record, bool breaksToBlanks)
        : text_(text), record_(record) {
        MetaReader::MetaTagScanner scan(text, &marks_);
        while (scan.next()) {
            Element element{scan.start(), scan.end(), scan.cut(), scan.afterCutTag(), {}};
            element.line = MetaReader::lineFromTag(scan.tag(), breaksToBlanks);
            elements_.append(std::move(element));
        }
        place_ = placeBlock(text, marks_);
        findDeclaration();
    }

    bool headInserted() const { return place_.innerFrom < 0; }

    // Decides the fate of every named element, and where the block goes.
    void plan() {
        const Placement found = place_;
        QSet<qsizetype> forced;
        for (int round = 0; round < 8; ++round) {
            planWith(forced);
            place_ = found;
            keepBlockOutOfTags(forced);
            const qsizetype holder = lastGtHolder();
            if (holder < 0 || forced.contains(holder)) break;
            forced.insert(holder);
        }
    }

    QString write(const QString& linkRelLines, const QString& useLinkRel) const;

private:
    void findDeclaration();
    void planWith(const QSet<qsizetype>& forced);
    qsizetype lastGtHolder() const;
    void keepBlockOutOfTags(const QSet<qsizetype>& forced);
    MetadataRecord block() const;

    QStringView text_;
    const MetadataRecord& record_;
    MetaReader::PageMarks marks_;
    QList<Element> elements_;
    Placement place_;
    qsizetype declarationLine_ = -1;
    qsizetype declarationElement_ = -1;
    // The plan.
    std::optional<LinesInPlace> inPlace_;
    QList<Step> steps_;
    QList<bool> stays_;
};

// The encoding declaration: browsers look for it near the top, so the page's first one
// keeps its place with the value of the record's first. One that stands after the block
// keeps it only while it is the record's only one. When none keeps its place, the block
// starts with the first it holds, so the next save finds the page as this one leaves it.
void PageRewriter::findDeclaration() {
    qsizetype lines = 0;
    for (qsizetype i = 0; i < record_.size(); ++i) {
        if (!isEncodingDeclaration(record_.at(i))) continue;
        if (declarationLine_ < 0) declarationLine_ = i;
        ++lines;
    }
    for (qsizetype i = 0; i < elements_.size() && declarationElement_ < 0; ++i)
        if (isEncodingDeclaration(elements_.at(i).line)) declarationElement_ = i;
    if (declarationElement_ < 0 || declarationLine_ < 0 ||
        (elements_.at(declarationElement_).start >= place_.at && lines > 1))
        declarationElement_ = -1;
}

// Every other named element goes, with its own line when it stands alone on one, else with
// the one line end or blank after it, so writing the block and taking it out again leaves
// the text as it was. Taking one out must not change how the text around it reads: a tag
// made where the two sides meet is kept apart with a blank. An element that cannot go
// without changing a neighbour (an unfinished tag before it would run on, a tag name right
// before it would become a tag, or it is `forced`) stays as it is while the record still
// holds a line saying what it says; once the record holds none, an empty comment takes its
// place. No text the record was not read from goes.
void PageRewriter::planWith(const QSet<qsizetype>& forced) {
    const QStringView text = text_;
    const qsizetype n = text.size();
    inPlace_.emplace(record_);
    if (declarationElement_ >= 0) inPlace_->reserve(declarationLine_);
    steps_.clear();
    stays_ = QList<bool>(elements_.size(), true);
    qsizetype copied = 0;
    QString outTail;  // the end of the output so far, as far as a joint needs it
    constexpr qsizetype kTail = 24;
    const auto tailBefore = [&](qsizetype pos) {
        const QString before = pos - copied >= kTail ? text.mid(pos - kTail, kTail).toString()
                                                     : outTail + text.mid(copied, pos - copied).toString();
        return before.right(kTail);
    };
    bool previousStaysCut = false;
    qsizetype previousEnd = -1;
    qsizetype nthNamed = -1;
    for (qsizetype i = 0; i < elements_.size(); ++i) {
        const Element& element = elements_.at(i);
        const qsizetype s = element.start;
        const qsizetype e = element.end;
        const bool runsOn = (previousStaysCut && previousEnd == s) || element.afterCutTag;
        previousEnd = e;
        previousStaysCut = element.cut;
        if (element.line.name.isEmpty()) continue;
        ++nthNamed;
        if (i == declarationElement_) {
            const MetadataLine& line = record_.at(declarationLine_);
            MetadataLine asRead = element.line;
            asRead.name = line.name;  // the name's case is no change
            Step step{i, s, e, false, QString()};
            if (asRead == line && text.at(e - 1) == QLatin1Char('>'))
                step.replacement = text.mid(s, e - s).toString();
            else
                appendElement(*step.replacement, line);
            outTail = (tailBefore(s) + *step.replacement).right(kTail);
            copied = e;
            steps_.append(step);
            previousStaysCut = stays_[i] = false;  // it ends with its ">" now
            continue;
        }
        qsizetype ls = s;
        while (ls > copied && isBlankOrTab(text.at(ls - 1))) --ls;
        // Only a real line start: blanks right after the head's start tag are the page's own.
        const bool atLineStart = ls == 0 || isBreak(text.at(ls - 1));
        qsizetype le = e;
        while (le < n && isBlankOrTab(text.at(le))) ++le;
        qsizetype from = s;
        qsizetype to = e;
        if (atLineStart && (le == n || isBreak(text.at(le)))) {
            from = ls;
            to = le;
        }
        if (to < n) {
            if (text.at(to) == QLatin1Char('\r') && to + 1 < n && text.at(to + 1) == QLatin1Char('\n'))
                to += 2;
            else if (isBreak(text.at(to)) || (to == e && text.at(to) == QLatin1Char(' ')))
                to += 1;
        }
        const QStringView after = text.mid(to, std::min(kTail, n - to));
        const MetaReader::Joint joint = MetaReader::joinedAt(tailBefore(from), after);
        const bool unsafe = runsOn || joint == MetaReader::Joint::Completes || forced.contains(i);
        if (unsafe && inPlace_->take(element.line, nthNamed)) continue;
        previousStaysCut = false;
        stays_[i] = false;
        if (unsafe) {
            // Its line is gone from the record: an empty comment takes its place, which
            // starts and ends a tag where the element did and reads as nothing.
            outTail = (tailBefore(s) + kEmptyComment).right(kTail);
            copied = e;
            steps_.append({i, s, e, false, QString(kEmptyComment)});
            continue;
        }
        const bool blank = joint == MetaReader::Joint::Straddles;
        outTail = (tailBefore(from) + (blank ? QStringLiteral(" ") : QString())).right(kTail);
        copied = to;
        steps_.append({i, from, to, blank, std::nullopt});
    }
}

// An unfinished meta element or link row is read only while a ">" follows it somewhere.
// When the last one left standing would have none after it, the first element taken out
// that holds a ">" after it (the block a save writes after it then never takes its place);
// -1 when nothing is amiss.
qsizetype PageRewriter::lastGtHolder() const {
    qsizetype from = marks_.lastCutLink >= 0 ? marks_.lastCutLink + 9 : -1;
    for (qsizetype i = elements_.size() - 1; i >= 0; --i) {
        if (!stays_.at(i) || !elements_.at(i).cut) continue;
        from = std::max(from, elements_.at(i).start + 5);
        break;
    }
    if (from < 0) return -1;
    if (place_.at >= from && !block().isEmpty()) return -1;
    qsizetype holder = -1;
    qsizetype kept = from;  // the text from here to the next step stays
    for (const Step& step : steps_) {
        if (step.to <= from) continue;
        if (step.from > kept && text_.mid(kept, step.from - kept).contains(QLatin1Char('>'))) return -1;
        if (step.replacement) return -1;
        if (holder < 0 && text_.mid(step.from, step.to - step.from).contains(QLatin1Char('>'))) holder = step.element;
        kept = std::max(kept, step.to);
    }
    if (text_.mid(kept).contains(QLatin1Char('>'))) return -1;
    return holder;
}

// The block never goes inside a tag (an unfinished meta element, a "<link rel" or "<!"
// without its ">", a tag running past the head's end tag), where its first element would
// end that tag: when a tag starts after the last ">" of the text written before the
// block's place, the block goes before the first such tag, even when that is before a
// head start tag left unfinished. An element left in place only for its ">" (`forced`)
// counts as taken out, as it is when the next save starts: so that save puts the block in
// the same place.
void PageRewriter::keepBlockOutOfTags(const QSet<qsizetype>& forced) {
    if (place_.innerFrom < 0) return;
    const qsizetype at = place_.at;
    // The pieces of the page written before the block's place; a piece written in an
    // element's place ends with ">".
    struct Piece {
        qsizetype from, to;
        bool replaced;
    };
    QList<std::pair<qsizetype, qsizetype>> gone;  // taken out, or counted so
    QList<Piece> replaced;
    for (const Step& step : steps_) {
        gone.append({step.from, step.to});
        if (step.replacement) replaced.append({step.from, step.to, true});
    }
    for (const qsizetype i : forced)
        if (stays_.at(i)) gone.append({elements_.at(i).start, elements_.at(i).end});
    std::sort(gone.begin(), gone.end());
    QList<Piece> pieces;
    qsizetype kept = 0;
    qsizetype r = 0;
    for (const auto& [from, to] : gone) {
        if (from >= at) break;
        if (from > kept) pieces.append({kept, from, false});
        while (r < replaced.size() && replaced.at(r).from < to) pieces.append(replaced.at(r++));
        kept = std::max(kept, to);
    }
    if (kept < at) pieces.append({kept, at, false});
    qsizetype first = 0;  // the first piece after the last ">"
    qsizetype afterGt = 0;
    for (qsizetype i = pieces.size() - 1; i >= 0; --i) {
        const Piece& piece = pieces.at(i);
        const qsizetype gt =
            piece.replaced ? piece.to - 1 : piece.from + text_.sliced(piece.from, piece.to - piece.from).lastIndexOf(u'>');
        if (gt >= piece.from) {
            first = i;
            afterGt = gt + 1;
            break;
        }
    }
    for (qsizetype i = first; i < pieces.size(); ++i) {
        const Piece& piece = pieces.at(i);
        if (piece.replaced) continue;
        const qsizetype from = std::max(piece.from, afterGt);
        if (from >= piece.to) continue;
        const QStringView written = text_.sliced(from, piece.to - from);
        // A "<" at a piece's end is kept apart from what follows it (see planWith).
        for (qsizetype lt = written.indexOf(u'<'); lt >= 0; lt = written.indexOf(u'<', lt + 1)) {
            if (MetaReader::startsTag(written, lt)) {
                place_.at = from + lt;
                return;
            }
        }
    }
}

// Every named line of the record but those standing in the page.
MetadataRecord PageRewriter::block() const {
    MetadataRecord lines;
    for (qsizetype i = 0; i < record_.size(); ++i)
        if (!record_.at(i).name.isEmpty() && !inPlace_->taken(i)) lines.append(record_.at(i));
    if (declarationElement_ < 0) {
        const auto first = std::find_if(lines.begin(), lines.end(), isEncodingDeclaration);
        if (first != lines.end()) std::rotate(lines.begin(), first, first + 1);
    }
    return lines;
}

QString PageRewriter::write(const QString& linkRelLines, const QString& useLinkRel) const {
    const QStringView text = text_;
    const qsizetype n = text.size();
    const QString blockText = MakeMetaIntoSource(block());
    QString out;
    out.reserve(n + blockText.size() + linkRelLines.size() + 64);
    qsizetype copied = 0;
    qsizetype innerStart = -1;  // where the head's own text starts in the output
    bool placed = false;
    const auto copyTo = [&](qsizetype pos) {
        if (pos < copied) return;
        if (innerStart < 0 && place_.innerFrom >= 0 && place_.innerFrom <= pos)
            innerStart = out.size() + std::max<qsizetype>(0, place_.innerFrom - copied);
        out += text.mid(copied, pos - copied);
        copied = pos;
    };
    const auto putBlock = [&] {
        copyTo(place_.at);
        placed = true;
        if (place_.innerFrom < 0) {
            if (place_.at > 0) out += kCrLf;
            out += QLatin1StringView("<head>\r\n");
            out += linkLinesFor({}, linkRelLines, useLinkRel);
            out += blockText;
            out += QLatin1StringView("</head>");
            if (place_.at == 0) out += kCrLf;
            return;
        }
        // The block's lines start their lines: an indentation before the end tag stays the
        // end tag's. A head that runs to the end of the page gets the block after its last
        // line's end, before the blank lines and blanks the page ends with.
        qsizetype indent = 0;
        if (place_.at < n) {
            while (indent < out.size() && isBlankOrTab(out.at(out.size() - 1 - indent))) ++indent;
            if (indent < out.size() && !isBreak(out.at(out.size() - 1 - indent))) indent = 0;
        } else {
            qsizetype blankFrom = out.size();
            while (blankFrom > 0 && (isBlankOrTab(out.at(blankFrom - 1)) || isBreak(out.at(blankFrom - 1))))
                --blankFrom;
            qsizetype lineEnd = blankFrom;
            while (lineEnd < out.size() && !isBreak(out.at(lineEnd))) ++lineEnd;
            if (lineEnd < out.size()) {
                const bool crLf = out.at(lineEnd) == QLatin1Char('\r') && lineEnd + 1 < out.size() &&
                                  out.at(lineEnd + 1) == QLatin1Char('\n');
                indent = out.size() - lineEnd - (crLf ? 2 : 1);
            }
        }
        const QString indentation = out.right(indent);
        out.chop(indent);
        // Before a head start tag left unfinished, the page before the block counts as the head.
        out += linkLinesFor(QStringView(out).mid(std::max<qsizetype>(innerStart, 0)), linkRelLines, useLinkRel);
        out += blockText;
        out += indentation;
    };
    for (const Step& step : steps_) {
        if (!placed && place_.at <= step.from) putBlock();
        copyTo(step.from);
        if (innerStart < 0 && place_.innerFrom >= 0 && place_.innerFrom < step.to) innerStart = out.size();
        if (step.replacement) out += *step.replacement;
        if (step.blank) out += QLatin1Char(' ');
        copied = step.to;
    }
    if (!placed) putBlock();
    copyTo(n);
    return out;
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

PageRewrite rewritePage(const QString& pageSource, const MetadataRecord& record, const QString& linkRelLines,
                        const QString& useLinkRel, bool openRecordMacroSet) {
    PageRewrite result;
    // The page as its file will hold it, with the line end every write ends it with: a tag
    // at its very end reads the same now as when the page is read back.
    const QString page = pageFileText(pageSource);
    if (isBlankText(page)) {
        result.blankPage = true;
        result.text = minimalPage(MakeMetaIntoSource(record), linkLinesFor({}, linkRelLines, useLinkRel));
        return result;
    }
    PageRewriter rewriter(page, record, openRecordMacroSet);
    rewriter.plan();
    result.headInserted = rewriter.headInserted();
    result.text = rewriter.write(linkRelLines, useLinkRel);
    // The line end the write adds again.
    if (page.size() > pageSource.size() && result.text.endsWith(kCrLf) &&
        pageFileText(result.text.chopped(2)) == result.text)
        result.text.chop(2);
    return result;
}

QString minimalPage(const QString& metaBlock, const QString& linkLines) {
    return QLatin1StringView("<html>\r\n<head>\r\n<title>Untitled Document</title>\r\n") + linkLines + metaBlock +
           QLatin1StringView("</head>\r\n<body>\r\n</body>\r\n</html>\r\n");
}

// The page ends with a line end; one it already has is not added again, so a page saved
// over and over keeps its size.
QString pageFileText(const QString& pageText) {
    if (pageText.endsWith(QLatin1Char('\n')) || pageText.endsWith(QLatin1Char('\r'))) return pageText;
    return pageText + kCrLf;
}

QString buildFieldCommands(const MetadataRecord& record) {
    using FieldCommandValues::Part;
    using FieldCommandValues::written;
    QString text;
    for (const MetadataLine& line : record) {
        text += QLatin1StringView("mtp://field=");
        text += written(line.name, Part::Other);
        text += QLatin1StringView("&content=");
        text += written(line.content, Part::Content);
        if (!line.lang.isEmpty()) {
            text += QLatin1StringView("&lang=");
            text += written(line.lang, Part::Other);
        }
        if (!line.scheme.isEmpty()) {
            text += QLatin1StringView("&scheme=");
            text += written(line.scheme, Part::Other);
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
