#pragma once
#include "platform/RegistryStore.h"

#include <QString>

// The file-type association of the program's list and batch files.
namespace modRegistry {

// Associates one extension (".kqi", ".kqs", ".kqb") with the program: keys of the
// settings store, and the desktop entry and MIME package a Linux desktop reads.
void registerFileType(const QString& extension);

void createNewKey(const QString& keyName, platform::RegistryRoot root);
void setKeyValue(const QString& keyName, const QString& valueName, const QString& value);

}  // namespace modRegistry
