// Filling the edit panel from the selected line of the record.
#include "gui/record/RecordPane.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"

#include "core/record/Record.h"
#include "core/domains/modSchemas.h"
#include "gui/record/MetaPanelView.h"
#include "platform/MsgBox.h"
#include "core/record/modCharEncoding.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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

}  // namespace

void RecordPane::editCurrentLine() {
    const Record::LineId line = record->selectedLine();
    if (!line) return;
    shownLine_ = line;
    fillingRecord_ = true;
    if (MetaPanel->isHidden()) around.viewMenu.mnuViewQuorvantile_Click();
    if (EditPanel->isHidden()) EditPanelOn();
    ActivateEditPanel(true);

    const MetadataLine values = record->line(line);
    const QString name = values.name;
    const QString content = modCharEncoding::decodeContent(values.content, context.preferences.charEncoding);
    const QString lang = values.lang;
    const QString scheme = values.scheme;

    editNrmlName->setText(name);
    const bool title = name.contains(QLatin1String("DC.Title"), Qt::CaseInsensitive) ||
                       name.compare(QLatin1String("Title"), Qt::CaseInsensitive) == 0 ||
                       name.compare(QLatin1String("Title.alternative"), Qt::CaseInsensitive) == 0 ||
                       name.contains(QLatin1String("General.Title"), Qt::CaseInsensitive);
    editAddTitle->setVisible(title);
    editAddURL->setVisible(name.contains(QLatin1String("URL"), Qt::CaseInsensitive) ||
                           name.contains(QLatin1String("DC.Identifier"), Qt::CaseInsensitive));
    SelectLine(record->positionOf(line));

    QString schemeList;
    const QString choices = modSchemas::getSchemeList(context.domain, name.isEmpty() ? QStringLiteral("None") : name, schemeList);

    // The content box is hidden only where something else takes its place: hiding it while it
    // has the focus sends the focus round the panel, for every line a batch adds.
    EditList->hide();
    editDateBoxes->hide();

    if (const ValueList* list = valueListFor(name, context.domain.defaultSchema)) {
        editNrmlContent->hide();
        EditList->show();
        EditList->clear();
        EditList->setEditText(content.isEmpty() ? QLatin1String(list->shownWhenEmpty) : content);
        for (const char* item : list->items) {
            if (item) EditList->addItem(QLatin1String(item));
        }
        EditList->setEditText(content.isEmpty() ? QLatin1String(list->shownWhenEmpty) : content);
        EditList->lineEdit()->selectAll();
    } else {
        fillContentFromScheme(scheme, content);
        if (domainHasSchemeFiles(context.domain.defaultSchema)) {
            editNrmlContent->setText(content);
            bool found = false;
            for (const SchemeFile& row : kSchemeFiles) {
                if (context.domain.defaultSchema == QLatin1String(row.domain) &&
                    name.contains(QLatin1String(row.element), Qt::CaseInsensitive)) {
                    EditLoadScheme->show();
                    EditLoadSchemeTag = QLatin1String(row.file);
                    found = true;
                    break;
                }
            }
            if (!found) EditLoadSchemeTag.clear();
        }
    }

    editNrmlScheme->clear();
    const QStringList pieces = choices.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i == pieces.size() - 1 && pieces.at(i).isEmpty()) break;  // after a final "|"
        editNrmlScheme->addItem(pieces.at(i));
    }
    editNrmlScheme->setEditText(scheme);

    editNrmlLang->clear();
    // The box shows the line's own language in every domain (NZGLS also offers its two).
    editNrmlLang->setEditText(lang);
    langToggle(lang);

    frame.relayout();
    fillingRecord_ = false;
}

void RecordPane::editProposedLine() {
    editCurrentLine();
    if (editNrmlContent->isHidden()) return;
    const QString proposal = editNrmlContent->text();
    // A prefix to extend ("http://", a folder's address) keeps the caret at its end.
    if (proposal.endsWith(QLatin1Char('/'))) return;
    fillingRecord_ = true;
    editNrmlContent->selectAll();
    fillingRecord_ = false;
}

void RecordPane::langToggle(const QString& language) {
    editNrmlLang->show();
    EditLabel4->show();
    if (context.domain.defaultSchema == QLatin1String("NZGLS")) {
        editNrmlLang->clear();
        editNrmlLang->setEditText(language);
        editNrmlLang->addItem(QStringLiteral("en"));
        editNrmlLang->addItem(QStringLiteral("mi"));
        editNrmlLang->setEditText(language);
    }
}
