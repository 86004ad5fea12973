#pragma once

#include <Qt>

// Keys, modifiers and mouse buttons in the original platform's numbering, mapped from Qt's
// in this one place: 13 Enter, 9 Tab, 27 Escape, 33/34 Page Up/Down, 35 End, 36 Home,
// 37..40 Left/Up/Right/Down, 48..57 digits, 65..90 letters, 112.. F1...
namespace KeyCodes {

constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kShiftKey = 16;
constexpr int kControlKey = 17;
constexpr int kAltKey = 18;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kDelete = 46;

// Modifier bits of the `Shift` argument of key and mouse events.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

// Mouse button values.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// The original key code of a Qt key; 0 for a key that has none.
int FromQtKey(int qtKey);
int ShiftState(Qt::KeyboardModifiers modifiers);
int ButtonValue(Qt::MouseButtons buttons);

} // namespace KeyCodes
