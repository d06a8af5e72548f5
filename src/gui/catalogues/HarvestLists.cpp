// Harvest Control Lists: written from the tree in two forms, with the records of a folder of
// record pages; read back into the tree; and a record found in such a folder.
#include "gui/catalogues/HarvestLists.h"

#include "gui/frame/AddressBar.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/RecordLoading.h"
#include "gui/frame/WindowFrame.h"
#include "core/catalogues/HarvestListText.h"
#include "gui/catalogues/ListDocuments.h"
#include "core/domains/modSchemas.h"
#include "core/program/ProgramContext.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/TextCodec.h"
#include "core/catalogues/ListTree.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPointer>

#include <optional>

namespace HarvestLists {
namespace {

enum class Form { Agls12, Site };

const QString kLoadingText = QStringLiteral("Please wait while Quorvantile loads in the Harvest Control List");

// A record page's text; a page that cannot be read is named in a message and has none.
std::optional<QString> readRecordPage(UserDialogs& user, const QString& file) {
    platform::DecodedText page;
    QString error;
    if (!platform::readPageFile(file, page, &error)) {
        user.MsgBox(error, platform::kOkOnly, QStringLiteral("Error opening metadata file: ") + file);
        return std::nullopt;
    }
    return std::move(page.text);
}

// The address a record page names (HarvestListText::recordIdentifier); "" for a page that
// cannot be read.
QString identifierOfPage(UserDialogs& user, const QString& file) {
    const std::optional<QString> text = readRecordPage(user, file);
    return text ? HarvestListText::recordIdentifier(*text) : QString();
}

// The record pages of a folder by their identifier key; of two pages with one key, the
// later in the folder's listing counts. Pages without an identifier are left out.
QHash<QString, QString> recordIndex(UserDialogs& user, const QString& folder) {
    QHash<QString, QString> index;
    const QString cut = platform::folderPart(folder);
    if (cut.isEmpty()) return index;
    const QDir dir(cut);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        const QString path = cut + name;
        const QString key = HarvestListText::identifierKey(identifierOfPage(user, path));
        if (!key.isEmpty()) index.insert(key, path);
    }
    return index;
}

bool writeHarvestList(const ListWindow& window, Form form, QString path, const QString& folder) {
    ProgramContext& context = window.context;
    if (form == Form::Agls12) {
        const QPointer<QObject> alive(&window.lifetime);
        ListDocuments::showWaitDialog(context, window.frame.clientArea(), QStringLiteral("Now saving Harvest Control List"));
        QCoreApplication::processEvents();
        if (!alive) return false;
    }
    const QHash<QString, QString> records = recordIndex(context.user, folder);
    QList<ListEntries::ListEntry> entries = ListEntries::listEntries(window.pane.activeTree());
    HarvestListText::sortEntries(entries);
    // Only the ".kqi" the command put at the end goes; a folder named "x.kqi-lists" stays.
    if (path.endsWith(QLatin1String(".kqi"), Qt::CaseInsensitive)) path.chop(4);

    int recordsWritten = 0;
    const HarvestListText::RecordText record = [&](const ListEntries::ListEntry& entry) -> QString {
        const QString key = HarvestListText::identifierKey(entry.link);
        const QString file = key.isEmpty() ? QString() : records.value(key);
        if (file.isEmpty()) return QString();
        const QString meta = getFromMetadata(context.user, file, QString(), QString(), QString());
        if (meta.isEmpty() || form == Form::Site) return meta;
        ListDocuments::showProgress(context, window.frame, QStringLiteral("Now saving Harvest Control List: Record:") + QLatin1Char(' ') +
                                    QString::number(++recordsWritten));
        return HarvestListText::recordRdf(entry, meta, context.domain.rdfNamespaces, context.domain.rdfPrefix);
    };
    const QString text = form == Form::Agls12
                             ? HarvestListText::agls12Form(entries, record, context.preferences.siteAdmin,
                                                           context.preferences.siteAdminEmail, QDate::currentDate())
                             : HarvestListText::siteForm(entries, record);
    return ListDocuments::writeList(context, path, text, DocumentState::ListKind::HarvestList,
                                    QStringLiteral("Error saving Harvest Control List"));
}

}  // namespace

bool saveAsHCL(const ListWindow& window, const QString& path, const QString& folder) {
    return writeHarvestList(window, Form::Site, path, folder);
}

bool saveAsAGLS12HCL(const ListWindow& window, const QString& path, const QString& folder) {
    return writeHarvestList(window, Form::Agls12, path, folder);
}

QString getFromMetadata(UserDialogs& user, const QString& file, const QString& nameFilter, const QString& otherFilter,
                        const QString& schemeFilter) {
    const std::optional<QString> text = readRecordPage(user, file);
    return text ? HarvestListText::metadataFrom(*text, nameFilter, otherFilter, schemeFilter) : QString();
}

ListLoadOutcome loadHCL(const ListWindow& window, const QString& location, const QString* fetchedText) {
    ProgramContext& context = window.context;
    UserDialogs& user = context.user;  // the context outlives the window
    ListLoadGuard guard(context.commands, context.user);
    if (!guard.acquired()) return ListLoadOutcome::NotLoaded;
    const QPointer<QObject> alive(&window.lifetime);
    // The edit panel's fields change nothing while a list is read in.
    window.recordLoading.setFilling(true);
    struct Clear {
        const QPointer<QObject>& alive;
        RecordLoading& loading;
        ~Clear() {
            if (alive) loading.setFilling(false);
        }
    } clear{alive, window.recordLoading};

    ListDocuments::showWaitDialog(context, window.frame.clientArea(), kLoadingText, false);
    const ListDocuments::Opening opening = ListDocuments::openListDocument(
        window, alive, location, fetchedText, QStringLiteral("Harvest Control List not found"),
        QStringLiteral("Error loading Harvest Control List"));
    if (opening.outcome != ListLoadOutcome::Loaded) return opening.outcome;
    const ListDocuments::Fetched& fetched = opening.fetched;

    DocumentState& state = context.document;
    state.setListFile(platform::isLocalPath(location) ? fetched.localPath : QString());
    if (!fetched.fromCache) {
        state.setTreePath(platform::isLocalPath(location) ? fetched.localPath : location);
        state.setSaveCaption(QStringLiteral("Save Harvest Control List"));
        window.fileMenu.enableSave();
        // The unsaved changes of a record keep their mark.
        if (!state.modified(DocumentState::Document::Record)) state.nameDocument(DocumentState::Document::List);
    }
    context.rootName = QStringLiteral("HCL");
    const auto refusals =
        ListDocuments::fillTree(window, alive, QStringLiteral("Harvest Control List"), DocumentState::ListKind::HarvestList,
                                HarvestListText::readItems(fetched.text));
    if (!refusals) return ListLoadOutcome::NotLoaded;
    guard.finished();
    if (!refusals->isEmpty()) user.MsgBox(QStringLiteral("Error in load HCL ") + *refusals);
    return ListLoadOutcome::Loaded;
}

void getMetaFromHCL(const ListWindow& window, const QString& folder) {
    ProgramContext& context = window.context;
    UserDialogs& user = context.user;  // the context outlives the window
    const QPointer<QObject> alive(&window.lifetime);
    ListDocuments::showWaitDialog(context, window.frame.clientArea(), QStringLiteral("Please wait while Quorvantile looks for the record"));
    QCoreApplication::processEvents();
    if (!alive) return;

    QString dir = folder;
    if (!platform::endsWithSeparator(dir)) dir += QLatin1Char('/');
    if (!QFileInfo(dir).isDir()) {
        user.MsgBox(QStringLiteral("Failed to find HCL folder ") + folder + QStringLiteral(". Please check the location"),
                    platform::kOkOnly, QStringLiteral("Error"));
        return;
    }
    const QString address = window.address.addressText();
    QString page;
    // An empty address has no record: a page without an identifier never matches.
    for (const QString& name : address.isEmpty() ? QStringList() : QDir(dir).entryList(QDir::Files, QDir::Name)) {
        if (HarvestListText::sameIdentifier(identifierOfPage(user, dir + name), address)) {
            page = dir + name;
            break;
        }
    }
    if (!alive) return;
    if (page.isEmpty()) {
        user.MsgBox(QStringLiteral("No file containing DC.Identifier metadata found in: ") + folder);
        return;
    }
    if (window.recordLoading.LoadMetadataFromURL(page, true) == platform::kAnswerCancel || !alive) return;
    context.document.setCurrentHTMLFile(page);
    context.FilePath = page;
    context.document.setSaveCaption(QStringLiteral("Save Record to ") + page);
    if (window.record.markHTMLmodifiedCheckList(QStringLiteral(" opening this new record")) != platform::kAnswerCancel)
        context.document.markSaved(DocumentState::Document::Record);
}

}  // namespace HarvestLists
