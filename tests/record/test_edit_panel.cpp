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

using testing_support::CommandRecorder;
using testing_support::ScriptedModals;
using testing_support::TestWindow;

namespace {

class EditPanelTest : public ::testing::Test {
protected:
    TestWindow w;
    QString savedDomain = modSchemas::defaultSchema;
    QString savedEncoding = Preferences::charEncoding;

    void TearDown() override {
        modSchemas::defaultSchema = savedDomain;
        Preferences::charEncoding = savedEncoding;
    }
    platform::ListItem* line(int i) const { return w->MetaPanel->Item(i); }
    // Adds lines and makes line `current` the one being edited.
    void record(std::initializer_list<MetadataLine> lines, int current = 1) {
        for (const MetadataLine& l : lines) w->addRecordLine(l);
        w->MetaPanel->setSelectedItem(line(current));
        w->editCurrentLine();
    }
    bool modified() const { return w->documentModified(QStringLiteral("Record")); }
};

TEST_F(EditPanelTest, TypedContentIsStoredEncodedAndShownDecoded) {
    Preferences::charEncoding = QStringLiteral("2");
    record({{QStringLiteral("DC.Title"), QStringLiteral("Fish &amp; Chips"), {}, {}}, {QString(), QString(), {}, {}}});
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("Fish & Chips"));
    EXPECT_FALSE(modified());  // showing a line changes nothing
    w->editNrmlContent->setText(QStringLiteral("Fish & Chips é"));
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("Fish &amp; Chips &eacute;"));
    EXPECT_TRUE(modified());

    // A line without a name (a link row) keeps the text as typed.
    w->MetaPanel->setSelectedItem(line(2));
    w->editCurrentLine();
    w->editNrmlContent->setText(QStringLiteral("a & b"));
    EXPECT_EQ(line(2)->SubItems(1), QStringLiteral("a & b"));
}

TEST_F(EditPanelTest, ChangesWhileTheProgramFillsAreNotWrittenOrMarked) {
    record({{QStringLiteral("DC.Title"), QStringLiteral("x"), {}, {}}});
    w->fillingRecord = true;
    w->editNrmlContent->setText(QStringLiteral("changed"));
    w->fillingRecord = false;
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("x"));
    EXPECT_FALSE(modified());
}

TEST_F(EditPanelTest, SelectingAnotherLineNeverWipesItsLanguage) {
    modSchemas::defaultSchema = QStringLiteral("AGLS1.3");
    record({{QStringLiteral("DC.Title"), QStringLiteral("a"), QStringLiteral("en"), {}},
            {QStringLiteral("DC.Creator"), QStringLiteral("b"), QStringLiteral("fr"), {}}});
    EXPECT_EQ(w->editNrmlLang->currentText(), QStringLiteral("en"));
    w->MetaPanel->setSelectedItem(line(2));
    w->editCurrentLine();
    EXPECT_EQ(w->editNrmlLang->currentText(), QStringLiteral("fr"));
    EXPECT_EQ(line(1)->SubItems(2), QStringLiteral("en"));
    EXPECT_EQ(line(2)->SubItems(2), QStringLiteral("fr"));
    EXPECT_FALSE(modified());
    // The user's own change is written and enables "Cancel Editing this page".
    w->editNrmlLang->setEditText(QStringLiteral("de"));
    EXPECT_EQ(line(2)->SubItems(2), QStringLiteral("de"));
    EXPECT_TRUE(w->mnuMaintMeta(9)->isEnabled());
}

TEST_F(EditPanelTest, DatesAreBuiltFromTheBoxesAndFillingThemWritesNothing) {
    record({{QStringLiteral("DC.Date.created"), QStringLiteral("1875-06-30"), {}, QStringLiteral("ISO8601")}});
    EXPECT_EQ(w->editDateyear->currentText(), QStringLiteral("1875"));  // outside the offered years
    EXPECT_EQ(w->editDateMonth->currentText(), QStringLiteral("06"));
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("1875-06-30"));
    EXPECT_FALSE(modified());

    w->editDateMonth->setEditText(QString());
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("1875"));  // a day without a month is not written
    w->editDateMonth->setEditText(QStringLiteral("02"));
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("1875-02-30"));
    w->editDateyear->setEditText(QString());
    EXPECT_EQ(line(1)->SubItems(1), QString());
    EXPECT_TRUE(modified());
}

TEST_F(EditPanelTest, ValueListsByElementAndDomain) {
    modSchemas::defaultSchema = QStringLiteral("AGLS");
    record({{QStringLiteral("DC.Type.aggregation"), QString(), {}, {}}});
    EXPECT_TRUE(w->EditList->isVisibleTo(w->EditPanel));
    EXPECT_EQ(w->EditList->currentText(), QStringLiteral("item"));
    ASSERT_EQ(w->EditList->count(), 2);
    EXPECT_EQ(w->EditList->itemText(1), QStringLiteral("collection"));
    // The shown default goes into the empty line.
    EXPECT_EQ(line(1)->SubItems(1), QStringLiteral("item"));

    w->MetaPanel->Clear();
    modSchemas::defaultSchema = QStringLiteral("AGLS1.3");
    record({{QStringLiteral("DC.Type.aggregation"), QString(), {}, {}}});
    EXPECT_FALSE(w->EditList->isVisibleTo(w->EditPanel));
    EXPECT_TRUE(w->editNrmlContent->isVisibleTo(w->EditPanel));

    w->MetaPanel->Clear();
    record({{QStringLiteral("HI.Status"), QString(), {}, {}}});
    EXPECT_EQ(w->EditList->count(), 4);
    EXPECT_EQ(w->EditList->itemText(3), QStringLiteral("catalogued"));
    w->EditList->setEditText(QStringLiteral("None"));
    EXPECT_EQ(line(1)->SubItems(1), QString());
    EXPECT_TRUE(modified());
}

TEST_F(EditPanelTest, ButtonsAndLoadSchemeFilesFollowTheElement) {
    CommandRecorder recorder;
    modSchemas::defaultSchema = QStringLiteral("GILS-MONTANA");
    record({{QStringLiteral("GILS.subjects"), QString(), {}, {}},
            {QStringLiteral("DC.Title.Alternative"), QString(), {}, {}},
            {QStringLiteral("MyTitleThing"), QString(), {}, {}}});
    EXPECT_EQ(w->EditLoadSchemeTag, QStringLiteral("subjects.kqs"));
    w->EditLoadScheme_Click();
    EXPECT_EQ(recorder.commands.last(), QStringLiteral("mtp://url=") + SchemeHosts::stateLibraryHost +
                                            QStringLiteral("/montana/topics.kqs"));
    EXPECT_EQ(w->listType, QStringLiteral("schema"));

    w->MetaPanel->setSelectedItem(line(2));
    w->editCurrentLine();
    EXPECT_FALSE(w->editAddTitle->isHidden());
    w->MetaPanel->setSelectedItem(line(3));
    w->editCurrentLine();
    EXPECT_TRUE(w->editAddTitle->isHidden());

    modSchemas::defaultSchema = QStringLiteral("GILS-UTAH");
    w->MetaPanel->Clear();
    record({{QStringLiteral("UT.copyright.language"), QString(), {}, {}}});
    EXPECT_EQ(w->EditLoadSchemeTag, QStringLiteral("GILS-UTAH-copyright.kqs"));
    w->EditLoadScheme_Click();
    EXPECT_EQ(recorder.commands.last(), QStringLiteral("mtp://url=") + SchemeHosts::stateHostB +
                                            QStringLiteral("/schemes/ut/GILS-UTAH-copyright.kqs"));
}

TEST_F(EditPanelTest, SchemeChoicesSkipOnlyAFinalEmptyPiece) {
    modSchemas::defaultSchema = QStringLiteral("AGLS1.3");
    record({{QStringLiteral("DC.Identifier"), QStringLiteral("x"), {}, QStringLiteral("URI")}});
    QString list;
    const QString choices = modSchemas::getSchemeList(QStringLiteral("DC.Identifier"), list);
    ASSERT_TRUE(choices.endsWith(QLatin1Char('|')));
    EXPECT_EQ(w->editNrmlScheme->count(), choices.count(QLatin1Char('|')));
    EXPECT_EQ(w->editNrmlScheme->currentText(), QStringLiteral("URI"));
    EXPECT_FALSE(w->editAddURL->isHidden());
    // Picking a scheme is written at once, "None" as empty, and disables the cancel item.
    w->mnuMaintMeta(9)->setEnabled(true);
    w->editNrmlScheme->setEditText(QStringLiteral("None"));
    EXPECT_EQ(line(1)->SubItems(3), QString());
    EXPECT_FALSE(w->mnuMaintMeta(9)->isEnabled());
}

TEST_F(EditPanelTest, RenamingGoesThroughTheNameDialog) {
    record({{QStringLiteral("DC.Title"), QStringLiteral("x"), {}, {}}});
    ScriptedModals modals;
    modals.then([](QDialog& d) { static_cast<frmdlogInput&>(d).cmdCancel->click(); })
        .then([](QDialog& d) {
            auto& input = static_cast<frmdlogInput&>(d);
            EXPECT_EQ(input.txtFieldName->text(), QStringLiteral("DC.Title"));
            EXPECT_EQ(input.windowTitle(), QStringLiteral("Edit"));
            input.txtFieldName->setText(QStringLiteral("DC.Title.Alternative"));
            input.cmdOK->click();
        });
    w->editNrmlName_Click();
    EXPECT_EQ(line(1)->Text(), QStringLiteral("DC.Title"));
    w->editNrmlName_Click();
    EXPECT_EQ(line(1)->Text(), QStringLiteral("DC.Title.Alternative"));
    EXPECT_TRUE(modified());
}

TEST_F(EditPanelTest, ContentKeysMoveTheCurrentLine) {
    record({{QStringLiteral("A"), QStringLiteral("1"), {}, {}}, {QStringLiteral("B"), QStringLiteral("2"), {}, {}}});
    w->editNrmlContent_KeyDown(38);  // Up on the first line: nothing moves
    EXPECT_EQ(w->MetaPanel->SelectedItem(), line(1));
    w->editNrmlContent_KeyDown(40);
    EXPECT_EQ(w->MetaPanel->SelectedItem(), line(2));
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("2"));
    EXPECT_TRUE(line(2)->Bold());
    w->editNrmlContent_KeyDown(40);  // Down on the last line wraps to the first
    EXPECT_EQ(w->MetaPanel->SelectedItem(), line(1));
    EXPECT_FALSE(line(2)->Bold());
    EXPECT_FALSE(modified());
}

TEST_F(EditPanelTest, PanelOnAndOffMoveTheLayoutAndTheMenu) {
    w->EditPanelOn();
    EXPECT_FALSE(w->EditPanel->isHidden());
    EXPECT_TRUE(w->mnuViewEdit->isChecked());
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("&Save Record"));
    w->EditPanelOff();
    EXPECT_TRUE(w->EditPanel->isHidden());
    EXPECT_FALSE(w->mnuViewEdit->isChecked());
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Edit not Active"));
}

}  // namespace
