#include "core/domains/modSchemas.h"

#include "core/program/CommandWindow.h"
#include "core/program/ProgramContext.h"
#include "core/domains/SchemeHosts.h"
#include "core/domains/modCheckList.h"
#include "platform/MsgBox.h"
#include "platform/SchemeBundle.h"

#include <optional>
#include <vector>

namespace modSchemas {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kIndent = QStringLiteral("    ");

// Namespaces written into link lines and RDF.
const QString kDce11 = QStringLiteral("http://purl.org/dc/elements/1.1/");
const QString kDce10 = QStringLiteral("http://purl.org/dc/elements/1.0/");
const QString kDcq10 = QStringLiteral("http://purl.org/dc/qualifiers/1.0/");
const QString kAgls12Short = QStringLiteral("http://www.naa.gov.au/agls/1.2/");
const QString kAgls12Long = QStringLiteral("http://www.naa.gov.au/recordkeeping/gov_online/agls/1.2");
const QString kAgls12Agls = QStringLiteral("http://www.agls.gov.au/recordkeeping/gov_online/agls/1.2");
const QString kAgls13 = QStringLiteral("http://www.naa.gov.au/recordkeeping/gov_online/agls/1.3");
const QString kAgls11 = QStringLiteral("http://www.naa.gov.au/recordkeeping/gov_online/agls/1.1");
// NZGLS has no published namespace yet; this address stands in for it.
const QString kNzglsPlaceholder = QStringLiteral("http://nzgls.namespace-pending.example/");

// The menus of the window commands work on.
void setItemVisible(const ProgramContext& context, const QString& objectName, bool visible) {
    if (CommandWindow* window = context.commands.window) window->showMenuItem(objectName, visible);
}

void setItemCaption(const ProgramContext& context, const QString& objectName, const QString& caption) {
    if (CommandWindow* window = context.commands.window) window->setMenuItemCaption(objectName, caption);
}

enum class Rel { Plain, Spaced };  // NZGLS writes "rel = " with blanks around "="

QString linkLine(Rel rel, const char* elementSet, const QString& ns) {
    return QString(rel == Rel::Spaced ? QStringLiteral("<link rel = ") : QStringLiteral("<link rel=")) +
           QStringLiteral("\"schema.") + QLatin1String(elementSet) + QStringLiteral("\" href=\"") + ns +
           QStringLiteral("\">");
}

struct Namespace {
    const char* prefix;
    QString address;
};

QString namespaceLines(bool indented, std::initializer_list<Namespace> namespaces) {
    QString text;
    int left = int(namespaces.size());
    for (const Namespace& ns : namespaces) {
        if (indented) text += kIndent;
        text += QStringLiteral("xmlns:") + QLatin1String(ns.prefix) + QStringLiteral("=\"") + ns.address +
                QStringLiteral("\"");
        if (--left == 0) text += QStringLiteral(">");
        text += kCrLf;
    }
    return text;
}

struct DomainDefaults {
    const char* name;
    QString templateCommand;
    QString linkRelLines;
    QString rdfNamespaces;
    const char* rdfPrefix;
    std::optional<QString> home;  // only the Utah domains move the home page
};

// Built per call: the scheme server and the program folder are read as they are now.
std::vector<DomainDefaults> domainDefaults(const QString& schemeServer) {
    const QString open = QStringLiteral("mtp://open=");
    const QString server = open + schemeServer;
    const QString webHost = open + SchemeHosts::schemeWebHost;
    const QString stateA = open + SchemeHosts::stateHostA;
    const QString aglsTemplate = server + QStringLiteral("/macros/agls/7.%20minimal%20record.kqb");
    const QString dcTemplate = server + QStringLiteral("/macros/dc.kqb");
    const QString dcNamespaces = namespaceLines(false, {{"dc", kDce11}, {"dcq", kDcq10}});
    const QString agls12Namespaces = namespaceLines(true, {{"agls", kAgls12Short}, {"dc", kDce11}, {"dcq", kDcq10}});
    const QString agls12LongNamespaces = namespaceLines(true, {{"agls", kAgls12Long}, {"dc", kDce11}, {"dcq", kDcq10}});
    const QString dcLink = linkLine(Rel::Plain, "DC", kDce11);

    return {
        {"NZGLS",
         server + QStringLiteral("/schemes/NZGLS/minimal.kqb"),
         kIndent + linkLine(Rel::Spaced, "DC", kDce11) + kCrLf + linkLine(Rel::Spaced, "NZGLS", kNzglsPlaceholder),
         // Its own lines rather than whatever the previous domain left, so the RDF start
         // tag is always declared and closed.
         namespaceLines(true, {{"dc", kDce11}, {"dcq", kDcq10}, {"nzgls", kNzglsPlaceholder}}),
         "nzgls",
         {}},
        {"AGLS1.1",
         aglsTemplate,
         kIndent + linkLine(Rel::Plain, "AGLS", kAgls11),
         namespaceLines(true, {{"agls", kAgls12Agls}, {"dc", kDce10}, {"dcq", kDcq10}}),
         "agls",
         {}},
        {"AGLS1.2", aglsTemplate, linkLine(Rel::Plain, "AGLS", kAgls12Short), agls12Namespaces, "agls", {}},
        {"AGLS1.3", aglsTemplate, linkLine(Rel::Plain, "AGLS", kAgls12Short), agls12Namespaces, "agls", {}},
        {"AGLS1.3 (ACT)",
         aglsTemplate,
         linkLine(Rel::Plain, "AGLS", kAgls13),
         namespaceLines(true, {{"agls", kAgls13}, {"dc", kDce11}, {"dcq", kDcq10}}),
         "aglsact",
         {}},
        {"JSMS",
         server + QStringLiteral("/schemes/LawZone/lawzone.kqb"),
         linkLine(Rel::Plain, "AGLS", kAgls12Long),
         agls12LongNamespaces,
         "jsms",
         {}},
        {"Aust Business Entry Point",
         server + QStringLiteral("/macros/bep/webpage.kqb"),
         QString(),
         dcNamespaces,
         "bep",
         {}},
        {"CDC", dcTemplate, dcLink, dcNamespaces, "dc", {}},
        {"Dublin Core", dcTemplate, dcLink, dcNamespaces, "dc", {}},
        {"SA.DETE",
         server + QStringLiteral("/schemes/DETE/SADETEMetadataTemplate.kqb"),
         QString(),
         dcNamespaces,
         "dc",
         {}},
        {"EdNA", server + QStringLiteral("/macros/edna.document.kqb"), QString(), dcNamespaces, "dc", {}},
        {"GILS-ARIZONA",
         webHost + QStringLiteral("/schemes/GILS-ARIZONA/GILS-ARIZONA.kqs"),
         QString(),
         QString(),
         "gils-arizona",
         {}},
        {"GILS-MONTANA",
         webHost + QStringLiteral("/schemes/GILS-MONTANA/GILS-MONTANA.kqs"),
         QString(),
         QString(),
         "gils-montana",
         {}},
        {"GILS-OREGON",
         webHost + QStringLiteral("/schemes/GILS-OREGON/GILS-OREGON.kqs"),
         QString(),
         QString(),
         "gils-oregon",
         {}},
        {"GILS-UTAH", stateA + QStringLiteral("/gils/schemes/ut.kqb"), QString(), QString(), "gils-utah",
         SchemeHosts::stateHostA + QStringLiteral("/gils/tutorial.htm")},
        {"DC-UTAH", stateA + QStringLiteral("/gils/schemes/dc.kqb"), QString(), QString(), "dc-utah",
         SchemeHosts::stateHostA + QStringLiteral("/gils/dctutorial.htm")},
        {"Health Insite - Australia", dcTemplate, QString(), dcNamespaces, "dc", {}},
        {"NOHSC",
         server + QStringLiteral("/schemes/NOHSC/template.kqb"),
         linkLine(Rel::Plain, "AGLS", kAgls12Long),
         agls12LongNamespaces,
         "agls",
         {}},
        // A batch installed with the program (in its scheme bundle), run by its location
        // alone (no "open=").
        {"SCORM",
         QStringLiteral("mtp://") + platform::SchemeBundle::folder() + QStringLiteral("/SCORM.kqb"),
         QString(),
         QString(),
         "scorm",
         {}},
    };
}

struct SchemeListSource {
    const char* name;
    const QString* host;  // nullptr: the scheme server as it is now
    const char* path;
};

// Paths are kept exactly as the servers publish them: blanks and "%20" included.
const SchemeListSource kSchemeLists[] = {
    {"NZGLS", nullptr, "/schemes/NZGLS/NZGLS.kqs"},
    {"AGLS", nullptr, "/schemes/AGLS.kqs"},
    {"AGLS1.2", nullptr, "/schemes/AGLS1.2.kqs"},
    {"AGLS1.3", nullptr, "/schemes/AGLS/AGLS1.3.kqs"},
    {"AGLS1.3 (ACT)", nullptr, "/schemes/AGLSACT/AGLS1.3ACT.kqs"},
    {"Aust Business Entry Point", nullptr, "/schemes/BEP/Business Entry Point.kqs"},
    {"CDC", nullptr, "/schemes/CDC/CDC.kqs"},
    {"Dublin Core", nullptr, "/schemes/Dublin%20Core.kqs"},
    {"SA.DETE", nullptr, "/schemes/DETE.kqs"},
    {"EdNA", nullptr, "/schemes/EDNA/EDNA.kqs"},
    {"GILS-ARIZONA", nullptr, "/schemes/GILS-ARIZONA/GILS-ARIZONA.kqs"},
    {"GILS-MONTANA", nullptr, "/schemes/GILS-MONTANA/GILS-MONTANA.kqs"},
    {"GILS-OREGON", nullptr, "/schemes/GILS-OREGON/GILS-OREGON.kqs"},
    {"GILS-UTAH", &SchemeHosts::stateHostB, "/schemes/ut/Utah_Schema.kqs"},
    {"DC-UTAH", &SchemeHosts::stateHostB, "/schemes/dc/Dublin_Core_Schema.kqs"},
    {"Health Insite - Australia", nullptr, "/schemes/Health Insite.kqs"},
    {"NOHSC", nullptr, "/schemes/NOHSC/NOHSC.kqs"},
    {"JSMS", nullptr, "/schemes/LawZone/JSMS.kqs"},
    {"SCORM", nullptr, "/schemes/SCORM/SCORM.kqs"},
};

// The Metadata Resources items (object names) shown for a domain.
struct ResourceItems {
    const char* name;
    const char* items[2];
};

const ResourceItems kResourceItems[] = {
    {"Dublin Core", {"mnuResDC", "mnuRes17"}},
    {"AGLS1.2", {"mnuResAGLS1point3", "mnuRes3"}},
    {"AGLS1.3", {"mnuResAGLS1point3", "mnuRes3"}},
    {"AGLS1.3 (ACT)", {"mnuResAGLS1point3", "mnuRes3"}},
    {"CDC", {"mnuResCDC", "mnuResCDCmenu"}},
    {"EdNA", {"mnuResEDNA", "mnuRes18"}},
    {"GILS-ARIZONA", {"mnuResGILSARIZONA", nullptr}},
    {"GILS-MONTANA", {"mnuResGILSMontana", "mnuRes24"}},
    {"GILS-OREGON", {"mnuResOregonSchema", "mnuRes20"}},
    {"GILS-UTAH", {"mnuResGILSUTAH", "mnuRes21"}},
    {"DC-UTAH", {"mnuResDCUTAH", "mnuRes22"}},
    {"NZGLS", {"mnuResNZGLS", "mnuRes19"}},
    {"SA.DETE", {"mnuResDETE", "mnuRes23"}},
    {"NOHSC", {"mnuResNOHSC", "mnuResNOHSCres"}},
};

}  // namespace

void showSchemaMenu(const ProgramContext& context, bool show, const QString& shortName) {
    for (const ResourceItems& row : kResourceItems) {
        if (shortName != QLatin1String(row.name)) continue;
        for (const char* item : row.items) {
            if (item) setItemVisible(context, QString::fromLatin1(item), show);
        }
        return;
    }
}

void hideAllSchemaMenus(const ProgramContext& context) {
    const DomainCatalogue& catalogue = context.domain.catalogue;
    const int rows = modCheckList::catalogueRowCount(catalogue);
    for (int i = 0; i < rows; ++i) showSchemaMenu(context, false, catalogue.schemaShortNames[size_t(i)]);
}

void applyDomainDefaults(ProgramContext& context) {
    Preferences& preferences = context.preferences;
    DomainState& domain = context.domain;
    const QString d = domain.defaultSchema;
    setItemCaption(context, QStringLiteral("mnuMaintMeta_2"), QStringLiteral("Add ") + d + QStringLiteral(" line"));
    setItemCaption(context, QStringLiteral("mnuResDefault"), QStringLiteral("Default Domain: ") + d);

    bool known = false;
    for (const DomainDefaults& row : domainDefaults(context.schemeServer)) {
        if (d != QLatin1String(row.name)) continue;
        known = true;
        // A template the user already has is never replaced.
        if (preferences.FileNewURL.isEmpty()) preferences.FileNewURL = row.templateCommand;
        domain.linkRelLines = row.linkRelLines;
        domain.rdfNamespaces = row.rdfNamespaces;
        domain.rdfPrefix = QString::fromLatin1(row.rdfPrefix);
        if (row.home) preferences.Home = *row.home;
        break;
    }
    if (!known) context.user.MsgBox(kUnknownDomainMessage, platform::kOkOnly, QStringLiteral("Error"));

    // Harvest Control Lists exist only in the AGLS family.
    const bool harvest = d.contains(QStringLiteral("AGLS"), Qt::CaseInsensitive);
    setItemVisible(context, QStringLiteral("mnuFileCheckHarvest"), harvest);
    setItemVisible(context, QStringLiteral("mnuFileSep01"), harvest);
    setItemVisible(context, QStringLiteral("mnuFileNew_4"), harvest);
}

void loadDomainScheme(ProgramContext& context) {
    for (const SchemeListSource& row : kSchemeLists) {
        if (context.domain.defaultSchema != QLatin1String(row.name)) continue;
        context.dispatcher.dispatch(context,
                                    QStringLiteral("mtp://url=") + (row.host ? *row.host : context.schemeServer) +
                                        QLatin1String(row.path),
                                    CommandOrigin::Program);
        return;
    }
}

void setDomainFromCommand(ProgramContext& context, const QString& command) {
    QString name = command;
    // The dispatcher hands commands over with their final "/"; accept one without it too.
    if (!name.endsWith(QLatin1Char('/'))) name += QLatin1Char('/');
    name = name.mid(6);
    name.remove(QStringLiteral("setdomain="), Qt::CaseInsensitive);
    name.remove(QStringLiteral(".kqb/"), Qt::CaseInsensitive);
    context.domain.defaultSchema = name;
    applyDomainDefaults(context);
}

}  // namespace modSchemas
