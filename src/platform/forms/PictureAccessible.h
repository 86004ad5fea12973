#pragma once

#include <QAccessibleWidget>
#include <functional>

// What a screen reader sees of a picture: a graphic named by the widget's accessible name.
// A picture without a name is decoration and is left out of what the reader announces; a
// picture that does something when clicked reads as a link whose press action clicks it.
class PictureAccessible : public QAccessibleWidget {
public:
    // `press` gives the picture's click, or nothing while no click is handled; asked each time,
    // since a window connects its handlers after creating its pictures.
    PictureAccessible(QWidget* picture, std::function<std::function<void()>()> press);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    std::function<void()> Press() const { return press_ ? press_() : std::function<void()>(); }
    std::function<std::function<void()>()> press_;
};

// Installs, once per class, a factory that gives the widgets of the class `className` that
// `isPicture` accepts a PictureAccessible (the others keep Qt's own); `press` (may be empty)
// finds the click of a given widget.
void InstallPictureAccessibility(const char* className, std::function<bool(QObject*)> isPicture,
                                 std::function<std::function<void()>(QObject*)> press);
