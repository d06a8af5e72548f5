#include "gui/app/frmMsgBox.h"

#include "core/program/CRegSettings.h"
#include "core/program/ProgramContext.h"
#include "platform/widgets/Modal.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

const QString frmMsgBox::kSection = QStringLiteral("Preferences\\MsgBoxes");

frmMsgBox::frmMsgBox(ProgramContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmMsgBox"));
    setWindowTitle(QStringLiteral("Message"));
    Message = new QLabel(this);
    Message->setWordWrap(true);
    Message->setMinimumWidth(320);
    cmdYes = new QPushButton(QStringLiteral("Yes"), this);
    cmdNo = new QPushButton(QStringLiteral("No"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    dontShow = new QCheckBox(QStringLiteral("Don't show this message again"), this);
    // Without a box name there is nowhere to remember the tick, so the box is not offered.
    dontShow->hide();
    const std::pair<QWidget*, const char*> names[] = {
        {Message, "Message"}, {cmdYes, "cmdYes"}, {cmdNo, "cmdNo"}, {cmdCancel, "cmdCancel"}, {dontShow, "dontShow"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QLatin1String(name));
    cmdYes->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdYes);
    buttons->addWidget(cmdNo);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Message);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addWidget(dontShow);

    connect(cmdYes, &QPushButton::clicked, this, [this] { choose(6); });
    connect(cmdNo, &QPushButton::clicked, this, [this] { choose(7); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { choose(2); });
}

void frmMsgBox::setMessage(const QString& text) {
    Message->setText(text);
}

bool frmMsgBox::CheckLoad() {
    return CRegSettings(context_.settings).GetSetting(kSection, boxName, QString()) != QLatin1String("OFF");
}

void frmMsgBox::choose(int answer) {
    selectionMade_ = answer;
    done(answer == 2 ? QDialog::Rejected : QDialog::Accepted);
}

// Every way out (a button or the close box) ends here; the tick is kept whatever was chosen.
void frmMsgBox::done(int result) {
    if (dontShow->isChecked() && !boxName.isEmpty())
        CRegSettings(context_.settings).SaveSetting(kSection, boxName, QStringLiteral("OFF"));
    QDialog::done(result);
}

bool CMsgBox::frmMsgBox(const QString& text) {
    ::frmMsgBox box(context_);
    box.setMessage(text);
    runs_.execModal(box);
    return box.SelectionMade() != 0;
}
