#pragma once
#include "core/program/CRegSettings.h"
#include "core/program/ProgramContext.h"

class QMainWindow;
class QRect;

// The main window's stored settings: its place on screen, the paths and preferences, the
// function-key macros and the chosen domains, read at start-up and written back.
class WindowSettings {
public:
    WindowSettings(ProgramContext& context, QMainWindow& window);

    // Reads them, placing the window; returns the hierarchy pane's width for that window.
    double GetRegSettings();
    // Writes them back; a store that cannot be written is told once, with the reason.
    void savePreferences();
    // Once the window manager framed the window: a first start centres the whole frame, and
    // a window left on a larger screen is brought onto this one.
    void checkFrameOnScreen();

private:
    // Puts the window's frame, decorations included, at this rectangle (pixels).
    void placeFrame(const QRect& frame);
    // The domain steps of the preferences: the Resources menu, the default domain.
    void readDomainPreferences();
    void writeDomainPreference();
    void writePreferences();

    ProgramContext& context;
    QMainWindow& window;
    CRegSettings formSettings;
    bool defaultSchemaRead_ = false;
    // No window position was stored; the frame is checked once the window manager framed it.
    bool firstStart_ = false;
    bool frameChecked_ = false;
};
