#pragma once
#include <QString>
#include <QStringList>

// The current metadata domain and everything derived from it: the new-record template, the
// schema link lines, the RDF namespaces, the Metadata Resources items shown, the domain's
// scheme list and its table of encoding schemes per element.
struct Preferences;

namespace modSchemas {

// The current domain's short name ("Dublin Core", "AGLS1.3", "NZGLS", ...); empty before a
// domain was ever chosen. Compared exactly wherever a domain is dispatched on.
inline QString defaultSchema;
// The schema "<link rel=" line(s) written before a saved record's meta block, joined by
// CR LF, no CR LF after the last; empty for a domain without one.
inline QString linkRelLines;
// The RDF start tag's namespace declarations, one "xmlns:" line each ending in CR LF, the
// last closing the tag with ">".
inline QString rdfNamespaces;
// The domain's lower-case element prefix in RDF ("dc", "agls", ...).
inline QString rdfPrefix;

inline const QString kUnknownDomainMessage = QStringLiteral(
    "There is no Metadata Domain by that name. Check the valid domain names under the Metadata Resources Menu");

// Shows or hides the Metadata Resources items of one domain (exact name). A domain without
// items, or a name nobody knows, changes nothing.
void showSchemaMenu(bool show, const QString& shortName);
// Hides the Resources items of every catalogue domain.
void hideAllSchemaMenus();

// Applies defaultSchema: the two captions naming it, the template command (only while
// the preferences' FileNewURL is empty), the link lines, RDF namespaces and prefix, the Utah
// home page and the Harvest Control List items of the File menu. A name outside the known
// domains gets kUnknownDomainMessage and keeps the derived values as they were.
void applyDomainDefaults(Preferences& preferences);

// Runs the current domain's "mtp://url=" scheme-list command through the command entry;
// nothing for a domain without one.
void loadDomainScheme();

// The dispatcher's "setdomain=" verb: "mtp://setdomain=" name ".kqb/". Makes the name the
// current domain and applies it.
void setDomainFromCommand(Preferences& preferences, const QString& command);

// The encoding schemes the current domain offers for an element ("None|URI|ISBN|"). When
// the domain's table knows nothing of the element the list passed in is kept. The result is
// also written back into schemeList.
QString getSchemeList(const QString& element, QString& schemeList);
// The element names the domain's table answers, in the table's order (none for a domain
// that offers whatever the line had).
QStringList schemeTableElements(const QString& domain);

}  // namespace modSchemas
