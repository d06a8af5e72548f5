#include "app/modMetaMain.h"

namespace modMetaMain {

namespace {
const QString kBuiltInSchemeServer = QStringLiteral("schemes.quorvantil.example");
}

QString defaultSchemeServer() {
    const QString own = qEnvironmentVariable("QUORVANTIL_SCHEME_SERVER").trimmed();
    return own.isEmpty() ? kBuiltInSchemeServer : own;
}

}  // namespace modMetaMain
