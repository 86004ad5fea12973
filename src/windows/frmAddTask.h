#pragma once

#include "platform/forms/Form.h"

class QComboBox;

// Stores a new to-do for the logged-in user: group, name, description, due date and priority.
class frmAddTask : public Form {
    Q_OBJECT
public:
    explicit frmAddTask(QWidget* parent = nullptr);

    // Filled by Module1::RefreshLists with the group rows.
    QComboBox* cbGroups;
    QComboBox* cbPriority;

protected:
    void Form_Load() override;
};
