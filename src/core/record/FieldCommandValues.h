#pragma once
#include <QString>

// The values of a field command as written and as read back: "mtp://field=" element,
// "&content=" value, then "&lang=" and "&scheme=". A command stays one line and a value
// never ends early, so a value's CR and LF are written "%0D" and "%0A", an "&" before a
// key's name ("&field", "&content", "&scheme", "&lang") "%26", and a "%" that would read
// as one of these escapes "%25". In the content "%20" stands for a blank and a "|" steps
// down a thesaurus path (it reads as " | "), so a "|" of the value itself is written "%7C".
namespace FieldCommandValues {

enum class Part { Content, Other };

QString written(const QString& value, Part part);
// The value as the record keeps it (recordValue).
QString read(const QString& written, Part part);

}  // namespace FieldCommandValues
