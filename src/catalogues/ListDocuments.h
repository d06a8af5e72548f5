#pragma once
#include <QString>

// The whole text of the Harvest Control List or RSS channel last read; the list readers
// parse it.
inline QString documentText;

namespace modRSS {
// Reads an RSS 1.0 or 2.0 channel into the tree and the channel dialog; false when it could not.
bool loadRSSChannel(const QString& location, bool keep);
}  // namespace modRSS
