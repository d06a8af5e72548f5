#pragma once

class QMenuBar;
class ProgramContext;

namespace platform {
class ModalRuns;
}  // namespace platform

// Builds the main window's menus into its menu bar. Every item is named as the program
// names it; the menus' handlers find their items by these names.
void buildMainMenus(QMenuBar* bar, ProgramContext& context, platform::ModalRuns& runs);
