#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/Transaction.h"
#include "support/TempDatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr int kRowsPerWriter = 200;

// Adds accounts the way account creation does: the highest number read and the insert under
// one write lock, so that two programs never pick the same number.
int AddAccounts(const QString& folder, const QString& writer) {
    try {
        Connection connection;
        connection.Open(ConnectionString(folder));
        for (int i = 0; i < kRowsPerWriter; ++i) {
            Transaction transaction(connection);
            Recordset highest;
            highest.Open(Statements::S11(), connection);
            const int next = static_cast<int>(highest.Fields("MAXUSERID").Value().ToInteger()) + 1;
            connection.Execute(
                Statements::S12(next, writer + u'-' + QString::number(i), QStringLiteral("h")));
            transaction.Commit();
        }
        return 0;
    } catch (const RuntimeError& error) {
        std::fprintf(stderr, "writer %s: %s\n", qPrintable(writer), error.what());
        return 1;
    }
}

// This test program doubles as the second writer: started with these variables set, it writes
// and exits before any test runs.
const int kWriterMode = [] {
    const QByteArray folder = qgetenv("PELMORAN_TEST_WRITER_FOLDER");
    if (folder.isEmpty())
        return 0;
    std::exit(AddAccounts(QString::fromLocal8Bit(folder),
                          QString::fromLocal8Bit(qgetenv("PELMORAN_TEST_WRITER_NAME"))));
}();

} // namespace

TEST(DbConcurrency, TwoProgramsAddingAccountsTogetherLoseNone) {
    TempDatabase db;
    QList<QProcess*> writers;
    for (const char* name : {"left", "right"}) {
        auto* process = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PELMORAN_TEST_WRITER_FOLDER"), db.Folder());
        environment.insert(QStringLiteral("PELMORAN_TEST_WRITER_NAME"), QString::fromLatin1(name));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationFilePath(), {});
        writers.append(process);
    }
    for (QProcess* process : writers) {
        ASSERT_TRUE(process->waitForFinished(120000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0);
        delete process;
    }

    Connection connection;
    connection.Open(db.ConnectionString());
    Recordset users;
    users.Open(Statements::S9(), connection);
    ASSERT_EQ(users.RecordCount(), 1 + 2 * kRowsPerWriter);
    QSet<QString> names;
    QSet<qint64> ids;
    users.MoveFirst();
    while (!users.Eof()) {
        names.insert(users.Fields("username").Value().ToString());
        ids.insert(users.Fields("UserID").Value().ToInteger());
        users.MoveNext();
    }
    EXPECT_EQ(names.size(), 1 + 2 * kRowsPerWriter);
    EXPECT_TRUE(names.contains(QStringLiteral("left-199")));
    EXPECT_TRUE(names.contains(QStringLiteral("right-199")));
    EXPECT_EQ(ids.size(), 1 + 2 * kRowsPerWriter);
}
