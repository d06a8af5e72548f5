#include "core/record/MetadataLine.h"

#include "platform/TextCodec.h"

namespace {

// A control character the record does not keep as it is.
bool isStrayControl(char16_t c) {
    return (c < 0x20 && c != u'\t' && c != u'\r' && c != u'\n') || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

QString recordValue(const QString& value) {
    const char16_t* const begin = reinterpret_cast<const char16_t*>(value.utf16());
    const char16_t* const end = begin + value.size();
    const char16_t* p = begin;
    while (p != end && !isStrayControl(*p)) ++p;
    if (p == end) return value;
    QString out;
    out.reserve(value.size());
    out.append(QStringView(begin, p - begin));
    for (; p != end; ++p) {
        if (!isStrayControl(*p)) out.append(QChar(*p));
        else if (*p == 0x0B || *p == 0x0C || *p == 0x85) out.append(QLatin1Char(' '));
    }
    return out;
}

MetadataLine recordLine(MetadataLine line, bool breaksToBlanks) {
    for (QString* value : {&line.name, &line.content, &line.lang, &line.scheme, &line.otherAttributes})
        *value = recordValue(*value);
    if (breaksToBlanks && !line.name.isEmpty()) {
        for (QString* value : {&line.name, &line.content, &line.scheme}) *value = platform::breaksToBlanks(*value);
    }
    return line;
}
