// Stand-ins for the Harvest Control List and RSS channel dialogs: this build cannot save
// either kind of list, and says so.
#include "app/Form1.h"

#include "platform/MsgBox.h"

void Form1::showHarvestListDialog() {
    platform::MsgBox(QStringLiteral("Harvest Control Lists cannot be saved in this build."), platform::vbExclamation);
}

bool Form1::saveRssChannelWithDialog() {
    platform::MsgBox(QStringLiteral("RSS channels cannot be saved in this build."), platform::vbExclamation);
    return false;
}
