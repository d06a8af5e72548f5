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
#include "support/CommandRecorder.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedUi.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>

using testing_support::CommandRecorder;
using testing_support::FreshStore;

namespace {

CRegSettings settings() {
    CRegSettings s;
    s.setCompany(QStringLiteral("Orvane Consulting"));
    s.setAppName(QStringLiteral("Quorvantil"));
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
        qputenv("QUORVANTIL_SCHEME_SERVER", QStringLiteral("127.0.0.1:%1").arg(server.port()).toUtf8());
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
    EXPECT_EQ(recorder.commands, (QStringList{QStringLiteral("mtp://startlogging.kqb"),
                                              QStringLiteral("mtp://delete=all.kqs/"),
                                              QStringLiteral("mtp://delete=all.kqi/")}));
    EXPECT_EQ(form->URL->currentText(), QStringLiteral("http://") + modMetaMain::schemeServer);
    // The home page was read for its metadata.
    EXPECT_EQ(form->recordLines(), (MetadataRecord{{QStringLiteral("DC.Title"), QStringLiteral("Scheme server home"), {}, {}}}));
    for (const char* folder : {"cache", "cache/indexes", "cache/schema", "cache/schemes", "schemes"})
        EXPECT_TRUE(QFileInfo(platform::programDataFolder() + QLatin1Char('/') + QLatin1String(folder)).isDir()) << folder;
}

TEST_F(StartupTest, WebAddressesOpenWithoutStartingTheLog) {
    settings().SaveSetting(QStringLiteral("Preferences"), QStringLiteral("ClearCache"), QStringLiteral("y"));
    const QString page = server.url(QStringLiteral("/a page.htm"));
    start(page);
    EXPECT_TRUE(recorder.commands.isEmpty());  // "y" is not "Y": the caches stay
    EXPECT_EQ(form->URL->currentText(), page);
    EXPECT_EQ(form->MetaPanel->Count(), 1);
    form.reset();
    // An https address is a web address too (this server speaks no TLS, so the read fails).
    testing_support::ScriptedMsgBoxes boxes;
    boxes.expect(QStringLiteral("ErrorCode: "), platform::vbOK);
    const QString secure = QStringLiteral("https://127.0.0.1:%1/secure.htm").arg(server.port());
    start(secure);
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(form->URL->currentText(), secure);
}

TEST_F(StartupTest, CommandsRunAsTheyStand) {
    settings().SaveSetting(QStringLiteral("Preferences"), QStringLiteral("ClearCache"), QStringLiteral("N"));
    start(QStringLiteral("mtp://field=DC.Subject&content=Heart \"Disease\".fld/"));
    EXPECT_EQ(recorder.commands, QStringList{QStringLiteral("mtp://field=DC.Subject&content=Heart \"Disease\".fld/")});
}

TEST_F(StartupTest, FilePathsOpenAndListsNameTheirRoot) {
    settings().SaveSetting(QStringLiteral("Preferences"), QStringLiteral("ClearCache"), QStringLiteral("N"));
    start(QStringLiteral("/home/ann/my lists/Subjects.kqs"));
    EXPECT_EQ(form->listType, QStringLiteral("schema"));
    EXPECT_EQ(form->rootName, QStringLiteral("Subjects"));
    EXPECT_EQ(recorder.commands, QStringList{QStringLiteral("mtp://open=/home/ann/my lists/Subjects.kqs")});
    form.reset();
    recorder.commands.clear();
    start(QStringLiteral("/srv/v1.2/Main Catalog.KQI"));
    EXPECT_EQ(form->listType, QStringLiteral("indexes"));
    EXPECT_EQ(form->rootName, QStringLiteral("Main Catalog"));
    form.reset();
    recorder.commands.clear();
    start(QStringLiteral("/pages/a.htm"));
    EXPECT_TRUE(form->listType.isEmpty());
    EXPECT_TRUE(form->rootName.isEmpty());
    EXPECT_EQ(recorder.commands, QStringList{QStringLiteral("mtp://open=/pages/a.htm")});
}

TEST(StartupNames, ListBaseName) {
    EXPECT_EQ(modMetaMain::listBaseName(QStringLiteral("/a/b/Subjects.kqs")), QStringLiteral("Subjects"));
    EXPECT_EQ(modMetaMain::listBaseName(QStringLiteral("/a/v1.2/noext")), QStringLiteral("noext"));
    EXPECT_EQ(modMetaMain::listBaseName(QStringLiteral("Subjects.kqs")), QString());
    EXPECT_EQ(modMetaMain::listBaseName(QStringLiteral("/a/b/plain")), QString());
}

TEST_F(StartupTest, FileTypesAreAssociatedInTheStoreAndWithTheDesktop) {
    start(QStringLiteral("mtp://x.fld/"));
    auto& reg = platform::registry();
    for (const char* ext : {".kqi", ".kqs", ".kqb"}) {
        const auto cls = reg.queryValue(platform::RegistryRoot::ClassesRoot, QLatin1String(ext), QString());
        ASSERT_TRUE(cls.has_value()) << ext;
        EXPECT_EQ(cls->data, QStringLiteral("Quorvantile.Document"));
    }
    EXPECT_EQ(reg.queryValue(platform::RegistryRoot::ClassesRoot, QStringLiteral("Quorvantile.Document"), QString())->data,
              QStringLiteral("Quorvantile Document"));
    const auto command = reg.queryValue(platform::RegistryRoot::ClassesRoot,
                                        QStringLiteral("Quorvantile.Document\\shell\\open\\command"), QString());
    ASSERT_TRUE(command.has_value());
    EXPECT_TRUE(command->data.endsWith(QStringLiteral(" %1")));
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    QFile mime(data + QStringLiteral("/mime/packages/quorvantil.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    const QByteArray xml = mime.readAll();
    EXPECT_TRUE(xml.contains("*.kqi") && xml.contains("*.kqs") && xml.contains("*.kqb"));
    EXPECT_TRUE(QFileInfo::exists(data + QStringLiteral("/applications/quorvantil.desktop")));
}

TEST_F(StartupTest, FirstStartTakesEveryDefault) {
    start(QStringLiteral("mtp://x.fld/"));
    using namespace Preferences;
    EXPECT_EQ(Home, QStringLiteral("http://") + modMetaMain::schemeServer);
    EXPECT_EQ(charEncoding, QStringLiteral("2"));
    EXPECT_EQ(UseLinkRel, QStringLiteral("Y"));
    EXPECT_EQ(CompleteMtp, QStringLiteral("Y"));
    EXPECT_EQ(ClearCache, QStringLiteral("Y"));
    EXPECT_EQ(showSplash, QStringLiteral("Y"));
    EXPECT_EQ(checkHarvest, QStringLiteral("N"));
    EXPECT_EQ(Language, QStringLiteral("Australian"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("The Orvane Quorvantile"));
    EXPECT_EQ(form->size(), QSize(platform::twipsToPixels(10110), platform::twipsToPixels(7050)));
    EXPECT_EQ(form->TreePath, platform::programDataFolder() + QStringLiteral("/schemes/"));
    EXPECT_EQ(form->StatusBar1->panelTag(2), QStringLiteral("Record"));
}

TEST_F(StartupTest, PreferencesRoundTripThroughTheStore) {
    CRegSettings s = settings();
    s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("Home"), QStringLiteral("http://home.example/"));
    s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("charEncoding"), QStringLiteral("1"));
    s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("CompleteMTP"), QStringLiteral("N"));
    s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("fixMeta"), QStringLiteral("Y"));
    s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("F5"), QStringLiteral("mtp://open=/t/x.kqb"));
    s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("F6"), QStringLiteral("UNUSED key"));
    s.SaveSetting(QStringLiteral("File Settings"), QStringLiteral("FilePath"), QStringLiteral("/pages/site/index.htm"));
    s.SaveSetting(QStringLiteral("Position Data"), QStringLiteral("Left"), QStringLiteral("not a number"));
    start(QStringLiteral("mtp://x.fld/"));
    EXPECT_EQ(Preferences::Home, QStringLiteral("http://home.example/"));
    EXPECT_EQ(Preferences::charEncoding, QStringLiteral("1"));
    EXPECT_EQ(Preferences::CompleteMtp, QStringLiteral("N"));
    // No domains chosen: the reader ends early and fixMeta keeps the text read.
    EXPECT_EQ(Preferences::fixMeta, QStringLiteral("Y"));
    EXPECT_EQ(form->FilePath, QStringLiteral("/pages/site/"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences\\Macros"), QStringLiteral("F5"), QString()),
              QStringLiteral("F5 - Macro|mtp://open=/t/x.kqb"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences\\Macros"), QStringLiteral("F6"), QStringLiteral("-")),
              QStringLiteral("-"));

    form->move(platform::twipsToPixels(3000), platform::twipsToPixels(2000));
    form->BatchPath = QStringLiteral("/batches/");
    form->close();  // the close writes everything back
    EXPECT_EQ(s.GetSetting(QStringLiteral("File Settings"), QStringLiteral("BatchPath"), QString()), QStringLiteral("/batches/"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences"), QStringLiteral("CompleteMtp"), QString()), QStringLiteral("N"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences"), QStringLiteral("F5"), QStringLiteral("gone")), QStringLiteral("gone"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Position Data"), QStringLiteral("Width"), QString()),
              QString::number(platform::pixelsToTwips(form->width())));
    EXPECT_FALSE(s.GetSetting(QStringLiteral("Position Data"), QStringLiteral("Left"), QString()).contains(QLatin1String("not")));

    // The next start restores what the close wrote.
    form.reset();
    start(QStringLiteral("mtp://x.fld/"));
    EXPECT_EQ(form->BatchPath, QStringLiteral("/batches/"));
}

TEST_F(StartupTest, TransferStatesShowTheirTexts) {
    start(QStringLiteral("mtp://x.fld/"));
    form->Inet1_StateChanged(7);
    EXPECT_EQ(form->StatusBar1->panelText(3), QStringLiteral("Receiving Response"));
    form->Inet1_StateChanged(10);
    EXPECT_EQ(form->StatusBar1->panelText(3), QStringLiteral("Finished Loading Metadata"));
    form->Inet1_StateChanged(12);
    EXPECT_EQ(form->StatusBar1->panelText(3), QString());
}

TEST_F(StartupTest, AddressHistoryKeepsNineteenNewestFirst) {
    start(QStringLiteral("mtp://x.fld/"));
    QString bare = QStringLiteral("example.org");
    form->URLAddItem(bare);
    EXPECT_EQ(bare, QStringLiteral("http://example.org"));
    QString upper = QStringLiteral("HTTP://EXAMPLE.ORG");
    form->URLAddItem(upper);
    EXPECT_EQ(form->URL->count(), 1);
    for (int i = 0; i < 24; ++i) {
        QString a = QStringLiteral("http://site%1.example/").arg(i);
        form->URLAddItem(a);
    }
    form->saveURLList();
    QFile log(form->historyFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    EXPECT_EQ(lines.size(), 20);  // 19 lines and the empty rest after the last line end
    EXPECT_EQ(lines.first(), "http://site23.example/\r");
    log.close();

    // Reading puts each line on top: the file's last line comes out first; a last line
    // without a line end is not read; an empty line becomes "http://".
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("a.example\r\n\r\nc.example\r\ntail-without-end");
    log.close();
    form.reset();
    start(QStringLiteral("mtp://x.fld/"));
    ASSERT_EQ(form->URL->count(), 3);
    EXPECT_EQ(form->URL->itemText(0), QStringLiteral("http://c.example"));
    EXPECT_EQ(form->URL->itemText(1), QStringLiteral("http://"));
    EXPECT_EQ(form->URL->itemText(2), QStringLiteral("http://a.example"));
}

}  // namespace

namespace {

TEST_F(StartupTest, DefaultDomainIsAppliedOnlyWhenDomainsWereChosen) {
    CRegSettings s = settings();
    s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("defaultSchema"), QStringLiteral("NZGLS"));
    s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("fixMeta"), QStringLiteral("Y"));
    s.SaveSetting(QStringLiteral("Preferences\\Schemas"), QStringLiteral("NZGLS"), QStringLiteral("Y"));
    modSchemas::defaultSchema.clear();
    start(QStringLiteral("mtp://x.fld/"));
    EXPECT_EQ(modSchemas::defaultSchema, QStringLiteral("NZGLS"));
    EXPECT_TRUE(modSchemas::linkRelLines.contains(QLatin1String("schema.NZGLS")));
    EXPECT_EQ(Preferences::fixMeta, QStringLiteral("N"));
}

TEST_F(StartupTest, AStoredDomainSurvivesARunThatNeverReadIt) {
    CRegSettings s = settings();
    s.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("defaultSchema"), QStringLiteral("AGLS1.3"));
    modSchemas::defaultSchema.clear();
    start(QStringLiteral("mtp://x.fld/"));
    EXPECT_TRUE(modSchemas::defaultSchema.isEmpty());  // no domains chosen: not read
    form->close();
    EXPECT_EQ(s.GetSetting(QStringLiteral("Preferences"), QStringLiteral("defaultSchema"), QString()),
              QStringLiteral("AGLS1.3"));
}

}  // namespace
