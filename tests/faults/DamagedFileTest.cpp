#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "platform/db/Connection.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ProgramEnd.h"
#include "windows/frmLogIn.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <sqlite3.h>
#include <utility>
#include <vector>

namespace {

constexpr qsizetype kPageSize = 1024;

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ZeroedPage(QByteArray bytes, qsizetype page) {
    const qsizetype start = (page - 1) * kPageSize;
    if (start < bytes.size())
        bytes.replace(start, std::min(kPageSize, bytes.size() - start),
                      QByteArray(std::min(kPageSize, bytes.size() - start), '\0'));
    return bytes;
}

QByteArray Flipped(QByteArray bytes, qsizetype at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0xff);
    return bytes;
}

QByteArray PlainDatabase(const QString& folder) {
    const QString path = folder + QStringLiteral("/plain.db");
    sqlite3* handle = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &handle);
    sqlite3_exec(handle, "CREATE TABLE tblUsers(UserID INTEGER, username TEXT, Password TEXT)",
                 nullptr, nullptr, nullptr);
    sqlite3_close(handle);
    return Bytes(path);
}

class DamagedFile : public WindowFixture {
protected:
    // Runs the start-up routine on a program folder whose Main.mdb is `damaged` (or a folder,
    // when `damaged` is null), logging in should the log-in window appear.
    void StartWith(const QString& folder) {
        Module1::DbConnection().Close();
        Module1::SetProgramFolder(folder);
        ProgramEnd::ResetEnded();
        WhenShown<frmLogIn>([](frmLogIn* logIn) {
            logIn->txtUserName->setText(QStringLiteral("admin"));
            logIn->txtPassword->setText(QStringLiteral("admin"));
            logIn->cmdLogIN->click();
        });
        started_ = Module1::Main();
        // A poller left because no window appeared must not act on the next start.
        for (QTimer* poller : qApp->findChildren<QTimer*>(QStringLiteral("WhenVisiblePoller"),
                                                          Qt::FindDirectChildrenOnly))
            delete poller;
        for (QWidget* window : QApplication::topLevelWidgets())
            window->hide();
    }

    bool started_ = false;
};

} // namespace

// Whatever the program finds in place of its file: a message that names the file, the end of
// the program as a failure, no crash, and not one byte of the file changed.
TEST_F(DamagedFile, EveryDamageGivesAMessageAndAnEndAndLeavesTheFileAsItWas) {
    const QByteArray good = Bytes(database_.FilePath());
    ASSERT_GE(good.size(), 4 * kPageSize);
    QTemporaryDir scratch;
    QByteArray noise(good.size(), Qt::Uninitialized);
    QRandomGenerator random(12);
    for (char& byte : noise)
        byte = static_cast<char>(random.bounded(256));

    const std::vector<std::pair<const char*, QByteArray>> damages{
        {"empty", QByteArray()},
        {"truncated", good.left(good.size() / 2 + 100)},
        {"zeroed page 1", ZeroedPage(good, 1)},
        {"zeroed account table page", ZeroedPage(good, 2)},
        {"zeroed last page", ZeroedPage(good, good.size() / kPageSize)},
        {"flipped header byte", Flipped(good, 5)},
        {"flipped byte inside a table page", Flipped(good, kPageSize * 2 + 300)},
        {"random bytes", noise},
        {"plain database file", PlainDatabase(scratch.path())},
    };
    int handled = 0;
    int changed = 0;
    for (const auto& [kind, bytes] : damages) {
        SCOPED_TRACE(kind);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Main.mdb"));
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        const size_t boxesBefore = Boxes().size();
        StartWith(folder.path());
        const bool clear = Boxes().size() == boxesBefore + 1 &&
                           Boxes().back().prompt.contains(QLatin1String("Main.mdb"));
        EXPECT_TRUE(clear) << qPrintable(LastBoxText());
        EXPECT_FALSE(started_);
        EXPECT_EQ(ProgramEnd::EndedStatus(), kErrorExitStatus);
        handled += clear && !started_ && ProgramEnd::EndedStatus() == kErrorExitStatus;
        const bool same = Bytes(path) == bytes;
        EXPECT_TRUE(same);
        changed += same ? 0 : 1;
    }

    // A folder where the file should be.
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Main.mdb")));
    const size_t boxesBefore = Boxes().size();
    StartWith(folder.path());
    EXPECT_EQ(Boxes().size(), boxesBefore + 1);
    EXPECT_TRUE(LastBoxText().contains(QLatin1String("Main.mdb")));
    EXPECT_EQ(ProgramEnd::EndedStatus(), kErrorExitStatus);
    handled += Boxes().size() == boxesBefore + 1 && !started_;

    std::printf("[figure] damaged files: %d kinds, %d with a message and an end, 0 crashes, "
                "%d files changed\n",
                static_cast<int>(damages.size()) + 1, handled, changed);
}
