// The encoding schemes each domain offers per element.
#include "core/domains/modSchemas.h"

#include "core/program/DomainState.h"

#include <array>
#include <optional>

namespace modSchemas {
namespace {

// One row of a domain's table: the element names it answers (unused slots nullptr) and the
// "|"-separated scheme names the edit panel then offers, exactly as written here: a few
// lists lack the final "|", on purpose.
struct SchemeRow {
    std::array<const char*, 5> tests;
    const char* list;
};

// AGLS table (exact rule)
constexpr SchemeRow kAgls[] = {
    {{"DC.Title"}, "None|"},
    {{"DC.Subject"}, "None|TAGS|APAIS|LCSH|AAT|MeSH|"},
    {{"DC.Contributor", "DC.Creator"}, "None|X500|"},
    {{"DC.Identifier"}, "None|URI|ISBN|ISSN|"},
    {{"DC.Rights", "DC.Description"}, "None|URI|"},
    {{"DC.Source"}, "None|URI|ISBN|ISSN|"},
    {{"DC.Language"}, "RFC1766|"},
    {{"DC.Coverage"}, "None|ISO8601|"},
    {{"AGLS.Function"}, "None|AGIFT|KAAA|"},
    {{"DC.Date"}, "None|ISO8601|"},
    {{"DC.Type"}, "None|agls-document|agls-service|"},
    {{"DC.Format"}, "None|IMT|Physical|ISO|"},
    {{"AGLS.Audience"}, "None|ANZSIC|BEP|EdNA-userlevel|agegroup|EEO|ASCO|"},
    {{"AGLS.Availability"}, "None|X500|"},
    {{"AGLS.Mandate"}, "None|URI|"},
    {{"DC.Publisher"}, "None|X500|"},
};

// AGLS 1.3 ("AGLS1.3")
constexpr SchemeRow kAgls13[] = {
    {{"DC.Title"}, "None|"},
    {{"DC.Subject"}, "None|TAGS|AAT|APAIS|LIAC|LCSH|MeSH|"},
    {{"DC.Contributor", "DC.Creator", "DC.Publisher"}, "None|AglsAgent|X500|"},
    {{"DC.Identifier"}, "None|URI|ISBN|ISSN|X500|"},
    {{"DC.Rights", "DC.Description"}, "None|URI|"},
    {{"DC.Source", "DC.Relation"}, "None|URI|ISBN|ISSN|"},
    {{"DC.Language"}, "RFC3066|"},
    {{"DC.Coverage.region"}, "LawZone.region|None|"},
    {{"DC.Coverage.jurisdiction"}, "AGLSJuri|LawZone.jurisdiction|None|"},
    {{"DC.Coverage.spatial"}, "None|TGN|LCSH|"},
    {{"DC.Coverage.temporal"}, "None|ISO8601|"},
    {{"DC.Coverage"}, "None|ISO8601|TGN|LCSH|"},
    {{"AGLS.Function"}, "AGIFT|KeywordAAA|None|"},
    {{"DC.Date"}, "None|ISO8601|DCMIPeriod|"},
    {{"DC.Type.serviceType"}, "None|agls-service|"},
    {{"DC.Type.documentType"}, "None|agls-document|"},
    {{"DC.Type.aggregationLevel"}, "None|"},
    {{"DC.Type"}, "None|agls-document|agls-service|LawZone.Type|"},
    {{"DC.Format"}, "None|IMT|Physical|AAT|"},
    {{"AGLS.Audience"}, "None|ANZSIC|EdNA-userlevel|agls-audience|"},
    {{"AGLS.Availability"}, "None|X500|AGLSAvail|"},
    {{"AGLS.Mandate"}, "None|URI|"},
    {{"LawZone.category"}, "LAWZONE|"},
};

// AGLS 1.3 ACT ("AGLS1.3 (ACT)")
constexpr SchemeRow kAgls13Act[] = {
    {{"DC.Title"}, "None|"},
    {{"DC.Subject"}, "None|ACT Thesaurus|Health Thesaurus|"},
    {{"DC.Contributor"}, "None|AglsAgent|"},
    {{"DC.Creator"}, "None|ActVers|"},
    {{"DC.Publisher"}, "None|"},
    {{"DC.Identifier", "DC.Rights"}, "None|URI|"},
    {{"DC.Description"}, "None|"},
    {{"DC.Source", "DC.Relation"}, "None|URI|"},
    {{"DC.Language"}, "RFC3066|"},
    {{"DC.Coverage.region"}, "LawZone.region|None|"},
    {{"DC.Coverage.jurisdiction"}, "AGLSJuri|None|"},
    {{"DC.Coverage.spatial"}, "None|TGN|LCSH|"},
    {{"DC.Coverage.temporal", "DC.Coverage"}, "None|ISO8601|"},
    {{"AGLS.Function"}, "AGIFT|KeywordAAA|None|"},
    {{"DC.Date"}, "None|ISO8601|DCMIPeriod|"},
    {{"DC.Type.serviceType"}, "None|agls-service|"},
    {{"DC.Type.documentType"}, "None|agls-document|"},
    {{"DC.Type.aggregationLevel"}, "None|"},
    {{"DC.Type"}, "None|agls-document|agls-service|"},
    {{"DC.Format"}, "None|IMT|"},
    {{"AGLS.Audience"}, "None|agls-audience|"},
    {{"AGLS.Availability"}, "None|AGLSAvail|"},
    {{"AGLS.Mandate"}, "None|URI|"},
    {{"LawZone.category"}, "LAWZONE|"},
};

// AGLS 1.2 ("AGLS1.2")
constexpr SchemeRow kAgls12[] = {
    {{"DC.Title"}, "None|"},
    {{"DC.Subject"}, "None|TAGS|AAT|APAIS|LIAC|LCSH|MeSH|"},
    {{"DC.Contributor", "DC.Creator"}, "None|agls-agent|"},
    {{"DC.Identifier"}, "None|URI|ISBN|ISSN|"},
    {{"DC.Rights"}, "None|URI|"},
    {{"DC.Description"}, "None|URI|"},
    {{"DC.Source"}, "None|URI|ISBN|ISSN|"},
    {{"DC.Relation"}, "None|URI|ISBN|ISSN|"},
    {{"DC.Language"}, "RFC1766|"},
    {{"DC.Coverage.region"}, "None|LawZone.region"},                           // no final "|"
    {{"DC.Coverage.jurisdiction"}, "agls-jurisdiction|LawZone.jurisdiction"},  // no final "|"
    {{"DC.Coverage"}, "None|ISO8601|TGN|LCSH|"},
    {{"AGLS.Function"}, "None|AGIFT|KAAA|CRS|"},
    {{"DC.Date"}, "None|ISO8601|DCMIPeriod|"},
    {{"DC.Type.serviceType"}, "None|agls-service|"},
    {{"DC.Type.documentType"}, "None|agls-document|"},
    {{"DC.Type"}, "None|LawZone.Type|"},
    {{"DC.Format"}, "None|IMT|Physical|ISO|"},
    {{"AGLS.Audience"}, "agls-audience|None|ANZSIC|BEP|EdNA-userlevel|agegroup|EEO|ASCO|"},
    {{"AGLS.Availability"}, "None|"},
    {{"AGLS.Mandate"}, "None|URI|"},
    {{"DC.Publisher"}, "None|agls-agent|"},
    {{"LawZone.category"}, "LAWZONE|"},
};

// BEP ("Aust Business Entry Point")
constexpr SchemeRow kBep[] = {
    {{"DC.Title"}, "None|"},
    {{"DC.Creator.jurisdiction"}, "bep.jurisdiction|None|"},
    {{"DC.Creator"}, "None|"},
    {{"DC.Publisher.jurisdiction"}, "bep.jurisdiction|None|"},
    {{"DC.Publisher"}, "None|"},
    {{"DC.Date"}, "ISO8601|None|"},
    {{"DC.Type"}, "bep.type|None|"},
    {{"DC.Coverage.jurisdiction"}, "bep.jurisdiction|None|"},
    {{"DC.Coverage.periodName"}, "ISO8601|None|"},
    {{"DC.Subject"}, "bep.topic|None|"},
    {{"AGLS.Function"}, "AGIFT|None|"},
    {{"DC.Identifier"}, "URI|None|"},
    {{"AGLS.Availability.placeName"}, "bep.location|None|"},
    {{"AGLS.Availability.jurisdiction"}, "bep.jurisdiction|None|"},
    {{"AGLS.Availability"}, "None|"},
    {{"AGLS.Audience.industry"}, "bep.industry|None|"},
    {{"AGLS.Audience.target"}, "bep.target|None|"},
    {{"AGLS.Audience", "DC.Description"}, "None|"},
    {{"AGLS.Mandate.jurisdiction"}, "bep.jurisdiction|None|"},
    {{"DC.Contributor.jurisdiction"}, "bep.jurisdiction|None|"},
    {{"DC.Format"}, "bep.format|None|"},
    {{"DC.Language"}, "RFC1766|"},
    {{"DC.Rights"}, "None|URI|"},
    {{"DC.Source"}, "None|URI|"},
    {{"BEP.ServiceInfo", "BEP.complianceInfo"}, "None|"},
    {{"BEP.transactionInfo.DC.Type"}, "bep.type|None|"},
    {{"BEP.transactionInfo"}, "None|"},
    {{"BEP.admin.expirydate", "BEP.admin.reviewDate", "BEP.admin.lastReviewed"}, "ISO8601|"},
    {{"BEP.admin"}, "None|"},
};

// JSMS ("JSMS")
constexpr SchemeRow kJsms[] = {
    {{"DC.Creator", "DC.Publisher"}, "None|"},
    {{"DC.Rights"}, "URI|None|"},
    {{"DC.Subject"}, "JSMS-liac|"},
    {{"Keywords"}, "None|"},
    {{"DC.Description"}, "None|URI|"},
    {{"DC.Language"}, "RFC1766|RFC3066|"},
    {{"DC.Coverage.region"}, "JSMS-region|"},
    {{"DC.Coverage.jurisdiction"}, "JSMS-jurisdiction|"},
    {{"DC.Coverage"}, "ISO3166|None|"},
    {{"DC.Date"}, "ISO8601|"},
    {{"JSMS.Category"}, "JSMS-category|"},
    {{"DC.Type"}, "JSMS-type|None|"},
    {{"DC.Format"}, "IMT|None|"},
    {{"DC.Identifier"}, "URI|None|"},
    {{"AGLS.Availability", "Admin.Creator"}, "None|"},
    {{"Admin.DateCreated", "Admin.DateValidTo"}, "ISO8601|"},
};

// NOHSC ("NOHSC")
constexpr SchemeRow kNohsc[] = {
    {{"DC.Title"}, "None|"},
    {{"DC.Subject"}, "AOHST|"},
    {{"DC.Contributor"}, "None|X500|"},
    {{"DC.Publisher"}, "NOHSCcorporateName|None|"},
    {{"DC.Creator"}, "None|"},
    {{"DC.Identifier"}, "URI|None|"},
    {{"DC.Rights"}, "None|URI|"},
    {{"DC.Description"}, "None|URI|"},
    {{"DC.Source"}, "None|URI|ISBN|ISSN|"},
    {{"DC.Relation"}, "None|URI|ISBN|ISSN|"},
    {{"DC.Language"}, "RFC1766|"},
    {{"DC.Coverage.jurisdiction"}, "AGLSjurisdiction|"},
    {{"DC.Coverage"}, "None|ISO8601|TGN|LCSH|"},
    {{"AGLS.Function"}, "AGIFT|"},
    {{"DC.Date"}, "None|ISO8601|DCMIPeriod|"},
    {{"DC.Type.serviceType"}, "agls-service|"},
    {{"DC.Type.documentType"}, "NOHSCDocumentType|"},
    {{"DC.Format.extent"}, "None|"},
    {{"DC.Format"}, "IMT|None|"},
    {{"AGLS.Audience"}, "None|AGLSaudience|"},
    {{"AGLS.Availability", "AGLS.Mandate"}, "None|"},
    {{"NOHSC.Industry"}, "NOHSCindustry|"},
    {{"NAARMS.Disposal.ActionDue"}, "ISO8601|"},
};

// GILS-UTAH ("GILS-UTAH")
constexpr SchemeRow kGilsUtah[] = {
    {{"agency"}, "agency|None|"},
    {{"DC.Language"}, "RFC3066|RFC1766|"},
    {{"medium"}, "Medium|"},
    {{"robots"}, "Robots|"},
    {{"subjects"}, "subjects|AAT|vellori|LCSH|MeSH|"},
};

// SA.DETE ("SA.DETE")
constexpr SchemeRow kSaDete[] = {
    {{"DC.Identifier"}, "URI|ISBN|ISSN|FORM NUMBER|None|"},
    {{"DC.Title", "DC.Description"}, "None|"},
    {{"DC.Subject"}, "None|SACSA|SCIS|DETE.SUBJECT|DETE.KAAA|EDNA.KLA|"},
    {{"DC.Date"}, "ISO8601|"},
    {{"DC.Creator"}, "None|DETE.Jurisdiction|"},
    {{"DC.Format"}, "DETE.IMT|None|"},
    {{"DC.Publisher"}, "None|DETE.Jurisdiction|"},
    {{"DC.Language"}, "RFC1766|"},
    {{"DC.Rights"}, "None|URI|"},
    {{"DC.Type"}, "DETE.Type|None|"},
    {{"DC.Coverage.Jurisdiction"}, "None|DETE.Jurisdiction|"},
    {{"DC.Coverage.PlaceName"}, "None|"},
    {{"DC.Coverage.PeriodName"}, "None|ISO8601|"},
    {{"AGLS.Function"}, "None|DETE.AGIFT|"},
    {{"AGLS.Audience"}, "None|DETE.Audience|"},
    {{"AGLS.Availability"}, "None|DETE.Jurisdiction|"},
    {{"EDNA.Categories"}, "None|EDNA.Directory|"},
    {{"EDNA.Audience.userlevel"}, "edna.userlevel|"},
    {{"EDNA.Audience.sector"}, "edna.sector|"},
    {{"EDNA.Audience"}, "edna.audience|edna.sector|edna.userlevel|"},
    {{"EDNA.Userlevel"}, "None|EDNA.UserLevel|"},
    {{"EDNA.Indexing"}, "None|EDNA.Indexing|"},
    {{"SA.PostCode", "SA.Custodian", "TITLE", "DESCRIPTION", "KEYWORDS"}, "None|"},
};

// Dublin Core ("Dublin Core")
constexpr SchemeRow kDublinCore[] = {
    {{"DC.Identifier"}, "URI|"},
    {{"DC.Title", "DC.Description"}, "None|"},
    {{"DC.Subject"}, "EDNA.KLA|LCC|LCSH|APSDEP|SCIS|ASCED|DDC|UDC|MeSH|None|"},
    {{"DC.Publisher", "DC.Creator"}, "None|"},
    {{"DC.Date"}, "DCMIPeriod|W3CDTF|"},
    {{"DC.Type"}, "DCMIType|edna-document|edna-curriculum|edna-event|None|"},
    {{"DC.Format"}, "IMT|None|"},
    {{"DC.Language"}, "RFC1766|ISO639-2"},  // no final "|"
    {{"DC.Coverage.spatial"}, "edna-spatial|"},
    {{"DC.Coverage.temporal"}, "DCMIPeriod|W3C-DTF|"},
    {{"DC.Rights"}, "URI|None|"},
    {{"EDNA.Audience.sector"}, "edna.sector|"},
    {{"EDNA.Audience"}, "edna.reference|edna.userlevel|"},
    {{"EDNA.Categories"}, "None|edna.directory|"},
    {{"EDNA.Indexing"}, "None|edna.indexing|"},
    {{"EDNA.Review", "EDNA.Reviewer", "EDNA.Version"}, "None|"},
};

// DC-UTAH ("DC-UTAH")
constexpr SchemeRow kDcUtah[] = {
    {{"DC.Identifier"}, "URI|None|DDC|DOI|ISBN|ISSN|LCC|LCCN|PURL|SuDOC|UDC|"},
    {{"DC.Title", "DC.Description"}, "None|"},
    {{"DC.Subject"}, "subjects|AAT|vellori|LCSH|MeSH|"},
    {{"DC.Contributor", "DC.Publisher", "DC.Creator"}, "Author|authordefunct|None|"},
    {{"DC.Date"}, "DCMIPeriod|"},
    {{"DC.Type"}, "ResourceType|"},
    {{"DC.Format.medium"}, "Medium|None|"},
    {{"DC.Format"}, "IMT|"},
    {{"DC.Language"}, "RFC3066|RFC1766|"},
    {{"DC.Coverage"}, "None|"},
    {{"DC.Rights"}, "URI|None|"},
};

// CDC ("CDC")
constexpr SchemeRow kCdc[] = {
    {{"DC.Identifier"}, "URI|None|"},
    {{"DC.Title", "DC.Description"}, "None|"},
    {{"DC.Subject"}, "CDC.subject|MeSH|"},
    {{"DC.Publisher"}, "CDC.publisher|None|"},
    {{"DC.Creator"}, "CDC.creator|None|"},
    {{"DC.Date"}, "ISO8601|"},
    {{"DC.Type.category"}, "CDC.category|"},
    {{"DC.Format"}, "IMT|None|"},
    {{"DC.Language"}, "RFC1766|"},
    {{"Audience.age"}, "CDC.age|"},
    {{"Audience.background"}, "CDC.background|"},
    {{"CDC.Complexity"}, "CDC.complexity|"},
    {{"CDC.Status"}, "CDC.status|"},
};

// EdNA ("EdNA")
constexpr SchemeRow kEdna[] = {
    {{"DC.Identifier"}, "URI|"},
    {{"DC.Title", "DC.Description"}, "None|"},
    {{"DC.Subject"}, "edna.KLA|LCC|LCSH|APSDEP|SCIS|ASCED|DDC|UDC|MeSH|None|"},
    {{"DC.Publisher", "DC.Creator"}, "None|"},
    {{"DC.Date"}, "DCMIPeriod|W3CDTF|"},
    {{"DC.Type"}, "DCMIType|edna-document|edna-curriculum|edna-event|None|"},
    {{"DC.Format"}, "IMT|None|"},
    {{"DC.Language"}, "RFC1766|ISO639-2|ABS1267|"},
    {{"DC.Coverage.spatial"}, "edna.spatial|ISO3166|DCMIPoint|DCMIBox|TGN|"},
    {{"DC.Coverage.temporal"}, "DCMIPeriod|W3C-DTF|"},
    {{"DC.Coverage"}, "edna-spatial|DCMI Box|DCMI Period|DCMI Point|ISO 3166|TGN|W3C-DTF|"},
    {{"DC.Rights", "DC.Relation"}, "URI|None|"},
    {{"DC.Contributor"}, "None|"},
    {{"DC.Source"}, "URI|None|"},
    {{"EDNA.Audience"}, "edna.audience|edna.sector|edna.userlevel|"},
    {{"EDNA.Approver"}, "None|"},
    {{"EDNA.CategoryCode"}, "edna.directory|None|"},
    {{"EDNA.Indexing"}, "None|edna.indexing|"},
    {{"EDNA.Review", "EDNA.Reviewer", "EDNA.Version"}, "None|"},
};

// NZGLS ("NZGLS")
constexpr SchemeRow kNzgls[] = {
    {{"DC.Coverage.jurisdiction"}, "None|GED98|MED98|TA01|"},
    {{"DC.Coverage.spatial"}, "None|"},
    {{"DC.Coverage"}, "None|ISO8601|TGN|LCSH|"},
    {{"DC.Title"}, "None|"},
    {{"DC.Subject"}, "SONZ|"},
    {{"DC.Contributor", "DC.Creator"}, "None|AGLS Agent|"},
    {{"DC.Identifier"}, "URI|None|ISBN|ISSN|"},
    {{"DC.Rights"}, "None|URI|"},
    {{"DC.Description"}, "None|"},
    {{"DC.Source", "DC.Relation"}, "None|URI|ISBN|ISSN|"},
    {{"DC.Language"}, "RFC3066|RFC3166|"},
    {{"NZGLS.Function"}, "None|FONZ|"},
    {{"DC.Date"}, "None|ISO8601|DCMIPeriod|"},
    {{"DC.Type"}, "None|"},
    {{"DC.Format.medium"}, "None|IMT|ISO|Physical|"},
    {{"DC.Format.extent"}, "None|"},
    {{"DC.Format"}, "None|IMT|ISO|Physical|"},
    {{"NZGLS.Audience"}, "NZGLS-Audience|None|ANZSIC|NZSC099|NZSC|"},
    {{"NZGLS.Availability", "NZGLS.Mandate"}, "None|URI|"},
    {{"DC.Publisher"}, "None|AGLS Agent|"},
};

// SCORM ("SCORM")
constexpr SchemeRow kScorm[] = {
    {{"DC.Title"}, "None|"},
};
struct Table {
    const SchemeRow* rows;
    int count;
};

template <int N>
constexpr Table tableOf(const SchemeRow (&rows)[N]) {
    return {rows, N};
}

// The AGLS table compares the element cut after its second dotted part ("DC.Subject.Keyword"
// counts as "DC.Subject"), exactly and case-sensitively.
std::optional<QString> aglsLookup(const QString& element) {
    QString cut = element;
    const qsizetype firstDot = element.indexOf(QLatin1Char('.'));
    if (firstDot >= 0) {
        const qsizetype secondDot = element.indexOf(QLatin1Char('.'), firstDot + 1);
        if (secondDot >= 0) cut = element.left(secondDot);
    }
    for (const SchemeRow& row : kAgls) {
        for (const char* test : row.tests) {
            if (test && cut == QLatin1String(test)) return QString::fromLatin1(row.list);
        }
    }
    return std::nullopt;
}

// Every other table: the first row one of whose names occurs anywhere in the element,
// ignoring case. Specific names stand before the general ones they contain.
std::optional<QString> containsLookup(const Table& t, const QString& element) {
    for (int r = 0; r < t.count; ++r) {
        for (const char* test : t.rows[r].tests) {
            if (test && element.contains(QLatin1String(test), Qt::CaseInsensitive))
                return QString::fromLatin1(t.rows[r].list);
        }
    }
    return std::nullopt;
}

struct DomainTable {
    const char* domain;
    Table table;
};

const DomainTable kDomainTables[] = {
    {"AGLS1.2", tableOf(kAgls12)},
    {"AGLS1.3", tableOf(kAgls13)},
    {"AGLS1.3 (ACT)", tableOf(kAgls13Act)},
    {"CDC", tableOf(kCdc)},
    {"NZGLS", tableOf(kNzgls)},
    {"SA.DETE", tableOf(kSaDete)},
    {"EdNA", tableOf(kEdna)},
    {"Dublin Core", tableOf(kDublinCore)},
    {"Aust Business Entry Point", tableOf(kBep)},
    {"GILS-UTAH", tableOf(kGilsUtah)},
    {"NOHSC", tableOf(kNohsc)},
    {"DC-UTAH", tableOf(kDcUtah)},
    {"JSMS", tableOf(kJsms)},
    {"SCORM", tableOf(kScorm)},
};

}  // namespace

QStringList schemeTableElements(const QString& domain) {
    if (domain == QLatin1String("GILS-ARIZONA") || domain == QLatin1String("GILS-MONTANA")) return {};
    // The AGLS table serves every domain without one of its own, as in getSchemeList.
    const SchemeRow* rows = kAgls;
    int count = int(std::size(kAgls));
    for (const DomainTable& entry : kDomainTables) {
        if (domain == QLatin1String(entry.domain)) {
            rows = entry.table.rows;
            count = entry.table.count;
            break;
        }
    }
    QStringList names;
    for (int r = 0; r < count; ++r)
        for (const char* test : rows[r].tests)
            if (test) names.append(QLatin1String(test));
    return names;
}

QString getSchemeList(const DomainState& domain, const QString& element, const QString& schemeList) {
    const QString& d = domain.defaultSchema;
    // These two have no table of their own and offer whatever the line had.
    if (d == QLatin1String("GILS-ARIZONA") || d == QLatin1String("GILS-MONTANA")) return schemeList;
    for (const DomainTable& entry : kDomainTables) {
        if (d == QLatin1String(entry.domain)) return containsLookup(entry.table, element).value_or(schemeList);
    }
    // "AGLS" and every domain without a table of its own.
    return aglsLookup(element).value_or(schemeList);
}

}  // namespace modSchemas
