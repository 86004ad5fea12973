#pragma once

#include "platform/forms/Form.h"

class CommandButton;
class QLabel;
class TextBox;
class TransPicBox;

// The first window: asks for a user name and password and reports the outcome to the
// start-up routine through `Authenticated`, `NewAccount` and `iUserID`.
class frmLogIn : public Form {
    Q_OBJECT
public:
    explicit frmLogIn(QWidget* parent = nullptr);

    bool Authenticated = false;
    bool NewAccount = false;
    QString iUserID;

    TextBox* txtUserName;
    TextBox* txtPassword;
    CommandButton* cmdLogIN;
    CommandButton* cmdClose;
    QLabel* lblUserName;
    QLabel* lblPassword;
    TransPicBox* TransPicBox1;
    CommandButton* cmdNewAccout;
    QLabel* Label1;

    void cmdLogIN_Click();
    void cmdNewAccout_Click();
    void cmdClose_Click();
    void txtPassword_Change();
    void txtUserName_KeyUp(int KeyCode, int Shift);
    void txtPassword_KeyUp(int KeyCode, int Shift);
    void txtUserName_GotFocus();
    void txtUserName_LostFocus();
    void txtPassword_GotFocus();
    void txtPassword_LostFocus();

protected:
    void Form_Load() override;

private:
    bool CheckLogIn();
};
