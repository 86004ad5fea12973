#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/db/PasswordHash.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ProgramEnd.h"
#include "platform/forms/SystemColors.h"
#include "windows/EntryField.h"
#include "windows/frmLogIn.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QTest>

namespace {

class LogInWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window_ = std::make_unique<frmLogIn>();
        window_->Show(false);
        QApplication::setActiveWindow(window_.get());
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        window_.reset();
        WindowFixture::TearDown();
    }

    void TypeInto(TextBox* field, const QString& text) {
        FocusIn(window_.get(), field);
        field->clear();
        QTest::keyClicks(field, text);
    }
    void LogIn(const QString& name, const QString& password) {
        TypeInto(window_->txtUserName, name);
        TypeInto(window_->txtPassword, password);
        window_->cmdLogIN->click();
    }
    // Enter as a user types it: pressed and released wherever the focus is.
    static void PressEnter() {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyPress(target, Qt::Key_Return);
        if (QWidget* now = QApplication::focusWidget())
            QTest::keyRelease(now, Qt::Key_Return);
    }

    std::unique_ptr<frmLogIn> window_;
};

TEST_F(LogInWindow, AcceptsTheNameInAnyCaseButOnlyTheExactPassword) {
    AddAccount(5, QStringLiteral("Bob"), QStringLiteral("Secret"));

    LogIn(QStringLiteral("BOB"), QStringLiteral("secret"));
    EXPECT_FALSE(window_->Authenticated);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, QStringLiteral("Invalid username or password"));
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Log In"));
    EXPECT_EQ(Boxes()[0].style, MsgBox::kExclamation);
    EXPECT_EQ(window_->txtPassword->Tag(), QStringLiteral("1"));
    EXPECT_EQ(QApplication::focusWidget(), window_->txtPassword);
    EXPECT_EQ(window_->txtPassword->selectedText(), QStringLiteral("secret"));
    EXPECT_EQ(window_->txtUserName->text(), QStringLiteral("BOB"));

    LogIn(QStringLiteral(" bob"), QStringLiteral("Secret"));
    EXPECT_FALSE(window_->Authenticated) << "a leading space is part of the name";

    LogIn(QStringLiteral("bOb"), QStringLiteral("Secret"));
    EXPECT_TRUE(window_->Authenticated);
    EXPECT_EQ(window_->iUserID, QStringLiteral("5"));
    EXPECT_FALSE(window_->isVisible());
    EXPECT_FALSE(ProgramEnded());
}

TEST_F(LogInWindow, AnEmptyNameIsRefusedWithoutReadingTheDatabase) {
    Module1::DbConnection().Close(); // any read would now fail and end the program
    TypeInto(window_->txtPassword, QStringLiteral("x"));
    window_->txtUserName->clear();
    window_->cmdLogIN->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, QStringLiteral("Please enter the username"));
    EXPECT_EQ(Boxes()[0].style, MsgBox::kInformation);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Log In"));
    EXPECT_EQ(QApplication::focusWidget(), window_->txtUserName);
    EXPECT_FALSE(ProgramEnded());
}

TEST_F(LogInWindow, AnEmptyStoredPasswordAcceptsAnEmptyFieldAndTheFirstMatchingRowWins) {
    AddAccount(2, QStringLiteral("ann"), QString());
    AddAccount(3, QStringLiteral("ANN"), QStringLiteral("pw"));
    LogIn(QStringLiteral("Ann"), QStringLiteral("pw"));
    EXPECT_EQ(window_->iUserID, QStringLiteral("3"));

    window_->Authenticated = false;
    LogIn(QStringLiteral("Ann"), QString());
    EXPECT_TRUE(window_->Authenticated);
    EXPECT_EQ(window_->iUserID, QStringLiteral("2"));
}

// A refusal that came sooner for an unknown name would tell a watcher which names exist.
TEST_F(LogInWindow, EveryRefusalCostsTheSameVerificationWhetherOrNotTheNameExists) {
    AddAccount(5, QStringLiteral("Bob"), QStringLiteral("Secret"));
    const auto refusalCost = [this](const QString& name) {
        const quint64 before = PasswordHash::VerificationCount();
        LogIn(name, QStringLiteral("guess"));
        EXPECT_FALSE(window_->Authenticated);
        return PasswordHash::VerificationCount() - before;
    };
    EXPECT_EQ(refusalCost(QStringLiteral("bob")), 1u);
    EXPECT_EQ(refusalCost(QStringLiteral("nobody")), 1u);
    Module1::DbConnection().Execute(QStringLiteral("DELETE FROM [tblUsers]"));
    EXPECT_EQ(refusalCost(QStringLiteral("bob")), 1u);
}

TEST_F(LogInWindow, AFailedReadIsShownAndEndsTheProgramAsAFailure) {
    Module1::DbConnection().Close();
    LogIn(QStringLiteral("admin"), QStringLiteral("admin"));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].style, MsgBox::kCritical);
    EXPECT_TRUE(ProgramEnded());
    EXPECT_EQ(ProgramEnd::EndedStatus(), kErrorExitStatus);
    EXPECT_FALSE(window_->Authenticated);
}

TEST_F(LogInWindow, AnEmptyAccountTableRefusesTheLogInInsteadOfEndingTheProgram) {
    Module1::DbConnection().Execute(QStringLiteral("DELETE FROM [tblUsers]"));
    LogIn(QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_EQ(LastBoxText(), QStringLiteral("Invalid username or password"));
    EXPECT_FALSE(ProgramEnded());
    EXPECT_FALSE(window_->Authenticated);
}

TEST_F(LogInWindow, EnterWalksFromNameToPasswordToTheButtonAndPressesIt) {
    FocusIn(window_.get(), window_->txtUserName);
    PressEnter();
    EXPECT_EQ(QApplication::focusWidget(), window_->txtUserName) << "an empty name stays put";
    QTest::keyClicks(window_->txtUserName, QStringLiteral("   "));
    PressEnter();
    EXPECT_EQ(QApplication::focusWidget(), window_->txtUserName) << "spaces only stay put";

    window_->txtUserName->clear();
    QTest::keyClicks(window_->txtUserName, QStringLiteral("admin"));
    PressEnter();
    ASSERT_EQ(QApplication::focusWidget(), window_->txtPassword);
    QTest::keyClicks(window_->txtPassword, QStringLiteral("admin"));
    PressEnter();
    ASSERT_EQ(QApplication::focusWidget(), window_->cmdLogIN);
    QTest::keyPress(window_->cmdLogIN, Qt::Key_Return);
    EXPECT_TRUE(window_->Authenticated);
    EXPECT_EQ(window_->iUserID, QStringLiteral("1"));
}

TEST_F(LogInWindow, AfterAFailureEnterInThePasswordStaysUntilThePasswordChanges) {
    LogIn(QStringLiteral("admin"), QStringLiteral("wrong"));
    ASSERT_EQ(LastBoxText(), QStringLiteral("Invalid username or password"));
    FocusIn(window_.get(), window_->txtPassword);
    PressEnter(); // the release of the Enter that dismissed the box
    EXPECT_EQ(QApplication::focusWidget(), window_->txtPassword);

    QTest::keyClick(window_->txtPassword, Qt::Key_X); // replaces the selected text
    EXPECT_EQ(window_->txtPassword->Tag(), QStringLiteral("0"));
    PressEnter();
    EXPECT_EQ(QApplication::focusWidget(), window_->cmdLogIN);
}

TEST_F(LogInWindow, FieldsSelectAllAndTurnOrangeWhileFocused) {
    window_->txtUserName->setText(QStringLiteral("someone"));
    FocusIn(window_.get(), window_->txtPassword);
    FocusIn(window_.get(), window_->txtUserName);
    EXPECT_EQ(window_->txtUserName->selectedText(), QStringLiteral("someone"));
    EXPECT_EQ(window_->txtUserName->BackColor(), EntryField::kHighlight);
    EXPECT_EQ(window_->txtUserName->palette().color(QPalette::Base), QColor(255, 172, 132));
    EXPECT_EQ(window_->txtPassword->BackColor(), EntryField::kNormal);

    // A click selects all as well.
    FocusIn(window_.get(), window_->txtPassword);
    QTest::mouseClick(window_->txtUserName, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window_->txtUserName->selectedText(), QStringLiteral("someone"));

    // Leaving for another window restores the system window colour.
    QWidget other;
    other.show();
    FocusIn(&other, &other);
    EXPECT_EQ(window_->txtUserName->BackColor(), EntryField::kNormal);
}

TEST_F(LogInWindow, NewAccountAndCloseReportTheirOutcome) {
    window_->cmdNewAccout->click();
    EXPECT_TRUE(window_->NewAccount);
    EXPECT_FALSE(window_->isVisible());
    window_->Show(false);
    window_->cmdClose->click();
    EXPECT_TRUE(ProgramEnded());
}

TEST_F(LogInWindow, LayoutFollowsItsDesign) {
    EXPECT_EQ(window_->size(), QSize(391, 142));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Log In"));
    EXPECT_EQ(window_->txtUserName->geometry(), QRect(184, 16, 201, 23));
    EXPECT_EQ(window_->cmdLogIN->geometry(), QRect(224, 104, 81, 25));
    EXPECT_EQ(window_->txtPassword->maxLength(), 50);
    EXPECT_EQ(window_->txtPassword->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(window_->cmdLogIN->font().bold());
    EXPECT_FALSE(window_->Label1->font().bold());
    EXPECT_TRUE(window_->Label1->text().startsWith(QLatin1Char('*')));
    EXPECT_TRUE(window_->Label1->text().contains(QStringLiteral("admin")));
    // The emblem snaps to its picture's size.
    EXPECT_EQ(window_->TransPicBox1->size(), QSize(91, 110));
    EXPECT_EQ(window_->TransPicBox1->pos(), QPoint(8, 8));

    ExpectLayout(window_.get(), {{"txtUserName", 2760, 240, 3015, 345},
                                 {"txtPassword", 2760, 720, 3015, 345},
                                 {"cmdLogIN", 3360, 1560, 1215, 375, 0x00FF8080},
                                 {"cmdClose", 4680, 1560, 1095, 375, 0x00C0C0FF},
                                 {"lblUserName", 1680, 280, 1215, 255},
                                 {"lblPassword", 1680, 760, 1215, 255},
                                 {"cmdNewAccout", 1680, 1560, 1575, 375, 0x00FFC0C0},
                                 {"Label1", 2160, 1200, 3375, 255}});
    EXPECT_EQ(window_->txtUserName->maxLength(), 50);
    EXPECT_EQ(window_->txtUserName->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(window_->txtPassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                       nullptr, window_->txtPassword),
              '*');
}

TEST_F(LogInWindow, AFailedCheckShowsTheErrorCriticallyThenEndsTheProgram) {
    Module1::DbConnection().Close();
    LogIn(QStringLiteral("admin"), QStringLiteral("admin"));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].style, MsgBox::kCritical);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Log In"));
    EXPECT_FALSE(Boxes()[0].prompt.isEmpty());
    EXPECT_TRUE(ProgramEnded());
    EXPECT_FALSE(window_->Authenticated);
}

TEST_F(LogInWindow, ComingBackFromAnotherProgramKeepsTheCaretWhereTheUserLeftIt) {
    window_->txtUserName->setText(QStringLiteral("someone"));
    FocusIn(window_.get(), window_->txtUserName);
    window_->txtUserName->setCursorPosition(3);

    QApplication::setActiveWindow(nullptr); // another program's window is active
    QApplication::setActiveWindow(window_.get());
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), window_->txtUserName);
    EXPECT_FALSE(window_->txtUserName->hasSelectedText());
    EXPECT_EQ(window_->txtUserName->cursorPosition(), 3);
    EXPECT_EQ(window_->txtUserName->BackColor(), EntryField::kHighlight);

    // A move to another of the program's windows and back is an entry.
    window_->txtUserName->setCursorPosition(3);
    QWidget other;
    other.show();
    FocusIn(&other, &other);
    EXPECT_EQ(window_->txtUserName->BackColor(), EntryField::kNormal);
    QApplication::setActiveWindow(window_.get());
    QCoreApplication::processEvents();
    EXPECT_EQ(window_->txtUserName->selectedText(), QStringLiteral("someone"));
    EXPECT_EQ(window_->txtUserName->BackColor(), EntryField::kHighlight);
}

} // namespace
