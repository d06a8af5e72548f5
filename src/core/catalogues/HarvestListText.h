#pragma once
#include "core/catalogues/ListEntries.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <functional>

// The two text forms of a Harvest Control List, written from the tree's entries and read
// back, and the parts of a record page they carry. Pure text work.
namespace HarvestListText {

// The system identifier of the list's DTD, named in the AGLS 1.2 form's DOCTYPE. Nothing
// ever fetches it; its name "hcl.dtd" is how the page loader knows such a list.
inline constexpr char kSystemIdentifier[] = "http://schemes.quorvantil.example/dtd/hcl.dtd";

// A link as the lists write it: with a scheme ("http://" in front of one without) and as a
// valid address (ListMarkup::validAddress).
QString writtenLink(const QString& link);

// The RDF an AGLS 1.2 list writes for the entry whose record has these meta lines: about the
// entry's link as the list writes it.
QString recordRdf(const ListEntries::ListEntry& entry, const QString& metaLines, const QString& rdfNamespaces,
                  const QString& rdfPrefix);

// Puts the entries in the order a list holds them: by folder path, title and link joined
// by "|" (ordinal comparison).
void sortEntries(QList<ListEntries::ListEntry>& entries);

// The record an entry carries (RDF for the AGLS 1.2 form, meta lines for the older form),
// or "" when it has none.
using RecordText = std::function<QString(const ListEntries::ListEntry&)>;

// The AGLS 1.2 form: XML with a DOCTYPE, the date it was written, the site's administrator
// and e-mail. Every line ends in CR LF.
QString agls12Form(const QList<ListEntries::ListEntry>& entries, const RecordText& rdf, const QString& administrator,
                   const QString& email, const QDate& updated);
// The older site form: not XML (its first tag is never closed); folders as meta lines.
QString siteForm(const QList<ListEntries::ListEntry>& entries, const RecordText& metaLines);

// The items of a list in either form, in the order they stand. An item's link comes from
// its <link>, else from the rdf:about of its RDF description, else from its identifier
// (an RDF DC:Identifier or a DC.Identifier meta line); its title from <title>, an RDF
// dc:title or a DC.Title meta line; its folders from <local lname="Folder">, <folder> or a
// meta line of scheme "HCL".
QList<ListEntries::ListEntry> readItems(QStringView text);

// Parts of a record page's meta elements. With all three filters empty: every named
// element as a line of its own (ten blanks, the element with its line breaks taken out,
// CR LF). Otherwise the content of each element whose name contains `nameFilter` and whose
// scheme contains `schemeFilter` (any case), one per line. `otherFilter` only takes part in
// the test whether all three are empty.
QString metadataFrom(QStringView pageText, const QString& nameFilter, const QString& otherFilter,
                     const QString& schemeFilter);

// The address a record page names, by the one rule the list writers match a record to an
// entry with and the list readers take an item's link from: the content of the first meta
// element whose name holds "DC.Identifier" and whose scheme holds "URI" (any case) and that
// has one, read as a list reads it (line breaks and blanks at its ends gone, references
// decoded); "" when none.
QString recordIdentifier(QStringView pageText);

// What a record's identifiers and a link are compared by: without "http://" or "https://"
// (any case) and without line breaks, as a valid address (a link written into a list is one).
QString identifierKey(QString text);
// A record's identifier names this address: exactly, once both are valid addresses and the
// identifier's line breaks are gone.
bool sameIdentifier(QString identifier, const QString& address);

}  // namespace HarvestListText
