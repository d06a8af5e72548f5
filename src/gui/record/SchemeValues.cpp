// What the edit panel's content field offers for a line's encoding scheme, and where a
// "Load Scheme" press fetches the scheme's value list from.
#include "gui/record/RecordPane.h"
#include "gui/frame/WindowFrame.h"

#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "gui/domains/ResourcesMenu.h"
#include "core/domains/SchemeRules.h"
#include "core/domains/modSchemas.h"
#include "platform/Folders.h"
#include "platform/widgets/Modal.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"

#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

// The text shown whole, caret after it, nothing selected, the field focused.
void showText(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->deselect();
    field->setCursorPosition(int(text.size()));
    field->setFocus();
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

// Setting up the fields shows the line; it never writes into it.
class RecordPane::ShowingOnly {
public:
    explicit ShowingOnly(RecordPane& pane) : pane_(pane), was_(pane.fillingEditPanel) { pane.fillingEditPanel = true; }
    ~ShowingOnly() { pane_.fillingEditPanel = was_; }
    ShowingOnly(const ShowingOnly&) = delete;
    ShowingOnly& operator=(const ShowingOnly&) = delete;

private:
    RecordPane& pane_;
    bool was_;
};

void RecordPane::showDateEditor(const SchemeRules::DateParts& date) {
    editNrmlContent->hide();
    editDateBoxes->show();
    editDateyear->setEditText(date.year);
    editDateMonth->setEditText(date.month);
    editDateday->setEditText(date.day);
    showText(editDateyear->lineEdit(), date.year);
}

void RecordPane::showValueList(const QStringList& items, const QString& content) {
    EditList->show();
    editNrmlContent->hide();
    EditList->clear();
    EditList->addItems(items);
    // Adding the first entry would replace the text; the line's own value is what shows.
    EditList->setEditText(content);
    showText(EditList->lineEdit(), content);
}

void RecordPane::showContentForScheme(const QString& scheme, const QString& content) {
    const ShowingOnly showing(*this);
    editDateBoxes->hide();
    editNrmlContent->show();
    if (fillContentFromLocalScheme(scheme, content) || fillContentFromServerScheme(scheme, content)) return;
    EditLoadScheme->setVisible(SchemeRules::schemeHasLoadButton(scheme));
    if (SchemeRules::isDateScheme(scheme)) {
        const SchemeRules::DateParts date = SchemeRules::splitDate(content);
        // Text that is no date the boxes can hold stays in the plain field, untouched.
        if (date.inBoxes) return showDateEditor(date);
        return fillContentLoadSchemeOff(content);
    }
    const SchemeRules::ContentField field = SchemeRules::contentFieldFor(context.domain.defaultSchema, scheme);
    if (field.valueList) return showValueList(field.items, content);
    if (field.loadButton) return fillContentLoadSchemeOn(content);
    fillContentLoadSchemeOff(content);
}


void RecordPane::fillContentFromScheme(const QString& scheme, const QString& content) {
    try {
        showContentForScheme(scheme, content);
    } catch (const std::exception& e) {
        // The panel stays as far as it was set up.
        reportFailure(context.user, "Error in fillContentFromScheme: ", e, QStringLiteral("Error"));
    }
}

bool RecordPane::fillContentFromLocalScheme(const QString& scheme, const QString& content) {
    try {
        const QString treePath = documentState->TreePath();
        if (platform::lastPathSeparator(treePath) < 0) return false;
        // A folder that has gone holds no scheme; "Load Scheme" is where that gets reported.
        if (schemeFileIn(platform::folderPart(treePath), scheme).isEmpty()) return false;
        fillContentLoadSchemeOn(content);
        return true;
    } catch (const std::exception& e) {
        reportFailure(context.user, "Error in fill content from local scheme: ", e);
    }
    return false;
}

bool RecordPane::fillContentFromServerScheme(const QString& scheme, const QString& content) {
    try {
        if (!SchemeRules::repositoryServes(context.macros.repositorySchemes, scheme)) return false;
        fillContentLoadSchemeOn(content);
        return true;
    } catch (const std::exception& e) {
        reportFailure(context.user, "Error in fill content from  scheme: ", e);
    }
    return false;
}

void RecordPane::fillContentLoadSchemeOn(const QString& content) {
    EditLoadScheme->show();
    fillContentLoadSchemeOff(content);
}

void RecordPane::fillContentLoadSchemeOff(const QString& content) {
    const ShowingOnly showing(*this);
    editNrmlContent->show();
    showText(editNrmlContent, content);
}

bool RecordPane::loadScheme(QString& schemeName) {
    // The name may come from a page: only a plain name ever reaches a command.
    if (!SchemeRules::isCommandSafeName(schemeName)) return false;
    if (loadSchemeLocal(schemeName) || loadSchemeServer(schemeName)) return true;
    schemeName.remove(QLatin1Char('-'));
    schemeName.remove(QLatin1Char('.'));
    const SchemeRules::SchemeRule rule = SchemeRules::schemeRuleFor(schemeName, context.domain.defaultSchema, context.schemeServer);
    switch (rule.action) {
    case SchemeRules::SchemeAction::NoMatch:
        return false;
    case SchemeRules::SchemeAction::CurriculumThesaurus: {
        frame.showSchemeHelp(QStringLiteral("http://") + rule.address);
        return true;
    }
    case SchemeRules::SchemeAction::AglsAgent:
        showAglsAgent();
        return true;
    case SchemeRules::SchemeAction::ActVers:
        showACTVers();
        return true;
    case SchemeRules::SchemeAction::TagsMenu:
        if (auto* tags = window()->findChild<QMenu*>(QStringLiteral("mnuResTags0"))) {
            tags->popup(QCursor::pos());
            return true;
        }
        return false;
    case SchemeRules::SchemeAction::List:
        // What arrives is a scheme list, whatever the tree held before.
        documentState->setListType(QStringLiteral("schema"));
        modMTP::runMtpCommand(context, QStringLiteral("mtp://url=") + rule.address);
        return true;
    }
    return false;
}

bool RecordPane::loadSchemeLocal(const QString& schemeName) {
    const QString treePath = documentState->TreePath();
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

bool RecordPane::loadSchemeServer(const QString& schemeName) {
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
