#include "windows/frmMain.h"

#include "app/Module1.h"
#include "controls/McListBox/McListBox.h"
#include "platform/forms/ProgramEnd.h"
#include "platform/forms/Twips.h"

#include <QCloseEvent>
#include <QIcon>

frmMain::frmMain(QWidget* parent)
    : Form(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pelmoran Todo List"));
    setWindowIcon(QIcon(QStringLiteral(":/windows/main-icon.svg")));
    SetClientSizeTwips(10860, 8985);
    SetBackColor(0x00C0FFFF);

    lstGroups = new McListBox(this);
    lstGroups->setObjectName(QStringLiteral("lstGroups"));
    lstGroups->setContainer(&Container());
    lstTasks = new McListBox(this);
    lstTasks->setObjectName(QStringLiteral("lstTasks"));
    lstTasks->setContainer(&Container());
}

void frmMain::Form_Load() {
    lstGroups->InitProperties();
    lstGroups->setGeometry(TwipsRect(120, 3240, 4335, 5175));
    lstTasks->InitProperties();
    lstTasks->setGeometry(TwipsRect(4680, 3240, 6015, 3495));
    Module1::RefreshLists();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once.
    event->accept();
    EndProgram();
}
