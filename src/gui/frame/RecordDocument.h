#pragma once
#include <QString>

#include <functional>

// The record pane's record as a document: its save question, its mark of unsaved changes,
// and writing it into a page or a batch.
class RecordDocument {
public:
    virtual ~RecordDocument() = default;
    // The save questions answer 6 Yes, 7 No, 2 Cancel, 0 when nothing was asked.
    virtual int saveHtmlCheck() = 0;
    // Marks the record modified, once the list's own save question lets it.
    virtual int markHTMLmodifiedCheckList(const QString& reason) = 0;
    // Writes the record to its page file, else hands it to the repository (which saves it
    // later: false), else to `elsewhere`. True when a file was written.
    virtual bool saveRecordWhereItBelongs(const std::function<bool()>& elsewhere) = 0;
    // Writes the record into a page file, or as a command batch; true when the file was written.
    virtual bool SaveAsHTML(const QString& path) = 0;
    virtual bool SaveAsBatch(const QString& path) = 0;
    // Files the record's writers have written so far.
    virtual int filesWritten() const = 0;
    // The record as the meta elements of a page head; and after the domain's link lines, as
    // the clipboard and the commands take it.
    virtual QString MakeMetaIntoSource() const = 0;
    virtual QString metadataAsHtml() const = 0;
};
