#include "windows/WindowStyle.h"

#include "controls/TransPicBox.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/SystemColors.h"
#include "platform/forms/Twips.h"

#include <QIcon>
#include <QLabel>

namespace WindowStyle {

QFont DefaultFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    return font;
}

QFont BoldFont(const QString& family) {
    QFont font(family);
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

QFont ImpactFont(double points, bool bold) {
    QFont font(QStringLiteral("Impact"));
    font.setPointSizeF(points);
    // Impact is heavy whatever the design asks; its substitute is drawn bold, and narrowed, since
    // it is wider than the condensed face the captions were sized for.
    (void)bold;
    font.setBold(true);
    font.setStretch(66);
    return font;
}

void SetUpWindow(Form& window, const QString& name, const QString& caption, const QString& icon,
                 int width, int height, const QString& background) {
    window.setObjectName(name);
    window.setWindowTitle(caption);
    window.setWindowIcon(QIcon(icon));
    window.SetClientSizeTwips(width, height);
    if (!background.isEmpty())
        window.SetBackgroundPicture(LoadPicture(background));
    window.setFont(DefaultFont());
    window.Container().SetAmbientFont(window.font());
}

TransPicBox* MakeEmblem(Form& window) {
    auto* emblem = new TransPicBox(&window);
    emblem->setObjectName(QStringLiteral("TransPicBox1"));
    emblem->setContainer(&window.Container());
    return emblem;
}

TextBox* MakeTextBox(QWidget* parent, const QString& name, int left, int top, int width, int height,
                     int maxLength) {
    auto* box = new TextBox(parent);
    box->setObjectName(name);
    box->setGeometry(TwipsRect(left, top, width, height));
    box->setMaxLength(maxLength);
    box->setFont(parent->font());
    return box;
}

CommandButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, int left,
                          int top, int width, int height, uint32_t backColor) {
    auto* button = new CommandButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(TwipsRect(left, top, width, height));
    button->setFont(BoldFont());
    if (backColor != 0)
        button->SetBackColor(backColor);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                  int width, int height, bool bold, bool autoSize) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(bold ? BoldFont() : DefaultFont());
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(TwipsRect(left, top, width, height));
    if (autoSize)
        label->adjustSize();
    return label;
}

void SetForeColor(QLabel& label, uint32_t colour) {
    QPalette p = label.palette();
    p.setColor(QPalette::WindowText, SystemColors::ToQColor(colour, 0x000000));
    label.setPalette(p);
}

} // namespace WindowStyle
