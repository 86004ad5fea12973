#include "platform/forms/PropertyStore.h"

#include <QFont>
#include <QImage>
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
