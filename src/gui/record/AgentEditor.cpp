#include "gui/record/AgentEditor.h"

#include "core/program/ProgramContext.h"
#include "gui/frame/ContentBox.h"
#include "gui/frame/RecordDocument.h"
#include "platform/MsgBox.h"
#include "core/record/modCharEncoding.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString AgentEditor::getElement(const QString& text, const QString& key) {
    if (key.isEmpty()) return {};
    const qsizetype at = text.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0) return {};
    const qsizetype start = at + key.size();
    const qsizetype end = text.indexOf(QLatin1Char(';'), at);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

QString AgentEditor::composeValue(const QList<KeyValue>& fields) {
    QString value;
    for (const KeyValue& field : fields) {
        if (field.value.isEmpty()) continue;
        value += field.key + field.value + QStringLiteral("; ");
    }
    if (!value.isEmpty()) value.chop(2);
    return value;
}

AgentEditor::AgentEditor(ProgramContext& context, RecordDocument& document, ContentBox& content, QWidget* window,
                         const QString& name, const QString& caption)
    : QDialog(window), context_(context), document_(document), content_(content) {
    setObjectName(name);
    setWindowTitle(caption);
    grid_ = new QGridLayout;
    grid_->setColumnStretch(1, 1);
    ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(ok, &QPushButton::clicked, this, [this] { OK_Click(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AgentEditor::addRow(const QString& key, const QString& label, QWidget* control, QLineEdit* box) {
    const int row = grid_->rowCount();
    auto* caption = new QLabel(label, this);
    caption->setBuddy(control);
    grid_->addWidget(caption, row, 0);
    grid_->addWidget(control, row, 1);
    fields_.append({key, box});
    // ";" ends a value when the text is read back, so no field may hold one.
    connect(box, &QLineEdit::textChanged, this, [box](const QString& text) {
        if (!text.contains(QLatin1Char(';'))) return;
        const int caret = box->cursorPosition();
        const int before = int(QStringView(text).left(caret).count(QLatin1Char(';')));
        QString clean = text;
        clean.remove(QLatin1Char(';'));
        box->setText(clean);
        box->setCursorPosition(caret - before);
    });
}

void AgentEditor::addTextField(const QString& key, const QString& name, const QString& label, const QString& help) {
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->setToolTip(help);
    box->setMinimumWidth(320);
    addRow(key, label, box, box);
}

void AgentEditor::addListField(const QString& key, const QString& name, const QString& label, const QString& help,
                               const QStringList& proposals) {
    auto* list = new QComboBox(this);
    list->setObjectName(name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setToolTip(help);
    list->setMinimumContentsLength(30);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->addItems(proposals);
    list->lineEdit()->clear();  // the proposals only propose
    addRow(key, label, list, list->lineEdit());
}

void AgentEditor::finishLayout(QLabel* note) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    if (note) {
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    layout->addLayout(grid_);
    layout->addStretch();
    layout->addLayout(buttons);
}

QString AgentEditor::value() const {
    QList<KeyValue> values;
    values.reserve(fields_.size());
    for (const Field& field : fields_) values.append({field.key, field.box->text()});
    return composeValue(values);
}

void AgentEditor::showEvent(QShowEvent* event) {
    line_ = context_.record.selectedLine();
    const QString text = context_.record.cell(line_, Record::Content);
    for (const Field& field : std::as_const(fields_)) field.box->setText(getElement(text, field.key));
    if (!fields_.isEmpty()) fields_.first().box->setFocus();
    QDialog::showEvent(event);
}

void AgentEditor::OK_Click() {
    const QString newValue = value();
    Record& record = context_.record;
    if (record.contains(line_) && newValue != record.cell(line_, Record::Content)) {
        // Asked first: a cancelled question leaves the record as it was and the fields open.
        if (document_.markHTMLmodifiedCheckList(QStringLiteral("before editing a record")) == platform::kAnswerCancel) return;
        record.set(line_, Record::Content, newValue);
        if (record.selectedLine() == line_)
            content_.showInContentBox(modCharEncoding::decodeContent(newValue, context_.preferences.charEncoding));
    }
    accept();
}


