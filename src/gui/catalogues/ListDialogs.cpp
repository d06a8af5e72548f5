// The list dialogs as the File menu and the save questions show them.
#include "gui/catalogues/TreeDocument.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/WindowFrame.h"
#include "core/program/ProgramContext.h"

#include "gui/catalogues/ListDocuments.h"
#include "gui/catalogues/frmHCL.h"
#include "gui/catalogues/frmRSS.h"
#include "gui/catalogues/modRSS.h"
#include "platform/widgets/Modal.h"
#include "core/catalogues/ListTree.h"

QWidget* TreeDocument::window() const {
    return frame.clientArea()->window();
}

void TreeDocument::showHarvestListDialog() {
    frmHCL& dialog = frmHCL::instance(window(), context);
    // A dialog already open keeps what was typed into it.
    if (!dialog.isVisible()) dialog.Form_Load();
    platform::showOverOwner(dialog);
}

bool TreeDocument::saveHarvestListWithDialog() {
    frmHCL& dialog = frmHCL::instance(window(), context);
    // What was typed into a dialog already open stays; it comes back as a modal one.
    if (dialog.isVisible()) dialog.hide();
    else dialog.Form_Load();
    const int written = filesWritten_;
    frame.modalRuns().execModal(dialog);
    return filesWritten_ > written;
}

bool TreeDocument::saveRssChannelWithDialog() {
    frmRSS& dialog = frmRSS::instance(window(), context);
    // The channel shown keeps its file; any other list is offered a new file beside its own,
    // never the list's file, never the Harvest Control List written beside it and never a
    // channel read earlier for another list.
    const ListTree& tree = pane.activeTree();
    const ListTree::NodeId root = tree.item(1);
    const bool channelShown = context.document.listKind() == DocumentState::ListKind::Channel;
    const QString listPath = context.document.TreePath();
    if (channelShown && !listPath.isEmpty() && !ListDocuments::namesCatalogueOrSchemeList(listPath))
        dialog.setFilePath(listPath);
    else if (!channelShown || ListDocuments::namesCatalogueOrSchemeList(dialog.filePath()))
        dialog.setFilePath(ListDocuments::proposalBesideList(listPath, root ? tree.text(root) : context.rootName,
                                                             QStringLiteral(".rss")));
    frame.modalRuns().execModal(dialog);
    if (dialog.cancelled()) return false;
    QString path = dialog.filePath();
    context.document.setTreePath(path);
    return counted(modRSS::saveRSSChannel(window(), context, path));
}
