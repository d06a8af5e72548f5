#pragma once
#include <QString>

class ProgramContext;

namespace ModOpenSave {

// The Save dialog's filters, by their place in its list.
enum SaveFilter : int {
    kPageFilter = 1,        // "HTML,ASP,CFM"
    kSchemeFilter = 2,      // "Schemes"
    kCatalogueFilter = 3,   // "Catalogs"
    kBatchFilter = 4,       // "MTP Batch Files"
    kHarvestListFilter = 5, // "Harvest Control File"
    kAllFilesFilter = 6,    // "All Files"
};

// Save dialog starting on one of the filters. Returns the chosen path with
// the filter's extension added when missing, or "" on cancel; on success the path
// argument holds the same text. With `proposeMissing`, a path naming no file in a folder that
// exists is proposed there under its own name (else "Untitled" is). The dialog is the
// context's one file dialog: what a call does not set keeps the value the previous call left,
// the folder included.
QString showSaveDialog(ProgramContext& context, int filterIndex, QString& path, bool proposeMissing = false);

// Open dialog for one kind of file: "htm", "kqs", "kqi", "kqb", "hcl", "rss" or "dir"
// (a folder, chosen by picking any file in it). A chosen file that does not exist is
// created empty. Returns "" on cancel.
QString showOpenDialog(ProgramContext& context, const QString& kind, const QString& path);

}  // namespace ModOpenSave
