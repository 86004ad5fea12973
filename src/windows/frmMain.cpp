#include "windows/frmMain.h"

#include "platform/forms/ProgramEnd.h"

#include <QCloseEvent>
#include <QIcon>

frmMain::frmMain(QWidget* parent)
    : Form(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pelmoran Todo List"));
    setWindowIcon(QIcon(QStringLiteral(":/windows/main-icon.svg")));
    SetClientSizeTwips(10860, 8985);
    SetBackColor(0x00C0FFFF);
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once.
    event->accept();
    EndProgram();
}
