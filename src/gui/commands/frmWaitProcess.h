#pragma once
#include "core/commands/modMTP.h"
#include "core/program/CommandDialogs.h"

#include <QDialog>
#include <QString>

class ProgramContext;
class QLabel;
class QPushButton;
class QTimer;

namespace platform {
class ModalRuns;
}  // namespace platform

// "Waiting on System Resources": runs a stored repository or macro-set command from its own
// timer while the command entry waits in its modal loop, and serves long operations as a
// progress window. It closes itself as soon as nothing is stored and no command runs.
class frmWaitProcess : public QDialog, public WaitDialog {
    Q_OBJECT
public:
    // The one dialog, created on first use. Loading starts its timers, which run whether the
    // dialog is on screen or not; a dialog loaded again after an unload starts from its
    // design captions. The stored command runs on `context`.
    static frmWaitProcess& Load(ProgramContext& context);
    // The context's dialog while it is loaded, else nullptr.
    static frmWaitProcess* loadedInstance(const ProgramContext& context);

    // Stops the timers and takes the dialog off the screen (ending a modal show).
    void Unload();
    bool isLoaded() const;
    // Shown modally over the owner; returns once the dialog has closed.
    void showModal(QWidget* owner, platform::ModalRuns& runs);
    // Shown modeless over the owner, for progress.
    void showModeless(QWidget* owner);

    void showText(const QString& text, const QString& title) override;
    void storeCommand(const QString& command, CommandOrigin origin) override;
    // The text of the progress shown.
    void setLabel(const QString& text);
    // Whether Cancel may be pressed.
    void setCancelAvailable(bool available);

    void Timer1_Timer();
    void Timer2_Timer();
    void Cancel_Click();

private:
    frmWaitProcess();
    void restoreDesign();
    void placeOver(QWidget* owner);

    // The command to run; empty when none. One slot: a later command replaces it.
    QString pendingCommand;
    modMTP::CommandOrigin pendingOrigin = modMTP::CommandOrigin::Program;

    QTimer* Timer1 = nullptr;  // 50 ms: starts the stored command when no command runs
    QTimer* Timer2 = nullptr;  // 1 ms: closes the dialog when idle
    QPushButton* Cancel = nullptr;
    QLabel* Label1 = nullptr;

    bool running_ = false;
    ProgramContext* context_ = nullptr;
};
