#pragma once

#include "platform/forms/Form.h"

class CommandButton;
class Label;
class TextBox;
class TransPicBox;

// Replaces the logged-in user's password. Whatever the outcome, the fields are emptied and the
// window hides; a new attempt starts from the main window.
class frmChangePassword : public Form {
    Q_OBJECT
public:
    explicit frmChangePassword(QWidget* parent = nullptr);

    TextBox* txtOldPassword;
    TextBox* txtNewPassword;
    TextBox* txtConfirmPassword;
    CommandButton* cmdUpdate;
    CommandButton* cmdCancel;
    Label* lblOldPassword;
    Label* lblNewPassword;
    Label* lblConfirmPassword;
    TransPicBox* TransPicBox1;

    void cmdUpdate_Click();
    void cmdCancel_Click();
    void txtOldPassword_KeyPress(int KeyAscii);
    void txtNewPassword_KeyPress(int KeyAscii);
    void txtConfirmPassword_KeyPress(int KeyAscii);

protected:
    void Form_Load() override;

private:
    void ClearFields();
    void ChangePassword();
};
