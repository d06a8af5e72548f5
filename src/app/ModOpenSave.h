#pragma once
#include <QString>

namespace ModOpenSave {

// Save dialog starting on filter 1..6 ("HTML,ASP,CFM", "Schemes", "Catalogs",
// "MTP Batch Files", "Harvest Control File", "All Files"). Returns the chosen path with
// the filter's extension added when missing, or "" on cancel; on success the path
// argument holds the same text.
QString showSaveDialog(int filterIndex, QString& path);

// Open dialog for one kind of file: "htm", "kqs", "kqi", "kqb", "hcl", "rss" or "dir"
// (a folder, chosen by picking any file in it). A chosen file that does not exist is
// created empty. Returns "" on cancel.
QString showOpenDialog(const QString& kind, const QString& path);

}  // namespace ModOpenSave
