#include "controls/McListBox/McListBox.h"

#include <QPainter>

namespace {

// A top-level window that never takes input or focus, floating over every other window.
class TipWidget : public QWidget {
public:
    TipWidget()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
        setObjectName(QStringLiteral("PicComplete"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setEnabled(false);
        surface.SetBackColor(0x80000018u);
        surface.SetForeColor(0);
    }

    Surface surface;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(1, 1, surface.Image());
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

} // namespace

void McListBox::CreateTipWindow() {
    if (TipWindow == nullptr)
        TipWindow = new TipWidget;
    TipWindow->hide();
}

void McListBox::HideTip() {
    if (TipWindow != nullptr)
        TipWindow->hide();
    tipRow_ = -100;
}
