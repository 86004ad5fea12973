#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

const char* const kFolderVariable = "PELMORAN_TEST_TODO_WRITER_FOLDER";
const char* const kNameVariable = "PELMORAN_TEST_TODO_WRITER_NAME";
const char* const kRowsVariable = "PELMORAN_TEST_TODO_WRITER_ROWS";

QString RowName(const QString& writer, int row) {
    return writer + u'-' + QString::number(row);
}

// Adds to-dos the way the add-to-do window does, one statement each, and reports each one on
// standard output once the statement has returned: from then on the program has told its user
// the to-do is saved. Writes `rows` to-dos, or until killed when `rows` is 0.
int AddTodos(const QString& folder, const QString& writer, int rows) {
    try {
        Connection connection;
        connection.Open(ConnectionString(folder));
        for (int i = 0; rows == 0 || i < rows; ++i) {
            connection.Execute(Statements::S8(QStringLiteral("1"), 1, RowName(writer, i),
                                              QStringLiteral("saved"),
                                              QStringLiteral("01 Feb 2025"), 0));
            std::printf("%d\n", i);
            std::fflush(stdout);
        }
        return 0;
    } catch (const RuntimeError& error) {
        std::fprintf(stderr, "writer %s: %s\n", qPrintable(writer), error.what());
        return 1;
    }
}

// This test program doubles as the writer: started with these variables set, it writes and
// exits before any test runs.
const int kWriterMode = [] {
    const QByteArray folder = qgetenv(kFolderVariable);
    if (folder.isEmpty())
        return 0;
    std::exit(AddTodos(QString::fromLocal8Bit(folder), qEnvironmentVariable(kNameVariable),
                       qEnvironmentVariableIntValue(kRowsVariable)));
}();

std::unique_ptr<QProcess> StartWriter(const TempDatabase& db, const QString& name, int rows) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kFolderVariable), db.Folder());
    environment.insert(QString::fromLatin1(kNameVariable), name);
    environment.insert(QString::fromLatin1(kRowsVariable), QString::number(rows));
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(QCoreApplication::applicationFilePath(), {});
    return process;
}

class Writers : public ::testing::Test {
protected:
    QSet<QString> TaskNames() {
        Connection connection;
        connection.Open(db.ConnectionString());
        Recordset tasks;
        tasks.Open(QStringLiteral("SELECT TaskName FROM [tblTasks]"), connection);
        QSet<QString> names;
        if (tasks.RecordCount() > 0)
            tasks.MoveFirst();
        while (!tasks.Eof()) {
            names.insert(tasks.Fields(QStringLiteral("TaskName")).Value().ToString());
            tasks.MoveNext();
        }
        return names;
    }

    bool IntegrityHolds() {
        Connection connection;
        connection.Open(db.ConnectionString());
        Recordset check;
        check.Open(QStringLiteral("PRAGMA integrity_check"), connection);
        check.MoveFirst();
        return check.RecordCount() == 1 && check.Fields(0).Value().ToString() == u"ok";
    }

    TempDatabase db;
};

} // namespace

// A writer killed at any moment loses nothing it reported as saved and leaves a sound file.
TEST_F(Writers, AWriterKilledAtRandomMomentsLosesNoSavedTodo) {
    constexpr int kRuns = 30;
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    int acknowledged = 0;
    int lost = 0;
    int integrityFailures = 0;
    for (int run = 0; run < kRuns; ++run) {
        const QString name = QStringLiteral("run%1").arg(run);
        const auto writer = StartWriter(db, name, 0);
        ASSERT_TRUE(writer->waitForStarted(10000));
        // Starting takes a key derivation; past it, every moment falls inside a write.
        QThread::msleep(300 + random.bounded(1000));
        writer->kill();
        ASSERT_TRUE(writer->waitForFinished(10000));
        const QList<QByteArray> reported = writer->readAllStandardOutput().split('\n');
        int saved = 0;
        for (const QByteArray& line : reported)
            saved += line.isEmpty() ? 0 : 1;
        acknowledged += saved;

        if (!IntegrityHolds())
            ++integrityFailures;
        const QSet<QString> names = TaskNames();
        for (int row = 0; row < saved; ++row)
            lost += names.contains(RowName(name, row)) ? 0 : 1;
    }
    std::printf("[figure] killed writer: %d runs (seed %u), %d to-dos reported saved, %d lost, "
                "%d integrity check failures\n",
                kRuns, seed, acknowledged, lost, integrityFailures);
    EXPECT_GT(acknowledged, 0) << "no run got as far as a write";
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(integrityFailures, 0);
}

// Programs writing to one file at once wait for each other instead of failing.
TEST_F(Writers, FourProgramsAddingTodosAtOnceLoseNoneAndFailNone) {
    constexpr int kPrograms = 4;
    constexpr int kRowsEach = 500;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int p = 0; p < kPrograms; ++p)
        writers.push_back(StartWriter(db, QStringLiteral("w%1").arg(p), kRowsEach));
    int errors = 0;
    for (const auto& writer : writers) {
        ASSERT_TRUE(writer->waitForFinished(600000));
        const QByteArray complaints = writer->readAllStandardError();
        if (writer->exitStatus() != QProcess::NormalExit || writer->exitCode() != 0) {
            ++errors;
            std::fprintf(stderr, "%s", complaints.constData());
        }
    }
    const QSet<QString> names = TaskNames();
    int missing = 0;
    for (int p = 0; p < kPrograms; ++p)
        for (int row = 0; row < kRowsEach; ++row)
            missing += names.contains(RowName(QStringLiteral("w%1").arg(p), row)) ? 0 : 1;
    std::printf("[figure] concurrent writers: %d programs x %d to-dos: %d rows, %d missing, "
                "%d errors\n",
                kPrograms, kRowsEach, static_cast<int>(names.size()), missing, errors);
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(names.size(), kPrograms * kRowsEach);
    EXPECT_TRUE(IntegrityHolds());
}
