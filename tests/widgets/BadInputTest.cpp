#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "platform/db/Connection.h"
#include "platform/db/PasswordHash.h"
#include "platform/forms/Controls.h"
#include "windows/frmAddGroup.h"
#include "windows/frmAddTask.h"
#include "windows/frmChangePassword.h"
#include "windows/frmCreateAccount.h"
#include "windows/frmLogIn.h"

#include <QTest>

// What users and attackers type, through the real windows: each text is either stored and
// read back byte for byte, or refused with a message, and no table changes but the one the
// window means to change.
namespace {

const QString kEmoji = QString::fromUtf8("\xF0\x9F\x98\x80");

QStringList Inputs(int limit) {
    return {QStringLiteral("'"),
            QStringLiteral("''"),
            QStringLiteral("--"),
            QStringLiteral("');DROP TABLE tblTasks;--"),
            QStringLiteral("x' OR '1'='1"),
            QStringLiteral("<%S%>"),
            QString(limit - 1, u'w') + kEmoji,
            QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xE2\x80\x8F"
                              "123"),
            QStringLiteral("a\tb") + QChar(1) + QStringLiteral("c")};
}

class BadInput : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Module1::SetCurrentUserID(QStringLiteral("1"));
    }

    static int Rows(const char* table) {
        return Column(QStringLiteral("SELECT COUNT(*) AS n FROM ") + QLatin1String(table),
                      QStringLiteral("n"))
            .value(0)
            .toInt();
    }
    struct Counts {
        int users, groups, tasks;
        bool operator==(const Counts&) const = default;
    };
    static Counts Tables() { return {Rows("tblUsers"), Rows("tblGroups"), Rows("tblTasks")}; }

    // True when the text was refused with a message; false when nothing was said.
    bool Refused(std::size_t boxesBefore, const QString& expectedSuccess) const {
        if (Boxes().size() == boxesBefore)
            return false;
        return LastBoxText() != expectedSuccess;
    }
};

TEST_F(BadInput, GroupNamesAreStoredAsTypedOrRefused) {
    frmAddGroup& window = Shared<frmAddGroup>();
    for (const QString& input : Inputs(window.txtGroup->maxLength())) {
        window.Show(false);
        const Counts before = Tables();
        const std::size_t boxes = Boxes().size();
        window.txtGroup->setText(input);
        window.cmdAdd->click();
        ASSERT_FALSE(ProgramEnded()) << qPrintable(input);
        const Counts after = Tables();
        EXPECT_EQ(after.users, before.users);
        EXPECT_EQ(after.tasks, before.tasks) << qPrintable(input);
        if (input.contains(QStringLiteral("<%S%>"))) {
            EXPECT_TRUE(Refused(boxes, QString())) << "the list's record mark is refused";
            EXPECT_EQ(after, before);
            continue;
        }
        EXPECT_EQ(after.groups, before.groups + 1) << qPrintable(input);
        const QStringList names =
            Column(QStringLiteral("SELECT GroupName FROM tblGroups ORDER BY GroupID DESC LIMIT 1"),
                   QStringLiteral("GroupName"));
        EXPECT_EQ(names.value(0), input) << "stored byte for byte";
    }
}

TEST_F(BadInput, TodoNamesAndDescriptionsAreStoredAsTyped) {
    frmAddTask& window = Shared<frmAddTask>();
    for (const QString& input : Inputs(window.txtTaskName->maxLength())) {
        Module1::RefreshLists();
        window.Show(false);
        const Counts before = Tables();
        window.cbGroups->setCurrentIndex(window.cbGroups->findText(QStringLiteral("1 - General")));
        window.txtTaskName->setText(input);
        window.txtDescription->setText(input + input);
        window.txtDate->setText(QStringLiteral("2024-01-05"));
        window.cmdAdd->click();
        ASSERT_FALSE(ProgramEnded()) << qPrintable(input);
        const Counts after = Tables();
        EXPECT_EQ(after.users, before.users);
        EXPECT_EQ(after.groups, before.groups);
        if (input.contains(QStringLiteral("<%S%>"))) {
            EXPECT_EQ(after.tasks, before.tasks) << "the list's record mark is refused";
            EXPECT_TRUE(window.isVisible()) << "and the window keeps what was typed";
            continue;
        }
        ASSERT_EQ(after.tasks, before.tasks + 1) << qPrintable(input);
        const QString last = QStringLiteral("SELECT * FROM tblTasks ORDER BY TaskID DESC LIMIT 1");
        EXPECT_EQ(Column(last, QStringLiteral("TaskName")).value(0), input);
        EXPECT_EQ(Column(last, QStringLiteral("TaskDescription")).value(0), input + input);
    }
}

TEST_F(BadInput, AccountNamesAndPasswordsWorkAsTyped) {
    frmCreateAccount& create = Shared<frmCreateAccount>();
    frmChangePassword& change = Shared<frmChangePassword>();
    for (const QString& input : Inputs(create.txtUserID->maxLength())) {
        create.Show(false);
        const Counts before = Tables();
        create.txtUserID->setText(input);
        create.txtPassword->setText(input);
        create.txtConfirmPassword->setText(input);
        create.cmdCreate->click();
        ASSERT_FALSE(ProgramEnded()) << qPrintable(input);
        ASSERT_EQ(Tables(), (Counts{before.users + 1, before.groups, before.tasks}))
            << qPrintable(input);
        EXPECT_EQ(CountAccounts(input), 1) << "the name is stored as typed";

        // The same texts log in, and a changed password is the one that works next.
        frmLogIn logIn;
        logIn.EnsureLoaded();
        logIn.txtUserName->setText(input);
        logIn.txtPassword->setText(input);
        logIn.cmdLogIN->click();
        ASSERT_TRUE(logIn.Authenticated) << qPrintable(input);
        Module1::SetCurrentUserID(logIn.iUserID);
        change.Show(false);
        change.txtOldPassword->setText(input);
        change.txtNewPassword->setText(input + QStringLiteral("2"));
        change.txtConfirmPassword->setText(input + QStringLiteral("2"));
        // At the field's limit the added character is not taken: the field holds what counts.
        const QString newPassword = change.txtNewPassword->text();
        change.cmdUpdate->click();
        const QString hash =
            Column(QStringLiteral("SELECT Password FROM tblUsers WHERE UserID=") + logIn.iUserID,
                   QStringLiteral("Password"))
                .value(0);
        EXPECT_EQ(LastBoxText(), QStringLiteral("Password changed successfully"));
        EXPECT_TRUE(PasswordHash::Verify(hash, newPassword)) << qPrintable(input);
        if (newPassword != input) {
            EXPECT_FALSE(PasswordHash::Verify(hash, input)) << qPrintable(input);
        }
        EXPECT_EQ(Tables(), (Counts{before.users + 1, before.groups, before.tasks}));
    }
}

} // namespace
