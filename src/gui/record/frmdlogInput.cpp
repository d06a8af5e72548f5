#include "gui/record/frmdlogInput.h"

#include "platform/OwnedDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

frmdlogInput::frmdlogInput(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmdlogInput"));
    setWindowTitle(QStringLiteral("Please Enter a Metadata Field Name"));
    Label1 = new QLabel(QStringLiteral("Field Name :"), this);
    txtFieldName = new QLineEdit(this);
    txtFieldName->setMinimumWidth(260);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdOK->setDefault(true);
    const std::pair<QWidget*, const char*> names[] = {
        {Label1, "Label1"}, {txtFieldName, "txtFieldName"}, {cmdOK, "cmdOK"}, {cmdCancel, "cmdCancel"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QLatin1String(name));
    auto* row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(txtFieldName, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        answer_ = txtFieldName->text();
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        answer_.clear();
        reject();
    });
}

frmdlogInput& frmdlogInput::instance(QWidget* parent) {
    return platform::ownedDialog<frmdlogInput>(*parent, [&] { return new frmdlogInput(parent); });
}

void frmdlogInput::showEvent(QShowEvent* event) {
    answer_.clear();
    txtFieldName->setFocus();
    txtFieldName->selectAll();
    QDialog::showEvent(event);
}
