#pragma once

#include "platform/forms/Form.h"

class McListBox;

// The window a user works in after logging in.
class frmMain : public Form {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    McListBox* lstGroups;
    McListBox* lstTasks;

protected:
    void Form_Load() override;
    void closeEvent(QCloseEvent* event) override;
};
