#include "windows/frmChangePassword.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/db/PasswordHash.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/KeyCodes.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/ProgramEnd.h"
#include "windows/EntryField.h"
#include "windows/WindowStyle.h"

namespace {
const QString kCaption = QStringLiteral("Change Password");
const QString kDesign = QStringLiteral(":/windows/frmChangePassword.json");
} // namespace

frmChangePassword::frmChangePassword(QWidget* parent)
    : Form(parent) {
    WindowStyle::PrepareEmblem(*this, kDesign);
    WindowStyle::SetUpWindow(*this, QStringLiteral("frmChangePassword"), kCaption,
                             QStringLiteral(":/windows/change-password-icon.svg"), 5370, 2475,
                             QStringLiteral(":/windows/account-background.svg"));
    setFont(WindowStyle::Font(QStringLiteral("Tahoma"), 8.25));

    txtOldPassword =
        WindowStyle::MakeTextBox(this, QStringLiteral("txtOldPassword"), 2160, 360, 3135, 285);
    txtNewPassword =
        WindowStyle::MakeTextBox(this, QStringLiteral("txtNewPassword"), 2160, 960, 3135, 285);
    txtConfirmPassword =
        WindowStyle::MakeTextBox(this, QStringLiteral("txtConfirmPassword"), 2160, 1560, 3135, 315);
    cmdUpdate = WindowStyle::MakeButton(this, QStringLiteral("cmdUpdate"),
                                        QStringLiteral("&Update"), 2640, 2040, 1215, 345);
    cmdCancel = WindowStyle::MakeButton(this, QStringLiteral("cmdCancel"),
                                        QStringLiteral("&Cancel"), 3960, 2040, 1215, 345);
    for (CommandButton* button : {cmdUpdate, cmdCancel})
        button->setFont(WindowStyle::BoldFont(QStringLiteral("Tahoma")));
    lblOldPassword =
        WindowStyle::MakeLabel(this, QStringLiteral("lblOldPassword"),
                               QStringLiteral("&Old Password:"), 2040, 120, 1230, 195, true, true);
    lblNewPassword =
        WindowStyle::MakeLabel(this, QStringLiteral("lblNewPassword"),
                               QStringLiteral("&New Password:"), 2040, 720, 1320, 195, true, true);
    lblConfirmPassword = WindowStyle::MakeLabel(this, QStringLiteral("lblConfirmPassword"),
                                                QStringLiteral("&Confirm Password:"), 2040, 1320,
                                                1575, 195, true, true);
    lblOldPassword->setBuddy(txtOldPassword);
    lblNewPassword->setBuddy(txtNewPassword);
    lblConfirmPassword->setBuddy(txtConfirmPassword);
    TransPicBox1 = WindowStyle::MakeEmblem(*this);

    WindowStyle::TabOrder(
        {txtOldPassword, txtNewPassword, txtConfirmPassword, cmdUpdate, cmdCancel});

    for (TextBox* field : {txtOldPassword, txtNewPassword, txtConfirmPassword}) {
        field->SetPasswordChar(u'*');
        EntryField::Follow(*field);
    }
    WindowStyle::Handle(cmdUpdate, &QPushButton::clicked, this,
                        &frmChangePassword::cmdUpdate_Click);
    WindowStyle::Handle(cmdCancel, &QPushButton::clicked, this,
                        &frmChangePassword::cmdCancel_Click);
    WindowStyle::Handle(txtOldPassword, &TextBox::KeyPress, this,
                        &frmChangePassword::txtOldPassword_KeyPress);
    WindowStyle::Handle(txtNewPassword, &TextBox::KeyPress, this,
                        &frmChangePassword::txtNewPassword_KeyPress);
    WindowStyle::Handle(txtConfirmPassword, &TextBox::KeyPress, this,
                        &frmChangePassword::txtConfirmPassword_KeyPress);
}

void frmChangePassword::Form_Load() {
    ClearFields();
    WindowStyle::LoadEmblem(*TransPicBox1, kDesign, 0, 240, 1980, 1560);
    WindowStyle::CentreOverActiveWindow(*this);
    FocusWhenShown(txtOldPassword);
}

void frmChangePassword::ClearFields() {
    txtOldPassword->setText(QString());
    txtNewPassword->setText(QString());
    txtConfirmPassword->setText(QString());
}

void frmChangePassword::cmdUpdate_Click() {
    try {
        ChangePassword();
    } catch (const RuntimeError& error) {
        MessageBox(error.Description(), MsgBox::kCritical, kCaption);
    }
    ClearFields();
    hide();
}

void frmChangePassword::ChangePassword() {
    auto account = Module1::OpenRecordset(Statements::S13(Module1::CurrentUserID()));
    if (txtConfirmPassword->text() != txtNewPassword->text()) {
        MessageBox(QStringLiteral("New password and confirm password does not match"),
                   MsgBox::kExclamation, kCaption);
        return;
    }
    if (!PasswordHash::Verify(account->Fields(QStringLiteral("Password")).Value().ToString(),
                              txtOldPassword->text())) {
        MessageBox(QStringLiteral("Old password is wrong"), MsgBox::kExclamation, kCaption);
        txtOldPassword->setFocus(Qt::OtherFocusReason);
        return;
    }
    Module1::DbConnection().Execute(
        Statements::S14(PasswordHash::Hash(txtNewPassword->text()), Module1::CurrentUserID()));
    MessageBox(QStringLiteral("Password changed successfully"), MsgBox::kInformation, kCaption);
}

void frmChangePassword::cmdCancel_Click() {
    ClearFields();
    hide();
}

void frmChangePassword::txtOldPassword_KeyPress(int KeyAscii) {
    if (KeyAscii == KeyCodes::kEnter && !txtOldPassword->text().isEmpty())
        EntryField::MoveTo(*txtNewPassword);
}

void frmChangePassword::txtNewPassword_KeyPress(int KeyAscii) {
    if (KeyAscii == KeyCodes::kEnter && !txtNewPassword->text().isEmpty())
        EntryField::MoveTo(*txtConfirmPassword);
}

void frmChangePassword::txtConfirmPassword_KeyPress(int KeyAscii) {
    if (KeyAscii == KeyCodes::kEnter)
        EntryField::MoveTo(*cmdUpdate);
}
