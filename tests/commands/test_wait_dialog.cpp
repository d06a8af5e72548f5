#include "CommandsTestSupport.h"

#include "platform/MsgBox.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

using commands_test::CommandsTest;
using modMTP::CommandOrigin;
using testing_support::ScriptedModals;
using testing_support::ScriptedMsgBoxes;

namespace {

const QString kBusy = u"Already executing a macro please wait"_s;

class WaitDialogTest : public CommandsTest {
protected:
    // Handler calls seen, with a hook that runs inside the first call of one handler.
    QStringList calls;
    std::function<void()> duringFirst;
    QString hookedHandler;

    void SetUp() override {
        CommandsTest::SetUp();
        modMTP::setHandlerProbe([this](const QString& handler, const QStringList& arguments) {
            calls << handler + QLatin1Char('(') + arguments.join(QLatin1Char('|')) + QLatin1Char(')');
            if (handler == hookedHandler && duringFirst) std::exchange(duringFirst, {})();
            return true;
        });
    }
    void TearDown() override {
        modMTP::setHandlerProbe({});
        CommandsTest::TearDown();
    }
    // Lets the dialog's timers do one round of their work, as their ticks would.
    static void tick(frmWaitProcess& dialog) {
        dialog.Timer1_Timer();
        dialog.Timer2_Timer();
    }
};

TEST_F(WaitDialogTest, RepositoryAndMacroSetBatchesRunInsideTheModalDialog) {
    ScriptedModals modals;
    bool ranInside = false;
    modals.then([&](QDialog& dialog) {
        auto& wait = static_cast<frmWaitProcess&>(dialog);
        EXPECT_EQ(wait.windowTitle(), u"Waiting on System Resources"_s);
        EXPECT_EQ(wait.Label1->text(), u"Waiting on System Resources"_s);
        EXPECT_EQ(wait.pendingCommand, u"mtp://cgisend=host/cgi-bin/rec?get.kqb"_s);
        tick(wait);
        ranInside = calls.size() == 1;
    });
    modals.then([&](QDialog& dialog) { tick(static_cast<frmWaitProcess&>(dialog)); });
    modMTP::cancelRequested = true;
    run(u"mtp://cgisend=host/cgi-bin/rec?get.kqb"_s);
    EXPECT_TRUE(ranInside);
    EXPECT_FALSE(modMTP::cancelRequested);
    run(u"mtp://url=host/macroset.kqb"_s);
    // Other commands never see the dialog.
    run(u"mtp://url=host/cgisend.kqs"_s);
    EXPECT_EQ(calls, QStringList({"cgiSend(mtp://host/cgi-bin/rec?get.kqb/)",
                                  "runBatchFile(mtp://url=host/macroset.kqb)", "loadList(url=host/cgisend.kqs)"}));
    EXPECT_EQ(frmWaitProcess::loadedInstance(), nullptr);
    EXPECT_FALSE(modMTP::macroRunning);
}

TEST_F(WaitDialogTest, ACommandRefusedWhileAnotherRunsWaitsInTheHiddenDialog) {
    ScriptedMsgBoxes boxes;
    boxes.expect(kBusy, platform::vbOK);
    hookedHandler = u"loadList"_s;
    duringFirst = [] { run(u"mtp://cgisend=host/save?rec.kqb"_s); };
    dispatch(u"mtp://url=host/list.kqs"_s);
    EXPECT_EQ(calls, QStringList({"loadList(url=host/list.kqs)"}));

    frmWaitProcess* wait = frmWaitProcess::loadedInstance();
    ASSERT_NE(wait, nullptr);
    EXPECT_FALSE(wait->isVisible());
    tick(*wait);
    EXPECT_EQ(calls.last(), u"cgiSend(mtp://host/save?rec.kqb/)"_s);
    EXPECT_EQ(frmWaitProcess::loadedInstance(), nullptr);
}

TEST_F(WaitDialogTest, ACommandRefusedDuringTheStoredOneRunsAfterIt) {
    ScriptedMsgBoxes boxes;
    ScriptedModals modals;
    boxes.expect(kBusy, platform::vbOK);
    hookedHandler = u"cgiSend"_s;
    duringFirst = [] {
        // The stored command is running: neither a second start nor a second command gets in.
        frmWaitProcess::loadedInstance()->Timer1_Timer();
        run(u"mtp://cgisend=host/second.kqb"_s);
    };
    modals.then([&](QDialog& dialog) {
        auto& wait = static_cast<frmWaitProcess&>(dialog);
        tick(wait);
        EXPECT_TRUE(wait.isVisible());  // the refused command still waits
        EXPECT_EQ(wait.pendingCommand, u"mtp://cgisend=host/second.kqb"_s);
        tick(wait);
    });
    run(u"mtp://cgisend=host/first.kqb"_s);
    EXPECT_EQ(calls, QStringList({"cgiSend(mtp://host/first.kqb/)", "cgiSend(mtp://host/second.kqb/)"}));
    EXPECT_EQ(frmWaitProcess::loadedInstance(), nullptr);
}

TEST_F(WaitDialogTest, CancelClosesAtOnceAndAsksTheRunningWorkToStop) {
    ScriptedModals modals;
    hookedHandler = u"cgiSend"_s;
    bool cancelSeen = false;
    duringFirst = [&] {
        frmWaitProcess* wait = frmWaitProcess::loadedInstance();
        wait->pendingCommand = u"mtp://cgisend=host/later.kqb"_s;
        wait->Cancel->click();
        cancelSeen = modMTP::cancelRequested && !wait->isVisible();
    };
    modals.then([&](QDialog& dialog) { static_cast<frmWaitProcess&>(dialog).Timer1_Timer(); });
    run(u"mtp://cgisend=host/long.kqb"_s);
    EXPECT_TRUE(cancelSeen);
    EXPECT_EQ(frmWaitProcess::loadedInstance(), nullptr);
    // What waited went with the dialog: loading it for progress starts nothing.
    frmWaitProcess& wait = frmWaitProcess::Load();
    tick(wait);
    EXPECT_EQ(calls, QStringList({"cgiSend(mtp://host/long.kqb/)"}));
}

TEST_F(WaitDialogTest, AsAProgressWindowItClosesWhenNothingRuns) {
    frmWaitProcess& wait = frmWaitProcess::Load();
    wait.Label1->setText(u"Loading record:  10"_s);
    wait.setWindowTitle(u"Running Macro"_s);
    wait.Cancel->setEnabled(false);
    wait.showModeless(w.form.get());
    EXPECT_TRUE(wait.isVisible());
    modMTP::macroRunning = true;  // a command that showed it still runs
    wait.Timer2_Timer();
    EXPECT_TRUE(wait.isVisible());
    modMTP::macroRunning = false;
    wait.Timer2_Timer();
    EXPECT_FALSE(wait.isLoaded());
    frmWaitProcess::Load();  // loaded again, it starts from its own captions
    EXPECT_EQ(wait.Label1->text(), u"Waiting on System Resources"_s);
    EXPECT_TRUE(wait.Cancel->isEnabled());
}

TEST_F(WaitDialogTest, TheRepositoryIsAskedForItsSchemesAfterAWaitedCommand) {
    ScriptedModals modals;
    ScriptedMsgBoxes boxes;
    modMacros::saveRecordMacro = u"mtp://cgisend=host/cgi-bin/save?record.KQB"_s;
    modals.then([](QDialog& dialog) { tick(static_cast<frmWaitProcess&>(dialog)); });
    run(u"mtp://cgisend=host/cgi-bin/get?record.kqb"_s);
    EXPECT_EQ(calls, QStringList({"cgiSend(mtp://host/cgi-bin/get?record.kqb/)",
                                  "cgiSend(mtp://host/cgi-bin/save?record?returnSchemes.kqb/)"}));

    // Also after a refusal; and a repository command without ".kqb" cannot be asked.
    modMacros::saveRecordMacro = u"mtp://cgisend=host/cgi-bin/save"_s;
    boxes.expect(kBusy, platform::vbOK).expect(u"Couldn't check for Repository Schemes"_s, platform::vbOK);
    modMTP::macroRunning = true;
    run(u"mtp://cgisend=host/x.kqb"_s);
    modMTP::macroRunning = false;
    EXPECT_EQ(boxes.shown().at(1).title, u"Couldn't get Repository Base Address"_s);
    EXPECT_EQ(calls.size(), 2);
}

TEST_F(WaitDialogTest, APageCommandKeepsItsOriginThroughTheDialog) {
    ScriptedModals modals;
    ScriptedMsgBoxes boxes;
    boxes.expect(u"Allow this web page to run: mtp://cgisend=host/steal.kqb"_s, platform::vbNo);
    modals.then([](QDialog& dialog) { tick(static_cast<frmWaitProcess&>(dialog)); });
    run(u"mtp://cgisend=host/steal.kqb"_s, CommandOrigin::Page);
    EXPECT_TRUE(calls.isEmpty());
}

}  // namespace
