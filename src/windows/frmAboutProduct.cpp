#include "windows/frmAboutProduct.h"

#include "controls/TransPicBox.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ProgramEnd.h"
#include "platform/forms/Shell.h"
#include "windows/WindowStyle.h"

namespace {
const QString kDesign = QStringLiteral(":/windows/frmAboutProduct.json");
constexpr uint32_t kBrown = 0x00004080;
} // namespace

frmAboutProduct::frmAboutProduct(QWidget* parent)
    : Form(parent) {
    WindowStyle::PrepareEmblem(*this, kDesign);
    WindowStyle::SetUpWindow(
        *this, QStringLiteral("frmAboutProduct"), QStringLiteral("About Pelmoran Todo List"),
        QStringLiteral(":/windows/about-product-icon.svg"), 7020, 4065, 0x0080C0FF);

    Image1 = WindowStyle::MakePicture(this, QStringLiteral("Image1"),
                                      QStringLiteral(":/windows/about-product-header.svg"), 0, 0,
                                      7020, 900, false);
    TransPicBox1 = WindowStyle::MakeEmblem(*this);
    Label1 = WindowStyle::MakeLabel(
        this, QStringLiteral("Label1"), QStringLiteral("About Pelmoran Todo List"), 1440, 120, 5295,
        615, WindowStyle::Font(QStringLiteral("Impact"), 21.75), kBrown);
    lblAbout = WindowStyle::MakeLabel(
        this, QStringLiteral("lblAbout"), QStringLiteral("About Pelmoran Todo List"), 120, 1080,
        6765, 1920, WindowStyle::Font(QStringLiteral("Microsoft Sans Serif"), 11.25), kBrown);
    cmdShow =
        WindowStyle::MakeButton(this, QStringLiteral("cmdShow"), QStringLiteral("&Visit Website"),
                                1920, 3240, 2415, 615, 0x00FF80FF);
    cmdClose = WindowStyle::MakeButton(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"),
                                       4440, 3240, 2415, 615, 0x008080FF);
    WindowStyle::TabOrder({cmdClose, cmdShow});

    WindowStyle::Handle(cmdClose, &QPushButton::clicked, this, &frmAboutProduct::cmdClose_Click);
    WindowStyle::Handle(cmdShow, &QPushButton::clicked, this, &frmAboutProduct::cmdShow_Click);
    WindowStyle::Handle(lblAbout, &Label::Click, this, &frmAboutProduct::lblAbout_Click);
}

QString frmAboutProduct::AboutText() {
    return QStringLiteral("Pelmoran Todo List is a free utility program that lets ") +
           QStringLiteral("users save Todo's by group in this software and mark ") +
           QStringLiteral("them as done when a Todo has been finished at the time.") +
           QStringLiteral("\r\n") +
           QStringLiteral("Pelmoran Todo is a mutli-user Todo software that ") +
           QStringLiteral("lets its users to save their Todo's with their accounts seperately.") +
           QStringLiteral("User can save his Todo's password protected.");
}

void frmAboutProduct::Form_Load() {
    lblAbout->setText(AboutText());
    WindowStyle::LoadEmblem(*TransPicBox1, kDesign, 120, 0, 1230, 1065);
    WindowStyle::CentreOverActiveWindow(*this);
    FocusWhenShown(cmdClose);
}

void frmAboutProduct::cmdClose_Click() {
    hide();
}

void frmAboutProduct::cmdShow_Click() {
    Shell::OpenWebSite();
}

void frmAboutProduct::lblAbout_Click() {
    hide();
}
