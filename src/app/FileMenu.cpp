// The File menu's wiring, and its small items: Print, Check for Harvest Control List, Exit.
#include "app/Form1.h"
#include "gui/app/NavigationPane.h"
#include "gui/app/WindowFrame.h"
#include "gui/record/RecordPane.h"

#include "commands/modMTP.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"

#include <QAction>
#include <QComboBox>

void Form1::connectFileMenu() {
    for (auto it = mnuFileNew.begin(); it != mnuFileNew.end(); ++it) {
        const int index = it.key();
        connect(it.value(), &QAction::triggered, this, [this, index] { mnuFileNew_Click(index); });
    }
    for (auto it = mnuFileOpenIdx.begin(); it != mnuFileOpenIdx.end(); ++it) {
        const int index = it.key();
        connect(it.value(), &QAction::triggered, this, [this, index] { mnuFileOpenIdx_Click(index); });
    }
    for (auto it = mnuFileSaveAs.begin(); it != mnuFileSaveAs.end(); ++it) {
        const int index = it.key();
        connect(it.value(), &QAction::triggered, this, [this, index] { mnuFileSaveAs_Click(index); });
    }
    connect(mnuFileSave, &QAction::triggered, this, &Form1::mnuFileSave_Click);
    connect(mnuFileSaveList, &QAction::triggered, this, &Form1::mnuFileSaveList_Click);
    connect(mnuFilePrint, &QAction::triggered, this, &Form1::mnuFilePrint_Click);
    connect(mnuFileCheckHarvest, &QAction::triggered, this, &Form1::mnuFileCheckHarvest_Click);
    connect(mnuFileExit, &QAction::triggered, this, &Form1::mnuFileExit_Click);
}

void Form1::mnuFilePrint_Click() {
    navigationPane->PrintPage();
}

// A site publishes its Harvest Control List in the folder "meta/" below its host.
void Form1::mnuFileCheckHarvest_Click() {
    QString text = navigationPane->addressText();
    const QString scheme = platform::webSchemeOf(text);
    text.remove(QLatin1String("http://"), Qt::CaseInsensitive);
    text.remove(QLatin1String("https://"), Qt::CaseInsensitive);
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    text = slash < 0 ? QString() : text.left(slash + 1);
    text += QLatin1String("meta/");
    // The loader puts "http://" back in front of a bare host; a secure site keeps its own.
    if (slash >= 0 && scheme.startsWith(QLatin1String("https"), Qt::CaseInsensitive)) text.prepend(scheme);
    modMTP::runCommand(context, QStringLiteral("mtp://loadHCL=") + text + QStringLiteral(".kqi"));
    mnuFileSaveAs(WindowFrame::kSaveAsRssChannel)->setEnabled(true);
}

void Form1::mnuFileExit_Click() {
    if (recordPane->saveHtmlCheck() == platform::vbCancel) return;
    close();
}
