#pragma once

class QMenu;
struct Preferences;

namespace modSchemas {

// Fills the main window's empty "Metadata Resources" menu: the domain items, which make a
// domain current and load its element list, and the scheme-list and template items, each of
// which hands one command to the command entry. Items and submenus carry the object names
// showSchemaMenu looks for; control-array elements are named name_index.
void buildResourcesMenu(QMenu* menu, Preferences& preferences);

// The TAGS submenu ("mnuResTags0") of the main window's Resources menu, which the scheme
// loader pops up for a TAGS scheme; nullptr before that menu is built.
QMenu* resourcesTagsMenu();

}  // namespace modSchemas
