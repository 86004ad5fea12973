#include "windows/frmAddTask.h"

#include "platform/forms/Twips.h"

#include <QComboBox>

frmAddTask::frmAddTask(QWidget* parent)
    : Form(parent) {
    setObjectName(QStringLiteral("frmAddTask"));
    setWindowTitle(QStringLiteral("Add New Todo"));
    SetClientSizeTwips(8625, 7140);
    SetBackColor(0x00FFC0C0);

    cbGroups = new QComboBox(this);
    cbGroups->setObjectName(QStringLiteral("cbGroups"));
    cbGroups->setGeometry(TwipsRect(120, 1920, 4095, 405));
    cbPriority = new QComboBox(this);
    cbPriority->setObjectName(QStringLiteral("cbPriority"));
    cbPriority->setGeometry(TwipsRect(4320, 5640, 4095, 405));
}

void frmAddTask::Form_Load() {
    cbPriority->clear();
    cbPriority->addItems(
        {QStringLiteral("0 - Normal"), QStringLiteral("1 - Medium"), QStringLiteral("2 - High")});
    cbPriority->setCurrentIndex(0);
}
