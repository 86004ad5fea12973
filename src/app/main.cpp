#include "app/Module1.h"
#include "platform/forms/Fonts.h"
#include "windows/WindowStyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyleFactory>
#include <future>
#include <malloc.h>

int main(int argc, char** argv) {
    // Start-up hands work to short-lived threads (the file's key, the font configuration, the
    // first window's pictures). Each would get a malloc arena of its own, and what it freed
    // there would stay resident for the rest of the run; with one arena, the next allocation
    // anywhere reuses it. The program allocates little off its main thread after start-up.
    mallopt(M_ARENA_MAX, 1);
    // The file's key derivation needs nothing of Qt: it runs beside the set-up of the
    // application and of the log-in window. The folder is the executable's, found as
    // QCoreApplication::applicationDirPath finds it on Linux, before there is an application.
    Module1::StartOpening(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
    std::future<void> fontConfiguration = StartReadingFontConfiguration();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallyboard"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Every window is shown and hidden by the program itself; the last one hiding (the log-in
    // window before the main window appears) must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutes();
    // The windows' font is the whole program's: message boxes and menus read as the windows
    // do, and a text box's first layout (made in the default font before the box takes its
    // own) loads no second face at start-up.
    QApplication::setFont(WindowStyle::DefaultFont());
    fontConfiguration.wait();
    if (!Module1::Main())
        return 0;
    return QApplication::exec();
}
