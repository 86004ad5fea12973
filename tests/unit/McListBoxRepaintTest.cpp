#include "controls/McListBox/Gradients.h"
#include "controls/McListBox/McListBox.h"
#include "platform/draw/Surface.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/SystemColors.h"

#include <QPainter>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Step = std::function<void(McListBox&)>;

// A list as the main window's to-do list is set: gradient background, gradient selection,
// grid lines, tall rows; 30 rows.
void SetUpList(ControlContainer& container, McListBox& list) {
    list.setContainer(&container);
    list.InitProperties();
    list.setBackColor(16761024);
    list.setSelColor(33023);
    list.setFullRowSelect(true);
    list.setRowHeight(32);
    list.setGridLines(true);
    list.setGridColor(16711680);
    list.setBackGradient(6);
    list.setSelGradient(1);
    list.setBackGradientCol(16744576);
    list.setSelGradientCol(12640511);
    list.setClientSize(300, 200);
    for (int i = 0; i < 30; ++i)
        list.AddItem(QStringLiteral("%1 - to-do number %1").arg(i * 37));
    list.Refresh();
}

QImage Picture(QColor colour) {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

} // namespace

// A list repainted after each change must show what a list given the same changes from new
// shows: whatever a repaint keeps from the one before may not outlive what it was drawn from.
TEST(ListRepaint, EveryRepaintShowsWhatAFreshListWithTheSameSettingsShows) {
    const std::vector<std::pair<const char*, Step>> steps{
        {"select", [](McListBox& l) { l.setListIndex(2); }},
        {"resize", [](McListBox& l) { l.setClientSize(260, 150); }},
        {"back colour", [](McListBox& l) { l.setBackColor(0x0000A0F0); }},
        {"gradient colour", [](McListBox& l) { l.setBackGradientCol(0x00203040); }},
        {"system gradient colour",
         [](McListBox& l) {
             l.setBackGradientCol(SystemColors::System(SystemColors::kButtonFace));
         }},
        {"gradient style", [](McListBox& l) { l.setBackGradient(3); }},
        {"scroll", [](McListBox& l) { l.Bars().SetBarValue(ScrollBars::kVertical, 7); }},
        {"refresh", [](McListBox& l) { l.Refresh(); }},
        {"picture", [](McListBox& l) { l.setPicture(Picture(Qt::red)); }},
        {"other picture", [](McListBox& l) { l.setPicture(Picture(Qt::green)); }},
        {"row text", [](McListBox& l) { l.setList(8, QStringLiteral("a new text")); }},
        {"bold", [](McListBox& l) { l.setListBold(9, true); }},
        {"grow", [](McListBox& l) { l.setClientSize(320, 230); }},
        {"no gradient", [](McListBox& l) { l.setBackGradient(0); }},
        {"picture without gradient", [](McListBox& l) { l.setPicture(Picture(Qt::blue)); }},
        {"gradient again", [](McListBox& l) { l.setBackGradient(5); }},
        {"same size again", [](McListBox& l) { l.setClientSize(260, 150); }},
    };
    ControlContainer container;
    McListBox list;
    SetUpList(container, list);
    for (size_t n = 0; n < steps.size(); ++n) {
        steps[n].second(list);
        ControlContainer freshContainer;
        McListBox fresh;
        SetUpList(freshContainer, fresh);
        for (size_t k = 0; k <= n; ++k)
            steps[k].second(fresh);
        // Refreshed once at another size, the fresh list keeps nothing of its steps' repaints.
        const QSize size(fresh.ClientWidth(), fresh.ClientHeight());
        fresh.setClientSize(size.width() + 1, size.height());
        fresh.Refresh();
        fresh.setClientSize(size.width(), size.height());
        fresh.Refresh();
        list.Refresh();
        ASSERT_EQ(list.DrawingSurface().Image(), fresh.DrawingSurface().Image())
            << "after " << steps[n].first;
    }
}

// Straight lines are a run of pixels: from the start up to, not including, the end, in either
// direction, cut off at the surface's edges.
TEST(SurfaceLines, StraightLinesStopShortOfTheirEndAndAreCutAtTheEdges) {
    const struct {
        int x1, y1, x2, y2;
    } lines[] = {{2, 3, 9, 3},   {9, 5, 2, 5},   {-4, 0, 5, 0}, {7, 1, 30, 1},
                 {3, -5, 3, 6},  {5, 9, 5, 2},   {1, 4, 1, 40}, {6, 6, 6, 6},
                 {-3, 2, -1, 2}, {4, 11, 8, 11}, {11, 0, 11, 5}};
    for (const auto& line : lines) {
        Surface surface(10, 10);
        surface.Line(line.x1, line.y1, line.x2, line.y2, 0x00000000);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                bool on = false;
                if (line.y1 == line.y2 && y == line.y1 && line.x1 != line.x2)
                    on = line.x1 < line.x2 ? (x >= line.x1 && x < line.x2)
                                           : (x <= line.x1 && x > line.x2);
                if (line.x1 == line.x2 && x == line.x1 && line.y1 != line.y2)
                    on = line.y1 < line.y2 ? (y >= line.y1 && y < line.y2)
                                           : (y <= line.y1 && y > line.y2);
                ASSERT_EQ(surface.Pixel(x, y), on ? 0u : 0x00FFFFFFu)
                    << line.x1 << "," << line.y1 << " to " << line.x2 << "," << line.y2 << " at "
                    << x << "," << y;
            }
    }
}

// A gradient painted right after another that differs in one respect only has its own
// colours: a straight ramp from the start colour to the end colour, each channel moved by
// the whole part of its share.
TEST(GradientRepaint, AGradientAfterANearlyEqualOneHasItsOwnColours) {
    struct Gradient {
        int width, height, style;
        int32_t from, to;
    };
    const Gradient across{30, 12, Gradients::kHorizontal, 0x00102030, 0x00F0E0D0};
    const Gradient down{30, 12, Gradients::kVertical, 0x00102030, 0x00F0E0D0};
    const std::pair<Gradient, Gradient> pairs[] = {
        {across, {31, 12, Gradients::kHorizontal, 0x00102030, 0x00F0E0D0}},
        {down, {30, 11, Gradients::kVertical, 0x00102030, 0x00F0E0D0}},
        {across, down},
        {across, {30, 12, Gradients::kHorizontal, 0x00A0B0C0, 0x00F0E0D0}},
        {across, {30, 12, Gradients::kHorizontal, 0x00102030, 0x00405060}},
    };
    const auto check = [](const Gradient& before, const Gradient& g) {
        Surface surface(40, 20);
        Gradients::PaintGradient(surface, 2, 3, before.width, before.height, before.from, before.to,
                                 before.style);
        surface.Clear();
        Gradients::PaintGradient(surface, 2, 3, g.width, g.height, g.from, g.to, g.style);
        const bool sideways = g.style == Gradients::kHorizontal;
        const int steps = (sideways ? g.width : g.height) - 1;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                const int i = sideways ? x : y;
                uint32_t colour = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const int from = (g.from >> shift) & 0xFF;
                    const int to = (g.to >> shift) & 0xFF;
                    colour |= static_cast<uint32_t>(from + (to - from) * i / steps) << shift;
                }
                ASSERT_EQ(surface.Pixel(2 + x, 3 + y), colour)
                    << g.width << "x" << g.height << " style " << g.style << " at " << x << ","
                    << y;
            }
    };
    for (const auto& [one, other] : pairs) {
        check(one, other);
        check(other, one);
    }
}

// Lists made one after another at the same sizes, some of one design and some of another,
// each show their own gradient below their rows, as painted straight onto a surface.
TEST(ListRepaint, ListsMadeOneAfterAnotherEachShowTheirOwnGradient) {
    struct Design {
        int style;
        uint32_t from, to;
        QSize size;
    };
    const Design first{6, 0x00C0C0FF, 0x00804080, QSize(200, 120)};
    const Design second{6, 0x0030A050, 0x00804080, QSize(200, 120)};
    const Design third{3, 0x00C0C0FF, 0x00804080, QSize(200, 120)};
    const Design wider{6, 0x00C0C0FF, 0x00804080, QSize(230, 120)};
    for (const Design& design : {first, second, first, third, wider, first, third}) {
        ControlContainer container;
        McListBox list;
        list.setContainer(&container);
        list.InitProperties();
        list.setBackColor(design.from);
        list.setBackGradientCol(design.to);
        list.setBackGradient(design.style);
        list.setClientSize(design.size.width(), design.size.height());
        list.AddItem(QStringLiteral("one row"));
        list.Refresh();
        const int width = list.ClientWidth();
        const int height = list.ClientHeight();
        Surface expected(width, height);
        Gradients::FillGradient(expected, 0, 0, width, height, static_cast<int32_t>(design.from),
                                static_cast<int32_t>(design.to), design.style, true);
        for (int y = 2 * list.RowHeight(); y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(list.DrawingSurface().Pixel(x, y), expected.Pixel(x, y))
                    << "style " << design.style << " from " << design.from << " at " << x << ","
                    << y;
    }
}

// A list off screen is painted only when its pixels are wanted, but it must show what a list
// on screen painted at once shows, and measure its rows for the horizontal bar the same way.
TEST(ListRepaint, AListOffScreenShowsAndMeasuresWhatOneOnScreenDoes) {
    ControlContainer container;
    McListBox shown;
    McListBox hidden;
    for (McListBox* list : {&shown, &hidden}) {
        SetUpList(container, *list);
        list->AddItem(QStringLiteral("a row far wider than the list can show at its width"));
        list->setListBold(3, true);
    }
    shown.show();
    const std::vector<std::pair<const char*, Step>> steps{
        {"refresh", [](McListBox& l) { l.Refresh(); }},
        {"scroll sideways",
         [](McListBox& l) { l.Bars().SetBarValue(ScrollBars::kHorizontal, 40); }},
        // Moved again without a repaint: both show the rows of the last repaint.
        {"scroll, refresh and scroll back",
         [](McListBox& l) {
             l.Bars().SetBarValue(ScrollBars::kVertical, 20);
             l.Refresh();
             l.Bars().SetBarValue(ScrollBars::kVertical, 3);
         }},
        {"bold wide row", [](McListBox& l) { l.setListBold(30, true); }},
        // A widget off screen has its resize events when it is shown: refreshed here instead.
        {"narrower",
         [](McListBox& l) {
             l.setClientSize(180, 200);
             l.Refresh();
         }},
    };
    for (const auto& [name, step] : steps) {
        step(shown);
        step(hidden);
        EXPECT_EQ(hidden.Bars().GetBarMax(ScrollBars::kHorizontal),
                  shown.Bars().GetBarMax(ScrollBars::kHorizontal))
            << "after " << name;
        ASSERT_EQ(hidden.DrawingSurface().Image(), shown.DrawingSurface().Image())
            << "after " << name;
    }
}
