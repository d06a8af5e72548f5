#pragma once
#include <QString>

// The hierarchy pane's list as a document: its save question, its mark of unsaved changes,
// and writing it as a list file or through its own dialog.
class ListDocument {
public:
    virtual ~ListDocument() = default;
    // The save questions answer 6 Yes, 7 No, 2 Cancel, 0 when nothing was asked.
    virtual int saveListCheck(const QString& reason) = 0;
    // Marks the list modified, once the record's own save question lets it.
    virtual int markListmodifiedCheckHTML() = 0;
    // Writes the list shown as a list file; true when the file was written.
    virtual bool SaveAsList(const QString& path) = 0;
    // The Harvest Control List dialog, shown modeless; it saves the list itself.
    virtual void showHarvestListDialog() = 0;
    // Asks for the RSS channel's details and writes it; true when it was written.
    virtual bool saveRssChannelWithDialog() = 0;
    // Files the list writers have written so far.
    virtual int filesWritten() const = 0;
};
