#pragma once
#include <QString>

namespace modMTP {

// Fills the tree pane with a scheme list or catalogue from a local file, the web, the
// scheme server or the repository. The location ("url=...", "remote=...", a path) is
// changed in place.
void loadList(QString& location);

}  // namespace modMTP
