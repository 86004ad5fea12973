#include "platform/db/PasswordHash.h"

#include "platform/db/DbError.h"

#include <sodium.h>

namespace PasswordHash {
namespace {

void StartLibrary() {
    static const int started = sodium_init();
    if (started < 0)
        throw DbError(DbErrorNumber::ProviderFailure,
                      QStringLiteral("The password library could not be started."));
}

} // namespace

QString Hash(const QString& password) {
    StartLibrary();
    const QByteArray bytes = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw DbError(DbErrorNumber::ProviderFailure,
                      QStringLiteral("Not enough memory to protect the password."));
    return QString::fromLatin1(hash);
}

bool Verify(const QString& storedHash, const QString& typedPassword) {
    const QByteArray stored = storedHash.toLatin1();
    if (stored.isEmpty() || stored.size() >= crypto_pwhash_STRBYTES ||
        storedHash.toLatin1() != storedHash.toUtf8())
        return false;
    StartLibrary();
    const QByteArray typed = typedPassword.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), typed.constData(),
                                    static_cast<unsigned long long>(typed.size())) == 0;
}

} // namespace PasswordHash
