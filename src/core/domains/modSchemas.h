#pragma once
#include <QString>
#include <QStringList>

// The current metadata domain and everything derived from it: the new-record template, the
// schema link lines, the RDF namespaces, the Metadata Resources items shown, the domain's
// scheme list and its table of encoding schemes per element.
class ProgramContext;
struct DomainCatalogue;
struct DomainState;

namespace modSchemas {

inline const QString kUnknownDomainMessage = QStringLiteral(
    "There is no Metadata Domain by that name. Check the valid domain names under the Metadata Resources Menu");

// Shows or hides the Metadata Resources items of one domain (exact name) in the window
// commands work on. A domain without items, or a name nobody knows, changes nothing.
void showSchemaMenu(const ProgramContext& context, bool show, const QString& shortName);
// Hides the Resources items of every catalogue domain.
void hideAllSchemaMenus(const ProgramContext& context);

// Applies the context's current domain: the two captions naming it, the template command (only while
// the preferences' FileNewURL is empty), the link lines, RDF namespaces and prefix, the Utah
// home page and the Harvest Control List items of the File menu. A name outside the known
// domains gets kUnknownDomainMessage and keeps the derived values as they were.
void applyDomainDefaults(ProgramContext& context);

// Runs the current domain's "mtp://url=" scheme-list command through the command entry;
// nothing for a domain without one.
void loadDomainScheme(ProgramContext& context);

// The dispatcher's "setdomain=" verb: "mtp://setdomain=" name ".kqb/". Makes the name the
// current domain and applies it.
void setDomainFromCommand(ProgramContext& context, const QString& command);

// The encoding schemes the current domain offers for an element ("None|URI|ISBN|"). When
// the domain's table knows nothing of the element, the list passed in.
QString getSchemeList(const DomainState& domain, const QString& element, const QString& schemeList);
// The element names the domain's table answers, in the table's order (none for a domain
// that offers whatever the line had).
QStringList schemeTableElements(const QString& domain);

}  // namespace modSchemas
