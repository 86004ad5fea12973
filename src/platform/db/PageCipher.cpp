#include "platform/db/PageCipher.h"

#include "platform/db/FileKey.h"
#include "platform/db/HardwareAes.h"

#include <cstring>
#include <mutex>
#include <sodium.h>
#include <sqlite3.h>

// The block functions are marked deprecated in favour of EVP, whose first use is what this file
// avoids.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/aes.h>
#include <openssl/crypto.h>
#include <openssl/sha.h>

namespace {

constexpr int kOk = SQLITE_OK;
constexpr int kError = SQLITE_ERROR;
constexpr int kKeyBytes = 32;
constexpr int kBlockBytes = AES_BLOCK_SIZE;
constexpr int kEncrypt = 1; // the engine's mode for writing a page; reading is 0
constexpr char kCipherName[] = "AES-256-CBC";

// The engine's table of crypto functions, in the order its 3.4 releases lay it out. The engine
// exports the calls that install one but no header for it.
struct EngineProvider {
    int (*activate)(void* ctx);
    int (*deactivate)(void* ctx);
    const char* (*get_provider_name)(void* ctx);
    int (*add_random)(void* ctx, void* buffer, int length);
    int (*random)(void* ctx, void* buffer, int length);
    int (*hmac)(void* ctx, unsigned char* key, int keyLength, unsigned char* in, int inLength,
                unsigned char* in2, int in2Length, unsigned char* out);
    int (*kdf)(void* ctx, const unsigned char* pass, int passLength, unsigned char* salt,
               int saltLength, int iterations, int keyLength, unsigned char* key);
    int (*cipher)(void* ctx, int mode, unsigned char* key, int keyLength, unsigned char* iv,
                  unsigned char* in, int inLength, unsigned char* out);
    int (*set_cipher)(void* ctx, const char* name);
    const char* (*get_cipher)(void* ctx);
    int (*get_key_sz)(void* ctx);
    int (*get_iv_sz)(void* ctx);
    int (*get_block_sz)(void* ctx);
    int (*get_hmac_sz)(void* ctx);
    int (*ctx_copy)(void* target, void* source);
    int (*ctx_cmp)(void* first, void* second);
    int (*ctx_init)(void** ctx);
    int (*ctx_free)(void** ctx);
    int (*fips_status)(void* ctx);
    const char* (*get_provider_version)(void* ctx);
};

extern "C" {
int sqlcipher_register_provider(EngineProvider* provider);
EngineProvider* sqlcipher_get_provider();
void* sqlcipher_malloc(int size);
}

// The 3.4 releases are built on the 3.15 line of the engine underneath; the table changed
// shape in later ones.
bool KnownEngine() {
    return sqlite3_libversion_number() / 1000 == 3015;
}

bool Crypt(int mode, const unsigned char* key, int keyLength, const unsigned char* iv,
           const unsigned char* in, int length, unsigned char* out, bool hardware = true) {
    if (keyLength != kKeyBytes || length < 0 || length % kBlockBytes != 0)
        return false;
    if (hardware && HardwareAes::Available()) {
        HardwareAes::Cbc(mode == kEncrypt, key, iv, in, static_cast<size_t>(length), out);
        return true;
    }
    AES_KEY schedule;
    const int set = mode == kEncrypt ? AES_set_encrypt_key(key, kKeyBytes * 8, &schedule)
                                     : AES_set_decrypt_key(key, kKeyBytes * 8, &schedule);
    if (set != 0)
        return false;
    // The chaining updates its IV in place; the engine's stays as it gave it.
    unsigned char chain[kBlockBytes];
    std::memcpy(chain, iv, kBlockBytes);
    AES_cbc_encrypt(in, out, static_cast<size_t>(length), &schedule, chain,
                    mode == kEncrypt ? AES_ENCRYPT : AES_DECRYPT);
    OPENSSL_cleanse(&schedule, sizeof schedule);
    return true;
}

extern "C" {

int Activate(void*) {
    return kOk;
}

const char* ProviderName(void*) {
    return "pelmoran-pages";
}

int AddRandom(void*, void*, int) {
    // The system's generator needs no seeding.
    return kOk;
}

int Random(void*, void* buffer, int length) {
    if (length < 0)
        return kError;
    randombytes_buf(buffer, static_cast<size_t>(length));
    return kOk;
}

int Hmac(void*, unsigned char* key, int keyLength, unsigned char* in, int inLength,
         unsigned char* in2, int in2Length, unsigned char* out) {
    if (keyLength < 0 || inLength < 0 || in2Length < 0)
        return kError;
    FileKey::Hmac(key, static_cast<size_t>(keyLength), in, static_cast<size_t>(inLength), in2,
                  static_cast<size_t>(in2Length), out);
    return kOk;
}

int Kdf(void*, const unsigned char* pass, int passLength, unsigned char* salt, int saltLength,
        int iterations, int keyLength, unsigned char* key) {
    if (passLength < 0 || saltLength < 0 || iterations < 1 || keyLength < 0)
        return kError;
    QByteArray derived =
        FileKey::Derive(QByteArray::fromRawData(reinterpret_cast<const char*>(pass), passLength),
                        QByteArray::fromRawData(reinterpret_cast<const char*>(salt), saltLength),
                        iterations, keyLength);
    std::memcpy(key, derived.constData(), static_cast<size_t>(keyLength));
    OPENSSL_cleanse(derived.data(), static_cast<size_t>(derived.size()));
    return kOk;
}

int Cipher(void*, int mode, unsigned char* key, int keyLength, unsigned char* iv, unsigned char* in,
           int inLength, unsigned char* out) {
    return Crypt(mode, key, keyLength, iv, in, inLength, out) ? kOk : kError;
}

int SetCipher(void*, const char* name) {
    // The only cipher of the engine's file format this program writes.
    return name != nullptr && qstricmp(name, kCipherName) == 0 ? kOk : kError;
}

const char* CipherName(void*) {
    return kCipherName;
}

int KeyBytes(void*) {
    return kKeyBytes;
}

int BlockBytes(void*) {
    return kBlockBytes;
}

int MacBytes(void*) {
    return SHA_DIGEST_LENGTH;
}

// A context holds nothing: there is one cipher, and the schedule is made per page.
int CopyContext(void*, void*) {
    return kOk;
}

int SameContext(void*, void*) {
    return 1;
}

int NewContext(void** ctx) {
    *ctx = nullptr;
    return kOk;
}

int FreeContext(void** ctx) {
    *ctx = nullptr;
    return kOk;
}

int FipsStatus(void*) {
    return 0;
}

const char* Version(void*) {
    return OpenSSL_version(OPENSSL_VERSION);
}

} // extern "C"

constexpr EngineProvider kProvider = {
    Activate,    Activate,    ProviderName, AddRandom,   Random,     Hmac,       Kdf,
    Cipher,      SetCipher,   CipherName,   KeyBytes,    BlockBytes, BlockBytes, MacBytes,
    CopyContext, SameContext, NewContext,   FreeContext, FipsStatus, Version};

} // namespace

namespace PageCipher {

void Install() {
    if (!KnownEngine())
        return;
    // Two files opening at once must not both replace the table: the engine frees the one a
    // registration replaces, and the other may be copying it.
    static std::mutex installing;
    const std::lock_guard lock(installing);
    if (Installed())
        return;
    if (sodium_init() < 0)
        return;
    // The engine frees the table with its own allocator when its last file closes.
    auto* provider = static_cast<EngineProvider*>(sqlcipher_malloc(sizeof(EngineProvider)));
    if (provider == nullptr)
        return;
    *provider = kProvider;
    sqlcipher_register_provider(provider);
}

bool Installed() {
    if (!KnownEngine())
        return false;
    const EngineProvider* current = sqlcipher_get_provider();
    return current != nullptr && current->cipher == kProvider.cipher;
}

namespace {

QByteArray CryptBytes(int mode, const QByteArray& key, const QByteArray& iv, const QByteArray& data,
                      bool hardware) {
    QByteArray out(data.size(), Qt::Uninitialized);
    const auto bytes = [](const QByteArray& array) {
        return reinterpret_cast<const unsigned char*>(array.constData());
    };
    if (iv.size() != kBlockBytes || !Crypt(mode, bytes(key), static_cast<int>(key.size()),
                                           bytes(iv), bytes(data), static_cast<int>(data.size()),
                                           reinterpret_cast<unsigned char*>(out.data()), hardware))
        return {};
    return out;
}

} // namespace

QByteArray Encrypt(const QByteArray& key, const QByteArray& iv, const QByteArray& data,
                   bool hardware) {
    return CryptBytes(kEncrypt, key, iv, data, hardware);
}

QByteArray Decrypt(const QByteArray& key, const QByteArray& iv, const QByteArray& data,
                   bool hardware) {
    return CryptBytes(0, key, iv, data, hardware);
}

QByteArray Mac(const QByteArray& key, const QByteArray& data, const QByteArray& tail) {
    QByteArray out(SHA_DIGEST_LENGTH, Qt::Uninitialized);
    FileKey::Hmac(
        reinterpret_cast<const unsigned char*>(key.constData()), static_cast<size_t>(key.size()),
        reinterpret_cast<const unsigned char*>(data.constData()), static_cast<size_t>(data.size()),
        reinterpret_cast<const unsigned char*>(tail.constData()), static_cast<size_t>(tail.size()),
        reinterpret_cast<unsigned char*>(out.data()));
    return out;
}

} // namespace PageCipher
