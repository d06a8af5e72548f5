// Start-up, the settings it reads and the close that writes them back.
#include "AppTestSupport.h"

#include "platform/Folders.h"
#include "platform/RegistryStore.h"
#include "platform/Twips.h"
#include "platform/WidgetInput.h"

#include <QCheckBox>
#include <QScopeGuard>

namespace {

class StartupTest : public ::testing::Test {
protected:
    testing_support::FreshStore store;
    CommandRecorder recorder;  // on each start's state
    testing_support::LocalHttpServer server;
    QByteArray oldServer = qgetenv("QUORVANTIL_SCHEME_SERVER");
    std::unique_ptr<testing_support::TestContext> context;  // each start's own, as a restarted program's
    std::unique_ptr<QMainWindow> form;
    platform::RegistryStore settings{store.storeFile()};  // the file every start's state keeps its settings in
    CRegSettings s{settings};
    void SetUp() override {
        server.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("<meta name=\"DC.Title\" content=\"Scheme server home\">", "text/html");
        });
        qputenv("QUORVANTIL_SCHEME_SERVER", u"127.0.0.1:%1"_s.arg(server.port()).toUtf8());
    }
    void TearDown() override {
        form.reset();
        recorder.detach();
        qputenv("QUORVANTIL_SCHEME_SERVER", oldServer);
    }
    void start(const QString& commandLine = u"mtp://x.fld/"_s) {
        form.reset();
        recorder.detach();
        recorder.commands.clear();
        context = std::make_unique<testing_support::TestContext>();
        recorder.attach(*context);
        form.reset(modMetaMain::Main(*context, testing_support::modalRuns(), commandLine));
    }
    void save(const QString& section, const QString& key, const QString& value) { s.SaveSetting(section, key, value); }
    QString get(const QString& section, const QString& key) const { return s.GetSetting(section, key, u"-"_s); }
};

TEST_F(StartupTest, PlainStartLogsGoesHomeAndClearsTheCaches) {
    save(u"Preferences\\Schemas"_s, u"Dublin Core"_s, QString());  // no welcome: a domain is stored
    save(u"Preferences"_s, u"defaultSchema"_s, u"Dublin Core"_s);
    start(QString());
    EXPECT_EQ(recorder.commands,
              (QStringList{u"mtp://startlogging.kqb"_s, u"mtp://delete=all.kqs/"_s, u"mtp://delete=all.kqi/"_s}));
    EXPECT_EQ(form->findChild<QComboBox*>(u"URL"_s)->currentText(), u"http://"_s + context->schemeServer);
    EXPECT_EQ(context->record.lines(), (MetadataRecord{{u"DC.Title"_s, u"Scheme server home"_s, {}, {}}}));
    EXPECT_TRUE(QFileInfo(platform::programDataFolder() + u"/cache/indexes"_s).isDir());
}

TEST_F(StartupTest, TheCommandLineOpensPagesRunsCommandsAndNamesLists) {
    save(u"Preferences"_s, u"ClearCache"_s, u"y"_s);  // "y" is not "Y": the caches stay
    const QString page = server.url(u"/a page.htm"_s);
    start(page);
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(form->findChild<QComboBox*>(u"URL"_s)->currentText(), page);
    EXPECT_EQ(context->record.count(), 1);
    const QString command = u"mtp://field=DC.Subject&content=Heart \"Disease\".fld/"_s;
    start(command);
    EXPECT_EQ(recorder.commands, QStringList{command});
    start(u"/srv/v1.2/Main Catalog.KQI"_s);
    EXPECT_EQ(recorder.commands, QStringList{u"mtp://open=/srv/v1.2/Main Catalog.KQI"_s});
    EXPECT_EQ(context->document.listType() + context->rootName, u"indexesMain Catalog"_s);
}

// A switch is read as the program always read it ("Y" exactly, or anything but "N") and
// written back as stored, whatever it holds.
TEST_F(StartupTest, SwitchesAreWrittenBackAsStoredWhateverTheyHold) {
    save(u"Preferences\\Schemas"_s, u"Dublin Core"_s, QString());
    save(u"Preferences"_s, u"defaultSchema"_s, u"Dublin Core"_s);
    const QStringList names = {u"ClearCache"_s, u"showSplash"_s, u"UseLinkRel"_s, u"CompleteMTP"_s, u"checkHarvest"_s};
    for (const QString& value : {u"y"_s, u"yes"_s, QString(), QString(10000, u'Y')}) {
        SCOPED_TRACE(value.left(5).toStdString());
        for (const QString& name : names) save(u"Preferences"_s, name, value);
        start(QString());
        // Not exactly "Y": no cache clearing and no splash; but the dialog shows them ticked.
        EXPECT_EQ(recorder.commands, QStringList{u"mtp://startlogging.kqb"_s});
        EXPECT_EQ(form->findChild<QDialog*>(u"frmAbout"_s), nullptr);
        form->findChild<QAction*>(u"mnuEditPrefs"_s)->trigger();
        auto* prefs = form->findChild<QDialog*>(u"frmPreferences"_s);
        ASSERT_NE(prefs, nullptr);
        const auto ticked = [prefs](const QString& name) { return child<QCheckBox>(*prefs, name)->isChecked(); };
        EXPECT_TRUE(ticked(u"chkClearCache"_s) && ticked(u"chkSplash"_s) && ticked(u"useLinkRel"_s) &&
                    ticked(u"chkmtpComplete"_s));
        press(*prefs, u"cmdCancel"_s);
        form->close();
        for (const QString& name : names) EXPECT_EQ(get(u"Preferences"_s, name), value) << name;
    }
}

TEST_F(StartupTest, FileTypesAreAssociatedInTheStoreAndWithTheDesktop) {
    start();
    const auto value = [this](const QString& key) {
        const auto found = settings.queryValue(platform::RegistryRoot::ClassesRoot, key, QString());
        return found ? found->data : QString();
    };
    for (const QString& ext : {u".kqi"_s, u".kqs"_s, u".kqb"_s}) EXPECT_EQ(value(ext), u"Quorvantile.Document"_s);
    EXPECT_TRUE(value(u"Quorvantile.Document\\shell\\open\\command"_s).endsWith(u" %1"_s));
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    const QByteArray xml = testing_support::readBytes(data + u"/mime/packages/quorvantil.xml"_s);
    EXPECT_TRUE(xml.contains("*.kqi") && xml.contains("*.kqs") && xml.contains("*.kqb"));
    EXPECT_TRUE(QFileInfo::exists(data + u"/applications/quorvantil.desktop"_s));
}

TEST_F(StartupTest, PreferencesRoundTripThroughTheStore) {
    save(u"Preferences"_s, u"Home"_s, u"http://home.example/"_s);
    save(u"Preferences"_s, u"CompleteMTP"_s, u"N"_s);
    save(u"Preferences"_s, u"F5"_s, u"mtp://open=/t/x.kqb"_s);
    save(u"File Settings"_s, u"FilePath"_s, u"/pages/site/index.htm"_s);
    save(u"Position Data"_s, u"Left"_s, u"not a number"_s);
    start();
    QApplication::processEvents();  // shown and framed
    EXPECT_EQ(context->preferences.Home + context->preferences.CompleteMtp.text(), u"http://home.example/N"_s);
    EXPECT_EQ(context->FilePath, u"/pages/site/"_s);
    EXPECT_EQ(get(u"Preferences\\Macros"_s, u"F5"_s), u"F5 - Macro|mtp://open=/t/x.kqb"_s);
    form->move(platform::twipsToPixels(3000), platform::twipsToPixels(2000));
    context->BatchPath = u"/batches/"_s;
    form->close();  // the close writes everything back
    EXPECT_EQ(get(u"Preferences"_s, u"CompleteMtp"_s) + get(u"Preferences"_s, u"F5"_s), u"N-"_s);
    EXPECT_EQ(get(u"Position Data"_s, u"Width"_s), QString::number(platform::pixelsToTwips(form->width())));
    EXPECT_FALSE(get(u"Position Data"_s, u"Left"_s).contains(u"not"_s));
    start();
    EXPECT_EQ(context->BatchPath, u"/batches/"_s);
}

TEST_F(StartupTest, AddressHistoryKeepsNineteenNewestFirst) {
    start();
    // Addresses typed into the box and opened with Enter; quitting writes the history.
    auto* box = form->findChild<QComboBox*>(u"URL"_s);
    const auto type = [box](const QString& address) {
        box->lineEdit()->setText(address);
        widget_input::key(box->lineEdit(), Qt::Key_Return);
    };
    for (int i = 0; i < 24; ++i) {
        type(u"site%1.example/"_s.arg(i));
        EXPECT_EQ(box->itemText(0), u"http://site%1.example/"_s.arg(i));
    }
    testing_support::ScriptedMsgBoxes boxes;  // a web address is read for its record: offline, it says so
    boxes.expect(u"host not found: site23.example"_s, platform::kAnswerOk);
    type(u"HTTP://SITE23.EXAMPLE/"_s);
    EXPECT_EQ(box->itemText(0), u"http://site23.example/"_s);  // there already, in any case
    form->close();
    const QList<QByteArray> lines =
        testing_support::readBytes(platform::programDataFolder() + u"/cache/URL.log"_s).split('\n');
    EXPECT_EQ(lines.size(), 20);  // 19 lines and the empty rest after the last line end
    EXPECT_EQ(lines[0] + lines[18], "http://site23.example/\rhttp://site5.example/\r");
    start();
    EXPECT_EQ(form->findChild<QComboBox*>(u"URL"_s)->count(), 19);
    EXPECT_EQ(form->findChild<QComboBox*>(u"URL"_s)->itemText(0), u"http://site5.example/"_s);  // each line read goes on top
}

TEST_F(StartupTest, TheDefaultDomainIsReadOnlyWhenDomainsWereChosenAndKeptOtherwise) {
    save(u"Preferences"_s, u"defaultSchema"_s, u"AGLS1.3"_s);
    start();
    EXPECT_TRUE(context->domain.defaultSchema.isEmpty());
    form->close();
    EXPECT_EQ(get(u"Preferences"_s, u"defaultSchema"_s), u"AGLS1.3"_s);
    save(u"Preferences"_s, u"defaultSchema"_s, u"NZGLS"_s);
    save(u"Preferences"_s, u"fixMeta"_s, u"Y"_s);
    save(u"Preferences\\Schemas"_s, u"NZGLS"_s, u"Y"_s);
    start();
    EXPECT_EQ(context->domain.defaultSchema, u"NZGLS"_s);
    EXPECT_TRUE(context->domain.linkRelLines.contains(u"schema.NZGLS"_s));
    EXPECT_EQ(context->preferences.fixMeta.text(), u"N"_s);
}

TEST_F(StartupTest, ANewUserChoosesADomainOnAPlainStartOnly) {
    testing_support::ScriptedModals modals;
    modals.then([](QDialog& welcome) {
        auto* domain = child<QComboBox>(welcome, u"Domain"_s);
        EXPECT_EQ(welcome.windowTitle() + u'|' + domain->currentText() + u'|' + domain->itemText(15),
                  u"Welcome to Quorvantile|Dublin Core (DC)|Other (Please type in to this box)"_s);
        widget_input::pick(domain, 1);
        press(welcome, u"Check2"_s);
        press(welcome, u"okButton"_s);
    });
    start(QString());
    EXPECT_EQ(recorder.commands.value(1), u"mtp://url="_s + context->schemeServer + u"/schemes/AGLS/AGLS1.3.kqs"_s);
    EXPECT_TRUE(form->findChild<QAction*>(u"mnuResAGLS1point3"_s)->isVisible());
    const auto& seen = testing_support::offlineBrowser(form->findChild<platform::WebBrowser*>(u"WebBrowser1"_s)).navigations();
    EXPECT_TRUE(seen.last().address.endsWith(u"/tutorial/AGLS.html"_s));
    start();  // a command line: no welcome
    testing_support::ScriptedMsgBoxes boxes;
    boxes.expect(u"Schema not found. Setting your default metadata domain to Dublin Core"_s, kAnswerOk);
    modals.then([](QDialog& welcome) {  // a short name is no catalogue name
        QLineEdit* typed = child<QComboBox>(welcome, u"Domain"_s)->lineEdit();
        typed->clear();
        widget_input::type(typed, u"DC-UTAH"_s);
        press(welcome, u"okButton"_s);
    });
    start(QString());
    EXPECT_EQ(context->domain.defaultSchema + get(u"Preferences\\Schemas"_s, u"AGLS1.3"_s), u"Dublin Core"_s);  // kept
}

// "*" names a section's default value; names are read in any case; listings keep order.
TEST_F(StartupTest, SettingsStarIsTheDefaultValueNamesIgnoreCaseAndListingsKeepOrder) {
    save(u"File Settings"_s, u"*"_s, u"dv"_s);
    EXPECT_EQ(s.GetAllSettings(u"File Settings"_s), (QList<SettingRow>{{QString(), u"dv"_s}}));
    EXPECT_TRUE(s.DeleteSetting(u"File Settings"_s, u"*"_s));
    EXPECT_EQ(get(u"File Settings"_s, u"*"_s), u"-"_s);
    save(u"Preferences\\Schemas"_s, u"Dublin Core"_s, u"Y"_s);
    save(u"Preferences\\Schemas"_s, u"AGLS1.3"_s, QString());
    EXPECT_EQ(s.GetAllSettings(u"Preferences\\Schemas"_s),
              (QList<SettingRow>{{u"Dublin Core"_s, u"Y"_s}, {u"AGLS1.3"_s, QString()}}));
    EXPECT_EQ(get(u"preferences\\schemas"_s, u"dublin core"_s), u"Y"_s);
}

// A catalogue opened by the program's argument, named from the folder the program starts in,
// is the same list as one opened by a command: its channel goes beside it, never over it.
TEST(StartupListTest, ACatalogueFromTheArgumentProposesItsChannelBesideIt) {
    testing_support::FreshStore store;
    testing_support::ScriptedModals modals;
    QTemporaryDir dir;
    testing_support::writeBytes(dir.filePath(u"zoo.kqi"_s), "Animals|\r\nAnimals|Cats|http://example.org/cats.htm\r\n");
    const QString started = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QStringList ways = {u"zoo.kqi"_s, u"mtp://open="_s + dir.filePath(u"zoo.kqi"_s)};
    for (const QString& commandLine : ways) {
        testing_support::TestContext context;
        std::unique_ptr<QMainWindow> form(modMetaMain::Main(context, testing_support::modalRuns(), commandLine));
        ASSERT_EQ(context.listTrees[size_t(context.treeIndex)].count(), 3) << commandLine;
        QString proposed;
        bool okEnabled = false;
        modals.then([&](QDialog& d) {
            proposed = d.findChild<QLineEdit*>(u"txtFilePath"_s)->text();
            d.findChild<QLineEdit*>(u"txtTitle"_s)->setText(u"Zoo"_s);
            d.findChild<QLineEdit*>(u"txtSiteURL"_s)->setText(u"http://example.org/"_s);
            okEnabled = d.findChild<QPushButton*>(u"OKButton"_s)->isEnabled();
            d.reject();
        });
        form->findChild<QAction*>(u"mnuFileSaveAs_7"_s)->trigger();
        EXPECT_EQ(proposed, dir.filePath(u"zoo.rss"_s)) << commandLine;
        EXPECT_TRUE(okEnabled) << commandLine;
    }
    QDir::setCurrent(started);
    EXPECT_EQ(testing_support::readBytes(dir.filePath(u"zoo.kqi"_s)), "Animals|\r\nAnimals|Cats|http://example.org/cats.htm\r\n");
}

// Settings that cannot be written (their folder would lie under a file, which fails for root
// too): OK in the preferences and quitting each say so once, with the system's reason.
TEST(SettingsWriteTest, PreferencesOkAndQuittingSayWhyTheSettingsWereNotSaved) {
    QTemporaryDir dir;
    const QString file = testing_support::writeBytes(dir.filePath(u"not a folder"_s), "x");
    testing_support::TestWindow w{QString(), {std::nullopt, file + u"/config/registry.reg"_s}};
    const QString why = u"Quorvantile could not save its preferences (cannot create the folder "_s + file +
                        u"/config: Not a directory)."_s;
    testing_support::ScriptedMsgBoxes boxes;
    boxes.expect(why, kAnswerOk).expect(why, kAnswerOk);
    w.find<QAction>(u"mnuEditPrefs"_s)->trigger();
    press(*w.find<QDialog>(u"frmPreferences"_s), u"cmdOK"_s);
    EXPECT_EQ(boxes.shown().size(), 1);
    w->close();
    EXPECT_EQ(boxes.shown().size(), 2);
}

}  // namespace

namespace {

// Two main windows in one process, each on its own program state: commands, the record and
// the dialogs of one never reach the other, and one closing leaves the other working.
TEST(TwoWindows, EachWorksOnItsOwnStateAndOneGoingLeavesTheOther) {
    testing_support::FreshStore store;
    testing_support::TestContext first;
    testing_support::TestContext second;
    std::unique_ptr<QMainWindow> one(modMetaMain::openMainWindow(first, testing_support::modalRuns()));
    std::unique_ptr<QMainWindow> two(modMetaMain::openMainWindow(second, testing_support::modalRuns()));
    modMTP::runMtpCommand(first, u"mtp://field=DC.Title&content=One.fld/"_s);
    modMTP::runMtpCommand(second, u"mtp://field=DC.Title&content=Two.fld/"_s);
    EXPECT_EQ(first.record.lines(), (MetadataRecord{{u"DC.Title"_s, u"One"_s, {}, {}}}));
    EXPECT_EQ(second.record.lines(), (MetadataRecord{{u"DC.Title"_s, u"Two"_s, {}, {}}}));
    EXPECT_EQ(one->findChild<MetaPanelView*>(u"MetaPanel"_s)->model()->rowCount() + two->findChild<MetaPanelView*>(u"MetaPanel"_s)->model()->rowCount(), 2);

    one->findChild<QAction*>(u"mnuEditPrefs"_s)->trigger();
    two->findChild<QAction*>(u"mnuEditPrefs"_s)->trigger();
    auto* prefsOne = one->findChild<QDialog*>(u"frmPreferences"_s);
    auto* prefsTwo = two->findChild<QDialog*>(u"frmPreferences"_s);
    ASSERT_TRUE(prefsOne && prefsTwo);
    EXPECT_NE(prefsOne, prefsTwo);
    typeOver(*prefsOne, u"txtHome"_s, u"http://one.example/"_s);
    press(*prefsOne, u"cmdOK"_s);
    press(*prefsTwo, u"cmdCancel"_s);
    EXPECT_EQ(first.preferences.Home, u"http://one.example/"_s);
    EXPECT_NE(second.preferences.Home, u"http://one.example/"_s);

    one.reset();
    modMTP::runMtpCommand(second, u"mtp://field=DC.Subject&content=Still here.fld/"_s);
    EXPECT_EQ(second.record.count(), 2);
    EXPECT_EQ(first.commands.window, nullptr) << "a window gone is no longer the one commands work on";
}

}  // namespace
