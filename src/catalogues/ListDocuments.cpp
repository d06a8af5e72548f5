// Harvest Control Lists and RSS channels read from pages.
#include "catalogues/ListDocuments.h"

#include "app/Form1.h"
#include "platform/MsgBox.h"

bool Form1::loadHCL(const QString& location, bool) {
    platform::MsgBox(QStringLiteral("Harvest Control Lists cannot be shown in this build: ") + location,
                     platform::vbExclamation);
    return false;
}

namespace modRSS {

bool loadRSSChannel(const QString& location, bool) {
    platform::MsgBox(QStringLiteral("RSS channels cannot be shown in this build: ") + location, platform::vbExclamation);
    return false;
}

}  // namespace modRSS
