// The program's state is composed with the system's services it uses: each state keeps its
// settings in the file it was given, and starts programs, fetches and asks its user through
// what it was handed. None of it needs a widget.
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "core/program/CRegSettings.h"
#include "core/program/modRegistry.h"
#include "platform/RegistryStore.h"
#include "support/Common.h"
#include "support/core/TestContext.h"

#include <QTemporaryDir>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Two states in one process, each on a settings file of its own: the macros one stores are
// its own, and so is the set it publishes.
TEST(ProgramContext, EachStateKeepsItsSettingsInTheFileItWasGiven) {
    QTemporaryDir dir;
    const QString firstStore = dir.filePath(u"first/registry.reg"_s), secondStore = dir.filePath(u"second/registry.reg"_s);
    testing_support::TestContext first({std::nullopt, firstStore});
    testing_support::TestContext second({std::nullopt, secondStore});
    CRegSettings(first.settings).SaveSetting(modMacros::kMacroSection, u"F2"_s, u"Top|mtp://gotop.fld"_s);
    CRegSettings(second.settings).SaveSetting(modMacros::kMacroSection, u"F3"_s, u"Title|mtp://field=DC.Title&content=Two.fld"_s);

    testing_support::ScriptedFileDialogs dialogs;
    dialogs.choose(dir.filePath(u"first.kqb"_s)).choose(dir.filePath(u"second.kqb"_s));
    modMTP::publishMacroSet(first);
    modMTP::publishMacroSet(second);
    EXPECT_EQ(testing_support::readBytes(dir.filePath(u"first.kqb"_s)), "mtp://addmacro=mtp://gotop.fld&fkey=F2&text=Top.kqb\r\n");
    EXPECT_EQ(testing_support::readBytes(dir.filePath(u"second.kqb"_s)),
              "mtp://addmacro=mtp://field=DC.Title&content=Two.fld&fkey=F3&text=Title.kqb\r\n");
    EXPECT_EQ(CRegSettings(first.settings).GetAllSettings(modMacros::kMacroSection),
              (QList<SettingRow>{{u"F2"_s, u"Top|mtp://gotop.fld"_s}}));
    EXPECT_FALSE(testing_support::readBytes(secondStore).contains("gotop"));
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().first().title, u"Save Quorvantile Data"_s);
}

// The file types go into the state's own store, and the desktop's databases are brought up to
// date through the state's starter, only when its files changed.
TEST(ProgramContext, FileTypesGoIntoTheStatesStoreAndTheDesktopIsToldThroughItsStarter) {
    QTemporaryDir dir;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath(u"data"_s).toUtf8());
    testing_support::StartedProcesses started;
    testing_support::TestContext context({std::nullopt, dir.filePath(u"registry.reg"_s)});
    modRegistry::registerFileTypes(context);
    EXPECT_EQ(started, (QList<QStringList>{{u"update-mime-database"_s, dir.filePath(u"data/mime"_s)},
                                           {u"update-desktop-database"_s, dir.filePath(u"data/applications"_s)}}));
    const platform::RegistryStore store(dir.filePath(u"registry.reg"_s));
    for (const QString& extension : {u".kqi"_s, u".kqs"_s, u".kqb"_s}) {
        const auto value = store.queryValue(platform::RegistryRoot::ClassesRoot, extension, QString());
        EXPECT_EQ(value ? value->data : QString(), u"Quorvantile.Document"_s) << extension;
    }
    started.clear();
    modRegistry::registerFileTypes(context);
    EXPECT_TRUE(started.isEmpty());
    qputenv("XDG_DATA_HOME", dataHome);
}

// A batch on the web is fetched through the proxy the state was given: here a closed local
// port, so the fetch fails at once and the user is told.
TEST(ProgramContext, TransfersGoThroughTheProxyTheStateWasGiven) {
    testing_support::TestContext context({QNetworkProxy(QNetworkProxy::HttpProxy, u"127.0.0.1"_s, 9), std::nullopt});
    testing_support::ScriptedMsgBoxes boxes;
    boxes.expect(u"Connection refused"_s, platform::kAnswerOk);  // the host is never looked up
    QString command = u"mtp://url=http://batches.example/set.kqb"_s;
    modMTP::runBatchFile(context, command);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().title, u"Macro load error"_s);
}

// A box or a file dialog no test scripted fails the test that shows it at once, naming it, and
// is answered as if the user had cancelled it.
TEST(ProgramContext, ABoxOrAFileDialogNobodyScriptedFailsTheTestNamingIt) {
    testing_support::TestContext context;
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = context.user.MsgBox(u"Delete all Metadata lines?"_s, platform::kYesNo, u"Confirm"_s),
                            "Message box shown outside any script: \"Delete all Metadata lines?\" (title \"Confirm\")");
    EXPECT_EQ(answer, platform::kAnswerCancel);
    EXPECT_NONFATAL_FAILURE(modMTP::publishMacroSet(context), "File dialog shown outside any script: \"Save Quorvantile Data\"");
}

}  // namespace
