#include "core/commands/modMTP.h"
#include "gui/commands/CommandDialogWindows.h"
#include "gui/app/modMetaMain.h"
#include "core/program/ProgramContext.h"
#include "platform/RegistryStore.h"
#include "platform/webengine/WebEngineBrowser.h"
#include "platform/widgets/Modal.h"
#include "platform/widgets/UserDialogWindows.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QStringList>

int main(int argc, char* argv[]) {
    // The "mtp" scheme must be known to the engine before the application exists.
    platform::webengine::registerSchemes();
    QApplication app(argc, argv);
    platform::webengine::useWebEngineBrowser();
    QApplication::setApplicationName(QStringLiteral("Quorvantil"));
    QApplication::setOrganizationName(QStringLiteral("Orvane Consulting"));

    platform::UserDialogWindows user;
    platform::setStoreNoticeHandler([&user](const QString& message) { user.MsgBox(message, platform::kExclamationIcon); });

    // The whole command line after the program's name is one argument.
    QStringList words = QApplication::arguments();
    if (!words.isEmpty()) words.removeFirst();
    modMTP::ProgramDispatcher dispatcher;
    platform::ModalRuns modals;
    CommandDialogWindows dialogs(modals);
    platform::ProcessStarter processes;
    ProgramContext context(dispatcher, dialogs, {user, processes, platform::userRegistryFile(), std::nullopt});
    modMetaMain::Main(context, modals, words.join(QLatin1Char(' ')));
    const int status = app.exec();
    // The windows, and the browser pages in them, go before the browser engine does.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (!window->parentWidget()) windows.append(window);
    for (const QPointer<QWidget>& window : windows) delete window.data();
    return status;
}
