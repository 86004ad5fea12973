#pragma once

#include <QString>
#include <functional>

// Message boxes with the original platform's style numbers: buttons in the low bits, the icon
// in the next ones, and the answers it returned.
namespace MsgBox {

constexpr int kOKOnly = 0;
constexpr int kYesNo = 4;
constexpr int kCritical = 16;
constexpr int kQuestion = 32;
constexpr int kExclamation = 48;
constexpr int kInformation = 64;

constexpr int kOK = 1;
constexpr int kYes = 6;
constexpr int kNo = 7;

struct Call {
    QString prompt;
    int style = 0;
    QString title;
};

// Tests answer boxes through a responder instead of showing them; nullptr restores the real
// boxes.
using Responder = std::function<int(const Call&)>;
void SetResponder(Responder responder);

} // namespace MsgBox

// Shows the box and returns the answer. An empty title is the application title, "Tallyboard".
int MessageBox(const QString& prompt, int style = MsgBox::kOKOnly, const QString& title = {});
