// Makes the scheme bundle the program carries: the checkout's schemes/ folder, copied, with
// the vocabularies generated from the system's data packages (media-types, iso-codes) at
// the paths its "generated-lists.txt" names, and a stamp (a hash of every file) the program
// compares with the one its list cache was filled under.
//
//   make_bundle <schemes folder> <bundle folder> <mime.types> <iso-codes json folder>
//
// Fails when a list cannot be made, or when two paths of the bundle differ only in case
// (the program matches addresses ignoring case).
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

const QString kManifest = QStringLiteral("generated-lists.txt");

[[noreturn]] void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

// One term of a generated list: where it sits in the tree, its title and its value.
struct Term {
    QString folder;  // "" for the top
    QString title;
    QString value;
};

// The field command a term carries: the value for the element, in the scheme.
QString termLine(const Term& term, const QString& element, const QString& scheme) {
    // Written as the field command reads them back.
    QString value = term.value;
    value.replace(QLatin1Char('&'), QStringLiteral("%26"));
    value.replace(QLatin1Char(' '), QStringLiteral("%20"));
    QString title = term.title;
    title.replace(QLatin1Char('|'), QLatin1Char('/'));
    const QString place = term.folder.isEmpty() ? QString() : term.folder + QLatin1Char('|');
    return place + title + QStringLiteral("|mtp://field=") + element + QStringLiteral("&content=") + value +
           QStringLiteral("&scheme=") + scheme + QStringLiteral(".fld/");
}

// /etc/mime.types: a media type first on each line, extensions after it; "#" comments.
QList<Term> mediaTypes(const QString& path) {
    QList<Term> terms;
    QSet<QString> seen;
    for (const QString& line : QString::fromUtf8(readAll(path)).split(QLatin1Char('\n'))) {
        const QString type = line.section(QLatin1Char('#'), 0, 0).simplified().section(QLatin1Char(' '), 0, 0);
        const qsizetype slash = type.indexOf(QLatin1Char('/'));
        // Media types are named in any case: the first spelling is kept.
        if (slash <= 0 || slash == type.size() - 1 || seen.contains(type.toLower())) continue;
        seen.insert(type.toLower());
        terms.append({type.left(slash).toLower(), type, type});
    }
    if (terms.isEmpty()) fail(QStringLiteral("no media types in %1").arg(path));
    return terms;
}

QJsonArray isoTable(const QString& folder, const QString& standard) {
    const QJsonDocument document = QJsonDocument::fromJson(readAll(folder + QStringLiteral("/iso_%1.json").arg(standard)));
    const QJsonArray table = document.object().value(standard).toArray();
    if (table.isEmpty()) fail(QStringLiteral("no entries in iso_%1.json").arg(standard));
    return table;
}

QString field(const QJsonValue& entry, const char* name) {
    return entry.toObject().value(QLatin1String(name)).toString();
}

// Languages by ISO 639: the two-letter codes (RFC 1766), two letters where there are and
// three elsewhere (RFC 3066), or the three-letter codes (ISO 639-2).
QList<Term> languages(const QString& folder, const QString& codes) {
    QList<Term> terms;
    for (const QJsonValue& entry : isoTable(folder, QStringLiteral("639-2"))) {
        const QString two = field(entry, "alpha_2"), three = field(entry, "alpha_3"), name = field(entry, "name");
        // A range reserved for local use is no language.
        if (three.contains(QLatin1Char('-'))) continue;
        QString code = codes == QLatin1String("iso639-1") ? two
                       : codes == QLatin1String("rfc3066") ? (two.isEmpty() ? three : two)
                                                           : three;
        if (code.isEmpty()) continue;
        terms.append({QString(), QStringLiteral("%1 (%2)").arg(name, code), code});
    }
    return terms;
}

QList<Term> countries(const QString& folder) {
    QList<Term> terms;
    for (const QJsonValue& entry : isoTable(folder, QStringLiteral("3166-1"))) {
        const QString code = field(entry, "alpha_2");
        terms.append({QString(), QStringLiteral("%1 (%2)").arg(field(entry, "name"), code), code});
    }
    return terms;
}

// The subdivisions of one country (ISO 3166-2), by name.
QList<Term> subdivisions(const QString& folder, const QString& country) {
    QList<Term> terms;
    for (const QJsonValue& entry : isoTable(folder, QStringLiteral("3166-2"))) {
        const QString name = field(entry, "name");
        if (field(entry, "code").startsWith(country + QLatin1Char('-'))) terms.append({QString(), name, name});
    }
    if (terms.isEmpty()) fail(QStringLiteral("no subdivisions of %1").arg(country));
    return terms;
}

// The list's lines, sorted as the program writes lists: each folder line before its terms.
QByteArray listText(const QList<Term>& terms, const QString& element, const QString& scheme) {
    QStringList lines;
    QSet<QString> folders;
    for (const Term& term : terms) {
        if (!term.folder.isEmpty() && !folders.contains(term.folder)) {
            folders.insert(term.folder);
            lines.append(term.folder + QLatin1Char('|'));
        }
        lines.append(termLine(term, element, scheme));
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

// "path|source|element|scheme", one list a line; sources: media-types, iso639-1, rfc3066,
// iso639-2, iso3166-1, iso3166-2:XX (the names of country XX's subdivisions).
void generate(const QString& manifest, const QString& out, const QString& mimeTypes, const QString& iso) {
    for (const QString& raw : QString::fromUtf8(readAll(manifest)).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const QStringList parts = line.split(QLatin1Char('|'));
        if (parts.size() != 4) fail(QStringLiteral("not path|source|element|scheme: %1").arg(line));
        const QString source = parts.at(1).trimmed();
        QList<Term> terms;
        if (source == QLatin1String("media-types")) terms = mediaTypes(mimeTypes);
        else if (source == QLatin1String("iso639-1") || source == QLatin1String("rfc3066") || source == QLatin1String("iso639-2"))
            terms = languages(iso, source);
        else if (source == QLatin1String("iso3166-1")) terms = countries(iso);
        else if (source.startsWith(QLatin1String("iso3166-2:"))) terms = subdivisions(iso, source.mid(10));
        else fail(QStringLiteral("unknown source %1").arg(source));
        const QString target = out + QLatin1Char('/') + parts.at(0).trimmed();
        if (QFileInfo::exists(target)) fail(QStringLiteral("%1 is both a file of the checkout and generated").arg(parts.at(0)));
        writeAll(target, listText(terms, parts.at(2).trimmed(), parts.at(3).trimmed()));
    }
}

void copyContent(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    const QDir source(from);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = source.relativeFilePath(path);
        if (relative == kManifest) continue;
        writeAll(to + QLatin1Char('/') + relative, readAll(path));
    }
}

// Every path of the bundle, files and folders, relative and sorted.
QStringList bundlePaths(const QString& folder) {
    QStringList paths;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    const QDir top(folder);
    while (it.hasNext()) paths.append(top.relativeFilePath(it.next()));
    std::sort(paths.begin(), paths.end());
    return paths;
}

void checkCase(const QStringList& paths) {
    QHash<QString, QString> seen;
    QStringList clashes;
    for (const QString& path : paths) {
        const QString key = path.toLower();
        if (seen.contains(key)) clashes.append(seen.value(key) + QStringLiteral(" and ") + path);
        seen.insert(key, path);
    }
    if (!clashes.isEmpty())
        fail(QStringLiteral("bundle paths that differ only in case: %1").arg(clashes.join(QStringLiteral("; "))));
}

QByteArray stampOf(const QString& folder, const QStringList& paths) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& path : paths) {
        const QString full = folder + QLatin1Char('/') + path;
        if (!QFileInfo(full).isFile()) continue;
        hash.addData(path.toUtf8());
        hash.addData(QByteArray(1, '\0'));
        hash.addData(readAll(full));
        hash.addData(QByteArray(1, '\0'));
    }
    return hash.result().toHex();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: make_bundle <schemes folder> <bundle folder> <mime.types> <iso-codes json folder>\n");
        return 2;
    }
    const QString from = QDir(args.at(1)).absolutePath(), to = QDir(args.at(2)).absolutePath();
    try {
        // Made afresh, so a file removed from the checkout leaves the bundle too.
        QDir(to).removeRecursively();
        if (!QDir().mkpath(to)) fail(QStringLiteral("cannot make %1").arg(to));
        copyContent(from, to);
        generate(from + QLatin1Char('/') + kManifest, to, args.at(3), args.at(4));
        const QStringList paths = bundlePaths(to);
        checkCase(paths);
        writeAll(to + QStringLiteral("/bundle.stamp"), stampOf(to, paths) + "\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_bundle: %s\n", e.what());
        // No half-made bundle stays behind to pass for a whole one.
        QDir(to).removeRecursively();
        return 1;
    }
    return 0;
}
