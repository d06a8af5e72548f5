#include "record/frmLongText.h"

#include "app/Form1.h"
#include "core/record/Record.h"
#include "platform/MsgBox.h"
#include "platform/OwnedDialog.h"
#include "record/AgentEditor.h"
#include "record/modCharEncoding.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmLongText::frmLongText(Form1* form) : QDialog(form), form_(form) {
    setObjectName(QStringLiteral("frmLongText"));
    setWindowTitle(QStringLiteral("Enter Text"));
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMinimumSize(480, 240);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

frmLongText& frmLongText::instance(Form1* form) {
    return platform::ownedDialog<frmLongText>(*form, [&] { return new frmLongText(form); });
}

void frmLongText::showEvent(QShowEvent* event) {
    line_ = form_->record->selectedLine();
    Text1->setFocus();
    QDialog::showEvent(event);
}

void frmLongText::OKButton_Click() {
    const QString text = Text1->toPlainText();
    Record& record = *form_->record;
    if (record.contains(line_)) {
        // Stored as the content box stores what is typed into it: encoded, except on a link row.
        const QString stored = record.cell(line_, Record::Name).isEmpty()
                                   ? text
                                   : modCharEncoding::encodeContent(text, form_->context.preferences.charEncoding);
        if (stored != record.cell(line_, Record::Content)) {
            // Asked first: a cancelled question leaves the line as it was and the text open.
            if (form_->markHTMLmodifiedCheckList(QStringLiteral("before editing a record")) == platform::vbCancel)
                return;
            record.set(line_, Record::Content, stored);
        }
        if (record.selectedLine() == line_) recordEditors::showInContentBox(*form_, text);
    }
    accept();
}
