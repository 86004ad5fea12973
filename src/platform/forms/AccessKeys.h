#pragma once

class QWidget;
class QKeySequence;

// Access keys ("&N" in a caption) as the original platform shares them: a key that several
// controls of a window carry moves the focus to the next of them after the focused control,
// in focus order and wrapping, and presses none. A key one control alone carries is left to
// Qt, which presses that control (a label's key focuses its buddy).
namespace AccessKeys {

// Makes every window's shared keys follow the focus; further calls do nothing.
void FollowFocus();

// Moves the focus of `window` to the next control after its focused one that `key` reaches;
// false when no control of the window carries the key.
bool FocusNextSharing(QWidget& window, const QKeySequence& key);

} // namespace AccessKeys
