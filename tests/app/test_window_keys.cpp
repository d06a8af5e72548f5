#include "platform/ListView.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::TestWindow;

namespace {

class WindowKeysTest : public ::testing::Test {
protected:
    TestWindow w;
    void SetUp() override {
        for (const char* name : {"DC.Title", "DC.Creator", "DC.Subject"})
            w->addRecordLine({QLatin1String(name), u"x"_s, {}, {}});
        w->show();
        QApplication::setActiveWindow(&*w);
        w->MetaPanel->setSelectedItem(w->MetaPanel->Item(1));
        w->editCurrentLine();
    }
    void focus(QWidget* widget) {
        widget->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), widget);
    }
    int current() const { return w->MetaPanel->SelectedItem() ? w->MetaPanel->SelectedItem()->Index() : 0; }
};

TEST_F(WindowKeysTest, ArrowsInTheEditPanelListsMoveTheCurrentLine) {
    ASSERT_NO_FATAL_FAILURE(focus(w->editNrmlScheme));
    EXPECT_TRUE(w->Form_KeyDown(Qt::Key_Up, {}));  // first line: a beep, nothing moves
    EXPECT_EQ(current(), 1);
    EXPECT_TRUE(w->Form_KeyDown(Qt::Key_Down, {}));
    EXPECT_EQ(current(), 2);
    EXPECT_TRUE(w->MetaPanel->Item(2)->Bold());
    EXPECT_FALSE(w->MetaPanel->Item(1)->Bold());
    EXPECT_EQ(w->editNrmlName->text(), u"DC.Creator"_s);
    w->Form_KeyDown(Qt::Key_Down, {});
    EXPECT_TRUE(w->Form_KeyDown(Qt::Key_Down, {}));  // last line: stays
    EXPECT_EQ(current(), 3);
    EXPECT_FALSE(w->documentState->modified(DocumentState::Document::Record));
    // Other keys are ordinary input; Shift there is not tracked.
    EXPECT_FALSE(w->Form_KeyDown(Qt::Key_Ampersand, {}));
    EXPECT_FALSE(w->Form_KeyDown(Qt::Key_Shift, Qt::ShiftModifier));
    EXPECT_FALSE(w->shiftDown);
}

TEST_F(WindowKeysTest, TheAddressBoxKeepsItsArrowsAndShiftIsTrackedElsewhere) {
    ASSERT_NO_FATAL_FAILURE(focus(w->URL));
    EXPECT_FALSE(w->Form_KeyDown(Qt::Key_Down, {}));
    EXPECT_EQ(current(), 1);
    w->Form_KeyDown(Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_TRUE(w->shiftDown);
    w->Form_KeyUp(Qt::Key_A);
    EXPECT_FALSE(w->shiftDown);
}

}  // namespace
