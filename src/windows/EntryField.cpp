#include "windows/EntryField.h"

#include "platform/forms/Controls.h"

#include <QApplication>
#include <QKeyEvent>

namespace EntryField {

void Enter(TextBox& field) {
    field.SelectAllText();
    field.SetBackColor(kHighlight);
}

void Leave(TextBox& field) {
    field.SetBackColor(kNormal);
}

void Follow(TextBox& field) {
    QObject::connect(&field, &TextBox::GotFocus, &field, [&field] { Enter(field); });
    QObject::connect(&field, &TextBox::LostFocus, &field, [&field] { Leave(field); });
}

void SendTab() {
    QWidget* target = QApplication::focusWidget();
    if (!target)
        return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    if (QWidget* now = QApplication::focusWidget()) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(now, &release);
    }
}

void MoveTo(QWidget& next) {
    next.setFocus(Qt::OtherFocusReason);
}

} // namespace EntryField
