#include "platform/widgets/UserDialogWindows.h"

#include "platform/PathText.h"
#include "platform/widgets/Modal.h"

#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QMimeDatabase>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace platform {
namespace {

QString qtFilter(const FileFilter& filter) {
    return filter.name + QLatin1String(" (") + QString(filter.pattern).replace(QLatin1Char(';'), QLatin1Char(' ')) +
           QLatin1Char(')');
}

// Qt sizes its dialog's file list for short names, sizes and dates and cuts longer ones
// ("234...tes"). The columns get room for a 40-character name and for the sizes, types and
// dates the list shows, and the dialog room for the columns, as far as the screen allows.
class FileListFit : public QObject {
public:
    FileListFit(QFileDialog& dialog, QTreeView& view) : QObject(&dialog), dialog_(dialog), view_(view) {
        const QFontMetrics metrics(view.font());
        const auto widest = [&metrics](const QStringList& texts) {
            int most = 0;
            for (const QString& text : texts) most = std::max(most, metrics.horizontalAdvance(text));
            return most;
        };
        const QLocale locale = QLocale::system();
        // Other types than folders and pages get room once the list shows them.
        const QStringList types = {QStringLiteral("Folder"),
                                   QMimeDatabase().mimeTypeForName(QStringLiteral("text/html")).comment()};
        QStringList sizes, dates;
        for (const int shift : {0, 10, 20}) sizes << locale.formattedDataSize((qint64(1023) << shift) - 1);
        for (int month = 1; month <= 12; ++month)
            dates << locale.toString(QDateTime(QDate(2000, month, 28), QTime(23, 58, 58)), QLocale::ShortFormat);
        const int icon = view.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &view);
        const int margins = 4 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
        widen(0, icon + margins + widest({QStringLiteral("Minutes of the Regional Board, 1 May.htm")}));
        widen(1, margins + widest(sizes));
        widen(2, margins + widest(types));
        widen(3, margins + widest(dates));
        dialog.installEventFilter(this);
        // The list fills in after the dialog shows: what it then holds gets room too.
        refit_.setSingleShot(true);
        connect(&refit_, &QTimer::timeout, this, [this] {
            for (int column = 0; column < view_.header()->count(); ++column)
                widen(column, static_cast<QAbstractItemView&>(view_).sizeHintForColumn(column));
            fitDialog();
        });
        QAbstractItemModel* model = view.model();
        const auto later = [this] { refit_.start(); };
        connect(model, &QAbstractItemModel::rowsInserted, this, later);
        connect(model, &QAbstractItemModel::dataChanged, this, later);
        connect(model, &QAbstractItemModel::layoutChanged, this, later);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_ && event->type() == QEvent::Show) {
            fitDialog();
            refit_.start();
        }
        return false;
    }

private:
    void widen(int column, int width) {
        if (view_.header()->sectionSize(column) < width) view_.header()->resizeSection(column, width);
    }

    // What the list lacks to show every column: the dialog grows by it, keeping its centre.
    void fitDialog() {
        const QHeaderView& header = *view_.header();
        int lack = 2 * view_.frameWidth() - view_.width();
        for (int column = 0; column < header.count(); ++column)
            if (!header.isSectionHidden(column)) lack += header.sectionSize(column);
        if (view_.verticalScrollBar()->isVisible()) lack += view_.verticalScrollBar()->width();
        if (lack <= 0) return;
        const QRect area = dialog_.screen() ? dialog_.screen()->availableGeometry() : QRect();
        const int frame = dialog_.frameGeometry().width() - dialog_.width();
        const int most = area.isValid() ? std::max(area.width() - frame, dialog_.width()) : dialog_.width() + lack;
        const int width = std::min(dialog_.width() + lack, most);
        if (width <= dialog_.width()) return;
        if (dialog_.isVisible()) {
            int x = dialog_.x() - (width - dialog_.width()) / 2;
            if (area.isValid()) x = std::clamp(x, area.left(), area.right() + 1 - width - frame);
            dialog_.move(x, dialog_.y());
        }
        dialog_.resize(width, dialog_.height());
    }

    QFileDialog& dialog_;
    QTreeView& view_;
    QTimer refit_;
};

}  // namespace

FileDialogAnswer showFileDialog(const FileDialogRequest& request) {
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
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) new FileListFit(dialog, *list);

    centreOverOwner(dialog);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString path = dialog.selectedFiles().constFirst();
        const int filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
        if (request.createPrompt && !QFileInfo::exists(path)) {
            const int answer =
                showMessageBox({fileNamePart(path) + QLatin1String("\nThis file does not exist.\nCreate the file?"),
                                kYesNo + kExclamationIcon, request.title});
            if (answer != kAnswerYes) continue;
        }
        return FileDialogAnswer{true, path, filterIndex};
    }
    return FileDialogAnswer{};
}

}  // namespace platform
