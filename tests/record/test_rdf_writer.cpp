#include "record/MetaWriter.h"
#include "record/RdfWriter.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using RdfWriter::MakeMetaIntoRDF;

namespace {

const QString kNamespaces = QStringLiteral(
    "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
    "    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n");

const QString kHead = u"    <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"\r\n"_s;

QString rdfOf(const QString& meta, QString address = u"http://example.org/"_s, const QString& namespaces = kNamespaces,
              const QString& prefix = u"agls"_s) {
    return MakeMetaIntoRDF(address, meta, namespaces, prefix);
}

QString frame(const QString& groups, const QString& address = u"http://example.org/"_s) {
    return kHead + kNamespaces + u"    <rdf:Description rdf:about=\""_s + address + u"\">\r\n"_s + groups +
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

TEST(RdfExport, EmptyMetaTextGivesTheFrameOnly) {
    EXPECT_EQ(rdfOf(QString()), frame(QString()));
    EXPECT_EQ(xmlError(rdfOf(QString())), QString());
}

TEST(RdfExport, PlainAndStructuredGroups) {
    const QString meta = QStringLiteral(
        "<META NAME=\"DC.Title\" LANG=\"fr\" CONTENT=\"Cats &lt;&amp;&gt; dogs\">\r\n"
        "<META NAME=\"DC.Subject\" SCHEME=\"LCSH\" CONTENT=\"Pets\">\r\n"
        "<META NAME=\"DC.Date.Modified\" SCHEME=\"ISO8601\" CONTENT=\"2004-06-01\">\r\n"
        "<META NAME=\"AGLS.Function\" SCHEME=\"AGIFT\" CONTENT=\"Health\">\r\n"
        "<META NAME=\"AGLS.Availability.Place\" CONTENT=\"Canberra\">\r\n"
        "<META NAME=\"dateLicensed\" CONTENT=\"x\">\r\n"
        "<META NAME=\"keywords\" CONTENT=\"a, b\">\r\n");
    const QString groups = QStringLiteral(
        "\r\n    <dc:title xml:lang=\"en\">Cats %3C%26%3E dogs</dc:title>\r\n"
        "\r\n    <dc:subject>\r\n    <rdf:description>\r\n    <rdf:value>Pets</rdf:value>\r\n"
        "    <dcq:subjectScheme>LCSH</dcq:subjectScheme>\r\n    </rdf:description>\r\n    </dc:subject>\r\n"
        "\r\n    <dc:date>\r\n    <rdf:description>\r\n    <rdf:value>2004-06-01</rdf:value>\r\n"
        "    <dcq:dateScheme>ISO8601</dcq:dateScheme>\r\n    <dcq:dateType>Modified</dcq:dateType>\r\n"
        "    </rdf:description>\r\n    </dc:date>\r\n"
        "\r\n    <agls:function>\r\n    <rdf:description>\r\n    <rdf:value>Health</rdf:value>\r\n"
        "    <agls:functionScheme>AGIFT</agls:functionScheme>\r\n    </rdf:description>\r\n    </agls:function>\r\n"
        "\r\n    <agls:availability>\r\n    <rdf:description>\r\n    <rdf:value>Canberra</rdf:value>\r\n"
        "    <agls:availabilityType>Place</agls:availabilityType>\r\n    </rdf:description>\r\n    "
        "</agls:availability>\r\n"
        "\r\n    <commercial:datelicensed xml:lang=\"en\">x</commercial:datelicensed>\r\n"
        "\r\n    <commercial:keywords xml:lang=\"en\">a, b</commercial:keywords>\r\n");
    const QString rdf = rdfOf(meta);
    EXPECT_EQ(rdf, frame(groups));
    EXPECT_EQ(xmlError(rdf), QString());
}

TEST(RdfExport, RefinementTypesUseDcqForDatesAndTheDomainPrefixOtherwise) {
    const QString rdf = rdfOf(QStringLiteral("<meta name=\"X.DateOf.Created\" content=\"1\">"
                                             "<meta name=\"X.Coverage.Spatial.Extra\" content=\"2\">"),
                              u"http://e/"_s, kNamespaces, u"nzgls"_s);
    EXPECT_TRUE(rdf.contains(u"    <dcq:dateofType>Created</dcq:dateofType>\r\n"_s));
    EXPECT_TRUE(rdf.contains(u"    <nzgls:coverageType>Spatial.Extra</nzgls:coverageType>\r\n"_s));
}

TEST(RdfExport, HttpEquivWithoutNameAndElementsWithoutEither) {
    const QString rdf =
        rdfOf(QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html\">"
                             "<meta charset=\"utf-8\" content=\"ignored\">"
                             "<metadata name=\"not.me\" content=\"x\">"));
    EXPECT_EQ(rdf, frame(QStringLiteral("\r\n    <commercial:content-type xml:lang=\"en\">text/html"
                                        "</commercial:content-type>\r\n")));
}

TEST(RdfExport, AddressGetsHttpOnlyWhenItHasNoWebScheme) {
    QString address = u"www.example.org/page.htm"_s;
    const QString rdf = MakeMetaIntoRDF(address, QString(), kNamespaces, u"dc"_s);
    EXPECT_EQ(address, u"http://www.example.org/page.htm"_s);
    EXPECT_TRUE(rdf.contains(u"rdf:about=\"http://www.example.org/page.htm\""_s));
    for (const char* kept : {"https://secure.example.org/", "HTTP://example.org/", "see http://x/"}) {
        QString same = QLatin1String(kept);
        MakeMetaIntoRDF(same, QString(), kNamespaces, u"dc"_s);
        EXPECT_EQ(same, QLatin1String(kept));
    }
}

TEST(RdfExport, TheRecordsOwnBlockGoesThrough) {
    MetadataLine title;
    title.name = u"DC.Title"_s;
    title.content = u"<b>\"x\"</b>"_s;
    const QString rdf = rdfOf(MetaWriter::MakeMetaIntoSource({title}));
    EXPECT_TRUE(rdf.contains(u">%3Cb%3E%22x%22%3C/b%3E</dc:title>"_s));
    EXPECT_EQ(xmlError(rdf), QString());
}

TEST(RdfExport, AlwaysWellFormedWhateverTheNamesAndValues) {
    const QString meta = QStringLiteral(
        "<meta name=\"DC.My Title\" content=\"a & b\">"
        "<meta name=\"1abc\" content=\"&copy; &unknown; &#1;\">"
        "<meta name=\".lead\" scheme=\"A&B <c &copy; &amp; &#65; &#x26;\" content=\"x\">"
        "<meta name=\"DC.\" content=\"empty element\">"
        "<meta name=\"DC.Ti<t&x;.Ref&<\" content=\"y\">"
        "<meta name=\"Caf\u00E9.\u00C9l\u00E9ment:x\" content=\"\u4E2D\u6587\">"
        "<meta name=\"-x.-y.-z\" scheme=\"s\u0001\uFFFF\" content=\"c\u0002\">"
        "<meta name=\"DC.Title\" content=\"lone \xD800 surrogate\">");
    const QString namespaceCases[] = {
        kNamespaces,
        QString(),
        u"    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"_s,  // start tag left open
        u"    xmlns:dc=\"a&b<c\"\r\n    xmlns:dc=\"again\"\r\n    xmlns:rdf=\"twice\">\r\n"_s,
        u"garbage < & \" >"_s,
    };
    const QString addresses[] = {u"http://e.org/?a=1&b=2&amp;c=\"3\"<x>"_s, u"\u0001"_s};
    for (const QString& namespaces : namespaceCases)
        for (const QString& address : addresses) {
            const QString rdf = rdfOf(meta, address, namespaces, u"bad prefix!"_s);
            EXPECT_EQ(xmlError(rdf), QString()) << rdf.toStdString();
        }
    const QString rdf = rdfOf(meta);
    EXPECT_TRUE(rdf.contains(u"<dc:my_title xml:lang=\"en\">a %26 b</dc:my_title>"_s));
    EXPECT_TRUE(rdf.contains(u"<commercial:_1abc "_s));
    EXPECT_TRUE(rdf.contains(u"<_:lead>"_s));
    EXPECT_TRUE(rdf.contains(u"<dcq:leadScheme>A&amp;B &lt;c &amp;copy; &amp; &#65; &#x26;</dcq:leadScheme>"_s));
    EXPECT_TRUE(rdf.contains(u"<dc:_ xml:lang=\"en\">empty element</dc:_>"_s));
}

TEST(RdfExport, WellFormedNamespacesPassThroughUnchangedAndAreAlwaysClosed) {
    EXPECT_TRUE(rdfOf(QString()).startsWith(kHead + kNamespaces));
    const QString none = rdfOf(QString(), u"http://e/"_s, QString());
    EXPECT_TRUE(none.startsWith(kHead + u"    >\r\n    <rdf:Description"_s));
    const QString open = rdfOf(QString(), u"http://e/"_s, u"    xmlns:agls=\"http://www.naa.gov.au/agls/1.2\"\r\n"_s);
    EXPECT_TRUE(open.startsWith(kHead + u"    xmlns:agls=\"http://www.naa.gov.au/agls/1.2\">\r\n"_s));
}

TEST(RdfExport, TheWellFormednessCheckRejectsWhatTheWriterAvoids) {
    for (const char* bad : {"<a>&copy;</a>", "<a>x & y</a>", "<a b=\"<\"/>", "<a x=\"1\" x=\"2\"/>", "<a b c>",
                            "<a\x01/>", "<a>\x01</a>", "<1a/>", "<a>"}) {
        EXPECT_NE(xmlError(QLatin1String(bad)), QString()) << bad;
    }
    EXPECT_EQ(xmlError(u"<p:a xml:lang=\"en\">&amp;&#65;</p:a>"_s), QString());
}
