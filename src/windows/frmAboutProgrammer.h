#pragma once

#include "platform/forms/Form.h"

#include <array>

class Label;
class QFrame;

// Who made the program. A click on the portrait, on any line about the makers or on the
// window's background hides it.
class frmAboutProgrammer : public Form {
    Q_OBJECT
public:
    explicit frmAboutProgrammer(QWidget* parent = nullptr);

    Label* Image2;
    Label* Label1;
    Label* Image1;
    // Name, what the program is built with, the skills behind it, how to reach the makers.
    std::array<Label*, 4> lblLabel;
    QFrame* Line1;

    void Form_Click();
    void Image1_Click();
    void lblLabel_Click(int Index);

protected:
    void Form_Load() override;
};
