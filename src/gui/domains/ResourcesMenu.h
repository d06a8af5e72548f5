#pragma once

class QMenu;
class ProgramContext;

namespace platform {
class ModalRuns;
}  // namespace platform

namespace modSchemas {

// Fills the main window's empty "Metadata Resources" menu: the domain items, which make a
// domain current and load its element list, and the scheme-list and template items, each of
// which hands one command to the command entry. Items and submenus carry the object names
// showSchemaMenu looks for; control-array elements are named name_index.
void buildResourcesMenu(QMenu* menu, ProgramContext& context, platform::ModalRuns& runs);

}  // namespace modSchemas
