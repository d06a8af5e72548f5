#include "DomainTestSupport.h"
#include "domains/SchemeHosts.h"
#include "platform/Folders.h"
#include "support/ScriptedUi.h"
#include "support/Common.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using domain_tests::DomainWorld;
using testing_support::ScriptedMsgBoxes;

namespace {

const QString kOpen = u"mtp://open=schemes.test.example"_s;
const QString kDcLink = u"<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s;
const QString kAgls12ShortLink = u"<link rel=\"schema.AGLS\" href=\"http://www.naa.gov.au/agls/1.2/\">"_s;
const QString kAgls12LongLink =
    u"<link rel=\"schema.AGLS\" href=\"http://www.naa.gov.au/recordkeeping/gov_online/agls/1.2\">"_s;
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
const QString kAglsTemplate = kOpen + u"/macros/agls/7.%20minimal%20record.kqb"_s;

struct Expected {
    QString domain;
    QString templateCommand;
    QString links;
    QString namespaces;
    QString prefix;
    QString home;  // empty: Home untouched
    QStringList resourceItems;
};

// resourceItems: the names, separated by blanks.
Expected row(const QString& domain, const QString& templateCommand, const QString& links, const QString& namespaces,
             const QString& prefix, const QString& home, const QString& resourceItems) {
    return {domain, templateCommand, links, namespaces, prefix, home, resourceItems.split(u' ', Qt::SkipEmptyParts)};
}

QList<Expected> everyDomain() {
    const QString web = u"mtp://open="_s + SchemeHosts::schemeWebHost;
    const QString stateA = SchemeHosts::stateHostA;
    return {
        row(u"NZGLS"_s, kOpen + u"/schemes/NZGLS/minimal.kqb"_s,
            QStringLiteral("    <link rel = \"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">\r\n"
                           "<link rel = \"schema.NZGLS\" href=\"http://nzgls.namespace-pending.example/\">"),
            QStringLiteral("    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
                           "    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\"\r\n"
                           "    xmlns:nzgls=\"http://nzgls.namespace-pending.example/\">\r\n"),
            u"nzgls"_s, QString(), u"mnuResNZGLS mnuRes19"_s),
        row(u"AGLS1.1"_s, kAglsTemplate,
            QStringLiteral(
                "    <link rel=\"schema.AGLS\" href=\"http://www.naa.gov.au/recordkeeping/gov_online/agls/1.1\">"),
            QStringLiteral("    xmlns:agls=\"http://www.agls.gov.au/recordkeeping/gov_online/agls/1.2\"\r\n"
                           "    xmlns:dc=\"http://purl.org/dc/elements/1.0/\"\r\n"
                           "    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n"),
            u"agls"_s, QString(), u""_s),
        row(u"AGLS1.2"_s, kAglsTemplate, kAgls12ShortLink, kAgls12Namespaces, u"agls"_s, QString(),
            u"mnuResAGLS1point3 mnuRes3"_s),
        row(u"AGLS1.3"_s, kAglsTemplate, kAgls12ShortLink, kAgls12Namespaces, u"agls"_s, QString(),
            u"mnuResAGLS1point3 mnuRes3"_s),
        row(u"AGLS1.3 (ACT)"_s, kAglsTemplate,
            u"<link rel=\"schema.AGLS\" href=\"http://www.naa.gov.au/recordkeeping/gov_online/agls/1.3\">"_s,
            QStringLiteral("    xmlns:agls=\"http://www.naa.gov.au/recordkeeping/gov_online/agls/1.3\"\r\n"
                           "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
                           "    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n"),
            u"aglsact"_s, QString(), u"mnuResAGLS1point3 mnuRes3"_s),
        row(u"JSMS"_s, kOpen + u"/schemes/LawZone/lawzone.kqb"_s, kAgls12LongLink, kAgls12LongNamespaces, u"jsms"_s,
            QString(), u""_s),
        row(u"Aust Business Entry Point"_s, kOpen + u"/macros/bep/webpage.kqb"_s, QString(), kDcNamespaces, u"bep"_s,
            QString(), u""_s),
        row(u"CDC"_s, kOpen + u"/macros/dc.kqb"_s, kDcLink, kDcNamespaces, u"dc"_s, QString(),
            u"mnuResCDC mnuResCDCmenu"_s),
        row(u"Dublin Core"_s, kOpen + u"/macros/dc.kqb"_s, kDcLink, kDcNamespaces, u"dc"_s, QString(),
            u"mnuResDC mnuRes17"_s),
        row(u"SA.DETE"_s, kOpen + u"/schemes/DETE/SADETEMetadataTemplate.kqb"_s, QString(), kDcNamespaces, u"dc"_s,
            QString(), u"mnuResDETE mnuRes23"_s),
        row(u"EdNA"_s, kOpen + u"/macros/edna.document.kqb"_s, QString(), kDcNamespaces, u"dc"_s, QString(),
            u"mnuResEDNA mnuRes18"_s),
        row(u"GILS-ARIZONA"_s, web + u"/schemes/GILS-ARIZONA/GILS-ARIZONA.kqs"_s, QString(), QString(),
            u"gils-arizona"_s, QString(), u"mnuResGILSARIZONA"_s),
        row(u"GILS-MONTANA"_s, web + u"/schemes/GILS-MONTANA/GILS-MONTANA.kqs"_s, QString(), QString(),
            u"gils-montana"_s, QString(), u"mnuResGILSMontana mnuRes24"_s),
        row(u"GILS-OREGON"_s, web + u"/schemes/GILS-OREGON/GILS-OREGON.kqs"_s, QString(), QString(), u"gils-oregon"_s,
            QString(), u"mnuResOregonSchema mnuRes20"_s),
        row(u"GILS-UTAH"_s, u"mtp://open="_s + stateA + u"/gils/schemes/ut.kqb"_s, QString(), QString(), u"gils-utah"_s,
            stateA + u"/gils/tutorial.htm"_s, u"mnuResGILSUTAH mnuRes21"_s),
        row(u"DC-UTAH"_s, u"mtp://open="_s + stateA + u"/gils/schemes/dc.kqb"_s, QString(), QString(), u"dc-utah"_s,
            stateA + u"/gils/dctutorial.htm"_s, u"mnuResDCUTAH mnuRes22"_s),
        row(u"Health Insite - Australia"_s, kOpen + u"/macros/dc.kqb"_s, QString(), kDcNamespaces, u"dc"_s, QString(),
            u""_s),
        row(u"NOHSC"_s, kOpen + u"/schemes/NOHSC/template.kqb"_s, kAgls12LongLink, kAgls12LongNamespaces, u"agls"_s,
            QString(), u"mnuResNOHSC mnuResNOHSCres"_s),
        row(u"SCORM"_s, u"mtp://"_s + platform::programDataFolder() + u"/schemes/SCORM.kqb"_s, QString(), QString(),
            u"scorm"_s, QString(), u""_s),
    };
}

TEST(ApplyDomainDefaults, EveryDomainGetsItsTemplateLinksNamespacesPrefixAndMenus) {
    for (const Expected& e : everyDomain()) {
        SCOPED_TRACE(e.domain.toStdString());
        DomainWorld world;
        world.setAllVisible(false);
        Preferences::Home = u"http://home.example/"_s;
        modSchemas::rdfNamespaces = u"stale"_s;
        modSchemas::defaultSchema = e.domain;
        modSchemas::applyDomainDefaults();

        EXPECT_EQ(Preferences::FileNewURL, e.templateCommand);
        EXPECT_EQ(modSchemas::linkRelLines, e.links);
        EXPECT_EQ(modSchemas::rdfNamespaces, e.namespaces);
        EXPECT_EQ(modSchemas::rdfPrefix, e.prefix);
        EXPECT_EQ(Preferences::Home, e.home.isEmpty() ? u"http://home.example/"_s : e.home);
        EXPECT_EQ(world.caption(u"mnuMaintMeta_2"_s), u"Add "_s + e.domain + u" line"_s);
        EXPECT_EQ(world.caption(u"mnuResDefault"_s), u"Default Domain: "_s + e.domain);
        for (const QString& item : {u"mnuFileCheckHarvest"_s, u"mnuFileSep01"_s, u"mnuFileNew_4"_s})
            EXPECT_EQ(world.visible(item), e.domain.startsWith(u"AGLS"_s)) << item;
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
    modSchemas::defaultSchema = u"Dublin Core"_s;
    modSchemas::applyDomainDefaults();
    modSchemas::defaultSchema = u"GILS-MONTANA"_s;
    modSchemas::applyDomainDefaults();
    EXPECT_EQ(Preferences::FileNewURL, kOpen + u"/macros/dc.kqb"_s);
    EXPECT_EQ(modSchemas::rdfPrefix, u"gils-montana"_s);

    Preferences::FileNewURL.clear();
    modSchemas::applyDomainDefaults();
    EXPECT_EQ(Preferences::FileNewURL,
              u"mtp://open="_s + SchemeHosts::schemeWebHost + u"/schemes/GILS-MONTANA/GILS-MONTANA.kqs"_s);
}

TEST(ApplyDomainDefaults, TemplatesAreBuiltFromTheSchemeServerOfTheMoment) {
    DomainWorld world;
    modMetaMain::schemeServer = u"127.0.0.1:8123"_s;
    modSchemas::defaultSchema = u"CDC"_s;
    modSchemas::applyDomainDefaults();
    EXPECT_EQ(Preferences::FileNewURL, u"mtp://open=127.0.0.1:8123/macros/dc.kqb"_s);
}

TEST(ApplyDomainDefaults, UnknownNamesAreReportedAndKeepTheDerivedState) {
    struct Case {
        QString name;
        bool harvest;
    };
    const QList<Case> cases = {{u"AGLS"_s, true},         {u"agls1.2"_s, true},
                               {u"aglsact"_s, true},      {u"Health Insite"_s, false},
                               {u"dublin core"_s, false}, {u"NZGLS "_s, false},
                               {QString(), false},        {QString(200000, u'q') + u"Agls"_s, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.left(20).toStdString());
        DomainWorld world;
        modSchemas::defaultSchema = u"Dublin Core"_s;
        modSchemas::applyDomainDefaults();
        world.setAllVisible(!c.harvest);

        ScriptedMsgBoxes boxes;
        boxes.expect(QStringLiteral("There is no Metadata Domain by that name. Check the valid domain names under "
                                    "the Metadata Resources Menu"),
                     platform::vbOK);
        modSchemas::defaultSchema = c.name;
        modSchemas::applyDomainDefaults();
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown().front().title, u"Error"_s);

        EXPECT_EQ(modSchemas::linkRelLines, kDcLink);
        EXPECT_EQ(modSchemas::rdfNamespaces, kDcNamespaces);
        EXPECT_EQ(modSchemas::rdfPrefix, u"dc"_s);
        EXPECT_EQ(Preferences::FileNewURL, kOpen + u"/macros/dc.kqb"_s);
        EXPECT_EQ(world.caption(u"mnuMaintMeta_2"_s), u"Add "_s + c.name + u" line"_s);
        EXPECT_EQ(world.caption(u"mnuResDefault"_s), u"Default Domain: "_s + c.name);
        EXPECT_EQ(world.visible(u"mnuFileCheckHarvest"_s), c.harvest);
    }
}

TEST(ApplyDomainDefaults, WorksWithoutAMainWindowOrWithoutItsMenuItems) {
    {
        DomainWorld world(false);
        modSchemas::defaultSchema = u"AGLS1.3"_s;
        modSchemas::applyDomainDefaults();
        modSchemas::showSchemaMenu(true, u"AGLS1.3"_s);
        modSchemas::hideAllSchemaMenus();
        EXPECT_EQ(modSchemas::rdfPrefix, u"agls"_s);
    }
    {
        DomainWorld world(false);
        Form1 bare;
        modSchemas::defaultSchema = u"SCORM"_s;
        modSchemas::applyDomainDefaults();
        modSchemas::showSchemaMenu(true, u"NOHSC"_s);
        EXPECT_EQ(modSchemas::rdfPrefix, u"scorm"_s);
    }
}

TEST(SetDomainCommand, NamesTheDomainAndAppliesIt) {
    DomainWorld world;
    modSchemas::setDomainFromCommand(u"mtp://setdomain=AGLS1.2.kqb/"_s);
    EXPECT_EQ(modSchemas::defaultSchema, u"AGLS1.2"_s);
    EXPECT_EQ(modSchemas::linkRelLines, kAgls12ShortLink);
    EXPECT_EQ(world.caption(u"mnuResDefault"_s), u"Default Domain: AGLS1.2"_s);

    modSchemas::setDomainFromCommand(u"mtp://SetDomain=Aust Business Entry Point.KQB/"_s);
    EXPECT_EQ(modSchemas::defaultSchema, u"Aust Business Entry Point"_s);
    EXPECT_EQ(modSchemas::rdfPrefix, u"bep"_s);

    // Without the final "/" the dispatcher would have added.
    modSchemas::setDomainFromCommand(u"mtp://setdomain=SA.DETE.kqb"_s);
    EXPECT_EQ(modSchemas::defaultSchema, u"SA.DETE"_s);
    EXPECT_TRUE(world.commands.isEmpty()) << "the scheme list is not loaded";
}

TEST(SetDomainCommand, AnUnknownOrEmptyNameIsReported) {
    DomainWorld world;
    ScriptedMsgBoxes boxes;
    for (const QString& command :
         {u"mtp://setdomain=.kqb/"_s, u"mtp://setdomain=Nowhere.kqb/"_s, u"mtp:/"_s, QString()}) {
        boxes.expect(u"There is no Metadata Domain by that name"_s, platform::vbOK);
        modSchemas::setDomainFromCommand(command);
    }
    EXPECT_EQ(modSchemas::defaultSchema, QString());
}

}  // namespace
