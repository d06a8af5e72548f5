#include "DomainTestSupport.h"
#include "domains/ResourcesMenu.h"
#include "domains/SchemeHosts.h"
#include "domains/modCheckList.h"
#include "support/ScriptedUi.h"

#include <QMenu>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using testing_support::ScriptedMsgBoxes;

namespace {

const QString kMoved = u"moved.test.example"_s;

class ResourcesMenuTest : public ::testing::Test {
protected:
    domain_tests::DomainWorld world;
    QAction* action(const QString& name) const { return world.item(name); }
    // Clicks the item, shown first as its domain would, and gives back the commands it ran.
    QStringList click(QAction* item) {
        if (!item) return {u"no such item"_s};
        world.commands().clear();
        item->setVisible(true);
        item->trigger();
        return world.commands();
    }
    QStringList click(const QString& name) { return click(action(name)); }
    QAction* captioned(const QString& caption) const {
        for (QAction* a : world.window->mnuRes->findChildren<QAction*>())
            if (a->text() == caption) return a;
        return nullptr;
    }
};

TEST_F(ResourcesMenuTest, EveryItemRunsOneCommandOrIsKnownToRunNone) {
    QList<QAction*> leaves;
    const std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
        for (QAction* a : menu->actions()) a->menu() ? walk(a->menu()) : a->isSeparator() ? void() : leaves.append(a);
    };
    walk(world.window->mnuRes);
    modMetaMain::schemeServer = kMoved;
    ScriptedMsgBoxes boxes;
    boxes.expect(modSchemas::kUnknownDomainMessage, platform::vbOK);  // the Health item's
    QStringList inert, domainItems;
    for (QAction* a : leaves) {
        const QStringList ran = click(a);
        if (!modSchemas::defaultSchema.isEmpty()) domainItems << a->objectName();
        modSchemas::defaultSchema.clear();
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
    EXPECT_EQ(click(u"mnuResMontanaGILS_7"_s),
              one(u"mtp://url="_s + SchemeHosts::stateLibraryHost + u"/montana/topics.kqs"_s));
    EXPECT_EQ(click(u"mnuBatchAGLS1_1"_s),
              one(u"mtp://open="_s + SchemeHosts::secondSchemeHost + u"/schemes/AGLS/temp_document.kqb"_s));
    ASSERT_NE(modSchemas::resourcesTagsMenu(), nullptr);  // popped up by the scheme loader
    EXPECT_EQ(click(modSchemas::resourcesTagsMenu()->actions().value(0)),
              one(u"mtp://url=schemes.test.example/agls/TAGS-AG.kqs"_s));
}

TEST_F(ResourcesMenuTest, ObjectNamesAreUniqueAndEveryDomainItemIsThere) {
    QStringList names;
    for (const QAction* a : world.window->mnuRes->findChildren<QAction*>())
        if (!a->objectName().isEmpty()) names.append(a->objectName());
    EXPECT_EQ(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
    for (const QString& name : domain_tests::DomainWorld::resourceItems()) EXPECT_TRUE(names.contains(name)) << name;
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
    for (const auto& [item, before, after, commands] : cases) {
        modSchemas::defaultSchema = before;
        modSchemas::rdfPrefix.clear();
        EXPECT_EQ(click(item), commands) << item;
        EXPECT_EQ(modSchemas::defaultSchema, after);
        EXPECT_EQ(modSchemas::rdfPrefix.isEmpty(), before == after) << "applied only when chosen";
    }
    boxes.expect(modSchemas::kUnknownDomainMessage, platform::vbOK);  // a domain the defaults do not know
    EXPECT_TRUE(click(u"mnuResHealth"_s).isEmpty());
    EXPECT_EQ(modSchemas::defaultSchema, u"Health Insite"_s);
}

TEST_F(ResourcesMenuTest, OregonListsTurnTheTreeIntoASchemeAfterTheirCommand) {
    QString typeDuringCommand;
    modMTP::setCommandInterceptor([&](const QString&, modMTP::CommandOrigin) {
        typeDuringCommand = world.window->documentState->listType();
        return true;
    });
    for (int index = 1; index <= 3; ++index) {
        world.window->documentState->setListType(u"indexes"_s);
        action(u"mnuResOREGONGILS_%1"_s.arg(index))->trigger();
        EXPECT_EQ(typeDuringCommand, u"indexes"_s);
        EXPECT_EQ(world.window->documentState->listType(), u"schema"_s);
    }
    world.window->documentState->setListType(u"indexes"_s);  // other lists leave the tree's kind alone
    action(u"mnuResUTAHGILS_1"_s)->trigger();
    EXPECT_EQ(world.window->documentState->listType(), u"indexes"_s);
}

TEST(ResourcesMenuBuild, WithoutAServerYetTheProgramsOwnIsWrittenIn) {
    domain_tests::DomainWorld world(false);
    modMetaMain::schemeServer.clear();
    QMenu menu;
    modSchemas::buildResourcesMenu(&menu);
    modSchemas::buildResourcesMenu(nullptr);  // nothing to fill: no harm
    menu.findChild<QAction*>(u"mnuResAGLS1point3"_s)->trigger();
    EXPECT_EQ(world.commands(),
              QStringList{u"mtp://url="_s + modMetaMain::defaultSchemeServer() + u"/schemes/AGLS/AGLS1.3.kqs"_s});
}

}  // namespace
