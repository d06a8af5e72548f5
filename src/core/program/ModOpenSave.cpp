#include "core/program/ModOpenSave.h"

#include "core/program/ProgramContext.h"
#include "core/program/modFileExists.h"
#include "platform/FileDialogs.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"

#include <QFile>
#include <QFileInfo>

using platform::FileDialogRequest;

namespace ModOpenSave {
namespace {

const QList<platform::FileFilter> kSaveFilters = {
    {QStringLiteral("HTML,ASP,CFM"), QStringLiteral("*.htm;*.html;*.asp;*.cfm")},
    {QStringLiteral("Schemes"), QStringLiteral("*.kqs")},
    {QStringLiteral("Catalogs"), QStringLiteral("*.kqi")},
    {QStringLiteral("MTP Batch Files"), QStringLiteral("*.kqb")},
    {QStringLiteral("Harvest Control File"), QStringLiteral("*")},
    {QStringLiteral("All files"), QStringLiteral("*")},
};

const QList<platform::FileFilter> kOpenFilters = {
    kSaveFilters[0], kSaveFilters[1], kSaveFilters[2], kSaveFilters[3], kSaveFilters[5],
};

const QString kDirPrompt = QStringLiteral("Open a file to select the Directory");

// The answer's path up to its first NUL, as the platform's dialogs returned it.
QString chosenPath(const platform::FileDialogAnswer& answer) {
    const qsizetype nul = answer.path.indexOf(QChar(0));
    return nul < 0 ? answer.path : answer.path.left(nul);
}

bool isExistingFile(const QString& path) {
    return modFileExists::fileExists(path) && !QFileInfo(path).isDir();
}

// The extension a save under the given filter needs, or "" when the name already has one.
QString missingExtension(int filterIndex, const QString& path) {
    const auto has = [&](const char* ext) { return path.contains(QLatin1String(ext), Qt::CaseInsensitive); };
    switch (filterIndex) {
    case 1: return platform::isPageAddress(path) ? QString() : QStringLiteral(".htm");
    case 2: return has(".kqs") ? QString() : QStringLiteral(".kqs");
    case 3: return has(".kqi") ? QString() : QStringLiteral(".kqi");
    case 4: return has(".kqb") ? QString() : QStringLiteral(".kqb");
    default: return QString();
    }
}

}  // namespace

QString showSaveDialog(ProgramContext& context, int filterIndex, QString& path, bool proposeMissing) {
    FileDialogRequest& record = context.fileDialog;
    record.save = true;
    record.filters = kSaveFilters;
    record.filterIndex = filterIndex;
    const bool inExistingFolder =
        proposeMissing && !platform::folderPart(path).isEmpty() && QFileInfo(platform::folderPart(path)).isDir();
    if (!path.isEmpty() && (isExistingFile(path) || inExistingFolder)) {
        record.proposedName = platform::fileNamePart(path);
        record.initialFolder = platform::folderPart(path);
    } else {
        struct Proposal {
            const char* name;
            const char* extension;
        };
        static const Proposal proposals[] = {{"Untitled.htm", "*.htm"},
                                             {"Untitled.kqs", "*.kqs"},
                                             {"Untitled.kqi", "*.kqi"},
                                             {"Untitled.kqb", "*.kqb"}};
        if (filterIndex >= 1 && filterIndex <= 4) {
            record.proposedName = QLatin1String(proposals[filterIndex - 1].name);
            record.defaultExtension = QLatin1String(proposals[filterIndex - 1].extension);
        }
    }
    record.title = QStringLiteral("Save Quorvantile Data");
    record.overwritePrompt = true;
    record.createPrompt = false;

    while (true) {
        const auto answer = context.user.runFileDialog(record);
        if (!answer.accepted) return QString();
        QString chosen = chosenPath(answer);
        if (chosen.isEmpty()) return QString();
        const QString extension = missingExtension(answer.filterIndex, chosen);
        record.initialFolder = platform::folderPart(chosen);
        if (!extension.isEmpty()) {
            chosen += extension;
            // The dialog's own overwrite question saw the name without the extension.
            if (modFileExists::fileExists(chosen) &&
                context.user.MsgBox(chosen + QLatin1String(" already exists.\nDo you want to replace it?"),
                                    platform::kYesNo + platform::kExclamationIcon + platform::kSecondButtonDefault,
                                    record.title) != platform::kAnswerYes) {
                record.proposedName = platform::fileNamePart(chosen);
                record.filterIndex = answer.filterIndex;
                continue;
            }
        }
        path = chosen;
        return chosen;
    }
}

QString showOpenDialog(ProgramContext& context, const QString& kind, const QString& path) {
    FileDialogRequest& record = context.fileDialog;
    struct Start {
        const char* kind;
        const char* name;  // proposed when no path is given (an Open dialog names no new file)
        const char* extension;
        int filter;
    };
    static const Start starts[] = {
        {"hcl", "index.htm", "*", 5},        {"rss", "rss.htm", "*", 5},
        {"dir", "Open a file to select the Directory", "*", 5},
        {"htm", "", "*.htm", 1}, {"kqs", "", "*.kqs", 2},
        {"kqi", "", "*.kqi", 3}, {"kqb", "", "*.kqb", 4},
    };
    const Start* start = nullptr;
    for (const Start& s : starts) {
        if (kind == QLatin1String(s.kind)) start = &s;
    }

    record.save = false;
    record.filters = kOpenFilters;
    if (!path.isEmpty()) {
        record.proposedName = kind == QLatin1String("dir") ? kDirPrompt : platform::fileNamePart(path);
        record.initialFolder = platform::folderPart(path);
        if (start && kind != QLatin1String("htm")) {
            record.defaultExtension = QLatin1String(start->extension);
            record.filterIndex = start->filter;
        } else {
            record.filterIndex = 0;  // the first filter; the extension stays as it was
        }
    } else if (start) {
        record.proposedName = QLatin1String(start->name);
        record.defaultExtension = QLatin1String(start->extension);
        record.filterIndex = start->filter;
    }
    record.title = kind == QLatin1String("dir") ? kDirPrompt : QStringLiteral("Load Quorvantile Data");
    record.overwritePrompt = false;
    record.createPrompt = true;

    const auto answer = context.user.runFileDialog(record);
    if (!answer.accepted) return QString();
    const QString chosen = chosenPath(answer);
    if (chosen.isEmpty()) return QString();
    record.initialFolder = platform::folderPart(chosen);
    if (!modFileExists::fileExists(chosen)) {
        QFile created(chosen);
        if (created.open(QIODevice::WriteOnly)) created.close();
    }
    return chosen;
}

}  // namespace ModOpenSave
