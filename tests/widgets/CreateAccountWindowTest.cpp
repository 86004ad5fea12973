#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/PasswordHash.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "windows/frmCreateAccount.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QTest>

namespace {

class CreateAccountWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window_ = &Shared<frmCreateAccount>();
        window_->EmptyForm();
        window_->Show(false);
        QCoreApplication::processEvents();
    }

    void Create(const QString& name, const QString& password, const QString& confirmation) {
        if (!window_->isVisible())
            window_->Show(false);
        window_->txtUserID->setText(name);
        window_->txtPassword->setText(password);
        window_->txtConfirmPassword->setText(confirmation);
        window_->cmdCreate->click();
    }

    struct Account {
        int id;
        QString name;
        QString password;
    };
    std::vector<Account> Accounts() {
        std::vector<Account> rows;
        auto rs = Module1::OpenRecordset(Statements::S9());
        if (rs->RecordCount() > 0)
            rs->MoveFirst();
        while (!rs->Eof()) {
            rows.push_back(
                {static_cast<int>(rs->Fields(QStringLiteral("UserID")).Value().ToInteger()),
                 rs->Fields(QStringLiteral("username")).Value().ToString(),
                 rs->Fields(QStringLiteral("Password")).Value().ToString()});
            rs->MoveNext();
        }
        return rows;
    }

    frmCreateAccount* window_ = nullptr;
};

TEST_F(CreateAccountWindow, CreatesTheNextNumberWithATrimmedNameAndAHashedPassword) {
    AddAccount(7, QStringLiteral("Bob"), QStringLiteral("x"));
    Create(QStringLiteral("  carol "), QStringLiteral("Pass word"), QStringLiteral("Pass word"));
    EXPECT_EQ(LastBoxText(), QStringLiteral("User Account has successfully been created."));
    EXPECT_EQ(Boxes().back().title, QStringLiteral("Create Account"));
    EXPECT_EQ(Boxes().back().style, MsgBox::kInformation);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(window_->txtUserID->text().isEmpty());
    EXPECT_TRUE(window_->txtPassword->text().isEmpty());
    EXPECT_TRUE(window_->txtConfirmPassword->text().isEmpty());

    const auto rows = Accounts();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows.back().id, 8);
    EXPECT_EQ(rows.back().name, QStringLiteral("carol"));
    EXPECT_NE(rows.back().password, QStringLiteral("Pass word")) << "never stored in clear";
    EXPECT_TRUE(PasswordHash::Verify(rows.back().password, QStringLiteral("Pass word")));
    EXPECT_FALSE(PasswordHash::Verify(rows.back().password, QStringLiteral("pass word")));
}

TEST_F(CreateAccountWindow, TheDuplicateTestIsExactAndCaseSensitive) {
    AddAccount(2, QStringLiteral("Bob"), QStringLiteral("x"));
    Create(QStringLiteral("Bob"), QStringLiteral("a"), QStringLiteral("a"));
    EXPECT_EQ(LastBoxText(), QStringLiteral("User already exists"));
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->txtUserID->text(), QStringLiteral("Bob"));
    EXPECT_EQ(CountAccounts(QStringLiteral("Bob")), 1);

    Create(QStringLiteral("bob"), QStringLiteral("a"), QStringLiteral("a"));
    EXPECT_EQ(LastBoxText(), QStringLiteral("User Account has successfully been created."));
    EXPECT_EQ(CountAccounts(QStringLiteral("bob")), 1);

    // A name typed with a space passes the test as typed and is stored trimmed.
    Create(QStringLiteral("Bob "), QStringLiteral("a"), QStringLiteral("a"));
    EXPECT_EQ(CountAccounts(QStringLiteral("Bob")), 2);
}

TEST_F(CreateAccountWindow, RefusesAnEmptyNameAndAMismatchWithoutWriting) {
    const size_t before = Accounts().size();
    Create(QStringLiteral("   "), QStringLiteral("a"), QStringLiteral("a"));
    EXPECT_EQ(LastBoxText(), QStringLiteral("You must enter the userID"));
    EXPECT_EQ(window_->focusWidget(), window_->txtUserID);

    Create(QStringLiteral("dave"), QStringLiteral("abc"), QStringLiteral("abC"));
    EXPECT_EQ(LastBoxText(),
              QStringLiteral("Your entered password and confirm password does not match."));
    EXPECT_EQ(window_->focusWidget(), window_->txtPassword);
    EXPECT_EQ(window_->txtConfirmPassword->text(), QStringLiteral("abC"));
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(Accounts().size(), before);
    EXPECT_FALSE(ProgramEnded());
}

TEST_F(CreateAccountWindow, AnEmptyAccountTableGivesNumberOne) {
    Module1::DbConnection().Execute(QStringLiteral("DELETE FROM [tblUsers]"));
    Create(QStringLiteral("first"), QString(), QString());
    EXPECT_FALSE(ProgramEnded());
    const auto rows = Accounts();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].id, 1);
    EXPECT_TRUE(PasswordHash::Verify(rows[0].password, QString()));
}

TEST_F(CreateAccountWindow, NumbersBeyondTheSixteenBitRangeAreRefusedWithAMessage) {
    AddAccount(32767, QStringLiteral("last"), QStringLiteral("x"));
    Create(QStringLiteral("overflow"), QStringLiteral("a"), QStringLiteral("a"));
    EXPECT_FALSE(ProgramEnded());
    EXPECT_EQ(Boxes().back().title, QStringLiteral("Create Account"));
    EXPECT_EQ(LastBoxText(), QStringLiteral("No more accounts can be created: the highest "
                                            "account number, 32767, has been reached."));
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->txtUserID->text(), QStringLiteral("overflow"));
    EXPECT_EQ(CountAccounts(QStringLiteral("overflow")), 0);
}

TEST_F(CreateAccountWindow, EnterMovesOnOnlyFromAFilledField) {
    FocusIn(window_, window_->txtUserID);
    QTest::keyClick(window_->txtUserID, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window_->txtUserID);
    QTest::keyClicks(window_->txtUserID, QStringLiteral("eve"));
    QTest::keyClick(window_->txtUserID, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window_->txtPassword);
    QTest::keyClicks(window_->txtPassword, QStringLiteral(" "));
    QTest::keyClick(window_->txtPassword, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window_->txtPassword) << "spaces only do not count";
    QTest::keyClicks(window_->txtPassword, QStringLiteral("p"));
    QTest::keyClick(window_->txtPassword, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window_->txtConfirmPassword);
    QTest::keyClicks(window_->txtConfirmPassword, QStringLiteral(" p"));
    QTest::keyClick(window_->txtConfirmPassword, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window_->cmdCreate);
    QTest::keyClick(window_->cmdCreate, Qt::Key_Return);
    EXPECT_EQ(LastBoxText(), QStringLiteral("User Account has successfully been created."));
}

TEST_F(CreateAccountWindow, CancelEmptiesAndHides) {
    window_->txtUserID->setText(QStringLiteral("half"));
    window_->cmdCancel->click();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(window_->txtUserID->text().isEmpty());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(CreateAccountWindow, LayoutFollowsItsDesign) {
    EXPECT_EQ(window_->size(), QSize(385, 180));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Create Account"));
    EXPECT_EQ(window_->txtConfirmPassword->geometry(), QRect(152, 104, 225, 21));
    EXPECT_EQ(window_->cmdCreate->geometry(), QRect(176, 144, 113, 27));
    EXPECT_EQ(window_->lblConfirmPassword->pos(), QPoint(144, 88));
    EXPECT_TRUE(window_->lblConfirmPassword->font().bold());

    ExpectLayout(window_, {{"txtUserID", 2280, 360, 3375, 285},
                           {"txtPassword", 2280, 960, 3375, 285},
                           {"txtConfirmPassword", 2280, 1560, 3375, 315},
                           {"cmdCreate", 2640, 2160, 1695, 400, 0x00FF8080},
                           {"cmdCancel", 4440, 2160, 1215, 400, 0x00C0C0FF}});
    EXPECT_EQ(window_->lblOldPassword->pos(), QPoint(144, 8));
    EXPECT_EQ(window_->lblPassword->pos(), QPoint(144, 48));
    EXPECT_EQ(window_->TransPicBox1->geometry(), QRect(8, 8, 118, 116));
    for (TextBox* field : {window_->txtUserID, window_->txtPassword, window_->txtConfirmPassword})
        EXPECT_EQ(field->maxLength(), 50);
    EXPECT_EQ(window_->txtUserID->echoMode(), QLineEdit::Normal);
    for (TextBox* field : {window_->txtPassword, window_->txtConfirmPassword})
        EXPECT_EQ(field->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, field),
                  '*');
}

TEST_F(CreateAccountWindow, ClosedByItsTitleBarItComesBackEmptyInItsFirstField) {
    window_->txtUserID->setText(QStringLiteral("half"));
    FocusIn(window_, window_->cmdCreate);
    window_->close();
    Shared<frmCreateAccount>().Show(false);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window_->txtUserID->text().isEmpty());
    EXPECT_EQ(window_->focusWidget(), window_->txtUserID);
}

TEST_F(CreateAccountWindow, TheWriteLockIsGivenUpBeforeAnyMessageWaits) {
    // Another program on the same file tries to write while each message is on screen.
    Connection other;
    other.Open(database_.ConnectionString());
    QStringList blocked;
    MsgBox::SetResponder([&](const MsgBox::Call& call) {
        try {
            other.Execute(
                QStringLiteral("INSERT INTO [tblGroups](UserID,GroupName) VALUES(9,'x')"));
        } catch (const DbError&) {
            blocked.append(call.prompt);
        }
        return MsgBox::kOK;
    });
    AddAccount(3, QStringLiteral("Bob"), QStringLiteral("x"));
    Create(QStringLiteral("Bob"), QStringLiteral("a"), QStringLiteral("a"));
    Create(QStringLiteral(" "), QStringLiteral("a"), QStringLiteral("a"));
    Create(QStringLiteral("Ann"), QStringLiteral("a"), QStringLiteral("b"));
    Create(QStringLiteral("Ann"), QStringLiteral("a"), QStringLiteral("a"));
    EXPECT_TRUE(blocked.isEmpty()) << blocked.join(u'|').toStdString();
    EXPECT_EQ(CountAccounts(QStringLiteral("Ann")), 1);
    EXPECT_EQ(
        Column(QStringLiteral("SELECT * FROM [tblGroups]"), QStringLiteral("GroupName")).size(), 5);
}

TEST_F(CreateAccountWindow, ANameEndingInAnEmojiAtTheLimitIsStoredWhole) {
    const QString name = QString(49, u'n') + QString::fromUtf8("\xF0\x9F\x98\x80");
    window_->txtUserID->setFocus();
    Type(window_->txtUserID, name + QStringLiteral("x"));
    ASSERT_EQ(window_->txtUserID->text(), name);
    Create(window_->txtUserID->text(), QStringLiteral("pw"), QStringLiteral("pw"));
    EXPECT_EQ(LastBoxText(), QStringLiteral("User Account has successfully been created."));
    EXPECT_EQ(CountAccounts(name), 1) << "stored exactly as typed, so it matches again";
}

} // namespace
