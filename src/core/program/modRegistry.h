#pragma once
#include "platform/RegistryStore.h"

#include <QString>

class ProgramContext;

// The file-type association of the program's list and batch files.
namespace modRegistry {

// Associates one extension (".kqi", ".kqs", ".kqb") with the program in the context's settings store.
void registerFileType(ProgramContext& context, const QString& extension);
// Associates all three, in the store and with the desktop entry and MIME package a Linux
// desktop reads (written only when they changed).
void registerFileTypes(ProgramContext& context);

void createNewKey(platform::RegistryStore& store, const QString& keyName, platform::RegistryRoot root);
void setKeyValue(platform::RegistryStore& store, const QString& keyName, const QString& valueName, const QString& value);

}  // namespace modRegistry
