#include "CommandsTestSupport.h"

#include "platform/OfflineBrowser.h"
#include "platform/MsgBox.h"
#include "platform/StatusBar.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>

using commands_test::CommandsTest;
using commands_test::lineOf;
using testing_support::ScriptedMsgBoxes;

namespace {

class FieldCommandTest : public CommandsTest {
protected:
    void field(const QString& body) { dispatch(QStringLiteral("mtp://") + body + QStringLiteral(".fld/")); }
    bool modified() const { return w->documentModified(QStringLiteral("Record")); }
    QString content(int position) const { return w->MetaPanel->Item(position)->SubItems(1); }
};

// ---- reading the command ------------------------------------------------------------------

TEST_F(FieldCommandTest, KeysInAnyOrderAndValuesAsWritten) {
    field(QStringLiteral("field=DC.Title&lang=en&content=Annual%20Report"));
    field(QStringLiteral("content=Smith & Jones&field=DC.Creator"));
    field(QStringLiteral("field=DC.Subject&scheme=LCSH&content=Aviation|Airports|Runways"));
    // A key written twice: the second is part of the value in front of it.
    field(QStringLiteral("field=DC.Publisher&content=A&content=B"));
    field(QStringLiteral("FIELD=DC.Rights&CONTENT=Free&LANG=fr&SCHEME=Local"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Annual Report", "en"), lineOf("DC.Creator", "Smith & Jones"),
                                        lineOf("DC.Subject", "Aviation | Airports | Runways", "", "LCSH"),
                                        lineOf("DC.Publisher", "A&content=B"), lineOf("DC.Rights", "Free", "fr", "Local")}));
}

TEST_F(FieldCommandTest, ACommandWithoutAFieldIsRefused) {
    ScriptedMsgBoxes boxes;
    boxes.expect(QStringLiteral("Can't process mtp://content=x.fld/"), platform::vbOK);
    dispatch(QStringLiteral("mtp://content=x.fld/"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Add Field Error"));
    EXPECT_EQ(w->MetaPanel->Count(), 0);
}

TEST_F(FieldCommandTest, AnEmptyFieldCommandAddsOneEmptyLine) {
    dispatch(QStringLiteral("mtp://field=.fld / "));
    EXPECT_EQ(record(), MetadataRecord({lineOf("", "")}));
    EXPECT_TRUE(w->mnuMaintMeta(9)->isEnabled());
    EXPECT_TRUE(modified());
}

// ---- the element "*" -----------------------------------------------------------------------

TEST_F(FieldCommandTest, StarTakesTheSelectedLinesElementWhenItsSchemeFits) {
    ScriptedMsgBoxes boxes;
    boxes.expect(QStringLiteral("Please select a metadata field containing the AGLS-Function scheme and try again"),
                 platform::vbOK);
    field(QStringLiteral("field=*&content=Audit&scheme=AGLS-Function"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Can't proceed"));
    EXPECT_EQ(w->MetaPanel->Count(), 0);

    addLine(QStringLiteral("DC.Title"), QStringLiteral("Report"));
    addLine(QStringLiteral("AGLS.Function"), QString(), {}, QStringLiteral("AGLSFunction"));
    select(1);
    boxes.expect(QStringLiteral("can't insert this scheme element as a new field"), platform::vbOK);
    field(QStringLiteral("field=*&content=Audit&scheme=AGLS-Function"));
    EXPECT_EQ(w->MetaPanel->Count(), 2);

    // The reduced scheme fits the selected line: the value goes into it.
    select(2);
    field(QStringLiteral("field=*&content=Audit&scheme=AGLS-Function"));
    EXPECT_EQ(record().at(1), lineOf("AGLS.Function", "Audit", "", "AGLSFunction"));
}

// ---- which lines match -----------------------------------------------------------------------

TEST_F(FieldCommandTest, LinesMatchByNameIgnoringCaseAndByCompatibleScheme) {
    addLine(QStringLiteral("dc.subject"), QString(), {}, QStringLiteral("LCSH"));
    addLine(QStringLiteral("DC.Subjects"), QString());
    addLine(QStringLiteral("DC.Subject"), QString(), {}, QStringLiteral("MESH"));
    field(QStringLiteral("field=DC.Subject&content=Cats&scheme=LCSH"));
    EXPECT_EQ(content(1), QStringLiteral("Cats"));
    EXPECT_EQ(content(2), QString());
    EXPECT_EQ(content(3), QString());
    EXPECT_EQ(w->MetaPanel->Count(), 3);
}

TEST_F(FieldCommandTest, AReducedSchemeMatchesAndIsUsedFromThenOn) {
    addLine(QStringLiteral("DC.Date"), QStringLiteral("2004-01-01"), {}, QStringLiteral("ISO8601"));
    select(1);
    field(QStringLiteral("field=DC.Date&content=2005-02-02&scheme=ISO-8601"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Date", "2004-01-01", "", "ISO8601"),
                                        lineOf("DC.Date", "2005-02-02", "", "ISO8601")}));
}

// ---- rule A: the line holds the value -------------------------------------------------------

TEST_F(FieldCommandTest, ALineHoldingTheValueIsOnlySelected) {
    addLine(QStringLiteral("DC.Title"), QStringLiteral("Other"));
    addLine(QStringLiteral("DC.Title"), QStringLiteral("Report"));
    select(1);
    field(QStringLiteral("field=DC.Title&content=Report"));
    EXPECT_EQ(w->MetaPanel->Count(), 2);
    EXPECT_EQ(selectedPosition(), 2);
    EXPECT_FALSE(modified());
}

// ---- rule B: the line holds another value ----------------------------------------------------

TEST_F(FieldCommandTest, ThesaurusSchemesJoinTheTerm) {
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Flight"), {}, QStringLiteral("apais"));
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Maori"), {}, QStringLiteral("SONZ"));
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Tax"), {}, QStringLiteral("LSE"));
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Flu"), {}, QStringLiteral("Health Thesaurus"));
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Wings"), {}, QStringLiteral("Aviation Thesaurus"));
    field(QStringLiteral("field=DC.Subject&content=Aviation|Airports&scheme=apais"));
    EXPECT_EQ(content(1), QStringLiteral("Flight;  Airports"));  // the term keeps its blank
    EXPECT_EQ(selectedPosition(), 1);
    EXPECT_TRUE(modified());
    field(QStringLiteral("field=DC.Subject&content=Iwi&scheme=SONZ"));
    field(QStringLiteral("field=DC.Subject&content=Law|Income&scheme=LSE"));
    field(QStringLiteral("field=DC.Subject&content=Fever&scheme=Health Thesaurus"));
    field(QStringLiteral("field=DC.Subject&content=Jets&scheme=Aviation Thesaurus"));
    EXPECT_EQ(content(2), QStringLiteral("Maori; Iwi"));
    EXPECT_EQ(content(3), QStringLiteral("Tax;  Income"));
    EXPECT_EQ(content(4), QStringLiteral("Flu; Fever"));
    EXPECT_EQ(content(5), QStringLiteral("Wings; Jets"));
    EXPECT_EQ(w->MetaPanel->Count(), 5);

    // Rule A looks at the whole value, so the same command joins its term again.
    field(QStringLiteral("field=DC.Subject&content=Aviation|Airports&scheme=apais"));
    EXPECT_EQ(content(1), QStringLiteral("Flight;  Airports;  Airports"));
}

TEST_F(FieldCommandTest, EveryMatchingLineGetsItsRule) {
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("A"), {}, QStringLiteral("SONZ"));
    addLine(QStringLiteral("DC.Title"), QStringLiteral("T"));
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("B"), {}, QStringLiteral("FONZ SONZ"));
    field(QStringLiteral("field=DC.Subject&content=C&scheme=SONZ"));
    EXPECT_EQ(content(1), QStringLiteral("A; C"));
    EXPECT_EQ(content(3), QStringLiteral("B; C"));
}

TEST_F(FieldCommandTest, EdnaJoinsTheWholeValue) {
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Maths"), {}, QStringLiteral("EDNA.Indexing"));
    field(QStringLiteral("field=DC.Subject&content=Science|Physics&scheme=EDNA.Indexing"));
    EXPECT_EQ(content(1), QStringLiteral("Maths; Science | Physics"));
}

TEST_F(FieldCommandTest, OtherSchemesKeepTheLineAndAddANewOneAfterTheSelectedLine) {
    addLine(QStringLiteral("DC.Title"), QStringLiteral("Old"));
    addLine(QStringLiteral("DC.Creator"), QStringLiteral("Smith"));
    addLine(QStringLiteral("DC.Coverage"), QStringLiteral("NSW"), {}, QStringLiteral("DETE.Jurisdiction"));
    select(1);
    field(QStringLiteral("field=DC.Title&content=New&lang=en"));
    field(QStringLiteral("field=DC.Coverage&content=VIC&scheme=DETE.Jurisdiction"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "Old"), lineOf("DC.Title", "New", "en"),
                                        lineOf("DC.Coverage", "VIC", "", "DETE.Jurisdiction"),
                                        lineOf("DC.Creator", "Smith"),
                                        lineOf("DC.Coverage", "NSW", "", "DETE.Jurisdiction")}));
    EXPECT_EQ(selectedPosition(), 3);
    EXPECT_FALSE(w->EditPanel->isHidden());
    EXPECT_EQ(w->editNrmlName->text(), QStringLiteral("DC.Coverage"));
}

TEST_F(FieldCommandTest, ShiftJoinsTheWholeValueIntoTheSelectedLineOnly) {
    addLine(QStringLiteral("DC.Title"), QStringLiteral("Old"));
    addLine(QStringLiteral("DC.Title"), QStringLiteral("Other"));
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Flight"), {}, QStringLiteral("apais"));
    addLine(QStringLiteral("DC.Creator"), QStringLiteral("O=Acme"), {}, QStringLiteral("x500"));
    select(1);
    w->shiftDown = true;
    field(QStringLiteral("field=DC.Title&content=New|Edition"));
    EXPECT_EQ(content(1), QStringLiteral("Old; New | Edition"));
    EXPECT_EQ(content(2), QStringLiteral("Other"));
    // Thesaurus schemes come first; X.500 comes after Shift and is left alone.
    field(QStringLiteral("field=DC.Subject&content=Air|Jets&scheme=apais"));
    EXPECT_EQ(content(3), QStringLiteral("Flight;  Jets"));
    select(4);
    field(QStringLiteral("field=DC.Creator&content=AU|Acme|&scheme=x500"));
    EXPECT_EQ(content(4), QStringLiteral("O=Acme; AU | Acme | "));
    EXPECT_EQ(w->MetaPanel->Count(), 4);

    // With no line selected Shift has nowhere to put the value: nothing more happens.
    w->MetaPanel->setSelectedItem(nullptr);
    const MetadataRecord before = record();
    field(QStringLiteral("field=DC.Title&content=Third"));
    w->shiftDown = false;
    EXPECT_EQ(record(), before);
}

TEST_F(FieldCommandTest, X500ReplacesButNeverWithNothing) {
    addLine(QStringLiteral("DC.Publisher"), QStringLiteral("c=NZ"), {}, QStringLiteral("x500"));
    addLine(QStringLiteral("DC.Publisher"), QStringLiteral("c=UK"), {}, QStringLiteral("X500"));
    field(QStringLiteral("field=DC.Publisher&content=AU|Acme|Sales|&scheme=x500"));
    EXPECT_EQ(content(1), QStringLiteral("ou= Sales ; o= Acme ; c=AU "));
    // Each line gets the value shaped from the command, not from the line before.
    EXPECT_EQ(content(2), QStringLiteral("ou= Sales ; o= Acme ; c=AU "));
    EXPECT_EQ(selectedPosition(), 2);
    EXPECT_TRUE(w->MetaPanel->Item(2)->Bold());

    // A value without "|" makes no X.500 text: the lines keep what they hold.
    field(QStringLiteral("field=DC.Publisher&content=AU&scheme=x500"));
    EXPECT_EQ(content(1), QStringLiteral("ou= Sales ; o= Acme ; c=AU "));
    EXPECT_EQ(w->MetaPanel->Count(), 2);
}

// ---- rule C: the line is empty -------------------------------------------------------------------

TEST_F(FieldCommandTest, AnEmptyLineOfTheSameSchemeTakesTheValue) {
    addLine(QStringLiteral("DC.Title"), QStringLiteral("T"));
    addLine(QStringLiteral("DC.Subject"), QString(), QStringLiteral("en"), QStringLiteral("lcsh"));
    field(QStringLiteral("field=DC.Subject&content=Cats|Lions&scheme=LCSH"));
    EXPECT_EQ(record().at(1), lineOf("DC.Subject", "Cats | Lions", "en", "lcsh"));
    EXPECT_EQ(selectedPosition(), 2);
    EXPECT_TRUE(modified());
}

TEST_F(FieldCommandTest, AnEmptyLineWhoseSchemeOnlyContainsTheCommandsStaysEmptyAndTakesNoNewLine) {
    addLine(QStringLiteral("DC.Subject"), QString(), {}, QStringLiteral("LCSH-2"));
    field(QStringLiteral("field=DC.Subject&content=Cats&scheme=LCSH"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Subject", "", "", "LCSH-2")}));
    EXPECT_FALSE(modified());
}

TEST_F(FieldCommandTest, ApaisAndAgiftPutOnlyTheTermIntoAnEmptyLine) {
    addLine(QStringLiteral("DC.Subject"), QString(), {}, QStringLiteral("apais"));
    addLine(QStringLiteral("DC.Subject"), QString(), {}, QStringLiteral("SONZ"));
    addLine(QStringLiteral("DC.Subject"), QString(), {}, QStringLiteral("Extra apais"));
    field(QStringLiteral("field=DC.Subject&content=Aviation|Airports&scheme=apais"));
    EXPECT_EQ(content(1), QStringLiteral(" Airports"));
    EXPECT_EQ(content(3), QStringLiteral(" Airports"));  // the term, even where the schemes differ
    field(QStringLiteral("field=DC.Subject&content=Aviation|Airports&scheme=SONZ"));
    EXPECT_EQ(content(2), QStringLiteral("Aviation | Airports"));  // other thesauri keep the path
}

TEST_F(FieldCommandTest, DeteAgiftFillsEmptyLinesOnlyAndElseAddsTheValue) {
    addLine(QStringLiteral("AGLS.Function"), QStringLiteral("Audit"), {}, QStringLiteral("DETE.agift"));
    addLine(QStringLiteral("AGLS.Function"), QString(), {}, QStringLiteral("DETE.agift"));
    field(QStringLiteral("field=AGLS.Function&content=Finance|Budget&scheme=DETE.agift"));
    EXPECT_EQ(content(1), QStringLiteral("Audit"));
    EXPECT_EQ(content(2), QStringLiteral(" Budget"));
    EXPECT_EQ(w->MetaPanel->Count(), 2);

    w->MetaPanel->Clear();
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Audit"), {}, QStringLiteral("DETE.agift"));
    addLine(QStringLiteral("AGLS.Function"), QStringLiteral("Audit"), {}, QStringLiteral("DETE.agift"));
    select(1);
    field(QStringLiteral("field=DC.Subject&content=Finance|Budget&scheme=DETE.agift"));
    field(QStringLiteral("field=AGLS.Function&content=Finance|Budget&scheme=DETE.agift"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Subject", "Audit", "", "DETE.agift"),
                                        lineOf("DC.Subject", "Finance | Budget", "", "DETE.agift"),
                                        lineOf("AGLS.Function", " Budget", "", "DETE.agift"),
                                        lineOf("AGLS.Function", "Audit", "", "DETE.agift")}));
}

TEST_F(FieldCommandTest, JurisdictionIsPrefixedOnceForEveryEmptyLine) {
    addLine(QStringLiteral("DC.Coverage"), QString(), {}, QStringLiteral("AGLS-Jurisdiction"));
    addLine(QStringLiteral("DC.Coverage"), QString(), {}, QStringLiteral("agls-jurisdiction"));
    addLine(QStringLiteral("DC.Coverage.jurisdiction"), QString(), {}, QStringLiteral("AGLS-Jurisdiction"));
    field(QStringLiteral("field=DC.Coverage&content=NSW&scheme=AGLS-Jurisdiction"));
    EXPECT_EQ(content(1), QStringLiteral("jurisdiction=NSW"));
    EXPECT_EQ(content(2), QStringLiteral("jurisdiction=NSW"));
    field(QStringLiteral("field=DC.Coverage.jurisdiction&content=NSW&scheme=AGLS-Jurisdiction"));
    EXPECT_EQ(content(3), QStringLiteral("NSW"));
}

TEST_F(FieldCommandTest, X500IntoEmptyLinesKeepsTheBlanksOfThePath) {
    addLine(QStringLiteral("DC.Creator"), QString(), {}, QStringLiteral("x500"));
    addLine(QStringLiteral("DC.Creator"), QString(), {}, QStringLiteral("x500"));
    field(QStringLiteral("field=DC.Creator&content=AU|Acme|&scheme=x500"));
    EXPECT_EQ(content(1), QStringLiteral("o= Acme ; c=AU "));
    EXPECT_EQ(content(2), QStringLiteral("o= Acme ; c=AU "));
}

// ---- a new line --------------------------------------------------------------------------------

TEST_F(FieldCommandTest, NewLinesWithoutAValueGetSensibleDefaults) {
    auto* browser = qobject_cast<platform::OfflineBrowser*>(w->WebBrowser1);
    ASSERT_NE(browser, nullptr);
    browser->addPage(QStringLiteral("http://host.example/page.htm"),
                     QStringLiteral("<html><head><title>The Page</title></head><body></body></html>"));
    w->navArmed = false;  // shown only, not read into the record
    browser->Navigate(QStringLiteral("http://host.example/page.htm"));
    browser->settle();
    field(QStringLiteral("field=DC.Date&scheme=ISO8601"));
    field(QStringLiteral("field=DC.Identifier&scheme=URI"));
    field(QStringLiteral("field=DC.Title"));
    field(QStringLiteral("field=AGLS.Function&content=Finance|Budget&scheme=agift"));
    field(QStringLiteral("field=DC.Description"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Date", qPrintable(modMTP::formatIsoDate(QDate::currentDate())), "",
                                               "ISO8601"),
                                        lineOf("DC.Identifier", "http://host.example/page.htm", "", "URI"),
                                        lineOf("DC.Title", "The Page"),
                                        lineOf("AGLS.Function", " Budget", "", "agift"), lineOf("DC.Description", "")}));
    EXPECT_EQ(selectedPosition(), 5);
}

TEST_F(FieldCommandTest, CancellingTheListSaveQuestionStopsTheCommand) {
    ScriptedMsgBoxes boxes;
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Flight"), {}, QStringLiteral("apais"));
    w->StatusBar1->setPanelText(2, QStringLiteral("Modified"));
    w->StatusBar1->setPanelTag(2, QStringLiteral("List"));
    boxes.expect(QStringLiteral("Save the list changes"), platform::vbCancel)
        .expect(QStringLiteral("Save the list changes"), platform::vbCancel);
    field(QStringLiteral("field=DC.Subject&content=Air|Jets&scheme=apais"));
    field(QStringLiteral("field=DC.Title&content=New"));
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Subject", "Flight", "", "apais")}));
}

TEST_F(FieldCommandTest, TheOpenEditPanelShowsTheJoinedContent) {
    Preferences::charEncoding = QStringLiteral("2");
    addLine(QStringLiteral("DC.Subject"), QStringLiteral("Fish &amp; Chips"), {}, QStringLiteral("SONZ"));
    select(1);
    w->editCurrentLine();
    ASSERT_FALSE(w->EditPanel->isHidden());
    field(QStringLiteral("field=DC.Subject&content=Peas&scheme=SONZ"));
    EXPECT_EQ(content(1), QStringLiteral("Fish &amp; Chips; Peas"));
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("Fish & Chips; Peas"));
}

// ---- helpers -------------------------------------------------------------------------------------

TEST(FieldCommandHelpers, X500ValuesPutTheMostSpecificPartFirst) {
    EXPECT_EQ(modMTP::buildX500Value(QStringLiteral("AU")), QString());
    EXPECT_EQ(modMTP::buildX500Value(QStringLiteral("AU|")), QStringLiteral("c=AU"));
    EXPECT_EQ(modMTP::buildX500Value(QStringLiteral("AU|Acme")), QStringLiteral("c=AU"));
    EXPECT_EQ(modMTP::buildX500Value(QStringLiteral("AU|Acme|Sales|")), QStringLiteral("ou=Sales; o=Acme; c=AU"));
    EXPECT_EQ(modMTP::buildX500Value(QStringLiteral("AU|Acme|Sales|East|")),
              QStringLiteral("ou=East; ou=Sales; o=Acme; c=AU"));
}

TEST(FieldCommandHelpers, IsoDatesPadMonthAndDayOnly) {
    EXPECT_EQ(modMTP::formatIsoDate(QDate(2004, 8, 3)), QStringLiteral("2004-08-03"));
    EXPECT_EQ(modMTP::formatIsoDate(QDate(2011, 12, 31)), QStringLiteral("2011-12-31"));
    EXPECT_EQ(modMTP::formatIsoDate(QDate(999, 1, 5)), QStringLiteral("999-01-05"));
}

}  // namespace
