#include "DomainTestSupport.h"
#include "domains/SchemeHosts.h"
#include "domains/modCheckList.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using domain_tests::DomainWorld;

namespace {

TEST(SchemaCatalogue, HoldsTheFifteenDomainsInOrder) {
    DomainWorld world(false);
    modCheckList::schemaShortNames[18] = QStringLiteral("left over");
    modCheckList::fillSchemaCatalogue();

    const QString s = QStringLiteral("http://schemes.test.example");
    const QString second = QStringLiteral("http://") + SchemeHosts::secondSchemeHost;
    const QString stateA = QStringLiteral("http://") + SchemeHosts::stateHostA;
    const QStringList longNames = {
        QStringLiteral("Dublin Core (DC)"),
        QStringLiteral("Australian Government Locator Service 1.3(AGLS)"),
        QStringLiteral("Australian Government Locator Service 1.3(AGLS ACT)"),
        QStringLiteral("Australian Justice Sector"),
        QStringLiteral("Center for Disease Control"),
        QStringLiteral("GILS-ARIZONA"),
        QStringLiteral("GILS-MONTANA"),
        QStringLiteral("GILS-OREGON"),
        QStringLiteral("GILS-UTAH"),
        QStringLiteral("DublinCore-UTAH"),
        QStringLiteral("Health Insite - Australia"),
        QStringLiteral("New Zealand Government Locator Service (NZGLS)"),
        QStringLiteral("SA.DETE-Australia"),
        QStringLiteral("NOHSC"),
        QStringLiteral("SCORM"),
    };
    const QStringList shortNames = {
        QStringLiteral("Dublin Core"),
        QStringLiteral("AGLS1.3"),
        QStringLiteral("AGLS1.3 (ACT)"),
        QStringLiteral("JSMS"),
        QStringLiteral("CDC"),
        QStringLiteral("GILS-ARIZONA"),
        QStringLiteral("GILS-MONTANA"),
        QStringLiteral("GILS-OREGON"),
        QStringLiteral("GILS-UTAH"),
        QStringLiteral("DC-UTAH"),
        QStringLiteral("Health Insite - Australia"),
        QStringLiteral("NZGLS"),
        QStringLiteral("SA.DETE"),
        QStringLiteral("NOHSC"),
        QStringLiteral("SCORM"),
    };
    const QStringList tutorials = {
        s + QStringLiteral("/tutorial/DC.html"),
        s + QStringLiteral("/tutorial/AGLS.html"),
        s + QStringLiteral("/tutorial/AGLS.html"),
        s + QStringLiteral("/tutorial/JSMS.html"),
        s + QStringLiteral("/tutorial/DC.html"),
        s + QStringLiteral("/tutorial/GILS-Arizona.html"),
        s + QStringLiteral("/tutorial/GILS-Montana.html"),
        s + QStringLiteral("/tutorial/GILS-Oregon.html"),
        stateA + QStringLiteral("/gils/tutorial.htm"),
        stateA + QStringLiteral("/gils/dctutorial.htm"),
        QStringLiteral("schemes.test.example/tutorial.html"),
        second + QStringLiteral("/schemes/NZGLS/NZGLS.html"),
        second + QStringLiteral("/tutorial/SA-DETE.html"),
        second + QStringLiteral("/tutorial/NOHSC.html"),
        second + QStringLiteral("/tutorial/SCORM.html"),
    };
    for (int i = 0; i < modCheckList::kCatalogueSlots; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(modCheckList::schemaLongNames[i], longNames.value(i));
        EXPECT_EQ(modCheckList::schemaShortNames[i], shortNames.value(i));
        EXPECT_EQ(modCheckList::schemaTutorialURLs[i], tutorials.value(i));
    }
    EXPECT_EQ(modCheckList::catalogueRowCount(), 15);
}

TEST(SchemaCatalogue, LongNameByExactShortName) {
    DomainWorld world(false);
    modCheckList::fillSchemaCatalogue();
    EXPECT_EQ(modCheckList::getSchemaLongName(QStringLiteral("DC-UTAH")), QStringLiteral("DublinCore-UTAH"));
    EXPECT_EQ(modCheckList::getSchemaLongName(QStringLiteral("SCORM")), QStringLiteral("SCORM"));
    EXPECT_EQ(modCheckList::getSchemaLongName(QStringLiteral("dc-utah")), QString());
    EXPECT_EQ(modCheckList::getSchemaLongName(QStringLiteral("EdNA")), QString());
    EXPECT_EQ(modCheckList::getSchemaLongName(QString()), QString());
    EXPECT_EQ(modCheckList::getSchemaLongName(QString(100000, QLatin1Char('S'))), QString());

    // The scan ends at the first empty slot; a row behind it is not part of the catalogue.
    modCheckList::schemaShortNames[17] = QStringLiteral("Stray");
    modCheckList::schemaLongNames[17] = QStringLiteral("Stray row");
    EXPECT_EQ(modCheckList::getSchemaLongName(QStringLiteral("Stray")), QString());
    // With a duplicate the last row wins.
    modCheckList::schemaShortNames[15] = QStringLiteral("CDC");
    modCheckList::schemaLongNames[15] = QStringLiteral("Second CDC");
    EXPECT_EQ(modCheckList::getSchemaLongName(QStringLiteral("CDC")), QStringLiteral("Second CDC"));
    modCheckList::fillSchemaCatalogue();
    EXPECT_EQ(modCheckList::getSchemaLongName(QStringLiteral("CDC")), QStringLiteral("Center for Disease Control"));
}

TEST(SchemaMenus, HideAllLeavesOnlyTheItemsOfDomainsOutsideTheCatalogue) {
    DomainWorld world;
    modCheckList::fillSchemaCatalogue();
    world.setAllVisible(true);
    modSchemas::hideAllSchemaMenus();
    EXPECT_EQ(world.shownResourceItems(), (QStringList{QStringLiteral("mnuResEDNA"), QStringLiteral("mnuRes18")}));
    EXPECT_TRUE(world.visible(QStringLiteral("mnuResDefault")));
    EXPECT_TRUE(world.visible(QStringLiteral("mnuFileCheckHarvest")));
}

TEST(SchemaMenus, OnlyExactNamesWithItemsChangeAnything) {
    DomainWorld world;
    world.setAllVisible(false);
    for (const QString& name :
         {QStringLiteral("JSMS"), QStringLiteral("SCORM"), QStringLiteral("Health Insite - Australia"),
          QStringLiteral("Health Insite"), QStringLiteral("AGLS"), QStringLiteral("AGLS1.1"),
          QStringLiteral("dublin core"), QStringLiteral("NZGLS "), QString(), QString(100000, QLatin1Char('N'))}) {
        modSchemas::showSchemaMenu(true, name);
        EXPECT_TRUE(world.shownResourceItems().isEmpty()) << name.left(20).toStdString();
    }
    // The AGLS versions share their two items.
    modSchemas::showSchemaMenu(true, QStringLiteral("AGLS1.2"));
    modSchemas::showSchemaMenu(false, QStringLiteral("AGLS1.3 (ACT)"));
    EXPECT_TRUE(world.shownResourceItems().isEmpty());
    // Several domains shown side by side.
    modSchemas::showSchemaMenu(true, QStringLiteral("GILS-ARIZONA"));
    modSchemas::showSchemaMenu(true, QStringLiteral("NOHSC"));
    EXPECT_EQ(world.shownResourceItems(),
              (QStringList{QStringLiteral("mnuResGILSARIZONA"), QStringLiteral("mnuResNOHSC"),
                           QStringLiteral("mnuResNOHSCres")}));
}

TEST(LoadDomainScheme, RunsTheDomainsSchemeListCommand) {
    DomainWorld world(false);
    const QString s = QStringLiteral("mtp://url=schemes.test.example");
    const QString stateB = QStringLiteral("mtp://url=") + SchemeHosts::stateHostB;
    const QList<QPair<QString, QString>> rows = {
        {QStringLiteral("NZGLS"), s + QStringLiteral("/schemes/NZGLS/NZGLS.kqs")},
        {QStringLiteral("AGLS"), s + QStringLiteral("/schemes/AGLS.kqs")},
        {QStringLiteral("AGLS1.2"), s + QStringLiteral("/schemes/AGLS1.2.kqs")},
        {QStringLiteral("AGLS1.3"), s + QStringLiteral("/schemes/AGLS/AGLS1.3.kqs")},
        {QStringLiteral("AGLS1.3 (ACT)"), s + QStringLiteral("/schemes/AGLSACT/AGLS1.3ACT.kqs")},
        {QStringLiteral("Aust Business Entry Point"), s + QStringLiteral("/schemes/BEP/Business Entry Point.kqs")},
        {QStringLiteral("CDC"), s + QStringLiteral("/schemes/CDC/CDC.kqs")},
        {QStringLiteral("Dublin Core"), s + QStringLiteral("/schemes/Dublin%20Core.kqs")},
        {QStringLiteral("SA.DETE"), s + QStringLiteral("/schemes/DETE.kqs")},
        {QStringLiteral("EdNA"), s + QStringLiteral("/schemes/EDNA/EDNA.kqs")},
        {QStringLiteral("GILS-ARIZONA"), s + QStringLiteral("/schemes/GILS-ARIZONA/GILS-ARIZONA.kqs")},
        {QStringLiteral("GILS-MONTANA"), s + QStringLiteral("/schemes/GILS-MONTANA/GILS-MONTANA.kqs")},
        {QStringLiteral("GILS-OREGON"), s + QStringLiteral("/schemes/GILS-OREGON/GILS-OREGON.kqs")},
        {QStringLiteral("GILS-UTAH"), stateB + QStringLiteral("/schemes/ut/Utah_Schema.kqs")},
        {QStringLiteral("DC-UTAH"), stateB + QStringLiteral("/schemes/dc/Dublin_Core_Schema.kqs")},
        {QStringLiteral("Health Insite - Australia"), s + QStringLiteral("/schemes/Health Insite.kqs")},
        {QStringLiteral("NOHSC"), s + QStringLiteral("/schemes/NOHSC/NOHSC.kqs")},
        {QStringLiteral("JSMS"), s + QStringLiteral("/schemes/LawZone/JSMS.kqs")},
        {QStringLiteral("SCORM"), s + QStringLiteral("/schemes/SCORM/SCORM.kqs")},
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
    for (const QString& name :
         {QStringLiteral("AGLS1.1"), QStringLiteral("Health Insite"), QStringLiteral("dublin core"),
          QStringLiteral("CDC "), QString(), QString(100000, QLatin1Char('C'))}) {
        modSchemas::defaultSchema = name;
        modSchemas::loadDomainScheme();
    }
    EXPECT_TRUE(world.commands.isEmpty());

    modMetaMain::schemeServer = QStringLiteral("127.0.0.1:8080");
    modSchemas::defaultSchema = QStringLiteral("CDC");
    modSchemas::loadDomainScheme();
    EXPECT_EQ(world.commands, QStringList{QStringLiteral("mtp://url=127.0.0.1:8080/schemes/CDC/CDC.kqs")});
}

TEST(LoadDomainScheme, AglsIsUnknownToTheDefaultsButStillLoadsItsList) {
    DomainWorld world;
    testing_support::ScriptedMsgBoxes boxes;
    boxes.expect(QStringLiteral("There is no Metadata Domain by that name"), platform::vbOK);
    modSchemas::defaultSchema = QStringLiteral("AGLS");
    modSchemas::applyDomainDefaults();
    modSchemas::loadDomainScheme();
    EXPECT_EQ(world.caption(QStringLiteral("mnuMaintMeta_2")), QStringLiteral("Add AGLS line"));
    EXPECT_TRUE(world.visible(QStringLiteral("mnuFileNew_4")));
    EXPECT_EQ(world.commands, QStringList{QStringLiteral("mtp://url=schemes.test.example/schemes/AGLS.kqs")});
}

}  // namespace
