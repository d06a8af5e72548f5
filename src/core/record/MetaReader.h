#pragma once
#include "core/record/MetadataLine.h"

#include <QString>
#include <QStringView>

// Reads the record out of a page's text: its "<link rel" tags and its meta elements.
// Plain substring scans, each part of the page looked at a bounded number of times.
namespace MetaReader {

// What one meta tag says. `name` comes from "name", or from "http-equiv" when that is given
// too (then `httpEquiv` is set). Values are taken as they stand between double quotes.
struct MetaTagValues {
    QString name;
    QString content;
    QString lang;
    QString scheme;
    bool httpEquiv = false;
};

// What a walk over a page's tags notes besides its meta elements: the "<link rel" tags
// (except stylesheets) as link rows, the marks of a Harvest Control List (an <AGLSxml>
// element, or "hcl.dtd" in a declaration) and of an RSS channel (<rss version="2.0">, or an
// rdf: element declaring the RSS 1.0 namespace), all found in any case, and where the page's
// structure stands. The walk never looks inside a comment, a script, style or textarea
// element, or a meta element.
struct PageMarks {
    MetadataRecord linkRows;
    bool harvestList = false;
    bool channel = false;
    bool linksDone = false;  // a "<link rel" without a ">" after it ends the link rows
    // The first <html> and <head> start tags, every </head> end tag and <body> start tag.
    qsizetype html = -1;
    qsizetype head = -1;
    QList<qsizetype> headEnds;
    QList<qsizetype> bodies;
    // From here on nothing is read: an unclosed comment, script, style or textarea, or a
    // meta element without a ">" after it, starts here. -1 when the walk reads to the end.
    qsizetype unreadFrom = -1;
    // A tag read whole (a link row, a declaration, an rdf: element) ends at its ">", or is cut
    // off where a tag starts before it, as a meta element is, and always where a meta element
    // starts. The meta element that starts before the ">" of the last one cut off (where and
    // how that one is cut depends on it), -1 when none:
    qsizetype cutTagBound = -1;
    // Where the last link row that was cut off starts: it is read only while a ">" follows.
    qsizetype lastCutLink = -1;
    // The tag whose "<" stands at `at` (not a meta element).
    void see(QStringView text, qsizetype at);

private:
    QStringView tagAt(QStringView text, qsizetype at);
    QStringView readWhole(QStringView text, qsizetype at, QStringView tag);
    qsizetype gt_ = -2;  // the last ">" found (-1: none is left; -2: not searched yet)
};

// The "<" at `at` starts a tag, an end tag, a comment or declaration, or a processing
// instruction: a letter, "/", "!" or "?" follows it.
bool startsTag(QStringView text, qsizetype at);

// Position of the next "<meta" (any case) at or after `from` that starts a meta element:
// a blank, "/" or ">" follows it, so "<metadata>" is not one. A "<meta" inside a comment or
// inside the text of a script, style or textarea element is text, not an element. -1 when
// there is none. Every other tag passed on the way is shown to `marks`.
qsizetype findMetaStart(QStringView text, qsizetype from, PageMarks* marks = nullptr);

// Walks the meta elements of a text without overlap. An element runs from "<meta" through
// the first ">" after it; when a tag (any "<" followed by a letter, "/", "!" or "?") starts
// before that ">" outside a double-quoted value closed before it, the element is cut off
// there (a tag or a value someone forgot to close). What an element holds is its own text:
// the walk goes on after it. An element with no ">" anywhere after it ends the walk.
class MetaTagScanner {
public:
    explicit MetaTagScanner(QStringView text, PageMarks* marks = nullptr);
    bool next();  // moves to the next element; false when there is none
    qsizetype start() const { return start_; }
    qsizetype end() const { return end_; }  // one past the element's last character
    bool cut() const { return cut_; }        // it ends where another tag starts, not at its ">"
    // It starts before the ">" of a tag the marks read whole that was cut off, so that tag
    // ends as it does because of it (only when walked with marks).
    bool afterCutTag() const { return afterCut_; }
    QStringView tag() const { return text_.mid(start_, end_ - start_); }

private:
    QStringView text_;
    PageMarks* marks_;
    qsizetype nextStart_;  // the next element's start, -1 when none
    qsizetype gt_ = -1;    // the last ">" found, searched again only when passed
    bool noMoreGt_ = false;
    qsizetype start_ = -1;
    qsizetype end_ = -1;
    bool cut_ = false;
    bool afterCut_ = false;
    bool nextAfterCut_ = false;
    void noteNext();
};

// What taking out the text between `before` and `after` does to the tags this reader looks
// for: nothing; a tag's name now runs across the gap (a blank put into the gap keeps the two
// apart); or `before` ends with a tag's name, which becomes a tag as soon as a blank, "/" or
// ">" comes to follow it, whatever follows now.
enum class Joint { Clean, Straddles, Completes };
Joint joinedAt(QStringView before, QStringView after);

// The attributes of one tag (the text from "<meta" through its ">"). An attribute counts in
// the form word, blanks, "=", blanks, a double-quoted value; a later well-formed occurrence of
// the same word in the tag replaces an earlier one. "lang" is found inside "xml:lang" too.
// A value whose quote is never closed runs to the tag's end, less the ">" and the blanks and
// line breaks before it.
MetaTagValues readMetaTag(QStringView tag);

// The tag's attributes other than name, http-equiv, content, lang, xml:lang and scheme,
// each exactly as it stands, joined by single blanks. An attribute whose quoted value is
// never closed ends the list: its value runs to the tag's end (as a known attribute's does)
// and is closed there.
QString otherAttributes(QStringView tag);

// The line a tag gives, as the record keeps it (recordLine, with `breaksToBlanks` when the
// repository's Open Record macro is set): named by "name" or "http-equiv" with the values
// as read and its other attributes; or, without a name, an empty name and the whole tag as
// content.
MetadataLine lineFromTag(QStringView tag, bool breaksToBlanks = false);

// One line per meta element of the page, in page order. A tag without a name becomes a line
// with an empty name and the whole tag as its content. With `openRecordMacroSet` (the
// repository's Open Record macro exists), line breaks in name, content and scheme become
// blanks, one blank per character.
MetadataRecord LoadMetadataLines(const QString& pageText, bool openRecordMacroSet);

// What a text read by the page loader is (see PageMarks).
enum class PageTextKind {
    Record,               // an ordinary page: its record is read
    HarvestControlList,
    RssChannel,
};

// A page read in one walk: what it is, and its record as the page loader builds it (link
// rows first, then the meta lines). An empty page gives an empty record.
struct PageReading {
    PageTextKind kind = PageTextKind::Record;
    MetadataRecord linkRows;
    MetadataRecord lines;  // the meta lines
};
PageReading readPage(const QString& pageText, bool openRecordMacroSet);
MetadataRecord readPageRecord(const QString& pageText, bool openRecordMacroSet);
PageTextKind pageTextKind(const QString& text);

}  // namespace MetaReader
