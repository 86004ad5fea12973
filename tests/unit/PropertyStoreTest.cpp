#include "platform/forms/PropertyStore.h"

#include <QFont>
#include <QImage>
#include <QJsonDocument>
#include <gtest/gtest.h>

TEST(PropertyStore, KeysMatchWithoutCaseAndDefaultsAreNotWritten) {
    PropertyStore store;
    store.WriteProperty(QStringLiteral("MaskColor"), 0xFF00FF, 0xFFFFFF);
    store.WriteProperty(QStringLiteral("Appearance"), 1, 1);
    EXPECT_EQ(store.Keys(), QStringList{QStringLiteral("MaskColor")});
    EXPECT_EQ(store.ReadProperty(QStringLiteral("maskcolor"), 0).toInt(), 0xFF00FF);
    EXPECT_EQ(store.ReadProperty(QStringLiteral("appearance"), 7).toInt(), 7);

    // Writing the default again removes an earlier value.
    store.WriteProperty(QStringLiteral("MASKCOLOR"), 0xFFFFFF, 0xFFFFFF);
    EXPECT_TRUE(store.IsEmpty());
}

TEST(PropertyStore, AnEmptyPictureDiffersFromNoPicture) {
    PropertyStore store;
    store.WriteProperty(QStringLiteral("Picture"), QVariant(), QVariant());
    EXPECT_FALSE(store.Contains(QStringLiteral("Picture")));
    store.WriteProperty(QStringLiteral("Picture"), QImage(), QVariant());
    EXPECT_TRUE(store.Contains(QStringLiteral("picture")));
}

TEST(PropertyStore, ReadsFontsAndNumbersFromAStoredDesign) {
    const QJsonObject design{
        {"rowheight", 25},
        {"font",
         QJsonObject{{"font", QJsonObject{{"name", "Tahoma"}, {"size", 9.75}, {"bold", true}}}}},
        {"path", "C:\\"}};
    const PropertyStore store = PropertyStore::FromJson(design);
    EXPECT_EQ(store.ReadProperty(QStringLiteral("RowHeight"), 22).toInt(), 25);
    const QFont font = store.ReadProperty(QStringLiteral("Font")).value<QFont>();
    EXPECT_EQ(font.family(), QStringLiteral("Tahoma"));
    EXPECT_TRUE(font.bold());
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
    EXPECT_EQ(store.ReadProperty(QStringLiteral("PATH")).toString(), QStringLiteral("C:\\"));
}

// A number beyond the 64-bit range must never be converted to an integer (undefined, and
// reported by the sanitizer build); whole numbers within it read back as integers.
TEST(PropertyStore, NumbersOfAnySizeInADesignReadBackWithoutOverflow) {
    const QJsonObject design =
        QJsonDocument::fromJson("{\"huge\": 1e300, \"low\": -1e300, \"top\": 9223372036854775808,"
                                " \"bottom\": -9223372036854775808, \"wide\": 4294967296,"
                                " \"max\": 2147483647, \"min\": -2147483648, \"half\": 2.5}")
            .object();
    ASSERT_EQ(design.size(), 8);
    const PropertyStore store = PropertyStore::FromJson(design);
    const auto read = [&](const char* key) { return store.ReadProperty(QLatin1String(key)); };
    EXPECT_EQ(read("huge").typeId(), QMetaType::Double);
    EXPECT_EQ(read("huge").toDouble(), 1e300);
    EXPECT_EQ(read("low").toDouble(), -1e300);
    EXPECT_EQ(read("top").typeId(), QMetaType::Double);
    EXPECT_EQ(read("bottom").typeId(), QMetaType::LongLong);
    EXPECT_EQ(read("bottom").toLongLong(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(read("wide").toLongLong(), 4294967296LL);
    EXPECT_EQ(read("max").typeId(), QMetaType::Int);
    EXPECT_EQ(read("min").toInt(), std::numeric_limits<int>::min());
    EXPECT_EQ(read("half").toDouble(), 2.5);
}

TEST(PropertyStore, SavedDesignsReadBackTheirPicturesAndFonts) {
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 30));
    picture.setPixelColor(2, 1, QColor(255, 0, 255));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    font.setBold(true);

    PropertyStore saved;
    saved.WriteProperty(QStringLiteral("Picture"), picture);
    saved.WriteProperty(QStringLiteral("Font"), font);
    saved.WriteProperty(QStringLiteral("RowHeight"), 25, 22);

    const PropertyStore loaded = PropertyStore::FromJson(saved.ToJson());
    const QImage back = loaded.ReadProperty(QStringLiteral("picture")).value<QImage>();
    ASSERT_EQ(back.size(), QSize(3, 2));
    EXPECT_EQ(back.pixelColor(2, 1), QColor(255, 0, 255));
    EXPECT_EQ(back.pixelColor(0, 0), QColor(10, 20, 30));
    EXPECT_EQ(loaded.ReadProperty(QStringLiteral("font")).value<QFont>(), font);
    EXPECT_EQ(loaded.ReadProperty(QStringLiteral("rowheight")).toInt(), 25);
}
