#pragma once
#include "gui/catalogues/ListDocuments.h"

#include <QString>

class TreePane;

// RSS channels written from the tree and read back into it.
namespace modRSS {

// Writes the tree as an RSS 1.0 channel to the path, with the header of the RSS dialog.
// True when the file was written.
bool saveRSSChannel(TreePane& window, const QString& path);
// Loads an RSS 1.0 or 2.0 channel from a local path, a file:// or a web address into the
// tree and the RSS dialog's header, once the user has saved or let go the list shown.
// `fetchedText`: the channel's text when the caller has fetched it already.
ListLoadOutcome loadRSSChannel(TreePane& window, const QString& location,
                                          const QString* fetchedText = nullptr);

}  // namespace modRSS
