#pragma once
#include <QString>
#include <Qt>

class QKeyEvent;

// Key codes, shift states and mouse buttons as the plain numbers the program's handlers
// compare (13 Enter, 46 Delete, 112 F1; Shift 1, Ctrl 2, Alt 4; left button 1, right 2,
// middle 4).
namespace platform {

enum VbKeyCode : int {
    vbKeyBack = 8,
    vbKeyTab = 9,
    vbKeyClear = 12,
    vbKeyReturn = 13,
    vbKeyShift = 16,
    vbKeyControl = 17,
    vbKeyMenu = 18,
    vbKeyPause = 19,
    vbKeyCapital = 20,
    vbKeyEscape = 27,
    vbKeySpace = 32,
    vbKeyPageUp = 33,
    vbKeyPageDown = 34,
    vbKeyEnd = 35,
    vbKeyHome = 36,
    vbKeyLeft = 37,
    vbKeyUp = 38,
    vbKeyRight = 39,
    vbKeyDown = 40,
    vbKeyPrint = 42,
    vbKeyInsert = 45,
    vbKeyDelete = 46,
    vbKeyHelp = 47,
    vbKey0 = 48,  // digits 48..57
    vbKeyA = 65,  // letters 65..90
    vbKeyNumpad0 = 96,
    vbKeyMultiply = 106,
    vbKeyAdd = 107,
    vbKeySubtract = 109,
    vbKeyDecimal = 110,
    vbKeyDivide = 111,
    vbKeyF1 = 112,  // F1..F24 are 112..135
    vbKeyF10 = 121,
    vbKeyF12 = 123,
    vbKeyNumlock = 144,
    vbKeyScrollLock = 145,
};

enum VbShiftMask : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
enum VbMouseButton : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };

// The key code of a Qt key (with the keypad modifier telling keypad keys apart);
// 0 for a key that has none.
int vbKeyCode(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Shift 1, Ctrl 2, Alt 4, added up.
int vbShiftState(Qt::KeyboardModifiers modifiers);
// One button (the one that went down or up) or several held buttons, added up.
int vbButton(Qt::MouseButton button);
int vbButtons(Qt::MouseButtons buttons);
// The characters a key types, as the keyboard handlers expect them: Backspace, Enter and
// Escape type their control characters even when the key event carries no text.
QString typedText(const QKeyEvent* event);

}  // namespace platform
