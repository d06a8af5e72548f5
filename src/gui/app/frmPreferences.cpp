#include "gui/app/frmPreferences.h"

#include "core/program/ProgramContext.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmPreferences::frmPreferences(ProgramContext& context, std::function<void()> save, QWidget* parent)
    : QDialog(parent), context_(context), save_(std::move(save)) {
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Quorvantile Preferences"));
    Label1 = new QLabel(QStringLiteral("&Home Page :"), this);
    txtHome = new QLineEdit(this);
    Label1->setBuddy(txtHome);
    Label3 = new QLabel(QStringLiteral("&File->New->Insert Default Template:"), this);
    txtFileNew = new QLineEdit(this);
    Label3->setBuddy(txtFileNew);
    txtHome->setMinimumWidth(360);

    fraGeneral = new QGroupBox(QStringLiteral("&General"), this);
    useLinkRel = new QCheckBox(QStringLiteral("Insert <LinkRel> in metadata"), fraGeneral);
    useLinkRel->setToolTip(QStringLiteral("Not all Metadata Domains have LnkRel information. Use this to stop any "
                                          "available information being inserted."));
    chkSplash = new QCheckBox(QStringLiteral("&Display Splash Screen at Startup"), fraGeneral);
    chkmtpComplete = new QCheckBox(QStringLiteral("&Auto Complete mtp:// commands in Tree View Edit"), fraGeneral);
    chkmtpComplete->setToolTip(QStringLiteral("Set this on if you are constructing your own thesaurus in Quorvantile "
                                              "for DC.Subject. It will make the correct MTP macro for you."));
    auto* general = new QVBoxLayout(fraGeneral);
    general->addWidget(useLinkRel);
    general->addWidget(chkSplash);
    general->addWidget(chkmtpComplete);

    fraSchemas[0] = new QGroupBox(QStringLiteral("&Scheme and Schema Cache"), this);
    cmdClearCacheNow = new QPushButton(QStringLiteral("Clear &Now"), fraSchemas[0]);
    cmdClearCacheNow->setToolTip(QStringLiteral("Clear the Cache to get fresh copies of Schemas and Schemes from the "
                                                "Net. This does not clear the Web Page cache."));
    chkClearCache = new QCheckBox(QStringLiteral("&Clear at the end of each session."), fraSchemas[0]);
    chkClearCache->setToolTip(QStringLiteral("Select whether Schemas and Schemes (Thesaurusues) are refreshed on every "
                                             "launch of Quorvantile. Use the Clear Cache Now button  to get fresh copies."));
    auto* cache = new QHBoxLayout(fraSchemas[0]);
    cache->addWidget(cmdClearCacheNow);
    cache->addWidget(chkClearCache, 1);

    fraSchemas[1] = new QGroupBox(QStringLiteral("Character Encoding"), this);
    radNoEncoding[0] = new QRadioButton(QStringLiteral("No Encoding"), fraSchemas[1]);
    radNoEncoding[1] = new QRadioButton(QStringLiteral("UTF-8 Encoding"), fraSchemas[1]);
    radNoEncoding[2] = new QRadioButton(QStringLiteral("HTML \"&&amp; &&lt; &&gt;\" style encoding"), fraSchemas[1]);
    auto* encoding = new QVBoxLayout(fraSchemas[1]);
    for (QRadioButton* option : radNoEncoding) encoding->addWidget(option);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdOK->setDefault(true);
    auto* fields = new QFormLayout;
    fields->addRow(Label1, txtHome);
    fields->addRow(Label3, txtFileNew);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(fraGeneral);
    layout->addWidget(fraSchemas[0]);
    layout->addWidget(fraSchemas[1]);
    layout->addLayout(buttons);

    const std::pair<QWidget*, const char*> names[] = {
        {Label1, "Label1"},
        {txtHome, "txtHome"},
        {Label3, "Label3"},
        {txtFileNew, "txtFileNew"},
        {fraGeneral, "fraGeneral"},
        {useLinkRel, "useLinkRel"},
        {chkSplash, "chkSplash"},
        {chkmtpComplete, "chkmtpComplete"},
        {fraSchemas[0], "fraSchemas_0"},
        {fraSchemas[1], "fraSchemas_1"},
        {cmdClearCacheNow, "cmdClearCacheNow"},
        {chkClearCache, "chkClearCache"},
        {radNoEncoding[0], "radNoEncoding_0"},
        {radNoEncoding[1], "radNoEncoding_1"},
        {radNoEncoding[2], "radNoEncoding_2"},
        {cmdOK, "cmdOK"},
        {cmdCancel, "cmdCancel"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QLatin1String(name));

    connect(cmdOK, &QPushButton::clicked, this, &frmPreferences::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPreferences::cmdCancel_Click);
    connect(cmdClearCacheNow, &QPushButton::clicked, this, &frmPreferences::cmdClearCacheNow_Click);
}

void frmPreferences::showEvent(QShowEvent* event) {
    Form_Load();
    QDialog::showEvent(event);
}

void frmPreferences::Form_Load() {
    Preferences& p = context_.preferences;
    homeAtLoad_ = p.Home;
    txtHome->setText(p.Home);
    txtFileNew->setText(p.FileNewURL);
    chkSplash->setChecked(p.showSplash.isNotN());
    chkClearCache->setChecked(p.ClearCache.isNotN());
    chkmtpComplete->setChecked(p.CompleteMtp.isNotN());
    useLinkRel->setChecked(p.UseLinkRel.isNotN());
    for (QRadioButton* option : radNoEncoding) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
        option->show();
    }
    radNoEncoding[0]->setText(QStringLiteral("No Encoding"));
    if (!context_.macros.saveRecordMacro.isEmpty()) {
        // The repository stores values as typed: no encoding while a server is in use.
        p.charEncoding = QStringLiteral("0");
        radNoEncoding[0]->setChecked(true);
        radNoEncoding[0]->setText(QStringLiteral("No Encoding. (Server is active)"));
        radNoEncoding[1]->hide();
        radNoEncoding[2]->hide();
    } else if (p.charEncoding == QLatin1String("0") || p.charEncoding == QLatin1String("1") ||
               p.charEncoding == QLatin1String("2")) {
        radNoEncoding[p.charEncoding.toInt()]->setChecked(true);
    }
}

void frmPreferences::cmdOK_Click() {
    Preferences& p = context_.preferences;
    p.Home = txtHome->text();
    p.FileNewURL = txtFileNew->text();
    p.showSplash.set(chkSplash->isChecked());
    p.ClearCache.set(chkClearCache->isChecked());
    p.CompleteMtp.set(chkmtpComplete->isChecked());
    p.UseLinkRel.set(useLinkRel->isChecked());
    for (int i = 0; i < 3; ++i) {
        if (radNoEncoding[i]->isChecked()) {
            p.charEncoding = QString::number(i);
            break;
        }
    }
    if (save_) save_();
    close();
}

void frmPreferences::cmdCancel_Click() {
    context_.preferences.Home = homeAtLoad_;
    close();
}

void frmPreferences::cmdClearCacheNow_Click() {
    for (const char* text : {"mtp://delete=all.kqs/", "mtp://delete=all.kqi/"}) {
        modMTP::runMtpCommand(context_, QLatin1String(text));
    }
}

frmFirewall::frmFirewall(Preferences& preferences, QWidget* parent) : QDialog(parent), preferences_(preferences) {
    setObjectName(QStringLiteral("frmFirewall"));
    setWindowTitle(QStringLiteral("Firewall Preferences"));
    Label1[0] = new QLabel(QStringLiteral("Some firewalls require a UserID and Password to be entered to access Web "
                                          "Sites outside a Firewall."),
                           this);
    Label1[1] = new QLabel(QStringLiteral("To read in the metadata from a page and to access Schemes and Templates over "
                                          "the Web Quorvantile needs to know your Firewall UserID and Password."),
                           this);
    for (QLabel* label : Label1) {
        label->setWordWrap(true);
        label->setMinimumWidth(380);
    }
    lblUserID = new QLabel(QStringLiteral("UserID:"), this);
    txtUserID = new QLineEdit(this);
    lblPassword = new QLabel(QStringLiteral("Password:"), this);
    txtPassword = new QLineEdit(this);
    // Never shown in clear text.
    txtPassword->setEchoMode(QLineEdit::Password);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command1->setDefault(true);
    auto* fields = new QFormLayout;
    fields->addRow(lblUserID, txtUserID);
    fields->addRow(lblPassword, txtPassword);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1[0]);
    layout->addWidget(Label1[1]);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    const std::pair<QWidget*, const char*> names[] = {
        {Label1[0], "Label1_0"},       {Label1[1], "Label1_1"},       {lblUserID, "lblUserID"},
        {txtUserID, "txtUserID"},      {lblPassword, "lblPassword"},  {txtPassword, "txtPassword"},
        {Command1, "Command1"},        {Command2, "Command2"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QLatin1String(name));
    connect(Command1, &QPushButton::clicked, this, [this] {
        saveGlobals();
        accept();
    });
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void frmFirewall::showEvent(QShowEvent* event) {
    txtUserID->setText(preferences_.INETname);
    txtPassword->setText(preferences_.INETid);
    QDialog::showEvent(event);
}

void frmFirewall::saveGlobals() {
    preferences_.INETname = txtUserID->text();
    preferences_.INETid = txtPassword->text();
}
