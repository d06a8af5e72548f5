#include "platform/BrowserAddress.h"

#include <QStringDecoder>

namespace platform {

namespace {

bool isUrlBlank(QChar c) {
    // The characters a URL parser strips around an address: C0 controls and the space.
    return c.unicode() <= 0x20;
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

// The byte of the escape "%XY" at i, or -1.
int escapedByte(const QString& text, qsizetype i) {
    if (i + 2 >= text.size() || text.at(i) != QLatin1Char('%')) return -1;
    const int high = hexValue(text.at(i + 1));
    const int low = hexValue(text.at(i + 2));
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// The value of `name = "value"` in QUrl's error text, searched from `from`; the value
// ends at the quote followed by "," or by the end of the text.
QString errorComponent(const QString& error, const QString& name, qsizetype from) {
    const QString marker = QLatin1Char(' ') + name + QLatin1String(" = \"");
    const qsizetype start = error.indexOf(marker, from);
    if (start < 0) return QString();
    const qsizetype valueStart = start + marker.size();
    qsizetype end = error.indexOf(QLatin1String("\","), valueStart);
    if (end < 0) end = error.endsWith(QLatin1Char('"')) ? error.size() - 1 : error.size();
    return error.mid(valueStart, end - valueStart);
}

// QUrl keeps no text of an address it rejects, only its error description, which quotes
// the failing part and the parts it had split off. Commands arrive that way.
QString addressFromUrlError(const QUrl& url) {
    const QString error = url.errorString();
    const QString sourceMarker = QStringLiteral("source was \"");
    const qsizetype sourceStart = error.indexOf(sourceMarker);
    if (sourceStart < 0) return QString();
    const qsizetype valueStart = sourceStart + sourceMarker.size();
    const qsizetype sourceEnd = error.indexOf(QLatin1String("\";"), valueStart);
    if (sourceEnd < 0) return QString();
    const QString source = error.mid(valueStart, sourceEnd - valueStart);
    const QString scheme = errorComponent(error, QStringLiteral("scheme"), sourceEnd);
    if (scheme.isEmpty() || source.startsWith(scheme + QLatin1Char(':'), Qt::CaseInsensitive)) return source;
    // Only the host was quoted: put the address together again around it.
    QString text = scheme + QLatin1String("://") + source;
    text += errorComponent(error, QStringLiteral("path"), sourceEnd);
    const QString query = errorComponent(error, QStringLiteral("query"), sourceEnd);
    if (!query.isEmpty()) text += QLatin1Char('?') + query;
    const QString fragment = errorComponent(error, QStringLiteral("fragment"), sourceEnd);
    if (!fragment.isEmpty()) text += QLatin1Char('#') + fragment;
    return text;
}

}  // namespace

QString trimmedHref(const QString& href) {
    qsizetype start = 0;
    qsizetype end = href.size();
    while (start < end && isUrlBlank(href.at(start))) ++start;
    while (end > start && isUrlBlank(href.at(end - 1))) --end;
    return href.mid(start, end - start);
}

bool isCommandAddress(const QString& address) {
    qsizetype start = 0;
    while (start < address.size() && isUrlBlank(address.at(start))) ++start;
    return QStringView(address).mid(start).startsWith(QLatin1String("mtp:"), Qt::CaseInsensitive);
}

bool hasScheme(const QString& address) {
    if (address.isEmpty() || !address.at(0).isLetter() || address.at(0).unicode() > 0x7f) return false;
    for (qsizetype i = 1; i < address.size(); ++i) {
        const QChar c = address.at(i);
        if (c == QLatin1Char(':')) return true;
        const bool schemeChar = c.unicode() < 0x80 &&
                                (c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-') ||
                                 c == QLatin1Char('.'));
        if (!schemeChar) return false;
    }
    return false;
}

QString linkAddress(const QString& href, const QString& baseAddress) {
    const QString text = trimmedHref(href);
    if (isCommandAddress(text) || hasScheme(text)) return text;
    if (baseAddress.isEmpty() || isCommandAddress(baseAddress)) return text;
    const QUrl base(baseAddress);
    if (!base.isValid() || base.isRelative()) return text;
    return addressOfUrl(base.resolved(QUrl(text)));
}

QUrl urlForAddress(const QString& address) {
    const QString text = address.trimmed();
    if (text.startsWith(QLatin1Char('/'))) return QUrl::fromLocalFile(text);
    return QUrl::fromUserInput(text);
}

QString addressOfUrl(const QUrl& url) {
    if (url.isEmpty()) return QString();
    if (url.isValid()) return decodeNonAsciiEscapes(url.toString());
    return decodeNonAsciiEscapes(addressFromUrlError(url));
}

QString decodeNonAsciiEscapes(const QString& text) {
    if (!text.contains(QLatin1Char('%'))) return text;
    QString result;
    result.reserve(text.size());
    QByteArray bytes;
    qsizetype i = 0;
    while (i < text.size()) {
        int byte = escapedByte(text, i);
        if (byte < 0x80) {
            result += text.at(i);
            ++i;
            continue;
        }
        // A run of escapes of non-ASCII bytes: decode it when it is valid UTF-8.
        const qsizetype runStart = i;
        bytes.clear();
        while (byte >= 0x80) {
            bytes += char(byte);
            i += 3;
            byte = escapedByte(text, i);
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8.decode(bytes);
        if (utf8.hasError()) {
            result += QStringView(text).mid(runStart, i - runStart);
        } else {
            result += decoded;
        }
    }
    return result;
}

}  // namespace platform
