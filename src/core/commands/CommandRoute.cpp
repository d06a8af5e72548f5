#include "core/commands/CommandRoute.h"

#include "platform/PathText.h"

#include <initializer_list>

namespace modMTP {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;

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

// A list location with its extension, unless the repository names the list.
QString listLocation(const QString& verb, const char* extension) {
    QString location = verb;
    if (!location.contains(QLatin1String("remote="), ci)) location += QLatin1String(extension);
    return location;
}

// The location of a loadHCL= or loadRSS= command: a local file becomes a file:// address,
// anything else a web address (an address with its own http:// or https:// keeps it).
void harvestLocation(CommandRoute& route, const QString& command, const char* verbWord) {
    QString location = without(command, {"url=", verbWord, "mtp://"});
    const bool local = platform::isLocalPath(location) && !location.startsWith(QLatin1String("file:"), ci);
    if (local) location.prepend(QStringLiteral("file://"));
    else if (!platform::isWebAddress(location) && !location.startsWith(QLatin1String("file:"), ci))
        location.prepend(QStringLiteral("http://"));
    location.remove(QLatin1String(".kqi/"), ci);
    route.location = location;
    if (local) route.localPath = location.mid(7);
}

void routeSchemeList(CommandRoute& route) {
    const QString& verb = route.verb;
    if (verb == QLatin1String("delete=all")) {
        route.row = CommandRow::SchemeDeleteAll;
    } else if (verb.contains(QLatin1String("open="), ci)) {
        route.row = CommandRow::SchemeOpen;
        route.location = listLocation(without(verb, {"open="}), ".kqs");
    } else if (verb.contains(QLatin1String("save="), ci)) {
        route.row = CommandRow::SchemeSave;
        route.location = without(verb, {"save="}) + QStringLiteral(".kqs");
    } else {
        route.row = CommandRow::SchemeLoad;
        route.location = listLocation(verb, ".kqs");
    }
}

void routeCatalogue(CommandRoute& route, const QString& command) {
    const QString& verb = route.verb;
    const auto verbHas = [&](const char* word) { return verb.contains(QLatin1String(word), ci); };
    if (verb == QLatin1String("delete=all")) {
        route.row = CommandRow::CatalogDeleteAll;
    } else if (verbHas("open=")) {
        route.row = CommandRow::CatalogOpen;
        route.location = listLocation(without(verb, {"open="}), ".kqi");
    } else if (verbHas("save=")) {
        route.row = CommandRow::CatalogSave;
        route.location = without(verb, {"save="}) + QStringLiteral(".kqi");
    } else if (verbHas("savehcl=")) {
        route.row = CommandRow::CatalogSaveHcl;
        const QString value = without(verb, {"savehcl="});
        const qsizetype bar = value.indexOf(QLatin1Char('|'));
        if (bar < 0) {
            route.fault = QStringLiteral(
                "A Harvest Control List save needs the file and the records folder separated by \"|\"");
        } else {
            route.location = value.left(bar) + QStringLiteral(".kqi");
            route.folder = value.mid(bar + 1);
        }
    } else if (verbHas("saverss=")) {
        route.row = CommandRow::CatalogSaveRss;
        QString path = without(verb, {"saverss="});
        const qsizetype bar = path.indexOf(QLatin1Char('|'));
        if (bar >= 0) path.truncate(bar);
        route.location = path;
    } else if (command.contains(QLatin1String("loadHCL="), ci)) {
        route.row = CommandRow::CatalogLoadHcl;
        harvestLocation(route, command, "loadHCL=");
    } else if (command.contains(QLatin1String("loadRSS="), ci)) {
        route.row = CommandRow::CatalogLoadRss;
        harvestLocation(route, command, "loadRSS=");
    } else {
        route.row = CommandRow::CatalogLoad;
        route.location = listLocation(verb, ".kqi");
    }
}

void routeField(CommandRoute& route, const QString& command) {
    const QString& verb = route.verb;
    if (verb == QLatin1String("delete=all")) {
        route.row = CommandRow::FieldsDeleteAll;
    } else if (verb.contains(QLatin1String("gotop"), ci) && !verb.contains(QLatin1String("field="), ci)) {
        // A field value may hold the letters "gotop"; only a verb without a field is the jump.
        route.row = CommandRow::FieldsGoTop;
    } else {
        route.row = CommandRow::Field;
        route.location = command;
    }
}

// A batch location names a logging word before it names a file: "restartlogging" is tested
// before "startlogging", which it holds.
void routeBatchRun(CommandRoute& route, CommandRow row, const QString& location) {
    const auto has = [&](const char* word) { return location.contains(QLatin1String(word), ci); };
    route.row = has("restartlogging") ? CommandRow::BatchRestartLogging
                : has("startlogging") ? CommandRow::BatchStartLogging
                : has("stoplogging")  ? CommandRow::BatchStopLogging
                                      : row;
    route.location = location;
}

void routeBatch(CommandRoute& route, const QString& command) {
    const auto has = [&](const char* word) { return command.contains(QLatin1String(word), ci); };
    // A macro line of a macro set stores its macro even when the macro itself saves.
    if (command.startsWith(QLatin1String("mtp://addmacro"), ci)) {
        route.row = CommandRow::BatchAddMacro;
        route.location = command;
    } else if (has("save=")) {
        route.row = CommandRow::BatchSave;
        route.location = cutLocation(command, {"save=", "mtp://"});
    } else if (has("mtp://addMacro")) {
        route.row = CommandRow::BatchAddMacro;
        route.location = command;
    } else if (has("open=")) {
        routeBatchRun(route, CommandRow::BatchOpen, cutLocation(command, {"open=", "mtp://"}));
    } else if (has("cgisendHCL=")) {
        route.row = CommandRow::BatchCgiSendHcl;
        route.location = without(command, {"cgisendHCL="});
    } else if (has("cgisendList=")) {
        route.row = CommandRow::BatchCgiSendList;
        route.location = without(command, {"cgisendList="});
    } else if (has("cgisend=")) {
        route.row = CommandRow::BatchCgiSend;
        route.location = without(command, {"cgisend="});
    } else if (has("setdomain=")) {
        route.row = CommandRow::BatchSetDomain;
        route.location = command;
    } else if (has("getMetaFromHCL=")) {
        route.row = CommandRow::BatchGetMetaFromHcl;
        route.location = without(command, {"mtp://getMetaFromHCL=", ".kqb/"});
    } else {
        routeBatchRun(route, CommandRow::BatchRun, command.chopped(1));
    }
}

void routePage(CommandRoute& route, const QString& command) {
    if (command.contains(QLatin1String("save="), ci)) {
        route.row = CommandRow::PageSave;
        route.location = cutLocation(command, {"save=", "mtp://"});
    } else if (command.contains(QLatin1String("open="), ci)) {
        route.row = CommandRow::PageOpen;
        QString location = cutLocation(command, {"open=", "mtp://"});
        if (!location.contains(QLatin1String("http://"), ci) && !location.contains(QLatin1String("https://"), ci))
            location.prepend(QStringLiteral("file://"));
        route.location = location;
    }
}

}  // namespace

CommandRoute routeCommand(const QString& command) {
    CommandRoute route;
    // The type is the text between the last "." and the final character; with no "." at all,
    // the whole command less its final character.
    const qsizetype dot = command.lastIndexOf(QLatin1Char('.'));
    const QString type = command.mid(dot + 1, command.size() - dot - 2);
    const auto typeHas = [&](const char* word) { return type.contains(QLatin1String(word), ci); };
    const bool scheme = typeHas("kqs");
    const bool catalogue = !scheme && typeHas("kqi");
    const bool field = !scheme && !catalogue && typeHas("fld");
    if (scheme || catalogue || field) {
        if (dot < 6) {
            route.row = CommandRow::CutFailed;
            route.fault = QStringLiteral("The command has no type after its verb: ") + command;
            return route;
        }
        route.verb = command.mid(6, dot - 6);
    }
    if (scheme) routeSchemeList(route);
    else if (catalogue) routeCatalogue(route, command);
    else if (field) routeField(route, command);
    else if (typeHas("kqb")) routeBatch(route, command);
    else if (typeHas("htm") || typeHas("asp") || typeHas("cfm")) routePage(route, command);
    return route;
}

bool needsUsersWord(const CommandRoute& route) {
    switch (route.row) {
    case CommandRow::SchemeDeleteAll:
    case CommandRow::SchemeSave:
    case CommandRow::CatalogDeleteAll:
    case CommandRow::CatalogSave:
    case CommandRow::CatalogSaveHcl:
    case CommandRow::CatalogSaveRss:
    case CommandRow::FieldsDeleteAll:
    case CommandRow::BatchSave:
    case CommandRow::BatchAddMacro:
    case CommandRow::BatchCgiSendHcl:
    case CommandRow::BatchCgiSendList:
    case CommandRow::BatchCgiSend:
    case CommandRow::PageSave:
    case CommandRow::BatchRestartLogging:
    case CommandRow::BatchStartLogging:
    case CommandRow::BatchStopLogging:
        return true;
    default:
        return false;
    }
}

}  // namespace modMTP
