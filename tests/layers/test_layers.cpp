// The layers of the sources, checked from what the compiler read for every source and header,
// and from the names core uses.
#include "layers/LayerCheck.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList violationsIn(const QString& sourceFolder, const QStringList& targets, const QString& units) {
    const QString build = QStringLiteral(QUORVANTIL_BUILD_DIR);
    return layerCheck::violations(layerCheck::readSources(sourceFolder),
                                  layerCheck::readBuild(build, targets, sourceFolder, build + units),
                                  layerCheck::guiClassNames(QLibraryInfo::path(QLibraryInfo::HeadersPath)));
}

layerCheck::Build buildOf(const QString& sourceFolder, const QStringList& targets, const QString& units) {
    const QString build = QStringLiteral(QUORVANTIL_BUILD_DIR);
    return layerCheck::readBuild(build, targets, sourceFolder, build + units);
}

// The main window's panes and menus' handlers, each with the headers of its own classes and
// the files that are its own; only the window's composition (Form1) and the start-up take them
// whole.
const QList<layerCheck::Part> kWindowParts = {
    {u"record pane"_s,
     {u"gui/record/RecordPane.h"_s, u"gui/record/RecordNeighbours.h"_s, u"gui/record/MetaPanelEvents.h"_s,
      u"gui/record/RecordEditPanel.h"_s, u"gui/record/EditPanelContent.h"_s, u"gui/record/SchemeValues.h"_s,
      u"gui/record/EditGuards.h"_s, u"gui/record/EditPanelControls.h"_s, u"gui/record/PageLoading.h"_s,
      u"gui/record/RecordSaving.h"_s},
     {u"gui/record/"_s}},
    {u"hierarchy pane"_s,
     {u"gui/catalogues/TreePane.h"_s, u"gui/catalogues/TreeNeighbours.h"_s, u"gui/catalogues/TreeViews.h"_s,
      u"gui/catalogues/TreeDocument.h"_s, u"gui/catalogues/TreeMenu.h"_s, u"gui/catalogues/TreePaneEvents.h"_s,
      u"gui/catalogues/TreeEntries.h"_s},
     {u"gui/catalogues/"_s}},
    {u"navigation pane"_s,
     {u"gui/app/NavigationPane.h"_s, u"gui/app/NavigationNeighbours.h"_s, u"gui/app/NavigationToolbar.h"_s,
      u"gui/app/AddressBox.h"_s, u"gui/app/BrowserPanel.h"_s, u"gui/app/NavigationHub.h"_s},
     {u"gui/app/NavigationPane"_s, u"gui/app/NavigationHub"_s, u"gui/app/AddressBox"_s, u"gui/app/NavigationToolbar"_s,
      u"gui/app/BrowserPanel"_s}},
    {u"File menu"_s,
     {u"gui/app/FileMenu.h"_s},
     {u"gui/app/FileMenu"_s, u"gui/app/FileNew"_s, u"gui/app/FileSave"_s, u"gui/app/OpenFiles"_s,
      u"gui/app/DocumentViews"_s}},
    {u"Edit menu"_s, {u"gui/app/EditMenu.h"_s}, {u"gui/app/EditMenu"_s}},
    {u"View menu"_s, {u"gui/app/ViewMenu.h"_s}, {u"gui/app/ViewMenu"_s}},
    {u"Help menu"_s, {u"gui/app/HelpMenu.h"_s}, {u"gui/app/HelpMenu"_s}},
    {u"Macros menu"_s, {u"gui/app/MacrosMenu.h"_s}, {u"gui/app/MacrosMenu"_s}},
};

TEST(Layers, TheSourcesKeepTheirLayers) {
    const QString src = QStringLiteral(QUORVANTIL_SOURCE_DIR "/src");
    ASSERT_GT(layerCheck::readSources(src).size(), 100);
    const QStringList targets = {u"quorvantile_platform"_s,      u"quorvantile_core"_s,
                                 u"quorvantile_platform_widgets"_s, u"quorvantile_gui"_s,
                                 u"quorvantile_webengine"_s,     u"quorvantile_header_units"_s,
                                 u"quorvantile"_s};
    EXPECT_EQ(violationsIn(src, targets, u"/layer_units/src"_s).join(u'\n').toStdString(), "");
}

// No pane, menu handler or other part of the window reads the classes of a pane or of a menu's
// handlers: each asks them through their interfaces, and only the composition takes them whole.
TEST(Layers, PanesAndMenusMeetOnlyThroughTheirInterfaces) {
    const QString src = QStringLiteral(QUORVANTIL_SOURCE_DIR "/src");
    const QStringList targets = {u"quorvantile_gui"_s, u"quorvantile_header_units"_s, u"quorvantile"_s};
    const layerCheck::Build build = buildOf(src, targets, u"/layer_units/src"_s);
    for (const layerCheck::Part& part : kWindowParts)
        for (const QString& header : part.headers) EXPECT_TRUE(build.contains(header)) << header.toStdString();
    const QStringList composers = {u"gui/app/Form1.cpp"_s, u"gui/app/modMetaMain.cpp"_s};
    EXPECT_EQ(layerCheck::partBreaches(layerCheck::readSources(src), build, kWindowParts, composers)
                  .join(u'\n')
                  .toStdString(),
              "");
}

TEST(Layers, APaneReadFromOutsideItIsFound) {
    const QString folder = QStringLiteral(QUORVANTIL_SOURCE_DIR "/tests/layers/breaches/src");
    const layerCheck::Build build = buildOf(folder, {u"layer_breaches"_s, u"layer_breach_units"_s}, u"/layer_units/breaches"_s);
    const QList<layerCheck::Part> parts = {{u"record pane"_s, {u"gui/record/Pane.h"_s}, {u"gui/record/"_s}},
                                           {u"tree pane"_s, {u"gui/catalogues/Tree.h"_s}, {u"gui/catalogues/"_s}},
                                           {u"navigation pane"_s, {}, {u"gui/app/Hub"_s}},
                                           {u"Some menu"_s, {u"gui/app/Menu.h"_s}, {u"gui/app/Menu"_s}}};
    const QStringList found = layerCheck::partBreaches(layerCheck::readSources(folder), build, parts, {u"gui/app/Form.cpp"_s});
    // Another pane's header, a menu's from a pane, a pane's from a file outside the panes; the
    // file that only reaches it through a header of its own is not blamed, nor the composition.
    EXPECT_EQ(found.join(u'\n').toStdString(), QStringList({u"gui/app/Hub.cpp reaches gui/app/Menu.h of the Some menu"_s,
                                                             u"gui/app/Layout.cpp reaches gui/record/Pane.h of the record pane"_s,
                                                             u"gui/catalogues/Tree.h reaches gui/record/Pane.h of the record pane"_s})
                                                    .join(u'\n')
                                                    .toStdString());
}

TEST(Layers, EveryKindOfBreachIsFound) {
    const QStringList found = violationsIn(QStringLiteral(QUORVANTIL_SOURCE_DIR "/tests/layers/breaches/src"),
                                           {u"layer_breaches"_s, u"layer_breach_units"_s}, u"/layer_units/breaches"_s);
    const QStringList expected = {
        // includes that go up, however they are written
        u"upward include: core/record/Relative.cpp -> gui/frame/Frame.h"_s,
        u"upward include: core/record/Angled.cpp -> gui/app/Form.h"_s,
        u"upward include: core/record/Up.cpp -> gui/frame/Frame.h"_s,
        u"upward include: platform/Reach.cpp -> core/program/Context.h"_s,
        u"upward include: core/record/Line.h -> core/program/Context.h"_s,
        u"upward include: gui/frame/Editor.h -> gui/app/Form.h"_s,
        u"upward include: gui/app/Late.h -> Program.h"_s,
        u"upward include: core/program/Ask.cpp -> platform/widgets/Box.h"_s,
        u"upward include: platform/Prompt.h -> platform/widgets/Box.h"_s,
        u"upward include: platform/widgets/Late.h -> gui/app/Form.h"_s,
        // Qt Gui and Widgets in core, read or named
        u"Qt Gui or Widgets in core: core/record/Colour.cpp includes <QtGui/QColor>"_s,
        u"Qt Gui or Widgets in core: core/domains/Box.cpp includes <QtWidgets/QPushButton>"_s,
        u"Qt Gui or Widgets in core: core/domains/Combo.cpp includes <QtWidgets/QComboBox>"_s,
        u"Qt Gui or Widgets in core: core/record/Elaborated.h names QWidget"_s,
        u"Qt Gui or Widgets in core: core/record/Forward.h names QTableWidget"_s,
        u"Qt Gui or Widgets in core: core/record/Macro.h names QMainWindow"_s,
        u"Qt Gui or Widgets in core: core/domains/Rules.h names QDialog"_s,
        // and in the widget-free platform
        u"Qt Gui or Widgets in the widget-free platform: platform/Cursor.cpp includes <QtGui/QCursor>"_s,
        u"Qt Gui or Widgets in the widget-free platform: platform/Paint.h names QPainter"_s,
        // and the rest
        u"cycle: core/domains/A.h -> core/domains/B.h -> core/domains/A.h"_s,
        u"outside the layers' folders: core/tools/Helper.h"_s,
        u"not compiled (no dependency file): core/record/Orphan.cpp"_s,
    };
    for (const QString& breach : expected) EXPECT_TRUE(found.contains(breach)) << breach.toStdString();
    // Nothing is blamed on the files that keep their layers.
    const QStringList clean = {u"platform/Files.h"_s, u"core/record/Record.h"_s, u"core/program/Context.h"_s,
                               u"platform/widgets/Box.h"_s, u"gui/frame/Frame.h"_s, u"gui/app/Form.h"_s,
                               u"Program.h"_s,         u"main.cpp"_s};
    for (const QString& line : found) {
        const QString blamed = line.section(u": "_s, 1).section(u' ', 0, 0);
        EXPECT_FALSE(clean.contains(blamed)) << line.toStdString();
    }
}

// Core and the widget-free platform link Qt Core and Network only: their archives need no
// symbol of Qt Gui, Widgets or PrintSupport, and the core test programs link none of those
// libraries, nor a library of ours that brings them.
TEST(Layers, CoreAndTheWidgetFreePlatformLinkNoWidgetLibrary) {
    QSet<QString> widgetSymbols;
    for (const QString& library : QStringLiteral(QUORVANTIL_QT_WIDGET_LIBRARIES).split(u',')) {
        const QSet<QString> offered = layerCheck::definedSymbols(library);
        ASSERT_GT(offered.size(), 100) << "nm read no symbols of " << library.toStdString();
        widgetSymbols += offered;
    }
    for (const QString& archive : QStringLiteral(QUORVANTIL_WIDGET_FREE_ARCHIVES).split(u',')) {
        const QSet<QString> needed = layerCheck::undefinedSymbols(archive);
        ASSERT_GT(needed.size(), 100) << "nm read no symbols of " << archive.toStdString();
        QStringList reached = (needed & widgetSymbols).values();
        reached.sort();
        EXPECT_EQ(reached.join(u'\n').toStdString(), "") << archive.toStdString() << " needs " << reached.size()
                                                          << " symbols of Qt Gui, Widgets or PrintSupport";
    }
    // One program for each folder of core's tests.
    const QStringList programs = QStringLiteral(QUORVANTIL_CORE_TEST_PROGRAMS).split(u',');
    const QStringList folders = QDir(QStringLiteral(QUORVANTIL_SOURCE_DIR "/tests/core")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(programs.size(), folders.size()) << programs.join(u' ').toStdString();
    for (const QString& program : programs) {
        QFile file(QStringLiteral(QUORVANTIL_BUILD_DIR "/CMakeFiles/%1.dir/link.txt").arg(program));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QByteArray link = file.readAll();
        for (const char* wanted : {"libquorvantile_core.a", "libquorvantile_platform.a", "libquorvantile_coretestsupport.a"})
            EXPECT_TRUE(link.contains(wanted)) << program.toStdString() << " does not link " << wanted;
        for (const char* banned : {"Qt6Gui", "Qt6Widgets", "Qt6PrintSupport", "Qt6OpenGL", "quorvantile_gui",
                                   "quorvantile_platform_widgets", "quorvantile_webengine", "quorvantile_testsupport"})
            EXPECT_FALSE(link.contains(banned)) << program.toStdString() << " links " << banned;
    }
}

}  // namespace
