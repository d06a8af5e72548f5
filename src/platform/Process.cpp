#include "platform/Process.h"

#include <QProcess>

namespace platform {

bool ProcessStarter::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

}  // namespace platform
