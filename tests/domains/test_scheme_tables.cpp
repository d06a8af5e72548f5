#include "domains/modSchemas.h"
#include "support/Common.h"

#include <QString>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Case {
    const char* domain;
    const char* element;
    const char* list;
};

// Every name of every domain's table with the list the edit panel must then offer.
const Case kEveryRow[] = {
    {"AGLS", "DC.Title", "None|"},
    {"AGLS", "DC.Subject", "None|TAGS|APAIS|LCSH|AAT|MeSH|"},
    {"AGLS", "DC.Contributor", "None|X500|"},
    {"AGLS", "DC.Creator", "None|X500|"},
    {"AGLS", "DC.Identifier", "None|URI|ISBN|ISSN|"},
    {"AGLS", "DC.Rights", "None|URI|"},
    {"AGLS", "DC.Description", "None|URI|"},
    {"AGLS", "DC.Source", "None|URI|ISBN|ISSN|"},
    {"AGLS", "DC.Language", "RFC1766|"},
    {"AGLS", "DC.Coverage", "None|ISO8601|"},
    {"AGLS", "AGLS.Function", "None|AGIFT|KAAA|"},
    {"AGLS", "DC.Date", "None|ISO8601|"},
    {"AGLS", "DC.Type", "None|agls-document|agls-service|"},
    {"AGLS", "DC.Format", "None|IMT|Physical|ISO|"},
    {"AGLS", "AGLS.Audience", "None|ANZSIC|BEP|EdNA-userlevel|agegroup|EEO|ASCO|"},
    {"AGLS", "AGLS.Availability", "None|X500|"},
    {"AGLS", "AGLS.Mandate", "None|URI|"},
    {"AGLS", "DC.Publisher", "None|X500|"},
    {"AGLS1.3", "DC.Title", "None|"},
    {"AGLS1.3", "DC.Subject", "None|TAGS|AAT|APAIS|LIAC|LCSH|MeSH|"},
    {"AGLS1.3", "DC.Contributor", "None|AglsAgent|X500|"},
    {"AGLS1.3", "DC.Creator", "None|AglsAgent|X500|"},
    {"AGLS1.3", "DC.Publisher", "None|AglsAgent|X500|"},
    {"AGLS1.3", "DC.Identifier", "None|URI|ISBN|ISSN|X500|"},
    {"AGLS1.3", "DC.Rights", "None|URI|"},
    {"AGLS1.3", "DC.Description", "None|URI|"},
    {"AGLS1.3", "DC.Source", "None|URI|ISBN|ISSN|"},
    {"AGLS1.3", "DC.Relation", "None|URI|ISBN|ISSN|"},
    {"AGLS1.3", "DC.Language", "RFC3066|"},
    {"AGLS1.3", "DC.Coverage.region", "LawZone.region|None|"},
    {"AGLS1.3", "DC.Coverage.jurisdiction", "AGLSJuri|LawZone.jurisdiction|None|"},
    {"AGLS1.3", "DC.Coverage.spatial", "None|TGN|LCSH|"},
    {"AGLS1.3", "DC.Coverage.temporal", "None|ISO8601|"},
    {"AGLS1.3", "DC.Coverage", "None|ISO8601|TGN|LCSH|"},
    {"AGLS1.3", "AGLS.Function", "AGIFT|KeywordAAA|None|"},
    {"AGLS1.3", "DC.Date", "None|ISO8601|DCMIPeriod|"},
    {"AGLS1.3", "DC.Type.serviceType", "None|agls-service|"},
    {"AGLS1.3", "DC.Type.documentType", "None|agls-document|"},
    {"AGLS1.3", "DC.Type.aggregationLevel", "None|"},
    {"AGLS1.3", "DC.Type", "None|agls-document|agls-service|LawZone.Type|"},
    {"AGLS1.3", "DC.Format", "None|IMT|Physical|AAT|"},
    {"AGLS1.3", "AGLS.Audience", "None|ANZSIC|EdNA-userlevel|agls-audience|"},
    {"AGLS1.3", "AGLS.Availability", "None|X500|AGLSAvail|"},
    {"AGLS1.3", "AGLS.Mandate", "None|URI|"},
    {"AGLS1.3", "LawZone.category", "LAWZONE|"},
    {"AGLS1.3 (ACT)", "DC.Title", "None|"},
    {"AGLS1.3 (ACT)", "DC.Subject", "None|ACT Thesaurus|Health Thesaurus|"},
    {"AGLS1.3 (ACT)", "DC.Contributor", "None|AglsAgent|"},
    {"AGLS1.3 (ACT)", "DC.Creator", "None|ActVers|"},
    {"AGLS1.3 (ACT)", "DC.Publisher", "None|"},
    {"AGLS1.3 (ACT)", "DC.Identifier", "None|URI|"},
    {"AGLS1.3 (ACT)", "DC.Rights", "None|URI|"},
    {"AGLS1.3 (ACT)", "DC.Description", "None|"},
    {"AGLS1.3 (ACT)", "DC.Source", "None|URI|"},
    {"AGLS1.3 (ACT)", "DC.Relation", "None|URI|"},
    {"AGLS1.3 (ACT)", "DC.Language", "RFC3066|"},
    {"AGLS1.3 (ACT)", "DC.Coverage.region", "LawZone.region|None|"},
    {"AGLS1.3 (ACT)", "DC.Coverage.jurisdiction", "AGLSJuri|None|"},
    {"AGLS1.3 (ACT)", "DC.Coverage.spatial", "None|TGN|LCSH|"},
    {"AGLS1.3 (ACT)", "DC.Coverage.temporal", "None|ISO8601|"},
    {"AGLS1.3 (ACT)", "DC.Coverage", "None|ISO8601|"},
    {"AGLS1.3 (ACT)", "AGLS.Function", "AGIFT|KeywordAAA|None|"},
    {"AGLS1.3 (ACT)", "DC.Date", "None|ISO8601|DCMIPeriod|"},
    {"AGLS1.3 (ACT)", "DC.Type.serviceType", "None|agls-service|"},
    {"AGLS1.3 (ACT)", "DC.Type.documentType", "None|agls-document|"},
    {"AGLS1.3 (ACT)", "DC.Type.aggregationLevel", "None|"},
    {"AGLS1.3 (ACT)", "DC.Type", "None|agls-document|agls-service|"},
    {"AGLS1.3 (ACT)", "DC.Format", "None|IMT|"},
    {"AGLS1.3 (ACT)", "AGLS.Audience", "None|agls-audience|"},
    {"AGLS1.3 (ACT)", "AGLS.Availability", "None|AGLSAvail|"},
    {"AGLS1.3 (ACT)", "AGLS.Mandate", "None|URI|"},
    {"AGLS1.3 (ACT)", "LawZone.category", "LAWZONE|"},
    {"AGLS1.2", "DC.Title", "None|"},
    {"AGLS1.2", "DC.Subject", "None|TAGS|AAT|APAIS|LIAC|LCSH|MeSH|"},
    {"AGLS1.2", "DC.Contributor", "None|agls-agent|"},
    {"AGLS1.2", "DC.Creator", "None|agls-agent|"},
    {"AGLS1.2", "DC.Identifier", "None|URI|ISBN|ISSN|"},
    {"AGLS1.2", "DC.Rights", "None|URI|"},
    {"AGLS1.2", "DC.Description", "None|URI|"},
    {"AGLS1.2", "DC.Source", "None|URI|ISBN|ISSN|"},
    {"AGLS1.2", "DC.Relation", "None|URI|ISBN|ISSN|"},
    {"AGLS1.2", "DC.Language", "RFC1766|"},
    {"AGLS1.2", "DC.Coverage.region", "None|LawZone.region"},
    {"AGLS1.2", "DC.Coverage.jurisdiction", "agls-jurisdiction|LawZone.jurisdiction"},
    {"AGLS1.2", "DC.Coverage", "None|ISO8601|TGN|LCSH|"},
    {"AGLS1.2", "AGLS.Function", "None|AGIFT|KAAA|CRS|"},
    {"AGLS1.2", "DC.Date", "None|ISO8601|DCMIPeriod|"},
    {"AGLS1.2", "DC.Type.serviceType", "None|agls-service|"},
    {"AGLS1.2", "DC.Type.documentType", "None|agls-document|"},
    {"AGLS1.2", "DC.Type", "None|LawZone.Type|"},
    {"AGLS1.2", "DC.Format", "None|IMT|Physical|ISO|"},
    {"AGLS1.2", "AGLS.Audience", "agls-audience|None|ANZSIC|BEP|EdNA-userlevel|agegroup|EEO|ASCO|"},
    {"AGLS1.2", "AGLS.Availability", "None|"},
    {"AGLS1.2", "AGLS.Mandate", "None|URI|"},
    {"AGLS1.2", "DC.Publisher", "None|agls-agent|"},
    {"AGLS1.2", "LawZone.category", "LAWZONE|"},
    {"Aust Business Entry Point", "DC.Title", "None|"},
    {"Aust Business Entry Point", "DC.Creator.jurisdiction", "bep.jurisdiction|None|"},
    {"Aust Business Entry Point", "DC.Creator", "None|"},
    {"Aust Business Entry Point", "DC.Publisher.jurisdiction", "bep.jurisdiction|None|"},
    {"Aust Business Entry Point", "DC.Publisher", "None|"},
    {"Aust Business Entry Point", "DC.Date", "ISO8601|None|"},
    {"Aust Business Entry Point", "DC.Type", "bep.type|None|"},
    {"Aust Business Entry Point", "DC.Coverage.jurisdiction", "bep.jurisdiction|None|"},
    {"Aust Business Entry Point", "DC.Coverage.periodName", "ISO8601|None|"},
    {"Aust Business Entry Point", "DC.Subject", "bep.topic|None|"},
    {"Aust Business Entry Point", "AGLS.Function", "AGIFT|None|"},
    {"Aust Business Entry Point", "DC.Identifier", "URI|None|"},
    {"Aust Business Entry Point", "AGLS.Availability.placeName", "bep.location|None|"},
    {"Aust Business Entry Point", "AGLS.Availability.jurisdiction", "bep.jurisdiction|None|"},
    {"Aust Business Entry Point", "AGLS.Availability", "None|"},
    {"Aust Business Entry Point", "AGLS.Audience.industry", "bep.industry|None|"},
    {"Aust Business Entry Point", "AGLS.Audience.target", "bep.target|None|"},
    {"Aust Business Entry Point", "AGLS.Audience", "None|"},
    {"Aust Business Entry Point", "DC.Description", "None|"},
    {"Aust Business Entry Point", "AGLS.Mandate.jurisdiction", "bep.jurisdiction|None|"},
    {"Aust Business Entry Point", "DC.Contributor.jurisdiction", "bep.jurisdiction|None|"},
    {"Aust Business Entry Point", "DC.Format", "bep.format|None|"},
    {"Aust Business Entry Point", "DC.Language", "RFC1766|"},
    {"Aust Business Entry Point", "DC.Rights", "None|URI|"},
    {"Aust Business Entry Point", "DC.Source", "None|URI|"},
    {"Aust Business Entry Point", "BEP.ServiceInfo", "None|"},
    {"Aust Business Entry Point", "BEP.complianceInfo", "None|"},
    {"Aust Business Entry Point", "BEP.transactionInfo.DC.Type", "bep.type|None|"},
    {"Aust Business Entry Point", "BEP.transactionInfo", "None|"},
    {"Aust Business Entry Point", "BEP.admin.expirydate", "ISO8601|"},
    {"Aust Business Entry Point", "BEP.admin.reviewDate", "ISO8601|"},
    {"Aust Business Entry Point", "BEP.admin.lastReviewed", "ISO8601|"},
    {"Aust Business Entry Point", "BEP.admin", "None|"},
    {"JSMS", "DC.Creator", "None|"},
    {"JSMS", "DC.Publisher", "None|"},
    {"JSMS", "DC.Rights", "URI|None|"},
    {"JSMS", "DC.Subject", "JSMS-liac|"},
    {"JSMS", "Keywords", "None|"},
    {"JSMS", "DC.Description", "None|URI|"},
    {"JSMS", "DC.Language", "RFC1766|RFC3066|"},
    {"JSMS", "DC.Coverage.region", "JSMS-region|"},
    {"JSMS", "DC.Coverage.jurisdiction", "JSMS-jurisdiction|"},
    {"JSMS", "DC.Coverage", "ISO3166|None|"},
    {"JSMS", "DC.Date", "ISO8601|"},
    {"JSMS", "JSMS.Category", "JSMS-category|"},
    {"JSMS", "DC.Type", "JSMS-type|None|"},
    {"JSMS", "DC.Format", "IMT|None|"},
    {"JSMS", "DC.Identifier", "URI|None|"},
    {"JSMS", "AGLS.Availability", "None|"},
    {"JSMS", "Admin.Creator", "None|"},
    {"JSMS", "Admin.DateCreated", "ISO8601|"},
    {"JSMS", "Admin.DateValidTo", "ISO8601|"},
    {"NOHSC", "DC.Title", "None|"},
    {"NOHSC", "DC.Subject", "AOHST|"},
    {"NOHSC", "DC.Contributor", "None|X500|"},
    {"NOHSC", "DC.Publisher", "NOHSCcorporateName|None|"},
    {"NOHSC", "DC.Creator", "None|"},
    {"NOHSC", "DC.Identifier", "URI|None|"},
    {"NOHSC", "DC.Rights", "None|URI|"},
    {"NOHSC", "DC.Description", "None|URI|"},
    {"NOHSC", "DC.Source", "None|URI|ISBN|ISSN|"},
    {"NOHSC", "DC.Relation", "None|URI|ISBN|ISSN|"},
    {"NOHSC", "DC.Language", "RFC1766|"},
    {"NOHSC", "DC.Coverage.jurisdiction", "AGLSjurisdiction|"},
    {"NOHSC", "DC.Coverage", "None|ISO8601|TGN|LCSH|"},
    {"NOHSC", "AGLS.Function", "AGIFT|"},
    {"NOHSC", "DC.Date", "None|ISO8601|DCMIPeriod|"},
    {"NOHSC", "DC.Type.serviceType", "agls-service|"},
    {"NOHSC", "DC.Type.documentType", "NOHSCDocumentType|"},
    {"NOHSC", "DC.Format.extent", "None|"},
    {"NOHSC", "DC.Format", "IMT|None|"},
    {"NOHSC", "AGLS.Audience", "None|AGLSaudience|"},
    {"NOHSC", "AGLS.Availability", "None|"},
    {"NOHSC", "AGLS.Mandate", "None|"},
    {"NOHSC", "NOHSC.Industry", "NOHSCindustry|"},
    {"NOHSC", "NAARMS.Disposal.ActionDue", "ISO8601|"},
    {"GILS-UTAH", "agency", "agency|None|"},
    {"GILS-UTAH", "DC.Language", "RFC3066|RFC1766|"},
    {"GILS-UTAH", "medium", "Medium|"},
    {"GILS-UTAH", "robots", "Robots|"},
    {"GILS-UTAH", "subjects", "subjects|AAT|vellori|LCSH|MeSH|"},
    {"SA.DETE", "DC.Identifier", "URI|ISBN|ISSN|FORM NUMBER|None|"},
    {"SA.DETE", "DC.Title", "None|"},
    {"SA.DETE", "DC.Description", "None|"},
    {"SA.DETE", "DC.Subject", "None|SACSA|SCIS|DETE.SUBJECT|DETE.KAAA|EDNA.KLA|"},
    {"SA.DETE", "DC.Date", "ISO8601|"},
    {"SA.DETE", "DC.Creator", "None|DETE.Jurisdiction|"},
    {"SA.DETE", "DC.Format", "DETE.IMT|None|"},
    {"SA.DETE", "DC.Publisher", "None|DETE.Jurisdiction|"},
    {"SA.DETE", "DC.Language", "RFC1766|"},
    {"SA.DETE", "DC.Rights", "None|URI|"},
    {"SA.DETE", "DC.Type", "DETE.Type|None|"},
    {"SA.DETE", "DC.Coverage.Jurisdiction", "None|DETE.Jurisdiction|"},
    {"SA.DETE", "DC.Coverage.PlaceName", "None|"},
    {"SA.DETE", "DC.Coverage.PeriodName", "None|ISO8601|"},
    {"SA.DETE", "AGLS.Function", "None|DETE.AGIFT|"},
    {"SA.DETE", "AGLS.Audience", "None|DETE.Audience|"},
    {"SA.DETE", "AGLS.Availability", "None|DETE.Jurisdiction|"},
    {"SA.DETE", "EDNA.Categories", "None|EDNA.Directory|"},
    {"SA.DETE", "EDNA.Audience.userlevel", "edna.userlevel|"},
    {"SA.DETE", "EDNA.Audience.sector", "edna.sector|"},
    {"SA.DETE", "EDNA.Audience", "edna.audience|edna.sector|edna.userlevel|"},
    {"SA.DETE", "EDNA.Userlevel", "None|EDNA.UserLevel|"},
    {"SA.DETE", "EDNA.Indexing", "None|EDNA.Indexing|"},
    {"SA.DETE", "SA.PostCode", "None|"},
    {"SA.DETE", "SA.Custodian", "None|"},
    {"SA.DETE", "TITLE", "None|"},
    {"SA.DETE", "DESCRIPTION", "None|"},
    {"SA.DETE", "KEYWORDS", "None|"},
    {"Dublin Core", "DC.Identifier", "URI|"},
    {"Dublin Core", "DC.Title", "None|"},
    {"Dublin Core", "DC.Description", "None|"},
    {"Dublin Core", "DC.Subject", "EDNA.KLA|LCC|LCSH|APSDEP|SCIS|ASCED|DDC|UDC|MeSH|None|"},
    {"Dublin Core", "DC.Publisher", "None|"},
    {"Dublin Core", "DC.Creator", "None|"},
    {"Dublin Core", "DC.Date", "DCMIPeriod|W3CDTF|"},
    {"Dublin Core", "DC.Type", "DCMIType|edna-document|edna-curriculum|edna-event|None|"},
    {"Dublin Core", "DC.Format", "IMT|None|"},
    {"Dublin Core", "DC.Language", "RFC1766|ISO639-2"},
    {"Dublin Core", "DC.Coverage.spatial", "edna-spatial|"},
    {"Dublin Core", "DC.Coverage.temporal", "DCMIPeriod|W3C-DTF|"},
    {"Dublin Core", "DC.Rights", "URI|None|"},
    {"Dublin Core", "EDNA.Audience.sector", "edna.sector|"},
    {"Dublin Core", "EDNA.Audience", "edna.reference|edna.userlevel|"},
    {"Dublin Core", "EDNA.Categories", "None|edna.directory|"},
    {"Dublin Core", "EDNA.Indexing", "None|edna.indexing|"},
    {"Dublin Core", "EDNA.Review", "None|"},
    {"Dublin Core", "EDNA.Reviewer", "None|"},
    {"Dublin Core", "EDNA.Version", "None|"},
    {"DC-UTAH", "DC.Identifier", "URI|None|DDC|DOI|ISBN|ISSN|LCC|LCCN|PURL|SuDOC|UDC|"},
    {"DC-UTAH", "DC.Title", "None|"},
    {"DC-UTAH", "DC.Description", "None|"},
    {"DC-UTAH", "DC.Subject", "subjects|AAT|vellori|LCSH|MeSH|"},
    {"DC-UTAH", "DC.Contributor", "Author|authordefunct|None|"},
    {"DC-UTAH", "DC.Publisher", "Author|authordefunct|None|"},
    {"DC-UTAH", "DC.Creator", "Author|authordefunct|None|"},
    {"DC-UTAH", "DC.Date", "DCMIPeriod|"},
    {"DC-UTAH", "DC.Type", "ResourceType|"},
    {"DC-UTAH", "DC.Format.medium", "Medium|None|"},
    {"DC-UTAH", "DC.Format", "IMT|"},
    {"DC-UTAH", "DC.Language", "RFC3066|RFC1766|"},
    {"DC-UTAH", "DC.Coverage", "None|"},
    {"DC-UTAH", "DC.Rights", "URI|None|"},
    {"CDC", "DC.Identifier", "URI|None|"},
    {"CDC", "DC.Title", "None|"},
    {"CDC", "DC.Description", "None|"},
    {"CDC", "DC.Subject", "CDC.subject|MeSH|"},
    {"CDC", "DC.Publisher", "CDC.publisher|None|"},
    {"CDC", "DC.Creator", "CDC.creator|None|"},
    {"CDC", "DC.Date", "ISO8601|"},
    {"CDC", "DC.Type.category", "CDC.category|"},
    {"CDC", "DC.Format", "IMT|None|"},
    {"CDC", "DC.Language", "RFC1766|"},
    {"CDC", "Audience.age", "CDC.age|"},
    {"CDC", "Audience.background", "CDC.background|"},
    {"CDC", "CDC.Complexity", "CDC.complexity|"},
    {"CDC", "CDC.Status", "CDC.status|"},
    {"EdNA", "DC.Identifier", "URI|"},
    {"EdNA", "DC.Title", "None|"},
    {"EdNA", "DC.Description", "None|"},
    {"EdNA", "DC.Subject", "edna.KLA|LCC|LCSH|APSDEP|SCIS|ASCED|DDC|UDC|MeSH|None|"},
    {"EdNA", "DC.Publisher", "None|"},
    {"EdNA", "DC.Creator", "None|"},
    {"EdNA", "DC.Date", "DCMIPeriod|W3CDTF|"},
    {"EdNA", "DC.Type", "DCMIType|edna-document|edna-curriculum|edna-event|None|"},
    {"EdNA", "DC.Format", "IMT|None|"},
    {"EdNA", "DC.Language", "RFC1766|ISO639-2|ABS1267|"},
    {"EdNA", "DC.Coverage.spatial", "edna.spatial|ISO3166|DCMIPoint|DCMIBox|TGN|"},
    {"EdNA", "DC.Coverage.temporal", "DCMIPeriod|W3C-DTF|"},
    {"EdNA", "DC.Coverage", "edna-spatial|DCMI Box|DCMI Period|DCMI Point|ISO 3166|TGN|W3C-DTF|"},
    {"EdNA", "DC.Rights", "URI|None|"},
    {"EdNA", "DC.Relation", "URI|None|"},
    {"EdNA", "DC.Contributor", "None|"},
    {"EdNA", "DC.Source", "URI|None|"},
    {"EdNA", "EDNA.Audience", "edna.audience|edna.sector|edna.userlevel|"},
    {"EdNA", "EDNA.Approver", "None|"},
    {"EdNA", "EDNA.CategoryCode", "edna.directory|None|"},
    {"EdNA", "EDNA.Indexing", "None|edna.indexing|"},
    {"EdNA", "EDNA.Review", "None|"},
    {"EdNA", "EDNA.Reviewer", "None|"},
    {"EdNA", "EDNA.Version", "None|"},
    {"NZGLS", "DC.Coverage.jurisdiction", "None|GED98|MED98|TA01|"},
    {"NZGLS", "DC.Coverage.spatial", "None|"},
    {"NZGLS", "DC.Coverage", "None|ISO8601|TGN|LCSH|"},
    {"NZGLS", "DC.Title", "None|"},
    {"NZGLS", "DC.Subject", "SONZ|"},
    {"NZGLS", "DC.Contributor", "None|AGLS Agent|"},
    {"NZGLS", "DC.Creator", "None|AGLS Agent|"},
    {"NZGLS", "DC.Identifier", "URI|None|ISBN|ISSN|"},
    {"NZGLS", "DC.Rights", "None|URI|"},
    {"NZGLS", "DC.Description", "None|"},
    {"NZGLS", "DC.Source", "None|URI|ISBN|ISSN|"},
    {"NZGLS", "DC.Relation", "None|URI|ISBN|ISSN|"},
    {"NZGLS", "DC.Language", "RFC3066|RFC3166|"},
    {"NZGLS", "NZGLS.Function", "None|FONZ|"},
    {"NZGLS", "DC.Date", "None|ISO8601|DCMIPeriod|"},
    {"NZGLS", "DC.Type", "None|"},
    {"NZGLS", "DC.Format.medium", "None|IMT|ISO|Physical|"},
    {"NZGLS", "DC.Format.extent", "None|"},
    {"NZGLS", "DC.Format", "None|IMT|ISO|Physical|"},
    {"NZGLS", "NZGLS.Audience", "NZGLS-Audience|None|ANZSIC|NZSC099|NZSC|"},
    {"NZGLS", "NZGLS.Availability", "None|URI|"},
    {"NZGLS", "NZGLS.Mandate", "None|URI|"},
    {"NZGLS", "DC.Publisher", "None|AGLS Agent|"},
    {"SCORM", "DC.Title", "None|"},
};

const QString kUntouched = u"Kept|As|Passed|"_s;

QString ask(const QString& domain, const QString& element, QString list = kUntouched) {
    modSchemas::defaultSchema = domain;
    const QString answer = modSchemas::getSchemeList(element, list);
    EXPECT_EQ(answer, list) << "the answer is also written back";
    return answer;
}

class SchemeTables : public ::testing::Test {
protected:
    void TearDown() override { modSchemas::defaultSchema.clear(); }
};

TEST_F(SchemeTables, EveryRowAnswersItsElementNames) {
    for (const Case& c : kEveryRow) {
        const QString domain = QString::fromLatin1(c.domain), element = QString::fromLatin1(c.element);
        const QString expected = QString::fromLatin1(c.list);
        SCOPED_TRACE(domain + u" / "_s + element);
        EXPECT_EQ(ask(domain, element), expected);
        // The AGLS table is exact: a refinement is cut off, another letter case is not known.
        // The others match any letter case, anywhere in the name.
        const bool exact = domain == u"AGLS"_s;
        EXPECT_EQ(ask(domain, exact ? element + u".Keyword"_s : u"X."_s + element), expected);
        EXPECT_EQ(ask(domain, element.toLower()), exact ? kUntouched : expected);
        EXPECT_EQ(ask(domain, element.toUpper()), exact ? kUntouched : expected);
    }
}

TEST_F(SchemeTables, EachDomainKeepsTheListForAnElementItDoesNotKnow) {
    for (const char* domain :
         {"AGLS", "AGLS1.2", "AGLS1.3", "AGLS1.3 (ACT)", "CDC", "NZGLS", "SA.DETE", "EdNA", "Dublin Core",
          "Aust Business Entry Point", "GILS-UTAH", "NOHSC", "DC-UTAH", "JSMS", "SCORM"}) {
        for (const QString& element : {u"Foo.Bar"_s, QString(), u"None"_s})
            EXPECT_EQ(ask(QString::fromLatin1(domain), element), kUntouched) << domain;
        EXPECT_EQ(ask(QString::fromLatin1(domain), u"Foo"_s, QString()), QString()) << domain;
    }
}

TEST_F(SchemeTables, DomainsWithoutATableOfTheirOwn) {
    // Arizona and Montana offer whatever the line had, even for DC.Title.
    EXPECT_EQ(ask(u"GILS-ARIZONA"_s, u"DC.Title"_s), kUntouched);
    EXPECT_EQ(ask(u"GILS-MONTANA"_s, u"DC.Subject"_s), kUntouched);
    // Everything else falls back on the AGLS table, compared exactly.
    for (const QString& d :
         {u"GILS-OREGON"_s, u"AGLS1.1"_s, u"Health Insite - Australia"_s, u"Health Insite"_s, QString(),
          u"dublin core"_s, u"agls1.3"_s, u"gils-arizona"_s, u"Dublin Core "_s, QString(100000, u'Z')}) {
        EXPECT_EQ(ask(d, u"DC.Subject.Keyword"_s), u"None|TAGS|APAIS|LCSH|AAT|MeSH|"_s) << d.left(30);
        EXPECT_EQ(ask(d, u"dc.subject"_s), kUntouched) << d.left(30);
    }
}

TEST_F(SchemeTables, SpecificNamesWinOverTheGeneralOnesTheyContain) {
    const QString bep = u"Aust Business Entry Point"_s;
    const std::tuple<QString, QString, QString> cases[] = {
        {u"AGLS1.3"_s, u"DC.Coverage.jurisdiction"_s, u"AGLSJuri|LawZone.jurisdiction|None|"_s},
        {u"AGLS1.3"_s, u"dc.COVERAGE.Region"_s, u"LawZone.region|None|"_s},
        {u"AGLS1.3"_s, u"DC.Coverage.postcode"_s, u"None|ISO8601|TGN|LCSH|"_s},
        {u"AGLS1.3"_s, u"DC.Creator.jurisdiction"_s, u"None|AglsAgent|X500|"_s},  // the first row found in it
        {bep, u"BEP.transactionInfo.DC.Type"_s, u"bep.type|None|"_s},
        {u"SA.DETE"_s, u"DC.Title"_s, u"None|"_s},  // "TITLE" decides only what DC.Title does not
        {u"SA.DETE"_s, u"X.TITLE.Y"_s, u"None|"_s},
        {u"SA.DETE"_s, u"EDNA.Audience.sector.extra"_s, u"edna.sector|"_s},
        {bep, u"AGLS.Mandate"_s, kUntouched},  // the sister families answer their plain element
        {bep, u"AGLS.Mandate.jurisdiction"_s, u"bep.jurisdiction|None|"_s},
    };
    for (const auto& [domain, element, expected] : cases) EXPECT_EQ(ask(domain, element), expected) << element;
}

TEST_F(SchemeTables, AglsTableCutsAfterTheSecondDottedPart) {
    EXPECT_EQ(ask(u"AGLS"_s, u"DC.Subject.Keyword.More"_s), u"None|TAGS|APAIS|LCSH|AAT|MeSH|"_s);
    EXPECT_EQ(ask(u"AGLS"_s, u"DC.Title."_s), u"None|"_s);
    for (const QString& element : {u"DC"_s, u"DC."_s, u".."_s, u".DC.Title"_s, u"X.DC.Title"_s})
        EXPECT_EQ(ask(u"AGLS"_s, element), kUntouched) << element;
}

TEST_F(SchemeTables, VeryLongElementNamesAreAnswered) {
    const QString filler(2000000, QLatin1Char('x'));
    EXPECT_EQ(ask(u"NZGLS"_s, filler), kUntouched);
    EXPECT_EQ(ask(u"NZGLS"_s, filler + u"nzgls.mandate"_s), u"None|URI|"_s);
    EXPECT_EQ(ask(u"AGLS"_s, u"DC.Title."_s + filler), u"None|"_s);
    EXPECT_EQ(ask(u"AGLS"_s, filler + u".DC.Title"_s), kUntouched);
}

}  // namespace
