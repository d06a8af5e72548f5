#include "platform/KeyCodes.h"

#include <QKeyEvent>

namespace platform {

int vbKeyCode(int key, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? vbKeyNumpad0 + (key - Qt::Key_0) : vbKey0 + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return vbKeyA + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vbKeyF1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;
    case Qt::Key_Clear: return vbKeyClear;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Alt: return vbKeyMenu;
    case Qt::Key_Pause: return vbKeyPause;
    case Qt::Key_CapsLock: return vbKeyCapital;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return vbKeyPageUp;
    case Qt::Key_PageDown: return vbKeyPageDown;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Print: return vbKeyPrint;
    case Qt::Key_Insert: return vbKeyInsert;
    case Qt::Key_Delete: return vbKeyDelete;
    case Qt::Key_Help: return vbKeyHelp;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return vbKeyNumlock;
    case Qt::Key_ScrollLock: return vbKeyScrollLock;
    case Qt::Key_Asterisk: return keypad ? vbKeyMultiply : vbKey0 + 8;
    case Qt::Key_Plus: return keypad ? vbKeyAdd : 187;
    case Qt::Key_Minus: return keypad ? vbKeySubtract : 189;
    case Qt::Key_Period: return keypad ? vbKeyDecimal : 190;
    case Qt::Key_Slash: return keypad ? vbKeyDivide : 191;
    // Shifted characters report the key they are on (US layout).
    case Qt::Key_ParenRight: return vbKey0;
    case Qt::Key_Exclam: return vbKey0 + 1;
    case Qt::Key_At: return vbKey0 + 2;
    case Qt::Key_NumberSign: return vbKey0 + 3;
    case Qt::Key_Dollar: return vbKey0 + 4;
    case Qt::Key_Percent: return vbKey0 + 5;
    case Qt::Key_AsciiCircum: return vbKey0 + 6;
    case Qt::Key_Ampersand: return vbKey0 + 7;
    case Qt::Key_ParenLeft: return vbKey0 + 9;
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

int vbShiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) shift |= vbShiftMask;
    if (modifiers.testFlag(Qt::ControlModifier)) shift |= vbCtrlMask;
    if (modifiers.testFlag(Qt::AltModifier)) shift |= vbAltMask;
    return shift;
}

int vbButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return vbLeftButton;
    case Qt::RightButton: return vbRightButton;
    case Qt::MiddleButton: return vbMiddleButton;
    default: return 0;
    }
}

int vbButtons(Qt::MouseButtons buttons) {
    int result = 0;
    if (buttons.testFlag(Qt::LeftButton)) result |= vbLeftButton;
    if (buttons.testFlag(Qt::RightButton)) result |= vbRightButton;
    if (buttons.testFlag(Qt::MiddleButton)) result |= vbMiddleButton;
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
