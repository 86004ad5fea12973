#include "windows/frmAboutProgrammer.h"

#include "platform/forms/Controls.h"
#include "platform/forms/ProgramEnd.h"
#include "platform/forms/Shell.h"
#include "platform/forms/SystemColors.h"
#include "platform/forms/Twips.h"
#include "windows/WindowStyle.h"

#include <QFrame>

namespace {
constexpr uint32_t kOlive = 0x00008080;
constexpr uint32_t kWindowText = 0x80000008;
} // namespace

frmAboutProgrammer::frmAboutProgrammer(QWidget* parent)
    : Form(parent) {
    WindowStyle::SetUpWindow(
        *this, QStringLiteral("frmAboutProgrammer"), QStringLiteral("About Programmer"),
        QStringLiteral(":/windows/about-programmer-icon.svg"), 6705, 3030, 0x0080FFFF);

    Image2 = WindowStyle::MakePicture(this, QStringLiteral("Image2"),
                                      QStringLiteral(":/windows/about-programmer-header.svg"), 0, 0,
                                      6735, 735, true);
    Label1 = WindowStyle::MakeLabel(this, QStringLiteral("Label1"),
                                    QStringLiteral("About Programmer"), 1320, 120, 4335, 615,
                                    WindowStyle::Font(QStringLiteral("Impact"), 21.75), kOlive);
    Image1 = WindowStyle::MakePicture(this, QStringLiteral("Image1"),
                                      QStringLiteral(":/windows/about-programmer-portrait.svg"),
                                      120, 840, 1905, 2010, true);
    const QFont lineFont = WindowStyle::Font(QStringLiteral("MS Sans Serif"), 9.75, true);
    lblLabel[0] = WindowStyle::MakeLabel(
        this, QStringLiteral("lblLabel_0"), QStringLiteral("Pelmoran Todo List"), 2160, 840, 4335,
        495, WindowStyle::Font(QStringLiteral("Times New Roman"), 21.75, true), kWindowText);
    lblLabel[1] = WindowStyle::MakeLabel(this, QStringLiteral("lblLabel_1"),
                                         QStringLiteral("The team that makes this program"), 2160,
                                         1440, 4095, 255, lineFont, kWindowText);
    lblLabel[2] = WindowStyle::MakeLabel(
        this, QStringLiteral("lblLabel_2"),
        QStringLiteral("Built with C++, Qt and SQLCipher; passwords kept as Argon2id hashes"), 2160,
        1800, 4095, 615, lineFont, kWindowText);
    lblLabel[3] =
        WindowStyle::MakeLabel(this, QStringLiteral("lblLabel_3"),
                               QStringLiteral("Contact: %1").arg(Shell::WebSite().toString()), 2160,
                               2640, 4095, 255, lineFont, kWindowText);

    // A rule from 2160, 1320 to 6600, 1320; clicks on it reach the window.
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setGeometry(QRect(TwipsToPixels(2160), TwipsToPixels(1320),
                             TwipsToPixels(6600) - TwipsToPixels(2160), 1));
    Line1->setAutoFillBackground(true);
    QPalette p = Line1->palette();
    p.setColor(QPalette::Window, SystemColors::ToQColor(kOlive));
    Line1->setPalette(p);
    Line1->setAttribute(Qt::WA_TransparentForMouseEvents);

    WindowStyle::Handle(this, &Form::Click, this, &frmAboutProgrammer::Form_Click);
    WindowStyle::Handle(Image1, &Label::Click, this, &frmAboutProgrammer::Image1_Click);
    for (int i = 0; i < static_cast<int>(lblLabel.size()); ++i)
        connect(lblLabel[i], &Label::Click, this,
                [this, i] { RunHandler([this, i] { lblLabel_Click(i); }); });
}

void frmAboutProgrammer::Form_Load() {
    CentreOnScreen();
}

void frmAboutProgrammer::Form_Click() {
    hide();
}

void frmAboutProgrammer::Image1_Click() {
    hide();
}

void frmAboutProgrammer::lblLabel_Click(int /*Index*/) {
    hide();
}
