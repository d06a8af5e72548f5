#include "core/program/CRegSettings.h"

#include "platform/RegistryStore.h"

using platform::RegistryRoot;

const QString CRegSettings::kDefaultCompany = QStringLiteral("Orvane Consulting");
const QString CRegSettings::kDefaultAppName = QStringLiteral("Quorvantil");

namespace {
QString valueName(const QString& key) {
    return key == QLatin1String("*") ? QString() : key;
}
}  // namespace

void CRegSettings::setCompany(const QString& company) {
    // The length test comes before trimming: blanks only give an empty name, not the default.
    company_ = company.isEmpty() ? kDefaultCompany : company.trimmed();
}

void CRegSettings::setAppName(const QString& appName) {
    appName_ = appName.isEmpty() ? kDefaultAppName : appName.trimmed();
}

QString CRegSettings::getKeyPath(const QString& section) const {
    QString path = QStringLiteral("Software\\") + company_ + QLatin1Char('\\') + appName_;
    if (!section.isEmpty()) path += QLatin1Char('\\') + section;
    return path;
}

QString CRegSettings::GetSetting(const QString& section, const QString& key,
                                 const QString& defaultValue) const {
    const auto value = store_->queryValue(RegistryRoot::CurrentUser, getKeyPath(section), valueName(key));
    return value ? value->data : defaultValue;
}

bool CRegSettings::SaveSetting(const QString& section, const QString& key, const QString& setting) {
    const QString path = getKeyPath(section);
    const bool saved = store_->createKey(RegistryRoot::CurrentUser, path) &&
                       store_->setValue(RegistryRoot::CurrentUser, path, valueName(key), setting);
    if (!saved) ++failedSaves_;
    return saved;
}

QString CRegSettings::lastError() const {
    return store_->lastError();
}

bool CRegSettings::DeleteSetting(const QString& section, const QString& key) {
    if (!key.isEmpty())
        return store_->deleteValue(RegistryRoot::CurrentUser, getKeyPath(section), valueName(key));
    return store_->deleteKey(RegistryRoot::CurrentUser, getKeyPath(section));
}

QList<SettingRow> CRegSettings::GetAllSettings(const QString& section) const {
    QList<SettingRow> rows;
    const auto values = store_->values(RegistryRoot::CurrentUser, getKeyPath(section));
    if (!values) return rows;
    for (const auto& value : *values) {
        if (value.isText) rows.append(SettingRow{value.name, value.data});
    }
    return rows;
}
