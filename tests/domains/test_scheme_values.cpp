// The content field per scheme, where "Load Scheme" fetches a scheme's values from, and the
// "Schemas Control Panel".
#include "record/RecordWindowTest.h"
#include "core/program/CRegSettings.h"

#include "gui/app/frmHelpBrowser.h"
#include "gui/app/modMetaMain.h"
#include "core/commands/modMacros.h"
#include "gui/domains/ResourcesMenu.h"
#include "core/domains/SchemeHosts.h"
#include "gui/app/HelpMenu.h"
#include "gui/record/MetaPanelView.h"
#include "platform/Folders.h"
#include "support/OfflineBrowser.h"

#include <QListWidget>
#include <QMenu>

namespace {

class SchemeValuesTest : public RecordWindowTest {
protected:
    testing_support::CommandRecorder recorder{w.context};
    CRegSettings store{w.context.settings};
    void SetUp() override {
        w.context.schemeServer = u"S"_s;
        QDir().mkpath(platform::programDataFolder() + u"/schemes"_s);  // as start-up leaves it
    }
    // What the content area shows: "dates", "list", "button" (scheme mode) or "plain".
    QString shown() const {
        return !w.find<QWidget>(u"editDates"_s)->isHidden() ? u"dates"_s
               : !w.find<QComboBox>(u"EditList"_s)->isHidden()    ? u"list"_s
                                             : (w.find<QPushButton>(u"EditLoadScheme"_s)->isHidden() ? u"plain"_s : u"button"_s);
    }
    // Loads a scheme in a domain as a user does, with a click on the scheme of a line in the
    // metadata panel: the commands run ("mtp://url=" and the host written S, H or U), or
    // "false" when nothing knew the name, which the user is told (`known` false: the test
    // expects that).
    QString load(const QString& domain, const QString& name, bool known = true) {
        recorder.commands.clear();
        w.context.domain.defaultSchema = domain;
        if (!w->isVisible()) {
            w->resize(1000, 760);
            widget_input::showAndWait(w.form.get());
        }
        w.context.record.clear();
        w.context.record.append({u"DC.Subject"_s, u"x"_s, {}, name});
        // An empty scheme is nothing to click on.
        if (!known && !name.isEmpty()) boxes.expect(u"There is no scheme to load in under the "_s, platform::kAnswerOk);
        auto* panel = w.find<MetaPanelView>(u"MetaPanel"_s);
        const QRect cell = panel->visualRect(panel->model()->index(0, Record::Scheme));
        widget_input::click(panel->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        if (recorder.commands.isEmpty() && !known) return u"false"_s;
        const QString url = u"mtp://url="_s;
        return recorder.commands.join(u' ').replace(url + SchemeHosts::secondSchemeHost, u"H"_s)
            .replace(url + SchemeHosts::stateHostA, u"U"_s).replace(url + u'S', u"S"_s);
    }
};

TEST_F(SchemeValuesTest, TheContentFieldFollowsTheDomainAndTheSchemeAndNeverRewritesTheLine) {
    // Domain, scheme, content, and what shows: scheme mode, the plain field, a value list or the date boxes.
    const char* const rows[][4] = {
        {"AGLS1.3", "agls-Document", "Cats", "button"}, {"AGLS1.3", "URI", "Cats", "plain"},
        {"Health Insite", "Health Thesaurus", "Cats", "button"}, {"Health Insite - AU", "HI Type", "", "list:|data"},
        {"Health Insite", "HI Age", "Cats", "list:adult|child"}, {"Aust Business Entry Point", "BEP", "C", "button"},
        {"SA.DETE", "SACSA", "Cats", "button"}, {"EdNA", "ednaKLA", "Cat", "button"}, {"CDC", "CDC.age", "", "button"},
        {"NZGLS", "FONZ", "Cats", "button"}, {"DC-UTAH", "vellori", "Cats", "button"}, {"", "TAGS", "Cats", "button"},
        {"NOHSC", "aglsjurisdiction", "Cats", "button"}, {"NOHSC", "agls-jurisdiction", "Cats", "plain"},
        {"", "ISO8601", "2004-07-15", "2004|07|15"}, {"", "ISO 8601", "2004-07", "2004|07|"}, {"", "", "2004", "plain"},
        {"", "dcterms.ISO8601", "2004", "2004||"}, {"", "ISO8601", "20040715", "2004|07|15"}, {"", "ISO8601", "", "||"},
        {"", "ISO8601", "99999999", "9999|99|99"}, {"", "DCMIPeriod", "2004-13-45", "2004|13|45"},
        {"", "ISO8601", "1999-x", "1999|x|"}, {"", "ISO8601", "-", "plain"}, {"", "ISO8601", "15/07/2004", "plain"},
        {"", "ISO8601", "2004--15", "plain"}, {"", "ISO8601", "abcd", "plain"},
    };
    for (const auto& [domain, scheme, text, expected] : rows) {
        w.context.domain.defaultSchema = QLatin1String(domain);
        edit(u"DC.Subject"_s, QLatin1String(text), {}, QLatin1String(scheme));
        QString seen = shown();
        QWidget* field = seen == u"dates"_s ? w.find<QComboBox>(u"editDateyear"_s) : seen == u"list"_s ? w.find<QComboBox>(u"EditList"_s) : nullptr;
        QLineEdit* box = field ? static_cast<QComboBox*>(field)->lineEdit() : w.find<QLineEdit>(u"editNrmlContent"_s);
        if (seen == u"list"_s) seen += u':' + w.find<QComboBox>(u"EditList"_s)->itemText(0) + u'|' + w.find<QComboBox>(u"EditList"_s)->itemText(1);
        if (seen == u"dates"_s)
            seen = u"%1|%2|%3"_s.arg(box->text(), w.find<QComboBox>(u"editDateMonth"_s)->currentText(), w.find<QComboBox>(u"editDateday"_s)->currentText());
        else
            EXPECT_EQ(box->text() + u'|' + QString::number(box->cursorPosition()),
                      u"%1|%2"_s.arg(QLatin1String(text)).arg(strlen(text)));
        EXPECT_EQ(seen, QLatin1String(expected)) << domain << " / " << scheme << " / " << text;
        EXPECT_EQ(w->focusWidget(), field ? field : box) << scheme;
        EXPECT_EQ(content(w.context.record.count()), QLatin1String(text));
    }
    EXPECT_FALSE(recordModified());
    // Picking the scheme in the panel: the line keeps a text the boxes cannot hold.
    for (const QString& text : {u"2004--15"_s, u"2004-07-15"_s}) {
        edit(u"DC.Date"_s, text, {}, u"URI"_s);
        w.find<QComboBox>(u"editNrmlScheme"_s)->addItem(u"ISO8601"_s);
        widget_input::pick(w.find<QComboBox>(u"editNrmlScheme"_s), w.find<QComboBox>(u"editNrmlScheme"_s)->count() - 1);
        EXPECT_EQ(content(w.context.record.count()) + u'|' + content(w.context.record.count(), 3), text + u"|ISO8601"_s);
    }
    EXPECT_EQ(shown(), u"dates"_s);
}

TEST_F(SchemeValuesTest, EveryRuleOfTheTableRunsItsListOrOpensItsWindowOrMenu) {
    edit(u"DC.Creator"_s);
    // Domain ("" Dublin Core), the name as the line has it, and what runs ("~" for "/schemes/").
    const QString rules = QStringLiteral(
        "SA.DETE,DETE.AGIFT,H~DETE/DETE.AGIFT.kqs/;,DETE.Audience,H~DETE/DETEAudience.kqs/;"
        ",Health Thesaurus,S~health.au/Health%20Thesaurus.kqs/;EdNA,IMT,S~EDNA/edna.IMT.kqs/;"
        "EdNA,DCMIType,S~EDNA/edna.DCMIType.kqs/;,edna.directory,S~EDNA/edna.directory.kqs/;"
        ",edna-indexing,S~EDNA/edna.indexing.kqs/;,EDNA.Type,S~EDNA/EDNA.Type.kqs/;"
        ",edna.userlevel,S~EDNA/edna.userlevel.kqs/;,edna.KLA,S~EDNA/edna.KLA.kqs/;"
        ",edna-curriculum,S~EDNA/ednacurriculum.kqs/;CDC,RFC3066,S~CDC/CDC.RFC3066.kqs;"
        "CDC,CDC.subject,S/cdc/catalogue.kqi/;CDC,CDC.creator,S~CDC/CDC.creator.kqs/;"
        "CDC,CDC.publisher,S~CDC/CDC.publisher.kqs/;CDC,CDC.age,S~CDC/CDC.age.kqs/;"
        "CDC,CDC.background,S~CDC/CDC.background.kqs/;CDC,CDC.complexity,S~CDC/CDC.complexity.kqs/;"
        "CDC,CDC.category,S~CDC/CDC.category.kqs/;CDC,CDC.status,S~CDC/CDC.status.kqs/;,agift,S~agift.kqs;"
        ",APAIS,S~apais.kqs/;,JEL,S~FINANCE/AEAJEL.kqs/;,agls-document,S~AGLS/agls-document.kqs/;"
        ",agls-audience,S~AGLS/agls-audience.kqs/;,agls-jurisdiction,S~AGLS/agls-jurisdiction.kqs/;"
        ",agls.service,S~AGLS/agls-service.kqs/;AGLS1.3,RFC3066,S~NZGLS/NZGLS-rfc3066.kqs/;,FONZ,S~NZGLS/FONZ.kqs/;"
        ",SONZ,S~NZGLS/SONZ.kqs/;NZGLS,NZGLS-IMT,S~NZGLS/NZGLS-imt.kqs/;"
        "NZGLS,NZGLS-placeNames,S~NZGLS/placeNames.kqs/;NZGLS,NZGLS.Service,S~NZGLS/NZGLS-service.kqs/;"
        "NZGLS,NZGLS-jurisdiction,S~NZGLS/NZGLS-jurisdiction.kqs/;NZGLS,NZGLS-Audience,S~NZGLS/NZGLS-audience.kqs/;"
        ",AOHST,H~NOHSC/AOHST.kqs;,NOHSCindustry,H~NOHSC/NOHSCindustry.kqs;"
        ",NOHSCdocumentType,H~NOHSC/NOHSCdocumentType.kqs;,NOHSCjurisdiction,H~NOHSC/NOHSCjurisdiction.kqs;"
        ",NOHSCcorporateName,H~NOHSC/NOHSCcorporateName.kqs;,NOHSCavailability,H~NOHSC/NOHSCavailability.kqs;"
        ",IMT,S~IMT.kqs/;,X500,S~X500.kqs/;,RFC1766,S~RFC1766.kqs/;,DCMIType,S~DCMI/DCMIType.kqs/;"
        ",bep.topic,S~BEP/beptopic.kqs/;DC-UTAH,Subjects,U/gils~dc/Subjects.kqs/;"
        "AGLS1.3 (ACT),ACT Thesaurus,H~AGLSACT/ACTThesaurus.kqs/;AGLS1.3 (ACT),LawZone,false;"
        "AGLS1.3 (ACT),ACTLocations,H~AGLSACT/ACTLocations.kqs/;,LawZone,S~LawZone/LAWZONE.kqs;"
        ",LIAC.x,S~LawZone/LIACx.kqs/;,LCSH,false;,Health-Thesaurus,false")
        .replace(u'~', u"/schemes/"_s);
    for (const QString& rule : rules.split(u';')) {
        const QStringList row = rule.split(u',');
        w.context.document.setListType(u"indexes"_s);
        EXPECT_EQ(load(row[0].isEmpty() ? u"Dublin Core"_s : row[0], row[1], row[2] != u"false"_s), row[2]);
        EXPECT_EQ(w.context.document.listType(), row[2] == u"false"_s ? u"indexes"_s : u"schema"_s) << row[1];
    }
    then(u"frmHelpBrowser"_s, [](QDialog& help) { help.hide(); });
    then(u"frmAglsAgent"_s, [](QDialog& agent) { press(agent, u"cancel"_s); });
    then(u"frmACTVers"_s, [](QDialog& act) { press(act, u"cancel"_s); });
    for (const QString& opens : {u"SCOTv2"_s, u"AglsAgent"_s, u"ACTVers"_s, u"TAGS"_s})
        EXPECT_EQ(load(u"CDC"_s, opens), QString());
    const auto& help =
        testing_support::offlineBrowser(child<platform::WebBrowser>(w.helpMenu().helpWindow(), u"WebBrowser1"_s)).navigations();
    EXPECT_EQ(help.last().address, u"http://"_s + SchemeHosts::curriculumThesaurusHost + u"/"_s);
    ASSERT_TRUE(w->findChild<QMenu*>(u"mnuResTags0"_s)->isVisible());
    w->findChild<QMenu*>(u"mnuResTags0"_s)->hide();
}

TEST_F(SchemeValuesTest, SchemeFilesBesideTheListOrOnTheRepositoryAreFoundByTheirWholeNameInAnyCase) {
    const QString folder = dir.path() + u"/lists/"_s, schemes = platform::programDataFolder() + u"/schemes/"_s;
    write(u"lists/Subjects.KQS"_s, "x");
    testing_support::writeBytes(schemes + u"Cats.kqs"_s, "x");
    w.context.document.setTreePath(folder + u"Main.kqi"_s);
    for (const auto& [scheme, mode] : {std::pair{u"subjects"_s, u"button"_s}, {u"subject"_s, u"plain"_s}}) {
        edit(u"DC.Subject"_s, u"x"_s, {}, scheme);
        EXPECT_EQ(shown(), mode);
    }
    EXPECT_EQ(load(u"Dublin Core"_s, u"SUBJECTS"_s), u"mtp://open="_s + folder + u"Subjects.KQS"_s);
    w.context.document.setTreePath(QString());  // no list: the program's own folder is not looked in
    EXPECT_EQ(load(u"Dublin Core"_s, u"Cats"_s, false), u"false"_s);
    w.context.document.setTreePath(u"Main.kqi"_s);  // a list without a folder: it is
    EXPECT_EQ(load(u"Dublin Core"_s, u"cats"_s), u"mtp://open="_s + schemes + u"Cats.kqs"_s);
    w.context.document.setTreePath(folder + u"gone/Main.kqi"_s);
    edit(u"DC.Subject"_s, u"x"_s, {}, u"subjects"_s);  // a folder that has gone: no scheme, no message
    EXPECT_EQ(shown(), u"plain"_s);
    boxes.expect(u"Error in Load Scheme Local: Path not found: "_s + folder + u"gone/"_s, platform::kAnswerOk);
    EXPECT_EQ(load(u"Dublin Core"_s, u"IMT"_s), u"S/schemes/IMT.kqs/"_s);  // the table still answers

    // The repository's schemes: whole names in any case, and only plain names reach a command.
    w.context.document.setTreePath(QString());
    w.context.macros.repositorySchemes = u"Main Catalog|Dogs||Th\u00e9saurus"_s;
    w.context.macros.repositoryScheme = u"Main Catalog"_s;
    w.context.macros.openCatalogMacro = u"mtp://cgisend=getCatalogue.kqb"_s;
    w.context.macros.saveRecordMacro = u"mtp://CGISend=http://repo.example/cgi/save.kqb"_s;
    for (const QString& scheme : {u"dogs"_s, u"main catalog"_s, QString(), u"Dog"_s}) {
        edit(u"DC.Subject"_s, u"x"_s, {}, scheme);
        EXPECT_EQ(shown(), scheme.size() > 3 ? u"button"_s : u"plain"_s) << scheme;
    }
    const QString fetch = u"mtp://url=http://repo.example/cgi/save?returnScheme="_s;
    EXPECT_EQ(load(u"AGLS1.3"_s, u"MAIN CATALOG"_s), w.context.macros.openCatalogMacro);
    EXPECT_EQ(load(u"AGLS1.3"_s, u"Th\u00e9saurus"_s), fetch + u"Th%C3%A9saurus.kqs"_s);
    w.context.macros.openCatalogMacro.clear();  // without an Open Catalog command the first name is fetched like the rest
    EXPECT_EQ(load(u"AGLS1.3"_s, u"Main Catalog"_s), fetch + u"Main%20Catalog.kqs"_s);
    w.context.macros.saveRecordMacro = u"mtp://cgisend=http://repo.example/save"_s;
    EXPECT_EQ(load(u"AGLS1.3"_s, u"Dogs"_s, false), u"false"_s);
    for (const QString& bad : {u"IMT&x=1"_s, u"IMT?x"_s, u"../IMT"_s, u"IMT|Dogs"_s, u"IMT\r\nmtp://delete=all"_s,
                               QString(10240, u'a') + u"IMT"_s, QString(), u"-.-"_s, u"IMT\t"_s})
        EXPECT_EQ(load(u"AGLS1.3"_s, bad, false), u"false"_s) << bad.left(20);
}

// ---- "Select Metadata Schemas"

QListWidget* domains(const QDialog& d) { return child<QListWidget>(d, u"ListView1"_s); }
QComboBox* defaultDomain(const QDialog& d) { return child<QComboBox>(d, u"defSchema"_s); }
QString ticked(const QDialog& d) {
    QStringList names;
    for (int i = 0; i < domains(d)->count(); ++i)
        if (domains(d)->item(i)->checkState() == Qt::Checked) names << domains(d)->item(i)->text();
    return names.join(u'|');
}
void toggle(const QDialog& d, std::initializer_list<int> rows) {
    for (int row : rows) {
        domains(d)->setCurrentRow(row);
        widget_input::key(domains(d), Qt::Key_Space);
    }
}

TEST_F(SchemeValuesTest, TheCheckListProposesDublinCoreOnFirstUseAndChangesNothingButOnSelect) {
    // Opens the dialog from the Resources menu; `work` ticks rows, picks a default, presses a button.
    const auto open = [this](const std::function<void(QDialog&)>& work) {
        then(u"frmCheckList"_s, work);
        w->findChild<QAction*>(u"mnuResEditSchemas"_s)->trigger();
    };
    const auto stored = [this] {
        QStringList names;
        for (const SettingRow& row : store.GetAllSettings(u"Preferences\\Schemas"_s)) names << row.name;
        return names.join(u'|');
    };
    const auto shown = [this](const char* item) { return w->findChild<QAction*>(QLatin1String(item))->isVisible(); };
    w.context.domain.defaultSchema = u"AGLS1.3"_s;
    open([](QDialog& d) {
        EXPECT_EQ(d.windowTitle() + u'|' + defaultDomain(d)->currentText(), u"Schemas Control Panel|Dublin Core (DC)"_s);
        EXPECT_EQ(ticked(d), u"Dublin Core (DC)"_s);
        QApplication::setActiveWindow(&d);  // the default is asked first, its list closed
        EXPECT_FALSE((QApplication::processEvents(), defaultDomain(d)->view()->isVisible()));
        EXPECT_TRUE(defaultDomain(d)->hasFocus());
        press(d, u"cmdCancel"_s);
    });
    EXPECT_EQ(w.context.domain.defaultSchema + stored(), u"AGLS1.3"_s);
    open([](QDialog& d) {
        toggle(d, {11});
        widget_input::pick(defaultDomain(d), 11);
        press(d, u"cmdOK"_s);
    });
    EXPECT_EQ(w.context.domain.defaultSchema + w.context.domain.rdfPrefix + stored(), u"NZGLSnzglsDublin Core|NZGLS"_s);
    EXPECT_TRUE(shown("mnuResNZGLS") && shown("mnuResDC") && !shown("mnuResAGLS1point3"));
    store.SaveSetting(u"Preferences\\Schemas"_s, u"Bogus"_s, QString());
    w.context.domain.defaultSchema = u"EdNA"_s;  // not in the catalogue: no default offered
    open([](QDialog& d) {
        EXPECT_EQ(defaultDomain(d)->currentText() + u'/' + ticked(d),
                  u"/Dublin Core (DC)|New Zealand Government Locator Service (NZGLS)"_s);
        toggle(d, {0, 11});
        widget_input::pick(defaultDomain(d), 6);  // GILS-MONTANA, shown though not ticked
        press(d, u"cmdOK"_s);
    });
    EXPECT_EQ(w.context.domain.defaultSchema + u'/' + stored(), u"GILS-MONTANA/"_s);  // the unknown name is gone too
    EXPECT_TRUE(shown("mnuResGILSMontana") && !shown("mnuResNZGLS"));
}

}  // namespace
