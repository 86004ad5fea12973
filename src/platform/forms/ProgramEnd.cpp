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
int& Status() {
    static int status = 0;
    return status;
}
} // namespace

bool HasEnded() {
    return EndedFlag();
}
int EndedStatus() {
    return Status();
}
void ResetEnded() {
    EndedFlag() = false;
    Status() = 0;
}

void SetHandler(Handler handler) {
    CurrentHandler() = std::move(handler);
}

} // namespace ProgramEnd

void EndProgram(int exitStatus) {
    if (const auto& handler = ProgramEnd::CurrentHandler()) {
        ProgramEnd::EndedFlag() = true;
        ProgramEnd::Status() = exitStatus;
        handler();
        for (QWidget* window : QApplication::topLevelWidgets())
            window->hide();
        return;
    }
    std::fflush(nullptr);
    std::_Exit(exitStatus);
}

void ReportRuntimeError(const RuntimeError& error) {
    MessageBox(
        QStringLiteral("Run-time error '%1':\n\n%2").arg(error.Number()).arg(error.Description()),
        MsgBox::kCritical);
    EndProgram(kErrorExitStatus);
}
