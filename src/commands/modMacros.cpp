#include "commands/modMacros.h"

#include "app/Preferences.h"
#include "commands/CommandWindow.h"
#include "commands/modMTP.h"

#include <QAction>

namespace modMacros {

CRegSettings regSettings;

namespace {

// The Macros menu item of a function key ("F1" .. "F12"), or nullptr.
QAction* macroItem(const QString& key) {
    CommandWindow* window = modMTP::commandWindow();
    if (!window || !key.startsWith(QLatin1Char('F'), Qt::CaseInsensitive)) return nullptr;
    bool ok = false;
    const int number = key.mid(1).toInt(&ok);
    if (!ok || number < 1 || number > 12 || number == 10) return nullptr;
    return window->macroMenuItem(number);
}

}  // namespace

void loadMacros(const QString& section) {
    regSettings = CRegSettings();
    regSettings.setCompany(QStringLiteral("Orvane Consulting"));
    regSettings.setAppName(QStringLiteral("Quorvantil"));
    if (CommandWindow* window = modMTP::commandWindow()) {
        for (int number = 1; number <= 12; ++number) {
            if (QAction* item = window->macroMenuItem(number)) item->setVisible(false);
        }
    }
    const auto rows = regSettings.GetAllSettings(section);
    for (const SettingRow& row : rows) {
        const qsizetype bar = row.value.indexOf(QLatin1Char('|'));
        const QString caption = bar < 0 ? row.value : row.value.left(bar);
        const QString command = bar < 0 ? row.value : row.value.mid(bar + 1);
        if (QAction* item = macroItem(row.name)) {
            item->setText(caption);
            item->setData(command);
            item->setVisible(true);
        }
        if (row.value.contains(QLatin1String("addmacro"), Qt::CaseInsensitive)) continue;
        struct Slot {
            const char* caption;
            QString* global;
        };
        const Slot slots[] = {{"Open Record", &openRecordMacro},
                              {"Save Record", &saveRecordMacro},
                              {"Open Catalog", &openCatalogMacro},
                              {"Save Catalog", &saveCatalogMacro}};
        for (const Slot& slot : slots) {
            if (!row.value.contains(QLatin1String(slot.caption), Qt::CaseInsensitive)) continue;
            if (slot.global->isEmpty()) *slot.global = command;
            if (slot.global == &saveRecordMacro) Preferences::charEncoding = QStringLiteral("0");
            break;
        }
    }
}

}  // namespace modMacros
