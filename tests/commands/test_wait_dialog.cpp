#include "CommandsTestSupport.h"


#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

using modMTP::CommandOrigin;
using testing_support::ScriptedModals;

namespace {

const QString kBusy = u"Already executing a macro please wait"_s;

class WaitDialogTest : public commands_test::CommandsTest {
protected:
    ScriptedModals modals;
    // A repository request is expected to run (and to say it cannot be sent in this build).
    void expectRequest(const QString& command, std::function<void()> whileRunning = {}) {
        boxes.expect(u"Repository requests are not available in this build: "_s + command, platform::vbOK,
                     std::move(whileRunning));
    }
    // Lets the dialog's timers do one round of their work, as their ticks would.
    static void tick(QDialog& dialog) {
        static_cast<frmWaitProcess&>(dialog).Timer1_Timer();
        static_cast<frmWaitProcess&>(dialog).Timer2_Timer();
    }
};

TEST_F(WaitDialogTest, RepositoryAndMacroSetBatchesRunInsideTheModalDialog) {
    bool ranInside = false;
    expectRequest(u"mtp://host/cgi-bin/rec?get.kqb/"_s, [&] {
        ranInside = frmWaitProcess::loadedInstance() && frmWaitProcess::loadedInstance()->isVisible();
    });
    modals.then(tick).then(tick);
    modMTP::cancelRequested = true;
    run(u"mtp://cgisend=host/cgi-bin/rec?get.kqb"_s);
    EXPECT_TRUE(ranInside);
    EXPECT_FALSE(modMTP::cancelRequested);
    // A macro set from the web runs there too; nothing listens there, so its fetch fails.
    boxes.expect(QString(), platform::vbOK);
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

TEST_F(WaitDialogTest, CancelClosesAtOnceAndAsksTheRunningWorkToStop) {
    bool cancelSeen = false;
    expectRequest(u"mtp://host/long.kqb/"_s, [&] {
        frmWaitProcess* wait = frmWaitProcess::loadedInstance();
        wait->pendingCommand = u"mtp://cgisend=host/later.kqb"_s;
        wait->Cancel->click();
        cancelSeen = modMTP::cancelRequested && !wait->isVisible();
    });
    modals.then([](QDialog& dialog) { static_cast<frmWaitProcess&>(dialog).Timer1_Timer(); });
    run(u"mtp://cgisend=host/long.kqb"_s);
    EXPECT_TRUE(cancelSeen);
    // What waited went with the dialog: loaded again for progress, it starts nothing (no box).
    tick(frmWaitProcess::Load());
}

TEST_F(WaitDialogTest, TheRepositoryIsAskedForItsSchemesAfterAWaitedCommand) {
    modMacros::saveRecordMacro = u"mtp://cgisend=host/cgi-bin/save?record.KQB"_s;
    modals.then(tick);
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
    boxes.expect(u"Allow this web page to run: mtp://cgisend=host/steal.kqb"_s, platform::vbNo);
    modals.then(tick);
    run(u"mtp://cgisend=host/steal.kqb"_s, CommandOrigin::Page);
    EXPECT_EQ(boxes.shown().size(), 1);  // refused: no request was made
}

}  // namespace
