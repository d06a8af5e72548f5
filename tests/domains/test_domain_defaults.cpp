#include "DomainTestSupport.h"
#include "domains/SchemeHosts.h"
#include "platform/Folders.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using domain_tests::DomainWorld;
using testing_support::ScriptedMsgBoxes;

namespace {

const QString kOpen = u"mtp://open=schemes.test.example"_s;
const QString kDcLink = u"<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s;
const QString kDcNamespaces =
    u"xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\nxmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n"_s;
const QStringList kDomains = QStringLiteral(
                                 "NZGLS|AGLS1.1|AGLS1.2|AGLS1.3|AGLS1.3 (ACT)|JSMS|CDC|Aust Business Entry Point|"
                                 "Dublin Core|SA.DETE|EdNA|GILS-ARIZONA|GILS-MONTANA|GILS-OREGON|GILS-UTAH|DC-UTAH|"
                                 "Health Insite - Australia|NOHSC|SCORM")
                                 .split(u'|');

void apply(const QString& domain) {
    modSchemas::defaultSchema = domain;
    modSchemas::applyDomainDefaults();
}

TEST(ApplyDomainDefaults, EveryDomainGetsATemplatePrefixAndClosedNamespacesAndRunsNothing) {
    for (const QString& domain : kDomains) {
        SCOPED_TRACE(domain.toStdString());
        DomainWorld world;
        world.setAllVisible(false);
        modSchemas::rdfNamespaces = u"stale"_s;
        apply(domain);
        EXPECT_TRUE(Preferences::FileNewURL.startsWith(u"mtp://"_s));
        EXPECT_FALSE(modSchemas::rdfPrefix.isEmpty());
        EXPECT_TRUE(modSchemas::rdfNamespaces.isEmpty() || modSchemas::rdfNamespaces.endsWith(u"\">\r\n"_s));
        EXPECT_EQ(world.item(u"mnuResDefault"_s)->text(), u"Default Domain: "_s + domain);
        EXPECT_EQ(world.visible(u"mnuFileCheckHarvest"_s), domain.startsWith(u"AGLS"_s));
        EXPECT_TRUE(world.commands().isEmpty());
        EXPECT_TRUE(world.shownResourceItems().isEmpty()) << "applying leaves the Resources items alone";
        modSchemas::showSchemaMenu(true, domain);
        modSchemas::showSchemaMenu(false, domain);
        EXPECT_TRUE(world.shownResourceItems().isEmpty());
    }
}

TEST(ApplyDomainDefaults, WhatASavedRecordDeclaresPerDomain) {
    const QString nzgls = u"http://nzgls.namespace-pending.example/"_s, dce = u"http://purl.org/dc/elements/1.1/"_s;
    const QString dcq = u"http://purl.org/dc/qualifiers/1.0/"_s;
    const QString stateA = SchemeHosts::stateHostA;
    // Domain, template, link lines, namespaces, prefix, home ("" left alone).
    const std::tuple<QString, QString, QString, QString, QString, QString> rows[] = {
        {u"Dublin Core"_s, kOpen + u"/macros/dc.kqb"_s, kDcLink, kDcNamespaces, u"dc"_s, QString()},
        {u"NZGLS"_s, kOpen + u"/schemes/NZGLS/minimal.kqb"_s,
         u"    <link rel = \"schema.DC\" href=\"%1\">\r\n<link rel = \"schema.NZGLS\" href=\"%2\">"_s.arg(dce, nzgls),
         u"    xmlns:dc=\"%1\"\r\n    xmlns:dcq=\"%2\"\r\n    xmlns:nzgls=\"%3\">\r\n"_s.arg(dce, dcq, nzgls),
         u"nzgls"_s, QString()},
        {u"GILS-UTAH"_s, u"mtp://open="_s + stateA + u"/gils/schemes/ut.kqb"_s, QString(), QString(), u"gils-utah"_s,
         stateA + u"/gils/tutorial.htm"_s},
        {u"SCORM"_s, u"mtp://"_s + platform::programDataFolder() + u"/schemes/SCORM.kqb"_s, QString(), QString(),
         u"scorm"_s, QString()},
    };
    for (const auto& [domain, templ, links, namespaces, prefix, home] : rows) {
        DomainWorld world;
        Preferences::Home = u"http://home.example/"_s;
        apply(domain);
        EXPECT_EQ(Preferences::FileNewURL, templ);
        EXPECT_EQ(modSchemas::linkRelLines, links);
        EXPECT_EQ(modSchemas::rdfNamespaces, namespaces);
        EXPECT_EQ(modSchemas::rdfPrefix, prefix);
        EXPECT_EQ(Preferences::Home, home.isEmpty() ? u"http://home.example/"_s : home);
    }
}

TEST(ApplyDomainDefaults, TemplateComesFromTheFirstDomainAndTheServerOfTheMoment) {
    DomainWorld world;
    modMetaMain::schemeServer = u"127.0.0.1:8123"_s;
    apply(u"CDC"_s);
    apply(u"GILS-MONTANA"_s);
    EXPECT_EQ(Preferences::FileNewURL, u"mtp://open=127.0.0.1:8123/macros/dc.kqb"_s);
    EXPECT_EQ(modSchemas::rdfPrefix, u"gils-montana"_s);
}

TEST(ApplyDomainDefaults, UnknownNamesAreReportedAndKeepTheDerivedState) {
    for (const QString& name : {u"agls1.2"_s, u"dublin core"_s, QString(), QString(200000, u'q') + u"Agls"_s}) {
        SCOPED_TRACE(name.left(20).toStdString());
        DomainWorld world;
        apply(u"Dublin Core"_s);
        ScriptedMsgBoxes boxes;
        boxes.expect(modSchemas::kUnknownDomainMessage, platform::vbOK);
        apply(name);
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown().front().title, u"Error"_s);
        EXPECT_EQ(modSchemas::linkRelLines, kDcLink);
        EXPECT_EQ(modSchemas::rdfNamespaces, kDcNamespaces);
        EXPECT_EQ(modSchemas::rdfPrefix, u"dc"_s);
        EXPECT_EQ(world.visible(u"mnuFileCheckHarvest"_s), name.contains(u"agls"_s, Qt::CaseInsensitive));
    }
}

TEST(ApplyDomainDefaults, WorksWithoutAMainWindowOrWithoutItsMenuItems) {
    DomainWorld world(false);
    apply(u"AGLS1.3"_s);
    modSchemas::showSchemaMenu(true, u"AGLS1.3"_s);
    modSchemas::hideAllSchemaMenus();
    Form1 bare;
    apply(u"SCORM"_s);
    modSchemas::showSchemaMenu(true, u"NOHSC"_s);
    EXPECT_EQ(modSchemas::rdfPrefix, u"scorm"_s);
}

TEST(SetDomainCommand, NamesTheDomainAndAppliesItOrReportsAnUnknownName) {
    DomainWorld world;
    modSchemas::setDomainFromCommand(u"mtp://SetDomain=Aust Business Entry Point.KQB/"_s);
    EXPECT_EQ(modSchemas::defaultSchema, u"Aust Business Entry Point"_s);
    EXPECT_EQ(modSchemas::rdfPrefix, u"bep"_s);
    modSchemas::setDomainFromCommand(u"mtp://setdomain=SA.DETE.kqb"_s);  // without the final "/"
    EXPECT_EQ(modSchemas::defaultSchema, u"SA.DETE"_s);
    EXPECT_TRUE(world.commands().isEmpty()) << "the scheme list is not loaded";

    ScriptedMsgBoxes boxes;
    for (const QString& command : {u"mtp://setdomain=.kqb/"_s, u"mtp://setdomain=Nowhere.kqb/"_s, QString()}) {
        boxes.expect(modSchemas::kUnknownDomainMessage, platform::vbOK);
        modSchemas::setDomainFromCommand(command);
    }
    EXPECT_EQ(modSchemas::defaultSchema, QString());
}

}  // namespace
