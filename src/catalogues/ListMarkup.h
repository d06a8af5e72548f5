#pragma once
#include <QString>
#include <QStringView>

// The markup of the list files the tree is written to and read from (Harvest Control Lists,
// RSS channels). They are XML, or close to it: the older Harvest Control List form never
// closes its first tag, and channels from the web come with HTML entities, CDATA and
// unclosed elements. So the readers use one tolerant scanner instead of an XML parser: it
// never looks anything up (no DTD is ever fetched), always moves forward and never fails.
namespace ListMarkup {

enum class TokenKind { Text, StartTag, EndTag };

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
    // The character data of a text token, references decoded (CDATA as it stands).
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

// The text of one element, gathered while the scanner walks through it: start() on its
// start tag, then every following token through feed() until feed() says the element has
// ended. Inside an RDF value ("<rdf:value>"), the value is that element's text alone.
class ElementText {
public:
    void start(QStringView name);
    void reset() { name_ = QString(); }
    bool active() const { return !name_.isEmpty(); }
    // True when the token is the element's end tag.
    bool feed(const Token& token);
    // The text, blanks at both ends taken off.
    QString value() const { return (sawValue_ ? value_ : text_).trimmed(); }

private:
    QString name_;
    int depth_ = 0;
    bool inValue_ = false;
    bool sawValue_ = false;
    QString text_;
    QString value_;
};

// The value of an attribute of a start tag ("rdf:about", "lname"), references decoded; ""
// when the tag does not have it. Names compare ignoring case; single or double quotes.
QString attribute(QStringView tag, QLatin1StringView name);

// Decodes the references XML knows without a DTD: "&amp;", "&lt;", "&gt;", "&quot;",
// "&apos;" and numeric ones ("&#233;", "&#x1F600;"). Any other "&" stays as it stands
// ("&nbsp;" too).
QString decodeReferences(QStringView text);

// Text fit for XML: "&", "<" and ">" become references, and in an attribute value the
// double quote too. Characters XML does not allow (control codes, lone surrogates) become
// U+FFFD, so the file always parses.
QString escaped(QStringView text, bool attribute = false);

}  // namespace ListMarkup
