#include "DomainTestSupport.h"
#include "domains/SchemeHosts.h"
#include "platform/Folders.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using domain_tests::DomainWorld;
using testing_support::ScriptedMsgBoxes;

namespace {

const QString kOpen = QStringLiteral("mtp://open=schemes.test.example");
const QString kDcLink = QStringLiteral("<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">");
const QString kAgls12ShortLink = QStringLiteral("<link rel=\"schema.AGLS\" href=\"http://www.naa.gov.au/agls/1.2/\">");
const QString kAgls12LongLink =
    QStringLiteral("<link rel=\"schema.AGLS\" href=\"http://www.naa.gov.au/recordkeeping/gov_online/agls/1.2\">");
const QString kDcNamespaces = QStringLiteral(
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
    "xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n");
const QString kAgls12Namespaces = QStringLiteral(
    "    xmlns:agls=\"http://www.naa.gov.au/agls/1.2/\"\r\n"
    "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
    "    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n");
const QString kAgls12LongNamespaces = QStringLiteral(
    "    xmlns:agls=\"http://www.naa.gov.au/recordkeeping/gov_online/agls/1.2\"\r\n"
    "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
    "    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n");
const QString kAglsTemplate = kOpen + QStringLiteral("/macros/agls/7.%20minimal%20record.kqb");

struct Expected {
    QString domain;
    QString templateCommand;
    QString links;
    QString namespaces;
    QString prefix;
    QString home;  // empty: Home untouched
    QStringList resourceItems;
};

QList<Expected> everyDomain() {
    const QString web = QStringLiteral("mtp://open=") + SchemeHosts::schemeWebHost;
    const QString stateA = SchemeHosts::stateHostA;
    return {
        {QStringLiteral("NZGLS"),
         kOpen + QStringLiteral("/schemes/NZGLS/minimal.kqb"),
         QStringLiteral("    <link rel = \"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">\r\n"
                        "<link rel = \"schema.NZGLS\" href=\"http://nzgls.namespace-pending.example/\">"),
         QStringLiteral("    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
                        "    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\"\r\n"
                        "    xmlns:nzgls=\"http://nzgls.namespace-pending.example/\">\r\n"),
         QStringLiteral("nzgls"),
         QString(),
         {QStringLiteral("mnuResNZGLS"), QStringLiteral("mnuRes19")}},
        {QStringLiteral("AGLS1.1"),
         kAglsTemplate,
         QStringLiteral(
             "    <link rel=\"schema.AGLS\" href=\"http://www.naa.gov.au/recordkeeping/gov_online/agls/1.1\">"),
         QStringLiteral("    xmlns:agls=\"http://www.agls.gov.au/recordkeeping/gov_online/agls/1.2\"\r\n"
                        "    xmlns:dc=\"http://purl.org/dc/elements/1.0/\"\r\n"
                        "    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n"),
         QStringLiteral("agls"),
         QString(),
         {}},
        {QStringLiteral("AGLS1.2"),
         kAglsTemplate,
         kAgls12ShortLink,
         kAgls12Namespaces,
         QStringLiteral("agls"),
         QString(),
         {QStringLiteral("mnuResAGLS1point3"), QStringLiteral("mnuRes3")}},
        {QStringLiteral("AGLS1.3"),
         kAglsTemplate,
         kAgls12ShortLink,
         kAgls12Namespaces,
         QStringLiteral("agls"),
         QString(),
         {QStringLiteral("mnuResAGLS1point3"), QStringLiteral("mnuRes3")}},
        {QStringLiteral("AGLS1.3 (ACT)"),
         kAglsTemplate,
         QStringLiteral("<link rel=\"schema.AGLS\" href=\"http://www.naa.gov.au/recordkeeping/gov_online/agls/1.3\">"),
         QStringLiteral("    xmlns:agls=\"http://www.naa.gov.au/recordkeeping/gov_online/agls/1.3\"\r\n"
                        "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
                        "    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n"),
         QStringLiteral("aglsact"),
         QString(),
         {QStringLiteral("mnuResAGLS1point3"), QStringLiteral("mnuRes3")}},
        {QStringLiteral("JSMS"),
         kOpen + QStringLiteral("/schemes/LawZone/lawzone.kqb"),
         kAgls12LongLink,
         kAgls12LongNamespaces,
         QStringLiteral("jsms"),
         QString(),
         {}},
        {QStringLiteral("Aust Business Entry Point"),
         kOpen + QStringLiteral("/macros/bep/webpage.kqb"),
         QString(),
         kDcNamespaces,
         QStringLiteral("bep"),
         QString(),
         {}},
        {QStringLiteral("CDC"),
         kOpen + QStringLiteral("/macros/dc.kqb"),
         kDcLink,
         kDcNamespaces,
         QStringLiteral("dc"),
         QString(),
         {QStringLiteral("mnuResCDC"), QStringLiteral("mnuResCDCmenu")}},
        {QStringLiteral("Dublin Core"),
         kOpen + QStringLiteral("/macros/dc.kqb"),
         kDcLink,
         kDcNamespaces,
         QStringLiteral("dc"),
         QString(),
         {QStringLiteral("mnuResDC"), QStringLiteral("mnuRes17")}},
        {QStringLiteral("SA.DETE"),
         kOpen + QStringLiteral("/schemes/DETE/SADETEMetadataTemplate.kqb"),
         QString(),
         kDcNamespaces,
         QStringLiteral("dc"),
         QString(),
         {QStringLiteral("mnuResDETE"), QStringLiteral("mnuRes23")}},
        {QStringLiteral("EdNA"),
         kOpen + QStringLiteral("/macros/edna.document.kqb"),
         QString(),
         kDcNamespaces,
         QStringLiteral("dc"),
         QString(),
         {QStringLiteral("mnuResEDNA"), QStringLiteral("mnuRes18")}},
        {QStringLiteral("GILS-ARIZONA"),
         web + QStringLiteral("/schemes/GILS-ARIZONA/GILS-ARIZONA.kqs"),
         QString(),
         QString(),
         QStringLiteral("gils-arizona"),
         QString(),
         {QStringLiteral("mnuResGILSARIZONA")}},
        {QStringLiteral("GILS-MONTANA"),
         web + QStringLiteral("/schemes/GILS-MONTANA/GILS-MONTANA.kqs"),
         QString(),
         QString(),
         QStringLiteral("gils-montana"),
         QString(),
         {QStringLiteral("mnuResGILSMontana"), QStringLiteral("mnuRes24")}},
        {QStringLiteral("GILS-OREGON"),
         web + QStringLiteral("/schemes/GILS-OREGON/GILS-OREGON.kqs"),
         QString(),
         QString(),
         QStringLiteral("gils-oregon"),
         QString(),
         {QStringLiteral("mnuResOregonSchema"), QStringLiteral("mnuRes20")}},
        {QStringLiteral("GILS-UTAH"),
         QStringLiteral("mtp://open=") + stateA + QStringLiteral("/gils/schemes/ut.kqb"),
         QString(),
         QString(),
         QStringLiteral("gils-utah"),
         stateA + QStringLiteral("/gils/tutorial.htm"),
         {QStringLiteral("mnuResGILSUTAH"), QStringLiteral("mnuRes21")}},
        {QStringLiteral("DC-UTAH"),
         QStringLiteral("mtp://open=") + stateA + QStringLiteral("/gils/schemes/dc.kqb"),
         QString(),
         QString(),
         QStringLiteral("dc-utah"),
         stateA + QStringLiteral("/gils/dctutorial.htm"),
         {QStringLiteral("mnuResDCUTAH"), QStringLiteral("mnuRes22")}},
        {QStringLiteral("Health Insite - Australia"),
         kOpen + QStringLiteral("/macros/dc.kqb"),
         QString(),
         kDcNamespaces,
         QStringLiteral("dc"),
         QString(),
         {}},
        {QStringLiteral("NOHSC"),
         kOpen + QStringLiteral("/schemes/NOHSC/template.kqb"),
         kAgls12LongLink,
         kAgls12LongNamespaces,
         QStringLiteral("agls"),
         QString(),
         {QStringLiteral("mnuResNOHSC"), QStringLiteral("mnuResNOHSCres")}},
        {QStringLiteral("SCORM"),
         QStringLiteral("mtp://") + platform::programDataFolder() + QStringLiteral("/schemes/SCORM.kqb"),
         QString(),
         QString(),
         QStringLiteral("scorm"),
         QString(),
         {}},
    };
}

TEST(ApplyDomainDefaults, EveryDomainGetsItsTemplateLinksNamespacesPrefixAndMenus) {
    for (const Expected& e : everyDomain()) {
        SCOPED_TRACE(e.domain.toStdString());
        DomainWorld world;
        world.setAllVisible(false);
        Preferences::Home = QStringLiteral("http://home.example/");
        modSchemas::rdfNamespaces = QStringLiteral("stale");
        modSchemas::defaultSchema = e.domain;
        modSchemas::applyDomainDefaults();

        EXPECT_EQ(Preferences::FileNewURL, e.templateCommand);
        EXPECT_EQ(modSchemas::linkRelLines, e.links);
        EXPECT_EQ(modSchemas::rdfNamespaces, e.namespaces);
        EXPECT_EQ(modSchemas::rdfPrefix, e.prefix);
        EXPECT_EQ(Preferences::Home, e.home.isEmpty() ? QStringLiteral("http://home.example/") : e.home);
        EXPECT_EQ(world.caption(QStringLiteral("mnuMaintMeta_2")),
                  QStringLiteral("Add ") + e.domain + QStringLiteral(" line"));
        EXPECT_EQ(world.caption(QStringLiteral("mnuResDefault")), QStringLiteral("Default Domain: ") + e.domain);
        const bool harvest = e.domain.startsWith(QStringLiteral("AGLS"));
        EXPECT_EQ(world.visible(QStringLiteral("mnuFileCheckHarvest")), harvest);
        EXPECT_EQ(world.visible(QStringLiteral("mnuFileSep01")), harvest);
        EXPECT_EQ(world.visible(QStringLiteral("mnuFileNew_4")), harvest);
        EXPECT_TRUE(world.commands.isEmpty()) << "applying runs no command";

        // The domain's own Resources items, and no others.
        EXPECT_TRUE(world.shownResourceItems().isEmpty()) << "applying leaves the Resources items alone";
        modSchemas::showSchemaMenu(true, e.domain);
        EXPECT_EQ(world.shownResourceItems(), e.resourceItems);
        modSchemas::showSchemaMenu(false, e.domain);
        EXPECT_TRUE(world.shownResourceItems().isEmpty());
    }
}

TEST(ApplyDomainDefaults, TemplateFollowsTheFirstDomainApplied) {
    DomainWorld world;
    modSchemas::defaultSchema = QStringLiteral("Dublin Core");
    modSchemas::applyDomainDefaults();
    modSchemas::defaultSchema = QStringLiteral("GILS-MONTANA");
    modSchemas::applyDomainDefaults();
    EXPECT_EQ(Preferences::FileNewURL, kOpen + QStringLiteral("/macros/dc.kqb"));
    EXPECT_EQ(modSchemas::rdfPrefix, QStringLiteral("gils-montana"));

    Preferences::FileNewURL.clear();
    modSchemas::applyDomainDefaults();
    EXPECT_EQ(Preferences::FileNewURL, QStringLiteral("mtp://open=") + SchemeHosts::schemeWebHost +
                                           QStringLiteral("/schemes/GILS-MONTANA/GILS-MONTANA.kqs"));
}

TEST(ApplyDomainDefaults, TemplatesAreBuiltFromTheSchemeServerOfTheMoment) {
    DomainWorld world;
    modMetaMain::schemeServer = QStringLiteral("127.0.0.1:8123");
    modSchemas::defaultSchema = QStringLiteral("CDC");
    modSchemas::applyDomainDefaults();
    EXPECT_EQ(Preferences::FileNewURL, QStringLiteral("mtp://open=127.0.0.1:8123/macros/dc.kqb"));
}

TEST(ApplyDomainDefaults, NzglsDeclaresItsOwnNamespacesWhateverCameBefore) {
    DomainWorld world;
    modSchemas::defaultSchema = QStringLiteral("AGLS1.2");
    modSchemas::applyDomainDefaults();
    const QString afterAgls = modSchemas::rdfNamespaces;
    modSchemas::defaultSchema = QStringLiteral("NZGLS");
    modSchemas::applyDomainDefaults();
    EXPECT_EQ(modSchemas::rdfPrefix, QStringLiteral("nzgls"));
    EXPECT_NE(modSchemas::rdfNamespaces, afterAgls);
    EXPECT_TRUE(modSchemas::rdfNamespaces.contains(QStringLiteral("xmlns:nzgls=")));
    EXPECT_TRUE(modSchemas::rdfNamespaces.endsWith(QStringLiteral("\">\r\n")));
}

TEST(ApplyDomainDefaults, UnknownNamesAreReportedAndKeepTheDerivedState) {
    struct Case {
        QString name;
        bool harvest;
    };
    const QList<Case> cases = {
        {QStringLiteral("AGLS"), true},
        {QStringLiteral("agls1.2"), true},
        {QStringLiteral("aglsact"), true},
        {QStringLiteral("Health Insite"), false},
        {QStringLiteral("dublin core"), false},
        {QStringLiteral("NZGLS "), false},
        {QString(), false},
        {QString(200000, QLatin1Char('q')) + QStringLiteral("Agls"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.left(20).toStdString());
        DomainWorld world;
        modSchemas::defaultSchema = QStringLiteral("Dublin Core");
        modSchemas::applyDomainDefaults();
        world.setAllVisible(!c.harvest);

        ScriptedMsgBoxes boxes;
        boxes.expect(QStringLiteral("There is no Metadata Domain by that name. Check the valid domain names under "
                                    "the Metadata Resources Menu"),
                     platform::vbOK);
        modSchemas::defaultSchema = c.name;
        modSchemas::applyDomainDefaults();
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown().front().title, QStringLiteral("Error"));
        EXPECT_EQ(boxes.shown().front().style, platform::vbOKOnly);

        EXPECT_EQ(modSchemas::linkRelLines, kDcLink);
        EXPECT_EQ(modSchemas::rdfNamespaces, kDcNamespaces);
        EXPECT_EQ(modSchemas::rdfPrefix, QStringLiteral("dc"));
        EXPECT_EQ(Preferences::FileNewURL, kOpen + QStringLiteral("/macros/dc.kqb"));
        EXPECT_EQ(world.caption(QStringLiteral("mnuMaintMeta_2")),
                  QStringLiteral("Add ") + c.name + QStringLiteral(" line"));
        EXPECT_EQ(world.caption(QStringLiteral("mnuResDefault")), QStringLiteral("Default Domain: ") + c.name);
        EXPECT_EQ(world.visible(QStringLiteral("mnuFileCheckHarvest")), c.harvest);
        EXPECT_EQ(world.visible(QStringLiteral("mnuFileSep01")), c.harvest);
        EXPECT_EQ(world.visible(QStringLiteral("mnuFileNew_4")), c.harvest);
    }
}

TEST(ApplyDomainDefaults, WorksWithoutAMainWindowOrWithoutItsMenuItems) {
    {
        DomainWorld world(false);
        modSchemas::defaultSchema = QStringLiteral("AGLS1.3");
        modSchemas::applyDomainDefaults();
        modSchemas::showSchemaMenu(true, QStringLiteral("AGLS1.3"));
        modSchemas::hideAllSchemaMenus();
        EXPECT_EQ(modSchemas::rdfPrefix, QStringLiteral("agls"));
    }
    {
        DomainWorld world(false);
        Form1 bare;
        modSchemas::defaultSchema = QStringLiteral("SCORM");
        modSchemas::applyDomainDefaults();
        modSchemas::showSchemaMenu(true, QStringLiteral("NOHSC"));
        EXPECT_EQ(modSchemas::rdfPrefix, QStringLiteral("scorm"));
    }
}

TEST(SetDomainCommand, NamesTheDomainAndAppliesIt) {
    DomainWorld world;
    modSchemas::setDomainFromCommand(QStringLiteral("mtp://setdomain=AGLS1.2.kqb/"));
    EXPECT_EQ(modSchemas::defaultSchema, QStringLiteral("AGLS1.2"));
    EXPECT_EQ(modSchemas::linkRelLines, kAgls12ShortLink);
    EXPECT_EQ(world.caption(QStringLiteral("mnuResDefault")), QStringLiteral("Default Domain: AGLS1.2"));

    modSchemas::setDomainFromCommand(QStringLiteral("mtp://SetDomain=Aust Business Entry Point.KQB/"));
    EXPECT_EQ(modSchemas::defaultSchema, QStringLiteral("Aust Business Entry Point"));
    EXPECT_EQ(modSchemas::rdfPrefix, QStringLiteral("bep"));

    // Without the final "/" the dispatcher would have added.
    modSchemas::setDomainFromCommand(QStringLiteral("mtp://setdomain=SA.DETE.kqb"));
    EXPECT_EQ(modSchemas::defaultSchema, QStringLiteral("SA.DETE"));
    EXPECT_TRUE(world.commands.isEmpty()) << "the scheme list is not loaded";
}

TEST(SetDomainCommand, AnUnknownOrEmptyNameIsReported) {
    DomainWorld world;
    for (const QString& command :
         {QStringLiteral("mtp://setdomain=.kqb/"), QStringLiteral("mtp://setdomain=Nowhere.kqb/"),
          QStringLiteral("mtp:/"), QString()}) {
        ScriptedMsgBoxes boxes;
        boxes.expect(QStringLiteral("There is no Metadata Domain by that name"), platform::vbOK);
        modSchemas::setDomainFromCommand(command);
    }
    EXPECT_EQ(modSchemas::defaultSchema, QString());
}

}  // namespace
