// The Help menu: documentation pages in the help window, the current domain's tutorial,
// and the about box.
#include "app/Form1.h"

#include "app/frmAbout.h"
#include "app/frmHelpBrowser.h"
#include "domains/modCheckList.h"
#include "domains/modSchemas.h"
#include "platform/WebBrowser.h"

#include <QAction>
#include <QComboBox>
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

frmHelpBrowser& Form1::helpWindow() {
    if (!helpWindow_) helpWindow_ = new frmHelpBrowser(*this);
    return *helpWindow_;
}

void Form1::showHelpPage(const char* path) {
    frmHelpBrowser& help = helpWindow();
    help.show();
    help.raise();
    if (path) help.WebBrowser1->Navigate(QStringLiteral("http://") + context.schemeServer + QLatin1String(path));
}

void Form1::mnuHelpDocIndex_Click(int index) {
    if (index < 1 || index > 14) return showHelpPage(nullptr);
    if (index == 6 || index == 13) return;  // submenus
    showHelpPage(kDocPages[index - 1]);
}

void Form1::mnuHelpDocMenus_Click(int index) {
    showHelpPage(index >= 1 && index <= 6 ? kMenuPages[index - 1] : nullptr);
}

void Form1::mnuHelpDocMacros_Click(int index) {
    showHelpPage(index >= 1 && index <= 6 ? kMacroPages[index - 1] : nullptr);
}

void Form1::mnuHelpTutorial_Click() {
    const DomainCatalogue& catalogue = context.domain.catalogue;
    for (size_t i = 0; i < DomainCatalogue::kSlots; ++i) {
        if (catalogue.schemaLongNames[i].isEmpty()) break;
        if (catalogue.schemaShortNames[i] == context.domain.defaultSchema) {
            URL->setEditText(catalogue.schemaTutorialURLs[i]);
            break;
        }
    }
    if (URL->currentText().isEmpty()) URL->setEditText(context.schemeServer + QStringLiteral("/tutorial.html"));
    LoadURL();
}

void Form1::showAboutBox() {
    if (!aboutBox_) {
        aboutBox_ = new frmAbout(
            [this](const QString& path) {
                URL->setEditText(context.schemeServer + path);
                LoadURL();
            },
            this);
    }
    aboutBox_->show();
    aboutBox_->raise();
}

void Form1::connectHelpMenu() {
    const auto on = [this](const QString& name, auto handler) {
        if (QAction* a = findChild<QAction*>(name)) connect(a, &QAction::triggered, this, handler);
    };
    for (int i = 1; i <= 14; ++i)
        on(QStringLiteral("mnuHelpDocIndex_%1").arg(i), [this, i] { mnuHelpDocIndex_Click(i); });
    for (int i = 1; i <= 6; ++i) {
        on(QStringLiteral("mnuHelpDocMenus_%1").arg(i), [this, i] { mnuHelpDocMenus_Click(i); });
        on(QStringLiteral("mnuHelpDocMacros_%1").arg(i), [this, i] { mnuHelpDocMacros_Click(i); });
    }
    on(QStringLiteral("mnuHelpTutorial"), [this] { mnuHelpTutorial_Click(); });
    on(QStringLiteral("mnuHelpAbout"), [this] { showAboutBox(); });
    on(QStringLiteral("mnuHelpCookbooks"), [this] {
        URL->setEditText(context.schemeServer + QStringLiteral("/cookbook/"));
        LoadURL();
    });
    on(QStringLiteral("mnuHelpWhatsNew"), [this] {
        URL->setEditText(context.schemeServer + QStringLiteral("/whatsnew.htm"));
        LoadURL();
    });
}
