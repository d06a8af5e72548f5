#include "gui/catalogues/frmRSS.h"

#include "core/program/ModOpenSave.h"
#include "gui/catalogues/ListDocuments.h"
#include "core/catalogues/RssChannelText.h"
#include "platform/OwnedDialog.h"
#include "core/program/ProgramContext.h"
#include "core/program/DocumentState.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmRSS::frmRSS(QWidget* parent, ProgramContext& context)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmRSS"));
    setWindowTitle(QStringLiteral("Rich Site Summary (RSS Channel) Generator"));
    Label1 = new QLabel(QStringLiteral("Enter details to create the header section of the RSS Channel. "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    const auto box = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMinimumWidth(300);
        connect(edit, &QLineEdit::textChanged, this, &frmRSS::changeState);
        return edit;
    };
    txtTitle = box("txtTitle");
    txtSiteURL = box("txtSiteURL");
    txtDescription = box("txtDescription");
    txtFilePath = box("txtFilePath");
    cmdBrowse = new QPushButton(QStringLiteral("..."), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setToolTip(QStringLiteral("Browse"));
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* grid = new QGridLayout;
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"Title :", txtTitle}, {"Site URL :", txtSiteURL}, {"Description :", txtDescription}, {"File Location :", txtFilePath}};
    int row = 0;
    for (const auto& [caption, edit] : rows) {
        grid->addWidget(new QLabel(QLatin1String(caption), this), row, 0);
        grid->addWidget(edit, row++, 1);
    }
    grid->addWidget(cmdBrowse, row - 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // Return takes OK, whichever button has the focus.
    for (QPushButton* other : {cmdBrowse, CancelButton}) other->setAutoDefault(false);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmRSS::cmdBrowse_Click);
    connect(OKButton, &QPushButton::clicked, this, &frmRSS::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmRSS::CancelButton_Click);
}

frmRSS& frmRSS::instance(QWidget* parent, ProgramContext& context) {
    return platform::ownedDialog<frmRSS>(*parent, [&] { return new frmRSS(parent, context); });
}

void frmRSS::showEvent(QShowEvent* event) {
    OKButton->setDefault(true);
    txtFilePath->setText(filePath_);
    txtTitle->setText(header_.title);
    txtSiteURL->setText(header_.siteURL);
    txtDescription->setText(header_.description);
    changeState();
    txtTitle->setFocus();
    QDialog::showEvent(event);
}

void frmRSS::changeState() {
    OKButton->setEnabled(!txtTitle->text().isEmpty() && !txtSiteURL->text().isEmpty() &&
                         !txtFilePath->text().isEmpty());
}

void frmRSS::cmdBrowse_Click() {
    txtFilePath->setText(ModOpenSave::showOpenDialog(context_, QStringLiteral("rss"), txtFilePath->text()));
}

void frmRSS::OKButton_Click() {
    // No stays in the dialog, to choose another file.
    if (!ListDocuments::mayWriteListTo(context_.user, txtFilePath->text(), context_.document.listFile(), windowTitle()))
        return;
    filePath_ = txtFilePath->text();
    header_.title = RssChannelText::safeHeaderText(txtTitle->text());
    header_.siteURL = txtSiteURL->text();
    header_.description = RssChannelText::safeHeaderText(txtDescription->text());
    cancelled_ = false;
    accept();
}

void frmRSS::CancelButton_Click() {
    context_.document.setTreePath(QString());
    cancelled_ = true;
    QDialog::reject();
}

void frmRSS::reject() {
    CancelButton_Click();
}
