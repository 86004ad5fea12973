#pragma once

#include <QString>

// The database file that comes with the installation: the three tables, the default group and
// the default account.
namespace InstalledDatabase {

// User name and password of the default account.
extern const char* const kDefaultAccount;

// Creates the file at `filePath`, keyed as the program's connection string expects. Refuses an
// existing file. The file appears complete or not at all: it is built under a temporary name in
// the same folder and renamed into place. Throws DbError.
void Create(const QString& filePath);

} // namespace InstalledDatabase
