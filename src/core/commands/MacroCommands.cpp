// Function-key macros stored by command.
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "core/program/CommandDialogs.h"
#include "core/program/ProgramContext.h"

namespace modMTP {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;
const QString kVerb = QStringLiteral("mtp://addmacro=");

void refuse(MacroState& macros, const QString& why, const QString& command) {
    macros.addMacroErrors += QStringLiteral("Add Macro command - ") + why + command + QStringLiteral("\r\n");
}

// The text from `from` up to the other marker when that one follows, else to the end.
QString upTo(const QString& text, qsizetype from, qsizetype other) {
    return other > from ? text.mid(from, other - from) : text.mid(from);
}

// The first repository caption the command names takes the macro as its command.
void takeUpRepositoryMacro(MacroState& macros, const QString& text, const QString& macro) {
    const struct {
        const char* caption;
        QString* global;
    } captions[] = {{"Open Record", &macros.openRecordMacro},
                    {"Save Record", &macros.saveRecordMacro},
                    {"Open Catalog", &macros.openCatalogMacro},
                    {"Save Catalog", &macros.saveCatalogMacro}};
    for (const auto& [caption, global] : captions) {
        if (!text.contains(QLatin1String(caption), ci)) continue;
        const qsizetype bar = macro.indexOf(QLatin1Char('|'));
        *global = bar < 0 ? macro : macro.mid(bar + 1);
        // A new repository is asked for its schemes again.
        if (global == &macros.saveRecordMacro) macros.repositorySchemes.clear();
        return;
    }
}

void storeMacro(ProgramContext& context, const QString& command) {
    MacroState& macros = context.macros;
    const AddMacroParts parts = readAddMacro(command);
    if (!parts.found) {
        QString text = command;
        const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0) text.truncate(dot);
        if (text.endsWith(QLatin1Char('/'))) text.chop(1);
        return refuse(macros, QStringLiteral("no macro found: "), text);
    }
    MacroEditor& editor = context.dialogs.loadMacroEditor(context);
    QString key = parts.key;
    if (parts.hasKey) {
        if (!modMacros::kFunctionKeys.contains(key))
            return refuse(macros, QStringLiteral("no function key \"") + key + QStringLiteral("\" (F1 to F9, F11, F12): "), command);
    } else {
        key = editor.nextFreeKey();
        if (key.isEmpty()) return refuse(macros, QStringLiteral("all function keys hold macros: "), command);
    }
    QString name = parts.caption;
    if (name.remove(QLatin1Char('|')).trimmed().isEmpty()) name = key + QStringLiteral(" - Macro");

    takeUpRepositoryMacro(macros, command.mid(command.indexOf(kVerb, 0, ci)), parts.macro);
    editor.chooseKey(key);
    // Stored as given: the editor's box would turn some characters into others.
    editor.saveMacro(key, name, parts.macro);
    context.commands.showEditorAfterRun = true;
}

}  // namespace

AddMacroParts readAddMacro(const QString& command) {
    AddMacroParts parts;
    QString text = command;
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) text.truncate(dot);
    if (text.endsWith(QLatin1Char('/'))) text.chop(1);
    const qsizetype verb = text.indexOf(kVerb, 0, ci);
    if (verb < 0) return parts;
    parts.found = true;
    text = text.mid(verb + kVerb.size());

    qsizetype fkey = text.indexOf(QLatin1String("&fkey="), 0, ci);
    qsizetype caption = text.indexOf(QLatin1String("&text="), 0, ci);
    // The form a macro set writes, key and caption last: the command before them may hold
    // either marker itself.
    const qsizetype lastKey = text.lastIndexOf(QLatin1String("&fkey="), -1, ci);
    const qsizetype lastCaption = lastKey < 0 ? -1 : text.indexOf(QLatin1String("&text="), lastKey, ci);
    if (lastCaption > lastKey &&
        modMacros::kFunctionKeys.contains(text.mid(lastKey + 6, lastCaption - lastKey - 6).trimmed().toUpper())) {
        fkey = lastKey;
        caption = lastCaption;
    }
    const qsizetype macroEnd = fkey < 0 ? caption : caption < 0 ? fkey : std::min(fkey, caption);
    parts.macro = macroEnd < 0 ? text : text.left(macroEnd);
    parts.hasKey = fkey >= 0;
    if (parts.hasKey) parts.key = upTo(text, fkey + 6, caption).trimmed().toUpper();
    if (caption >= 0) parts.caption = upTo(text, caption + 6, fkey);
    return parts;
}

void addMacro(ProgramContext& context, const QString& command) {
    storeMacro(context, command);
    // Within a command the dispatcher reports at its end, once for a whole batch.
    if (!dispatchRunning(context)) modMacros::reportAddMacroErrors(context);
}

}  // namespace modMTP
