#pragma once
#include <QDialog>

class ProgramContext;
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// "Rich Site Summary (RSS Channel) Generator": the channel's header, kept in its fields for
// the whole run. Loading a channel fills the fields, the dialog edits them, the channel
// writer reads them.
class frmRSS : public QDialog {
    Q_OBJECT
public:
    // The one dialog, created on first use.
    static frmRSS& instance(QWidget* parent, ProgramContext& context);

    QString filePath;
    QString title;
    QString siteURL;
    QString description;
    bool cancelled = false;

    QLabel* Label1;
    QLineEdit* txtTitle;
    QLineEdit* txtSiteURL;
    QLineEdit* txtDescription;
    QLineEdit* txtFilePath;
    QPushButton* cmdBrowse;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    // OK may be pressed only with a title, a site address and a file path.
    void changeState();
    void cmdBrowse_Click();
    void OKButton_Click();
    void CancelButton_Click();

protected:
    void showEvent(QShowEvent* event) override;
    // Escape and the window's close button cancel, as Cancel does.
    void reject() override;

private:
    frmRSS(QWidget* parent, ProgramContext& context);
    ProgramContext& context_;
};
