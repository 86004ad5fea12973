#pragma once

#include <QImage>
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
    int focusSelectionStart_ = -1;
    int focusSelectionLength_ = 0;
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
};

// A picture on a window: drawn at its natural size from the top-left corner, or stretched to
// fill the control. A press and release over it is a click.
class Image : public QWidget {
    Q_OBJECT
public:
    explicit Image(QWidget* parent = nullptr);

    QImage Picture() const { return picture_; }
    void setPicture(const QImage& picture);
    bool Stretch() const { return stretch_; }
    void setStretch(bool stretch);

Q_SIGNALS:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    bool stretch_ = false;
    bool pressed_ = false;
};
