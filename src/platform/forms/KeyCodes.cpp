#include "platform/forms/KeyCodes.h"

namespace KeyCodes {

int FromQtKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return kBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return kTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kEnter;
    case Qt::Key_Shift:
        return kShiftKey;
    case Qt::Key_Control:
        return kControlKey;
    case Qt::Key_Alt:
        return kAltKey;
    case Qt::Key_Escape:
        return kEscape;
    case Qt::Key_Space:
        return kSpace;
    case Qt::Key_PageUp:
        return kPageUp;
    case Qt::Key_PageDown:
        return kPageDown;
    case Qt::Key_End:
        return kEnd;
    case Qt::Key_Home:
        return kHome;
    case Qt::Key_Left:
        return kLeft;
    case Qt::Key_Up:
        return kUp;
    case Qt::Key_Right:
        return kRight;
    case Qt::Key_Down:
        return kDown;
    case Qt::Key_Insert:
        return kInsert;
    case Qt::Key_Delete:
        return kDelete;
    default:
        return 0;
    }
}

int ShiftState(Qt::KeyboardModifiers modifiers) {
    int state = 0;
    if (modifiers & Qt::ShiftModifier)
        state |= kShiftMask;
    if (modifiers & Qt::ControlModifier)
        state |= kCtrlMask;
    if (modifiers & Qt::AltModifier)
        state |= kAltMask;
    return state;
}

int ButtonValue(Qt::MouseButtons buttons) {
    int value = 0;
    if (buttons & Qt::LeftButton)
        value |= kLeftButton;
    if (buttons & Qt::RightButton)
        value |= kRightButton;
    if (buttons & Qt::MiddleButton)
        value |= kMiddleButton;
    return value;
}

} // namespace KeyCodes
