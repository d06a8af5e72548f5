#pragma once
#include "core/program/CommandDialogs.h"

// The wait dialog and the macro editor behind the commands' interface to them.
class CommandDialogWindows final : public CommandDialogs {
public:
    WaitDialog& loadWaitDialog(ProgramContext& context) override;
    WaitDialog* loadedWaitDialog(ProgramContext& context) override;
    void showWaitModal(ProgramContext& context) override;
    MacroEditor& loadMacroEditor(ProgramContext& context) override;
    void showMacroEditor(ProgramContext& context) override;
};
