#pragma once
#include "app/CRegSettings.h"

namespace modMacros {

// The shared settings instance of the macro code and the remembering message box.
extern CRegSettings regSettings;

// The repository's commands, taken from the macros captioned "Save Record", "Open Record",
// "Save Catalog" and "Open Catalog"; empty when no repository is set up.
inline QString saveRecordMacro;
inline QString openRecordMacro;
inline QString saveCatalogMacro;
inline QString openCatalogMacro;
// The scheme names the repository reported, separated by "|"; empty until asked.
inline QString repositorySchemes;

}  // namespace modMacros

namespace modMacros {

// Takes up the function-key macros of a settings section: the Macros menu items and the
// repository's commands.
void loadMacros(const QString& section);

}  // namespace modMacros
