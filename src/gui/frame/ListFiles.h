#pragma once
#include "core/program/CommandState.h"

#include <QString>

// Harvest Control Lists and RSS channels read into the hierarchy pane's tree and written
// from it, as commands and page reads ask.
class ListFiles {
public:
    virtual ~ListFiles() = default;
    // A page that turned out to be a Harvest Control List or a channel, its text fetched
    // already; true when the user kept the list shown instead.
    virtual bool loadListPage(bool harvestList, const QString& location, const QString& text) = 0;
    virtual ListLoadOutcome loadHarvestList(const QString& location) = 0;
    virtual ListLoadOutcome loadChannel(const QString& location) = 0;
    // Writes the tree as a Harvest Control List (the ".kqi" a command put at the path's end
    // taken off) with the records of `folder`, in the AGLS 1.2 form or the site's; true when
    // the file was written.
    virtual bool saveHarvestList(bool agls12Form, const QString& path, const QString& folder) = 0;
    virtual bool saveChannel(const QString& path) = 0;
    // Opens, as the current record, the page in the folder whose identifier is the address shown.
    virtual void openRecordFromHarvestFolder(const QString& folder) = 0;
    // Shows how far a list load or save got; an empty text ends it.
    virtual void showListProgress(const QString& text) = 0;
};
