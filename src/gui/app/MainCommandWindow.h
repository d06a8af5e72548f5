#pragma once
#include "core/program/CommandWindow.h"

#include <memory>

class ProgramContext;
class WindowFrame;

// The main window as the command language sees it, answered by the window's panes and menus.
std::unique_ptr<CommandWindow> makeMainCommandWindow(ProgramContext& context, WindowFrame& frame);
