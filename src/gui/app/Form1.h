#pragma once
#include "core/program/ProgramContext.h"

#include <QMainWindow>

#include <memory>

class CommandWindow;
class HelpMenu;
class Navigation;
class WindowFrame;

namespace platform {
class ModalRuns;
}  // namespace platform

// The main window: it builds the menus, the toolbar and the status bar, and composes the
// panes (navigation, hierarchy, record) and the menus' handlers, which do the work.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // `runs` runs the window's modal dialogs and drags.
    Form1(ProgramContext& context, platform::ModalRuns& runs, QWidget* parent = nullptr);
    ~Form1() override;

    // Reads the settings and readies the panes, as the window is first shown.
    void Form_Load();
    // The window's frame, its browser and its Help menu, as the start-up asks them.
    WindowFrame& frame();
    Navigation& navigation();
    HelpMenu& helpMenu();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The menus' and panes' holder, and what the panes ask of this window.
    struct Ui;
    class Frame;

    void buildControls();
    // Runs when the window is closed; true keeps it open.
    bool Form_Unload();
    // Returns true when the key is swallowed.
    bool Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void Form_KeyUp(int keyCode);

    // The program's state this window shows and changes.
    ProgramContext& context;
    platform::ModalRuns& runs;
    std::unique_ptr<Ui> ui;
    std::unique_ptr<Frame> frame_;
    // The window as the command language sees it, handed to it by the first window.
    std::unique_ptr<CommandWindow> commandWindow_;
    bool shiftDown = false;
};
