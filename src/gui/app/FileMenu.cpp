// The File menu's wiring, and its small items: Print, Check for Harvest Control List, Exit.
#include "gui/app/FileMenu.h"
#include "gui/frame/AddressBar.h"
#include "gui/frame/PageBrowser.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/WindowFrame.h"

#include "core/commands/modMTP.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"

#include "platform/widgets/MenuItems.h"

#include <QAction>
#include <QComboBox>

FileMenu::FileMenu(ProgramContext& context, WindowFrame& frame, QObject& menus, const Neighbours& around)
    : QObject(&menus), context(context), documentState(&context.document), frame(frame), around(around) {
    const auto array = [&menus](ControlArray<QAction>& items, const QString& name, int last) {
        for (int i = 1; i <= last; ++i)
            if (auto* item = menuItems::find(menus, name + QLatin1Char('_') + QString::number(i))) items.set(i, item);
    };
    array(mnuFileNew, QStringLiteral("mnuFileNew"), kNewWindow);
    array(mnuFileOpenIdx, QStringLiteral("mnuFileOpenIdx"), kOpenDirectory);
    array(mnuFileSaveAs, QStringLiteral("mnuFileSaveAs"), DocumentMenu::kSaveAsRssChannel);
    mnuFileSave = menuItems::find(menus, QStringLiteral("mnuFileSave"));
    mnuFileSaveList = menuItems::find(menus, QStringLiteral("mnuFileSaveList"));
    menuItems::connectElements(mnuFileNew, this, [this](int index) { mnuFileNew_Click(index); });
    menuItems::connectElements(mnuFileOpenIdx, this, [this](int index) { mnuFileOpenIdx_Click(index); });
    menuItems::connectElements(mnuFileSaveAs, this, [this](int index) { mnuFileSaveAs_Click(index); });
    connect(mnuFileSave, &QAction::triggered, this, &FileMenu::mnuFileSave_Click);
    connect(mnuFileSaveList, &QAction::triggered, this, &FileMenu::mnuFileSaveList_Click);
    const auto item = [&menus](const char* name) { return menuItems::find(menus, QLatin1String(name)); };
    connect(item("mnuFilePrint"), &QAction::triggered, this, &FileMenu::mnuFilePrint_Click);
    connect(item("mnuFileCheckHarvest"), &QAction::triggered, this, &FileMenu::mnuFileCheckHarvest_Click);
    connect(item("mnuFileExit"), &QAction::triggered, this, &FileMenu::mnuFileExit_Click);
}

void FileMenu::mnuFilePrint_Click() {
    around.browser.PrintPage();
}

// A site publishes its Harvest Control List in the folder "meta/" below its host.
void FileMenu::mnuFileCheckHarvest_Click() {
    QString text = around.address.addressText();
    const QString scheme = platform::webSchemeOf(text);
    text.remove(QLatin1String("http://"), Qt::CaseInsensitive);
    text.remove(QLatin1String("https://"), Qt::CaseInsensitive);
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    text = slash < 0 ? QString() : text.left(slash + 1);
    text += QLatin1String("meta/");
    // The loader puts "http://" back in front of a bare host; a secure site keeps its own.
    if (slash >= 0 && scheme.startsWith(QLatin1String("https"), Qt::CaseInsensitive)) text.prepend(scheme);
    modMTP::runMtpCommand(context, QStringLiteral("mtp://loadHCL=") + text + QStringLiteral(".kqi"));
    mnuFileSaveAs(DocumentMenu::kSaveAsRssChannel)->setEnabled(true);
}

void FileMenu::mnuFileExit_Click() {
    if (around.record.saveHtmlCheck() == platform::kAnswerCancel) return;
    frame.clientArea()->window()->close();
}
