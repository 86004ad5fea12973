#pragma once

#include "platform/RuntimeError.h"

#include <functional>
#include <utility>

// Ending the program at once: no window's closing handler runs, the process terminates and
// the database connection closes with it. Tests install a handler that records the end
// instead; every caller therefore returns straight after calling EndProgram().
namespace ProgramEnd {

using Handler = std::function<void()>;
// With a handler installed, ending the program calls it, hides every window without running
// its closing handler, and marks the program as ended; nothing terminates.
void SetHandler(Handler handler);
bool HasEnded();
// The status the program ended with (0 until it has ended).
int EndedStatus();
void ResetEnded();

} // namespace ProgramEnd

// `exitStatus` is what a script or a session manager sees: 0 for an end the user asked for,
// kErrorExitStatus for an end forced by an error.
inline constexpr int kErrorExitStatus = 1;
void EndProgram(int exitStatus = 0);

// The run-time error report: a box with the error's number and description, then the end of
// the program with kErrorExitStatus.
void ReportRuntimeError(const RuntimeError& error);

// The boundary of an event handler: an error that reaches it is reported and ends the
// program, so that no exception ever escapes into Qt.
template <class Body> void RunHandler(Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (const RuntimeError& error) {
        ReportRuntimeError(error);
    } catch (const std::exception& error) {
        ReportRuntimeError(RuntimeError(51, QString::fromLocal8Bit(error.what())));
    }
}
