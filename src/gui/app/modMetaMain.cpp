#include "gui/app/modMetaMain.h"

#include "gui/app/Form1.h"
#include "gui/frame/Navigation.h"
#include "gui/frame/WindowFrame.h"
#include "core/program/modFileExists.h"
#include "core/program/modRegistry.h"
#include "core/commands/ListLoading.h"
#include "core/commands/modMTP.h"
#include "core/domains/SchemeHosts.h"
#include "gui/domains/frmStartup.h"
#include "core/domains/modSchemas.h"
#include "gui/app/HelpMenu.h"
#include "platform/Folders.h"
#include "platform/PathText.h"
#include "platform/SchemeBundle.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>

namespace modMetaMain {

void serveOwnHosts() {
    platform::SchemeBundle::serve(SchemeHosts::ownHosts(), platform::SchemeBundle::installedFolder());
}

void createCacheDirs() {
    const QString root = platform::programDataFolder();
    for (const char* folder : {"/cache/", "/cache/indexes", "/cache/schema", "/cache/schemes", "/schemes"})
        modFileExists::makeSurePathExists(root + QLatin1String(folder));
}

QString listBaseName(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = platform::lastPathSeparator(path);
    if (dot < 0 || slash < 0) return QString();
    // A dot only in a folder name: the file has no extension, so its whole name is the base.
    if (dot < slash) return path.mid(slash + 1);
    return path.mid(slash + 1, dot - slash - 1);
}

// A file named relative to the folder the program started in, as a path from the root: it is
// read, shown and saved beside as any other local file.
QString commandLineFile(const QString& commandLine) {
    const QFileInfo file(commandLine);
    if (commandLine.isEmpty() || commandLine.contains(QLatin1String("://")) || file.isAbsolute() || !file.exists())
        return commandLine;
    return file.absoluteFilePath();
}

QMainWindow* newMainWindow(ProgramContext& context, platform::ModalRuns& runs) {
    return new Form1(context, runs);
}

QMainWindow* openMainWindow(ProgramContext& context, platform::ModalRuns& runs) {
    auto* form = new Form1(context, runs);
    form->Form_Load();
    return form;
}

QMainWindow* Main(ProgramContext& context, platform::ModalRuns& runs, const QString& given) {
    const QString commandLine = commandLineFile(given);
    serveOwnHosts();
    context.schemeServer = SchemeHosts::defaultSchemeServer();
    context.commands.macroRunning = false;

    createCacheDirs();
    modMTP::forgetListsOfAnotherBundle();

    auto* form = new Form1(context, runs);
    form->Form_Load();
    form->show();
    form->frame().relayout();
    Navigation& navigation = form->navigation();

    if (commandLine.isEmpty()) {
        modMTP::runMtpCommand(context, QStringLiteral("mtp://startlogging.kqb"));
        navigation.GoHome();
        // A new user (no domain stored) chooses one; the tutorial asked for there replaces the home page.
        if (context.domain.defaultSchema.isEmpty()) {
            HelpMenu& help = form->helpMenu();
            frmStartup::chooseFirstDomain(form, context, runs, [&help] { help.mnuHelpTutorial_Click(); });
        }
        if (context.preferences.showSplash.isY()) form->helpMenu().showAboutBox();
    } else if (commandLine.contains(QLatin1String("http://"), Qt::CaseInsensitive) ||
               commandLine.contains(QLatin1String("https://"), Qt::CaseInsensitive)) {
        navigation.openAddress(commandLine);
    } else if (commandLine.contains(QLatin1String("mtp://"), Qt::CaseInsensitive)) {
        modMTP::runMtpCommand(context, commandLine);
    } else {
        const QString base = listBaseName(commandLine);
        if (commandLine.contains(QLatin1String(".kqi"), Qt::CaseInsensitive)) {
            context.document.setListType(QStringLiteral("indexes"));
            context.rootName = base;
        } else if (commandLine.contains(QLatin1String(".kqs"), Qt::CaseInsensitive)) {
            context.document.setListType(QStringLiteral("schema"));
            context.rootName = base;
        }
        modMTP::runMtpCommand(context, QStringLiteral("mtp://open=") + commandLine);
    }
    if (context.preferences.ClearCache.isY()) {
        modMTP::runMtpCommand(context, QStringLiteral("mtp://delete=all.kqs/"));
        modMTP::runMtpCommand(context, QStringLiteral("mtp://delete=all.kqi/"));
    }
    return form;
}

}  // namespace modMetaMain
