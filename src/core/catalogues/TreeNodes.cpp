#include "core/catalogues/TreeNodes.h"

namespace TreeNodes {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;
const QLatin1String kContent("content=");
const QLatin1String kFld(".fld");
const QLatin1String kGenericField("mtp://field=*&content=");
constexpr qsizetype kLongestCaption = 100;

}  // namespace

QString contentValue(const QString& name) {
    QString value = name;
    return value.replace(QLatin1Char('&'), QLatin1String("%26"));
}

QString subjectCommand(const QString& fullPath, const QString& scheme) {
    QString path = fullPath;
    const QLatin1String top("Main Catalog\\");
    if (const qsizetype at = path.indexOf(top); at >= 0) path.remove(at, top.size());
    path.replace(QLatin1Char('\\'), QLatin1String("; "));
    return QStringLiteral("mtp://field=DC.Subject&content=") + contentValue(path) + QStringLiteral("&scheme=") +
           scheme + kFld;
}

QString commandForName(const QString& templateTag, const QString& name) {
    const qsizetype at = templateTag.indexOf(kContent, 0, ci);
    if (at < 0) return kGenericField + contentValue(name) + kFld;
    const qsizetype start = at + kContent.size();
    const qsizetype amp = templateTag.indexOf(QLatin1Char('&'), start);
    return templateTag.left(start) + contentValue(name) + (amp >= 0 ? templateTag.mid(amp) : QString(kFld));
}

QString renamedTag(const QString& tag, const QString& name) {
    const qsizetype at = tag.indexOf(kContent, 0, ci);
    if (!tag.contains(QLatin1String("field="), ci) || at < 0) return tag;
    const qsizetype start = at + kContent.size();
    qsizetype end = tag.indexOf(QLatin1Char('&'), start);
    if (end < 0) end = tag.lastIndexOf(kFld, -1, ci);
    if (end < start) end = tag.size();
    return tag.left(start) + contentValue(name) + tag.mid(end);
}

DroppedCommand readDroppedCommand(const QString& text) {
    DroppedCommand d;
    d.type = text.mid(text.lastIndexOf(QLatin1Char('.')) + 1).remove(QLatin1Char('/'));
    const QLatin1String field("field="), addUrl("addURL=");
    const QChar bar = QLatin1Char('|');
    if (const qsizetype at = text.indexOf(field, 0, ci); at >= 0) {
        const qsizetype start = at + field.size();
        const qsizetype amp = text.indexOf(QLatin1Char('&'), start);
        d.label = text.mid(start, amp < 0 ? -1 : amp - start);
        d.tag = text;
    } else if (const qsizetype at = text.indexOf(addUrl, 0, ci); at >= 0) {
        const qsizetype start = at + addUrl.size();
        const qsizetype first = text.indexOf(bar, start);
        const qsizetype second = first < 0 ? -1 : text.indexOf(bar, first + 1);
        d.originTag = text.mid(start, first < 0 ? -1 : first - start);
        if (first >= 0) d.label = text.mid(first + 1, second < 0 ? -1 : second - first - 1);
        if (second >= 0) d.tag = text.mid(second + 1);
        // Only the type the drag put after the address goes: ".fld" inside an address stays.
        if (d.tag.endsWith(QLatin1Char('/'))) d.tag.chop(1);
        if (d.tag.endsWith(kFld, ci)) d.tag.chop(kFld.size());
    } else {
        d.label = QStringLiteral("Macro");
        d.tag = text;
    }
    // A node needs a name, or the list file loses it.
    if (d.label.trimmed().isEmpty()) d.label = QStringLiteral("Untitled");
    return d;
}

bool matchesSearch(const QString& text, const QString& search) {
    return text.startsWith(search, ci) || text.contains(QLatin1Char(' ') + search, ci);
}

QString menuCaption(const QString& tag) {
    QString caption = tag.size() > kLongestCaption ? tag.left(kLongestCaption - 3) + QStringLiteral("...") : tag;
    return caption.replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace TreeNodes
