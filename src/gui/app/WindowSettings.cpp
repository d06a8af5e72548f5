// Reading the preferences at start-up and writing them back.
#include "gui/app/WindowSettings.h"

#include "gui/app/WindowPlacement.h"
#include "gui/app/modMetaMain.h"
#include "core/commands/modMacros.h"
#include "platform/Folders.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/RegistryStore.h"
#include "platform/SecretStore.h"
#include "platform/Twips.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWindow>

using platform::pixelsToTwips;
using platform::twipsToPixels;

namespace {

const QString kPosition = QStringLiteral("Position Data");
const QString kFiles = QStringLiteral("File Settings");
const QString kPrefs = QStringLiteral("Preferences");
// The firewall password's name in the desktop's keyring.
const QString kPasswordSecret = QStringLiteral("firewall password");

// A stored measure that is not a number takes the default.
double measure(const CRegSettings& s, const QString& name, double fallback) {
    bool ok = false;
    const double value = s.GetSetting(kPosition, name, QString::number(fallback)).trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

// The screens' areas free for windows, in twips; the primary screen's first.
QList<QRect> availableAreas() {
    QList<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) areas << pixelsToTwips(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen()) areas << pixelsToTwips(screen->availableGeometry());
    return areas;
}

QString programFolderWithSlash() {
    return platform::programDataFolder() + QLatin1Char('/');
}

}  // namespace

WindowSettings::WindowSettings(ProgramContext& context, QMainWindow& window)
    : context(context), window(window), formSettings(context.settings) {}

double WindowSettings::GetRegSettings() {
    formSettings = CRegSettings(context.settings);
    formSettings.setCompany(QStringLiteral("Orvane Consulting"));
    formSettings.setAppName(QStringLiteral("Quorvantil"));
    window.setWindowTitle(QStringLiteral("The Orvane Quorvantile"));

    // A first start fits the window to the screen; afterwards it opens where it was left.
    firstStart_ = formSettings.GetSetting(kPosition, QStringLiteral("Width"), QString()).isEmpty() ||
                  formSettings.GetSetting(kPosition, QStringLiteral("Height"), QString()).isEmpty();
    const QList<QRect> areas = availableAreas();
    if (firstStart_ && !areas.isEmpty()) {
        placeFrame(twipsToPixels(WindowPlacement::firstStartFrame(areas.first())));
    } else {
        const double left = measure(formSettings, QStringLiteral("Left"), 2625);
        const double top = measure(formSettings, QStringLiteral("Top"), 1560);
        const double width = measure(formSettings, QStringLiteral("Width"), WindowPlacement::kDesignWidth);
        const double height = measure(formSettings, QStringLiteral("Height"), WindowPlacement::kDesignHeight);
        const QRect stored(twipsToPixels(left), twipsToPixels(top), std::max(twipsToPixels(width), window.minimumWidth()),
                           std::max(twipsToPixels(height), window.minimumHeight()));
        const QRect fitted = twipsToPixels(WindowPlacement::keepOnScreen(pixelsToTwips(stored), areas));
        window.move(fitted.topLeft());
        window.resize(fitted.size());
    }
    frameChecked_ = false;

    context.FilePath = formSettings.GetSetting(kFiles, QStringLiteral("FilePath"), programFolderWithSlash());
    context.FilePath = platform::folderPart(context.FilePath);
    context.BatchPath = formSettings.GetSetting(kFiles, QStringLiteral("BatchPath"), programFolderWithSlash());

    Preferences& p = context.preferences;
    p.Home = formSettings.GetSetting(kPrefs, QStringLiteral("Home"), QStringLiteral("http://") + context.schemeServer);
    p.FileNewURL = formSettings.GetSetting(kPrefs, QStringLiteral("FileNewURL"), QString());
    p.charEncoding = formSettings.GetSetting(kPrefs, QStringLiteral("charEncoding"), QStringLiteral("2"));
    p.siteAdmin = formSettings.GetSetting(kPrefs, QStringLiteral("siteAdmin"), QString());
    p.siteAdminEmail = formSettings.GetSetting(kPrefs, QStringLiteral("siteAdminEmail"), QString());

    // Function-key macros kept by older versions directly under "Preferences".
    for (const QString& name : modMacros::kFunctionKeys) {
        const QString old = formSettings.GetSetting(kPrefs, name, QString());
        if (!old.isEmpty() && !old.contains(QLatin1String("unused"), Qt::CaseInsensitive))
            formSettings.SaveSetting(modMacros::kMacroSection, name,
                                     name + QLatin1String(" - Macro|") + old);
    }
    modMacros::loadMacros(context, modMacros::kMacroSection);

    p.ClearCache.setText(formSettings.GetSetting(kPrefs, QStringLiteral("ClearCache"), QStringLiteral("Y")));
    p.Language = formSettings.GetSetting(kPrefs, QStringLiteral("Language"), QStringLiteral("Australian"));
    p.CompleteMtp.setText(formSettings.GetSetting(kPrefs, QStringLiteral("CompleteMtp"), QStringLiteral("Y")));
    p.UseLinkRel.setText(formSettings.GetSetting(kPrefs, QStringLiteral("UseLinkRel"), QStringLiteral("Y")));
    p.checkHarvest.setText(formSettings.GetSetting(kPrefs, QStringLiteral("checkHarvest"), QStringLiteral("N")));
    p.showSplash.setText(formSettings.GetSetting(kPrefs, QStringLiteral("showSplash"), QStringLiteral("Y")));
    p.fixMeta.setText(formSettings.GetSetting(kPrefs, QStringLiteral("fixMeta"), QStringLiteral("N")));
    context.document.setTreePath(formSettings.GetSetting(kPrefs, QStringLiteral("schemeTree"), programFolderWithSlash() + QLatin1String("schemes/")));
    p.INETname = formSettings.GetSetting(kPrefs, QStringLiteral("INETname"), QString());
    // The password lives in the desktop's keyring when one runs, else in the settings file.
    const platform::SecretRead kept = platform::readSecret(kPasswordSecret);
    p.INETid = kept.value ? *kept.value : formSettings.GetSetting(kPrefs, QStringLiteral("INETid"), QString());

    readDomainPreferences();
    return WindowPlacement::treePaneWidth(pixelsToTwips(window.width()));
}

void WindowSettings::placeFrame(const QRect& frame) {
    const QMargins margins = window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
    window.move(frame.topLeft());
    window.resize(frame.size().shrunkBy(margins).expandedTo(window.minimumSize()));
}

// The window manager's frame is known once the window is first on screen: a first start
// centres the whole frame, and a window left on a larger screen is brought onto this one.
void WindowSettings::checkFrameOnScreen() {
    if (frameChecked_ || !window.windowHandle() || window.windowHandle()->frameMargins().isNull()) return;
    frameChecked_ = true;
    const QList<QRect> areas = availableAreas();
    if (areas.isEmpty()) return;
    const QRect wanted = twipsToPixels(firstStart_ ? WindowPlacement::firstStartFrame(areas.first())
                                                   : WindowPlacement::keepOnScreen(pixelsToTwips(window.frameGeometry()), areas));
    if (wanted != window.frameGeometry()) placeFrame(wanted);
}

void WindowSettings::savePreferences() {
    // One message for the whole write-back, not one from the store for each value.
    QStringList notices;
    const platform::StoreNoticeHandler shown =
        platform::setStoreNoticeHandler([&notices](const QString& message) { notices << message; });
    const int failedBefore = formSettings.failedSaves();
    writePreferences();
    platform::setStoreNoticeHandler(shown);
    if (formSettings.failedSaves() > failedBefore) {
        context.user.MsgBox(QStringLiteral("Quorvantile could not save its preferences (%1). The next start uses the "
                                           "preferences saved before.").arg(formSettings.lastError()),
                            platform::kExclamationIcon);
    } else if (shown) {
        for (const QString& message : notices) shown(message);
    }
}

void WindowSettings::writePreferences() {
    formSettings.SaveSetting(kPosition, QStringLiteral("Left"), QString::number(pixelsToTwips(window.x())));
    formSettings.SaveSetting(kPosition, QStringLiteral("Top"), QString::number(pixelsToTwips(window.y())));
    formSettings.SaveSetting(kPosition, QStringLiteral("Width"), QString::number(pixelsToTwips(window.width())));
    formSettings.SaveSetting(kPosition, QStringLiteral("Height"), QString::number(pixelsToTwips(window.height())));

    formSettings.SaveSetting(kFiles, QStringLiteral("TreePath"), context.document.TreePath());
    formSettings.SaveSetting(kFiles, QStringLiteral("FilePath"), context.FilePath);
    formSettings.SaveSetting(kFiles, QStringLiteral("BatchPath"), context.BatchPath);

    const Preferences& p = context.preferences;
    formSettings.SaveSetting(kPrefs, QStringLiteral("Home"), p.Home);
    formSettings.SaveSetting(kPrefs, QStringLiteral("FileNewURL"), p.FileNewURL);
    for (const QString& key : modMacros::kFunctionKeys) formSettings.DeleteSetting(kPrefs, key);
    formSettings.SaveSetting(kPrefs, QStringLiteral("ClearCache"), p.ClearCache.text());
    formSettings.SaveSetting(kPrefs, QStringLiteral("Language"), p.Language);
    formSettings.SaveSetting(kPrefs, QStringLiteral("CompleteMTP"), p.CompleteMtp.text());
    formSettings.SaveSetting(kPrefs, QStringLiteral("UseLinkRel"), p.UseLinkRel.text());
    formSettings.SaveSetting(kPrefs, QStringLiteral("checkHarvest"), p.checkHarvest.text());
    formSettings.SaveSetting(kPrefs, QStringLiteral("showSplash"), p.showSplash.text());
    formSettings.SaveSetting(kPrefs, QStringLiteral("fixMeta"), p.fixMeta.text());
    writeDomainPreference();
    formSettings.SaveSetting(kPrefs, QStringLiteral("charEncoding"), p.charEncoding);
    formSettings.SaveSetting(kPrefs, QStringLiteral("siteAdmin"), p.siteAdmin);
    formSettings.SaveSetting(kPrefs, QStringLiteral("siteAdminEmail"), p.siteAdminEmail);
    formSettings.SaveSetting(kPrefs, QStringLiteral("schemeTree"), context.document.TreePath());
    formSettings.SaveSetting(kPrefs, QStringLiteral("INETname"), p.INETname);
    // Into the keyring when one takes it, and then out of the settings file.
    if (platform::writeSecret(kPasswordSecret, p.INETid)) formSettings.DeleteSetting(kPrefs, QStringLiteral("INETid"));
    else formSettings.SaveSetting(kPrefs, QStringLiteral("INETid"), p.INETid);
}
