#pragma once
#include "gui/catalogues/ListDocuments.h"

#include <QString>

class ProgramContext;
class QWidget;

// RSS channels written from the tree and read back into it.
namespace modRSS {

// Writes the list tree shown as an RSS 1.0 channel to the path, with the header of the RSS
// dialog (which hangs from `owner`'s window). True when the file was written.
bool saveRSSChannel(QWidget* owner, ProgramContext& context, const QString& path);
// Loads an RSS 1.0 or 2.0 channel from a local path, a file:// or a web address into the
// tree and the RSS dialog's header, once the user has saved or let go the list shown.
// `fetchedText`: the channel's text when the caller has fetched it already.
ListLoadOutcome loadRSSChannel(const ListWindow& window, const QString& location, const QString* fetchedText = nullptr);

}  // namespace modRSS
