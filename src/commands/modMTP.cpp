// The command entry and the dispatcher of the mtp:// command language.
#include "commands/modMTP.h"

#include "catalogues/ListDocuments.h"
#include "commands/CommandLog.h"
#include "commands/CommandRoute.h"
#include "commands/CommandWindow.h"
#include "commands/ListLoading.h"
#include "commands/frmSourceHTML.h"
#include "commands/frmWaitProcess.h"
#include "commands/modMacros.h"
#include "core/program/ProgramContext.h"
#include "domains/modSchemas.h"
#include "platform/Folders.h"
#include "platform/MsgBox.h"
#include "record/DocumentState.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QFile>

#include <algorithm>
#include <exception>
#include <optional>

using platform::MsgBox;

namespace modMTP {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;

CommandWindow* theWindow = nullptr;
// Dispatches under way, nested ones included.
int dispatchDepth = 0;

CommandInterceptor& interceptor() {
    static CommandInterceptor instance;
    return instance;
}

bool pageMayRun(const QString& command) {
    return MsgBox(kPageCommandQuestion + command, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2) ==
           platform::vbYes;
}

// A failure of a handler or of cutting the command, reported by the dispatcher.
struct Failure {
    QString description;
};

CommandWindow& mainWindow() {
    if (!theWindow) throw Failure{QStringLiteral("The main window is not open")};
    return *theWindow;
}

// Deletes every plain file of one cache folder; a file that cannot go stays, silently.
void deleteCachedLists(const QString& folder) {
    const QDir dir(platform::programDataFolder() + folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) QFile::remove(dir.filePath(name));
}

// The list shown goes only once the user has saved it or let it go; a batch stops when the
// user keeps it, so its next lines never work on the wrong list.
bool mayReplaceList(CommandWindow& window) {
    return window.saveListCheck(QStringLiteral("before opening a new one")) != platform::vbCancel;
}

void listKept(const QString& location) {
    stopBatches(QStringLiteral("This list was not opened: ") + location);
}

// Loads a list unless the user cancels saving the one shown.
void openList(QString location) {
    CommandWindow& window = mainWindow();
    const QString asked = location;
    if (!loadList(location, [&window] { return mayReplaceList(window); })) listKept(asked);
    window.mnuFileDraw();
}

void saveList(QString path, bool draw) {
    CommandWindow& window = mainWindow();
    window.saveList(path);
    if (draw) window.mnuFileDraw();
}

void saveHarvestList(const CommandRoute& route) {
    CommandWindow& window = mainWindow();
    if (!route.fault.isEmpty()) throw Failure{route.fault};
    QString file = route.location;
    QString folder = route.folder;
    const QString& domain = window.context().domain.defaultSchema;
    if (domain == QLatin1String("AGLS")) {
        window.saveHarvestList(false, file, folder);
        window.mnuFileDraw();
    } else if (domain == QLatin1String("AGLS1.2") || domain == QLatin1String("AGLS1.3")) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        window.saveHarvestList(true, file, folder);
        QApplication::restoreOverrideCursor();
    } else if (domain == QLatin1String("SA.DETE") || domain == QLatin1String("EdNA")) {
        MsgBox(QStringLiteral("Harvest Control Lists are not implemented yet for ") + domain, platform::vbOKOnly,
               QStringLiteral("Error"));
    } else {
        MsgBox(QStringLiteral("Harvest Control Lists are not implemented in ") + domain, platform::vbOKOnly,
               QStringLiteral("Error"));
    }
    window.setMnuFileSaveAs();
    window.mnuFileDraw();
}

void loadHarvestList(const CommandRoute& route) {
    CommandWindow& window = mainWindow();
    DocumentState& document = window.documentState();
    QString location = route.location;
    window.addToAddressHistory(location);
    const ListDocuments::LoadOutcome outcome = window.loadHarvestList(route.location);
    if (outcome == ListDocuments::LoadOutcome::Kept) listKept(route.location);
    // A local list takes the status unless the record holds unsaved changes.
    if (outcome == ListDocuments::LoadOutcome::Loaded && !route.localPath.isEmpty() && !document.modified()) {
        document.nameDocument(DocumentState::Document::List);
        document.setSaveCaption(QStringLiteral("Save Harvest Control List to ") + route.localPath);
    }
    window.mnuFileDraw();
    window.setMnuFileSaveAs();
}

void loadRssChannel(const CommandRoute& route) {
    CommandWindow& window = mainWindow();
    QString location = route.location;
    window.addToAddressHistory(location);
    if (window.loadChannel(route.location) == ListDocuments::LoadOutcome::Kept) listKept(route.location);
    window.mnuFileDraw();
    window.setMnuFileSaveAs();
}

void loadCatalogue(const CommandRoute& route, CommandOrigin origin) {
    CommandWindow& window = mainWindow();
    if (window.shiftDown()) {
        QString clear = QStringLiteral("mtp://delete=all.kqi");
        mtpTransaction(clear, origin);
    }
    window.documentState().setListType(QStringLiteral("indexes"));
    window.showListPane(window.treeIndex(), true);
    window.checkTreeView();
    openList(route.location);
}

void goTop() {
    CommandWindow& window = mainWindow();
    window.selectLine(1);
    window.editCurrentLine();
}

void openPage(const QString& location) {
    const CommandWindow::PageLoad outcome = mainWindow().openPage(location);
    // The lines after a page's open= work on that page: they never run on another's record.
    if (outcome != CommandWindow::PageLoad::Read && outcome != CommandWindow::PageLoad::ToTree &&
        outcome != CommandWindow::PageLoad::FromRepository)
        stopBatches(QStringLiteral("This page could not be opened: ") + location);
}

// Runs the row's handler.
void dispatch(const CommandRoute& route, QString& command, CommandOrigin origin) {
    QString location = route.location;
    switch (route.row) {
    case CommandRow::CutFailed:
        throw Failure{route.fault};
    case CommandRow::SchemeDeleteAll:
        deleteCachedLists(QStringLiteral("/cache/schema/"));
        break;
    case CommandRow::SchemeOpen:
    case CommandRow::CatalogOpen:
        openList(location);
        break;
    case CommandRow::SchemeSave:
        saveList(location, true);
        break;
    case CommandRow::SchemeLoad:
        mainWindow().documentState().setListType(QStringLiteral("schema"));
        openList(location);
        break;
    case CommandRow::CatalogDeleteAll:
        deleteCachedLists(QStringLiteral("/cache/indexes/"));
        break;
    case CommandRow::CatalogSave:
        saveList(location, false);
        break;
    case CommandRow::CatalogSaveHcl:
        saveHarvestList(route);
        break;
    case CommandRow::CatalogSaveRss:
        mainWindow().saveChannel(location);
        mainWindow().mnuFileDraw();
        break;
    case CommandRow::CatalogLoadHcl:
        loadHarvestList(route);
        break;
    case CommandRow::CatalogLoadRss:
        loadRssChannel(route);
        break;
    case CommandRow::CatalogLoad:
        loadCatalogue(route, origin);
        break;
    case CommandRow::FieldsDeleteAll:
        mainWindow().clearRecord();
        break;
    case CommandRow::FieldsGoTop:
        goTop();
        break;
    case CommandRow::Field:
        mtpAddField(command);
        break;
    case CommandRow::BatchSave:
        mainWindow().saveRecordAsBatch(location);
        break;
    case CommandRow::BatchAddMacro:
        addMacro(command);
        break;
    case CommandRow::BatchOpen:
    case CommandRow::BatchRun:
        runBatchFile(location, origin);
        break;
    case CommandRow::BatchCgiSendHcl:
        cgiSendHCL(location);
        break;
    case CommandRow::BatchCgiSendList:
        cgiSendList(location);
        break;
    case CommandRow::BatchCgiSend:
        cgiSend(location);
        break;
    case CommandRow::BatchSetDomain:
        modSchemas::setDomainFromCommand(mainWindow().context(), command);
        break;
    case CommandRow::BatchGetMetaFromHcl:
        mainWindow().openRecordFromHarvestFolder(location);
        break;
    case CommandRow::PageSave:
        mainWindow().saveRecordAsPage(location);
        break;
    case CommandRow::PageOpen:
        openPage(location);
        break;
    case CommandRow::NotKnown:
        MsgBox(command + QStringLiteral(" transaction not known"), platform::vbOKOnly, QStringLiteral("Error"));
        break;
    }
}

// The yield of every command. Painting the panes after each command of a long run costs
// far more than the commands themselves (on a real display most of all), so while commands
// follow each other closely the panes are painted at most every 100 ms, and once more when
// the commands stop.
constexpr int kPaintInterval = 100;

void yieldToEventLoop() {
    static QElapsedTimer sincePaint;
    static QTimer* release = nullptr;
    if (!release) {
        release = new QTimer(qApp);
        release->setSingleShot(true);
        QObject::connect(release, &QTimer::timeout, [] {
            if (theWindow) theWindow->holdPainting(false);
            sincePaint.restart();
        });
    }
    // What the last command let be painted is painted here, before this one holds painting
    // again: one paint per interval, however many commands run in it.
    QCoreApplication::processEvents();
    if (theWindow) {
        const bool paintNow = !sincePaint.isValid() || sincePaint.elapsed() >= kPaintInterval;
        theWindow->holdPainting(!paintNow);
        if (paintNow) sincePaint.restart();
        release->start(kPaintInterval);
    }
}

// Stops the logo's animation at the end of every command that did not fail.
void commonEnd() {
    if (theWindow) theWindow->stopBusyAnimation();
}

}  // namespace

void setCommandWindow(CommandWindow* window) {
    theWindow = window;
}

CommandWindow* commandWindow() {
    return theWindow;
}

const Preferences& preferences() {
    static const Preferences defaults;
    return theWindow ? theWindow->context().preferences : defaults;
}

bool dispatchRunning() {
    return dispatchDepth > 0;
}

void setCommandInterceptor(CommandInterceptor i) {
    interceptor() = std::move(i);
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
            asked += QString::fromUcs4(&c, 1);
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

void runMtpCommand(QString& command, CommandOrigin origin) {
    QString own = origin == CommandOrigin::Page ? cleanPageCommand(command) : command;
    if (interceptor() && interceptor()(own, origin)) return;
    const bool waitRoute = own.contains(QLatin1String(".kqb"), ci) &&
                           (own.contains(QLatin1String("cgisend"), ci) || own.contains(QLatin1String("macroset"), ci));
    if (!waitRoute) {
        mtpTransaction(own, origin);
        return;
    }
    frmWaitProcess& wait = frmWaitProcess::Load();
    wait.pendingCommand = own;
    wait.pendingOrigin = origin;
    cancelRequested = false;
    if (macroRunning) {
        // The command waits in the dialog and runs when the running one is done.
        MsgBox(QStringLiteral("Already executing a macro please wait"));
    } else {
        wait.showModal(theWindow ? theWindow->widget() : nullptr);
    }
    // A macro stored by the run is shown to the user in the editor.
    if (frmSourceHTML::showEditorAfterRun) {
        frmSourceHTML::showEditor();
        frmSourceHTML::showEditorAfterRun = false;
    }
    // Ask the repository which schemes it serves, once it is known and has not yet said.
    if (!modMacros::saveRecordMacro.isEmpty() && modMacros::repositorySchemes.isEmpty()) {
        const qsizetype at = modMacros::saveRecordMacro.indexOf(QLatin1String(".kqb"), 0, ci);
        if (at >= 0) {
            QString schemesRequest = modMacros::saveRecordMacro.left(at) + QStringLiteral("?returnSchemes.kqb");
            mtpTransaction(schemesRequest);
        } else {
            MsgBox(QStringLiteral("Couldn't check for Repository Schemes"), platform::vbOKOnly,
                   QStringLiteral("Couldn't get Repository Base Address"));
        }
    }
}

void mtpTransaction(QString& command, CommandOrigin origin) {
    if (origin == CommandOrigin::Page) command = cleanPageCommand(command);
    // A dispatch nested in another (a batch line, the Shift clearing) leaves the outer one
    // marked as running when it ends.
    const bool outerRunning = macroRunning;
    macroRunning = true;
    ++dispatchDepth;
    struct Restore {
        bool value;
        ~Restore() {
            macroRunning = value;
            // What addmacro= lines could not store is told once, when the outermost command ends.
            if (--dispatchDepth == 0) modMacros::reportAddMacroErrors();
        }
    } restore{outerRunning};

    if (command.isEmpty() || command.startsWith(QLatin1Char('#'))) {
        MsgBox(QStringLiteral("No data in mtp transaction"), platform::vbOKOnly, QStringLiteral("Error"));
        return;
    }
    const auto withSlash = [](const QString& text) {
        return text.endsWith(QLatin1Char('/')) ? text : text + QLatin1Char('/');
    };
    QString full = withSlash(command);
    CommandRoute route = routeCommand(full);
    // Asked before the log is written, so a refused command never reaches a replay. The
    // command runs as asked; a field command keeps its text as sent (vocabularies rely on
    // joiners in their terms).
    if (origin == CommandOrigin::Page) {
        const QString asked = commandAsAsked(command);
        const QString askedFull = withSlash(asked);
        const CommandRoute askedRoute = routeCommand(askedFull);
        if (needsUsersWord(route, full) || needsUsersWord(askedRoute, askedFull)) {
            if (holdsDirectionControl(command)) {
                MsgBox(QStringLiteral("This web page sent a command holding characters that change the direction of "
                                      "text, so it could read otherwise than it runs. It was not run: ") +
                           commandAsAsked(command),
                       platform::vbOKOnly | platform::vbExclamation);
                return;
            }
            command = asked;
            full = askedFull;
            route = askedRoute;
            if (!pageMayRun(command)) return;
        }
    }

    if (loggingOn) CommandLog::append(command);
    yieldToEventLoop();
    command = full;

    std::optional<QString> failure;
    try {
        dispatch(route, command, origin);
    } catch (const Failure& f) {
        failure = f.description;
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    if (failure) {
        MsgBox(QStringLiteral("Error in MTP Transaction: ") + *failure);
        return;
    }
    commonEnd();
}

}  // namespace modMTP
