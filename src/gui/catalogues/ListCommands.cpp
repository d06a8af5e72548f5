// The lists commands and page reads ask for: Harvest Control Lists and channels read into
// the tree and written from it.
#include "gui/catalogues/TreePane.h"

#include "gui/catalogues/HarvestLists.h"
#include "gui/catalogues/ListDocuments.h"
#include "gui/catalogues/modRSS.h"

bool TreePane::loadListPage(bool harvestList, const QString& location, const QString& text) {
    const ListLoadOutcome outcome =
        harvestList ? modHCL::loadHCL(*this, location, &text) : modRSS::loadRSSChannel(*this, location, &text);
    return outcome == ListLoadOutcome::Kept;
}

ListLoadOutcome TreePane::loadHarvestList(const QString& location) {
    return modHCL::loadHCL(*this, location);
}

ListLoadOutcome TreePane::loadChannel(const QString& location) {
    return modRSS::loadRSSChannel(*this, location);
}

bool TreePane::saveHarvestList(bool agls12Form, QString& path, const QString& folder) {
    QString records = folder;
    return agls12Form ? modHCL::saveAsAGLS12HCL(*this, path, records) : modHCL::saveAsHCL(*this, path, records);
}

bool TreePane::saveChannel(const QString& path) {
    QString file = path;
    return modRSS::saveRSSChannel(*this, file);
}

void TreePane::openRecordFromHarvestFolder(const QString& folder) {
    QString records = folder;
    modHCL::getMetaFromHCL(*this, records);
}

void TreePane::showListProgress(const QString& text) {
    ListDocuments::showProgress(*this, text);
}
