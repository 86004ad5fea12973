#pragma once

#include "platform/forms/Form.h"

class CommandButton;
class Label;
class TextBox;
class TransPicBox;

// Stores a new group under the logged-in user; group names are unique across all users.
class frmAddGroup : public Form {
    Q_OBJECT
public:
    explicit frmAddGroup(QWidget* parent = nullptr);

    Label* Image1;
    TransPicBox* TransPicBox1;
    Label* Label1;
    Label* Label2;
    TextBox* txtGroup;
    CommandButton* cmdAdd;
    CommandButton* cmdClose;

    // True when the trimmed name can be stored; otherwise says why and returns false.
    bool validateGroup();

    void cmdAdd_Click();
    void cmdClose_Click();
    void txtGroup_GotFocus();
    void txtGroup_KeyUp(int KeyCode, int Shift);

protected:
    void Form_Load() override;
};
