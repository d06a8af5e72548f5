#include "layers/LayerCheck.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <functional>

namespace layerCheck {

namespace {

struct Place {
    int layer = -1;   // 0 platform, 1 core, 2 gui, 3 the program
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
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.first() == QLatin1String("platform")) return {0, 0};
    if (parts.size() >= 3 && parts.first() == QLatin1String("core")) return {1, int(core.indexOf(parts.at(1)))};
    if (parts.size() >= 3 && parts.first() == QLatin1String("gui")) return {2, int(gui.indexOf(parts.at(1)))};
    if (parts.size() == 1) return {3, 0};
    return {};
}

// Qt's widget classes (QtWidgets): none of them belongs in core.
bool isWidgetClass(const QString& name) {
    static const QSet<QString> widgets = {
        QStringLiteral("QWidget"), QStringLiteral("QDialog"), QStringLiteral("QMainWindow"),
        QStringLiteral("QMenu"), QStringLiteral("QMenuBar"), QStringLiteral("QApplication"),
        QStringLiteral("QLineEdit"), QStringLiteral("QComboBox"), QStringLiteral("QPushButton"),
        QStringLiteral("QLabel"), QStringLiteral("QTreeView"), QStringLiteral("QListWidget"),
        QStringLiteral("QCheckBox"), QStringLiteral("QGroupBox"), QStringLiteral("QMessageBox"),
        QStringLiteral("QToolBar"), QStringLiteral("QTextEdit"), QStringLiteral("QPlainTextEdit"),
        QStringLiteral("QRadioButton"), QStringLiteral("QSpinBox"), QStringLiteral("QHBoxLayout"),
        QStringLiteral("QVBoxLayout"), QStringLiteral("QGridLayout"), QStringLiteral("QFrame"),
        QStringLiteral("QSplitter"), QStringLiteral("QAbstractButton"), QStringLiteral("QToolButton"),
        QStringLiteral("QStyle"), QStringLiteral("QScrollBar"), QStringLiteral("QHeaderView"),
        QStringLiteral("QTreeWidget"), QStringLiteral("QTableView"), QStringLiteral("QFileDialog"),
        QStringLiteral("QInputDialog"), QStringLiteral("QProgressBar"), QStringLiteral("QToolTip"),
        QStringLiteral("QStatusBar"), QStringLiteral("QTabWidget"), QStringLiteral("QStackedWidget"),
        QStringLiteral("QAbstractItemView"), QStringLiteral("QStyledItemDelegate"), QStringLiteral("QScrollArea"),
        QStringLiteral("QLayout"), QStringLiteral("QBoxLayout"), QStringLiteral("QDialogButtonBox"),
        QStringLiteral("QButtonGroup"), QStringLiteral("QTextBrowser"), QStringLiteral("QListView"),
        QStringLiteral("QAbstractScrollArea"), QStringLiteral("QSizePolicy"), QStringLiteral("QWidgetAction")};
    return widgets.contains(name);
}

}  // namespace

QStringList violations(const Sources& sources) {
    static const QRegularExpression quoted(QStringLiteral(R"re(^\s*#\s*include\s+"([^"]+)")re"),
                                           QRegularExpression::MultilineOption);
    static const QRegularExpression angled(QStringLiteral(R"re(^\s*#\s*include\s+<(Q\w+)>)re"),
                                           QRegularExpression::MultilineOption);
    static const QRegularExpression widgetsModule(QStringLiteral(R"re(^\s*#\s*include\s+<(QtWidgets(?:/\w+)?)>)re"),
                                                  QRegularExpression::MultilineOption);
    static const QRegularExpression declared(QStringLiteral(R"re(^\s*class\s+(Q\w+)\s*;)re"),
                                             QRegularExpression::MultilineOption);
    QStringList found;
    QMap<QString, QStringList> edges;
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        const QString& file = it.key();
        const Place from = placeOf(file);
        if (from.layer < 0 || from.folder < 0) {
            found << QStringLiteral("outside the layers' folders: ") + file;
            continue;
        }
        for (auto m = quoted.globalMatch(it.value()); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (!sources.contains(target)) continue;  // not one of ours (tests' own, Qt's)
            edges[file].append(target);
            const Place to = placeOf(target);
            if (to.layer > from.layer || (to.layer == from.layer && to.folder > from.folder))
                found << QStringLiteral("upward include: %1 -> %2").arg(file, target);
        }
        if (from.layer != 1) continue;
        for (auto m = angled.globalMatch(it.value()); m.hasNext();) {
            const QString name = m.next().captured(1);
            if (isWidgetClass(name)) found << QStringLiteral("widget in core: %1 includes <%2>").arg(file, name);
        }
        for (auto m = widgetsModule.globalMatch(it.value()); m.hasNext();)
            found << QStringLiteral("widget in core: %1 includes <%2>").arg(file, m.next().captured(1));
        for (auto m = declared.globalMatch(it.value()); m.hasNext();) {
            const QString name = m.next().captured(1);
            if (isWidgetClass(name)) found << QStringLiteral("widget in core: %1 declares %2").arg(file, name);
        }
    }
    // Cycles: the files on a path of includes that comes back to where it started.
    QMap<QString, int> state;  // 1 on the path, 2 done
    QStringList path;
    std::function<void(const QString&)> walk = [&](const QString& file) {
        state[file] = 1;
        path.append(file);
        for (const QString& next : edges.value(file)) {
            if (state.value(next) == 1) {
                found << QStringLiteral("cycle: ") + (path.mid(int(path.indexOf(next))) << next).join(QStringLiteral(" -> "));
            } else if (state.value(next) == 0) {
                walk(next);
            }
        }
        path.removeLast();
        state[file] = 2;
    };
    for (auto it = sources.cbegin(); it != sources.cend(); ++it)
        if (state.value(it.key()) == 0) walk(it.key());
    found.sort();
    found.removeDuplicates();
    return found;
}

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

}  // namespace layerCheck
