#pragma once
#include <QString>

// The RDF/XML description of one record.
namespace RdfWriter {

// The W3C RDF syntax namespace written on the rdf:RDF element.
inline constexpr char kRdfSyntaxNamespace[] = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";

// Describes the resource at `address` with the named meta elements of `metaText` (a meta
// block or a whole page). Element names split at their dots into prefix, element and
// refinement ("DC.Date.Modified": dc, date, Modified; a name without a dot gets the prefix
// "commercial"); an element with a scheme or refinement becomes an rdf:description group.
// Contents are decoded from HTML references and written with "%" escapes.
//
// `rdfNamespaces` are the current domain's "    xmlns:p="uri"" lines, the last one closing the
// rdf:RDF start tag with ">"; `rdfPrefix` the domain's prefix for refinement types.
//
// `address` is written with "http://" in front unless it keeps a scheme of its own
// (platform::withLinkScheme). The result is always well-formed XML 1.0: values are escaped,
// element names made of name characters, the rdf:RDF start tag always closed.
//
// `values`: how the contents and the address are written.
enum class RdfValues {
    PercentEscaped,  // contents with "%" escapes (the clipboard's copy)
    XmlText,         // the texts themselves, escaped for XML only (inside a Harvest Control List)
};
QString MakeMetaIntoRDF(const QString& address, const QString& metaText, const QString& rdfNamespaces,
                        const QString& rdfPrefix, RdfValues values = RdfValues::PercentEscaped);

// How xmlEscaped treats what cannot stand in XML as it is.
struct XmlEscaping {
    bool attribute = false;        // the double quote becomes "&quot;" too
    bool keepReferences = false;   // an "&" that starts a well-formed reference stays
    bool percentControls = false;  // control codes become "%XX" escapes instead of U+FFFD
    // A carriage return becomes "&#13;", and in an attribute a line feed and a tab become
    // references too, so a reader that normalises line ends and blanks as XML does reads
    // them back.
    bool lineEnds = false;
};

// Text fit for XML: "&", "<" and ">" become references; characters XML does not allow
// (control codes, lone surrogates, U+FFFE/U+FFFF) never reach the output.
QString xmlEscaped(QStringView text, XmlEscaping how);

}  // namespace RdfWriter
