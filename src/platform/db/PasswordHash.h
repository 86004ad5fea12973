#pragma once

#include <QString>

// Account passwords are kept only as Argon2id hashes: the database key ships with the program,
// so a clear password in the file would be readable by anyone holding the program.
namespace PasswordHash {

// A self-describing hash string (salt and cost included). Throws DbError when the hashing
// library cannot start or has too little memory.
QString Hash(const QString& password);

// True when `typedPassword` is exactly (letter case included) the password behind
// `storedHash`. An empty stored value or one that is no hash matches nothing.
bool Verify(const QString& storedHash, const QString& typedPassword);

} // namespace PasswordHash
