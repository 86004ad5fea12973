#include "controls/McListBox/McListBox.h"

#include "platform/forms/ControlContainer.h"

#include <QAbstractSlider>
#include <QCursor>
#include <QScrollBar>
#include <QTimerEvent>
#include <QWheelEvent>

// Qt's own event handlers deliver what the list needs beyond its usual events: the refresh
// timer, the scroll bars' actions, the wheel and the pointer entering and leaving. Each
// reaction runs after the widget's own handling of the event, and only once the control has
// been set up to receive them (InitWindow at run time).

void McListBox::InitWindow() {
    if (bars_.Window() != nullptr)
        return;
    try {
        if (container_->UserMode()) {
            // Qt always reports the pointer leaving, so the reactions are always available.
            hookInstalled_ = true;
            setMouseTracking(true);
        }
        if (bars_.Window() == nullptr)
            bars_.AttachBars(&barWindow_);
        CreateTipWindow();
    } catch (const std::exception&) {
        // Set-up failures leave the control working with its own handling.
    }
}

void McListBox::timerEvent(QTimerEvent* event) {
    QWidget::timerEvent(event);
    if (!hookInstalled_) {
        // Nothing counts the ticks: a timer left running would only spin.
        if (event->timerId() == refreshTimerId_) {
            killTimer(refreshTimerId_);
            refreshTimerId_ = 0;
        }
        return;
    }
    RefreshTimerTick();
}

void McListBox::RefreshTimerTick() {
    try {
        ++refreshTicks_;
        if (refreshTicks_ == 5) {
            if (refreshTimerId_ != 0)
                killTimer(refreshTimerId_);
            refreshTimerId_ = 0;
            refreshTicks_ = 0;
            Refresh();
        }
    } catch (const std::exception&) {
    }
}

void McListBox::BarActionTriggered(int bar, int action) {
    int code = -1;
    switch (action) {
    case -1:
        code = ScrollBars::kThumbPosition;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        code = ScrollBars::kLineUp;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        code = ScrollBars::kLineDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = ScrollBars::kPageUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = ScrollBars::kPageDown;
        break;
    case QAbstractSlider::SliderMove:
        code = ScrollBars::kThumbTrack;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = ScrollBars::kTop;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = ScrollBars::kBottom;
        break;
    default:
        break;
    }
    // The platform's bars only report what the user did; where they go is the list's
    // decision, so Qt's own step is taken back first.
    if (QScrollBar* widget = barWindow_.ScrollBar(bar); widget != nullptr && action != -1)
        barWindow_.SetTrackPosition(bar, widget->sliderPosition());
    if (action != -1)
        barWindow_.RestoreShownPosition(bar);
    if (hookInstalled_ && code >= 0)
        ScrollMessage(bar, code);
}

void McListBox::ScrollMessage(int bar, int code) {
    using namespace ScrollBars;
    try {
        const int oldV = bars_.GetBarValue(kVertical);
        const int oldH = bars_.GetBarValue(kHorizontal);
        bars_.ScrollAction(bar, code);
        if (bars_.GetBarValue(kVertical) != oldV || bars_.GetBarValue(kHorizontal) != oldH)
            DrawList();
    } catch (const std::exception&) {
    }
}

void McListBox::WheelScroll(bool ctrl, int delta) {
    if (ListCount() > visibleRows_)
        ScrollMessage(ctrl ? ScrollBars::kHorizontal : ScrollBars::kVertical,
                      delta < 0 ? ScrollBars::kLineDown : ScrollBars::kLineUp);
    // A list whose rows all fit does not scroll, but the turn still hides the tip.
    HideTip();
}

void McListBox::wheelEvent(QWheelEvent* event) {
    QWidget::wheelEvent(event);
    event->accept();
    if (!hookInstalled_)
        return;
    const QPoint angle = event->angleDelta();
    // A sideways tilt is a message of its own on the original platform, one the list never
    // took: only the vertical wheel scrolls (sideways too, with Ctrl).
    if (angle.y() == 0 && angle.x() != 0)
        return;
    if (angle.y() == 0) {
        HideTip();
        return;
    }
    WheelScroll(event->modifiers().testFlag(Qt::ControlModifier), angle.y());
}

void McListBox::PointerMoved() {
    if (!hookInstalled_ || mouseInWindow_)
        return;
    mouseInWindow_ = true;
    Q_EMIT MouseEnter();
}

void McListBox::enterEvent(QEnterEvent* event) {
    // Entering is reported with the first move inside, after that move's own event.
    QWidget::enterEvent(event);
}

void McListBox::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    // The pointer moving onto this list's own tip is still over the list: the tip passes its
    // moves on and reports the leave once the pointer is outside both.
    if (tipWindow_ && tipWindow_->isVisible() && tipWindow_->geometry().contains(QCursor::pos()) &&
        rect().contains(mapFromGlobal(QCursor::pos())))
        return;
    PointerLeft();
}

bool McListBox::eventFilter(QObject* watched, QEvent* event) {
    // The bars are the window's own, outside the client area: reaching one leaves the rows,
    // and a wheel turn over one is the window's wheel turn, one line whatever the bar would do.
    if (watched == horizontalBar_ || watched == verticalBar_) {
        if (event->type() == QEvent::Enter)
            PointerLeft();
        if (event->type() == QEvent::Wheel) {
            wheelEvent(static_cast<QWheelEvent*>(event));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void McListBox::PointerLeft() {
    // Leaving is reported once for each entering, and only after it.
    if (!hookInstalled_ || !mouseInWindow_)
        return;
    mouseInWindow_ = false;
    HideTip();
    Q_EMIT MouseLeave();
}
