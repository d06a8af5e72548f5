#include "catalogues/frmHCL.h"

#include "app/Form1.h"
#include "app/ModOpenSave.h"
#include "app/Preferences.h"
#include "catalogues/ListDocuments.h"
#include "commands/modMTP.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace {

constexpr int kWidth = 6120;

template <typename W>
W* place(W* widget, int left, int top, int width, int height) {
    widget->setGeometry(platform::twipsToPixels(QRect(left, top, width, height)));
    return widget;
}

// The list's path, unless that is another kind of list: a catalogue or scheme list is never
// offered for a Harvest Control List to go over it, a file beside it is.
QString proposedFile(const Form1& main) {
    const QString path = main.documentState->TreePath();
    const platform::TreeView& tree = *main.activeTree();
    const platform::Node* root = tree.Count() > 0 ? tree.Item(1) : nullptr;
    if (root && root->Tag().contains(QLatin1String("Harvest Control List"), Qt::CaseInsensitive)) return path;
    if (!ListDocuments::namesCatalogueOrSchemeList(path) && path != main.documentState->listFile()) return path;
    return ListDocuments::proposalBesideList(path, root ? root->Text() : main.rootName);
}

}  // namespace

frmHCL::frmHCL(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHCL"));
    setWindowTitle(QStringLiteral("Create Harvest Control List"));
    setModal(false);
    const auto label = [this](const char* text, int left, int top, int width) {
        return place(new QLabel(QLatin1String(text), this), left, top, width, 255);
    };
    const auto button = [this](const char* name, const QString& caption, int left, int top, int width) {
        auto* b = place(new QPushButton(caption, this), left, top, width, 375);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    const auto edit = [this](const char* name, int left, int top, int width) {
        auto* e = place(new QLineEdit(this), left, top, width, 315);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    // The part always shown.
    label("Save Harvest Control List to :", 120, 120, 5400);
    txtFileName = edit("txtFileName", 120, 400, 5340);
    cmdBrowse1 = button("cmdBrowse1", QStringLiteral("..."), 5520, 370, 480);
    cmdBrowse1->setToolTip(QStringLiteral("Browse"));
    label("Site Administrator:", 120, 900, 1500);
    txtAdministrator = edit("txtAdministrator", 1680, 860, 2400);
    label("Email:", 120, 1340, 1500);
    txtEmail = edit("txtEmail", 1680, 1300, 2400);
    cmdOK = button("cmdOK", QStringLiteral("Save"), 4320, 820, 1680);
    cmdOK->setDefault(true);
    cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), 4320, 1260, 1680);
    cmdSaveRDF = button("cmdSaveRDF", QStringLiteral("Save RDF in List"), 120, 1860, 2400);
    // The records folder's section, below the collapsed dialog's edge.
    recordsSection_ << label("Html Source Folder", 120, 2640, 5400)
                    << label("Select the folder where the metadata records are held", 120, 2900, 5400);
    txtHCLDirLoc = edit("txtHCLDirLoc", 120, 3200, 5340);
    cmdBrowse = button("cmdBrowse", QStringLiteral("..."), 5520, 3170, 480);
    cmdBrowse->setToolTip(QStringLiteral("Browse"));
    Text1 = place(new QPlainTextEdit(this), 120, 3640, 5880, 1200);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setPlainText(QStringLiteral("To save metadata as RDF in the Harvest Control List, you first need \n"
                                       "to create metadata records and save them to an HTML Source Folder. You should "
                                       "save a metadata record to the folder for every entry in the Harvest Control "
                                       "List."));
    recordsSection_ << txtHCLDirLoc << cmdBrowse << Text1;

    connect(cmdBrowse1, &QPushButton::clicked, this, &frmHCL::cmdBrowse1_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmHCL::cmdBrowse_Click);
    connect(cmdSaveRDF, &QPushButton::clicked, this, &frmHCL::cmdSaveRDF_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmHCL::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmHCL::cmdCancel_Click);
    Form_Load();
}

frmHCL& frmHCL::instance(QWidget* parent) {
    static QPointer<frmHCL> dialog;
    if (!dialog) dialog = new frmHCL(parent);
    return *dialog;
}

void frmHCL::setHeight(int twips) {
    setFixedSize(platform::twipsToPixels(QSize(kWidth, twips)));
    // What lies below the edge cannot be reached, not even with Tab.
    for (QWidget* widget : recordsSection_) widget->setVisible(twips > kCollapsedHeight);
}

void frmHCL::Form_Load() {
    setHeight(kCollapsedHeight);
    cmdSaveRDF->setEnabled(true);
    txtHCLDirLoc->clear();
    const Form1* main = Form1::firstMainWindow();
    txtFileName->setText(main ? proposedFile(*main) : QString());
    txtAdministrator->setText(Preferences::siteAdmin);
    txtEmail->setText(Preferences::siteAdminEmail);
}

void frmHCL::cmdBrowse1_Click() {
    Form1* main = Form1::firstMainWindow();
    const QString chosen =
        ModOpenSave::showOpenDialog(QStringLiteral("htm"), main ? main->documentState->TreePath() : QString());
    show();
    raise();
    if (chosen.isEmpty()) return;
    txtFileName->setText(chosen);
    if (main) main->documentState->setTreePath(chosen);
}

void frmHCL::cmdBrowse_Click() {
    const Form1* main = Form1::firstMainWindow();
    const QString chosen = ModOpenSave::showOpenDialog(QStringLiteral("hcl"), main ? main->FilePath : QString());
    show();
    raise();
    if (platform::lastPathSeparator(chosen) >= 0) txtHCLDirLoc->setText(platform::folderPart(chosen));
}

void frmHCL::cmdSaveRDF_Click() {
    setHeight(kExpandedHeight);
    const Form1* main = Form1::firstMainWindow();
    txtHCLDirLoc->setText(platform::folderPart(main ? main->documentState->TreePath() : QString()));
    cmdSaveRDF->setEnabled(false);
}

void frmHCL::cmdOK_Click() {
    const QString file = txtFileName->text();
    const QString folder = txtHCLDirLoc->text();
    // No stays in the dialog, to choose another file.
    const Form1* main = Form1::firstMainWindow();
    if (!ListDocuments::mayWriteListTo(file, main ? main->documentState->listFile() : QString(), windowTitle())) return;
    Preferences::siteAdmin = txtAdministrator->text();
    Preferences::siteAdminEmail = txtEmail->text();
    if (folder.isEmpty()) {
        modMTP::runCommand(QStringLiteral("mtp://savehcl=") + file + QStringLiteral("|.kqi"));
    } else {
        if (platform::MsgBox(QStringLiteral("I have enough information to assign Open, Save and Retrieve function keys "
                                            "which will automate saving metadata in to Harvest Control Lists. Click yes "
                                            "to assign them to available F keys"),
                             platform::vbYesNo, QStringLiteral("Assign macros")) == platform::vbYes) {
            modMTP::runCommand(QStringLiteral("mtp://addmacro=mtp://loadhcl=") + file +
                               QStringLiteral(".kqi&text=Open Harvest Control List.kqb"));
            modMTP::runCommand(QStringLiteral("mtp://addmacro=mtp://savehcl=") + file + QLatin1Char('|') + folder +
                               QStringLiteral(".kqi&text=Save Harvest Control List.kqb"));
            modMTP::runCommand(QStringLiteral("mtp://addmacro=mtp://getMetaFromHCL=") + folder +
                               QStringLiteral(".kqb&text=Get Record from Folder.kqb"));
        }
        modMTP::runCommand(QStringLiteral("mtp://savehcl=") + file + QLatin1Char('|') + folder + QStringLiteral(".kqi"));
    }
    hide();
}

void frmHCL::cmdCancel_Click() {
    hide();
}
