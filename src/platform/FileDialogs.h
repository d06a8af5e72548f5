#pragma once
#include <QList>
#include <QString>

// What the open and save file dialogs are asked, and what they answer.
namespace platform {

struct FileFilter {
    QString name;     // "HTML,ASP,CFM"
    QString pattern;  // "*.htm;*.asp;*.cfm"
};

struct FileDialogRequest {
    bool save = false;
    QString title;
    QList<FileFilter> filters;
    int filterIndex = 0;  // 1-based; 0 shows the first filter
    QString initialFolder;
    QString proposedName;
    QString defaultExtension;
    bool overwritePrompt = false;  // save: ask before replacing an existing file
    bool createPrompt = false;     // open: offer to create a file that does not exist
};

struct FileDialogAnswer {
    bool accepted = false;
    QString path;
    int filterIndex = 0;  // 1-based index of the filter selected when the dialog closed
};

}  // namespace platform
