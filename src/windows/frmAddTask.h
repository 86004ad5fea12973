#pragma once

#include "platform/forms/Form.h"

class ComboBox;
class CommandButton;
class Label;
class TextBox;
class TransPicBox;

// Stores a new to-do for the logged-in user: group, name, description, due date and priority.
class frmAddTask : public Form {
    Q_OBJECT
public:
    explicit frmAddTask(QWidget* parent = nullptr);

    Label* Image1;
    TransPicBox* TransPicBox1;
    Label* Label1;
    Label* Label2;
    // Filled by Module1::RefreshLists with the group rows.
    ComboBox* cbGroups;
    Label* Label3;
    TextBox* txtTaskName;
    Label* Label4;
    TextBox* txtDescription;
    Label* Label5;
    TextBox* txtDate;
    Label* Label6;
    ComboBox* cbPriority;
    CommandButton* cmdAdd;
    CommandButton* cmdClose;

    void cmdAdd_Click();
    void cmdClose_Click();
    void cbGroups_Click();
    void cbGroups_KeyUp(int KeyCode, int Shift);
    void txtTaskName_KeyUp(int KeyCode, int Shift);
    void txtDescription_KeyUp(int KeyCode, int Shift);
    void txtDate_KeyUp(int KeyCode, int Shift);
    void txtDate_LostFocus();
    void cbPriority_KeyUp(int KeyCode, int Shift);

protected:
    void Form_Load() override;
};
