#pragma once
#include "app/CRegSettings.h"

#include <QString>
#include <QStringList>

class QListWidget;
class QWidget;

namespace modMacros {

// The shared settings instance of the macro code and the remembering message box.
extern CRegSettings regSettings;

// The repository's commands, taken from the macros captioned "Save Record", "Open Record",
// "Save Catalog" and "Open Catalog"; empty when no repository is set up.
inline QString saveRecordMacro;
inline QString openRecordMacro;
inline QString saveCatalogMacro;
inline QString openCatalogMacro;
// The scheme names the repository reported, separated by "|"; empty until asked.
inline QString repositorySchemes;
// The first of them.
inline QString repositoryScheme;
// What addmacro= commands could not store, one line each, shown when the command (or the
// batch) that collected them ends.
inline QString addMacroErrors;

inline const QString kMacroSection = QStringLiteral("Preferences\\Macros");
// The keys a macro may have, in the order of the editor's key list; F10 is never used.
inline const QStringList kFunctionKeys = {QStringLiteral("F1"), QStringLiteral("F2"),  QStringLiteral("F3"),
                                          QStringLiteral("F4"), QStringLiteral("F5"),  QStringLiteral("F6"),
                                          QStringLiteral("F7"), QStringLiteral("F8"),  QStringLiteral("F9"),
                                          QStringLiteral("F11"), QStringLiteral("F12")};

// Rebuilds the editor's lists, the Macros menu items and the repository commands from the
// settings section.
void loadMacros(const QString& section);
// Binds the Macros menu item of a key; any other key does nothing.
void setMacroMenu(const QString& key, const QString& caption, const QString& command);
// Every function-key item loses its caption and command and is hidden.
void clearMacroMenus();

// The short name a logged command gets when it becomes a macro; `current` when no rule
// knows the command's kind.
QString logLineShortName(const QString& line, const QString& current);

// Shows what addmacro= commands could not store, once, and forgets it.
void reportAddMacroErrors();

// ---- small routines of the editor -------------------------------------------------------
// Selects the row whose text is exactly `text`; without one, the last row is left selected
// and the answer is false.
bool selectListItem(QListWidget& list, const QString& text);
// Removes every row equal to an earlier one.
void removeDuplicateItems(QListWidget& list);
// Lets the list scroll sideways to its longest row.
void setListHorizontalExtent(QListWidget& list);
// Puts the window in the middle of its screen.
void centerForm(QWidget& form);

}  // namespace modMacros
