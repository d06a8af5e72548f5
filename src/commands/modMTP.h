#pragma once
#include <QString>

#include <functional>

// The entry of the mtp:// command language.
namespace modMTP {

// Set while the dispatcher runs a command; a second repository or macro-set command is refused.
inline bool macroRunning = false;
// Set by the wait dialog's Cancel; tested by the repository wait and the list loader.
inline bool cancelRequested = false;
// The dispatcher appends each command to the command log while this is set.
inline bool loggingOn = false;
// A list load is under way.
inline bool listLoading = false;

// Where a command came from. Commands a web page started (a link, a script, a redirect, a
// frame, a new-window request, the help window) and every line of a batch run on their
// behalf are page commands: the dispatcher asks before such a command changes files, the
// record, macros, logging or the repository.
enum class CommandOrigin { Program, Page };

// Runs one command ("mtp://" verb "." type "/"). The command is passed by reference as the
// callers have always passed it; handlers may rewrite it.
void runMtpCommand(QString& command, CommandOrigin origin = CommandOrigin::Program);

// Sees every command that enters runMtpCommand before it is carried out; answering true
// keeps the command from running (tests, and the command log's own replay checks).
using CommandInterceptor = std::function<bool(const QString& command, CommandOrigin origin)>;
void setCommandInterceptor(CommandInterceptor interceptor);

}  // namespace modMTP
