#include "commands/modMacros.h"

namespace modMacros {

CRegSettings regSettings;

}  // namespace modMacros
