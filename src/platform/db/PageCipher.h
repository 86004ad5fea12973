#pragma once

#include <QByteArray>

// The encrypted engine's page encryption, done here instead of through OpenSSL's EVP interface.
// The engine encrypts every page with AES-256-CBC and signs it with HMAC-SHA1; through EVP the
// first page loads OpenSSL's provider and algorithm tables, about 2 MB resident and a
// millisecond of allocations, all at start-up. The processor's AES instructions (or OpenSSL's
// block functions), the file key's hash states and its derivation give the same bytes without
// them, so files stay the engine's own format.
namespace PageCipher {

// Makes the engine use these functions for every file opened from now on. Cheap to call before
// each open: the engine forgets them when its last file closes. With an engine whose interface
// for them is not the one known here, the engine keeps its own.
void Install();

// Whether the engine is using them now.
bool Installed();

// AES-256-CBC without padding: `data` is a whole number of 16-byte blocks. Empty on a wrong
// key, IV or length. On the processor's AES instructions where it has them, unless `hardware`
// is false.
QByteArray Encrypt(const QByteArray& key, const QByteArray& iv, const QByteArray& data,
                   bool hardware = true);
QByteArray Decrypt(const QByteArray& key, const QByteArray& iv, const QByteArray& data,
                   bool hardware = true);

// HMAC-SHA1 of `data` followed by `tail`.
QByteArray Mac(const QByteArray& key, const QByteArray& data, const QByteArray& tail);

} // namespace PageCipher
