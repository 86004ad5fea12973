#include "platform/db/PasswordHash.h"

#include "platform/db/DbError.h"

#include <atomic>
#include <sodium.h>

namespace PasswordHash {

const char* const kDecoyHash = "$argon2id$v=19$m=65536,t=2,p=1$VXG5bRbtf9ozi7piUugnKQ$"
                               "wpvSB6d1baBlOJeGL7iodbGDmZzDU9eduqng30di5no";

namespace {

std::atomic<quint64> verifications{0};

bool VerifyHash(const QByteArray& stored, const QString& typedPassword) {
    const QByteArray typed = typedPassword.toUtf8();
    ++verifications;
    return crypto_pwhash_str_verify(stored.constData(), typed.constData(),
                                    static_cast<unsigned long long>(typed.size())) == 0;
}

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
    StartLibrary();
    const QByteArray stored = storedHash.toLatin1();
    if (stored.isEmpty() || stored.size() >= crypto_pwhash_STRBYTES ||
        storedHash.toLatin1() != storedHash.toUtf8()) {
        VerifyAgainstNoAccount(typedPassword);
        return false;
    }
    return VerifyHash(stored, typedPassword);
}

void VerifyAgainstNoAccount(const QString& typedPassword) {
    StartLibrary();
    VerifyHash(QByteArray(kDecoyHash), typedPassword);
}

quint64 VerificationCount() {
    return verifications.load();
}

} // namespace PasswordHash
