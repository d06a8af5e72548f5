#include "core/program/modFileExists.h"

#include "platform/PathText.h"

#include <QDir>
#include <QFileInfo>

namespace modFileExists {

bool makeSurePathExists(const QString& path) {
    return QDir().mkpath(platform::endsWithSeparator(path) ? path : path + QLatin1Char('/'));
}

bool fileExists(const QString& path) {
    const QString local = platform::localPathFromAddress(path);
    if (local.isEmpty() || platform::endsWithSeparator(local)) return false;
    const QString name = platform::fileNamePart(local);
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
        QString folder = platform::folderPart(local);
        if (folder.isEmpty()) folder = QStringLiteral(".");
        return !QDir(folder).entryList({name}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                    .isEmpty();
    }
    const QFileInfo info(local);
    return info.exists() || info.isSymLink();
}

}  // namespace modFileExists
