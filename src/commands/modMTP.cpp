#include "commands/modMTP.h"

#include "platform/MsgBox.h"

namespace modMTP {
namespace {
CommandInterceptor& interceptor() {
    static CommandInterceptor instance;
    return instance;
}
}  // namespace

void setCommandInterceptor(CommandInterceptor i) {
    interceptor() = std::move(i);
}

void runMtpCommand(QString& command, CommandOrigin origin) {
    if (interceptor() && interceptor()(command, origin)) return;
    if (command.isEmpty()) {
        platform::MsgBox(QStringLiteral("No data in mtp transaction"), platform::vbOKOnly, QStringLiteral("Error"));
        return;
    }
    // The dispatcher is not part of this build yet: say so rather than pretend.
    platform::MsgBox(QStringLiteral("This command cannot be run yet: ") + command, platform::vbExclamation);
}

}  // namespace modMTP
