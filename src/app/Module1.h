#pragma once

#include <QString>
#include <memory>

class Connection;
class Recordset;
struct Statement;

// The start-up routine and the state every window shares.
namespace Module1 {

// The one database connection, opened by the start-up routine and never closed.
Connection& DbConnection();

// The logged-in account's number as decimal text; set once by the start-up routine.
const QString& CurrentUserID();
void SetCurrentUserID(const QString& id);

// A new record set over `statement` on the shared connection; failures reach the caller.
std::unique_ptr<Recordset> OpenRecordset(const Statement& statement);

// The text of `text` before the first `separator`, trimmed of spaces; the whole text unchanged
// when the separator is absent or stands first.
QString TextBeforeSeparator(const QString& text, const QString& separator);

// The id a group or to-do row starts with: the leading number of the text before its first
// "-", rounded halves to even; 0 for the placeholder row or an empty text. Ids are held in 32
// bits, so every id the database hands out reaches its own row; a number beyond that range
// fails with overflow (error 6).
int RowId(const QString& rowText);

// Refills the main window's groups list and the add-to-do window's group box from the stored
// groups, and empties the to-do list. Any error stops it at once, without a message.
void RefreshLists();

// The folder whose Main.mdb the start-up routine opens: the executable's own, unless a test
// points it elsewhere.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

// Starts opening the connection on the Main.mdb of `folder` on a thread of its own; Main
// takes the outcome before the log-in window shows. Needs no application object, so the
// program can start it first of all.
void StartOpening(const QString& folder);

// The start-up routine: opens the database (unless StartOpening already began), runs the
// log-in loop and shows the main window. True when the program runs on in the main window;
// false when it has ended.
bool Main();

} // namespace Module1
