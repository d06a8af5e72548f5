#include "core/domains/SchemeRules.h"

#include "core/domains/SchemeHosts.h"

#include <QUrl>

namespace SchemeRules {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;

// True when the text contains any of the "|"-separated words, in any case.
bool containsAny(const QString& text, const char* words) {
    for (const QString& word : QString::fromLatin1(words).split(QLatin1Char('|')))
        if (text.contains(word, ci)) return true;
    return false;
}

// Per domain (tested as a part of the domain's name, in this order), the schemes that put
// the content field into scheme mode.
struct DomainSchemes {
    const char* domain;
    const char* schemes;
};

const DomainSchemes kSchemeModes[] = {
    {"AGLS", "agls-document|agls-service|agls-audience|agls-jurisdiction|RFC3066|LawZone|LIAC"},
    {"Health Insite", "Health Thesaurus"},
    {"Aust Business Entry Point", "BEP"},
    {"SA.DETE", "spatial|DETE|SACSA|edna"},
    {"EDNA", "edna"},
    {"CDC", "CDC.creator|CDC.publisher|CDC.age|CDC.background|CDC.complexity|CDC.status|CDC.subject|CDC.category|"
            "RFC3066"},
    {"NZGLS", "FONZ|SONZ|NZGLS-Audience|imt|rfc3066|NZGLS-Service|NZGLS-jurisdiction|NZGLS-placeNames"},
    {"DC-UTAH", "authordefunct|author|subjects|vellori|IMT|medium|resourcetype|RFC3066"},
    {"NOHSC", "AOHST|NOHSCjurisdiction|NOHSCcorporateName|NOHSCindustry|NOHSCformat|NOHSCdocumentType|"
              "NOHSCavailability|aglsservice|aglsjurisdiction"},
};

// The Health Insite domain's fixed lists; a leading "|" makes an empty first entry.
const DomainSchemes kHealthLists[] = {
    {"HI Type", "|data|document|image|multimedia|software|sound|video"},
    {"HI Category", "|announcement|directory|forms|guidelines|homepage|organisation|personal narrative|quiz|"
                    "resource|service|statistics narrative"},
    {"HI Age", "adult|child|youth"},
};

bool allDigits(const QString& text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

enum class Host { Scheme, Second, StateA, Curriculum };

struct Rule {
    const char* domain;  // nullptr: any domain
    const char* name;    // "": any name
    SchemeAction action;
    Host host;
    const char* path;
    bool nameInPath;  // the path is a folder: the name and ".kqs/" follow it
};

constexpr auto List = SchemeAction::List;
constexpr auto S = Host::Scheme;
constexpr auto H2 = Host::Second;
const char* const kAct = "AGLS1.3 (ACT)";

// First match wins; the domain's own rows come before the general ones they contain.
const Rule kRules[] = {
    {nullptr, "SCOT", SchemeAction::CurriculumThesaurus, Host::Curriculum, "/", false},
    {nullptr, "AglsAgent", SchemeAction::AglsAgent, S, "", false},
    {nullptr, "Actvers", SchemeAction::ActVers, S, "", false},
    {"SA.DETE", "AGIFT", List, H2, "/schemes/DETE/DETE.AGIFT.kqs/", false},
    {nullptr, "DETE", List, H2, "/schemes/DETE/", true},
    {nullptr, "Health Thesaurus", List, S, "/schemes/health.au/", true},
    {"EdNA", "IMT", List, S, "/schemes/EDNA/edna.IMT.kqs/", false},
    {"EdNA", "DCMIType", List, S, "/schemes/EDNA/edna.DCMIType.kqs/", false},
    {nullptr, "ednadirectory", List, S, "/schemes/EDNA/edna.directory.kqs/", false},
    {nullptr, "ednaindexing", List, S, "/schemes/EDNA/edna.indexing.kqs/", false},
    {nullptr, "ednaType", List, S, "/schemes/EDNA/EDNA.Type.kqs/", false},
    {nullptr, "ednauserlevel", List, S, "/schemes/EDNA/edna.userlevel.kqs/", false},
    {nullptr, "ednakla", List, S, "/schemes/EDNA/edna.KLA.kqs/", false},
    {nullptr, "EDNA", List, S, "/schemes/EDNA/", true},
    {"CDC", "RFC3066", List, S, "/schemes/CDC/CDC.RFC3066.kqs", false},
    {"CDC", "CDCsubject", List, S, "/cdc/catalogue.kqi/", false},
    {"CDC", "CDCcreator", List, S, "/schemes/CDC/CDC.creator.kqs/", false},
    {"CDC", "CDCpublisher", List, S, "/schemes/CDC/CDC.publisher.kqs/", false},
    {"CDC", "CDCage", List, S, "/schemes/CDC/CDC.age.kqs/", false},
    {"CDC", "CDCbackground", List, S, "/schemes/CDC/CDC.background.kqs/", false},
    {"CDC", "CDCcomplexity", List, S, "/schemes/CDC/CDC.complexity.kqs/", false},
    {"CDC", "CDCcategory", List, S, "/schemes/CDC/CDC.category.kqs/", false},
    {"CDC", "CDCstatus", List, S, "/schemes/CDC/CDC.status.kqs/", false},
    {nullptr, "agift", List, S, "/schemes/agift.kqs", false},
    {nullptr, "apais", List, S, "/schemes/apais.kqs/", false},
    {nullptr, "TAGS", SchemeAction::TagsMenu, S, "", false},
    {nullptr, "JEL", List, S, "/schemes/FINANCE/AEAJEL.kqs/", false},
    {nullptr, "aglsdocument", List, S, "/schemes/AGLS/agls-document.kqs/", false},
    {nullptr, "aglsaudience", List, S, "/schemes/AGLS/agls-audience.kqs/", false},
    {nullptr, "aglsjurisdiction", List, S, "/schemes/AGLS/agls-jurisdiction.kqs/", false},
    {nullptr, "aglsservice", List, S, "/schemes/AGLS/agls-service.kqs/", false},
    {nullptr, "RFC3066", List, S, "/schemes/NZGLS/NZGLS-rfc3066.kqs/", false},
    {nullptr, "FONZ", List, S, "/schemes/NZGLS/FONZ.kqs/", false},
    {nullptr, "SONZ", List, S, "/schemes/NZGLS/SONZ.kqs/", false},
    {"NZGLS", "IMT", List, S, "/schemes/NZGLS/NZGLS-imt.kqs/", false},
    {"NZGLS", "NZGLSplaceNames", List, S, "/schemes/NZGLS/placeNames.kqs/", false},
    {"NZGLS", "NZGLSjurisdiction", List, S, "/schemes/NZGLS/NZGLS-jurisdiction.kqs/", false},
    {"NZGLS", "NZGLSaudience", List, S, "/schemes/NZGLS/NZGLS-audience.kqs/", false},
    {"NZGLS", "NZGLSservice", List, S, "/schemes/NZGLS/NZGLS-service.kqs/", false},
    {nullptr, "AOHST", List, H2, "/schemes/NOHSC/AOHST.kqs", false},
    {nullptr, "NOHSCindustry", List, H2, "/schemes/NOHSC/NOHSCindustry.kqs", false},
    {nullptr, "NOHSCdocumentType", List, H2, "/schemes/NOHSC/NOHSCdocumentType.kqs", false},
    {nullptr, "NOHSCjurisdiction", List, H2, "/schemes/NOHSC/NOHSCjurisdiction.kqs", false},
    {nullptr, "NOHSCcorporateName", List, H2, "/schemes/NOHSC/NOHSCcorporateName.kqs", false},
    {nullptr, "NOHSCavailability", List, H2, "/schemes/NOHSC/NOHSCavailability.kqs", false},
    {nullptr, "IMT", List, S, "/schemes/IMT.kqs/", false},
    {nullptr, "X500", List, S, "/schemes/X500.kqs/", false},
    {nullptr, "RFC1766", List, S, "/schemes/RFC1766.kqs/", false},
    {nullptr, "DCMIType", List, S, "/schemes/DCMI/DCMIType.kqs/", false},
    {nullptr, "BEP", List, S, "/schemes/BEP/", true},
    {"DC-UTAH", "", List, Host::StateA, "/gils/schemes/dc/", true},
    // The ACT domain knows its two lists and nothing of the rows after them.
    {kAct, "ACTThesaurus", List, H2, "/schemes/AGLSACT/ACTThesaurus.kqs/", false},
    {kAct, "ACTLocations", List, H2, "/schemes/AGLSACT/ACTLocations.kqs/", false},
    {kAct, "", SchemeAction::NoMatch, S, "", false},
    {nullptr, "LawZone", List, S, "/schemes/LawZone/LAWZONE.kqs", false},
    {nullptr, "LIAC", List, S, "/schemes/LawZone/", true},
};

QString hostName(Host host, const QString& schemeServer) {
    switch (host) {
    case Host::Second:
        return SchemeHosts::secondSchemeHost;
    case Host::StateA:
        return SchemeHosts::stateHostA;
    case Host::Curriculum:
        return SchemeHosts::curriculumThesaurusHost;
    case Host::Scheme:
        break;
    }
    return schemeServer;
}

bool ruleMatches(const Rule& rule, const QString& name, const QString& domain) {
    if (rule.domain && !domain.contains(QLatin1String(rule.domain), ci)) return false;
    const QLatin1String word(rule.name);
    // "ACT Thesaurus" is the same scheme as "ACTThesaurus".
    if (rule.domain == kAct) return QString(name).remove(QLatin1Char(' ')).contains(word, ci);
    return name.contains(word, ci);
}

}  // namespace

bool schemeHasLoadButton(const QString& scheme) {
    return containsAny(scheme, "TAGS|JEL|DCMIType|IMT|RFC1766|X500|apais|agift");
}

bool isDateScheme(const QString& scheme) {
    return containsAny(scheme, "ISO 8601|ISO8601|DCMIPeriod");
}

ContentField contentFieldFor(const QString& domain, const QString& scheme) {
    ContentField field;
    for (const DomainSchemes& row : kSchemeModes) {
        if (!domain.contains(QLatin1String(row.domain), ci)) continue;
        field.loadButton = containsAny(scheme, row.schemes);
        if (field.loadButton || qstrcmp(row.domain, "Health Insite") != 0) return field;
        for (const DomainSchemes& list : kHealthLists) {
            if (!scheme.contains(QLatin1String(list.domain), ci)) continue;
            field.valueList = true;
            field.items = QString::fromLatin1(list.schemes).split(QLatin1Char('|'));
            break;
        }
        return field;
    }
    return field;
}

DateParts splitDate(const QString& content) {
    DateParts parts;
    const qsizetype p1 = content.indexOf(QLatin1Char('-'));
    if (p1 >= 0) {
        const qsizetype p2 = content.indexOf(QLatin1Char('-'), p1 + 1);
        parts.year = content.left(p1);
        parts.month = p2 < 0 ? content.mid(p1 + 1) : content.mid(p1 + 1, p2 - p1 - 1);
        if (p2 >= 0) parts.day = content.mid(p2 + 1);
        // Only a date the boxes write back as it stands: "-" or "2004--15" would lose text.
        parts.inBoxes = joinDate(parts.year, parts.month, parts.day) == content;
    } else if (content.isEmpty() || (allDigits(content) && content.size() == 4)) {
        parts.year = content;
        parts.inBoxes = true;
    } else if (allDigits(content) && content.size() == 8) {
        parts = {true, content.left(4), content.mid(4, 2), content.mid(6)};
    }
    return parts;
}

QString joinDate(const QString& year, const QString& month, const QString& day) {
    if (year.isEmpty()) return QString();
    if (month.isEmpty()) return year;
    return day.isEmpty() ? year + QLatin1Char('-') + month : year + QLatin1Char('-') + month + QLatin1Char('-') + day;
}

bool isCommandSafeName(const QString& name) {
    // Longer than a file name may be, it names no list.
    if (name.size() > 255) return false;
    bool letterOrDigit = false;
    for (const QChar c : name) {
        if (c.isLetterOrNumber()) {
            letterOrDigit = true;
            continue;
        }
        if (c != QLatin1Char(' ') && c != QLatin1Char('_') && c != QLatin1Char('-') && c != QLatin1Char('.') &&
            c != QLatin1Char('%'))
            return false;
    }
    return letterOrDigit;
}

bool repositoryServes(const QString& repositorySchemes, const QString& name) {
    if (name.isEmpty()) return false;
    for (const QString& served : repositorySchemes.split(QLatin1Char('|')))
        if (served.compare(name, ci) == 0) return true;
    return false;
}

QString repositorySchemeCommand(const QString& saveRecordMacro, const QString& name) {
    const qsizetype at = saveRecordMacro.indexOf(QLatin1String(".kqb"), 0, ci);
    if (at < 0) return QString();
    QString command = saveRecordMacro.left(at);
    command.replace(QLatin1String("cgisend="), QLatin1String("url="), ci);
    return command + QStringLiteral("?returnScheme=") + QString::fromLatin1(QUrl::toPercentEncoding(name)) +
           QStringLiteral(".kqs");
}

SchemeRule schemeRuleFor(const QString& name, const QString& domain, const QString& schemeServer) {
    for (const Rule& rule : kRules) {
        if (!ruleMatches(rule, name, domain)) continue;
        const QString sent = qstrcmp(rule.name, "Health Thesaurus") == 0 ? QStringLiteral("Health%20Thesaurus") : name;
        QString address = hostName(rule.host, schemeServer) + QLatin1String(rule.path);
        if (rule.nameInPath) address += sent + QStringLiteral(".kqs/");
        return {rule.action, address};
    }
    return {};
}

}  // namespace SchemeRules
