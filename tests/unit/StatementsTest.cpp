#include "app/Statements.h"
#include "app/InstalledDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/PasswordHash.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kUser = QStringLiteral("1");

class StatementsTest : public ::testing::Test {
protected:
    void SetUp() override { connection.Open(db.ConnectionString()); }

    Recordset Query(const Statement& statement) {
        Recordset records;
        records.Open(statement, connection);
        return records;
    }
    int Count(const char* table) {
        return Query({QStringLiteral("SELECT * FROM ") + QLatin1String(table), {}}).RecordCount();
    }
    void AddTask(const QString& user, int group, const QString& name) {
        connection.Execute(Statements::S8(user, group, name, QStringLiteral("d"),
                                          QStringLiteral("01 Feb 2025"), 1));
    }

    TempDatabase db;
    Connection connection;
};

} // namespace

TEST(StatementTexts, KeepTheCatalogueTextsWithTextValuesBound) {
    EXPECT_EQ(Statements::S11().text,
              QStringLiteral("SELECT MAX(UserID) AS MAXUSERID FROM [tblUsers] "));
    const Statement s12 = Statements::S12(7, QStringLiteral("bob"), QStringLiteral("h"));
    EXPECT_EQ(s12.text, QStringLiteral("INSERT INTO [tblUsers] VALUES(7,?,?)"));
    EXPECT_EQ(s12.values, (QVariantList{QStringLiteral("bob"), QStringLiteral("h")}));
    EXPECT_EQ(Statements::S7(QStringLiteral("12"), QStringLiteral("n")).text,
              QStringLiteral("INSERT INTO [tblGroups](UserID,GroupName) VALUES(12,?)"));
    const Statement s8 = Statements::S8(QStringLiteral("3"), 2, QStringLiteral("n"),
                                        QStringLiteral("d"), QStringLiteral("05 Mar 2024"), 1);
    EXPECT_EQ(s8.text, QStringLiteral("INSERT INTO [tblTasks](userID,groupID,TaskName,"
                                      "TaskDescription,DueDate,Priority) VALUES(3,2,?,?,?,1)"));
    EXPECT_EQ(s8.values.size(), 3);
    EXPECT_EQ(Statements::S3(QStringLiteral("3"), QStringLiteral("14")).text,
              QStringLiteral("SELECT * FROM [tblTasks] WHERE [MarkAsDone]=FALSE AND [userid]=3 "
                             "AND [GroupID]=14"));
    EXPECT_EQ(Statements::S14(QStringLiteral("h"), QStringLiteral("3")).text,
              QStringLiteral("UPDATE [tblusers] SET [password] = ? WHERE [userid]=3"));
    EXPECT_EQ(Statements::F1(QStringLiteral("a'b")).values, QVariantList{QStringLiteral("a'b")});
    EXPECT_EQ(ConnectionString(QStringLiteral("/opt/pelmoran")),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/pelmoran\\Main.mdb;"
                             "Jet OLEDB:Database Password=tm4v8bxe"));
}

TEST(StatementTexts, RefuseIdTextsThatAreNoNumber) {
    for (const QString& id : {QStringLiteral("1 OR 1=1"), QStringLiteral(""), QStringLiteral(" 1"),
                              QStringLiteral("No todo found.")})
        EXPECT_EQ(CatchDbError([&] { Statements::S3(QStringLiteral("1"), id); }).Number(),
                  DbErrorNumber::SyntaxError)
            << id.toStdString();
    EXPECT_THROW(Statements::S13(QStringLiteral("1;")), DbError);
    EXPECT_NO_THROW(Statements::S2(QStringLiteral("1"), QStringLiteral("-3")));
}

TEST_F(StatementsTest, InstalledDatabaseHoldsTheDefaultGroupAndAccount) {
    Recordset groups = Query(Statements::S1());
    ASSERT_EQ(groups.RecordCount(), 1);
    EXPECT_EQ(groups.Fields("GroupID").Value().ToInteger(), 1);
    EXPECT_EQ(groups.Fields("UserID").Value().ToInteger(), 1);
    EXPECT_EQ(groups.Fields("GroupName").Value().ToString(), QStringLiteral("General"));

    Recordset users = Query(Statements::S9());
    ASSERT_EQ(users.RecordCount(), 1);
    EXPECT_EQ(users.Fields("UserID").Value().ToInteger(), 1);
    EXPECT_EQ(users.Fields("username").Value().ToString(),
              QString::fromLatin1(InstalledDatabase::kDefaultAccount));
    const QString stored = users.Fields("Password").Value().ToString();
    EXPECT_NE(stored, QStringLiteral("admin"));
    EXPECT_TRUE(PasswordHash::Verify(stored, QStringLiteral("admin")));
    EXPECT_FALSE(PasswordHash::Verify(stored, QStringLiteral("Admin")));
}

TEST_F(StatementsTest, NewTodoIsOpenUntilMarkedDone) {
    AddTask(kUser, 1, QStringLiteral("Buy milk"));
    AddTask(QStringLiteral("2"), 1, QStringLiteral("Someone else's"));
    connection.Execute(Statements::S7(kUser, QStringLiteral("Work")));
    AddTask(kUser, 2, QStringLiteral("Report"));

    for (const Statement& open : {Statements::S2(kUser, 1), Statements::S3(kUser, "1")}) {
        Recordset tasks = Query(open);
        ASSERT_EQ(tasks.RecordCount(), 1);
        EXPECT_EQ(tasks.Fields("taskname").Value().ToString(), QStringLiteral("Buy milk"));
        EXPECT_EQ(tasks.Fields("MarkAsDone").Value(), Variant(false));
        EXPECT_EQ(tasks.Fields("Priority").Value().ToInteger(), 1);
        EXPECT_EQ(tasks.Fields("TaskID").Value().ToInteger(), 1);
    }
    EXPECT_EQ(Query(Statements::S4(kUser, 1)).RecordCount(), 1);
    EXPECT_EQ(Query(Statements::S4(kUser, 2)).RecordCount(), 0);

    connection.Execute(Statements::S6(1));
    EXPECT_EQ(Query(Statements::S2(kUser, 1)).RecordCount(), 0);
    EXPECT_EQ(Query(Statements::S3(kUser, "2")).RecordCount(), 1);
    EXPECT_EQ(Query(Statements::S4(kUser, 1)).Fields("MarkAsDone").Value(), Variant(true));
}

TEST_F(StatementsTest, RemovingAGroupRemovesItsTodos) {
    connection.Execute(Statements::S7(kUser, QStringLiteral("Work")));
    AddTask(kUser, 2, QStringLiteral("a"));
    AddTask(QStringLiteral("2"), 2, QStringLiteral("b"));
    AddTask(kUser, 1, QStringLiteral("c"));
    connection.Execute(Statements::S5(2));
    EXPECT_EQ(Count("tblGroups"), 1);
    Recordset left = Query({QStringLiteral("SELECT * FROM tblTasks"), {}});
    ASSERT_EQ(left.RecordCount(), 1);
    EXPECT_EQ(left.Fields("TaskName").Value().ToString(), QStringLiteral("c"));
    // A to-do cannot point at a group that does not exist.
    EXPECT_THROW(AddTask(kUser, 2, QStringLiteral("orphan")), DbError);
}

TEST_F(StatementsTest, GroupsAreAddedAndFoundByName) {
    Recordset before = Query(Statements::S1());
    before.Find(Statements::F1(QStringLiteral("Pat's list")));
    EXPECT_TRUE(before.Eof());
    connection.Execute(Statements::S7(QStringLiteral("4"), QStringLiteral("Pat's list")));
    Recordset after = Query(Statements::S1());
    after.Find(Statements::F1(QStringLiteral("Pat's list")));
    ASSERT_FALSE(after.Eof());
    EXPECT_EQ(after.Fields("GroupID").Value().ToInteger(), 2);
    EXPECT_EQ(after.Fields("UserID").Value().ToInteger(), 4);
}

TEST_F(StatementsTest, AccountsAreNumberedCreatedAndChanged) {
    const qint64 next = Query(Statements::S11()).Fields("MAXUSERID").Value().ToInteger() + 1;
    EXPECT_EQ(next, 2);
    connection.Execute(Statements::S12(static_cast<int>(next), QStringLiteral("Bob"),
                                       PasswordHash::Hash(QStringLiteral("pw"))));
    for (const Statement& all : {Statements::S9(), Statements::S10()}) {
        Recordset users = Query(all);
        ASSERT_EQ(users.RecordCount(), 2);
        users.MoveFirst();
        users.MoveNext();
        EXPECT_EQ(users.Fields("username").Value().ToString(), QStringLiteral("Bob"));
        EXPECT_TRUE(PasswordHash::Verify(users.Fields("password").Value().ToString(), "pw"));
    }
    EXPECT_EQ(Query(Statements::S11()).Fields("MAXUSERID").Value().ToInteger(), 2);

    Recordset mine = Query(Statements::S13(QStringLiteral("2")));
    ASSERT_EQ(mine.RecordCount(), 1);
    EXPECT_EQ(mine.Fields("UserID").Value().ToInteger(), 2);
    connection.Execute(
        Statements::S14(PasswordHash::Hash(QStringLiteral("new one")), QStringLiteral("2")));
    const QString changed = Query(Statements::S13("2")).Fields("Password").Value().ToString();
    EXPECT_TRUE(PasswordHash::Verify(changed, QStringLiteral("new one")));
    EXPECT_FALSE(PasswordHash::Verify(changed, QStringLiteral("pw")));
    const QString admin = Query(Statements::S13(kUser)).Fields("Password").Value().ToString();
    EXPECT_TRUE(PasswordHash::Verify(admin, QStringLiteral("admin")));
}

TEST_F(StatementsTest, AccountsOutsideTheTableLimitsAreRefused) {
    EXPECT_THROW(connection.Execute(Statements::S12(32768, "big", "h")), DbError);
    EXPECT_THROW(connection.Execute(Statements::S12(2, QString(51, u'x'), "h")), DbError);
    EXPECT_THROW(connection.Execute(Statements::S12(1, "twin", "h")), DbError);
    EXPECT_NO_THROW(connection.Execute(Statements::S12(32767, QString(50, u'\u00e9'), "h")));
    EXPECT_EQ(Count("tblUsers"), 2);
}

TEST(InstalledDatabaseCreate, RefusesAnExistingFileAndLeavesNoPartialFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Main.mdb"));
    {
        QFile existing(path);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("keep me");
    }
    const DbError error = CatchDbError([&] { InstalledDatabase::Create(path); });
    EXPECT_EQ(error.Description(), QStringLiteral("The file '%1' already exists.").arg(path));
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    kept.close();

    EXPECT_THROW(InstalledDatabase::Create(dir.filePath(QStringLiteral("missing/Main.mdb"))),
                 DbError);
    QFile::remove(path);
    InstalledDatabase::Create(path);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Main.mdb")});
}

namespace {

void WriteFile(const QString& path, const QByteArray& bytes, QFile::Permissions permissions) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ASSERT_TRUE(file.setPermissions(permissions));
}

} // namespace

// A run killed before it finished leaves its temporary and journal; the next run removes them
// and nothing else: not a complete Main.mdb, not a running maker's files, not a user's files.
TEST(InstalledDatabaseCreate, RemovesWhatAKilledRunLeftAndNothingElse) {
    QTemporaryDir dir;
    const QDir folder(dir.path());
    const QString path = folder.filePath(QStringLiteral("Main.mdb"));
    const auto owner = QFile::ReadOwner | QFile::WriteOwner;
    WriteFile(path, "complete", owner | QFile::ReadGroup | QFile::ReadOther);
    const QStringList leftovers{QStringLiteral(".Main.mdb.Ab12Cd"),
                                QStringLiteral(".Main.mdb.Ab12Cd-journal"),
                                QStringLiteral(".Main.mdb.Zz99Yy-journal")};
    for (const QString& name : leftovers)
        WriteFile(folder.filePath(name), "partial", owner);
    const QStringList kept{QStringLiteral(".Main.mdb.Held00"),
                           QStringLiteral(".Main.mdb.Held00-journal"),
                           QStringLiteral(".Main.mdb.backup1"), QStringLiteral(".Main.mdb.shared"),
                           QStringLiteral(".Other.mdb.Ab12Cd")};
    for (const QString& name : kept)
        WriteFile(folder.filePath(name), "other", owner);
    ASSERT_TRUE(QFile::setPermissions(folder.filePath(QStringLiteral(".Main.mdb.shared")),
                                      owner | QFile::ReadOther));
    // A run still going holds a lock on its temporary.
    const int held = ::open(QFile::encodeName(folder.filePath(kept[0])).constData(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    EXPECT_THROW(InstalledDatabase::Create(path), DbError);
    QStringList expected = kept;
    expected << QStringLiteral("Main.mdb");
    expected.sort();
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QFile complete(path);
    ASSERT_TRUE(complete.open(QIODevice::ReadOnly));
    EXPECT_EQ(complete.readAll(), QByteArray("complete"));
    complete.close();

    ::close(held);
    ASSERT_TRUE(QFile::remove(path));
    InstalledDatabase::Create(path);
    expected = kept.mid(2);
    expected << QStringLiteral("Main.mdb");
    expected.sort();
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    Connection connection;
    EXPECT_NO_THROW(connection.Open(ConnectionString(folder.path())));
}
