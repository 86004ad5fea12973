#include "platform/db/FileKey.h"

#include "platform/db/HardwareSha1.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>
#include <future>
#include <vector>

// The one-block hash calls are marked deprecated in favour of the EVP interface, but only they
// let a hash state be saved and copied without an allocation, which is most of the cost here.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/crypto.h>
#include <openssl/sha.h>

namespace FileKey {
namespace {

constexpr int kBlockBytes = SHA_DIGEST_LENGTH;
constexpr int kThreadedIterations = 1000;

struct HmacStates {
    SHA_CTX inner;
    SHA_CTX outer;
};

HmacStates KeyedStates(const unsigned char* passphrase, size_t length) {
    std::array<unsigned char, SHA_CBLOCK> key{};
    if (length > SHA_CBLOCK)
        SHA1(passphrase, length, key.data());
    else if (length > 0)
        std::memcpy(key.data(), passphrase, length);
    std::array<unsigned char, SHA_CBLOCK> pad{};
    HmacStates states;
    for (size_t i = 0; i < pad.size(); ++i)
        pad[i] = key[i] ^ 0x36;
    SHA1_Init(&states.inner);
    SHA1_Update(&states.inner, pad.data(), pad.size());
    for (size_t i = 0; i < pad.size(); ++i)
        pad[i] = key[i] ^ 0x5c;
    SHA1_Init(&states.outer);
    SHA1_Update(&states.outer, pad.data(), pad.size());
    OPENSSL_cleanse(key.data(), key.size());
    OPENSSL_cleanse(pad.data(), pad.size());
    return states;
}

// HMAC of `length` bytes of `data` then `tailLength` bytes of `tail`, from the saved keyed
// states.
void Mac(const HmacStates& states, const unsigned char* data, size_t length,
         const unsigned char* tail, size_t tailLength, unsigned char* out) {
    SHA_CTX hash = states.inner;
    SHA1_Update(&hash, data, length);
    SHA1_Update(&hash, tail, tailLength);
    SHA1_Final(out, &hash);
    hash = states.outer;
    SHA1_Update(&hash, out, kBlockBytes);
    SHA1_Final(out, &hash);
    OPENSSL_cleanse(&hash, sizeof hash);
}

// The hash state's five words, as the digest's bytes. Stored at once: the compression reads
// its block sixteen bytes at a time, and bytes stored one by one could not be forwarded to it.
void StoreDigest(const SHA_CTX& state, unsigned char* out) {
    const std::array<SHA_LONG, 5> words = {qToBigEndian(state.h0), qToBigEndian(state.h1),
                                           qToBigEndian(state.h2), qToBigEndian(state.h3),
                                           qToBigEndian(state.h4)};
    std::memcpy(out, words.data(), kBlockBytes);
}

// The first MAC of output block `index` (from 1): over the salt and the block's number.
std::array<unsigned char, kBlockBytes> FirstMac(const HmacStates& states, const QByteArray& salt,
                                                quint32 index) {
    const unsigned char counter[4] = {
        static_cast<unsigned char>(index >> 24), static_cast<unsigned char>(index >> 16),
        static_cast<unsigned char>(index >> 8), static_cast<unsigned char>(index)};
    std::array<unsigned char, kBlockBytes> mac;
    Mac(states, reinterpret_cast<const unsigned char*>(salt.constData()),
        static_cast<size_t>(salt.size()), counter, sizeof counter, mac.data());
    return mac;
}

// Output block `index` (from 1): the sum of the chained MACs that start from the first.
//
// After the first, every MAC hashes one digest after a keyed block, so each of its two hashes
// is a single compression of a block that is the digest and a fixed padding: the blocks are
// laid out once, only their digests change, and a round is its two compressions with no
// buffering or padding around them.
std::array<unsigned char, kBlockBytes> Block(const HmacStates& states, const QByteArray& salt,
                                             int iterations, quint32 index) {
    std::array<unsigned char, SHA_CBLOCK> inner{};
    const auto first = FirstMac(states, salt, index);
    std::memcpy(inner.data(), first.data(), kBlockBytes);
    std::array<SHA_LONG, 5> sum{};
    std::memcpy(sum.data(), inner.data(), kBlockBytes);

    // The message after the keyed block: the digest, the end mark, and the length in bits of
    // all that was hashed (the keyed block and the digest), big-endian in the last bytes.
    constexpr unsigned bits = (SHA_CBLOCK + kBlockBytes) * 8;
    inner[kBlockBytes] = 0x80;
    inner[SHA_CBLOCK - 2] = static_cast<unsigned char>(bits >> 8);
    inner[SHA_CBLOCK - 1] = static_cast<unsigned char>(bits);
    std::array<unsigned char, SHA_CBLOCK> outer = inner;
    for (int step = 1; step < iterations; ++step) {
        SHA_CTX hash = states.inner;
        SHA1_Transform(&hash, inner.data());
        StoreDigest(hash, outer.data());
        hash = states.outer;
        SHA1_Transform(&hash, outer.data());
        StoreDigest(hash, inner.data());
        // Summed as the words they are, in the digest's byte order.
        sum[0] ^= qToBigEndian(hash.h0);
        sum[1] ^= qToBigEndian(hash.h1);
        sum[2] ^= qToBigEndian(hash.h2);
        sum[3] ^= qToBigEndian(hash.h3);
        sum[4] ^= qToBigEndian(hash.h4);
    }
    std::array<unsigned char, kBlockBytes> bytes;
    std::memcpy(bytes.data(), sum.data(), kBlockBytes);
    OPENSSL_cleanse(inner.data(), inner.size());
    OPENSSL_cleanse(outer.data(), outer.size());
    OPENSSL_cleanse(sum.data(), sizeof sum);
    return bytes;
}

HardwareSha1::Words StateWords(const SHA_CTX& state) {
    return {state.h0, state.h1, state.h2, state.h3, state.h4};
}

// Output blocks `index` and the one after it (`lanes` of them, one or two) on the SHA
// instructions, into `out`.
void HardwareBlocks(const HmacStates& states, const QByteArray& salt, int iterations, quint32 index,
                    int lanes, unsigned char* out) {
    HardwareSha1::Words first[2] = {};
    for (int lane = 0; lane < lanes; ++lane) {
        auto mac = FirstMac(states, salt, index + static_cast<quint32>(lane));
        for (size_t word = 0; word < first[lane].size(); ++word)
            first[lane][word] = qFromBigEndian<quint32>(mac.data() + 4 * word);
        OPENSSL_cleanse(mac.data(), mac.size());
    }
    HardwareSha1::Words sum[2] = {};
    HardwareSha1::Rounds(StateWords(states.inner), StateWords(states.outer), first, lanes,
                         iterations - 1, sum);
    for (int lane = 0; lane < lanes; ++lane)
        for (size_t word = 0; word < sum[lane].size(); ++word)
            qToBigEndian<quint32>(sum[lane][word], out + kBlockBytes * lane + 4 * word);
    OPENSSL_cleanse(first, sizeof first);
    OPENSSL_cleanse(sum, sizeof sum);
}

} // namespace

void Hmac(const unsigned char* key, size_t keyLength, const unsigned char* data, size_t length,
          const unsigned char* tail, size_t tailLength, unsigned char* out) {
    HmacStates states = KeyedStates(key, keyLength);
    Mac(states, data, length, tail, tailLength, out);
    OPENSSL_cleanse(&states, sizeof states);
}

QByteArray Derive(const QByteArray& passphrase, const QByteArray& salt, int iterations, int length,
                  bool hardware) {
    HmacStates states = KeyedStates(reinterpret_cast<const unsigned char*>(passphrase.constData()),
                                    static_cast<size_t>(passphrase.size()));
    const int blocks = (std::max(length, 0) + kBlockBytes - 1) / kBlockBytes;
    QByteArray key(blocks * kBlockBytes, '\0');
    auto* out = reinterpret_cast<unsigned char*>(key.data());
    if (hardware && HardwareSha1::Available()) {
        // On the instructions, two blocks run side by side on this one thread in less than
        // one and a half times one block's time; a thread each would take more processor time
        // from the start-up beside it than it saved.
        for (int block = 1; block <= blocks; block += 2)
            HardwareBlocks(states, salt, iterations, static_cast<quint32>(block),
                           std::min(2, blocks - block + 1), out + (block - 1) * kBlockBytes);
    } else {
        // Every block but the first on a thread of its own, or here when no thread can start;
        // the first on this thread. A derivation of a few rounds (the engine's signing key
        // takes two) is done long before a thread would have started.
        const auto policy = iterations >= kThreadedIterations
                                ? std::launch::async | std::launch::deferred
                                : std::launch::deferred;
        std::vector<std::future<std::array<unsigned char, kBlockBytes>>> others;
        for (int block = 2; block <= blocks; ++block)
            others.push_back(std::async(policy, Block, std::cref(states), std::cref(salt),
                                        iterations, static_cast<quint32>(block)));
        if (blocks > 0)
            std::memcpy(out, Block(states, salt, iterations, 1).data(), kBlockBytes);
        for (size_t other = 0; other < others.size(); ++other)
            std::memcpy(out + (other + 1) * kBlockBytes, others[other].get().data(), kBlockBytes);
    }
    OPENSSL_cleanse(&states, sizeof states);
    key.truncate(length);
    return key;
}

QByteArray RawKeyText(const QByteArray& key) {
    return "x'" + key.toHex() + '\'';
}

} // namespace FileKey
