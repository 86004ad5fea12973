#pragma once

#include <QCollator>
#include <QDate>
#include <QString>
#include <cstdint>

// The locale services the program leans on: leading numbers, 16-bit conversion and text
// comparison without regard to case.
namespace Locale {

// The number at the start of a text (after leading spaces): digits with an optional sign and
// decimal part; 0 when the text starts with anything else.
double Val(const QString& text);

// Rounds halves to even and fails with overflow (error 6) outside -32768..32767.
int16_t ToInteger16(double value);

// The text without leading and trailing spaces (spaces only: tabs and other blanks stay).
QString TrimSpaces(const QString& text);

// A date as "dd MMM yyyy": two-digit day, English month abbreviation, four-digit year. The
// month names are fixed in English so that what one user stores reads the same for every
// other user, whatever their system language.
QString FormatDate(const QDate& date);

// Case-insensitive, locale-aware comparison: -1, 0 or 1.
int CompareTextNoCase(const QString& a, const QString& b);

// The collator behind CompareTextNoCase, for callers that sort many texts by collation keys
// (keys compare exactly as the collator does).
const QCollator& TextNoCaseCollator();

} // namespace Locale
