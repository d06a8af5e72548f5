#include "app/frmHelpBrowser.h"

#include "platform/WebBrowser.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

frmHelpBrowser::frmHelpBrowser(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHelpBrowser"));
    setWindowTitle(QStringLiteral("Quorvantile Help"));
    setModal(false);
    resize(640, 480);
    WebBrowser1 = platform::createWebBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WebBrowser1->widget(), 1);
    layout->addLayout(buttons);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::hide);

    // The buffer is looked at once control returns to the event loop after a page
    // arrives, rather than polled all the time.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &frmHelpBrowser::Timer1_Timer);

    WebBrowser1->Navigate(QStringLiteral("about:blank"));
}

frmHelpBrowser& frmHelpBrowser::instance() {
    static QPointer<frmHelpBrowser> window;
    if (!window) window = new frmHelpBrowser();
    return *window;
}

void frmHelpBrowser::setHTML(const QString& html) {
    receivedHTML = html;
    Timer1->start();
}

void frmHelpBrowser::Timer1_Timer() {
    if (receivedHTML.isEmpty()) return;
    WebBrowser1->setBodyHtml(std::exchange(receivedHTML, QString()));
    show();
    raise();
}
