#include "domains/frmStartup.h"

#include "app/CRegSettings.h"
#include "app/Form1.h"
#include "domains/modCheckList.h"
#include "domains/modSchemas.h"
#include "gui/app/HelpMenu.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/OwnedDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kOther = QStringLiteral("Other (Please type in to this box)");
const QString kFallback = QStringLiteral("Dublin Core");
}  // namespace

frmStartup::frmStartup(Form1* form) : QDialog(form), form_(form) {
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(QStringLiteral("Welcome to Quorvantile"));
    Frame1 = new QGroupBox(QStringLiteral("Metadata Domain"), this);
    Domain = new QComboBox(Frame1);
    Domain->setObjectName(QStringLiteral("Domain"));
    Domain->setEditable(true);
    Domain->setInsertPolicy(QComboBox::NoInsert);
    Domain->setMinimumContentsLength(40);
    Check2 = new QCheckBox(QStringLiteral("Run Quorvantile Tutorial Now "), Frame1);
    Check2->setObjectName(QStringLiteral("Check2"));
    auto* frame = new QVBoxLayout(Frame1);
    frame->addWidget(Domain);
    frame->addWidget(Check2);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        prepareAndSetDomain();
        accept();
    });
}

frmStartup& frmStartup::instance(Form1* form) {
    return platform::ownedDialog<frmStartup>(*form, [&] { return new frmStartup(form); });
}

void frmStartup::chooseFirstDomain(Form1* form) {
    frmStartup& dialog = instance(form);
    dialog.Form_Load();
    if (platform::execModal(dialog) != QDialog::Accepted) return;
    modSchemas::applyDomainDefaults(form->context);
    modSchemas::loadDomainScheme(form->context);
}

QString& frmStartup::domain() const {
    return form_->context.domain.defaultSchema;
}

void frmStartup::Form_Load() {
    Domain->clear();
    const int rows = modCheckList::catalogueRowCount(form_->context.domain.catalogue);
    for (int i = 0; i < rows; ++i) Domain->addItem(form_->context.domain.catalogue.schemaLongNames[size_t(i)]);
    Domain->addItem(kOther);
    const QString current =
        modCheckList::getSchemaLongName(form_->context.domain.catalogue, domain().isEmpty() ? kFallback : domain());
    Domain->setCurrentIndex(int(Domain->findText(current, Qt::MatchFixedString | Qt::MatchCaseSensitive)));
    Domain->setEditText(current);
}

void frmStartup::prepareAndSetDomain() {
    domain().clear();
    const int rows = modCheckList::catalogueRowCount(form_->context.domain.catalogue);
    for (int i = 0; i < rows; ++i)
        if (Domain->currentText() == form_->context.domain.catalogue.schemaLongNames[size_t(i)])
            domain() = form_->context.domain.catalogue.schemaShortNames[size_t(i)];
    if (domain().isEmpty()) {
        platform::MsgBox(QStringLiteral("Schema not found. Setting your default metadata domain to Dublin Core"));
        domain() = kFallback;
    }
    modSchemas::hideAllSchemaMenus(form_->context);
    modSchemas::showSchemaMenu(form_->context, true, domain());
    // Earlier choices stay stored: the section is added to, never cleared here.
    CRegSettings().SaveSetting(QStringLiteral("Preferences\\Schemas"), domain(), QString());
    if (Check2->isChecked()) form_->helpMenu->mnuHelpTutorial_Click();
}
