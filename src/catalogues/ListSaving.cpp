// Saving the hierarchy pane's list.
#include "app/Form1.h"

#include "platform/MsgBox.h"

bool Form1::SaveAsList(QString& path, long& nodeCount) {
    nodeCount = 0;
    platform::MsgBox(QStringLiteral("Saving lists is not available in this build: ") + path, platform::vbExclamation);
    return false;
}

void Form1::showHarvestListDialog() {
    platform::MsgBox(QStringLiteral("Harvest Control Lists cannot be saved in this build."), platform::vbExclamation);
}

bool Form1::saveRssChannelWithDialog() {
    platform::MsgBox(QStringLiteral("RSS channels cannot be saved in this build."), platform::vbExclamation);
    return false;
}
