#pragma once
#include "platform/ControlArray.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QString>

#include <utility>

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

// Runs the handler (in the receiver's lifetime) when the item of this name under `menus` is
// chosen; a name the menus do not have is passed over. Returns the item.
template <class Handler>
QAction* connectItem(const QObject& menus, const QString& name, QObject* receiver, Handler handler) {
    QAction* action = menus.findChild<QAction*>(name);
    if (action) QObject::connect(action, &QAction::triggered, receiver, std::move(handler));
    return action;
}

// Runs the handler with an element's index when that element of the array is chosen.
template <class Handler>
void connectElements(const ControlArray<QAction>& items, QObject* receiver, Handler handler) {
    for (auto it = items.begin(); it != items.end(); ++it)
        QObject::connect(it.value(), &QAction::triggered, receiver, [handler, index = it.key()] { handler(index); });
}

// A checkable item has flipped its mark by the time it reports the click; for handlers that
// flip it themselves it is put back first.
template <class Handler>
void connectToggle(QAction* item, QObject* receiver, Handler handler) {
    QObject::connect(item, &QAction::triggered, receiver, [item, handler] {
        item->setChecked(!item->isChecked());
        handler();
    });
}

}  // namespace menuItems
