#pragma once
#include "core/program/CommandDispatcher.h"
#include "core/program/CommandState.h"

#include <QDate>
#include <QString>
#include <QStringList>

class CommandWindow;
class ProgramContext;

// The mtp:// command language: the entry, the dispatcher and its verbs, the field command,
// command batches and the command log. Every entry works on the program state it is given:
// its record, lists, preferences and the window commands work on (context.commands.window).
namespace modMTP {

using ::CommandOrigin;

// Runs one command ("mtp://" verb "." type "/"). Repository and macro-set batches run inside
// the wait dialog, everything else straight through the dispatcher.
void runMtpCommand(ProgramContext& context, const QString& command, CommandOrigin origin = CommandOrigin::Program);
// Carries commands out: the dispatcher the program gives its context.
class ProgramDispatcher final : public CommandDispatcher {
public:
    void dispatch(ProgramContext& context, const QString& command, CommandOrigin origin) override;
};

// The dispatcher: logs the command, cuts it into verb and type and runs the verb's handler
// on the command with its final "/".
void mtpTransaction(ProgramContext& context, QString command, CommandOrigin origin = CommandOrigin::Program);
// The dispatcher is running a command (or a command nested in one).
bool dispatchRunning(const ProgramContext& context);
// The window commands work on; throws (std::runtime_error) while none is open, which the
// handler's caller reports.
CommandWindow& commandWindow(ProgramContext& context);

// A command from a page as browsers clean an address: tabs and line breaks taken out,
// blanks and control characters trimmed from both ends. What the user is asked about is
// what runs.
QString cleanPageCommand(const QString& text);

// The question a page command gets before it changes files, the record, macros, logging or
// the repository.
inline const QString kPageCommandQuestion = QStringLiteral("Allow this web page to run: ");

// A page command that needs the user's word, as it is asked about and run: the line and
// paragraph separators and U+0085 are line breaks and go, every other invisible format or
// control character is written out as "<U+XXXX>", so nothing hides in the question.
QString commandAsAsked(const QString& command);
// The command holds a character that overrides or isolates the direction of text, which
// could show a question reading otherwise than the command runs.
bool holdsDirectionControl(const QString& command);


// ---- field command ----------------------------------------------------------------------

// "mtp://field=" element "&content=" value ["&lang=" lang] ["&scheme=" scheme] ".fld/":
// puts the value into the matching lines of the record, or into a new line.
void mtpAddField(ProgramContext& context, const QString& command);
// The element of the selected line when its scheme fits; "" after telling the user why not.
QString findFieldForScheme(ProgramContext& context, const QString& value, const QString& scheme,
                           const QString& reducedScheme);
// "AU|Acme|Sales|" -> "ou=Sales; o=Acme; c=AU"; "" when the text holds no "|".
QString buildX500Value(const QString& text);
// "2004-08-03".
QString formatIsoDate(const QDate& date);

// ---- batches and the command log ------------------------------------------------------

// Runs a batch, a local batch file or one on the web (the logging words are routed before).
// Lines of a batch a web page started are page commands.
void runBatchFile(ProgramContext& context, const QString& command, CommandOrigin origin = CommandOrigin::Program);
// Creates the command log afresh and turns logging on, or tells the user why not.
void startLogging(ProgramContext& context);
// The record as field commands, one per line, each ending in CR LF, with the values written
// so that they read back as they are (no value turns into a command line of its own).
QString buildFieldCommands(const ProgramContext& context);
// Asks where to write the function-key macros as a batch of addmacro= lines, and writes it.
void publishMacroSet(ProgramContext& context);
// The line of a macro set that stores a macro again: "mtp://addmacro=" command "&fkey=" key
// "&text=" short name ".kqb", with no line break in it.
QString macroSetLine(const QString& key, const QString& shortName, const QString& command);
// The command log: cache/syslog.kqb under the program folder.
QString commandLogPath();
inline const QString kCommandLogHeader = QStringLiteral("#Log of Macro commands performed");
// Batches may run batches; past this depth the run stops (a batch that runs itself).
constexpr int kMaxBatchDepth = 16;
// A batch is running (its lines, or commands they started).
bool batchRunning(const ProgramContext& context);
// Stops every running batch before its next line, after telling the user why.
void stopBatches(ProgramContext& context, const QString& reason);
// Stops the batch a web page started, and the batches it started, before their next line;
// false when no page's batch runs.
bool stopPageBatch(ProgramContext& context);

// ---- handlers of the repository and the macros ------------------------------------------

// "mtp://addmacro=" command ["&fkey=" key] ["&text=" caption] ".kqb/": stores a function-key macro,
// its command exactly as given.
void addMacro(ProgramContext& context, const QString& command);
// What an addmacro= command says. The command may hold "&fkey=" and "&text=" itself when
// the key and caption follow it in the form a macro set writes.
struct AddMacroParts {
    bool found = false;  // the command holds "mtp://addmacro="
    QString macro;
    QString key;      // upper-cased; "" when none is given
    QString caption;  // "" when none is given
    bool hasKey = false;
};
AddMacroParts readAddMacro(const QString& command);
// Requests to the repository's scripts; each gets the command with its verb word removed.
void cgiSend(ProgramContext& context, const QString& command);
// The address of a repository script in a request command: "mtp://" becomes "http://" (a
// command that names its own scheme after "mtp://" keeps it) and, with `dropType`, every
// ".kqb/" goes.
QString repositoryAddress(QString command, bool dropType = true);
void cgiSendList(ProgramContext& context, const QString& command);
void cgiSendHCL(ProgramContext& context, const QString& command);

}  // namespace modMTP
