#include "CommandsTestSupport.h"
#include "core/program/CRegSettings.h"

#include "platform/WidgetInput.h"

#include <QTest>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using commands_test::lineOf;
using platform::kAnswerNo;
using platform::kAnswerOk;

namespace {

class MacroTest : public commands_test::CommandsTest {
protected:
    CRegSettings settings{w.context.settings};
    frmSourceHTML* editor = nullptr;
    // Every stored macro as key=data, in the store's order.
    QStringList stored() const {
        QStringList out;
        for (const SettingRow& row : settings.GetAllSettings(modMacros::kMacroSection)) out << row.name + u'=' + row.value;
        return out;
    }
    // A key pressed on the main window, as the window system delivers it.
    void press(int key) {
        w->activateWindow();
        QApplication::processEvents();
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &*w;
        widget_input::shortcutKey(target, key);
    }
    void openEditor() {
        w->findChild<QAction*>(u"mnuBatchShowLog"_s)->trigger();
        editor = frmSourceHTML::loadedInstance(w.context);
        ASSERT_TRUE(editor && editor->isVisible());
    }
    static void click(QWidget* button) { widget_input::click(button, Qt::LeftButton, Qt::NoModifier, button->rect().center()); }
    static void doubleClick(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        widget_input::doubleClick(list->viewport(), Qt::LeftButton, list->visualItemRect(list->item(row)).center());
    }
    static void typeInto(QWidget* box, const QString& text) { box->setFocus(), widget_input::type(box, text); }
    // The editor's controls.
    QPushButton* button(const QString& name) const { return testing_support::child<QPushButton>(*editor, name); }
    QComboBox* keyBox() const { return testing_support::child<QComboBox>(*editor, u"cboFuncKey"_s); }
    QLineEdit* shortName() const { return testing_support::child<QLineEdit>(*editor, u"txtShortName"_s); }
    QPlainTextEdit* commandBox() const { return testing_support::child<QPlainTextEdit>(*editor, u"txtCommand"_s); }
    QListWidget* macroList() const { return testing_support::child<QListWidget>(*editor, u"lstMacros"_s); }
    QListWidget* logList() const { return testing_support::child<QListWidget>(*editor, u"lstLog"_s); }
};

TEST_F(MacroTest, ABatchOfAddmacroLinesBindsTheKeysThatRunThem) {
    const QString batch = writeFile(u"macroset.kqb"_s,
                                    "mtp://addmacro=mtp://field=DC.Title&content=Cats.fld&fkey=F5&text=Add subject F5.kqb\r\n"
                                    "mtp://addmacro=mtp://field=DC.Subject&content=Dogs.fld&text=Dogs|Pets.kqb\r\n"
                                    "mtp://addmacro=mtp://gotop.fld&fkey=F10.kqb\r\n"
                                    "mtp://addMacros.kqb\r\n"
                                    "mtp://addmacro=mtp://field=DC.Creator&content=Me.fld&fkey=f12.kqb\r\n");
    // What could not be stored is told once, at the batch's end; the editor then shows the macros.
    boxes.expect(u"no function key \"F10\" (F1 to F9, F11, F12): mtp://addmacro=mtp://gotop.fld&fkey=F10.kqb/\r\n"
                 u"Add Macro command - no macro found: mtp://addMacros"_s, kAnswerOk);
    testing_support::ScriptedModals modals;
    modals.then([](QDialog& wait) {
        QTest::qWait(120);  // its timers tick while it is up
        static_cast<frmWaitProcess&>(wait).Unload();
    });
    w->show();
    run(u"mtp://open="_s + batch);
    EXPECT_TRUE(frmSourceHTML::loadedInstance(w.context)->isVisible());
    EXPECT_EQ(stored(), QStringList({u"F5=Add subject F5|mtp://field=DC.Title&content=Cats.fld"_s,
                                     u"F1=DogsPets|mtp://field=DC.Subject&content=Dogs.fld"_s,
                                     u"F12=F12 - Macro|mtp://field=DC.Creator&content=Me.fld"_s}));
    EXPECT_EQ(w->findChild<QAction*>(u"mnuBatchF5"_s)->text(), u"Add subject F5"_s);

    for (int key : {Qt::Key_F5, Qt::Key_F10, Qt::Key_F1, Qt::Key_F2, Qt::Key_F12}) press(key);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Cats"), lineOf("DC.Subject", "Dogs"), lineOf("DC.Creator", "Me")}));
    // An explicit key replaces its macro; with every key taken, a macro without one is refused.
    for (const QString& key : modMacros::kFunctionKeys) settings.SaveSetting(modMacros::kMacroSection, key, key + u"|mtp://gotop.fld"_s);
    dispatch(u"mtp://addmacro=mtp://delete=all.fld&fkey=f9&text=Clear.kqb/"_s);
    boxes.expect(u"all function keys hold macros: mtp://addmacro=mtp://x.kqb&text=Lost.kqb"_s, kAnswerOk);
    dispatch(u"mtp://addmacro=mtp://x.kqb&text=Lost.kqb"_s);
    EXPECT_EQ(settings.GetSetting(modMacros::kMacroSection, u"F9"_s, {}), u"Clear|mtp://delete=all.fld"_s);
    w->findChild<QAction*>(u"mnuBatchF9"_s)->trigger();
    EXPECT_TRUE(record().isEmpty());
}

// What the editor's box would show otherwise (a no-break space, line and paragraph
// separators, noncharacters) is stored as given, shown, kept when the editor stores the
// fields again, and published and run back byte for byte.
TEST_F(MacroTest, AddmacroStoresItsCommandExactlyAsGiven) {
    const QStringList commands = {u"mtp://url=http://host.example/a\u00A0b.kqs"_s,
                                  u"mtp://url=http://host.example/a\u2028b\u2029c.kqs"_s,
                                  u"mtp://field=DC.Title&content=\uFDD0x\uFDD1&text=y.fld"_s};
    for (int i = 0; i < commands.size(); ++i)
        dispatch(u"mtp://addmacro="_s + commands.at(i) + u"&fkey=F%1&text=Scheme %1.kqb/"_s.arg(i + 3));
    const QStringList exact = {u"F3=Scheme 3|"_s + commands.at(0), u"F4=Scheme 4|"_s + commands.at(1),
                               u"F5=Scheme 5|"_s + commands.at(2)};
    EXPECT_EQ(stored(), exact);
    openEditor();
    click(button(u"cmdSave"_s));
    EXPECT_EQ(stored(), exact);

    const QString set = home() + u"/set.kqb"_s;
    testing_support::ScriptedFileDialogs dialogs;
    dialogs.choose(set, 4);
    w->findChild<QAction*>(u"mnuBatchPublish"_s)->trigger();
    settings.DeleteSetting(modMacros::kMacroSection, QString());
    dispatch(u"mtp://open="_s + set + u"/"_s);
    EXPECT_EQ(stored(), exact);
}

TEST_F(MacroTest, StoredValuesAreListedByKeyAndTheRepositoryMacrosTakenUp) {
    for (const auto& [key, value] : {std::pair{"F2", "Two|mtp://gotop.fld"}, {"F12", "Save Record|mtp://cgisend=host/save"},
                                     {"F3", "no bar"}, {"f1", "One|mtp://a|b.fld"}, {"x", "Odd|mtp://gotop.fld"},
                                     {"F4", "Open Catalog|mtp://addmacro=mtp://c.kqb"}})
        settings.SaveSetting(modMacros::kMacroSection, QLatin1String(key), QLatin1String(value));
    boxes.expect(u"Couldn't check for Server Schemes"_s, kAnswerOk);
    openEditor();
    QStringList rows;
    for (int i = 0; i < macroList()->count(); ++i) rows << macroList()->item(i)->text();
    EXPECT_EQ(rows, QStringList({u"F1\tOne"_s, u"F12\tSave Record"_s, u"F2\tTwo"_s, u"F4\tOpen Catalog"_s, u"X\tOdd"_s}));
    EXPECT_EQ(w.context.macros.saveRecordMacro, u"mtp://cgisend=host/save"_s);
    EXPECT_TRUE(w.context.macros.openCatalogMacro.isEmpty());
    EXPECT_EQ(w.context.preferences.charEncoding, u"0"_s);
    EXPECT_FALSE(w->findChild<QAction*>(u"mnuBatchF3"_s)->isVisible());
}

TEST_F(MacroTest, TheEditorsButtonsStoreDeleteRunAndSwitchViews) {
    openEditor();
    click(button(u"cmdShowLog"_s));
    click(button(u"cmdShowLog"_s));
    EXPECT_EQ(editor->heightTwips(), 4080);
    // Typing with no key chosen takes the first free one; a "|" and a second line go on Save.
    typeInto(shortName(), u"T|op"_s);
    EXPECT_EQ(keyBox()->currentText(), u"F1"_s);
    typeInto(commandBox(), u"mtp://field=DC.Title&content=Hi.fld"_s);
    widget_input::key(commandBox(), Qt::Key_Return);
    widget_input::type(commandBox(), u"junk"_s);
    click(button(u"cmdSave"_s));
    click(button(u"cmdNew"_s));
    EXPECT_EQ(shortName()->text(), u"F2 - Macro"_s);
    click(button(u"cmdSave"_s));  // an empty command is stored as "<none>"
    EXPECT_EQ(stored(), QStringList({u"F1=Top|mtp://field=DC.Title&content=Hi.fld"_s, u"F2=F2 - Macro|<none>"_s}));
    // Delete takes the key shown, not the last row the reload left selected.
    macroList()->setFocus();
    macroList()->setCurrentRow(0);
    widget_input::key(macroList(), Qt::Key_Delete);
    EXPECT_EQ(stored(), QStringList({u"F2=F2 - Macro|<none>"_s}));
    click(button(u"cmdDelete"_s));  // nothing shown: nothing deleted
    EXPECT_EQ(stored().size(), 1);
    EXPECT_FALSE(w->findChild<QAction*>(u"mnuBatchF1"_s)->isVisible());
    // Done stores what is shown; a double click on a macro runs it and closes the window.
    click(button(u"cmdNew"_s));
    commandBox()->setPlainText(u"mtp://field=DC.Subject&content=Run.fld"_s);
    click(button(u"cmdCancel"_s));
    EXPECT_FALSE(editor->isVisible());
    openEditor();
    doubleClick(macroList(), 0);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Subject", "Run")}));
    EXPECT_FALSE(editor->isVisible());
}

// The user's own steps: New, a name typed, a click into the command box (which stores the
// macro so far, its empty command as "<none>"), the command typed, a click back: what was
// typed is the command, and the key runs it.
TEST_F(MacroTest, ACommandTypedAfterTheNameWasStoredReplacesTheNoneShownForIt) {
    w->show();
    openEditor();
    QApplication::setActiveWindow(editor);
    click(button(u"cmdNew"_s));
    // Clicks through the window system, which moves the focus as a user's click does.
    const auto clickInto = [](QWidget* box) { QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center()); };
    clickInto(shortName());
    shortName()->selectAll();
    widget_input::type(shortName(), u"Publisher"_s);
    clickInto(commandBox());
    EXPECT_EQ(stored(), QStringList{u"F1=Publisher|<none>"_s});
    EXPECT_EQ(commandBox()->placeholderText(), u"<none>"_s);  // shown while the box is empty
    const QString command = u"mtp://field=DC.Publisher&content=Riverbend.fld/"_s;
    widget_input::type(commandBox(), command);
    clickInto(shortName());
    EXPECT_EQ(stored(), QStringList{u"F1=Publisher|"_s + command});
    EXPECT_EQ(commandBox()->toPlainText(), command);
    click(button(u"cmdCancel"_s));
    press(Qt::Key_F1);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Publisher", "Riverbend")}));

    // Emptied again, the box stores "<none>" and shows it as before.
    openEditor();
    QApplication::setActiveWindow(editor);
    QTest::mouseClick(macroList()->viewport(), Qt::LeftButton, {},
                      macroList()->visualItemRect(macroList()->item(0)).center());
    EXPECT_EQ(commandBox()->toPlainText(), command);
    clickInto(commandBox());
    commandBox()->selectAll();
    widget_input::key(commandBox(), Qt::Key_Delete);
    clickInto(shortName());
    EXPECT_EQ(stored(), QStringList{u"F1=Publisher|<none>"_s});
}

TEST_F(MacroTest, ALoggedCommandBecomesAMacroWithANameFromItsKind) {
    const char* table[][2] = {
        {"mtp://field=DC.Title&content=Annual report.fld/", "Insert Element: DC.Title"},
        {"mtp://field=DC.Title.fld/", "Insert Element: DC.Title"},
        {"mtp://delete=all.fld", "Delete all metadata"},
        {"mtp://gotop.fld", "mtp://gotop"},
        {"mtp://open=host/macros/edna.document.kqb", "Load Template from Network: edna.document"},
        {"mtp://open=host/templates/My%20Agency.kqb", "Load Template from Network: My Agency"},
        {"mtp://open=C:\\t\\x.kqb", "Load Template from Network: open=C:\\t\\x"},
        {"mtp://C:\\Templates\\agency.kqb", "Load Template from Disk: agency"},
        {"mtp://url=host/schemes/ut/Templates.kqs", "Load Scheme from Network: Templates"},
        {"mtp://C:\\lists\\topics.kqs", "Load Scheme from Disk: topics"},
        {"mtp://open=C:\\cat\\Main Catalog.kqi", "F12 - Macro"}};
    QByteArray log = "#Log of Macro commands performed\r\n\r\nmtp://field=DC.Title&content=a, b.fld/\r\n";
    for (int i = 10; i >= 0; --i) log += QByteArray(table[i][0]) + "\r\n";  // the newest comes first in the list
    writeFile(u"cache/syslog.kqb"_s, log);
    openEditor();
    EXPECT_EQ(logList()->item(11)->text(), u"mtp://field=DC.Title&content=a, b.fld/"_s);
    QStringList expected;
    for (int i = 0; i < 11; ++i) {
        if (i > 0) boxes.expect(u"Do you want to replace the "_s + modMacros::kFunctionKeys[i - 1] + u" macro ?"_s, kAnswerNo);
        doubleClick(logList(), i);
        expected << modMacros::kFunctionKeys[i] + u'=' + QLatin1String(table[i][1]) + u'|' + QLatin1String(table[i][0]);
    }
    EXPECT_EQ(stored(), expected);
    // The header is no macro; with every key taken the last row is refused, not stored.
    boxes.expect(u"Double click a macro"_s, kAnswerOk).expect(u"replace the F12 macro"_s, kAnswerNo).expect(u"All function keys are assigned"_s, kAnswerOk);
    doubleClick(logList(), 12);
    doubleClick(logList(), 11);
    EXPECT_EQ(stored(), expected);
}

}  // namespace
