#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kDiskBytes = 96 * 1024;

int Count(Connection& connection) {
    Recordset tasks;
    tasks.Open(Statements::S2(QStringLiteral("1"), 1), connection);
    return tasks.RecordCount();
}

bool IntegrityHolds(Connection& connection) {
    Recordset check;
    check.Open(QStringLiteral("PRAGMA integrity_check"), connection);
    check.MoveFirst();
    return check.Fields(0).Value().ToString() == u"ok";
}

// Adds to-dos with long descriptions until the store refuses one; the refusal it gave.
DbError FillUp(Connection& connection, int& saved) {
    for (saved = 0; saved < 100000; ++saved) {
        try {
            connection.Execute(Statements::S8(QStringLiteral("1"), 1, QString::number(saved),
                                              QString(2000, u'x'), QStringLiteral("01 Feb 2025"),
                                              0));
        } catch (const DbError& error) {
            return error;
        }
    }
    return DbError(0, QStringLiteral("the disk never filled"));
}

// Runs a system command quietly; true when it succeeded.
bool RunCommand(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

// A disk that fills up, then one that turns read-only: each refusal says why, and every to-do
// saved before it is still there, in a sound file. A small tmpfs where the machine lets the
// test mount one; a file-size limit otherwise.
TEST(FullDisk, AFullOrReadOnlyDiskIsNamedAndKeepsEverySavedTodo) {
    TempDatabase db;
    QTemporaryDir place;
    const QString folder = place.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const bool mounted =
        RunCommand(QStringLiteral("mount"),
                   {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                    QStringLiteral("size=%1").arg(kDiskBytes), QStringLiteral("tmpfs"), folder});
    const auto unmount = qScopeGuard([&] {
        if (mounted)
            RunCommand(QStringLiteral("umount"), {folder});
    });
    ASSERT_TRUE(QFile::copy(db.FilePath(), folder + QStringLiteral("/Main.mdb")));

    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    if (!mounted) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{static_cast<rlim_t>(kDiskBytes), previous.rlim_max};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    int saved = 0;
    DbError full(0, QString());
    {
        Connection connection;
        connection.Open(ConnectionString(folder));
        full = FillUp(connection, saved);
    }
    ::setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_GT(saved, 0);
    EXPECT_TRUE(full.Description().startsWith(QLatin1String("There is not enough space")))
        << qPrintable(full.Description());

    Connection connection;
    connection.Open(ConnectionString(folder));
    const int keptAfterFull = Count(connection);
    EXPECT_EQ(keptAfterFull, saved);
    EXPECT_TRUE(IntegrityHolds(connection));
    connection.Close();

    // Read-only: a remounted disk, or a file without write permission for a user who is not
    // root (to whom every file is writable).
    QString readOnlyFigure = QStringLiteral("not tried (root without mounting rights)");
    bool readOnly = false;
    if (mounted)
        readOnly = RunCommand(QStringLiteral("mount"),
                              {QStringLiteral("-o"), QStringLiteral("remount,ro"), folder});
    else if (::geteuid() != 0)
        readOnly =
            ::chmod(QFile::encodeName(folder + QStringLiteral("/Main.mdb")).constData(), 0444) == 0;
    if (readOnly) {
        connection.Open(ConnectionString(folder));
        int added = 0;
        const DbError refused = FillUp(connection, added);
        EXPECT_EQ(added, 0);
        EXPECT_EQ(refused.Description(),
                  QStringLiteral("Cannot update. Database or object is read-only."));
        EXPECT_EQ(Count(connection), saved);
        readOnlyFigure =
            QStringLiteral("refused with a message, %1 rows intact").arg(Count(connection));
    }
    std::printf("[figure] full disk (%s): %d to-dos saved, refused with a message, %d intact, "
                "integrity ok; read-only: %s\n",
                mounted ? "tmpfs" : "file-size limit", saved, keptAfterFull,
                qPrintable(readOnlyFigure));
}
