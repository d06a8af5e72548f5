#include "gui/catalogues/ListDocuments.h"

#include "gui/frame/ListDocument.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/PageBrowser.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"
#include "core/program/ProgramContext.h"
#include "core/program/modFileExists.h"
#include "core/catalogues/ListLines.h"
#include "core/catalogues/ListMarkup.h"
#include "core/commands/ListLoading.h"
#include "gui/commands/frmWaitProcess.h"
#include "core/commands/modMTP.h"
#include "platform/Folders.h"
#include "platform/Inet.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/widgets/StatusBar.h"
#include "platform/TextCodec.h"
#include "platform/TreeImages.h"
#include "gui/catalogues/ListTreeView.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <memory>

namespace ListDocuments {
namespace {

constexpr Qt::CaseSensitivity ci = Qt::CaseInsensitive;

// What servers answer in place of a missing document.
const char* const kNotFoundTitles[] = {
    "<TITLE>Not Found</TITLE>",  "<TITLE>Error</TITLE>",     "<TITLE>404 Not Found</TITLE>",
    "<TITLE>Error 404</TITLE>",  "<TITLE>404 Error</TITLE>", "<TITLE>Error 404: URL Not found</TITLE>",
    "<TITLE>404 - Not Found</TITLE>",
};

// The refused lines a message names; the rest are counted.
constexpr int kMostRefusalsShown = 20;

// The encoding an XML declaration at the start names ("" when none).
QString declaredXmlEncoding(const QByteArray& bytes) {
    const QByteArray head = bytes.left(200);
    if (!head.startsWith("<?xml")) return QString();
    const qsizetype end = head.indexOf("?>");
    const qsizetype at = head.indexOf("encoding");
    if (at < 0 || (end >= 0 && at > end)) return QString();
    qsizetype p = at + 8;
    while (p < head.size() && (head[p] == ' ' || head[p] == '=')) ++p;
    if (p >= head.size() || (head[p] != '"' && head[p] != '\'')) return QString();
    const qsizetype close = head.indexOf(head[p], p + 1);
    return close < 0 ? QString() : QString::fromLatin1(head.mid(p + 1, close - p - 1));
}

// The copy of a web document in the cache: the address without its scheme, "/" turned into
// "." and "?" dropped, made one safe file name.
QString cachePathOf(const QString& location) {
    QString name = platform::withoutWebScheme(location);
    name.replace(QLatin1Char('/'), QLatin1Char('.'));
    name.remove(QLatin1Char('?'));
    return platform::programDataFolder() + QStringLiteral("/cache/indexes/") + modMTP::listCacheFileName(name);
}

bool readFile(UserDialogs& user, const QString& path, QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        user.MsgBox(QStringLiteral("Couldn't load ") + path, platform::kOkOnly, QStringLiteral("Error"));
        return false;
    }
    text = decodeListBytes(file.readAll());
    return true;
}

// A server's page in place of a missing document: empty, or, unless its root element is a
// list's or a channel's, one whose text before the first item holds a not-found title. So
// an item titled "Error" never makes a list a not-found page.
bool isNotFoundPage(const QString& text) {
    if (text.trimmed().isEmpty()) return true;
    ListMarkup::TagScanner scan(text);
    while (scan.next() && scan.token().kind != ListMarkup::TokenKind::StartTag) {}
    if (scan.token().kind == ListMarkup::TokenKind::StartTag)
        for (const char* root : {"hcl", "site", "xml", "rdf:RDF", "rss"})
            if (scan.token().name.compare(QLatin1String(root), ci) == 0) return false;
    qsizetype firstItem = text.indexOf(QLatin1String("<item"), 0, ci);
    if (firstItem < 0) firstItem = text.size();
    // One walk over the titles of the text, however many items it holds.
    const QLatin1StringView open("<TITLE>");
    for (qsizetype at = text.indexOf(open, 0, ci); at >= 0 && at < firstItem; at = text.indexOf(open, at + 1, ci)) {
        const QStringView here = QStringView(text).mid(at);
        for (const char* title : kNotFoundTitles)
            if (here.startsWith(QLatin1String(title), ci)) return true;
    }
    return false;
}

}  // namespace

QString decodeListBytes(const QByteArray& bytes, const QString& contentType) {
    if (platform::isValidUtf8(bytes)) return platform::decodePageBytes(bytes).text;
    QString type = contentType;
    if (platform::charsetFromContentType(type).isEmpty()) {
        const QString declared = declaredXmlEncoding(bytes);
        if (!declared.isEmpty()) type = QStringLiteral("text/xml; charset=") + declared;
    }
    return platform::decodePageBytes(bytes, type).text;
}

std::optional<Fetched> fetch(ProgramContext& context, PageBrowser& browser, const QString& location,
                             const QString* handedOver, const QString& notFoundTitle, const QString& errorTitle) {
    UserDialogs& user = context.user;  // the context outlives the window
    Fetched fetched;
    const bool local = platform::isLocalPath(location);
    bool download = false;
    if (local) {
        fetched.localPath = location;
        if (fetched.localPath.startsWith(QLatin1String("file://"), ci)) fetched.localPath.remove(0, 7);
        fetched.localPath.replace(QStringLiteral("%20"), QStringLiteral(" "));
        if (handedOver) fetched.text = *handedOver;
        else if (!readFile(user, fetched.localPath, fetched.text)) return std::nullopt;
    } else {
        fetched.localPath = cachePathOf(location);
        if (handedOver) {
            fetched.text = *handedOver;
            download = true;
        } else if (QFileInfo(fetched.localPath).isFile()) {
            if (!readFile(user, fetched.localPath, fetched.text)) return std::nullopt;
        } else {
            // The window's control may be busy with a page: the list is fetched all the same.
            std::unique_ptr<platform::Inet> own;
            if (browser.inet().StillExecuting()) own = std::make_unique<platform::Inet>(context.transferProxy);
            platform::Inet& inet = own ? *own : browser.inet();
            inet.setURL(location);
            context.preferences.signIn(inet);
            const QByteArray bytes = inet.OpenURLBytes(location);
            if (inet.ResponseCode() != 0) {
                user.MsgBox(QStringLiteral("ErrorCode: ") + QString::number(inet.ResponseCode()));
                return std::nullopt;
            }
            fetched.text = decodeListBytes(bytes, inet.replyContentType());
            download = true;
        }
    }
    if (isNotFoundPage(fetched.text)) {
        user.MsgBox(QStringLiteral("Couldn't find anything at ") + location, platform::kOkOnly, notFoundTitle);
        return std::nullopt;
    }
    if (download) {
        modFileExists::makeSurePathExists(platform::folderPart(fetched.localPath));
        QString error;
        if (!platform::writeTextFileAtomically(fetched.localPath, fetched.text, &error)) {
            user.MsgBox(error, platform::kOkOnly, errorTitle);
            return std::nullopt;
        }
    }
    fetched.fromCache = location.contains(platform::programDataFolder() + QStringLiteral("/cache/"), ci);
    return fetched;
}

Opening openListDocument(const ListWindow& window, const QPointer<QObject>& alive, const QString& location,
                         const QString* fetchedText, const QString& notFoundTitle, const QString& errorTitle) {
    const QString handed = fetchedText ? *fetchedText : QString();
    QCoreApplication::processEvents();
    if (!alive) return {};
    std::optional<Fetched> fetched =
        fetch(window.context, window.browser, location, fetchedText ? &handed : nullptr, notFoundTitle, errorTitle);
    if (!fetched || !alive) return {};
    if (!mayReplaceList(window.list)) return {ListLoadOutcome::Kept, {}};
    if (!alive) return {};
    return {ListLoadOutcome::Loaded, std::move(*fetched)};
}

bool mayReplaceList(ListDocument& list) {
    return list.saveListCheck(QStringLiteral("before opening a new one")) != platform::kAnswerCancel;
}

bool writeList(ProgramContext& context, const QString& path, const QString& text, DocumentState::ListKind written,
               const QString& failureTitle) {
    QString error;
    if (!platform::writeTextFileAtomically(path, text, &error)) {
        context.user.MsgBox(error + QStringLiteral(": Check that the file or the file system are not read only"),
                            platform::kOkOnly, failureTitle);
        return false;
    }
    DocumentState& state = context.document;
    // A catalogue written as a channel stays a catalogue: the channel's file is not its own.
    if (state.listKind() == written) state.setListFile(path);
    if (path == state.TreePath() && !state.modified(DocumentState::Document::Record))
        state.markSaved(DocumentState::Document::List);
    return true;
}

bool namesCatalogueOrSchemeList(const QString& path) {
    const QString name = platform::fileNamePart(path);
    return name.contains(QLatin1String(".kqi"), ci) || name.contains(QLatin1String(".kqs"), ci);
}

QString proposalBesideList(const QString& listPath, const QString& listName, const QString& ending) {
    if (!platform::isLocalPath(listPath)) return QString();
    const QString folder = platform::folderPart(platform::localPathFromAddress(listPath));
    if (folder.isEmpty()) return QString();
    QString name = listName;
    name.remove(QLatin1String(".kqi"), ci);
    name.remove(QLatin1String(".kqs"), ci);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (name.trimmed().isEmpty()) name = QStringLiteral("Untitled");
    return folder + name + ending;
}

bool mayWriteListTo(UserDialogs& user, const QString& target, const QString& listFile, const QString& title) {
    const QFileInfo file(target);
    if (!file.isFile()) return true;
    if (!listFile.isEmpty()) {
        const QFileInfo own(platform::localPathFromAddress(listFile));
        if (own.exists() && own.canonicalFilePath() == file.canonicalFilePath()) return true;
    }
    return user.MsgBox(target + QStringLiteral(" already exists.\r\nDo you want to replace it?"),
                       platform::kYesNo | platform::kExclamationIcon | platform::kSecondButtonDefault, title) == platform::kAnswerYes;
}

void showProgress(ProgramContext& context, WindowFrame& frame, const QString& text) {
    if (frmWaitProcess* wait = frmWaitProcess::loadedInstance(context)) {
        if (!text.isEmpty()) wait->setLabel(text);
    } else {
        frame.statusBar().setPanelText(WindowFrame::kActivityPanel, text.isEmpty() ? QStringLiteral("Ready") : text);
    }
}

void showWaitDialog(ProgramContext& context, QWidget* owner, const QString& label, bool cancelAvailable) {
    frmWaitProcess& wait = frmWaitProcess::Load(context);
    if (!wait.isVisible()) wait.showModeless(owner->window());
    wait.setLabel(label);
    wait.setCancelAvailable(cancelAvailable);
}

std::optional<QString> fillTree(const ListWindow& w, const QPointer<QObject>& alive, const QString& rootTag,
                                DocumentState::ListKind kind, const QList<ListEntries::ListEntry>& items) {
    const QString rootName = w.context.rootName;
    w.context.treeIndex = 0;
    ListTree& tree = w.pane.activeTree();
    tree.clear();
    w.context.document.setListKind(kind);
    if (!w.viewMenu.treeViewChecked()) w.viewMenu.mnuViewTreeView_Click();
    // The tree shown is the one the list goes into.
    w.pane.setActiveTreeVisible(w.viewMenu.treeViewChecked());
    w.pane.showListPane(1, false);
    w.frame.relayout();
    if (const ListTree::NodeId root = tree.add(0, ListTree::Place::Last, rootName + QLatin1Char('\\'), rootName,
                                               platform::kImageFolder, platform::kImageOpenFolder)) {
        tree.setTag(root, rootTag);
        tree.ensureVisible(root);
    }

    QString refusals;
    int refused = 0;
    int counter = 1;
    // The pane shows the list once it is in; the wait dialog shows how far it got meanwhile.
    std::optional<ListTree::Bulk> bulk(std::in_place, tree);
    ListLines::ListReading reading(tree, rootName, ListLines::ListKind::Catalogue);
    modMTP::ListLoadPace pace([&w, &alive](const QString& text) {
        if (alive) showProgress(w.context, w.frame, text);
    });
    const auto take = [&](const QString& result) {
        if (result != QLatin1String("0") && ++refused <= kMostRefusalsShown)
            refusals += QStringLiteral("\r\n") + result.trimmed();
        return ++counter % 64 != 0 || !pace.pause(counter) || !alive.isNull();
    };
    for (const ListEntries::ListEntry& item : items)
        if (!reading.addItem(item, take)) return std::nullopt;
    bulk.reset();
    showProgress(w.context, w.frame, QString());
    if (refused > kMostRefusalsShown)
        refusals += QStringLiteral("\r\n... and %1 more lines were refused.").arg(refused - kMostRefusalsShown);
    if (!reading.renamed().isEmpty())
        w.context.user.MsgBox(ListLines::renamedMessage(reading.renamed()), platform::kOkOnly, ListLines::kRenamedTitle);
    return refusals;
}

}  // namespace ListDocuments
