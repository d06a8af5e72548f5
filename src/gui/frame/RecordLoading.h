#pragma once
#include "core/program/CommandWindow.h"

#include <QString>

// Reading a page's metadata into the record pane.
class RecordLoading {
public:
    virtual ~RecordLoading() = default;
    using PageLoad = CommandWindow::PageLoad;
    // Reads a page's metadata into the record (or hands a Harvest Control List or channel to
    // the tree). 2: stop (the save question was cancelled, or a list replaced the tree);
    // otherwise the save question's answer.
    virtual int LoadMetadataFromURL(const QString& location, bool keepText) = 0;
    // What the last read did with its page, and that no read happened since.
    virtual PageLoad lastPageLoad() const = 0;
    virtual void forgetPageLoad() = 0;
    // Whether the next page read asks the repository for its record instead.
    virtual void setOpenRecordOnLoad(bool on) = 0;
    // Lines are being read into the record: the edit panel's fields write nothing meanwhile.
    virtual void setFilling(bool on) = 0;
};
