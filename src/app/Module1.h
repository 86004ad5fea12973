#pragma once

#include <QString>

// The start-up routine and the state every window shares.
namespace Module1 {

// The text of `text` before the first `separator`, trimmed of spaces; the whole text unchanged
// when the separator is absent or stands first.
QString TextBeforeSeparator(const QString& text, const QString& separator);

} // namespace Module1
