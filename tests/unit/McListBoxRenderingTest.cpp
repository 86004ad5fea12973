#include "controls/McListBox/Gradients.h"
#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/SystemColors.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kText = 0x00000080;

// A running list 200 x 100 client pixels with rows 22 high: four rows, 25 pixels apart.
class ListDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        list.setContainer(&container);
        list.InitProperties();
        list.setForeColor(kText);
        list.setSelForeColor(kText);
        list.Refresh();
        list.setClientSize(200, 100);
        list.Refresh();
    }

    void Fill(int count) {
        for (int i = 0; i < count; ++i)
            list.AddItem(QStringLiteral("row %1").arg(i));
        list.Refresh();
    }

    void Focus(bool in) {
        QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut);
        QCoreApplication::sendEvent(&list, &event);
    }

    uint32_t Pixel(int x, int y) const { return list.DrawingSurface().Pixel(x, y); }

    // The text colour matches its own pixels and those of its anti-aliased edges over the
    // white back colour (0x000080 mixed with white: red from 0x80 up, green and blue equal
    // and rising twice as fast);
    // any other colour only itself.
    static bool Shows(uint32_t pixel, uint32_t colour) {
        if (colour != kText || pixel == kWhite)
            return pixel == colour;
        const uint32_t green = (pixel >> 8) & 0xFF;
        const int red = static_cast<int>(pixel & 0xFF);
        return red >= 0x80 && green == pixel >> 16 &&
               std::abs(static_cast<int>(green) - 2 * (red - 0x80)) <= 4;
    }

    int Count(uint32_t colour, const QRect& area) const {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += Shows(Pixel(x, y), colour) ? 1 : 0;
        return n;
    }

    // The rectangle holding every pixel of `colour` in `area`; empty when there is none.
    QRect Bounds(uint32_t colour, const QRect& area) const {
        QRect bounds;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (Shows(Pixel(x, y), colour))
                    bounds |= QRect(x, y, 1, 1);
        return bounds;
    }

    int Width() const { return list.ClientWidth(); }

    ControlContainer container;
    McListBox list;
};

} // namespace

TEST_F(ListDrawing, RowsAreStretchedToThePitchAndTextCentredOnTheRowHeight) {
    list.setGridLines(true);
    list.setGridColor(0x0000FF00);
    Fill(4);
    ASSERT_EQ(list.ClientHeight(), 100);
    EXPECT_EQ(list.VisibleRows(), 4);
    EXPECT_DOUBLE_EQ(list.RowPitch(), 25.0);
    for (int top : {0, 25, 50, 75}) {
        EXPECT_EQ(Pixel(0, top), 0x0000FF00u) << top;
        EXPECT_EQ(Pixel(Width() - 1, top), 0x0000FF00u) << top;
        EXPECT_NE(Pixel(Width() - 1, top + 1), 0x0000FF00u) << top;
    }
    // Below the last row, one row height under its top.
    EXPECT_EQ(Pixel(3, 75 + 22), 0x0000FF00u);

    const int letter = list.DrawingSurface().TextHeight(QStringLiteral("A"));
    const int textTop = 25 + 1 + static_cast<int>(std::nearbyint((22 - letter) / 2.0));
    const QRect text = Bounds(kText, QRect(0, 25, Width(), 25));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.top(), textTop);
    EXPECT_LT(text.bottom(), 25 + 1 + 22);
    EXPECT_GE(text.left(), 5);
}

TEST_F(ListDrawing, EmptyListShowsOnlyTheBackgroundAndOneGridLine) {
    list.setGridLines(true);
    list.setGridColor(0x00FF0000);
    list.setBackColor(0x00C0FFC0);
    list.Refresh();
    EXPECT_EQ(Count(0x00C0FFC0, QRect(0, 0, Width(), 100)), Width() * 99);
    EXPECT_EQ(Pixel(0, 22), 0x00FF0000u);
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST_F(ListDrawing, SelectionBoxUsesTheBlendedColoursOfTheFocus) {
    Fill(4);
    Focus(true);
    list.setListIndex(1);
    const uint32_t outline = static_cast<uint32_t>(Gradients::BlendColors(0x00FF8C1A, 0, 250));
    // Box (1, 26) to the client's right edge, bottom at 50 exclusive.
    EXPECT_EQ(Pixel(1, 26), outline);
    EXPECT_EQ(Pixel(Width() - 1, 49), outline);
    EXPECT_EQ(Pixel(0, 30), kWhite);
    EXPECT_EQ(Pixel(Width() - 5, 30), 0x00FFBB78u);
    EXPECT_EQ(Pixel(Width() - 5, 50), kWhite);

    list.SelectAll();
    EXPECT_EQ(Pixel(Width() - 5, 30), 0x00FFBB78u);
    EXPECT_EQ(Pixel(Width() - 5, 5), 0x00FFD2A5u);

    Focus(false);
    EXPECT_EQ(Pixel(Width() - 5, 30), 0x00FFDDBCu);
    EXPECT_EQ(Pixel(Width() - 5, 5), 0x00FFDDBCu);
    EXPECT_EQ(Pixel(1, 26), outline);

    list.setSelectionStyle(0);
    EXPECT_EQ(Pixel(1, 26), 0x00FF8C1Au);
    EXPECT_EQ(Pixel(Width() - 5, 30), 0x00FF8C1Au);
}

TEST_F(ListDrawing, SelectionGradientRunsFromItsColourToTheSelectionColour) {
    Fill(4);
    list.setFullRowSelect(true);
    list.setSelGradient(5);
    list.setListIndex(0);
    // Diagonal from (0, 1) to the bottom-right of a 25-pixel row, no outline.
    EXPECT_EQ(Pixel(0, 1), kWhite);
    EXPECT_EQ(Pixel(Width() - 1, 25), 0x00FF8C1Au);
    EXPECT_EQ(Pixel(0, 0), kWhite);
    const uint32_t middle = Pixel(Width() / 2, 13);
    EXPECT_NE(middle, kWhite);
    EXPECT_NE(middle, 0x00FF8C1Au);
}

TEST_F(ListDrawing, IconCellSitsBeforeTheTextAndCentresSmallPicturesHalvesToEven) {
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(QColor(255, 0, 0));
    list.setImageList([&red](int) { return red; });
    list.setShowIcon(true);
    list.AddItem(QStringLiteral("first"), -1, 0);
    list.AddItem(QStringLiteral("second"), -1, 0);
    list.Refresh();
    EXPECT_EQ(list.TextOffset(), 28);
    // Cell (2, 2) 21 x 21: the picture at 2 + 2.5 -> 4; the next row's cell at 27 + 2.5 -> 30.
    EXPECT_EQ(Bounds(0x000000FF, QRect(0, 0, 30, 25)), QRect(4, 4, 16, 16));
    EXPECT_EQ(Bounds(0x000000FF, QRect(0, 25, 30, 25)), QRect(4, 30, 16, 16));
    const QRect text = Bounds(kText, QRect(0, 0, Width(), 25));
    EXPECT_GE(text.left(), 33);

    list.setStrechIcon(true);
    EXPECT_EQ(Bounds(0x000000FF, QRect(0, 0, 30, 25)), QRect(2, 2, 21, 21));
}

TEST_F(ListDrawing, OnlyTheExactTrueMakesARowBold) {
    list.AddItem(QStringLiteral("WWWW"));
    list.AddItem(QStringLiteral("WWWW<%S%>-1<%S%>true"));
    list.AddItem(QStringLiteral("WWWW"), -1, -1, true);
    list.Refresh();
    const int normal = Count(kText, QRect(0, 0, Width(), 25));
    ASSERT_GT(normal, 0);
    EXPECT_EQ(Count(kText, QRect(0, 25, Width(), 25)), normal);
    EXPECT_GT(Count(kText, QRect(0, 50, Width(), 25)), normal);
}

TEST_F(ListDrawing, RightAlignmentEndsTheTextAtTheClientEdge) {
    list.setTextAlignment(2);
    Fill(1);
    const QRect text = Bounds(kText, QRect(0, 0, Width(), 25));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.right(), Width() - 4);
    EXPECT_GT(text.left(), Width() / 2);
}

TEST_F(ListDrawing, FocusMarkSpansTheRowOrStartsAtTheText) {
    Fill(2);
    list.setFullRowSelect(true);
    list.setFocusRectangle(true);
    // The current row is not selected here, so the mark shows on the white background.
    ASSERT_EQ(list.SelCount(), 0);
    EXPECT_EQ(Pixel(0, 0), 0u);
    EXPECT_EQ(Pixel(1, 0), kWhite);
    EXPECT_EQ(Pixel(Width() - 2, 0), (Width() - 2) % 2 == 0 ? 0u : kWhite);
    EXPECT_EQ(Pixel(1, 25), 0u);
    EXPECT_EQ(Pixel(0, 2), kWhite); // the left edge is at -1, outside

    list.setFullRowSelect(false);
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    list.setImageList([&red](int) { return red; });
    list.setShowIcon(true);
    EXPECT_EQ(Pixel(28, 2), 0u);
    EXPECT_EQ(Pixel(28, 3), kWhite);
}

TEST_F(ListDrawing, BackgroundGradientRunsFromItsColourToTheBackColour) {
    list.setBackGradientCol(0);
    list.setBackGradient(3);
    EXPECT_EQ(Pixel(10, 0), 0u);
    EXPECT_EQ(Pixel(10, 99), kWhite);
    list.setBackGradient(6);
    EXPECT_EQ(Pixel(0, 99), 0u);
    EXPECT_EQ(Pixel(Width() - 1, 0), kWhite);
}

TEST_F(ListDrawing, WideTextShowsTheHorizontalBar) {
    list.setAutoHideScrollBars(true);
    list.AddItem(QString(60, u'W'));
    list.Refresh();
    ScrollBars::Layer& bars = list.Bars();
    ASSERT_TRUE(bars.GetBarVisible(ScrollBars::kHorizontal));
    EXPECT_TRUE(list.Window().IsEnabled(ScrollBars::kHorizontal));
    const int textWidth = list.DrawingSurface().TextWidth(QString(60, u'W'));
    EXPECT_EQ(bars.GetBarMax(ScrollBars::kHorizontal), textWidth + 50 - Width() + 15);
    list.Clear();
    EXPECT_FALSE(bars.GetBarVisible(ScrollBars::kHorizontal));
}

TEST_F(ListDrawing, FailedRowEndsTheRepaintSilently) {
    list.setGridLines(true);
    list.setGridColor(0x0000FF00);
    list.setShowIcon(true);
    list.AddItem(QString(60, u'W'));
    list.AddItem(QStringLiteral("icon but no image list"), -1, 2);
    list.AddItem(QStringLiteral("after"));
    list.Refresh();
    EXPECT_EQ(Pixel(0, 0), 0x0000FF00u); // row 0 drawn
    EXPECT_GT(Count(kText, QRect(0, 0, Width(), 25)), 0);
    // Row 1 failed before its grid line; row 2 and the line below the last row never come.
    EXPECT_EQ(Count(0x0000FF00u, QRect(0, 1, Width(), 99)), 0);
    EXPECT_EQ(Count(kText, QRect(0, 25, Width(), 75)), 0);
    // Nor does the horizontal range, although row 0 is wider than the client.
    EXPECT_FALSE(list.Window().IsEnabled(ScrollBars::kHorizontal));
}

TEST_F(ListDrawing, DesignSurfaceShowsASampleRow) {
    ControlContainer design;
    design.SetUserMode(false);
    McListBox sample;
    sample.setContainer(&design);
    sample.InitProperties();
    sample.resize(120, 80);
    sample.Refresh();
    ASSERT_EQ(sample.ListCount(), 1);
    EXPECT_EQ(sample.List(0), QStringLiteral("McListBox"));
    EXPECT_EQ(sample.SelItem(0), 0);
    sample.Refresh();
    EXPECT_EQ(sample.ListCount(), 1);
    EXPECT_GT(sample.DrawingSurface().Image().width(), 0);
}

// A row's text keeps the font's own spacing at one device pixel to the pixel: each word starts
// where the font's layout puts it, and each word space stays a gap of blank columns. Text
// drawn with plain pixels would be hinted glyph by glyph and drift, losing word spaces.
TEST_F(ListDrawing, RowTextKeepsTheFontsOwnSpacingBetweenWords) {
    const QString text = QStringLiteral("Todo number 4230 and a long tail that runs past the list");
    list.setClientSize(400, 100);
    list.AddItem(text);
    list.Refresh();
    ASSERT_EQ(list.DrawingSurface().DevicePixelRatio(), 1.0);
    const auto inked = [this](int x) {
        for (int y = 1; y < 24; ++y)
            if (Pixel(x, y) != kWhite)
                return true;
        return false;
    };
    const QFontMetricsF metrics(list.DrawingSurface().Font());
    constexpr int kLeft = 5; // the text rectangle's inset from the row origin
    int spaces = 0;
    for (qsizetype j = text.indexOf(u' '); j >= 0; j = text.indexOf(u' ', j + 1)) {
        ++spaces;
        const double spaceFrom = kLeft + metrics.horizontalAdvance(text.left(j));
        const double wordFrom = kLeft + metrics.horizontalAdvance(text.left(j + 1));
        // The first blank column about the space, then the first inked one after it.
        int x = static_cast<int>(std::ceil(spaceFrom)) - 1;
        while (x <= wordFrom + 1 && inked(x))
            ++x;
        ASSERT_LE(x, wordFrom + 1) << "no space before word " << spaces + 1;
        while (x < 400 && !inked(x))
            ++x;
        // Blended edges ink the column the word's first ink falls in: at most a pixel before
        // the font's position, give or take the rounding of the hinted outline.
        const double ink = wordFrom + metrics.leftBearing(text[j + 1]);
        EXPECT_GE(x, ink - 1.05) << "word " << spaces + 1;
        EXPECT_LE(x, ink + 0.5) << "word " << spaces + 1;
    }
    EXPECT_EQ(spaces, 11);
}
