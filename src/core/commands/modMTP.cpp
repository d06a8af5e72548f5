// The command entry and the dispatcher of the mtp:// command language.
#include "core/commands/modMTP.h"

#include "core/commands/CommandLog.h"
#include "core/commands/CommandRoute.h"
#include "core/program/CommandWindow.h"
#include "core/commands/ListLoading.h"
#include "core/program/CommandDialogs.h"
#include "core/commands/modMacros.h"
#include "core/program/ProgramContext.h"
#include "core/domains/modSchemas.h"
#include "platform/Folders.h"
#include "platform/MsgBox.h"
#include "platform/TextCodec.h"
#include "core/program/DocumentState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QFile>

#include <algorithm>
#include <exception>
#include <optional>
#include <stdexcept>
#include <utility>

namespace modMTP {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;

bool pageMayRun(ProgramContext& context, const QString& command) {
    return context.user.MsgBox(kPageCommandQuestion + command, platform::kYesNo | platform::kQuestionIcon | platform::kSecondButtonDefault) ==
           platform::kAnswerYes;
}

QString withSlash(const QString& command) {
    return command.endsWith(QLatin1Char('/')) ? command : command + QLatin1Char('/');
}

// A page command as it will run: when it needs the user's word it runs as it is asked about
// (a field command otherwise keeps its text as sent: vocabularies rely on joiners in their
// terms). Both forms are judged, so no character can hide a verb from the question.
struct PageCommand {
    QString command;  // as received, or as asked
    QString full;     // the same with its final "/"
    CommandRoute route;
    bool needsWord = false;
};

PageCommand judgePageCommand(const QString& command) {
    PageCommand received{command, withSlash(command), {}, false};
    received.route = routeCommand(received.full);
    const QString asked = commandAsAsked(command);
    PageCommand shown{asked, withSlash(asked), {}, true};
    shown.route = routeCommand(shown.full);
    if (needsUsersWord(received.route) || needsUsersWord(shown.route)) return shown;
    return received;
}

// A page command that did not run: a batch the page started stops there (the user's No
// to one line is No to the rest), and the status bar says what the user did not see.
void pageCommandNotRun(ProgramContext& context, const QString& command, bool unasked) {
    const bool batchStopped = stopPageBatch(context);
    QString said;
    if (unasked)
        said = batchStopped ? QStringLiteral("A command the page started by itself was not run, and its batch stops here: ")
                            : QStringLiteral("A command the page started by itself was not run: ");
    else if (batchStopped)
        said = QStringLiteral("The page's batch stops here; this command was not run: ");
    if (!said.isEmpty() && context.commands.window)
        context.commands.window->showPageNotice(said + commandAsAsked(command));
}

// A failure of a handler or of cutting the command, reported by the dispatcher.
struct Failure {
    QString description;
};

// Deletes every plain file of one cache folder; a file that cannot go stays, silently.
void deleteCachedLists(const QString& folder) {
    const QDir dir(platform::programDataFolder() + folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) QFile::remove(dir.filePath(name));
}

// The list shown goes only once the user has saved it or let it go; a batch stops when the
// user keeps it, so its next lines never work on the wrong list.
bool mayReplaceList(CommandWindow& window) {
    return window.saveListCheck(QStringLiteral("before opening a new one")) != platform::kAnswerCancel;
}

void listKept(ProgramContext& context, const QString& location) {
    stopBatches(context, QStringLiteral("This list was not opened: ") + location);
}

// Loads a list unless the user cancels saving the one shown.
void openList(ProgramContext& context, QString location) {
    CommandWindow& window = commandWindow(context);
    const QString asked = location;
    if (!loadList(context, location, [&window] { return mayReplaceList(window); })) listKept(context, asked);
    window.mnuFileDraw();
}

void saveList(ProgramContext& context, QString path, bool draw) {
    CommandWindow& window = commandWindow(context);
    window.saveList(path);
    if (draw) window.mnuFileDraw();
}

void saveHarvestList(ProgramContext& context, const CommandRoute& route) {
    CommandWindow& window = commandWindow(context);
    if (!route.fault.isEmpty()) throw Failure{route.fault};
    QString file = route.location;
    QString folder = route.folder;
    const QString& domain = context.domain.defaultSchema;
    if (domain == QLatin1String("AGLS")) {
        window.saveHarvestList(false, file, folder);
        window.mnuFileDraw();
    } else if (domain == QLatin1String("AGLS1.2") || domain == QLatin1String("AGLS1.3")) {
        const WaitCursor busy(context.user);
        window.saveHarvestList(true, file, folder);
    } else if (domain.isEmpty()) {
        // A new user has chosen no domain yet: the message says which one writes these lists.
        context.user.MsgBox(QStringLiteral("Harvest Control Lists are written in an AGLS metadata domain, and no domain has been "
                                           "chosen yet. Choose \"Australian Government Locator Service 1.3(AGLS)\" as the default "
                                           "schema under Metadata Resources > Select Metadata Schemas, then save the list again."),
                            platform::kOkOnly, QStringLiteral("Error"));
    } else if (domain == QLatin1String("SA.DETE") || domain == QLatin1String("EdNA")) {
        context.user.MsgBox(QStringLiteral("Harvest Control Lists are not implemented yet for ") + domain, platform::kOkOnly,
                            QStringLiteral("Error"));
    } else {
        context.user.MsgBox(QStringLiteral("Harvest Control Lists are not implemented in ") + domain, platform::kOkOnly,
                            QStringLiteral("Error"));
    }
    window.setMnuFileSaveAs();
    window.mnuFileDraw();
}

void loadHarvestList(ProgramContext& context, const CommandRoute& route) {
    CommandWindow& window = commandWindow(context);
    DocumentState& document = context.document;
    QString location = route.location;
    window.addToAddressHistory(location);
    const ListLoadOutcome outcome = window.loadHarvestList(route.location);
    if (outcome == ListLoadOutcome::Kept) listKept(context, route.location);
    // A local list takes the status unless the record holds unsaved changes.
    if (outcome == ListLoadOutcome::Loaded && !route.localPath.isEmpty() && !document.modified()) {
        document.nameDocument(DocumentState::Document::List);
        document.setSaveCaption(QStringLiteral("Save Harvest Control List to ") + route.localPath);
    }
    window.mnuFileDraw();
    window.setMnuFileSaveAs();
}

void loadRssChannel(ProgramContext& context, const CommandRoute& route) {
    CommandWindow& window = commandWindow(context);
    QString location = route.location;
    window.addToAddressHistory(location);
    if (window.loadChannel(route.location) == ListLoadOutcome::Kept) listKept(context, route.location);
    window.mnuFileDraw();
    window.setMnuFileSaveAs();
}

void loadCatalogue(ProgramContext& context, const CommandRoute& route, CommandOrigin origin) {
    CommandWindow& window = commandWindow(context);
    if (window.shiftDown()) mtpTransaction(context, QStringLiteral("mtp://delete=all.kqi"), origin);
    context.document.setListType(QStringLiteral("indexes"));
    window.showListPane(context.treeIndex, true);
    window.checkTreeView();
    openList(context, route.location);
}

void goTop(ProgramContext& context) {
    CommandWindow& window = commandWindow(context);
    window.selectLine(1);
    window.editCurrentLine();
}

void openPage(ProgramContext& context, const QString& location) {
    const CommandWindow::PageLoad outcome = commandWindow(context).openPage(location);
    // The lines after a page's open= work on that page: they never run on another's record.
    if (outcome != CommandWindow::PageLoad::Read && outcome != CommandWindow::PageLoad::ToTree &&
        outcome != CommandWindow::PageLoad::FromRepository)
        stopBatches(context, QStringLiteral("This page could not be opened: ") + location);
}

// Runs the row's handler.
void dispatch(ProgramContext& context, const CommandRoute& route, const QString& command, CommandOrigin origin) {
    QString location = route.location;
    switch (route.row) {
    case CommandRow::CutFailed:
        throw Failure{route.fault};
    case CommandRow::SchemeDeleteAll:
        deleteCachedLists(QStringLiteral("/cache/schema/"));
        break;
    case CommandRow::SchemeOpen:
    case CommandRow::CatalogOpen:
        openList(context, location);
        break;
    case CommandRow::SchemeSave:
        saveList(context, location, true);
        break;
    case CommandRow::SchemeLoad:
        context.document.setListType(QStringLiteral("schema"));
        openList(context, location);
        break;
    case CommandRow::CatalogDeleteAll:
        deleteCachedLists(QStringLiteral("/cache/indexes/"));
        break;
    case CommandRow::CatalogSave:
        saveList(context, location, false);
        break;
    case CommandRow::CatalogSaveHcl:
        saveHarvestList(context, route);
        break;
    case CommandRow::CatalogSaveRss:
        commandWindow(context).saveChannel(location);
        commandWindow(context).mnuFileDraw();
        break;
    case CommandRow::CatalogLoadHcl:
        loadHarvestList(context, route);
        break;
    case CommandRow::CatalogLoadRss:
        loadRssChannel(context, route);
        break;
    case CommandRow::CatalogLoad:
        loadCatalogue(context, route, origin);
        break;
    case CommandRow::FieldsDeleteAll:
        commandWindow(context).clearRecord();
        break;
    case CommandRow::FieldsGoTop:
        goTop(context);
        break;
    case CommandRow::Field:
        mtpAddField(context, command);
        break;
    case CommandRow::BatchSave:
        commandWindow(context).saveRecordAsBatch(location);
        break;
    case CommandRow::BatchAddMacro:
        addMacro(context, command);
        break;
    case CommandRow::BatchOpen:
    case CommandRow::BatchRun:
        runBatchFile(context, location, origin);
        break;
    case CommandRow::BatchRestartLogging:
        context.commands.loggingOn = true;
        break;
    case CommandRow::BatchStartLogging:
        startLogging(context);
        break;
    case CommandRow::BatchStopLogging:
        context.commands.loggingOn = false;
        break;
    case CommandRow::BatchCgiSendHcl:
        cgiSendHCL(context, location);
        break;
    case CommandRow::BatchCgiSendList:
        cgiSendList(context, location);
        break;
    case CommandRow::BatchCgiSend:
        cgiSend(context, location);
        break;
    case CommandRow::BatchSetDomain:
        modSchemas::setDomainFromCommand(context, command);
        break;
    case CommandRow::BatchGetMetaFromHcl:
        commandWindow(context).openRecordFromHarvestFolder(location);
        break;
    case CommandRow::PageSave:
        commandWindow(context).saveRecordAsPage(location);
        break;
    case CommandRow::PageOpen:
        openPage(context, location);
        break;
    case CommandRow::NotKnown:
        context.user.MsgBox(command + QStringLiteral(" transaction not known"), platform::kOkOnly, QStringLiteral("Error"));
        break;
    }
}

// The yield of every command. Painting the panes after each command of a long run costs
// far more than the commands themselves (on a real display most of all), so while commands
// follow each other closely the panes are painted at most every 100 ms, and once more when
// the commands stop. A paint grows with what it shows (thousands of lines, a subject line of
// megabytes in the edit panel), so the next one waits eight times as long as the last took:
// painting takes no more than a ninth of a run, however large the record grows.
constexpr int kPaintInterval = 100;
constexpr int kPaintWaitPerCost = 8;

void yieldToEventLoop(CommandState& commands) {
    if (!commands.paintRelease) {
        commands.paintRelease = std::make_unique<QTimer>();
        commands.paintRelease->setSingleShot(true);
        QObject::connect(commands.paintRelease.get(), &QTimer::timeout, [&commands] {
            if (commands.window) commands.window->holdPainting(false);
            commands.sincePaint.restart();
        });
    }
    // What the last command let be painted is painted here, before this one holds painting
    // again: one paint per interval, however many commands run in it.
    QElapsedTimer events;
    events.start();
    QCoreApplication::processEvents();
    CommandWindow* window = commands.window;
    if (!window) return;
    // Letting go of the panes and painting them: what the last paint cost.
    if (std::exchange(commands.paintMeasured, false)) commands.paintCost += events.elapsed();
    const qint64 interval = std::max<qint64>(kPaintInterval, kPaintWaitPerCost * commands.paintCost);
    if (commands.sincePaint.isValid() && commands.sincePaint.elapsed() < interval) {
        window->holdPainting(true);
    } else {
        QElapsedTimer paint;
        paint.start();
        window->holdPainting(false);
        commands.sincePaint.restart();
        if (commands.batchDepth > 0) {
            // A batch's line runs held: let go, its changes would be shown one by one.
            QCoreApplication::processEvents();
            window->holdPainting(true);
        } else {
            commands.paintMeasured = true;
        }
        commands.paintCost = paint.elapsed();
    }
    commands.paintRelease->start(kPaintInterval);
}

// Stops the logo's animation at the end of every command that did not fail.
void commonEnd(const CommandState& commands) {
    if (commands.window) commands.window->stopBusyAnimation();
}

}  // namespace

CommandWindow& commandWindow(ProgramContext& context) {
    if (!context.commands.window) throw std::runtime_error("The main window is not open");
    return *context.commands.window;
}

bool dispatchRunning(const ProgramContext& context) {
    return context.commands.dispatchDepth > 0;
}

namespace {

bool isLineSeparator(char32_t c) {
    return c == 0x2028 || c == 0x2029 || c == 0x0085;
}

bool isDirectionControl(char32_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

QString commandAsAsked(const QString& command) {
    QString asked;
    asked.reserve(command.size());
    for (const char32_t c : command.toUcs4()) {
        if (isLineSeparator(c)) continue;
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Other_Format || category == QChar::Other_Control)
            asked += QStringLiteral("<U+%1>").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
        else
            asked += platform::codePointText(c);
    }
    return asked;
}

bool holdsDirectionControl(const QString& command) {
    // Every such character lies in the Basic Multilingual Plane.
    return std::any_of(command.cbegin(), command.cend(), [](QChar c) { return isDirectionControl(c.unicode()); });
}

QString cleanPageCommand(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text)
        if (c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n')) clean += c;
    qsizetype first = 0;
    qsizetype last = clean.size();
    while (first < last && clean.at(first).unicode() <= 0x20) ++first;
    while (last > first && clean.at(last - 1).unicode() <= 0x20) --last;
    return clean.mid(first, last - first);
}

void runMtpCommand(ProgramContext& context, const QString& command, CommandOrigin origin) {
    context.dispatcher.dispatch(context, isPageOrigin(origin) ? cleanPageCommand(command) : command, origin);
}

void ProgramDispatcher::dispatch(ProgramContext& context, const QString& own, CommandOrigin origin) {
    CommandState& commands = context.commands;
    const bool waitRoute = own.contains(QLatin1String(".kqb"), ci) &&
                           (own.contains(QLatin1String("cgisend"), ci) || own.contains(QLatin1String("macroset"), ci));
    if (!waitRoute) {
        mtpTransaction(context, own, origin);
        return;
    }
    // Refused before the dialog: a page gets no window up by itself.
    if (origin == CommandOrigin::PageByItself && judgePageCommand(own).needsWord) {
        pageCommandNotRun(context, own, true);
        return;
    }
    context.dialogs.loadWaitDialog(context).storeCommand(own, origin);
    commands.cancelRequested = false;
    if (commands.macroRunning) {
        // The command waits in the dialog and runs when the running one is done.
        context.user.MsgBox(QStringLiteral("Already executing a macro please wait"));
    } else {
        context.dialogs.showWaitModal(context);
    }
    // A macro stored by the run is shown to the user in the editor.
    if (commands.showEditorAfterRun) {
        context.dialogs.showMacroEditor(context);
        commands.showEditorAfterRun = false;
    }
    // Ask the repository which schemes it serves, once it is known and has not yet said.
    const MacroState& macros = context.macros;
    if (!macros.saveRecordMacro.isEmpty() && macros.repositorySchemes.isEmpty()) {
        const qsizetype at = macros.saveRecordMacro.indexOf(QLatin1String(".kqb"), 0, ci);
        if (at >= 0) {
            mtpTransaction(context, macros.saveRecordMacro.left(at) + QStringLiteral("?returnSchemes.kqb"));
        } else {
            context.user.MsgBox(QStringLiteral("Couldn't check for Repository Schemes"), platform::kOkOnly,
                                QStringLiteral("Couldn't get Repository Base Address"));
        }
    }
}

void mtpTransaction(ProgramContext& context, QString command, CommandOrigin origin) {
    CommandState& commands = context.commands;
    if (isPageOrigin(origin)) command = cleanPageCommand(command);
    // A dispatch nested in another (a batch line, the Shift clearing) leaves the outer one
    // marked as running when it ends.
    const bool outerRunning = commands.macroRunning;
    commands.macroRunning = true;
    ++commands.dispatchDepth;
    struct Restore {
        ProgramContext& context;
        bool value;
        ~Restore() {
            context.commands.macroRunning = value;
            // What addmacro= lines could not store is told once, when the outermost command ends.
            if (--context.commands.dispatchDepth == 0) modMacros::reportAddMacroErrors(context);
        }
    } restore{context, outerRunning};

    if (command.isEmpty() || command.startsWith(QLatin1Char('#'))) {
        context.user.MsgBox(QStringLiteral("No data in mtp transaction"), platform::kOkOnly, QStringLiteral("Error"));
        return;
    }
    QString full;
    CommandRoute route;
    // Asked before the log is written, so a refused command never reaches a replay. Only the
    // user's own click asks; what a page does by itself is refused unasked.
    if (isPageOrigin(origin)) {
        PageCommand page = judgePageCommand(command);
        if (page.needsWord) {
            if (origin == CommandOrigin::PageByItself) {
                pageCommandNotRun(context, command, true);
                return;
            }
            if (holdsDirectionControl(command)) {
                context.user.MsgBox(QStringLiteral("This web page sent a command holding characters that change the direction of "
                                                   "text, so it could read otherwise than it runs. It was not run: ") +
                                        commandAsAsked(command),
                                    platform::kOkOnly | platform::kExclamationIcon);
                pageCommandNotRun(context, command, false);
                return;
            }
            if (!pageMayRun(context, page.command)) {
                pageCommandNotRun(context, page.command, false);
                return;
            }
        }
        command = std::move(page.command);
        full = std::move(page.full);
        route = std::move(page.route);
    } else {
        full = withSlash(command);
        route = routeCommand(full);
    }

    if (commands.loggingOn) CommandLog::append(context, command);
    yieldToEventLoop(commands);
    command = full;

    std::optional<QString> failure;
    try {
        dispatch(context, route, command, origin);
    } catch (const Failure& f) {
        failure = f.description;
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    if (failure) {
        context.user.MsgBox(QStringLiteral("Error in MTP Transaction: ") + *failure);
        return;
    }
    commonEnd(commands);
}

}  // namespace modMTP
