#pragma once
#include "core/program/CommandDialogs.h"

namespace platform {
class ModalRuns;
}  // namespace platform

// The wait dialog and the macro editor behind the commands' interface to them; `runs` runs
// the wait dialog shown modally while no window is open.
class CommandDialogWindows final : public CommandDialogs {
public:
    explicit CommandDialogWindows(platform::ModalRuns& runs) : runs_(runs) {}

    WaitDialog& loadWaitDialog(ProgramContext& context) override;
    WaitDialog* loadedWaitDialog(ProgramContext& context) override;
    void showWaitModal(ProgramContext& context) override;
    MacroEditor& loadMacroEditor(ProgramContext& context) override;
    void showMacroEditor(ProgramContext& context) override;

private:
    platform::ModalRuns& runs_;
};
