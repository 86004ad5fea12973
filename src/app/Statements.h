#pragma once

#include "platform/db/Statement.h"

#include <QString>

// Every statement the program issues, in one place. Texts are the catalogue's own; each text
// value is bound to a '?' where the catalogue quotes it, so no quote in it can end the literal.
// Numbers and ids are joined into the text unquoted; an id text that is not a whole decimal
// number is refused with a DbError (syntax error) rather than joined.
namespace Statements {

// All groups.
Statement S1();
// The user's open to-dos of a group (list refresh).
Statement S2(const QString& currentUserId, const QString& groupId);
Statement S2(const QString& currentUserId, int groupId);
// The user's open to-dos of the group chosen in the main window; the id text as listed.
Statement S3(const QString& currentUserId, const QString& groupIdText);
// One to-do of the user.
Statement S4(const QString& currentUserId, int taskId);
// Removes a group (its to-dos go with it).
Statement S5(int groupId);
// Marks a to-do as done.
Statement S6(int taskId);
// Adds a group.
Statement S7(const QString& currentUserId, const QString& groupNameTrimmed);
// The duplicate-name criterion for Recordset::Find over S1.
Statement F1(const QString& groupNameTrimmed);
// Adds a to-do. `dueDateText` is "dd MMM yyyy"; the numbers are written in decimal, a whole
// number without a decimal point.
Statement S8(const QString& currentUserId, double groupId, const QString& taskName,
             const QString& description, const QString& dueDateText, double priority);
// All accounts (log-in check; duplicate user-name check).
Statement S9();
Statement S10();
// The highest account number, in field MAXUSERID.
Statement S11();
// Adds an account; `passwordHash` comes from PasswordHash::Hash.
Statement S12(int newUserId, const QString& userNameTrimmed, const QString& passwordHash);
// The current user's account.
Statement S13(const QString& currentUserId);
// Sets the current user's password hash.
Statement S14(const QString& newPasswordHash, const QString& currentUserId);
// The user's open to-dos, name and due date only, for the reminder of what is due.
Statement DueTodos(const QString& currentUserId);

} // namespace Statements

// The database file's key, as the connection string carries it.
inline constexpr const char* kDatabasePassword = "tm4v8bxe";

// The connection string, its data source joined as the program always has: the folder, then
// "\Main.mdb" with no check for a separator already there. A folder holding ";" or quotes
// arrives quoted, so it can neither end the data source nor add a key.
QString ConnectionString(const QString& programFolder);
