#include "support/TempDatabase.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/ProgramEnd.h"
#include "windows/frmCreateAccount.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

constexpr int kPrograms = 6;
constexpr int kAccountsEach = 5;
const char* const kFolderVariable = "PELMORAN_TEST_ACCOUNT_FOLDER";
const char* const kNameVariable = "PELMORAN_TEST_ACCOUNT_PROGRAM";

} // namespace

// One of the programs: creates its accounts through the real window, one press each, and
// fails on the first message that is not the success message. Run only by the test below.
TEST(AccountCreationRace, DISABLED_OneProgram) {
    const QString folder = qEnvironmentVariable(kFolderVariable);
    const QString program = qEnvironmentVariable(kNameVariable);
    ASSERT_FALSE(folder.isEmpty());
    Module1::DbConnection().Open(ConnectionString(folder));
    QStringList messages;
    MsgBox::SetResponder([&](const MsgBox::Call& call) {
        messages << call.prompt;
        return MsgBox::kOK;
    });
    ProgramEnd::SetHandler([] {});
    frmCreateAccount& window = Shared<frmCreateAccount>();
    for (int i = 0; i < kAccountsEach; ++i) {
        window.Show(false);
        window.txtUserID->setText(program + u'-' + QString::number(i));
        window.txtPassword->setText(QStringLiteral("pw"));
        window.txtConfirmPassword->setText(QStringLiteral("pw"));
        window.cmdCreate->click();
        ASSERT_FALSE(ProgramEnd::HasEnded()) << qPrintable(messages.join(u'|'));
        ASSERT_EQ(messages.size(), i + 1);
        ASSERT_EQ(messages.back(), QStringLiteral("User Account has successfully been created."))
            << qPrintable(program);
    }
    MsgBox::SetResponder(nullptr);
    ProgramEnd::SetHandler(nullptr);
}

// Programs started together on one file, each creating accounts as fast as it can: every
// account is made with a number of its own and no program ends on a busy file.
TEST(AccountCreationRace, SixProgramsCreatingAccountsAtOnceAllSucceed) {
    TempDatabase db;
    std::vector<std::unique_ptr<QProcess>> programs;
    for (int p = 0; p < kPrograms; ++p) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kFolderVariable), db.Folder());
        environment.insert(QString::fromLatin1(kNameVariable), QStringLiteral("p%1").arg(p));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--gtest_also_run_disabled_tests"),
                        QStringLiteral("--gtest_filter=AccountCreationRace.DISABLED_OneProgram"),
                        QStringLiteral("--gtest_brief=1")});
        programs.push_back(std::move(process));
    }
    int failedPrograms = 0;
    for (const auto& process : programs) {
        ASSERT_TRUE(process->waitForFinished(240000));
        if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
            ++failedPrograms;
    }

    Connection connection;
    connection.Open(db.ConnectionString());
    Recordset users;
    users.Open(Statements::S9(), connection);
    QSet<QString> names;
    QSet<qint64> ids;
    users.MoveFirst();
    while (!users.Eof()) {
        names.insert(users.Fields(QStringLiteral("username")).Value().ToString());
        ids.insert(users.Fields(QStringLiteral("UserID")).Value().ToInteger());
        users.MoveNext();
    }
    const int created = static_cast<int>(names.size()) - 1;
    std::printf("[figure] account creation: %d programs x %d accounts: %d created, %d unique numbers, "
                "%d programs failed\n",
                kPrograms, kAccountsEach, created, static_cast<int>(ids.size()) - 1,
                failedPrograms);
    EXPECT_EQ(failedPrograms, 0);
    EXPECT_EQ(created, kPrograms * kAccountsEach);
    EXPECT_EQ(ids.size(), names.size());
}
