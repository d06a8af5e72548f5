// Every item of the menus, the toolbar and the context menus runs a handler, a name the
// wiring cannot find is said out loud, and the menus' keys work wherever the focus is.
#include "AppTestSupport.h"

#include "platform/widgets/MenuItems.h"

#include <QMenuBar>
#include <QToolBar>
#include <QWidgetAction>

namespace {

// The messages the program logs while it lives.
class LoggedMessages {
public:
    LoggedMessages() {
        current_ = this;
        previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& where, const QString& text) {
            if (type == QtWarningMsg) current_->warnings.append(text);
            if (current_->previous_) current_->previous_(type, where, text);
        });
    }
    ~LoggedMessages() {
        qInstallMessageHandler(previous_);
        current_ = nullptr;
    }
    LoggedMessages(const LoggedMessages&) = delete;
    LoggedMessages& operator=(const LoggedMessages&) = delete;
    QStringList warnings;

private:
    static inline LoggedMessages* current_ = nullptr;
    QtMessageHandler previous_ = nullptr;
};

// Whether anything listens to a signal of an object (Qt keeps the count to itself).
struct Listeners : QObject {
    static int of(const QObject* object, const char* signal) {
        return static_cast<const Listeners*>(object)->receivers(signal);
    }
};

TEST(MenuWiring, EveryItemOfTheMenusTheToolbarAndTheContextMenusRunsAHandler) {
    LoggedMessages logged;
    testing_support::TestWindow w;
    for (const QString& warning : logged.warnings)
        EXPECT_FALSE(warning.contains(u"menu item"_s, Qt::CaseInsensitive)) << warning.toStdString();

    // Qt itself listens to an item it shows in a menu or a toolbar; a handler comes on top.
    QMenu bareMenu;
    QToolBar bareToolbar;
    const int qtsInMenu = Listeners::of(bareMenu.addAction(u"x"_s), SIGNAL(triggered(bool)));
    const int qtsInToolbar = Listeners::of(bareToolbar.addAction(u"x"_s), SIGNAL(triggered(bool)));
    QList<std::pair<QAction*, int>> items;
    for (QAction* item : w.find<QToolBar>(u"Toolbar1"_s)->actions()) items.append({item, qtsInToolbar});
    for (QMenu* menu : w->findChildren<QMenu*>()) {  // the menu bar's, the context menus, the toolbar's lists
        // A menu that hears every choice of its own handles its entries.
        const int handled = Listeners::of(menu, SIGNAL(triggered(QAction*))) > 0 ? -1 : qtsInMenu;
        for (QAction* item : menu->actions()) items.append({item, handled});
    }
    // The two NOHSC items have no handler of their own in the program: they stand there inert.
    const QStringList inert = {u"mnuResNOHSC"_s, u"mnuNOHSCaohst"_s};
    QStringList unhandled;
    int walked = 0;
    for (const auto& [item, qts] : items) {
        if (item->isSeparator() || item->menu() || qobject_cast<QWidgetAction*>(item)) continue;
        ++walked;
        if (Listeners::of(item, SIGNAL(triggered(bool))) <= qts && !inert.contains(item->objectName()))
            unhandled << item->objectName() + u" \""_s + item->text() + u'"';
    }
    EXPECT_GT(walked, 250);
    EXPECT_EQ(unhandled, QStringList());
}

TEST(MenuWiring, AnItemTheMenusDoNotHaveIsLoggedByName) {
    QMenuBar bar;
    menuItems::item(bar.addMenu(u"Edit"_s), u"mnuEditCopy"_s, u"Copy"_s);
    LoggedMessages logged;
    int runs = 0;
    EXPECT_NE(menuItems::connectItem(bar, u"mnuEditCopy"_s, &bar, [&runs] { ++runs; }), nullptr);
    EXPECT_EQ(menuItems::connectItem(bar, u"mnuEditCurentRecord"_s, &bar, [&runs] { ++runs; }), nullptr);
    bar.findChild<QAction*>(u"mnuEditCopy"_s)->trigger();
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(logged.warnings.size(), 1);
    EXPECT_TRUE(logged.warnings[0].contains(u"mnuEditCurentRecord"_s)) << logged.warnings[0].toStdString();
}

class MenuKeysTest : public WindowTest {
protected:
    void SetUp() override {
        w->show();
        QApplication::setActiveWindow(&*w);
        w.context.record.append({u"DC.Title"_s, u"A title"_s, {}, {}});
        w.context.record.selectOnly(w.context.record.idAt(1));
    }
    QComboBox* addressBox() const { return w.find<QComboBox>(u"URL"_s); }
};

// The menus' keys reach their items from the address box too (on a Linux desktop the box
// takes Ctrl+E for itself).
TEST_F(MenuKeysTest, CtrlEInTheAddressBoxOpensTheSelectedLine) {
    addressBox()->setFocus();
    addressBox()->setEditText(u"http://www.example.org/"_s);
    ASSERT_EQ(QApplication::focusWidget(), addressBox());
    widget_input::shortcutKey(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_FALSE(w.find<QWidget>(u"EditPanel"_s)->isHidden());
    EXPECT_EQ(w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(3), u"DC.Title"_s);
}

// The editing keys users expect of a text box stay the box's, even where an item has one.
TEST(MenuKeys, TheBoxKeepsCopyCutPasteSelectAllAndUndo) {
    QWidget window;
    for (const char* keys : {"Ctrl+C", "Ctrl+X", "Ctrl+V", "Ctrl+A", "Ctrl+Z", "Ctrl+E"}) {
        auto* item = new QAction(&window);
        item->setShortcut(QKeySequence(QLatin1String(keys)));
    }
    for (const int key : {Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_A, Qt::Key_Z})
        EXPECT_FALSE(menuItems::itemTakesKey(window, QKeyEvent(QEvent::ShortcutOverride, key, Qt::ControlModifier)))
            << "Ctrl+" << char(key);
    EXPECT_TRUE(menuItems::itemTakesKey(window, QKeyEvent(QEvent::ShortcutOverride, Qt::Key_E, Qt::ControlModifier)));
    EXPECT_FALSE(menuItems::itemTakesKey(window, QKeyEvent(QEvent::ShortcutOverride, Qt::Key_K, Qt::ControlModifier)));
}

}  // namespace
