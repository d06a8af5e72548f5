// The field command: puts one value into the record, joined to the line it belongs to or
// in a new line.
#include "commands/modMTP.h"

#include "commands/CommandWindow.h"
#include "platform/ListView.h"
#include "platform/MsgBox.h"
#include "record/FieldCommandValues.h"

using platform::ListItem;
using platform::MsgBox;

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

// The record's lines as the search meets them, with what this command has decided so far.
struct Search {
    CommandWindow& window;
    FieldValues f;
    const QString processedValue;  // as parsed: every reshaping starts from it afresh
    bool taken = false;

    // Asks to mark the record modified; false when the user cancelled.
    bool markModified(const char* reason) {
        return window.markRecordModified(QLatin1String(reason)) != platform::vbCancel;
    }

    // Rule B's join: the line's content, "; " and the addition.
    Outcome join(platform::ListItemRef ref, const QString& addition) {
        if (!markModified("before editing record")) return Outcome::End;
        ListItem* item = ref.get();
        if (!item) return Outcome::Continue;  // the line went while the question was open
        const QString content = item->SubItems(1) + QStringLiteral("; ") + addition;
        item->setSubItems(1, content);
        window.recordPanel().setSelectedItem(item);
        taken = true;
        window.showInEditPanel(content);
        return Outcome::Continue;
    }

    // Rule B8: the line's content becomes the X.500 form of the value.
    Outcome replaceX500(platform::ListItemRef ref) {
        const QString x500 = buildX500Value(processedValue);
        // A value that makes no X.500 text leaves the content the line already has.
        taken = true;
        if (x500.isEmpty()) return Outcome::Continue;
        if (!markModified("before editing record")) return Outcome::End;
        ListItem* item = ref.get();
        if (!item) return Outcome::Continue;
        item->setSubItems(1, x500);
        window.selectLine(item->Index());
        window.showInEditPanel(x500);
        return Outcome::Continue;
    }

    // Rule B: the line holds another value.
    Outcome fullLine(ListItem* item) {
        const auto has = [&](const char* word) { return f.scheme.contains(QLatin1String(word), ci); };
        const platform::ListItemRef ref(item);
        if (has("DETE.agift")) return Outcome::Continue;
        if (has("Aviation Thesaurus") || has("apais") || has("agift")) return join(ref, termOf(processedValue));
        if (has("SONZ") || has("FONZ")) return join(ref, termOf(processedValue));
        if (has("LSE")) return join(ref, termOf(processedValue));
        if (has("Health Thesaurus")) return join(ref, termOf(processedValue));
        if (has("EDNA.Indexing")) return join(ref, processedValue);
        if (window.shiftDown()) {
            ListItem* selected = window.recordPanel().SelectedItem();
            // Shift joins into the selected line only; with none selected there is nothing to do.
            if (!selected) return Outcome::End;
            if (selected == item) return join(ref, processedValue);
            return Outcome::Continue;
        }
        if (has("x500")) return replaceX500(ref);
        return Outcome::Continue;
    }

    // Rule C: the line is empty.
    Outcome emptyLine(ListItem* item) {
        const auto has = [&](const char* word) { return f.scheme.contains(QLatin1String(word), ci); };
        const platform::ListItemRef ref(item);
        const QString lineScheme = item->SubItems(3);
        QString value = processedValue;
        if (has("apais") || has("agift")) {
            value = termOf(processedValue);
            if (!markModified("before editing record")) return Outcome::End;
            item = ref.get();
            if (!item) return Outcome::Continue;
            item->setSubItems(1, value);
            window.recordPanel().setSelectedItem(item);
            window.showInEditPanel(value);
        } else if (f.element != QLatin1String("DC.Coverage.jurisdiction") && has("agls-jurisdiction")) {
            value = QStringLiteral("jurisdiction=") + processedValue;
        } else if (has("x500")) {
            value = buildX500Value(processedValue);
        }
        if (f.scheme.compare(lineScheme, ci) == 0) {
            if (!markModified("before editing record")) return Outcome::End;
            item = ref.get();
            if (item) {
                item->setSubItems(1, value);
                window.selectLine(item->Index());
                window.showInEditPanel(value);
                item->EnsureVisible();
            }
        }
        // An empty line whose scheme only contains the command's still keeps a new line out.
        taken = true;
        return Outcome::Continue;
    }

    Outcome examine(ListItem* item) {
        const QString lineScheme = item->SubItems(3);
        if (item->Text().compare(f.element, ci) != 0) return Outcome::Continue;
        const bool reducedFits = lineScheme.contains(f.reducedScheme, ci);
        if (!f.scheme.isEmpty() && !lineScheme.contains(f.scheme, ci) && !reducedFits) return Outcome::Continue;
        if (reducedFits) f.scheme = f.reducedScheme;
        const QString content = item->SubItems(1);
        if (content == processedValue) {
            window.recordPanel().setSelectedItem(item);
            taken = true;
            return Outcome::Continue;
        }
        if (!content.isEmpty()) return fullLine(item);
        return emptyLine(item);
    }

    Outcome addLine() {
        if (!markModified("before editing a record")) return Outcome::End;
        const ListItem* selected = window.recordPanel().SelectedItem();
        ListItem* line = window.recordPanel().Add(selected ? selected->Index() + 1 : 0, f.element);
        window.recordPanel().setSelectedItem(line);
        QString content = processedValue;
        const auto has = [&](const char* word) { return f.scheme.contains(QLatin1String(word), ci); };
        if (f.element.contains(QLatin1String("agls.function"), ci) && has("agift")) content = termOf(processedValue);
        if (processedValue.isEmpty()) {
            if (has("ISO8601")) content = formatIsoDate(QDate::currentDate());
            else if (has("URI") && f.element.contains(QLatin1String("DC.Identifier"), ci))
                content = window.pageAddress();
            else if (f.element.contains(QLatin1String("DC.Title"), ci)) content = window.pageTitle();
        }
        line->setSubItems(1, content);
        line->setSubItems(2, f.lang);
        line->setSubItems(3, f.scheme);
        // Room for the edit panel, which the new line opens.
        if (!window.editPanelShown()) window.makeRoomForEditPanel();
        const platform::ListItemRef ref(line);
        window.editProposedLine();
        if (ListItem* still = ref.get()) still->EnsureVisible();
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

QString findFieldForScheme(const QString&, const QString& scheme, const QString& reducedScheme) {
    CommandWindow* window = commandWindow();
    const ListItem* selected = window ? window->recordPanel().SelectedItem() : nullptr;
    if (selected && (selected->SubItems(3).contains(reducedScheme, ci) || selected->SubItems(3).contains(scheme, ci))) {
        const QString element = selected->Text();
        window->selectLine(selected->Index());
        return element;
    }
    MsgBox(QStringLiteral("Quorvantile can't insert this scheme element as a new field because the scheme can be used "
                          "for multiple fields. Please select a metadata field containing the ") +
               scheme + QStringLiteral(" scheme and try again"),
           platform::vbOKOnly, QStringLiteral("Can't proceed"));
    return QString();
}

void mtpAddField(const QString& command) {
    if (!command.contains(QLatin1String("field="), ci)) {
        MsgBox(QStringLiteral("Can't process ") + command, platform::vbOKOnly, QStringLiteral("Add Field Error"));
        return;
    }
    CommandWindow* window = commandWindow();
    if (!window) return;
    FieldValues values = parse(command);
    if (values.element == QLatin1String("*")) {
        values.element = findFieldForScheme(values.value, values.scheme, values.reducedScheme);
        if (values.element.isEmpty()) return;
    }
    Search search{*window, values, values.value};
    platform::ListView& panel = window->recordPanel();
    // Only lines of the element can take the value; they are looked up, not searched for.
    QList<platform::ListItemRef> lines;
    for (ListItem* item : panel.ItemsWithText(values.element)) lines.append(item);
    for (const platform::ListItemRef& ref : lines) {
        ListItem* item = ref.get();
        if (!item) continue;  // removed while a question was open
        if (search.examine(item) == Outcome::End) return;
    }
    if (!search.taken && search.addLine() == Outcome::End) return;

    window->layOut();
    if (const ListItem* selected = panel.SelectedItem()) window->selectLine(selected->Index());
    panel.viewport()->update();
}

}  // namespace modMTP
