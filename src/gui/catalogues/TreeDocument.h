#pragma once
#include "gui/catalogues/ListDocuments.h"
#include "gui/catalogues/TreeNeighbours.h"
#include "gui/frame/ListDocument.h"
#include "gui/frame/ListFiles.h"

#include <QObject>

class ListPane;
class ProgramContext;
class QWidget;
class TreeViews;
class WindowFrame;

// The hierarchy pane's list as a document: its save questions and mark of unsaved changes,
// writing it as a list file, the Harvest Control List and RSS channel dialogs, and the lists
// commands and page reads read into the tree and write from it. It goes with the pane: a list
// load that lets the window's events run checks that it is still there.
class TreeDocument final : public QObject, public ListDocument, public ListFiles {
public:
    TreeDocument(ProgramContext& context, WindowFrame& frame, const TreeNeighbours& around, TreeViews& views,
                 ListPane& pane, QObject* parent);

    int markListmodifiedCheckHTML() override;
    int saveListCheck(const QString& reason) override;
    bool SaveAsList(const QString& path) override;
    void showHarvestListDialog() override;
    bool saveRssChannelWithDialog() override;
    int filesWritten() const override { return filesWritten_; }

    bool loadListPage(bool harvestList, const QString& location, const QString& text) override;
    ListLoadOutcome loadHarvestList(const QString& location) override;
    ListLoadOutcome loadChannel(const QString& location) override;
    bool saveHarvestList(bool agls12Form, const QString& path, const QString& folder) override;
    bool saveChannel(const QString& path) override;
    void openRecordFromHarvestFolder(const QString& folder) override;
    void showListProgress(const QString& text) override;

private:
    // The window the pane lies in; the dialogs hang from it.
    QWidget* window() const;
    // The Harvest Control List dialog, modal; true when it wrote the list.
    bool saveHarvestListWithDialog();
    // What the list readers and writers ask of the window.
    ListWindow listWindow();
    // Counts a file the list writers wrote; `written` as they answered.
    bool counted(bool written);

    ProgramContext& context;
    WindowFrame& frame;
    const TreeNeighbours& around;
    TreeViews& views;
    ListPane& pane;
    int filesWritten_ = 0;
};
