#include "core/record/FieldCommandValues.h"

#include "core/record/MetadataLine.h"

namespace FieldCommandValues {
namespace {

// The character a "%" escape at `at` stands for in this part, or 0 when it is none.
char16_t escapeAt(const QString& text, qsizetype at, Part part) {
    if (at + 2 >= text.size() || text.at(at) != QLatin1Char('%')) return 0;
    const QString code = text.mid(at + 1, 2).toUpper();
    if (code == QLatin1String("26")) return u'&';
    if (code == QLatin1String("0D")) return u'\r';
    if (code == QLatin1String("0A")) return u'\n';
    if (code == QLatin1String("25")) return u'%';
    if (part == Part::Content && code == QLatin1String("20")) return u' ';
    if (part == Part::Content && code == QLatin1String("7C")) return u'|';
    return 0;
}

bool startsKeyName(const QString& text, qsizetype at) {
    const QStringView rest = QStringView(text).mid(at);
    for (const char* key : {"field", "content", "scheme", "lang"})
        if (rest.startsWith(QLatin1StringView(key), Qt::CaseInsensitive)) return true;
    return false;
}

}  // namespace

QString written(const QString& value, Part part) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('%') && escapeAt(value, i, part)) out += QLatin1String("%25");
        else if (c == QLatin1Char('&') && startsKeyName(value, i + 1)) out += QLatin1String("%26");
        else if (c == QLatin1Char('\r')) out += QLatin1String("%0D");
        else if (c == QLatin1Char('\n')) out += QLatin1String("%0A");
        else if (c == QLatin1Char('|') && part == Part::Content) out += QLatin1String("%7C");
        else out += c;
    }
    return out;
}

QString read(const QString& written, Part part) {
    QString out;
    out.reserve(written.size());
    for (qsizetype i = 0; i < written.size(); ++i) {
        if (const char16_t c = escapeAt(written, i, part)) {
            out += QChar(c);
            i += 2;
        } else if (part == Part::Content && written.at(i) == QLatin1Char('|')) {
            out += QLatin1String(" | ");
        } else {
            out += written.at(i);
        }
    }
    return recordValue(out);
}

}  // namespace FieldCommandValues
