#pragma once
#include "core/catalogues/ListEntries.h"
#include "core/program/CommandState.h"
#include "core/program/DocumentState.h"

#include <QPointer>
#include <QString>

#include <optional>

class AddressBar;
class DocumentMenu;
class ListDocument;
class ListPane;
class PageBrowser;
class ProgramContext;
class QObject;
class QWidget;
class RecordDocument;
class RecordLoading;
class UserDialogs;
class ViewMarks;
class WindowFrame;

// What the list readers and writers ask of the window: the program's state, the frame (its
// status bar, its layout, the window the dialogs hang from), the list shown and its trees,
// and the parts of the other panes and menus a list load touches. `lifetime` goes when the
// hierarchy pane does: a load checks it after the events it lets run.
struct ListWindow {
    ProgramContext& context;
    WindowFrame& frame;
    ListDocument& list;
    ListPane& pane;
    AddressBar& address;
    PageBrowser& browser;
    RecordDocument& record;
    RecordLoading& recordLoading;
    DocumentMenu& fileMenu;
    ViewMarks& viewMenu;
    QObject& lifetime;
};

// What the Harvest Control List and RSS channel readers share: the guard against a second
// list load, fetching the document (a local file, the cache or the web), and building the
// tree from the items read.
namespace ListDocuments {

// Asks about the unsaved changes of the list shown before a new list replaces it; false when
// the user keeps it (Cancel, or a save that did not happen).
bool mayReplaceList(ListDocument& list);

struct Fetched {
    QString text;
    QString localPath;  // the file the text was read from or the download written to
    bool fromCache = false;  // the location itself lies in the program's cache
};

// Brings the document at `location` (a local path, a "file://" address or a web address)
// into memory: a local file is read where it lies and never written; a web address is read
// from its copy in cache/indexes, else fetched and written there. `handedOver` is a text
// already fetched (the page loader's), used instead of reading it again. An empty document
// or a server's "not found" page stops the load with "Couldn't find anything at ..." titled
// `notFoundTitle`; a failure is shown and stops it too (nullopt).
std::optional<Fetched> fetch(ProgramContext& context, PageBrowser& browser, const QString& location, const QString* handedOver,
                             const QString& notFoundTitle, const QString& errorTitle);

// The opening the Harvest Control List and channel loads share, once they have told the
// user what they load: the window's events run, the document is fetched (see fetch) and the
// user may keep the list shown (mayReplaceList). Loaded when the load goes on with `fetched`;
// NotLoaded when the fetch failed or the pane went meanwhile (`alive`); Kept when the user
// kept the list.
struct Opening {
    ListLoadOutcome outcome = ListLoadOutcome::NotLoaded;
    Fetched fetched;
};
Opening openListDocument(const ListWindow& window, const QPointer<QObject>& alive, const QString& location,
                         const QString* fetchedText, const QString& notFoundTitle, const QString& errorTitle);

// Turns a list file's bytes into text: UTF-8 when they are valid UTF-8 (a BOM dropped),
// else by the charset the HTTP reply or the XML declaration names, else Windows-1252.
QString decodeListBytes(const QByteArray& bytes, const QString& contentType = QString());

// Empties the list tree and fills it with the items below a root named `rootName` with the
// given tag: each item's folders first (once each), then the item; the list is of the kind
// given from then on. The wait dialog shows the progress and the window stays alive every
// tenth line. Returns the lines the tree refused (their reasons, each after a line break),
// or nullopt when the pane went away (`alive`).
std::optional<QString> fillTree(const ListWindow& window, const QPointer<QObject>& alive, const QString& rootTag,
                                DocumentState::ListKind kind, const QList<ListEntries::ListEntry>& items);

// Writes a list the tree was turned into, as a list of the kind given: replaced whole or
// not at all. A failure is shown under the title given and leaves everything as it was. A
// list written as its own kind has that file as its own from then on; its own file written
// takes the list's "Modified" mark off, unless the record holds it.
bool writeList(ProgramContext& context, const QString& path, const QString& text, DocumentState::ListKind written,
               const QString& failureTitle);

// The file name holds ".kqi" or ".kqs", in any case.
bool namesCatalogueOrSchemeList(const QString& path);

// The file a list dialog proposes when the list shown is written in another form: beside
// the list's own file, named after the list, with the form's ending (".xml", ".rss"); ""
// when the list has no local file. Never a catalogue or scheme list, whatever the list is
// called.
QString proposalBesideList(const QString& listPath, const QString& listName, const QString& ending);

// Asks before a list goes over an existing file that is not the list's own (default No);
// true when it may be written there.
bool mayWriteListTo(UserDialogs& user, const QString& target, const QString& listFile, const QString& title);

// Shows how far a list load or save got: in the wait dialog's label when it is loaded, else
// in the status bar's activity panel. An empty text ends it: the panel says "Ready".
void showProgress(ProgramContext& context, WindowFrame& frame, const QString& text);
// Shows the wait dialog modeless over `owner`'s window, with a label, unless it is up already.
void showWaitDialog(ProgramContext& context, QWidget* owner, const QString& label, bool cancelAvailable = true);

}  // namespace ListDocuments
