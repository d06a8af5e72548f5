// The lists commands and page reads ask for: Harvest Control Lists and channels read into
// the tree and written from it.
#include "gui/catalogues/TreeDocument.h"

#include "gui/catalogues/HarvestLists.h"
#include "gui/catalogues/ListDocuments.h"
#include "gui/catalogues/modRSS.h"
#include "core/program/ProgramContext.h"

TreeDocument::TreeDocument(ProgramContext& context, WindowFrame& frame, const TreeNeighbours& around, TreeViews& views,
                           ListPane& pane, QObject* parent)
    : QObject(parent), context(context), frame(frame), around(around), views(views), pane(pane) {}

ListWindow TreeDocument::listWindow() {
    return {.context = context,
            .frame = frame,
            .list = *this,
            .pane = pane,
            .address = around.address,
            .browser = around.browser,
            .record = around.record,
            .recordLoading = around.recordLoading,
            .fileMenu = around.fileMenu,
            .viewMenu = around.viewMenu,
            .lifetime = *this};
}

bool TreeDocument::counted(bool written) {
    if (written) ++filesWritten_;
    return written;
}

bool TreeDocument::loadListPage(bool harvestList, const QString& location, const QString& text) {
    const ListLoadOutcome outcome = harvestList ? HarvestLists::loadHCL(listWindow(), location, &text)
                                                : modRSS::loadRSSChannel(listWindow(), location, &text);
    return outcome == ListLoadOutcome::Kept;
}

ListLoadOutcome TreeDocument::loadHarvestList(const QString& location) {
    return HarvestLists::loadHCL(listWindow(), location);
}

ListLoadOutcome TreeDocument::loadChannel(const QString& location) {
    return modRSS::loadRSSChannel(listWindow(), location);
}

bool TreeDocument::saveHarvestList(bool agls12Form, const QString& path, const QString& folder) {
    return counted(agls12Form ? HarvestLists::saveAsAGLS12HCL(listWindow(), path, folder)
                              : HarvestLists::saveAsHCL(listWindow(), path, folder));
}

bool TreeDocument::saveChannel(const QString& path) {
    return counted(modRSS::saveRSSChannel(window(), context, path));
}

void TreeDocument::openRecordFromHarvestFolder(const QString& folder) {
    HarvestLists::getMetaFromHCL(listWindow(), folder);
}

void TreeDocument::showListProgress(const QString& text) {
    ListDocuments::showProgress(context, frame, text);
}
