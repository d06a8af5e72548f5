#include "platform/KeyCodes.h"
#include "platform/Twips.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace platform;

TEST(Twips, FifteenToThePixelRoundedToTheNearest) {
    EXPECT_EQ(twipsToPixels(1400), 93);   // 93.33
    EXPECT_EQ(twipsToPixels(1700), 113);  // 113.33
    EXPECT_EQ(twipsToPixels(22), 1);      // 1.47
    EXPECT_EQ(twipsToPixels(23), 2);      // 1.53
    EXPECT_EQ(twipsToPixels(-23), -2);
    EXPECT_EQ(twipsToPixels(0), 0);
    EXPECT_EQ(pixelsToTwips(336), 5040);
    EXPECT_EQ(twipsToPixels(pixelsToTwips(-7)), -7);
    EXPECT_EQ(twipsToPixels(QRect(1500, 150, 5040, 5040)), QRect(100, 10, 336, 336));
    EXPECT_EQ(pixelsToTwips(QPoint(2, -3)), QPoint(30, -45));
    EXPECT_EQ(twipsToPixels(QSize(400, 1400)), QSize(27, 93));
}

TEST(KeyCodes, KeysButtonsAndShiftStatesAsTheHandlersNumberThem) {
    const std::tuple<int, Qt::KeyboardModifiers, int> keys[] = {{Qt::Key_Enter, Qt::KeypadModifier, 13},
                                                                {Qt::Key_F12, {}, 123},
                                                                {Qt::Key_5, Qt::KeypadModifier, 101},
                                                                {Qt::Key_Exclam, Qt::ShiftModifier, 49},  // Shift+1
                                                                {Qt::Key_Adiaeresis, {}, 0}};
    for (const auto& [key, modifiers, code] : keys) EXPECT_EQ(vbKeyCode(key, modifiers), code) << key;
    EXPECT_EQ(vbShiftState(Qt::ControlModifier | Qt::AltModifier), 6);
    EXPECT_EQ(vbShiftState(Qt::KeypadModifier), 0);
    EXPECT_EQ(vbButtons(Qt::LeftButton | Qt::RightButton), 3);
    EXPECT_EQ(vbButton(Qt::MiddleButton), 4);
}
