#pragma once
#include "platform/ControlArray.h"
#include "gui/frame/DocumentMenu.h"
#include "core/program/ProgramContext.h"

#include <QObject>
#include <QString>

class QAction;
class AddressBar;
class ListDocument;
class ListPane;
class Navigation;
class PageBrowser;
class RecordDocument;
class ViewMarks;
class WindowFrame;

// The File menu's handlers, and its and the status bar's views of the document state: the
// Save items and their captions, the Save As items the document allows, the current file.
class FileMenu : public QObject, public DocumentMenu {
    Q_OBJECT
public:
    // What the menu asks of the panes and the other menus.
    struct Neighbours {
        RecordDocument& record;
        ListDocument& list;
        ListPane& listPane;
        AddressBar& address;
        Navigation& navigation;
        PageBrowser& browser;
        ViewMarks& viewMenu;
    };
    // Finds its items under `menus` by their names and connects them.
    FileMenu(ProgramContext& context, WindowFrame& frame, QObject& menus, const Neighbours& around);

    enum FileNewItem : int {
        kNewTemplate = 1,
        kNewServerRecord = 2,
        kNewRssChannel = 3,
        kNewHarvestList = 4,
        kNewCatalogue = 5,
        kNewScheme = 6,
        kNewWindow = 7,
    };
    enum FileOpenItem : int {
        kOpenPage = 1,
        kOpenTemplate = 2,
        kOpenMacroSet = 3,
        kOpenServerRecord = 4,
        kOpenCatalogue = 6,
        kOpenScheme = 7,
        kOpenHarvestList = 8,
        kOpenRssChannel = 9,
        kOpenDirectory = 10,
    };

    // Each handler of an item array takes the item's index in it.
    void mnuFileNew_Click(int index);
    void mnuFileOpenIdx_Click(int index);
    void LoadFromOpen(const QString& path) override;
    void mnuFileSave_Click();
    void mnuFileSaveList_Click();
    bool mnuFileSaveAs_Click(int index) override;
    void mnuFilePrint_Click();
    void mnuFileCheckHarvest_Click();
    void mnuFileExit_Click();

    // The views of the document state.
    void setMnuFileSaveAs() override;
    void mnuFileDraw() override;
    void showCurrentFile() override;
    // Shows the document state in the status bar and the Save captions.
    void showDocumentState();
    void enableSave() override;
    void enableSaveList() override;
    void setSaveAsCaption(int index, const QString& caption) override;
    // The status bar's document panel: its tip, and what a click on it tells.
    void StatusBar1_MouseMove(double x);
    void StatusBar1_PanelClick(int panel);

private:
    int saveBeforeNew();
    void startNewList(const QString& path, const QString& kind);
    // Writes the catalogue (or scheme list) to TreePath, asking for a name when it has no full path.
    bool saveListToItsFile(bool catalogue);
    // Runs "mtp://save=" with the path; true when a file of the record (or the list) was written.
    bool runSaveCommand(const QString& path, bool list);

    ProgramContext& context;
    DocumentState* documentState;
    WindowFrame& frame;
    const Neighbours around;
    ControlArray<QAction> mnuFileNew;
    ControlArray<QAction> mnuFileOpenIdx;
    ControlArray<QAction> mnuFileSaveAs;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveList = nullptr;
    bool fileMenuBusy = false;
};
