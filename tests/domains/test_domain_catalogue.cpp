#include "DomainTestSupport.h"
#include "domains/SchemeHosts.h"
#include "domains/modCheckList.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using domain_tests::DomainWorld;

namespace {

TEST(SchemaCatalogue, HoldsTheFifteenDomainsInOrder) {
    DomainWorld world(false);
    modCheckList::schemaShortNames[18] = u"left over"_s;
    modCheckList::fillSchemaCatalogue();
    const QString s = u"http://schemes.test.example"_s, second = u"http://"_s + SchemeHosts::secondSchemeHost;
    const QString stateA = u"http://"_s + SchemeHosts::stateHostA;
    // Long name, short name, tutorial.
    const std::tuple<QString, QString, QString> rows[] = {
        {u"Dublin Core (DC)"_s, u"Dublin Core"_s, s + u"/tutorial/DC.html"_s},
        {u"Australian Government Locator Service 1.3(AGLS)"_s, u"AGLS1.3"_s, s + u"/tutorial/AGLS.html"_s},
        {u"Australian Government Locator Service 1.3(AGLS ACT)"_s, u"AGLS1.3 (ACT)"_s, s + u"/tutorial/AGLS.html"_s},
        {u"Australian Justice Sector"_s, u"JSMS"_s, s + u"/tutorial/JSMS.html"_s},
        {u"Center for Disease Control"_s, u"CDC"_s, s + u"/tutorial/DC.html"_s},
        {u"GILS-ARIZONA"_s, u"GILS-ARIZONA"_s, s + u"/tutorial/GILS-Arizona.html"_s},
        {u"GILS-MONTANA"_s, u"GILS-MONTANA"_s, s + u"/tutorial/GILS-Montana.html"_s},
        {u"GILS-OREGON"_s, u"GILS-OREGON"_s, s + u"/tutorial/GILS-Oregon.html"_s},
        {u"GILS-UTAH"_s, u"GILS-UTAH"_s, stateA + u"/gils/tutorial.htm"_s},
        {u"DublinCore-UTAH"_s, u"DC-UTAH"_s, stateA + u"/gils/dctutorial.htm"_s},
        {u"Health Insite - Australia"_s, u"Health Insite - Australia"_s, u"schemes.test.example/tutorial.html"_s},
        {u"New Zealand Government Locator Service (NZGLS)"_s, u"NZGLS"_s, second + u"/schemes/NZGLS/NZGLS.html"_s},
        {u"SA.DETE-Australia"_s, u"SA.DETE"_s, second + u"/tutorial/SA-DETE.html"_s},
        {u"NOHSC"_s, u"NOHSC"_s, second + u"/tutorial/NOHSC.html"_s},
        {u"SCORM"_s, u"SCORM"_s, second + u"/tutorial/SCORM.html"_s},
    };
    for (int i = 0; i < modCheckList::kCatalogueSlots; ++i) {
        const auto [longName, shortName, tutorial] = i < 15 ? rows[i] : std::tuple<QString, QString, QString>();
        EXPECT_EQ(modCheckList::schemaLongNames[i], longName) << i;
        EXPECT_EQ(modCheckList::schemaShortNames[i], shortName) << i;
        EXPECT_EQ(modCheckList::schemaTutorialURLs[i], tutorial) << i;
    }
    EXPECT_EQ(modCheckList::catalogueRowCount(), 15);
}

TEST(SchemaCatalogue, LongNameByExactShortName) {
    DomainWorld world(false);
    modCheckList::fillSchemaCatalogue();
    EXPECT_EQ(modCheckList::getSchemaLongName(u"DC-UTAH"_s), u"DublinCore-UTAH"_s);
    EXPECT_EQ(modCheckList::getSchemaLongName(u"SCORM"_s), u"SCORM"_s);
    for (const QString& name : {u"dc-utah"_s, u"EdNA"_s, QString(), QString(100000, u'S')})
        EXPECT_EQ(modCheckList::getSchemaLongName(name), QString()) << name.left(10);

}

TEST(SchemaMenus, HideAllLeavesOnlyTheItemsOfDomainsOutsideTheCatalogue) {
    DomainWorld world;
    modCheckList::fillSchemaCatalogue();
    world.setAllVisible(true);
    modSchemas::hideAllSchemaMenus();
    EXPECT_EQ(world.shownResourceItems(), (QStringList{u"mnuResEDNA"_s, u"mnuRes18"_s}));
    EXPECT_TRUE(world.visible(u"mnuResDefault"_s));
    EXPECT_TRUE(world.visible(u"mnuFileCheckHarvest"_s));
}

TEST(SchemaMenus, OnlyExactNamesWithItemsChangeAnything) {
    DomainWorld world;
    world.setAllVisible(false);
    for (const QString& name :
         {u"JSMS"_s, u"SCORM"_s, u"Health Insite - Australia"_s, u"Health Insite"_s, u"AGLS"_s, u"AGLS1.1"_s,
          u"dublin core"_s, u"NZGLS "_s, QString(), QString(100000, QLatin1Char('N'))}) {
        modSchemas::showSchemaMenu(true, name);
        EXPECT_TRUE(world.shownResourceItems().isEmpty()) << name.left(20).toStdString();
    }
    // The AGLS versions share their two items.
    modSchemas::showSchemaMenu(true, u"AGLS1.2"_s);
    modSchemas::showSchemaMenu(false, u"AGLS1.3 (ACT)"_s);
    EXPECT_TRUE(world.shownResourceItems().isEmpty());
    // Several domains shown side by side.
    modSchemas::showSchemaMenu(true, u"GILS-ARIZONA"_s);
    modSchemas::showSchemaMenu(true, u"NOHSC"_s);
    EXPECT_EQ(world.shownResourceItems(), (QStringList{u"mnuResGILSARIZONA"_s, u"mnuResNOHSC"_s, u"mnuResNOHSCres"_s}));
}

TEST(LoadDomainScheme, RunsTheDomainsSchemeListCommand) {
    DomainWorld world(false);
    const QString s = u"mtp://url=schemes.test.example"_s;
    const QString stateB = u"mtp://url="_s + SchemeHosts::stateHostB;
    const QList<QPair<QString, QString>> rows = {
        {u"NZGLS"_s, s + u"/schemes/NZGLS/NZGLS.kqs"_s},
        {u"AGLS"_s, s + u"/schemes/AGLS.kqs"_s},
        {u"AGLS1.2"_s, s + u"/schemes/AGLS1.2.kqs"_s},
        {u"AGLS1.3"_s, s + u"/schemes/AGLS/AGLS1.3.kqs"_s},
        {u"AGLS1.3 (ACT)"_s, s + u"/schemes/AGLSACT/AGLS1.3ACT.kqs"_s},
        {u"Aust Business Entry Point"_s, s + u"/schemes/BEP/Business Entry Point.kqs"_s},
        {u"CDC"_s, s + u"/schemes/CDC/CDC.kqs"_s},
        {u"Dublin Core"_s, s + u"/schemes/Dublin%20Core.kqs"_s},
        {u"SA.DETE"_s, s + u"/schemes/DETE.kqs"_s},
        {u"EdNA"_s, s + u"/schemes/EDNA/EDNA.kqs"_s},
        {u"GILS-ARIZONA"_s, s + u"/schemes/GILS-ARIZONA/GILS-ARIZONA.kqs"_s},
        {u"GILS-MONTANA"_s, s + u"/schemes/GILS-MONTANA/GILS-MONTANA.kqs"_s},
        {u"GILS-OREGON"_s, s + u"/schemes/GILS-OREGON/GILS-OREGON.kqs"_s},
        {u"GILS-UTAH"_s, stateB + u"/schemes/ut/Utah_Schema.kqs"_s},
        {u"DC-UTAH"_s, stateB + u"/schemes/dc/Dublin_Core_Schema.kqs"_s},
        {u"Health Insite - Australia"_s, s + u"/schemes/Health Insite.kqs"_s},
        {u"NOHSC"_s, s + u"/schemes/NOHSC/NOHSC.kqs"_s},
        {u"JSMS"_s, s + u"/schemes/LawZone/JSMS.kqs"_s},
        {u"SCORM"_s, s + u"/schemes/SCORM/SCORM.kqs"_s},
    };
    for (const auto& [domain, command] : rows) {
        world.commands.clear();
        modSchemas::defaultSchema = domain;
        modSchemas::loadDomainScheme();
        EXPECT_EQ(world.commands, QStringList{command}) << domain.toStdString();
    }
}

TEST(LoadDomainScheme, UnknownDomainsRunNothingAndTheServerIsReadAfresh) {
    DomainWorld world(false);
    for (const QString& name : {u"AGLS1.1"_s, u"Health Insite"_s, u"dublin core"_s, u"CDC "_s, QString(),
                                QString(100000, QLatin1Char('C'))}) {
        modSchemas::defaultSchema = name;
        modSchemas::loadDomainScheme();
    }
    EXPECT_TRUE(world.commands.isEmpty());

    modMetaMain::schemeServer = u"127.0.0.1:8080"_s;
    modSchemas::defaultSchema = u"CDC"_s;
    modSchemas::loadDomainScheme();
    EXPECT_EQ(world.commands, QStringList{u"mtp://url=127.0.0.1:8080/schemes/CDC/CDC.kqs"_s});
}

TEST(LoadDomainScheme, AglsIsUnknownToTheDefaultsButStillLoadsItsList) {
    DomainWorld world;
    testing_support::ScriptedMsgBoxes boxes;
    boxes.expect(u"There is no Metadata Domain by that name"_s, platform::vbOK);
    modSchemas::defaultSchema = u"AGLS"_s;
    modSchemas::applyDomainDefaults();
    modSchemas::loadDomainScheme();
    EXPECT_EQ(world.caption(u"mnuMaintMeta_2"_s), u"Add AGLS line"_s);
    EXPECT_TRUE(world.visible(u"mnuFileNew_4"_s));
    EXPECT_EQ(world.commands, QStringList{u"mtp://url=schemes.test.example/schemes/AGLS.kqs"_s});
}

}  // namespace
