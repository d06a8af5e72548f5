#pragma once
#include <QString>

// RSS channels written from the tree and read back into it.
namespace modRSS {

// Writes the tree as an RSS 1.0 channel to the path, with the header of the RSS dialog.
void saveRSSChannel(QString& path);
// Loads an RSS 1.0 or 2.0 channel from a file:// or web address into the tree.
void loadRSSChannel(const QString& location);

}  // namespace modRSS
