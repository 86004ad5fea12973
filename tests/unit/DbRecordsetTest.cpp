#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

const QString kUser = QStringLiteral("1");

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override { connection.Open(db.ConnectionString()); }

    Recordset Query(const Statement& statement) {
        Recordset records;
        records.Open(statement, connection, 1, -1, -1);
        return records;
    }
    Recordset Query(const QString& text) { return Query(Statement{text, {}}); }

    int TaskCount() { return Query(QStringLiteral("SELECT * FROM tblTasks")).RecordCount(); }

    TempDatabase db;
    Connection connection;
};

QStringList Column(Recordset records, const QString& name) {
    QStringList values;
    if (records.RecordCount() == 0)
        return values;
    records.MoveFirst();
    for (int i = 0; i < records.RecordCount(); ++i) {
        values.append(records.Fields(name).Value().ToString());
        records.MoveNext();
    }
    return values;
}

} // namespace

TEST_F(RecordsetTest, CountsEveryRowAndWalksThemInInsertionOrder) {
    for (const char* name : {"Shopping", "Work", "Home"})
        connection.Execute(Statements::S7(kUser, QString::fromLatin1(name)));
    Recordset groups = Query(Statements::S1());
    EXPECT_EQ(groups.RecordCount(), 4);
    EXPECT_EQ(Column(groups, QStringLiteral("GroupName")),
              (QStringList{"General", "Shopping", "Work", "Home"}));
    EXPECT_EQ(Column(groups, QStringLiteral("GroupID")), (QStringList{"1", "2", "3", "4"}));

    groups.MoveFirst();
    for (int i = 0; i < 4; ++i)
        groups.MoveNext();
    EXPECT_TRUE(groups.Eof());
    EXPECT_EQ(CatchDbError([&] { groups.MoveNext(); }).Number(), DbErrorNumber::NoCurrentRecord);
    EXPECT_EQ(CatchDbError([&] { groups.Fields("GroupName").Value(); }).Number(),
              DbErrorNumber::NoCurrentRecord);
}

TEST_F(RecordsetTest, MoveFirstOnNoRowsRaisesNoCurrentRecord) {
    Recordset tasks = Query(Statements::S2(kUser, 1));
    EXPECT_EQ(tasks.RecordCount(), 0);
    EXPECT_TRUE(tasks.Eof());
    const DbError error = CatchDbError([&] { tasks.MoveFirst(); });
    EXPECT_EQ(error.Number(), 3021);
    EXPECT_EQ(error.Description(),
              QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                             "Requested operation requires a current record."));
    Recordset closed;
    EXPECT_EQ(CatchDbError([&] { closed.RecordCount(); }).Number(), DbErrorNumber::ObjectClosed);
}

TEST_F(RecordsetTest, FieldNamesMatchWithoutRegardToCase) {
    Recordset users = Query(Statements::S9());
    EXPECT_EQ(users.Fields("USERNAME").Value().ToString(), QStringLiteral("admin"));
    EXPECT_EQ(users.Fields("userid").Value().ToInteger(), 1);
    EXPECT_EQ(users.Fields("Password").Name(), QStringLiteral("Password"));
    EXPECT_EQ(users.FieldCount(), 3);
    const DbError error = CatchDbError([&] { users.Fields("user"); });
    EXPECT_EQ(error.Number(), 3265);
    EXPECT_EQ(error.Description(), QStringLiteral("Item cannot be found in the collection "
                                                  "corresponding to the requested name or "
                                                  "ordinal."));
}

TEST_F(RecordsetTest, NullValuesReadAsNull) {
    connection.Execute(
        QStringLiteral("INSERT INTO tblTasks(UserID,GroupID,TaskName) VALUES(1,1,?)"),
        {QStringLiteral("bare")});
    Recordset task = Query(Statements::S4(kUser, 1));
    ASSERT_EQ(task.RecordCount(), 1);
    EXPECT_TRUE(task.Fields("TaskDescription").Value().IsNull());
    EXPECT_TRUE(task.Fields("DueDate").Value().IsNull());
    EXPECT_TRUE(task.Fields("Priority").Value().IsNull());
    EXPECT_FALSE(task.Fields("TaskDescription").Value().EqualsText(QString()));
    EXPECT_EQ(task.Fields("MarkAsDone").Value(), Variant(false));

    connection.Execute(QStringLiteral("DELETE FROM tblUsers"));
    Recordset highest = Query(Statements::S11());
    ASSERT_EQ(highest.RecordCount(), 1);
    EXPECT_TRUE(highest.Fields("MAXUSERID").Value().IsNull());
}

TEST_F(RecordsetTest, AwkwardTextsStoreAndReadBackByteForByte) {
    const QStringList texts{
        QStringLiteral("O'Brien"),
        QStringLiteral("''"),
        QStringLiteral("a -- b"),
        QStringLiteral("x\");DROP TABLE tblTasks;--"),
        QStringLiteral("one<%S%>2<%S%>True"),
        QStringLiteral("\U0001F600 caf\u00e9 \u4e2d\u6587"),
        QStringLiteral("TRUE [FALSE] ?"),
        QString(50, u'\u00e5'),
        QStringLiteral("  spaced  "),
        QStringLiteral(""),
    };
    for (const QString& text : texts) {
        connection.Execute(Statements::S7(kUser, text));
        connection.Execute(Statements::S8(kUser, 1, text, text, QStringLiteral("01 Jan 2025"), 0));
    }
    QStringList groups = Column(Query(Statements::S1()), QStringLiteral("GroupName"));
    groups.removeFirst();
    EXPECT_EQ(groups, texts);
    Recordset tasks = Query(Statements::S3(kUser, QStringLiteral("1")));
    EXPECT_EQ(Column(tasks, QStringLiteral("TaskName")), texts);
    EXPECT_EQ(Column(tasks, QStringLiteral("TaskDescription")), texts);
    for (const QString& text : texts) {
        const QByteArray stored =
            Query(Statement{
                      QStringLiteral(
                          "SELECT CAST(GroupName AS BLOB) AS b FROM tblGroups WHERE GroupName=?"),
                      {text}})
                .Fields("b")
                .Value()
                .ToString()
                .toUtf8();
        EXPECT_EQ(stored, text.toUtf8());
    }
}

TEST_F(RecordsetTest, FindStopsAtTheFirstMatchAtOrAfterTheCurrentRow) {
    for (const char* name : {"Shopping", "O'Brien", "Work", "Shopping"})
        connection.Execute(Statements::S7(kUser, QString::fromLatin1(name)));
    Recordset groups = Query(Statements::S1());
    groups.Find(Statements::F1(QStringLiteral("Shopping")));
    ASSERT_FALSE(groups.Eof());
    EXPECT_EQ(groups.Fields("GroupID").Value().ToInteger(), 2);
    groups.MoveNext();
    groups.Find(Statements::F1(QStringLiteral("Shopping")));
    EXPECT_EQ(groups.Fields("GroupID").Value().ToInteger(), 5);
    groups.Find(Statements::F1(QStringLiteral("General")));
    EXPECT_TRUE(groups.Eof());
    groups.Find(Statements::F1(QStringLiteral("General")));
    EXPECT_TRUE(groups.Eof());

    Recordset again = Query(Statements::S1());
    again.Find(QStringLiteral("GroupName = 'o''brien'"));
    ASSERT_FALSE(again.Eof());
    EXPECT_EQ(again.Fields("GroupName").Value().ToString(), QStringLiteral("O'Brien"));
    again.MoveFirst();
    again.Find(QStringLiteral("[GroupID] = 4"));
    EXPECT_EQ(again.Fields("GroupName").Value().ToString(), QStringLiteral("Work"));
    EXPECT_EQ(CatchDbError([&] { again.Find(QStringLiteral("Nope = 'x'")); }).Number(), 3265);
    EXPECT_EQ(CatchDbError([&] { again.Find(QStringLiteral("GroupName LIKE 'x'")); }).Number(),
              DbErrorNumber::BadArguments);

    Recordset none = Query(Statements::S2(kUser, 1));
    none.Find(QStringLiteral("TaskName = ?"), {QStringLiteral("x")});
    EXPECT_TRUE(none.Eof());
}

TEST_F(RecordsetTest, DueDatesAreStoredAsIsoAndReadBackAsDates) {
    connection.Execute(
        Statements::S8(kUser, 1, QStringLiteral("a"), QString(), QStringLiteral("05 Mar 2024"), 2));
    connection.Execute(QStringLiteral("INSERT INTO [tblTasks](UserID,GroupID,TaskName,DueDate) "
                                      "VALUES(1,1,'b','17 Dec 2023')"));
    connection.Execute(QStringLiteral("UPDATE [tblTasks] SET [DueDate] = ? WHERE TaskID = 2"),
                       {QStringLiteral("29 Feb 2024")});

    Recordset first = Query(Statements::S4(kUser, 1));
    EXPECT_EQ(first.Fields("DueDate").Value(), Variant(QDate(2024, 3, 5)));
    Recordset second = Query(Statements::S4(kUser, 2));
    EXPECT_EQ(second.Fields("duedate").Value().ToDate(), QDate(2024, 2, 29));
    EXPECT_EQ(Column(Query(QStringLiteral("SELECT DueDate || '' AS raw FROM tblTasks")),
                     QStringLiteral("raw")),
              (QStringList{"2024-03-05", "2024-02-29"}));

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString german = QLocale().toString(QDate(2024, 10, 3), QStringLiteral("dd MMM yyyy"));
    connection.Execute(Statements::S8(kUser, 1, QStringLiteral("c"), QString(), german, 0));
    QLocale::setDefault(saved);
    EXPECT_EQ(Query(Statements::S4(kUser, 3)).Fields("DueDate").Value().ToDate(),
              QDate(2024, 10, 3))
        << german.toStdString();
}

TEST_F(RecordsetTest, UnreadableDueDateIsRefusedAndNothingStored) {
    for (const QString& bad :
         {QStringLiteral("32 Jan 2024"), QStringLiteral("next week"), QStringLiteral("")}) {
        const DbError error = CatchDbError([&] {
            connection.Execute(Statements::S8(kUser, 1, QStringLiteral("t"), QString(), bad, 0));
        });
        EXPECT_EQ(error.Number(), DbErrorNumber::TypeMismatch);
        EXPECT_EQ(error.Description(),
                  QStringLiteral("Data type mismatch in criteria expression."));
    }
    EXPECT_THROW(connection.Execute(QStringLiteral("INSERT INTO tblTasks(UserID,GroupID,DueDate) "
                                                   "VALUES(1,1,'someday')")),
                 DbError);
    EXPECT_EQ(TaskCount(), 0);
}

TEST_F(RecordsetTest, BooleanColumnsReadAsBooleans) {
    connection.Execute(
        Statements::S8(kUser, 1, QStringLiteral("a"), QString(), QStringLiteral("01 Jan 2025"), 0));
    EXPECT_EQ(Query(Statements::S4(kUser, 1)).Fields("MarkAsDone").Value(), Variant(false));
    connection.Execute(Statements::S6(1));
    const Variant done = Query(Statements::S4(kUser, 1)).Fields("MarkAsDone").Value();
    EXPECT_EQ(done.GetType(), Variant::Type::Boolean);
    EXPECT_TRUE(done.ToBool());
    EXPECT_EQ(done.ToString(), QStringLiteral("True"));
}

// A record set that has gone leaves its storage to the next one: rows read into it must be
// the new query's alone, and a field still held keeps its own record set's rows.
TEST_F(RecordsetTest, StorageLeftByAnEarlierRecordSetHoldsOnlyTheNewRows) {
    for (int i = 0; i < 50; ++i)
        connection.Execute(Statements::S7(kUser, QStringLiteral("Group %1").arg(i)));
    Field kept = [&] {
        Recordset groups = Query(Statements::S1());
        groups.MoveFirst();
        return groups.Fields(QStringLiteral("GroupName"));
    }();
    {
        Recordset many = Query(Statements::S1());
        EXPECT_EQ(many.RecordCount(), 51);
    }
    Recordset one = Query(QStringLiteral("SELECT GroupName FROM tblGroups WHERE GroupID = 3"));
    EXPECT_EQ(one.RecordCount(), 1);
    EXPECT_EQ(Column(one, QStringLiteral("GroupName")), QStringList{"Group 1"});
    EXPECT_EQ(kept.Value().ToString(), QStringLiteral("General"));
    Recordset none = Query(QStringLiteral("SELECT GroupName FROM tblGroups WHERE GroupID = 0"));
    EXPECT_EQ(none.RecordCount(), 0);
    EXPECT_EQ(CatchDbError([&] { none.MoveFirst(); }).Number(), DbErrorNumber::NoCurrentRecord);
}

TEST_F(RecordsetTest, AReopenedRecordSetReadsTheNewRowsThroughItsFields) {
    connection.Execute(Statements::S7(kUser, QStringLiteral("Work")));
    Recordset records = Query(Statements::S1());
    const Field kept = records.Fields(QStringLiteral("GroupName"));
    records.MoveNext();
    EXPECT_EQ(kept.Value().ToString(), QStringLiteral("Work"));

    records.Close();
    records.Open(Statements::S9(), connection);
    EXPECT_EQ(records.Fields(QStringLiteral("username")).Value().ToString(),
              QStringLiteral("admin"));
    EXPECT_EQ(records.Fields(0).Name(), QStringLiteral("UserID"));
    // A field copied from the closed set stays with those rows, now closed.
    EXPECT_EQ(CatchDbError([&] { kept.Value(); }).Number(), DbErrorNumber::NoCurrentRecord);
}
