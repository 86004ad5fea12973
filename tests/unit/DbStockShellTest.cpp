// The file format is the engine's own: the stock sqlcipher shell, a separate process given the
// key alone, reads every row the program writes, and the program reads what the shell writes.
#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/PasswordHash.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Runs `script` in the stock shell on `file`, after the key; the lines it prints.
QStringList Shell(const QString& file, const QString& script) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (program.isEmpty()) {
        ADD_FAILURE() << "the sqlcipher shell is not installed (scripts/install-deps installs it)";
        return {};
    }
    QProcess shell;
    shell.start(program, {QStringLiteral("-batch"), file});
    shell.write(QStringLiteral("PRAGMA key = '%1';\n%2\n").arg(kDatabasePassword, script).toUtf8());
    shell.closeWriteChannel();
    EXPECT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    return QString::fromUtf8(shell.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// Every row of the three tables, each cell as hex text so that quotes, line breaks and any
// character compare exactly, one line a row.
const char* const kEveryRow[] = {
    "SELECT UserID || '|' || hex(username) || '|' || hex(Password) FROM tblUsers ORDER BY UserID",
    "SELECT GroupID || '|' || UserID || '|' || hex(GroupName) FROM tblGroups ORDER BY GroupID",
    "SELECT TaskID || '|' || UserID || '|' || GroupID || '|' || hex(TaskName) || '|' || "
    "hex(TaskDescription) || '|' || hex(DueDate) || '|' || Priority || '|' || MarkAsDone AS r "
    "FROM tblTasks ORDER BY TaskID",
};

QStringList LayerRows(Connection& connection, const QString& query) {
    Recordset rows;
    rows.Open(query, connection);
    QStringList lines;
    if (rows.RecordCount() == 0)
        return lines;
    for (rows.MoveFirst(); !rows.Eof(); rows.MoveNext())
        lines << rows.Fields(0).Value().ToString();
    return lines;
}

QString LongText(int n) {
    return QStringLiteral("Line %1 of a long description, 'quoted' \"twice\", ü € 😀\n")
        .arg(n)
        .repeated(40);
}

} // namespace

TEST(StockShell, ReadsEveryRowTheProgramWritesAndTheProgramReadsTheShells) {
    TempDatabase db;
    {
        Connection connection;
        connection.Open(db.ConnectionString());
        // Enough groups and long descriptions for many pages of each table.
        for (int g = 0; g < 300; ++g)
            connection.Execute(
                Statements::S7(QStringLiteral("1"), QStringLiteral("Group %1").arg(g)));
        for (int t = 0; t < 120; ++t)
            connection.Execute(Statements::S8(
                QStringLiteral("1"), 2 + t % 5, QStringLiteral("Todo %1 'x'").arg(t), LongText(t),
                QStringLiteral("0%1 Feb 2027").arg(1 + t % 9), 1 + t % 3));
        connection.Execute(Statements::S12(2, QStringLiteral("second"),
                                           PasswordHash::Hash(QStringLiteral("first pass"))));
        connection.Execute(
            Statements::S14(PasswordHash::Hash(QStringLiteral("changed")), QStringLiteral("2")));
        connection.Execute(Statements::S5(3));
        connection.Execute(Statements::S6(1));

        const QStringList check = Shell(db.FilePath(), QStringLiteral("PRAGMA integrity_check;"));
        EXPECT_EQ(check, QStringList{QStringLiteral("ok")});
        for (const char* query : kEveryRow) {
            const QStringList ours = LayerRows(connection, QString::fromLatin1(query));
            EXPECT_EQ(Shell(db.FilePath(), QString::fromLatin1(query) + u';'), ours) << query;
            EXPECT_GT(ours.size(), 1) << query;
        }
        // The removed group took its to-dos with it, as both readers agree above.
        EXPECT_TRUE(LayerRows(connection, QStringLiteral("SELECT TaskID FROM tblTasks WHERE "
                                                         "GroupID = 3"))
                        .isEmpty());
    }
    // The file is ciphered: nothing of it reads as a plain database.
    QFile file(db.FilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.read(16).startsWith("SQLite format 3"));
    file.close();

    Shell(
        db.FilePath(),
        QStringLiteral("INSERT INTO tblGroups (UserID, GroupName) VALUES (1, 'Shell ''group'' ü');"
                       "INSERT INTO tblTasks (UserID, GroupID, TaskName, TaskDescription, "
                       "DueDate, Priority, MarkAsDone) VALUES (1, last_insert_rowid(), "
                       "'From the shell', '%1', '2027-01-31', 3, 0);")
            .arg(LongText(7).replace(u'\'', QLatin1String("''"))));
    Connection connection;
    connection.Open(db.ConnectionString());
    Recordset groups;
    groups.Open(Statements::S1(), connection);
    groups.Find(Statements::F1(QStringLiteral("Shell 'group' ü")));
    ASSERT_FALSE(groups.Eof());
    Recordset tasks;
    tasks.Open(Statements::S2(
                   QStringLiteral("1"),
                   static_cast<int>(groups.Fields(QStringLiteral("GroupID")).Value().ToInteger())),
               connection);
    ASSERT_EQ(tasks.RecordCount(), 1);
    tasks.MoveFirst();
    EXPECT_EQ(tasks.Fields(QStringLiteral("TaskName")).Value().ToString(), "From the shell");
    EXPECT_EQ(tasks.Fields(QStringLiteral("TaskDescription")).Value().ToString(), LongText(7));
    EXPECT_EQ(tasks.Fields(QStringLiteral("DueDate")).Value().ToDate(), QDate(2027, 1, 31));
    EXPECT_EQ(tasks.Fields(QStringLiteral("Priority")).Value().ToInteger(), 3);
}
