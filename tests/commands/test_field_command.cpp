#include "CommandsTestSupport.h"

#include "platform/WidgetInput.h"
#include "support/OfflineBrowser.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>


using namespace Qt::StringLiterals;
using commands_test::CommandsTest;
using commands_test::lineOf;

namespace {

class FieldCommandTest : public CommandsTest {
protected:
    // Replaces the record with these lines.
    void start(const QList<MetadataLine>& lines) {
        w.context.record.clear();
        for (const MetadataLine& line : lines) w.context.record.append(line);
    }
    // Runs each command body as "mtp://BODY.fld/".
    void field(std::initializer_list<const char*> bodies) {
        for (const char* body : bodies) dispatch(u"mtp://"_s + QString::fromUtf8(body) + u".fld/"_s);
    }
    bool modified() const { return w.context.document.modified(DocumentState::Document::Record); }
    QStringList contents() const {
        QStringList out;
        for (const MetadataLine& line : record()) out << line.content;
        return out;
    }
};

TEST_F(FieldCommandTest, KeysInAnyOrderAndValuesAsWritten) {
    field({"field=DC.Title&lang=en&content=Annual%20Report", "content=Smith & Jones&field=DC.Creator",
           "field=DC.Subject&scheme=LCSH&content=Aviation|Airports|Runways",
           "field=DC.Publisher&content=A&content=B",  // a key written twice: part of the value before it
           "FIELD=DC.Rights&CONTENT=Free&LANG=fr&SCHEME=Local"});
    EXPECT_EQ(record(),
              MetadataRecord({lineOf("DC.Title", "Annual Report", "en"), lineOf("DC.Creator", "Smith & Jones"),
                              lineOf("DC.Subject", "Aviation | Airports | Runways", "", "LCSH"),
                              lineOf("DC.Publisher", "A&content=B"), lineOf("DC.Rights", "Free", "fr", "Local")}));
    // Without a field it is refused; an empty one adds an empty line.
    start({});
    boxes.expect(u"Can't process mtp://content=x.fld/"_s, platform::kAnswerOk);
    dispatch(u"mtp://content=x.fld/"_s);
    EXPECT_EQ(boxes.shown().at(0).title, u"Add Field Error"_s);
    EXPECT_EQ(w.context.record.count(), 0);
    dispatch(u"mtp://field=.fld / "_s);
    EXPECT_EQ(record(), MetadataRecord({lineOf("", "")}));
    EXPECT_TRUE(modified());
}

TEST_F(FieldCommandTest, StarTakesTheSelectedLinesElementWhenItsSchemeFits) {
    boxes.expect(u"Please select a metadata field containing the AGLS-Function scheme and try again"_s, platform::kAnswerOk)
        .expect(u"can't insert this scheme element as a new field"_s, platform::kAnswerOk);
    field({"field=*&content=Audit&scheme=AGLS-Function"});
    start({lineOf("DC.Title", "Report"), lineOf("AGLS.Function", "", "", "AGLSFunction")});
    select(1);
    field({"field=*&content=Audit&scheme=AGLS-Function"});
    EXPECT_EQ(w.context.record.count(), 2);
    select(2);  // the reduced scheme fits the selected line: the value goes into it
    field({"field=*&content=Audit&scheme=AGLS-Function"});
    EXPECT_EQ(record().at(1), lineOf("AGLS.Function", "Audit", "", "AGLSFunction"));
}

TEST_F(FieldCommandTest, ALineHoldingTheValueIsOnlySelected) {
    start({lineOf("DC.Title", "Other"), lineOf("DC.Title", "Report")});
    select(1);
    field({"field=DC.Title&content=Report"});
    EXPECT_EQ(w.context.record.count(), 2);
    EXPECT_EQ(selectedPosition(), 2);
    EXPECT_FALSE(modified());
}

// A rule of matching or of a scheme: the record before, the line selected (0: none), whether
// Shift is down, the command bodies, and every line's content after.
struct Rule {
    const char* what;
    QList<MetadataLine> lines;
    int selected;
    bool shift;
    QList<const char*> commands;
    QStringList after;
};

MetadataLine subject(const char* content, const char* scheme) { return lineOf("DC.Subject", content, "", scheme); }

TEST_F(FieldCommandTest, EachRuleShapesTheLinesItMatches) {
    const QString x500 = u"ou= Sales ; o= Acme ; c=AU "_s;
    const char* airports = "field=DC.Subject&content=Aviation|Airports&scheme=apais";
    const Rule rules[] = {
        {"names match in any case, schemes when compatible",
         {lineOf("dc.subject", "", "", "LCSH"), lineOf("DC.Subjects", ""), subject("", "MESH")}, 0, false,
         {"field=DC.Subject&content=Cats&scheme=LCSH"}, {"Cats", "", ""}},
        {"thesauri join the term on every matching line; the same command joins again",
         {subject("Flight", "apais"), subject("Maori", "SONZ"), lineOf("DC.Title", "T"), subject("B", "FONZ SONZ"),
          subject("Maths", "EDNA.Indexing")}, 0, false,
         {airports, airports, "field=DC.Subject&content=Iwi&scheme=SONZ",
          "field=DC.Subject&content=Science|Physics&scheme=EDNA.Indexing"},
         {"Flight;  Airports;  Airports", "Maori; Iwi", "T", "B; Iwi", "Maths; Science | Physics"}},
        {"other schemes keep the line and add a new one after the selected line",
         {lineOf("DC.Title", "Old"), lineOf("DC.Type", "Text"), lineOf("DC.Coverage", "NSW", "", "DETE.Jurisdiction")},
         1, false, {"field=DC.Title&content=New&lang=en", "field=DC.Coverage&content=VIC&scheme=DETE.Jurisdiction"},
         {"Old", "New", "VIC", "Text", "NSW"}},
        {"Shift joins the whole value into the selected line only; thesauri come first",
         {lineOf("DC.Title", "Old"), lineOf("DC.Title", "Other"), subject("Flight", "apais")}, 1, true,
         {"field=DC.Title&content=New|Edition", "field=DC.Subject&content=Air|Jets&scheme=apais"},
         {"Old; New | Edition", "Other", "Flight;  Jets"}},
        {"X.500 comes after Shift", {lineOf("DC.Creator", "O=Acme", "", "x500")}, 1, true,
         {"field=DC.Creator&content=AU|Acme|&scheme=x500"}, {"O=Acme; AU | Acme | "}},
        {"X.500 replaces and fills empty lines, shaped from the command, never with nothing",
         {subject("c=NZ", "x500"), subject("c=UK", "X500"), subject("", "x500")}, 0, false,
         {"field=DC.Subject&content=AU|Acme|Sales|&scheme=x500", "field=DC.Subject&content=AU&scheme=x500"},
         {x500, x500, x500}},
        {"an empty line of the scheme takes the value; one whose scheme only contains it stays empty",
         {lineOf("DC.Subject", "", "en", "lcsh"), subject("", "LCSH-2")}, 0, false,
         {"field=DC.Subject&content=Cats|Lions&scheme=LCSH"}, {"Cats | Lions", ""}},
        {"apais and agift put only the term into empty lines, other thesauri the path",
         {subject("", "apais"), subject("", "SONZ"), subject("", "Extra apais"),
          lineOf("AGLS.Function", "Audit", "", "DETE.agift"), lineOf("AGLS.Function", "", "", "DETE.agift")}, 0, false,
         {airports, "field=DC.Subject&content=Aviation|Airports&scheme=SONZ",
          "field=AGLS.Function&content=Finance|Budget&scheme=DETE.agift"},
         {" Airports", "Aviation | Airports", " Airports", "Audit", " Budget"}},
        {"jurisdiction is prefixed once on every empty line",
         {lineOf("DC.Coverage", "", "", "AGLS-Jurisdiction"), lineOf("DC.Coverage", "", "", "agls-jurisdiction"),
          lineOf("DC.Coverage.jurisdiction", "", "", "AGLS-Jurisdiction")}, 0, false,
         {"field=DC.Coverage&content=NSW&scheme=AGLS-Jurisdiction",
          "field=DC.Coverage.jurisdiction&content=NSW&scheme=AGLS-Jurisdiction"},
         {"jurisdiction=NSW", "jurisdiction=NSW", "NSW"}},
    };
    for (const Rule& rule : rules) {
        start(rule.lines);
        if (rule.selected) select(rule.selected);
        w.holdShift(rule.shift);
        for (const char* command : rule.commands) field({command});
        w.holdShift(false);
        EXPECT_EQ(contents(), rule.after) << rule.what;
    }
}

TEST_F(FieldCommandTest, NewLinesWithoutAValueGetSensibleDefaults) {
    auto& browser = testing_support::offlineBrowser(w.find<platform::WebBrowser>(u"WebBrowser1"_s));
    browser.addPage(u"http://host.example/page.htm"_s, u"<html><head><title>The Page</title></head></html>"_s);
    // Shown while the metadata view is closed: not read into the record.
    QAction* metadataView = w.find<QAction>(u"mnuViewQuorvantile"_s);
    metadataView->trigger();
    w.enter(u"http://host.example/page.htm"_s);
    metadataView->trigger();
    field({"field=DC.Date&scheme=ISO8601", "field=DC.Identifier&scheme=URI", "field=DC.Title",
           "field=AGLS.Function&content=Finance|Budget&scheme=agift", "field=DC.Description"});
    const QDate today = QDate::currentDate();
    EXPECT_EQ(record(),
              MetadataRecord({lineOf("DC.Date", qPrintable(today.toString(u"yyyy-MM-dd"_s)), "", "ISO8601"),
                              lineOf("DC.Identifier", "http://host.example/page.htm", "", "URI"),
                              lineOf("DC.Title", "The Page"), lineOf("AGLS.Function", " Budget", "", "agift"),
                              lineOf("DC.Description", "")}));
    EXPECT_EQ(selectedPosition(), 5);
}

TEST_F(FieldCommandTest, CancellingTheListSaveQuestionStopsTheCommand) {
    start({lineOf("DC.Subject", "Flight", "", "apais")});
    w.context.document.markModified(DocumentState::Document::List);
    boxes.expect(u"Save the list changes"_s, platform::kAnswerCancel).expect(u"Save the list changes"_s, platform::kAnswerCancel);
    field({"field=DC.Subject&content=Air|Jets&scheme=apais", "field=DC.Title&content=New"});
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Subject", "Flight", "", "apais")}));
}

// Lines are taken once, as the command starts: what a question lets happen meanwhile is met
// as it is then, and a line that went is passed over.
TEST_F(FieldCommandTest, LinesRemovedOrChangedWhileAQuestionIsOpenAreNeverWrittenStale) {
    start({subject("Flight", "apais"), subject("Maori", "apais"), subject("Sea", "apais")});
    w.context.document.markModified(DocumentState::Document::List);
    boxes.expect(u"Save the list changes"_s, platform::kAnswerNo, [&] {
        w.context.record.remove(w.context.record.idAt(2));
        w.context.record.set(w.context.record.idAt(2), Record::Content, u"Ocean"_s);
    });
    field({"field=DC.Subject&content=Air|Jets&scheme=apais"});
    EXPECT_EQ(contents(), QStringList({"Flight;  Jets", "Ocean;  Jets"}));
    // A batch that empties the record between two commands: the second starts afresh.
    const QString batch = writeFile(u"clear.kqb"_s, "mtp://field=DC.Title&content=A.fld/\r\nmtp://delete=all.fld\r\n"
                                                    "mtp://field=DC.Title&content=B.fld/\r\n");
    dispatch(u"mtp://open="_s + batch + u"/"_s);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "B")}));
    EXPECT_EQ(selectedPosition(), 1);
}

// A field command meets the lines as the user left them: deleted, sorted, moved, given another
// scheme, renamed, or added to by the command before. The command for "2005" with the scheme
// ISO-8601 takes the line holding it, unless an ISO8601 line comes first: that one narrows the
// command's scheme to ISO8601, which the "2005" line's scheme does not hold, and a new line
// is added.
TEST_F(FieldCommandTest, TheLinesAreMetAsTheUserLeftThem) {
    w->resize(1000, 760);
    widget_input::showAndWait(w.form.get());
    auto* panel = w.find<MetaPanelView>(u"MetaPanel"_s);
    const auto cell = [panel](int i) { return panel->visualRect(panel->model()->index(i - 1, 1)).center(); };
    const auto drag = [&](int from, QPoint onto) {
        select(from);
        widget_input::drag(panel->viewport(), cell(from), panel->viewport(), onto);
    };
    const auto deleteSelectedLine = [panel] { widget_input::key(panel, Qt::Key_Delete); };
    const QString date = u"mtp://field=DC.Date&content=2005&scheme=ISO-8601.fld/"_s;
    const auto addsALine = [&] {
        const int before = w.context.record.count();
        w.enter(date);
        if (w.context.record.count() == before) return false;
        deleteSelectedLine();
        return true;
    };
    start({lineOf("DC.Date", "2010", "", "ISO8601"), lineOf("DC.Date", "2005", "", "ISO-8601"),
           lineOf("DC.Date", "1999", "", "ISO8601"), lineOf("DC.Subject", "Flight", "", "apais"),
           lineOf("DC.Title", "Old")});
    EXPECT_TRUE(addsALine());

    const QHeaderView* header = panel->header();
    widget_input::click(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(Record::Content) + 10, header->height() / 2));
    EXPECT_EQ(contents(), QStringList({"1999", "2005", "2010", "Flight", "Old"}));
    EXPECT_TRUE(addsALine());

    drag(1, QPoint(20, panel->viewport()->height() - 5));  // below the last line
    EXPECT_FALSE(addsALine());
    EXPECT_EQ(contents().at(w.context.record.positionOf(w.context.record.selectedLine()) - 1), u"2005"_s);
    drag(2, cell(1));
    EXPECT_EQ(contents(), QStringList({"2010", "2005", "Flight", "Old", "1999"}));
    EXPECT_TRUE(addsALine());
    drag(5, cell(2));
    EXPECT_EQ(contents(), QStringList({"2010", "1999", "2005", "Flight", "Old"}));

    w.openLine(1);  // the first ISO8601 line given another scheme: the second one narrows
    w.find<QComboBox>(u"editNrmlScheme"_s)->setEditText(u"Local"_s);
    w.find<QAbstractButton>(u"EditClose"_s)->click();
    EXPECT_TRUE(addsALine());
    w.openLine(2);
    w.find<QComboBox>(u"editNrmlScheme"_s)->setEditText(u"Local"_s);
    w.find<QAbstractButton>(u"EditClose"_s)->click();
    EXPECT_FALSE(addsALine());

    w.openLine(5);  // DC.Title renamed DC.Date: found under its new name only
    testing_support::ScriptedModals modals;
    modals.then([](QDialog& input) {
        testing_support::typeOver(input, u"txtFieldName"_s, u"DC.Date"_s);
        testing_support::press(input, u"cmdOK"_s);
    });
    widget_input::click(w.find<QLineEdit>(u"editNrmlName"_s), Qt::LeftButton, {}, QPoint(5, 5));
    w.find<QAbstractButton>(u"EditClose"_s)->click();
    w.enter(u"mtp://field=dc.date&content=Old.fld/"_s);
    EXPECT_EQ(w.context.record.count(), 5);
    EXPECT_EQ(selectedPosition(), 5);
    w.enter(u"mtp://field=DC.Title&content=Old.fld/"_s);
    EXPECT_EQ(w.context.record.count(), 6);

    // A joined line holds its whole new value: the same value again only selects it.
    w.enter(u"mtp://field=DC.Subject&content=Air|Jets&scheme=apais.fld/"_s);
    w.enter(u"mtp://field=DC.Subject&content=Flight;%20%20Jets.fld/"_s);
    EXPECT_EQ(contents(), QStringList({"2010", "1999", "2005", "Flight;  Jets", "Old", "Old"}));
    EXPECT_EQ(selectedPosition(), 4);
}

}  // namespace
