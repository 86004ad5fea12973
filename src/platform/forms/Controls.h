#pragma once

#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// A single-line text field that reports its events as the program's handlers expect them:
// key codes in the original numbering, got/lost focus, and a free `Tag` text.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    QString Tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }
    void SelectAllText();
    void SetBackColor(uint32_t colour);
    uint32_t BackColor() const { return backColor_; }
    // Every character is shown as `character`; a null character shows the text itself.
    void SetPasswordChar(QChar character);
    // The most characters the field takes, counted as the user sees them: a character outside
    // the basic plane (an emoji) is one, and is never cut in half. Typing or pasting past the
    // limit keeps what fits of the new text.
    void setMaxLength(int characters);
    int maxLength() const { return maxCharacters_; }
    // Whether entering the field by Tab or an access key selects its whole text, as Qt's
    // fields do; one that does not keeps its caret where it was, as a click or code does.
    void SetSelectOnEntry(bool select) { selectOnEntry_ = select; }

Q_SIGNALS:
    void GotFocus();
    void LostFocus();
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    // The text changed, by typing or by code.
    void Change();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QString tag_;
    uint32_t backColor_;
    bool focusedByMouse_ = false;
    bool selectOnEntry_ = true;
    // The program lost the activation while this field had the focus: its return is no entry.
    bool leftProgram_ = false;
    int focusSelectionStart_ = -1;
    int focusSelectionLength_ = 0;
    int maxCharacters_ = 32767;
};

// A push button that Enter presses as well as Space when it has the focus, as on the
// original platform (Qt's buttons take only Space outside dialogs). An "&" in its caption
// makes Alt with that letter press it.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);
    // The "graphical" style: a flat face in the given 0x00BBGGRR colour.
    void SetBackColor(uint32_t colour);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The face colour of the graphical style; invalid for the platform's own button.
    QColor face_;
};

// A drop-down list the user picks from (no typing), with the original key-code events. A box
// refilled after `clear()` has no row chosen and an empty text until the user picks one, as
// the original list did; Qt would choose the first row added.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

Q_SIGNALS:
    // The user picked a row, by pointer or by arrow keys.
    void Click();
    void KeyUp(int KeyCode, int Shift);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // The key last pressed here: the release of a key pressed in another window (Enter on the
    // button that opened this one) is no key of this box.
    int pressedKey_ = 0;
};

// A click as the original platform counted one: the left button pressed and released over the
// same control.
class ClickTracker {
public:
    void Press(const QMouseEvent& event);
    // True when this release completes a click within `area`.
    bool Release(const QMouseEvent& event, const QRect& area);

private:
    bool pressed_ = false;
};

// A label or picture that takes the clicks on it, so that they do not reach the window
// behind it.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr);

Q_SIGNALS:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ClickTracker click_;
};
