#include "app/Preferences.h"
#include "platform/ListView.h"
#include "platform/StatusBar.h"
#include "platform/WidgetInput.h"
#include "record/frmACTVers.h"
#include "record/frmAglsAgent.h"
#include "record/frmLongText.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using testing_support::ScriptedModals;
using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

TEST(AgentValue, ElementsAreReadUpToTheNextSemicolonWhateverTheKeysCase) {
    const QString text = QStringLiteral("PERSONALNAME=Ann Lee; corporateName=ACT Fire Brigade");
    EXPECT_EQ(AgentEditor::getElement(text, QStringLiteral("personalName=")), QStringLiteral("Ann Lee"));
    EXPECT_EQ(AgentEditor::getElement(text, QStringLiteral("corporateName=")), QStringLiteral("ACT Fire Brigade"));
    EXPECT_EQ(AgentEditor::getElement(text, QStringLiteral("email=")), QString());
    // The last field runs to the end; nothing is trimmed.
    EXPECT_EQ(AgentEditor::getElement(QStringLiteral("email=a@b.example "), QStringLiteral("email=")),
              QStringLiteral("a@b.example "));
    EXPECT_EQ(AgentEditor::getElement(QStringLiteral("contact=;x"), QStringLiteral("contact=")), QString());
    // A plain first match: a key inside another field's value is found there.
    EXPECT_EQ(AgentEditor::getElement(QStringLiteral("contact=see email=x; email=y"), QStringLiteral("email=")),
              QStringLiteral("x"));
}

TEST(AgentValue, FieldsAreJoinedInOrderLeavingEmptyOnesOut) {
    EXPECT_EQ(AgentEditor::composeValue({{QStringLiteral("personalName="), QString()},
                                         {QStringLiteral("sector="), QStringLiteral("Government")}}),
              QStringLiteral("sector=Government"));
    EXPECT_EQ(AgentEditor::composeValue({{QStringLiteral("a="), QStringLiteral("1")},
                                         {QStringLiteral("b="), QString()},
                                         {QStringLiteral("c="), QStringLiteral("3")}}),
              QStringLiteral("a=1; c=3"));
    EXPECT_EQ(AgentEditor::composeValue({{QStringLiteral("a="), QString()}}), QString());
}

class ValueEditorTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;
    ScriptedModals modals;
    QString savedEncoding = Preferences::charEncoding;

    void TearDown() override { Preferences::charEncoding = savedEncoding; }
    platform::ListItem* line(int i) const { return w->MetaPanel->Item(i); }
    // One line, shown in the edit panel.
    void edit(const QString& name, const QString& content, const QString& scheme) {
        w->addRecordLine({name, content, QString(), scheme});
        w->MetaPanel->setSelectedItem(line(w->MetaPanel->Count()));
        w->editCurrentLine();
    }
    void clickContentBox() { widget_input::click(w->editNrmlContent, Qt::LeftButton, {}, QPoint(5, 5)); }
    bool recordModified() const { return w->documentModified(QStringLiteral("Record")); }
};

TEST_F(ValueEditorTest, TheAglsAgentEditorRoundTripsTheValue) {
    edit(QStringLiteral("DC.Creator"),
         QStringLiteral("PERSONALNAME=Ann Lee; corporateName=ACT Fire Brigade; email=ann@fire.example"),
         QStringLiteral("AglsAgent"));
    modals.then([](QDialog& d) {
        auto& agent = static_cast<frmAglsAgent&>(d);
        EXPECT_EQ(agent.windowTitle(), QStringLiteral("AGLS Agent Scheme"));
        EXPECT_EQ(agent.personalName->text(), QStringLiteral("Ann Lee"));
        EXPECT_EQ(agent.corporateName->text(), QStringLiteral("ACT Fire Brigade"));
        EXPECT_EQ(agent.email->text(), QStringLiteral("ann@fire.example"));
        EXPECT_EQ(agent.jurisdiction->currentText(), QString());  // the proposals fill nothing in
        EXPECT_EQ(agent.sector->currentText(), QString());
        ASSERT_EQ(agent.jurisdiction->count(), 12);
        EXPECT_EQ(agent.jurisdiction->itemText(2), QStringLiteral("Australian Capital Territory"));
        EXPECT_EQ(agent.jurisdiction->itemText(11), QStringLiteral("Other"));
        EXPECT_EQ(agent.sector->itemText(1), QStringLiteral("Non-Government"));
        agent.email->clear();
        agent.sector->setCurrentIndex(0);
        agent.jurisdiction->setEditText(QStringLiteral("Other place"));
        agent.ok->click();
    });
    clickContentBox();
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("personalName=Ann Lee; corporateName=ACT Fire Brigade; "
                                                   "jurisdiction=Other place; sector=Government"));
    EXPECT_TRUE(recordModified());
    // The content box shows the new value, so a later change there builds on it.
    EXPECT_EQ(w->editNrmlContent->text(), line(1)->SubItems(1));
}

TEST_F(ValueEditorTest, AKeyInTheContentBoxOpensTheEditorAndCancelWritesNothing) {
    const QString value = QStringLiteral("contact=02 6200 0000");
    edit(QStringLiteral("DC.Publisher"), value, QStringLiteral("aglsagent"));
    modals.then([](QDialog& d) {
        auto& agent = static_cast<frmAglsAgent&>(d);
        EXPECT_EQ(agent.contact->text(), QStringLiteral("02 6200 0000"));
        agent.contact->setText(QStringLiteral("changed"));
        agent.cancel->click();
    });
    widget_input::key(w->editNrmlContent, Qt::Key_X);
    EXPECT_EQ(line(1)->SubItems(1), value);
    EXPECT_EQ(w->editNrmlContent->text(), value);  // the key was not typed
    EXPECT_FALSE(recordModified());
}

TEST_F(ValueEditorTest, EmptyFieldsEmptyTheValueAndSemicolonsCannotBeTyped) {
    edit(QStringLiteral("DC.Creator"), QStringLiteral("personalName=A; address=1 Long St"), QStringLiteral("AglsAgent"));
    modals.then([](QDialog& d) {
        auto& agent = static_cast<frmAglsAgent&>(d);
        agent.personalName->clear();
        agent.address->clear();
        widget_input::type(agent.contact, QStringLiteral("a;b"));
        EXPECT_EQ(agent.contact->text(), QStringLiteral("ab"));
        EXPECT_EQ(agent.contact->cursorPosition(), 2);
        agent.sector->lineEdit()->setText(QStringLiteral("x;;y"));  // pasted into a list's box
        EXPECT_EQ(agent.sector->currentText(), QStringLiteral("xy"));
        agent.contact->clear();
        agent.sector->setEditText(QString());
        agent.ok->click();
    });
    w->showAglsAgent();
    EXPECT_EQ(line(1)->SubItems(1), QString());
    EXPECT_TRUE(recordModified());
}

TEST_F(ValueEditorTest, TheActVersEditorOffersTheBodiesExactlyAsStored) {
    const QStringList& bodies = frmACTVers::bodies();
    ASSERT_EQ(bodies.size(), 105);
    EXPECT_EQ(bodies.first(), QStringLiteral("Accreditation and Registration Council "));
    EXPECT_EQ(bodies.last(), QStringLiteral("Workers Compensation Supplementation Fund"));
    EXPECT_EQ(bodies.at(29), QStringLiteral("Chief Minister 's Department"));
    EXPECT_TRUE(bodies.contains(QStringLiteral("Registrar -General")));
    EXPECT_TRUE(bodies.contains(QStringLiteral("Veterinary Surgeon 's Board")));

    edit(QStringLiteral("AGLS.Creator"), QStringLiteral("corporateName=Ombudsman; positionTitle=Officer"),
         QStringLiteral("ACTVers"));
    modals.then([&](QDialog& d) {
        auto& act = static_cast<frmACTVers&>(d);
        EXPECT_EQ(act.windowTitle(), QStringLiteral("ACTVers Scheme"));
        EXPECT_TRUE(act.note->text().startsWith(QStringLiteral("ActVers is used by authors of AGLS metadata")));
        EXPECT_EQ(act.corporateName->currentText(), QStringLiteral("Ombudsman"));
        EXPECT_EQ(act.positionTitle->text(), QStringLiteral("Officer"));
        ASSERT_EQ(act.corporateName->count(), 105);
        act.corporateName->setCurrentIndex(int(bodies.indexOf(QStringLiteral("Chief Minister 's Department"))));
        act.sectionName->setText(QStringLiteral("Policy"));
        act.ok->click();
    });
    clickContentBox();
    EXPECT_EQ(line(1)->SubItems(1),
              QStringLiteral("corporateName=Chief Minister 's Department; sectionName=Policy; positionTitle=Officer"));
    EXPECT_TRUE(recordModified());
}

TEST_F(ValueEditorTest, AnEditorReopenedReadsTheLineAgain) {
    edit(QStringLiteral("DC.Creator"), QStringLiteral("personalName=First"), QStringLiteral("AglsAgent"));
    edit(QStringLiteral("DC.Publisher"), QStringLiteral("email=second@x.example"), QStringLiteral("AglsAgent"));
    modals
        .then([](QDialog& d) {
            auto& agent = static_cast<frmAglsAgent&>(d);
            EXPECT_EQ(agent.email->text(), QStringLiteral("second@x.example"));
            agent.personalName->setText(QStringLiteral("left over"));
            agent.cancel->click();
        })
        .then([](QDialog& d) {
            auto& agent = static_cast<frmAglsAgent&>(d);
            EXPECT_EQ(agent.personalName->text(), QStringLiteral("First"));
            EXPECT_EQ(agent.email->text(), QString());
            agent.ok->click();
        });
    w->showAglsAgent();
    w->MetaPanel->setSelectedItem(line(1));
    w->showAglsAgent();
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("personalName=First"));
    EXPECT_EQ(line(2)->SubItems(1), QStringLiteral("email=second@x.example"));
}

TEST_F(ValueEditorTest, ACancelledSaveQuestionKeepsTheEditorOpenAndTheLineAsItWas) {
    edit(QStringLiteral("DC.Creator"), QStringLiteral("personalName=A"), QStringLiteral("AglsAgent"));
    w->StatusBar1->setPanelText(2, QStringLiteral("Modified"));
    w->StatusBar1->setPanelTag(2, QStringLiteral("List"));
    boxes.expect(QStringLiteral("Save the list changes in the Tree View first?"), platform::vbCancel);
    modals.then([](QDialog& d) {
        auto& agent = static_cast<frmAglsAgent&>(d);
        agent.personalName->setText(QStringLiteral("B"));
        agent.ok->click();
        EXPECT_TRUE(agent.isVisible());
        agent.cancel->click();
    });
    w->showAglsAgent();
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("personalName=A"));
    EXPECT_TRUE(w->documentModified(QStringLiteral("List")));
}

TEST_F(ValueEditorTest, LongContentOpensTheTextEditorWhichStoresItEncoded) {
    Preferences::charEncoding = QStringLiteral("2");
    const QString exactly150(150, QLatin1Char('a'));
    edit(QStringLiteral("DC.Description"), exactly150, QString());
    clickContentBox();  // 150 characters: no editor (an unexpected one would fail the test)

    const QString longer = exactly150 + QStringLiteral("b");
    w->editNrmlContent->setText(longer);
    w->StatusBar1->setPanelText(2, QString());
    modals
        .then([&](QDialog& d) {
            auto& text = static_cast<frmLongText&>(d);
            EXPECT_EQ(text.windowTitle(), QStringLiteral("Enter Text"));
            EXPECT_EQ(text.Text1->toPlainText(), longer);
            text.Text1->setPlainText(QStringLiteral("ignored"));
            text.CancelButton->click();
        })
        .then([&](QDialog& d) {
            auto& text = static_cast<frmLongText&>(d);
            EXPECT_EQ(text.Text1->toPlainText(), longer);
            text.Text1->setPlainText(longer + QStringLiteral(" Fish & Chips é"));
            text.OKButton->click();
        });
    clickContentBox();
    EXPECT_EQ(line(1)->SubItems(1), longer);
    EXPECT_FALSE(recordModified());
    clickContentBox();
    EXPECT_EQ(line(1)->SubItems(1), longer + QStringLiteral(" Fish &amp; Chips &eacute;"));
    EXPECT_EQ(w->editNrmlContent->text(), longer + QStringLiteral(" Fish & Chips é"));
    EXPECT_TRUE(recordModified());
}

}  // namespace
