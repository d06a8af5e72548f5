#pragma once

#include <QString>

class QWidget;
class NavigationPane;
class ListTree;
class RecordPane;
class TreePane;
class FileMenu;
class ViewMenu;
class EditMenu;
class HelpMenu;
class MacrosMenu;

class QMimeData;
class QObject;

namespace platform {
class Inet;
class ModalRuns;
class StatusBar;
}  // namespace platform

// What a pane (or a menu's handlers) asks of the window around it: the status bar, the
// layout, and what the panes and menus of later folders answer. The record and tree panes
// ask through these operations; the window's own parts (gui/app) may take the other panes
// and the menus' handlers whole.
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

    // The other panes and the menus' handlers, for the window's own parts.
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

    // ---- for the panes of earlier folders ----------------------------------------------
    // The hierarchy pane: the list's save question; the list tree one of its views shows
    // (nullptr for anything else).
    virtual int saveListCheck(const QString& reason) = 0;
    virtual ListTree* treeShownBy(const QObject* object) const = 0;
    // The navigation pane: the address box, the browser, the transfer control and drops.
    virtual QString addressText() const = 0;
    virtual void setAddressText(const QString& address) = 0;
    // The address box's history entry of exactly this text becomes its current one.
    virtual void pickAddressEntry(const QString& address) = 0;
    // Puts the address into the address box and opens it.
    virtual void openAddress(const QString& address) = 0;
    virtual void LoadURLFromLocation() = 0;
    virtual QString browserLocationURL() const = 0;
    virtual QString browserLocationName() const = 0;
    // The visible text of the link with this exact href in the page shown.
    virtual QString linkNameOnPage(const QString& address) const = 0;
    virtual void URLAddItem(QString& address) = 0;
    virtual platform::Inet& inet() = 0;
    virtual void LoadDragDrop(const QString& item) = 0;
    virtual void dropOnWindow(const QMimeData* data) = 0;
    // The File menu: its views of the documents, Save As item 1..7 (true when saved), and
    // opening a path by its extension.
    virtual void setMnuFileSaveAs() = 0;
    virtual void showCurrentFile() = 0;
    virtual void enableSave() = 0;
    virtual void enableSaveList() = 0;
    virtual void mnuFileDraw() = 0;
    virtual void setSaveAsCaption(int item, const QString& caption) = 0;
    virtual bool saveAs(int item) = 0;
    virtual void LoadFromOpen(const QString& path) = 0;
    // The View menu: Metadata View and Tree View shown or hidden as their items do; the
    // marks of the Edit and Tree View items.
    virtual void showMetadataView() = 0;
    virtual void setEditViewChecked(bool on) = 0;
    virtual void mnuViewTreeView_Click() = 0;
    virtual bool treeViewChecked() const = 0;

    // Writes the window's place and the preferences into the settings store.
    virtual void savePreferences() = 0;
    // Shift is held down in the window.
    virtual bool shiftDown() const = 0;
    // Help on a scheme the program knows no list for.
    virtual void showSchemeHelp(const QString& scheme) = 0;

    // A page that turned out to be a Harvest Control List or a channel, handed to the tree;
    // true when the user kept the list shown instead.
    virtual bool loadListPage(bool harvestList, const QString& location, const QString& text) = 0;
};
