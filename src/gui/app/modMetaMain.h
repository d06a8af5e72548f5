#pragma once
#include <QString>

class QMainWindow;
class ProgramContext;

namespace platform {
class ModalRuns;
}  // namespace platform

namespace modMetaMain {

// The program's own hosts are answered from the scheme bundle installed with it, whatever
// scheme server is in use. The first step of Main.
void serveOwnHosts();


// Creates the cache folders under the program folder.
void createCacheDirs();

// The base name of a list file given on the command line ("" when it has no folder or no dot).
QString listBaseName(const QString& path);

// The main window on the program's state with its menus and panes built, its settings not
// yet read; `runs` runs its modal dialogs and drags.
QMainWindow* newMainWindow(ProgramContext& context, platform::ModalRuns& runs);

// The main window on the program's state, loaded as at start-up (its settings read, its
// menus built), not yet shown. Main starts with it; so do the tests.
QMainWindow* openMainWindow(ProgramContext& context, platform::ModalRuns& runs);

// Starts the program: defaults, cache folders, the main window, the command line (the whole
// text after the program's name), the cache clearing and the file types, on the program's
// state `context`, which outlives the window. Returns the window.
QMainWindow* Main(ProgramContext& context, platform::ModalRuns& runs, const QString& commandLine);

}  // namespace modMetaMain
