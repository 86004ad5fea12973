#include "platform/db/FileKey.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

namespace {

QByteArray Reference(const QByteArray& passphrase, const QByteArray& salt, int iterations,
                     int length) {
    QByteArray key(length, '\0');
    PKCS5_PBKDF2_HMAC_SHA1(passphrase.constData(), static_cast<int>(passphrase.size()),
                           reinterpret_cast<const unsigned char*>(salt.constData()),
                           static_cast<int>(salt.size()), iterations, length,
                           reinterpret_cast<unsigned char*>(key.data()));
    return key;
}

} // namespace

// The published PBKDF2-HMAC-SHA1 vectors: one block, many iterations, and a key that ends
// inside its second block with a salt longer than one hash block.
TEST(FileKey, DerivesThePublishedVectors) {
    EXPECT_EQ(FileKey::Derive("password", "salt", 1, 20).toHex(),
              "0c60c80f961f0e71f3a9b524af6012062fe037a6");
    EXPECT_EQ(FileKey::Derive("password", "salt", 4096, 20).toHex(),
              "4b007901b765489abead49d926f721d065a429c1");
    EXPECT_EQ(FileKey::Derive("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt",
                              4096, 25)
                  .toHex(),
              "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038");
    EXPECT_EQ(
        FileKey::Derive(QByteArray("pass\0word", 9), QByteArray("sa\0lt", 5), 4096, 16).toHex(),
        "56fa6aa75548099dcc37d7f03425e0c3");
}

// Passphrases around the hash block's 64 bytes (a longer one is hashed first), and keys of
// one, two (the file's) and three blocks, against the library's own derivation, on the SHA
// instructions (where the processor has them) and without.
TEST(FileKey, MatchesTheLibrarysDerivationAtEveryPassphraseLength) {
    const QByteArray salt = QByteArray::fromHex("8f3a11d29c0b7e5546a1f0c3d27b9e64");
    for (const bool hardware : {true, false})
        for (const int size : {1, 8, 63, 64, 65, 200}) {
            const QByteArray passphrase(size, static_cast<char>('a' + size % 26));
            for (const int length : {12, FileKey::kKeyBytes, 60})
                for (const int iterations : {2, 1000})
                    EXPECT_EQ(FileKey::Derive(passphrase, salt, iterations, length, hardware),
                              Reference(passphrase, salt, iterations, length))
                        << hardware << " " << size << " " << length << " " << iterations;
        }
    EXPECT_EQ(FileKey::RawKeyText(QByteArray::fromHex("00ff10")), "x'00ff10'");
}
