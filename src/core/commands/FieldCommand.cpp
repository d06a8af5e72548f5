// The field command: puts one value into the record, joined to the line it belongs to or
// in a new line.
#include "core/program/CommandWindow.h"
#include "core/commands/modMTP.h"
#include "core/program/ProgramContext.h"
#include "core/record/Record.h"
#include "platform/MsgBox.h"
#include "core/record/FieldCommandValues.h"

using LineId = Record::LineId;

namespace modMTP {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;

struct FieldValues {
    QString element;
    QString value;
    QString lang;
    QString scheme;
    QString reducedScheme;
};

// The value of one key of the body: from the key's first occurrence to the earliest of the
// other markers found from there on, or to the end. A key counts at the start of the body
// or right after "&": "scheme=" inside a value is text.
QString keyValue(const QString& body, QLatin1String key, std::initializer_list<QLatin1String> stops) {
    qsizetype at = body.indexOf(key, 0, ci);
    while (at > 0 && body.at(at - 1) != QLatin1Char('&')) at = body.indexOf(key, at + 1, ci);
    if (at < 0) return QString();
    const qsizetype start = at + key.size();
    qsizetype end = body.size();
    for (const QLatin1String stop : stops) {
        const qsizetype found = body.indexOf(stop, at, ci);
        if (found >= 0 && found < end) end = found;
    }
    return end > start ? body.mid(start, end - start) : QString();
}

FieldValues parse(const QString& command) {
    const qsizetype dot = command.lastIndexOf(QLatin1Char('.'));
    const QString body = dot > 6 ? command.mid(6, dot - 6) : QString();
    const QLatin1String field("&field"), content("&content"), scheme("&scheme"), lang("&lang");
    FieldValues f;
    f.element = keyValue(body, QLatin1String("field="), {content, scheme, lang});
    f.value = keyValue(body, QLatin1String("content="), {scheme, field, lang});
    f.scheme = keyValue(body, QLatin1String("scheme="), {field, content, lang});
    f.lang = keyValue(body, QLatin1String("lang="), {field, content, scheme});
    using FieldCommandValues::Part;
    f.element = FieldCommandValues::read(f.element, Part::Other);
    f.value = FieldCommandValues::read(f.value, Part::Content);
    f.scheme = FieldCommandValues::read(f.scheme, Part::Other);
    f.lang = FieldCommandValues::read(f.lang, Part::Other);
    f.reducedScheme = f.scheme;
    f.reducedScheme.remove(QLatin1Char('-'));
    f.reducedScheme.remove(QLatin1Char('.'));
    return f;
}

// The last level of a thesaurus path (with the blank the " | " left before it), or the value.
QString termOf(const QString& value) {
    return value.mid(value.lastIndexOf(QLatin1Char('|')) + 1);
}

// Why a command ends early.
enum class Outcome { Continue, End };

// What rule B does to a line holding another value, by the command's scheme.
enum class FullLineRule { Pass, JoinTerm, JoinValue, JoinSelected, ReplaceX500 };

FullLineRule fullLineRule(const QString& scheme, bool shiftDown) {
    const auto has = [&](const char* word) { return scheme.contains(QLatin1String(word), ci); };
    if (has("DETE.agift")) return FullLineRule::Pass;
    if (has("Aviation Thesaurus") || has("apais") || has("agift")) return FullLineRule::JoinTerm;
    if (has("SONZ") || has("FONZ")) return FullLineRule::JoinTerm;
    if (has("LSE")) return FullLineRule::JoinTerm;
    if (has("Health Thesaurus")) return FullLineRule::JoinTerm;
    if (has("EDNA.Indexing")) return FullLineRule::JoinValue;
    if (shiftDown) return FullLineRule::JoinSelected;
    if (has("x500")) return FullLineRule::ReplaceX500;
    return FullLineRule::Pass;
}

// The record's lines as the search meets them, with what this command has decided so far.
// Lines are held by id: a line that goes while a question is open is passed over.
struct Search {
    CommandWindow& window;
    Record& record;
    FieldValues f;
    const QString processedValue;  // as parsed: every reshaping starts from it afresh
    bool taken = false;

    // Asks to mark the record modified; false when the user cancelled.
    bool markModified(const char* reason) {
        return window.markRecordModified(QLatin1String(reason)) != platform::kAnswerCancel;
    }

    // Rule B's join: the line's content, "; " and the addition.
    Outcome join(LineId line, const QString& addition) {
        if (!markModified("before editing record")) return Outcome::End;
        if (!record.contains(line)) return Outcome::Continue;  // the line went while the question was open
        // Added in place: a subject line a batch joins thousands of terms to is never copied whole.
        record.extend(line, Record::Content, QStringLiteral("; ") + addition);
        record.selectOnly(line);
        taken = true;
        window.showInEditPanel(record.cell(line, Record::Content));
        return Outcome::Continue;
    }

    // Rule B8: the line's content becomes the X.500 form of the value.
    Outcome replaceX500(LineId line) {
        const QString x500 = buildX500Value(processedValue);
        // A value that makes no X.500 text leaves the content the line already has.
        taken = true;
        if (x500.isEmpty()) return Outcome::Continue;
        if (!markModified("before editing record")) return Outcome::End;
        if (!record.contains(line)) return Outcome::Continue;
        record.set(line, Record::Content, x500);
        window.selectLine(record.positionOf(line));
        window.showInEditPanel(x500);
        return Outcome::Continue;
    }

    // Rule B: the line holds another value.
    Outcome fullLine(LineId line) {
        switch (fullLineRule(f.scheme, window.shiftDown())) {
        case FullLineRule::Pass:
            return Outcome::Continue;
        case FullLineRule::JoinTerm:
            return join(line, termOf(processedValue));
        case FullLineRule::JoinValue:
            return join(line, processedValue);
        case FullLineRule::JoinSelected: {
            const LineId selected = record.selectedLine();
            // Shift joins into the selected line only; with none selected there is nothing to do.
            if (!selected) return Outcome::End;
            if (selected == line) return join(line, processedValue);
            return Outcome::Continue;
        }
        case FullLineRule::ReplaceX500:
            return replaceX500(line);
        }
        return Outcome::Continue;
    }

    // Rule C: the line is empty.
    Outcome emptyLine(LineId line) {
        const auto has = [&](const char* word) { return f.scheme.contains(QLatin1String(word), ci); };
        const QString lineScheme = record.cell(line, Record::Scheme);
        QString value = processedValue;
        if (has("apais") || has("agift")) {
            value = termOf(processedValue);
            if (!markModified("before editing record")) return Outcome::End;
            if (!record.contains(line)) return Outcome::Continue;
            record.set(line, Record::Content, value);
            record.selectOnly(line);
            window.showInEditPanel(value);
        } else if (f.element != QLatin1String("DC.Coverage.jurisdiction") && has("agls-jurisdiction")) {
            value = QStringLiteral("jurisdiction=") + processedValue;
        } else if (has("x500")) {
            value = buildX500Value(processedValue);
        }
        if (f.scheme.compare(lineScheme, ci) == 0) {
            if (!markModified("before editing record")) return Outcome::End;
            if (record.contains(line)) {
                record.set(line, Record::Content, value);
                window.selectLine(record.positionOf(line));
                window.showInEditPanel(value);
                window.showLine(line);
            }
        }
        // An empty line whose scheme only contains the command's still keeps a new line out.
        taken = true;
        return Outcome::Continue;
    }

    // The line's scheme is one the command's value may go into.
    bool schemeFits(const QString& lineScheme) const {
        return f.scheme.isEmpty() || lineScheme.contains(f.scheme, ci) || lineScheme.contains(f.reducedScheme, ci);
    }

    Outcome examine(LineId line) {
        const MetadataLine& values = record.line(line);
        if (values.name.compare(f.element, ci) != 0) return Outcome::Continue;
        if (!schemeFits(values.scheme)) return Outcome::Continue;
        if (values.scheme.contains(f.reducedScheme, ci)) f.scheme = f.reducedScheme;
        if (values.content == processedValue) {
            record.selectOnly(line);
            taken = true;
            return Outcome::Continue;
        }
        if (!values.content.isEmpty()) return fullLine(line);
        return emptyLine(line);
    }

    // The lines of the element the search has to meet, in order. When rule B passes over every
    // line holding another value, whichever scheme the command ends up with, only the lines
    // holding the value and the first line that reduces the scheme can do anything: the others
    // are left out, so a batch adding thousands of lines to one element never walks them all.
    // An empty line the value may go into asks a question (a modified list is offered for
    // saving), during which the lines may change: then every line is met as before.
    QList<LineId> linesToExamine() const {
        const bool shift = window.shiftDown();
        if (fullLineRule(f.scheme, shift) != FullLineRule::Pass) return record.idsNamed(f.element);
        if (!processedValue.isEmpty())
            for (const LineId empty : record.idsNamed(f.element, QString()))
                if (schemeFits(record.cell(empty, Record::Scheme))) return record.idsNamed(f.element);
        QList<LineId> lines = record.idsNamed(f.element, processedValue);
        if (f.scheme != f.reducedScheme) {
            const LineId reducing = record.firstNamed(
                f.element, [this](const QString& scheme) { return scheme.contains(f.reducedScheme, ci); });
            if (reducing && fullLineRule(f.reducedScheme, shift) != FullLineRule::Pass) return record.idsNamed(f.element);
            if (reducing && !lines.contains(reducing)) {
                lines.append(reducing);
                record.sortInOrder(lines);
            }
        }
        return lines;
    }

    Outcome addLine() {
        if (!markModified("before editing a record")) return Outcome::End;
        const LineId selected = record.selectedLine();
        QString content = processedValue;
        const auto has = [&](const char* word) { return f.scheme.contains(QLatin1String(word), ci); };
        if (f.element.contains(QLatin1String("agls.function"), ci) && has("agift")) content = termOf(processedValue);
        if (processedValue.isEmpty()) {
            if (has("ISO8601")) content = formatIsoDate(QDate::currentDate());
            else if (has("URI") && f.element.contains(QLatin1String("DC.Identifier"), ci))
                content = window.pageAddress();
            else if (f.element.contains(QLatin1String("DC.Title"), ci)) content = window.pageTitle();
        }
        MetadataLine values;
        values.name = f.element;
        values.content = content;
        values.lang = f.lang;
        values.scheme = f.scheme;
        const LineId line = record.insert(selected ? record.positionOf(selected) + 1 : 0, values);
        record.selectOnly(line);
        // Room for the edit panel, which the new line opens.
        if (!window.editPanelShown()) window.makeRoomForEditPanel();
        window.editProposedLine();
        if (record.contains(line)) window.showLine(line);
        return Outcome::Continue;
    }
};

}  // namespace

QString buildX500Value(const QString& text) {
    QString result;
    qsizetype start = 0;
    int part = 0;
    for (qsizetype bar = text.indexOf(QLatin1Char('|')); bar >= 0; bar = text.indexOf(QLatin1Char('|'), start)) {
        const QString piece = text.mid(start, bar - start);
        if (part == 0) result = QStringLiteral("c=") + piece;
        else if (part == 1) result = QStringLiteral("o=") + piece + QStringLiteral("; ") + result;
        else result = QStringLiteral("ou=") + piece + QStringLiteral("; ") + result;
        ++part;
        start = bar + 1;
    }
    return result;
}

QString formatIsoDate(const QDate& date) {
    return QString::number(date.year()) + QLatin1Char('-') + QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0')) +
           QLatin1Char('-') + QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString findFieldForScheme(ProgramContext& context, const QString&, const QString& scheme,
                           const QString& reducedScheme) {
    CommandWindow* window = context.commands.window;
    const LineId selected = window ? context.record.selectedLine() : 0;
    const QString lineScheme = selected ? context.record.cell(selected, Record::Scheme) : QString();
    if (selected && (lineScheme.contains(reducedScheme, ci) || lineScheme.contains(scheme, ci))) {
        const QString element = context.record.cell(selected, Record::Name);
        window->selectLine(context.record.positionOf(selected));
        return element;
    }
    context.user.MsgBox(QStringLiteral("Quorvantile can't insert this scheme element as a new field because the scheme can be used "
                                       "for multiple fields. Please select a metadata field containing the ") +
                            scheme + QStringLiteral(" scheme and try again"),
                        platform::kOkOnly, QStringLiteral("Can't proceed"));
    return QString();
}

void mtpAddField(ProgramContext& context, const QString& command) {
    if (!command.contains(QLatin1String("field="), ci)) {
        context.user.MsgBox(QStringLiteral("Can't process ") + command, platform::kOkOnly, QStringLiteral("Add Field Error"));
        return;
    }
    CommandWindow* window = context.commands.window;
    if (!window) return;
    FieldValues values = parse(command);
    if (values.element == QLatin1String("*")) {
        values.element = findFieldForScheme(context, values.value, values.scheme, values.reducedScheme);
        if (values.element.isEmpty()) return;
    }
    Record& record = context.record;
    Search search{*window, record, values, values.value};
    // The lines are taken once, at the start: only lines of the element can take the value,
    // and they are looked up, not searched for. A line removed meanwhile is passed over.
    for (const LineId line : search.linesToExamine()) {
        if (!record.contains(line)) continue;
        if (search.examine(line) == Outcome::End) return;
    }
    if (!search.taken && search.addLine() == Outcome::End) return;

    window->layOut();
    if (const LineId selected = record.selectedLine()) window->selectLine(record.positionOf(selected));
    window->repaintRecord();
}

}  // namespace modMTP
