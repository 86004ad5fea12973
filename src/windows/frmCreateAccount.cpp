#include "windows/frmCreateAccount.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/db/PasswordHash.h"
#include "platform/db/Recordset.h"
#include "platform/db/Transaction.h"
#include "platform/forms/Controls.h"
#include "platform/forms/KeyCodes.h"
#include "platform/forms/Locale.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/ProgramEnd.h"
#include "windows/EntryField.h"
#include "windows/WindowStyle.h"

#include <QLabel>
#include <optional>

namespace {
const QString kCaption = QStringLiteral("Create Account");
const QString kDesign = QStringLiteral(":/windows/frmCreateAccount.json");

void Tell(const QString& text) {
    MessageBox(text, MsgBox::kInformation, kCaption);
}
} // namespace

frmCreateAccount::frmCreateAccount(QWidget* parent)
    : Form(parent) {
    WindowStyle::PrepareEmblem(*this, kDesign);
    WindowStyle::SetUpWindow(*this, QStringLiteral("frmCreateAccount"), kCaption,
                             QStringLiteral(":/windows/create-account-icon.svg"), 5775, 2700,
                             QStringLiteral(":/windows/account-background.svg"));

    txtUserID = WindowStyle::MakeTextBox(this, QStringLiteral("txtUserID"), 2280, 360, 3375, 285);
    txtPassword =
        WindowStyle::MakeTextBox(this, QStringLiteral("txtPassword"), 2280, 960, 3375, 285);
    txtPassword->SetPasswordChar(u'*');
    txtConfirmPassword =
        WindowStyle::MakeTextBox(this, QStringLiteral("txtConfirmPassword"), 2280, 1560, 3375, 315);
    txtConfirmPassword->SetPasswordChar(u'*');
    cmdCreate =
        WindowStyle::MakeButton(this, QStringLiteral("cmdCreate"), QStringLiteral("&Create"), 2640,
                                2160, 1695, 400, 0x00FF8080);
    cmdCancel =
        WindowStyle::MakeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), 4440,
                                2160, 1215, 400, 0x00C0C0FF);
    lblOldPassword =
        WindowStyle::MakeLabel(this, QStringLiteral("lblOldPassword"), QStringLiteral("&User ID:"),
                               2160, 120, 720, 195, true, true);
    lblPassword =
        WindowStyle::MakeLabel(this, QStringLiteral("lblPassword"), QStringLiteral("&Password:"),
                               2160, 720, 885, 195, true, true);
    lblConfirmPassword = WindowStyle::MakeLabel(this, QStringLiteral("lblConfirmPassword"),
                                                QStringLiteral("&Confirm Password:"), 2160, 1320,
                                                1575, 195, true, true);
    lblOldPassword->setBuddy(txtUserID);
    lblPassword->setBuddy(txtPassword);
    lblConfirmPassword->setBuddy(txtConfirmPassword);
    TransPicBox1 = WindowStyle::MakeEmblem(*this);

    WindowStyle::TabOrder({txtUserID, txtPassword, txtConfirmPassword, cmdCreate, cmdCancel});

    WindowStyle::Handle(cmdCreate, &QPushButton::clicked, this, &frmCreateAccount::cmdCreate_Click);
    WindowStyle::Handle(cmdCancel, &QPushButton::clicked, this, &frmCreateAccount::cmdCancel_Click);
    for (TextBox* field : {txtUserID, txtPassword, txtConfirmPassword})
        EntryField::Follow(*field);
    WindowStyle::Handle(txtUserID, &TextBox::KeyUp, this, &frmCreateAccount::txtUserID_KeyUp);
    WindowStyle::Handle(txtPassword, &TextBox::KeyUp, this, &frmCreateAccount::txtPassword_KeyUp);
    WindowStyle::Handle(txtConfirmPassword, &TextBox::KeyUp, this,
                        &frmCreateAccount::txtConfirmPassword_KeyUp);
}

void frmCreateAccount::Form_Load() {
    EmptyForm();
    WindowStyle::LoadEmblem(*TransPicBox1, kDesign, 120, 120, 1770, 1740);
    MoveToTwips(3120, 3270);
    // A reloaded window starts in its first field, wherever the focus was when it was closed.
    FocusWhenShown(txtUserID);
}

void frmCreateAccount::EmptyForm() {
    txtConfirmPassword->setText(QString());
    txtPassword->setText(QString());
    txtUserID->setText(QString());
}

void frmCreateAccount::cmdCreate_Click() {
    const QString userName = Locale::TrimSpaces(txtUserID->text());
    // Hashing takes far longer than the rest: done under the write lock it would keep every
    // other program waiting on the file long enough to fail.
    const QString passwordHash = PasswordHash::Hash(txtPassword->text());
    int newUserId = 0;
    {
        // The duplicate test, the highest number and the insert hold one write lock, so two
        // programs creating accounts at the same moment cannot take the same number. The lock
        // is given up before any message waits for the user.
        std::optional<Transaction> lock(std::in_place, Module1::DbConnection());

        auto accounts = Module1::OpenRecordset(Statements::S10());
        if (accounts->RecordCount() > 0)
            accounts->MoveFirst();
        for (int i = 1; i <= accounts->RecordCount(); ++i) {
            if (accounts->Fields(QStringLiteral("username"))
                    .Value()
                    .EqualsText(txtUserID->text())) {
                lock.reset();
                Tell(QStringLiteral("User already exists"));
                return;
            }
            accounts->MoveNext();
        }

        auto highest = Module1::OpenRecordset(Statements::S11());
        // An empty account table has no highest number: the first account gets number 1.
        const double next =
            (highest->RecordCount() > 0
                 ? Locale::Val(highest->Fields(QStringLiteral("MAXUSERID")).Value().ToString())
                 : 0.0) +
            1;

        if (userName.isEmpty()) {
            lock.reset();
            Tell(QStringLiteral("You must enter the userID"));
            txtUserID->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (txtConfirmPassword->text() != txtPassword->text()) {
            lock.reset();
            Tell(QStringLiteral("Your entered password and confirm password does not match."));
            txtPassword->setFocus(Qt::OtherFocusReason);
            return;
        }
        try {
            newUserId = Locale::ToInteger16(next);
        } catch (const RuntimeError& error) {
            if (error.Number() != 6)
                throw;
            lock.reset();
            Tell(QStringLiteral("No more accounts can be created: the highest account number, "
                                "32767, has been reached."));
            return;
        }
        Module1::DbConnection().Execute(Statements::S12(newUserId, userName, passwordHash));
        lock->Commit();
    }
    Tell(QStringLiteral("User Account has successfully been created."));
    EmptyForm();
    hide();
}

void frmCreateAccount::cmdCancel_Click() {
    EmptyForm();
    hide();
}

void frmCreateAccount::txtUserID_KeyUp(int KeyCode, int /*Shift*/) {
    if (KeyCode == KeyCodes::kEnter && !Locale::TrimSpaces(txtUserID->text()).isEmpty())
        EntryField::MoveTo(*txtPassword);
}

void frmCreateAccount::txtPassword_KeyUp(int KeyCode, int /*Shift*/) {
    if (KeyCode == KeyCodes::kEnter && !Locale::TrimSpaces(txtPassword->text()).isEmpty())
        EntryField::MoveTo(*txtConfirmPassword);
}

void frmCreateAccount::txtConfirmPassword_KeyUp(int KeyCode, int /*Shift*/) {
    if (KeyCode == KeyCodes::kEnter && !Locale::TrimSpaces(txtConfirmPassword->text()).isEmpty())
        EntryField::MoveTo(*cmdCreate);
}
