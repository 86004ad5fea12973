#include "controls/McListBox/McListBox.h"

#include "platform/forms/Locale.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyleHints>
#include <QWheelEvent>
#include <cmath>

namespace {

// A top-level window that never takes the focus, floating over every other window. It lies
// over the row under the pointer, so the pointer is over the tip rather than the list: the
// tip hands every move, press, release, double-click and wheel turn on to its list, and tells
// the list when the pointer has left both. Without that the list would see the pointer leave
// as soon as its tip appeared, hide the tip, and see it enter again: a flickering tip and a
// row that cannot be clicked where the tip covers it.
class TipWidget : public QWidget {
public:
    explicit TipWidget(McListBox* list)
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
        , list_(list) {
        setObjectName(QStringLiteral("PicComplete"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        setMouseTracking(true);
        surface.SetBackColor(0x80000018u);
        surface.SetForeColor(0);
    }

    // Inside the single-line border.
    Surface surface;

protected:
    bool event(QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::Leave:
            if (list_)
                list_->TakeTipEvent(event);
            return true;
        default:
            return QWidget::event(event);
        }
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(1, 1, surface.Image());
        DrawEdges(painter, rect(), Qt::black, Qt::black);
    }

private:
    QPointer<McListBox> list_;
};

int Round(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

void McListBox::CreateTipWindow() {
    if (tipWindow_ == nullptr)
        tipWindow_ = new TipWidget(this);
    tipWindow_->hide();
}

void McListBox::TakeTipEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        // Made below from the presses: the tip's own double-clicks are not reliable (Qt
        // makes none for a tool-tip window on some platforms).
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF at = mapFromGlobal(mouse->globalPosition());
        auto forward = [&](QEvent::Type type) {
            QMouseEvent copy(type, at, mouse->globalPosition(), mouse->button(), mouse->buttons(),
                             mouse->modifiers(), mouse->pointingDevice());
            QCoreApplication::sendEvent(this, &copy);
        };
        if (mouse->type() != QEvent::MouseButtonPress) {
            forward(mouse->type());
            break;
        }
        const QStyleHints* hints = QGuiApplication::styleHints();
        const bool doubleClick = mouse->button() == tipPressButton_ &&
                                 mouse->timestamp() - tipPressTime_ <
                                     static_cast<quint64>(hints->mouseDoubleClickInterval()) &&
                                 (mouse->globalPosition() - tipPressAt_).manhattanLength() <=
                                     hints->mouseDoubleClickDistance();
        // A third quick press starts a new click, not another double-click.
        tipPressButton_ = doubleClick ? Qt::NoButton : mouse->button();
        tipPressAt_ = mouse->globalPosition();
        tipPressTime_ = mouse->timestamp();
        tipDoubleClickPress_ = doubleClick;
        forward(QEvent::MouseButtonPress);
        tipDoubleClickPress_ = false;
        if (doubleClick)
            forward(QEvent::MouseButtonDblClick);
        break;
    }
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        QWheelEvent copy(mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                         wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                         wheel->modifiers(), wheel->phase(), wheel->inverted());
        QCoreApplication::sendEvent(this, &copy);
        break;
    }
    case QEvent::Leave:
        // Off the tip onto the list is no leave; off both is.
        if (!rect().contains(mapFromGlobal(QCursor::pos()))) {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(this, &leave);
        }
        break;
    default:
        break;
    }
}

void McListBox::HideTip() {
    if (tipWindow_ != nullptr)
        tipWindow_->hide();
    tipRow_ = -100;
}

bool McListBox::IsBreakChar(QChar c) {
    const char16_t code = c.unicode();
    return !((code >= 65 && code <= 90) || code == 95 || (code >= 97 && code <= 122));
}

QStringList McListBox::WrapText(const QString& s, int W, bool removeBreaks) const {
    // Measured in the control's font as it stands, bold when the row to wrap is.
    Surface measure(1, 1);
    measure.SetFont(surface_.Font());
    QString text = s;
    if (removeBreaks)
        text.remove(QStringLiteral("\r\n"));
    QString cur;
    qsizetype lineStart = 0;
    qsizetype brk = 0;
    QStringList result;
    const qsizetype length = text.size();
    for (qsizetype j = 1; j <= length; ++j) {
        const QChar c = text[j - 1];
        if (IsBreakChar(c))
            brk = j - lineStart - 1;
        // The end of the text alone breaks nothing: what is left, last character included,
        // is the last line below.
        if (measure.TextWidth(cur + c) >= W) {
            if (brk == 0)
                brk = j - lineStart - 1;
            result.append(Locale::TrimSpaces(cur.left(brk)));
            cur = cur.mid(brk);
            lineStart += brk;
            brk = 0;
        }
        cur += c;
    }
    if (length == 0)
        return result;
    // Only the spaces of the break before it are trimmed, so the line ends with the text's
    // last character.
    qsizetype lead = 0;
    while (lead < cur.size() - 1 && cur[lead] == u' ')
        ++lead;
    result.append(cur.mid(lead));
    return result;
}

void McListBox::ShowItemTip(int r) {
    using namespace ScrollBars;
    // Every step runs even when the one before failed: the worst is a stale or missing tip.
    auto step = [](auto&& action) {
        try {
            action();
        } catch (const std::exception&) {
        }
    };
    const int i = bars_.GetBarValue(kVertical) + r - 1;
    QString text;
    QString bold;
    step([&] {
        const Row row = Items.value(i);
        text = i >= 0 && i < Items.size() ? row.Field(0) : QString();
        bold = row.Field(2);
    });
    rowOriginX_ = -bars_.GetBarValue(kHorizontal);
    step([&] { CheckItem(text, rowOriginX_, -1); });
    int tw = surface_.TextWidth(text);
    if (ClientWidth() - textOffset_ - rowOriginX_ > tw) {
        HideTip();
        return;
    }
    surface_.SetFontBold(bold == QLatin1String("True"));
    if (r == tipRow_)
        return;
    auto* tip = static_cast<TipWidget*>(tipWindow_.data());
    if (tip == nullptr)
        return;
    const double h = rowPitch_;
    int t = Round((h - surface_.TextHeight(QStringLiteral("A"))) / 2 - 2);
    // The control's font, with the bold flag of the row just set.
    tip->surface.SetFont(surface_.Font());
    const QRect rc(mapToGlobal(QPoint(0, 0)), size());
    const QRect screenArea = screen() != nullptr ? screen()->geometry() : QRect(0, 0, 1024, 768);
    const int room = screenArea.x() + screenArea.width() - (rc.left() + textOffset_);
    int tipWidth = 0;
    int tipHeight = 0;
    if (room < tw) {
        tw = room - 10;
        text = WrapText(text, room - 15, true).join(QStringLiteral("\r\n"));
        const int th = tip->surface.TextHeight(text);
        t = th >= h ? 5 : Round((h - th) / 2 - 2);
        tipWidth = tw;
        tipHeight = th + 10;
    } else {
        tipWidth = tw + 12;
        tipHeight = Round(h - 1);
    }
    const int left = rc.left() + textOffset_ + 2 + rowOriginX_;
    const int top = static_cast<int>(std::floor((r - 1) * h + rc.top() + 3));
    step([&] {
        tip->setGeometry(left, top, std::max(tipWidth, 1), std::max(tipHeight, 1));
        // At the list's density: the tip shows on the list's screen.
        tip->surface.Resize(std::max(tipWidth - 2, 0), std::max(tipHeight - 2, 0),
                            devicePixelRatioF());
        tip->surface.Clear();
        tip->surface.DrawText(text, QRect(QPoint(5, t), QPoint(tipWidth - 1, tipHeight - 1)),
                              Surface::kLeft);
        tip->update();
    });
    tip->raise();
    tip->show();
    tipRow_ = r;
}
