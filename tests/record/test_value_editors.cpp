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

using namespace Qt::StringLiterals;

using testing_support::ScriptedModals;
using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

TEST(AgentValue, ElementsAreReadUpToTheNextSemicolonWhateverTheKeysCase) {
    const QString text = u"PERSONALNAME=Ann Lee; corporateName=ACT Fire Brigade"_s;
    const std::tuple<QString, QString, QString> cases[] = {
        {text, u"personalName="_s, u"Ann Lee"_s},
        {text, u"corporateName="_s, u"ACT Fire Brigade"_s},
        {text, u"email="_s, QString()},
        {u"email=a@b.example "_s, u"email="_s, u"a@b.example "_s},  // the last runs to the end, untrimmed
        {u"contact=;x"_s, u"contact="_s, QString()},
        {u"contact=see email=x; email=y"_s, u"email="_s, u"x"_s},  // a plain first match
    };
    for (const auto& [value, key, expected] : cases) EXPECT_EQ(AgentEditor::getElement(value, key), expected) << key;
}

TEST(AgentValue, FieldsAreJoinedInOrderLeavingEmptyOnesOut) {
    EXPECT_EQ(AgentEditor::composeValue({{u"a="_s, u"1"_s}, {u"b="_s, QString()}, {u"c="_s, u"3"_s}}), u"a=1; c=3"_s);
    EXPECT_EQ(AgentEditor::composeValue({{u"a="_s, QString()}}), QString());
}

class ValueEditorTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;
    ScriptedModals modals;
    testing_support::KeptValues kept{&Preferences::charEncoding};

    platform::ListItem* line(int i) const { return w->MetaPanel->Item(i); }
    // One line, shown in the edit panel.
    void edit(const QString& name, const QString& content, const QString& scheme) {
        w->addRecordLine({name, content, QString(), scheme});
        w->MetaPanel->setSelectedItem(line(w->MetaPanel->Count()));
        w->editCurrentLine();
    }
    void clickContentBox() { widget_input::click(w->editNrmlContent, Qt::LeftButton, {}, QPoint(5, 5)); }
    bool recordModified() const { return w->documentState->modified(DocumentState::Document::Record); }
};

TEST_F(ValueEditorTest, TheAglsAgentEditorRoundTripsTheValue) {
    edit(u"DC.Creator"_s, u"PERSONALNAME=Ann Lee; corporateName=ACT Fire Brigade; email=ann@fire.example"_s,
         u"AglsAgent"_s);
    modals.then([](QDialog& d) {
        auto& agent = static_cast<frmAglsAgent&>(d);
        EXPECT_EQ(agent.windowTitle(), u"AGLS Agent Scheme"_s);
        EXPECT_EQ(agent.personalName->text(), u"Ann Lee"_s);
        EXPECT_EQ(agent.corporateName->text(), u"ACT Fire Brigade"_s);
        EXPECT_EQ(agent.email->text(), u"ann@fire.example"_s);
        EXPECT_EQ(agent.jurisdiction->currentText(), QString());  // the proposals fill nothing in
        agent.email->clear();
        agent.sector->setCurrentIndex(0);
        agent.jurisdiction->setEditText(u"Other place"_s);
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
    const QString value = u"contact=02 6200 0000"_s;
    edit(u"DC.Publisher"_s, value, u"aglsagent"_s);
    modals.then([](QDialog& d) {
        auto& agent = static_cast<frmAglsAgent&>(d);
        EXPECT_EQ(agent.contact->text(), u"02 6200 0000"_s);
        agent.contact->setText(u"changed"_s);
        agent.cancel->click();
    });
    widget_input::key(w->editNrmlContent, Qt::Key_X);
    EXPECT_EQ(line(1)->SubItems(1), value);
    EXPECT_EQ(w->editNrmlContent->text(), value);  // the key was not typed
    EXPECT_FALSE(recordModified());
}

TEST_F(ValueEditorTest, EmptyFieldsEmptyTheValueAndSemicolonsCannotBeTyped) {
    edit(u"DC.Creator"_s, u"personalName=A; address=1 Long St"_s, u"AglsAgent"_s);
    modals.then([](QDialog& d) {
        auto& agent = static_cast<frmAglsAgent&>(d);
        agent.personalName->clear();
        agent.address->clear();
        widget_input::type(agent.contact, u"a;b"_s);
        EXPECT_EQ(agent.contact->text(), u"ab"_s);
        EXPECT_EQ(agent.contact->cursorPosition(), 2);
        agent.sector->lineEdit()->setText(u"x;;y"_s);  // pasted into a list's box
        EXPECT_EQ(agent.sector->currentText(), u"xy"_s);
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
    EXPECT_EQ(bodies.first(), u"Accreditation and Registration Council "_s);

    edit(u"AGLS.Creator"_s, u"corporateName=Ombudsman; positionTitle=Officer"_s, u"ACTVers"_s);
    modals.then([&](QDialog& d) {
        auto& act = static_cast<frmACTVers&>(d);
        EXPECT_EQ(act.windowTitle(), u"ACTVers Scheme"_s);
        EXPECT_EQ(act.corporateName->currentText(), u"Ombudsman"_s);
        EXPECT_EQ(act.positionTitle->text(), u"Officer"_s);
        act.corporateName->setCurrentIndex(int(bodies.indexOf(u"Chief Minister 's Department"_s)));
        act.sectionName->setText(u"Policy"_s);
        act.ok->click();
    });
    clickContentBox();
    EXPECT_EQ(line(1)->SubItems(1),
              u"corporateName=Chief Minister 's Department; sectionName=Policy; positionTitle=Officer"_s);
    EXPECT_TRUE(recordModified());
}

TEST_F(ValueEditorTest, AnEditorReopenedReadsTheLineAgain) {
    edit(u"DC.Creator"_s, u"personalName=First"_s, u"AglsAgent"_s);
    edit(u"DC.Publisher"_s, u"email=second@x.example"_s, u"AglsAgent"_s);
    modals
        .then([](QDialog& d) {
            auto& agent = static_cast<frmAglsAgent&>(d);
            EXPECT_EQ(agent.email->text(), u"second@x.example"_s);
            agent.personalName->setText(u"left over"_s);
            agent.cancel->click();
        })
        .then([](QDialog& d) {
            auto& agent = static_cast<frmAglsAgent&>(d);
            EXPECT_EQ(agent.personalName->text(), u"First"_s);
            EXPECT_EQ(agent.email->text(), QString());
            agent.ok->click();
        });
    w->showAglsAgent();
    w->MetaPanel->setSelectedItem(line(1));
    w->showAglsAgent();
    EXPECT_EQ(line(1)->SubItems(1), u"personalName=First"_s);
    EXPECT_EQ(line(2)->SubItems(1), u"email=second@x.example"_s);
}

TEST_F(ValueEditorTest, ACancelledSaveQuestionKeepsTheEditorOpenAndTheLineAsItWas) {
    edit(u"DC.Creator"_s, u"personalName=A"_s, u"AglsAgent"_s);
    w->documentState->markModified(DocumentState::Document::List);
    boxes.expect(u"Save the list changes in the Tree View first?"_s, platform::vbCancel);
    modals.then([](QDialog& d) {
        auto& agent = static_cast<frmAglsAgent&>(d);
        agent.personalName->setText(u"B"_s);
        agent.ok->click();
        EXPECT_TRUE(agent.isVisible());
        agent.cancel->click();
    });
    w->showAglsAgent();
    EXPECT_EQ(line(1)->SubItems(1), u"personalName=A"_s);
    EXPECT_TRUE(w->documentState->modified(DocumentState::Document::List));
}

TEST_F(ValueEditorTest, LongContentOpensTheTextEditorWhichStoresItEncoded) {
    Preferences::charEncoding = u"2"_s;
    const QString exactly150(150, QLatin1Char('a'));
    edit(u"DC.Description"_s, exactly150, QString());
    clickContentBox();  // 150 characters: no editor (an unexpected one would fail the test)

    const QString longer = exactly150 + u"b"_s;
    w->editNrmlContent->setText(longer);
    w->documentState->dropMark();
    modals
        .then([&](QDialog& d) {
            auto& text = static_cast<frmLongText&>(d);
            EXPECT_EQ(text.windowTitle(), u"Enter Text"_s);
            EXPECT_EQ(text.Text1->toPlainText(), longer);
            text.Text1->setPlainText(u"ignored"_s);
            text.CancelButton->click();
        })
        .then([&](QDialog& d) {
            auto& text = static_cast<frmLongText&>(d);
            EXPECT_EQ(text.Text1->toPlainText(), longer);
            text.Text1->setPlainText(longer + u" Fish & Chips é"_s);
            text.OKButton->click();
        });
    clickContentBox();
    EXPECT_EQ(line(1)->SubItems(1), longer);
    EXPECT_FALSE(recordModified());
    clickContentBox();
    EXPECT_EQ(line(1)->SubItems(1), longer + u" Fish &amp; Chips &eacute;"_s);
    EXPECT_EQ(w->editNrmlContent->text(), longer + u" Fish & Chips é"_s);
    EXPECT_TRUE(recordModified());
}

}  // namespace
