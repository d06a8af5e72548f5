#include "gui/domains/frmCheckList.h"

#include "core/program/CRegSettings.h"
#include "core/program/ProgramContext.h"
#include "core/domains/modCheckList.h"
#include "core/domains/modSchemas.h"
#include "platform/widgets/Modal.h"
#include "platform/MsgBox.h"
#include "platform/OwnedDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kSchemasSection = QStringLiteral("Preferences\\Schemas");
const QString kFirstDomain = QStringLiteral("Dublin Core");
}  // namespace

frmCheckList::frmCheckList(QWidget* parent, ProgramContext& context) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmCheckList"));
    setWindowTitle(QStringLiteral("Schemas Control Panel"));
    defaultSchemaLabel = new QLabel(QStringLiteral("Select your default schema from this list:"), this);
    defSchema = new QComboBox(this);
    defSchema->setObjectName(QStringLiteral("defSchema"));
    defSchema->setEditable(true);
    defSchema->setInsertPolicy(QComboBox::NoInsert);
    menuSchemasLabel = new QLabel(
        QStringLiteral("Select as many Schemas as you would like to display in the Metadata Resources Menu."), this);
    ListView1 = new QListWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    behaviourLabel = new QLabel(QStringLiteral("Quorvantile behaviour changes to work in with the default schema selected "
                                       "showing recommended schemes, tutorials and other things of assistance to "
                                       "metadata creation "),
                        this);
    for (QLabel* label : {defaultSchemaLabel, menuSchemasLabel, behaviourLabel}) label->setWordWrap(true);
    cmdOK = new QPushButton(QStringLiteral("Select"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdOK->setDefault(true);
    const std::pair<QWidget*, const char*> names[] = {
        {defaultSchemaLabel, "defaultSchemaLabel"}, {menuSchemasLabel, "menuSchemasLabel"}, {behaviourLabel, "behaviourLabel"}, {cmdOK, "cmdOK"}, {cmdCancel, "cmdCancel"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QLatin1String(name));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(defaultSchemaLabel);
    layout->addWidget(defSchema);
    layout->addWidget(menuSchemasLabel);
    layout->addWidget(ListView1, 1);
    layout->addWidget(behaviourLabel);
    layout->addLayout(buttons);
    resize(440, 460);

    connect(cmdOK, &QPushButton::clicked, this, &frmCheckList::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmCheckList& frmCheckList::instance(QWidget* parent, ProgramContext& context) {
    return platform::ownedDialog<frmCheckList>(*parent, [&] { return new frmCheckList(parent, context); });
}

void frmCheckList::showModal(QWidget* owner, ProgramContext& context, platform::ModalRuns& runs) {
    frmCheckList& dialog = instance(owner, context);
    dialog.Form_Load();
    runs.execModal(dialog);
}

DomainCatalogue& frmCheckList::catalogue() const {
    return context_.domain.catalogue;
}

void frmCheckList::Form_Load() {
    try {
        fillFromSettings();
    } catch (const std::exception& e) {
        // What was filled stays; the user hears what went wrong.
        context_.user.MsgBox(QString::fromLocal8Bit(e.what()));
    }
}

void frmCheckList::fillFromSettings() {
    QStringList stored;
    for (const SettingRow& row : CRegSettings(context_.settings).GetAllSettings(kSchemasSection)) stored.append(row.name);
    QString shownDefault = context_.domain.defaultSchema;
    // A first use proposes Dublin Core; only Select makes it so.
    if (stored.isEmpty()) {
        modCheckList::fillSchemaCatalogue(catalogue(), context_.schemeServer);
        shownDefault = kFirstDomain;
        stored.append(kFirstDomain);
    }
    defSchema->clear();
    ListView1->clear();
    QString defaultText;
    const int rows = modCheckList::catalogueRowCount(catalogue());
    for (int i = 0; i < rows; ++i) {
        const QString& longName = catalogue().schemaLongNames[size_t(i)];
        const QString& shortName = catalogue().schemaShortNames[size_t(i)];
        defSchema->addItem(longName);
        if (shownDefault == shortName) defaultText = longName;
        auto* item = new QListWidgetItem(longName, ListView1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setData(Qt::UserRole, shortName);
        item->setCheckState(stored.contains(shortName) || shownDefault == shortName ? Qt::Checked : Qt::Unchecked);
    }
    // A default outside the catalogue shows as no choice, not as the first row.
    defSchema->setCurrentIndex(int(defSchema->findText(defaultText, Qt::MatchFixedString | Qt::MatchCaseSensitive)));
    defSchema->setEditText(defaultText);
    // The default is the first thing asked: it has the focus, its list closed until the user opens it.
    defSchema->setFocus();
}

void frmCheckList::cmdOK_Click() {
    modSchemas::hideAllSchemaMenus(context_);
    const int rows = modCheckList::catalogueRowCount(catalogue());
    for (int i = 0; i < rows; ++i) {
        if (defSchema->currentText() != catalogue().schemaLongNames[size_t(i)]) continue;
        const QString& chosen = catalogue().schemaShortNames[size_t(i)];
        context_.domain.defaultSchema = chosen;
        modSchemas::applyDomainDefaults(context_);
        modSchemas::showSchemaMenu(context_, true, chosen);
        break;
    }
    CRegSettings(context_.settings).DeleteSetting(kSchemasSection, QString());
    for (int j = 0; j < ListView1->count(); ++j) {
        const QListWidgetItem* item = ListView1->item(j);
        if (item->checkState() != Qt::Checked) continue;
        const QString shortName = item->data(Qt::UserRole).toString();
        modSchemas::showSchemaMenu(context_, true, shortName);
        CRegSettings(context_.settings).SaveSetting(kSchemasSection, shortName, QString());
    }
    accept();
}
