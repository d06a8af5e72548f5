// Function-key macros stored by command.
#include "commands/modMTP.h"

#include "platform/MsgBox.h"

namespace modMTP {

void addMacro(QString& command) {
    // The macro editor that stores and binds the macro is not part of this build.
    platform::MsgBox(QStringLiteral("Storing macros by command is not available in this build: ") + command,
                     platform::vbExclamation);
}

}  // namespace modMTP
