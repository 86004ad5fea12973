#include "platform/forms/ProgramEnd.h"

#include "platform/forms/MessageBox.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace ProgramEnd {
namespace {
Handler& CurrentHandler() {
    static Handler handler;
    return handler;
}
bool& EndedFlag() {
    static bool ended = false;
    return ended;
}
} // namespace

bool HasEnded() {
    return EndedFlag();
}
void ResetEnded() {
    EndedFlag() = false;
}

void SetHandler(Handler handler) {
    CurrentHandler() = std::move(handler);
}

} // namespace ProgramEnd

void EndProgram() {
    if (const auto& handler = ProgramEnd::CurrentHandler()) {
        ProgramEnd::EndedFlag() = true;
        handler();
        for (QWidget* window : QApplication::topLevelWidgets())
            window->hide();
        return;
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

void ReportRuntimeError(const RuntimeError& error) {
    MessageBox(
        QStringLiteral("Run-time error '%1':\n\n%2").arg(error.Number()).arg(error.Description()),
        MsgBox::kCritical);
    EndProgram();
}
