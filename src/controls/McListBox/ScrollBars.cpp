#include "controls/McListBox/ScrollBars.h"

#include "controls/McListBox/RecentCache.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionSlider>
#include <algorithm>

namespace ScrollBars {

namespace {

// Flat bars: a plain groove, a plain handle and no bevels.
const char* const kFlatLook =
    "QScrollBar { background: palette(window); border: none; }"
    "QScrollBar::handle { background: palette(mid); border: none; min-width: 8px;"
    " min-height: 8px; }"
    "QScrollBar::handle:disabled { background: palette(window); }"
    "QScrollBar::add-line, QScrollBar::sub-line { background: palette(button); border: none;"
    " subcontrol-origin: margin; }"
    "QScrollBar::add-line:horizontal { subcontrol-position: right; width: 16px; }"
    "QScrollBar::sub-line:horizontal { subcontrol-position: left; width: 16px; }"
    "QScrollBar::add-line:vertical { subcontrol-position: bottom; height: 16px; }"
    "QScrollBar::sub-line:vertical { subcontrol-position: top; height: 16px; }"
    "QScrollBar:horizontal { margin: 0 16px 0 16px; }"
    "QScrollBar:vertical { margin: 16px 0 16px 0; }";

int32_t Clamp(const ScrollInfo& info, int32_t position) {
    const int32_t highest = info.Page >= 1 ? info.Max - info.Page + 1 : info.Max;
    return std::max(info.Min, std::min(position, highest));
}

// What the style reads when it paints a bar at rest.
struct BarLook {
    // The style's name as well: a style made after another was deleted may take its address.
    const QStyle* style;
    QString styleName;
    QSize size;
    qreal ratio;
    int state;
    int direction;
    qint64 palette;
    int orientation;
    int minimum;
    int maximum;
    int position;
    int value;
    int singleStep;
    int pageStep;
    bool upsideDown;
    bool operator==(const BarLook&) const = default;
};

// Pictures of bars at rest; a null picture marks a look that is not opaque and is always
// painted by the style. A list's bars at their few lengths and positions, a few KiB each.
RecentCache<BarLook, QImage>& BarPictures() {
    static RecentCache<BarLook, QImage> pictures(16);
    return pictures;
}

bool Opaque(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(row[x]) != 255)
                return false;
    }
    return true;
}

} // namespace

void BarWidget::paintEvent(QPaintEvent* event) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    // Under the pointer or pressed, the bar shows a state only the base class knows.
    if (pressed_ || testAttribute(Qt::WA_UnderMouse) || !styleSheet().isEmpty() ||
        style()->styleHint(QStyle::SH_ScrollBar_Transient, &option, this)) {
        QScrollBar::paintEvent(event);
        return;
    }
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    const BarLook look{style(),
                       style()->name(),
                       size(),
                       devicePixelRatioF(),
                       static_cast<int>(option.state),
                       static_cast<int>(option.direction),
                       option.palette.cacheKey(),
                       static_cast<int>(option.orientation),
                       option.minimum,
                       option.maximum,
                       option.sliderPosition,
                       option.sliderValue,
                       option.singleStep,
                       option.pageStep,
                       option.upsideDown};
    const QImage* kept = BarPictures().Find(look);
    if (kept == nullptr) {
        QImage picture((size() * look.ratio), QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(look.ratio);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
        }
        if (!Opaque(picture))
            picture = QImage();
        else
            picture = picture.convertToFormat(QImage::Format_RGB32);
        kept = &BarPictures().Insert(look, std::move(picture));
    }
    if (kept->isNull()) {
        QScrollBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, *kept);
}

void BarWidget::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    QScrollBar::mousePressEvent(event);
}

void BarWidget::mouseReleaseEvent(QMouseEvent* event) {
    QScrollBar::mouseReleaseEvent(event);
    pressed_ = event->buttons() != Qt::NoButton;
}

BarWindow::BarWindow() = default;

void BarWindow::SetScrollBars(QScrollBar* horizontal, QScrollBar* vertical) {
    widgets_[0] = horizontal;
    widgets_[1] = vertical;
    for (const int bar : {kHorizontal, kVertical}) {
        QScrollBar* widget = widgets_[Index(bar)];
        if (widget == nullptr)
            continue;
        // A bar shows the position the window keeps. A value Qt sets by itself, as its "Scroll
        // here" does without any action, is no scroll message and is taken back.
        QObject::connect(widget, &QScrollBar::valueChanged, widget, [this, bar](int value) {
            if (value != info_[Index(bar)].Pos)
                RestoreShownPosition(bar);
        });
    }
    Mirror(kHorizontal);
    Mirror(kVertical);
    ApplyLook();
}

void BarWindow::Mirror(int bar) {
    QScrollBar* widget = widgets_[Index(bar)];
    if (widget == nullptr)
        return;
    const ScrollInfo& info = info_[Index(bar)];
    const QSignalBlocker blocker(widget);
    // Qt keeps the range without the page: its largest value is the platform's largest
    // reachable position.
    const int32_t highest =
        std::max(info.Min, info.Page >= 1 ? info.Max - info.Page + 1 : info.Max);
    widget->setRange(info.Min, highest);
    widget->setPageStep(std::max(info.Page, 1));
    widget->setValue(info.Pos);
    widget->setSliderPosition(info.Pos);
    widget->setEnabled(enabled_[Index(bar)]);
    widget->setVisible(shown_[Index(bar)]);
}

void BarWindow::ApplyLook() {
    for (auto& widget : widgets_)
        if (widget != nullptr)
            widget->setStyleSheet(FlatLook() ? QString::fromLatin1(kFlatLook) : QString());
}

void BarWindow::ShowScrollBar(Family, int bar, bool show) {
    if (shown_[Index(bar)] == show)
        return;
    shown_[Index(bar)] = show;
    Mirror(bar);
    if (clientChanged_)
        clientChanged_();
}

void BarWindow::EnableScrollBar(Family, int bar, int flags) {
    enabled_[Index(bar)] = (flags & 3) != 3;
    Mirror(bar);
}

ScrollInfo BarWindow::GetScrollInfo(Family, int bar, int mask) const {
    const ScrollInfo& stored = info_[Index(bar)];
    ScrollInfo info;
    if (mask & kRange) {
        info.Min = stored.Min;
        info.Max = stored.Max;
    }
    if (mask & kPage)
        info.Page = stored.Page;
    if (mask & kPosition)
        info.Pos = stored.Pos;
    if (mask & kTrackPosition)
        info.TrackPos = stored.TrackPos;
    return info;
}

void BarWindow::SetScrollInfo(Family, int bar, const ScrollInfo& info, int mask) {
    ScrollInfo& stored = info_[Index(bar)];
    if (mask & kRange) {
        stored.Min = info.Min;
        stored.Max = info.Max;
    }
    if (mask & kPage)
        stored.Page = info.Page;
    // The platform never keeps a page larger than the range.
    stored.Page = std::max(0, std::min(stored.Page, stored.Max - stored.Min + 1));
    if (mask & kPosition)
        stored.Pos = info.Pos;
    // Every write leaves the position inside the range the new values allow.
    stored.Pos = Clamp(stored, stored.Pos);
    Mirror(bar);
}

bool BarWindow::InitializeFlatSB() {
    if (!flatAvailable_)
        return false;
    flatInitialised_ = true;
    return true;
}

void BarWindow::UninitializeFlatSB() {
    flatInitialised_ = false;
    flatStyled_ = false;
    ApplyLook();
}

void BarWindow::FlatSB_SetScrollProp(int, int32_t) {
    if (!flatInitialised_)
        return;
    flatStyled_ = true;
    ApplyLook();
}

void BarWindow::RestoreShownPosition(int bar) {
    QScrollBar* widget = widgets_[Index(bar)];
    if (widget == nullptr)
        return;
    const QSignalBlocker blocker(widget);
    widget->setSliderPosition(info_[Index(bar)].Pos);
}

void Layer::AttachBars(BarWindow* window) {
    DetachBars();
    barWindow_ = window;
    InitFlatBars();
}

void Layer::InitFlatBars() {
    if (barWindow_ == nullptr)
        return;
    if (!barWindow_->InitializeFlatSB())
        useStandardBars_ = true;
    else
        SetBarStyle(flatStyle_);
}

void Layer::DetachBars() {
    if (barWindow_ != nullptr && !useStandardBars_)
        barWindow_->UninitializeFlatSB();
    barWindow_ = nullptr;
}

void Layer::SetBarStyle(int32_t style) {
    if (barWindow_ == nullptr || useStandardBars_)
        return;
    constexpr int kHorizontalStyle = 0x200;
    constexpr int kVerticalStyle = 0x100;
    if (barOrientation_ == 0 || barOrientation_ == 2)
        barWindow_->FlatSB_SetScrollProp(kHorizontalStyle, style);
    if (barOrientation_ == 1 || barOrientation_ == 2)
        barWindow_->FlatSB_SetScrollProp(kVerticalStyle, style);
    flatStyle_ = style;
}

void Layer::SetBarVisible(int bar, bool show) {
    visible_[Index(bar)] = show;
    if (barWindow_ != nullptr)
        barWindow_->ShowScrollBar(Family(), bar, show);
}

void Layer::SetBarEnabled(int bar, bool enabled) {
    if (barWindow_ != nullptr)
        barWindow_->EnableScrollBar(Family(), bar, enabled ? 0 : 3);
}

ScrollInfo Layer::GetBarInfo(int bar, int mask) const {
    if (barWindow_ == nullptr)
        return {};
    return barWindow_->GetScrollInfo(Family(), bar, mask);
}

void Layer::SetBarInfo(int bar, const ScrollInfo& info, int mask) {
    if (barWindow_ != nullptr)
        barWindow_->SetScrollInfo(Family(), bar, info, mask);
}

void Layer::SetBarMax(int bar, int32_t value) {
    ScrollInfo info = GetBarInfo(bar, kAll);
    info.Max = value + info.Page;
    SetBarInfo(bar, info, kRange);
}

void Layer::SetBarValue(int bar, int32_t value) {
    if (value == GetBarValue(bar))
        return;
    ScrollInfo info;
    info.Pos = value;
    SetBarInfo(bar, info, kPosition);
}

void Layer::SetLargeChange(int bar, int32_t value) {
    ScrollInfo info = GetBarInfo(bar, kAll);
    info.Max = info.Max - info.Page + value;
    info.Page = value;
    SetBarInfo(bar, info, kRange | kPage);
}

void Layer::ScrollAction(int bar, int code) {
    switch (code) {
    case kLineUp:
        if (GetBarVisible(bar))
            SetBarValue(bar, std::max(GetBarValue(bar) - GetSmallChange(bar), GetBarMin(bar)));
        break;
    case kLineDown:
        if (GetBarVisible(bar))
            SetBarValue(bar, std::min(GetBarValue(bar) + GetSmallChange(bar), GetBarMax(bar)));
        break;
    case kPageUp:
        SetBarValue(bar, GetBarValue(bar) - GetLargeChange(bar));
        break;
    case kPageDown:
        SetBarValue(bar, GetBarValue(bar) + GetLargeChange(bar));
        break;
    case kThumbTrack:
        SetBarValue(bar, GetBarInfo(bar, kTrackPosition).TrackPos);
        break;
    case kTop:
        SetBarValue(bar, GetBarMin(bar));
        break;
    case kBottom:
        SetBarValue(bar, GetBarMax(bar));
        break;
    default:
        break;
    }
}

} // namespace ScrollBars
