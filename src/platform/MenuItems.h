#pragma once
#include "platform/ControlArray.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QString>

// Menu items named as the program names them, so handlers and tests find them by name.
namespace menuItems {

inline QAction* item(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut = {}) {
    auto* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

inline QAction* separator(QMenu* menu, const QString& name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(name);
    return action;
}

inline QMenu* submenu(QMenu* parent, const QString& name, const QString& caption) {
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

// Element `index` of a control array is named name_index; "-" makes a separator.
inline QAction* element(QMenu* menu, ControlArray<QAction>& array, const QString& name, int index,
                        const QString& caption, const QKeySequence& shortcut = {}) {
    QAction* action = caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
    action->setObjectName(name + QLatin1Char('_') + QString::number(index));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    array.set(index, action);
    return action;
}

}  // namespace menuItems
