// RSS channels: the tree written as an RSS 1.0 channel, and RSS 1.0 and 2.0 channels read
// back into the tree and the channel dialog.
#include "gui/catalogues/modRSS.h"

#include "gui/frame/DocumentMenu.h"
#include "gui/frame/WindowFrame.h"
#include "gui/catalogues/ListDocuments.h"
#include "core/catalogues/RssChannelText.h"
#include "core/program/ProgramContext.h"
#include "gui/catalogues/frmRSS.h"
#include "platform/PathText.h"
#include "core/catalogues/ListTree.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace modRSS {

bool saveRSSChannel(QWidget* owner, ProgramContext& context, const QString& path) {
    const frmRSS& dialog = frmRSS::instance(owner->window(), context);
    const ListTree& tree = context.listTrees[size_t(context.treeIndex)];
    const QString text = RssChannelText::channel(ListEntries::listEntries(tree), dialog.header());
    return ListDocuments::writeList(context, path, text, DocumentState::ListKind::Channel,
                                    QStringLiteral("Error saving RSS channel"));
}

ListLoadOutcome loadRSSChannel(const ListWindow& window, const QString& location, const QString* fetchedText) {
    ProgramContext& context = window.context;
    UserDialogs& user = context.user;  // the context outlives the window
    ListLoadGuard guard(context.commands, user);
    if (!guard.acquired()) return ListLoadOutcome::NotLoaded;
    const QPointer<QObject> alive(&window.lifetime);
    ListDocuments::showProgress(context, window.frame, QStringLiteral("Please wait while Quorvantile loads in the RSS Channel"));
    const ListDocuments::Opening opening = ListDocuments::openListDocument(
        window, alive, location, fetchedText, QStringLiteral("RSS Channel not found"), QStringLiteral("Error"));
    if (opening.outcome != ListLoadOutcome::Loaded) return opening.outcome;
    const ListDocuments::Fetched& fetched = opening.fetched;

    frmRSS& dialog = frmRSS::instance(window.frame.clientArea()->window(), context);
    DocumentState& state = context.document;
    state.setListFile(platform::isLocalPath(location) ? fetched.localPath : QString());
    if (!fetched.fromCache) {
        const QString path = platform::isLocalPath(location) ? fetched.localPath : location;
        state.setTreePath(path);
        dialog.setFilePath(path);
        state.setSaveListCaption(QStringLiteral("Save RSS Channel"));
        window.fileMenu.enableSaveList();
        // File > Save writes the channel back; a record's unsaved changes keep their mark.
        if (!state.modified(DocumentState::Document::Record)) state.nameDocument(DocumentState::Document::List);
    }
    const RssChannelText::Reading reading = RssChannelText::read(fetched.text);
    dialog.setHeader(reading.header);

    context.rootName = QStringLiteral("RSS Channel");
    const auto refusals =
        ListDocuments::fillTree(window, alive, QStringLiteral("RSS"), DocumentState::ListKind::Channel, reading.items);
    if (!refusals) return ListLoadOutcome::NotLoaded;
    guard.finished();
    QString report = reading.report();
    // Items the tree could not take (one title twice in a folder) are named too.
    if (!refusals->isEmpty()) report += QStringLiteral("These items were not loaded:") + *refusals;
    if (!report.isEmpty()) user.MsgBox(report);
    return ListLoadOutcome::Loaded;
}

}  // namespace modRSS
