#include "app/Module1.h"
#include "platform/forms/Fonts.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallyboard"));
    InstallFontSubstitutes();
    return 0;
}
