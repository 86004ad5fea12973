#pragma once

#include <cstddef>

// AES-256-CBC on the processor's own AES instructions. OpenSSL runs them only behind its EVP
// interface; its block functions run a table-driven AES, six times slower in decryption (the
// bulk of opening a large file) and with table reads that follow the key.
namespace HardwareAes {

// Whether this processor has the instructions.
bool Available();

// CBC over `length` bytes (a whole number of 16-byte blocks) under a 32-byte `key`, from `iv`
// (left as it is). `in` and `out` may be the same buffer. Only where Available().
void Cbc(bool encrypt, const unsigned char* key, const unsigned char* iv, const unsigned char* in,
         size_t length, unsigned char* out);

} // namespace HardwareAes
