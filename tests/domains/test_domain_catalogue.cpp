#include "DomainTestSupport.h"
#include "domains/SchemeHosts.h"
#include "domains/modCheckList.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using domain_tests::DomainWorld;
using namespace modCheckList;

namespace {

TEST(SchemaCatalogue, FifteenDomainsEachFoundByItsExactShortNameAndLoadingOneList) {
    DomainWorld world(false);
    schemaShortNames[18] = u"left over"_s;
    fillSchemaCatalogue();
    ASSERT_EQ(catalogueRowCount(), 15);
    EXPECT_TRUE(schemaShortNames[18].isEmpty());
    EXPECT_EQ(schemaTutorialURLs[0], u"http://schemes.test.example/tutorial/DC.html"_s);  // the server of the moment
    EXPECT_EQ(schemaTutorialURLs[10], u"schemes.test.example/tutorial.html"_s);           // opened as written
    for (int i = 0; i < 15; ++i) {
        const QString name = schemaShortNames[i];
        EXPECT_FALSE(schemaLongNames[i].isEmpty() || schemaTutorialURLs[i].isEmpty()) << name;
        EXPECT_EQ(getSchemaLongName(name), schemaLongNames[i]) << "names are unique";
        world.commands().clear();
        modSchemas::defaultSchema = name;
        modSchemas::loadDomainScheme();
        ASSERT_EQ(world.commands().size(), 1) << name;
        EXPECT_TRUE(world.commands()[0].startsWith(u"mtp://url="_s) && world.commands()[0].endsWith(u".kqs"_s));
    }
    for (const QString& name : {u"dc-utah"_s, u"EdNA"_s, QString(), QString(100000, u'S')})
        EXPECT_EQ(getSchemaLongName(name), QString()) << name.left(10);
}

TEST(SchemaMenus, OnlyExactNamesOfDomainsWithItemsShowThemAndHideAllLeavesTheOthers) {
    DomainWorld world;
    world.setAllVisible(false);
    for (const QString& name : {u"JSMS"_s, u"SCORM"_s, u"Health Insite"_s, u"AGLS"_s, u"dublin core"_s, u"NZGLS "_s,
                                QString(), QString(100000, u'N')})
        modSchemas::showSchemaMenu(true, name);
    EXPECT_TRUE(world.shownResourceItems().isEmpty());
    modSchemas::showSchemaMenu(true, u"AGLS1.2"_s);  // the AGLS versions share their items
    modSchemas::showSchemaMenu(false, u"AGLS1.3 (ACT)"_s);
    modSchemas::showSchemaMenu(true, u"GILS-ARIZONA"_s);
    modSchemas::showSchemaMenu(true, u"NOHSC"_s);
    EXPECT_EQ(world.shownResourceItems(), (QStringList{"mnuResGILSARIZONA", "mnuResNOHSC", "mnuResNOHSCres"}));

    fillSchemaCatalogue();
    world.setAllVisible(true);
    modSchemas::hideAllSchemaMenus();
    EXPECT_EQ(world.shownResourceItems(), (QStringList{"mnuResEDNA", "mnuRes18"}));  // EdNA is not in the catalogue
    EXPECT_TRUE(world.visible(u"mnuResDefault"_s));
}

TEST(LoadDomainScheme, ListsKeepTheirPathsAsPublishedAndUnknownDomainsLoadNothing) {
    DomainWorld world(false);
    const std::pair<QString, QString> rows[] = {
        {u"Dublin Core"_s, u"schemes.test.example/schemes/Dublin%20Core.kqs"_s},
        {u"Aust Business Entry Point"_s, u"schemes.test.example/schemes/BEP/Business Entry Point.kqs"_s},
        {u"DC-UTAH"_s, SchemeHosts::stateHostB + u"/schemes/dc/Dublin_Core_Schema.kqs"_s},
        {u"AGLS"_s, u"schemes.test.example/schemes/AGLS.kqs"_s},
        {u"AGLS1.1"_s, QString()},
        {u"CDC "_s, QString()},
        {QString(), QString()},
    };
    for (const auto& [domain, list] : rows) {
        world.commands().clear();
        modSchemas::defaultSchema = domain;
        modSchemas::loadDomainScheme();
        EXPECT_EQ(world.commands(), list.isEmpty() ? QStringList() : QStringList{u"mtp://url="_s + list}) << domain;
    }
    world.commands().clear();
    modMetaMain::schemeServer = u"127.0.0.1:8080"_s;
    modSchemas::defaultSchema = u"CDC"_s;
    modSchemas::loadDomainScheme();
    EXPECT_EQ(world.commands(), QStringList{u"mtp://url=127.0.0.1:8080/schemes/CDC/CDC.kqs"_s});
}

TEST(LoadDomainScheme, AglsIsUnknownToTheDefaultsButStillLoadsItsList) {
    DomainWorld world;
    testing_support::ScriptedMsgBoxes boxes;
    boxes.expect(modSchemas::kUnknownDomainMessage, platform::vbOK);
    modSchemas::defaultSchema = u"AGLS"_s;
    modSchemas::applyDomainDefaults();
    modSchemas::loadDomainScheme();
    EXPECT_TRUE(world.visible(u"mnuFileNew_4"_s));
    EXPECT_EQ(world.commands(), QStringList{u"mtp://url=schemes.test.example/schemes/AGLS.kqs"_s});
}

}  // namespace
