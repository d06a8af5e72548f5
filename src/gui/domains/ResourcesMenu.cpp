#include "gui/domains/ResourcesMenu.h"

#include "core/program/ProgramContext.h"
#include "core/commands/modMTP.h"
#include "core/domains/SchemeHosts.h"
#include "gui/domains/frmCheckList.h"
#include "core/domains/modSchemas.h"

#include <QAction>
#include <QMap>
#include <QMenu>

#include <functional>
#include <initializer_list>
#include <memory>

namespace modSchemas {
namespace {

enum class Verb { List, Template };

enum class Host {
    Scheme,     // the scheme server, written into the command when the menu is built
    SchemeNow,  // the scheme server as it is when the item is clicked
    Second,     // the second scheme host
    StateB,     // the state host of the Utah lists
    Library,    // the state library host
};

using CommandText = std::function<QString()>;

struct ArrayItem {
    int index;
    const char* caption;
    Host host;
    const char* path;
};

// One handler per control array, telling its elements apart by index.
struct ArrayHandler {
    ProgramContext& context;
    QMap<int, CommandText> commands;
    std::function<void()> after;  // runs after the command, whatever the index

    void click(int index) const {
        const auto it = commands.constFind(index);
        if (it != commands.cend()) {
            modMTP::runMtpCommand(context, (*it)());
        }
        if (after) after();
    }
};

class Builder {
public:
    // The scheme-server items without "*" keep the host the menu was built with.
    Builder(QString fixedServer, ProgramContext& context)
        : fixedServer_(std::move(fixedServer)), context_(context) {}

    // Tells the tree it now holds a scheme list.
    std::function<void()> listTypeSchema() const {
        return [&document = context_.document] { document.setListType(QStringLiteral("schema")); };
    }

    static QAction* named(QAction* action, const QString& name) {
        action->setObjectName(name);
        return action;
    }

    QMenu* submenu(QMenu* parent, const char* name, const char* caption, bool hidden = false) const {
        QMenu* menu = parent->addMenu(QLatin1String(caption));
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        if (hidden) menu->menuAction()->setVisible(false);
        return menu;
    }

    QAction* separator(QMenu* menu, const char* name) const {
        return named(menu->addSeparator(), QLatin1String(name));
    }

    // An item whose click does nothing.
    QAction* inert(QMenu* menu, const char* name, const char* caption, bool hidden = false) const {
        QAction* action = named(menu->addAction(QLatin1String(caption)), QLatin1String(name));
        if (hidden) action->setVisible(false);
        return action;
    }

    QAction* handler(QMenu* menu, const char* name, const char* caption, std::function<void()> onClick,
                     bool hidden = false) const {
        QAction* action = inert(menu, name, caption, hidden);
        QObject::connect(action, &QAction::triggered, action, [onClick = std::move(onClick)] { onClick(); });
        return action;
    }

    // Makes a domain current, applies it and loads its element list.
    QAction* domain(QMenu* menu, const char* name, const char* caption, const char* shortName,
                    bool hidden = false) const {
        const QString domainName = QLatin1String(shortName);
        return handler(
            menu, name, caption,
            [domainName, &context = context_] {
                context.domain.defaultSchema = domainName;
                applyDomainDefaults(context);
                loadDomainScheme(context);
            },
            hidden);
    }

    // A scheme-list or template item: one command, nothing else.
    QAction* command(QMenu* menu, const char* name, const char* caption, Verb verb, Host host, const char* path,
                     bool hidden = false) const {
        CommandText text = commandText(verb, host, QLatin1String(path));
        return handler(
            menu, name, caption,
            [text, &context = context_] {
                modMTP::runMtpCommand(context, text());
            },
            hidden);
    }

    void array(QMenu* menu, const char* name, Verb verb, std::initializer_list<ArrayItem> items,
               std::function<void()> after = {}) const {
        auto shared = std::make_shared<ArrayHandler>(ArrayHandler{context_, {}, {}});
        shared->after = std::move(after);
        for (const ArrayItem& item : items) {
            shared->commands.insert(item.index, commandText(verb, item.host, QLatin1String(item.path)));
            QAction* action = menu->addAction(QLatin1String(item.caption));
            action->setObjectName(QLatin1String(name) + QLatin1Char('_') + QString::number(item.index));
            const int index = item.index;
            QObject::connect(action, &QAction::triggered, action, [shared, index] { shared->click(index); });
        }
    }

private:
    CommandText commandText(Verb verb, Host host, const QString& path) const {
        const QString verbText = verb == Verb::List ? QStringLiteral("mtp://url=") : QStringLiteral("mtp://open=");
        if (host == Host::SchemeNow)
            return [verbText, path, &context = context_] { return verbText + context.schemeServer + path; };
        const QString fixed = verbText + hostText(host) + path;
        return [fixed] { return fixed; };
    }

    QString hostText(Host host) const {
        switch (host) {
        case Host::Scheme:
        case Host::SchemeNow:
            return fixedServer_;
        case Host::Second:
            return SchemeHosts::secondSchemeHost;
        case Host::StateB:
            return SchemeHosts::stateHostB;
        case Host::Library:
            return SchemeHosts::stateLibraryHost;
        }
        return fixedServer_;
    }

    QString fixedServer_;
    ProgramContext& context_;
};

constexpr bool kHidden = true;


void buildAgls(const Builder& b, QMenu* top) {
    b.command(top, "mnuResAGLS1point3", "AGLS 1.3 Schema", Verb::List, Host::Scheme, "/schemes/AGLS/AGLS1.3.kqs");
    QMenu* resources = b.submenu(top, "mnuRes3", "AGLS Resources");

    QMenu* schemes = b.submenu(resources, "menuAglsSchemes", "AGLS Schemes");
    b.command(schemes, "actionAgift", "AGIFT(Aust Govt Interactive Functions Thesaurus)", Verb::List, Host::Scheme,
              "/schemes/agift.kqs");
    QMenu* tags = b.submenu(schemes, "mnuResTags0", "TAGS (Thesaurus of Australian Government Subjects)");
    b.array(tags, "mnuResTags", Verb::List,
            {{0, "Agriculture", Host::Scheme, "/agls/TAGS-AG.kqs"},
             {1, "Business and Industry", Host::Scheme, "/agls/TAGS-BI.kqs"},
             {2, "Culture and Heritage", Host::Scheme, "/agls/TAGS-CH.kqs"},
             {3, "Community and Society", Host::Scheme, "/agls/TAGS-CS.kqs"},
             {4, "Defence and National Security", Host::Scheme, "/agls/TAGS-DS.kqs"},
             {5, "Economics and Finance", Host::Scheme, "/agls/TAGS-EF.kqs"},
             {6, "Employment", Host::Scheme, "/agls/TAGS-EM.kqs"},
             {7, "Environment and Nature", Host::Scheme, "/agls/TAGS-EN.kqs"},
             {8, "Education and Training", Host::Scheme, "/agls/TAGS-ET.kqs"},
             {9, "Government and Politics", Host::Scheme, "/agls/TAGS-GP.kqs"},
             {10, "Health and Safety", Host::Scheme, "/agls/TAGS-HS.kqs"},
             {11, "Information and Communications", Host::Scheme, "/agls/TAGS-IC.kqs"},
             {12, "Law and Justice", Host::Scheme, "/agls/TAGS-LJ.kqs"},
             {13, "Persons", Host::Scheme, "/agls/TAGS-PE.kqs"},
             {14, "Processes", Host::Scheme, "/agls/TAGS-PR.kqs"},
             {15, "Science and Technology", Host::Scheme, "/agls/TAGS-ST.kqs"},
             {16, "Transport", Host::Scheme, "/agls/TAGS-TR.kqs"}});
    b.command(schemes, "actionAglsAudience", "agls-audience", Verb::List, Host::Scheme,
              "/schemes/AGLS/agls-audience.kqs");
    b.command(schemes, "actionAglsDocument", "agls-document", Verb::List, Host::Scheme,
              "/schemes/AGLS/agls-document.kqs");
    b.command(schemes, "actionAglsJurisdiction", "AglsJuri (Jurisdiction)", Verb::List, Host::Scheme,
              "/schemes/AGLS/AglsJuri.kqs");
    b.command(schemes, "actionAglsService", "agls-service", Verb::List, Host::Scheme,
              "/schemes/AGLS/agls-service.kqs");
    b.command(schemes, "actionAglsImt", "IMT (DC.Format)", Verb::List, Host::Scheme, "/schemes/IMT.kqs");
    b.command(schemes, "actionAglsRfc3066", "RFC3066", Verb::List, Host::Scheme, "/schemes/DCMI/RFC3066.kqs");

    QMenu* templates = b.submenu(resources, "menuAglsTemplates", "AGLS Templates");
    b.array(templates, "mnuBatchAGLS1", Verb::Template,
            {{1, "1. Document Example", Host::Second, "/schemes/AGLS/temp_document.kqb"},
             {2, "2. Agency Home Page", Host::Second, "/schemes/AGLS/temp_agency.kqb"},
             {3, "3. Minimal AGLS Record", Host::Second, "/schemes/AGLS/temp_minimal.kqb"},
             {4, "4. Collection Level Record", Host::Second, "/schemes/AGLS/temp_collection.kqb"},
             {5, "5. An Offline and Online Resource", Host::Second, "/schemes/AGLS/temp_offline_online.kqb"},
             {6, "6. An Offline Resource", Host::Second, "/schemes/AGLS/temp_offline.kqb"},
             {7, "7. Child and Youth Portals Record", Host::Second, "/schemes/AGLS/temp_child_youth.kqb"},
             {8, "8. Regional Grants Record", Host::Second, "/schemes/AGLS/temp_regional_grant.kqb"}});
}

void buildCdc(const Builder& b, QMenu* top) {
    b.command(top, "mnuResCDC", "Center for Disease Control Schema", Verb::List, Host::Scheme, "/schemes/CDC/CDC.kqs");
    QMenu* resources = b.submenu(top, "mnuResCDCmenu", "Center for Disease Control Resources");
    b.command(resources, "actionCdcCreator", "CDC.Creator", Verb::List, Host::Scheme, "/schemes/CDC/CDC.creator.kqs");
    b.command(resources, "actionCdcPublisher", "CDC.Publisher", Verb::List, Host::Scheme,
              "/schemes/CDC/CDC.publisher.kqs");
    b.command(resources, "actionCdcAudienceAge", "CDC.Audience.Age", Verb::List, Host::Scheme, "/schemes/CDC/CDC.age.kqs");
    b.command(resources, "actionCdcAudienceBackground", "CDC.Audience.Background", Verb::List, Host::Scheme,
              "/schemes/CDC/CDC.background.kqs");
    b.command(resources, "actionCdcComplexity", "CDC.Complexity", Verb::List, Host::Scheme,
              "/schemes/CDC/CDC.complexity.kqs");
    b.command(resources, "actionCdcCategory", "CDC.Category", Verb::List, Host::Scheme,
              "/schemes/CDC/CDC.category.kqs");
    b.command(resources, "actionCdcStatus", "CDC.Status", Verb::List, Host::Scheme, "/schemes/CDC/CDC.status.kqs");
    b.command(resources, "actionCdcTemplate", "CDC Template", Verb::Template, Host::Scheme, "/schemes/CDC/CDC.kqb");
}

void buildDublinCore(const Builder& b, QMenu* top) {
    b.domain(top, "mnuResDC", "Dublin Core Schema", "Dublin Core");
    QMenu* resources = b.submenu(top, "mnuRes17", "Dublin Core Resources");
    QMenu* schemes = b.submenu(resources, "menuDcSchemes", "Dublin Core Schemes");
    b.command(schemes, "actionDcmiType", "DCMIType", Verb::List, Host::Scheme, "/schemes/DCMI/DCMIType.kqs");
    b.command(schemes, "actionDcImt", "IMT (DC.Format)", Verb::List, Host::Scheme, "/schemes/IMT.kqs");
    b.command(schemes, "actionDcRfc1766", "RFC1766", Verb::List, Host::Scheme, "/schemes/RFC1766.kqs");
    b.command(resources, "actionDcTemplate", "Dublin Core Template", Verb::Template, Host::Scheme, "/macros/dc.kqb");
}

void buildEdna(const Builder& b, QMenu* top) {
    b.domain(top, "mnuResEDNA", "EdNA Schema", "EdNA");
    QMenu* resources = b.submenu(top, "mnuRes18", "EdNA Resources");
    QMenu* schemes = b.submenu(resources, "menuEdnaSchemes", "EdNA Schemes");
    b.command(schemes, "actionEdnaAudience", "edna.audience", Verb::List, Host::Scheme,
              "/schemes/EDNA/edna.audience.kqs");
    b.command(schemes, "actionEdnaCoverage", "edna.coverage", Verb::List, Host::SchemeNow,
              "/schemes/EDNA/edna.coverage.kqs", kHidden);
    b.command(schemes, "actionEdnaCurriculum", "edna-curriculum", Verb::List, Host::SchemeNow,
              "/schemes/EDNA/edna-curriculum.kqs");
    b.command(schemes, "actionEdnaDirectory", "edna.directory", Verb::List, Host::Scheme,
              "/schemes/EDNA/edna.directory.kqs");
    b.command(schemes, "actionEdnaDocument", "edna-document", Verb::List, Host::SchemeNow,
              "/schemes/EDNA/edna-document.kqs");
    b.command(schemes, "actionEdnaEvent", "edna-event", Verb::List, Host::SchemeNow, "/schemes/EDNA/edna-event.kqs");
    b.command(schemes, "actionEdnaIndexing", "edna.indexing", Verb::List, Host::Scheme,
              "/schemes/EDNA/edna.indexing.kqs");
    b.command(schemes, "actionEdnaKla", "edna.KLA", Verb::List, Host::Scheme, "/schemes/EDNA/edna.KLA.kqs");
    b.command(schemes, "actionEdnaSector", "edna.sector", Verb::List, Host::Scheme, "/schemes/EDNA/edna.sector.kqs");
    b.command(schemes, "actionEdnaSpatial", "edna.spatial", Verb::List, Host::Scheme,
              "/schemes/EDNA/edna.spatial.kqs");
    b.command(schemes, "actionEdnaUserlevel", "edna.userlevel", Verb::List, Host::Scheme,
              "/schemes/EDNA/edna.userlevel.kqs");
    b.command(schemes, "actionEdnaDcmiType", "edna.DCMIType", Verb::List, Host::Scheme,
              "/schemes/EDNA/edna.DCMIType.kqs");
    b.command(schemes, "actionEdnaImt", "edna.IMT (DC.Format)", Verb::List, Host::Scheme,
              "/schemes/EDNA/edna.IMT.kqs");
    b.command(schemes, "actionEdnaRfc1766", "RFC1766", Verb::List, Host::Scheme, "/schemes/RFC1766.kqs");

    QMenu* templates = b.submenu(resources, "menuEdnaTemplates", "EdNA Templates");
    b.command(templates, "actionEdnaDocumentTemplate", "EdNA Document", Verb::Template, Host::SchemeNow,
              "/macros/edna.document.kqb");
    b.command(templates, "actionEdnaEventTemplate", "EdNA Event", Verb::Template, Host::SchemeNow,
              "/macros/edna.event.kqb");
    b.command(templates, "actionEdnaCurriculumTemplate", "EdNA Curriculum", Verb::Template, Host::SchemeNow,
              "/macros/edna.curriculum.kqb");
}

void buildMontana(const Builder& b, QMenu* top) {
    b.domain(top, "mnuResGILSMontana", "Montana Schema", "GILS-MONTANA");
    QMenu* resources = b.submenu(top, "mnuRes24", "Montana Resources");
    QMenu* lists = b.submenu(resources, "menuMontanaLists", "Montana Controlled Lists");
    b.array(lists, "mnuResMontanaGILS", Verb::List,
            {{1, "Originator", Host::Second, "/schemes/GILS-MONTANA/author.kqs"},
             {2, "Format", Host::Second, "/schemes/GILS-MONTANA/IMT.kqs"},
             {3, "Government Type", Host::Second, "/schemes/GILS-MONTANA/govType.kqs"},
             {4, "Language", Host::Second, "/schemes/GILS-MONTANA/RFC3066.kqs"},
             {5, "Medium", Host::Second, "/schemes/GILS-MONTANA/medium.kqs"},
             {6, "Resource Type", Host::Second, "/schemes/GILS-MONTANA/resourceType.kqs"},
             {7, "Subjects", Host::Library, "/montana/topics.kqs"}});
    b.command(resources, "actionMontanaTemplate", "Montana Template", Verb::Template, Host::Scheme,
              "/schemes/GILS-Montana/template.kqb");
}

void buildNohsc(const Builder& b, QMenu* top) {
    b.inert(top, "mnuResNOHSC", "NOHSC Schema", kHidden);
    QMenu* resources = b.submenu(top, "mnuResNOHSCres", "NOHSC Resources", kHidden);
    QMenu* schemes = b.submenu(resources, "menuNohscSchemes", "NOHSC Schemes");
    b.inert(schemes, "mnuNOHSCaohst", "AOHST");
    b.command(schemes, "actionNohscDocumentTypes", "DocumentTypes", Verb::List, Host::Second,
              "/schemes/NOHSC/NOHSCdocumentType.kqs");
    b.command(schemes, "actionNohscIndustry", "Industry Type", Verb::List, Host::Second,
              "/schemes/NOHSC/NOHSCindustry.kqs");
    b.command(resources, "actionNohscTemplate", "NOHSC Template", Verb::Template, Host::Second,
              "/schemes/NOHSC/template.kqb");
}

void buildNzgls(const Builder& b, QMenu* top) {
    b.domain(top, "mnuResNZGLS", "NZGLS Schema", "NZGLS");
    QMenu* resources = b.submenu(top, "mnuRes19", "NZGLS Resources");
    QMenu* schemes = b.submenu(resources, "menuNzglsSchemes", "NZGLS Schemes");
    b.command(schemes, "actionNzglsFonz", "Functional Thesaurus (FONZ)", Verb::List, Host::Scheme,
              "/schemes/NZGLS/FONZ.kqs");
    b.command(schemes, "actionNzglsSonz", "Subject Thesaurus(SONZ)", Verb::List, Host::Scheme,
              "/schemes/NZGLS/SONZ.kqs");
    b.command(schemes, "actionNzglsAudience", "NZGLS-Audience", Verb::List, Host::Scheme,
              "/schemes/NZGLS/NZGLS-audience.kqs");
    b.command(schemes, "actionNzglsRfc3066", "NZGLS-RFC3066", Verb::List, Host::Scheme,
              "/schemes/NZGLS/NZGLS-rfc3066.kqs");
    b.command(schemes, "actionNzglsImt", "NZGLS-IMT", Verb::List, Host::Scheme, "/schemes/NZGLS/NZGLS-imt.kqs");
    b.command(schemes, "actionNzglsJurisdiction", "NZGLS-jurisdiction", Verb::List, Host::Scheme,
              "/schemes/NZGLS/jurisdiction.kqs");
    b.command(schemes, "actionNzglsPlaceNames", "NZGLS-placeNames", Verb::List, Host::Scheme,
              "/schemes/NZGLS/placeNames.kqs");
    b.command(schemes, "actionNzglsService", "NZGLS-Service", Verb::List, Host::Scheme,
              "/schemes/NZGLS/NZGLS-service.kqs", kHidden);
    b.command(schemes, "actionNzglsType", "NZGLS-type", Verb::List, Host::Scheme, "/schemes/NZGLS/NZGLS-type.kqs");

    QMenu* templates = b.submenu(resources, "menuNzglsTemplates", "NZGLS Templates");
    b.command(templates, "actionNzglsMandatory", "Mandatory Record", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/minimal.kqb");
    b.command(templates, "actionNzglsAgency", "Agency Record", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/agency.kqb");
    b.separator(templates, "separatorNzglsTemplates");
    b.command(templates, "actionNzglsLicense", "License Application - Resource", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/License.kqb");
    b.command(templates, "actionNzglsLicenseApplication", "License Application - Service", Verb::Template,
              Host::Scheme, "/schemes/NZGLS/LicenseApplication.kqb");
    b.command(templates, "actionNzglsOfflinePub", "Off-Line Publication", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/OfflinePub.kqb");
    b.command(templates, "actionNzglsOfflinePub2", "Off-Line Publication2", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/OfflinePub2.kqb");
    b.command(templates, "actionNzglsOnlinePub", "On-Line Publication", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/OnlinePub.kqb");
    b.command(templates, "actionNzglsOnlineResource", "On-Line Resource", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/OnlineResource.kqb");
    b.command(templates, "actionNzglsPassport", "Passport Application", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/Passport.kqb");
    b.command(templates, "actionNzglsStudentLoan", "Student Loans", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/StudentLoan.kqb");
    b.command(templates, "actionNzglsStudentLoanMaori", "Student Loan - Maori", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/StudentLoanMaori.kqb");
    b.command(templates, "actionNzglsStudentLoanEnglish", "Student Loan - English", Verb::Template, Host::Scheme,
              "/schemes/NZGLS/StudentLoanEnglish.kqb");
}

void buildOregon(const Builder& b, QMenu* top) {
    b.domain(top, "mnuResOregonSchema", "Oregon - GILS Schema", "GILS-OREGON");
    QMenu* resources = b.submenu(top, "mnuRes20", "Oregon Resources");
    QMenu* related = b.submenu(resources, "menuOregonRelated", "Oregon Related");
    // These lists are vocabularies, so the tree is told it now holds a scheme.
    b.array(related, "mnuResOREGONGILS", Verb::List,
            {{1, "Subjects", Host::Scheme, "/schemes/GILS-OREGON/subjects.kqs"},
             {2, "Goverment Type", Host::Scheme, "/schemes/GILS-OREGON/govType.kqs"},
             {3, "Medium", Host::Scheme, "/schemes/GILS-OREGON/medium.kqs"}},
            b.listTypeSchema());
}

void buildUtah(const Builder& b, QMenu* top) {
    b.domain(top, "mnuResGILSUTAH", "Utah State Schema", "GILS-UTAH");
    QMenu* resources = b.submenu(top, "mnuRes21", "Utah State Resources");
    QMenu* related = b.submenu(resources, "menuUtahRelated", "Utah State Related");
    // The server publishes "Resourcetype.kqs " with its trailing blank.
    b.array(related, "mnuResUTAHGILS", Verb::List,
            {{1, "Agency", Host::StateB, "/schemes/ut/agency.kqs"},
             {2, "Format", Host::StateB, "/schemes/ut/IMT.kqs"},
             {3, "Government Type", Host::StateB, "/schemes/ut/govType.kqs"},
             {4, "Language", Host::StateB, "/schemes/ut/RFC3066.kqs"},
             {5, "Resource Type", Host::StateB, "/schemes/ut/Resourcetype.kqs "},
             {6, "Robots", Host::StateB, "/schemes/ut/robots.kqs"}});
    b.command(resources, "actionUtahTemplate", "Utah State Template", Verb::Template, Host::StateB,
              "/schemes/ut/Utah.kqb");
    b.command(resources, "actionUtahAgencyTemplates", "Utah Agency Templates", Verb::List, Host::StateB,
              "/schemes/ut/Templates.kqs");
    b.command(resources, "actionUtahTypeTemplates", "Document Type Templates", Verb::List, Host::StateB,
              "/schemes/ut/Typetemplates.kqs");

    b.domain(top, "mnuResDCUTAH", "Utah State DC Schema", "DC-UTAH");
    QMenu* dcResources = b.submenu(top, "mnuRes22", "Utah State DC Resources");
    QMenu* dcSchemes = b.submenu(dcResources, "menuUtahDcSchemes", "Utah State DC Schemes");
    b.array(dcSchemes, "mnuResUTAHDC", Verb::List,
            {{1, "Author", Host::StateB, "/schemes/dc/author.kqs"},
             {2, "Format", Host::StateB, "/schemes/dc/IMT.kqs"},
             {3, "Language", Host::StateB, "/schemes/dc/language.kqs"},
             {4, "Medium", Host::StateB, "/schemes/dc/medium.kqs"},
             {5, "Resource Type", Host::StateB, "/schemes/dc/resourceType.kqs"},
             {6, "Subjects", Host::StateB, "/schemes/dc/subjects.kqs"}});
    b.command(dcResources, "actionUtahDcTemplate", "Utah State Dublin Core Template", Verb::Template, Host::StateB,
              "/schemes/dc/Dublin_Core.kqb");
}

void buildSaDete(const Builder& b, QMenu* top) {
    b.domain(top, "mnuResDETE", "SA DETE Schema", "SA.DETE", kHidden);
    QMenu* resources = b.submenu(top, "mnuRes23", "SA.Dete Resources", kHidden);
    QMenu* schemes = b.submenu(resources, "menuSaDeteSchemes", "SA.Dete Schemes");
    b.array(schemes, "mnuResSADETE", Verb::List,
            {{1, "EDNA.Directory", Host::Scheme, "/schemes/EDNA/edna.directory.kqs"},
             {2, "EDNA.Indexing", Host::Scheme, "/schemes/EDNA/edna.indexing.kqs"},
             {3, "EDNA.KLA", Host::Scheme, "/schemes/EDNA/edna.KLA.kqs"},
             {4, "EDNA.UserLevel", Host::Scheme, "/schemes/EDNA/edna.userlevel.kqs"},
             {5, "DETE.AGIFT", Host::Scheme, "/schemes/DETE/DETE.AGIFT.kqs"},
             {6, "DETE.Audience", Host::Scheme, "/schemes/DETE/DETE.Audience.kqs"},
             {7, "DETE.IMT", Host::Scheme, "/schemes/DETE/DETE.IMT.kqs"},
             {8, "DETE.Jurisdiction", Host::Scheme, "/schemes/DETE/DETE.Jurisdiction.kqs"},
             {9, "DETE.KAAA", Host::Scheme, "/schemes/DETE/DETE.KAAA.kqs"},
             {10, "DETE.Language", Host::Scheme, "/schemes/DETE/DETE.Language.kqs"},
             {11, "DETE.Subject", Host::Scheme, "/schemes/DETE/DETE.SUBJECT.kqs"},
             {12, "DETE.Type", Host::Scheme, "/schemes/DETE/DETE.Type.kqs"}});
    b.command(resources, "actionSaDeteTemplate", "SA DETE Template", Verb::Template, Host::SchemeNow,
              "/schemes/DETE/SADETEMetadataTemplate.kqb");
}

// The window whose menu bar holds the menu: an open menu is a window of its own.
QWidget* windowOf(QMenu* menu) {
    QWidget* holder = menu;
    while (qobject_cast<QMenu*>(holder) && holder->parentWidget()) holder = holder->parentWidget();
    return holder->window();
}

}  // namespace

void buildResourcesMenu(QMenu* menu, ProgramContext& context, platform::ModalRuns& runs) {
    if (!menu) return;
    // Built before start-up has set the server (a window made on its own): use the program's own.
    const QString server =
        context.schemeServer.isEmpty() ? SchemeHosts::defaultSchemeServer() : context.schemeServer;
    const Builder b(server, context);

    b.handler(menu, "mnuResEditSchemas", "Select Metadata Schemas", [menu, &context, &runs] {
        // The dialog applies the domain chosen itself; cancelled or not, the current list loads.
        frmCheckList::showModal(windowOf(menu), context, runs);
        loadDomainScheme(context);
    });
    b.handler(menu, "mnuResDefault", "Load Default Schema:", [&context] { loadDomainScheme(context); });
    b.separator(menu, "separatorDomains");

    buildAgls(b, menu);
    b.domain(menu, "mnuResGILSARIZONA", "Arizona GILS", "GILS-ARIZONA");
    buildCdc(b, menu);
    buildDublinCore(b, menu);
    buildEdna(b, menu);
    // Sets "Health Insite", not the catalogue's "Health Insite - Australia".
    b.domain(menu, "mnuResHealth", "Health Insite (Aust Govt) Schema", "Health Insite", kHidden);
    buildMontana(b, menu);
    buildNohsc(b, menu);
    buildNzgls(b, menu);
    buildOregon(b, menu);
    buildUtah(b, menu);
    buildSaDete(b, menu);
}

}  // namespace modSchemas
