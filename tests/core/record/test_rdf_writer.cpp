#include "core/record/MetaWriter.h"
#include "core/record/RdfWriter.h"
#include "support/Common.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using RdfWriter::MakeMetaIntoRDF;

namespace {

const QString kNamespaces =
    u"    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n"_s;

QString rdfOf(const QString& meta, QString address = u"http://example.org/"_s, const QString& namespaces = kNamespaces,
              const QString& prefix = u"agls"_s) {
    return MakeMetaIntoRDF(address, meta, namespaces, prefix);
}

QString frame(const QString& groups) {
    return u"    <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"\r\n"_s + kNamespaces +
           u"    <rdf:Description rdf:about=\"http://example.org/\">\r\n"_s + groups +
           u"    </rdf:Description>\r\n    </rdf:RDF>\r\n"_s;
}

// Well-formed XML 1.0, read without namespace processing; returns the error text or "".
QString xmlError(const QString& xml) {
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd()) reader.readNext();
    return reader.hasError() ? reader.errorString() : QString();
}

}  // namespace

TEST(RdfExport, PlainAndStructuredGroupsAboutTheAddress) {
    EXPECT_EQ(rdfOf(QString()), frame(QString()));
    const QString meta = QStringLiteral(
        "<META NAME=\"DC.Title\" LANG=\"fr\" CONTENT=\"Cats &lt;&amp;&gt; dogs\">\r\n"
        "<META NAME=\"DC.Date.Modified\" SCHEME=\"ISO8601\" CONTENT=\"2004-06-01\">\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html\"><meta charset=\"utf-8\" content=\"no\">"
        "<metadata name=\"not.me\" content=\"x\">");
    const QString groups = QStringLiteral(
        "\r\n    <dc:title xml:lang=\"en\">Cats %3C%26%3E dogs</dc:title>\r\n"
        "\r\n    <dc:date>\r\n    <rdf:description>\r\n    <rdf:value>2004-06-01</rdf:value>\r\n"
        "    <dcq:dateScheme>ISO8601</dcq:dateScheme>\r\n    <dcq:dateType>Modified</dcq:dateType>\r\n"
        "    </rdf:description>\r\n    </dc:date>\r\n"
        "\r\n    <commercial:content-type xml:lang=\"en\">text/html</commercial:content-type>\r\n");
    EXPECT_EQ(rdfOf(meta), frame(groups));
    // an address without a scheme is written with "http://"; other addresses stay as they are
    EXPECT_TRUE(MakeMetaIntoRDF(u"www.e.org/"_s, {}, kNamespaces, {}).contains(u"about=\"http://www.e.org/\""_s));
    for (const QString& same : {u"https://e.org/"_s, u"HTTP://e.org/"_s, u"see http://x/"_s})
        EXPECT_TRUE(MakeMetaIntoRDF(same, {}, kNamespaces, {}).contains(u"about=\""_s + same + u'"')) << same;
    // refinement types other than dates take the domain's prefix
    EXPECT_TRUE(rdfOf(u"<meta name=\"X.Cov.S.E\" content=\"2\">"_s, {}, kNamespaces, u"nzgls"_s)
                    .contains(u"    <nzgls:covType>S.E</nzgls:covType>\r\n"_s));
}

TEST(RdfExport, AlwaysWellFormedWhateverTheNamesValuesAndNamespaces) {
    const MetadataLine title{u"DC.Title"_s, u"<b>\"x\"</b>"_s, {}, {}};  // the record's own block
    const QString meta = MetaWriter::MakeMetaIntoSource({title}) + QStringLiteral(
        "<meta name=\"DC.My Title\" content=\"a & b &copy; &unknown; &#1;\">"
        "<meta name=\".lead\" scheme=\"A&B <c &copy; &amp; &#65; &#x26;\" content=\"x\">"
        "<meta name=\"DC.\" content=\"empty element\"><meta name=\"Caf\u00E9.\u00C9l:x\" content=\"\u4E2D\">"
        "<meta name=\"-x.-y.-z\" scheme=\"s\u0001\uFFFF\" content=\"c\u0002 lone \xD800 surrogate\">");
    const QString address = u"http://e.org/?a=1&b=\"3\"<x>\u0001"_s;
    for (const QString& namespaces : {kNamespaces, QString(), u"    xmlns:dc=\"a&b<c\"\r\n    xmlns:dc=\"b\"\r\n"_s})
        EXPECT_EQ(xmlError(rdfOf(meta, address, namespaces, u"bad prefix!"_s)), QString()) << namespaces;
    const QString rdf = rdfOf(meta);
    EXPECT_TRUE(rdf.contains(u">%3Cb%3E%22x%22%3C/b%3E</dc:title>"_s));
    EXPECT_TRUE(rdf.contains(u"<dcq:leadScheme>A&amp;B &lt;c &amp;copy; &amp; &#65; &#x26;</dcq:leadScheme>"_s));
    EXPECT_TRUE(rdf.contains(u"<dc:_ xml:lang=\"en\">empty element</dc:_>"_s));
    EXPECT_NE(xmlError(u"<a>&copy;</a>"_s), QString());  // the check itself can fail
}
