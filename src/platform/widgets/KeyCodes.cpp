#include "platform/widgets/KeyCodes.h"

#include <QKeyEvent>

namespace platform {

int keyCodeOf(int key, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? kKeyNumpad0 + (key - Qt::Key_0) : kKey0 + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return kKeyA + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return kKeyF1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return kKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return kKeyTab;
    case Qt::Key_Clear: return kKeyClear;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyReturn;
    case Qt::Key_Shift: return kKeyShift;
    case Qt::Key_Control: return kKeyControl;
    case Qt::Key_Alt: return kKeyMenu;
    case Qt::Key_Pause: return kKeyPause;
    case Qt::Key_CapsLock: return kKeyCapital;
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_Space: return kKeySpace;
    case Qt::Key_PageUp: return kKeyPageUp;
    case Qt::Key_PageDown: return kKeyPageDown;
    case Qt::Key_End: return kKeyEnd;
    case Qt::Key_Home: return kKeyHome;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    case Qt::Key_Print: return kKeyPrint;
    case Qt::Key_Insert: return kKeyInsert;
    case Qt::Key_Delete: return kKeyDelete;
    case Qt::Key_Help: return kKeyHelp;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return kKeyNumlock;
    case Qt::Key_ScrollLock: return kKeyScrollLock;
    case Qt::Key_Asterisk: return keypad ? kKeyMultiply : kKey0 + 8;
    case Qt::Key_Plus: return keypad ? kKeyAdd : 187;
    case Qt::Key_Minus: return keypad ? kKeySubtract : 189;
    case Qt::Key_Period: return keypad ? kKeyDecimal : 190;
    case Qt::Key_Slash: return keypad ? kKeyDivide : 191;
    // Shifted characters report the key they are on (US layout).
    case Qt::Key_ParenRight: return kKey0;
    case Qt::Key_Exclam: return kKey0 + 1;
    case Qt::Key_At: return kKey0 + 2;
    case Qt::Key_NumberSign: return kKey0 + 3;
    case Qt::Key_Dollar: return kKey0 + 4;
    case Qt::Key_Percent: return kKey0 + 5;
    case Qt::Key_AsciiCircum: return kKey0 + 6;
    case Qt::Key_Ampersand: return kKey0 + 7;
    case Qt::Key_ParenLeft: return kKey0 + 9;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal: return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Underscore: return 189;
    case Qt::Key_Greater: return 190;
    case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: return 0;
    }
}

int shiftStateOf(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) shift |= kShiftMask;
    if (modifiers.testFlag(Qt::ControlModifier)) shift |= kCtrlMask;
    if (modifiers.testFlag(Qt::AltModifier)) shift |= kAltMask;
    return shift;
}

int buttonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return kLeftButton;
    case Qt::RightButton: return kRightButton;
    case Qt::MiddleButton: return kMiddleButton;
    default: return 0;
    }
}

int buttonsOf(Qt::MouseButtons buttons) {
    int result = 0;
    if (buttons.testFlag(Qt::LeftButton)) result |= kLeftButton;
    if (buttons.testFlag(Qt::RightButton)) result |= kRightButton;
    if (buttons.testFlag(Qt::MiddleButton)) result |= kMiddleButton;
    return result;
}

QString typedText(const QKeyEvent* event) {
    QString text = event->text();
    if (!text.isEmpty()) return text;
    switch (event->key()) {
    case Qt::Key_Backspace: return QStringLiteral("\b");
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("\r");
    case Qt::Key_Escape: return QString(QChar(27));
    default: return {};
    }
}

}  // namespace platform
