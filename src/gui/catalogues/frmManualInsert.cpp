#include "gui/catalogues/frmManualInsert.h"

#include "gui/catalogues/TreeEntries.h"
#include "core/program/ProgramContext.h"
#include "core/catalogues/TreeEdits.h"
#include "core/catalogues/TreeNodes.h"
#include "platform/MsgBox.h"
#include "platform/OwnedDialog.h"
#include "platform/PathText.h"
#include "platform/TreeImages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmManualInsert::frmManualInsert(QWidget* owner, ProgramContext& context) : QDialog(owner), context_(context) {
    setObjectName(QStringLiteral("frmManualInsert"));
    setWindowTitle(QStringLiteral("Manually Insert an Entry"));
    labelCaption = new QLabel(QStringLiteral("Label :"), this);
    labelCaption->setObjectName(QStringLiteral("labelCaption"));
    txtLabel = new QLineEdit(this);
    txtLabel->setObjectName(QStringLiteral("txtLabel"));
    urlCaption = new QLabel(QStringLiteral("URL :"), this);
    urlCaption->setObjectName(QStringLiteral("urlCaption"));
    txtURL = new QLineEdit(this);
    txtURL->setObjectName(QStringLiteral("txtURL"));
    txtURL->setMinimumWidth(360);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdOK->setDefault(true);
    auto* layout = new QGridLayout(this);
    layout->addWidget(labelCaption, 0, 0);
    layout->addWidget(txtLabel, 0, 1);
    layout->addWidget(urlCaption, 1, 0);
    layout->addWidget(txtURL, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons, 2, 0, 1, 2);
    connect(txtLabel, &QLineEdit::textChanged, this, &frmManualInsert::txtLabel_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmManualInsert::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmManualInsert& frmManualInsert::instance(QWidget* owner, ProgramContext& context) {
    return platform::ownedDialog<frmManualInsert>(*owner, [&] { return new frmManualInsert(owner, context); });
}

void frmManualInsert::showEvent(QShowEvent* event) {
    // Each showing starts empty, as a dialog loaded afresh.
    txtLabel->clear();
    txtURL->clear();
    txtLabel->setFocus();
    QDialog::showEvent(event);
}

void frmManualInsert::txtLabel_Change() {
    if (!context_.preferences.CompleteMtp.isY()) return;
    if (!context_.document.TreePath().contains(QLatin1String(".kqs"), Qt::CaseInsensitive)) return;
    const ListTree& tree = context_.listTrees[size_t(context_.treeIndex)];
    txtURL->setText(QStringLiteral("mtp://field=*&content=") + TreeNodes::contentValue(txtLabel->text()) +
                    QStringLiteral("&scheme=") + tree.text(tree.item(1)) + QStringLiteral(".fld/"));
}

void frmManualInsert::cmdOK_Click() {
    ListTree& tree = context_.listTrees[size_t(context_.treeIndex)];
    const ListTree::NodeId selected = tree.selected();
    if (!selected) {
        accept();
        return;
    }
    const QString path = context_.document.TreePath();
    int image = 0;
    if (path.contains(QLatin1String(".kqs"), Qt::CaseInsensitive)) {
        image = platform::kImageSchemeFolder;
    } else if (path.contains(QLatin1String(".kqi"), Qt::CaseInsensitive)) {
        image = platform::kImageLink;
    } else {
        context_.user.MsgBox(QStringLiteral(
            "Manual Insert works only for Catalogs and Schemes. To add entries manually into Harvest Control Lists, "
            "create a link by dragging, name it, then right click and select the URL. Type the URL name in from "
            "there."));
        return;
    }
    // The list file cannot keep an entry without a name.
    if (txtLabel->text().trimmed().isEmpty()) {
        context_.user.MsgBox(QStringLiteral("Couldn't do manual insert: the entry needs a label"));
        return;
    }
    // A local page keeps its file address: taken for a web address, it would open nowhere.
    QString tag = txtURL->text();
    const QString typed = tag.trimmed();
    if (typed.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) tag = typed;
    else if (platform::isLocalPath(typed)) tag = QStringLiteral("file://") + typed;
    else tag.remove(QLatin1String("http://"));
    if (TreeEntries::refuseUnwritable(context_, TreeEdits::insertParent(tree, selected, inFolder_), 0, txtLabel->text(),
                                      tag, QStringLiteral("Nothing was added.")))
        return;
    TreeEdits::TreeError error;
    const ListTree::NodeId node = TreeEdits::addNode(tree, selected, inFolder_ ? ListTree::Place::Child : ListTree::Place::Last,
                                                   txtLabel->text(), image, image, error);
    if (!node) {
        context_.user.MsgBox(QStringLiteral("Couldn't do manual insert: ") + error.description);
        return;
    }
    tree.setTag(node, tag);
    tree.ensureVisible(node);
    accept();
}
