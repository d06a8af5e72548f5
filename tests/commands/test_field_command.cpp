#include "CommandsTestSupport.h"

#include "platform/MsgBox.h"
#include "platform/StatusBar.h"
#include "support/OfflineBrowser.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;
using commands_test::CommandsTest;
using commands_test::lineOf;
using testing_support::ScriptedMsgBoxes;

namespace {

class FieldCommandTest : public CommandsTest {
protected:
    void add(std::initializer_list<MetadataLine> lines) {
        for (const MetadataLine& line : lines) w->addRecordLine(line);
    }
    // Runs each command body as "mtp://BODY.fld/".
    void field(std::initializer_list<const char*> bodies) {
        for (const char* body : bodies) dispatch(u"mtp://"_s + QString::fromUtf8(body) + u".fld/"_s);
    }
    bool modified() const { return w->documentState->modified(DocumentState::Document::Record); }
    QString content(int position) const { return w->MetaPanel->Item(position)->SubItems(1); }
    QStringList contents() const {
        QStringList out;
        for (const MetadataLine& line : record()) out << line.content;
        return out;
    }
};

// ---- reading the command ------------------------------------------------------------------

TEST_F(FieldCommandTest, KeysInAnyOrderAndValuesAsWritten) {
    field({"field=DC.Title&lang=en&content=Annual%20Report", "content=Smith & Jones&field=DC.Creator",
           "field=DC.Subject&scheme=LCSH&content=Aviation|Airports|Runways",
           "field=DC.Publisher&content=A&content=B",  // a key written twice: part of the value before it
           "FIELD=DC.Rights&CONTENT=Free&LANG=fr&SCHEME=Local"});
    EXPECT_EQ(record(),
              MetadataRecord({lineOf("DC.Title", "Annual Report", "en"), lineOf("DC.Creator", "Smith & Jones"),
                              lineOf("DC.Subject", "Aviation | Airports | Runways", "", "LCSH"),
                              lineOf("DC.Publisher", "A&content=B"), lineOf("DC.Rights", "Free", "fr", "Local")}));
}

TEST_F(FieldCommandTest, ACommandWithoutAFieldIsRefusedAnEmptyOneAddsAnEmptyLine) {
    ScriptedMsgBoxes boxes;
    boxes.expect(u"Can't process mtp://content=x.fld/"_s, platform::vbOK);
    dispatch(u"mtp://content=x.fld/"_s);
    EXPECT_EQ(boxes.shown().at(0).title, u"Add Field Error"_s);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    dispatch(u"mtp://field=.fld / "_s);
    EXPECT_EQ(record(), MetadataRecord({lineOf("", "")}));
    EXPECT_TRUE(modified());
}

// ---- the element "*" -----------------------------------------------------------------------

TEST_F(FieldCommandTest, StarTakesTheSelectedLinesElementWhenItsSchemeFits) {
    ScriptedMsgBoxes boxes;
    boxes.expect(u"Please select a metadata field containing the AGLS-Function scheme and try again"_s, platform::vbOK)
        .expect(u"can't insert this scheme element as a new field"_s, platform::vbOK);
    field({"field=*&content=Audit&scheme=AGLS-Function"});
    EXPECT_EQ(boxes.shown().at(0).title, u"Can't proceed"_s);
    add({lineOf("DC.Title", "Report"), lineOf("AGLS.Function", "", "", "AGLSFunction")});
    select(1);
    field({"field=*&content=Audit&scheme=AGLS-Function"});
    EXPECT_EQ(w->MetaPanel->Count(), 2);
    select(2);  // the reduced scheme fits the selected line: the value goes into it
    field({"field=*&content=Audit&scheme=AGLS-Function"});
    EXPECT_EQ(record().at(1), lineOf("AGLS.Function", "Audit", "", "AGLSFunction"));
}

// ---- which lines match -----------------------------------------------------------------------

TEST_F(FieldCommandTest, LinesMatchByNameIgnoringCaseAndByCompatibleScheme) {
    add({lineOf("dc.subject", "", "", "LCSH"), lineOf("DC.Subjects", ""), lineOf("DC.Subject", "", "", "MESH")});
    field({"field=DC.Subject&content=Cats&scheme=LCSH"});
    EXPECT_EQ(contents(), QStringList({"Cats", "", ""}));
}

TEST_F(FieldCommandTest, AReducedSchemeMatchesAndIsUsedFromThenOn) {
    add({lineOf("DC.Date", "2004-01-01", "", "ISO8601")});
    select(1);
    field({"field=DC.Date&content=2005-02-02&scheme=ISO-8601"});
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Date", "2004-01-01", "", "ISO8601"),
                                        lineOf("DC.Date", "2005-02-02", "", "ISO8601")}));
}

// ---- rule A: the line holds the value -------------------------------------------------------

TEST_F(FieldCommandTest, ALineHoldingTheValueIsOnlySelected) {
    add({lineOf("DC.Title", "Other"), lineOf("DC.Title", "Report")});
    select(1);
    field({"field=DC.Title&content=Report"});
    EXPECT_EQ(w->MetaPanel->Count(), 2);
    EXPECT_EQ(selectedPosition(), 2);
    EXPECT_FALSE(modified());
}

// ---- rule B: the line holds another value ----------------------------------------------------

TEST_F(FieldCommandTest, ThesaurusSchemesJoinTheTerm) {
    add({lineOf("DC.Subject", "Flight", "", "apais"), lineOf("DC.Subject", "Maori", "", "SONZ"),
         lineOf("DC.Subject", "Tax", "", "LSE"), lineOf("DC.Subject", "Flu", "", "Health Thesaurus"),
         lineOf("DC.Subject", "Wings", "", "Aviation Thesaurus")});
    field({"field=DC.Subject&content=Aviation|Airports&scheme=apais"});
    EXPECT_EQ(selectedPosition(), 1);
    EXPECT_TRUE(modified());
    field({"field=DC.Subject&content=Iwi&scheme=SONZ", "field=DC.Subject&content=Law|Income&scheme=LSE",
           "field=DC.Subject&content=Fever&scheme=Health Thesaurus",
           "field=DC.Subject&content=Jets&scheme=Aviation Thesaurus"});
    // The term keeps its blank; rule A looks at the whole value, so the same command joins again.
    field({"field=DC.Subject&content=Aviation|Airports&scheme=apais"});
    EXPECT_EQ(contents(),
              QStringList({"Flight;  Airports;  Airports", "Maori; Iwi", "Tax;  Income", "Flu; Fever", "Wings; Jets"}));
}

TEST_F(FieldCommandTest, EveryMatchingLineGetsItsRuleAndEdnaJoinsTheWholeValue) {
    add({lineOf("DC.Subject", "A", "", "SONZ"), lineOf("DC.Title", "T"), lineOf("DC.Subject", "B", "", "FONZ SONZ"),
         lineOf("DC.Subject", "Maths", "", "EDNA.Indexing")});
    field({"field=DC.Subject&content=C&scheme=SONZ", "field=DC.Subject&content=Science|Physics&scheme=EDNA.Indexing"});
    EXPECT_EQ(contents(), QStringList({"A; C", "T", "B; C", "Maths; Science | Physics"}));
}

TEST_F(FieldCommandTest, OtherSchemesKeepTheLineAndAddANewOneAfterTheSelectedLine) {
    add({lineOf("DC.Title", "Old"), lineOf("DC.Creator", "Smith"),
         lineOf("DC.Coverage", "NSW", "", "DETE.Jurisdiction")});
    select(1);
    field({"field=DC.Title&content=New&lang=en", "field=DC.Coverage&content=VIC&scheme=DETE.Jurisdiction"});
    EXPECT_EQ(record(),
              MetadataRecord({lineOf("DC.Title", "Old"), lineOf("DC.Title", "New", "en"),
                              lineOf("DC.Coverage", "VIC", "", "DETE.Jurisdiction"), lineOf("DC.Creator", "Smith"),
                              lineOf("DC.Coverage", "NSW", "", "DETE.Jurisdiction")}));
    EXPECT_EQ(selectedPosition(), 3);
    EXPECT_EQ(w->editNrmlName->text(), u"DC.Coverage"_s);
}

TEST_F(FieldCommandTest, ShiftJoinsTheWholeValueIntoTheSelectedLineOnly) {
    add({lineOf("DC.Title", "Old"), lineOf("DC.Title", "Other"), lineOf("DC.Subject", "Flight", "", "apais"),
         lineOf("DC.Creator", "O=Acme", "", "x500")});
    select(1);
    w->shiftDown = true;
    field({"field=DC.Title&content=New|Edition"});
    // Thesaurus schemes come first; X.500 comes after Shift and is left alone.
    field({"field=DC.Subject&content=Air|Jets&scheme=apais"});
    select(4);
    field({"field=DC.Creator&content=AU|Acme|&scheme=x500"});
    EXPECT_EQ(contents(), QStringList({"Old; New | Edition", "Other", "Flight;  Jets", "O=Acme; AU | Acme | "}));

    // With no line selected Shift has nowhere to put the value: nothing more happens.
    w->MetaPanel->setSelectedItem(nullptr);
    const MetadataRecord before = record();
    field({"field=DC.Title&content=Third"});
    w->shiftDown = false;
    EXPECT_EQ(record(), before);
}

TEST_F(FieldCommandTest, X500ReplacesButNeverWithNothing) {
    add({lineOf("DC.Publisher", "c=NZ", "", "x500"), lineOf("DC.Publisher", "c=UK", "", "X500")});
    field({"field=DC.Publisher&content=AU|Acme|Sales|&scheme=x500"});
    // Each line gets the value shaped from the command, not from the line before.
    EXPECT_EQ(contents(), QStringList({"ou= Sales ; o= Acme ; c=AU ", "ou= Sales ; o= Acme ; c=AU "}));
    EXPECT_EQ(selectedPosition(), 2);
    // A value without "|" makes no X.500 text: the lines keep what they hold.
    field({"field=DC.Publisher&content=AU&scheme=x500"});
    EXPECT_EQ(contents(), QStringList({"ou= Sales ; o= Acme ; c=AU ", "ou= Sales ; o= Acme ; c=AU "}));
}

// ---- rule C: the line is empty -------------------------------------------------------------------

TEST_F(FieldCommandTest, AnEmptyLineOfTheSameSchemeTakesTheValue) {
    add({lineOf("DC.Title", "T"), lineOf("DC.Subject", "", "en", "lcsh")});
    field({"field=DC.Subject&content=Cats|Lions&scheme=LCSH"});
    EXPECT_EQ(record().at(1), lineOf("DC.Subject", "Cats | Lions", "en", "lcsh"));
    EXPECT_EQ(selectedPosition(), 2);
    EXPECT_TRUE(modified());
}

TEST_F(FieldCommandTest, AnEmptyLineWhoseSchemeOnlyContainsTheCommandsStaysEmptyAndTakesNoNewLine) {
    add({lineOf("DC.Subject", "", "", "LCSH-2")});
    field({"field=DC.Subject&content=Cats&scheme=LCSH"});
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Subject", "", "", "LCSH-2")}));
    EXPECT_FALSE(modified());
}

TEST_F(FieldCommandTest, ApaisAndAgiftPutOnlyTheTermIntoAnEmptyLine) {
    add({lineOf("DC.Subject", "", "", "apais"), lineOf("DC.Subject", "", "", "SONZ"),
         lineOf("DC.Subject", "", "", "Extra apais")});
    // The term, even where the schemes differ; other thesauri keep the path.
    field({"field=DC.Subject&content=Aviation|Airports&scheme=apais",
           "field=DC.Subject&content=Aviation|Airports&scheme=SONZ"});
    EXPECT_EQ(contents(), QStringList({" Airports", "Aviation | Airports", " Airports"}));
}

TEST_F(FieldCommandTest, DeteAgiftFillsEmptyLinesOnlyAndElseAddsTheValue) {
    add({lineOf("AGLS.Function", "Audit", "", "DETE.agift"), lineOf("AGLS.Function", "", "", "DETE.agift")});
    field({"field=AGLS.Function&content=Finance|Budget&scheme=DETE.agift"});
    EXPECT_EQ(contents(), QStringList({"Audit", " Budget"}));

    w->MetaPanel->Clear();
    add({lineOf("DC.Subject", "Audit", "", "DETE.agift"), lineOf("AGLS.Function", "Audit", "", "DETE.agift")});
    select(1);
    field({"field=DC.Subject&content=Finance|Budget&scheme=DETE.agift",
           "field=AGLS.Function&content=Finance|Budget&scheme=DETE.agift"});
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Subject", "Audit", "", "DETE.agift"),
                                        lineOf("DC.Subject", "Finance | Budget", "", "DETE.agift"),
                                        lineOf("AGLS.Function", " Budget", "", "DETE.agift"),
                                        lineOf("AGLS.Function", "Audit", "", "DETE.agift")}));
}

TEST_F(FieldCommandTest, JurisdictionIsPrefixedOnceForEveryEmptyLine) {
    add({lineOf("DC.Coverage", "", "", "AGLS-Jurisdiction"), lineOf("DC.Coverage", "", "", "agls-jurisdiction"),
         lineOf("DC.Coverage.jurisdiction", "", "", "AGLS-Jurisdiction")});
    field({"field=DC.Coverage&content=NSW&scheme=AGLS-Jurisdiction",
           "field=DC.Coverage.jurisdiction&content=NSW&scheme=AGLS-Jurisdiction"});
    EXPECT_EQ(contents(), QStringList({"jurisdiction=NSW", "jurisdiction=NSW", "NSW"}));
}

TEST_F(FieldCommandTest, X500IntoEmptyLinesKeepsTheBlanksOfThePath) {
    add({lineOf("DC.Creator", "", "", "x500"), lineOf("DC.Creator", "", "", "x500")});
    field({"field=DC.Creator&content=AU|Acme|&scheme=x500"});
    EXPECT_EQ(contents(), QStringList({"o= Acme ; c=AU ", "o= Acme ; c=AU "}));
}

// ---- a new line --------------------------------------------------------------------------------

TEST_F(FieldCommandTest, NewLinesWithoutAValueGetSensibleDefaults) {
    auto* browser = qobject_cast<testing_support::OfflineBrowser*>(w->WebBrowser1);
    ASSERT_NE(browser, nullptr);
    browser->addPage(u"http://host.example/page.htm"_s, u"<html><head><title>The Page</title></head></html>"_s);
    w->navArmed = false;  // shown only, not read into the record
    browser->Navigate(u"http://host.example/page.htm"_s);
    browser->settle();
    field({"field=DC.Date&scheme=ISO8601", "field=DC.Identifier&scheme=URI", "field=DC.Title",
           "field=AGLS.Function&content=Finance|Budget&scheme=agift", "field=DC.Description"});
    EXPECT_EQ(record(),
              MetadataRecord({lineOf("DC.Date", qPrintable(modMTP::formatIsoDate(QDate::currentDate())), "", "ISO8601"),
                              lineOf("DC.Identifier", "http://host.example/page.htm", "", "URI"),
                              lineOf("DC.Title", "The Page"), lineOf("AGLS.Function", " Budget", "", "agift"),
                              lineOf("DC.Description", "")}));
    EXPECT_EQ(selectedPosition(), 5);
}

TEST_F(FieldCommandTest, CancellingTheListSaveQuestionStopsTheCommand) {
    ScriptedMsgBoxes boxes;
    add({lineOf("DC.Subject", "Flight", "", "apais")});
    w->documentState->markModified(DocumentState::Document::List);
    boxes.expect(u"Save the list changes"_s, platform::vbCancel).expect(u"Save the list changes"_s, platform::vbCancel);
    field({"field=DC.Subject&content=Air|Jets&scheme=apais", "field=DC.Title&content=New"});
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Subject", "Flight", "", "apais")}));
}

TEST_F(FieldCommandTest, TheOpenEditPanelShowsTheJoinedContent) {
    Preferences::charEncoding = u"2"_s;
    add({lineOf("DC.Subject", "Fish &amp; Chips", "", "SONZ")});
    select(1);
    w->editCurrentLine();
    field({"field=DC.Subject&content=Peas&scheme=SONZ"});
    EXPECT_EQ(content(1), u"Fish &amp; Chips; Peas"_s);
    EXPECT_EQ(w->editNrmlContent->text(), u"Fish & Chips; Peas"_s);
}

// ---- helpers -------------------------------------------------------------------------------------

TEST(FieldCommandHelpers, X500ValuesPutTheMostSpecificPartFirstAndIsoDatesPadMonthAndDay) {
    const std::pair<QString, QString> x500[] = {{u"AU"_s, QString()},
                                                {u"AU|"_s, u"c=AU"_s},
                                                {u"AU|Acme"_s, u"c=AU"_s},
                                                {u"AU|Acme|Sales|"_s, u"ou=Sales; o=Acme; c=AU"_s},
                                                {u"AU|Acme|Sales|East|"_s, u"ou=East; ou=Sales; o=Acme; c=AU"_s}};
    for (const auto& [value, expected] : x500) EXPECT_EQ(modMTP::buildX500Value(value), expected) << value;
    EXPECT_EQ(modMTP::formatIsoDate(QDate(2004, 8, 3)), u"2004-08-03"_s);
    EXPECT_EQ(modMTP::formatIsoDate(QDate(999, 1, 5)), u"999-01-05"_s);
}

}  // namespace
