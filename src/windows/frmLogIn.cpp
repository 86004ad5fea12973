#include "windows/frmLogIn.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/TransPicBox.h"
#include "platform/db/PasswordHash.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/KeyCodes.h"
#include "platform/forms/Locale.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/ProgramEnd.h"
#include "windows/EntryField.h"
#include "windows/WindowStyle.h"

#include <QLabel>

namespace {
const QString kCaption = QStringLiteral("Log In");
const QString kDesign = QStringLiteral(":/windows/frmLogIn.json");
} // namespace

frmLogIn::frmLogIn(QWidget* parent)
    : Form(parent) {
    WindowStyle::PrepareEmblem(*this, kDesign);
    WindowStyle::SetUpWindow(*this, QStringLiteral("frmLogIn"), kCaption,
                             QStringLiteral(":/windows/login-icon.svg"), 5865, 2130,
                             QStringLiteral(":/windows/login-background.svg"));

    txtUserName =
        WindowStyle::MakeTextBox(this, QStringLiteral("txtUserName"), 2760, 240, 3015, 345);
    txtPassword =
        WindowStyle::MakeTextBox(this, QStringLiteral("txtPassword"), 2760, 720, 3015, 345);
    txtPassword->SetPasswordChar(u'*');
    cmdLogIN = WindowStyle::MakeButton(this, QStringLiteral("cmdLogIN"), QStringLiteral("Log In"),
                                       3360, 1560, 1215, 375, 0x00FF8080);
    cmdClose = WindowStyle::MakeButton(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"),
                                       4680, 1560, 1095, 375, 0x00C0C0FF);
    lblUserName = WindowStyle::MakeLabel(this, QStringLiteral("lblUserName"),
                                         QStringLiteral("User Name:"), 1680, 280, 1215, 255, true);
    lblPassword = WindowStyle::MakeLabel(this, QStringLiteral("lblPassword"),
                                         QStringLiteral("Password:"), 1680, 760, 1215, 255, true);
    TransPicBox1 = WindowStyle::MakeEmblem(*this);
    cmdNewAccout =
        WindowStyle::MakeButton(this, QStringLiteral("cmdNewAccout"), QStringLiteral("New Account"),
                                1680, 1560, 1575, 375, 0x00FFC0C0);
    Label1 = WindowStyle::MakeLabel(
        this, QStringLiteral("Label1"),
        QStringLiteral("* Default user name and password: %1").arg(QStringLiteral("admin")), 2160,
        1200, 3375, 255, false);

    lblUserName->setBuddy(txtUserName);
    lblPassword->setBuddy(txtPassword);
    WindowStyle::TabOrder({txtUserName, txtPassword, cmdLogIN, cmdClose, cmdNewAccout});

    WindowStyle::Handle(cmdLogIN, &QPushButton::clicked, this, &frmLogIn::cmdLogIN_Click);
    WindowStyle::Handle(cmdNewAccout, &QPushButton::clicked, this, &frmLogIn::cmdNewAccout_Click);
    WindowStyle::Handle(cmdClose, &QPushButton::clicked, this, &frmLogIn::cmdClose_Click);
    WindowStyle::Handle(txtPassword, &TextBox::Change, this, &frmLogIn::txtPassword_Change);
    WindowStyle::Handle(txtUserName, &TextBox::KeyUp, this, &frmLogIn::txtUserName_KeyUp);
    WindowStyle::Handle(txtPassword, &TextBox::KeyUp, this, &frmLogIn::txtPassword_KeyUp);
    connect(txtUserName, &TextBox::GotFocus, this, [this] { txtUserName_GotFocus(); });
    connect(txtUserName, &TextBox::LostFocus, this, [this] { txtUserName_LostFocus(); });
    connect(txtPassword, &TextBox::GotFocus, this, [this] { txtPassword_GotFocus(); });
    connect(txtPassword, &TextBox::LostFocus, this, [this] { txtPassword_LostFocus(); });
}

void frmLogIn::Form_Load() {
    txtUserName->clear();
    txtPassword->clear();
    txtPassword->setTag(QString());
    WindowStyle::LoadEmblem(*TransPicBox1, kDesign, 120, 120, 1365, 1650);
    CentreOnScreen();
    FocusWhenShown(txtUserName);
}

void frmLogIn::cmdLogIN_Click() {
    if (CheckLogIn()) {
        Authenticated = true;
        hide();
    }
}

// Runs the check; true when an account matched (iUserID is then set). An error numbered 76
// is passed over like the rest of the program's start-up path does; any other error is
// shown and ends the program.
bool frmLogIn::CheckLogIn() {
    if (txtUserName->text().isEmpty()) {
        MessageBox(QStringLiteral("Please enter the username"), MsgBox::kInformation, kCaption);
        txtUserName->setFocus(Qt::OtherFocusReason);
        return false;
    }
    try {
        auto accounts = Module1::OpenRecordset(Statements::S9());
        // An empty account table simply matches nothing: refusing the log-in keeps the
        // program usable instead of ending it.
        if (accounts->RecordCount() > 0)
            accounts->MoveFirst();
        const QString typedName = txtUserName->text().toUpper();
        bool nameFound = false;
        for (int i = 1; i <= accounts->RecordCount(); ++i) {
            const Variant name = accounts->Fields(QStringLiteral("username")).Value();
            if (!name.IsNull() && name.ToString().toUpper() == typedName) {
                nameFound = true;
                if (PasswordHash::Verify(
                        accounts->Fields(QStringLiteral("Password")).Value().ToString(),
                        txtPassword->text())) {
                    iUserID = accounts->Fields(QStringLiteral("UserID")).Value().ToString();
                    return true;
                }
            }
            accounts->MoveNext();
        }
        // An unknown name is refused after the same work as a wrong password, so that the time
        // a refusal takes does not tell a watcher which names exist.
        if (!nameFound)
            PasswordHash::VerifyAgainstNoAccount(txtPassword->text());
    } catch (const RuntimeError& error) {
        if (error.Number() != 76) {
            MessageBox(error.Description(), MsgBox::kCritical, kCaption);
            EndProgram(kErrorExitStatus);
            return false;
        }
    }
    MessageBox(QStringLiteral("Invalid username or password"), MsgBox::kExclamation, kCaption);
    txtPassword->setTag(QStringLiteral("1"));
    txtPassword->SelectAllText();
    txtPassword->setFocus(Qt::OtherFocusReason);
    return false;
}

void frmLogIn::cmdNewAccout_Click() {
    NewAccount = true;
    hide();
}

void frmLogIn::cmdClose_Click() {
    EndProgram();
}

void frmLogIn::txtPassword_Change() {
    txtPassword->setTag(QStringLiteral("0"));
}

void frmLogIn::txtUserName_KeyUp(int KeyCode, int /*Shift*/) {
    if (KeyCode == KeyCodes::kEnter && !Locale::TrimSpaces(txtUserName->text()).isEmpty())
        EntryField::SendTab();
}

void frmLogIn::txtPassword_KeyUp(int KeyCode, int /*Shift*/) {
    if (KeyCode == KeyCodes::kEnter && !Locale::TrimSpaces(txtPassword->text()).isEmpty() &&
        Locale::Val(txtPassword->Tag()) != 1)
        EntryField::SendTab();
}

void frmLogIn::txtUserName_GotFocus() {
    EntryField::Enter(*txtUserName);
}
void frmLogIn::txtUserName_LostFocus() {
    EntryField::Leave(*txtUserName);
}
void frmLogIn::txtPassword_GotFocus() {
    EntryField::Enter(*txtPassword);
}
void frmLogIn::txtPassword_LostFocus() {
    EntryField::Leave(*txtPassword);
}
