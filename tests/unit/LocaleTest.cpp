#include "platform/forms/Locale.h"
#include "platform/RuntimeError.h"

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

TEST(Locale, TrimSpacesRemovesSpacesOnly) {
    EXPECT_EQ(Locale::TrimSpaces(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(Locale::TrimSpaces(QStringLiteral("   ")), QString());
    EXPECT_EQ(Locale::TrimSpaces(QStringLiteral("\ta\t")), QStringLiteral("\ta\t"));
}
