#include "app/Module1.h"

#include <gtest/gtest.h>

TEST(TextBeforeSeparator, TakesTheTrimmedTextBeforeTheFirstSeparator) {
    using Module1::TextBeforeSeparator;
    const QString dash = QStringLiteral("-");
    EXPECT_EQ(TextBeforeSeparator(QStringLiteral("12 - Shopping"), dash), QStringLiteral("12"));
    EXPECT_EQ(TextBeforeSeparator(QStringLiteral(" 7 - a-b"), dash), QStringLiteral("7"));
    // No separator, or the separator first: the text comes back unchanged, untrimmed.
    EXPECT_EQ(TextBeforeSeparator(QStringLiteral("No todo found."), dash),
              QStringLiteral("No todo found."));
    EXPECT_EQ(TextBeforeSeparator(QStringLiteral("- x "), dash), QStringLiteral("- x "));
    EXPECT_EQ(TextBeforeSeparator(QStringLiteral(" no separator "), dash),
              QStringLiteral(" no separator "));
}
