#include "app/DueReminder.h"
#include "app/Module1.h"
#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "support/TempDatabase.h"

#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using DueReminder::DueTodo;

// Every date of these tests is reckoned from this day, never from the clock.
const QDate kToday(2025, 12, 5);

class DueTodos : public ::testing::Test {
protected:
    void SetUp() override { Module1::DbConnection().Open(db.ConnectionString()); }
    void TearDown() override { Module1::DbConnection().Close(); }

    // Written past the program's data layer, as another program would write the file (with
    // the stock engine and the passphrase alone): the due date goes in as the SQL literal
    // `due` and may be anything at all.
    void Add(int user, const char* name, const char* due, bool done = false) {
        const QByteArray sql = QByteArrayLiteral("PRAGMA key='") + kDatabasePassword +
                               "';INSERT INTO tblTasks(UserID,GroupID,TaskName,TaskDescription,"
                               "DueDate,Priority,MarkAsDone) VALUES(" +
                               QByteArray::number(user) + ",1,'" + name + "','d'," + due + ",0," +
                               (done ? "1" : "0") + ")";
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(db.FilePath()).constData(), &raw,
                                  SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(raw, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(raw) << ": " << sql.constData();
        sqlite3_close(raw);
    }

    static QStringList Names(const std::vector<DueTodo>& due) {
        QStringList names;
        for (const DueTodo& todo : due)
            names.append(todo.name + u'@' + todo.due.toString(Qt::ISODate));
        return names;
    }

    TempDatabase db;
};

std::vector<DueTodo> Todos(std::initializer_list<std::pair<const char*, QDate>> todos) {
    std::vector<DueTodo> due;
    for (const auto& [name, date] : todos)
        due.push_back({QString::fromUtf8(name), date});
    return due;
}

} // namespace

TEST(DueTodosStatement, JoinsTheUserIdAsTheCatalogueDoesAndRefusesAnyOtherText) {
    EXPECT_EQ(Statements::DueTodos(QStringLiteral("12")).text,
              QStringLiteral("SELECT [TaskName],[DueDate] FROM [tblTasks] WHERE [MarkAsDone]=FALSE "
                             "AND [userID]=12"));
    EXPECT_EQ(CatchDbError([] { Statements::DueTodos(QStringLiteral("1 OR 1=1")); }).Number(),
              DbErrorNumber::SyntaxError);
}

TEST_F(DueTodos, CountOnlyTheUsersOpenTodosDueByTodayMostOverdueFirst) {
    Add(1, "Buy milk", "'2025-12-05'");
    Add(1, "Pay rent", "'2025-12-03'");
    Add(1, "Next week", "'2025-12-12'");
    Add(1, "Tomorrow", "'2025-12-06'");
    Add(1, "Done already", "'2025-12-01'", true);
    Add(2, "Not mine", "'2025-12-01'");
    Add(1, "Undated", "NULL");
    Add(1, "Some day", "'soon'");
    Add(1, "No such day", "'2025-02-30'");
    Add(1, "A number", "45000");
    Add(1, "Last year", "'2024-12-24'");
    Add(1, "Call Bob", "'2025-12-05'");
    // The program's own written form, as the main window reads and shows it.
    Add(1, "Written out", "'04 Dec 2025'");

    EXPECT_EQ(Names(DueReminder::Collect(QStringLiteral("1"), kToday)),
              (QStringList{
                  QStringLiteral("Last year@2024-12-24"), QStringLiteral("Pay rent@2025-12-03"),
                  QStringLiteral("Written out@2025-12-04"), QStringLiteral("Buy milk@2025-12-05"),
                  QStringLiteral("Call Bob@2025-12-05")}));
    EXPECT_EQ(Names(DueReminder::Collect(QStringLiteral("2"), kToday)),
              QStringList{QStringLiteral("Not mine@2025-12-01")});
    // The day before, only what was already due then.
    EXPECT_EQ(Names(DueReminder::Collect(QStringLiteral("1"), kToday.addDays(-3))),
              QStringList{QStringLiteral("Last year@2024-12-24")});
    EXPECT_TRUE(DueReminder::Collect(QStringLiteral("3"), kToday).empty());
}

TEST(DueReminderText, CountsBothKindsAndDatesOnlyTheOverdueNames) {
    const QDate overdue(2025, 12, 3);
    EXPECT_EQ(DueReminder::Summary(), QStringLiteral("Pelmoran Todo List"));
    EXPECT_EQ(DueReminder::Body(
                  Todos({{"Pay rent", overdue}, {"Buy milk", kToday}, {"Call Bob", kToday}}),
                  kToday, true),
              QStringLiteral("2 due today, 1 overdue: Pay rent (3 Dec), Buy milk, Call Bob"));
    EXPECT_EQ(DueReminder::Body(Todos({{"Buy milk", kToday}}), kToday, true),
              QStringLiteral("1 due today, 0 overdue: Buy milk"));
    // Last year's date says its year; the month is English whatever the user's language.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString body =
        DueReminder::Body(Todos({{"Tax", QDate(2024, 3, 31)}}), QDate(2025, 1, 2), true);
    QLocale::setDefault(before);
    EXPECT_EQ(body, QStringLiteral("0 due today, 1 overdue: Tax (31 Mar 2024)"));
}

TEST(DueReminderText, NamesFiveAndCountsTheRest) {
    const auto seven = Todos({{"a", kToday},
                              {"b", kToday},
                              {"c", kToday},
                              {"d", kToday},
                              {"e", kToday},
                              {"f", kToday},
                              {"g", kToday}});
    EXPECT_EQ(DueReminder::Body(seven, kToday, true),
              QStringLiteral("7 due today, 0 overdue: a, b, c, d, e and 2 more"));
    const std::vector<DueTodo> five(seven.begin(), seven.begin() + 5);
    EXPECT_EQ(DueReminder::Body(five, kToday, true),
              QStringLiteral("5 due today, 0 overdue: a, b, c, d, e"));
}

TEST(DueReminderText, ShowsMarkupInNamesAsTyped) {
    const auto todos = Todos({{"<b>Tea</b> & \"cake\"", QDate(2025, 12, 1)}});
    // Read as markup by the service: escaped, so the service shows the characters typed.
    EXPECT_EQ(
        DueReminder::Body(todos, kToday, true),
        QStringLiteral("0 due today, 1 overdue: &lt;b&gt;Tea&lt;/b&gt; &amp; &quot;cake&quot; "
                       "(1 Dec)"));
    // Read as plain text: escapes would show as they are.
    EXPECT_EQ(DueReminder::Body(todos, kToday, false),
              QStringLiteral("0 due today, 1 overdue: <b>Tea</b> & \"cake\" (1 Dec)"));
}
