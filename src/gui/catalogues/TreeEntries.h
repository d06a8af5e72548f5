#pragma once
#include "core/catalogues/ListTree.h"

#include <QString>

class ProgramContext;

// What the hierarchy pane's events, its context menu and its insert dialog check before an
// entry goes into the list tree shown.
namespace TreeEntries {

// Refuses an entry the list file could not keep (see ListLines::unwritableEntry): the node
// (0: one not yet made) as a child of `parent` with this name and tag. The user is told why
// and what happens instead (`outcome`, "The entry keeps its tag."); true when refused.
bool refuseUnwritable(ProgramContext& context, ListTree::NodeId parent, ListTree::NodeId node, const QString& name,
                      const QString& tag, const QString& outcome);

}  // namespace TreeEntries
