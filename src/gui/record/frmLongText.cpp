#include "gui/record/frmLongText.h"

#include "gui/frame/ContentBox.h"
#include "gui/frame/RecordDocument.h"
#include "core/record/Record.h"
#include "platform/MsgBox.h"
#include "platform/OwnedDialog.h"
#include "core/program/ProgramContext.h"
#include "core/record/modCharEncoding.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmLongText::frmLongText(ProgramContext& context, RecordDocument& document, ContentBox& content, QWidget* parent)
    : QDialog(parent), context_(context), document_(document), content_(content) {
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

frmLongText& frmLongText::instance(ProgramContext& context, RecordDocument& document, ContentBox& content,
                                   QWidget* window) {
    return platform::ownedDialog<frmLongText>(*window,
                                              [&] { return new frmLongText(context, document, content, window); });
}

void frmLongText::setText(const QString& text) {
    Text1->setPlainText(text);
}

void frmLongText::showEvent(QShowEvent* event) {
    line_ = context_.record.selectedLine();
    Text1->setFocus();
    QDialog::showEvent(event);
}

void frmLongText::OKButton_Click() {
    const QString text = Text1->toPlainText();
    Record& record = context_.record;
    if (record.contains(line_)) {
        // Stored as the content box stores what is typed into it: encoded, except on a link row.
        const QString stored = record.cell(line_, Record::Name).isEmpty()
                                   ? text
                                   : modCharEncoding::encodeContent(text, context_.preferences.charEncoding);
        if (stored != record.cell(line_, Record::Content)) {
            // Asked first: a cancelled question leaves the line as it was and the text open.
            if (document_.markHTMLmodifiedCheckList(QStringLiteral("before editing a record")) == platform::kAnswerCancel)
                return;
            record.set(line_, Record::Content, stored);
        }
        if (record.selectedLine() == line_) content_.showInContentBox(text);
    }
    accept();
}
