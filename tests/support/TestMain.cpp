#include "platform/forms/Fonts.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

// Every test program runs with a QApplication on the offscreen platform, the program's font
// substitutes and a fixed locale, so that fonts, palettes and date texts are the same on every
// machine.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
