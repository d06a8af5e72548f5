#pragma once
#include <QList>
#include <QString>

// One line of the metadata panel. A line with an empty name whose content is a whole
// "<link rel=...>" tag of the page is a link row: it is kept with the record but never
// written as a meta element.
struct MetadataLine {
    QString name;     // element name, e.g. "DC.Title"
    QString content;
    QString lang;
    QString scheme;   // "" is shown and chosen as "None"
    bool httpEquiv = false;  // read from http-equiv: written back the same way until renamed
    // The element's other attributes (data-*, id, ...) exactly as they stood in the page,
    // separated by blanks; written back after the known ones. "" for a line the user added.
    QString otherAttributes = {};
    bool operator==(const MetadataLine&) const = default;
};

using MetadataRecord = QList<MetadataLine>;

// A value as the record keeps it, however it comes in (a page, a command, a batch, the
// edit panel, the clipboard): control characters never reach a page, so they are taken
// out; a vertical tab, form feed or next line becomes a blank, and tab, CR and LF stay.
[[nodiscard]] QString recordValue(const QString& value);
// Every value of the line as the record keeps it. With `breaksToBlanks` (a page read while
// the repository's Open Record macro is set) each CR and LF in the name, content and scheme
// of a named line becomes a blank as well.
[[nodiscard]] MetadataLine recordLine(MetadataLine line, bool breaksToBlanks = false);
