#include "platform/db/HardwareAes.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#include <utility>
#endif

namespace HardwareAes {

#if defined(__x86_64__) || defined(__i386__)

namespace {

constexpr int kRounds = 14;
using Schedule = __m128i[kRounds + 1];

#define PELMORAN_AES __attribute__((target("aes,sse2")))

// The round key after an even one: the previous even key, each word folded into the next, and
// the assist's rotated and substituted last word of the odd key between.
PELMORAN_AES inline __m128i Fold(__m128i key, __m128i assist) {
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    return _mm_xor_si128(key, assist);
}

PELMORAN_AES inline __m128i EvenKey(__m128i even, __m128i assist) {
    return Fold(even, _mm_shuffle_epi32(assist, 0xFF));
}

// An odd key takes the substituted (not rotated) last word of the even key before it.
PELMORAN_AES inline __m128i OddKey(__m128i even, __m128i odd) {
    return Fold(odd, _mm_shuffle_epi32(_mm_aeskeygenassist_si128(even, 0x00), 0xAA));
}

// Each even key after the first two with its round constant, an immediate of the instruction,
// and the odd key after it.
template <int... kConstants>
PELMORAN_AES void ExpandRounds(Schedule& k, std::integer_sequence<int, kConstants...>) {
    int round = 2;
    ((k[round] = EvenKey(k[round - 2], _mm_aeskeygenassist_si128(k[round - 1], kConstants)),
      round < kRounds ? void(k[round + 1] = OddKey(k[round], k[round - 1])) : void(), round += 2),
     ...);
}

PELMORAN_AES void Expand(const unsigned char* key, Schedule& k) {
    k[0] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key));
    k[1] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key + 16));
    ExpandRounds(k, std::integer_sequence<int, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40>());
}

// The equivalent inverse cipher's keys: the encryption keys in reverse order, the inner ones
// through InvMixColumns.
PELMORAN_AES void Invert(const Schedule& k, Schedule& d) {
    d[0] = k[kRounds];
    for (int round = 1; round < kRounds; ++round)
        d[round] = _mm_aesimc_si128(k[kRounds - round]);
    d[kRounds] = k[0];
}

PELMORAN_AES inline __m128i Load(const unsigned char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

PELMORAN_AES inline void Store(unsigned char* at, __m128i value) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value);
}

PELMORAN_AES void Encrypt(const Schedule& k, __m128i chain, const unsigned char* in, size_t length,
                          unsigned char* out) {
    for (size_t at = 0; at < length; at += 16) {
        __m128i block = _mm_xor_si128(_mm_xor_si128(Load(in + at), chain), k[0]);
        for (int round = 1; round < kRounds; ++round)
            block = _mm_aesenc_si128(block, k[round]);
        chain = _mm_aesenclast_si128(block, k[kRounds]);
        Store(out + at, chain);
    }
}

// Decryption has no chain through the cipher, so four blocks go through it together. Each
// group's cipher text is read before any of its plain text is written.
PELMORAN_AES void Decrypt(const Schedule& d, __m128i chain, const unsigned char* in, size_t length,
                          unsigned char* out) {
    constexpr size_t kWidth = 4;
    size_t at = 0;
    for (; at + 16 * kWidth <= length; at += 16 * kWidth) {
        __m128i cipher[kWidth];
        __m128i block[kWidth];
        for (size_t i = 0; i < kWidth; ++i) {
            cipher[i] = Load(in + at + 16 * i);
            block[i] = _mm_xor_si128(cipher[i], d[0]);
        }
        for (int round = 1; round < kRounds; ++round)
            for (size_t i = 0; i < kWidth; ++i)
                block[i] = _mm_aesdec_si128(block[i], d[round]);
        for (size_t i = 0; i < kWidth; ++i) {
            block[i] = _mm_aesdeclast_si128(block[i], d[kRounds]);
            Store(out + at + 16 * i, _mm_xor_si128(block[i], i == 0 ? chain : cipher[i - 1]));
        }
        chain = cipher[kWidth - 1];
    }
    for (; at < length; at += 16) {
        const __m128i cipher = Load(in + at);
        __m128i block = _mm_xor_si128(cipher, d[0]);
        for (int round = 1; round < kRounds; ++round)
            block = _mm_aesdec_si128(block, d[round]);
        Store(out + at, _mm_xor_si128(_mm_aesdeclast_si128(block, d[kRounds]), chain));
        chain = cipher;
    }
}

PELMORAN_AES void Wipe(Schedule& k) {
    for (__m128i& key : k)
        *static_cast<volatile __m128i*>(&key) = _mm_setzero_si128();
}

} // namespace

bool Available() {
    static const bool available = [] {
        unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
        return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_AES) != 0 &&
               (edx & bit_SSE2) != 0;
    }();
    return available;
}

PELMORAN_AES void Cbc(bool encrypt, const unsigned char* key, const unsigned char* iv,
                      const unsigned char* in, size_t length, unsigned char* out) {
    Schedule k;
    Expand(key, k);
    if (encrypt) {
        Encrypt(k, Load(iv), in, length, out);
    } else {
        Schedule d;
        Invert(k, d);
        Decrypt(d, Load(iv), in, length, out);
        Wipe(d);
    }
    Wipe(k);
}

#undef PELMORAN_AES

#else

bool Available() {
    return false;
}

void Cbc(bool, const unsigned char*, const unsigned char*, const unsigned char*, size_t,
         unsigned char*) {}

#endif

} // namespace HardwareAes
