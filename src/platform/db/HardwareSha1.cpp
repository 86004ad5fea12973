#include "platform/db/HardwareSha1.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace HardwareSha1 {

#if defined(__x86_64__) || defined(__i386__)

namespace {

#define PELMORAN_SHA __attribute__((target("sha,sse4.1")))

// A digest in registers as the instructions hold a state: its first four words in one (the
// first in the highest lane), the fifth in the highest lane of another, zeros below it. The
// same two registers are the first five words of a message block.
struct Digest {
    __m128i abcd;
    __m128i e;
};

// The hash's compression of one block: the digest, the end mark and the length of a keyed
// block and a digest (64 + 20 bytes), the rest zeros; from `state`. The message words are laid
// out as the instructions take them after a load and byte swap; the schedule is the
// instructions' own four rounds at a time.
PELMORAN_SHA inline __attribute__((always_inline)) Digest Compress(const Digest& state,
                                                                   const Digest& message) {
    const __m128i endMark = _mm_set_epi32(0, static_cast<int>(0x80000000u), 0, 0);
    const __m128i fifthWord = _mm_set_epi32(-1, 0, 0, 0);
    __m128i m0 = message.abcd;
    __m128i m1 = _mm_or_si128(_mm_and_si128(message.e, fifthWord), endMark);
    __m128i m2 = _mm_setzero_si128();
    __m128i m3 = _mm_set_epi32(0, 0, 0, (64 + 20) * 8);

    __m128i abcd = state.abcd;
    __m128i e0 = _mm_add_epi32(state.e, m0);
    __m128i e1 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);

    e1 = _mm_sha1nexte_epu32(e1, m1);
    e0 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e1, 0);
    m0 = _mm_sha1msg1_epu32(m0, m1);

    e0 = _mm_sha1nexte_epu32(e0, m2);
    e1 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);
    m1 = _mm_sha1msg1_epu32(m1, m2);
    m0 = _mm_xor_si128(m0, m2);

    // Rounds 12 to 67 repeat one pattern, the registers taking turns.
#define PELMORAN_SHA_STEP(ea, eb, current, next, previous, oldest, function)                       \
    ea = _mm_sha1nexte_epu32(ea, current);                                                         \
    eb = abcd;                                                                                     \
    next = _mm_sha1msg2_epu32(next, current);                                                      \
    abcd = _mm_sha1rnds4_epu32(abcd, ea, function);                                                \
    oldest = _mm_sha1msg1_epu32(oldest, current);                                                  \
    previous = _mm_xor_si128(previous, current);
    PELMORAN_SHA_STEP(e1, e0, m3, m0, m1, m2, 0)
    PELMORAN_SHA_STEP(e0, e1, m0, m1, m2, m3, 0)
    PELMORAN_SHA_STEP(e1, e0, m1, m2, m3, m0, 1)
    PELMORAN_SHA_STEP(e0, e1, m2, m3, m0, m1, 1)
    PELMORAN_SHA_STEP(e1, e0, m3, m0, m1, m2, 1)
    PELMORAN_SHA_STEP(e0, e1, m0, m1, m2, m3, 1)
    PELMORAN_SHA_STEP(e1, e0, m1, m2, m3, m0, 1)
    PELMORAN_SHA_STEP(e0, e1, m2, m3, m0, m1, 2)
    PELMORAN_SHA_STEP(e1, e0, m3, m0, m1, m2, 2)
    PELMORAN_SHA_STEP(e0, e1, m0, m1, m2, m3, 2)
    PELMORAN_SHA_STEP(e1, e0, m1, m2, m3, m0, 2)
    PELMORAN_SHA_STEP(e0, e1, m2, m3, m0, m1, 2)
    PELMORAN_SHA_STEP(e1, e0, m3, m0, m1, m2, 3)
    PELMORAN_SHA_STEP(e0, e1, m0, m1, m2, m3, 3)
#undef PELMORAN_SHA_STEP

    e1 = _mm_sha1nexte_epu32(e1, m1);
    e0 = abcd;
    m2 = _mm_sha1msg2_epu32(m2, m1);
    abcd = _mm_sha1rnds4_epu32(abcd, e1, 3);
    m3 = _mm_xor_si128(m3, m1);

    e0 = _mm_sha1nexte_epu32(e0, m2);
    e1 = abcd;
    m3 = _mm_sha1msg2_epu32(m3, m2);
    abcd = _mm_sha1rnds4_epu32(abcd, e0, 3);

    e1 = _mm_sha1nexte_epu32(e1, m3);
    e0 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e1, 3);

    return {_mm_add_epi32(abcd, state.abcd), _mm_sha1nexte_epu32(e0, state.e)};
}

PELMORAN_SHA Digest Load(const Words& words) {
    return {_mm_set_epi32(static_cast<int>(words[0]), static_cast<int>(words[1]),
                          static_cast<int>(words[2]), static_cast<int>(words[3])),
            _mm_set_epi32(static_cast<int>(words[4]), 0, 0, 0)};
}

PELMORAN_SHA Words Store(const Digest& digest) {
    alignas(16) std::uint32_t abcd[4];
    alignas(16) std::uint32_t e[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(abcd), digest.abcd);
    _mm_store_si128(reinterpret_cast<__m128i*>(e), digest.e);
    return {abcd[3], abcd[2], abcd[1], abcd[0], e[3]};
}

PELMORAN_SHA void Wipe(Digest& digest) {
    *static_cast<volatile __m128i*>(&digest.abcd) = _mm_setzero_si128();
    *static_cast<volatile __m128i*>(&digest.e) = _mm_setzero_si128();
}

// The lanes' compressions follow each other in the code; the processor runs them side by side.
// Interleaved instruction by instruction they would need more than the sixteen registers these
// instructions can name, and ran slower.
template <int Lanes>
PELMORAN_SHA void Chain(const Words& innerWords, const Words& outerWords, const Words* first,
                        int rounds, Words* sum) {
    const Digest inner = Load(innerWords);
    const Digest outer = Load(outerWords);
    Digest mac[Lanes];
    Digest total[Lanes];
    for (int lane = 0; lane < Lanes; ++lane)
        mac[lane] = total[lane] = Load(first[lane]);
    for (int round = 0; round < rounds; ++round) {
        Digest hashed[Lanes];
        for (int lane = 0; lane < Lanes; ++lane)
            hashed[lane] = Compress(inner, mac[lane]);
        for (int lane = 0; lane < Lanes; ++lane) {
            mac[lane] = Compress(outer, hashed[lane]);
            total[lane].abcd = _mm_xor_si128(total[lane].abcd, mac[lane].abcd);
            total[lane].e = _mm_xor_si128(total[lane].e, mac[lane].e);
        }
    }
    for (int lane = 0; lane < Lanes; ++lane) {
        sum[lane] = Store(total[lane]);
        Wipe(mac[lane]);
        Wipe(total[lane]);
    }
}

} // namespace

bool Available() {
    static const bool available = [] {
        unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
        if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0 || (ecx & bit_SSE4_1) == 0)
            return false;
        return __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0 && (ebx & bit_SHA) != 0;
    }();
    return available;
}

void Rounds(const Words& inner, const Words& outer, const Words* first, int lanes, int rounds,
            Words* sum) {
    if (lanes == 2)
        Chain<2>(inner, outer, first, rounds, sum);
    else
        Chain<1>(inner, outer, first, rounds, sum);
}

#undef PELMORAN_SHA

#else

bool Available() {
    return false;
}

void Rounds(const Words&, const Words&, const Words*, int, int, Words*) {}

#endif

} // namespace HardwareSha1
