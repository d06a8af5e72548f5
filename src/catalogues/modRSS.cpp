#include "catalogues/modRSS.h"

#include "platform/MsgBox.h"

namespace modRSS {

void saveRSSChannel(QString& path) {
    platform::MsgBox(QStringLiteral("Writing RSS channels is not available in this build: ") + path,
                     platform::vbExclamation);
}

void loadRSSChannel(const QString& location) {
    platform::MsgBox(QStringLiteral("Reading RSS channels is not available in this build: ") + location,
                     platform::vbExclamation);
}

}  // namespace modRSS
