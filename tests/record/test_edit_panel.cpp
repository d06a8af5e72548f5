#include "record/RecordWindowTest.h"

#include "domains/SchemeHosts.h"
#include "record/frmdlogInput.h"

namespace {

class EditPanelTest : public RecordWindowTest {
protected:
    // A new record of these lines, line `current` in the edit panel.
    void record(std::initializer_list<MetadataLine> lines, int current = 1) {
        w->MetaPanel->Clear();
        for (const MetadataLine& l : lines) w->addRecordLine(l);
        show(current);
    }
};

TEST_F(EditPanelTest, TypedContentIsStoredEncodedAndShownDecoded) {
    Preferences::charEncoding = u"2"_s;
    record({{u"DC.Title"_s, u"Fish &amp; Chips"_s, {}, {}}, {QString(), QString(), {}, {}}});
    EXPECT_EQ(w->editNrmlContent->text(), u"Fish & Chips"_s);
    w->fillingRecord = true;  // the program's own changes are neither written nor marked
    w->editNrmlContent->setText(u"changed"_s);
    w->fillingRecord = false;
    EXPECT_EQ(content(1), u"Fish &amp; Chips"_s);
    EXPECT_FALSE(recordModified());
    w->editNrmlContent->setText(u"Fish & Chips é"_s);
    EXPECT_EQ(content(1), u"Fish &amp; Chips &eacute;"_s);
    EXPECT_TRUE(recordModified());
    show(2);  // a line without a name (a link row) keeps the text as typed
    w->editNrmlContent->setText(u"a & b"_s);
    EXPECT_EQ(content(2), u"a & b"_s);
}

TEST_F(EditPanelTest, SelectingAnotherLineNeverWipesItsLanguage) {
    modSchemas::defaultSchema = u"AGLS1.3"_s;
    record({{u"DC.Title"_s, u"a"_s, u"en"_s, {}}, {u"DC.Creator"_s, u"b"_s, u"fr"_s, {}}});
    show(2);
    EXPECT_EQ(w->editNrmlLang->currentText(), u"fr"_s);
    EXPECT_EQ(content(1, 2), u"en"_s);
    EXPECT_FALSE(recordModified());
    w->editNrmlLang->setEditText(u"de"_s);  // the user's own change is written
    EXPECT_EQ(content(2, 2), u"de"_s);
    EXPECT_TRUE(w->mnuMaintMeta(9)->isEnabled());
}

TEST_F(EditPanelTest, DatesAreBuiltFromTheBoxesAndFillingThemWritesNothing) {
    record({{u"DC.Date.created"_s, u"1875-06-30"_s, {}, u"ISO8601"_s}});
    EXPECT_EQ(w->editDateyear->currentText(), u"1875"_s);  // outside the offered years
    EXPECT_EQ(w->editDateMonth->currentText(), u"06"_s);
    EXPECT_FALSE(recordModified());
    w->editDateMonth->setEditText(QString());
    EXPECT_EQ(content(1), u"1875"_s);  // a day without a month is not written
    w->editDateMonth->setEditText(u"02"_s);
    EXPECT_EQ(content(1), u"1875-02-30"_s);
    w->editDateyear->setEditText(QString());
    EXPECT_EQ(content(1), QString());
    EXPECT_TRUE(recordModified());
}

TEST_F(EditPanelTest, AValueListWritesItsShownDefaultAndNoneAsEmpty) {
    modSchemas::defaultSchema = u"AGLS"_s;
    record({{u"DC.Type.aggregation"_s, QString(), {}, {}}});
    EXPECT_EQ(content(1), u"item"_s);  // the shown default goes into the empty line
    record({{u"HI.Status"_s, u"x"_s, {}, {}}});
    w->EditList->setEditText(u"None"_s);
    EXPECT_EQ(content(1), QString());
}

TEST_F(EditPanelTest, PickingASchemeIsWrittenAtOnceAndLoadSchemeRunsTheElementsSchemeFile) {
    modSchemas::defaultSchema = u"AGLS1.3"_s;
    record({{u"DC.Identifier"_s, u"x"_s, {}, u"URI"_s}});
    EXPECT_EQ(w->editNrmlScheme->currentText(), u"URI"_s);
    w->mnuMaintMeta(9)->setEnabled(true);
    w->editNrmlScheme->setEditText(u"None"_s);
    EXPECT_EQ(content(1, 3), QString());
    EXPECT_FALSE(w->mnuMaintMeta(9)->isEnabled());

    testing_support::CommandRecorder recorder;
    modSchemas::defaultSchema = u"GILS-MONTANA"_s;
    record({{u"GILS.subjects"_s, QString(), {}, {}}});
    w->EditLoadScheme_Click();
    EXPECT_EQ(recorder.commands.value(0), u"mtp://url="_s + SchemeHosts::stateLibraryHost + u"/montana/topics.kqs"_s);
    EXPECT_EQ(w->documentState->listType(), u"schema"_s);
}

TEST_F(EditPanelTest, RenamingGoesThroughTheNameDialog) {
    record({{u"DC.Title"_s, u"x"_s, {}, {}}});
    then<frmdlogInput>([](frmdlogInput& input) { input.cmdCancel->click(); });
    then<frmdlogInput>([](frmdlogInput& input) {
        EXPECT_EQ(input.txtFieldName->text(), u"DC.Title"_s);
        input.txtFieldName->setText(u"DC.Title.Alternative"_s);
        input.cmdOK->click();
    });
    w->editNrmlName_Click();
    EXPECT_EQ(line(1)->Text(), u"DC.Title"_s);
    w->editNrmlName_Click();
    EXPECT_EQ(line(1)->Text(), u"DC.Title.Alternative"_s);
    EXPECT_TRUE(recordModified());
}

}  // namespace
