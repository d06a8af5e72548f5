#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class CommandWindow;
class QTimer;
namespace platform {
class Inet;
}  // namespace platform

// Where a command came from. Commands a web page started (a link, a script, a redirect, a
// frame, a new-window request, the help window) and every line of a batch run on their
// behalf are page commands. Before such a command changes files, the record, macros,
// logging or the repository, the dispatcher asks the user, but only when the user's own
// click or key press on a link or submit button started it; a page that goes for such a
// command by itself is refused without a question.
enum class CommandOrigin {
    Program,
    Page,          // the user clicked a link or submit button of the page (or pressed a key on one)
    PageByItself,  // the page's script, refresh, redirect or frame, or a form it sent itself
};
inline bool isPageOrigin(CommandOrigin origin) {
    return origin != CommandOrigin::Program;
}

// The repository's commands, taken from the macros captioned "Save Record", "Open Record",
// "Save Catalog" and "Open Catalog"; empty when no repository is set up.
struct MacroState {
    QString saveRecordMacro;
    QString openRecordMacro;
    QString saveCatalogMacro;
    QString openCatalogMacro;
    // The scheme names the repository reported, separated by "|"; empty until asked.
    QString repositorySchemes;
    // The first of them.
    QString repositoryScheme;
    // What addmacro= commands could not store, one line each, shown when the command (or the
    // batch) that collected them ends.
    QString addMacroErrors;
};

// How a list load ended: the tree holds the new list, or nothing was loaded (the user was
// told why), or the user kept the list shown.
enum class ListLoadOutcome { Loaded, NotLoaded, Kept };

struct CommandState;
class UserDialogs;

// Holds the list-loading guard for one load. A load refused while another runs is dropped,
// silently the first time, with a message from the second time on.
class ListLoadGuard {
public:
    ListLoadGuard(CommandState& commands, UserDialogs& user);
    ~ListLoadGuard();
    ListLoadGuard(const ListLoadGuard&) = delete;
    ListLoadGuard& operator=(const ListLoadGuard&) = delete;
    bool acquired() const { return acquired_; }
    // The load ran to its end: later refusals start counting afresh.
    void finished();

private:
    CommandState& commands_;
    bool acquired_ = false;
};

// The command language's own state while the program runs.
struct CommandState {
    CommandState();
    ~CommandState();
    CommandState(const CommandState&) = delete;
    CommandState& operator=(const CommandState&) = delete;

    // The window the commands work on: the program's first; nullptr while none is open.
    CommandWindow* window = nullptr;
    // Set while the dispatcher runs a command; a second repository or macro-set command is refused.
    bool macroRunning = false;
    // Set by the wait dialog's Cancel; tested by the repository wait and the list loader.
    bool cancelRequested = false;
    // The dispatcher appends each command to the command log while this is set.
    bool loggingOn = false;
    // A list load is under way, and how many loads were refused meanwhile.
    bool listLoading = false;
    int listLoadRefusals = 0;
    // The name of the list shown before the last one loaded.
    QString previousListName;
    // Dispatches under way, nested ones included.
    int dispatchDepth = 0;
    // How deep batches run inside batches right now. Batches this deep or deeper stop before
    // their next line (0: none stops): every batch after a run too deep or a list or page a
    // batch could not open, the page's batch and what it started after a page command was
    // refused.
    int batchDepth = 0;
    int stopFromDepth = 0;
    // The depth of the outermost batch a web page started; 0 while none runs.
    int pageBatchDepth = 0;
    // Set by addmacro=: the command entry shows the macro editor after its next run through
    // the wait dialog, and clears it.
    bool showEditorAfterRun = false;
    // The panes are painted at most once per interval while commands follow each other, the
    // less often the longer the last paint took (paintCost, in milliseconds; while
    // paintMeasured is set the next yield adds the paint it carries out).
    QElapsedTimer sincePaint;
    qint64 paintCost = 0;
    bool paintMeasured = false;
    std::unique_ptr<QTimer> paintRelease;
    // Batches fetched from the web have a transfer control of their own, made on first use.
    std::unique_ptr<platform::Inet> batchTransfer;
    // The wait dialog and the macro editor, made on first use and gone with this state.
    QPointer<QObject> waitDialog;
    QPointer<QObject> macroEditor;
};
