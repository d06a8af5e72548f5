#pragma once
#include <QString>

namespace modFileExists {

// Appends "/" when the path does not end in a separator (the caller's text changes too),
// then creates every missing folder on it. True when the folder exists afterwards.
bool makeSurePathExists(QString& path);

// True when something exists at the path: a file, a folder, or, for a path with
// wildcards, any match. A path ending in a separator is not found.
bool fileExists(const QString& path);

}  // namespace modFileExists
