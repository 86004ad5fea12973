#include "platform/RuntimeError.h"
#include "platform/db/Variant.h"

#include <gtest/gtest.h>

namespace {

int ErrorNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

} // namespace

TEST(Variant, NullJoinsAsNothingAndEqualsNoText) {
    const Variant null;
    EXPECT_TRUE(null.IsNull());
    EXPECT_EQ(null.ToString(), QString());
    EXPECT_FALSE(null.EqualsText(QString()));
    EXPECT_FALSE(null.EqualsText(QStringLiteral("")));
    EXPECT_FALSE(null.ToQVariant().isValid());
    EXPECT_EQ(ErrorNumber([&] { null.ToInteger(); }), 94);
    EXPECT_EQ(ErrorNumber([&] { null.ToBool(); }), 94);
    EXPECT_EQ(ErrorNumber([&] { null.ToDate(); }), 94);
}

TEST(Variant, TextComparesExactlyAndConvertsOnlyWhenItReadsAsTheType) {
    const Variant text(QStringLiteral("Admin"));
    EXPECT_TRUE(text.EqualsText(QStringLiteral("Admin")));
    EXPECT_FALSE(text.EqualsText(QStringLiteral("admin")));
    EXPECT_FALSE(text.EqualsText(QStringLiteral("Admin ")));
    EXPECT_EQ(ErrorNumber([&] { text.ToDouble(); }), 13);
    EXPECT_EQ(Variant(QStringLiteral(" 12 ")).ToInteger(), 12);
    EXPECT_EQ(Variant(QStringLiteral("05 Mar 2024")).ToDate(), QDate(2024, 3, 5));
    EXPECT_EQ(Variant(QStringLiteral("2024-03-05")).ToDate(), QDate(2024, 3, 5));
}

TEST(Variant, NumbersBooleansAndDatesPrintAsTheProgramShowsThem) {
    EXPECT_EQ(Variant(qint64(32767)).ToString(), QStringLiteral("32767"));
    EXPECT_EQ(Variant(2.0).ToString(), QStringLiteral("2"));
    EXPECT_EQ(Variant(2.5).ToString(), QStringLiteral("2.5"));
    EXPECT_EQ(Variant(true).ToString(), QStringLiteral("True"));
    EXPECT_EQ(Variant(false).ToString(), QStringLiteral("False"));
    EXPECT_EQ(Variant(QDate(2024, 12, 1)).ToString(), QStringLiteral("2024-12-01"));
    // Halves go to the even neighbour, as the original runtime rounds.
    EXPECT_EQ(Variant(2.5).ToInteger(), 2);
    EXPECT_EQ(Variant(3.5).ToInteger(), 4);
    EXPECT_EQ(Variant(-2.5).ToInteger(), -2);
    EXPECT_EQ(Variant(true).ToInteger(), -1);
    EXPECT_EQ(Variant("x").GetType(), Variant::Type::Text);
}
