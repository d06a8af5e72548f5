#pragma once
#include "core/catalogues/RssChannelText.h"

#include <QDialog>
#include <QString>

class ProgramContext;
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

    // The file the channel goes to: proposed before showing, as chosen after OK.
    QString filePath() const { return filePath_; }
    void setFilePath(const QString& path) { filePath_ = path; }
    // The channel's header: as read from a channel, or as typed once OK was pressed.
    const RssChannelText::Header& header() const { return header_; }
    void setHeader(const RssChannelText::Header& header) { header_ = header; }
    // Whether the last showing ended without OK.
    bool cancelled() const { return cancelled_; }

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

    QLabel* Label1;
    QLineEdit* txtTitle;
    QLineEdit* txtSiteURL;
    QLineEdit* txtDescription;
    QLineEdit* txtFilePath;
    QPushButton* cmdBrowse;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    ProgramContext& context_;
    QString filePath_;
    RssChannelText::Header header_;
    bool cancelled_ = false;
};
