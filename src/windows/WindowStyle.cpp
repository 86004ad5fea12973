#include "windows/WindowStyle.h"

#include "controls/TransPicBox.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Fonts.h"
#include "platform/forms/Form.h"
#include "platform/forms/SystemColors.h"
#include "platform/forms/Twips.h"

#include <QApplication>
#include <QIcon>

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

QFont Font(const QString& family, double pointSize, bool bold) {
    return DesignFont(family, pointSize, bold);
}

namespace {
void SetUpFrame(Form& window, const QString& name, const QString& caption, const QString& icon,
                int width, int height) {
    window.setObjectName(name);
    window.setWindowTitle(caption);
    window.SetIconLater(icon);
    window.SetClientSizeTwips(width, height);
    window.setFont(DefaultFont());
    window.Container().SetAmbientFont(window.font());
}
} // namespace

void SetUpWindow(Form& window, const QString& name, const QString& caption, const QString& icon,
                 int width, int height, const QString& background) {
    SetUpFrame(window, name, caption, icon, width, height);
    window.SetBackgroundPicture(LoadPicture(background, window.maximumSize()));
}

void SetUpWindow(Form& window, const QString& name, const QString& caption, const QString& icon,
                 int width, int height, uint32_t backColor) {
    SetUpFrame(window, name, caption, icon, width, height);
    window.SetBackColor(backColor);
}

namespace {
const QString kEmblemName = QStringLiteral("TransPicBox1");
} // namespace

TransPicBox* MakeEmblem(Form& window) {
    auto* emblem = new TransPicBox(&window);
    emblem->setObjectName(kEmblemName);
    emblem->setContainer(&window.Container());
    return emblem;
}

void PrepareEmblem(Form& window, const QString& design) {
    window.PrepareStoredDesign(design, kEmblemName);
}

void LoadEmblem(TransPicBox& emblem, const QString& design, int left, int top, int width,
                int height) {
    auto* window = qobject_cast<Form*>(emblem.window());
    emblem.ReadProperties(window != nullptr
                              ? window->PreparedStoredDesign(design, emblem.objectName())
                              : Form::StoredDesign(design, emblem.objectName()));
    emblem.setGeometry(TwipsRect(left, top, width, height));
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

Label* MakeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                 int width, int height, bool bold, bool autoSize) {
    auto* label = new Label(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    label->setFont(bold ? BoldFont() : DefaultFont());
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(TwipsRect(left, top, width, height));
    if (autoSize)
        label->adjustSize();
    return label;
}

Label* MakeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                 int width, int height, const QFont& font, uint32_t foreColor) {
    Label* label = MakeLabel(parent, name, caption, left, top, width, height, false);
    label->setFont(font);
    label->setWordWrap(true);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, SystemColors::ToQColor(foreColor, 0x000000));
    label->setPalette(p);
    return label;
}

Label* MakePicture(QWidget* parent, const QString& name, const QString& resource, int left, int top,
                   int width, int height, bool stretch) {
    auto* picture = new Label(parent);
    picture->setObjectName(name);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setScaledContents(stretch);
    picture->setPixmap(QPixmap::fromImage(LoadPicture(resource)));
    picture->setGeometry(TwipsRect(left, top, width, height));
    return picture;
}

ComboBox* MakeComboBox(QWidget* parent, const QString& name, int left, int top, int width,
                       int height) {
    auto* box = new ComboBox(parent);
    box->setObjectName(name);
    box->setFont(parent->font());
    box->setGeometry(TwipsRect(left, top, width, height));
    return box;
}

void TabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void CentreOverActiveWindow(Form& window) {
    QWidget* owner = QApplication::activeWindow();
    window.CentreOver(owner == &window ? nullptr : owner);
}

} // namespace WindowStyle
