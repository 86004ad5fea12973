#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/db/PasswordHash.h"
#include "platform/forms/Controls.h"
#include "windows/EntryField.h"
#include "windows/frmChangePassword.h"
#include "windows/frmLogIn.h"

#include <QStyle>
#include <QTest>

namespace {

class ChangePasswordWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        AddAccount(4, QStringLiteral("Kim"), QStringLiteral("Old Pass"));
        Module1::SetCurrentUserID(QStringLiteral("4"));
        window_ = &Shared<frmChangePassword>();
        window_->Show(false);
        QCoreApplication::processEvents();
    }

    void Change(const QString& old, const QString& fresh, const QString& confirmation) {
        if (!window_->isVisible())
            window_->Show(false);
        window_->txtOldPassword->setText(old);
        window_->txtNewPassword->setText(fresh);
        window_->txtConfirmPassword->setText(confirmation);
        window_->cmdUpdate->click();
    }
    static QString StoredHash() {
        return Column(QStringLiteral("SELECT * FROM [tblUsers] WHERE [UserID]=4"),
                      QStringLiteral("Password"))
            .value(0);
    }
    void ExpectClosedEmpty() {
        EXPECT_FALSE(window_->isVisible());
        EXPECT_TRUE(window_->txtOldPassword->text().isEmpty());
        EXPECT_TRUE(window_->txtNewPassword->text().isEmpty());
        EXPECT_TRUE(window_->txtConfirmPassword->text().isEmpty());
    }
    // The log-in window's verdict on a name and password.
    static bool LogsIn(const QString& name, const QString& password) {
        frmLogIn logIn;
        logIn.Show(false);
        logIn.txtUserName->setText(name);
        logIn.txtPassword->setText(password);
        logIn.cmdLogIN->click();
        return logIn.Authenticated;
    }

    frmChangePassword* window_ = nullptr;
};

TEST_F(ChangePasswordWindow, AMismatchIsReportedBeforeTheOldPasswordAndNothingIsWritten) {
    const QString before = StoredHash();
    Change(QStringLiteral("wrong"), QStringLiteral("new"), QStringLiteral("New"));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt,
              QStringLiteral("New password and confirm password does not match"));
    EXPECT_EQ(Boxes()[0].style, MsgBox::kExclamation);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Change Password"));
    ExpectClosedEmpty();

    Change(QStringLiteral("old pass"), QStringLiteral("new"), QStringLiteral("new"));
    EXPECT_EQ(LastBoxText(), QStringLiteral("Old password is wrong"));
    EXPECT_EQ(Boxes().back().style, MsgBox::kExclamation);
    ExpectClosedEmpty();
    window_->Show(false);
    EXPECT_EQ(window_->focusWidget(), window_->txtOldPassword);
    EXPECT_EQ(StoredHash(), before);
    EXPECT_TRUE(LogsIn(QStringLiteral("Kim"), QStringLiteral("Old Pass")));
}

TEST_F(ChangePasswordWindow, StoresTheNewPasswordAsAHashAndAnEmptyOneLogsIn) {
    Change(QStringLiteral("Old Pass"), QStringLiteral("Néw one"), QStringLiteral("Néw one"));
    EXPECT_EQ(LastBoxText(), QStringLiteral("Password changed successfully"));
    EXPECT_EQ(Boxes().back().style, MsgBox::kInformation);
    ExpectClosedEmpty();
    EXPECT_NE(StoredHash(), QStringLiteral("Néw one"));
    EXPECT_TRUE(PasswordHash::Verify(StoredHash(), QStringLiteral("Néw one")));

    Change(QStringLiteral("Néw one"), QString(), QString());
    EXPECT_EQ(LastBoxText(), QStringLiteral("Password changed successfully"));
    EXPECT_TRUE(LogsIn(QStringLiteral("kim"), QString()));
    EXPECT_FALSE(LogsIn(QStringLiteral("kim"), QStringLiteral("Néw one")));
}

TEST_F(ChangePasswordWindow, AFailureIsShownCriticallyAndTheProgramGoesOn) {
    Module1::SetCurrentUserID(QStringLiteral("99")); // no such account
    Change(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("y"));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].style, MsgBox::kCritical);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Change Password"));
    EXPECT_FALSE(Boxes()[0].prompt.isEmpty());
    ExpectClosedEmpty();

    Module1::SetCurrentUserID(QStringLiteral("4"));
    Module1::DbConnection().Close();
    Change(QStringLiteral("Old Pass"), QStringLiteral("y"), QStringLiteral("y"));
    EXPECT_EQ(Boxes().back().style, MsgBox::kCritical);
    ExpectClosedEmpty();
    EXPECT_FALSE(ProgramEnded());
}

TEST_F(ChangePasswordWindow, EnterOnKeyPressMovesOnFromFilledFieldsAndAlwaysFromTheLast) {
    window_->cmdCancel->click();
    window_->Show(false);
    FocusIn(window_, window_->txtOldPassword);
    QTest::keyPress(window_->txtOldPassword, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window_->txtOldPassword) << "empty stays";
    QTest::keyClicks(window_->txtOldPassword, QStringLiteral(" "));
    QTest::keyPress(window_->txtOldPassword, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window_->txtNewPassword) << "a space counts";
    QTest::keyClicks(window_->txtNewPassword, QStringLiteral("n"));
    QTest::keyPress(window_->txtNewPassword, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window_->txtConfirmPassword);
    QTest::keyPress(window_->txtConfirmPassword, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window_->cmdUpdate);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ChangePasswordWindow, LayoutFollowsItsDesign) {
    EXPECT_EQ(window_->size(), QSize(358, 165));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Change Password"));
    ExpectLayout(window_, {{"txtOldPassword", 2160, 360, 3135, 285},
                           {"txtNewPassword", 2160, 960, 3135, 285},
                           {"txtConfirmPassword", 2160, 1560, 3135, 315},
                           {"cmdUpdate", 2640, 2040, 1215, 345},
                           {"cmdCancel", 3960, 2040, 1215, 345}});
    for (const QWidget* label : {static_cast<QWidget*>(window_->lblOldPassword),
                                 static_cast<QWidget*>(window_->lblNewPassword),
                                 static_cast<QWidget*>(window_->lblConfirmPassword)}) {
        EXPECT_EQ(label->x(), 136);
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->font().family(), QStringLiteral("MS Sans Serif"));
    }
    EXPECT_EQ(window_->lblNewPassword->y(), 48);
    EXPECT_EQ(window_->TransPicBox1->geometry(), QRect(0, 16, 132, 104));
    for (TextBox* field :
         {window_->txtOldPassword, window_->txtNewPassword, window_->txtConfirmPassword}) {
        EXPECT_EQ(field->maxLength(), 50);
        EXPECT_EQ(field->echoMode(), QLineEdit::Password);
        EXPECT_EQ(field->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, field),
                  '*');
    }

    // Entering a field selects and highlights it.
    window_->txtNewPassword->setText(QStringLiteral("abc"));
    FocusIn(window_, window_->txtNewPassword);
    EXPECT_EQ(window_->txtNewPassword->selectedText(), QStringLiteral("abc"));
    EXPECT_EQ(window_->txtNewPassword->BackColor(), EntryField::kHighlight);

    window_->cmdCancel->click();
    ExpectClosedEmpty();
    EXPECT_TRUE(Boxes().empty());
}

} // namespace
