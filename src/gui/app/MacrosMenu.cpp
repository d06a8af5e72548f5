#include "gui/app/MacrosMenu.h"

#include "gui/commands/frmSourceHTML.h"
#include "core/commands/modMTP.h"
#include "core/program/ProgramContext.h"

#include "platform/widgets/MenuItems.h"

#include <QAction>

MacrosMenu::MacrosMenu(ProgramContext& context) : context_(context) {}

void MacrosMenu::connectItems(QObject& menus) {
    menus_ = &menus;
    const auto on = [this, &menus](const QString& name, auto handler) { menuItems::connectItem(menus, name, this, handler); };
    on(QStringLiteral("mnuBatchShowLog"), [this] { mnuBatchShowLog_Click(); });
    on(QStringLiteral("mnuBatchPublish"), [this] { mnuBatchPublish_Click(); });
    for (int f = 1; f <= 12; ++f)
        if (f != 10) on(QStringLiteral("mnuBatchF%1").arg(f), [this, f] { mnuBatchF_Click(f); });
}

QAction* MacrosMenu::keyItem(int number) const {
    if (!menus_ || number < 1 || number > 12 || number == 10) return nullptr;
    return menus_->findChild<QAction*>(QStringLiteral("mnuBatchF%1").arg(number));
}

void MacrosMenu::mnuBatchShowLog_Click() {
    frmSourceHTML::Load(context_).fillLog();
    frmSourceHTML::showEditor(context_, qobject_cast<QWidget*>(menus_));
}

void MacrosMenu::mnuBatchF_Click(int number) {
    QAction* item = keyItem(number);
    if (!item) return;
    QString command = item->data().toString();
    modMTP::runMtpCommand(context_, command);
}

void MacrosMenu::mnuBatchPublish_Click() {
    modMTP::publishMacroSet(context_);
}
