// The list dialogs as the File menu and the save questions show them.
#include "app/Form1.h"

#include "catalogues/ListDocuments.h"
#include "catalogues/frmHCL.h"
#include "catalogues/frmRSS.h"
#include "catalogues/modRSS.h"
#include "platform/Modal.h"
#include "core/catalogues/ListTree.h"

void Form1::showHarvestListDialog() {
    frmHCL& dialog = frmHCL::instance(*this);
    // A dialog already open keeps what was typed into it.
    if (!dialog.isVisible()) {
        dialog.Form_Load();
        dialog.show();
    }
    dialog.raise();
    dialog.activateWindow();
}

bool Form1::saveHarvestListWithDialog() {
    frmHCL& dialog = frmHCL::instance(*this);
    // What was typed into a dialog already open stays; it comes back as a modal one.
    if (dialog.isVisible()) dialog.hide();
    else dialog.Form_Load();
    const int written = listFilesWritten;
    platform::execModal(dialog);
    return listFilesWritten > written;
}

bool Form1::saveRssChannelWithDialog() {
    frmRSS& dialog = frmRSS::instance(this, context);
    // The channel shown keeps its file; any other list is offered a new file beside its own,
    // never the list's file and never a channel read earlier for another list.
    const ListTree& tree = *activeTree();
    const ListTree::NodeId root = tree.item(1);
    const bool channelShown = root && tree.tag(root).contains(QLatin1String("RSS"), Qt::CaseInsensitive);
    const QString listPath = documentState->TreePath();
    if (channelShown && !listPath.isEmpty() && !ListDocuments::namesCatalogueOrSchemeList(listPath))
        dialog.filePath = listPath;
    else if (!channelShown || ListDocuments::namesCatalogueOrSchemeList(dialog.filePath))
        dialog.filePath = ListDocuments::proposalBesideList(listPath, root ? tree.text(root) : context.rootName);
    platform::execModal(dialog);
    if (dialog.cancelled) return false;
    QString path = dialog.filePath;
    documentState->setTreePath(path);
    return modRSS::saveRSSChannel(*this, path);
}
