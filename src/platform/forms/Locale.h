#pragma once

#include <QCollator>
#include <QDate>
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <type_traits>

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

// Collation keys for texts of ASCII characters alone, in the locales whose collator orders
// such texts character by character (C and English): keys compare as bytes (memcmp, then the
// shorter first) exactly as CompareTextNoCase compares their texts, and the key of two texts
// joined is the two keys joined.
class AsciiSortKeys {
public:
    // The keys of CompareTextNoCase's collator; null in any other locale.
    static const AsciiSortKeys* TextNoCase();

    // Writes the key of `text` at `out` (never more bytes than the text has characters) and
    // moves `out` past it; false, with part of a key written, for a text with any other
    // character.
    template <typename Char> bool Write(const Char* text, qsizetype size, char*& out) const {
        // Branch-free: every byte is stored and kept only when it has a place; any code past
        // ASCII shows in `codes` at the end. A local end, because bytes stored through `out`
        // itself might alias it and would make the compiler read it back after each.
        char* end = out;
        unsigned codes = 0;
        for (const Char* c = text; c != text + size; ++c) {
            const auto code = static_cast<unsigned>(static_cast<std::make_unsigned_t<Char>>(*c));
            codes |= code;
            const char rank = ranks_[code & 127u];
            *end = rank;
            end += rank != 0;
        }
        out = end;
        return codes < 128;
    }
    bool Write(QStringView text, char*& out) const { return Write(text.utf16(), text.size(), out); }
    bool Write(QLatin1String text, char*& out) const {
        return Write(text.data(), text.size(), out);
    }
    // Appends the key of `text` to `key`.
    bool Append(QStringView text, std::string& key) const;

    explicit AsciiSortKeys(const std::array<char, 128>& ranks)
        : ranks_(ranks) {}

private:
    // Each character's place in the collator's order; 0 for characters it ignores.
    std::array<char, 128> ranks_;
};

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
