#include "DomainTestSupport.h"
#include "domains/ResourcesMenu.h"
#include "domains/SchemeHosts.h"
#include "domains/modCheckList.h"
#include "support/Common.h"
#include "support/CommandRecorder.h"
#include "support/ScriptedUi.h"

#include <QMenu>
#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;
using testing_support::CommandRecorder;
using testing_support::ScriptedMsgBoxes;

namespace {

const QString kBuiltServer = domain_tests::kServer;
const QString kMovedServer = u"moved.test.example"_s;

// A main window whose Resources menu is built, with the domain state put back afterwards.
class ResourcesMenuTest : public ::testing::Test {
protected:
    domain_tests::DomainWorld world{false};
    std::unique_ptr<Form1> window = std::make_unique<Form1>();  // its Resources menu is built with it

    QAction* action(const QString& name) const {
        const QList<QAction*> found = window->mnuRes->findChildren<QAction*>(name);
        return found.size() == 1 ? found.first() : nullptr;
    }
    // Clicks the item (shown first, as its domain would) and gives back the commands it ran.
    QStringList click(const QString& name) {
        QAction* item = action(name);
        if (!item) {
            ADD_FAILURE() << "no single item named " << name.toStdString();
            return {};
        }
        item->setVisible(true);
        CommandRecorder recorder;
        item->trigger();
        return recorder.commands;
    }
};

// The whole menu in order. `what` is "sub" for a submenu, "-" for a separator, "none" for an
// item that does nothing, "domain:" and the short name for a domain item, "edit" and
// "default" for the two schema items, else the command with {S} (the server the menu was
// built with), {S*} (the server when clicked), {H2}, {G} and {L} for the hosts.
struct Row {
    int depth;
    const char* name;
    const char* caption;
    const char* what;
    bool hidden = false;
};

const Row kMenu[] = {
    {0, "mnuResEditSchemas", "Select Metadata Schemas", "edit"},
    {0, "mnuResDefault", "Load Default Schema:", "default"},
    {0, "", "", "-"},
    {0, "mnuResAGLS1point3", "AGLS 1.3 Schema", "mtp://url={S}/schemes/AGLS/AGLS1.3.kqs"},
    {0, "mnuRes3", "AGLS Resources", "sub"},
    {1, "", "AGLS Schemes", "sub"},
    {2, "", "AGIFT(Aust Govt Interactive Functions Thesaurus)", "mtp://url={S}/schemes/agift.kqs"},
    {2, "mnuResTags0", "TAGS (Thesaurus of Australian Government Subjects)", "sub"},
    {3, "mnuResTags_0", "Agriculture", "mtp://url={S}/agls/TAGS-AG.kqs"},
    {3, "mnuResTags_1", "Business and Industry", "mtp://url={S}/agls/TAGS-BI.kqs"},
    {3, "mnuResTags_2", "Culture and Heritage", "mtp://url={S}/agls/TAGS-CH.kqs"},
    {3, "mnuResTags_3", "Community and Society", "mtp://url={S}/agls/TAGS-CS.kqs"},
    {3, "mnuResTags_4", "Defence and National Security", "mtp://url={S}/agls/TAGS-DS.kqs"},
    {3, "mnuResTags_5", "Economics and Finance", "mtp://url={S}/agls/TAGS-EF.kqs"},
    {3, "mnuResTags_6", "Employment", "mtp://url={S}/agls/TAGS-EM.kqs"},
    {3, "mnuResTags_7", "Environment and Nature", "mtp://url={S}/agls/TAGS-EN.kqs"},
    {3, "mnuResTags_8", "Education and Training", "mtp://url={S}/agls/TAGS-ET.kqs"},
    {3, "mnuResTags_9", "Government and Politics", "mtp://url={S}/agls/TAGS-GP.kqs"},
    {3, "mnuResTags_10", "Health and Safety", "mtp://url={S}/agls/TAGS-HS.kqs"},
    {3, "mnuResTags_11", "Information and Communications", "mtp://url={S}/agls/TAGS-IC.kqs"},
    {3, "mnuResTags_12", "Law and Justice", "mtp://url={S}/agls/TAGS-LJ.kqs"},
    {3, "mnuResTags_13", "Persons", "mtp://url={S}/agls/TAGS-PE.kqs"},
    {3, "mnuResTags_14", "Processes", "mtp://url={S}/agls/TAGS-PR.kqs"},
    {3, "mnuResTags_15", "Science and Technology", "mtp://url={S}/agls/TAGS-ST.kqs"},
    {3, "mnuResTags_16", "Transport", "mtp://url={S}/agls/TAGS-TR.kqs"},
    {2, "", "agls-audience", "mtp://url={S}/schemes/AGLS/agls-audience.kqs"},
    {2, "", "agls-document", "mtp://url={S}/schemes/AGLS/agls-document.kqs"},
    {2, "", "AglsJuri (Jurisidiction)", "mtp://url={S}/schemes/AGLS/AglsJuri.kqs"},
    {2, "", "agls-service", "mtp://url={S}/schemes/AGLS/agls-service.kqs"},
    {2, "", "IMT (DC.Format)", "mtp://url={S}/schemes/IMT.kqs"},
    {2, "", "RFC3066", "mtp://url={S}/schemes/DCMI/RFC3066.kqs"},
    {1, "", "AGLS Templates", "sub"},
    {2, "mnuBatchAGLS1_1", "1. Document Example", "mtp://open={H2}/schemes/AGLS/temp_document.kqb"},
    {2, "mnuBatchAGLS1_2", "2. Agency Home Page", "mtp://open={H2}/schemes/AGLS/temp_agency.kqb"},
    {2, "mnuBatchAGLS1_3", "3. Minimal AGLS Record", "mtp://open={H2}/schemes/AGLS/temp_minimal.kqb"},
    {2, "mnuBatchAGLS1_4", "4. Collection Level Record", "mtp://open={H2}/schemes/AGLS/temp_collection.kqb"},
    {2, "mnuBatchAGLS1_5", "5. An Offline and Online Resource", "mtp://open={H2}/schemes/AGLS/temp_offline_online.kqb"},
    {2, "mnuBatchAGLS1_6", "6. An Offline Resource", "mtp://open={H2}/schemes/AGLS/temp_offline.kqb"},
    {2, "mnuBatchAGLS1_7", "7. Child and Youth Portals Record", "mtp://open={H2}/schemes/AGLS/temp_child_youth.kqb"},
    {2, "mnuBatchAGLS1_8", "8. Regional Grants Record", "mtp://open={H2}/schemes/AGLS/temp_regional_grant.kqb"},
    {0, "mnuResGILSARIZONA", "Arizona GILS", "domain:GILS-ARIZONA"},
    {0, "mnuResCDC", "Center for Disease Control Schema", "mtp://url={S}/schemes/CDC/CDC.kqs"},
    {0, "mnuResCDCmenu", "Center for Disease Control Resources", "sub"},
    {1, "", "CDC.Creator", "mtp://url={S}/schemes/CDC/CDC.creator.kqs"},
    {1, "", "CDC.Publisher", "mtp://url={S}/schemes/CDC/CDC.publisher.kqs"},
    {1, "", "CDC.Audience.Age", "mtp://url={S}/schemes/CDC/CDC.age.kqs"},
    {1, "", "CDC.Audience.Background", "mtp://url={S}/schemes/CDC/CDC.background.kqs"},
    {1, "", "CDC.Complexity", "mtp://url={S}/schemes/CDC/CDC.complexity.kqs"},
    {1, "", "CDC.Category", "mtp://url={S}/schemes/CDC/CDC.category.kqs"},
    {1, "", "CDC.Status", "mtp://url={S}/schemes/CDC/CDC.status.kqs"},
    {1, "", "CDC Template", "mtp://open={S}/schemes/CDC/CDC.kqb"},
    {0, "mnuResDC", "Dublin Core Schema", "domain:Dublin Core"},
    {0, "mnuRes17", "Dublin Core Resources", "sub"},
    {1, "", "Dublin Core Schemes", "sub"},
    {2, "", "DCMIType", "mtp://url={S}/schemes/DCMI/DCMIType.kqs"},
    {2, "", "IMT (DC.Format)", "mtp://url={S}/schemes/IMT.kqs"},
    {2, "", "RFC1766", "mtp://url={S}/schemes/RFC1766.kqs"},
    {1, "", "Dublin Core Template", "mtp://open={S}/macros/dc.kqb"},
    {0, "mnuResEDNA", "EdNA Schema", "domain:EdNA"},
    {0, "mnuRes18", "EdNA Resources", "sub"},
    {1, "", "EdNA Schemes", "sub"},
    {2, "", "edna.audience", "mtp://url={S}/schemes/EDNA/edna.audience.kqs"},
    {2, "", "edna.coverage", "mtp://url={S*}/schemes/EDNA/edna.coverage.kqs", true},
    {2, "", "edna-curriculum", "mtp://url={S*}/schemes/EDNA/edna-curriculum.kqs"},
    {2, "", "edna.directory", "mtp://url={S}/schemes/EDNA/edna.directory.kqs"},
    {2, "", "edna-document", "mtp://url={S*}/schemes/EDNA/edna-document.kqs"},
    {2, "", "edna-event", "mtp://url={S*}/schemes/EDNA/edna-event.kqs"},
    {2, "", "edna.indexing", "mtp://url={S}/schemes/EDNA/edna.indexing.kqs"},
    {2, "", "edna.KLA", "mtp://url={S}/schemes/EDNA/edna.KLA.kqs"},
    {2, "", "edna.sector", "mtp://url={S}/schemes/EDNA/edna.sector.kqs"},
    {2, "", "edna.spatial", "mtp://url={S}/schemes/EDNA/edna.spatial.kqs"},
    {2, "", "edna.userlevel", "mtp://url={S}/schemes/EDNA/edna.userlevel.kqs"},
    {2, "", "edna.DCMIType", "mtp://url={S}/schemes/EDNA/edna.DCMIType.kqs"},
    {2, "", "edna.IMT (DC.Format)", "mtp://url={S}/schemes/EDNA/edna.IMT.kqs"},
    {2, "", "RFC1766", "mtp://url={S}/schemes/RFC1766.kqs"},
    {1, "", "EdNA Templates", "sub"},
    {2, "", "EdNA Document", "mtp://open={S*}/macros/edna.document.kqb"},
    {2, "", "EdNA Event", "mtp://open={S*}/macros/edna.event.kqb"},
    {2, "", "EdNA Curriculum", "mtp://open={S*}/macros/edna.curriculum.kqb"},
    {0, "mnuResHealth", "Health Insite (Aust Govt) Schema", "domain:Health Insite", true},
    {0, "mnuResGILSMontana", "Montana Schema", "domain:GILS-MONTANA"},
    {0, "mnuRes24", "Montana Resources", "sub"},
    {1, "", "Montana Controlled Lists", "sub"},
    {2, "mnuResMontanaGILS_1", "Originator", "mtp://url={H2}/schemes/GILS-MONTANA/author.kqs"},
    {2, "mnuResMontanaGILS_2", "Format", "mtp://url={H2}/schemes/GILS-MONTANA/IMT.kqs"},
    {2, "mnuResMontanaGILS_3", "Government Type", "mtp://url={H2}/schemes/GILS-MONTANA/govType.kqs"},
    {2, "mnuResMontanaGILS_4", "Language", "mtp://url={H2}/schemes/GILS-MONTANA/RFC3066.kqs"},
    {2, "mnuResMontanaGILS_5", "Medium", "mtp://url={H2}/schemes/GILS-MONTANA/medium.kqs"},
    {2, "mnuResMontanaGILS_6", "Resource Type", "mtp://url={H2}/schemes/GILS-MONTANA/resourceType.kqs"},
    {2, "mnuResMontanaGILS_7", "Subjects", "mtp://url={L}/montana/topics.kqs"},
    {1, "", "Montana Template", "mtp://open={S}/schemes/GILS-Montana/template.kqb"},
    {0, "mnuResNOHSC", "NOHSC Schema", "none", true},
    {0, "mnuResNOHSCres", "NOHSC Resources", "sub", true},
    {1, "", "NOHSC Schemes", "sub"},
    {2, "mnuNOHSCaohst", "AOHST", "none"},
    {2, "", "DocumentTypes", "mtp://url={H2}/schemes/NOHSC/NOHSCdocumentType.kqs"},
    {2, "", "Industry Type", "mtp://url={H2}/schemes/NOHSC/NOHSCindustry.kqs"},
    {1, "", "NOHSC Template", "mtp://open={H2}/schemes/NOHSC/template.kqb"},
    {0, "mnuResNZGLS", "NZGLS Schema", "domain:NZGLS"},
    {0, "mnuRes19", "NZGLS Resources", "sub"},
    {1, "", "NZGLS Schemes", "sub"},
    {2, "", "Functional Thesaurus (FONZ)", "mtp://url={S}/schemes/NZGLS/FONZ.kqs"},
    {2, "", "Subject Thesaurus(SONZ)", "mtp://url={S}/schemes/NZGLS/SONZ.kqs"},
    {2, "", "NZGLS-Audience", "mtp://url={S}/schemes/NZGLS/NZGLS-audience.kqs"},
    {2, "", "NZGLS-RFC3066", "mtp://url={S}/schemes/NZGLS/NZGLS-rfc3066.kqs"},
    {2, "", "NZGLS-IMT", "mtp://url={S}/schemes/NZGLS/NZGLS-imt.kqs"},
    {2, "", "NZGLS-jurisdiction", "mtp://url={S}/schemes/NZGLS/jurisdiction.kqs"},
    {2, "", "NZGLS-placeNames", "mtp://url={S}/schemes/NZGLS/placeNames.kqs"},
    {2, "", "NZGLS-Service", "mtp://url={S}/schemes/NZGLS/NZGLS-service.kqs", true},
    {2, "", "NZGLS-type", "mtp://url={S}/schemes/NZGLS/NZGLS-type.kqs"},
    {1, "", "NZGLS Templates", "sub"},
    {2, "", "Mandatory Record", "mtp://open={S}/schemes/NZGLS/minimal.kqb"},
    {2, "", "Agency Record", "mtp://open={S}/schemes/NZGLS/agency.kqb"},
    {2, "", "", "-"},
    {2, "", "License Application - Resource", "mtp://open={S}/schemes/NZGLS/License.kqb"},
    {2, "", "License Application - Service", "mtp://open={S}/schemes/NZGLS/LicenseApplication.kqb"},
    {2, "", "Off-Line Publication", "mtp://open={S}/schemes/NZGLS/OfflinePub.kqb"},
    {2, "", "Off-Line Publication2", "mtp://open={S}/schemes/NZGLS/OfflinePub2.kqb"},
    {2, "", "On-Line Publication", "mtp://open={S}/schemes/NZGLS/OnlinePub.kqb"},
    {2, "", "On-Line Resource", "mtp://open={S}/schemes/NZGLS/OnlineResource.kqb"},
    {2, "", "Passport Application", "mtp://open={S}/schemes/NZGLS/Passport.kqb"},
    {2, "", "Student Loans", "mtp://open={S}/schemes/NZGLS/StudentLoan.kqb"},
    {2, "", "Student Loan - Maori", "mtp://open={S}/schemes/NZGLS/StudentLoanMaori.kqb"},
    {2, "", "Student Loan - English", "mtp://open={S}/schemes/NZGLS/StudentLoanEnglish.kqb"},
    {0, "mnuResOregonSchema", "Oregon - GILS Schema", "domain:GILS-OREGON"},
    {0, "mnuRes20", "Oregon Resources", "sub"},
    {1, "", "Oregon Related", "sub"},
    {2, "mnuResOREGONGILS_1", "Subjects", "mtp://url={S}/schemes/GILS-OREGON/subjects.kqs"},
    {2, "mnuResOREGONGILS_2", "Goverment Type", "mtp://url={S}/schemes/GILS-OREGON/govType.kqs"},
    {2, "mnuResOREGONGILS_3", "Medium", "mtp://url={S}/schemes/GILS-OREGON/medium.kqs"},
    {0, "mnuResGILSUTAH", "Utah State Schema", "domain:GILS-UTAH"},
    {0, "mnuRes21", "Utah State Resources", "sub"},
    {1, "", "Utah State Related", "sub"},
    {2, "mnuResUTAHGILS_1", "Agency", "mtp://url={G}/schemes/ut/agency.kqs"},
    {2, "mnuResUTAHGILS_2", "Format", "mtp://url={G}/schemes/ut/IMT.kqs"},
    {2, "mnuResUTAHGILS_3", "Government Type", "mtp://url={G}/schemes/ut/govType.kqs"},
    {2, "mnuResUTAHGILS_4", "Language", "mtp://url={G}/schemes/ut/RFC3066.kqs"},
    {2, "mnuResUTAHGILS_5", "Resource Type", "mtp://url={G}/schemes/ut/Resourcetype.kqs "},
    {2, "mnuResUTAHGILS_6", "Robots", "mtp://url={G}/schemes/ut/robots.kqs"},
    {1, "", "Utah State Template", "mtp://open={G}/schemes/ut/Utah.kqb"},
    {1, "", "Utah Agency Templates", "mtp://url={G}/schemes/ut/Templates.kqs"},
    {1, "", "Document Type Templates", "mtp://url={G}/schemes/ut/Typetemplates.kqs"},
    {0, "mnuResDCUTAH", "Utah State DC Schema", "domain:DC-UTAH"},
    {0, "mnuRes22", "Utah State DC Resources", "sub"},
    {1, "", "Utah State DC Schemes", "sub"},
    {2, "mnuResUTAHDC_1", "Author", "mtp://url={G}/schemes/dc/author.kqs"},
    {2, "mnuResUTAHDC_2", "Format", "mtp://url={G}/schemes/dc/IMT.kqs"},
    {2, "mnuResUTAHDC_3", "Language", "mtp://url={G}/schemes/dc/language.kqs"},
    {2, "mnuResUTAHDC_4", "Medium", "mtp://url={G}/schemes/dc/medium.kqs"},
    {2, "mnuResUTAHDC_5", "Resource Type", "mtp://url={G}/schemes/dc/resourceType.kqs"},
    {2, "mnuResUTAHDC_6", "Subjects", "mtp://url={G}/schemes/dc/subjects.kqs"},
    {1, "", "Utah State Dublin Core Template", "mtp://open={G}/schemes/dc/Dublin_Core.kqb"},
    {0, "mnuResDETE", "SA DETE Schema", "domain:SA.DETE", true},
    {0, "mnuRes23", "SA.Dete Resources", "sub", true},
    {1, "", "SA.Dete Schemes", "sub"},
    {2, "mnuResSADETE_1", "EDNA.Directory", "mtp://url={S}/schemes/EDNA/edna.directory.kqs"},
    {2, "mnuResSADETE_2", "EDNA.Indexing", "mtp://url={S}/schemes/EDNA/edna.indexing.kqs"},
    {2, "mnuResSADETE_3", "EDNA.KLA", "mtp://url={S}/schemes/EDNA/edna.KLA.kqs"},
    {2, "mnuResSADETE_4", "EDNA.UserLevel", "mtp://url={S}/schemes/EDNA/edna.userlevel.kqs"},
    {2, "mnuResSADETE_5", "DETE.AGIFT", "mtp://url={S}/schemes/DETE/DETE.AGIFT.kqs"},
    {2, "mnuResSADETE_6", "DETE.Audience", "mtp://url={S}/schemes/DETE/DETE.Audience.kqs"},
    {2, "mnuResSADETE_7", "DETE.IMT", "mtp://url={S}/schemes/DETE/DETE.IMT.kqs"},
    {2, "mnuResSADETE_8", "DETE.Jurisdiction", "mtp://url={S}/schemes/DETE/DETE.Jurisdiction.kqs"},
    {2, "mnuResSADETE_9", "DETE.KAAA", "mtp://url={S}/schemes/DETE/DETE.KAAA.kqs"},
    {2, "mnuResSADETE_10", "DETE.Language", "mtp://url={S}/schemes/DETE/DETE.Language.kqs"},
    {2, "mnuResSADETE_11", "DETE.Subject", "mtp://url={S}/schemes/DETE/DETE.SUBJECT.kqs"},
    {2, "mnuResSADETE_12", "DETE.Type", "mtp://url={S}/schemes/DETE/DETE.Type.kqs"},
    {1, "", "SA DETE Template", "mtp://open={S*}/schemes/DETE/SADETEMetadataTemplate.kqb"},
};

QString expand(QString command) {
    command.replace(u"{S*}"_s, kMovedServer).replace(u"{S}"_s, kBuiltServer);
    command.replace(u"{H2}"_s, SchemeHosts::secondSchemeHost).replace(u"{G}"_s, SchemeHosts::stateHostB);
    return command.replace(u"{L}"_s, SchemeHosts::stateLibraryHost);
}

void walk(const QMenu* menu, int depth, QList<std::pair<int, QAction*>>& out) {
    for (QAction* a : menu->actions()) {
        out.append({depth, a});
        if (a->menu()) walk(a->menu(), depth + 1, out);
    }
}

TEST_F(ResourcesMenuTest, EveryItemInOrderWithItsCaptionAndCommand) {
    QList<std::pair<int, QAction*>> found;
    walk(window->mnuRes, 0, found);
    ASSERT_EQ(found.size(), qsizetype(std::size(kMenu)));

    // Items without "*" keep the server the menu was built with; the others follow it.
    modMetaMain::schemeServer = kMovedServer;
    ScriptedMsgBoxes boxes;  // no item may say anything
    for (qsizetype i = 0; i < found.size(); ++i) {
        const Row& row = kMenu[i];
        const auto [depth, a] = found[i];
        const QString what = QString::fromUtf8(row.what);
        SCOPED_TRACE(u"row %1 \"%2\""_s.arg(i).arg(QString::fromUtf8(row.caption)).toStdString());
        EXPECT_EQ(depth, row.depth);
        EXPECT_EQ(a->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(a->isVisible(), !row.hidden);
        EXPECT_EQ(a->isSeparator(), what == u"-"_s);
        EXPECT_EQ(a->menu() != nullptr, what == u"sub"_s);
        if (*row.name) {
            EXPECT_EQ(a->objectName(), QString::fromUtf8(row.name));
        }
        if (a->menu()) {
            EXPECT_EQ(a->menu()->title(), QString::fromUtf8(row.caption));
        }
        if (!what.startsWith(u"mtp://"_s) && what != u"none"_s) continue;
        a->setVisible(true);
        CommandRecorder recorder;
        a->trigger();
        EXPECT_EQ(recorder.commands, what == u"none"_s ? QStringList() : QStringList{expand(what)});
    }
    EXPECT_TRUE(modSchemas::defaultSchema.isEmpty()) << "list and template items leave the domain alone";
}

TEST_F(ResourcesMenuTest, ObjectNamesAreUniqueAndEveryDomainItemExists) {
    QStringList names;
    for (const QAction* a : window->mnuRes->findChildren<QAction*>())
        if (!a->objectName().isEmpty()) names.append(a->objectName());
    EXPECT_EQ(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
    for (const QString& name : domain_tests::DomainWorld::resourceItems())
        EXPECT_NE(action(name), nullptr) << name.toStdString();
}

TEST_F(ResourcesMenuTest, DomainVisibilityReachesTheBuiltItems) {
    modCheckList::fillSchemaCatalogue();
    modSchemas::hideAllSchemaMenus();
    for (const char* name : {"mnuResDC", "mnuRes17", "mnuRes3", "mnuResAGLS1point3", "mnuResCDCmenu", "mnuRes24"})
        EXPECT_FALSE(action(QString::fromUtf8(name))->isVisible()) << name;
    EXPECT_TRUE(action(u"mnuResEDNA"_s)->isVisible());  // not in the catalogue: left as it was

    modSchemas::showSchemaMenu(true, u"NOHSC"_s);
    EXPECT_TRUE(action(u"mnuResNOHSC"_s)->isVisible());
    EXPECT_TRUE(window->findChild<QMenu*>(u"mnuResNOHSCres"_s)->menuAction()->isVisible());
    modSchemas::showSchemaMenu(true, u"AGLS1.3"_s);
    EXPECT_TRUE(window->findChild<QMenu*>(u"mnuRes3"_s)->menuAction()->isVisible());
    EXPECT_TRUE(action(u"mnuResAGLS1point3"_s)->isVisible());
}

TEST_F(ResourcesMenuTest, DomainItemsMakeTheDomainCurrentAndLoadItsList) {
    const QString s = u"mtp://url="_s + kBuiltServer, g = u"mtp://url="_s + SchemeHosts::stateHostB;
    const std::pair<const char*, QString> cases[] = {
        {"mnuResGILSARIZONA", s + u"/schemes/GILS-ARIZONA/GILS-ARIZONA.kqs"_s},
        {"mnuResDC", s + u"/schemes/Dublin%20Core.kqs"_s},
        {"mnuResEDNA", s + u"/schemes/EDNA/EDNA.kqs"_s},
        {"mnuResGILSMontana", s + u"/schemes/GILS-MONTANA/GILS-MONTANA.kqs"_s},
        {"mnuResNZGLS", s + u"/schemes/NZGLS/NZGLS.kqs"_s},
        {"mnuResOregonSchema", s + u"/schemes/GILS-OREGON/GILS-OREGON.kqs"_s},
        {"mnuResGILSUTAH", g + u"/schemes/ut/Utah_Schema.kqs"_s},
        {"mnuResDCUTAH", g + u"/schemes/dc/Dublin_Core_Schema.kqs"_s},
        {"mnuResDETE", s + u"/schemes/DETE.kqs"_s},
    };
    for (const auto& [item, list] : cases) {
        SCOPED_TRACE(item);
        EXPECT_EQ(click(QString::fromUtf8(item)), QStringList{list});
        const Row* row = std::find_if(std::begin(kMenu), std::end(kMenu), [&](const Row& r) {
            return QString::fromUtf8(r.name) == QString::fromUtf8(item);
        });
        const QString shortName = QString::fromUtf8(row->what).mid(7);  // after "domain:"
        EXPECT_EQ(modSchemas::defaultSchema, shortName);
        EXPECT_EQ(action(u"mnuResDefault"_s)->text(), u"Default Domain: "_s + shortName);
    }
    // The first domain applied gave the template command.
    EXPECT_EQ(Preferences::FileNewURL,
              u"mtp://open="_s + SchemeHosts::schemeWebHost + u"/schemes/GILS-ARIZONA/GILS-ARIZONA.kqs"_s);
    EXPECT_EQ(modSchemas::rdfPrefix, u"dc"_s);  // SA.DETE, applied last
}

TEST_F(ResourcesMenuTest, HealthItemNamesADomainTheDefaultsDoNotKnow) {
    modSchemas::defaultSchema = u"NZGLS"_s;
    modSchemas::rdfPrefix = u"nzgls"_s;
    ScriptedMsgBoxes boxes;
    boxes.expect(u"There is no Metadata Domain by that name"_s, platform::vbOK);
    EXPECT_TRUE(click(u"mnuResHealth"_s).isEmpty());
    EXPECT_EQ(modSchemas::defaultSchema, u"Health Insite"_s);
    EXPECT_EQ(modSchemas::rdfPrefix, u"nzgls"_s);
    EXPECT_EQ(action(u"mnuResDefault"_s)->text(), u"Default Domain: Health Insite"_s);
}

TEST_F(ResourcesMenuTest, LoadDefaultAndSelectSchemasLoadOnlyTheCurrentList) {
    ScriptedMsgBoxes boxes;  // a domain without a list says nothing either
    const QString s = u"mtp://url="_s + kBuiltServer;
    const std::tuple<const char*, const char*, QStringList> cases[] = {
        {"mnuResDefault", "GILS-MONTANA", {s + u"/schemes/GILS-MONTANA/GILS-MONTANA.kqs"_s}},
        {"mnuResEditSchemas", "NZGLS", {s + u"/schemes/NZGLS/NZGLS.kqs"_s}},
        {"mnuResDefault", "AGLS1.1", {}},
    };
    for (const auto& [item, domain, expected] : cases) {
        modSchemas::defaultSchema = QString::fromUtf8(domain);
        EXPECT_EQ(click(QString::fromUtf8(item)), expected) << item;
        EXPECT_EQ(modSchemas::defaultSchema, QString::fromUtf8(domain));
    }
    // Not re-applied: the caption and the template are untouched.
    EXPECT_EQ(action(u"mnuResDefault"_s)->text(), u"Load Default Schema:"_s);
    EXPECT_TRUE(Preferences::FileNewURL.isEmpty());
}

TEST_F(ResourcesMenuTest, TagsSubmenuIsFoundForThePopUp) {
    QMenu* tags = modSchemas::resourcesTagsMenu();
    ASSERT_NE(tags, nullptr);
    EXPECT_EQ(tags->title(), u"TAGS (Thesaurus of Australian Government Subjects)"_s);
    EXPECT_EQ(tags->actions().size(), 17);
}

TEST_F(ResourcesMenuTest, OregonListsTurnTheTreeIntoASchemeAfterTheirCommand) {
    for (int index = 1; index <= 3; ++index) {
        window->documentState->setListType(u"indexes"_s);
        QString typeDuringCommand;
        modMTP::setCommandInterceptor([&](const QString&, modMTP::CommandOrigin) {
            typeDuringCommand = window->documentState->listType();
            return true;
        });
        action(u"mnuResOREGONGILS_%1"_s.arg(index))->trigger();
        modMTP::setCommandInterceptor({});
        EXPECT_EQ(typeDuringCommand, u"indexes"_s);
        EXPECT_EQ(window->documentState->listType(), u"schema"_s);
    }
    window->documentState->setListType(u"indexes"_s);  // other lists leave the tree's kind alone
    click(u"mnuResUTAHGILS_1"_s);
    EXPECT_EQ(window->documentState->listType(), u"indexes"_s);
}

TEST(ResourcesMenuBuild, WithoutAServerYetTheProgramsOwnIsWrittenIn) {
    domain_tests::DomainWorld world(false);
    modMetaMain::schemeServer.clear();
    QMenu menu;
    modSchemas::buildResourcesMenu(&menu);
    modSchemas::buildResourcesMenu(nullptr);  // nothing to fill: no harm
    CommandRecorder recorder;
    menu.findChild<QAction*>(u"mnuResAGLS1point3"_s)->trigger();
    EXPECT_EQ(recorder.commands,
              QStringList{u"mtp://url="_s + modMetaMain::defaultSchemeServer() + u"/schemes/AGLS/AGLS1.3.kqs"_s});
}

}  // namespace
