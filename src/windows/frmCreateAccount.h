#pragma once

#include "platform/forms/Form.h"

class CommandButton;
class QLabel;
class TextBox;
class TransPicBox;

// Creates an account from a user name and a password typed twice.
class frmCreateAccount : public Form {
    Q_OBJECT
public:
    explicit frmCreateAccount(QWidget* parent = nullptr);

    void EmptyForm();

    TextBox* txtUserID;
    TextBox* txtPassword;
    TextBox* txtConfirmPassword;
    CommandButton* cmdCreate;
    CommandButton* cmdCancel;
    QLabel* lblOldPassword;
    QLabel* lblPassword;
    QLabel* lblConfirmPassword;
    TransPicBox* TransPicBox1;

    void cmdCreate_Click();
    void cmdCancel_Click();
    void txtUserID_KeyUp(int KeyCode, int Shift);
    void txtPassword_KeyUp(int KeyCode, int Shift);
    void txtConfirmPassword_KeyUp(int KeyCode, int Shift);

protected:
    void Form_Load() override;
};
