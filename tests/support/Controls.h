#pragma once
#include "platform/WidgetInput.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <gtest/gtest.h>

// A window's controls as a user reaches them: found by their names, typed into, pressed.
namespace testing_support {

// The control (or other object) of this type and object name inside a window; a missing
// one fails the test.
template <class Control>
Control* child(const QObject& window, const QString& name) {
    auto* found = window.findChild<Control*>(name);
    EXPECT_NE(found, nullptr) << window.objectName().toStdString() << " has no " << name.toStdString();
    return found;
}

// The window's button of this name pressed.
inline void press(const QObject& window, const QString& button) {
    if (auto* found = child<QAbstractButton>(window, button)) found->click();
}

// Text typed over what a box of the window holds: the box takes the focus, its text is
// selected, and the keys go in one by one.
inline void typeOver(const QObject& window, const QString& box, const QString& text) {
    auto* found = child<QLineEdit>(window, box);
    if (!found) return;
    found->setFocus();
    found->selectAll();
    widget_input::type(found, text);
}

}  // namespace testing_support
