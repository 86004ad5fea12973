#include "platform/forms/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>

namespace MsgBox {
namespace {
Responder& CurrentResponder() {
    static Responder responder;
    return responder;
}
} // namespace

void SetResponder(Responder responder) {
    CurrentResponder() = std::move(responder);
}

namespace {
// The window whose handler raises a box is the active one; right after an earlier box of the
// same handler closed, none is active until the activation comes back, and the earlier box's
// owner is the one still raising boxes.
QWidget* RaisingWindow() {
    static QPointer<QWidget> lastOwner;
    QWidget* active = QApplication::activeWindow();
    if (active && !qobject_cast<QMessageBox*>(active))
        lastOwner = active;
    else if (!lastOwner || !lastOwner->isVisible())
        return active;
    return lastOwner;
}
// Qt places a dialog on its parent before the box has laid out its text and buttons, with
// the size it had then: on X11 the box ended up some 40 px above and 10 px left of the
// centre. It is placed again once it has its own size, before it is mapped.
class CentredBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        if (owner == nullptr || event->spontaneous())
            return;
        QRect placed(QPoint(), frameGeometry().size());
        placed.moveCenter(owner->frameGeometry().center());
        if (const QScreen* screen = owner->screen()) {
            const QRect room = screen->availableGeometry();
            placed.moveLeft(std::clamp(placed.left(), room.left(),
                                       std::max(room.left(), room.right() - placed.width() + 1)));
            placed.moveTop(std::clamp(placed.top(), room.top(),
                                      std::max(room.top(), room.bottom() - placed.height() + 1)));
        }
        move(placed.topLeft());
    }
};

} // namespace

} // namespace MsgBox

int MessageBox(const QString& prompt, int style, const QString& title) {
    const QString caption = title.isEmpty() ? QStringLiteral("Tallyboard") : title;
    if (const auto& responder = MsgBox::CurrentResponder())
        return responder({prompt, style, caption});

    // Centred on the window that raised it.
    MsgBox::CentredBox box(MsgBox::RaisingWindow());
    box.setWindowTitle(caption);
    box.setText(prompt);
    switch (style & 0x70) {
    case MsgBox::kCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgBox::kQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgBox::kExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgBox::kInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    if ((style & 0x7) == MsgBox::kYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MsgBox::kYes : MsgBox::kNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgBox::kOK;
}
