// The domain part of the preferences.
#include "gui/app/WindowSettings.h"

#include "core/domains/modCheckList.h"
#include "core/domains/modSchemas.h"

void WindowSettings::readDomainPreferences() {
    modCheckList::fillSchemaCatalogue(context.domain.catalogue, context.schemeServer);
    modSchemas::hideAllSchemaMenus(context);
    const auto chosen = formSettings.GetAllSettings(QStringLiteral("Preferences\\Schemas"));
    // Without chosen domains the reader ends here: no default domain, fixMeta as read.
    if (chosen.isEmpty()) return;
    for (const SettingRow& row : chosen) modSchemas::showSchemaMenu(context, true, row.name);
    context.domain.defaultSchema = formSettings.GetSetting(QStringLiteral("Preferences"), QStringLiteral("defaultSchema"), QString());
    defaultSchemaRead_ = true;
    if (!context.domain.defaultSchema.isEmpty()) modSchemas::applyDomainDefaults(context);
    context.preferences.fixMeta.set(false);
}

// A domain that was never read (no domains chosen) is not written back as "", so a stored
// domain is never erased by a run that did not look at it.
void WindowSettings::writeDomainPreference() {
    if (defaultSchemaRead_ || !context.domain.defaultSchema.isEmpty())
        formSettings.SaveSetting(QStringLiteral("Preferences"), QStringLiteral("defaultSchema"), context.domain.defaultSchema);
}
