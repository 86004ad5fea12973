#include "app/InstalledDatabase.h"

#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/PasswordHash.h"
#include "platform/db/Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
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

// A file descriptor closed with this object; -1 for none.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// A temporary of a run that is still going: its maker holds a lock on it until the end.
bool HeldByARunningMaker(const QString& path) {
    Descriptor file{::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)};
    return file.fd >= 0 && ::flock(file.fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

// The temporaries of runs that were killed before they finished: ".Main.mdb.XXXXXX" and its
// journal. Only names of that form are touched, only plain files still private to their maker
// (a temporary keeps those permissions until it has become Main.mdb), and never one that a
// running maker holds.
void RemoveLeftovers(const QFileInfo& target) {
    const QDir folder = target.absoluteDir();
    const QString prefix = u'.' + target.fileName() + u'.';
    const QRegularExpression name(
        QStringLiteral("^%1[A-Za-z0-9]{6}(-journal)?$").arg(QRegularExpression::escape(prefix)));
    const QStringList candidates = folder.entryList({prefix + u'*'}, QDir::Files | QDir::Hidden);
    for (const QString& candidate : candidates) {
        if (!name.match(candidate).hasMatch())
            continue;
        const QString path = folder.filePath(candidate);
        struct stat status {};
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0 ||
            !S_ISREG(status.st_mode) || (status.st_mode & 07777) != 0600 ||
            status.st_uid != ::geteuid())
            continue;
        const QLatin1String journal("-journal");
        const QString database = candidate.endsWith(journal) ? path.chopped(journal.size()) : path;
        if (!HeldByARunningMaker(database))
            QFile::remove(path);
    }
}

} // namespace

void Create(const QString& filePath) {
    const QFileInfo target(filePath);
    RemoveLeftovers(target);
    if (target.exists() || target.isSymLink())
        throw AlreadyExists(filePath);

    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        throw CreationFailed(filePath, temporary.errorString());
    temporary.close();
    const QString temporaryPath = temporary.fileName();
    // Held until this run ends (the kernel drops it when the run is killed), so that another
    // run's clean-up leaves this temporary alone.
    Descriptor lock{::open(QFile::encodeName(temporaryPath).constData(), O_RDONLY | O_CLOEXEC)};
    if (lock.fd < 0 || ::flock(lock.fd, LOCK_EX) != 0)
        throw CreationFailed(filePath, QString::fromLocal8Bit(std::strerror(errno)));

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

    MoveIntoPlace(temporaryPath, filePath);
    // The temporary name is gone now; nothing left to remove.
    temporary.setAutoRemove(false);
    // Private until now, so that a clean-up tells a killed run's temporary by its permissions;
    // the installed file follows the user's umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(filePath).constData(), 0666 & ~mask);
}

} // namespace InstalledDatabase
