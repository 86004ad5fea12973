#pragma once

#include <QByteArray>
#include <cstddef>

// The key of an encrypted file, derived here instead of by the engine. The engine derives it
// in one pass on one thread with a general-purpose HMAC that allocates at every step; the
// derivation's two output blocks are independent, and run here side by side over saved hash
// states: on the processor's SHA instructions where it has them, else each on its own thread. The
// result is the engine's own (PBKDF2-HMAC-SHA1 over the salt the file begins with), so files stay
// readable by the engine given the passphrase alone.
namespace FileKey {

inline constexpr int kSaltBytes = 16;
inline constexpr int kKeyBytes = 32;
inline constexpr int kIterations = 64000;

// PBKDF2-HMAC-SHA1 of `passphrase` over `salt`, `length` bytes long. Long derivations run on
// the processor's SHA instructions where it has them, unless `hardware` is false.
QByteArray Derive(const QByteArray& passphrase, const QByteArray& salt,
                  int iterations = kIterations, int length = kKeyBytes, bool hardware = true);

// HMAC-SHA1 under `key` of `length` bytes of `data` then `tailLength` bytes of `tail`, into the
// 20 bytes at `out`.
void Hmac(const unsigned char* key, size_t keyLength, const unsigned char* data, size_t length,
          const unsigned char* tail, size_t tailLength, unsigned char* out);

// The key as the engine takes a raw one instead of a passphrase: x'<hex>'.
QByteArray RawKeyText(const QByteArray& key);

} // namespace FileKey
