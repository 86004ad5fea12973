#include "app/InstalledDatabase.h"

#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/PasswordHash.h"
#include "platform/db/Transaction.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace InstalledDatabase {

const char* const kDefaultAccount = "admin";

namespace {

// UserID is a 16-bit number in the program, and S12 names no columns: the first three columns
// keep this order. A group's to-dos go with the group.
const char* const kSchema[] = {
    "CREATE TABLE tblUsers ("
    " UserID INTEGER PRIMARY KEY CHECK (UserID BETWEEN -32768 AND 32767),"
    " username TEXT CHECK (length(username) <= 50),"
    " Password TEXT)",
    "CREATE TABLE tblGroups ("
    " GroupID INTEGER PRIMARY KEY AUTOINCREMENT,"
    " UserID INTEGER,"
    " GroupName TEXT)",
    "CREATE TABLE tblTasks ("
    " TaskID INTEGER PRIMARY KEY AUTOINCREMENT,"
    " UserID INTEGER,"
    " GroupID INTEGER REFERENCES tblGroups(GroupID) ON DELETE CASCADE,"
    " TaskName TEXT,"
    " TaskDescription TEXT,"
    " DueDate DATE,"
    " Priority INTEGER,"
    " MarkAsDone BOOLEAN NOT NULL DEFAULT 0)",
    "CREATE INDEX tblTasks_GroupID ON tblTasks(GroupID)",
};

DbError CreationFailed(const QString& filePath, const QString& reason) {
    return {DbErrorNumber::ProviderFailure,
            QStringLiteral("Could not create '%1': %2").arg(filePath, reason)};
}

DbError AlreadyExists(const QString& filePath) {
    return {DbErrorNumber::ProviderFailure,
            QStringLiteral("The file '%1' already exists.").arg(filePath)};
}

// Moves `from` to `to` unless `to` exists, without a window in which another program's file
// could be replaced.
void MoveIntoPlace(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return;
    }
    const int error = errno;
    if (error == EEXIST)
        throw AlreadyExists(to);
    // Some file systems have no hard links: fall back to a checked rename.
    if (error == EPERM || error == EOPNOTSUPP || error == EXDEV || error == ENOSYS) {
        if (QFileInfo::exists(to))
            throw AlreadyExists(to);
        if (std::rename(source.constData(), target.constData()) == 0)
            return;
    }
    throw CreationFailed(to, QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

void Create(const QString& filePath) {
    const QFileInfo target(filePath);
    if (target.exists() || target.isSymLink())
        throw AlreadyExists(filePath);

    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        throw CreationFailed(filePath, temporary.errorString());
    temporary.close();
    const QString temporaryPath = temporary.fileName();

    {
        Connection connection;
        connection.Create(temporaryPath, QString::fromLatin1(kDatabasePassword));
        Transaction transaction(connection);
        for (const char* statement : kSchema)
            connection.Execute(QString::fromLatin1(statement));
        connection.Execute(
            QStringLiteral("INSERT INTO tblGroups(GroupID,UserID,GroupName) VALUES(1,1,?)"),
            {QStringLiteral("General")});
        const QString account = QString::fromLatin1(kDefaultAccount);
        connection.Execute(Statements::S12(1, account, PasswordHash::Hash(account)));
        transaction.Commit();
        connection.Close();
    }

    // The temporary file is private to its maker; the installed one follows the user's umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(temporaryPath).constData(), 0666 & ~mask);
    MoveIntoPlace(temporaryPath, filePath);
    // The temporary name is gone now; nothing left to remove.
    temporary.setAutoRemove(false);
}

} // namespace InstalledDatabase
