#include "core/domains/modScorm.h"

namespace modScorm {

QString getScormHelp(const QString& element) {
    const QString name = element.toLower();
    if (name == QLatin1String("general.description"))
        return QStringLiteral("A textual description of the content of this resource being described");
    if (name == QLatin1String("general.title"))
        return QStringLiteral(
            "Name given to this resource.  The title can be an already existing one or it may be created by "
            "the indexer ad hoc");
    if (name == QLatin1String("general.entry"))
        return QStringLiteral("An existing value of the catalog named in the scheme column");
    return QStringLiteral("No SCORM help available");
}

}  // namespace modScorm
