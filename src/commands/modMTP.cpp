// The command entry and the dispatcher of the mtp:// command language.
#include "commands/modMTP.h"

#include "app/Form1.h"
#include "app/LogoWidget.h"
#include "catalogues/HarvestLists.h"
#include "catalogues/modRSS.h"
#include "commands/CommandLog.h"
#include "commands/ListLoading.h"
#include "commands/frmWaitProcess.h"
#include "commands/modMacros.h"
#include "domains/modSchemas.h"
#include "platform/Folders.h"
#include "platform/ListView.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/StatusBar.h"
#include "platform/TreeView.h"
#include "platform/WebBrowser.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>

#include <exception>
#include <optional>

using platform::MsgBox;

namespace modMTP {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;

CommandInterceptor& interceptor() {
    static CommandInterceptor instance;
    return instance;
}

HandlerProbe& handlerProbe() {
    static HandlerProbe instance;
    return instance;
}

// True when a test asked to see this call instead of it being made.
bool probed(const char* handler, const QStringList& arguments) {
    return handlerProbe() && handlerProbe()(QLatin1String(handler), arguments);
}

// Every verb of the command language, one per row of the dispatch order.
enum class Row {
    SchemeDeleteAll, SchemeOpen, SchemeSave, SchemeLoad,
    CatalogDeleteAll, CatalogOpen, CatalogSave, CatalogSaveHcl, CatalogSaveRss, CatalogLoadHcl, CatalogLoadRss,
    CatalogLoad,
    FieldsDeleteAll, FieldsGoTop, Field,
    BatchAddMacroLine, BatchSave, BatchAddMacro, BatchOpen, BatchCgiSendHcl, BatchCgiSendList, BatchCgiSend,
    BatchSetDomain, BatchGetMetaFromHcl, BatchRun,
    PageSave, PageOpen,
    NotKnown,
    // The verb could not be cut out of the command (its last "." stands within the prefix).
    CutFailed,
};

struct Route {
    Row row = Row::NotKnown;
    QString verb;  // cut for scheme lists, catalogues and fields only
};

// The command's type: the text between its last "." and its final character.
QString typeOf(const QString& command, qsizetype dot) {
    // No "." at all: the whole command less its final character is taken as the type.
    return command.mid(dot + 1, command.size() - dot - 2);
}

// Picks the row a command (with its final "/") runs by: the families in their order, then
// the verbs of the family in theirs; the first match wins.
Route classify(const QString& command) {
    Route route;
    const qsizetype dot = command.lastIndexOf(QLatin1Char('.'));
    const QString type = typeOf(command, dot);
    const auto has = [&](const char* word) { return command.contains(QLatin1String(word), ci); };
    const bool listOrFields = type.contains(QLatin1String("kqs"), ci) || type.contains(QLatin1String("kqi"), ci) ||
                              type.contains(QLatin1String("fld"), ci);
    if (listOrFields) {
        // The verb stands between the prefix and the last ".".
        if (dot < 6) {
            route.row = Row::CutFailed;
            return route;
        }
        route.verb = command.mid(6, dot - 6);
    }
    const QString& verb = route.verb;
    const auto verbHas = [&](const char* word) { return verb.contains(QLatin1String(word), ci); };
    const bool deleteAll = verb == QLatin1String("delete=all");

    if (type.contains(QLatin1String("kqs"), ci)) {
        if (deleteAll) route.row = Row::SchemeDeleteAll;
        else if (verbHas("open=")) route.row = Row::SchemeOpen;
        else if (verbHas("save=")) route.row = Row::SchemeSave;
        else route.row = Row::SchemeLoad;
    } else if (type.contains(QLatin1String("kqi"), ci)) {
        if (deleteAll) route.row = Row::CatalogDeleteAll;
        else if (verbHas("open=")) route.row = Row::CatalogOpen;
        else if (verbHas("save=")) route.row = Row::CatalogSave;
        else if (verbHas("savehcl=")) route.row = Row::CatalogSaveHcl;
        else if (verbHas("saverss=")) route.row = Row::CatalogSaveRss;
        else if (has("loadHCL=")) route.row = Row::CatalogLoadHcl;
        else if (has("loadRSS=")) route.row = Row::CatalogLoadRss;
        else route.row = Row::CatalogLoad;
    } else if (type.contains(QLatin1String("fld"), ci)) {
        if (deleteAll) route.row = Row::FieldsDeleteAll;
        // A field value may hold the letters "gotop"; only a verb without a field is the jump.
        else if (verbHas("gotop") && !verbHas("field=")) route.row = Row::FieldsGoTop;
        else route.row = Row::Field;
    } else if (type.contains(QLatin1String("kqb"), ci)) {
        // A macro line of a macro set stores its macro even when the macro itself saves.
        if (command.startsWith(QLatin1String("mtp://addmacro"), ci)) route.row = Row::BatchAddMacroLine;
        else if (has("save=")) route.row = Row::BatchSave;
        else if (has("mtp://addMacro")) route.row = Row::BatchAddMacro;
        else if (has("open=")) route.row = Row::BatchOpen;
        else if (has("cgisendHCL=")) route.row = Row::BatchCgiSendHcl;
        else if (has("cgisendList=")) route.row = Row::BatchCgiSendList;
        else if (has("cgisend=")) route.row = Row::BatchCgiSend;
        else if (has("setdomain=")) route.row = Row::BatchSetDomain;
        else if (has("getMetaFromHCL=")) route.row = Row::BatchGetMetaFromHcl;
        else route.row = Row::BatchRun;
    } else if (type.contains(QLatin1String("htm"), ci) || type.contains(QLatin1String("asp"), ci) ||
               type.contains(QLatin1String("cfm"), ci)) {
        if (has("save=")) route.row = Row::PageSave;
        else if (has("open=")) route.row = Row::PageOpen;
        else route.row = Row::NotKnown;
    }
    return route;
}

// Verbs a web page may not run without the user's word: they write or delete files, clear
// the record, store a macro, start or stop logging, or send to the repository.
bool needsUsersWord(const Route& route, const QString& command) {
    switch (route.row) {
    case Row::SchemeDeleteAll:
    case Row::SchemeSave:
    case Row::CatalogDeleteAll:
    case Row::CatalogSave:
    case Row::CatalogSaveHcl:
    case Row::CatalogSaveRss:
    case Row::FieldsDeleteAll:
    case Row::BatchAddMacroLine:
    case Row::BatchSave:
    case Row::BatchAddMacro:
    case Row::BatchCgiSendHcl:
    case Row::BatchCgiSendList:
    case Row::BatchCgiSend:
    case Row::PageSave:
        return true;
    case Row::BatchOpen:
    case Row::BatchRun:
        // "startlogging" also covers "restartlogging".
        return command.contains(QLatin1String("startlogging"), ci) || command.contains(QLatin1String("stoplogging"), ci);
    default:
        return false;
    }
}

bool pageMayRun(const QString& command) {
    return MsgBox(kPageCommandQuestion + command, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2) ==
           platform::vbYes;
}

// The text with every occurrence of each word taken out, in any case.
QString without(QString text, std::initializer_list<const char*> words) {
    for (const char* word : words) text.remove(QLatin1String(word), ci);
    return text;
}

// A location cut from a whole command: the words removed and the final "/" dropped.
QString cutLocation(const QString& command, std::initializer_list<const char*> words) {
    QString location = without(command, words);
    location.chop(1);
    return location;
}

// A failure of a handler or of cutting the command, reported by the dispatcher.
struct Failure {
    QString description;
};

Form1& mainWindow() {
    Form1* form = Form1::firstMainWindow();
    if (!form) throw Failure{QStringLiteral("The main window is not open")};
    return *form;
}

// Deletes every plain file of one cache folder; a file that cannot go stays, silently.
void deleteCachedLists(const QString& folder) {
    const QDir dir(platform::programDataFolder() + folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) QFile::remove(dir.filePath(name));
}

// Loads a list unless the user cancels saving the one shown.
void openList(QString location) {
    Form1& form = mainWindow();
    if (probed("loadList", {location})) return;
    if (form.saveListCheck(QStringLiteral("before opening a new one")) == platform::vbCancel) return;
    loadList(location);
    form.mnuFileDraw();
}

QString listLocation(const QString& verb, const char* extension) {
    QString location = verb;
    if (!location.contains(QLatin1String("remote="), ci)) location += QLatin1String(extension);
    return location;
}

void saveList(QString path, bool draw) {
    Form1& form = mainWindow();
    if (probed("SaveAsList", {path})) return;
    long count = 0;
    form.SaveAsList(path, count);
    if (draw) form.mnuFileDraw();
}

void saveHarvestList(const QString& verb) {
    Form1& form = mainWindow();
    const QString value = without(verb, {"savehcl="});
    const qsizetype bar = value.indexOf(QLatin1Char('|'));
    if (bar < 0)
        throw Failure{QStringLiteral("A Harvest Control List save needs the file and the records folder separated by \"|\"")};
    QString folder = value.mid(bar + 1);
    QString file = value.left(bar) + QStringLiteral(".kqi");
    const QString& domain = modSchemas::defaultSchema;
    if (domain == QLatin1String("AGLS")) {
        if (!probed("saveAsHCL", {file, folder})) {
            modHCL::saveAsHCL(file, folder);
            form.mnuFileDraw();
        }
    } else if (domain == QLatin1String("AGLS1.2") || domain == QLatin1String("AGLS1.3")) {
        if (!probed("saveAsAGLS12HCL", {file, folder})) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            modHCL::saveAsAGLS12HCL(file, folder);
            QApplication::restoreOverrideCursor();
        }
    } else if (domain == QLatin1String("SA.DETE") || domain == QLatin1String("EdNA")) {
        MsgBox(QStringLiteral("Harvest Control Lists are not implemented yet for ") + domain, platform::vbOKOnly,
               QStringLiteral("Error"));
    } else {
        MsgBox(QStringLiteral("Harvest Control Lists are not implemented in ") + domain, platform::vbOKOnly,
               QStringLiteral("Error"));
    }
    form.setMnuFileSaveAs();
    form.mnuFileDraw();
}

// The location of a loadHCL= or loadRSS= command: a local file becomes a file:// address,
// anything else a web address (an address with its own http:// or https:// keeps it).
QString harvestLocation(const QString& command, const char* verbWord, bool markList) {
    Form1& form = mainWindow();
    QString location = without(command, {"url=", verbWord, "mtp://"});
    if (platform::isLocalPath(location) && !location.startsWith(QLatin1String("file:"), ci)) {
        if (markList && form.StatusBar1->panelText(2) != QLatin1String("Modified")) {
            form.StatusBar1->setPanelTag(2, QStringLiteral("List"));
            form.mnuFileSave->setText(QStringLiteral("Save Harvest Control List to ") + location);
        }
        location.prepend(QStringLiteral("file://"));
    } else if (!platform::isWebAddress(location) && !location.startsWith(QLatin1String("file:"), ci)) {
        location.prepend(QStringLiteral("http://"));
    }
    location.remove(QLatin1String(".kqi/"), ci);
    return location;
}

void loadHarvestList(const QString& command) {
    Form1& form = mainWindow();
    QString location = harvestLocation(command, "loadHCL=", true);
    form.URLAddItem(location);
    if (probed("loadHCL", {location})) return;
    modHCL::loadHCL(location);
    form.mnuFileDraw();
    form.setMnuFileSaveAs();
}

void loadRssChannel(const QString& command) {
    Form1& form = mainWindow();
    QString location = harvestLocation(command, "loadRSS=", false);
    form.URLAddItem(location);
    if (probed("loadRSSChannel", {location})) return;
    modRSS::loadRSSChannel(location);
    form.mnuFileDraw();
    form.setMnuFileSaveAs();
}

void loadCatalogue(const Route& route, CommandOrigin origin) {
    Form1& form = mainWindow();
    if (form.shiftDown) {
        QString clear = QStringLiteral("mtp://delete=all.kqi");
        mtpTransaction(clear, origin);
    }
    form.listType = QStringLiteral("indexes");
    form.TreeView1[size_t(form.treeIndex)]->setVisible(true);
    form.mnuViewTreeView->setChecked(true);
    openList(listLocation(route.verb, ".kqi"));
}

void clearRecord() {
    Form1& form = mainWindow();
    form.MetaPanel->Clear();
    form.EditPanelOff();
    if (form.WebBrowser1) form.WebBrowser1->widget()->setFocus();
    else form.BrowserPanel->setFocus();
}

void goTop() {
    Form1& form = mainWindow();
    form.SelectLine(1);
    form.editCurrentLine();
}

void openPage(const QString& command) {
    Form1& form = mainWindow();
    QString location = cutLocation(command, {"open=", "mtp://"});
    if (!location.contains(QLatin1String("http://"), ci) && !location.contains(QLatin1String("https://"), ci))
        location.prepend(QStringLiteral("file://"));
    if (probed("LoadURL", {location})) {
        form.URL->setEditText(location);
        return;
    }
    const Form1::PageLoad outcome = form.openPageForCommand(location);
    // The lines after a page's open= work on that page: they never run on another's record.
    if (outcome != Form1::PageLoad::Read && outcome != Form1::PageLoad::ToTree &&
        outcome != Form1::PageLoad::FromRepository)
        stopBatches(QStringLiteral("This page could not be opened: ") + location);
}

void runBatch(QString location, CommandOrigin origin) {
    if (probed("runBatchFile", {location})) return;
    runBatchFile(location, origin);
}

void cgiRequest(const char* handler, QString command, const char* verbWord, void (*send)(QString&)) {
    command = without(command, {verbWord});
    if (probed(handler, {command})) return;
    send(command);
}

// Runs the row's handler.
void dispatch(const Route& route, QString& command, CommandOrigin origin) {
    const QString& verb = route.verb;
    switch (route.row) {
    case Row::CutFailed:
        throw Failure{QStringLiteral("The command has no type after its verb: ") + command};
    case Row::SchemeDeleteAll:
        deleteCachedLists(QStringLiteral("/cache/schema/"));
        break;
    case Row::SchemeOpen:
        openList(listLocation(without(verb, {"open="}), ".kqs"));
        break;
    case Row::SchemeSave:
        saveList(without(verb, {"save="}) + QStringLiteral(".kqs"), true);
        break;
    case Row::SchemeLoad:
        mainWindow().listType = QStringLiteral("schema");
        openList(listLocation(verb, ".kqs"));
        break;
    case Row::CatalogDeleteAll:
        deleteCachedLists(QStringLiteral("/cache/indexes/"));
        break;
    case Row::CatalogOpen:
        openList(listLocation(without(verb, {"open="}), ".kqi"));
        break;
    case Row::CatalogSave:
        saveList(without(verb, {"save="}) + QStringLiteral(".kqi"), false);
        break;
    case Row::CatalogSaveHcl:
        saveHarvestList(verb);
        break;
    case Row::CatalogSaveRss: {
        Form1& form = mainWindow();
        QString path = without(verb, {"saverss="});
        const qsizetype bar = path.indexOf(QLatin1Char('|'));
        if (bar >= 0) path.truncate(bar);
        if (probed("saveRSSChannel", {path})) break;
        modRSS::saveRSSChannel(path);
        form.mnuFileDraw();
        break;
    }
    case Row::CatalogLoadHcl:
        loadHarvestList(command);
        break;
    case Row::CatalogLoadRss:
        loadRssChannel(command);
        break;
    case Row::CatalogLoad:
        loadCatalogue(route, origin);
        break;
    case Row::FieldsDeleteAll:
        clearRecord();
        break;
    case Row::FieldsGoTop:
        goTop();
        break;
    case Row::Field:
        if (!probed("mtpAddField", {command})) mtpAddField(command);
        break;
    case Row::BatchSave: {
        const QString path = cutLocation(command, {"save=", "mtp://"});
        if (!probed("SaveAsBatch", {path})) mainWindow().SaveAsBatch(path);
        break;
    }
    case Row::BatchAddMacroLine:
    case Row::BatchAddMacro:
        if (!probed("addMacro", {command})) addMacro(command);
        break;
    case Row::BatchOpen:
        runBatch(cutLocation(command, {"open=", "mtp://"}), origin);
        break;
    case Row::BatchCgiSendHcl:
        cgiRequest("cgiSendHCL", command, "cgisendHCL=", &cgiSendHCL);
        break;
    case Row::BatchCgiSendList:
        cgiRequest("cgiSendList", command, "cgisendList=", &cgiSendList);
        break;
    case Row::BatchCgiSend:
        cgiRequest("cgiSend", command, "cgisend=", &cgiSend);
        break;
    case Row::BatchSetDomain:
        if (!probed("setDomainFromCommand", {command})) modSchemas::setDomainFromCommand(command);
        break;
    case Row::BatchGetMetaFromHcl: {
        QString folder = without(command, {"mtp://getMetaFromHCL=", ".kqb/"});
        if (!probed("getMetaFromHCL", {folder})) modHCL::getMetaFromHCL(folder);
        break;
    }
    case Row::BatchRun: {
        QString location = command;
        location.chop(1);
        runBatch(location, origin);
        break;
    }
    case Row::PageSave: {
        const QString path = cutLocation(command, {"save=", "mtp://"});
        if (!probed("SaveAsHTML", {path})) mainWindow().SaveAsHTML(path);
        break;
    }
    case Row::PageOpen:
        openPage(command);
        break;
    case Row::NotKnown:
        MsgBox(command + QStringLiteral(" transaction not known"), platform::vbOKOnly, QStringLiteral("Error"));
        break;
    }
}

// Stops the logo's animation at the end of every command that did not fail.
void commonEnd() {
    if (Form1* form = Form1::firstMainWindow()) form->Gif89a1->Stop();
}

}  // namespace

void setCommandInterceptor(CommandInterceptor i) {
    interceptor() = std::move(i);
}

void setHandlerProbe(HandlerProbe probe) {
    handlerProbe() = std::move(probe);
}

void runMtpCommand(QString& command, CommandOrigin origin) {
    if (interceptor() && interceptor()(command, origin)) return;
    QString own = command;
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
        wait.showModal(Form1::firstMainWindow());
    }
    // Ask the repository which schemes it serves, once it is known and has not yet said.
    if (!modMacros::saveRecordMacro.isEmpty() && modMacros::repositorySchemes.isEmpty()) {
        const qsizetype at = modMacros::saveRecordMacro.indexOf(QLatin1String(".kqb"), 0, ci);
        if (at >= 0) {
            QString probe = modMacros::saveRecordMacro.left(at) + QStringLiteral("?returnSchemes.kqb");
            mtpTransaction(probe);
        } else {
            MsgBox(QStringLiteral("Couldn't check for Repository Schemes"), platform::vbOKOnly,
                   QStringLiteral("Couldn't get Repository Base Address"));
        }
    }
}

void mtpTransaction(QString& command, CommandOrigin origin) {
    // A dispatch nested in another (a batch line, the Shift clearing) leaves the outer one
    // marked as running when it ends.
    const bool outerRunning = macroRunning;
    macroRunning = true;
    struct Restore {
        bool value;
        ~Restore() { macroRunning = value; }
    } restore{outerRunning};

    if (command.isEmpty() || command.startsWith(QLatin1Char('#'))) {
        MsgBox(QStringLiteral("No data in mtp transaction"), platform::vbOKOnly, QStringLiteral("Error"));
        return;
    }
    QString full = command;
    if (!full.endsWith(QLatin1Char('/'))) full += QLatin1Char('/');
    const Route route = classify(full);
    // Asked before the log is written, so a refused command never reaches a replay.
    if (origin == CommandOrigin::Page && needsUsersWord(route, full) && !pageMayRun(command)) return;

    if (loggingOn) CommandLog::append(command);
    QCoreApplication::processEvents();
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
