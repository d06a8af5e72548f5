// File > New: a record from the template or the repository, an empty list in the tree, or
// a second window.
#include "gui/app/FileMenu.h"
#include "gui/frame/AddressBar.h"
#include "gui/frame/ListDocument.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/Navigation.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"

#include "core/program/ModOpenSave.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "platform/Folders.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/widgets/StatusBar.h"
#include "platform/TreeImages.h"
#include "core/catalogues/ListTree.h"

#include <QAction>
#include <QComboBox>

namespace {

const QString kHarvestList = QStringLiteral("Harvest Control List");

// The folders a new Harvest Control List starts with, in this order.
const char* const kHarvestFolders[] = {
    "Home Page",
    "High Profile Topics",
    "Online Services and Services in Demand",
    "Government Assistance Programs",
    "Pages meeting Service Obligations",
    "Important Formal Publications",
    "Media Releases",
    "Links to closely related Entry Points",
    "Statements of Agency Powers",
    "About this Agency",
};


// The name of a list file without its folder and extension; a name without a dot whole.
QString listName(const QString& path) {
    const QString name = platform::fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

// The path itself when it names a file of this kind, else its folder.
QString proposedListName(const QString& treePath, const char* extension) {
    return treePath.contains(QLatin1String(extension), Qt::CaseInsensitive) ? treePath : platform::folderPart(treePath);
}

}  // namespace

// Whichever document carries the "Modified" mark is offered for saving first; 2 (Cancel)
// stops the New.
int FileMenu::saveBeforeNew() {
    if (documentState->modified(DocumentState::Document::Record)) return around.record.saveHtmlCheck();
    if (documentState->modified(DocumentState::Document::List)) return around.list.saveListCheck(QStringLiteral("before starting a new one"));
    return 0;
}

void FileMenu::mnuFileNew_Click(int index) {
    if (index < kNewTemplate || index > kNewWindow) {
        setMnuFileSaveAs();
        return;
    }
    // Without a repository item 2 replaces nothing, so it has nothing to ask.
    const bool replacesDocument =
        index != kNewWindow && !(index == kNewServerRecord && context.macros.openRecordMacro.isEmpty());
    if (replacesDocument && saveBeforeNew() == platform::kAnswerCancel) return;

    const auto switchToListMode = [this] {
        documentState->markSaved(DocumentState::Document::List, QString());
    };

    switch (index) {
    case kNewTemplate:
        modMTP::runMtpCommand(context, QStringLiteral("mtp://delete=all.fld"));
        modMTP::runMtpCommand(context, context.preferences.FileNewURL);
        return;
    case kNewServerRecord:
        if (context.macros.openRecordMacro.isEmpty()) {
            context.user.MsgBox(
                QStringLiteral("No Quorvantile Repository has been linked to the Karvold. To try this feature contact ") +
                QStringLiteral("http://") + context.schemeServer);
        } else {
            modMTP::runMtpCommand(context, context.macros.openRecordMacro);
            documentState->setSaveCaption(QStringLiteral("Save Record to Quorvantile Repository"));
        }
        setMnuFileSaveAs();
        return;
    case kNewRssChannel: {
        switchToListMode();
        setMnuFileSaveAs();
        documentState->setTreePath(QString());
        documentState->setListFile(QString());
        around.listPane.activeTree().clear();
        context.rootName = QStringLiteral("RSS Channel");
        if (const ListTree::NodeId root = around.listPane.activeTree().add(0, ListTree::Place::Last, context.rootName + QLatin1Char('\\'),
                                                            context.rootName, platform::kImageSchemeFolder))
            around.listPane.activeTree().setTag(root, QStringLiteral("RSS"));
        documentState->setListKind(DocumentState::ListKind::Channel);
        if (!around.listPane.activeTreeVisible()) around.viewMenu.mnuViewTreeView_Click();
        mnuFileDraw();
        documentState->setSaveCaption(QStringLiteral("Save RSS Channel"));
        mnuFileSaveList->setEnabled(true);
        setMnuFileSaveAs();
        return;
    }
    case kNewHarvestList: {
        switchToListMode();
        setMnuFileSaveAs();
        QString proposed = platform::programDataFolder() + QStringLiteral("/HCL.htm");
        const QString path = ModOpenSave::showSaveDialog(context, ModOpenSave::kPageFilter, proposed);
        if (path.isEmpty()) {
            setMnuFileSaveAs();
            return;
        }
        documentState->setTreePath(path);
        mnuFileDraw();
        documentState->setSaveCaption(QStringLiteral("Save Harvest Control List"));
        mnuFileSaveList->setEnabled(true);
        around.address.URLAddItem(QStringLiteral("loadhcl=") + documentState->TreePath() + QStringLiteral(".kqi"));
        startNewList(path, kHarvestList);
        return;
    }
    case kNewCatalogue: {
        switchToListMode();
        documentState->setSaveCaption(QStringLiteral("Save Catalog"));
        QString proposed = proposedListName(documentState->TreePath(), ".kqi");
        const QString path = ModOpenSave::showSaveDialog(context, ModOpenSave::kCatalogueFilter, proposed);
        if (!path.isEmpty()) documentState->setTreePath(path);
        mnuFileDraw();
        if (path.isEmpty()) setMnuFileSaveAs();
        else startNewList(path, QStringLiteral("Catalog"));
        return;
    }
    case kNewScheme: {
        switchToListMode();
        documentState->setSaveCaption(QStringLiteral("Save Scheme"));
        setMnuFileSaveAs();
        QString proposed = proposedListName(documentState->TreePath(), ".kqs");
        const QString path = ModOpenSave::showSaveDialog(context, ModOpenSave::kSchemeFilter, proposed);
        if (!around.listPane.activeTreeVisible()) around.viewMenu.mnuViewTreeView_Click();
        if (path.isEmpty()) {
            setMnuFileSaveAs();
            return;
        }
        documentState->setTreePath(path);
        mnuFileDraw();
        startNewList(path, QStringLiteral("Scheme"));
        return;
    }
    case kNewWindow:
        around.navigation.startSecondInstance(around.address.addressText());
        setMnuFileSaveAs();
        return;
    }
}

// Puts the root of a new, empty list into the active tree; nothing is written yet.
void FileMenu::startNewList(const QString& path, const QString& kind) {
    documentState->setTreePath(path);
    // The user chose this file for the new list in the save dialog.
    documentState->setListFile(path);
    context.rootName = listName(path);
    if (!around.listPane.activeTreeVisible()) around.viewMenu.mnuViewTreeView_Click();
    ListTree& tree = around.listPane.activeTree();
    tree.clear();
    const QString rootKey = context.rootName + QLatin1Char('\\');
    const bool scheme = documentState->TreePath().contains(QLatin1String(".kqs"));
    using Kind = DocumentState::ListKind;
    documentState->setListKind(scheme ? Kind::SchemeList : kind == kHarvestList ? Kind::HarvestList : Kind::Catalogue);
    if (scheme) {
        if (const ListTree::NodeId root = tree.add(0, ListTree::Place::Last, rootKey, context.rootName,
                                                   platform::kImageSchemeFolder, platform::kImageSchemeTerm))
            tree.setTag(root, QStringLiteral("Scheme"));
        setMnuFileSaveAs();
        return;
    }
    const ListTree::NodeId root =
        tree.add(0, ListTree::Place::Last, rootKey, context.rootName, platform::kImageFolder, platform::kImageOpenFolder);
    if (root) tree.setTag(root, kind);
    if (root && kind == kHarvestList) {
        for (const char* folder : kHarvestFolders) {
            const QString name = QLatin1String(folder);
            tree.add(root, ListTree::Place::Child, rootKey + name + QLatin1Char('\\'), name, platform::kImageFolder);
        }
        context.user.MsgBox(QStringLiteral("A number of folders have been placed your new HCL to help you categorise your "
                                           "resources. Any unused folders will be deleted when you next save this list"),
                            platform::kOkOnly, QStringLiteral("Harvest Control List Categories"));
    }
    setMnuFileSaveAs();
}
