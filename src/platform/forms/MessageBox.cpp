#include "platform/forms/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

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

} // namespace MsgBox

int MessageBox(const QString& prompt, int style, const QString& title) {
    const QString caption = title.isEmpty() ? QStringLiteral("Tallyboard") : title;
    if (const auto& responder = MsgBox::CurrentResponder())
        return responder({prompt, style, caption});

    QMessageBox box(QApplication::activeWindow());
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
