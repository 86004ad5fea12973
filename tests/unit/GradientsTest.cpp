#include "controls/McListBox/Gradients.h"
#include "platform/draw/Surface.h"
#include "platform/forms/SystemColors.h"

#include <gtest/gtest.h>

using namespace Gradients;

namespace {

constexpr uint32_t kMarker = 0x00123456;

// A surface prefilled with a marker colour, so unpainted pixels can be told apart.
class GradientPainting : public ::testing::Test {
protected:
    GradientPainting()
        : surface(12, 12) {
        surface.SetBackColor(kMarker);
        surface.Clear();
    }
    Surface surface;
};

} // namespace

TEST(BlendColors, MixesTheSelectionColourAsTheListsFillsNeedIt) {
    EXPECT_EQ(BlendColors(0x00FF8C1A, 0x00FFFFFF, 150), 0x00FFBB78);
    // Weight 250 towards black, each component rounded halves to even.
    EXPECT_EQ(BlendColors(0x00FF8C1A, 0, 250), 0x00FA8919);
    EXPECT_EQ(BlendColors(0x00FF8C1A, 0x00FFFFFF, 255), 0x00FF8C1A);
    EXPECT_EQ(BlendColors(0x00FF8C1A, 0x00123456, 0), 0x00123456);
}

TEST(BlendColors, TreatsUntranslatableColoursAsWhite) {
    // A system colour outside the table cannot be translated: its bytes all read 255.
    EXPECT_EQ(BlendColors(static_cast<int32_t>(0x800000F0u), 0, 255), 0x00FFFFFF);
    EXPECT_EQ(TranslateColor(static_cast<int32_t>(0x800000F0u)), -1);
    EXPECT_EQ(TranslateColor(0x00345678), 0x00345678);
    EXPECT_EQ(static_cast<uint32_t>(TranslateColor(static_cast<int32_t>(0x80000011u))),
              SystemColors::Translate(0x80000011u).value());
}

TEST_F(GradientPainting, NothingIsPaintedForStyleNoneOrAnEmptyRectangle) {
    FillGradient(surface, 0, 0, 5, 5, 0, 0x00FFFFFF, kNone, true);
    FillGradient(surface, 0, 0, 0, 5, 0, 0x00FFFFFF, kHorizontal, true);
    FillGradient(surface, 0, 0, 5, -1, 0, 0x00FFFFFF, kVertical, true);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(surface.Pixel(x, y), kMarker) << x << "," << y;
}

TEST_F(GradientPainting, HorizontalRampUsesIntegerSteps) {
    PaintGradient(surface, 1, 2, 3, 2, 0, 0x00FFFFFF, kHorizontal);
    for (int y = 2; y <= 3; ++y) {
        EXPECT_EQ(surface.Pixel(1, y), 0x00000000u);
        EXPECT_EQ(surface.Pixel(2, y), 0x007F7F7Fu);
        EXPECT_EQ(surface.Pixel(3, y), 0x00FFFFFFu);
    }
    EXPECT_EQ(surface.Pixel(4, 2), kMarker);
    EXPECT_EQ(surface.Pixel(1, 4), kMarker);
    EXPECT_EQ(surface.Pixel(0, 2), kMarker);
}

TEST_F(GradientPainting, SingleColumnTakesTheHalvedAverage) {
    PaintGradient(surface, 0, 0, 1, 4, 0, 0x00FFFFFF, kHorizontal);
    EXPECT_EQ(surface.Pixel(0, 0), 0x007F7F7Fu);
    EXPECT_EQ(surface.Pixel(0, 3), 0x007F7F7Fu);
    // Each component halved before adding: 1 \ 2 + 1 \ 2 = 0, not 1.
    PaintGradient(surface, 5, 0, 1, 1, 0x00010101, 0x00010101, kHorizontal);
    EXPECT_EQ(surface.Pixel(5, 0), 0u);
}

TEST_F(GradientPainting, VerticalAndDiagonalCornersCarryStartAndEnd) {
    PaintGradient(surface, 0, 0, 4, 5, 0x000000FF, 0x00FF0000, kVertical);
    EXPECT_EQ(surface.Pixel(0, 0), 0x000000FFu);
    EXPECT_EQ(surface.Pixel(3, 0), 0x000000FFu);
    EXPECT_EQ(surface.Pixel(2, 4), 0x00FF0000u);
    // Row 1 of 4 steps: red 255 + (-255 x 1) \ 4 = 192, blue 0 + 255 \ 4 = 63.
    EXPECT_EQ(surface.Pixel(1, 1), 0x003F00C0u);

    PaintGradient(surface, 5, 0, 4, 3, 0x000000FF, 0x0000FF00, kDiagonalDown);
    EXPECT_EQ(surface.Pixel(5, 0), 0x000000FFu);
    EXPECT_EQ(surface.Pixel(8, 2), 0x0000FF00u);
    // (row 1, col 1) is ramp entry 2 of 5: red 255 - 510 \ 5 = 153, green 102.
    EXPECT_EQ(surface.Pixel(6, 1), 0x00006699u);

    PaintGradient(surface, 0, 6, 4, 3, 0x000000FF, 0x0000FF00, kDiagonalUp);
    EXPECT_EQ(surface.Pixel(0, 8), 0x000000FFu);
    EXPECT_EQ(surface.Pixel(3, 6), 0x0000FF00u);
}

TEST_F(GradientPainting, MirroredHalvesOverlapAndLeaveTheLastColumn) {
    // Without the swap the first colour starts: columns 0..4 white to black, 4..8 back.
    FillGradient(surface, 0, 0, 10, 2, 0x00FFFFFF, 0, kHorizontalMirrored, false);
    EXPECT_EQ(surface.Pixel(0, 0), 0x00FFFFFFu);
    // 255 + (-255 x 2) \ 4 truncates towards zero: 128, not 127.
    EXPECT_EQ(surface.Pixel(2, 0), 0x00808080u);
    EXPECT_EQ(surface.Pixel(4, 0), 0x00000000u);
    EXPECT_EQ(surface.Pixel(6, 0), 0x007F7F7Fu);
    EXPECT_EQ(surface.Pixel(8, 1), 0x00FFFFFFu);
    EXPECT_EQ(surface.Pixel(9, 0), kMarker);

    FillGradient(surface, 0, 3, 2, 6, 0, 0x00FFFFFF, kVerticalMirrored, true);
    // Swapped: start is white. H2 = 3, second half from y = 3 + 3 - 1 = 5.
    EXPECT_EQ(surface.Pixel(0, 3), 0x00FFFFFFu);
    EXPECT_EQ(surface.Pixel(0, 5), 0x00000000u);
    EXPECT_EQ(surface.Pixel(0, 7), 0x00FFFFFFu);
    EXPECT_EQ(surface.Pixel(0, 8), kMarker);
}

TEST_F(GradientPainting, UnknownStylesPaintBlackAndSystemColoursAreTranslated) {
    FillGradient(surface, 2, 2, 3, 3, 0x00FFFFFF, 0x00FFFFFF, 7, true);
    EXPECT_EQ(surface.Pixel(2, 2), 0u);
    EXPECT_EQ(surface.Pixel(4, 4), 0u);
    EXPECT_EQ(surface.Pixel(5, 5), kMarker);

    const uint32_t face = SystemColors::Translate(0x8000000Fu).value();
    FillGradient(surface, 0, 6, 3, 1, static_cast<int32_t>(0x8000000Fu),
                 static_cast<int32_t>(0x800000F0u), kHorizontal, false);
    EXPECT_EQ(surface.Pixel(0, 6), face);
    // A colour that cannot be translated paints as white.
    EXPECT_EQ(surface.Pixel(2, 6), 0x00FFFFFFu);
}
