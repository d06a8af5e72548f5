#pragma once
#include <QString>
#include <Qt>

class QKeyEvent;

// Key codes, shift states and mouse buttons as the plain numbers the program's handlers
// compare (13 Enter, 46 Delete, 112 F1; Shift 1, Ctrl 2, Alt 4; left button 1, right 2,
// middle 4).
namespace platform {

enum KeyCode : int {
    kKeyBack = 8,
    kKeyTab = 9,
    kKeyClear = 12,
    kKeyReturn = 13,
    kKeyShift = 16,
    kKeyControl = 17,
    kKeyMenu = 18,
    kKeyPause = 19,
    kKeyCapital = 20,
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyPageUp = 33,
    kKeyPageDown = 34,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyPrint = 42,
    kKeyInsert = 45,
    kKeyDelete = 46,
    kKeyHelp = 47,
    kKey0 = 48,  // digits 48..57
    kKeyA = 65,  // letters 65..90
    kKeyNumpad0 = 96,
    kKeyMultiply = 106,
    kKeyAdd = 107,
    kKeySubtract = 109,
    kKeyDecimal = 110,
    kKeyDivide = 111,
    kKeyF1 = 112,  // F1..F24 are 112..135
    kKeyF10 = 121,
    kKeyF12 = 123,
    kKeyNumlock = 144,
    kKeyScrollLock = 145,
};

enum ShiftMask : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// The key code of a Qt key (with the keypad modifier telling keypad keys apart);
// 0 for a key that has none.
int keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Shift 1, Ctrl 2, Alt 4, added up.
int shiftStateOf(Qt::KeyboardModifiers modifiers);
// One button (the one that went down or up) or several held buttons, added up.
int buttonOf(Qt::MouseButton button);
int buttonsOf(Qt::MouseButtons buttons);
// The characters a key types, as the keyboard handlers expect them: Backspace, Enter and
// Escape type their control characters even when the key event carries no text.
QString typedText(const QKeyEvent* event);

}  // namespace platform
