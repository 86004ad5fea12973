#include "platform/forms/Locale.h"
#include "platform/RuntimeError.h"

#include <QLocale>
#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

TEST(Locale, ValReadsTheLeadingNumberOnly) {
    EXPECT_EQ(Locale::Val(QStringLiteral("1")), 1.0);
    EXPECT_EQ(Locale::Val(QStringLiteral("  12 - Shopping")), 12.0);
    EXPECT_EQ(Locale::Val(QStringLiteral("-3.5x")), -3.5);
    EXPECT_EQ(Locale::Val(QStringLiteral("")), 0.0);
    EXPECT_EQ(Locale::Val(QStringLiteral("No todo found.")), 0.0);
    EXPECT_EQ(Locale::Val(QStringLiteral("0")), 0.0);
}

TEST(Locale, ToInteger16RoundsHalvesToEvenAndOverflowsOutsideItsRange) {
    EXPECT_EQ(Locale::ToInteger16(2.5), 2);
    EXPECT_EQ(Locale::ToInteger16(3.5), 4);
    EXPECT_EQ(Locale::ToInteger16(-32768), -32768);
    EXPECT_EQ(Locale::ToInteger16(32767), 32767);
    try {
        Locale::ToInteger16(32768);
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}

TEST(Locale, CompareTextNoCaseIgnoresLetterCaseOnly) {
    EXPECT_EQ(Locale::CompareTextNoCase(QStringLiteral("A"), QStringLiteral("a")), 0);
    EXPECT_EQ(Locale::CompareTextNoCase(QStringLiteral("a"), QStringLiteral("b")), -1);
    EXPECT_EQ(Locale::CompareTextNoCase(QStringLiteral("B"), QStringLiteral("a")), 1);
    EXPECT_NE(Locale::CompareTextNoCase(QStringLiteral("a"), QStringLiteral("a ")), 0);
}

// Lists sort ASCII records by these keys in place of the comparison: every pair must come out
// as the comparison has it, ties between letter cases and ignored control characters included.
TEST(Locale, AsciiSortKeysOrderTextsAsTheComparisonDoes) {
    QStringList texts{"a",
                      "A",
                      "ab",
                      "aB",
                      "a b",
                      "a-b",
                      "a_b",
                      "a\x01b",
                      "a\tb",
                      "Todo",
                      "Todo - x",
                      "todo<%S%>-1<%S%>True",
                      "Todo<%S%>10<%S%>False",
                      "9",
                      "10",
                      "-1",
                      "x<%S%>9<%S%>True<%S%>",
                      "",
                      " "};
    for (char16_t c = 1; c < 128; ++c)
        texts << QString(QChar(c));
    std::mt19937 random(7u);
    const QString alphabet = QStringLiteral("aAzZ09 -_.<>%S\t\x02~[{'\"");
    for (int i = 0; i < 300; ++i) {
        QString text;
        for (int k = static_cast<int>(random() % 7); k > 0; --k)
            text += alphabet[static_cast<qsizetype>(random() % alphabet.size())];
        texts << text;
    }
    const Locale::AsciiSortKeys* ascii = Locale::AsciiSortKeys::TextNoCase();
    ASSERT_NE(ascii, nullptr);
    const auto key = [ascii](const QString& text) {
        std::string out;
        EXPECT_TRUE(ascii->Append(text, out)) << text.toStdString();
        return out;
    };
    const auto sign = [](int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); };
    for (const QString& a : texts) {
        const std::string ka = key(a);
        for (const QString& b : texts) {
            // The comparison calls an empty text smaller than one of ignored characters alone.
            if (a.isEmpty() || b.isEmpty())
                continue;
            const std::string kb = key(b);
            const int bytes = std::memcmp(ka.data(), kb.data(), std::min(ka.size(), kb.size()));
            const int keys = bytes != 0 ? sign(bytes) : sign(int(ka.size()) - int(kb.size()));
            ASSERT_EQ(keys, Locale::CompareTextNoCase(a, b))
                << a.toStdString() << " / " << b.toStdString();
        }
    }
    // The key of two texts joined is the two keys joined, as rows join their fields.
    EXPECT_EQ(key(QStringLiteral("Todo<%S%>-1")), key("Todo") + key("<%S%>") + key("-1"));
    std::string unused;
    EXPECT_FALSE(ascii->Append(QStringLiteral("caf\u00e9"), unused));
}

TEST(Locale, TrimSpacesRemovesSpacesOnly) {
    EXPECT_EQ(Locale::TrimSpaces(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(Locale::TrimSpaces(QStringLiteral("   ")), QString());
    EXPECT_EQ(Locale::TrimSpaces(QStringLiteral("\ta\t")), QStringLiteral("\ta\t"));
}

namespace {
// Sets the locale whose date order a test reads under, and restores the suite's own after it.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};
} // namespace

TEST(Locale, ReadDateTakesTheDayAndMonthOrderOfTheLocale) {
    {
        LocaleScope us(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(Locale::ReadDate(QStringLiteral("5/1/2024")), QDate(2024, 5, 1));
        EXPECT_EQ(Locale::ReadDate(QStringLiteral("12/31/24")), QDate(2024, 12, 31));
        EXPECT_FALSE(Locale::ReadDate(QStringLiteral("31/12/2024")).isValid());
    }
    {
        LocaleScope uk(QLocale(QLocale::English, QLocale::UnitedKingdom));
        EXPECT_EQ(Locale::ReadDate(QStringLiteral("5/1/2024")), QDate(2024, 1, 5));
        EXPECT_EQ(Locale::ReadDate(QStringLiteral("05.01.99")), QDate(1999, 1, 5));
        EXPECT_EQ(Locale::ReadDate(QStringLiteral("5/1")),
                  QDate(QDate::currentDate().year(), 1, 5));
    }
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Locale::ReadDate(QStringLiteral("5. März 2024")), QDate(2024, 3, 5));
    EXPECT_EQ(Locale::FormatDate(QDate(2024, 3, 5)), QStringLiteral("05 Mar 2024"))
        << "shown and stored with English month names whatever the language";
}

TEST(Locale, ReadDateTakesTheWrittenFormsAndRefusesTheRest) {
    LocaleScope us(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const char* text : {"5 Jan 2024", "05 jan 2024", "January 5, 2024", "Jan 5 2024",
                             "5-Jan-2024", "2024-01-05", " 2024/1/5 "})
        EXPECT_EQ(Locale::ReadDate(QString::fromUtf8(text)), QDate(2024, 1, 5)) << text;
    for (const char* text : {"", "   ", "tomorrow", "31 Feb 2024", "13/13/2024", "5 Jan 2024 x",
                             "5 Foo 2024", "1/2/3/4", "5 Jan 024", "2024-01-05'); DROP"})
        EXPECT_FALSE(Locale::ReadDate(QString::fromUtf8(text)).isValid()) << text;
    EXPECT_EQ(Locale::FormatDate(QDate(2024, 1, 5)), QStringLiteral("05 Jan 2024"));
}
