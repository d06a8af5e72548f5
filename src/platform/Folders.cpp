#include "platform/Folders.h"

#include <QDir>

namespace platform {
namespace {

QString fromEnvironment(const char* name) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString() : QDir::cleanPath(QDir(value).absolutePath());
}

QString xdgFolder(const char* variable, const QString& fallbackBelowHome) {
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + fallbackBelowHome;
    return QDir::cleanPath(base);
}

}  // namespace

QString programDataFolder() {
    const QString own = fromEnvironment("QUORVANTIL_HOME");
    if (!own.isEmpty()) return own;
    return xdgFolder("XDG_DATA_HOME", QStringLiteral("/.local/share")) + QStringLiteral("/Quorvantil");
}

QString configFolder() {
    const QString own = fromEnvironment("QUORVANTIL_CONFIG");
    if (!own.isEmpty()) return own;
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config")) +
           QStringLiteral("/Orvane Consulting/Quorvantil");
}

}  // namespace platform
