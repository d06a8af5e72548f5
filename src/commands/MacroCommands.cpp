// Function-key macros stored by command.
#include "commands/frmSourceHTML.h"
#include "commands/modMTP.h"
#include "commands/modMacros.h"

namespace modMTP {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;
const QString kVerb = QStringLiteral("mtp://addmacro=");

void refuse(const QString& why, const QString& command) {
    modMacros::addMacroErrors += QStringLiteral("Add Macro command - ") + why + command + QStringLiteral("\r\n");
}

// The text from `from` up to the other marker when that one follows, else to the end.
QString upTo(const QString& text, qsizetype from, qsizetype other) {
    return other > from ? text.mid(from, other - from) : text.mid(from);
}

// The first repository caption the command names takes the macro as its command.
void takeUpRepositoryMacro(const QString& text, const QString& macro) {
    const struct {
        const char* caption;
        QString* global;
    } captions[] = {{"Open Record", &modMacros::openRecordMacro},
                    {"Save Record", &modMacros::saveRecordMacro},
                    {"Open Catalog", &modMacros::openCatalogMacro},
                    {"Save Catalog", &modMacros::saveCatalogMacro}};
    for (const auto& [caption, global] : captions) {
        if (!text.contains(QLatin1String(caption), ci)) continue;
        const qsizetype bar = macro.indexOf(QLatin1Char('|'));
        *global = bar < 0 ? macro : macro.mid(bar + 1);
        // A new repository is asked for its schemes again.
        if (global == &modMacros::saveRecordMacro) modMacros::repositorySchemes.clear();
        return;
    }
}

void storeMacro(const QString& command) {
    QString text = command;
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) text.truncate(dot);
    if (text.endsWith(QLatin1Char('/'))) text.chop(1);
    const qsizetype verb = text.indexOf(kVerb, 0, ci);
    if (verb < 0) return refuse(QStringLiteral("no macro found: "), text);
    text = text.mid(verb);

    const qsizetype fkey = text.indexOf(QLatin1String("&fkey="), 0, ci);
    const qsizetype caption = text.indexOf(QLatin1String("&text="), 0, ci);
    const qsizetype macroEnd = fkey < 0 ? caption : caption < 0 ? fkey : std::min(fkey, caption);
    const QString macro = macroEnd < 0 ? text.mid(kVerb.size()) : text.mid(kVerb.size(), macroEnd - kVerb.size());
    frmSourceHTML& editor = frmSourceHTML::Load();
    QString key;
    if (fkey >= 0) {
        key = upTo(text, fkey + 6, caption).trimmed().toUpper();
        if (frmSourceHTML::getListIndex(key) < 0)
            return refuse(QStringLiteral("no function key \"") + key + QStringLiteral("\" (F1 to F9, F11, F12): "), command);
    } else {
        key = editor.nextFreeKey();
        if (key.isEmpty()) return refuse(QStringLiteral("all function keys hold macros: "), command);
    }
    QString name = caption >= 0 ? upTo(text, caption + 6, fkey) : QString();
    if (name.remove(QLatin1Char('|')).trimmed().isEmpty()) name = key + QStringLiteral(" - Macro");

    takeUpRepositoryMacro(text, macro);
    editor.chooseKey(key);
    editor.showFields(name, macro);
    editor.cmdSave_Click();
    frmSourceHTML::showEditorAfterRun = true;
}

}  // namespace

void addMacro(QString& command) {
    storeMacro(command);
    // Within a command the dispatcher reports at its end, once for a whole batch.
    if (!dispatchRunning()) modMacros::reportAddMacroErrors();
}

}  // namespace modMTP
