#include "platform/forms/Controls.h"

#include "platform/forms/KeyCodes.h"
#include "platform/forms/PictureAccessible.h"
#include "platform/forms/SystemColors.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

TextBox::TextBox(QWidget* parent)
    : QLineEdit(parent)
    , backColor_(SystemColors::System(SystemColors::kWindow)) {
    connect(this, &QLineEdit::textChanged, this, [this] { Q_EMIT Change(); });
}

void TextBox::SelectAllText() {
    setSelection(0, static_cast<int>(text().size()));
}

void TextBox::SetBackColor(uint32_t colour) {
    backColor_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::Base, SystemColors::ToQColor(colour, 0xFFFFFF));
    setPalette(p);
}

void TextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    focusedByMouse_ = event->reason() == Qt::MouseFocusReason;
    Q_EMIT GotFocus();
    focusSelectionStart_ = selectionStart();
    focusSelectionLength_ = selectionLength();
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    focusedByMouse_ = false;
    Q_EMIT LostFocus();
}

void TextBox::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    // A field entered by a click keeps the selection its got-focus handler made, as a field
    // entered by Tab does; Qt would otherwise move the caret to the click.
    if (focusedByMouse_ && focusSelectionStart_ >= 0)
        setSelection(focusSelectionStart_, focusSelectionLength_);
}

void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    focusedByMouse_ = false;
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    Q_EMIT KeyDown(KeyCodes::FromQtKey(event->key()), KeyCodes::ShiftState(event->modifiers()));
    QLineEdit::keyPressEvent(event);
    int ascii = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        ascii = KeyCodes::kEnter;
    else if (!event->text().isEmpty() && event->text().at(0).unicode() < 256)
        ascii = event->text().at(0).unicode();
    if (ascii != 0)
        Q_EMIT KeyPress(ascii);
}

void TextBox::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        Q_EMIT KeyUp(KeyCodes::FromQtKey(event->key()), KeyCodes::ShiftState(event->modifiers()));
}

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
}

void CommandButton::SetBackColor(uint32_t colour) {
    const QColor face = SystemColors::ToQColor(colour, 0xF0F0F0);
    QPalette p = palette();
    p.setColor(QPalette::Button, face);
    setPalette(p);
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #404040; "
                                 "border-radius: 0px; color: black; }"
                                 "QPushButton:focus { border: 2px solid #000000; }"
                                 "QPushButton:pressed { background-color: %2; }")
                      .arg(face.name(), face.darker(115).name()));
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        event->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

Image::Image(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    static const bool accessible = [] {
        InstallPictureAccessibility("Image", [](QObject* object) -> std::function<void()> {
            auto* image = static_cast<Image*>(object);
            if (!image->isSignalConnected(QMetaMethod::fromSignal(&Image::Click)))
                return {};
            return [image] { Q_EMIT image->Click(); };
        });
        return true;
    }();
    (void)accessible;
}

void Image::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void Image::setStretch(bool stretch) {
    stretch_ = stretch;
    update();
}

void Image::paintEvent(QPaintEvent* /*event*/) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (stretch_)
        painter.drawImage(rect(), picture_);
    else
        painter.drawImage(0, 0, picture_);
}

void Image::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void Image::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release of the left button, both over the picture.
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        Q_EMIT Click();
}
