#pragma once
#include "gui/catalogues/ListDocuments.h"

#include <QString>

class UserDialogs;

// Harvest Control Lists: the site's documents listed for a metadata harvester, written from
// the window's list tree and read back into it.
namespace HarvestLists {

// Writes the tree as a Harvest Control List in the older site form to the path (a ".kqi"
// the command put at its end is taken off again); folder holds the saved record pages, or
// is empty. True when the file was written.
bool saveAsHCL(const ListWindow& window, const QString& path, const QString& folder);
// The same in the AGLS 1.2 form, records as RDF.
bool saveAsAGLS12HCL(const ListWindow& window, const QString& path, const QString& folder);
// Loads a Harvest Control List from a local path, a file:// or a web address into the
// tree, once the user has saved or let go the list shown. `fetchedText`: the list's text
// when the caller has fetched it already.
ListLoadOutcome loadHCL(const ListWindow& window, const QString& location, const QString* fetchedText = nullptr);
// Opens, as the current record, the page in the folder whose identifier is the address shown.
void getMetaFromHCL(const ListWindow& window, const QString& folder);
// Parts of a record page's meta elements (see HarvestListText::metadataFrom); "" after
// telling the user when the page cannot be read.
QString getFromMetadata(UserDialogs& user, const QString& file, const QString& nameFilter, const QString& otherFilter,
                        const QString& schemeFilter);

}  // namespace HarvestLists
