#include "app/CRegSettings.h"
#include "app/Form1.h"
#include "app/Preferences.h"
#include "app/modMetaMain.h"
#include "domains/modSchemas.h"
#include "platform/Folders.h"
#include "platform/RegistryStore.h"
#include "platform/StatusBar.h"
#include "platform/Twips.h"
#include "platform/ListView.h"
#include "support/Common.h"
#include "support/CommandRecorder.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedUi.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

using testing_support::CommandRecorder;
using testing_support::FreshStore;

namespace {

CRegSettings settings() {
    CRegSettings s;
    s.setCompany(u"Orvane Consulting"_s);
    s.setAppName(u"Quorvantil"_s);
    return s;
}

const char* const kHomePage =
    "<html><head><title>Home</title><meta name=\"DC.Title\" content=\"Scheme server home\"></head><body></body></html>";

class StartupTest : public ::testing::Test {
protected:
    FreshStore store;
    CommandRecorder recorder;
    testing_support::LocalHttpServer server;
    QByteArray oldServer = qgetenv("QUORVANTIL_SCHEME_SERVER");
    std::unique_ptr<Form1> form;

    void SetUp() override {
        server.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kHomePage, "text/html");
        });
        qputenv("QUORVANTIL_SCHEME_SERVER", u"127.0.0.1:%1"_s.arg(server.port()).toUtf8());
    }

    void start(const QString& commandLine) { form.reset(modMetaMain::Main(commandLine)); }
    void TearDown() override {
        if (form) form->hide();
        form.reset();
        qputenv("QUORVANTIL_SCHEME_SERVER", oldServer);
    }
};

TEST_F(StartupTest, PlainStartLogsGoesHomeAndClearsTheCaches) {
    start(QString());
    EXPECT_EQ(recorder.commands,
              (QStringList{u"mtp://startlogging.kqb"_s, u"mtp://delete=all.kqs/"_s, u"mtp://delete=all.kqi/"_s}));
    EXPECT_EQ(form->URL->currentText(), u"http://"_s + modMetaMain::schemeServer);
    // The home page was read for its metadata.
    EXPECT_EQ(form->recordLines(), (MetadataRecord{{u"DC.Title"_s, u"Scheme server home"_s, {}, {}}}));
    for (const char* folder : {"cache", "cache/indexes", "cache/schema", "cache/schemes", "schemes"})
        EXPECT_TRUE(QFileInfo(platform::programDataFolder() + QLatin1Char('/') + QLatin1String(folder)).isDir())
            << folder;
}

TEST_F(StartupTest, WebAddressesOpenWithoutStartingTheLog) {
    settings().SaveSetting(u"Preferences"_s, u"ClearCache"_s, u"y"_s);
    const QString page = server.url(u"/a page.htm"_s);
    start(page);
    EXPECT_TRUE(recorder.commands.isEmpty());  // "y" is not "Y": the caches stay
    EXPECT_EQ(form->URL->currentText(), page);
    EXPECT_EQ(form->MetaPanel->Count(), 1);
}

TEST_F(StartupTest, CommandsRunAsTheyStandFilePathsOpenAndListsNameTheirRoot) {
    settings().SaveSetting(u"Preferences"_s, u"ClearCache"_s, u"N"_s);
    struct Case {
        QString commandLine, command, listType, rootName;
    };
    const Case cases[] = {
        {u"mtp://field=DC.Subject&content=Heart \"Disease\".fld/"_s,
         u"mtp://field=DC.Subject&content=Heart \"Disease\".fld/"_s,
         {},
         {}},
        {u"/home/ann/my lists/Subjects.kqs"_s, u"mtp://open=/home/ann/my lists/Subjects.kqs"_s, u"schema"_s,
         u"Subjects"_s},
        {u"/srv/v1.2/Main Catalog.KQI"_s, u"mtp://open=/srv/v1.2/Main Catalog.KQI"_s, u"indexes"_s, u"Main Catalog"_s},
        {u"/pages/a.htm"_s, u"mtp://open=/pages/a.htm"_s, {}, {}},
    };
    for (const Case& c : cases) {
        form.reset();
        recorder.commands.clear();
        start(c.commandLine);
        EXPECT_EQ(recorder.commands, QStringList{c.command});
        EXPECT_EQ(form->documentState->listType(), c.listType);
        EXPECT_EQ(form->rootName, c.rootName);
    }
}

TEST_F(StartupTest, FileTypesAreAssociatedInTheStoreAndWithTheDesktop) {
    start(u"mtp://x.fld/"_s);
    auto& reg = platform::registry();
    for (const QString& ext : {u".kqi"_s, u".kqs"_s, u".kqb"_s})
        EXPECT_EQ(reg.queryValue(platform::RegistryRoot::ClassesRoot, ext, QString())
                      .value_or(platform::RegistryValue{})
                      .data,
                  u"Quorvantile.Document"_s);
    const auto command =
        reg.queryValue(platform::RegistryRoot::ClassesRoot, u"Quorvantile.Document\\shell\\open\\command"_s, QString());
    ASSERT_TRUE(command.has_value());
    EXPECT_TRUE(command->data.endsWith(u" %1"_s));
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    const QByteArray xml = testing_support::readBytes(data + u"/mime/packages/quorvantil.xml"_s);
    EXPECT_TRUE(xml.contains("*.kqi") && xml.contains("*.kqs") && xml.contains("*.kqb"));
    EXPECT_TRUE(QFileInfo::exists(data + u"/applications/quorvantil.desktop"_s));
}

TEST_F(StartupTest, PreferencesRoundTripThroughTheStore) {
    CRegSettings s = settings();
    s.SaveSetting(u"Preferences"_s, u"Home"_s, u"http://home.example/"_s);
    s.SaveSetting(u"Preferences"_s, u"charEncoding"_s, u"1"_s);
    s.SaveSetting(u"Preferences"_s, u"CompleteMTP"_s, u"N"_s);
    s.SaveSetting(u"Preferences"_s, u"fixMeta"_s, u"Y"_s);
    s.SaveSetting(u"Preferences"_s, u"F5"_s, u"mtp://open=/t/x.kqb"_s);
    s.SaveSetting(u"Preferences"_s, u"F6"_s, u"UNUSED key"_s);
    s.SaveSetting(u"File Settings"_s, u"FilePath"_s, u"/pages/site/index.htm"_s);
    s.SaveSetting(u"Position Data"_s, u"Left"_s, u"not a number"_s);
    start(u"mtp://x.fld/"_s);
    EXPECT_EQ(Preferences::Home, u"http://home.example/"_s);
    EXPECT_EQ(Preferences::charEncoding, u"1"_s);
    EXPECT_EQ(Preferences::CompleteMtp, u"N"_s);
    // No domains chosen: the reader ends early and fixMeta keeps the text read.
    EXPECT_EQ(Preferences::fixMeta, u"Y"_s);
    EXPECT_EQ(form->FilePath, u"/pages/site/"_s);
    EXPECT_EQ(s.GetSetting(u"Preferences\\Macros"_s, u"F5"_s, QString()), u"F5 - Macro|mtp://open=/t/x.kqb"_s);
    EXPECT_EQ(s.GetSetting(u"Preferences\\Macros"_s, u"F6"_s, u"-"_s), u"-"_s);

    form->move(platform::twipsToPixels(3000), platform::twipsToPixels(2000));
    form->BatchPath = u"/batches/"_s;
    form->close();  // the close writes everything back
    EXPECT_EQ(s.GetSetting(u"File Settings"_s, u"BatchPath"_s, QString()), u"/batches/"_s);
    EXPECT_EQ(s.GetSetting(u"Preferences"_s, u"CompleteMtp"_s, QString()), u"N"_s);
    EXPECT_EQ(s.GetSetting(u"Preferences"_s, u"F5"_s, u"gone"_s), u"gone"_s);
    EXPECT_EQ(s.GetSetting(u"Position Data"_s, u"Width"_s, QString()),
              QString::number(platform::pixelsToTwips(form->width())));
    EXPECT_FALSE(s.GetSetting(u"Position Data"_s, u"Left"_s, QString()).contains(u"not"_s));

    // The next start restores what the close wrote.
    form.reset();
    start(u"mtp://x.fld/"_s);
    EXPECT_EQ(form->BatchPath, u"/batches/"_s);
}

TEST_F(StartupTest, AddressHistoryKeepsNineteenNewestFirst) {
    start(u"mtp://x.fld/"_s);
    QString bare = u"example.org"_s;
    form->URLAddItem(bare);
    EXPECT_EQ(bare, u"http://example.org"_s);
    QString upper = u"HTTP://EXAMPLE.ORG"_s;
    form->URLAddItem(upper);
    EXPECT_EQ(form->URL->count(), 1);
    for (int i = 0; i < 24; ++i) {
        QString a = u"http://site%1.example/"_s.arg(i);
        form->URLAddItem(a);
    }
    form->saveURLList();
    const QList<QByteArray> lines = testing_support::readBytes(form->historyFilePath()).split('\n');
    EXPECT_EQ(lines.size(), 20);  // 19 lines and the empty rest after the last line end
    EXPECT_EQ(lines.first(), "http://site23.example/\r");

    // Reading puts each line on top: the file's last line comes out first; a last line
    // without a line end is not read; an empty line becomes "http://".
    testing_support::writeBytes(form->historyFilePath(), "a.example\r\n\r\nc.example\r\ntail-without-end");
    form.reset();
    start(u"mtp://x.fld/"_s);
    ASSERT_EQ(form->URL->count(), 3);
    EXPECT_EQ(form->URL->itemText(0), u"http://c.example"_s);
    EXPECT_EQ(form->URL->itemText(1), u"http://"_s);
    EXPECT_EQ(form->URL->itemText(2), u"http://a.example"_s);
}

TEST_F(StartupTest, DefaultDomainIsAppliedOnlyWhenDomainsWereChosen) {
    CRegSettings s = settings();
    s.SaveSetting(u"Preferences"_s, u"defaultSchema"_s, u"NZGLS"_s);
    s.SaveSetting(u"Preferences"_s, u"fixMeta"_s, u"Y"_s);
    s.SaveSetting(u"Preferences\\Schemas"_s, u"NZGLS"_s, u"Y"_s);
    modSchemas::defaultSchema.clear();
    start(u"mtp://x.fld/"_s);
    EXPECT_EQ(modSchemas::defaultSchema, u"NZGLS"_s);
    EXPECT_TRUE(modSchemas::linkRelLines.contains(u"schema.NZGLS"_s));
    EXPECT_EQ(Preferences::fixMeta, u"N"_s);
}

TEST_F(StartupTest, AStoredDomainSurvivesARunThatNeverReadIt) {
    CRegSettings s = settings();
    s.SaveSetting(u"Preferences"_s, u"defaultSchema"_s, u"AGLS1.3"_s);
    modSchemas::defaultSchema.clear();
    start(u"mtp://x.fld/"_s);
    EXPECT_TRUE(modSchemas::defaultSchema.isEmpty());  // no domains chosen: not read
    form->close();
    EXPECT_EQ(s.GetSetting(u"Preferences"_s, u"defaultSchema"_s, QString()), u"AGLS1.3"_s);
}

}  // namespace
