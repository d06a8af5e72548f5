// The main window's menus: every item the program names exists here with its caption
// and shortcut; each part of the program finds its own items by name and connects them.
#include "gui/app/MainMenus.h"

#include "core/program/ProgramContext.h"

#include "gui/commands/frmSourceHTML.h"
#include "core/commands/modMTP.h"
#include "gui/domains/ResourcesMenu.h"
#include "platform/widgets/MenuItems.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

using namespace menuItems;

void buildMainMenus(QMenuBar* bar, ProgramContext& context, platform::ModalRuns& runs) {
    ControlArray<QAction> mnuFileNew, mnuFileOpenIdx, mnuFileSaveAs, mnuEditInsertIndex, mnuHelpDocIndex;

    QMenu* menuFile = bar->addMenu(QStringLiteral("&File"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    QMenu* mnuFileNewCatalog = submenu(menuFile, QStringLiteral("mnuFileNewCatalog"), QStringLiteral("New"));
    const char* newItems[] = {"Insert Default Template", "New Quorvantile Server Record", "RSS Channel",
                              "Harvest Control List...", "Local Catalog...", "Scheme...", "Quorvantile Window"};
    for (int i = 1; i <= 7; ++i)
        element(mnuFileNewCatalog, mnuFileNew, QStringLiteral("mnuFileNew"), i, QLatin1String(newItems[i - 1]),
                i == 2 ? QKeySequence(QStringLiteral("Ctrl+N")) : QKeySequence());
    QMenu* mnuFileOpen = submenu(menuFile, QStringLiteral("mnuFileOpen"), QStringLiteral("Open..."));
    const char* openItems[] = {"HTML File...", "Metadata Template...", "Macro Set",
                               "Quorvantile Server record for current URL", "-", "Local Catalog...",
                               "Metadata Scheme or Schema...", "Harvest Control List...", "RSS Channel",
                               "Network or Local Directory..."};
    for (int i = 1; i <= 10; ++i)
        element(mnuFileOpen, mnuFileOpenIdx, QStringLiteral("mnuFileOpenIdx"), i, QLatin1String(openItems[i - 1]),
                i == 4 ? QKeySequence(QStringLiteral("Ctrl+O")) : QKeySequence());
    item(menuFile, QStringLiteral("mnuFileSave"), QStringLiteral("Save Record"),
                       QKeySequence(QStringLiteral("Ctrl+S")));
    QAction* mnuFileSaveList = item(menuFile, QStringLiteral("mnuFileSaveList"), QStringLiteral("Save Subject Index"),
                           QKeySequence(QStringLiteral("Ctrl+T")));
    mnuFileSaveList->setVisible(false);
    mnuFileSaveList->setEnabled(false);
    QMenu* mnuFileSaveAs1 = submenu(menuFile, QStringLiteral("mnuFileSaveAs1"), QStringLiteral("Save As..."));
    const char* saveAsItems[] = {"HTML File...", "Quorvantile Server Record...", "Template...", "Scheme...",
                                 "Local Catalog...", "Harvest Control List...", "Rich Site Summary (RSS Channel)"};
    for (int i = 1; i <= 7; ++i)
        element(mnuFileSaveAs1, mnuFileSaveAs, QStringLiteral("mnuFileSaveAs"), i, QLatin1String(saveAsItems[i - 1]));
    item(menuFile, QStringLiteral("mnuFilePrint"), QStringLiteral("Print..."),
                        QKeySequence(QStringLiteral("Ctrl+P")));
    separator(menuFile, QStringLiteral("mnuFileSep00"));
    item(menuFile, QStringLiteral("mnuFileCheckHarvest"), QStringLiteral("Check for Harvest Control List"));
    separator(menuFile, QStringLiteral("mnuFileSep01"));
    item(menuFile, QStringLiteral("mnuFileExit"), QStringLiteral("Exit"), QKeySequence(QStringLiteral("Ctrl+Q")));

    QMenu* menuEdit = bar->addMenu(QStringLiteral("&Edit"));
    menuEdit->setObjectName(QStringLiteral("menuEdit"));
    item(menuEdit, QStringLiteral("mnuEditCut"), QStringLiteral("Cu&t"));
    item(menuEdit, QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"));
    item(menuEdit, QStringLiteral("mnuEditCopyMeta"), QStringLiteral("Copy Metadata to Clip as HTML"));
    item(menuEdit, QStringLiteral("mnuEditCopyMetaRDF"), QStringLiteral("Copy Metadata to Clip as RDF"));
    item(menuEdit, QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"));
    separator(menuEdit, QStringLiteral("mnuEditNothing"));
    QMenu* mnuEditInsert = submenu(menuEdit, QStringLiteral("mnuEditInsert"), QStringLiteral("Insert Special Character"));
    element(mnuEditInsert, mnuEditInsertIndex, QStringLiteral("mnuEditInsertIndex"), 1, QStringLiteral("® Symbol"));
    element(mnuEditInsert, mnuEditInsertIndex, QStringLiteral("mnuEditInsertIndex"), 2, QStringLiteral("© Symbol"));
    item(menuEdit, QStringLiteral("mnuEditCurrentRecord"), QStringLiteral("Edit Current Record"),
                                QKeySequence(QStringLiteral("Ctrl+E")));
    separator(menuEdit, QStringLiteral("mnunothing_0"));
    item(menuEdit, QStringLiteral("mnuEditPrefs"), QStringLiteral("Quorvantile Preferences"));
    item(menuEdit, QStringLiteral("MnuEditIE"), QStringLiteral("Internet Preferences"));
    item(menuEdit, QStringLiteral("MnuEditFirewall"), QStringLiteral("Firewall Preferences"));

    QMenu* menuView = bar->addMenu(QStringLiteral("&View"));
    menuView->setObjectName(QStringLiteral("menuView"));
    const auto check = [](QAction* a, bool shown = true) {
        a->setCheckable(true);
        a->setChecked(shown);
        return a;
    };
    check(item(menuView, QStringLiteral("mnuViewToolbar"), QStringLiteral("Tool Bar")));
    check(item(menuView, QStringLiteral("mnuViewStatusBar"), QStringLiteral("Status Bar")));
    check(item(menuView, QStringLiteral("mnuViewTreeView"), QStringLiteral("Tree View"),
                                 QKeySequence(QStringLiteral("Ctrl+G"))));
    menuView->addSeparator();
    check(item(menuView, QStringLiteral("mnuViewWebBrowser"), QStringLiteral("Web Browser")));
    check(item(menuView, QStringLiteral("mnuViewQuorvantile"), QStringLiteral("Quorvantile"),
                                    QKeySequence(QStringLiteral("Ctrl+H"))));
    // The edit panel starts hidden.
    check(
        item(menuView, QStringLiteral("mnuViewEdit"), QStringLiteral("Edit Panel"), QKeySequence(QStringLiteral("Ctrl+I"))),
        false);

    QMenu* mnuRes1 = bar->addMenu(QStringLiteral("Metadata &Resources"));
    mnuRes1->setObjectName(QStringLiteral("mnuRes1"));
    modSchemas::buildResourcesMenu(mnuRes1, context, runs);

    QMenu* macros = bar->addMenu(QStringLiteral("&Macros"));
    macros->setObjectName(QStringLiteral("mnuBatch"));
    item(macros, QStringLiteral("mnuBatchShowLog"), QStringLiteral("Edit Macros..."), QKeySequence(QStringLiteral("Ctrl+M")));
    separator(macros, QStringLiteral("mnuBatchdash"));
    for (int f = 1; f <= 12; ++f) {
        if (f == 10) continue;
        const QString key = QStringLiteral("F%1").arg(f);
        item(macros, QStringLiteral("mnuBatch") + key, key, QKeySequence(key))->setVisible(false);
    }
    separator(macros, QStringLiteral("mnuBatchdash2"));
    item(macros, QStringLiteral("mnuBatchPublish"), QStringLiteral("Publish Current Macro Set"));

    QMenu* mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    item(mnuHelp, QStringLiteral("mnuHelpTutorial"), QStringLiteral("Tutorial"));
    QAction* cookbooks = item(mnuHelp, QStringLiteral("mnuHelpCookbooks"), QStringLiteral("Cookbooks"));
    cookbooks->setVisible(false);
    cookbooks->setEnabled(false);
    QMenu* documentation = submenu(mnuHelp, QStringLiteral("mnuHelpDocumentation"), QStringLiteral("Documentation"));
    const char* docItems[] = {"Table Of Contents", "Overview of Quorvantile", "Creating metadata in Quorvantile",
                              "Getting Started", "Quick Tour", "Menus", "The Web Browser",
                              "The Metadata Display Panel", "The Metadata Edit Panel", "The Tree View",
                              "The Status Bar", "The Tool Bar", "Macro Langauge", "Tutorial on Macros in Tree Views"};
    for (int i = 1; i <= 14; ++i) {
        if (i == 6 || i == 13) {
            const bool menus = i == 6;
            QMenu* sub = submenu(documentation, menus ? QStringLiteral("mnuHelpDocMenus") : QStringLiteral("mnuHelpDocMacros"),
                                 QLatin1String(docItems[i - 1]));
            sub->menuAction()->setObjectName(QStringLiteral("mnuHelpDocIndex_%1").arg(i));
            const char* menuItems[] = {"File Menu", "Edit Menu", "View Menu", "Metadata Resources", "Macros", "Help"};
            const char* macroItems[] = {"Inserting Metadata", "HTML Macros", "Scheme Macros",
                                        "Subject Index Macros", "Template and Batch Macros", "External Macros"};
            for (int j = 1; j <= 6; ++j) {
                QAction* a = sub->addAction(QLatin1String(menus ? menuItems[j - 1] : macroItems[j - 1]));
                a->setObjectName((menus ? QStringLiteral("mnuHelpDocMenus_") : QStringLiteral("mnuHelpDocMacros_")) +
                                 QString::number(j));
            }
            continue;
        }
        element(documentation, mnuHelpDocIndex, QStringLiteral("mnuHelpDocIndex"), i, QLatin1String(docItems[i - 1]));
    }
    separator(mnuHelp, QStringLiteral("mnublank"));
    item(mnuHelp, QStringLiteral("mnuHelpAbout"), QStringLiteral("About Quorvantile"));
    QAction* whatsNew = item(mnuHelp, QStringLiteral("mnuHelpWhatsNew"), QStringLiteral("What's New"));
    whatsNew->setVisible(false);
    whatsNew->setEnabled(false);
}

