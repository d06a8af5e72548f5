// Every dialog a menu opens hangs from the main window and opens centred over it, with
// nothing of it dropped down yet: the menu bar's items and the two context menus are each
// chosen in turn, with a record and a list open, and whatever dialog comes up is looked at.
#include "AppTestSupport.h"
#include "gui/app/frmHelpBrowser.h"
#include "gui/catalogues/ListTreeModel.h"
#include "platform/FileDialogs.h"

#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <cstdlib>

namespace {

// The items a user can choose in a menu and the menus below it.
void collectItems(QMenu* menu, QList<QAction*>& items) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible() || !action->isEnabled()) continue;
        if (action->menu()) collectItems(action->menu(), items);
        else items.append(action);
    }
}

class MenuDialogsTest : public WindowTest {
protected:
    StartedProcesses started;
    QStringList seen;  // each dialog once, by class
    QString chosen;    // the item chosen last
    // Whatever the items ask is answered as a cautious user does; every file dialog is cancelled.
    testing_support::MsgBoxReplies boxes{[](const platform::MsgBoxCall& call) {
        const int buttons = call.style & 7;
        if (buttons == platform::kOkCancel || buttons == platform::kYesNoCancel || buttons == platform::kRetryCancel)
            return int(platform::kAnswerCancel);
        return int(buttons == platform::kYesNo ? platform::kAnswerNo : platform::kAnswerOk);
    }};
    testing_support::FileDialogReplies files{[](const platform::FileDialogRequest&) { return platform::FileDialogAnswer{}; }};
    // Every dialog is looked at as it opens and cancelled.
    testing_support::ModalReplies modals{[this](QDialog& dialog) {
        dialog.show();
        look(dialog);
        dialog.reject();
        return int(QDialog::Rejected);
    }};

    void SetUp() override {
        // Away from the screen's corner and its middle, so a dialog placed anywhere but over
        // the window's middle shows.
        widget_input::showAndWait(w.form.get());
        const QRect screen = w->screen()->availableGeometry();
        w->setGeometry(QRect(screen.topLeft() + QPoint(screen.width() / 10, screen.height() / 8), screen.size() * 0.7));
        QApplication::processEvents();
        QApplication::setActiveWindow(w.form.get());
        w.context.preferences.UseLinkRel.setText(u"N"_s);
        open(write(u"page.htm"_s, "<html><head><title>Page</title><meta name=\"DC.Title\" content=\"T\">"
                                  "<meta name=\"DC.Creator\" content=\"C\"></head><body></body></html>"));
        editLine(1);
        openList();
    }
    // A catalogue in the tree, whatever the items before did with the last one.
    void openList() {
        const QString list = write(u"Sites.kqi"_s, "Art|\r\nArt|Tate|http://tate.example/\r\nZoo|\r\n");
        w.context.document.dropMark();
        w.context.document.setListType(u"indexes"_s);
        QString command = u"mtp://open="_s + list;
        modMTP::mtpTransaction(w.context, command);
    }
    void look(QWidget& dialog) {
        QApplication::setActiveWindow(&dialog);  // as the window system makes a new window active
        QApplication::processEvents();           // up as the user sees it, its first events handled
        const QString name = QString::fromLatin1(dialog.metaObject()->className());
        if (!seen.contains(name)) seen << name;
        const std::string what = name.toStdString() + " \"" + dialog.windowTitle().toStdString() + "\" from " +
                                 chosen.toStdString();
        EXPECT_EQ(dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr, w.form.get()) << what;
        const QPoint off = dialog.frameGeometry().center() - w->frameGeometry().center();
        EXPECT_TRUE(std::abs(off.x()) <= 10 && std::abs(off.y()) <= 10)
            << what << " is off the window's middle by " << off.x() << ", " << off.y();
        QWidget* popup = QApplication::activePopupWidget();
        EXPECT_EQ(popup, nullptr) << what << " opens with a list dropped down";
        if (popup) popup->close();
    }
    // The dialogs an item left open (not the help window: a browser window of its own, which
    // opens beside the main window's corner and where the user last put it).
    void lookAtOpenDialogs() {
        QApplication::processEvents();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(top);
            if (!dialog || !dialog->isVisible()) continue;
            if (!qobject_cast<frmHelpBrowser*>(dialog)) look(*dialog);
            dialog->hide();
        }
    }
    // A right click on the record's first line or the list's first entry, shown again if an
    // item before took them away.
    void rightClickFor(const QString& menu) {
        if (w.context.record.isEmpty()) w.context.record.append({u"DC.Title"_s, u"T"_s, {}, {}});
        if (menu == u"mnuMaintMeta1"_s) {
            auto* panel = w.find<MetaPanelView>(u"MetaPanel"_s);
            panel->show();
            widget_input::click(panel->viewport(), Qt::RightButton, {}, panel->visualRect(panel->model()->index(0, 0)).center());
            return;
        }
        openList();
        ListTreeView* view = w.activeTreeView();
        view->show();
        const QModelIndex entry = view->treeModel().indexOf(w.activeTree().item(2));
        widget_input::click(view->viewport(), Qt::RightButton, {}, view->visualRect(entry).center());
    }
    void choose(QAction* item) {
        chosen = item->objectName();
        item->trigger();
        lookAtOpenDialogs();
    }
};

TEST_F(MenuDialogsTest, EveryDialogAMenuOpensIsTheMainWindowsAndOpensCentredOverItWithItsListsClosed) {
    QList<QAction*> items;
    for (QAction* top : w->menuBar()->actions())
        if (top->menu()) collectItems(top->menu(), items);
    for (QAction* item : std::as_const(items)) {
        if (item->objectName() == u"mnuFileExit"_s) continue;  // the window goes
        choose(item);
    }
    // The context menus, opened by a right click on a line of the record and on an entry of
    // the list (which readies their items), each item chosen in turn.
    for (const QString& name : {u"mnuMaintMeta1"_s, u"mnuMaintNodes1"_s}) {
        QMenu* menu = w.find<QMenu>(name);
        for (int i = 0; i < menu->actions().size(); ++i) {
            rightClickFor(name);
            items.clear();
            collectItems(menu, items);
            menu->hide();
            QAction* item = menu->actions().at(i);
            if (items.contains(item)) choose(item);
        }
    }
    // The macro editor centres itself on the screen when its view is switched; opened again
    // from the menu, it is over the window's middle again.
    w.find<QAction>(u"mnuBatchShowLog"_s)->trigger();
    auto* editor = qobject_cast<QDialog*>(w->findChild<QWidget*>(u"frmSourceHTML"_s));
    ASSERT_NE(editor, nullptr);
    for (int press = 0; press < 2; ++press) editor->findChild<QPushButton*>(u"cmdShowLog"_s)->click();
    editor->hide();
    choose(w.find<QAction>(u"mnuBatchShowLog"_s));

    seen.sort();
    EXPECT_EQ(seen, (QStringList{u"frmAbout"_s, u"frmCheckList"_s, u"frmFirewall"_s, u"frmHCL"_s,
                                 u"frmManualInsert"_s, u"frmPreferences"_s, u"frmRSS"_s, u"frmSourceHTML"_s,
                                 u"frmWaitProcess"_s, u"frmdlogInput"_s}));
}

}  // namespace
