#include "app/Preferences.h"
#include "domains/SchemeHosts.h"
#include "domains/modSchemas.h"
#include "platform/ListView.h"
#include "platform/StatusBar.h"
#include "record/frmdlogInput.h"
#include "support/CommandRecorder.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::CommandRecorder;
using testing_support::ScriptedModals;
using testing_support::TestWindow;

namespace {

class EditPanelTest : public ::testing::Test {
protected:
    TestWindow w;
    testing_support::KeptValues kept{&modSchemas::defaultSchema, &Preferences::charEncoding};

    platform::ListItem* line(int i) const { return w->MetaPanel->Item(i); }
    // Adds lines and makes line `current` the one being edited.
    void record(std::initializer_list<MetadataLine> lines, int current = 1) {
        for (const MetadataLine& l : lines) w->addRecordLine(l);
        w->MetaPanel->setSelectedItem(line(current));
        w->editCurrentLine();
    }
    bool modified() const { return w->documentState->modified(DocumentState::Document::Record); }
};

TEST_F(EditPanelTest, TypedContentIsStoredEncodedAndShownDecoded) {
    Preferences::charEncoding = u"2"_s;
    record({{u"DC.Title"_s, u"Fish &amp; Chips"_s, {}, {}}, {QString(), QString(), {}, {}}});
    EXPECT_EQ(w->editNrmlContent->text(), u"Fish & Chips"_s);
    EXPECT_FALSE(modified());  // showing a line changes nothing
    w->editNrmlContent->setText(u"Fish & Chips é"_s);
    EXPECT_EQ(line(1)->SubItems(1), u"Fish &amp; Chips &eacute;"_s);
    EXPECT_TRUE(modified());

    // A line without a name (a link row) keeps the text as typed.
    w->MetaPanel->setSelectedItem(line(2));
    w->editCurrentLine();
    w->editNrmlContent->setText(u"a & b"_s);
    EXPECT_EQ(line(2)->SubItems(1), u"a & b"_s);
}

TEST_F(EditPanelTest, ChangesWhileTheProgramFillsAreNotWrittenOrMarked) {
    record({{u"DC.Title"_s, u"x"_s, {}, {}}});
    w->fillingRecord = true;
    w->editNrmlContent->setText(u"changed"_s);
    w->fillingRecord = false;
    EXPECT_EQ(line(1)->SubItems(1), u"x"_s);
    EXPECT_FALSE(modified());
}

TEST_F(EditPanelTest, SelectingAnotherLineNeverWipesItsLanguage) {
    modSchemas::defaultSchema = u"AGLS1.3"_s;
    record({{u"DC.Title"_s, u"a"_s, u"en"_s, {}}, {u"DC.Creator"_s, u"b"_s, u"fr"_s, {}}});
    EXPECT_EQ(w->editNrmlLang->currentText(), u"en"_s);
    w->MetaPanel->setSelectedItem(line(2));
    w->editCurrentLine();
    EXPECT_EQ(w->editNrmlLang->currentText(), u"fr"_s);
    EXPECT_EQ(line(1)->SubItems(2), u"en"_s);
    EXPECT_FALSE(modified());
    // The user's own change is written and enables "Cancel Editing this page".
    w->editNrmlLang->setEditText(u"de"_s);
    EXPECT_EQ(line(2)->SubItems(2), u"de"_s);
    EXPECT_TRUE(w->mnuMaintMeta(9)->isEnabled());
}

TEST_F(EditPanelTest, DatesAreBuiltFromTheBoxesAndFillingThemWritesNothing) {
    record({{u"DC.Date.created"_s, u"1875-06-30"_s, {}, u"ISO8601"_s}});
    EXPECT_EQ(w->editDateyear->currentText(), u"1875"_s);  // outside the offered years
    EXPECT_EQ(w->editDateMonth->currentText(), u"06"_s);
    EXPECT_EQ(line(1)->SubItems(1), u"1875-06-30"_s);
    EXPECT_FALSE(modified());

    w->editDateMonth->setEditText(QString());
    EXPECT_EQ(line(1)->SubItems(1), u"1875"_s);  // a day without a month is not written
    w->editDateMonth->setEditText(u"02"_s);
    EXPECT_EQ(line(1)->SubItems(1), u"1875-02-30"_s);
    w->editDateyear->setEditText(QString());
    EXPECT_EQ(line(1)->SubItems(1), QString());
    EXPECT_TRUE(modified());
}

TEST_F(EditPanelTest, ValueListsByElementAndDomain) {
    modSchemas::defaultSchema = u"AGLS"_s;
    record({{u"DC.Type.aggregation"_s, QString(), {}, {}}});
    EXPECT_TRUE(w->EditList->isVisibleTo(w->EditPanel));
    EXPECT_EQ(w->EditList->currentText(), u"item"_s);
    ASSERT_EQ(w->EditList->count(), 2);
    EXPECT_EQ(w->EditList->itemText(1), u"collection"_s);
    // The shown default goes into the empty line.
    EXPECT_EQ(line(1)->SubItems(1), u"item"_s);

    w->MetaPanel->Clear();
    modSchemas::defaultSchema = u"AGLS1.3"_s;
    record({{u"DC.Type.aggregation"_s, QString(), {}, {}}});
    EXPECT_FALSE(w->EditList->isVisibleTo(w->EditPanel));
    EXPECT_TRUE(w->editNrmlContent->isVisibleTo(w->EditPanel));

    w->MetaPanel->Clear();
    record({{u"HI.Status"_s, QString(), {}, {}}});
    EXPECT_EQ(w->EditList->count(), 4);
    EXPECT_EQ(w->EditList->itemText(3), u"catalogued"_s);
    w->EditList->setEditText(u"None"_s);
    EXPECT_EQ(line(1)->SubItems(1), QString());
    EXPECT_TRUE(modified());
}

TEST_F(EditPanelTest, ButtonsAndLoadSchemeFilesFollowTheElement) {
    CommandRecorder recorder;
    modSchemas::defaultSchema = u"GILS-MONTANA"_s;
    record({{u"GILS.subjects"_s, QString(), {}, {}},
            {u"DC.Title.Alternative"_s, QString(), {}, {}},
            {u"MyTitleThing"_s, QString(), {}, {}}});
    EXPECT_EQ(w->EditLoadSchemeTag, u"subjects.kqs"_s);
    w->EditLoadScheme_Click();
    EXPECT_EQ(recorder.commands.last(), u"mtp://url="_s + SchemeHosts::stateLibraryHost + u"/montana/topics.kqs"_s);
    EXPECT_EQ(w->documentState->listType(), u"schema"_s);

    w->MetaPanel->setSelectedItem(line(2));
    w->editCurrentLine();
    EXPECT_FALSE(w->editAddTitle->isHidden());
    w->MetaPanel->setSelectedItem(line(3));
    w->editCurrentLine();
    EXPECT_TRUE(w->editAddTitle->isHidden());

    modSchemas::defaultSchema = u"GILS-UTAH"_s;
    w->MetaPanel->Clear();
    record({{u"UT.copyright.language"_s, QString(), {}, {}}});
    EXPECT_EQ(w->EditLoadSchemeTag, u"GILS-UTAH-copyright.kqs"_s);
    w->EditLoadScheme_Click();
    EXPECT_EQ(recorder.commands.last(),
              u"mtp://url="_s + SchemeHosts::stateHostB + u"/schemes/ut/GILS-UTAH-copyright.kqs"_s);
}

TEST_F(EditPanelTest, SchemeChoicesSkipOnlyAFinalEmptyPiece) {
    modSchemas::defaultSchema = u"AGLS1.3"_s;
    record({{u"DC.Identifier"_s, u"x"_s, {}, u"URI"_s}});
    QString list;
    const QString choices = modSchemas::getSchemeList(u"DC.Identifier"_s, list);
    ASSERT_TRUE(choices.endsWith(QLatin1Char('|')));
    EXPECT_EQ(w->editNrmlScheme->count(), choices.count(QLatin1Char('|')));
    EXPECT_EQ(w->editNrmlScheme->currentText(), u"URI"_s);
    EXPECT_FALSE(w->editAddURL->isHidden());
    // Picking a scheme is written at once, "None" as empty, and disables the cancel item.
    w->mnuMaintMeta(9)->setEnabled(true);
    w->editNrmlScheme->setEditText(u"None"_s);
    EXPECT_EQ(line(1)->SubItems(3), QString());
    EXPECT_FALSE(w->mnuMaintMeta(9)->isEnabled());
}

TEST_F(EditPanelTest, RenamingGoesThroughTheNameDialog) {
    record({{u"DC.Title"_s, u"x"_s, {}, {}}});
    ScriptedModals modals;
    modals.then([](QDialog& d) { static_cast<frmdlogInput&>(d).cmdCancel->click(); }).then([](QDialog& d) {
        auto& input = static_cast<frmdlogInput&>(d);
        EXPECT_EQ(input.txtFieldName->text(), u"DC.Title"_s);
        EXPECT_EQ(input.windowTitle(), u"Edit"_s);
        input.txtFieldName->setText(u"DC.Title.Alternative"_s);
        input.cmdOK->click();
    });
    w->editNrmlName_Click();
    EXPECT_EQ(line(1)->Text(), u"DC.Title"_s);
    w->editNrmlName_Click();
    EXPECT_EQ(line(1)->Text(), u"DC.Title.Alternative"_s);
    EXPECT_TRUE(modified());
}

}  // namespace
