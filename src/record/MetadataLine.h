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

// A panel line's tag keeps what the panel does not show: "http-equiv" or "name" (left out
// when nothing follows it), then a blank and the element's other attributes.
namespace RecordLineTag {
inline QString of(bool httpEquiv, const QString& otherAttributes) {
    if (otherAttributes.isEmpty()) return httpEquiv ? QStringLiteral("http-equiv") : QString();
    return (httpEquiv ? QStringLiteral("http-equiv ") : QStringLiteral("name ")) + otherAttributes;
}
inline bool httpEquiv(const QString& tag) {
    return tag == QLatin1String("http-equiv") || tag.startsWith(QLatin1String("http-equiv "));
}
inline QString otherAttributes(const QString& tag) {
    const qsizetype blank = tag.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : tag.mid(blank + 1);
}
}  // namespace RecordLineTag
