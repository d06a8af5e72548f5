#pragma once
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "support/Common.h"

// Qt's own delivery of a key to the shortcuts, as its test library uses it.
bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                  const QString& text, bool autorep, ushort count);

// Keyboard and mouse input delivered straight to a widget, as the window system would.
namespace widget_input {

inline void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
                  Qt::KeyboardModifiers modifiers, const QPoint& at) {
    QMouseEvent event(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, modifiers);
    QApplication::sendEvent(w, &event);
}

inline void click(QWidget* w, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& at) {
    mouse(w, QEvent::MouseButtonPress, button, button, modifiers, at);
    mouse(w, QEvent::MouseButtonRelease, button, Qt::NoButton, modifiers, at);
}

inline void doubleClick(QWidget* w, Qt::MouseButton button, const QPoint& at) {
    click(w, button, Qt::NoModifier, at);
    mouse(w, QEvent::MouseButtonDblClick, button, button, Qt::NoModifier, at);
    mouse(w, QEvent::MouseButtonRelease, button, Qt::NoButton, Qt::NoModifier, at);
}

// The text a key types when none is given: letters, digits and blank as themselves, and the
// control characters of Backspace, Enter, Escape and Delete.
inline QString defaultText(int key, Qt::KeyboardModifiers modifiers) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const QChar c(static_cast<char16_t>(key));
        return modifiers.testFlag(Qt::ShiftModifier) ? QString(c) : QString(c.toLower());
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space) return QString(QChar(char16_t(key)));
    const std::pair<int, char16_t> controls[] = {
        {Qt::Key_Backspace, 8}, {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Escape, 27}, {Qt::Key_Delete, 127}};
    for (const auto& [k, c] : controls)
        if (k == key) return QString(QChar(c));
    return {};
}

inline void key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QString text = QString()) {
    if (text.isNull()) text = defaultText(key, modifiers);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &release);
}

// A key as the window system delivers it: the window's shortcuts take it first.
inline void shortcutKey(QWidget* w, int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (!qt_sendShortcutOverrideEvent(w, 0, k, modifiers, QString(), false, 1)) key(w, k, modifiers);
}

// Types each character as a key of its own (no key code of its own for non-ASCII ones).
inline void type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        const int k = c.unicode() < 128 ? c.toUpper().unicode() : 0;
        key(w, k, Qt::NoModifier, QString(c));
    }
}

// Opens the combo's list, moves to the row and takes it with Enter.
inline void pick(QComboBox* combo, int row) {
    combo->showPopup();
    combo->view()->setCurrentIndex(combo->model()->index(row, 0));
    key(combo->view(), Qt::Key_Return);
}

inline void showAndWait(QWidget* w) {
    w->show();
    QApplication::processEvents();
}

}  // namespace widget_input
