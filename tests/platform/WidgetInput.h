#pragma once
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>

#include "support/ScriptedUi.h"
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

// Data dropped onto a point of a widget: what the drop did with it.
inline Qt::DropAction drop(QWidget* w, const QPoint& at, const QMimeData& data) {
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QDropEvent drop(QPointF(at), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

// Text dropped from another program.
inline Qt::DropAction dropText(QWidget* w, const QPoint& at, const QString& text) {
    QMimeData data;
    data.setText(text);
    return drop(w, at, data);
}

// Drags with the left button from a point of one widget onto a point of another (or the
// same one), as the user does: the press and the moves start the widget's own drag, whose
// data goes to the target, where the button goes up. Returns what the drop did.
inline Qt::DropAction drag(QWidget* from, const QPoint& start, QWidget* to, const QPoint& end) {
    Qt::DropAction done = Qt::IgnoreAction;
    bool dragged = false;
    const testing_support::DragReplies player([&](QDrag& drag) {
        dragged = true;
        done = drop(to, end, *drag.mimeData());
        return done;
    });
    mouse(from, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, start);
    // The first move arms the drag, the second, past the drag distance, starts it.
    const int step = QApplication::startDragDistance() + 2;
    for (int i = 1; i <= 2 && !dragged; ++i)
        mouse(from, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, Qt::NoModifier, start + QPoint(i * step, 0));
    EXPECT_TRUE(dragged) << "no drag started";
    return done;
}

inline void showAndWait(QWidget* w) {
    w->show();
    QApplication::processEvents();
}

}  // namespace widget_input
