#pragma once
#include "core/program/CommandDialogs.h"

#include <QDialog>
#include <QString>

class ProgramContext;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "Macro Control Panel": lists the function-key macros, edits, stores, deletes and runs
// them, and in its advanced view turns a logged command into a macro. One window for the
// whole run; unloading hides it, and the next load fills it again from the store.
class frmSourceHTML : public QDialog, public MacroEditor {
    Q_OBJECT
public:
    // The window, loaded (hidden when it was not on screen), working on `context`.
    static frmSourceHTML& Load(ProgramContext& context);
    // The context's window while it is loaded, else nullptr.
    static frmSourceHTML* loadedInstance(const ProgramContext& context);
    // Loads the window and shows it, modeless; given the main window, it belongs to that
    // window from then on and opens centred over it.
    static void showEditor(ProgramContext& context, QWidget* owner = nullptr);
    void Unload();
    bool isLoaded() const { return loaded_; }

    // Stores the macro in the edit fields under the key the combo shows.
    void cmdSave_Click();
    // Stores a macro under a key exactly as given (a "|" in the name dropped), binds its
    // menu item and shows it in the fields.
    void saveMacro(const QString& key, QString shortName, QString command) override;
    // Chooses the first key without a macro and proposes a name; false (after saying so)
    // when every key holds one.
    bool selectNextMacro();
    // The first key without a macro, or "" when every key holds one.
    QString nextFreeKey() const override;
    // 0 for "F1" ... 8 for "F9", 9 for "F11", 10 for "F12"; -1 for any other text.
    static int getListIndex(const QString& key);

    // The lists of stored macros.
    void clearMacroLists() override;
    void fillMacroLists(const Lists& lists) override;

    // Fills the log list from the command log, newest command first.
    void fillLog();
    // The window's height in twips: 4080 in the standard view, 6780 in the advanced one.
    int heightTwips() const { return heightTwips_; }

    void lstMacros_Click();
    void lstMacros_DblClick();
    void cboFuncKey_Click();
    void cmdNew_Click();
    void cmdDelete_Click();
    void cmdCancel_Click();
    void cmdShowLog_Click();
    void lstLog_DblClick();
    // Fills the key combo with the eleven keys, none chosen.
    void fillFunctionKeyCombo();
    // Sets the combo's key, which shows that key's macro; a key outside the eleven leaves
    // it as it is.
    void chooseKey(const QString& key) override;
    // The texts of the edit fields, set without counting as typing.
    void showFields(const QString& shortName, const QString& command);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    frmSourceHTML();
    void Form_Load();
    void setHeightTwips(int twips);
    void typedWithoutKey(QWidget* box);
    // The command in the box: as shown unless the user has typed into it.
    QString commandText() const;
    bool commandTyped() const;
    QString keyShown() const;

    QListWidget* lstMacros = nullptr;
    QListWidget* lstFKey = nullptr;
    QListWidget* lstName = nullptr;
    QListWidget* lstCommand = nullptr;
    QComboBox* cboFuncKey = nullptr;
    QLineEdit* txtShortName = nullptr;
    QPlainTextEdit* txtCommand = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdShowLog = nullptr;
    QListWidget* lstLog = nullptr;
    QLabel* Label1 = nullptr;

    bool loaded_ = false;
    bool settingFields_ = false;
    QString shownCommand_;  // the command last put into the box
    QString shownText_;     // and the text the box made of it
    int heightTwips_ = 6780;
    ProgramContext* context_ = nullptr;
};
