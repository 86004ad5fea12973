#pragma once

#include "platform/forms/ProgramEnd.h"

#include <QFont>
#include <QObject>
#include <QString>
#include <cstdint>
#include <initializer_list>

class ComboBox;
class CommandButton;
class Form;
class Label;
class TransPicBox;
class QWidget;
class TextBox;

// The look the windows share: their default font, bold labels and buttons, controls placed
// by twips.
namespace WindowStyle {

// MS Sans Serif 8.25 pt, the windows' default font.
QFont DefaultFont();
QFont BoldFont(const QString& family = QStringLiteral("MS Sans Serif"));
QFont Font(const QString& family, double pointSize, bool bold = false);

// Names the window and gives it its caption, icon, client size (twips), background picture and
// the default font, which its custom controls take as their ambient font.
void SetUpWindow(Form& window, const QString& name, const QString& caption, const QString& icon,
                 int width, int height, const QString& background);
// The same for a window painted in one colour (0x00BBGGRR) instead of a picture.
void SetUpWindow(Form& window, const QString& name, const QString& caption, const QString& icon,
                 int width, int height, uint32_t backColor);
// The window's emblem: a transparent picture control in the window's container, placed and
// loaded from the window's design when the window loads.
TransPicBox* MakeEmblem(Form& window);
// Starts reading the emblem's stored design (drawing its picture) on another thread, to be
// ready when the window loads; called first thing, it runs beside the whole building.
void PrepareEmblem(Form& window, const QString& design);
// Reads the emblem's stored design (the window's JSON resource) and places it; an auto-sized
// emblem then snaps to its picture.
void LoadEmblem(TransPicBox& emblem, const QString& design, int left, int top, int width,
                int height);

TextBox* MakeTextBox(QWidget* parent, const QString& name, int left, int top, int width, int height,
                     int maxLength = 50);
// A bold button in the "graphical" style with the given back colour (0x00BBGGRR), or the
// standard button look when `backColor` is 0.
CommandButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, int left,
                          int top, int width, int height, uint32_t backColor = 0);
// A transparent label; `autoSize` sizes it to its text from its top-left corner.
Label* MakeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                 int width, int height, bool bold, bool autoSize = false);
// A transparent label in its own font and text colour (0x00BBGGRR or a system colour); its
// text wraps within it.
Label* MakeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                 int width, int height, const QFont& font, uint32_t foreColor);
// A picture from a resource: stretched to fill the rectangle, or at its natural size from the
// top-left corner and cut off at the edges.
Label* MakePicture(QWidget* parent, const QString& name, const QString& resource, int left, int top,
                   int width, int height, bool stretch);
ComboBox* MakeComboBox(QWidget* parent, const QString& name, int left, int top, int width,
                       int height);
// The focus order of the window's controls, first to last.
void TabOrder(std::initializer_list<QWidget*> controls);
// Centres the window over the window the user was working in, or on the screen when there is
// none: the "owner" of a window its command opens.
void CentreOverActiveWindow(Form& window);

// Runs the window's `handler` on every `signal` of `sender`, inside the handler boundary: an
// error that escapes it is reported and ends the program.
template <class Sender, class Signal, class Window, class... Args>
void Handle(Sender* sender, Signal signal, Window* window, void (Window::*handler)(Args...)) {
    QObject::connect(sender, signal, window, [window, handler](Args... args) {
        RunHandler([&] { (window->*handler)(args...); });
    });
}

} // namespace WindowStyle
