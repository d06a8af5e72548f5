// The list dialogs as the File menu and the save questions show them.
#include "app/Form1.h"

#include "catalogues/frmHCL.h"
#include "catalogues/frmRSS.h"
#include "catalogues/modRSS.h"
#include "platform/Modal.h"

void Form1::showHarvestListDialog() {
    frmHCL& dialog = frmHCL::instance(this);
    // A dialog already open keeps what was typed into it.
    if (!dialog.isVisible()) {
        dialog.Form_Load();
        dialog.show();
    }
    dialog.raise();
    dialog.activateWindow();
}

bool Form1::saveRssChannelWithDialog() {
    frmRSS& dialog = frmRSS::instance(this);
    if (!documentState->TreePath().isEmpty()) dialog.filePath = documentState->TreePath();
    platform::execModal(dialog);
    if (dialog.cancelled) return false;
    QString path = dialog.filePath;
    documentState->setTreePath(path);
    return modRSS::saveRSSChannel(path);
}
