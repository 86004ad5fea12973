#pragma once

#include <cstdint>

class TextBox;
class QWidget;

// The account windows' single-line fields share three habits: the whole text is selected on
// entry, the field turns light orange while it has the focus, and Enter moves the focus on
// once the field holds something. Each window's handlers call these.
namespace EntryField {

constexpr uint32_t kHighlight = 0x0084ACFF; // RGB(255,172,132)
constexpr uint32_t kNormal = 0x80000005;    // the system window background

// Got focus: select the whole text, then highlight.
void Enter(TextBox& field);
// Lost focus: the normal colour again.
void Leave(TextBox& field);
// Gives the field both habits: Enter on got focus, Leave on lost focus.
void Follow(TextBox& field);

// The Tab form of "Enter moves on": one Tab keystroke to the focused control, processed
// before this returns, so the focus goes to the next control in tab order.
void SendTab();
// The direct form: the focus goes to the named control.
void MoveTo(QWidget& next);

} // namespace EntryField
