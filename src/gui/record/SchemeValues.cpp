// What the edit panel's content field offers for a line's element and encoding scheme, where
// a "Load Scheme" press fetches the scheme's value list from, and the buttons that fill the
// field from the page shown or open it.
#include "gui/record/SchemeValues.h"

#include "gui/frame/HelpPages.h"
#include "gui/frame/Navigation.h"
#include "gui/frame/PageBrowser.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/WindowFrame.h"
#include "gui/record/EditPanelContent.h"
#include "gui/record/EditGuards.h"
#include "gui/record/EditPanelControls.h"
#include "gui/record/RecordNeighbours.h"
#include "gui/record/frmACTVers.h"
#include "gui/record/frmAglsAgent.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "core/domains/SchemeHosts.h"
#include "core/domains/SchemeRules.h"
#include "core/program/ProgramContext.h"
#include "platform/Folders.h"
#include "platform/widgets/Modal.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"

#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>

namespace {

struct ValueList {
    const char* element;
    const char* domains[2];  // the whole domain in lower case; nullptr: any domain
    const char* items[5];
    const char* shownWhenEmpty;
};

const ValueList kValueLists[] = {
    {"DC.Type.aggregation", {"agls", "nohsc"}, {"item", "collection"}, "item"},
    {"DC.Type.category", {"agls", "nohsc"}, {"service", "document", "agency"}, "agency"},
    {"HI.Complexity", {nullptr, nullptr}, {"very easy", "easy", "medium", "difficult", "very difficult"}, ""},
    {"HI.Status", {nullptr, nullptr}, {"assign", "pending", "registered", "catalogued"}, ""},
};

const ValueList* valueListFor(const QString& element, const QString& domain) {
    const QString lowerDomain = domain.toLower();
    for (const ValueList& list : kValueLists) {
        if (!element.contains(QLatin1String(list.element), Qt::CaseInsensitive)) continue;
        const bool anyDomain = list.domains[0] == nullptr;
        if (anyDomain || lowerDomain == QLatin1String(list.domains[0]) || lowerDomain == QLatin1String(list.domains[1]))
            return &list;
    }
    return nullptr;
}

struct SchemeFile {
    const char* domain;
    const char* element;
    const char* file;
};

const SchemeFile kSchemeFiles[] = {
    {"GILS-UTAH", "copyright", "GILS-UTAH-copyright.kqs"}, {"GILS-UTAH", "agency", "agency.kqs"},
    {"GILS-UTAH", "doctype", "resourceType.kqs"},         {"GILS-UTAH", "resourcetype", "resourceType.kqs"},
    {"GILS-UTAH", "govtype", "govType.kqs"},               {"GILS-UTAH", "language", "RFC3066.kqs"},
    {"GILS-UTAH", "medium", "medium.kqs"},                 {"GILS-UTAH", "revisit-after", "revisit-after.kqs"},
    {"GILS-UTAH", "robots", "robots.kqs"},                 {"GILS-UTAH", "subjects", "subjects.kqs"},
    {"GILS-UTAH", "format", "IMT.kqs"},
    {"GILS-MONTANA", "author", "author.kqs"},              {"GILS-MONTANA", "originator", "originator.kqs"},
    {"GILS-MONTANA", "doctype", "resourceType.kqs"},       {"GILS-MONTANA", "resourcetype", "resourceType.kqs"},
    {"GILS-MONTANA", "govtype", "govType.kqs"},            {"GILS-MONTANA", "language", "RFC3066.kqs"},
    {"GILS-MONTANA", "medium", "medium.kqs"},              {"GILS-MONTANA", "subjects", "subjects.kqs"},
    {"GILS-MONTANA", "format", "IMT.kqs"},
    {"GILS-OREGON", "subjects", "subjects.kqs"},           {"GILS-OREGON", "govType", "govType.kqs"},
    {"GILS-OREGON", "medium", "medium.kqs"},
    {"GILS-ARIZONA", "subjects", "Subjects.kqs"},          {"GILS-ARIZONA", "govType", "govType.kqs"},
    {"GILS-ARIZONA", "medium", "medium.kqs"},
    {"NZGLS", "dc.type", "NZGLS-type.kqs"},                {"NZGLS", "dc.coverage.jurisdiction", "jurisdiction.kqs"},
    {"NZGLS", "dc.coverage.spatial", "placeNames.kqs"},
};

bool domainHasSchemeFiles(const QString& domain) {
    for (const char* d : {"GILS-UTAH", "GILS-MONTANA", "GILS-OREGON", "GILS-ARIZONA", "NZGLS"}) {
        if (domain == QLatin1String(d)) return true;
    }
    return false;
}


// The file of the folder named as the scheme with ".kqs", in any case; "" when none is.
QString schemeFileIn(const QString& folder, const QString& scheme) {
    if (scheme.isEmpty()) return QString();
    const QString wanted = scheme + QStringLiteral(".kqs");
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) return name;
    return QString();
}

void reportFailure(UserDialogs& user, const char* prefix, const std::exception& e,
                   const QString& title = platform::kDefaultMsgBoxTitle) {
    user.MsgBox(QLatin1String(prefix) + QString::fromLocal8Bit(e.what()), platform::kOkOnly, title);
}

}  // namespace

SchemeValues::SchemeValues(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around,
                           EditGuards& guards, EditPanelContent& content, RecordDocument& document)
    : context(context), frame(frame), around(around), guards(guards), content(content), document(document) {}

void SchemeValues::build(QWidget* panel, QComboBox* scheme) {
    schemeBox = scheme;
    editAddURL = editPanelButton(panel, QStringLiteral("editAddURL"), QStringLiteral("Add current URI"));
    editAddTitle = editPanelButton(panel, QStringLiteral("editAddTitle"), QStringLiteral("Use <title>"));
    editOpenURI = editPanelButton(panel, QStringLiteral("editOpenURI"), QStringLiteral("Open URI"));
    EditLoadScheme = editPanelButton(panel, QStringLiteral("EditLoadScheme"), QStringLiteral("Load Scheme"));
    connect(editAddURL, &QPushButton::clicked, this, [this] { editAddURL_Click(); });
    connect(editAddTitle, &QPushButton::clicked, this, [this] { editAddTitle_Click(); });
    connect(editOpenURI, &QPushButton::clicked, this, [this] { editOpenURI_Click(); });
    connect(EditLoadScheme, &QPushButton::clicked, this, [this] { EditLoadScheme_Click(); });
}

void SchemeValues::placeIn(QGridLayout* grid) {
    grid->addWidget(EditLoadScheme, 0, 6);
    grid->addWidget(editAddURL, 1, 6);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(editAddTitle);
    buttons->addWidget(editOpenURI);
    grid->addLayout(buttons, 2, 1, 1, 5);
    EditLoadScheme->hide();
}

void SchemeValues::showButtonsFor(const QString& name) {
    const bool title = name.contains(QLatin1String("DC.Title"), Qt::CaseInsensitive) ||
                       name.compare(QLatin1String("Title"), Qt::CaseInsensitive) == 0 ||
                       name.compare(QLatin1String("Title.alternative"), Qt::CaseInsensitive) == 0 ||
                       name.contains(QLatin1String("General.Title"), Qt::CaseInsensitive);
    editAddTitle->setVisible(title);
    editAddURL->setVisible(name.contains(QLatin1String("URL"), Qt::CaseInsensitive) ||
                           name.contains(QLatin1String("DC.Identifier"), Qt::CaseInsensitive));
}

void SchemeValues::fillForLine(const QString& name, const QString& scheme, const QString& value) {
    content.hideAlternatives();
    if (const ValueList* list = valueListFor(name, context.domain.defaultSchema)) {
        QStringList items;
        for (const char* item : list->items)
            if (item) items << QLatin1String(item);
        content.showBuiltInList(items, value.isEmpty() ? QLatin1String(list->shownWhenEmpty) : value);
        return;
    }
    fillContentFromScheme(scheme, value);
    if (!domainHasSchemeFiles(context.domain.defaultSchema)) return;
    content.setText(value);
    for (const SchemeFile& row : kSchemeFiles) {
        if (context.domain.defaultSchema == QLatin1String(row.domain) &&
            name.contains(QLatin1String(row.element), Qt::CaseInsensitive)) {
            EditLoadScheme->show();
            EditLoadSchemeTag = QLatin1String(row.file);
            return;
        }
    }
    EditLoadSchemeTag.clear();
}

void SchemeValues::showContentForScheme(const QString& scheme, const QString& value) {
    const ShowingOnly showing(guards);
    content.showContentBox();
    if (fillContentFromLocalScheme(scheme, value) || fillContentFromServerScheme(scheme, value)) return;
    EditLoadScheme->setVisible(SchemeRules::schemeHasLoadButton(scheme));
    if (SchemeRules::isDateScheme(scheme)) {
        const SchemeRules::DateParts date = SchemeRules::splitDate(value);
        // Text that is no date the boxes can hold stays in the plain field, untouched.
        if (date.inBoxes) return content.showDateEditor(date);
        return content.showPlainText(value);
    }
    const SchemeRules::ContentField field = SchemeRules::contentFieldFor(context.domain.defaultSchema, scheme);
    if (field.valueList) return content.showValueList(field.items, value);
    if (field.loadButton) return fillContentLoadSchemeOn(value);
    content.showPlainText(value);
}


void SchemeValues::fillContentFromScheme(const QString& scheme, const QString& value) {
    try {
        showContentForScheme(scheme, value);
    } catch (const std::exception& e) {
        // The panel stays as far as it was set up.
        reportFailure(context.user, "Error in fillContentFromScheme: ", e, QStringLiteral("Error"));
    }
}

bool SchemeValues::fillContentFromLocalScheme(const QString& scheme, const QString& value) {
    try {
        const QString treePath = context.document.TreePath();
        if (platform::lastPathSeparator(treePath) < 0) return false;
        // A folder that has gone holds no scheme; "Load Scheme" is where that gets reported.
        if (schemeFileIn(platform::folderPart(treePath), scheme).isEmpty()) return false;
        fillContentLoadSchemeOn(value);
        return true;
    } catch (const std::exception& e) {
        reportFailure(context.user, "Error in fill content from local scheme: ", e);
    }
    return false;
}

bool SchemeValues::fillContentFromServerScheme(const QString& scheme, const QString& value) {
    try {
        if (!SchemeRules::repositoryServes(context.macros.repositorySchemes, scheme)) return false;
        fillContentLoadSchemeOn(value);
        return true;
    } catch (const std::exception& e) {
        reportFailure(context.user, "Error in fill content from  scheme: ", e);
    }
    return false;
}

void SchemeValues::fillContentLoadSchemeOn(const QString& value) {
    EditLoadScheme->show();
    content.showPlainText(value);
}

bool SchemeValues::loadScheme(const QString& name) {
    // The name may come from a page: only a plain name ever reaches a command.
    if (!SchemeRules::isCommandSafeName(name)) return false;
    if (loadSchemeLocal(name) || loadSchemeServer(name)) return true;
    QString schemeName = name;
    schemeName.remove(QLatin1Char('-'));
    schemeName.remove(QLatin1Char('.'));
    const SchemeRules::SchemeRule rule = SchemeRules::schemeRuleFor(schemeName, context.domain.defaultSchema, context.schemeServer);
    switch (rule.action) {
    case SchemeRules::SchemeAction::NoMatch:
        return false;
    case SchemeRules::SchemeAction::CurriculumThesaurus: {
        around.help.showSchemeHelp(QStringLiteral("http://") + rule.address);
        return true;
    }
    case SchemeRules::SchemeAction::AglsAgent:
        showAglsAgent();
        return true;
    case SchemeRules::SchemeAction::ActVers:
        showACTVers();
        return true;
    case SchemeRules::SchemeAction::TagsMenu:
        if (auto* tags = frame.clientArea()->window()->findChild<QMenu*>(QStringLiteral("mnuResTags0"))) {
            tags->popup(QCursor::pos());
            return true;
        }
        return false;
    case SchemeRules::SchemeAction::List:
        // What arrives is a scheme list, whatever the tree held before.
        context.document.setListType(QStringLiteral("schema"));
        modMTP::runMtpCommand(context, QStringLiteral("mtp://url=") + rule.address);
        return true;
    }
    return false;
}

bool SchemeValues::loadSchemeLocal(const QString& schemeName) {
    const QString treePath = context.document.TreePath();
    if (treePath.isEmpty()) return false;
    const QString folder = platform::lastPathSeparator(treePath) < 0
                               ? platform::programDataFolder() + QStringLiteral("/schemes/")
                               : platform::folderPart(treePath);
    if (!QFileInfo(folder).isDir()) {
        context.user.MsgBox(QStringLiteral("Error in Load Scheme Local: Path not found: ") + folder);
        return false;
    }
    const QString file = schemeFileIn(folder, schemeName);
    if (file.isEmpty()) return false;
    modMTP::runMtpCommand(context, QStringLiteral("mtp://open=") + folder + file);
    return true;
}

bool SchemeValues::loadSchemeServer(const QString& schemeName) {
    const QString catalogScheme = context.macros.repositoryScheme;
    if (!catalogScheme.isEmpty() && !context.macros.openCatalogMacro.isEmpty() &&
        schemeName.compare(catalogScheme, Qt::CaseInsensitive) == 0) {
        modMTP::runMtpCommand(context, context.macros.openCatalogMacro);
        return true;
    }
    if (!SchemeRules::repositoryServes(context.macros.repositorySchemes, schemeName)) return false;
    const QString command = SchemeRules::repositorySchemeCommand(context.macros.saveRecordMacro, schemeName);
    if (command.isEmpty()) return false;
    modMTP::runMtpCommand(context, command);
    return true;
}

// ---- buttons -------------------------------------------------------------------------

void SchemeValues::editAddURL_Click() {
    content.setText(around.browser.browserLocationURL());
    schemeBox->setEditText(QStringLiteral("URI"));
}

void SchemeValues::editAddTitle_Click() {
    content.setText(around.browser.browserLocationName());
}

void SchemeValues::editOpenURI_Click() {
    around.navigation.openAddress(content.text());
}

void SchemeValues::EditLoadScheme_Click() {
    const QString& tag = EditLoadSchemeTag;
    const QString& domain = context.domain.defaultSchema;
    const QString server = context.schemeServer;
    struct GilsRow {
        const char* domain;
        QString host;
        const char* folder;
    };
    const GilsRow rows[] = {
        {"GILS-UTAH", SchemeHosts::stateHostB, "/schemes/ut/"},
        {"GILS-OREGON", server, "/schemes/GILS-OREGON/"},
        {"GILS-ARIZONA", server, "/schemes/GILS-ARIZONA/"},
    };
    for (const GilsRow& row : rows) {
        if (domain != QLatin1String(row.domain)) continue;
        if (tag.isEmpty()) return;
        context.document.setListType(QStringLiteral("schema"));
        modMTP::runMtpCommand(context, QStringLiteral("mtp://url=") + row.host + QLatin1String(row.folder) + tag);
        return;
    }
    if (domain == QLatin1String("GILS-MONTANA")) {
        if (tag.isEmpty()) return;
        context.document.setListType(QStringLiteral("schema"));
        if (tag == QLatin1String("subjects.kqs"))
            modMTP::runMtpCommand(context, QStringLiteral("mtp://url=") + SchemeHosts::stateLibraryHost + QStringLiteral("/montana/topics.kqs"));
        else
            modMTP::runMtpCommand(context, QStringLiteral("mtp://url=") + server + QStringLiteral("/schemes/GILS-MONTANA/") + tag);
        return;
    }
    if (domain == QLatin1String("NZGLS") && !tag.isEmpty()) {
        modMTP::runMtpCommand(context, QStringLiteral("mtp://url=") + server + QStringLiteral("/schemes/NZGLS/") + tag);
        return;
    }
    loadScheme(schemeBox->currentText());
}

void SchemeValues::showAglsAgent() {
    QWidget* window = frame.clientArea()->window();
    frame.modalRuns().execModal(frmAglsAgent::instance(context, document, content, window));
}

void SchemeValues::showACTVers() {
    QWidget* window = frame.clientArea()->window();
    frame.modalRuns().execModal(frmACTVers::instance(context, document, content, window));
}
