// Sending the tree to the repository as a Harvest Control List.
#include "core/program/modFileExists.h"
#include "core/program/CommandWindow.h"
#include "core/program/CommandDialogs.h"
#include "core/commands/modMTP.h"
#include "core/program/ProgramContext.h"
#include "platform/Folders.h"
#include "platform/Inet.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "core/program/DocumentState.h"

#include <QCoreApplication>
#include <QFile>

namespace modMTP {

void cgiSendHCL(ProgramContext& context, const QString& command) {
    QString cache = platform::programDataFolder() + QStringLiteral("/cache/");
    modFileExists::makeSurePathExists(cache);
    QString path = cache + QStringLiteral("HCL.tmp");
    QString noRecords;
    CommandWindow* window = context.commands.window;
    if (!window || !window->saveHarvestList(true, path, noRecords)) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        context.user.MsgBox(file.errorString(), platform::kOkOnly, QStringLiteral("Error opening ") + path);
        return;
    }
    const QByteArray body = file.readAll();
    // Nothing to send is never sent.
    if (body.isEmpty()) return;

    platform::Inet& post = window->repositoryTransfer();
    QCoreApplication::processEvents();
    const QString address = repositoryAddress(command);
    if (WaitDialog* wait = context.dialogs.loadedWaitDialog(context))
        wait->showText(QStringLiteral("Executing ") + address + QStringLiteral(" CGI"), QStringLiteral("Running Macro"));
    post.setURL(address);
    context.preferences.signIn(post);
    if (!post.Execute(address, QStringLiteral("POST"), body, QStringLiteral("Content-Type: text/xml; charset=UTF-8"))) {
        context.user.MsgBox(QStringLiteral("The repository is still busy with an earlier request: ") + address);
        return;
    }
    // The help window takes the repository's answer. A record's unsaved changes keep their mark.
    DocumentState& state = context.document;
    if (!state.modified(DocumentState::Document::Record)) {
        state.setStatus(QStringLiteral("Ready"));
        state.nameDocument(DocumentState::Document::None);
    }
}

}  // namespace modMTP
