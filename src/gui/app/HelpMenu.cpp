// The Help menu: documentation pages in the help window, the current domain's tutorial,
// and the about box.
#include "gui/app/HelpMenu.h"

#include "gui/app/frmAbout.h"
#include "gui/app/frmHelpBrowser.h"
#include "gui/frame/AddressBar.h"
#include "gui/frame/Navigation.h"
#include "gui/frame/WindowFrame.h"
#include "core/program/ProgramContext.h"
#include "platform/widgets/WebBrowser.h"

#include "platform/widgets/MenuItems.h"
#include "platform/widgets/Modal.h"

#include <QAction>
#include <QMenu>

namespace {

const char* const kDocPages[] = {"/manual2/", "/manual2/_Toc186103.htm", "/manual2/_Toc186106.htm",
                                 "/manual2/_Toc186108.htm", "/manual2/_Toc186112.htm", nullptr,
                                 "/manual2/_Toc186128.htm", "/manual2/_Toc186129.htm", "/manual2/_Toc186143.htm",
                                 "/manual2/_Toc186130.htm", "/manual2/_Toc186134.htm", "/manual2/_Toc186135.htm",
                                 nullptr, "/manual2/_Toc186183.htm"};
const char* const kMenuPages[] = {"/manual2/_Toc186122.htm", "/manual2/_Toc186123.htm", "/manual2/_Toc186124.htm",
                                  "/manual2/_Toc186125.htm", "/manual2/_Toc186126.htm", "/manual2/_Toc186127.htm"};
const char* const kMacroPages[] = {"/manual2/_Toc186150.htm", "/manual2/_Toc186154.htm", "/manual2/_Toc186157.htm",
                                   "/manual2/_Toc186161.htm", "/manual2/_Toc186173.htm", "/manual2/_Toc186176.htm"};

}  // namespace

HelpMenu::HelpMenu(ProgramContext& context, WindowFrame& frame, const Neighbours& around)
    : context_(context), frame_(frame), around_(around) {}

HelpMenu::~HelpMenu() {
    delete helpWindow_.data();
}

frmHelpBrowser& HelpMenu::helpWindow() {
    if (!helpWindow_) helpWindow_ = new frmHelpBrowser(context_, frame_, around_);
    return *helpWindow_;
}

void HelpMenu::showSchemeHelp(const QString& address) {
    frmHelpBrowser& help = helpWindow();
    help.openPage(address);
    frame_.modalRuns().execModal(help);
}

void HelpMenu::showHelpHtml(const QString& html) {
    frmHelpBrowser& help = helpWindow();
    help.setHTML(html);
    help.show();
}

platform::Inet& HelpMenu::repositoryTransfer() {
    return helpWindow().repositoryTransfer();
}

void HelpMenu::showHelpPage(const char* path) {
    frmHelpBrowser& help = helpWindow();
    help.show();
    help.raise();
    if (path) help.openPage(QStringLiteral("http://") + context_.schemeServer + QLatin1String(path));
}

void HelpMenu::mnuHelpDocIndex_Click(int index) {
    if (index < 1 || index > 14) return showHelpPage(nullptr);
    if (index == 6 || index == 13) return;  // submenus
    showHelpPage(kDocPages[index - 1]);
}

void HelpMenu::mnuHelpDocMenus_Click(int index) {
    showHelpPage(index >= 1 && index <= 6 ? kMenuPages[index - 1] : nullptr);
}

void HelpMenu::mnuHelpDocMacros_Click(int index) {
    showHelpPage(index >= 1 && index <= 6 ? kMacroPages[index - 1] : nullptr);
}

void HelpMenu::mnuHelpTutorial_Click() {
    const DomainCatalogue& catalogue = context_.domain.catalogue;
    for (size_t i = 0; i < DomainCatalogue::kSlots; ++i) {
        if (catalogue.schemaLongNames[i].isEmpty()) break;
        if (catalogue.schemaShortNames[i] == context_.domain.defaultSchema) {
            around_.address.setAddressText(catalogue.schemaTutorialURLs[i]);
            break;
        }
    }
    if (around_.address.addressText().isEmpty())
        around_.address.setAddressText(context_.schemeServer + QStringLiteral("/tutorial.html"));
    around_.navigation.LoadURL();
}

void HelpMenu::openServerPage(const QString& path) {
    around_.address.setAddressText(context_.schemeServer + path);
    around_.navigation.LoadURL();
}

void HelpMenu::showAboutBox() {
    if (!aboutBox_) aboutBox_ = new frmAbout(context_.user, [this](const QString& path) { openServerPage(path); }, frame_.clientArea()->window());
    platform::showOverOwner(*aboutBox_);
}

void HelpMenu::connectItems(QObject& menus) {
    const auto on = [this, &menus](const QString& name, auto handler) { menuItems::connectItem(menus, name, this, handler); };
    for (int i = 1; i <= 14; ++i)
        on(QStringLiteral("mnuHelpDocIndex_%1").arg(i), [this, i] { mnuHelpDocIndex_Click(i); });
    for (int i = 1; i <= 6; ++i) {
        on(QStringLiteral("mnuHelpDocMenus_%1").arg(i), [this, i] { mnuHelpDocMenus_Click(i); });
        on(QStringLiteral("mnuHelpDocMacros_%1").arg(i), [this, i] { mnuHelpDocMacros_Click(i); });
    }
    on(QStringLiteral("mnuHelpTutorial"), [this] { mnuHelpTutorial_Click(); });
    on(QStringLiteral("mnuHelpAbout"), [this] { showAboutBox(); });
    on(QStringLiteral("mnuHelpCookbooks"), [this] { openServerPage(QStringLiteral("/cookbook/")); });
    on(QStringLiteral("mnuHelpWhatsNew"), [this] { openServerPage(QStringLiteral("/whatsnew.htm")); });
}
