#include "layers/LayerCheck.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>

namespace layerCheck {

namespace {

struct Place {
    int layer = -1;   // 0 platform, 1 core, 2 platform's widgets, 3 gui, 4 the program
    int folder = 0;   // the folder's place in its layer's order
};

Place placeOf(const QString& path) {
    // The context holds the record and the list trees: their folders come before it.
    static const QStringList core = {QStringLiteral("record"), QStringLiteral("catalogues"), QStringLiteral("program"),
                                     QStringLiteral("domains"), QStringLiteral("commands")};
    // The panes ask the window through the frame's interface, so it comes first in gui; the
    // wait dialog and the macro editor need no pane and serve the list loads and the menus.
    static const QStringList gui = {QStringLiteral("frame"), QStringLiteral("commands"), QStringLiteral("domains"),
                                    QStringLiteral("record"), QStringLiteral("catalogues"), QStringLiteral("app")};
    // Platform's widgets implement core's interfaces (the user's dialogs), so they come after
    // core; the browser adapter builds on the browser interface among them.
    static const QStringList platformWidgets = {QStringLiteral("widgets"), QStringLiteral("webengine")};
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() == 2 && parts.first() == QLatin1String("platform")) return {0, 0};
    if (parts.size() >= 3 && parts.first() == QLatin1String("core")) return {1, int(core.indexOf(parts.at(1)))};
    if (parts.size() >= 3 && parts.first() == QLatin1String("platform"))
        return {2, int(platformWidgets.indexOf(parts.at(1)))};
    if (parts.size() >= 3 && parts.first() == QLatin1String("gui")) return {3, int(gui.indexOf(parts.at(1)))};
    if (parts.size() == 1) return {4, 0};
    return {};
}

bool isAbove(Place to, Place from) {
    return to.layer > from.layer || (to.layer == from.layer && to.folder > from.folder);
}

// Where neither Qt Gui nor Widgets may be read or named: the widget-free platform and core.
bool isWidgetFree(Place place) {
    return place.layer == 0 || place.layer == 1;
}

QString widgetFreeBreach(Place place) {
    return place.layer == 0 ? QStringLiteral("Qt Gui or Widgets in the widget-free platform: ")
                            : QStringLiteral("Qt Gui or Widgets in core: ");
}

bool isGuiModule(const QString& module) {
    return module == QLatin1String("QtGui") || module == QLatin1String("QtWidgets") ||
           module == QLatin1String("QtPrintSupport");
}

// The dependencies of a make rule as a compiler writes them: "target: dep dep \<newline> dep",
// blanks in names escaped with "\". The first rule only.
QStringList ruleDependencies(const QByteArray& text) {
    QStringList deps;
    const qsizetype colon = text.indexOf(": ");
    if (colon < 0) return deps;
    QByteArray current;
    const auto flush = [&] {
        if (!current.isEmpty()) deps.append(QString::fromUtf8(current));
        current.clear();
    };
    const auto isBreak = [](char c) { return c == '\n' || c == '\r'; };
    for (qsizetype i = colon + 2; i < text.size(); ++i) {
        const char c = text.at(i);
        const char next = i + 1 < text.size() ? text.at(i + 1) : '\0';
        if (c == '\\' && isBreak(next)) {
            while (i + 1 < text.size() && isBreak(text.at(i + 1))) ++i;
            flush();
        } else if (c == '\\' && next == ' ') {
            current += ' ';
            ++i;
        } else if (isBreak(c)) {
            break;  // the rule ends
        } else if (c == ' ' || c == '\t') {
            flush();
        } else {
            current += c;
        }
    }
    flush();
    return deps;
}

// The text with comments and the insides of string and character literals taken out: what
// is left are the names the code uses.
QString codeOnly(const QString& text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < n ? text.at(i + 1) : QChar();
        if (c == QLatin1Char('/') && next == QLatin1Char('/')) {
            while (i < n && text.at(i) != QLatin1Char('\n')) ++i;
            out += QLatin1Char('\n');
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = text.indexOf(QLatin1StringView("*/"), i + 2);
            i = end < 0 ? n : end + 1;
            out += QLatin1Char(' ');
        } else if (c == QLatin1Char('R') && next == QLatin1Char('"') &&
                   (i == 0 || !(text.at(i - 1).isLetterOrNumber() || text.at(i - 1) == QLatin1Char('_')))) {
            const qsizetype open = text.indexOf(QLatin1Char('('), i + 2);
            if (open < 0) break;
            const QString close = QLatin1Char(')') + text.mid(i + 2, open - i - 2) + QLatin1Char('"');
            const qsizetype end = text.indexOf(close, open + 1);
            i = end < 0 ? n : end + close.size() - 1;
            out += QLatin1StringView("\"\"");
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            qsizetype j = i + 1;
            while (j < n && text.at(j) != c && text.at(j) != QLatin1Char('\n')) j += text.at(j) == QLatin1Char('\\') ? 2 : 1;
            i = std::min(j, n - 1);
            out += c;
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

Sources readSources(const QString& folder) {
    Sources sources;
    QDirIterator it(folder, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) continue;
        sources.insert(file.mid(folder.size() + 1), QString::fromUtf8(f.readAll()));
    }
    return sources;
}

Build readBuild(const QString& buildDir, const QStringList& targets, const QString& sourceFolder,
                const QString& unitsFolder) {
    const QDir base(buildDir);
    const QString sources = QDir::cleanPath(base.absoluteFilePath(sourceFolder)) + QLatin1Char('/');
    const QString units = QDir::cleanPath(base.absoluteFilePath(unitsFolder)) + QLatin1Char('/');
    static const QRegularExpression module(QStringLiteral("/(Qt[A-Za-z0-9]+)/([^/]+)$"));
    Build build;
    for (const QString& target : targets) {
        QDirIterator it(base.filePath(QStringLiteral("CMakeFiles/%1.dir").arg(target)), {QStringLiteral("*.o.d")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly)) continue;
            const QStringList deps = ruleDependencies(file.readAll());
            if (deps.isEmpty()) continue;
            const auto resolved = [&](const QString& dep) { return QDir::cleanPath(base.absoluteFilePath(dep)); };
            const QString unit = resolved(deps.first());
            QString of;
            if (unit.startsWith(units) && unit.endsWith(QLatin1String(".cpp")))
                of = unit.mid(units.size()).chopped(4);
            else if (unit.startsWith(sources))
                of = unit.mid(sources.size());
            else
                continue;  // generated code (moc), not a file of ours
            Reached& reached = build[of];
            for (const QString& dep : deps.mid(1)) {
                const QString path = resolved(dep);
                if (path.startsWith(sources)) {
                    reached.files.insert(path.mid(sources.size()));
                } else if (const auto m = module.match(path); m.hasMatch()) {
                    reached.qtModules.insert(m.captured(1));
                    if (reached.firstGuiHeader.isEmpty() && isGuiModule(m.captured(1)))
                        reached.firstGuiHeader = m.captured(1) + QLatin1Char('/') + m.captured(2);
                }
            }
            reached.files.remove(of);
        }
    }
    return build;
}

QSet<QString> guiClassNames(const QString& qtHeaders) {
    QSet<QString> names;
    for (const char* module : {"QtGui", "QtWidgets", "QtPrintSupport"}) {
        names.insert(QLatin1String(module));
        const QDir dir(QDir(qtHeaders).filePath(QLatin1String(module)));
        for (const QString& header : dir.entryList(QDir::Files))
            if (header.startsWith(QLatin1Char('Q')) && !header.contains(QLatin1Char('.'))) names.insert(header);
    }
    return names;
}

QStringList violations(const Sources& sources, const Build& build, const QSet<QString>& guiClasses) {
    QStringList found;
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        const Place place = placeOf(it.key());
        if (place.layer < 0 || place.folder < 0) found << QStringLiteral("outside the layers' folders: ") + it.key();
        if (!build.contains(it.key()))
            found << QStringLiteral("not compiled (no dependency file): ") + it.key();
    }
    const auto reaches = [&](const QString& from, const QString& to) {
        const auto it = build.constFind(from);
        return it != build.cend() && it->files.contains(to);
    };
    const auto readsGui = [&](const QString& file) {
        const auto it = build.constFind(file);
        return it != build.cend() && !it->firstGuiHeader.isEmpty();
    };
    for (auto it = build.cbegin(); it != build.cend(); ++it) {
        const QString& file = it.key();
        if (!sources.contains(file)) continue;  // left from a build before the file moved or went
        const Place from = placeOf(file);
        if (from.layer < 0 || from.folder < 0) continue;
        for (const QString& to : it->files) {
            if (reaches(to, file)) {
                // A cycle: named once, by its files in order.
                QStringList members = {file};
                for (const QString& other : it->files)
                    if (reaches(other, file)) members.append(other);
                members.sort();
                if (members.first() == file)
                    found << QStringLiteral("cycle: ") + (members << file).join(QStringLiteral(" -> "));
                continue;
            }
            if (!isAbove(placeOf(to), from)) continue;
            // Blamed on the include the graph needs: none of the files it reaches on the way
            // (outside a cycle with `to`) reaches `to` itself.
            const bool throughAnother = std::any_of(it->files.cbegin(), it->files.cend(), [&](const QString& via) {
                return via != to && reaches(via, to) && !reaches(to, via);
            });
            if (!throughAnother) found << QStringLiteral("upward include: %1 -> %2").arg(file, to);
        }
        if (!isWidgetFree(from)) continue;
        if (readsGui(file)) {
            const bool throughAnother = std::any_of(it->files.cbegin(), it->files.cend(), [&](const QString& via) {
                return isWidgetFree(placeOf(via)) && readsGui(via);
            });
            if (!throughAnother)
                found << widgetFreeBreach(from) + QStringLiteral("%1 includes <%2>").arg(file, it->firstGuiHeader);
        }
    }
    static const QRegularExpression name(QStringLiteral(R"(\bQ[A-Za-z0-9_]+\b)"));
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        const Place place = placeOf(it.key());
        if (!isWidgetFree(place)) continue;
        QSet<QString> named;
        for (auto m = name.globalMatch(codeOnly(it.value())); m.hasNext();) {
            const QString word = m.next().captured();
            if (guiClasses.contains(word) && !named.contains(word)) {
                named.insert(word);
                found << widgetFreeBreach(place) + QStringLiteral("%1 names %2").arg(it.key(), word);
            }
        }
    }
    found.sort();
    found.removeDuplicates();
    return found;
}

QStringList partBreaches(const Sources& sources, const Build& build, const QList<Part>& parts,
                         const QStringList& composers) {
    const auto partWithFile = [&](const QString& file) -> const Part* {
        for (const Part& part : parts)
            for (const QString& prefix : part.files)
                if (file.startsWith(prefix)) return &part;
        return nullptr;
    };
    const auto partWithHeader = [&](const QString& file) -> const Part* {
        for (const Part& part : parts)
            if (part.headers.contains(file)) return &part;
        return nullptr;
    };
    const auto reaches = [&](const QString& from, const QString& to) {
        const auto it = build.constFind(from);
        return it != build.cend() && it->files.contains(to);
    };
    QStringList found;
    for (auto it = build.cbegin(); it != build.cend(); ++it) {
        const QString& file = it.key();
        if (!sources.contains(file) || composers.contains(file)) continue;
        const Part* own = partWithFile(file);
        for (const QString& to : it->files) {
            const Part* part = partWithHeader(to);
            if (!part || part == own) continue;
            const bool throughAnother = std::any_of(it->files.cbegin(), it->files.cend(), [&](const QString& via) {
                return via != to && reaches(via, to) && !reaches(to, via);
            });
            if (!throughAnother) found << QStringLiteral("%1 reaches %2 of the %3").arg(file, to, part->name);
        }
    }
    found.sort();
    return found;
}

namespace {

// The lines nm writes for a file with these options; none when it fails.
QStringList nmLines(const QStringList& options, const QString& file) {
    QProcess nm;
    nm.start(QStringLiteral("nm"), options + QStringList{file});
    if (!nm.waitForFinished(60000) || nm.exitStatus() != QProcess::NormalExit || nm.exitCode() != 0) return {};
    return QString::fromUtf8(nm.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace

QSet<QString> undefinedSymbols(const QString& archive) {
    QSet<QString> names;
    // "U name" lines, under a "member.o:" line for each object of the archive.
    for (const QString& line : nmLines({QStringLiteral("-u")}, archive)) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        if (fields.size() == 2 && fields.first() == QLatin1String("U")) names.insert(fields.last());
    }
    return names;
}

QSet<QString> definedSymbols(const QString& sharedLibrary) {
    QSet<QString> names;
    // "address type name": code, data and read-only data; not the version nodes ("A").
    for (const QString& line : nmLines({QStringLiteral("-D"), QStringLiteral("--defined-only")}, sharedLibrary)) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        if (fields.size() == 3 && QStringLiteral("TDBRWV").contains(fields.at(1).toUpper()))
            names.insert(fields.last().section(QLatin1Char('@'), 0, 0));
    }
    return names;
}

}  // namespace layerCheck
