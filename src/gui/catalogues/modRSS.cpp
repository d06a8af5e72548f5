// RSS channels: the tree written as an RSS 1.0 channel, and RSS 1.0 and 2.0 channels read
// back into the tree and the channel dialog.
#include "gui/catalogues/modRSS.h"

#include "gui/catalogues/TreePane.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/catalogues/ListDocuments.h"
#include "core/catalogues/RssChannelText.h"
#include "gui/catalogues/frmRSS.h"
#include "platform/PathText.h"
#include "core/catalogues/ListTree.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>

namespace modRSS {

bool saveRSSChannel(TreePane& form, const QString& path) {
    TreePane* window = &form;
    const frmRSS& dialog = frmRSS::instance(window->window(), window->context);
    const QString text = RssChannelText::channel(ListEntries::listEntries(window->activeTree()), dialog.header());
    return ListDocuments::writeList(*window, path, text, DocumentState::ListKind::Channel,
                                    QStringLiteral("Error saving RSS channel"));
}

ListLoadOutcome loadRSSChannel(TreePane& form, const QString& location, const QString* fetchedText) {
    TreePane* window = &form;
    UserDialogs& user = form.context.user;  // the context outlives the window
    ListLoadGuard guard(form.context.commands, user);
    if (!guard.acquired()) return ListLoadOutcome::NotLoaded;
    const QPointer<TreePane> alive(window);
    ListDocuments::showProgress(*window, QStringLiteral("Please wait while Quorvantile loads in the RSS Channel"));
    std::optional<ListDocuments::Fetched> fetched;
    const ListLoadOutcome opening = ListDocuments::openListDocument(alive, location, fetchedText,
                                                                QStringLiteral("RSS Channel not found"),
                                                                QStringLiteral("Error"), fetched);
    if (opening != ListLoadOutcome::Loaded) return opening;

    frmRSS& dialog = frmRSS::instance(window->window(), window->context);
    DocumentState& state = window->context.document;
    state.setListFile(platform::isLocalPath(location) ? fetched->localPath : QString());
    if (!fetched->fromCache) {
        const QString path = platform::isLocalPath(location) ? fetched->localPath : location;
        state.setTreePath(path);
        dialog.setFilePath(path);
        state.setSaveListCaption(QStringLiteral("Save RSS Channel"));
        window->around.fileMenu.enableSaveList();
        // File > Save writes the channel back; a record's unsaved changes keep their mark.
        if (!state.modified(DocumentState::Document::Record)) state.nameDocument(DocumentState::Document::List);
    }
    const RssChannelText::Reading reading = RssChannelText::read(fetched->text);
    dialog.setHeader(reading.header);

    window->context.rootName = QStringLiteral("RSS Channel");
    const auto refusals =
        ListDocuments::fillTree(alive, QStringLiteral("RSS"), DocumentState::ListKind::Channel, reading.items);
    if (!refusals) return ListLoadOutcome::NotLoaded;
    guard.finished();
    QString report = reading.report();
    // Items the tree could not take (one title twice in a folder) are named too.
    if (!refusals->isEmpty()) report += QStringLiteral("These items were not loaded:") + *refusals;
    if (!report.isEmpty()) user.MsgBox(report);
    return ListLoadOutcome::Loaded;
}

}  // namespace modRSS
