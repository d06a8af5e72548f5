#include "gui/domains/frmStartup.h"

#include "core/program/CRegSettings.h"
#include "core/program/ProgramContext.h"
#include "core/domains/modCheckList.h"
#include "core/domains/modSchemas.h"
#include "platform/widgets/Modal.h"
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

frmStartup::frmStartup(QWidget* parent, ProgramContext& context, std::function<void()> openTutorial)
    : QDialog(parent), context_(context), openTutorial_(std::move(openTutorial)) {
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(QStringLiteral("Welcome to Quorvantile"));
    domainGroup = new QGroupBox(QStringLiteral("Metadata Domain"), this);
    domainGroup->setObjectName(QStringLiteral("domainGroup"));
    Domain = new QComboBox(domainGroup);
    Domain->setObjectName(QStringLiteral("Domain"));
    Domain->setEditable(true);
    Domain->setInsertPolicy(QComboBox::NoInsert);
    Domain->setMinimumContentsLength(40);
    Check2 = new QCheckBox(QStringLiteral("Run Quorvantile Tutorial Now "), domainGroup);
    Check2->setObjectName(QStringLiteral("Check2"));
    auto* frame = new QVBoxLayout(domainGroup);
    frame->addWidget(Domain);
    frame->addWidget(Check2);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(domainGroup);
    layout->addLayout(buttons);
    connect(okButton, &QPushButton::clicked, this, [this] {
        prepareAndSetDomain();
        accept();
    });
}

frmStartup& frmStartup::instance(QWidget* parent, ProgramContext& context, std::function<void()> openTutorial) {
    return platform::ownedDialog<frmStartup>(*parent, [&] { return new frmStartup(parent, context, std::move(openTutorial)); });
}

void frmStartup::chooseFirstDomain(QWidget* parent, ProgramContext& context, platform::ModalRuns& runs,
                                   std::function<void()> openTutorial) {
    frmStartup& dialog = instance(parent, context, std::move(openTutorial));
    dialog.Form_Load();
    if (runs.execModal(dialog) != QDialog::Accepted) return;
    modSchemas::applyDomainDefaults(context);
    modSchemas::loadDomainScheme(context);
}

QString& frmStartup::domain() const {
    return context_.domain.defaultSchema;
}

void frmStartup::Form_Load() {
    Domain->clear();
    const int rows = modCheckList::catalogueRowCount(context_.domain.catalogue);
    for (int i = 0; i < rows; ++i) Domain->addItem(context_.domain.catalogue.schemaLongNames[size_t(i)]);
    Domain->addItem(kOther);
    const QString current =
        modCheckList::getSchemaLongName(context_.domain.catalogue, domain().isEmpty() ? kFallback : domain());
    Domain->setCurrentIndex(int(Domain->findText(current, Qt::MatchFixedString | Qt::MatchCaseSensitive)));
    Domain->setEditText(current);
}

void frmStartup::prepareAndSetDomain() {
    domain().clear();
    const int rows = modCheckList::catalogueRowCount(context_.domain.catalogue);
    for (int i = 0; i < rows; ++i)
        if (Domain->currentText() == context_.domain.catalogue.schemaLongNames[size_t(i)])
            domain() = context_.domain.catalogue.schemaShortNames[size_t(i)];
    if (domain().isEmpty()) {
        context_.user.MsgBox(QStringLiteral("Schema not found. Setting your default metadata domain to Dublin Core"));
        domain() = kFallback;
    }
    modSchemas::hideAllSchemaMenus(context_);
    modSchemas::showSchemaMenu(context_, true, domain());
    // Earlier choices stay stored: the section is added to, never cleared here.
    CRegSettings(context_.settings).SaveSetting(QStringLiteral("Preferences\\Schemas"), domain(), QString());
    if (Check2->isChecked()) openTutorial_();
}
