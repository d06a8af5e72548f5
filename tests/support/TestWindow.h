#pragma once
#include "app/Form1.h"
#include "app/modMetaMain.h"
#include "gui/app/NavigationPane.h"
#include "gui/app/WindowFrame.h"
#include "gui/catalogues/ListTreeView.h"
#include "gui/catalogues/TreePane.h"
#include "gui/record/RecordPane.h"
#include "support/ScriptedUi.h"

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
    Form1* operator->() const { return form.get(); }
    Form1& operator*() const { return *form; }

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
    std::unique_ptr<Form1> form;
};

}  // namespace testing_support
