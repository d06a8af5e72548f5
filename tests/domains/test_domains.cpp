#include <QMainWindow>
#include "gui/app/modMetaMain.h"
#include "support/core/TestContext.h"
#include "gui/domains/ResourcesMenu.h"
#include "core/domains/SchemeHosts.h"
#include "core/domains/modCheckList.h"
#include "core/domains/modSchemas.h"
#include "platform/SchemeBundle.h"
#include "support/CommandRecorder.h"
#include "support/Common.h"
#include "support/ScriptedUi.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;
using testing_support::ScriptedMsgBoxes;
using namespace modCheckList;

namespace {

// A fresh program state, the scheme server put back afterwards, commands recorded rather than
// run, and a main window (its Resources menu built with it) unless asked for none.
class DomainWorld {
public:
    testing_support::TestContext context;  // first: what follows works on it
    // The Resources items that belong to a domain.
    static QStringList resourceItems() {
        return QStringLiteral(
                   "mnuResDC mnuRes17 mnuResAGLS1point3 mnuRes3 mnuResCDC mnuResCDCmenu mnuResEDNA mnuRes18 "
                   "mnuResGILSARIZONA mnuResGILSMontana mnuRes24 mnuResOregonSchema mnuRes20 mnuResGILSUTAH "
                   "mnuRes21 mnuResDCUTAH mnuRes22 mnuResNZGLS mnuRes19 mnuResDETE mnuRes23 mnuResNOHSC mnuResNOHSCres")
            .split(u' ');
    }
    explicit DomainWorld(bool withWindow = true) {
        context.schemeServer = u"schemes.test.example"_s;
        if (withWindow) window = std::unique_ptr<QMainWindow>(modMetaMain::newMainWindow(context, testing_support::modalRuns()));
    }
    QAction* item(const QString& name) const { return window->findChild<QAction*>(name); }
    bool visible(const QString& name) const { return item(name)->isVisible(); }
    void setAllVisible(bool v) const {
        for (const QString& name : resourceItems() + QStringList{"mnuResDefault", "mnuFileCheckHarvest"})
            item(name)->setVisible(v);
    }
    QStringList shownResourceItems() const {
        QStringList shown;
        for (const QString& name : resourceItems())
            if (visible(name)) shown.append(name);
        return shown;
    }
    QStringList& commands() { return recorder_.commands; }
    // Makes the domain current and applies it.
    void apply(const QString& domain) {
        context.domain.defaultSchema = domain;
        modSchemas::applyDomainDefaults(context);
    }
    // Makes the domain current and loads its scheme list; gives back the commands run.
    QStringList load(const QString& domain) {
        commands().clear();
        context.domain.defaultSchema = domain;
        modSchemas::loadDomainScheme(context);
        return commands();
    }

private:
    testing_support::CommandRecorder recorder_{context};

public:
    std::unique_ptr<QMainWindow> window;
};

const QString kDcLink = u"<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s;
const QString kDcNamespaces =
    u"xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\nxmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n"_s;
TEST(SchemaCatalogue, FifteenDomainsEachWithATutorialAndOneList) {
    DomainWorld world(false);
    DomainCatalogue& catalogue = world.context.domain.catalogue;
    catalogue.schemaShortNames[size_t(18)] = u"left over"_s;
    fillSchemaCatalogue(catalogue, world.context.schemeServer);
    ASSERT_EQ(catalogueRowCount(catalogue), 15);
    EXPECT_TRUE(catalogue.schemaShortNames[size_t(18)].isEmpty());
    EXPECT_EQ(catalogue.schemaTutorialURLs[size_t(0)], u"http://schemes.test.example/tutorial/DC.html"_s);  // the server of the moment
    EXPECT_EQ(catalogue.schemaTutorialURLs[size_t(10)], u"schemes.test.example/tutorial.html"_s);           // opened as written
    for (int i = 0; i < 15; ++i) {
        const QString name = catalogue.schemaShortNames[size_t(i)];
        EXPECT_FALSE(catalogue.schemaLongNames[size_t(i)].isEmpty() || catalogue.schemaTutorialURLs[size_t(i)].isEmpty()) << name;
        const QStringList ran = world.load(name);
        ASSERT_EQ(ran.size(), 1) << name;
        EXPECT_TRUE(ran[0].startsWith(u"mtp://url="_s) && ran[0].endsWith(u".kqs"_s)) << ran[0];
    }
    // Lists keep their paths as published; the server is read afresh.
    EXPECT_EQ(world.load(u"Dublin Core"_s), QStringList{u"mtp://url=schemes.test.example/schemes/Dublin%20Core.kqs"_s});
    EXPECT_EQ(world.load(u"Aust Business Entry Point"_s),
              QStringList{u"mtp://url=schemes.test.example/schemes/BEP/Business Entry Point.kqs"_s});
    EXPECT_EQ(world.load(u"DC-UTAH"_s),
              QStringList{u"mtp://url="_s + SchemeHosts::stateHostB + u"/schemes/dc/Dublin_Core_Schema.kqs"_s});
    for (const QString& unknown : {u"AGLS1.1"_s, u"CDC "_s, QString()}) EXPECT_TRUE(world.load(unknown).isEmpty());
    world.context.schemeServer = u"127.0.0.1:8080"_s;
    EXPECT_EQ(world.load(u"CDC"_s), QStringList{u"mtp://url=127.0.0.1:8080/schemes/CDC/CDC.kqs"_s});
}

TEST(SchemaMenus, OnlyExactNamesOfDomainsWithItemsShowThemAndHideAllLeavesTheOthers) {
    DomainWorld world;
    world.setAllVisible(false);
    for (const QString& name : {u"JSMS"_s, u"SCORM"_s, u"Health Insite"_s, u"AGLS"_s, u"dublin core"_s, u"NZGLS "_s,
                                QString(), QString(100000, u'N')})
        modSchemas::showSchemaMenu(world.context, true, name);
    EXPECT_TRUE(world.shownResourceItems().isEmpty());
    modSchemas::showSchemaMenu(world.context, true, u"AGLS1.2"_s);  // the AGLS versions share their items
    modSchemas::showSchemaMenu(world.context, false, u"AGLS1.3 (ACT)"_s);
    modSchemas::showSchemaMenu(world.context, true, u"GILS-ARIZONA"_s);
    modSchemas::showSchemaMenu(world.context, true, u"NOHSC"_s);
    EXPECT_EQ(world.shownResourceItems(), (QStringList{"mnuResGILSARIZONA", "mnuResNOHSC", "mnuResNOHSCres"}));
    fillSchemaCatalogue(world.context.domain.catalogue, world.context.schemeServer);
    world.setAllVisible(true);
    modSchemas::hideAllSchemaMenus(world.context);
    EXPECT_EQ(world.shownResourceItems(), (QStringList{"mnuResEDNA", "mnuRes18"}));  // EdNA is not in the catalogue
    EXPECT_TRUE(world.visible(u"mnuResDefault"_s));
}

TEST(ApplyDomainDefaults, EveryDomainGetsATemplatePrefixAndClosedNamespacesAndRunsNothing) {
    for (const QString& domain : QStringLiteral("NZGLS|AGLS1.1|AGLS1.2|AGLS1.3|AGLS1.3 (ACT)|JSMS|CDC|Dublin Core|"
                                                "Aust Business Entry Point|SA.DETE|EdNA|GILS-ARIZONA|GILS-MONTANA|"
                                                "GILS-OREGON|GILS-UTAH|DC-UTAH|Health Insite - Australia|NOHSC|SCORM")
                                     .split(u'|')) {
        SCOPED_TRACE(domain.toStdString());
        DomainWorld world;
        world.setAllVisible(false);
        world.context.domain.rdfNamespaces = u"stale"_s;
        world.apply(domain);
        EXPECT_TRUE(world.context.preferences.FileNewURL.startsWith(u"mtp://"_s));
        EXPECT_FALSE(world.context.domain.rdfPrefix.isEmpty());
        EXPECT_TRUE(world.context.domain.rdfNamespaces.isEmpty() || world.context.domain.rdfNamespaces.endsWith(u"\">\r\n"_s));
        EXPECT_EQ(world.item(u"mnuResDefault"_s)->text(), u"Default Domain: "_s + domain);
        EXPECT_EQ(world.visible(u"mnuFileCheckHarvest"_s), domain.startsWith(u"AGLS"_s));
        EXPECT_TRUE(world.commands().isEmpty());
        EXPECT_TRUE(world.shownResourceItems().isEmpty()) << "applying leaves the Resources items alone";
        modSchemas::showSchemaMenu(world.context, true, domain);
        modSchemas::showSchemaMenu(world.context, false, domain);
        EXPECT_TRUE(world.shownResourceItems().isEmpty());
    }
}

TEST(ApplyDomainDefaults, WhatASavedRecordDeclaresPerDomain) {
    const QString nzgls = u"http://nzgls.namespace-pending.example/"_s, dce = u"http://purl.org/dc/elements/1.1/"_s;
    const QString dcq = u"http://purl.org/dc/qualifiers/1.0/"_s, open = u"mtp://open=schemes.test.example"_s;
    const QString stateA = SchemeHosts::stateHostA, scorm = u"mtp://"_s + platform::SchemeBundle::folder();
    const QString nzLinks =
        u"    <link rel = \"schema.DC\" href=\"%1\">\r\n<link rel = \"schema.NZGLS\" href=\"%2\">"_s;
    const QString nzNamespaces = u"    xmlns:dc=\"%1\"\r\n    xmlns:dcq=\"%2\"\r\n    xmlns:nzgls=\"%3\">\r\n"_s;
    // Domain, prefix, home ("" left alone), template, link lines, namespaces.
    const std::array<QString, 6> rows[] = {
        {u"Dublin Core"_s, u"dc"_s, {}, open + u"/macros/dc.kqb"_s, kDcLink, kDcNamespaces},
        {u"NZGLS"_s, u"nzgls"_s, QString(), open + u"/schemes/NZGLS/minimal.kqb"_s, nzLinks.arg(dce, nzgls),
         nzNamespaces.arg(dce, dcq, nzgls)},
        {u"GILS-UTAH"_s, u"gils-utah"_s, stateA + u"/gils/tutorial.htm"_s,
         u"mtp://open="_s + stateA + u"/gils/schemes/ut.kqb"_s},
        {u"SCORM"_s, u"scorm"_s, {}, scorm + u"/SCORM.kqb"_s},
    };
    for (const auto& [domain, prefix, home, templ, links, namespaces] : rows) {
        DomainWorld world;
        world.context.preferences.Home = u"http://home.example/"_s;
        world.apply(domain);
        EXPECT_EQ(world.context.preferences.FileNewURL, templ);
        EXPECT_EQ(world.context.domain.linkRelLines, links);
        EXPECT_EQ(world.context.domain.rdfNamespaces, namespaces);
        EXPECT_EQ(world.context.domain.rdfPrefix, prefix);
        EXPECT_EQ(world.context.preferences.Home, home.isEmpty() ? u"http://home.example/"_s : home);
    }
    // The template comes from the first domain applied, and from the server of the moment.
    DomainWorld world(false);
    world.context.schemeServer = u"127.0.0.1:8123"_s;
    world.apply(u"CDC"_s);
    world.apply(u"GILS-MONTANA"_s);
    EXPECT_EQ(world.context.preferences.FileNewURL, u"mtp://open=127.0.0.1:8123/macros/dc.kqb"_s);
    testing_support::TestContext other;
    const std::unique_ptr<QMainWindow> bare(modMetaMain::newMainWindow(other, testing_support::modalRuns()));  // a window without the menu items is no harm
    world.apply(u"SCORM"_s);
    modSchemas::showSchemaMenu(world.context, true, u"NOHSC"_s);
    EXPECT_EQ(world.context.domain.rdfPrefix, u"scorm"_s);
}

TEST(ApplyDomainDefaults, UnknownNamesAreReportedAndKeepTheDerivedState) {
    for (const QString& name : {u"AGLS"_s, u"dublin core"_s, QString(), QString(200000, u'q') + u"Agls"_s}) {
        SCOPED_TRACE(name.left(20).toStdString());
        DomainWorld world;
        world.apply(u"Dublin Core"_s);
        ScriptedMsgBoxes boxes;
        boxes.expect(modSchemas::kUnknownDomainMessage, platform::kAnswerOk);
        world.apply(name);
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown().front().title, u"Error"_s);
        EXPECT_EQ(world.context.domain.linkRelLines, kDcLink);
        EXPECT_EQ(world.context.domain.rdfNamespaces, kDcNamespaces);
        EXPECT_EQ(world.context.domain.rdfPrefix, u"dc"_s);
        EXPECT_EQ(world.visible(u"mnuFileCheckHarvest"_s), name.contains(u"agls"_s, Qt::CaseInsensitive));
    }
    DomainWorld world(false);  // AGLS still has a list
    EXPECT_EQ(world.load(u"AGLS"_s), QStringList{u"mtp://url=schemes.test.example/schemes/AGLS.kqs"_s});
}

TEST(SetDomainCommand, NamesTheDomainAndAppliesItOrReportsAnUnknownName) {
    DomainWorld world;
    modSchemas::setDomainFromCommand(world.context, u"mtp://SetDomain=Aust Business Entry Point.KQB"_s);  // the final "/" may lack
    EXPECT_EQ(world.context.domain.defaultSchema, u"Aust Business Entry Point"_s);
    EXPECT_EQ(world.context.domain.rdfPrefix, u"bep"_s);
    EXPECT_TRUE(world.commands().isEmpty()) << "the scheme list is not loaded";
    ScriptedMsgBoxes boxes;
    for (const QString& command : {u"mtp://setdomain=.kqb/"_s, u"mtp://setdomain=Nowhere.kqb/"_s, QString()}) {
        boxes.expect(modSchemas::kUnknownDomainMessage, platform::kAnswerOk);
        modSchemas::setDomainFromCommand(world.context, command);
    }
    EXPECT_EQ(world.context.domain.defaultSchema, QString());
}

// ---- the encoding schemes each domain offers per element

const QString kUntouched = u"Kept|As|Passed|"_s;

QString ask(const QString& domain, const QString& element, const QString& list = kUntouched) {
    DomainState state;
    state.defaultSchema = domain;
    return modSchemas::getSchemeList(state, element, list);
}

TEST(SchemeTables, EachDomainAnswersFromItsOwnTableInAnyCaseAndKeepsTheListOtherwise) {
    DomainWorld world(false);
    const std::tuple<QString, QString, QString> rows[] = {
        {u"AGLS1.2"_s, u"DC.Coverage.region"_s, u"None|LawZone.region"_s},  // lists are kept as written
        {u"AGLS1.3"_s, u"DC.Publisher"_s, u"None|AglsAgent|X500|"_s},
        {u"AGLS1.3 (ACT)"_s, u"DC.Creator"_s, u"None|ActVers|"_s},
        {u"CDC"_s, u"DC.Subject"_s, u"CDC.subject|MeSH|"_s},
        {u"NZGLS"_s, u"NZGLS.Mandate"_s, u"None|URI|"_s},
        {u"SA.DETE"_s, u"DC.Format"_s, u"DETE.IMT|None|"_s},
        {u"EdNA"_s, u"DC.Language"_s, u"RFC1766|ISO639-2|ABS1267|"_s},
        {u"Dublin Core"_s, u"DC.Language"_s, u"RFC1766|ISO639-2"_s},
        {u"Aust Business Entry Point"_s, u"DC.Subject"_s, u"bep.topic|None|"_s},
        {u"GILS-UTAH"_s, u"robots"_s, u"Robots|"_s},
        {u"NOHSC"_s, u"DC.Subject"_s, u"AOHST|"_s},
        {u"DC-UTAH"_s, u"DC.Type"_s, u"ResourceType|"_s},
        {u"JSMS"_s, u"DC.Subject"_s, u"JSMS-liac|"_s},
        {u"SCORM"_s, u"DC.Title"_s, u"None|"_s},
    };
    for (const auto& [domain, element, list] : rows) {
        SCOPED_TRACE(domain + u" / "_s + element);
        EXPECT_EQ(ask(domain, element), list);
        EXPECT_EQ(ask(domain, u"X."_s + element.toUpper() + u".y"_s), list);
        for (const QString& other : {u"Foo.Bar"_s, QString(), u"None"_s}) EXPECT_EQ(ask(domain, other), kUntouched);
        EXPECT_EQ(ask(domain, u"Foo"_s, QString()), QString());
    }
}

TEST(SchemeTables, SpecificNamesWinOverTheGeneralOnesTheyContain) {
    DomainWorld world(false);
    const QString bep = u"Aust Business Entry Point"_s;
    const std::tuple<QString, QString, QString> cases[] = {
        {u"AGLS1.3"_s, u"dc.COVERAGE.Region"_s, u"LawZone.region|None|"_s},
        {u"AGLS1.3"_s, u"DC.Coverage.postcode"_s, u"None|ISO8601|TGN|LCSH|"_s},
        {u"AGLS1.3"_s, u"DC.Creator.jurisdiction"_s, u"None|AglsAgent|X500|"_s},  // the first row found in it
        {bep, u"BEP.transactionInfo.DC.Type"_s, u"bep.type|None|"_s},
        {u"SA.DETE"_s, u"DC.Title"_s, u"None|"_s},  // "TITLE" decides only what DC.Title does not
        {u"SA.DETE"_s, u"EDNA.Audience.sector.extra"_s, u"edna.sector|"_s},
        {bep, u"AGLS.Mandate"_s, kUntouched},  // the sister families answer their plain element
        {bep, u"AGLS.Mandate.jurisdiction"_s, u"bep.jurisdiction|None|"_s},
        {u"NZGLS"_s, QString(100000, u'x') + u"nzgls.mandate"_s, u"None|URI|"_s},
    };
    for (const auto& [domain, element, expected] : cases) EXPECT_EQ(ask(domain, element), expected) << element.left(40);
}

TEST(SchemeTables, AglsAndDomainsWithoutATableCompareExactlyUpToTheSecondDottedPart) {
    DomainWorld world(false);
    for (const QString& d : {u"AGLS"_s, u"GILS-OREGON"_s, u"AGLS1.1"_s, u"Health Insite"_s, QString(), u"dublin core"_s,
                             u"Dublin Core "_s, QString(100000, u'Z')}) {
        SCOPED_TRACE(d.left(30));
        EXPECT_EQ(ask(d, u"DC.Subject"_s), u"None|TAGS|APAIS|LCSH|AAT|MeSH|"_s);
        EXPECT_EQ(ask(d, u"DC.Subject.Keyword.More"_s), u"None|TAGS|APAIS|LCSH|AAT|MeSH|"_s);
        EXPECT_EQ(ask(d, u"DC.Title."_s), u"None|"_s);
        for (const QString& element : {u"dc.subject"_s, u"DC"_s, u"DC."_s, u".DC.Title"_s, u"X.DC.Title"_s})
            EXPECT_EQ(ask(d, element), kUntouched) << element;
    }
    // Arizona and Montana offer whatever the line had, even for DC.Title.
    EXPECT_EQ(ask(u"GILS-ARIZONA"_s, u"DC.Title"_s), kUntouched);
    EXPECT_EQ(ask(u"GILS-MONTANA"_s, u"DC.Subject"_s), kUntouched);
}

// ---- the Metadata Resources menu

const QString kMoved = u"moved.test.example"_s;

class ResourcesMenuTest : public ::testing::Test {
protected:
    DomainWorld world;
    // Clicks the item, shown first as its domain would, and gives back the commands it ran.
    QStringList click(QAction* item) {
        if (!item) return {u"no such item"_s};
        world.commands().clear();
        item->setVisible(true);
        item->trigger();
        return world.commands();
    }
    QStringList click(const QString& name) { return click(world.item(name)); }
    QAction* captioned(const QString& caption) const {
        for (QAction* a : world.window->findChild<QMenu*>(u"mnuRes1"_s)->findChildren<QAction*>())
            if (a->text() == caption) return a;
        return nullptr;
    }
};

TEST_F(ResourcesMenuTest, EveryItemRunsOneCommandOrIsKnownToRunNone) {
    QList<QAction*> leaves;
    const std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
        for (QAction* a : menu->actions()) a->menu() ? walk(a->menu()) : a->isSeparator() ? void() : leaves.append(a);
    };
    walk(world.window->findChild<QMenu*>(u"mnuRes1"_s));
    world.context.schemeServer = kMoved;
    ScriptedMsgBoxes boxes;
    boxes.expect(modSchemas::kUnknownDomainMessage, platform::kAnswerOk);  // the Health item's
    testing_support::ScriptedModals modals;
    modals.then([](QDialog& schemas) { schemas.reject(); });
    QStringList inert, domainItems;
    for (QAction* a : leaves) {
        const QStringList ran = click(a);
        if (!world.context.domain.defaultSchema.isEmpty()) domainItems << a->objectName();
        world.context.domain.defaultSchema.clear();
        if (ran.isEmpty()) inert << a->objectName();
        if (ran.isEmpty()) continue;
        ASSERT_EQ(ran.size(), 1) << a->text();
        EXPECT_TRUE(ran[0].startsWith(u"mtp://url="_s) || ran[0].startsWith(u"mtp://open="_s)) << ran[0];
        EXPECT_TRUE(ran[0].trimmed().endsWith(u".kqs"_s) || ran[0].endsWith(u".kqb"_s)) << ran[0];
    }
    EXPECT_EQ(inert,
              (QStringList{"mnuResEditSchemas", "mnuResDefault", "mnuResHealth", "mnuResNOHSC", "mnuNOHSCaohst"}));
    EXPECT_EQ(domainItems.size(), 10);
    // Most items keep the server the menu was built with; a few follow it; some name other hosts.
    const auto one = [](const QString& command) { return QStringList{command}; };
    EXPECT_EQ(click(captioned(u"edna.audience"_s)),
              one(u"mtp://url=schemes.test.example/schemes/EDNA/edna.audience.kqs"_s));
    EXPECT_EQ(click(captioned(u"edna.coverage"_s)),
              one(u"mtp://url="_s + kMoved + u"/schemes/EDNA/edna.coverage.kqs"_s));
    EXPECT_EQ(click(captioned(u"AglsJuri (Jurisdiction)"_s)),
              one(u"mtp://url=schemes.test.example/schemes/AGLS/AglsJuri.kqs"_s));
    EXPECT_EQ(click(u"mnuResMontanaGILS_7"_s),
              one(u"mtp://url="_s + SchemeHosts::stateLibraryHost + u"/montana/topics.kqs"_s));
    EXPECT_EQ(click(u"mnuBatchAGLS1_1"_s),
              one(u"mtp://open="_s + SchemeHosts::secondSchemeHost + u"/schemes/AGLS/temp_document.kqb"_s));
    ASSERT_NE(world.window->findChild<QMenu*>(u"mnuResTags0"_s), nullptr);  // popped up by the scheme loader
    EXPECT_EQ(click(world.window->findChild<QMenu*>(u"mnuResTags0"_s)->actions().value(0)),
              one(u"mtp://url=schemes.test.example/agls/TAGS-AG.kqs"_s));
}

TEST_F(ResourcesMenuTest, ObjectNamesAreUniqueAndEveryDomainItemIsThere) {
    QStringList names;
    for (const QAction* a : world.window->findChild<QMenu*>(u"mnuRes1"_s)->findChildren<QAction*>())
        if (!a->objectName().isEmpty()) names.append(a->objectName());
    EXPECT_EQ(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
    for (const QString& name : DomainWorld::resourceItems()) EXPECT_TRUE(names.contains(name)) << name;
}

TEST_F(ResourcesMenuTest, DomainItemsApplyTheirDomainAndLoadItsListTheSchemaItemsLoadTheCurrentOne) {
    const QString s = u"mtp://url=schemes.test.example/schemes/"_s;
    // Item, domain before, domain after, commands.
    const std::tuple<QString, QString, QString, QStringList> cases[] = {
        {u"mnuResDC"_s, u"NZGLS"_s, u"Dublin Core"_s, {s + u"Dublin%20Core.kqs"_s}},
        {u"mnuResDETE"_s, u"NZGLS"_s, u"SA.DETE"_s, {s + u"DETE.kqs"_s}},
        {u"mnuResDefault"_s, u"GILS-MONTANA"_s, u"GILS-MONTANA"_s, {s + u"GILS-MONTANA/GILS-MONTANA.kqs"_s}},
        {u"mnuResEditSchemas"_s, u"NZGLS"_s, u"NZGLS"_s, {s + u"NZGLS/NZGLS.kqs"_s}},
        {u"mnuResDefault"_s, u"AGLS1.1"_s, u"AGLS1.1"_s, {}},
    };
    ScriptedMsgBoxes boxes;  // none of them says anything
    testing_support::ScriptedModals modals;
    modals.then([](QDialog& schemas) { schemas.reject(); });  // cancelled: the current list all the same
    for (const auto& [item, before, after, commands] : cases) {
        world.context.domain.defaultSchema = before;
        world.context.domain.rdfPrefix.clear();
        EXPECT_EQ(click(item), commands) << item;
        EXPECT_EQ(world.context.domain.defaultSchema, after);
        EXPECT_EQ(world.context.domain.rdfPrefix.isEmpty(), before == after) << "applied only when chosen";
    }
    boxes.expect(modSchemas::kUnknownDomainMessage, platform::kAnswerOk);  // a domain the defaults do not know
    EXPECT_TRUE(click(u"mnuResHealth"_s).isEmpty());
    EXPECT_EQ(world.context.domain.defaultSchema, u"Health Insite"_s);
}

TEST_F(ResourcesMenuTest, OregonListsTurnTheTreeIntoASchemeAfterTheirCommand) {
    QString typeDuringCommand;
    testing_support::testDispatcher(world.context).take = [&](const QString&, modMTP::CommandOrigin) {
        typeDuringCommand = world.context.document.listType();
        return true;
    };
    for (int index = 1; index <= 3; ++index) {
        world.context.document.setListType(u"indexes"_s);
        world.item(u"mnuResOREGONGILS_%1"_s.arg(index))->trigger();
        EXPECT_EQ(typeDuringCommand, u"indexes"_s);
        EXPECT_EQ(world.context.document.listType(), u"schema"_s);
    }
    world.context.document.setListType(u"indexes"_s);  // other lists leave the tree's kind alone
    world.item(u"mnuResUTAHGILS_1"_s)->trigger();
    EXPECT_EQ(world.context.document.listType(), u"indexes"_s);
}

TEST(ResourcesMenuBuild, WithoutAServerYetTheProgramsOwnIsWrittenIn) {
    DomainWorld world(false);
    world.context.schemeServer.clear();
    QMenu menu;
    modSchemas::buildResourcesMenu(&menu, world.context, testing_support::modalRuns());
    modSchemas::buildResourcesMenu(nullptr, world.context, testing_support::modalRuns());  // nothing to fill: no harm
    menu.findChild<QAction*>(u"mnuResAGLS1point3"_s)->trigger();
    EXPECT_EQ(world.commands(),
              QStringList{u"mtp://url="_s + SchemeHosts::defaultSchemeServer() + u"/schemes/AGLS/AGLS1.3.kqs"_s});
}

}  // namespace
