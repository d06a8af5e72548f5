#include "core/program/modRegistry.h"

#include "core/program/ProgramContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include "platform/TextCodec.h"

#include <QStandardPaths>

namespace modRegistry {
namespace {

const QString kDocumentClass = QStringLiteral("Quorvantile.Document");

struct FileKind {
    const char* extension;
    const char* mimeType;
    const char* comment;
};
const FileKind kKinds[] = {
    {".kqi", "application/x-quorvantil-catalog", "Quorvantil catalogue"},
    {".kqs", "application/x-quorvantil-scheme", "Quorvantil scheme list"},
    {".kqb", "application/x-quorvantil-batch", "Quorvantil command batch"},
};

QString dataHome() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.local/share");
    return base;
}

// Writes the file only when its text changed; true when it was written.
bool writeIfChanged(const QString& path, const QByteArray& bytes) {
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) return false;
    current.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return platform::writeFileAtomically(path, bytes);
}

// The desktop side of the association: one MIME package for the three kinds and a
// desktop entry that opens them with this program.
void registerWithDesktop(platform::ProcessStarter& processes) {
    QByteArray mime = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    QStringList types;
    for (const FileKind& kind : kKinds) {
        mime += QByteArray("  <mime-type type=\"") + kind.mimeType + "\">\n    <comment>" + kind.comment +
                "</comment>\n    <glob pattern=\"*" + kind.extension + "\"/>\n  </mime-type>\n";
        types << QLatin1String(kind.mimeType);
    }
    mime += "</mime-info>\n";
    const QString mimeRoot = dataHome() + QStringLiteral("/mime");
    if (writeIfChanged(mimeRoot + QStringLiteral("/packages/quorvantil.xml"), mime))
        processes.startDetached(QStringLiteral("update-mime-database"), {mimeRoot});

    QString program = QCoreApplication::applicationFilePath();
    program.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    const QString entry = QStringLiteral(
                              "[Desktop Entry]\nType=Application\nName=Quorvantil\n"
                              "Comment=Edit the metadata of web pages\nExec=\"%1\" %f\nTerminal=false\n"
                              "Categories=Office;WebDevelopment;\nMimeType=%2;\n")
                              .arg(program, types.join(QLatin1Char(';')));
    const QString applications = dataHome() + QStringLiteral("/applications");
    if (writeIfChanged(applications + QStringLiteral("/quorvantil.desktop"), entry.toUtf8()))
        processes.startDetached(QStringLiteral("update-desktop-database"), {applications});
}

}  // namespace

void createNewKey(platform::RegistryStore& store, const QString& keyName, platform::RegistryRoot root) {
    store.createKey(root, keyName);
}

void setKeyValue(platform::RegistryStore& store, const QString& keyName, const QString& valueName, const QString& value) {
    store.setValue(platform::RegistryRoot::ClassesRoot, keyName, valueName, value);
}

void registerFileType(ProgramContext& context, const QString& extension) {
    using platform::RegistryRoot;
    platform::RegistryStore& store = context.settings;
    createNewKey(store, extension, RegistryRoot::ClassesRoot);
    setKeyValue(store, extension, QString(), kDocumentClass);
    createNewKey(store, kDocumentClass + QStringLiteral("\\shell\\open\\command"), RegistryRoot::ClassesRoot);
    setKeyValue(store, kDocumentClass, QString(), QStringLiteral("Quorvantile Document"));
    setKeyValue(store, kDocumentClass + QStringLiteral("\\shell\\open\\command"), QString(),
                QCoreApplication::applicationFilePath() + QStringLiteral(" %1"));
}

void registerFileTypes(ProgramContext& context) {
    for (const char* extension : {".kqi", ".kqs", ".kqb"}) registerFileType(context, QLatin1String(extension));
    // One look at the desktop's files is enough for all three kinds.
    registerWithDesktop(context.processes);
}

}  // namespace modRegistry
