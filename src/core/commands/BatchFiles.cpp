// Command batches (.kqb): running them, the command log, the record as field commands and
// the macro set file.
#include "core/program/CRegSettings.h"
#include "core/program/ModOpenSave.h"
#include "core/program/modFileExists.h"
#include "core/commands/CommandLog.h"
#include "core/program/CommandWindow.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "core/program/ProgramContext.h"
#include "core/record/Record.h"
#include "platform/Folders.h"
#include "platform/Inet.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/TextCodec.h"
#include "core/record/MetaWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace modMTP {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;
const QString kCrLf = QStringLiteral("\r\n");

constexpr qint64 kMaxBatchBytes = 256LL * 1024 * 1024;

// Batches fetched from the web have a transfer control of their own, so a page that is
// loading keeps the window's control to itself.
platform::Inet& batchInet(ProgramContext& context) {
    CommandState& commands = context.commands;
    if (!commands.batchTransfer) commands.batchTransfer = std::make_unique<platform::Inet>(context.transferProxy);
    return *commands.batchTransfer;
}

// The text of a local batch, or nothing after telling the user.
std::optional<QString> readLocalBatch(ProgramContext& context, QString location) {
    location.remove(QStringLiteral("mtp://"), ci);
    if (location.endsWith(QLatin1Char('/')) || location.right(2).startsWith(QLatin1Char('/'))) location.chop(1);
    location.replace(QLatin1String("%20"), QLatin1String(" "));
    const QString path = platform::localPathFromAddress(location);
    // Only plain files: a device or pipe named by a link would never end.
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kMaxBatchBytes) {
        context.user.MsgBox(QStringLiteral("Error reading in Batch File: ") + path + QStringLiteral(" (larger than 256 MB)"));
        return std::nullopt;
    }
    std::optional<QString> text = info.isFile() ? platform::readProgramFile(path) : std::nullopt;
    if (!text) context.user.MsgBox(QStringLiteral("Error reading in Batch File: ") + path);
    return text;
}

// The text of a batch on the web, or nothing after telling the user.
std::optional<QString> readWebBatch(ProgramContext& context, const QString& location) {
    QString address = location;
    if (!platform::isWebAddress(address)) address.prepend(QStringLiteral("http://"));
    platform::Inet& inet = batchInet(context);
    inet.setURL(address);
    context.preferences.signIn(inet);
    QString text = inet.OpenURL();
    if (CommandWindow* window = context.commands.window) window->stopBusyAnimation();
    if (inet.ResponseCode() != 0) {
        if (inet.httpStatus() >= 400)
            context.user.MsgBox(inet.errorCodeMessage());
        else
            context.user.MsgBox(inet.ResponseInfo(), platform::kOkOnly, QStringLiteral("Macro load error"));
        return std::nullopt;
    }
    return text;
}

// Runs every line that starts with "mtp" (exactly), one dispatch each, with a yield after
// each but the last unterminated one. Returns the number of lines run.
int runLines(ProgramContext& context, const QString& text, CommandOrigin origin) {
    const CommandState& commands = context.commands;
    const auto stopped = [&commands] { return commands.stopFromDepth && commands.batchDepth >= commands.stopFromDepth; };
    int ran = 0;
    qsizetype start = 0;
    const qsizetype size = text.size();
    const auto runLine = [&](qsizetype end, bool yield) {
        if (end > start && QStringView(text).mid(start, end - start).startsWith(QLatin1String("mtp"))) {
            mtpTransaction(context, text.mid(start, end - start), origin);
            if (yield) QCoreApplication::processEvents();
            ++ran;
        }
    };
    for (qsizetype i = 0; i < size && !stopped(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        runLine(i, true);
        start = i + 1;
    }
    if (!stopped() && start < size) runLine(size, false);
    return ran;
}

}  // namespace

bool batchRunning(const ProgramContext& context) {
    return context.commands.batchDepth > 0;
}

void stopBatches(ProgramContext& context, const QString& reason) {
    CommandState& commands = context.commands;
    if (commands.batchDepth == 0 || commands.stopFromDepth == 1) return;
    context.user.MsgBox(reason + QStringLiteral("\r\n\r\nThe batch stops here; its remaining lines do not run."), platform::kOkOnly,
                        QStringLiteral("Batch stopped"));
    commands.stopFromDepth = 1;
}

bool stopPageBatch(ProgramContext& context) {
    CommandState& commands = context.commands;
    if (commands.pageBatchDepth == 0) return false;
    if (commands.stopFromDepth == 0 || commands.stopFromDepth > commands.pageBatchDepth)
        commands.stopFromDepth = commands.pageBatchDepth;
    return true;
}

QString commandLogPath() {
    return platform::programDataFolder() + QStringLiteral("/cache/syslog.kqb");
}

std::optional<QString> CommandLog::create() {
    modFileExists::makeSurePathExists(platform::folderPart(commandLogPath()));
    QString error;
    if (platform::writeTextFileAtomically(commandLogPath(), kCommandLogHeader + kCrLf + kCrLf, &error)) return std::nullopt;
    return error;
}

void CommandLog::append(const ProgramContext& context, const QString& command) {
    QString text;
    if (command.contains(QLatin1String("save="), ci) && command.contains(QLatin1String(".htm"), ci))
        text = buildFieldCommands(context);
    modFileExists::makeSurePathExists(platform::folderPart(commandLogPath()));
    QFile log(commandLogPath());
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        context.user.MsgBox(QStringLiteral("Error opening log: ") + log.errorString() +
                            QStringLiteral(". Quorvantile needs to be able to write to its home directory"));
        return;
    }
    if (command.contains(QLatin1String("stoplogging"), ci)) return;
    text += platform::breaksToBlanks(command) + kCrLf;
    log.write(text.toUtf8());
}

QString buildFieldCommands(const ProgramContext& context) {
    return MetaWriter::buildFieldCommands(context.record.lines());
}

void startLogging(ProgramContext& context) {
    if (const std::optional<QString> error = CommandLog::create()) {
        context.user.MsgBox(QStringLiteral("Error opening log: ") + *error + QStringLiteral(". This is common if you are running a batch file"));
        return;
    }
    context.commands.loggingOn = true;
}

void runBatchFile(ProgramContext& context, const QString& command, CommandOrigin origin) {
    CommandState& commands = context.commands;
    int& batchDepth = commands.batchDepth;
    if (batchDepth >= kMaxBatchDepth) {
        context.user.MsgBox(QStringLiteral("Batch files were started inside each other more than %1 deep, so the run stops here. "
                                           "Check whether a batch file runs itself: ")
                                .arg(kMaxBatchDepth) +
                            command);
        commands.stopFromDepth = 1;
        return;
    }

    // A batch link rewritten by the navigation hub reads "mtp://url=" followed by the address.
    QString location = command;
    if (location.startsWith(QLatin1String("mtp://"), ci)) location.remove(0, 6);
    if (location.startsWith(QLatin1String("url="), ci)) location.remove(0, 4);
    const std::optional<QString> text =
        platform::isLocalPath(location) ? readLocalBatch(context, location) : readWebBatch(context, location);
    if (!text) return;

    ++batchDepth;
    const bool pageBatch = isPageOrigin(origin) && commands.pageBatchDepth == 0;
    if (pageBatch) commands.pageBatchDepth = batchDepth;
    // The batch's own lines are not logged; the two logging commands are the program's own.
    // Logging is on after a batch, except that a page's batch leaves it as it was: only the
    // user turns it on.
    const bool loggingBefore = commands.loggingOn;
    mtpTransaction(context, QStringLiteral("mtp://stoplogging.kqb"));
    const int ran = runLines(context, *text, origin);
    if (!isPageOrigin(origin) || loggingBefore) mtpTransaction(context, QStringLiteral("mtp://restartlogging.kqb"));
    if (pageBatch) commands.pageBatchDepth = 0;
    const bool abandoned = commands.stopFromDepth && batchDepth >= commands.stopFromDepth;
    --batchDepth;
    if (batchDepth < commands.stopFromDepth) commands.stopFromDepth = 0;

    if (CommandWindow* window = commands.window) {
        if (!context.record.isEmpty()) window->showLine(context.record.idAt(1));
        // The batch is done: the panes show where it left them now.
        if (batchDepth == 0) window->holdPainting(false);
    }
    if (ran == 0 && !abandoned) {
        context.user.MsgBox(QStringLiteral("URL or File did not contain any valid batch commands. Check the syntax of the .kqb command "
                                           "or ensure that the field or URL pointed to exists and had valid macros. If you are sending "
                                           "data to a CGI then use mtp://cgisend= syntax"),
                            platform::kOkOnly, QStringLiteral("Nothing Found"));
    }
}

QString macroSetLine(const QString& key, const QString& shortName, const QString& command) {
    return platform::breaksToBlanks(QStringLiteral("mtp://addmacro=") + command + QStringLiteral("&fkey=") + key +
                                    QStringLiteral("&text=") + shortName + QStringLiteral(".kqb"));
}

void publishMacroSet(ProgramContext& context) {
    const CRegSettings settings(context.settings);
    QString path = platform::programDataFolder() + QStringLiteral("/macro set.kqb");
    const QString chosen = ModOpenSave::showSaveDialog(context, ModOpenSave::kBatchFilter, path);
    if (chosen.isEmpty()) return;
    QString text;
    // A value without "|" is no macro: loading skips it, and so does the set.
    int leftOut = 0;
    int published = 0;
    for (const SettingRow& row : settings.GetAllSettings(modMacros::kMacroSection)) {
        const qsizetype bar = row.value.indexOf(QLatin1Char('|'));
        if (bar < 0) {
            ++leftOut;
            continue;
        }
        ++published;
        text += macroSetLine(row.name, row.value.left(bar), row.value.mid(bar + 1)) + QStringLiteral("\r\n");
    }
    const QString notMacros = QStringLiteral("%1 stored value(s) of the function keys are not macros (they hold no \"|\")")
                                  .arg(leftOut);
    // A set of nothing would only replace a set published before.
    if (published == 0 && leftOut > 0) {
        context.user.MsgBox(notMacros + QStringLiteral(", and no macro is left to publish. Nothing was written."), platform::kOkOnly,
                            QStringLiteral("Publish Current Macro Set"));
        return;
    }
    QString error;
    if (!platform::writeTextFileAtomically(chosen, text, &error)) {
        context.user.MsgBox(QStringLiteral("The macro set could not be written: ") + error);
        return;
    }
    if (leftOut > 0)
        context.user.MsgBox(notMacros + QStringLiteral(" and were left out of ") + chosen +
                                QStringLiteral(": %1 macro(s) were published.").arg(published),
                            platform::kOkOnly, QStringLiteral("Publish Current Macro Set"));
}

}  // namespace modMTP
