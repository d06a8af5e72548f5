#include "record/frmLongText.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

frmLongText::frmLongText(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmLongText"));
    setWindowTitle(QStringLiteral("Enter Text"));
    Text1 = new QPlainTextEdit(this);
    Text1->setMinimumSize(480, 240);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

frmLongText& frmLongText::instance(QWidget* parent) {
    static QPointer<frmLongText> dialog;
    if (!dialog) dialog = new frmLongText(parent);
    return *dialog;
}
