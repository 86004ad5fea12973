#pragma once

#include "platform/RuntimeError.h"

// A failure of the data store. Numbers follow the original data-access component, so a window
// that reports "number and description" shows what its users knew:
//   3021 no current record, 3265 no such column, 3704/3705 object closed/open,
//   3706 unknown provider, 3001 a Find criterion the component does not understand,
//   and the provider's HRESULT-style numbers below for everything the engine reports.
// The engine's own result code is kept beside it for diagnosis (0 when the engine was not
// involved).
class DbError : public RuntimeError {
public:
    using RuntimeError::RuntimeError;
    DbError(int number, QString description, int engineCode)
        : RuntimeError(number, std::move(description))
        , engineCode_(engineCode) {}

    int EngineCode() const noexcept { return engineCode_; }

private:
    int engineCode_ = 0;
};

namespace DbErrorNumber {
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int ItemNotFound = 3265;
inline constexpr int BadArguments = 3001;
inline constexpr int ObjectClosed = 3704;
inline constexpr int ObjectOpen = 3705;
inline constexpr int ProviderNotFound = 3706;
// Provider failures (E_FAIL): missing file, locked database, constraint, disk errors.
inline constexpr int ProviderFailure = -2147467259;
inline constexpr int InvalidPassword = -2147217843;
inline constexpr int SyntaxError = -2147217900;
inline constexpr int MissingParameter = -2147217904;
inline constexpr int TypeMismatch = -2147217913;
inline constexpr int BadConnectionString = -2147217805;
} // namespace DbErrorNumber
