#include "gui/commands/CommandDialogWindows.h"

#include "core/program/CommandWindow.h"
#include "core/program/ProgramContext.h"
#include "gui/commands/frmSourceHTML.h"
#include "gui/commands/frmWaitProcess.h"

WaitDialog& CommandDialogWindows::loadWaitDialog(ProgramContext& context) {
    return frmWaitProcess::Load(context);
}

WaitDialog* CommandDialogWindows::loadedWaitDialog(ProgramContext& context) {
    return frmWaitProcess::loadedInstance(context);
}

void CommandDialogWindows::showWaitModal(ProgramContext& context) {
    // The window owns the dialog when there is one.
    if (CommandWindow* window = context.commands.window) window->showWaitModal();
    else frmWaitProcess::Load(context).showModal(nullptr, runs_);
}

MacroEditor& CommandDialogWindows::loadMacroEditor(ProgramContext& context) {
    return frmSourceHTML::Load(context);
}

void CommandDialogWindows::showMacroEditor(ProgramContext& context) {
    frmSourceHTML::showEditor(context);
}
