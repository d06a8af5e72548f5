// The address box and its history file.
#include "gui/app/AddressBox.h"

#include "gui/app/NavigationHub.h"
#include "core/program/modFileExists.h"
#include "gui/frame/NavigationView.h"
#include "platform/Folders.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/TextCodec.h"

#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

AddressBox::AddressBox(QToolBar* toolbar, NavigationHub& navigation, NavigationView& drops)
    : navigation(navigation), drops(drops) {
    URL = new QComboBox(toolbar);
    URL->setObjectName(QStringLiteral("URL"));
    URL->setEditable(true);
    URL->setInsertPolicy(QComboBox::NoInsert);
    URL->setMaxVisibleItems(20);
    URL->setMinimumContentsLength(20);
    URL->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    URL->lineEdit()->setPlaceholderText(QStringLiteral("Address, file path or mtp:// command"));
    toolbar->addWidget(URL);
    // Qt also reports an entry as chosen when the box loses the focus holding text that
    // matches a history entry; only a real pick opens a page.
    connect(URL, &QComboBox::activated, this, [this] {
        if (!urlFocusLeaving_) URL_Click();
    });
    URL->lineEdit()->installEventFilter(this);
    URL->installEventFilter(this);
    URL->setAcceptDrops(true);
    URL->lineEdit()->setAcceptDrops(false);
}

bool AddressBox::eventFilter(QObject* watched, QEvent* event) {
    // The combo box has the focus and hands keys to its line edit: Enter counts at either.
    if ((watched == URL || watched == URL->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openTypedAddress();
            return true;  // swallowed, without a sound, also when the box is empty
        }
    }
    if ((watched == URL || watched == URL->lineEdit()) && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        urlFocusLeaving_ = true;
        QTimer::singleShot(0, this, [this] { urlFocusLeaving_ = false; });
    }
    if (watched == URL && (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop) URL_OLEDragDrop(drop->mimeData());
        return true;
    }
    return false;
}

bool AddressBox::isAddressBox(const QWidget* widget) const {
    return widget == URL;
}

void AddressBox::setWidth(int pixels) {
    URL->setFixedWidth(pixels);
}

QString AddressBox::addressText() const {
    return URL->currentText();
}

void AddressBox::setAddressText(const QString& address) {
    URL->setEditText(address);
}

void AddressBox::pickAddressEntry(const QString& address) {
    if (const int entry = URL->findText(address, Qt::MatchExactly); entry >= 0) URL->setCurrentIndex(entry);
}

QString AddressBox::historyFilePath() {
    return platform::programDataFolder() + QStringLiteral("/cache/URL.log");
}

QString AddressBox::URLAddItem(const QString& entered) {
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

void AddressBox::saveURLList() {
    const int n = std::min(URL->count(), 19);
    QByteArray bytes;
    for (int i = 0; i < n; ++i) bytes += URL->itemText(i).toUtf8() + "\r\n";
    QString folder = platform::folderPart(historyFilePath());
    modFileExists::makeSurePathExists(folder);
    // The history is a convenience: a failed write costs no message.
    platform::writeFileAtomically(historyFilePath(), bytes);
}

void AddressBox::loadURLList() {
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
void AddressBox::URL_Click() {
    const QString chosen = URL->currentText();
    navigation.LoadURLFromLocation();
    if (chosen.isEmpty()) return;
    const int at = URL->findText(chosen, Qt::MatchExactly);
    if (at > 0) {
        URL->removeItem(at);
        URL->insertItem(0, chosen);
    }
    URL->setEditText(chosen);
}

void AddressBox::openTypedAddress() {
    QString text = URL->currentText();
    text.remove(QLatin1Char('\r'));
    URL->setEditText(text);
    if (text.isEmpty()) return;
    navigation.LoadURLFromLocation();
    URLAddItem(text);
}

void AddressBox::URL_OLEDragDrop(const QMimeData* data) {
    if (!data) return;
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile()) {
        drops.dropOnWindow(data);
        return;
    }
    const QString text = data->text();
    const qsizetype at = text.indexOf(QLatin1String("http://"), 0, Qt::CaseInsensitive);
    if (at < 0) return;
    QString address = text.mid(at);
    address.remove(QLatin1String(".fld"), Qt::CaseInsensitive);
    URL->setEditText(address);
}
