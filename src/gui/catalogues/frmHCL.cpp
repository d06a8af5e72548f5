#include "gui/catalogues/frmHCL.h"

#include "core/program/ModOpenSave.h"
#include "core/program/ProgramContext.h"
#include "gui/catalogues/ListDocuments.h"
#include "core/commands/modMTP.h"
#include "core/catalogues/ListTree.h"
#include "platform/widgets/DesignedSize.h"
#include "platform/MsgBox.h"
#include "platform/OwnedDialog.h"
#include "platform/PathText.h"
#include "platform/Twips.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The designed width; the dialog grows where its texts need more.
constexpr int kWidth = 6120;

QPushButton* browseButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(QStringLiteral("Browse"));
    button->setMaximumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) * 4);
    return button;
}

// The list's path, unless that is another kind of list: a catalogue or scheme list is never
// offered for a Harvest Control List to go over it, a file beside it is.
QString proposedFile(const ProgramContext& context) {
    const QString path = context.document.TreePath();
    const ListTree& tree = context.listTrees[size_t(context.treeIndex)];
    const ListTree::NodeId root = tree.item(1);
    const bool harvestList = context.document.listKind() == DocumentState::ListKind::HarvestList;
    if (!ListDocuments::namesCatalogueOrSchemeList(path) && (harvestList || path != context.document.listFile()))
        return path;
    return ListDocuments::proposalBesideList(path, root ? tree.text(root) : context.rootName, QStringLiteral(".xml"));
}

}  // namespace

frmHCL::frmHCL(QWidget* owner, ProgramContext& context) : QDialog(owner), context_(context) {
    setObjectName(QStringLiteral("frmHCL"));
    setWindowTitle(QStringLiteral("Create Harvest Control List"));
    setModal(false);
    const auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    // The part always shown.
    txtFileName = edit("txtFileName");
    cmdBrowse1 = browseButton(this, "cmdBrowse1");
    txtAdministrator = edit("txtAdministrator");
    txtEmail = edit("txtEmail");
    cmdOK = button("cmdOK", QStringLiteral("Save"));
    cmdOK->setDefault(true);
    cmdCancel = button("cmdCancel", QStringLiteral("Cancel"));
    cmdSaveRDF = button("cmdSaveRDF", QStringLiteral("Save RDF in List"));
    auto* file = new QHBoxLayout;
    file->addWidget(txtFileName, 1);
    file->addWidget(cmdBrowse1);
    auto* site = new QGridLayout;
    site->addWidget(new QLabel(QStringLiteral("Site Administrator:"), this), 0, 0);
    site->addWidget(txtAdministrator, 0, 1);
    site->addWidget(cmdOK, 0, 2);
    site->addWidget(new QLabel(QStringLiteral("Email:"), this), 1, 0);
    site->addWidget(txtEmail, 1, 1);
    site->addWidget(cmdCancel, 1, 2);
    site->setColumnStretch(1, 1);
    auto* rdf = new QHBoxLayout;
    rdf->addWidget(cmdSaveRDF);
    rdf->addStretch();

    // The records folder's section, shown after "Save RDF in List".
    txtHCLDirLoc = edit("txtHCLDirLoc");
    cmdBrowse = browseButton(this, "cmdBrowse");
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setPlainText(QStringLiteral("To save metadata as RDF in the Harvest Control List, you first need \n"
                                       "to create metadata records and save them to an HTML Source Folder. You should "
                                       "save a metadata record to the folder for every entry in the Harvest Control "
                                       "List."));
    Text1->setMinimumHeight(Text1->fontMetrics().lineSpacing() * 4 + 2 * Text1->frameWidth());
    auto* folder = new QHBoxLayout;
    folder->addWidget(txtHCLDirLoc, 1);
    folder->addWidget(cmdBrowse);
    recordsSection_ << new QLabel(QStringLiteral("Html Source Folder"), this)
                    << new QLabel(QStringLiteral("Select the folder where the metadata records are held"), this)
                    << txtHCLDirLoc << cmdBrowse << Text1;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Save Harvest Control List to :"), this));
    layout->addLayout(file);
    layout->addSpacing(8);
    layout->addLayout(site);
    layout->addLayout(rdf);
    layout->addSpacing(8);
    layout->addWidget(recordsSection_.at(0));
    layout->addWidget(recordsSection_.at(1));
    layout->addLayout(folder);
    layout->addWidget(Text1, 1);  // the room the dialog has below the folder
    layout->addStretch();

    // Return saves, whichever button has the focus: no other button takes it over.
    for (QPushButton* other : {cmdBrowse1, cmdBrowse, cmdSaveRDF, cmdCancel}) other->setAutoDefault(false);

    connect(cmdBrowse1, &QPushButton::clicked, this, &frmHCL::cmdBrowse1_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmHCL::cmdBrowse_Click);
    connect(cmdSaveRDF, &QPushButton::clicked, this, &frmHCL::cmdSaveRDF_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmHCL::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmHCL::cmdCancel_Click);
    Form_Load();
}

frmHCL& frmHCL::instance(QWidget* owner, ProgramContext& context) {
    return platform::ownedDialog<frmHCL>(*owner, [&] { return new frmHCL(owner, context); });
}

// The designed size, or what the texts need at the font in use when that is more.
void frmHCL::setHeight(int twips) {
    for (QWidget* widget : recordsSection_) widget->setVisible(twips > kCollapsedHeight);
    setFixedSize(platform::designedOrNeeded(*this, platform::twipsToPixels(QSize(kWidth, twips))));
}

void frmHCL::Form_Load() {
    setHeight(kCollapsedHeight);
    cmdOK->setDefault(true);
    cmdSaveRDF->setEnabled(true);
    txtHCLDirLoc->clear();
    txtFileName->setText(proposedFile(context_));
    txtAdministrator->setText(context_.preferences.siteAdmin);
    txtEmail->setText(context_.preferences.siteAdminEmail);
}

void frmHCL::cmdBrowse1_Click() {
    const QString chosen = ModOpenSave::showOpenDialog(context_, QStringLiteral("htm"), context_.document.TreePath());
    show();
    raise();
    if (chosen.isEmpty()) return;
    txtFileName->setText(chosen);
    context_.document.setTreePath(chosen);
}

void frmHCL::cmdBrowse_Click() {
    const QString chosen = ModOpenSave::showOpenDialog(context_, QStringLiteral("hcl"), context_.FilePath);
    show();
    raise();
    if (platform::lastPathSeparator(chosen) >= 0) txtHCLDirLoc->setText(platform::folderPart(chosen));
}

void frmHCL::cmdSaveRDF_Click() {
    setHeight(kExpandedHeight);
    txtHCLDirLoc->setText(platform::folderPart(context_.document.TreePath()));
    cmdSaveRDF->setEnabled(false);
}

void frmHCL::cmdOK_Click() {
    const QString file = txtFileName->text();
    const QString folder = txtHCLDirLoc->text();
    // No stays in the dialog, to choose another file.
    if (!ListDocuments::mayWriteListTo(context_.user, file, context_.document.listFile(), windowTitle())) return;
    context_.preferences.siteAdmin = txtAdministrator->text();
    context_.preferences.siteAdminEmail = txtEmail->text();
    if (folder.isEmpty()) {
        modMTP::runMtpCommand(context_, QStringLiteral("mtp://savehcl=") + file + QStringLiteral("|.kqi"));
    } else {
        if (context_.user.MsgBox(QStringLiteral("I have enough information to assign Open, Save and Retrieve function keys "
                                                     "which will automate saving metadata in to Harvest Control Lists. Click yes "
                                                     "to assign them to available F keys"),
                                      platform::kYesNo, QStringLiteral("Assign macros")) == platform::kAnswerYes) {
            modMTP::runMtpCommand(context_, QStringLiteral("mtp://addmacro=mtp://loadhcl=") + file +
                               QStringLiteral(".kqi&text=Open Harvest Control List.kqb"));
            modMTP::runMtpCommand(context_, QStringLiteral("mtp://addmacro=mtp://savehcl=") + file + QLatin1Char('|') + folder +
                               QStringLiteral(".kqi&text=Save Harvest Control List.kqb"));
            modMTP::runMtpCommand(context_, QStringLiteral("mtp://addmacro=mtp://getMetaFromHCL=") + folder +
                               QStringLiteral(".kqb&text=Get Record from Folder.kqb"));
        }
        modMTP::runMtpCommand(context_, QStringLiteral("mtp://savehcl=") + file + QLatin1Char('|') + folder + QStringLiteral(".kqi"));
    }
    hide();
}

void frmHCL::cmdCancel_Click() {
    hide();
}
