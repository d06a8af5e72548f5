#include "core/commands/modMacros.h"

#include "core/program/CRegSettings.h"
#include "core/program/CommandWindow.h"
#include "core/program/CommandDialogs.h"
#include "core/commands/modMTP.h"
#include "core/program/ProgramContext.h"
#include "platform/MsgBox.h"
#include "platform/TextCodec.h"


#include <algorithm>

namespace modMacros {

namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;

// Sets the Macros menu item of one of the eleven keys; any other key changes nothing.
void setMacroItem(const ProgramContext& context, const QString& key, const QString& caption, const QString& command,
                  bool shown) {
    CommandWindow* window = context.commands.window;
    const int index = int(kFunctionKeys.indexOf(key));
    if (window && index >= 0) window->setMacroItem(index < 9 ? index + 1 : index + 2, caption, command, shown);
}

// A stored value whose text names a repository caption gives that repository command,
// unless an earlier value already did.
void takeUpRepositoryMacro(ProgramContext& context, const QString& data) {
    MacroState& macros = context.macros;
    const qsizetype bar = data.indexOf(QLatin1Char('|'));
    const QString command = bar < 0 ? data : data.mid(bar + 1);
    if (data.contains(QLatin1String("Open Record"), ci)) {
        if (macros.openRecordMacro.isEmpty()) macros.openRecordMacro = command;
    } else if (data.contains(QLatin1String("Save Record"), ci)) {
        if (!macros.saveRecordMacro.isEmpty()) return;
        macros.saveRecordMacro = command;
        const qsizetype type = command.indexOf(QLatin1String(".kqb"), 0, ci);
        if (type >= 0) {
            // The repository says which schemes it serves.
            modMTP::mtpTransaction(context, command.left(type) + QStringLiteral("?returnSchemes.kqb"));
        } else {
            context.user.MsgBox(QStringLiteral("Couldn't check for Server Schemes"), platform::kOkOnly,
                                QStringLiteral("Couldn't get Server Base Address"));
        }
        context.preferences.charEncoding = QStringLiteral("0");
    } else if (data.contains(QLatin1String("Open Catalog"), ci)) {
        if (macros.openCatalogMacro.isEmpty()) macros.openCatalogMacro = command;
    } else if (data.contains(QLatin1String("Save Catalog"), ci)) {
        if (macros.saveCatalogMacro.isEmpty()) macros.saveCatalogMacro = command;
    }
}

struct MacroEntry {
    QString key;
    QString shortName;
    QString command;
};

}  // namespace

void loadMacros(ProgramContext& context, const QString& section) {
    MacroEditor& editor = context.dialogs.loadMacroEditor(context);
    editor.clearMacroLists();
    const QList<SettingRow> rows = CRegSettings(context.settings).GetAllSettings(section);
    clearMacroMenus(context);

    QList<MacroEntry> entries;
    entries.reserve(rows.size());
    for (const SettingRow& row : rows) {
        // A macro that stores a macro is never the repository's.
        if (!row.value.contains(QLatin1String("addmacro"), ci)) takeUpRepositoryMacro(context, row.value);
        const qsizetype bar = row.value.indexOf(QLatin1Char('|'));
        // A value that is no macro is passed over; the others are still listed.
        if (bar < 0) continue;
        entries.append({row.name.trimmed().toUpper(), row.value.left(bar), row.value.mid(bar + 1)});
    }
    // F1, F11, F12, F2 ... F9: by key first, whatever the names hold.
    std::stable_sort(entries.begin(), entries.end(), [](const MacroEntry& a, const MacroEntry& b) {
        return a.key != b.key ? a.key < b.key : a.shortName + a.command < b.shortName + b.command;
    });

    MacroEditor::Lists lists;
    for (const MacroEntry& entry : entries) {
        lists.rows << entry.key + QLatin1Char('\t') + entry.shortName;
        lists.keys << entry.key;
        lists.names << entry.shortName;
        lists.commands << entry.command;
        setMacroMenu(context, entry.key, entry.shortName, entry.command);
    }
    editor.fillMacroLists(lists);
}

void setMacroMenu(const ProgramContext& context, const QString& key, const QString& caption, const QString& command) {
    // The menu shows the name on one line, cut to a width that fits; an "&" of it is no mnemonic.
    constexpr qsizetype kLongest = 80;
    QString shown = platform::breaksToBlanks(caption).replace(QLatin1Char('\t'), QLatin1Char(' '));
    if (shown.size() > kLongest) shown = shown.left(kLongest) + QStringLiteral("...");
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    setMacroItem(context, key, shown, command, true);
}

void clearMacroMenus(const ProgramContext& context) {
    for (const QString& key : kFunctionKeys) setMacroItem(context, key, QString(), QString(), false);
}

QString logLineShortName(const QString& line, const QString& current) {
    const auto afterLast = [](const QString& text, QChar mark) {
        const qsizetype at = text.lastIndexOf(mark);
        return at < 0 ? text : text.mid(at + 1);
    };
    // A template (.kqb) or a scheme list (.kqs), from the network or from a disk.
    const auto listName = [&](const char* type, const char* openWord, const char* network, const char* disk) {
        QString name = line;
        name.remove(QLatin1String(type), ci);
        if (line.contains(QLatin1String(openWord), ci)) {
            if (name.contains(QLatin1Char('/'))) name = afterLast(name, QLatin1Char('/')).replace(QLatin1String("%20"), QLatin1String(" "));
            return QLatin1String(network) + name;
        }
        return QLatin1String(disk) + afterLast(name, QLatin1Char('\\'));
    };
    if (line.contains(QLatin1String(".fld"), ci)) {
        QString name = line;
        name.remove(QLatin1String(".fld"), ci);
        const qsizetype field = name.indexOf(QLatin1String("field="), 0, ci);
        if (field >= 0) {
            const qsizetype from = field + 6;
            const qsizetype amp = name.indexOf(QLatin1Char('&'), from);
            QString element = amp >= 0 ? name.mid(from, amp - from) : name.mid(from);
            if (amp < 0) element.chop(1);  // the command's final "/"
            return QStringLiteral("Insert Element: ") + element;
        }
        if (line.contains(QLatin1String("delete=all"), ci)) return QStringLiteral("Delete all metadata");
        return name;
    }
    if (line.contains(QLatin1String(".kqb"), ci))
        return listName(".kqb", "open=", "Load Template from Network: ", "Load Template from Disk: ");
    if (line.contains(QLatin1String(".kqs"), ci))
        return listName(".kqs", "url=", "Load Scheme from Network: ", "Load Scheme from Disk: ");
    return current;
}

void reportAddMacroErrors(ProgramContext& context) {
    QString& addMacroErrors = context.macros.addMacroErrors;
    if (addMacroErrors.isEmpty()) return;
    const QStringList lines = std::exchange(addMacroErrors, QString()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    // A long batch of bad lines is summed up rather than listed past the screen.
    constexpr int kShown = 20;
    QString text = lines.mid(0, kShown).join(QStringLiteral("\r\n"));
    if (lines.size() > kShown) text += QStringLiteral("\r\n... and %1 more").arg(lines.size() - kShown);
    context.user.MsgBox(text, platform::kOkOnly | platform::kExclamationIcon, QStringLiteral("Macros not stored"));
}

}  // namespace modMacros
