#pragma once
#include <QString>

// Help texts for SCORM elements, shown as the metadata list's tooltip.
namespace modScorm {

// The help text of an element, looked up by its name in lower case; "No SCORM help
// available" for a name without one.
QString getScormHelp(const QString& element);

}  // namespace modScorm
