#include "windows/frmAddTask.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/McListBox/McListBox.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/KeyCodes.h"
#include "platform/forms/Locale.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/ProgramEnd.h"
#include "windows/WindowStyle.h"

namespace {
const QString kCaption = QStringLiteral("Add New Todo");
const QString kDesign = QStringLiteral(":/windows/frmAddTask.json");
constexpr uint32_t kBlue = 0x00FF0000;

void Warn(const QString& text) {
    MessageBox(text, MsgBox::kExclamation, kCaption);
}

bool GroupExists(int groupId) {
    auto groups = Module1::OpenRecordset(Statements::S1());
    if (groups->RecordCount() > 0)
        groups->MoveFirst();
    for (; !groups->Eof(); groups->MoveNext())
        if (groups->Fields(QStringLiteral("groupID")).Value().ToInteger() == groupId)
            return true;
    return false;
}

// Enter moves the focus on only when the key's condition holds.
void EnterMovesOn(int keyCode, bool condition, QWidget& next) {
    if (keyCode == KeyCodes::kEnter && condition)
        next.setFocus(Qt::OtherFocusReason);
}
} // namespace

frmAddTask::frmAddTask(QWidget* parent)
    : Form(parent) {
    WindowStyle::PrepareEmblem(*this, kDesign);
    WindowStyle::SetUpWindow(*this, QStringLiteral("frmAddTask"), kCaption,
                             QStringLiteral(":/windows/add-task-icon.svg"), 8625, 7140, 0x00FFC0C0);
    // The entry fields and both lists.
    setFont(WindowStyle::Font(QStringLiteral("Arial"), 12, true));

    Image1 = WindowStyle::MakePicture(this, QStringLiteral("Image1"),
                                      QStringLiteral(":/windows/add-task-header.svg"), 0, 0, 8655,
                                      1335, true);
    TransPicBox1 = WindowStyle::MakeEmblem(*this);
    Label1 = WindowStyle::MakeLabel(this, QStringLiteral("Label1"), kCaption, 2400, 120, 7095, 1095,
                                    WindowStyle::Font(QStringLiteral("Impact"), 36), 0x00C00000);
    const QFont labelFont = WindowStyle::Font(QStringLiteral("Impact"), 12);
    Label2 =
        WindowStyle::MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("Choose the Group:"),
                               120, 1560, 3615, 495, labelFont, kBlue);
    cbGroups = WindowStyle::MakeComboBox(this, QStringLiteral("cbGroups"), 120, 1920, 4095, 405);
    Label3 =
        WindowStyle::MakeLabel(this, QStringLiteral("Label3"), QStringLiteral("Enter Todo Name:"),
                               120, 2520, 3615, 495, labelFont, kBlue);
    txtTaskName =
        WindowStyle::MakeTextBox(this, QStringLiteral("txtTaskName"), 120, 2880, 4095, 495, 50);
    Label4 = WindowStyle::MakeLabel(this, QStringLiteral("Label4"),
                                    QStringLiteral("Type the Description:"), 120, 3480, 3615, 495,
                                    labelFont, kBlue);
    txtDescription = WindowStyle::MakeTextBox(this, QStringLiteral("txtDescription"), 120, 3840,
                                              8295, 1335, 255);
    // One line of text in a tall field, written from its top as the original showed it.
    txtDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label5 = WindowStyle::MakeLabel(this, QStringLiteral("Label5"), QStringLiteral("Due Date:"),
                                    120, 5280, 3615, 495, labelFont, kBlue);
    txtDate =
        WindowStyle::MakeTextBox(this, QStringLiteral("txtDate"), 120, 5640, 4095, 495, 32767);
    Label6 =
        WindowStyle::MakeLabel(this, QStringLiteral("Label6"), QStringLiteral("Task Priority:"),
                               4320, 5280, 3615, 495, labelFont, kBlue);
    cbPriority =
        WindowStyle::MakeComboBox(this, QStringLiteral("cbPriority"), 4320, 5640, 4095, 405);
    cmdAdd =
        WindowStyle::MakeButton(this, QStringLiteral("cmdAdd"), QStringLiteral("&Add New Todo"),
                                3480, 6360, 2415, 615, 0x00FF8080);
    cmdClose = WindowStyle::MakeButton(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"),
                                       6000, 6360, 2415, 615, 0x008080FF);

    // Each field is named by the caption above it, for screen readers.
    Label2->setBuddy(cbGroups);
    Label3->setBuddy(txtTaskName);
    Label4->setBuddy(txtDescription);
    Label5->setBuddy(txtDate);
    Label6->setBuddy(cbPriority);
    WindowStyle::TabOrder(
        {cbGroups, txtTaskName, txtDescription, txtDate, cbPriority, cmdAdd, cmdClose});
    // These fields follow none of the shared entry habits: entering one selects nothing.
    for (TextBox* field : {txtTaskName, txtDescription, txtDate})
        field->SetSelectOnEntry(false);

    WindowStyle::Handle(cmdAdd, &QPushButton::clicked, this, &frmAddTask::cmdAdd_Click);
    WindowStyle::Handle(cmdClose, &QPushButton::clicked, this, &frmAddTask::cmdClose_Click);
    WindowStyle::Handle(cbGroups, &ComboBox::Click, this, &frmAddTask::cbGroups_Click);
    WindowStyle::Handle(cbGroups, &ComboBox::KeyUp, this, &frmAddTask::cbGroups_KeyUp);
    WindowStyle::Handle(txtTaskName, &TextBox::KeyUp, this, &frmAddTask::txtTaskName_KeyUp);
    WindowStyle::Handle(txtDescription, &TextBox::KeyUp, this, &frmAddTask::txtDescription_KeyUp);
    WindowStyle::Handle(txtDate, &TextBox::KeyUp, this, &frmAddTask::txtDate_KeyUp);
    WindowStyle::Handle(txtDate, &TextBox::LostFocus, this, &frmAddTask::txtDate_LostFocus);
    WindowStyle::Handle(cbPriority, &ComboBox::KeyUp, this, &frmAddTask::cbPriority_KeyUp);
}

void frmAddTask::Form_Load() {
    cbGroups->clear();
    txtTaskName->clear();
    txtDescription->clear();
    txtDate->clear();
    cbPriority->clear();
    cbPriority->addItems(
        {QStringLiteral("0 - Normal"), QStringLiteral("1 - Medium"), QStringLiteral("2 - High")});
    cbPriority->setCurrentIndex(0);
    WindowStyle::LoadEmblem(*TransPicBox1, kDesign, 120, -120, 1590, 1800);
    FocusWhenShown(cbGroups);
}

void frmAddTask::cmdAdd_Click() {
    if (Locale::TrimSpaces(txtTaskName->text()).isEmpty()) {
        Warn(QStringLiteral("Taskname must not be empty."));
        return;
    }
    // The lists keep a row's parts joined by this mark: a name holding it would break its row.
    if (txtTaskName->text().contains(McListBox::kSeparator)) {
        Warn(QStringLiteral("Taskname must not contain %1.").arg(McListBox::kSeparator));
        return;
    }
    // Without a group the to-do would belong to no listed group, and the database refuses it.
    if (cbGroups->currentIndex() < 0) {
        Warn(QStringLiteral("Choose the group of the new Todo."));
        cbGroups->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A date the database cannot read would fail the insert; the user keeps what he typed.
    const QDate dueDate = Locale::ReadDate(txtDate->text());
    if (!dueDate.isValid()) {
        Warn(QStringLiteral("Enter the due date as a date, for example %1.")
                 .arg(Locale::FormatDate(QDate::currentDate())));
        txtDate->setFocus(Qt::OtherFocusReason);
        return;
    }
    const int groupId = Module1::RowId(cbGroups->currentText());
    // Another user may have removed the group since the box was filled; the database would
    // refuse the to-do and the program would end with it.
    if (!GroupExists(groupId)) {
        Warn(QStringLiteral("The chosen group no longer exists. Choose another group."));
        Module1::RefreshLists();
        cbGroups->setFocus(Qt::OtherFocusReason);
        return;
    }
    const int priority = Module1::RowId(cbPriority->currentText());
    Module1::DbConnection().Execute(Statements::S8(Module1::CurrentUserID(), groupId,
                                                   txtTaskName->text(), txtDescription->text(),
                                                   Locale::FormatDate(dueDate), priority));
    MessageBox(QStringLiteral("Successfully added new ToDo."), MsgBox::kInformation, kCaption);
    hide();
    Module1::RefreshLists();
}

void frmAddTask::cmdClose_Click() {
    hide();
}

void frmAddTask::cbGroups_Click() {
    txtTaskName->setFocus(Qt::OtherFocusReason);
}

void frmAddTask::cbGroups_KeyUp(int KeyCode, int /*Shift*/) {
    EnterMovesOn(KeyCode, true, *txtTaskName);
}

void frmAddTask::txtTaskName_KeyUp(int KeyCode, int /*Shift*/) {
    EnterMovesOn(KeyCode, !Locale::TrimSpaces(txtTaskName->text()).isEmpty(), *txtDescription);
}

void frmAddTask::txtDescription_KeyUp(int KeyCode, int /*Shift*/) {
    EnterMovesOn(KeyCode, !Locale::TrimSpaces(txtDescription->text()).isEmpty(), *txtDate);
}

void frmAddTask::txtDate_KeyUp(int KeyCode, int /*Shift*/) {
    EnterMovesOn(KeyCode, !txtDate->text().isEmpty(), *cbPriority);
}

void frmAddTask::txtDate_LostFocus() {
    const QDate date = Locale::ReadDate(txtDate->text());
    if (date.isValid())
        txtDate->setText(Locale::FormatDate(date));
    else
        MessageBox(QStringLiteral("A proper formated date is recommended for the DueDate"),
                   MsgBox::kInformation, kCaption);
}

void frmAddTask::cbPriority_KeyUp(int KeyCode, int /*Shift*/) {
    EnterMovesOn(KeyCode, true, *cmdAdd);
}
