#pragma once
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// The program's registry: HKEY_CURRENT_USER and HKEY_CLASSES_ROOT keys kept in one
// REGEDIT4 text file. Key and value names match ignoring case and keep the case they
// were first written in; keys and values enumerate in insertion order. Every call goes
// to the file: writes re-read it under a lock and replace it atomically, so several
// running copies of the program never lose each other's values.
namespace platform {

enum class RegistryRoot { CurrentUser, ClassesRoot };

struct RegistryValue {
    QString name;        // "" is the key's default value
    bool isText = true;  // false: a value of another type, kept as written
    QString data;        // the text, or the raw REGEDIT4 form of another type
};

class RegistryStore {
public:
    explicit RegistryStore(QString filePath);

    const QString& filePath() const { return path_; }

    bool keyExists(RegistryRoot root, const QString& key) const;
    // Creates the key and every missing key above it; true when it exists afterwards.
    bool createKey(RegistryRoot root, const QString& key);
    // Deletes a key that has no sub-keys; false when it is missing or has sub-keys.
    bool deleteKey(RegistryRoot root, const QString& key);

    // nullopt when the key or the value is missing; an empty text is a value.
    std::optional<RegistryValue> queryValue(RegistryRoot root, const QString& key,
                                            const QString& name) const;
    // Sets a text value of an existing key.
    bool setValue(RegistryRoot root, const QString& key, const QString& name, const QString& text);
    bool deleteValue(RegistryRoot root, const QString& key, const QString& name);
    // Every value of the key in insertion order; nullopt when the key is missing.
    std::optional<QList<RegistryValue>> values(RegistryRoot root, const QString& key) const;

    // Why the last failing call failed.
    const QString& lastError() const { return error_; }

private:
    struct Tree;
    enum class Change { Failed, Unchanged, Changed };
    enum class Read { Ok, Unreadable, Damaged };

    // The current tree (cached while the file's bytes are unchanged), or nullptr.
    const Tree* load() const;
    // Locked read-modify-write: the edit sees the file as it is now.
    bool mutate(const std::function<Change(Tree&)>& edit);
    Read readTree(bool underLock) const;
    bool setAside(const QString& reason) const;
    void writeFailed() const;

    QString path_;
    mutable QString error_;
    mutable bool failureTold_ = false;
    mutable QByteArray cachedBytes_;
    mutable std::shared_ptr<const Tree> cachedTree_;
};

// The store's file of the user who runs the program: registry.reg in configFolder().
QString userRegistryFile();

// Told when the store has to set a damaged file aside or cannot be written (with the
// system's reason, once until a write succeeds again); the program shows these to the user.
// The default writes to the log. Returns the handler it replaces.
using StoreNoticeHandler = std::function<void(const QString& message)>;
StoreNoticeHandler setStoreNoticeHandler(StoreNoticeHandler handler);

}  // namespace platform
