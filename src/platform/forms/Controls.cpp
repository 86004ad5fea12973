#include "platform/forms/Controls.h"

#include "platform/forms/KeyCodes.h"
#include "platform/forms/PictureAccessible.h"
#include "platform/forms/SystemColors.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QValidator>

TextBox::TextBox(QWidget* parent)
    : QLineEdit(parent)
    , backColor_(SystemColors::System(SystemColors::kWindow)) {
    connect(this, &QLineEdit::textChanged, this, [this] { Q_EMIT Change(); });
}

namespace {

// Holds a field to a number of characters. An edit that goes past it loses the characters
// just before the cursor, which are the ones it inserted, whole characters at a time.
class CharacterLimit : public QValidator {
public:
    CharacterLimit(int limit, QObject* parent)
        : QValidator(parent)
        , limit_(limit) {}

    State validate(QString& input, int& pos) const override {
        qsizetype excess = input.toUcs4().size() - limit_;
        while (excess > 0 && pos > 0) {
            const qsizetype width =
                pos >= 2 && input[pos - 1].isLowSurrogate() && input[pos - 2].isHighSurrogate() ? 2
                                                                                                : 1;
            input.remove(pos - width, width);
            pos -= static_cast<int>(width);
            --excess;
        }
        return excess > 0 ? Invalid : Acceptable;
    }

private:
    int limit_;
};

// Shows every character of a password field as one character. A style sheet says the same in
// one line, but puts the field under the style-sheet style, which matches its rules again at
// every polish and paint.
class PasswordStyle final : public QProxyStyle {
public:
    explicit PasswordStyle(QChar character)
        : character_(character) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return character_.unicode();
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QChar character_;
};

// A widget does not own the style it is given: one for each character, kept for the run. The
// table is never destroyed either: a window that outlives the end of main() still has its
// style while it goes.
QStyle* PasswordStyleFor(QChar character) {
    static auto* const styles = new QHash<char16_t, QStyle*>();
    QStyle*& style = (*styles)[character.unicode()];
    if (style == nullptr)
        style = new PasswordStyle(character);
    return style;
}

} // namespace

void TextBox::setMaxLength(int characters) {
    maxCharacters_ = characters;
    // Qt's own limit counts halves of a pair: it stays out of the way at twice the characters.
    QLineEdit::setMaxLength(2 * characters);
    setValidator(new CharacterLimit(characters, this));
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

void TextBox::SetPasswordChar(QChar character) {
    if (character.isNull()) {
        setEchoMode(QLineEdit::Normal);
        setStyle(nullptr);
        return;
    }
    // The style's own character (a bullet) is not the one users of this program know.
    setStyle(PasswordStyleFor(character));
    setEchoMode(QLineEdit::Password);
}

void TextBox::focusInEvent(QFocusEvent* event) {
    const int caret = cursorPosition();
    const bool selected = hasSelectedText();
    QLineEdit::focusInEvent(event);
    if (!selectOnEntry_ && !selected && hasSelectedText()) {
        deselect();
        setCursorPosition(caret);
    }
    focusedByMouse_ = event->reason() == Qt::MouseFocusReason;
    // Coming back from another program's window is no entry into the field: its selection
    // and caret stay as the user left them. A move between this program's windows is one.
    const bool returned = leftProgram_ && event->reason() == Qt::ActiveWindowFocusReason;
    leftProgram_ = false;
    if (!returned)
        Q_EMIT GotFocus();
    focusSelectionStart_ = selectionStart();
    focusSelectionLength_ = selectionLength();
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    focusedByMouse_ = false;
    // Another program's window took the activation from this still-visible window: the field
    // is not left, so its return will not count as an entry either.
    leftProgram_ = event->reason() == Qt::ActiveWindowFocusReason &&
                   !QApplication::activeWindow() && window()->isVisible();
    if (!leftProgram_)
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
    face_ = SystemColors::ToQColor(colour, 0xF0F0F0);
    QPalette p = palette();
    p.setColor(QPalette::Button, face_);
    setPalette(p);
    update();
}

// The "graphical" look drawn directly: a flat face (darker while pressed), a dark grey edge a
// pixel wide (a black one two pixels wide while focused) and a black caption, in every state.
// A style sheet says the same, but puts the button under the style-sheet style, which parses
// and matches rules for every button made and every paint.
void CommandButton::paintEvent(QPaintEvent* event) {
    if (!face_.isValid()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const int edge = hasFocus() ? 2 : 1;
    painter.fillRect(rect(), hasFocus() ? QColor(Qt::black) : QColor(0x40, 0x40, 0x40));
    const QRect inside = rect().adjusted(edge, edge, -edge, -edge);
    painter.fillRect(inside, isDown() ? face_.darker(115) : face_);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int mnemonic = style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this)
                             ? Qt::TextShowMnemonic
                             : Qt::TextHideMnemonic;
    painter.setPen(Qt::black);
    style()->drawItemText(&painter, inside, Qt::AlignCenter | mnemonic, option.palette, true,
                          text(), QPalette::NoRole);
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

ComboBox::ComboBox(QWidget* parent)
    : QComboBox(parent) {
    // A placeholder keeps Qt from choosing the first row added to an empty box; a blank one
    // shows the empty text of "no row chosen".
    setPlaceholderText(QStringLiteral(" "));
    connect(this, &QComboBox::activated, this, [this] { Q_EMIT Click(); });
}

void ComboBox::keyPressEvent(QKeyEvent* event) {
    pressedKey_ = event->key();
    QComboBox::keyPressEvent(event);
}

void ComboBox::keyReleaseEvent(QKeyEvent* event) {
    QComboBox::keyReleaseEvent(event);
    if (event->isAutoRepeat() || event->key() != pressedKey_)
        return;
    pressedKey_ = 0;
    Q_EMIT KeyUp(KeyCodes::FromQtKey(event->key()), KeyCodes::ShiftState(event->modifiers()));
}

Label::Label(QWidget* parent)
    : QLabel(parent) {
    // A label that shows a picture reads as one: unnamed decoration is left out, a picture
    // that handles clicks is a link.
    static const bool accessible = [] {
        InstallPictureAccessibility(
            "Label",
            [](QObject* object) { return !static_cast<Label*>(object)->pixmap().isNull(); },
            [](QObject* object) -> std::function<void()> {
                auto* label = static_cast<Label*>(object);
                if (!label->isSignalConnected(QMetaMethod::fromSignal(&Label::Click)))
                    return {};
                return [label] { Q_EMIT label->Click(); };
            });
        return true;
    }();
    (void)accessible;
}

void Label::mousePressEvent(QMouseEvent* event) {
    click_.Press(*event);
    event->accept();
}

void Label::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (click_.Release(*event, rect()))
        Q_EMIT Click();
}

void ClickTracker::Press(const QMouseEvent& event) {
    pressed_ = event.button() == Qt::LeftButton;
}

bool ClickTracker::Release(const QMouseEvent& event, const QRect& area) {
    const bool click =
        pressed_ && event.button() == Qt::LeftButton && area.contains(event.position().toPoint());
    pressed_ = false;
    return click;
}
