// The domain part of the preferences.
#include "app/Form1.h"

#include "app/Preferences.h"

void Form1::readDomainPreferences() {
    const auto chosen = formSettings.GetAllSettings(QStringLiteral("Preferences\\Schemas"));
    // Without chosen domains the reader ends here: no default domain, fixMeta as read.
    if (chosen.isEmpty()) return;
    defaultSchemaRead_ = true;
    Preferences::fixMeta = QStringLiteral("N");
}

void Form1::writeDomainPreference() {}
