#pragma once
#include "core/program/DomainState.h"

#include <QString>

// The catalogue of metadata domains the dialogs and Help > Tutorial offer.
namespace modCheckList {

// Writes the known domains into the first slots and empties the rest. Tutorial addresses are
// built from the scheme server given.
void fillSchemaCatalogue(DomainCatalogue& catalogue, const QString& schemeServer);

// The long name of the last catalogue row whose short name equals shortName exactly
// (case-sensitive); empty when there is none.
QString getSchemaLongName(const DomainCatalogue& catalogue, const QString& shortName);

// Number of filled rows: the slots before the first empty short name.
int catalogueRowCount(const DomainCatalogue& catalogue);

}  // namespace modCheckList
