#pragma once
#include "gui/catalogues/ListDocuments.h"

#include <QString>

class QWidget;
class NavigationPane;
class RecordPane;
class TreePane;
class FileMenu;
class ViewMenu;
class EditMenu;
class HelpMenu;
class MacrosMenu;

namespace platform {
class StatusBar;
}  // namespace platform

// What a pane (or a menu's handlers) asks of the window around it: the other panes and
// the menus' handlers, the status bar, the layout, and the few answers only the window has.
class WindowFrame {
public:
    virtual ~WindowFrame() = default;

    // File > Save As items, by the index the program gives them.
    enum FileSaveAsItem : int {
        kSaveAsPage = 1,
        kSaveAsServerRecord = 2,
        kSaveAsTemplate = 3,
        kSaveAsScheme = 4,
        kSaveAsCatalogue = 5,
        kSaveAsHarvestList = 6,
        kSaveAsRssChannel = 7,
    };

    // The other panes.
    virtual RecordPane& recordPane() = 0;
    virtual TreePane& treePane() = 0;
    virtual NavigationPane& navigationPane() = 0;
    // The menus' handlers.
    virtual FileMenu& fileMenu() = 0;
    virtual ViewMenu& viewMenu() = 0;
    virtual EditMenu& editMenu() = 0;
    virtual HelpMenu& helpMenu() = 0;
    virtual MacrosMenu& macrosMenu() = 0;

    // The status bar's panels: the current file, the document state, what the program is doing.
    enum StatusPanel : int { kFilePanel = 1, kDocumentPanel = 2, kActivityPanel = 3 };
    virtual platform::StatusBar& statusBar() = 0;
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
    // Help on a scheme the program knows no list for.
    virtual void showSchemeHelp(const QString& scheme) = 0;

    // A page that turned out to be a Harvest Control List or a channel, handed to the tree.
    virtual ListDocuments::LoadOutcome loadListPage(bool harvestList, const QString& location,
                                                    const QString& text) = 0;
};
