// What the edit panel's content field offers for a line's encoding scheme, and where a
// "Load Scheme" press fetches the scheme's value list from.
#include "app/Form1.h"

#include "app/frmHelpBrowser.h"
#include "commands/modMTP.h"
#include "commands/modMacros.h"
#include "domains/ResourcesMenu.h"
#include "domains/SchemeRules.h"
#include "domains/modSchemas.h"
#include "gui/app/HelpMenu.h"
#include "platform/Folders.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/WebBrowser.h"

#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

// Setting up the fields shows the line; it never writes into it.
class ShowingOnly {
public:
    explicit ShowingOnly(Form1& form) : form_(form), was_(form.fillingEditPanel) { form.fillingEditPanel = true; }
    ~ShowingOnly() { form_.fillingEditPanel = was_; }
    ShowingOnly(const ShowingOnly&) = delete;
    ShowingOnly& operator=(const ShowingOnly&) = delete;

private:
    Form1& form_;
    bool was_;
};

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

void showDateEditor(Form1& form, const SchemeRules::DateParts& date) {
    form.editNrmlContent->hide();
    form.editDateBoxes->show();
    form.editDateyear->setEditText(date.year);
    form.editDateMonth->setEditText(date.month);
    form.editDateday->setEditText(date.day);
    showText(form.editDateyear->lineEdit(), date.year);
}

void showValueList(Form1& form, const QStringList& items, const QString& content) {
    form.EditList->show();
    form.editNrmlContent->hide();
    form.EditList->clear();
    form.EditList->addItems(items);
    // Adding the first entry would replace the text; the line's own value is what shows.
    form.EditList->setEditText(content);
    showText(form.EditList->lineEdit(), content);
}

void reportFailure(const char* prefix, const std::exception& e, const QString& title = platform::kDefaultMsgBoxTitle) {
    platform::MsgBox(QLatin1String(prefix) + QString::fromLocal8Bit(e.what()), platform::vbOKOnly, title);
}

void showContentForScheme(Form1& form, const QString& scheme, const QString& content) {
    const ShowingOnly showing(form);
    form.editDateBoxes->hide();
    form.editNrmlContent->show();
    if (form.fillContentFromLocalScheme(scheme, content) || form.fillContentFromServerScheme(scheme, content)) return;
    form.EditLoadScheme->setVisible(SchemeRules::schemeHasLoadButton(scheme));
    if (SchemeRules::isDateScheme(scheme)) {
        const SchemeRules::DateParts date = SchemeRules::splitDate(content);
        // Text that is no date the boxes can hold stays in the plain field, untouched.
        if (date.inBoxes) return showDateEditor(form, date);
        return form.fillContentLoadSchemeOff(content);
    }
    const SchemeRules::ContentField field = SchemeRules::contentFieldFor(form.context.domain.defaultSchema, scheme);
    if (field.valueList) return showValueList(form, field.items, content);
    if (field.loadButton) return form.fillContentLoadSchemeOn(content);
    form.fillContentLoadSchemeOff(content);
}

}  // namespace

void Form1::fillContentFromScheme(const QString& scheme, const QString& content) {
    try {
        showContentForScheme(*this, scheme, content);
    } catch (const std::exception& e) {
        // The panel stays as far as it was set up.
        reportFailure("Error in fillContentFromScheme: ", e, QStringLiteral("Error"));
    }
}

bool Form1::fillContentFromLocalScheme(const QString& scheme, const QString& content) {
    try {
        const QString treePath = documentState->TreePath();
        if (platform::lastPathSeparator(treePath) < 0) return false;
        // A folder that has gone holds no scheme; "Load Scheme" is where that gets reported.
        if (schemeFileIn(platform::folderPart(treePath), scheme).isEmpty()) return false;
        fillContentLoadSchemeOn(content);
        return true;
    } catch (const std::exception& e) {
        reportFailure("Error in fill content from local scheme: ", e);
    }
    return false;
}

bool Form1::fillContentFromServerScheme(const QString& scheme, const QString& content) {
    try {
        if (!SchemeRules::repositoryServes(context.macros.repositorySchemes, scheme)) return false;
        fillContentLoadSchemeOn(content);
        return true;
    } catch (const std::exception& e) {
        reportFailure("Error in fill content from  scheme: ", e);
    }
    return false;
}

void Form1::fillContentLoadSchemeOn(const QString& content) {
    EditLoadScheme->show();
    fillContentLoadSchemeOff(content);
}

void Form1::fillContentLoadSchemeOff(const QString& content) {
    const ShowingOnly showing(*this);
    editNrmlContent->show();
    showText(editNrmlContent, content);
}

bool Form1::loadScheme(QString& schemeName) {
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
        frmHelpBrowser& help = helpMenu->helpWindow();
        help.WebBrowser1->Navigate(QStringLiteral("http://") + rule.address);
        platform::execModal(help);
        return true;
    }
    case SchemeRules::SchemeAction::AglsAgent:
        showAglsAgent();
        return true;
    case SchemeRules::SchemeAction::ActVers:
        showACTVers();
        return true;
    case SchemeRules::SchemeAction::TagsMenu:
        if (auto* tags = findChild<QMenu*>(QStringLiteral("mnuResTags0"))) {
            tags->popup(QCursor::pos());
            return true;
        }
        return false;
    case SchemeRules::SchemeAction::List:
        // What arrives is a scheme list, whatever the tree held before.
        documentState->setListType(QStringLiteral("schema"));
        modMTP::runCommand(context, QStringLiteral("mtp://url=") + rule.address);
        return true;
    }
    return false;
}

bool Form1::loadSchemeLocal(const QString& schemeName) {
    const QString treePath = documentState->TreePath();
    if (treePath.isEmpty()) return false;
    const QString folder = platform::lastPathSeparator(treePath) < 0
                               ? platform::programDataFolder() + QStringLiteral("/schemes/")
                               : platform::folderPart(treePath);
    if (!QFileInfo(folder).isDir()) {
        platform::MsgBox(QStringLiteral("Error in Load Scheme Local: Path not found: ") + folder);
        return false;
    }
    const QString file = schemeFileIn(folder, schemeName);
    if (file.isEmpty()) return false;
    modMTP::runCommand(context, QStringLiteral("mtp://open=") + folder + file);
    return true;
}

bool Form1::loadSchemeServer(const QString& schemeName) {
    const QString catalogScheme = context.macros.repositoryScheme;
    if (!catalogScheme.isEmpty() && !context.macros.openCatalogMacro.isEmpty() &&
        schemeName.compare(catalogScheme, Qt::CaseInsensitive) == 0) {
        modMTP::runCommand(context, context.macros.openCatalogMacro);
        return true;
    }
    if (!SchemeRules::repositoryServes(context.macros.repositorySchemes, schemeName)) return false;
    const QString command = SchemeRules::repositorySchemeCommand(context.macros.saveRecordMacro, schemeName);
    if (command.isEmpty()) return false;
    modMTP::runCommand(context, command);
    return true;
}
