// The address box and its history file.
#include "gui/app/NavigationPane.h"

#include "core/program/modFileExists.h"
#include "platform/Folders.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/TextCodec.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

QString NavigationPane::historyFilePath() const {
    return platform::programDataFolder() + QStringLiteral("/cache/URL.log");
}

QString NavigationPane::URLAddItem(const QString& entered) {
    // A bare host gets "http://"; a path on this machine stays a path.
    const QString address =
        !entered.contains(QLatin1String("://"), Qt::CaseInsensitive) && !platform::isLocalPath(entered)
            ? QStringLiteral("http://") + entered
            : entered;
    const QString upper = address.toUpper();
    for (int i = 0; i < URL->count(); ++i) {
        if (URL->itemText(i).toUpper() == upper) return address;
    }
    const QString text = URL->currentText();
    URL->insertItem(0, address);
    URL->setEditText(text);
    return address;
}

void NavigationPane::saveURLList() {
    const int n = std::min(URL->count(), 19);
    QByteArray bytes;
    for (int i = 0; i < n; ++i) bytes += URL->itemText(i).toUtf8() + "\r\n";
    QString folder = platform::folderPart(historyFilePath());
    modFileExists::makeSurePathExists(folder);
    // The history is a convenience: a failed write costs no message.
    platform::writeFileAtomically(historyFilePath(), bytes);
}

void NavigationPane::loadURLList() {
    const QString path = historyFilePath();
    if (!modFileExists::fileExists(path)) return;
    QFile file(path);
    // An unreadable history file never stops the start.
    if (!file.open(QIODevice::ReadOnly)) return;
    const QString text = QString::fromUtf8(file.readAll());
    qsizetype start = 0;
    // Every line read goes to the top, so the list comes out in the file's reverse order;
    // text after the last line feed is not a line.
    for (qsizetype lf = text.indexOf(QLatin1Char('\n')); lf >= 0; lf = text.indexOf(QLatin1Char('\n'), start)) {
        QString line = text.mid(start, lf - start);
        line.remove(QLatin1Char('\r'));
        start = lf + 1;
        URLAddItem(line);
    }
}

// An entry chosen from the list: open it and move it to the top.
void NavigationPane::URL_Click() {
    const QString chosen = URL->currentText();
    LoadURLFromLocation();
    if (chosen.isEmpty()) return;
    const int at = URL->findText(chosen, Qt::MatchExactly);
    if (at > 0) {
        URL->removeItem(at);
        URL->insertItem(0, chosen);
    }
    URL->setEditText(chosen);
}

// Enter in the box: open what was typed and keep it in the history.
void NavigationPane::openTypedAddress() {
    QString text = URL->currentText();
    text.remove(QLatin1Char('\r'));
    URL->setEditText(text);
    if (text.isEmpty()) return;
    LoadURLFromLocation();
    URLAddItem(text);
}

void NavigationPane::URL_OLEDragDrop(const QMimeData* data) {
    if (!data) return;
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile()) {
        dropOnWindow(data);
        return;
    }
    const QString text = data->text();
    const qsizetype at = text.indexOf(QLatin1String("http://"), 0, Qt::CaseInsensitive);
    if (at < 0) return;
    QString address = text.mid(at);
    address.remove(QLatin1String(".fld"), Qt::CaseInsensitive);
    URL->setEditText(address);
}
