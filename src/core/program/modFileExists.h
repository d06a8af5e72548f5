#pragma once
#include <QString>

namespace modFileExists {

// Creates every missing folder on the path. True when the folder exists afterwards.
bool makeSurePathExists(const QString& path);

// True when something exists at the path: a file, a folder, or, for a path with
// wildcards, any match. A path ending in a separator is not found.
bool fileExists(const QString& path);

}  // namespace modFileExists
