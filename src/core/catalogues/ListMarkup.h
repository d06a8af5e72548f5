#pragma once
#include <QString>
#include <QStringList>
#include <QStringView>

// The markup of the list files the tree is written to and read from (Harvest Control Lists,
// RSS channels). They are XML, or close to it: the older Harvest Control List form never
// closes its first tag, and channels from the web come with HTML entities, CDATA and
// unclosed elements. So the readers use one tolerant scanner instead of an XML parser: it
// never looks anything up (no DTD is ever fetched), always moves forward and never fails.
namespace ListMarkup {

enum class TokenKind { Text, StartTag, EndTag };

// What a numeric reference to a control character (other than a tab or line end; NUL
// included) reads as: kept as the text it is, as XML has no such character; or the
// character, for text that takes controls out as it enters.
enum class ControlReferences { Kept, Decoded };

// One piece of the text: a run of character data (CDATA included), a start tag or an end
// tag. Comments, declarations and processing instructions are passed over.
struct Token {
    TokenKind kind = TokenKind::Text;
    QStringView name;  // the tag's name as written ("rdf:value"); empty for text
    QStringView raw;   // the whole tag "<...>", or the text run as written
    bool cdata = false;        // a CDATA section: `raw` is its content, taken literally
    bool selfClosing = false;  // "<tag ... />"

    bool is(TokenKind k, QLatin1StringView tagName) const {
        return kind == k && name.compare(tagName, Qt::CaseInsensitive) == 0;
    }
    // The character data of a text token, line ends made LF and references decoded, as XML
    // reads them (CDATA as it stands, but for its line ends).
    QString text() const;
};

class TagScanner {
public:
    explicit TagScanner(QStringView text) : text_(text) {}
    // Moves to the next token; false at the end of the text. A tag without its ">" ends the
    // text, as a truncated file does.
    bool next();
    const Token& token() const { return token_; }

private:
    bool skipPast(QLatin1StringView end);
    QStringView text_;
    qsizetype pos_ = 0;
    Token token_;
};

// Character data gathered from text tokens, knowing which characters stood there as blanks
// or line ends (as opposed to references to them).
class GatheredText {
public:
    void add(const Token& token);
    // Empties it, keeping the room it had for the next element.
    void clear(ControlReferences controls = ControlReferences::Kept) {
        text_.resize(0);
        raw_.resize(0);
        first_ = end_ = -1;
        controls_ = controls;
    }
    // The text without the blanks and line ends written around it.
    QString value() const { return first_ < 0 ? QString() : text_.mid(first_, end_ - first_); }
    // The text as written, references not decoded (a CDATA section escaped).
    const QString& raw() const { return raw_; }

private:
    QString text_;
    QString raw_;
    qsizetype first_ = -1;
    qsizetype end_ = -1;
    ControlReferences controls_ = ControlReferences::Kept;
};

// The text of one element, gathered while the scanner walks through it: start() on its
// start tag, then every following token through feed() until feed() says the element has
// ended. Inside an RDF value ("<rdf:value>"), the value is that element's text alone.
class ElementText {
public:
    // `name` is kept as a view: the text it is in must outlive the element's reading.
    void start(QStringView name, ControlReferences controls = ControlReferences::Kept);
    void reset() { name_ = QStringView(); }
    bool active() const { return !name_.isEmpty(); }
    // True when the token is the element's end tag.
    bool feed(const Token& token);
    // The text, without the blanks and line ends written around it.
    QString value() const { return (sawValue_ ? value_ : text_).value(); }
    // The text as written.
    const QString& raw() const { return (sawValue_ ? value_ : text_).raw(); }

private:
    QStringView name_;  // in the text the scanner reads
    int depth_ = 0;
    bool inValue_ = false;
    bool sawValue_ = false;
    GatheredText text_;
    GatheredText value_;
};

// The value of an attribute of a start tag ("rdf:about", "lname"), line ends made LF and
// references decoded; "" when the tag does not have it. Names compare ignoring case; single
// or double quotes.
QString attribute(QStringView tag, QLatin1StringView name);

// Decodes the references XML knows without a DTD: "&amp;", "&lt;", "&gt;", "&quot;",
// "&apos;" and numeric ones ("&#233;", "&#x1F600;"). Any other "&" stays as it stands
// ("&nbsp;" too).
QString decodeReferences(QStringView text, ControlReferences controls = ControlReferences::Kept);
// The same, appended to `out`.
void appendDecoded(QString& out, QStringView text, ControlReferences controls = ControlReferences::Kept);

// Text as written in a list file read as XML reads it: CR LF and a lone CR become LF, then
// the references are decoded.
QString textOf(QStringView written);

// Text fit for XML: "&", "<" and ">" become references, and in an attribute value the
// double quote too; a carriage return (in an attribute also a line feed and a tab) becomes
// a reference, so it reads back as it was. Characters XML does not allow (control codes,
// lone surrogates) become U+FFFD, so the file always parses.
QString escaped(QStringView text, bool attribute = false);
// A link as a valid address: a blank becomes "%20" and a control character the "%XX" escapes
// of its UTF-8 bytes; everything else stays as it stands ("%" and non-ASCII characters too),
// so an address goes through here once and is the same ever after.
QString validAddress(QStringView link);
// A link as a valid address, escaped so.
QString escapedLink(QStringView link, bool attribute = false);
// An element's text escaped so, with the blanks and line ends at its ends written as
// references: readers drop those written around a text, but keep these.
QString escapedWhole(QStringView text);

// A folder path as the list files write it: the levels, escaped, joined by "; ". A level's
// own "; " is written "&#59; ": only a "; " written as such separates levels.
QString folderPath(const QStringList& levels, bool attribute = false);
// The levels of a folder path as written, each read as XML reads it.
QStringList folderLevels(QStringView written);

}  // namespace ListMarkup
