#pragma once
#include <QMainWindow>
#include "gui/app/modMetaMain.h"
#include "core/record/Record.h"
#include "gui/app/FileMenu.h"
#include "gui/app/HelpMenu.h"
#include "gui/app/NavigationPane.h"
#include "gui/frame/WindowFrame.h"
#include "gui/catalogues/ListTreeView.h"
#include "gui/catalogues/TreePane.h"
#include "gui/record/RecordPane.h"
#include "platform/WidgetInput.h"
#include "platform/widgets/WebBrowser.h"
#include "support/Controls.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"
#include "support/core/TestContext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace testing_support {

// A main window loaded as at start-up, on a private settings store and a fresh program state
// (with this scheme server, which the menus are built with).
class TestWindow {
public:
    explicit TestWindow(const QString& schemeServer = QString(), const TestServices& services = {})
        : context(services) {
        context.schemeServer = schemeServer;
        form.reset(modMetaMain::openMainWindow(context, testing_support::modalRuns()));
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

    // The Help menu, whose help window (made on first use) shows help pages and the
    // repository's replies.
    HelpMenu& helpMenu() const { return *find<HelpMenu>(QStringLiteral("helpMenu")); }

    // Text typed into the address box and Enter pressed, as a user opens a page or runs a
    // command there; the page the browser was sent to has loaded when it returns.
    void enter(const QString& text) const {
        QLineEdit* box = find<QComboBox>(QStringLiteral("URL"))->lineEdit();
        box->setText(text);
        widget_input::key(box, Qt::Key_Return);
        offlineBrowser(find<platform::WebBrowser>(QStringLiteral("WebBrowser1"))).settle();
    }

    // Line i of the record (from 1) selected and opened in the edit panel as a user does it:
    // the panel closed by its close button if it is open, then Edit > Edit Current Record.
    void openLine(int i) const {
        if (!find<QWidget>(QStringLiteral("EditPanel"))->isHidden())
            find<QAbstractButton>(QStringLiteral("EditClose"))->click();
        context.record.selectOnly(context.record.idAt(i));
        find<QAction>(QStringLiteral("mnuEditCurrentRecord"))->trigger();
    }

    // The list marked as edited the way a user does it, changing nothing in it: the tag of
    // the list's first line with one written again as it was (the tree's context menu,
    // Edit Tag, and OK in the input dialog).
    void editListTagAgain() const {
        ListTree& tree = activeTree();
        int line = 2;
        while (line < tree.count() && tree.tag(tree.item(line)).isEmpty()) ++line;
        tree.select(tree.item(line));
        ScriptedModals modals;
        modals.then([](QDialog& dialog) { child<QPushButton>(dialog, QStringLiteral("cmdOK"))->click(); });
        find<QAction>(QStringLiteral("mnuMaintNodes_%1").arg(TreePane::kEditTag))->trigger();
    }

    // Whether text typed into the edit panel goes into the record, as it must whenever no
    // read is under way: a line is added and typed into, then the editing is cancelled
    // (Cancel Editing this page) and the line taken out again.
    bool typingReachesTheRecord() const {
        Record& record = context.record;
        const Record::LineId line = record.append({QStringLiteral("DC.Test"), QString(), {}, {}});
        openLine(record.positionOf(line));
        widget_input::type(find<QLineEdit>(QStringLiteral("editNrmlContent")), QStringLiteral("typed"));
        const bool written = record.cell(line, Record::Content) == QLatin1String("typed");
        find<QAction>(QStringLiteral("mnuMaintMeta_9"))->trigger();
        record.remove(line);
        return written;
    }

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
    mutable TestContext context;  // the program's state, which test helpers read and change
    std::unique_ptr<QMainWindow> form;
};

}  // namespace testing_support
