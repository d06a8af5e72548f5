#pragma once
#include "platform/ControlArray.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QString>
#include <QWidget>

#include <algorithm>
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

// The item of this name under `menus`. A name the menus do not have is a slip of the wiring
// that would leave an item doing nothing: it is logged, so it shows at start-up and in tests.
inline QAction* find(const QObject& menus, const QString& name) {
    QAction* action = menus.findChild<QAction*>(name);
    if (!action) qWarning("Menu item %s not found: nothing is connected to it", qPrintable(name));
    return action;
}

// Runs the handler (in the receiver's lifetime) when the item of this name under `menus` is
// chosen. Returns the item, or nullptr (logged) when the menus do not have it.
template <class Handler>
QAction* connectItem(const QObject& menus, const QString& name, QObject* receiver, Handler handler) {
    QAction* action = find(menus, name);
    if (action) QObject::connect(action, &QAction::triggered, receiver, std::move(handler));
    return action;
}

// Whether a key pressed in `window` goes to one of its menu items rather than to the focused
// box: the box keeps the editing keys users expect of it (copy, cut, paste, select all, undo,
// redo); any other key that a usable item of the window has as its shortcut is the item's.
inline bool itemTakesKey(const QWidget& window, const QKeyEvent& key) {
    for (const QKeySequence::StandardKey editing : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
                                                    QKeySequence::SelectAll, QKeySequence::Undo, QKeySequence::Redo})
        if (key.matches(editing)) return false;
    const QKeySequence pressed(key.keyCombination());
    const QList<QAction*> actions = window.findChildren<QAction*>();
    return std::any_of(actions.begin(), actions.end(), [&pressed](const QAction* action) {
        return action->isEnabled() && action->isVisible() && action->shortcuts().contains(pressed);
    });
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
