#include "platform/SchemeBundle.h"

#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QUrl>

#include <memory>

namespace platform::SchemeBundle {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;
// Files of the bundle's top folder that describe it rather than being served.
const QString kNotBundledFile = QStringLiteral("not-bundled.txt");
const QString kStampFile = QStringLiteral("bundle.stamp");
// Longer targets are no address of the program's.
constexpr qsizetype kLongestTarget = 4096;

struct Index {
    QStringList hosts;
    QString folder;
    QHash<QString, QString> files;        // lower-case relative path -> path on disk
    QSet<QString> folders;                // lower-case relative paths ("" is the top)
    QHash<QString, QString> notBundled;   // lower-case relative path -> what the list is
};

QMutex& indexMutex() {
    static QMutex mutex;
    return mutex;
}

std::shared_ptr<const Index>& currentIndex() {
    static std::shared_ptr<const Index> index = std::make_shared<Index>();
    return index;
}

std::shared_ptr<const Index> snapshot() {
    QMutexLocker lock(&indexMutex());
    return currentIndex();
}

// Reads the folder once: plain files only, never through a symbolic link.
std::shared_ptr<const Index> buildIndex(const QStringList& hosts, const QString& folder) {
    auto index = std::make_shared<Index>();
    for (const QString& host : hosts) index->hosts.append(host.toLower());
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return index;
    index->folder = QDir(folder).absolutePath();
    const QDir top(index->folder);
    index->folders.insert(QString());
    QDirIterator it(index->folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isSymLink()) continue;
        const QString relative = top.relativeFilePath(path);
        if (info.isDir()) {
            index->folders.insert(relative.toLower());
        } else if (info.isFile() && relative != kStampFile && relative != kNotBundledFile) {
            index->files.insert(relative.toLower(), path);
        }
    }
    if (const std::optional<QString> manifest = readProgramFile(top.filePath(kNotBundledFile))) {
        for (const QString& line : splitLines(*manifest)) {
            const qsizetype bar = line.indexOf(QLatin1Char('|'));
            if (line.startsWith(QLatin1Char('#')) || bar <= 0) continue;
            QString path = line.left(bar).trimmed().toLower();
            while (path.startsWith(QLatin1Char('/'))) path.remove(0, 1);
            index->notBundled.insert(path, line.mid(bar + 1).trimmed());
        }
    }
    return index;
}

QByteArray contentTypeOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html")) return "text/html; charset=utf-8";
    if (suffix == QLatin1String("css")) return "text/css; charset=utf-8";
    if (suffix == QLatin1String("dtd")) return "application/xml-dtd";
    if (suffix == QLatin1String("xml")) return "application/xml";
    if (suffix == QLatin1String("png")) return "image/png";
    if (suffix == QLatin1String("svg")) return "image/svg+xml";
    // The program's lists and batches, and any other text of the bundle.
    return "text/plain; charset=utf-8";
}

}  // namespace

Answer notFound() {
    Answer a;
    a.status = 404;
    a.reason = "Not Found";
    a.contentType = "text/html; charset=utf-8";
    a.body = "<html><head><title>Not Found</title></head><body><h1>Not Found</h1>"
             "<p>The program's own server has no page at this address.</p></body></html>";
    return a;
}

namespace {

Answer fileAnswer(const QString& path) {
    // Checked again as it is read: a file replaced by a link since the index was made is not followed.
    const QFileInfo info(path);
    QFile file(path);
    if (info.isSymLink() || !info.isFile() || !file.open(QIODevice::ReadOnly)) return notFound();
    Answer a;
    a.status = 200;
    a.reason = "OK";
    a.contentType = contentTypeOf(path);
    a.body = file.readAll();
    return a;
}

// What a list the bundle does not carry answers: one line of the list's own kind, or a page.
Answer notBundledAnswer(const Index& index, const QString& what, const QString& kind) {
    const QString host = index.hosts.value(0);
    const QString page = QStringLiteral("http://") + host + QStringLiteral("/not-bundled.html");
    QString name = what;
    name.replace(QLatin1Char('|'), QLatin1Char('/'));
    name.remove(QLatin1Char('\r'));
    name.remove(QLatin1Char('\n'));
    Answer a;
    a.status = 200;
    a.reason = "OK";
    a.storable = false;
    const QString line = name + QStringLiteral(" is not bundled with Quorvantile: click for how to name a scheme server "
                                               "that has it|");
    if (kind == QLatin1String("kqs")) {
        a.contentType = "text/plain; charset=utf-8";
        a.body = (line + QStringLiteral("mtp://open=") + page + QStringLiteral("/\r\n")).toUtf8();
    } else if (kind == QLatin1String("kqi")) {
        a.contentType = "text/plain; charset=utf-8";
        a.body = (line + page + QStringLiteral("\r\n")).toUtf8();
    } else {
        a.contentType = "text/html; charset=utf-8";
        a.body = QStringLiteral("<html><head><title>Not bundled</title></head><body>"
                                "<h1>Not bundled</h1><p>%1 is not bundled with Quorvantile.</p>"
                                "<p><a href=\"%2\">How to name a scheme server that has it</a></p></body></html>")
                     .arg(name.toHtmlEscaped(), page)
                     .toUtf8();
    }
    return a;
}

// The list scripts: the bundled list of that name, the one nearest the top when several share it.
Answer scriptAnswer(const Index& index, const QString& query, const QString& key, const QString& extension) {
    QString name;
    for (const QString& pair : query.split(QLatin1Char('&'))) {
        if (pair.startsWith(key + QLatin1Char('='), ci)) {
            name = QUrl::fromPercentEncoding(pair.mid(key.size() + 1).toUtf8());
            break;
        }
    }
    name = name.trimmed();
    if (name.endsWith(QLatin1Char('.') + extension, ci)) name.chop(extension.size() + 1);
    if (name.isEmpty() || name.contains(QLatin1String("..")) || name.contains(QLatin1Char('\\')))
        return notBundledAnswer(index, QStringLiteral("The list \"%1\"").arg(name), extension);
    const QString wanted = (name + QLatin1Char('.') + extension).toLower();
    QString best;
    for (auto it = index.files.cbegin(); it != index.files.cend(); ++it) {
        const QString& relative = it.key();
        if (relative != wanted && !relative.endsWith(QLatin1Char('/') + wanted)) continue;
        if (best.isEmpty() || relative.count(QLatin1Char('/')) < best.count(QLatin1Char('/')) ||
            (relative.count(QLatin1Char('/')) == best.count(QLatin1Char('/')) && relative < best))
            best = relative;
    }
    if (!best.isEmpty()) return fileAnswer(index.files.value(best));
    return notBundledAnswer(index, QStringLiteral("The list \"%1\"").arg(name), extension);
}

}  // namespace

void serve(const QStringList& hosts, const QString& folder) {
    auto index = buildIndex(hosts, folder);
    QMutexLocker lock(&indexMutex());
    currentIndex() = std::move(index);
}

QStringList hosts() {
    return snapshot()->hosts;
}

QString folder() {
    return snapshot()->folder;
}

QString installedFolder() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {programFolder + QStringLiteral("/schemes"),
                                     programFolder + QStringLiteral("/../share/quorvantil/schemes")}) {
        if (QFileInfo(candidate).isDir()) return QDir::cleanPath(candidate);
    }
    return QString();
}

bool isOwnHost(const QString& host) {
    QString name = host.trimmed().toLower();
    if (const qsizetype colon = name.lastIndexOf(QLatin1Char(':')); colon >= 0) name.truncate(colon);
    while (name.endsWith(QLatin1Char('.'))) name.chop(1);  // the fully qualified form
    return !name.isEmpty() && snapshot()->hosts.contains(name);
}

Answer answer(const QString& method, const QString& target) {
    if (method != QLatin1String("GET")) {
        Answer a;
        a.status = 405;
        a.reason = "Method Not Allowed";
        a.contentType = "text/plain; charset=utf-8";
        a.body = "Only GET requests are answered here.\r\n";
        return a;
    }
    const std::shared_ptr<const Index> index = snapshot();
    if (target.size() > kLongestTarget) return notFound();
    const qsizetype mark = target.indexOf(QLatin1Char('?'));
    const QString rawPath = mark < 0 ? target : target.left(mark);
    const QString query = mark < 0 ? QString() : target.mid(mark + 1);
    const QString path = QUrl::fromPercentEncoding(rawPath.toUtf8());
    for (const QChar c : path)
        if (c.unicode() < 0x20 || c == QLatin1Char('\\') || c.unicode() == 0x7F) return notFound();
    QStringList parts;
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".") || part == QLatin1String("..")) return notFound();
        parts.append(part);
    }
    const QString relative = parts.join(QLatin1Char('/')).toLower();
    if (const auto file = index->files.constFind(relative); file != index->files.cend()) return fileAnswer(*file);
    if (index->folders.contains(relative)) {
        for (const char* page : {"index.html", "index.htm"}) {
            const QString inside = relative.isEmpty() ? QLatin1String(page) : relative + QLatin1Char('/') + QLatin1String(page);
            if (const auto file = index->files.constFind(inside); file != index->files.cend()) return fileAnswer(*file);
        }
        return notFound();
    }
    const QString extension = QFileInfo(relative).suffix();
    if (const auto what = index->notBundled.constFind(relative); what != index->notBundled.cend())
        return notBundledAnswer(*index, *what, extension);
    if (relative == QLatin1String("cgi-bin/loadscheme.pl"))
        return scriptAnswer(*index, query, QStringLiteral("scheme"), QStringLiteral("kqs"));
    if (relative == QLatin1String("cgi-bin/loadindex.pl"))
        return scriptAnswer(*index, query, QStringLiteral("index"), QStringLiteral("kqi"));
    return notFound();
}

Answer answerForAddress(const QString& address) {
    QString text = address.trimmed();
    if (!text.contains(QLatin1String("://"))) text.prepend(QLatin1String("http://"));
    const QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid() || url.scheme().compare(QLatin1String("http"), ci) != 0 || !isOwnHost(url.host()))
        return notFound();
    QString target = url.path(QUrl::FullyEncoded);
    if (url.hasQuery()) target += QLatin1Char('?') + url.query(QUrl::FullyEncoded);
    return answer(QStringLiteral("GET"), target.isEmpty() ? QStringLiteral("/") : target);
}

QByteArray stamp() {
    const QString top = folder();
    if (top.isEmpty()) return QByteArray();
    QFile file(top + QLatin1Char('/') + kStampFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

QStringList cachedListNames() {
    QStringList names;
    for (const QString& path : snapshot()->files) {
        const QFileInfo info(path);
        const QString suffix = info.suffix().toLower();
        if (suffix != QLatin1String("kqs") && suffix != QLatin1String("kqi")) continue;
        names.append(info.fileName());
        if (suffix == QLatin1String("kqs")) names.append(info.completeBaseName());
    }
    return names;
}

}  // namespace platform::SchemeBundle
