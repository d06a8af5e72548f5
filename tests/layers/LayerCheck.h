#pragma once
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// The layers of the sources: the widget-free platform, then core (neither with Qt Gui or
// Widgets), then platform's widgets (platform/widgets, then the browser adapter
// platform/webengine), then gui, then the program's main; inside core the folders record,
// catalogues, program, domains, commands, inside gui frame, commands, domains, record,
// catalogues, app, each depending only on those before it. What a file includes is what the compiler read for it: the build's dependency
// files, every header compiled on its own as well as every source.
namespace layerCheck {

// The texts of the source files, by their path under the source folder ("core/record/Record.h").
using Sources = QMap<QString, QString>;

// What the compiler read for each file it compiled, by the file's path under the source
// folder: the other files of the source folder, and the Qt modules whose headers it read
// ("QtGui", "QtWidgets", ...).
struct Reached {
    QSet<QString> files;
    QSet<QString> qtModules;
    QString firstGuiHeader;  // the first header of Qt Gui, Widgets or PrintSupport read, as written
};
using Build = QMap<QString, Reached>;

// The files under a folder (src/), read as the check reads them.
Sources readSources(const QString& folder);

// The dependency files the build wrote for these targets (object files' ".o.d" under
// <buildDir>/CMakeFiles/<target>.dir), read for the files of `sourceFolder`. A header is
// compiled on its own from a one-line unit under `unitsFolder` named after it
// ("<unitsFolder>/core/record/Record.h.cpp").
Build readBuild(const QString& buildDir, const QStringList& targets, const QString& sourceFolder,
                const QString& unitsFolder);

// The class names of Qt's Gui, Widgets and PrintSupport modules, as their headers name them
// (the headers' folder: QLibraryInfo's HeadersPath).
QSet<QString> guiClassNames(const QString& qtHeaders);

// Every breach, one line each: a file reaching a higher layer or a later folder, Qt Gui or
// Widgets read or named in core or the widget-free platform, a cycle of includes, a file
// outside the layers' folders, a file the build has no dependency file for. Empty when the
// sources keep their layers.
QStringList violations(const Sources& sources, const Build& build, const QSet<QString>& guiClasses);

// A part of the main window with classes of its own: a pane, or a menu's handlers. Its headers
// (`headers`, paths under the source folder) are read only by its own files (those whose paths
// start with one of `files`) and by the files where the window is composed; every other file
// asks the part through the small interfaces it offers in gui/frame.
struct Part {
    QString name;
    QStringList headers;
    QStringList files;
};

// Every file that reads a part's header without being that part's or a composing file, one
// line each: "<file> reaches <header> of the <part>". Blamed on the include that brings the
// header in, as violations() blames an upward include.
QStringList partBreaches(const Sources& sources, const Build& build, const QList<Part>& parts,
                         const QStringList& composers);

// What an archive's objects need from elsewhere (nm -u), and what a shared library offers
// (nm -D: its code and data); empty when nm cannot read the file.
QSet<QString> undefinedSymbols(const QString& archive);
QSet<QString> definedSymbols(const QString& sharedLibrary);

}  // namespace layerCheck
