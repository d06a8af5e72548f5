#include "commands/ListLoading.h"

#include "platform/MsgBox.h"

namespace modMTP {

void loadList(QString& location) {
    platform::MsgBox(QStringLiteral("Loading lists is not available in this build: ") + location, platform::vbExclamation);
}

}  // namespace modMTP
