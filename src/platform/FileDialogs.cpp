#include "platform/FileDialogs.h"

#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace platform {
namespace {

FileDialogResponder& responder() {
    static FileDialogResponder instance;
    return instance;
}

QString qtFilter(const FileFilter& filter) {
    return filter.name + QLatin1String(" (") + QString(filter.pattern).replace(QLatin1Char(';'), QLatin1Char(' ')) +
           QLatin1Char(')');
}

FileDialogAnswer showQtDialog(const FileDialogRequest& request) {
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    QFileDialog dialog(parent, request.title);
    QStringList filters;
    for (const auto& filter : request.filters) filters.append(qtFilter(filter));
    dialog.setNameFilters(filters);
    if (request.filterIndex > 0 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (!request.initialFolder.isEmpty()) dialog.setDirectory(request.initialFolder);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog's own overwrite question only exists for saves that ask for it.
    if (!request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::DontResolveSymlinks);
    if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);

    centreOverOwner(dialog);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString path = dialog.selectedFiles().constFirst();
        const int filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
        if (request.createPrompt && !QFileInfo::exists(path)) {
            const int answer = MsgBox(fileNamePart(path) + QLatin1String("\nThis file does not exist.\nCreate the file?"),
                                      kYesNo + kExclamationIcon, request.title);
            if (answer != kAnswerYes) continue;
        }
        return FileDialogAnswer{true, path, filterIndex};
    }
    return FileDialogAnswer{};
}

}  // namespace

FileDialogAnswer runFileDialog(const FileDialogRequest& request) {
    if (responder()) return responder()(request);
    return showQtDialog(request);
}

void setFileDialogResponder(FileDialogResponder r) {
    responder() = std::move(r);
}

}  // namespace platform
