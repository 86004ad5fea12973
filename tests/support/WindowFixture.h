#pragma once

#include "support/TempDatabase.h"

#include "platform/forms/MessageBox.h"

#include <QApplication>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

class QWidget;

// A fresh database on the shared connection, message boxes answered and recorded, and the end
// of the program recorded instead of carried out.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds an account through the same statement the create-account window uses.
    void AddAccount(int userId, const QString& name, const QString& password);
    int CountAccounts(const QString& name);
    // One column of every row `query` returns, as text, in the database's order.
    static QStringList Column(const QString& query, const QString& column);

    // The next boxes answer with `answer` (OK by default).
    void AnswerBoxesWith(int answer) { answer_ = answer; }
    const std::vector<MsgBox::Call>& Boxes() const { return boxes_; }
    QString LastBoxText() const { return boxes_.empty() ? QString() : boxes_.back().prompt; }
    bool ProgramEnded() const;

    // Activates the window and gives `widget` the focus, as a user's click would; the offscreen
    // platform deactivates a window whenever a box closes.
    static void FocusIn(QWidget* window, QWidget* widget);

    TempDatabase database_;

private:
    std::vector<MsgBox::Call> boxes_;
    int answer_ = MsgBox::kOK;
};

// Runs `action` as soon as the event loop runs again (inside a modal window's loop).
void Later(std::function<void()> action);

// Runs `action` once a window of type T is visible; it polls the event loop of whatever modal
// window is showing. Register it after the step that hides the current window.
void WhenVisible(std::function<QWidget*()> find, std::function<void(QWidget*)> action);

template <class T> T* VisibleWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<T*>(window); form && form->isVisible())
            return form;
    return nullptr;
}

template <class T> void WhenShown(std::function<void(T*)> action) {
    WhenVisible([] { return static_cast<QWidget*>(VisibleWindow<T>()); },
                [action](QWidget* w) { action(static_cast<T*>(w)); });
}

// One control of a window's design table: its object name, its place in twips and, where the
// design gives one, its colour (a button's face, any other control's text) as 0x00BBGGRR.
struct Placed {
    const char* name;
    int left, top, width, height;
    std::optional<uint32_t> colour = std::nullopt;
};
// Checks every control of the table: that it exists, its geometry and its colour, and that a
// wrapping label's text fits it.
void ExpectLayout(QWidget* window, const std::vector<Placed>& controls);

// Types `text` into `widget` one character at a time, as a keyboard or an input method does: a
// character outside the basic plane arrives whole, in one key event.
void Type(QWidget* widget, const QString& text);
