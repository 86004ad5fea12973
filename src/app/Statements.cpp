#include "app/Statements.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QRegularExpression>
#include <cmath>

namespace {

// Ids reach statements as text (from the list entries); joined unchecked, a text that is not
// a number would become part of the statement.
QString Id(const QString& text) {
    static const QRegularExpression decimal(QStringLiteral("^-?[0-9]+$"));
    if (!decimal.match(text).hasMatch())
        throw DbError(DbErrorNumber::SyntaxError,
                      QStringLiteral("Syntax error in query expression '%1'.").arg(text));
    return text;
}

QString Number(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    if (!std::isfinite(value))
        throw DbError(DbErrorNumber::SyntaxError,
                      QStringLiteral("Syntax error in query expression '%1'.").arg(value));
    return QString::number(value, 'g', 15);
}

} // namespace

namespace Statements {

Statement S1() {
    return {QStringLiteral("SELECT * FROM [tblGroups]"), {}};
}

Statement S2(const QString& currentUserId, const QString& groupId) {
    return {QStringLiteral("SELECT * FROM [tblTasks] WHERE [MarkAsDone]=FALSE AND [userID]=") +
                Id(currentUserId) + QStringLiteral(" AND [groupid]=") + Id(groupId),
            {}};
}

Statement S2(const QString& currentUserId, int groupId) {
    return S2(currentUserId, QString::number(groupId));
}

Statement S3(const QString& currentUserId, const QString& groupIdText) {
    return {QStringLiteral("SELECT * FROM [tblTasks] WHERE [MarkAsDone]=FALSE AND [userid]=") +
                Id(currentUserId) + QStringLiteral(" AND [GroupID]=") + Id(groupIdText),
            {}};
}

Statement S4(const QString& currentUserId, int taskId) {
    return {QStringLiteral("SELECT * FROM [tblTasks] WHERE [userID]=") + Id(currentUserId) +
                QStringLiteral(" AND [taskID]=") + QString::number(taskId),
            {}};
}

Statement S5(int groupId) {
    return {QStringLiteral("DELETE FROM [tblGroups] WHERE [GroupID]=") + QString::number(groupId),
            {}};
}

Statement S6(int taskId) {
    return {QStringLiteral("UPDATE [tblTasks] SET [MarkAsDone]=TRUE WHERE [TaskID]=") +
                QString::number(taskId),
            {}};
}

Statement S7(const QString& currentUserId, const QString& groupNameTrimmed) {
    return {QStringLiteral("INSERT INTO [tblGroups](UserID,GroupName) VALUES(") +
                Id(currentUserId) + QStringLiteral(",?)"),
            {groupNameTrimmed}};
}

Statement F1(const QString& groupNameTrimmed) {
    return {QStringLiteral("GroupName = ?"), {groupNameTrimmed}};
}

Statement S8(const QString& currentUserId, double groupId, const QString& taskName,
             const QString& description, const QString& dueDateText, double priority) {
    return {
        QStringLiteral("INSERT INTO "
                       "[tblTasks](userID,groupID,TaskName,TaskDescription,DueDate,Priority) ") +
            QStringLiteral("VALUES(") + Id(currentUserId) + u',' + Number(groupId) +
            QStringLiteral(",?,?,?,") + Number(priority) + u')',
        {taskName, description, dueDateText}};
}

Statement S9() {
    return {QStringLiteral("SELECT * FROM [tblUsers]"), {}};
}

Statement S10() {
    return {QStringLiteral("SELECT * FROM [tblusers]"), {}};
}

Statement S11() {
    return {QStringLiteral("SELECT MAX(UserID) AS MAXUSERID FROM [tblUsers] "), {}};
}

Statement S12(int newUserId, const QString& userNameTrimmed, const QString& passwordHash) {
    return {QStringLiteral("INSERT INTO [tblUsers] VALUES(") + QString::number(newUserId) +
                QStringLiteral(",?,?)"),
            {userNameTrimmed, passwordHash}};
}

Statement S13(const QString& currentUserId) {
    return {QStringLiteral("Select * from [tblusers] where userid=") + Id(currentUserId), {}};
}

Statement S14(const QString& newPasswordHash, const QString& currentUserId) {
    return {QStringLiteral("UPDATE [tblusers] SET [password] = ? WHERE [userid]=") +
                Id(currentUserId),
            {newPasswordHash}};
}

Statement DueTodos(const QString& currentUserId) {
    // Which dates count is decided by the reader: a stored due date that is no date must be
    // passed over, and the engine would compare such a text with a date as text.
    return {QStringLiteral("SELECT [TaskName],[DueDate] FROM [tblTasks] WHERE [MarkAsDone]=FALSE "
                           "AND [userID]=") +
                Id(currentUserId),
            {}};
}

} // namespace Statements

QString ConnectionString(const QString& programFolder) {
    return JoinConnectionString({QStringLiteral("Microsoft.Jet.OLEDB.4.0"),
                                 programFolder + QStringLiteral("\\Main.mdb"),
                                 QLatin1String(kDatabasePassword)});
}
