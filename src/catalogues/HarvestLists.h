#pragma once
#include <QString>

// Harvest Control Lists: the site's documents listed for a metadata harvester, written from
// the tree and read back into it.
namespace modHCL {

// Writes the tree as a Harvest Control List in the older site form to the path (".kqi" is
// taken off again); folder holds the saved record pages, or is empty.
void saveAsHCL(QString& path, QString& folder);
// The same in the AGLS 1.2 form, records as RDF.
void saveAsAGLS12HCL(QString& path, QString& folder);
// Loads a Harvest Control List from a file:// or web address into the tree.
void loadHCL(const QString& location);
// Opens, as the current record, the page in the folder whose identifier is the address shown.
void getMetaFromHCL(QString& folder);

}  // namespace modHCL
