#include "platform/PathText.h"

#include <QDir>
#include <QUrl>

namespace platform {

qsizetype lastPathSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

QString fileNamePart(const QString& path) {
    return path.mid(lastPathSeparator(path) + 1);
}

QString folderPart(const QString& path) {
    return path.left(lastPathSeparator(path) + 1);
}

bool endsWithSeparator(const QString& path) {
    return path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'));
}

QString localPathFromAddress(const QString& address) {
    if (!address.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) return address;
    const QUrl url(address);
    if (url.isValid() && url.isLocalFile()) return url.toLocalFile();
    // A "file:" text QUrl will not take: drop the scheme and any slashes but one.
    QString rest = address.mid(5);
    while (rest.startsWith(QLatin1String("//"))) rest.remove(0, 1);
    return rest;
}

bool isLocalPath(const QString& address) {
    const QString path = localPathFromAddress(address);
    return !path.isEmpty() && QDir::isAbsolutePath(path) && path.startsWith(QLatin1Char('/'));
}

bool isPageAddress(const QString& address) {
    for (const char* type : {".htm", ".asp", ".cfm"})
        if (address.contains(QLatin1String(type), Qt::CaseInsensitive)) return true;
    return false;
}

QString webSchemeOf(const QString& address) {
    for (const auto scheme : {QLatin1String("http://"), QLatin1String("https://")}) {
        if (address.startsWith(scheme, Qt::CaseInsensitive)) return address.left(scheme.size());
    }
    return QString();
}

bool isWebAddress(const QString& address) {
    return !webSchemeOf(address).isEmpty();
}

QString withoutWebScheme(const QString& address) {
    return address.mid(webSchemeOf(address).size());
}

QString withLinkScheme(const QString& link) {
    for (const char* scheme : {"mailto:", "urn:", "news:", "tel:", "data:"})
        if (link.startsWith(QLatin1String(scheme), Qt::CaseInsensitive)) return link;
    for (const char* web : {"http://", "https://"})
        if (link.contains(QLatin1String(web), Qt::CaseInsensitive)) return link;
    // A scheme name: a letter, then letters, digits, "+", "-" and ".".
    const auto schemeCharacter = [](QChar c, bool first) {
        if (c.unicode() >= 0x80) return false;
        return c.isLetter() || (!first && (c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') ||
                                           c == QLatin1Char('.')));
    };
    qsizetype end = 0;
    while (end < link.size() && schemeCharacter(link.at(end), end == 0)) ++end;
    if (end > 0 && QStringView(link).mid(end).startsWith(QLatin1String("://"))) return link;
    return QStringLiteral("http://") + link;
}

}  // namespace platform
