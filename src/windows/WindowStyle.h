#pragma once

#include <QFont>
#include <QString>
#include <cstdint>

class CommandButton;
class QLabel;
class QWidget;
class TextBox;

// The look the windows share: their default font, bold labels and buttons, controls placed
// by twips.
namespace WindowStyle {

// MS Sans Serif 8.25 pt, the windows' default font.
QFont DefaultFont();
QFont BoldFont(const QString& family = QStringLiteral("MS Sans Serif"));

TextBox* MakeTextBox(QWidget* parent, const QString& name, int left, int top, int width, int height,
                     int maxLength = 50);
// A bold button in the "graphical" style with the given back colour (0x00BBGGRR), or the
// standard button look when `backColor` is 0.
CommandButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, int left,
                          int top, int width, int height, uint32_t backColor = 0);
// A transparent label; `autoSize` sizes it to its text from its top-left corner.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                  int width, int height, bool bold, bool autoSize = false);

} // namespace WindowStyle
