#pragma once

#include <QPointer>
#include <QScrollBar>
#include <array>
#include <cstdint>
#include <functional>

// The list scrolls with the two bars of its own window, numbered as the platform numbers
// them: 0 horizontal, 1 vertical. Positions follow the platform's model: a bar keeps minimum,
// maximum, page and position, and a written position is clamped to minimum ..
// maximum - page + 1 (minimum .. maximum when the page is 0).
namespace ScrollBars {

constexpr int kHorizontal = 0;
constexpr int kVertical = 1;

// Mask bits of the scroll information.
constexpr int kRange = 1;
constexpr int kPage = 2;
constexpr int kPosition = 4;
constexpr int kTrackPosition = 16;
constexpr int kAll = 23;

// Scroll codes of the scroll messages.
enum Code : int {
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbPosition = 4,
    kThumbTrack = 5,
    kTop = 6,
    kBottom = 7,
};

struct ScrollInfo {
    int32_t Min = 0;
    int32_t Max = 0;
    int32_t Page = 0;
    int32_t Pos = 0;
    int32_t TrackPos = 0;
};

// A Qt scroll bar that keeps what the style painted for the states it showed at rest (no
// pointer over it, no button down): the style paints a bar in dozens of gradient and line
// fills, each tall one handed to Qt's drawing threads, and a list shows its bars in the same
// few states again and again. Only wholly opaque pictures are kept, which look the same on
// any background; every other state is painted by the style as usual.
class BarWidget : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

// The bars a window owns: what the platform keeps for them. The two Qt scroll bars attached
// here only show that state; the conversion between the platform's range with its page and
// Qt's range without it happens in one place (Mirror). Both function families end here: on
// Qt the flat family differs from the standard one in its look only.
class BarWindow {
public:
    enum class Family { Standard, Flat };

    BarWindow();

    // The widgets that show the bars; either may be null (a window that is never shown).
    void SetScrollBars(QScrollBar* horizontal, QScrollBar* vertical);
    QScrollBar* ScrollBar(int bar) const { return widgets_[Index(bar)]; }
    // Called after a bar was shown or hidden: the window's client area changed.
    void SetClientChangedHandler(std::function<void()> handler) {
        clientChanged_ = std::move(handler);
    }

    void ShowScrollBar(Family family, int bar, bool show);
    bool IsShown(int bar) const { return shown_[Index(bar)]; }
    // Flags 0 enable both arrows, 3 disable both.
    void EnableScrollBar(Family family, int bar, int flags);
    bool IsEnabled(int bar) const { return enabled_[Index(bar)]; }
    ScrollInfo GetScrollInfo(Family family, int bar, int mask) const;
    void SetScrollInfo(Family family, int bar, const ScrollInfo& info, int mask);

    // The flat family is there unless a test takes it away (the platform lacking it).
    bool InitializeFlatSB();
    void UninitializeFlatSB();
    void FlatSB_SetScrollProp(int property, int32_t value);
    bool FlatLook() const { return flatInitialised_ && flatStyled_; }
    void SetFlatSupportAvailable(bool available) { flatAvailable_ = available; }

    // The position the user moved a bar to, before the list decided where it goes: a Qt bar
    // moves itself; the platform's bars only report the move. Puts the shown position back.
    void RestoreShownPosition(int bar);
    void SetTrackPosition(int bar, int32_t position) { info_[Index(bar)].TrackPos = position; }

private:
    static size_t Index(int bar) { return bar == kHorizontal ? 0 : 1; }
    void Mirror(int bar);
    void ApplyLook();

    std::array<ScrollInfo, 2> info_{};
    std::array<bool, 2> shown_{false, false};
    std::array<bool, 2> enabled_{true, true};
    std::array<QPointer<QScrollBar>, 2> widgets_{};
    std::function<void()> clientChanged_;
    bool flatAvailable_ = true;
    bool flatInitialised_ = false;
    bool flatStyled_ = false;
    bool mirroring_ = false;
};

// The layer the list talks to: one window's bars through the standard or the flat family.
// Without an attached window every operation does nothing and positions read 0.
class Layer {
public:
    void AttachBars(BarWindow* window);
    void InitFlatBars();
    void DetachBars();
    BarWindow* Window() const { return barWindow_; }

    bool UseStandardBars() const { return useStandardBars_; }
    void SetUseStandardBars(bool standard) { useStandardBars_ = standard; }

    void SetBarStyle(int32_t style);
    bool GetBarVisible(int bar) const { return visible_[Index(bar)]; }
    void SetBarVisible(int bar, bool show);
    void SetBarEnabled(int bar, bool enabled);
    ScrollInfo GetBarInfo(int bar, int mask) const;
    void SetBarInfo(int bar, const ScrollInfo& info, int mask);
    int32_t GetBarMin(int bar) const { return GetBarInfo(bar, kRange).Min; }
    int32_t GetBarMax(int bar) const { return GetBarInfo(bar, kRange).Max; }
    int32_t GetBarValue(int bar) const { return GetBarInfo(bar, kPosition).Pos; }
    int32_t GetLargeChange(int bar) const { return GetBarInfo(bar, kPage).Page; }
    int32_t GetSmallChange(int bar) const { return smallChange_[Index(bar)]; }
    void SetBarMax(int bar, int32_t value);
    void SetBarValue(int bar, int32_t value);
    void SetLargeChange(int bar, int32_t value);
    void SetSmallChange(int bar, int32_t value) { smallChange_[Index(bar)] = value; }

    // One scroll message's action on `bar`; the caller compares positions and redraws.
    void ScrollAction(int bar, int code);

private:
    static size_t Index(int bar) { return bar == kHorizontal ? 0 : 1; }
    BarWindow::Family Family() const {
        return useStandardBars_ ? BarWindow::Family::Standard : BarWindow::Family::Flat;
    }

    BarWindow* barWindow_ = nullptr;
    bool useStandardBars_ = true;
    std::array<int32_t, 2> smallChange_{0, 0};
    std::array<bool, 2> visible_{false, false};
    int32_t flatStyle_ = 0;
    int32_t barOrientation_ = 0;
};

} // namespace ScrollBars
