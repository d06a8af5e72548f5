#include "gui/commands/frmWaitProcess.h"

#include "core/program/ProgramContext.h"
#include "platform/widgets/Modal.h"
#include "platform/OwnedDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {
const QString kCaption = QStringLiteral("Waiting on System Resources");
}  // namespace

frmWaitProcess::frmWaitProcess() {
    setObjectName(QStringLiteral("frmWaitProcess"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Cancel = new QPushButton(this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Cancel, 0, Qt::AlignHCenter);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &frmWaitProcess::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &frmWaitProcess::Timer2_Timer);
    connect(Cancel, &QPushButton::clicked, this, &frmWaitProcess::Cancel_Click);
    restoreDesign();
    resize(360, 110);
}

frmWaitProcess& frmWaitProcess::Load(ProgramContext& context) {
    // The dialog goes with the window it was shown over, or else with the state.
    frmWaitProcess& dialog =
        platform::keptDialog<frmWaitProcess>(context.commands.waitDialog, [] { return new frmWaitProcess(); });
    dialog.context_ = &context;
    if (!dialog.isLoaded()) {
        dialog.restoreDesign();
        dialog.Timer1->start();
        dialog.Timer2->start();
    }
    return dialog;
}

frmWaitProcess* frmWaitProcess::loadedInstance(const ProgramContext& context) {
    auto* dialog = qobject_cast<frmWaitProcess*>(context.commands.waitDialog.data());
    return dialog && dialog->isLoaded() ? dialog : nullptr;
}

bool frmWaitProcess::isLoaded() const {
    return Timer1->isActive();
}

void frmWaitProcess::restoreDesign() {
    setWindowTitle(kCaption);
    Label1->setText(kCaption);
    Cancel->setText(QStringLiteral("Cancel"));
    Cancel->setEnabled(true);
    Cancel->setVisible(true);
}

void frmWaitProcess::showText(const QString& text, const QString& title) {
    Label1->setText(text);
    setWindowTitle(title);
}

void frmWaitProcess::storeCommand(const QString& command, CommandOrigin origin) {
    pendingCommand = command;
    pendingOrigin = origin;
}

void frmWaitProcess::setLabel(const QString& text) {
    Label1->setText(text);
}

void frmWaitProcess::setCancelAvailable(bool available) {
    Cancel->setEnabled(available);
}

void frmWaitProcess::Unload() {
    Timer1->stop();
    Timer2->stop();
    if (isVisible()) done(QDialog::Rejected);
}

void frmWaitProcess::placeOver(QWidget* owner) {
    if (owner && parentWidget() != owner) setParent(owner, Qt::Dialog);
}

void frmWaitProcess::showModal(QWidget* owner, platform::ModalRuns& runs) {
    // Already on screen: its own loop runs the stored command.
    if (isVisible()) return;
    placeOver(owner);
    setWindowModality(Qt::ApplicationModal);
    runs.execModal(*this);
}

void frmWaitProcess::showModeless(QWidget* owner) {
    placeOver(owner);
    setWindowModality(Qt::NonModal);
    platform::centreOverOwner(*this);
    show();
}

void frmWaitProcess::Timer1_Timer() {
    if (!context_ || running_ || pendingCommand.isEmpty() || context_->commands.macroRunning) return;
    // Taken out of the slot first: a command refused during this run waits there for its turn.
    QString command = std::exchange(pendingCommand, QString());
    const modMTP::CommandOrigin origin = pendingOrigin;
    running_ = true;
    context_->commands.macroRunning = true;
    modMTP::mtpTransaction(*context_, command, origin);
    context_->commands.macroRunning = false;
    running_ = false;
}

void frmWaitProcess::Timer2_Timer() {
    if (pendingCommand.isEmpty() && !(context_ && context_->commands.macroRunning) && !running_) Unload();
}

void frmWaitProcess::Cancel_Click() {
    // Whatever still waited goes with the dialog; the running command ends on its own.
    pendingCommand.clear();
    Unload();
    if (context_) context_->commands.cancelRequested = true;
}
