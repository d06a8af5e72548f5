#include "catalogues/HarvestLists.h"

#include "platform/MsgBox.h"

namespace modHCL {
namespace {
void notAvailable(const char* what, const QString& subject) {
    platform::MsgBox(QLatin1String(what) + QStringLiteral(" is not available in this build: ") + subject,
                     platform::vbExclamation);
}
}  // namespace

void saveAsHCL(QString& path, QString&) {
    notAvailable("Writing Harvest Control Lists", path);
}

void saveAsAGLS12HCL(QString& path, QString&) {
    notAvailable("Writing Harvest Control Lists", path);
}

void loadHCL(const QString& location) {
    notAvailable("Reading Harvest Control Lists", location);
}

void getMetaFromHCL(QString& folder) {
    notAvailable("Finding a record in a folder of record pages", folder);
}

}  // namespace modHCL
