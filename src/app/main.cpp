#include "app/DueReminder.h"
#include "app/Module1.h"
#include "platform/forms/Fonts.h"
#include "windows/WindowStyle.h"
#include "windows/frmMain.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyleFactory>

int main(int argc, char** argv) {
    // The file's key derivation needs nothing of Qt: it runs beside the set-up of the
    // application and of the log-in window. The folder is the executable's, found as
    // QCoreApplication::applicationDirPath finds it on Linux, before there is an application.
    Module1::StartOpening(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
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
    if (!Module1::Main())
        return 0;
    // Told once the main window is up: nothing of it runs before the log-in window shows.
    DueReminder::Notifier reminder(Shared<frmMain>());
    reminder.Start();
    return QApplication::exec();
}
