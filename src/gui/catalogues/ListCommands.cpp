// The lists commands and page reads ask for: Harvest Control Lists and channels read into
// the tree and written from it.
#include "gui/catalogues/TreePane.h"

#include "gui/catalogues/HarvestLists.h"
#include "gui/catalogues/ListDocuments.h"
#include "gui/catalogues/modRSS.h"

bool TreePane::loadListPage(bool harvestList, const QString& location, const QString& text) {
    const ListLoadOutcome outcome =
        harvestList ? HarvestLists::loadHCL(*this, location, &text) : modRSS::loadRSSChannel(*this, location, &text);
    return outcome == ListLoadOutcome::Kept;
}

ListLoadOutcome TreePane::loadHarvestList(const QString& location) {
    return HarvestLists::loadHCL(*this, location);
}

ListLoadOutcome TreePane::loadChannel(const QString& location) {
    return modRSS::loadRSSChannel(*this, location);
}

bool TreePane::saveHarvestList(bool agls12Form, const QString& path, const QString& folder) {
    return agls12Form ? HarvestLists::saveAsAGLS12HCL(*this, path, folder) : HarvestLists::saveAsHCL(*this, path, folder);
}

bool TreePane::saveChannel(const QString& path) {
    return modRSS::saveRSSChannel(*this, path);
}

void TreePane::openRecordFromHarvestFolder(const QString& folder) {
    HarvestLists::getMetaFromHCL(*this, folder);
}

void TreePane::showListProgress(const QString& text) {
    ListDocuments::showProgress(*this, text);
}
