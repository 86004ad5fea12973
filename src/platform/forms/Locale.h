#pragma once

#include <QCollator>
#include <QDate>
#include <QString>
#include <cstdint>
#include <string>

// The locale services the program leans on: leading numbers, 16-bit conversion, text
// comparison without regard to case, and dates as users type them.
namespace Locale {

// The number at the start of a text (after leading spaces): digits with an optional sign and
// decimal part; 0 when the text starts with anything else.
double Val(const QString& text);

// Rounds halves to even and fails with overflow (error 6) outside -32768..32767.
int16_t ToInteger16(double value);

// The text without leading and trailing spaces (spaces only: tabs and other blanks stay).
QString TrimSpaces(const QString& text);

// Case-insensitive, locale-aware comparison: -1, 0 or 1.
int CompareTextNoCase(const QString& a, const QString& b);

// The collator behind CompareTextNoCase, for callers that sort many texts by collation keys
// (keys compare exactly as the collator does).
const QCollator& TextNoCaseCollator();

// Appends to `key` a collation key for a text of ASCII characters, in the locales whose
// collator orders such texts character by character (C and English): keys compare as bytes
// (memcmp, then the shorter first) exactly as CompareTextNoCase compares their texts, and the
// key of two texts joined is the two keys joined. False, with `key` holding a partial key,
// for a text with any other character or in any other locale.
bool AppendAsciiSortKey(QStringView text, std::string& key);
bool AppendAsciiSortKey(QLatin1String text, std::string& key);

// A typed date: all-number forms ("5/1/2024", "5.1.24", "5-1") take their day and month order
// from the current locale's short date format, a four-digit first number reads as year, month,
// day ("2024-01-05"), and a month written as a name ("5 Jan 2024", "January 5, 2024") may
// stand before or after the day, in English or in the locale's own language. A missing year is
// this year; two-digit years 00 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999. An invalid
// date for any other text, the empty text included.
QDate ReadDate(const QString& text);

// "dd MMM yyyy" with English month abbreviations ("05 Jan 2024"): the form the program shows
// and stores whatever the user's language.
QString FormatDate(const QDate& date);

} // namespace Locale
