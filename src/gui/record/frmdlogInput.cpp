#include "gui/record/frmdlogInput.h"

#include "platform/OwnedDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {
const QString kFieldNamePrompt = QStringLiteral("Field Name :");
// What the box holds as designed.
constexpr int kDesignedLength = 32767;
}  // namespace

frmdlogInput::frmdlogInput(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmdlogInput"));
    setWindowTitle(QStringLiteral("Please Enter a Metadata Field Name"));
    Label1 = new QLabel(kFieldNamePrompt, this);
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

void frmdlogInput::proposeFieldName(const QString& caption, const QString& name) {
    setWindowTitle(caption);
    Label1->setText(kFieldNamePrompt);
    txtFieldName->setMaxLength(kDesignedLength);
    txtFieldName->setText(name);
}

void frmdlogInput::proposeText(const QString& caption, const QString& prompt, const QString& text) {
    setWindowTitle(caption);
    Label1->setText(prompt);
    txtFieldName->setMaxLength(std::max(kDesignedLength, int(text.size())));
    txtFieldName->setText(text);
}

void frmdlogInput::showEvent(QShowEvent* event) {
    answer_.clear();
    txtFieldName->setFocus();
    txtFieldName->selectAll();
    QDialog::showEvent(event);
}
