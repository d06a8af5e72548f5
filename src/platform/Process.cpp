#include "platform/Process.h"

#include <QProcess>

namespace platform {
namespace {
ProcessStarter& starter() {
    static ProcessStarter instance;
    return instance;
}
}  // namespace

bool startDetached(const QString& program, const QStringList& arguments) {
    if (starter()) return starter()(program, arguments);
    return QProcess::startDetached(program, arguments);
}

void setProcessStarter(ProcessStarter s) {
    starter() = std::move(s);
}

}  // namespace platform
