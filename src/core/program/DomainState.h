#pragma once
#include <QString>

#include <array>

// The catalogue of metadata domains the dialogs and Help > Tutorial offer: three parallel
// lists, slot i of each describing one domain. Scans walk up from slot 0 and stop at the
// first empty name, so the last slot always stays empty.
struct DomainCatalogue {
    static constexpr int kSlots = 21;
    std::array<QString, kSlots> schemaLongNames;
    std::array<QString, kSlots> schemaShortNames;
    std::array<QString, kSlots> schemaTutorialURLs;
};

// The current metadata domain and what the program derives from it when it is applied.
struct DomainState {
    // The domain's short name ("Dublin Core", "AGLS1.3", "NZGLS", ...); empty before a
    // domain was ever chosen. Compared exactly wherever a domain is dispatched on.
    QString defaultSchema;
    // The schema "<link rel=" line(s) written before a saved record's meta block, joined by
    // CR LF, no CR LF after the last; empty for a domain without one.
    QString linkRelLines;
    // The RDF start tag's namespace declarations, one "xmlns:" line each ending in CR LF, the
    // last closing the tag with ">".
    QString rdfNamespaces;
    // The domain's lower-case element prefix in RDF ("dc", "agls", ...).
    QString rdfPrefix;
    // The domains offered, filled at start-up.
    DomainCatalogue catalogue;
};
