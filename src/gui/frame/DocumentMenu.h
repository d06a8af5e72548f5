#pragma once
#include <QString>

// The File menu as the panes ask it: its and the status bar's views of the documents (the
// Save items and captions, the Save As items the document allows, the current file), Save
// As, and opening a path by its extension.
class DocumentMenu {
public:
    virtual ~DocumentMenu() = default;

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

    virtual void setMnuFileSaveAs() = 0;
    virtual void mnuFileDraw() = 0;
    virtual void showCurrentFile() = 0;
    virtual void enableSave() = 0;
    virtual void enableSaveList() = 0;
    virtual void setSaveAsCaption(int index, const QString& caption) = 0;
    // File > Save As item 1..7; true when the document was saved.
    virtual bool mnuFileSaveAs_Click(int index) = 0;
    // Opens a path (or a "loadhcl=" / "loadrss=" list text) by its extension.
    virtual void LoadFromOpen(const QString& path) = 0;
};
