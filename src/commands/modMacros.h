#pragma once
#include "app/CRegSettings.h"

namespace modMacros {

// The shared settings instance of the macro code and the remembering message box.
extern CRegSettings regSettings;

}  // namespace modMacros
