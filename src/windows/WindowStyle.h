#pragma once

#include <QFont>
#include <QString>
#include <cstdint>

class CommandButton;
class Form;
class TransPicBox;
class QLabel;
class QWidget;
class TextBox;

// The look the windows share: their default font, bold labels and buttons, controls placed
// by twips.
namespace WindowStyle {

// MS Sans Serif 8.25 pt, the windows' default font.
QFont DefaultFont();
QFont BoldFont(const QString& family = QStringLiteral("MS Sans Serif"));
// Impact, the captions' display face, at the given size.
QFont ImpactFont(double points, bool bold = false);

// Names the window and gives it its caption, icon, client size (twips), background picture and
// the default font, which its custom controls take as their ambient font.
void SetUpWindow(Form& window, const QString& name, const QString& caption, const QString& icon,
                 int width, int height, const QString& background);
// The window's emblem: a transparent picture control in the window's container, placed and
// loaded from the window's design when the window loads.
TransPicBox* MakeEmblem(Form& window);

TextBox* MakeTextBox(QWidget* parent, const QString& name, int left, int top, int width, int height,
                     int maxLength = 50);
// A bold button in the "graphical" style with the given back colour (0x00BBGGRR), or the
// standard button look when `backColor` is 0.
CommandButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, int left,
                          int top, int width, int height, uint32_t backColor = 0);
// A transparent label; `autoSize` sizes it to its text from its top-left corner.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                  int width, int height, bool bold, bool autoSize = false);

// The text colour of a label, 0x00BBGGRR or a system colour.
void SetForeColor(QLabel& label, uint32_t colour);

} // namespace WindowStyle
