#include "controls/McListBox/ScrollBars.h"

#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <gtest/gtest.h>
#include <memory>

using namespace ScrollBars;

namespace {

// A layer attached to a window's bars, the way the list sets them up at run time.
class ScrollBarLayer : public ::testing::Test {
protected:
    ScrollBarLayer() { layer.AttachBars(&window); }

    // The list's vertical range for `count` rows of which `visible` fit (page left at 5).
    void RangeFor(int count, int visible) {
        layer.SetBarVisible(kVertical, true);
        layer.SetBarEnabled(kVertical, true);
        layer.SetBarMax(kVertical, count - visible);
        layer.SetBarMax(kVertical, layer.GetBarMax(kVertical) - 6);
        layer.SetSmallChange(kVertical, 1);
        layer.SetLargeChange(kVertical, 5);
    }

    BarWindow window;
    Layer layer;
};

} // namespace

TEST_F(ScrollBarLayer, PositionsAreClampedToTheLastReachablePage) {
    layer.SetLargeChange(kVertical, 5);
    RangeFor(20, 8);
    EXPECT_EQ(layer.GetBarMax(kVertical), 16);
    EXPECT_EQ(layer.GetLargeChange(kVertical), 5);
    layer.SetBarValue(kVertical, 12);
    EXPECT_EQ(layer.GetBarValue(kVertical), 12);
    layer.SetBarValue(kVertical, 13);
    EXPECT_EQ(layer.GetBarValue(kVertical), 12);
    layer.SetBarValue(kVertical, -3);
    EXPECT_EQ(layer.GetBarValue(kVertical), 0);
    // Line down at the last reachable top stays there.
    layer.SetBarValue(kVertical, 12);
    layer.ScrollAction(kVertical, kLineDown);
    EXPECT_EQ(layer.GetBarValue(kVertical), 12);
    EXPECT_TRUE(window.IsShown(kVertical));
    EXPECT_TRUE(window.IsEnabled(kVertical));
}

TEST_F(ScrollBarLayer, WithoutAPageThePositionReachesTheMaximum) {
    layer.SetBarMax(kHorizontal, 40);
    layer.SetBarValue(kHorizontal, 50);
    EXPECT_EQ(layer.GetBarValue(kHorizontal), 40);
}

TEST_F(ScrollBarLayer, HorizontalExtentOfAWideTextReachesItsEndPlusFiftyOne) {
    layer.SetSmallChange(kHorizontal, 5);
    layer.SetLargeChange(kHorizontal, 15);
    layer.SetBarVisible(kHorizontal, true);
    layer.SetBarMax(kHorizontal, 300 + 50 - 200);
    EXPECT_EQ(layer.GetBarMax(kHorizontal), 165);
    layer.ScrollAction(kHorizontal, kBottom);
    EXPECT_EQ(layer.GetBarValue(kHorizontal), 151);
    layer.ScrollAction(kHorizontal, kLineDown);
    EXPECT_EQ(layer.GetBarValue(kHorizontal), 151);
    layer.ScrollAction(kHorizontal, kPageUp);
    EXPECT_EQ(layer.GetBarValue(kHorizontal), 136);
    layer.ScrollAction(kHorizontal, kLineUp);
    EXPECT_EQ(layer.GetBarValue(kHorizontal), 131);
    layer.ScrollAction(kHorizontal, kTop);
    EXPECT_EQ(layer.GetBarValue(kHorizontal), 0);
    layer.ScrollAction(kHorizontal, kPageDown);
    EXPECT_EQ(layer.GetBarValue(kHorizontal), 15);
}

TEST_F(ScrollBarLayer, LineStepsNeedAVisibleBarButPageStepsDoNot) {
    layer.SetLargeChange(kVertical, 5);
    RangeFor(20, 8);
    layer.SetBarVisible(kVertical, false);
    layer.ScrollAction(kVertical, kLineDown);
    EXPECT_EQ(layer.GetBarValue(kVertical), 0);
    layer.ScrollAction(kVertical, kPageDown);
    EXPECT_EQ(layer.GetBarValue(kVertical), 5);
    window.SetTrackPosition(kVertical, 9);
    layer.ScrollAction(kVertical, kThumbTrack);
    EXPECT_EQ(layer.GetBarValue(kVertical), 9);
    layer.ScrollAction(kVertical, kThumbPosition);
    layer.ScrollAction(kVertical, 42);
    EXPECT_EQ(layer.GetBarValue(kVertical), 9);
}

TEST_F(ScrollBarLayer, DetachedLayerDoesNothingAndReadsZero) {
    layer.SetBarMax(kVertical, 30);
    layer.SetBarValue(kVertical, 10);
    layer.DetachBars();
    EXPECT_EQ(layer.GetBarValue(kVertical), 0);
    EXPECT_EQ(layer.GetBarMax(kVertical), 0);
    layer.SetBarValue(kVertical, 3);
    layer.SetBarVisible(kVertical, true);
    EXPECT_FALSE(window.IsShown(kVertical));
    // The window kept its bars: attaching again finds the old position.
    layer.AttachBars(&window);
    EXPECT_EQ(layer.GetBarValue(kVertical), 10);
}

TEST_F(ScrollBarLayer, FlatBarsFallBackToStandardWhenThePlatformLacksThem) {
    layer.DetachBars();
    QScrollBar horizontal(Qt::Horizontal);
    QScrollBar vertical(Qt::Vertical);
    window.SetScrollBars(&horizontal, &vertical);

    layer.SetUseStandardBars(false);
    layer.AttachBars(&window);
    EXPECT_FALSE(layer.UseStandardBars());
    EXPECT_TRUE(window.FlatLook());
    EXPECT_FALSE(vertical.styleSheet().isEmpty());
    layer.DetachBars();
    EXPECT_FALSE(window.FlatLook());

    window.SetFlatSupportAvailable(false);
    layer.SetUseStandardBars(false);
    layer.AttachBars(&window);
    EXPECT_TRUE(layer.UseStandardBars());
    EXPECT_FALSE(window.FlatLook());
    layer.SetLargeChange(kVertical, 5);
    RangeFor(20, 8);
    layer.SetBarValue(kVertical, 7);
    EXPECT_EQ(layer.GetBarValue(kVertical), 7);
}

TEST_F(ScrollBarLayer, QtBarsShowTheRangeWithoutThePage) {
    QScrollBar horizontal(Qt::Horizontal);
    QScrollBar vertical(Qt::Vertical);
    window.SetScrollBars(&horizontal, &vertical);
    layer.SetLargeChange(kVertical, 5);
    RangeFor(20, 8);
    layer.SetBarValue(kVertical, 4);
    EXPECT_EQ(vertical.minimum(), 0);
    EXPECT_EQ(vertical.maximum(), 12);
    EXPECT_EQ(vertical.pageStep(), 5);
    EXPECT_EQ(vertical.value(), 4);
    EXPECT_TRUE(vertical.isEnabled());
    layer.SetBarEnabled(kVertical, false);
    EXPECT_FALSE(vertical.isEnabled());
    EXPECT_FALSE(vertical.isHidden());
    layer.SetBarVisible(kVertical, false);
    EXPECT_TRUE(vertical.isHidden());
}

// A bar at rest shows what the style paints for it, whether its picture is new or kept from an
// earlier bar in the same state, and whatever state it showed before.
TEST(BarWidget, ABarAtRestShowsWhatTheStylePaintsForItsState) {
    struct State {
        Qt::Orientation orientation;
        QSize size;
        int maximum, page, value;
        bool enabled;
    };
    const State states[] = {
        {Qt::Vertical, {17, 233}, 994, 5, 0, true},
        {Qt::Vertical, {17, 233}, 994, 5, 500, true},
        {Qt::Vertical, {17, 233}, 994, 5, 0, true},
        {Qt::Vertical, {17, 216}, 994, 5, 994, true},
        {Qt::Vertical, {17, 233}, 0, 5, 0, false},
        {Qt::Horizontal, {384, 17}, 120, 15, 60, true},
        {Qt::Horizontal, {384, 17}, 120, 15, 0, true},
        {Qt::Horizontal, {384, 17}, 120, 15, 60, true},
    };
    for (const State& state : states) {
        BarWidget ours(state.orientation);
        QScrollBar stock(state.orientation);
        for (QScrollBar* bar : {static_cast<QScrollBar*>(&ours), &stock}) {
            bar->resize(state.size);
            bar->setRange(0, state.maximum);
            bar->setPageStep(state.page);
            bar->setValue(state.value);
            bar->setEnabled(state.enabled);
        }
        EXPECT_EQ(ours.grab().toImage(), stock.grab().toImage())
            << state.orientation << " " << state.size.width() << "x" << state.size.height()
            << " at " << state.value << (state.enabled ? "" : " disabled");
    }
}

// Bars of the same state under one style and then another, each made after the last was
// deleted, show what each style paints.
TEST(BarWidget, ABarShowsWhatItsOwnStylePaints) {
    for (const char* name : {"Fusion", "Windows", "Fusion", "Windows"}) {
        std::unique_ptr<QStyle> style(QStyleFactory::create(QString::fromLatin1(name)));
        ASSERT_TRUE(style) << name;
        BarWidget ours(Qt::Vertical);
        QScrollBar stock(Qt::Vertical);
        for (QScrollBar* bar : {static_cast<QScrollBar*>(&ours), &stock}) {
            bar->setStyle(style.get());
            bar->resize(17, 233);
            bar->setRange(0, 994);
            bar->setPageStep(5);
            bar->setValue(300);
        }
        EXPECT_EQ(ours.grab().toImage(), stock.grab().toImage()) << name;
    }
}
