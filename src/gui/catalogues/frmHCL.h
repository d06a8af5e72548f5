#pragma once
#include <QDialog>

class ProgramContext;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Create Harvest Control List": where the list goes, the site's administrator and e-mail
// and, after "Save RDF in List", the folder of record pages whose metadata goes into the
// list. Shown modeless; Save issues the save command (and offers function keys for it).
class frmHCL : public QDialog {
    Q_OBJECT
public:
    // The one dialog of `owner`'s window, created on first use.
    static frmHCL& instance(QWidget* owner, ProgramContext& context);

    // The dialog's designed height (twips) without and with the records folder's section;
    // it grows where its texts need more.
    static constexpr int kCollapsedHeight = 2520;
    static constexpr int kExpandedHeight = 4995;

    // Fills the fields as a fresh dialog starts: collapsed, the list's path, the administrator.
    void Form_Load();
    void cmdBrowse1_Click();
    void cmdBrowse_Click();
    void cmdSaveRDF_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    frmHCL(QWidget* owner, ProgramContext& context);
    void setHeight(int twips);

    QLineEdit* txtFileName;
    QPushButton* cmdBrowse1;
    QLineEdit* txtHCLDirLoc;
    QPushButton* cmdBrowse;
    QLineEdit* txtAdministrator;
    QLineEdit* txtEmail;
    QPushButton* cmdSaveRDF;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPlainTextEdit* Text1;
    QList<QWidget*> recordsSection_;
    ProgramContext& context_;
};
