// Loading a list into the tree pane: every source is first brought into a local file (the
// cache, for lists from the network), and the tree is then built from that file line by line.
#include "core/commands/ListLoading.h"

#include "core/program/modFileExists.h"
#include "core/catalogues/ListLines.h"
#include "core/program/CommandWindow.h"
#include "core/commands/modMTP.h"
#include "core/catalogues/ListTree.h"
#include "core/program/ProgramContext.h"
#include "platform/Folders.h"
#include "platform/Inet.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/SchemeBundle.h"
#include "platform/TextCodec.h"
#include "platform/TreeImages.h"
#include "core/program/DocumentState.h"
#include "core/record/modCharEncoding.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

#include <exception>
#include <optional>

namespace modMTP {
namespace {

// The refused lines shown on the error page, and how much of each.
constexpr int kMostRefusalsShown = 1000;

constexpr qsizetype kLongestLineShown = 2000;

const Qt::CaseSensitivity kAnyCase = Qt::CaseInsensitive;

// A list location that names a web host rather than a file on this machine: a web address,
// or a host name followed by a path ("www.example.org/lists/x.kqs") naming no file here.
bool isWebListLocation(const QString& location) {
    if (platform::isWebAddress(location)) return true;
    if (platform::isLocalPath(location) || QFileInfo::exists(location)) return false;
    const QString host = location.section(QLatin1Char('/'), 0, 0);
    if (!location.contains(QLatin1Char('/')) || !host.contains(QLatin1Char('.'))) return false;
    for (const QChar c : host)
        if (!c.isLetterOrNumber() && c != QLatin1Char('.') && c != QLatin1Char('-') && c != QLatin1Char(':')) return false;
    return true;
}

QString cacheRoot() {
    return platform::programDataFolder() + QStringLiteral("/cache/");
}

// The cache sub-folder of a list kind ("indexes", "schema"); never outside the cache.
QString cacheFolder(const QString& listType) {
    return listType.isEmpty() ? cacheRoot() : cacheRoot() + listCacheFileName(listType) + QLatin1Char('/');
}

// The error page's text: markup characters shown as they are, one refused line a paragraph.
QString errorPage(const QString& errors) {
    QString text = errors;
    text.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    text.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    text.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    return QStringLiteral("<H2>These Errors were found loading the list:</H2>") + text;
}

// Fetches an address on the main window's transfer control; a Cancel in the wait
// dialog ends the transfer. Empty and `cancelled` set when the user cancelled.
QByteArray fetch(const ProgramContext& context, platform::Inet& inet, const QString& address, bool& cancelled) {
    const bool& cancelRequested = context.commands.cancelRequested;
    inet.setURL(address);
    context.preferences.signIn(inet);
    cancelled = false;
    QTimer watch;
    watch.setInterval(50);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (cancelRequested && inet.StillExecuting()) {
            cancelled = true;
            inet.Cancel();
        }
    });
    watch.start();
    QByteArray bytes = inet.OpenURLBytes(address);
    watch.stop();
    if (cancelRequested && inet.ResponseCode() == platform::Inet::OperationCancelled) cancelled = true;
    return bytes;
}

// One load: bring the list into a local file, then build the tree from that file.
class ListLoad {
public:
    ListLoad(ProgramContext& context, CommandWindow& window, QString& location, std::function<bool()> mayReplace)
        : context_(context), window_(&window), location_(location), mayReplace_(std::move(mayReplace)) {}
    void run();
    QString step() const { return loadStep_; }
    // The user kept the list shown: nothing was replaced.
    bool kept() const { return kept_; }

private:
    enum class Outcome { Read, Stop };
    Outcome fromWeb();
    Outcome fromSchemeServer();
    void fromLocalFile();
    void readFile();
    // Creates the root node by the list's kind; returns the root's text.
    QString makeRoot(const QString& rootText);
    void fillTree(ListTree& tree, const QString& rootText);
    void end();
    // Puts the main window's list state back as it was before this load.
    void restore();
    void runTimeError(const QString& description);
    bool fetchInto(const QString& address, bool fixQuotes);

    // The window, while it is still there: events run during a load can close it.
    bool alive() const { return context_.commands.window == window_; }
    ProgramContext& context_;
    CommandWindow* window_;
    QString& location_;
    std::function<bool()> mayReplace_;
    bool kept_ = false;
    QString cachePath_;
    // A list whose server asked that it be kept nowhere is read from here, not from the cache.
    std::optional<QString> uncachedText_;
    platform::ProgramFileLines fileLines_;
    QString sourceTag_;
    bool bypassCache_ = false;
    QString loadStep_;
    QString entryTreePath_, entryRootName_, entryListType_;
    int entryTreeIndex_ = 0;
};

void ListLoad::restore() {
    if (!alive()) return;
    context_.document.setTreePath(entryTreePath_);
    context_.rootName = entryRootName_;
    context_.document.setListType(entryListType_);
    context_.treeIndex = entryTreeIndex_;
}

void ListLoad::runTimeError(const QString& description) {
    context_.user.MsgBox(description + QStringLiteral(" after ") + loadStep_);
}

void ListLoad::run() {
    CommandWindow& f = *window_;
    entryTreePath_ = context_.document.TreePath();
    entryRootName_ = context_.rootName;
    entryListType_ = context_.document.listType();
    entryTreeIndex_ = context_.treeIndex;
    context_.commands.previousListName = context_.rootName;

    bypassCache_ = f.shiftDown() || location_.contains(QLatin1String("|bypassCache"), kAnyCase);
    if (bypassCache_) location_.remove(QStringLiteral("|bypassCache"), kAnyCase);

    Outcome outcome = Outcome::Read;
    if (!location_.contains(QLatin1String("url="), kAnyCase) && !location_.contains(QLatin1String("remote="), kAnyCase) &&
        isWebListLocation(location_)) {
        // A list opened by its web address is fetched, as a "url=" list is, as the kind its
        // extension names.
        location_.prepend(QStringLiteral("url="));
        const bool catalogue = location_.section(QLatin1Char('.'), -1).contains(QLatin1String("kqi"), kAnyCase);
        context_.document.setListType(catalogue ? QStringLiteral("indexes") : QStringLiteral("schema"));
    }
    if (location_.contains(QLatin1String("url="), kAnyCase)) {
        outcome = fromWeb();
    } else if (location_.contains(QLatin1String("remote="), kAnyCase)) {
        outcome = fromSchemeServer();
    } else {
        fromLocalFile();
    }
    if (outcome == Outcome::Stop || !alive()) {
        restore();
        return;
    }
    readFile();
}

// Writes the fetched list into the cache; false when the load stops.
bool ListLoad::fetchInto(const QString& address, bool fixQuotes) {
    platform::Inet* inet = &window_->transfer();
    loadStep_ = QStringLiteral(" Open Inet Control");
    bool cancelled = false;
    const QByteArray bytes = fetch(context_, *inet, address, cancelled);
    if (!alive() || cancelled) return false;
    loadStep_ = QStringLiteral(" After Open Inet Control");
    if (inet->ResponseCode() != 0) {
        context_.user.MsgBox(inet->errorCodeMessage());
        return false;
    }
    loadStep_ = QStringLiteral(" After Get Chunk");
    if (bytes.isEmpty()) return true;  // a cached copy, if any, is read
    QString text = platform::decodeProgramText(bytes);
    if (fixQuotes) text = modCharEncoding::fixUtf8Quotes(text);
    if (!inet->replyStorable()) {
        uncachedText_ = text;
        return true;
    }
    modFileExists::makeSurePathExists(platform::folderPart(cachePath_));
    QString error;
    if (!platform::writeTextFileAtomically(cachePath_, text + QStringLiteral("\r\n"), &error)) {
        runTimeError(error);
        return false;
    }
    return true;
}

ListLoad::Outcome ListLoad::fromWeb() {
    CommandWindow& f = *window_;
    location_.remove(QStringLiteral("url="), kAnyCase);
    const QString fileName = location_.mid(location_.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    context_.document.setTreePath(dot >= 0 ? fileName.mid(dot) : QString());
    context_.rootName = dot >= 0 ? fileName.left(dot) : fileName;
    QCoreApplication::processEvents();
    if (!alive()) return Outcome::Stop;

    QString cacheName = fileName;
    cacheName.remove(QLatin1Char('?'));
    cacheName.remove(QLatin1Char('|'));
    cacheName.replace(QStringLiteral("%20"), QStringLiteral(" "));
    cachePath_ = cacheFolder(context_.document.listType()) + listCacheFileName(cacheName);
    f.showListProgress(QStringLiteral("Please wait while Quorvantile loads the List"));
    if (QFileInfo(cachePath_).isFile() && !bypassCache_) return Outcome::Read;

    if (f.transfer().StillExecuting()) return Outcome::Stop;
    // An https address stays https; anything else is fetched over http.
    const QString address =
        platform::isWebAddress(location_) ? location_ : QStringLiteral("http://") + location_;
    return fetchInto(address, true) ? Outcome::Read : Outcome::Stop;
}

ListLoad::Outcome ListLoad::fromSchemeServer() {
    CommandWindow& f = *window_;
    location_.remove(QStringLiteral("remote="), kAnyCase);
    context_.rootName = location_;
    context_.rootName.remove(QStringLiteral(".kqs"), kAnyCase);
    context_.rootName.remove(QStringLiteral(".kqi"), kAnyCase);
    f.showListProgress(QStringLiteral("Please wait while Quorvantile loads in the List"));
    QCoreApplication::processEvents();
    if (!alive()) return Outcome::Stop;

    QString cacheName = location_;
    cacheName.replace(QStringLiteral("%20"), QStringLiteral(" "));
    if (context_.document.listType() == QLatin1String("indexes")) cacheName += QStringLiteral(".kqi");
    cachePath_ = cacheFolder(context_.document.listType()) + listCacheFileName(cacheName);
    if (QFileInfo(cachePath_).isFile()) return Outcome::Read;

    QString address = QStringLiteral("http://") + context_.schemeServer;
    if (context_.document.listType() == QLatin1String("schema")) {
        address += QStringLiteral("/cgi-bin/loadscheme.pl?scheme=") + context_.rootName;
    } else if (context_.document.listType() == QLatin1String("indexes")) {
        address += QStringLiteral("/cgi-bin/loadindex.pl?index=") + context_.rootName;
    } else {
        context_.user.MsgBox(QStringLiteral("System Type of ") + location_ + QStringLiteral(" unknown"));
        return Outcome::Read;
    }
    if (f.transfer().StillExecuting()) return Outcome::Stop;
    return fetchInto(address, false) ? Outcome::Read : Outcome::Stop;
}

void ListLoad::fromLocalFile() {
    CommandWindow& f = *window_;
    cachePath_ = platform::localPathFromAddress(location_);
    cachePath_.replace(QStringLiteral("%20"), QStringLiteral(" "));
    const QString name = platform::fileNamePart(cachePath_);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? name.mid(dot) : QString();
    context_.rootName = dot >= 0 ? name.left(dot) : name;
    if (cachePath_.contains(platform::programDataFolder() + QStringLiteral("/cache"), kAnyCase)) {
        // A copy in the cache is shown like the downloaded list it is: named after the
        // file, of the kind its extension names, with no file of its own to save to.
        context_.document.setTreePath(extension);
        sourceTag_.clear();
    } else {
        context_.document.setTreePath(cachePath_);
        sourceTag_ = cachePath_;
    }
    context_.document.setListType(extension.mid(1).contains(QLatin1String("kqi"), kAnyCase) ? QStringLiteral("indexes")
                                                                           : QStringLiteral("schema"));
    f.enableSaveList();
    context_.document.setSaveListCaption(QStringLiteral("Save Catalog"));
}

void ListLoad::readFile() {
    CommandWindow& f = *window_;
    if (!uncachedText_ && !QFileInfo(cachePath_).isFile()) {
        context_.treeIndex = 0;
        context_.user.MsgBox(QStringLiteral("Could not retrieve the data. Check your connection to the Internet"),
                             platform::kOkOnly, QStringLiteral("No data found"));
        restore();
        end();
        return;
    }
    // The repository's catalogue keeps its own tree, refilled only when asked to.
    const QString name = context_.rootName;
    const bool repositoryCatalogue = (name.contains(QLatin1String("kq.aspx?"), kAnyCase) ||
                                      name.contains(QLatin1String("metacatalogue.asp?"), kAnyCase)) &&
                                     name.contains(QLatin1String("getCatalogue"), kAnyCase);
    if (!repositoryCatalogue && mayReplace_) {
        // Asked about the list shown, under its own path and name: a Yes saves it where it belongs.
        const QString newPath = context_.document.TreePath();
        const QString newType = context_.document.listType();
        restore();
        const bool replace = mayReplace_();
        if (!alive()) return;
        if (!replace) {
            kept_ = true;
            return;
        }
        context_.document.setTreePath(newPath);
        context_.rootName = name;
        context_.document.setListType(newType);
    }
    QString rootText = context_.rootName;
    context_.treeIndex = 0;
    f.showListProgress(rootText + QStringLiteral(" Tree loaded. Now filling the tree...."));
    // The file is opened before anything is cleared, and then read as the tree fills.
    QString readError;
    if (!uncachedText_ && !fileLines_.open(cachePath_, &readError)) {
        runTimeError(readError);
        restore();
        return;
    }

    if (repositoryCatalogue) {
        rootText = QStringLiteral("Main Catalog");
        context_.treeIndex = 1;
        if (bypassCache_) context_.listTrees[size_t(1)].clear();
    } else {
        context_.listTrees[size_t(0)].clear();
        context_.document.setListFile(sourceTag_);
    }
    context_.document.setListKind(context_.document.listType() == QLatin1String("schema")
                                      ? DocumentState::ListKind::SchemeList
                                      : DocumentState::ListKind::Catalogue);
    if (!f.treeViewChecked()) f.clickTreeView();

    rootText.replace(QStringLiteral("%20"), QStringLiteral(" "));
    rootText = makeRoot(rootText);
    f.layOut();

    ListTree& tree = context_.listTrees[size_t(context_.treeIndex)];
    if (tree.count() == 1) {
        fillTree(tree, rootText);
        if (!alive()) return;
    }
    f.mnuFileDraw();
    f.setMnuFileSaveAs();
    end();
}

QString ListLoad::makeRoot(const QString& rootText) {
    CommandWindow& f = *window_;
    const QString name = context_.rootName;
    struct Root {
        QString text;
        int image;
        int selectedImage;
        QString tag;
    };
    std::optional<Root> root;
    bool scrollToRoot = true;
    const auto report = [&](const QString& text, const QString& tag) {
        root = Root{text, platform::kImageFolder, platform::kImageOpenFolder, tag};
        context_.document.setTreePath(QStringLiteral(".kqi"));
        context_.rootName = QString();
        f.setSaveAsCatalogueCaption(QString());
    };
    if (name.contains(QLatin1String("?getCatalogue"), kAnyCase)) {
        context_.treeIndex = 1;
        context_.document.setTreePath(QStringLiteral("Main Catalog.kqi"));
        context_.rootName = QString();
        f.setSaveAsCatalogueCaption(QStringLiteral("Quorvantile Repository Catalog..."));
        if (context_.listTrees[size_t(1)].count() == 0)
            root = Root{QStringLiteral("Main Catalog"), platform::kImageFolder, 0,
                        QStringLiteral("Quorvantile Repository Catalog")};
        scrollToRoot = false;
    } else if (name.contains(QLatin1String("?showSearches"), kAnyCase)) {
        report(QStringLiteral("Search Analysis"), QStringLiteral("Quorvantile Repository Search Report"));
    } else if (name.contains(QLatin1String("?showFailedSearches"), kAnyCase)) {
        report(QStringLiteral("Failed Search Analysis"), QStringLiteral("Quorvantile Repository Failed Search Report"));
    } else if (name.contains(QLatin1String("metacatalogue.asp?getURLSbyDate"), kAnyCase)) {
        report(QStringLiteral("Records Updated"), QStringLiteral("Quorvantile Repository Records Updated"));
    } else if (const qsizetype at = name.indexOf(QLatin1String("?returnScheme="), 0, kAnyCase); at >= 0) {
        // Named after the scheme, whichever repository page asked for it.
        root = Root{name.mid(at + 14), platform::kImageFolder, platform::kImageOpenFolder, QStringLiteral("Scheme")};
        f.setSaveAsCatalogueCaption(QStringLiteral("Local Catalog..."));
    } else if (context_.document.TreePath().contains(QLatin1String(".kqs"), kAnyCase)) {
        root = Root{rootText, platform::kImageSchemeFolder, platform::kImageSchemeFolder, QStringLiteral("Scheme")};
    } else if (context_.document.TreePath().contains(QLatin1String(".kqi"), kAnyCase)) {
        root = Root{rootText, platform::kImageFolder, platform::kImageOpenFolder, QStringLiteral("Catalog")};
    }
    // The tree shown is the one the list goes into.
    f.showListPane(context_.treeIndex, f.treeViewChecked());
    f.showListPane(1 - context_.treeIndex, false);
    if (!root) return rootText;
    ListTree& tree = context_.listTrees[size_t(context_.treeIndex)];
    if (const ListTree::NodeId node = tree.add(0, ListTree::Place::Last, root->text + QLatin1Char('\\'), root->text,
                                               root->image, root->selectedImage)) {
        tree.setTag(node, root->tag);
        if (scrollToRoot) tree.ensureVisible(node);
    }
    // Lines without folder names go below this root, whatever its text.
    return root->text;
}

void ListLoad::fillTree(ListTree& tree, const QString& rootText) {
    CommandWindow& f = *window_;
    loadStep_ = QStringLiteral("processing lines");
    const bool scheme = context_.document.listType() == QLatin1String("schema");
    QString errors;
    QStringList renamed;
    int refused = 0;
    int counter = 0;
    if (!scheme && context_.document.listType() != QLatin1String("indexes")) {
        context_.user.MsgBox(QStringLiteral("No System Type of ") + context_.document.listType(), platform::kOkOnly, QStringLiteral("Error"));
    } else {
        // The pane shows the list once it is in; the wait dialog shows how far it got meanwhile.
        ListTree::Bulk bulk(tree);
        ListLines::ListReading reading(tree, rootText,
                                      scheme ? ListLines::ListKind::Scheme : ListLines::ListKind::Catalogue);
        // The window stays alive, also while the file is first read through to learn its encoding.
        ListLoadPace pace([&f](const QString& text) { f.showListProgress(text); });
        const auto yield = [&] { return !pace.pause(counter) || (alive() && !context_.commands.cancelRequested); };
        fileLines_.setAfterBlock(yield);
        const auto take = [&](QStringView view) {
            if (view.trimmed().isEmpty()) return true;
            const QString result = reading.add(view);
            if (result != QLatin1String("0") && ++refused <= kMostRefusalsShown) {
                errors += view.size() > kLongestLineShown
                              ? view.first(kLongestLineShown).toString() + QStringLiteral("...") + result.mid(view.size())
                              : result;
            }
            return ++counter % 64 != 0 || yield();
        };
        QString readError;
        if (uncachedText_) platform::forEachLine(*uncachedText_, take);
        else if (!fileLines_.forEach(take, &readError) && alive()) runTimeError(readError);
        if (!alive()) return;
        f.showListProgress(QString());
        renamed = reading.renamed();
    }
    if (refused > kMostRefusalsShown)
        errors += QStringLiteral("... and %1 more lines were refused.\r\n").arg(refused - kMostRefusalsShown);
    if (tree.count() >= 1) tree.setTag(tree.item(1), sourceTag_);
    if (!errors.isEmpty()) {
        loadStep_ = QStringLiteral(" processing errors");
        window_->showHelpPage(errorPage(errors));
    }
    if (!renamed.isEmpty()) context_.user.MsgBox(ListLines::renamedMessage(renamed), platform::kOkOnly, ListLines::kRenamedTitle);
}

void ListLoad::end() {
    if (!alive()) return;
    CommandWindow& f = *window_;
    // A local list goes into the history as the file address it is.
    QString address = location_;
    if (!address.contains(QLatin1String("://")) && platform::isLocalPath(address))
        address = QStringLiteral("file://") + address;
    f.addToAddressHistory(address);
    if (ListTree& tree = context_.listTrees[size_t(context_.treeIndex)]; tree.count() > 0) tree.ensureVisible(tree.item(1));
    context_.commands.listLoadRefusals = 0;
}

}  // namespace

ListLoadPace::ListLoadPace(std::function<void(const QString& text)> show) : show_(std::move(show)) {
    sinceEvents_.start();
    sinceShown_.start();
}

bool ListLoadPace::pause(int lines) {
    constexpr qint64 kEventsInterval = 25;  // milliseconds the window may go without its events
    constexpr qint64 kShownInterval = 200;
    if (sinceEvents_.elapsed() < kEventsInterval) return false;
    if (lines > 0 && sinceShown_.elapsed() >= kShownInterval) {
        show_(QStringLiteral("Loading record: ") + QLatin1Char(' ') + QString::number(lines));
        sinceShown_.restart();
    }
    QCoreApplication::processEvents();
    sinceEvents_.restart();
    return true;
}

QString listCacheFileName(const QString& name) {
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        const bool unsafe = c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7F;
        out += unsafe ? QLatin1Char('_') : c;
    }
    if (out.isEmpty()) return QStringLiteral("list");
    if (out.count(QLatin1Char('.')) == out.size()) out.fill(QLatin1Char('_'));
    // File names are limited to 255 bytes: a long name keeps its start and its extension,
    // and a digest of the whole keeps different names apart.
    if (out.toUtf8().size() > 200) {
        const qsizetype dot = out.lastIndexOf(QLatin1Char('.'));
        const QString extension = dot >= 0 && out.size() - dot <= 10 ? out.mid(dot) : QString();
        const QString digest = QString::fromLatin1(
            QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
        QString start = out.left(60);
        if (start.size() && start.back().isHighSurrogate()) start.chop(1);
        out = start + QLatin1Char('~') + digest + extension;
    }
    return out;
}

void forgetListsOfAnotherBundle() {
    const QByteArray stamp = platform::SchemeBundle::stamp();
    const QString stampPath = cacheRoot() + QStringLiteral("bundle.stamp");
    QFile old(stampPath);
    if (stamp.isEmpty() || (old.open(QIODevice::ReadOnly) && old.readAll().trimmed() == stamp)) return;
    old.close();
    QSet<QString> bundled;
    for (const QString& name : platform::SchemeBundle::cachedListNames()) bundled.insert(name.toLower());
    for (const char* kind : {"schema", "indexes"}) {
        QDir folder(cacheFolder(QLatin1String(kind)));
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
            if (bundled.contains(name.toLower())) folder.remove(name);
    }
    modFileExists::makeSurePathExists(cacheRoot());
    platform::writeFileAtomically(stampPath, stamp + "\r\n");
}

bool loadList(ProgramContext& context, QString location, std::function<bool()> mayReplace) {
    ListLoadGuard guard(context.commands, context.user);
    if (!guard.acquired()) return true;
    CommandWindow* window = context.commands.window;
    if (!window) return true;
    // A Cancel of an earlier command must not cut this load short.
    context.commands.cancelRequested = false;
    ListLoad load(context, *window, location, std::move(mayReplace));
    try {
        load.run();
    } catch (const std::exception& e) {
        context.user.MsgBox(QString::fromLocal8Bit(e.what()) + QStringLiteral(" after ") + load.step());
    }
    return !load.kept();
}

}  // namespace modMTP
