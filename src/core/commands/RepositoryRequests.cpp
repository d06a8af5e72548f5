// Requests to the repository's scripts: records, the catalogue and the scheme list.
#include "core/program/modFileExists.h"
#include "core/catalogues/ListLines.h"
#include "core/program/CommandWindow.h"
#include "core/program/CommandDialogs.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "core/catalogues/ListTree.h"
#include "core/program/ProgramContext.h"
#include "platform/Folders.h"
#include "platform/Inet.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/TextCodec.h"
#include "core/program/DocumentState.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <memory>


namespace modMTP {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;


// The wait dialog tells what is going on, whether it is on screen or not.
void showProgress(ProgramContext& context, const QString& text, const QString& title) {
    context.dialogs.loadWaitDialog(context).showText(text, title);
}

// " 3": a count as a signed number is written.
QString signedNumber(qint64 n) {
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

void reportCode(ProgramContext& context, const platform::Inet& inet) {
    QString text = QStringLiteral("ErrorCode: ") + signedNumber(inet.ResponseCode());
    if (inet.httpStatus() < 400 && !inet.ResponseInfo().isEmpty()) text += QStringLiteral(" (") + inet.ResponseInfo() + QLatin1Char(')');
    context.user.MsgBox(text);
}

// Waits while the transfer runs; false when the user pressed Cancel in the wait dialog
// meanwhile (a Cancel from before the wait does not count).
bool waitForTransfer(ProgramContext& context, platform::Inet& inet) {
    const bool& cancelRequested = context.commands.cancelRequested;
    const bool cancelledBefore = cancelRequested;
    const auto cancelled = [&] { return !cancelledBefore && cancelRequested; };
    QEventLoop loop;
    QObject::connect(&inet, &platform::Inet::transferEnded, &loop, &QEventLoop::quit);
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (cancelled()) loop.quit();
    });
    poll.start();
    if (inet.StillExecuting() && !cancelled()) loop.exec();
    return !inet.StillExecuting();
}

enum class AfterReply { Nothing, RecordSave };

// Posts the body; the help window receives the reply. False (after saying so) when the
// request could not start.
bool post(ProgramContext& context, const QString& address, const QString& body, AfterReply after = AfterReply::Nothing) {
    CommandWindow& w = commandWindow(context);
    platform::Inet& inet = w.repositoryTransfer();
    context.preferences.signIn(inet);
    inet.setURL(address);
    if (!inet.Execute(address, QStringLiteral("POST"), body)) {
        context.user.MsgBox(QStringLiteral("Error in cgiSend: the repository has not yet answered the last request. Try again "
                                           "when it has."));
        return false;
    }
    // A reply that never arrives, or arrives empty, is told; a record save that failed on
    // the way leaves the record unsaved.
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(&inet, &platform::Inet::transferEnded, &inet, [once, &inet, address, after, &commands = context.commands, &document = context.document, &user = context.user] {
        QObject::disconnect(*once);
        if (inet.ResponseCode() != 0) {
            if (after == AfterReply::RecordSave && commands.window) document.markModified(DocumentState::Document::Record);
        } else if (inet.replyBytes().isEmpty()) {
            user.MsgBox(QStringLiteral("The repository at ") + address + QStringLiteral(" sent an empty reply."));
        }
    });
    return true;
}

void markReady(DocumentState& document) {
    document.markSaved(DocumentState::Document::None, QStringLiteral("Ready"));
}

// A record asked for, or deleted, at the address box's page.
void recordRequest(ProgramContext& context, const QString& command, const QString& verb, const QString& body) {
    commandWindow(context);  // a request needs the window open
    showProgress(context, QStringLiteral("Retrieving record"), QStringLiteral("Running Macro"));
    QString address = command;
    // The script learns what is asked of it from getRecord in its address: that verb stays.
    if (verb != QLatin1String("getRecord")) address.remove(verb, ci);
    address = repositoryAddress(address);
    QString text = body;
    if (verb == QLatin1String("getIISRecord") && address.contains(QLatin1String("?showform="), ci))
        text.remove(QLatin1String("http://"), ci);
    if (!post(context, address, text)) return;
    if (verb == QLatin1String("deleteIISRecord")) return markReady(context.document);
    // The record that arrives is no local file: File > Save sends it back.
    if (verb != QLatin1String("getRecord")) context.document.setCurrentHTMLFile(QString());
}

void saveRecord(ProgramContext& context, const QString& command) {
    CommandWindow& w = commandWindow(context);
    const QString address = repositoryAddress(command);
    showProgress(context, QStringLiteral("Executing ") + address + QStringLiteral(" CGI"), QStringLiteral("Running Macro"));
    w.repositoryTransfer();
    QCoreApplication::processEvents();
    if (!post(context, address, w.recordAsMetaBlock(), AfterReply::RecordSave)) return;
    if (command.contains(context.macros.openRecordMacro, ci)) markReady(context.document);
}

// Asks the repository which schemes it serves: "serverSchemes=" and the names joined by "|".
void returnSchemes(ProgramContext& context, const QString& command) {
    platform::Inet& inet = commandWindow(context).transfer();
    if (inet.StillExecuting()) return;
    const QString address = repositoryAddress(command, false);
    inet.setURL(address);
    context.preferences.signIn(inet);
    inet.Execute(address, QStringLiteral("GET"));
    if (!waitForTransfer(context, inet)) {
        inet.Cancel();
        return;
    }
    if (inet.ResponseCode() != 0) {
        // Asked again later: nothing of a failed reply passes for the scheme list.
        context.macros.repositorySchemes.clear();
        context.macros.repositoryScheme.clear();
        return reportCode(context, inet);
    }
    const QString reply = inet.replyText();
    const qsizetype marker = reply.indexOf(QLatin1String("serverSchemes="), 0, ci);
    QString schemes = marker < 0 ? QString() : reply.mid(marker).remove(QLatin1String("serverSchemes="), ci).trimmed();
    const qsizetype bar = schemes.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        context.user.MsgBox(QStringLiteral("Quorvantile can't find the repository at ") + command +
                            QStringLiteral(". Try the URL in a webbrowser to find more on what is wrong."));
        context.macros.repositorySchemes.clear();
        context.macros.repositoryScheme.clear();
        return;
    }
    context.macros.repositoryScheme = schemes.left(bar);
    context.macros.repositorySchemes = schemes;
}

}  // namespace

QString repositoryAddress(QString command, bool dropType) {
    command.replace(QLatin1String("mtp://"), QLatin1String("http://"), Qt::CaseInsensitive);
    if (dropType) command.remove(QLatin1String(".kqb/"), Qt::CaseInsensitive);
    for (const char* doubled : {"http://http://", "http://https://"}) {
        if (command.startsWith(QLatin1String(doubled), Qt::CaseInsensitive)) {
            command.remove(0, 7);
            break;
        }
    }
    return command;
}

void cgiSend(ProgramContext& context, const QString& command) {
    try {
        const QString address = commandWindow(context).addressText();
        if (command.contains(QLatin1String("getIISRecord"), ci))
            recordRequest(context, command, QStringLiteral("getIISRecord"), QStringLiteral("getRecord") + address);
        else if (command.contains(QLatin1String("getIISNonURLRecord"), ci))
            recordRequest(context, command, QStringLiteral("getIISNonURLRecord"), QStringLiteral("getNonURLRecord"));
        else if (command.contains(QLatin1String("deleteIISRecord"), ci))
            recordRequest(context, command, QStringLiteral("deleteIISRecord"), QStringLiteral("deleteRecord") + address);
        else if (command.contains(QLatin1String("getRecord"), ci))
            recordRequest(context, command, QStringLiteral("getRecord"), address);
        else if (command.contains(QLatin1String("returnSchemes"), ci))
            returnSchemes(context, command);
        else
            saveRecord(context, command);
    } catch (const std::exception& e) {
        context.user.MsgBox(QStringLiteral("Error in cgiSend: ") + QString::fromLocal8Bit(e.what()));
    }
}

void cgiSendList(ProgramContext& context, const QString& command) {
    CommandWindow* w = context.commands.window;
    if (!w) return;
    // The repository's catalogue is sent, whichever tree is shown.
    ListTree& tree = context.listTrees[1];
    const QString path = platform::programDataFolder() + QStringLiteral("/cache/Index.kqi");
    ListLines::UnwritableNode unwritable;
    const QStringList lines =
        ListLines::listFileLines(tree, !context.rootName.isEmpty(), ListLines::ListKind::Catalogue, &unwritable);
    if (unwritable) {
        context.user.MsgBox(unwritable.text() + QStringLiteral(" The list was not sent."));
        return;
    }
    QString text = lines.join(QStringLiteral("\r\n"));
    if (!lines.isEmpty()) text += QStringLiteral("\r\n");
    modFileExists::makeSurePathExists(platform::folderPart(path));
    QString error;
    if (!platform::writeTextFileAtomically(path, text, &error)) {
        context.user.MsgBox(error, platform::kOkOnly, QStringLiteral("Error opening ") + path);
        return;
    }
    const qint64 count = tree.count();
    const QString question = count == 0 ? QStringLiteral("There are no records in this list to send. Are you sure?")
                                        : QStringLiteral("This list contains ") + signedNumber(count - 1) +
                                              QStringLiteral(" items. Click to proceed.");
    if (context.user.MsgBox(question, platform::kOkCancel, QStringLiteral("Confirm Send")) != platform::kAnswerOk) return;

    platform::Inet& inet = w->repositoryTransfer();
    QCoreApplication::processEvents();
    QString address = repositoryAddress(command);
    QString body = text;
    if (address.contains(QLatin1String("SendIISList"), ci)) {
        address.remove(QLatin1String("SendIISList"), ci);
        body.prepend(QStringLiteral("SaveList="));
    }
    showProgress(context, QStringLiteral("Executing ") + address + QStringLiteral(" CGI"), QStringLiteral("Sending List...."));
    if (!post(context, address, body)) return;
    // Cancel in the wait dialog stops the waiting; the request finishes on its own.
    if (!waitForTransfer(context, inet)) return;
    if (context.commands.window) markReady(context.document);
}

}  // namespace modMTP
