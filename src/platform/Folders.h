#pragma once
#include <QString>

namespace platform {

// The program folder: where caches, the command log, "schemes" and macro sets live.
// $QUORVANTIL_HOME when set, else $XDG_DATA_HOME/Quorvantil. Always ends without "/".
QString programDataFolder();

// The folder of the settings store: $QUORVANTIL_CONFIG when set,
// else $XDG_CONFIG_HOME/Orvane Consulting/Quorvantil.
QString configFolder();

}  // namespace platform
