#pragma once

#include <QString>

// Account passwords are kept only as Argon2id hashes: the database key ships with the program,
// so a clear password in the file would be readable by anyone holding the program.
namespace PasswordHash {

// A self-describing hash string (salt and cost included). Throws DbError when the hashing
// library cannot start or has too little memory.
QString Hash(const QString& password);

// True when `typedPassword` is exactly (letter case included) the password behind
// `storedHash`. An empty stored value or one that is no hash matches nothing, after the same
// work as a real verification: how long a refusal takes must not tell what was stored.
bool Verify(const QString& storedHash, const QString& typedPassword);

// Does the work of one verification and matches nothing: for a log-in whose user name matched
// no account, so that it takes as long to refuse as a wrong password.
void VerifyAgainstNoAccount(const QString& typedPassword);

// How many verifications this process has run.
quint64 VerificationCount();

// A hash of an unknown random password, made with the costs Hash uses.
extern const char* const kDecoyHash;

} // namespace PasswordHash
