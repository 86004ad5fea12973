#pragma once

#include "platform/forms/Form.h"

class CommandButton;
class Label;
class TransPicBox;

// What the program is, and the way to the maker's web site.
class frmAboutProduct : public Form {
    Q_OBJECT
public:
    explicit frmAboutProduct(QWidget* parent = nullptr);

    // The About text, joined from its stored pieces.
    static QString AboutText();

    Label* Image1;
    TransPicBox* TransPicBox1;
    Label* Label1;
    Label* lblAbout;
    CommandButton* cmdShow;
    CommandButton* cmdClose;

    void cmdClose_Click();
    void cmdShow_Click();
    void lblAbout_Click();

protected:
    void Form_Load() override;
};
