#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "platform/db/Transaction.h"
#include "support/TempDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

int GroupCount(Connection& connection) {
    Recordset groups;
    groups.Open(Statements::S1(), connection);
    return groups.RecordCount();
}

class ConnectionOpen : public ::testing::Test {
protected:
    TempDatabase db;
};

} // namespace

TEST_F(ConnectionOpen, OpensTheProgramsConnectionStringEvenWithADoubledSeparator) {
    Connection connection;
    connection.Open(db.ConnectionString(), QString(), QString(), -1);
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_EQ(GroupCount(connection), 1);
    connection.Close();

    // A program folder at the root is reported with its separator: "/" then "\Main.mdb".
    const QString doubled = ConnectionString(db.Folder() + u'/');
    ASSERT_TRUE(doubled.contains(QLatin1String("/\\Main.mdb")));
    connection.Open(doubled);
    EXPECT_EQ(GroupCount(connection), 1);
    EXPECT_EQ(LocalDataSourcePath(QStringLiteral("/\\Main.mdb")), QStringLiteral("/Main.mdb"));
}

TEST_F(ConnectionOpen, AProgramFolderWithABackslashInItsNameOpensItsOwnFile) {
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("Tom\\s tools"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(db.FilePath(), folder + QStringLiteral("/Main.mdb")));
    Connection connection;
    connection.Open(ConnectionString(folder));
    EXPECT_EQ(GroupCount(connection), 1);
    EXPECT_EQ(LocalDataSourcePath(QStringLiteral("/a\\b/c\\Main.mdb")),
              QStringLiteral("/a\\b/c/Main.mdb"));
    EXPECT_EQ(LocalDataSourcePath(QStringLiteral("/a\\b/Main.mdb")),
              QStringLiteral("/a\\b/Main.mdb"));
}

// A folder name is the user's to choose: whatever it holds, it must reach the file system as
// it is and never change another value of the connection string.
TEST_F(ConnectionOpen, AFolderOfAnyNameOpensItsOwnFileWithTheProgramsKey) {
    QTemporaryDir place;
    for (const QString& name :
         {QStringLiteral("a;b"), QStringLiteral(";Jet OLEDB:Database Password=wrong"),
          QStringLiteral("back\\slash\\"), QStringLiteral("say \"hi\""), QStringLiteral("it's"),
          QStringLiteral(" spaced "), QStringLiteral("'quoted'")}) {
        const QString folder = place.filePath(name);
        ASSERT_TRUE(QDir().mkpath(folder)) << qPrintable(name);
        ASSERT_TRUE(QFile::copy(db.FilePath(), folder + QStringLiteral("/Main.mdb")));
        Connection connection;
        EXPECT_NO_THROW(connection.Open(ConnectionString(folder))) << qPrintable(name);
        EXPECT_EQ(connection.FilePath(), folder + QStringLiteral("/Main.mdb"));
        EXPECT_EQ(ParseConnectionString(ConnectionString(folder)).databasePassword,
                  QStringLiteral("tm4v8bxe"));
    }
    EXPECT_EQ(LocalDataSourcePath(QStringLiteral("/a\\b\\Main.mdb")),
              QStringLiteral("/a\\b/Main.mdb"));
}

TEST(ConnectionStrings, ParsingAJoinedStringGivesBackEveryValue) {
    const QStringList texts{QString(),
                            QStringLiteral(" "),
                            QStringLiteral("a;b"),
                            QStringLiteral(";Jet OLEDB:Database Password=x"),
                            QStringLiteral("\""),
                            QStringLiteral("'"),
                            QStringLiteral("\"a\""),
                            QStringLiteral("'a'"),
                            QStringLiteral(" lead"),
                            QStringLiteral("trail\t"),
                            QStringLiteral("a\"b'c;d"),
                            QStringLiteral("=x=y"),
                            QStringLiteral("\\\\server\\share\\"),
                            QString(1, QChar(0)),
                            QStringLiteral("\u00e9\U0001F511")};
    for (const QString& text : texts) {
        const ConnectionSettings settings{text, text + QStringLiteral(";x"), u'y' + text};
        const ConnectionSettings back = ParseConnectionString(JoinConnectionString(settings));
        EXPECT_EQ(back.provider, settings.provider) << qPrintable(text);
        EXPECT_EQ(back.dataSource, settings.dataSource) << qPrintable(text);
        EXPECT_EQ(back.databasePassword, settings.databasePassword) << qPrintable(text);
    }
}

TEST(ConnectionStrings, QuotesAreReadAsTheProviderReadsThemAndBrokenOnesRefused) {
    const ConnectionSettings settings = ParseConnectionString(
        QStringLiteral(" provider = 'Microsoft.Jet.OLEDB.4.0' ; junk; DATA SOURCE=\"a\"\"b;c\";"
                       "Jet OLEDB:Database Password= it's ;;"));
    EXPECT_EQ(settings.provider, QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    EXPECT_EQ(settings.dataSource, QStringLiteral("a\"b;c"));
    EXPECT_EQ(settings.databasePassword, QStringLiteral("it's"));
    for (const QString& broken :
         {QStringLiteral("Data Source=\"abc"), QStringLiteral("Data Source='a'b;Provider=x"),
          QStringLiteral("Data Source=\"a\"\"")})
        EXPECT_EQ(CatchDbError([&] { ParseConnectionString(broken); }).Number(),
                  DbErrorNumber::BadConnectionString)
            << qPrintable(broken);
}

TEST_F(ConnectionOpen, MissingFileIsNamedAndNeverCreated) {
    QTemporaryDir empty;
    const QString path = empty.filePath(QStringLiteral("Main.mdb"));
    Connection connection;
    const DbError error = CatchDbError([&] { connection.Open(ConnectionString(empty.path())); });
    EXPECT_EQ(error.Number(), DbErrorNumber::ProviderFailure);
    EXPECT_EQ(error.Description(), QStringLiteral("Could not find file '%1'.").arg(path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(connection.IsOpen());
}

TEST_F(ConnectionOpen, WrongKeyRandomBytesAndEmptyFilesFailAndStayUntouched) {
    const QByteArray before = Bytes(db.FilePath());
    Connection connection;
    QString wrongKey = db.ConnectionString();
    wrongKey.replace(QLatin1String("tm4v8bxe"), QLatin1String("tm4v8bxE"));
    DbError error = CatchDbError([&] { connection.Open(wrongKey); });
    EXPECT_EQ(error.Number(), DbErrorNumber::InvalidPassword);
    EXPECT_EQ(
        error.Description(),
        QStringLiteral("Not a valid password, or '%1' is not a database.").arg(db.FilePath()));
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(Bytes(db.FilePath()), before);

    QByteArray noise(16384, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& byte : noise)
        byte = static_cast<char>(generator.bounded(256));
    Write(db.FilePath(), noise);
    error = CatchDbError([&] { connection.Open(db.ConnectionString()); });
    EXPECT_EQ(error.Number(), DbErrorNumber::InvalidPassword);
    EXPECT_EQ(Bytes(db.FilePath()), noise);

    Write(db.FilePath(), QByteArray());
    error = CatchDbError([&] { connection.Open(db.ConnectionString()); });
    EXPECT_EQ(error.Description(),
              QStringLiteral("Unrecognized database format '%1'.").arg(db.FilePath()));
    EXPECT_EQ(QFile(db.FilePath()).size(), 0);
}

TEST_F(ConnectionOpen, FileCannotBeReadWithoutTheKey) {
    const QByteArray bytes = Bytes(db.FilePath());
    EXPECT_FALSE(bytes.startsWith("SQLite format 3"));
    EXPECT_FALSE(bytes.contains("General"));
    EXPECT_FALSE(bytes.contains("tblUsers"));

    sqlite3* plain = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(db.FilePath()).constData(), &plain,
                              SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(plain, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr),
              SQLITE_NOTADB);
    sqlite3_close(plain);

    Connection connection;
    QString noKey = db.ConnectionString();
    noKey.truncate(noKey.indexOf(QLatin1String(";Jet OLEDB")));
    EXPECT_EQ(CatchDbError([&] { connection.Open(noKey); }).Number(),
              DbErrorNumber::InvalidPassword);
}

TEST_F(ConnectionOpen, StateErrorsCarryTheComponentsNumbers) {
    Connection connection;
    EXPECT_EQ(CatchDbError([&] { connection.Execute(Statements::S6(1)); }).Number(),
              DbErrorNumber::ObjectClosed);
    connection.Open(db.ConnectionString());
    EXPECT_EQ(CatchDbError([&] { connection.Open(db.ConnectionString()); }).Number(),
              DbErrorNumber::ObjectOpen);
    Connection other;
    EXPECT_EQ(CatchDbError([&] {
                  other.Open(QStringLiteral("Provider=Other.Provider;Data Source=") +
                             db.FilePath());
              }).Number(),
              DbErrorNumber::ProviderNotFound);
}

namespace {

class ConnectionExecute : public ::testing::Test {
protected:
    void SetUp() override { connection.Open(db.ConnectionString()); }
    TempDatabase db;
    Connection connection;
};

} // namespace

TEST_F(ConnectionExecute, EngineFailuresBecomeDbErrorsWithTheEnginesText) {
    DbError error = CatchDbError([&] { connection.Execute(QStringLiteral("SELEC * FROM x")); });
    EXPECT_EQ(error.Number(), DbErrorNumber::SyntaxError);
    EXPECT_TRUE(error.Description().contains(QLatin1String("syntax error")));
    EXPECT_EQ(error.EngineCode(), SQLITE_ERROR);

    error = CatchDbError([&] { connection.Execute(QStringLiteral("DELETE FROM [tblNothing]")); });
    EXPECT_EQ(error.Number(), DbErrorNumber::ProviderFailure);
    EXPECT_EQ(error.Description(), QStringLiteral("no such table: tblNothing"));

    error = CatchDbError([&] { connection.Execute(Statements::S12(1, "again", "x")); });
    EXPECT_EQ(error.Number(), DbErrorNumber::ProviderFailure);
    EXPECT_EQ(error.EngineCode() & 0xff, SQLITE_CONSTRAINT);
}

TEST_F(ConnectionExecute, RunsOneStatementAndRefusesWhatFollowsIt) {
    const DbError error = CatchDbError([&] {
        connection.Execute(QStringLiteral("UPDATE [tblGroups] SET GroupName='x'; DELETE FROM "
                                          "[tblGroups]"));
    });
    EXPECT_EQ(error.Description(), QStringLiteral("Characters found after end of SQL statement."));
    EXPECT_EQ(GroupCount(connection), 1);
    EXPECT_NO_THROW(connection.Execute(QStringLiteral("UPDATE [tblGroups] SET GroupName='x';  ")));

    EXPECT_EQ(CatchDbError([&] {
                  connection.Execute(QStringLiteral("UPDATE [tblGroups] SET GroupName=?"));
              }).Number(),
              DbErrorNumber::MissingParameter);
    EXPECT_EQ(CatchDbError([&] {
                  connection.Execute(QStringLiteral("UPDATE [tblGroups] SET GroupName=?"),
                                     {QStringLiteral("a"), QStringLiteral("b")});
              }).Number(),
              DbErrorNumber::BadArguments);
}

TEST_F(ConnectionExecute, TransactionRollsBackUnlessCommitted) {
    {
        Transaction transaction(connection);
        EXPECT_TRUE(connection.InTransaction());
        connection.Execute(Statements::S7(QStringLiteral("1"), QStringLiteral("dropped")));
    }
    EXPECT_FALSE(connection.InTransaction());
    EXPECT_EQ(GroupCount(connection), 1);
    {
        Transaction transaction(connection);
        connection.Execute(Statements::S7(QStringLiteral("1"), QStringLiteral("kept")));
        transaction.Commit();
    }
    EXPECT_EQ(GroupCount(connection), 2);
}

TEST_F(ConnectionExecute, WaitsForAnotherWriterInsteadOfFailing) {
    Connection other;
    other.Open(db.ConnectionString());
    std::atomic<bool> locked = false;
    std::thread writer([&] {
        Transaction transaction(other);
        other.Execute(Statements::S7(QStringLiteral("1"), QStringLiteral("first")));
        locked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        transaction.Commit();
    });
    while (!locked)
        std::this_thread::yield();
    QElapsedTimer timer;
    timer.start();
    EXPECT_NO_THROW(
        connection.Execute(Statements::S7(QStringLiteral("1"), QStringLiteral("second"))));
    EXPECT_GE(timer.elapsed(), 250);
    writer.join();
    EXPECT_EQ(GroupCount(connection), 3);
}

namespace {

const char* const kReadOnlyFolderVariable = "PELMORAN_TEST_READ_ONLY_FOLDER";

// What the program shows for a folder it may not write to that holds an interrupted change.
void ExpectTheFolderToBeNamed(const QString& folder) {
    Connection connection;
    const DbError error = CatchDbError([&] { connection.Open(ConnectionString(folder)); });
    EXPECT_EQ(error.Number(), DbErrorNumber::ProviderFailure);
    EXPECT_TRUE(error.Description().contains(
        QStringLiteral("the folder of Main.mdb ('%1') must be writable").arg(folder)))
        << qPrintable(error.Description());
    EXPECT_FALSE(connection.IsOpen());
}

// Runs the disabled test `name` of this program again as nobody, outside every group (root
// passes every permission check), with `value` in the environment variable `variable`.
void RunAsNobody(const char* name, const char* variable, const QString& value) {
    constexpr uid_t kNobody = 65534;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(variable), value);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=%1").arg(kNobody),
                 QStringLiteral("--regid=%1").arg(kNobody), QStringLiteral("--clear-groups"),
                 QCoreApplication::applicationFilePath(),
                 QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=*%1").arg(QLatin1String(name)),
                 QStringLiteral("--gtest_brief=1")});
    ASSERT_TRUE(child.waitForFinished(60000)) << "setpriv could not run the check";
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
}

} // namespace

// Run by the test below as an unprivileged user, when the tests run as root (to whom every
// folder is writable).
TEST(ConnectionInterruptedChange, DISABLED_ReadOnlyFolderAsAnotherUser) {
    ExpectTheFolderToBeNamed(qEnvironmentVariable(kReadOnlyFolderVariable));
}

TEST(ConnectionInterruptedChange, AReadOnlyFolderIsNamedAndTheChangeUndoneOnceWritable) {
    TempDatabase db;
    QTemporaryDir place;
    const QString folder = place.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkdir(folder));
    {
        // A copy taken in the middle of a change is what a crash leaves: the file and a journal
        // that must be played back. Unsynchronised, the journal is complete at once.
        Connection connection;
        connection.Open(db.ConnectionString());
        connection.Execute(QStringLiteral("PRAGMA synchronous = OFF"));
        Transaction transaction(connection);
        connection.Execute(Statements::S7(QStringLiteral("1"), QStringLiteral("interrupted")));
        connection.Execute(QStringLiteral("DELETE FROM [tblUsers]"));
        for (const QString& name : {QStringLiteral("Main.mdb"), QStringLiteral("Main.mdb-journal")})
            ASSERT_TRUE(QFile::copy(db.Folder() + u'/' + name, folder + u'/' + name));
    }
    const QByteArray folderPath = QFile::encodeName(folder);
    ASSERT_EQ(::chmod(folderPath.constData(), 0555), 0);

    if (::geteuid() != 0) {
        ExpectTheFolderToBeNamed(folder);
    } else {
        constexpr uid_t kNobody = 65534;
        ASSERT_EQ(::chmod(QFile::encodeName(place.path()).constData(), 0755), 0);
        for (const QString& path : {folder, folder + QStringLiteral("/Main.mdb"),
                                    folder + QStringLiteral("/Main.mdb-journal")})
            ASSERT_EQ(::chown(QFile::encodeName(path).constData(), kNobody, kNobody), 0);
        RunAsNobody("DISABLED_ReadOnlyFolderAsAnotherUser", kReadOnlyFolderVariable, folder);
    }
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Main.mdb-journal")))
        << "the interrupted change must stay undoable";

    ASSERT_EQ(::chmod(folderPath.constData(), 0755), 0);
    Connection connection;
    connection.Open(ConnectionString(folder));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/Main.mdb-journal")));
    EXPECT_EQ(GroupCount(connection), 1) << "the interrupted change is undone";
    Recordset users;
    users.Open(Statements::S9(), connection);
    EXPECT_EQ(users.RecordCount(), 1);
}

namespace {

const char* const kClosedFolderVariable = "PELMORAN_TEST_CLOSED_FOLDER";

// The program's folder holds a link to the shared file, whose folder `shared` is closed to
// this user: the message names that file and the missing permission, not a missing file.
void ExpectTheRefusalToBeNamed(const QString& shared) {
    Connection connection;
    const QString program = QFileInfo(shared).dir().filePath(QStringLiteral("program"));
    const DbError error = CatchDbError([&] { connection.Open(ConnectionString(program)); });
    EXPECT_EQ(error.Description().toStdString(),
              QStringLiteral("Could not open file '%1/Main.mdb': you have no permission to use it.")
                  .arg(shared)
                  .toStdString());
    EXPECT_FALSE(connection.IsOpen());
}

} // namespace

TEST(ConnectionRefused, DISABLED_ClosedFolderAsAnotherUser) {
    ExpectTheRefusalToBeNamed(qEnvironmentVariable(kClosedFolderVariable));
}

TEST(ConnectionRefused, AFileInAFolderClosedToTheUserIsNamedThroughItsLink) {
    TempDatabase db;
    QTemporaryDir place;
    const QString shared = place.filePath(QStringLiteral("shared"));
    const QString program = place.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkdir(shared) && QDir().mkdir(program));
    ASSERT_TRUE(QFile::copy(db.Folder() + QStringLiteral("/Main.mdb"),
                            shared + QStringLiteral("/Main.mdb")));
    ASSERT_TRUE(
        QFile::link(QStringLiteral("../shared/Main.mdb"), program + QStringLiteral("/Main.mdb")));
    ASSERT_EQ(::chmod(QFile::encodeName(place.path()).constData(), 0755), 0);
    const QByteArray sharedPath = QFile::encodeName(shared);
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(sharedPath.constData(), 0), 0);
        ExpectTheRefusalToBeNamed(shared);
    } else {
        ASSERT_EQ(::chmod(sharedPath.constData(), 0770), 0);
        RunAsNobody("DISABLED_ClosedFolderAsAnotherUser", kClosedFolderVariable, shared);
    }
    ASSERT_EQ(::chmod(sharedPath.constData(), 0755), 0);
    Connection connection;
    connection.Open(ConnectionString(program));
    EXPECT_TRUE(connection.IsOpen()) << "through the link, once the folder is open";
}
