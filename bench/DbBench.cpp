// Our data layer against raw SQLCipher calls, reading every account (S9) of a file with 1,000
// accounts: the figure that matters is the ratio, both measured in the same run.
#include "app/InstalledDatabase.h"
#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/Transaction.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

namespace {

struct Fixture {
    Fixture() {
        InstalledDatabase::Create(FilePath());
        Connection connection;
        connection.Open(ConnectionString(dir.path()));
        Transaction transaction(connection);
        for (int id = 2; id <= 1000; ++id)
            connection.Execute(Statements::S12(id, QStringLiteral("user %1").arg(id),
                                               QStringLiteral("$argon2id$v=19$m=65536,t=2,p=1$x")));
        transaction.Commit();
    }
    QString FilePath() const { return dir.filePath(QStringLiteral("Main.mdb")); }
    QTemporaryDir dir;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void OurLayer(benchmark::State& state) {
    Connection connection;
    connection.Open(ConnectionString(Shared().dir.path()));
    for (auto _ : state) {
        Recordset users;
        users.Open(Statements::S9(), connection);
        qint64 total = 0;
        users.MoveFirst();
        for (int i = 0; i < users.RecordCount(); ++i) {
            total += users.Fields(QStringLiteral("UserID")).Value().ToInteger();
            total += users.Fields(QStringLiteral("username")).Value().ToString().size();
            total += users.Fields(QStringLiteral("Password")).Value().ToString().size();
            users.MoveNext();
        }
        benchmark::DoNotOptimize(total);
    }
}

void RawSqlite(benchmark::State& state) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(Shared().FilePath()).constData(), &raw, SQLITE_OPEN_READWRITE,
                    nullptr);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close_v2);
    sqlite3_key(db.get(), kDatabasePassword, 8);
    sqlite3_exec(db.get(), "PRAGMA cipher_page_size = 1024", nullptr, nullptr, nullptr);
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db.get(), "SELECT * FROM [tblUsers]", -1, &statement, nullptr);
        qint64 total = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            total += sqlite3_column_int64(statement, 0);
            total +=
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)))
                    .size();
            total +=
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 2)))
                    .size();
        }
        sqlite3_finalize(statement);
        benchmark::DoNotOptimize(total);
    }
}

} // namespace

BENCHMARK(RawSqlite)->Unit(benchmark::kMicrosecond);
BENCHMARK(OurLayer)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
