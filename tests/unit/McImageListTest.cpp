#include "controls/McImageList.h"
#include "platform/RuntimeError.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/PropertyStore.h"

#include <QColor>
#include <functional>
#include <gtest/gtest.h>

namespace {

QImage Solid(Qt::GlobalColor colour) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor ColourOf(const QImage& picture) {
    return picture.isNull() ? QColor() : picture.pixelColor(4, 4);
}

int ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

// A list placed on a window, holding A (red), B (green) and C (blue).
class ImageList : public ::testing::Test {
protected:
    void SetUp() override {
        images.setContainer(&container);
        images.InitProperties();
        for (Qt::GlobalColor colour : {Qt::red, Qt::green, Qt::blue})
            images.setAddNewImage(Solid(colour));
        container.ClearChangedProperties();
    }

    QList<QColor> Colours() const {
        QList<QColor> colours;
        for (int i = 0; i < images.ImageCount(); ++i)
            colours << ColourOf(images.ListImages(i));
        return colours;
    }

    const QColor A = Qt::red;
    const QColor B = Qt::green;
    const QColor C = Qt::blue;
    ControlContainer container;
    McImageList images;
};

} // namespace

TEST(ImageListNew, StartsEmptyAndReadingTheImageLeavesOneEmptySlot) {
    McImageList images;
    images.InitProperties();
    EXPECT_EQ(images.ImageCount(), 0);
    EXPECT_EQ(images.CurrentImage(), 0);
    EXPECT_EQ(ErrorOf([&] { images.ListImages(0); }), 9);
    EXPECT_EQ(ErrorOf([&] { images.CyclePic(true); }), 9);
    EXPECT_EQ(images.CurrentImage(), -1);
    EXPECT_TRUE(images.Image().isNull());
    EXPECT_EQ(images.ImageCount(), 1);
    EXPECT_TRUE(images.ListImages(0).isNull());
    images.setCurrentImage(5);
    EXPECT_EQ(images.CurrentImage(), 0);
}

TEST_F(ImageList, AppendsClampsAndCycles) {
    EXPECT_EQ(Colours(), (QList<QColor>{A, B, C}));
    EXPECT_EQ(images.CurrentImage(), 2);
    EXPECT_TRUE(container.ChangedProperties().isEmpty());
    images.setCurrentImage(-4);
    EXPECT_EQ(images.CurrentImage(), 0);
    images.setCurrentImage(99);
    EXPECT_EQ(images.CurrentImage(), 2);
    EXPECT_EQ(container.ChangedProperties(), (QStringList{"CurrentImage", "CurrentImage"}));

    EXPECT_EQ(ColourOf(images.CyclePic(true)), A);
    EXPECT_EQ(images.CurrentImage(), 0);
    EXPECT_EQ(ColourOf(images.CyclePic(false)), C);
    EXPECT_EQ(images.CurrentImage(), 2);
    EXPECT_EQ(ColourOf(images.CyclePic(false)), B);
    EXPECT_EQ(ColourOf(images.Image()), B);

    images.setImage(Solid(Qt::yellow));
    EXPECT_EQ(Colours(), (QList<QColor>{A, QColor(Qt::yellow), C}));
    EXPECT_EQ(container.ChangedProperties().last(), QStringLiteral("Image"));
    EXPECT_EQ(ErrorOf([&] { images.setListImages(3, QImage()); }), 9);
    EXPECT_EQ(ErrorOf([&] { images.ListImages(-1); }), 9);
    EXPECT_TRUE(images.AddNewImage().isNull());
    EXPECT_FALSE(images.RemoveImage());
    EXPECT_EQ(images.MoveImageTo(), -1);
}

TEST_F(ImageList, RemovesTheCurrentPictureAndSwapsItWithAnother) {
    images.setRemoveImage(0);
    EXPECT_EQ(images.ImageCount(), 3);
    images.setCurrentImage(1);
    images.setRemoveImage(1);
    EXPECT_EQ(Colours(), (QList<QColor>{A, C}));
    EXPECT_EQ(images.CurrentImage(), 1);
    images.setRemoveImage(-1);
    EXPECT_EQ(Colours(), QList<QColor>{A});
    EXPECT_EQ(images.CurrentImage(), 0);
    // The last picture goes and leaves an empty store; the index stays as it was.
    images.setAddNewImage(Solid(Qt::green));
    images.setRemoveImage(1);
    images.setRemoveImage(1);
    EXPECT_EQ(images.ImageCount(), 0);
    EXPECT_EQ(images.CurrentImage(), 0);

    for (Qt::GlobalColor colour : {Qt::red, Qt::green, Qt::blue})
        images.setAddNewImage(Solid(colour));
    images.setCurrentImage(0);
    images.setMoveImageTo(5);
    EXPECT_EQ(Colours(), (QList<QColor>{C, B, A}));
    EXPECT_EQ(images.CurrentImage(), 0);
    images.setMoveImageTo(1);
    EXPECT_EQ(Colours(), (QList<QColor>{B, C, A}));
    EXPECT_EQ(ErrorOf([&] { images.setMoveImageTo(-1); }), 9);
}

TEST_F(ImageList, SavedPicturesComeBackInOrderWithTheCurrentIndex) {
    images.setCurrentImage(1);
    PropertyStore store;
    images.WriteProperties(store);
    EXPECT_EQ(store.Keys(),
              (QStringList{"Images0", "Images1", "Images2", "ImageCount", "CurrentImage"}));
    // Through the stored design's text, where pictures travel as PNG data.
    const PropertyStore reloaded = PropertyStore::FromJson(store.ToJson());
    McImageList copy;
    copy.setContainer(&container);
    copy.ReadProperties(reloaded);
    EXPECT_EQ(copy.ImageCount(), 3);
    EXPECT_EQ(copy.CurrentImage(), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(copy.ListImages(i), images.ListImages(i)) << i;

    // The first index is the default and is not written; a broken picture stops the loading
    // with what was read so far.
    images.setCurrentImage(0);
    PropertyStore first;
    images.WriteProperties(first);
    EXPECT_FALSE(first.Contains(QStringLiteral("CurrentImage")));
    first.WriteProperty(QStringLiteral("Images1"), QStringLiteral("not a picture"));
    McImageList partly;
    partly.ReadProperties(first);
    EXPECT_EQ(partly.ImageCount(), 3);
    EXPECT_EQ(ColourOf(partly.ListImages(0)), A);
    EXPECT_TRUE(partly.ListImages(2).isNull());
}

TEST_F(ImageList, DrawsItsThumbnailsOnlyInADesigner) {
    images.resize(91, 74);
    EXPECT_EQ(images.DrawingSurface().Width(), 0);
    ControlContainer designer;
    designer.SetUserMode(false);
    images.setContainer(&designer);
    images.setCurrentImage(1);
    const Surface& strip = images.DrawingSurface();
    ASSERT_EQ(strip.Width(), 91);
    const double w = 90 / 3.0;
    // Each picture fills its cell from two pixels in, above the band of index numbers.
    for (int i = 0; i < 3; ++i) {
        const uint32_t expected = (QList<uint32_t>{0x0000FFu, 0x00FF00u, 0xFF0000u})[i];
        EXPECT_EQ(strip.Pixel(static_cast<int>(i * w + w / 2), 20), expected) << i;
    }
    // The current cell is framed; the others are not.
    EXPECT_NE(strip.Pixel(45, 0), strip.Pixel(15, 0));
    EXPECT_EQ(strip.Pixel(75, 0), strip.Pixel(15, 0));
}
