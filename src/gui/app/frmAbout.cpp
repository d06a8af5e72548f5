#include "gui/app/frmAbout.h"

#include "core/program/UserDialogs.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const kVersion = "0.1.0";
}

frmAbout::frmAbout(UserDialogs& user, std::function<void(const QString&)> openPage, QWidget* parent)
    : QDialog(parent), user_(user), openPage_(std::move(openPage)) {
    setObjectName(QStringLiteral("frmAbout"));
    Label2[0] = new QLabel(QStringLiteral("<b>Quorvantile</b>"), this);
    Label2[1] = new QLabel(this);
    Label2[2] = new QLabel(QStringLiteral("Metadata for web pages, from Orvane Consulting."), this);
    Label2[0]->setStyleSheet(QStringLiteral("font-size: 16pt"));
    for (int i = 0; i < 3; ++i) Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    Credits = new QPushButton(QStringLiteral("Credits..."), this);
    Credits->setObjectName(QStringLiteral("Credits"));
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Credits);
    buttons->addStretch();
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    for (QLabel* label : Label2) layout->addWidget(label);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    connect(Credits, &QPushButton::clicked, this, &frmAbout::Credits_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::hide);
}

void frmAbout::showEvent(QShowEvent* event) {
    setWindowTitle(QStringLiteral("About ") + platform::kDefaultMsgBoxTitle);
    Label2[1]->setText(QStringLiteral("Quorvantil metadata editor, version ") + QLatin1String(kVersion));
    QDialog::showEvent(event);
}

void frmAbout::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() &&
        QApplication::activeWindow() != nullptr)
        hide();
}

void frmAbout::Credits_Click() {
    if (openPage_) openPage_(QStringLiteral("/credits.html"));
    hide();
}

// There is no system information tool on this platform.
void frmAbout::StartSysInfo() {
    user_.MsgBox(QStringLiteral("System Information Is Unavailable At This Time"));
}
