#pragma once
#include <QString>

class QListWidget;
class QWidget;

// Small routines of the macro editor's lists and window.
namespace modMacros {

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
