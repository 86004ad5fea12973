#include "windows/frmMain.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/McListBox/McListBox.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Locale.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/ProgramEnd.h"
#include "platform/forms/Shell.h"
#include "platform/forms/Twips.h"
#include "windows/WindowStyle.h"
#include "windows/frmAboutProduct.h"
#include "windows/frmAboutProgrammer.h"
#include "windows/frmAddGroup.h"
#include "windows/frmAddTask.h"
#include "windows/frmChangePassword.h"
#include "windows/frmCreateAccount.h"

#include <QCloseEvent>

namespace {
const QString kCaption = QStringLiteral("Pelmoran Todo List");
const QString kDesign = QStringLiteral(":/windows/frmMain.json");
const QString kNoTodo = QStringLiteral("No todo found.");

// A details label: a flat single line around it and the text inside it.
Label* MakeDetails(QWidget* parent, const QString& name, const QString& caption, int top,
                   int height, const QFont& font, uint32_t colour) {
    Label* label =
        WindowStyle::MakeLabel(parent, name, caption, 4680, top, 6015, height, font, colour);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    return label;
}

// A details label reads by its name, with the text it shows as its description: setting the
// description tells a screen reader of the new text, which a reader does not follow on a
// label that is not focused.
void ShowDetails(Label* label, const QString& text) {
    label->setText(text);
    label->setAccessibleDescription(text);
}

QString PriorityWord(const Variant& priority) {
    if (!priority.IsNull()) {
        const double value = priority.ToDouble();
        if (value == 0)
            return QStringLiteral("Normal");
        if (value == 1)
            return QStringLiteral("Medium");
    }
    return QStringLiteral("High");
}

void Tell(const QString& text, int icon) {
    MessageBox(text, icon, kCaption);
}

// A refilled list has a current row that nothing highlights: a command on "the selected row"
// must not act on a row the user never chose.
bool CurrentRowSelected(const McListBox& list) {
    for (int i = 0; i < list.SelCount(); ++i)
        if (list.SelItem(i) == list.ListIndex())
            return true;
    return false;
}
} // namespace

frmMain::frmMain(QWidget* parent)
    : Form(parent) {
    WindowStyle::SetUpWindow(*this, QStringLiteral("frmMain"), kCaption,
                             QStringLiteral(":/windows/main-icon.svg"), 10860, 8985, 0x00C0FFFF);

    Image1 = WindowStyle::MakePicture(this, QStringLiteral("Image1"),
                                      QStringLiteral(":/windows/main-header.svg"), 0, 0, 10935,
                                      1335, true);
    TransPicBox1 = WindowStyle::MakeEmblem(*this);
    Label1 = WindowStyle::MakeLabel(this, QStringLiteral("Label1"), kCaption, 2040, 120, 7095, 1095,
                                    WindowStyle::Font(QStringLiteral("Impact"), 36), 0x00004080);

    auto button = [this](const char* name, const char* caption, int left, int top, int width,
                         uint32_t colour) {
        return WindowStyle::MakeButton(this, QString::fromLatin1(name),
                                       QString::fromLatin1(caption), left, top, width, 615, colour);
    };
    Command1 = button("Command1", "&Create New Account", 2280, 1440, 2175, 0x00FFC0C0);
    cmdChangePassword =
        button("cmdChangePassword", "&Change Password", 4680, 1440, 1935, 0x00FFC0C0);
    cmdAboutProduct = button("cmdAboutProduct", "&About Product", 6720, 1440, 1935, 0x0080C0FF);
    cmdAboutProgrammer =
        button("cmdAboutProgrammer", "&About Programmer", 8760, 1440, 1935, 0x0080FFFF);
    cmdAddGroup = button("cmdAddGroup", "Add &New Group", 120, 2160, 2055, 0x0000C000);
    cmdDeleteGroup = button("cmdDeleteGroup", "&Remove Group", 2280, 2160, 2175, 0x008080FF);
    cmdAddTask = button("cmdAddTask", "Add &New Todo", 4680, 2160, 1935, 0x00FF8080);
    cmdMarkAsDone = button("cmdMarkAsDone", "&Mark as Done", 6720, 2160, 1935, 0x0000C000);
    cmdExit = button("cmdExit", "&Exit", 8760, 2160, 1935, 0x008080FF);

    const QFont impact12 = WindowStyle::Font(QStringLiteral("Impact"), 12);
    Label2 = WindowStyle::MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("Select Group:"),
                                    120, 2880, 1335, 495, impact12, 0x00008000);
    Label3 = WindowStyle::MakeLabel(this, QStringLiteral("Label3"), QStringLiteral("Select Todo:"),
                                    4680, 2880, 1215, 495, impact12, 0x00FF0000);

    lstGroups = new McListBox(this);
    lstGroups->setObjectName(QStringLiteral("lstGroups"));
    lstGroups->setContainer(&Container());
    lstTasks = new McListBox(this);
    lstTasks->setObjectName(QStringLiteral("lstTasks"));
    lstTasks->setContainer(&Container());

    // The captions above the lists name them for screen readers.
    Label2->setBuddy(lstGroups);
    Label3->setBuddy(lstTasks);

    lblTitle =
        MakeDetails(this, QStringLiteral("lblTitle"), QStringLiteral(" Todo Name:"), 6840, 375,
                    WindowStyle::Font(QStringLiteral("Impact"), 11.25, true), 0x00004040);
    lblTitle->setWordWrap(false);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblDescription = MakeDetails(
        this, QStringLiteral("lblDescription"), QStringLiteral("Task description here in this box"),
        7200, 1215, WindowStyle::Font(QStringLiteral("Microsoft Sans Serif"), 9, true), 0x00008080);
    lblTitle->setAccessibleName(QStringLiteral("Todo Name"));
    lblDescription->setAccessibleName(QStringLiteral("Todo details"));

    Image2 = WindowStyle::MakePicture(this, QStringLiteral("Image2"),
                                      QStringLiteral(":/windows/main-logo.svg"), 4680, 8520, 6315,
                                      465, false);
    Image2->setCursor(Qt::PointingHandCursor);
    // The header band and the emblem are decoration and stay unnamed; the strip is a link.
    Image2->setAccessibleName(QStringLiteral("Pelmoran web site, ") + Shell::WebSite().host());

    QWidget* order[] = {lstGroups,       cmdAddGroup,       cmdDeleteGroup, lstTasks,
                        cmdMarkAsDone,   cmdAddTask,        cmdExit,        cmdAboutProgrammer,
                        cmdAboutProduct, cmdChangePassword, Command1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    auto onClick = [this](CommandButton* source, void (frmMain::*handler)()) {
        connect(source, &QPushButton::clicked, this,
                [this, handler] { RunHandler([this, handler] { (this->*handler)(); }); });
    };
    onClick(Command1, &frmMain::Command1_Click);
    onClick(cmdChangePassword, &frmMain::cmdChangePassword_Click);
    onClick(cmdAboutProduct, &frmMain::cmdAboutProduct_Click);
    onClick(cmdAboutProgrammer, &frmMain::cmdAboutProgrammer_Click);
    onClick(cmdAddGroup, &frmMain::cmdAddGroup_Click);
    onClick(cmdDeleteGroup, &frmMain::cmdDeleteGroup_Click);
    onClick(cmdAddTask, &frmMain::cmdAddTask_Click);
    onClick(cmdMarkAsDone, &frmMain::cmdMarkAsDone_Click);
    onClick(cmdExit, &frmMain::cmdExit_Click);
    connect(Image2, &Label::Click, this, [this] { RunHandler([this] { Image2_Click(); }); });
    connect(lstGroups, &McListBox::SelChange, this,
            [this] { RunHandler([this] { lstGroups_SelChange(); }); });
    connect(lstTasks, &McListBox::SelChange, this,
            [this] { RunHandler([this] { lstTasks_SelChange(); }); });
}

void frmMain::Form_Load() {
    TransPicBox1->ReadProperties(StoredDesign(kDesign, QStringLiteral("TransPicBox1")));
    TransPicBox1->setGeometry(TwipsRect(120, -120, 1875, 1875));
    lstGroups->ReadProperties(StoredDesign(kDesign, QStringLiteral("lstGroups")));
    lstGroups->setGeometry(TwipsRect(120, 3240, 4335, 5175));
    lstTasks->ReadProperties(StoredDesign(kDesign, QStringLiteral("lstTasks")));
    lstTasks->setGeometry(TwipsRect(4680, 3240, 6015, 3495));
    ShowDetails(lblTitle, QStringLiteral(" Todo Name:"));
    ShowDetails(lblDescription, QStringLiteral("Task description here in this box"));
    focusGroupsList_ = true;
    Module1::RefreshLists();
}

void frmMain::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    if (focusGroupsList_) {
        focusGroupsList_ = false;
        lstGroups->setFocus(Qt::OtherFocusReason);
    }
}

void frmMain::lstGroups_SelChange() {
    try {
        const QString groupId =
            Module1::TextBeforeSeparator(lstGroups->Text(), QStringLiteral("-"));
        ShowDetails(lblTitle, QString());
        ShowDetails(lblDescription, QString());
        auto tasks = Module1::OpenRecordset(Statements::S3(Module1::CurrentUserID(), groupId));
        lstTasks->Clear();
        if (tasks->RecordCount() > 0) {
            for (int i = 0; i < tasks->RecordCount(); ++i) {
                lstTasks->AddItem(tasks->Fields(QStringLiteral("TaskID")).Value().ToString() +
                                  QStringLiteral(" - ") +
                                  tasks->Fields(QStringLiteral("taskname")).Value().ToString());
                tasks->MoveNext();
            }
        } else {
            lstTasks->AddItem(kNoTodo);
        }
    } catch (const RuntimeError& error) {
        if (error.Number() == 3021) {
            lstTasks->Clear();
            lstTasks->AddItem(kNoTodo);
        }
        // Any other failure (a groups list with no current row among them) lists nothing.
    }
}

void frmMain::lstTasks_SelChange() {
    if (Locale::TrimSpaces(lstTasks->Text()).isEmpty())
        return;
    const int taskId = Module1::RowId(lstTasks->Text());
    ShowDetails(lblTitle, QString());
    ShowDetails(lblDescription, QString());
    auto task = Module1::OpenRecordset(Statements::S4(Module1::CurrentUserID(), taskId));
    if (task->RecordCount() < 1)
        return;
    ShowDetails(lblTitle,
                QStringLiteral(" ") + task->Fields(QStringLiteral("taskname")).Value().ToString());
    const Variant due = task->Fields(QStringLiteral("DueDate")).Value();
    ShowDetails(lblDescription,
                QStringLiteral("DueDate: ") +
                    (due.IsNull() ? QString() : Locale::FormatDate(due.ToDate())) +
                    QStringLiteral("                                  Priority: ") +
                    PriorityWord(task->Fields(QStringLiteral("priority")).Value()) +
                    QStringLiteral("\r\n") +
                    task->Fields(QStringLiteral("taskdescription")).Value().ToString());
}

void frmMain::Command1_Click() {
    Shared<frmCreateAccount>().Show(false);
}

void frmMain::cmdChangePassword_Click() {
    Shared<frmChangePassword>().Show(false);
}

void frmMain::cmdAboutProduct_Click() {
    Shared<frmAboutProduct>().Show(false);
}

void frmMain::cmdAboutProgrammer_Click() {
    Shared<frmAboutProgrammer>().Show(false);
}

void frmMain::cmdAddGroup_Click() {
    Shared<frmAddGroup>().Show(false);
}

void frmMain::cmdAddTask_Click() {
    Shared<frmAddTask>().Show(false);
    Module1::RefreshLists();
}

void frmMain::cmdMarkAsDone_Click() {
    // The placeholder row reads as to-do 0, which no to-do has: it is no selection, not a
    // to-do to report as done.
    const QString text = lstTasks->Text();
    const int taskId = Locale::TrimSpaces(text).isEmpty() || !CurrentRowSelected(*lstTasks)
                           ? 0
                           : Module1::RowId(text);
    if (taskId == 0) {
        Tell(QStringLiteral("A task must be selected to be marked as done."), MsgBox::kExclamation);
        return;
    }
    Module1::DbConnection().Execute(Statements::S6(taskId));
    Tell(QStringLiteral("Task has successfully been marked as done."), MsgBox::kInformation);
    Module1::RefreshLists();
}

void frmMain::cmdDeleteGroup_Click() {
    const int groupId = CurrentRowSelected(*lstGroups) ? Module1::RowId(lstGroups->Text()) : 0;
    if (groupId == 1) {
        Tell(QStringLiteral("Default group may not be deleted."), MsgBox::kInformation);
        return;
    }
    // With no group listed or chosen there is nothing to remove, and no removal to report.
    if (groupId == 0) {
        Tell(QStringLiteral("A group must be selected to be removed."), MsgBox::kExclamation);
        return;
    }
    if (MessageBox(QStringLiteral("All the Todo's in this group will be deleted from the selected "
                                  "group.\r\nDo you really want to delete this group?"),
                   MsgBox::kQuestion | MsgBox::kYesNo, kCaption) != MsgBox::kYes)
        return;
    // The database removes the group's to-dos with it, as the question tells the user.
    Module1::DbConnection().Execute(Statements::S5(groupId));
    Tell(QStringLiteral("Group Deleted successfully"), MsgBox::kInformation);
    Module1::RefreshLists();
}

void frmMain::cmdExit_Click() {
    Shell::OpenWebSite();
    EndProgram();
}

void frmMain::Image2_Click() {
    Shell::OpenWebSite();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Whatever asks the main window to close, the program ends, and the close is never refused.
    event->accept();
    Shell::OpenWebSite();
    EndProgram();
}
