#include "platform/draw/Surface.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

namespace {

class SurfaceDrawing : public ::testing::Test {
protected:
    SurfaceDrawing()
        : surface(20, 20) {
        surface.SetBackColor(0x00FFFFFF);
        surface.Clear();
    }
    Surface surface;
};

} // namespace

TEST_F(SurfaceDrawing, RectangleLeavesRightAndBottomEdgesOut) {
    surface.SetForeColor(0x000000FF);
    surface.SetFillColor(0x0000FF00);
    surface.Rectangle(2, 3, 6, 8);
    EXPECT_EQ(surface.Pixel(2, 3), 0x000000FFu);
    EXPECT_EQ(surface.Pixel(5, 7), 0x000000FFu);
    EXPECT_EQ(surface.Pixel(3, 4), 0x0000FF00u);
    EXPECT_EQ(surface.Pixel(6, 5), 0x00FFFFFFu);
    EXPECT_EQ(surface.Pixel(4, 8), 0x00FFFFFFu);
    EXPECT_EQ(surface.Pixel(1, 3), 0x00FFFFFFu);
}

TEST_F(SurfaceDrawing, LineStopsShortOfItsEndPoint) {
    surface.SetForeColor(0x00FF0000);
    surface.Line(0, 5, 10, 5);
    EXPECT_EQ(surface.Pixel(0, 5), 0x00FF0000u);
    EXPECT_EQ(surface.Pixel(9, 5), 0x00FF0000u);
    EXPECT_EQ(surface.Pixel(10, 5), 0x00FFFFFFu);
    surface.Line(3, 0, 3, 4, 0x00000080);
    EXPECT_EQ(surface.Pixel(3, 3), 0x00000080u);
    EXPECT_EQ(surface.Pixel(3, 4), 0x00FFFFFFu);
}

TEST_F(SurfaceDrawing, FocusMarkIsDottedAndDrawingItTwiceRemovesIt) {
    surface.SetFillColor(0x00336699);
    surface.SetForeColor(0x00336699);
    surface.Rectangle(0, 0, 20, 20);
    const QImage before = surface.Image();
    surface.FocusRect(2, 2, 12, 8);
    EXPECT_EQ(surface.Pixel(2, 2), 0x00CC9966u);
    EXPECT_EQ(surface.Pixel(3, 2), 0x00336699u);
    EXPECT_EQ(surface.Pixel(4, 2), 0x00CC9966u);
    EXPECT_EQ(surface.Pixel(5, 5), 0x00336699u);  // inside stays
    EXPECT_EQ(surface.Pixel(12, 2), 0x00336699u); // right edge exclusive
    surface.FocusRect(2, 2, 12, 8);
    EXPECT_EQ(surface.Image(), before);
}

TEST_F(SurfaceDrawing, CopyPixelsReadsTheBufferBottomRowFirst) {
    // Two rows: stored bottom (blue in 0x00RRGGBB) first, then top (red).
    const uint32_t pixels[] = {0x000000FF, 0x000000FF, 0x00FF0000, 0x00FF0000};
    surface.CopyPixels(18, 4, 2, 2, pixels);
    EXPECT_EQ(surface.Pixel(18, 4), 0x000000FFu); // red as 0x00BBGGRR
    EXPECT_EQ(surface.Pixel(19, 5), 0x00FF0000u); // blue
    // Parts outside the surface are dropped, not wrapped.
    surface.CopyPixels(19, 10, 2, 2, pixels);
    EXPECT_EQ(surface.Pixel(19, 10), 0x000000FFu);
    EXPECT_EQ(surface.Pixel(0, 11), 0x00FFFFFFu);
}

TEST_F(SurfaceDrawing, TextIsDrawnInTheForegroundColourInsideItsRectangle) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    surface.SetFont(font);
    surface.SetForeColor(0x000000FF);
    surface.DrawText(QStringLiteral("WWWW"), QRect(2, 2, 8, 14), Surface::kLeft);
    int red = 0; // mostly red
    int blended = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const uint32_t p = surface.Pixel(x, y);
            if (p == 0x00FFFFFFu)
                continue;
            EXPECT_TRUE(x >= 2 && x < 10 && y >= 2 && y < 16) << x << "," << y;
            // Red over white: the edges are mixed with the white below, nothing else.
            const uint32_t g = (p >> 8) & 0xFF;
            EXPECT_EQ(p & 0xFF, 0xFFu) << x << "," << y;
            EXPECT_EQ(p >> 16, g) << x << "," << y;
            ++(g < 0x80 ? red : blended);
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(blended, 10) << "text is drawn anti-aliased";
    EXPECT_GT(surface.TextWidth(QStringLiteral("WWWW")), 8);
    EXPECT_EQ(surface.TextHeight(QStringLiteral("A\r\nB")), 2 * surface.TextHeight("A"));
}

TEST_F(SurfaceDrawing, ClearPaintsTheBackPictureUnscaledAtTheOrigin) {
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 255));
    surface.SetBackColor(0x0000FF00);
    surface.SetBackPicture(picture);
    surface.Clear();
    EXPECT_EQ(surface.Pixel(2, 1), 0x00FF0000u);
    EXPECT_EQ(surface.Pixel(3, 1), 0x0000FF00u);
    EXPECT_EQ(surface.Pixel(2, 2), 0x0000FF00u);
}

// Text comes out as the painter draws it with the font as the desktop renders it, over
// whatever lies below it, in each call's colour and at any density.
TEST(SurfaceText, TextsHaveThePaintersPixelsOverAnyBackground) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8.25);
    const QString text = QStringLiteral("Centred, then wrapped gjq");
    std::vector<uint32_t> ramp(120 * 60);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<uint32_t>((i * 37) % 256) << 8 | static_cast<uint32_t>(i % 120) * 2;
    for (const qreal ratio : {1.0, 2.0}) {
        Surface surface;
        surface.Resize(120, 60, ratio);
        surface.SetFont(font);
        surface.CopyPixels(0, 0, 120, 60, ramp.data());
        QImage expected = surface.Image();
        QPainter painter(&expected);
        painter.setFont(font);
        const std::pair<int, int> formats[] = {
            {Surface::kCenter, Qt::AlignHCenter | Qt::AlignTop},
            {Surface::kWordBreak, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap}};
        uint32_t colour = 0x00102030;
        for (const auto& [format, flags] : formats)
            for (const QRect r :
                 {QRect(3, 2, 61, 26), QRect(58, 31, 61, 26), QRect(4, 30, 61, 26)}) {
                colour += 0x00203040;
                surface.SetForeColor(colour);
                surface.DrawText(text, r, format);
                surface.DrawText(text, r, format);
                painter.setPen(QColor(colour & 0xFF, (colour >> 8) & 0xFF, colour >> 16));
                painter.setClipRect(r);
                for (int twice = 0; twice < 2; ++twice)
                    painter.drawText(r, flags | Qt::TextDontClip, text);
            }
        painter.end();
        EXPECT_TRUE(surface.Image() == expected) << "at " << ratio;
    }
}

// A surface may take the buffer of one gone or resized: it starts clear at its own density,
// and a copy of the old one's picture keeps its pixels.
TEST(SurfaceBuffers, ASurfaceStartsClearAndAKeptPictureKeepsItsPixels) {
    const auto paint = [](Surface& surface, uint32_t colour) {
        surface.SetForeColor(colour);
        surface.SetFillColor(colour);
        surface.Rectangle(0, 0, surface.Width(), surface.Height());
    };
    QImage kept;
    {
        Surface gone(50, 40);
        paint(gone, 0x000000FF);
        kept = gone.Image();
    }
    {
        Surface dense;
        dense.Resize(25, 20, 2.0);
        paint(dense, 0x0000FF00);
        dense.Resize(50, 40, 1.0);
        EXPECT_EQ(dense.Image().devicePixelRatio(), 1.0);
        dense.Resize(25, 20, 2.0);
        paint(dense, 0x0000FF00);
    }
    for (const QSize& size : {QSize(50, 40), QSize(25, 20)}) {
        Surface fresh(size.width(), size.height());
        EXPECT_EQ(fresh.Image().devicePixelRatio(), 1.0);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                ASSERT_EQ(fresh.Pixel(x, y), 0x00FFFFFFu) << x << "," << y;
        paint(fresh, 0x00FF0000);
    }
    EXPECT_EQ(kept.pixel(49, 39), 0xFFFF0000u);
    EXPECT_EQ(kept.pixel(0, 0), 0xFFFF0000u);
}
