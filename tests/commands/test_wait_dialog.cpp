#include "CommandsTestSupport.h"

#include "platform/MsgBox.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

using commands_test::CommandsTest;
using modMTP::CommandOrigin;
using testing_support::ScriptedModals;
using testing_support::ScriptedMsgBoxes;

namespace {

const QString kBusy = u"Already executing a macro please wait"_s;
// What a repository request answers while requests cannot be sent.
const QString kRequest = u"Repository requests are not available in this build: "_s;

class WaitDialogTest : public CommandsTest {
protected:
    ScriptedMsgBoxes boxes;
    // A repository request is expected to run (and to say it cannot be sent).
    void expectRequest(const QString& command, std::function<void()> whileRunning = {}) {
        boxes.expect(kRequest + command, platform::vbOK, std::move(whileRunning));
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
    expectRequest(u"mtp://host/cgi-bin/rec?get.kqb/"_s, [&] {
        ranInside = frmWaitProcess::loadedInstance() && frmWaitProcess::loadedInstance()->isVisible();
    });
    modals.then([&](QDialog& dialog) {
        auto& wait = static_cast<frmWaitProcess&>(dialog);
        EXPECT_EQ(wait.windowTitle(), u"Waiting on System Resources"_s);
        EXPECT_EQ(wait.Label1->text(), u"Waiting on System Resources"_s);
        EXPECT_EQ(wait.pendingCommand, u"mtp://cgisend=host/cgi-bin/rec?get.kqb"_s);
        tick(wait);
    });
    modMTP::cancelRequested = true;
    run(u"mtp://cgisend=host/cgi-bin/rec?get.kqb"_s);
    EXPECT_TRUE(ranInside);
    EXPECT_FALSE(modMTP::cancelRequested);

    // A macro set from the web runs there too: the dialog is shown and runs it.
    modals.then([&](QDialog& dialog) { tick(static_cast<frmWaitProcess&>(dialog)); });
    boxes.expect(QString(), platform::vbOK);  // nothing listens there: the fetch fails
    run(u"mtp://url=127.0.0.1:9/macroset.kqb"_s);
    EXPECT_EQ(boxes.shown().last().title, u"Macro load error"_s);
    EXPECT_EQ(frmWaitProcess::loadedInstance(), nullptr);
    EXPECT_FALSE(modMTP::macroRunning);
}

TEST_F(WaitDialogTest, ACommandRefusedWhileAnotherRunsWaitsInTheHiddenDialog) {
    // The second command arrives while the first is still in the dispatcher.
    QTimer::singleShot(0, [] { run(u"mtp://cgisend=host/save?rec.kqb"_s); });
    boxes.expect(kBusy, platform::vbOK);
    dispatch(u"mtp://field=DC.Title&content=First.fld"_s);

    frmWaitProcess* wait = frmWaitProcess::loadedInstance();
    ASSERT_NE(wait, nullptr);
    EXPECT_FALSE(wait->isVisible());
    expectRequest(u"mtp://host/save?rec.kqb/"_s);
    tick(*wait);
    EXPECT_EQ(frmWaitProcess::loadedInstance(), nullptr);
}

TEST_F(WaitDialogTest, ACommandRefusedDuringTheStoredOneRunsAfterIt) {
    ScriptedModals modals;
    expectRequest(u"mtp://host/first.kqb/"_s, [] {
        // The stored command is running: neither a second start nor a second command gets in.
        frmWaitProcess::loadedInstance()->Timer1_Timer();
        run(u"mtp://cgisend=host/second.kqb"_s);
    });
    boxes.expect(kBusy, platform::vbOK);
    expectRequest(u"mtp://host/second.kqb/"_s);
    modals.then([&](QDialog& dialog) {
        auto& wait = static_cast<frmWaitProcess&>(dialog);
        tick(wait);
        EXPECT_TRUE(wait.isVisible());  // the refused command still waits
        EXPECT_EQ(wait.pendingCommand, u"mtp://cgisend=host/second.kqb"_s);
        tick(wait);
    });
    run(u"mtp://cgisend=host/first.kqb"_s);
    EXPECT_EQ(frmWaitProcess::loadedInstance(), nullptr);
}

TEST_F(WaitDialogTest, CancelClosesAtOnceAndAsksTheRunningWorkToStop) {
    ScriptedModals modals;
    bool cancelSeen = false;
    expectRequest(u"mtp://host/long.kqb/"_s, [&] {
        frmWaitProcess* wait = frmWaitProcess::loadedInstance();
        wait->pendingCommand = u"mtp://cgisend=host/later.kqb"_s;
        wait->Cancel->click();
        cancelSeen = modMTP::cancelRequested && !wait->isVisible();
    });
    modals.then([&](QDialog& dialog) { static_cast<frmWaitProcess&>(dialog).Timer1_Timer(); });
    run(u"mtp://cgisend=host/long.kqb"_s);
    EXPECT_TRUE(cancelSeen);
    EXPECT_EQ(frmWaitProcess::loadedInstance(), nullptr);
    // What waited went with the dialog: loading it for progress starts nothing (no box).
    frmWaitProcess& wait = frmWaitProcess::Load();
    tick(wait);
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
    modMacros::saveRecordMacro = u"mtp://cgisend=host/cgi-bin/save?record.KQB"_s;
    modals.then([](QDialog& dialog) { tick(static_cast<frmWaitProcess&>(dialog)); });
    expectRequest(u"mtp://host/cgi-bin/get?record.kqb/"_s);
    expectRequest(u"mtp://host/cgi-bin/save?record?returnSchemes.kqb/"_s);
    run(u"mtp://cgisend=host/cgi-bin/get?record.kqb"_s);

    // Also after a refusal; and a repository command without ".kqb" cannot be asked.
    modMacros::saveRecordMacro = u"mtp://cgisend=host/cgi-bin/save"_s;
    boxes.expect(kBusy, platform::vbOK).expect(u"Couldn't check for Repository Schemes"_s, platform::vbOK);
    modMTP::macroRunning = true;
    run(u"mtp://cgisend=host/x.kqb"_s);
    modMTP::macroRunning = false;
    EXPECT_EQ(boxes.shown().last().title, u"Couldn't get Repository Base Address"_s);
}

TEST_F(WaitDialogTest, APageCommandKeepsItsOriginThroughTheDialog) {
    ScriptedModals modals;
    boxes.expect(u"Allow this web page to run: mtp://cgisend=host/steal.kqb"_s, platform::vbNo);
    modals.then([](QDialog& dialog) { tick(static_cast<frmWaitProcess&>(dialog)); });
    run(u"mtp://cgisend=host/steal.kqb"_s, CommandOrigin::Page);
    EXPECT_EQ(boxes.shown().size(), 1);  // refused: no request was made
}

}  // namespace
