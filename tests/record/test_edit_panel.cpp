#include "record/RecordWindowTest.h"

#include "core/domains/SchemeHosts.h"
#include "gui/record/frmACTVers.h"

#include <QPlainTextEdit>

namespace {

class EditPanelTest : public RecordWindowTest {
protected:
    void clickContentBox() { widget_input::click(w.find<QLineEdit>(u"editNrmlContent"_s), Qt::LeftButton, {}, QPoint(5, 5)); }
};
using ValueEditorTest = EditPanelTest;

TEST_F(EditPanelTest, TypedContentIsStoredEncodedAndShownDecoded) {
    w.context.preferences.charEncoding = u"2"_s;
    add(QString());  // a line without a name (a link row)
    edit(u"DC.Title"_s, u"Fish &amp; Chips"_s);
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->text(), u"Fish & Chips"_s);
    EXPECT_FALSE(recordModified());  // showing a line changes nothing
    w.find<QLineEdit>(u"editNrmlContent"_s)->setText(u"Fish & Chips é"_s);
    EXPECT_EQ(content(2), u"Fish &amp; Chips &eacute;"_s);
    EXPECT_TRUE(recordModified());
    show(1);  // a line without a name keeps the text as typed
    w.find<QLineEdit>(u"editNrmlContent"_s)->setText(u"a & b"_s);
    EXPECT_EQ(content(1), u"a & b"_s);
}

// A term link clicked while a line is open selects another line: the panel's fields, still
// showing the open line, never write its values into the selected one; the user's hand on
// the panel meets the selected line.
TEST_F(EditPanelTest, ALineATermLinkSelectsNeverTakesTheOpenLinesValues) {
    w->show();
    QApplication::setActiveWindow(&*w);
    const QString link = u"mtp://field=DC.Date&content=2005&scheme=ISO-8601.fld/"_s;
    w.enter(write(u"dates.htm"_s, "<html><head><meta name=\"DC.Date\" scheme=\"DCMIPeriod\" content=\"2004-01-01\">\r\n"
                                  "<meta name=\"DC.Date\" scheme=\"ISO-8601\" content=\"2005\">\r\n</head>"
                                  "<body><a href=\"" + link.toUtf8() + "\">2005</a></body></html>\r\n"));
    show(1);
    QComboBox* month = w.find<QComboBox>(u"editDateMonth"_s);
    ASSERT_TRUE(month->isVisible());
    auto& browser = testing_support::offlineBrowser(w.find<platform::WebBrowser>(u"WebBrowser1"_s));
    ASSERT_TRUE(browser.clickLink(link));  // selects line 2, changes nothing
    browser.settle();
    ASSERT_EQ(w.context.record.selectedLine(), line(2));
    EXPECT_FALSE(recordModified());
    month->setFocus();
    widget_input::key(QApplication::focusWidget(), Qt::Key_Down);  // the user picks another month
    EXPECT_EQ(content(1), u"2004-01-01"_s);
    EXPECT_TRUE(content(2).startsWith(u"2005"_s)) << content(2).toStdString();
    EXPECT_EQ(content(2, Record::Scheme), u"ISO-8601"_s);
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->text(), u"2005"_s);  // the panel shows the selected line
}

TEST_F(EditPanelTest, SelectingAnotherLineNeverWipesItsLanguage) {
    w.context.domain.defaultSchema = u"AGLS1.3"_s;
    edit(u"DC.Title"_s, u"a"_s, u"en"_s);
    edit(u"DC.Creator"_s, u"b"_s, u"fr"_s);
    EXPECT_EQ(w.find<QComboBox>(u"editNrmlLang"_s)->currentText(), u"fr"_s);
    EXPECT_EQ(content(1, 2), u"en"_s);
    EXPECT_FALSE(recordModified());
    w.find<QComboBox>(u"editNrmlLang"_s)->setEditText(u"de"_s);  // the user's own change is written
    EXPECT_EQ(content(2, 2), u"de"_s);
    EXPECT_TRUE(w.find<QAction>(u"mnuMaintMeta_9"_s)->isEnabled());
}

TEST_F(EditPanelTest, DatesAreBuiltFromTheBoxesAndFillingThemWritesNothing) {
    edit(u"DC.Date.created"_s, u"1875-06-30"_s, {}, u"ISO8601"_s);
    EXPECT_EQ(w.find<QComboBox>(u"editDateyear"_s)->currentText(), u"1875"_s);  // outside the offered years
    EXPECT_EQ(w.find<QComboBox>(u"editDateMonth"_s)->currentText(), u"06"_s);
    EXPECT_FALSE(recordModified());
    w.find<QComboBox>(u"editDateMonth"_s)->setEditText(QString());
    EXPECT_EQ(content(1), u"1875"_s);  // a day without a month is not written
    w.find<QComboBox>(u"editDateMonth"_s)->setEditText(u"02"_s);
    EXPECT_EQ(content(1), u"1875-02-30"_s);
    w.find<QComboBox>(u"editDateyear"_s)->setEditText(QString());
    EXPECT_EQ(content(1), QString());
    EXPECT_TRUE(recordModified());
}

// Each caption stands just left of its field, on the field's row, for the content box and
// for the date boxes in its place.
TEST_F(EditPanelTest, EveryCaptionStandsLeftOfItsFieldOnItsRow) {
    const auto besideEachOther = [this](const QString& caption, const QString& field) {
        auto* label = w.find<QWidget>(caption);
        auto* box = w.find<QWidget>(field);
        ASSERT_TRUE(label->isVisible() && box->isVisible()) << caption.toStdString();
        const QRect l(label->mapTo(label->window(), QPoint()), label->size());
        const QRect b(box->mapTo(box->window(), QPoint()), box->size());
        EXPECT_LE(l.right(), b.left()) << caption.toStdString();
        EXPECT_LT(b.left() - l.right(), 40) << caption.toStdString();
        EXPECT_LE(std::abs(l.center().y() - b.center().y()), 4) << caption.toStdString();
    };
    w->show();
    edit(u"DC.Title"_s, u"A page"_s);
    besideEachOther(u"editLabel1"_s, u"editNrmlName"_s);
    besideEachOther(u"editLabel2"_s, u"editNrmlContent"_s);
    edit(u"DC.Date"_s, u"2020-05-04"_s, {}, u"ISO8601"_s);
    besideEachOther(u"editLabel2"_s, u"EditDateYLabel"_s);
    besideEachOther(u"editLabel3"_s, u"editNrmlScheme"_s);
}

TEST_F(EditPanelTest, ValueListsAndSchemesAreWrittenAtOnceNoneAsEmptyAndLoadSchemeRunsTheSchemeFile) {
    w.context.domain.defaultSchema = u"AGLS"_s;
    edit(u"DC.Type.aggregation"_s);
    EXPECT_EQ(content(1), u"item"_s);  // the shown default goes into the empty line
    edit(u"HI.Status"_s, u"x"_s);
    w.find<QComboBox>(u"EditList"_s)->setEditText(u"None"_s);
    EXPECT_EQ(content(2), QString());
    w.context.domain.defaultSchema = u"AGLS1.3"_s;
    edit(u"DC.Identifier"_s, u"x"_s, {}, u"URI"_s);
    EXPECT_EQ(w.find<QComboBox>(u"editNrmlScheme"_s)->currentText(), u"URI"_s);
    w.find<QAction>(u"mnuMaintMeta_9"_s)->setEnabled(true);
    w.find<QComboBox>(u"editNrmlScheme"_s)->setEditText(u"None"_s);
    EXPECT_EQ(content(3, 3), QString());
    EXPECT_FALSE(w.find<QAction>(u"mnuMaintMeta_9"_s)->isEnabled());

    testing_support::CommandRecorder recorder{w.context};
    w.context.domain.defaultSchema = u"GILS-MONTANA"_s;
    edit(u"GILS.subjects"_s);
    w.find<QPushButton>(u"EditLoadScheme"_s)->click();
    EXPECT_EQ(recorder.commands.value(0), u"mtp://url="_s + SchemeHosts::stateLibraryHost + u"/montana/topics.kqs"_s);
    EXPECT_EQ(w.context.document.listType(), u"schema"_s);
}

TEST_F(EditPanelTest, RenamingGoesThroughTheNameDialog) {
    edit(u"DC.Title"_s, u"x"_s);
    then(u"frmdlogInput"_s, [](QDialog& input) { press(input, u"cmdCancel"_s); });
    then(u"frmdlogInput"_s, [](QDialog& input) {
        EXPECT_EQ(child<QLineEdit>(input, u"txtFieldName"_s)->text(), u"DC.Title"_s);
        typeOver(input, u"txtFieldName"_s, u"DC.Title.Alternative"_s);
        press(input, u"cmdOK"_s);
    });
    widget_input::click(w.find<QLineEdit>(u"editNrmlName"_s), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(content(1, Record::Name), u"DC.Title"_s);
    widget_input::click(w.find<QLineEdit>(u"editNrmlName"_s), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(content(1, Record::Name), u"DC.Title.Alternative"_s);
    EXPECT_TRUE(recordModified());
}

TEST_F(ValueEditorTest, TheAglsAgentEditorRoundTripsTheValueAndSemicolonsCannotBeTyped) {
    edit(u"DC.Creator"_s, u"PERSONALNAME=Ann Lee; corporateName=ACT Fire; email=a@b.example"_s, {}, u"AglsAgent"_s);
    then(u"frmAglsAgent"_s, [](QDialog& agent) {
        EXPECT_EQ(child<QLineEdit>(agent, u"personalName"_s)->text(), u"Ann Lee"_s);
        EXPECT_EQ(child<QLineEdit>(agent, u"email"_s)->text(), u"a@b.example"_s);
        EXPECT_EQ(child<QComboBox>(agent, u"jurisdiction"_s)->currentText(), QString());  // the proposals fill nothing in
        child<QLineEdit>(agent, u"email"_s)->clear();
        child<QComboBox>(agent, u"jurisdiction"_s)->setEditText(u"Other place"_s);
        widget_input::type(child<QLineEdit>(agent, u"contact"_s), u"a;b"_s);
        child<QComboBox>(agent, u"sector"_s)->lineEdit()->setText(u"x;;y"_s);  // pasted into a list's box
        press(agent, u"ok"_s);
    });
    clickContentBox();
    EXPECT_EQ(content(1), u"personalName=Ann Lee; corporateName=ACT Fire; jurisdiction=Other place; contact=ab; "
                          u"sector=xy"_s);
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->text(), content(1));  // a later change there builds on it
}

TEST_F(ValueEditorTest, AKeyOpensTheEditorCancelWritesNothingAndAReopenedEditorReadsTheLineAgain) {
    edit(u"DC.Creator"_s, u"personalName=First"_s, {}, u"AglsAgent"_s);
    edit(u"DC.Publisher"_s, u"contact=02 6200"_s, {}, u"aglsagent"_s);
    then(u"frmAglsAgent"_s, [](QDialog& agent) {
        EXPECT_EQ(child<QLineEdit>(agent, u"contact"_s)->text(), u"02 6200"_s);
        typeOver(agent, u"personalName"_s, u"left over"_s);
        press(agent, u"cancel"_s);
    });
    then(u"frmAglsAgent"_s, [](QDialog& agent) {
        EXPECT_EQ(child<QLineEdit>(agent, u"personalName"_s)->text(), u"First"_s);
        EXPECT_EQ(child<QLineEdit>(agent, u"contact"_s)->text(), QString());
        child<QLineEdit>(agent, u"personalName"_s)->clear();  // no field left: no value
        press(agent, u"ok"_s);
    });
    widget_input::key(w.find<QLineEdit>(u"editNrmlContent"_s), Qt::Key_X);
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->text(), u"contact=02 6200"_s);  // the key was not typed
    EXPECT_FALSE(recordModified());
    show(1);  // a click into the content of an agent line opens its editor
    QLineEdit* box = w.find<QLineEdit>(u"editNrmlContent"_s);
    widget_input::click(box, Qt::LeftButton, Qt::NoModifier, box->rect().center());
    EXPECT_EQ(content(1), QString());
    EXPECT_EQ(content(2), u"contact=02 6200"_s);
    EXPECT_TRUE(recordModified());
}

TEST_F(ValueEditorTest, TheActVersEditorWritesTheBodyPickedOnceTheListQuestionLetsIt) {
    const QString before = u"corporateName=Ombudsman; positionTitle=Officer"_s;
    edit(u"AGLS.Creator"_s, before, {}, u"ACTVers"_s);
    markListModified();
    boxes.expect(kListQuestion, platform::kAnswerCancel).expect(kListQuestion, platform::kAnswerNo);
    then(u"frmACTVers"_s, [&](QDialog& act) {
        auto* body = child<QComboBox>(act, u"corporateName"_s);
        EXPECT_EQ(body->currentText(), u"Ombudsman"_s);
        widget_input::pick(body, int(frmACTVers::bodies().indexOf(u"Chief Minister 's Department"_s)));
        typeOver(act, u"sectionName"_s, u"Policy"_s);
        press(act, u"ok"_s);  // Cancel to the question: the editor stays open, the line as it was
        EXPECT_TRUE(act.isVisible());
        EXPECT_EQ(content(1), before);
        press(act, u"ok"_s);
    });
    clickContentBox();
    EXPECT_EQ(content(1), u"corporateName=Chief Minister 's Department; sectionName=Policy; positionTitle=Officer"_s);
}

TEST_F(ValueEditorTest, LongContentOpensTheTextEditor) {
    const QString exactly150(150, QLatin1Char('a')), longer = exactly150 + u"b"_s;
    edit(u"DC.Description"_s, exactly150);
    clickContentBox();  // 150 characters: no editor (an unexpected one would fail the test)
    w.find<QLineEdit>(u"editNrmlContent"_s)->setText(longer);
    w.context.document.dropMark();
    then(u"frmLongText"_s, [longer](QDialog& text) {
        auto* box = child<QPlainTextEdit>(text, u"Text1"_s);
        EXPECT_EQ(box->toPlainText(), longer);
        box->moveCursor(QTextCursor::End);
        widget_input::type(box, u" more"_s);
        press(text, u"OKButton"_s);
    });
    clickContentBox();
    EXPECT_EQ(content(1), longer + u" more"_s);
    EXPECT_EQ(w.find<QLineEdit>(u"editNrmlContent"_s)->text(), content(1));
    EXPECT_TRUE(recordModified());
}

}  // namespace
