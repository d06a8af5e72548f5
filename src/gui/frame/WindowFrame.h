#pragma once

class QWidget;

namespace platform {
class ModalRuns;
class StatusBar;
}  // namespace platform

// What the window's parts ask of the frame around them: the status bar, the layout of the
// panes between the splitters, whether Shift is held, the client area (whose window owns the
// dialogs) and how modal dialogs and drags run.
class WindowFrame {
public:
    virtual ~WindowFrame() = default;

    // The status bar's panels: the current file, the document state, what the program is doing.
    enum StatusPanel : int { kFilePanel = 1, kDocumentPanel = 2, kActivityPanel = 3 };
    virtual platform::StatusBar& statusBar() = 0;
    // How the window's modal dialogs and drags run (the program's, or a test's).
    virtual platform::ModalRuns& modalRuns() = 0;
    // The area the panes lie in; dialogs of the window hang from window().
    virtual QWidget* clientArea() = 0;

    // The splitter positions (twips) as they stand, and a layout for new ones (corrected in place).
    virtual double splitterX() const = 0;
    virtual double splitterY() const = 0;
    virtual void SizeControls(double& x, double& y) = 0;
    // Lays the panes out again, the splitters where they stand.
    virtual void relayout() = 0;
    // Puts the horizontal splitter at this top (twips); the next layout starts from there.
    virtual void moveHSplitter(double y) = 0;
    // The hierarchy pane's width, which it takes again when it is shown.
    virtual double treePaneWidth() const = 0;
    // Where the horizontal splitter shows that many whole lines of the metadata panel.
    virtual double splitterForLines(int lines, double editHeight) const = 0;

    // Shift is held down in the window.
    virtual bool shiftDown() const = 0;
};
