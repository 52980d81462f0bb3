#include "kit/core/Crc32Pclmul.h"

#if defined(__i386__) || defined(__x86_64__)

#include "kit/core/CpuFeatures.h"

#include <immintrin.h>

namespace kit {

namespace {

// The paper's constants for the bit-reflected polynomial P = 0x1DB710641 (the same in zlib and Linux): powers of
// x modulo P that fold four lanes by 512 bits, one lane by 128 bits and 64 bits to 32; then P and
// mu = x^64 / P for the Barrett reduction.
alignas(16) const uint64_t FoldBy4[2] = {0x0154442BD4ull, 0x01C6E41596ull};
alignas(16) const uint64_t FoldBy1[2] = {0x01751997D0ull, 0x00CCAA009Eull};
alignas(16) const uint64_t Fold64[2] = {0x0163CD6124ull, 0};
alignas(16) const uint64_t Barrett[2] = {0x01DB710641ull, 0x01F7011641ull};

__attribute__((target("pclmul,sse4.1"))) inline __m128i FoldLane(__m128i lane, __m128i k, __m128i next)
{
    const __m128i low = _mm_clmulepi64_si128(lane, k, 0x00);
    const __m128i high = _mm_clmulepi64_si128(lane, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(high, low), next);
}

} // namespace

KIT_REALIGN_STACK __attribute__((target("pclmul,sse4.1")))
uint32_t Crc32Pclmul::Fold(uint32_t crc, const uint8_t* p, size_t size)
{
    const __m128i* in = reinterpret_cast<const __m128i*>(p);
    __m128i x1 = _mm_xor_si128(_mm_loadu_si128(in), _mm_cvtsi32_si128(int(crc)));
    __m128i x2 = _mm_loadu_si128(in + 1);
    __m128i x3 = _mm_loadu_si128(in + 2);
    __m128i x4 = _mm_loadu_si128(in + 3);
    in += 4;
    size -= 64;

    // four independent lanes keep the multiplier busy while each product is still in flight
    __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(FoldBy4));
    for (; size >= 64; size -= 64, in += 4) {
        x1 = FoldLane(x1, k, _mm_loadu_si128(in));
        x2 = FoldLane(x2, k, _mm_loadu_si128(in + 1));
        x3 = FoldLane(x3, k, _mm_loadu_si128(in + 2));
        x4 = FoldLane(x4, k, _mm_loadu_si128(in + 3));
    }

    k = _mm_load_si128(reinterpret_cast<const __m128i*>(FoldBy1));
    x1 = FoldLane(x1, k, x2);
    x1 = FoldLane(x1, k, x3);
    x1 = FoldLane(x1, k, x4);
    for (; size >= 16; size -= 16, ++in) {
        x1 = FoldLane(x1, k, _mm_loadu_si128(in));
    }

    // fold 128 bits down to 64
    const __m128i low32 = _mm_setr_epi32(~0, 0, ~0, 0);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k, 0x10));
    k = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(Fold64));
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), k, 0x00), _mm_srli_si128(x1, 4));

    // Barrett reduction to 32 bits
    k = _mm_load_si128(reinterpret_cast<const __m128i*>(Barrett));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), k, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), k, 0x00);
    x1 = _mm_xor_si128(x1, t);
    return uint32_t(_mm_extract_epi32(x1, 1));
}

} // namespace kit

#else

namespace kit {

// never called: CpuFeatures::HasPclmul() is false off x86
uint32_t Crc32Pclmul::Fold(uint32_t crc, const uint8_t*, size_t)
{
    return crc;
}

} // namespace kit

#endif
