#pragma once
#include <QString>

#include <array>

// The catalogue of metadata domains the dialogs and Help > Tutorial offer.
namespace modCheckList {

// Three parallel lists: slot i of each describes one domain. Scans walk up from slot 0 and
// stop at the first empty name, so the last slot always stays empty.
inline constexpr int kCatalogueSlots = 21;
inline std::array<QString, kCatalogueSlots> schemaLongNames;
inline std::array<QString, kCatalogueSlots> schemaShortNames;
inline std::array<QString, kCatalogueSlots> schemaTutorialURLs;

// Writes the known domains into the first slots and empties the rest. Tutorial addresses are
// built from the scheme server given.
void fillSchemaCatalogue(const QString& schemeServer);

// The long name of the last catalogue row whose short name equals shortName exactly
// (case-sensitive); empty when there is none.
QString getSchemaLongName(const QString& shortName);

// Number of filled rows: the slots before the first empty short name.
int catalogueRowCount();

}  // namespace modCheckList
