#pragma once
#include "core/program/CommandState.h"
#include "core/record/Record.h"

#include <QString>

namespace platform {
class Inet;
}  // namespace platform

// What the command language needs of the main window. The first window implements it and
// names itself in its context's command state; the command layer reaches the window only
// through it.
class CommandWindow {
public:
    virtual ~CommandWindow() = default;

    // ---- the record (the context's record, as the window shows it) -------------------------
    // Scrolls the metadata panel to the line.
    virtual void showLine(Record::LineId id) = 0;
    // Marks the metadata panel for painting.
    virtual void repaintRecord() = 0;
    // The line at this position (1 = first) becomes the current line.
    virtual void selectLine(int position) = 0;
    // Opens the current line in the edit panel.
    virtual void editCurrentLine() = 0;
    // Opens a line the command has just added, its content proposed for typing over.
    virtual void editProposedLine() = 0;
    // Marks the record modified after the list's save question; answers 2 on Cancel.
    virtual int markRecordModified(const QString& reason) = 0;
    // Removes every line, closes the edit panel and gives the browser the focus.
    virtual void clearRecord() = 0;
    virtual bool editPanelShown() const = 0;
    // Shows a line's new content in the open edit panel without writing it back.
    virtual void showInEditPanel(const QString& content) = 0;
    // Moves the panes' divider up by the edit panel's height, so a panel about to open
    // does not cover the lines.
    virtual void makeRoomForEditPanel() = 0;
    // Lays the panes out again where the dividers stand.
    virtual void layOut() = 0;
    // The record as the meta elements of a page head, after the domain's link lines when
    // the preference puts them there.
    virtual QString recordAsMetaBlock() const = 0;
    // Writes the record into a page file, or as a batch of field commands; true when written.
    virtual bool saveRecordAsPage(const QString& path) = 0;
    virtual bool saveRecordAsBatch(const QString& path) = 0;

    // ---- pages ----------------------------------------------------------------------------
    // What became of the page a command opened.
    enum class PageLoad {
        NotRead,         // nothing read (not a page file, or the browser did not ask)
        Read,            // the record and the page text are that page's
        Failed,          // the page could not be read; the user was told
        Cancelled,       // the user cancelled the save question
        Parked,          // waiting for the transfer control
        ToTree,          // a Harvest Control List or channel, handed to the tree
        FromRepository,  // the Open Record macro fetches the record instead
    };
    // Opens a page in the browser and reads its record before returning.
    virtual PageLoad openPage(const QString& location) = 0;
    // The address and title of the page the browser shows.
    virtual QString pageAddress() const = 0;
    virtual QString pageTitle() const = 0;
    // Puts an address at the top of the address box's history.
    virtual void addToAddressHistory(const QString& address) = 0;
    // Shows a page of text in the help window (a list's refused lines, say).
    virtual void showHelpPage(const QString& html) = 0;
    // The window's transfer control, which fetches pages and lists.
    virtual platform::Inet& transfer() = 0;
    // The text of the address box.
    virtual QString addressText() const = 0;
    // The help window's transfer control, which carries the requests to the repository;
    // the help window receives and handles their replies.
    virtual platform::Inet& repositoryTransfer() = 0;

    // ---- the list (the context's trees, as the window shows them) ---------------------------
    // Shows or hides the pane of a tree (0 for lists, 1 for the repository's catalogue).
    virtual void showListPane(int index, bool shown) = 0;
    // The list's save question; answers 2 on Cancel.
    virtual int saveListCheck(const QString& reason) = 0;
    // Writes the tree as a list file; true when written.
    virtual bool saveList(const QString& path) = 0;
    // The File menu follows the list file's kind and the document state.
    virtual void mnuFileDraw() = 0;
    // Writes the list tree as a Harvest Control List, in the site form or the AGLS 1.2 form;
    // `folder` holds the saved record pages, or is empty. True when the file was written.
    virtual bool saveHarvestList(bool agls12Form, const QString& path, const QString& folder) = 0;
    virtual ListLoadOutcome loadHarvestList(const QString& location) = 0;
    // Writes the list tree as an RSS channel with the channel dialog's header.
    virtual bool saveChannel(const QString& path) = 0;
    virtual ListLoadOutcome loadChannel(const QString& location) = 0;
    // Opens as the record the page in the folder whose identifier is the address shown.
    virtual void openRecordFromHarvestFolder(const QString& folder) = 0;
    virtual void setMnuFileSaveAs() = 0;
    // View > Tree View: whether it is checked, checking it, and clicking it.
    virtual bool treeViewChecked() const = 0;
    virtual void checkTreeView() = 0;
    virtual void clickTreeView() = 0;
    // File > Save Subject Index may be used; File > Save As > item 5 reads this caption.
    virtual void enableSaveList() = 0;
    virtual void setSaveAsCatalogueCaption(const QString& caption) = 0;

    // ---- the window -----------------------------------------------------------------------
    // Shift is held down.
    virtual bool shiftDown() const = 0;
    // The logo stops turning: the command is done.
    virtual void stopBusyAnimation() = 0;
    // Shows the wait dialog over the window, modally; returns once it has closed.
    virtual void showWaitModal() = 0;
    // While held, the record, tree and status panes keep what they show on screen (their
    // contents still change); letting go paints them once.
    virtual void holdPainting(bool hold) = 0;
    // Shows a line in the status bar about a page command that did not run; it stays over the
    // end of the page load under way.
    virtual void showPageNotice(const QString& text) = 0;
    // Shows how far a list load got (in the wait dialog when it is up, else in the status bar);
    // an empty text says the load is over.
    virtual void showListProgress(const QString& text) = 0;
    // The Macros menu item of function key F<number> (1..12 but 10) shows the caption and runs
    // the command; hidden, it shows and runs nothing. Any other number changes nothing.
    virtual void setMacroItem(int number, const QString& caption, const QString& command, bool shown) = 0;
    // A menu item of the window, by its object name, shown or hidden, or captioned; an item
    // the window does not have is passed over.
    virtual void showMenuItem(const QString& objectName, bool shown) = 0;
    virtual void setMenuItemCaption(const QString& objectName, const QString& caption) = 0;
};
