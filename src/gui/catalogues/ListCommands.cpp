// The lists commands and page reads ask for: Harvest Control Lists and channels read into
// the tree and written from it.
#include "gui/catalogues/TreePane.h"

#include "gui/catalogues/HarvestLists.h"
#include "gui/catalogues/ListDocuments.h"
#include "gui/catalogues/modRSS.h"

ListWindow TreePane::listWindow() {
    return {.context = context,
            .frame = frame,
            .list = *this,
            .pane = *this,
            .address = around.address,
            .browser = around.browser,
            .record = around.record,
            .recordLoading = around.recordLoading,
            .fileMenu = around.fileMenu,
            .viewMenu = around.viewMenu,
            .lifetime = *this};
}

bool TreePane::counted(bool written) {
    if (written) ++filesWritten_;
    return written;
}

bool TreePane::loadListPage(bool harvestList, const QString& location, const QString& text) {
    const ListLoadOutcome outcome = harvestList ? HarvestLists::loadHCL(listWindow(), location, &text)
                                                : modRSS::loadRSSChannel(listWindow(), location, &text);
    return outcome == ListLoadOutcome::Kept;
}

ListLoadOutcome TreePane::loadHarvestList(const QString& location) {
    return HarvestLists::loadHCL(listWindow(), location);
}

ListLoadOutcome TreePane::loadChannel(const QString& location) {
    return modRSS::loadRSSChannel(listWindow(), location);
}

bool TreePane::saveHarvestList(bool agls12Form, const QString& path, const QString& folder) {
    return counted(agls12Form ? HarvestLists::saveAsAGLS12HCL(listWindow(), path, folder)
                              : HarvestLists::saveAsHCL(listWindow(), path, folder));
}

bool TreePane::saveChannel(const QString& path) {
    return counted(modRSS::saveRSSChannel(window(), context, path));
}

void TreePane::openRecordFromHarvestFolder(const QString& folder) {
    HarvestLists::getMetaFromHCL(listWindow(), folder);
}

void TreePane::showListProgress(const QString& text) {
    ListDocuments::showProgress(context, frame, text);
}
