#pragma once
#include "core/program/CommandState.h"

#include <QString>
#include <QStringList>

class ProgramContext;

// The wait dialog as the commands use it.
class WaitDialog {
public:
    // Its label and title.
    virtual void showText(const QString& text, const QString& title) = 0;
    // The one command it runs next, when no command runs; a later one replaces it.
    virtual void storeCommand(const QString& command, CommandOrigin origin) = 0;

protected:
    ~WaitDialog() = default;
};

// The macro editor as the commands use it.
class MacroEditor {
public:
    // The stored macros as the editor lists them: a row "key<tab>name" each, and the keys,
    // names and commands one list each.
    struct Lists {
        QStringList rows, keys, names, commands;
    };
    // Empties the lists of stored macros.
    virtual void clearMacroLists() = 0;
    // Lists the macros (duplicate rows once), the last of each list chosen.
    virtual void fillMacroLists(const Lists& lists) = 0;
    // The first key without a macro, or "" when every key holds one.
    virtual QString nextFreeKey() const = 0;
    // Shows the key's macro; a key outside the eleven leaves the editor as it is.
    virtual void chooseKey(const QString& key) = 0;
    // Stores a macro under a key exactly as given, binds its menu item and shows it.
    virtual void saveMacro(const QString& key, QString shortName, QString command) = 0;

protected:
    ~MacroEditor() = default;
};

// The command language's own windows, made by gui on first use and kept in the context's
// command state.
class CommandDialogs {
public:
    virtual ~CommandDialogs() = default;
    // The wait dialog, loaded (its timers running) whether it is on screen or not.
    virtual WaitDialog& loadWaitDialog(ProgramContext& context) = 0;
    // The wait dialog while it is loaded, else nullptr.
    virtual WaitDialog* loadedWaitDialog(ProgramContext& context) = 0;
    // Shows the wait dialog modally over the window (without an owner while no window is
    // open); returns once it has closed.
    virtual void showWaitModal(ProgramContext& context) = 0;
    // The macro editor, loaded (hidden when it was not on screen).
    virtual MacroEditor& loadMacroEditor(ProgramContext& context) = 0;
    // Loads the macro editor and shows it.
    virtual void showMacroEditor(ProgramContext& context) = 0;
};
