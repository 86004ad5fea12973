#include "app/Module1.h"
#include "platform/forms/Fonts.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallyboard"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Every window is shown and hidden by the program itself; the last one hiding (the log-in
    // window before the main window appears) must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutes();
    if (!Module1::Main())
        return 0;
    return QApplication::exec();
}
