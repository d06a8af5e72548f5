// Filling the edit panel from the selected line of the record.
#include "gui/record/RecordEditPanel.h"

#include "gui/frame/RecordView.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"
#include "gui/record/EditPanelContent.h"
#include "gui/record/EditGuards.h"
#include "gui/record/RecordNeighbours.h"
#include "gui/record/SchemeValues.h"
#include "core/domains/modSchemas.h"
#include "core/program/ProgramContext.h"
#include "core/record/Record.h"
#include "core/record/modCharEncoding.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

void RecordEditPanel::editCurrentLine() {
    Record& record = context.record;
    const Record::LineId line = record.selectedLine();
    if (!line) return;
    guards.shownLine = line;
    guards.fillingRecord = true;
    if (!view.metaPanelShown()) around.viewMenu.mnuViewQuorvantile_Click();
    if (EditPanel->isHidden()) EditPanelOn();
    ActivateEditPanel(true);

    const MetadataLine values = record.line(line);
    const QString name = values.name;
    const QString content = modCharEncoding::decodeContent(values.content, context.preferences.charEncoding);
    const QString lang = values.lang;
    const QString scheme = values.scheme;

    editNrmlName->setText(name);
    schemes.showButtonsFor(name);
    view.SelectLine(record.positionOf(line));

    QString schemeList;
    const QString choices = modSchemas::getSchemeList(context.domain, name.isEmpty() ? QStringLiteral("None") : name, schemeList);
    schemes.fillForLine(name, scheme, content);

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
    guards.fillingRecord = false;
}

void RecordEditPanel::editProposedLine() {
    editCurrentLine();
    content.selectProposal();
}

void RecordEditPanel::langToggle(const QString& language) {
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
