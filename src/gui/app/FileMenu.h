#pragma once
#include "platform/ControlArray.h"
#include "core/program/ProgramContext.h"

#include <QObject>
#include <QString>

class QAction;
class WindowFrame;

// The File menu's handlers, and its and the status bar's views of the document state: the
// Save items and their captions, the Save As items the document allows, the current file.
class FileMenu : public QObject {
    Q_OBJECT
public:
    // Finds its items under `menus` by their names and connects them.
    FileMenu(ProgramContext& context, WindowFrame& frame, QObject& menus);

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
    // Opens a path (or a "loadhcl=" / "loadrss=" list text) by its extension.
    void LoadFromOpen(const QString& path);
    void mnuFileSave_Click();
    void mnuFileSaveList_Click();
    // File > Save As item 1..7; true when the document was saved.
    bool mnuFileSaveAs_Click(int index);
    void mnuFilePrint_Click();
    void mnuFileCheckHarvest_Click();
    void mnuFileExit_Click();

    // The views of the document state.
    void setMnuFileSaveAs();
    void mnuFileDraw();
    void showCurrentFile();
    // Shows the document state in the status bar and the Save captions.
    void showDocumentState();
    void enableSave();
    void enableSaveList();
    void setSaveAsCaption(int index, const QString& caption);
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
    ControlArray<QAction> mnuFileNew;
    ControlArray<QAction> mnuFileOpenIdx;
    ControlArray<QAction> mnuFileSaveAs;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveList = nullptr;
    bool fileMenuBusy = false;
};
