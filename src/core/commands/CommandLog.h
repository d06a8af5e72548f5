#pragma once
#include <QString>

#include <optional>

class ProgramContext;

// The command log (cache/syslog.kqb under the program folder): a batch file of the commands
// the user ran, so that running it again repeats the work.
namespace modMTP::CommandLog {

// Starts the log anew with its header line and an empty line. When the file cannot be
// written, the reason, and an old log stays as it was; nothing when the log was started.
std::optional<QString> create();

// Appends one command; a page save ("save=" and ".htm") is preceded by the record's field
// commands, so a replay rebuilds the record before saving it. Commands holding
// "stoplogging" are not written. A log that cannot be opened is reported.
void append(const ProgramContext& context, const QString& command);

}  // namespace modMTP::CommandLog
