#pragma once
#include <QString>

// Where a command of the mtp:// language goes: the family its type names, the row of that
// family's vocabulary that takes it (first match in a fixed order), and what the row's
// handler is given, cut out of the command. Pure: nothing is run or changed.
namespace modMTP {

enum class CommandRow {
    // scheme lists (type "kqs")
    SchemeDeleteAll, SchemeOpen, SchemeSave, SchemeLoad,
    // catalogues and the lists built from harvest lists and channels (type "kqi")
    CatalogDeleteAll, CatalogOpen, CatalogSave, CatalogSaveHcl, CatalogSaveRss, CatalogLoadHcl, CatalogLoadRss,
    CatalogLoad,
    // fields of the record (type "fld")
    FieldsDeleteAll, FieldsGoTop, Field,
    // batches, macros, repository requests, domain choice (type "kqb")
    BatchSave, BatchAddMacro, BatchOpen, BatchCgiSendHcl, BatchCgiSendList, BatchCgiSend, BatchSetDomain,
    BatchGetMetaFromHcl, BatchRun,
    // the logging words, found in what an open= or a batch location hands the batch runner
    BatchRestartLogging, BatchStartLogging, BatchStopLogging,
    // pages (type "htm", "asp" or "cfm")
    PageSave, PageOpen,
    // no family takes the type, or a page command is neither save= nor open=
    NotKnown,
    // the verb could not be cut out of the command (its last "." stands within the prefix)
    CutFailed,
};

struct CommandRoute {
    CommandRow row = CommandRow::NotKnown;
    // The verb, between the prefix and the last "."; cut for scheme lists, catalogues and
    // fields only.
    QString verb;
    // What the handler works on: a list location, a file path, an address, the command
    // itself (fields, macros, domains) or the command without its verb word (requests).
    QString location;
    // The records folder of a Harvest Control List save.
    QString folder;
    // A harvest list or channel named by a local path: that path (the location has
    // "file://" before it).
    QString localPath;
    // Why the command cannot run, for a row that found a fault in it ("" when none).
    QString fault;
};

// The route of a command that ends with its final "/". The dispatcher runs exactly this, so
// whatever judges a command judges its route, never its text.
CommandRoute routeCommand(const QString& command);

// Rows a web page may not run without the user's word: they write or delete files, clear
// the record, store a macro, start or stop logging, or send to the repository.
bool needsUsersWord(const CommandRoute& route);

}  // namespace modMTP
