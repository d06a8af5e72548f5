#include "record/RecordWindowTest.h"

#include "record/frmACTVers.h"
#include "record/frmAglsAgent.h"
#include "record/frmLongText.h"

#include <QPlainTextEdit>

namespace {

class ValueEditorTest : public RecordWindowTest {
protected:
    // One more line, shown in the edit panel.
    void edit(const QString& name, const QString& content, const QString& scheme) {
        add(name, content, {}, scheme);
        show(w->MetaPanel->Count());
    }
    void clickContentBox() { widget_input::click(w->editNrmlContent, Qt::LeftButton, {}, QPoint(5, 5)); }
};

TEST_F(ValueEditorTest, TheAglsAgentEditorRoundTripsTheValueAndSemicolonsCannotBeTyped) {
    edit(u"DC.Creator"_s, u"PERSONALNAME=Ann Lee; corporateName=ACT Fire; email=ann@fire.example"_s, u"AglsAgent"_s);
    then<frmAglsAgent>([](frmAglsAgent& agent) {
        EXPECT_EQ(agent.personalName->text(), u"Ann Lee"_s);
        EXPECT_EQ(agent.email->text(), u"ann@fire.example"_s);
        EXPECT_EQ(agent.jurisdiction->currentText(), QString());  // the proposals fill nothing in
        agent.email->clear();
        agent.jurisdiction->setEditText(u"Other place"_s);
        widget_input::type(agent.contact, u"a;b"_s);
        agent.sector->lineEdit()->setText(u"x;;y"_s);  // pasted into a list's box
        agent.ok->click();
    });
    clickContentBox();
    EXPECT_EQ(content(1), u"personalName=Ann Lee; corporateName=ACT Fire; jurisdiction=Other place; contact=ab; "
                          u"sector=xy"_s);
    EXPECT_TRUE(recordModified());
    EXPECT_EQ(w->editNrmlContent->text(), content(1));  // a later change there builds on it
}

TEST_F(ValueEditorTest, AKeyOpensTheEditorCancelWritesNothingAndAReopenedEditorReadsTheLineAgain) {
    edit(u"DC.Creator"_s, u"personalName=First"_s, u"AglsAgent"_s);
    edit(u"DC.Publisher"_s, u"contact=02 6200"_s, u"aglsagent"_s);
    then<frmAglsAgent>([](frmAglsAgent& agent) {
        EXPECT_EQ(agent.contact->text(), u"02 6200"_s);
        agent.personalName->setText(u"left over"_s);
        agent.cancel->click();
    });
    then<frmAglsAgent>([](frmAglsAgent& agent) {
        EXPECT_EQ(agent.personalName->text(), u"First"_s);
        EXPECT_EQ(agent.contact->text(), QString());
        agent.personalName->clear();  // no field left: no value
        agent.ok->click();
    });
    widget_input::key(w->editNrmlContent, Qt::Key_X);
    EXPECT_EQ(w->editNrmlContent->text(), u"contact=02 6200"_s);  // the key was not typed
    EXPECT_FALSE(recordModified());
    w->MetaPanel->setSelectedItem(line(1));
    w->showAglsAgent();
    EXPECT_EQ(content(1), QString());
    EXPECT_EQ(content(2), u"contact=02 6200"_s);
    EXPECT_TRUE(recordModified());
}

TEST_F(ValueEditorTest, TheActVersEditorWritesTheBodyPickedOnceTheListQuestionLetsIt) {
    const QString before = u"corporateName=Ombudsman; positionTitle=Officer"_s;
    edit(u"AGLS.Creator"_s, before, u"ACTVers"_s);
    markListModified();
    boxes.expect(kListQuestion, platform::vbCancel).expect(kListQuestion, platform::vbNo);
    then<frmACTVers>([&](frmACTVers& act) {
        EXPECT_EQ(act.corporateName->currentText(), u"Ombudsman"_s);
        act.corporateName->setCurrentIndex(int(frmACTVers::bodies().indexOf(u"Chief Minister 's Department"_s)));
        act.sectionName->setText(u"Policy"_s);
        act.ok->click();  // Cancel to the question: the editor stays open, the line as it was
        EXPECT_TRUE(act.isVisible());
        EXPECT_EQ(content(1), before);
        act.ok->click();
    });
    clickContentBox();
    EXPECT_EQ(content(1), u"corporateName=Chief Minister 's Department; sectionName=Policy; positionTitle=Officer"_s);
}

TEST_F(ValueEditorTest, LongContentOpensTheTextEditorWhichStoresItEncoded) {
    Preferences::charEncoding = u"2"_s;
    const QString exactly150(150, QLatin1Char('a')), longer = exactly150 + u"b"_s;
    edit(u"DC.Description"_s, exactly150, QString());
    clickContentBox();  // 150 characters: no editor (an unexpected one would fail the test)
    w->editNrmlContent->setText(longer);
    w->documentState->dropMark();
    then<frmLongText>([longer](frmLongText& text) {
        EXPECT_EQ(text.Text1->toPlainText(), longer);
        text.Text1->setPlainText(longer + u" Fish & Chips é"_s);
        text.OKButton->click();
    });
    clickContentBox();
    EXPECT_EQ(content(1), longer + u" Fish &amp; Chips &eacute;"_s);
    EXPECT_EQ(w->editNrmlContent->text(), longer + u" Fish & Chips é"_s);
    EXPECT_TRUE(recordModified());
}

}  // namespace
