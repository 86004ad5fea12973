#pragma once

#include "platform/forms/Form.h"

// The window a user works in after logging in.
class frmMain : public Form {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
};
