#pragma once
#include <QMainWindow>
#include "app/modMetaMain.h"
#include "gui/app/FileMenu.h"
#include "gui/app/HelpMenu.h"
#include "gui/app/NavigationPane.h"
#include "gui/app/WindowFrame.h"
#include "gui/catalogues/ListTreeView.h"
#include "gui/catalogues/TreePane.h"
#include "gui/record/RecordPane.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace testing_support {

// A main window loaded as at start-up, on a private settings store and a fresh program state
// (with this scheme server, which the menus are built with).
class TestWindow {
public:
    explicit TestWindow(const QString& schemeServer = QString()) {
        context.schemeServer = schemeServer;
        form.reset(modMetaMain::openMainWindow(context));
    }
    // The window, as a widget.
    QMainWindow* operator->() const { return form.get(); }
    QMainWindow& operator*() const { return *form; }

    // The list tree shown.
    ListTree& activeTree() const { return context.listTrees[size_t(context.treeIndex)]; }

    // The pane of the list tree shown.
    ListTreeView* activeTreeView() const {
        return find<ListTreeView>(QStringLiteral("TreeView1_%1").arg(context.treeIndex));
    }

    // The record pane, found by its name as the window's widgets are.
    RecordPane& recordPane() const { return *find<RecordPane>(QStringLiteral("recordPane")); }
    TreePane& treePane() const { return *find<TreePane>(QStringLiteral("treePane")); }
    NavigationPane& navigationPane() const { return *find<NavigationPane>(QStringLiteral("navigationPane")); }
    FileMenu& fileMenu() const { return *find<FileMenu>(QStringLiteral("fileMenu")); }
    HelpMenu& helpMenu() const { return *find<HelpMenu>(QStringLiteral("helpMenu")); }

    // Whether the window takes Shift as held down, as the commands ask it.
    bool shiftHeld() const { return context.commands.window && context.commands.window->shiftDown(); }
    // Shift pressed (or let go) on the window's focused control, as the keyboard does; the
    // window is shown and active for it.
    void holdShift(bool down) const {
        if (!form->isVisible()) form->show();
        QApplication::setActiveWindow(form.get());
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus->window() != form.get()) {
            focus = find<QComboBox>(QStringLiteral("URL"));
            focus->setFocus();
        }
        if (down) QTest::keyPress(focus, Qt::Key_Shift, Qt::ShiftModifier);
        else QTest::keyRelease(focus, Qt::Key_Shift);
    }

    // The window's widget (or other object) of this type and object name, as a user finds it
    // on screen; a missing one fails the test.
    template <class Widget>
    Widget* find(const QString& name) const {
        auto* found = form->findChild<Widget*>(name);
        EXPECT_NE(found, nullptr) << "the window has no " << name.toStdString();
        return found;
    }

    FreshStore store;  // made first and dropped last: the window lives on it
    mutable ProgramContext context;  // the program's state, which test helpers read and change
    std::unique_ptr<QMainWindow> form;
};

}  // namespace testing_support
