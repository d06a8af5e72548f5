// Requests to the repository's scripts.
#include "commands/modMTP.h"

#include "platform/MsgBox.h"

namespace modMTP {
namespace {
void notAvailable(const QString& command) {
    platform::MsgBox(QStringLiteral("Repository requests are not available in this build: ") + command,
                     platform::vbExclamation);
}
}  // namespace

void cgiSend(QString& command) {
    notAvailable(command);
}

void cgiSendList(QString& command) {
    notAvailable(command);
}

}  // namespace modMTP
