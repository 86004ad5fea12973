#pragma once

#include "platform/forms/Form.h"

class CommandButton;
class Label;
class McListBox;
class TransPicBox;

// The window a user works in after logging in: every group, the user's open to-dos of the
// chosen group, the chosen to-do's details, and the commands.
class frmMain : public Form {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    Label* Image1;
    TransPicBox* TransPicBox1;
    Label* Label1;
    CommandButton* Command1;
    CommandButton* cmdChangePassword;
    CommandButton* cmdAboutProduct;
    CommandButton* cmdAboutProgrammer;
    CommandButton* cmdAddGroup;
    CommandButton* cmdDeleteGroup;
    CommandButton* cmdAddTask;
    CommandButton* cmdMarkAsDone;
    CommandButton* cmdExit;
    Label* Label2;
    Label* Label3;
    McListBox* lstGroups;
    McListBox* lstTasks;
    Label* lblTitle;
    Label* lblDescription;
    Label* Image2;

    void lstGroups_SelChange();
    void lstTasks_SelChange();
    void Command1_Click();
    void cmdChangePassword_Click();
    void cmdAboutProduct_Click();
    void cmdAboutProgrammer_Click();
    void cmdAddGroup_Click();
    void cmdDeleteGroup_Click();
    void cmdAddTask_Click();
    void cmdMarkAsDone_Click();
    void cmdExit_Click();
    void Image2_Click();

protected:
    void Form_Load() override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool focusGroupsList_ = false;
};
