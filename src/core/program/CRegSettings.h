#pragma once
#include <QList>
#include <QString>

namespace platform {
class RegistryStore;
}  // namespace platform

// One named text setting of a section.
struct SettingRow {
    QString name;
    QString value;
    bool operator==(const SettingRow&) const = default;
};

// The program's settings: text values in sections under
// HKEY_CURRENT_USER\Software\<Company>\<AppName>. Nothing is cached; every call goes
// to the store, so values written by one instance (or another running copy of the
// program) are seen at once by every other.
class CRegSettings {
public:
    // The settings in this store (the context's).
    explicit CRegSettings(platform::RegistryStore& store) : store_(&store) {}

    static const QString kDefaultCompany;
    static const QString kDefaultAppName;

    // An empty text restores the default; anything else is kept trimmed of blanks.
    void setCompany(const QString& company);
    const QString& Company() const { return company_; }
    void setAppName(const QString& appName);
    const QString& AppName() const { return appName_; }

    // Key "*" names the section's default value. An empty key deletes the section
    // itself, which fails while it holds sub-keys.
    bool DeleteSetting(const QString& section, const QString& key);
    // The section's text values in their order; empty when the section is missing or holds none.
    QList<SettingRow> GetAllSettings(const QString& section) const;
    QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) const;
    bool SaveSetting(const QString& section, const QString& key, const QString& setting);
    // How many SaveSetting calls of this instance failed, and why the last call to the
    // store that failed did.
    int failedSaves() const { return failedSaves_; }
    QString lastError() const;

private:
    QString getKeyPath(const QString& section) const;

    platform::RegistryStore* store_;
    QString company_ = kDefaultCompany;
    QString appName_ = kDefaultAppName;
    int failedSaves_ = 0;
};
