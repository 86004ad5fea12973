// The data layer beside raw SQLCipher calls on the same files, the main window's refresh beside
// reading the same rows into a vector of strings, and the opening of files of 1, 10 and 100 MB
// up to the first query beside the engine opening them with the key alone.
#include "BenchSupport.h"
#include "app/InstalledDatabase.h"
#include "app/Module1.h"
#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/Transaction.h"

#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

// One installed file with 1,000 groups of the default account; the second group holds 10,000
// open to-dos, the first (the current row after a refresh) none.
struct Fixture {
    Fixture() {
        InstalledDatabase::Create(FilePath());
        Connection connection;
        connection.Open(ConnectionString(dir.path()));
        Transaction transaction(connection);
        for (int group = 2; group <= 1000; ++group)
            connection.Execute(
                Statements::S7(QStringLiteral("1"), QStringLiteral("Group %1").arg(group)));
        for (int task = 0; task < 10000; ++task)
            connection.Execute(Statements::S8(
                QStringLiteral("1"), 2, QStringLiteral("Todo %1").arg(task),
                QStringLiteral("What to do for %1").arg(task), QStringLiteral("24 Dec 2026"), 1));
        transaction.Commit();
    }
    QString FilePath() const { return dir.filePath(QStringLiteral("Main.mdb")); }
    QTemporaryDir dir;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

// The file opened as a Qt developer would open it: the key, the file's page size, nothing else.
std::unique_ptr<sqlite3, int (*)(sqlite3*)> RawOpen() {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(Shared().FilePath()).constData(), &raw, SQLITE_OPEN_READWRITE,
                    nullptr);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close_v2);
    sqlite3_key(db.get(), kDatabasePassword, 8);
    sqlite3_exec(db.get(), "PRAGMA cipher_page_size = 1024", nullptr, nullptr, nullptr);
    sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    return db;
}

QString Text(sqlite3_stmt* statement, int column) {
    return QString::fromUtf8(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

void ModuleConnection() {
    static const bool opened = [] {
        Module1::SetProgramFolder(Shared().dir.path());
        Module1::DbConnection().Open(ConnectionString(Shared().dir.path()));
        Module1::SetCurrentUserID(QStringLiteral("1"));
        return true;
    }();
    (void)opened;
}

void RecordsetOurs(benchmark::State& state) {
    ModuleConnection();
    for (auto _ : state) {
        auto tasks = Module1::OpenRecordset(Statements::S2(QStringLiteral("1"), 2));
        qint64 total = 0;
        tasks->MoveFirst();
        while (!tasks->Eof()) {
            total += tasks->Fields(QStringLiteral("TaskID")).Value().ToInteger();
            total += tasks->Fields(QStringLiteral("taskname")).Value().ToString().size();
            tasks->MoveNext();
        }
        benchmark::DoNotOptimize(total);
    }
}

void RecordsetAnchor(benchmark::State& state) {
    const auto db = RawOpen();
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db.get(),
                           "SELECT * FROM tblTasks WHERE MarkAsDone=0 AND userID=1 AND groupid=2",
                           -1, &statement, nullptr);
        qint64 total = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            total += sqlite3_column_int64(statement, 0);
            total += Text(statement, 3).size();
        }
        sqlite3_finalize(statement);
        benchmark::DoNotOptimize(total);
    }
}

void RefreshListsOurs(benchmark::State& state) {
    ModuleConnection();
    Module1::RefreshLists();
    for (auto _ : state)
        Module1::RefreshLists();
}

void RefreshListsAnchor(benchmark::State& state) {
    const auto db = RawOpen();
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db.get(), "SELECT * FROM tblGroups", -1, &statement, nullptr);
        std::vector<QString> rows;
        while (sqlite3_step(statement) == SQLITE_ROW)
            rows.push_back(QString::number(sqlite3_column_int64(statement, 0)) +
                           QStringLiteral(" - ") + Text(statement, 2));
        sqlite3_finalize(statement);
        benchmark::DoNotOptimize(rows.data());
    }
}

// An installed file grown to about `megabytes` by to-dos with long descriptions.
struct SizedFile {
    explicit SizedFile(int megabytes) {
        InstalledDatabase::Create(dir.filePath(QStringLiteral("Main.mdb")));
        Connection connection;
        connection.Open(ConnectionString(dir.path()));
        Transaction transaction(connection);
        const QString description =
            QStringLiteral("A long description of what is to be done. ").repeated(100);
        for (int task = 0; task < megabytes * 230; ++task)
            connection.Execute(Statements::S8(QStringLiteral("1"), 1,
                                              QStringLiteral("Todo %1").arg(task), description,
                                              QStringLiteral("24 Dec 2026"), 1));
        transaction.Commit();
    }
    QTemporaryDir dir;
};

SizedFile& Sized(int megabytes) {
    static std::map<int, std::unique_ptr<SizedFile>> files;
    auto& file = files[megabytes];
    if (!file)
        file = std::make_unique<SizedFile>(megabytes);
    return *file;
}

// The program's opening (which checks every page) and its first query, the log-in's accounts.
void OpenOurs(benchmark::State& state, int megabytes) {
    const QString folder = Sized(megabytes).dir.path();
    for (auto _ : state) {
        Connection connection;
        connection.Open(ConnectionString(folder));
        Recordset users;
        users.Open(Statements::S9(), connection);
        benchmark::DoNotOptimize(users.RecordCount());
    }
}

// The engine given the key and the same first query, with no check of the file.
void OpenAnchor(benchmark::State& state, int megabytes) {
    const QByteArray file = QFile::encodeName(Sized(megabytes).dir.filePath("Main.mdb"));
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_key(db, kDatabasePassword, 8);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM tblUsers", -1, &statement, nullptr);
        int rows = 0;
        while (sqlite3_step(statement) == SQLITE_ROW)
            ++rows;
        sqlite3_finalize(statement);
        sqlite3_close_v2(db);
        benchmark::DoNotOptimize(rows);
    }
}

} // namespace

int main(int argc, char** argv) {
    return bench::Run(argc, argv, [] {
        bench::Pair("recordset_open_10k", RecordsetOurs, RecordsetAnchor);
        bench::Pair("refresh_lists_1000", RefreshListsOurs, RefreshListsAnchor);
        for (const int megabytes : {1, 10, 100})
            bench::Pair(
                "open_" + std::to_string(megabytes) + "mb",
                [megabytes](benchmark::State& state) { OpenOurs(state, megabytes); },
                [megabytes](benchmark::State& state) { OpenAnchor(state, megabytes); });
    });
}
