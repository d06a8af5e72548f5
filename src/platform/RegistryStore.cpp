#include "platform/RegistryStore.h"

#include "platform/Folders.h"
#include "platform/TextCodec.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringDecoder>

#include <filesystem>
#include <system_error>
#include <utility>

namespace platform {

struct RegistryStore::Tree {
    struct Key {
        QString path;  // full path with the root's name, as first written
        QList<RegistryValue> values;
        QHash<QString, qsizetype> valueIndex;  // folded name -> position in values
    };
    QList<Key> keys;
    QHash<QString, qsizetype> keyIndex;  // folded path -> position in keys

    static QString fold(const QString& text) { return text.toCaseFolded(); }
    // Parses a store file; false (with a reason) when it is not one we can trust.
    static bool parse(const QByteArray& bytes, Tree& tree, QString& reason);
    QByteArray serialize() const;

    Key* find(const QString& fullPath) {
        const auto it = keyIndex.constFind(fold(fullPath));
        return it == keyIndex.cend() ? nullptr : &keys[*it];
    }
    const Key* find(const QString& fullPath) const {
        return const_cast<Tree*>(this)->find(fullPath);
    }
    Key& add(const QString& fullPath) {
        keyIndex.insert(fold(fullPath), keys.size());
        keys.append(Key{fullPath, {}, {}});
        return keys.last();
    }
    // Creates the key and its missing ancestors; returns whether anything was added.
    bool ensure(const QString& fullPath) {
        bool added = false;
        // The root itself is never stored: start at the first step below it.
        qsizetype from = fullPath.indexOf(QLatin1Char('\\')) + 1;
        if (from == 0) return false;
        while (true) {
            const qsizetype cut = fullPath.indexOf(QLatin1Char('\\'), from);
            const QString step = cut < 0 ? fullPath : fullPath.left(cut);
            if (!find(step)) {
                add(step);
                added = true;
            }
            if (cut < 0) return added;
            from = cut + 1;
        }
    }
    bool hasSubKeys(const QString& fullPath) const {
        const QString prefix = fold(fullPath) + QLatin1Char('\\');
        for (const Key& key : keys) {
            if (fold(key.path).startsWith(prefix)) return true;
        }
        return false;
    }
    void remove(const QString& fullPath) {
        keys.removeAt(keyIndex.value(fold(fullPath)));
        keyIndex.clear();
        for (qsizetype i = 0; i < keys.size(); ++i) keyIndex.insert(fold(keys[i].path), i);
    }
    static void setValue(Key& key, const RegistryValue& value) {
        const QString folded = fold(value.name);
        const auto it = key.valueIndex.constFind(folded);
        if (it != key.valueIndex.cend()) {
            // Keep the name as first written; only the data changes.
            key.values[*it].isText = value.isText;
            key.values[*it].data = value.data;
            return;
        }
        key.valueIndex.insert(folded, key.values.size());
        key.values.append(value);
    }
    static void removeValue(Key& key, const QString& name) {
        key.values.removeAt(key.valueIndex.value(fold(name)));
        key.valueIndex.clear();
        for (qsizetype i = 0; i < key.values.size(); ++i) key.valueIndex.insert(fold(key.values[i].name), i);
    }
};

namespace {

const QLatin1String kHeader("REGEDIT4");
constexpr int kLockWaitMs = 5000;
// A lock file this old whose owner cannot be told (an empty one, left by a program killed
// while it held the lock) belongs to nobody. Holders keep it for milliseconds.
constexpr int kAbandonedLockMs = 2000;
// A settings file this large is no settings file: it is set aside like a damaged one.
constexpr qint64 kLargestStoreBytes = 64LL * 1024 * 1024;

bool lockStore(QLockFile& lock) {
    lock.setStaleLockTime(kAbandonedLockMs);
    return lock.tryLock(kLockWaitMs);
}

QString rootName(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? QStringLiteral("HKEY_CURRENT_USER")
                                             : QStringLiteral("HKEY_CLASSES_ROOT");
}

// Key paths are written with "\" between steps; stray separators at the ends are dropped.
QString fullPath(RegistryRoot root, const QString& key) {
    QString trimmed = key;
    while (trimmed.startsWith(QLatin1Char('\\'))) trimmed.remove(0, 1);
    while (trimmed.endsWith(QLatin1Char('\\'))) trimmed.chop(1);
    return trimmed.isEmpty() ? rootName(root) : rootName(root) + QLatin1Char('\\') + trimmed;
}

QString quote(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case 0: out += QLatin1String("\\0"); break;
        default: out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

// Reads a quoted string starting at line[pos] == '"'; pos ends after the closing quote.
std::optional<QString> unquote(const QString& line, qsizetype& pos) {
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line.at(pos);
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c == QLatin1Char('\\') && pos + 1 < line.size()) {
            const QChar next = line.at(++pos);
            switch (next.unicode()) {
            case 'n': out += QLatin1Char('\n'); break;
            case 'r': out += QLatin1Char('\r'); break;
            case '0': out += QChar(0); break;
            default: out += next;  // \\ and \" and anything else: the character itself
            }
            continue;
        }
        out += c;
    }
    return std::nullopt;
}

bool knownRoot(const QString& path) {
    for (const auto root : {RegistryRoot::CurrentUser, RegistryRoot::ClassesRoot}) {
        const QString name = rootName(root);
        if (path.compare(name, Qt::CaseInsensitive) == 0 ||
            path.startsWith(name + QLatin1Char('\\'), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

}  // namespace

bool RegistryStore::Tree::parse(const QByteArray& bytes, Tree& tree, QString& reason) {
    tree = {};
    if (bytes.isEmpty()) return true;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        reason = QStringLiteral("the file is not UTF-8 text");
        return false;
    }
    Key* current = nullptr;
    bool headerSeen = false;
    qsizetype lineNumber = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) end = text.size();
        QString line = text.mid(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (lineNumber == 1 && line.startsWith(QChar(0xFEFF))) line.remove(0, 1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';'))) continue;
        if (!headerSeen) {
            if (trimmed != kHeader) {
                reason = QStringLiteral("the first line is not REGEDIT4");
                return false;
            }
            headerSeen = true;
            continue;
        }
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            const QString path = trimmed.mid(1, trimmed.size() - 2);
            if (!knownRoot(path)) {
                reason = QStringLiteral("line %1 names an unknown root key").arg(lineNumber);
                return false;
            }
            tree.ensure(path);
            current = tree.find(path);
            continue;
        }
        RegistryValue value;
        qsizetype pos = 0;
        if (trimmed.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else if (trimmed.startsWith(QLatin1Char('"'))) {
            const auto name = unquote(trimmed, pos);
            if (!name) {
                reason = QStringLiteral("line %1 has an unclosed value name").arg(lineNumber);
                return false;
            }
            value.name = *name;
        } else {
            reason = QStringLiteral("line %1 is neither a key nor a value").arg(lineNumber);
            return false;
        }
        if (!current || pos >= trimmed.size() || trimmed.at(pos) != QLatin1Char('=')) {
            reason = QStringLiteral("line %1 is a value outside a key or without \"=\"").arg(lineNumber);
            return false;
        }
        ++pos;
        if (pos < trimmed.size() && trimmed.at(pos) == QLatin1Char('"')) {
            const auto data = unquote(trimmed, pos);
            if (!data || pos != trimmed.size()) {
                reason = QStringLiteral("line %1 has a badly quoted value").arg(lineNumber);
                return false;
            }
            value.data = *data;
        } else {
            value.isText = false;  // dword:, hex: and the like are kept as written
            value.data = trimmed.mid(pos);
        }
        setValue(*current, value);
    }
    if (!headerSeen) {
        reason = QStringLiteral("the file has no REGEDIT4 header");
        return false;
    }
    return true;
}

QByteArray RegistryStore::Tree::serialize() const {
    QString text = kHeader + QLatin1String("\n");
    for (const auto& key : keys) {
        text += QLatin1String("\n[") + key.path + QLatin1String("]\n");
        for (const RegistryValue& value : key.values) {
            text += value.name.isEmpty() ? QStringLiteral("@") : quote(value.name);
            text += QLatin1Char('=');
            text += value.isText ? quote(value.data) : value.data;
            text += QLatin1Char('\n');
        }
    }
    return text.toUtf8();
}

namespace {

StoreNoticeHandler& noticeHandler() {
    static StoreNoticeHandler handler = [](const QString& message) { qWarning("%s", qPrintable(message)); };
    return handler;
}

// Notices raised while the store's lock is held are told once it is released: a notice may
// wait for the user, and another copy of the program must not wait on the lock meanwhile.
int lockedDepth = 0;
QStringList& heldNotices() {
    static QStringList held;
    return held;
}

void notice(const QString& message) {
    if (lockedDepth > 0) heldNotices().append(message);
    else if (noticeHandler()) noticeHandler()(message);
}

// Declared before the lock, so it ends after the lock is released.
class NoticesAfterLock {
public:
    NoticesAfterLock() { ++lockedDepth; }
    ~NoticesAfterLock() {
        if (--lockedDepth > 0) return;
        const QStringList held = std::exchange(heldNotices(), {});
        for (const QString& message : held) notice(message);
    }
    NoticesAfterLock(const NoticesAfterLock&) = delete;
    NoticesAfterLock& operator=(const NoticesAfterLock&) = delete;
};

}  // namespace

RegistryStore::RegistryStore(QString filePath) : path_(std::move(filePath)) {}

RegistryStore::Read RegistryStore::readTree(bool underLock) const {
    QFile file(path_);
    QByteArray bytes;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            error_ = QStringLiteral("cannot read %1: %2").arg(path_, file.errorString());
            static QString reported;
            if (reported != path_) {
                reported = path_;
                notice(QStringLiteral("Quorvantil cannot read its settings file %1 (%2); "
                                      "it runs with default settings and will not change the file.")
                           .arg(path_, file.errorString()));
            }
            return Read::Unreadable;
        }
        if (file.size() <= kLargestStoreBytes) bytes = file.readAll();
    }
    if (cachedTree_ && bytes == cachedBytes_ && file.size() <= kLargestStoreBytes) return Read::Ok;
    auto tree = std::make_shared<Tree>();
    QString reason;
    const bool tooLarge = file.size() > kLargestStoreBytes;
    if (tooLarge) reason = QStringLiteral("it is larger than 64 MB");
    if (tooLarge || !Tree::parse(bytes, *tree, reason)) {
        if (!underLock) return Read::Damaged;
        // Never write over a file we could neither read nor keep.
        if (!setAside(reason)) return Read::Unreadable;
        *tree = {};
        bytes.clear();
    }
    cachedBytes_ = bytes;
    cachedTree_ = std::move(tree);
    return Read::Ok;
}

bool RegistryStore::setAside(const QString& reason) const {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path_ + QLatin1String(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path_ + QLatin1String(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
    if (QFile::rename(path_, aside)) {
        notice(QStringLiteral("The settings file %1 could not be read (%2). It was kept as %3 and "
                              "Quorvantil started fresh settings.")
                   .arg(path_, reason, aside));
        return true;
    }
    notice(QStringLiteral("The settings file %1 could not be read (%2) and could not be kept "
                          "aside; settings will not be saved until it is repaired or removed.")
               .arg(path_, reason));
    return false;
}

const RegistryStore::Tree* RegistryStore::load() const {
    switch (readTree(false)) {
    case Read::Ok: return cachedTree_.get();
    case Read::Unreadable: return nullptr;
    case Read::Damaged: break;
    }
    // Look again under the lock, so only one copy of the program sets a damaged file aside.
    const NoticesAfterLock notices;
    QLockFile lock(path_ + QLatin1String(".lock"));
    if (!lockStore(lock)) {
        error_ = QStringLiteral("the settings file %1 is locked").arg(path_);
        return nullptr;
    }
    return readTree(true) == Read::Ok ? cachedTree_.get() : nullptr;
}

// A write that fails is told with the system's reason, once until a write succeeds again.
void RegistryStore::writeFailed() const {
    if (std::exchange(failureTold_, true)) return;
    notice(QStringLiteral("Quorvantil could not save its settings (%1); settings changed now are not kept.").arg(error_));
}

bool RegistryStore::mutate(const std::function<Change(Tree&)>& edit) {
    const QString folder = QFileInfo(path_).absolutePath();
    std::error_code made;
    if (!std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), made) && made) {
        error_ = QStringLiteral("cannot create the folder %1: %2").arg(folder, QString::fromLocal8Bit(made.message()));
        writeFailed();
        return false;
    }
    const NoticesAfterLock notices;
    QLockFile lock(path_ + QLatin1String(".lock"));
    if (!lockStore(lock)) {
        error_ = QStringLiteral("the settings file %1 is locked").arg(path_);
        return false;
    }
    if (readTree(true) != Read::Ok) return false;
    Tree tree = *cachedTree_;
    const Change change = edit(tree);
    if (change != Change::Changed) return change == Change::Unchanged;

    const QByteArray bytes = tree.serialize();
    // The file may hold the firewall password: owner only.
    if (!writeFileAtomically(path_, bytes, &error_, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        writeFailed();
        return false;
    }
    failureTold_ = false;
    cachedBytes_ = bytes;
    cachedTree_ = std::make_shared<Tree>(std::move(tree));
    return true;
}

bool RegistryStore::keyExists(RegistryRoot root, const QString& key) const {
    const Tree* tree = load();
    return tree && tree->find(fullPath(root, key));
}

bool RegistryStore::createKey(RegistryRoot root, const QString& key) {
    const QString path = fullPath(root, key);
    return mutate([&](Tree& tree) { return tree.ensure(path) ? Change::Changed : Change::Unchanged; });
}

bool RegistryStore::deleteKey(RegistryRoot root, const QString& key) {
    const QString path = fullPath(root, key);
    return mutate([&](Tree& tree) {
        if (!tree.find(path)) {
            error_ = QStringLiteral("no key %1").arg(path);
            return Change::Failed;
        }
        if (tree.hasSubKeys(path)) {
            error_ = QStringLiteral("the key %1 has sub-keys").arg(path);
            return Change::Failed;
        }
        tree.remove(path);
        return Change::Changed;
    });
}

std::optional<RegistryValue> RegistryStore::queryValue(RegistryRoot root, const QString& key,
                                                       const QString& name) const {
    const Tree* tree = load();
    const Tree::Key* k = tree ? tree->find(fullPath(root, key)) : nullptr;
    if (!k) return std::nullopt;
    const auto it = k->valueIndex.constFind(Tree::fold(name));
    if (it == k->valueIndex.cend()) return std::nullopt;
    return k->values.at(*it);
}

bool RegistryStore::setValue(RegistryRoot root, const QString& key, const QString& name,
                             const QString& text) {
    const QString path = fullPath(root, key);
    return mutate([&](Tree& tree) {
        Tree::Key* k = tree.find(path);
        if (!k) {
            error_ = QStringLiteral("no key %1").arg(path);
            return Change::Failed;
        }
        const auto it = k->valueIndex.constFind(Tree::fold(name));
        if (it != k->valueIndex.cend() && k->values[*it].isText && k->values[*it].data == text)
            return Change::Unchanged;  // nothing to write
        Tree::setValue(*k, RegistryValue{name, true, text});
        return Change::Changed;
    });
}

bool RegistryStore::deleteValue(RegistryRoot root, const QString& key, const QString& name) {
    const QString path = fullPath(root, key);
    return mutate([&](Tree& tree) {
        Tree::Key* k = tree.find(path);
        if (!k || !k->valueIndex.contains(Tree::fold(name))) {
            error_ = QStringLiteral("no value \"%1\" in %2").arg(name, path);
            return Change::Failed;
        }
        Tree::removeValue(*k, name);
        return Change::Changed;
    });
}

std::optional<QList<RegistryValue>> RegistryStore::values(RegistryRoot root, const QString& key) const {
    const Tree* tree = load();
    const Tree::Key* k = tree ? tree->find(fullPath(root, key)) : nullptr;
    if (!k) return std::nullopt;
    return k->values;
}

QString userRegistryFile() {
    return configFolder() + QLatin1String("/registry.reg");
}

StoreNoticeHandler setStoreNoticeHandler(StoreNoticeHandler handler) {
    return std::exchange(noticeHandler(), std::move(handler));
}

}  // namespace platform
