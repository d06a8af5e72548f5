#pragma once
#include <QString>
#include <QStringList>

class ProgramContext;

namespace modMacros {

inline const QString kMacroSection = QStringLiteral("Preferences\\Macros");
// The keys a macro may have, in the order of the editor's key list; F10 is never used.
inline const QStringList kFunctionKeys = {QStringLiteral("F1"), QStringLiteral("F2"),  QStringLiteral("F3"),
                                          QStringLiteral("F4"), QStringLiteral("F5"),  QStringLiteral("F6"),
                                          QStringLiteral("F7"), QStringLiteral("F8"),  QStringLiteral("F9"),
                                          QStringLiteral("F11"), QStringLiteral("F12")};

// Rebuilds the editor's lists, the Macros menu items and the repository commands (the
// context's macro state) from the settings section.
void loadMacros(ProgramContext& context, const QString& section);
// Binds the Macros menu item of a key in the window commands work on; any other key does nothing.
void setMacroMenu(const ProgramContext& context, const QString& key, const QString& caption, const QString& command);
// Every function-key item loses its caption and command and is hidden.
void clearMacroMenus(const ProgramContext& context);

// The short name a logged command gets when it becomes a macro; `current` when no rule
// knows the command's kind.
QString logLineShortName(const QString& line, const QString& current);

// Shows what addmacro= commands could not store, once, and forgets it.
void reportAddMacroErrors(ProgramContext& context);

}  // namespace modMacros
